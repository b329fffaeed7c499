// The bounds error list: page headings, check lines of values outside their
// limits and repair lines, shown in the bounds error dialog; and the
// internal error report of fields whose limits are missing.
//
// The list is kept in memory, so checks and repairs run without a display;
// the installed front end (items/front_end.h) is told of every change.
#pragma once

#include <string>
#include <vector>

#include "items/item.h"

void add_bounds_line(const char *text);
// A blank line, the page title between two lines of "=".
void add_bounds_heading(const char *title);
// Empties the list (and the front end's).
void clear_bounds_lines(void);
const std::vector<std::string> &bounds_lines(void);
// The address of the field each line is about (nullptr for headings): the
// walk notes the item it checks or repairs before its line is added.
const std::vector<const void *> &bounds_line_fields(void);
void note_bounds_item(const void *field);

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

// The pages a repair run goes over, in this order. The array must outlive
// every repair.
void set_repair_pages(const PageFunction *pages, int count);
// The repair run: empties the list and runs PassRepair over those pages.
void run_repair(void);
