// The bounds error list: page headings, check lines of values outside their
// limits and repair lines, shown in the bounds error dialog; and the
// internal error report of fields whose limits are missing.
//
// The list is kept in memory as well, so checks and repairs run without a
// display; the dialog is made (child of top_level) with the first line
// added once a top-level shell exists.
#pragma once

#include <string>
#include <vector>

#include "items/item.h"

void add_bounds_line(const char *text);
// A blank line, the page title between two lines of "=".
void add_bounds_heading(const char *title);
// Empties the list (and the dialog's list).
void clear_bounds_lines(void);
const std::vector<std::string> &bounds_lines(void);

// Check lines set error_found; repair lines do not. Values in stored units.
void number_check_line(const char *label, const char *display_format, double value, double minimum,
                       double maximum, double scale);
void number_repair_line(const char *label, const char *display_format, double new_value, double old_value,
                        double scale);
void toggle_check_line(const char *label, int value, int minimum, int maximum);
void toggle_repair_line(const char *label, int new_value, int old_value);
void choice_check_line(const char *label);
void choice_repair_line(const char *label, const char *entry_text);

// "Internal Error: '<path>' (<label>)" on standard error.
void report_internal_error(const char *path, const char *label);

// The pages the Repair button runs PassRepair over, in this order. The
// array must outlive the dialog.
void set_repair_pages(const PageFunction *pages, int count);
// The Repair action: retitles the dialog, empties the list, repairs every
// page and removes the Repair button.
void repair_bounds(void);
// Manages the bounds error dialog when error_found is set.
void show_bounds_if_errors(void);
// The dialog, or nullptr before the first line with a display.
Widget bounds_dialog(void);
