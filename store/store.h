// Loading, editing and storage form, change detection, saving and listing, with no
// display: the editor's File menu (motif/commands.h) and the command-line
// tool both run these.
#pragma once

// Direction 1: to editing form; 0: to storage form.
void convert_form(int direction);
// Storage form applied to a copy of an area's current record (from the
// switches and stand-ins of auxset), leaving the live records as they are.
void to_storage_form(int area, void *record);

// Stored fields that editing form mirrors in auxset, and the mirrors.
// The auxset field that stands for a stored field in editing form (the
// default antenna position), or nullptr.
void *editing_stand_in(const void *stored);
// The stored field an auxset field stands for or switches, or nullptr.
void *stored_field_of(const void *stand_in);
// After a stored field was changed directly, in editing form: its auxset
// switch, flags or stand-in follow it, so that storage form keeps it.
void stored_field_changed(const void *stored);
// After a value was stored through a page item bound to a stored field
// that has a switch: the switch is on.
void stand_in_stored(const void *stored);

// Appends message_to_text(status) to the error status lines (0x6B001F is
// not reported).
void report_error_status(int status);

// Tells the user through the installed front end (items/front_end.h), or
// on standard error without one. The front end is also told of every error
// status line; without one the lines are only kept.
void inform(const char *message, const char *ok_label);

// What the editor does at start before anyone sees a value: PassMeasure on
// every page of the mode, every area read, the snapshot, editing form
// and PassCheck. True when PassCheck found a value out of range.
bool load_and_check(void);
