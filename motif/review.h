// Find and Changes: two non-modal dialogs over the edit session's item
// index and its pending changes, and the way from either to an item in its
// page window.
#pragma once

#include <X11/Intrinsic.h>

#include <string>

#include "session/index.h"

// File menu callbacks of the main window and of every page window.
void find_command(Widget w, XtPointer client, XtPointer call);
void changes_command(Widget w, XtPointer client, XtPointer call);

// After anything that may change what is pending or shown (an edit,
// Factory, Repair, Save, a revert): the Changes list, the Find list and the
// marks on the labels of changed fields follow.
void review_changes(void);

// Opens the item's page as its button would, scrolls the item into view,
// gives its field the keyboard focus and marks its row for a moment. A
// hidden item's page opens at its section, or at the top when the section
// is hidden too. Returns what would show a hidden item, or "".
std::string go_to_item(const SiteItem &item);

// The dialogs, once made (nullptr before).
Widget find_dialog(void);
Widget changes_dialog(void);
