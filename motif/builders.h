// Widget builders and per-kind display routines of the page items. They
// create widgets in the current section and row (layout state below) and
// return item records whose kind and id the walk sets.
#pragma once

#include <X11/Intrinsic.h>

#include "items/front_end.h"
#include "items/item.h"
#include "motif/front_end.h"

// Widget records owned by the items.
struct FieldWidgets {  // number, text, choice, toggle
  Widget label;
  Widget field;  // text field, option menu or toggle button
};
struct HintWidgets {
  Widget label;
  Widget field;
  Widget menu_bar;
  Widget pulldown;
  Widget cascade;
};
struct SectionWidgets {
  Widget frame;
  Widget title_form;
  Widget help_button;
  Widget title_label;
};

// Layout state, valid during one PassBuild.
extern Widget current_section_rowcolumn;
extern Widget current_row_form;
extern Widget row_anchor;

// A section frame "setupframe" in `parent` (left unmanaged) with its title
// and Help button; its row-column becomes current. The record (a section
// help item) carries a SectionWidgets record.
SetupItem *build_section(Widget parent, const char *title, XtCallbackProc callback);
// A row form in the current section (left unmanaged); it becomes the
// current row and anchor.
Widget build_row(void);

// Item builders: a label of label_width characters and the item's widget,
// below the row anchor; the label becomes the anchor. Records are freed
// with their widgets; the walk sets kind and id.
// Sets an item label's width to `label_width` characters.
void set_label_width(Widget label, int label_width);

SetupItem *build_label_field(const char *label, int label_width, XtCallbackProc callback);
// Returns the field's record; *hint_item receives the hint menu's record,
// which shares the field's HintWidgets record.
SetupItem *build_hint_field(const char *label, int label_width, XtCallbackProc callback,
                            const char *const *hints, int hint_count, SetupItem **hint_item);
// Buttons "button_0".."button_<n>"; the last, "?????", is never managed.
SetupItem *build_option_menu(const char *label, const Choice *choices, int choice_count, int label_width,
                             XtCallbackProc callback);
SetupItem *build_toggle(const char *label, const char *off_text, const char *on_text, int label_width,
                        XtCallbackProc callback);

// Display routines.
void show_number(Widget text_field, double value);     // with the field's item format
void show_text(Widget text_field, const char *shown);  // text already prepared
void show_toggle(Widget toggle, int state);            // state, and the on or off text of its item
// Shows the entry of `value`, or "?????" when no entry has it.
void select_choice(Widget option_menu, long value, const Choice *choices, int choice_count);

// The dialog title and help topic of a page window in PassBuild.
void set_page_title(const PageWindow *window, const char *title, const char *help_topic);
