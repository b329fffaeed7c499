// The bounds error dialog: the bounds error list of items/bounds.h in a
// Motif template dialog with Repair and Cancel, made (child of top_level)
// with the first line added once a top-level shell exists.
#pragma once

#include <X11/Intrinsic.h>

#include "items/bounds.h"

// The Repair action: retitles the dialog, empties the list, repairs every
// page and removes the Repair button.
void repair_bounds(void);
// Manages the bounds error dialog when error_found is set.
void show_bounds_if_errors(void);
// The dialog, or nullptr before the first line with a display.
Widget bounds_dialog(void);

// The Motif front end's side of the list: a line added to the dialog's
// list, the dialog's list emptied.
void add_bounds_dialog_line(const char *text);
void clear_bounds_dialog(void);
