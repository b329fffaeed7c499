#include "items/bounds.h"

#include <cstdio>

#include "items/front_end.h"
#include "items/i18n.h"
#include "items/listing.h"
#include "items/state.h"

namespace {

std::vector<std::string> lines;
std::vector<const void *> line_fields;
const void *noted_field = nullptr;
const PageFunction *repair_pages = nullptr;
int repair_page_count = 0;

// Formats a line whose format was itself built from a display format.
template <typename... Values>
void add_formatted_line(const char *format, Values... values) {
  char line[1024];
  std::snprintf(line, sizeof line, format, values...);
  add_bounds_line(line);
}

}  // namespace

void add_bounds_line(const char *text) {
  lines.emplace_back(text);
  line_fields.push_back(noted_field);
  if (const FrontEnd *ui = installed_front_end()) ui->bounds_line_added(text);
}

void add_bounds_heading(const char *title) {
  noted_field = nullptr;
  add_bounds_line(" ");
  add_bounds_line(heading_rule);
  add_bounds_line(title);
  add_bounds_line(heading_rule);
}

void clear_bounds_lines(void) {
  lines.clear();
  line_fields.clear();
  if (const FrontEnd *ui = installed_front_end()) ui->bounds_cleared();
}

const std::vector<std::string> &bounds_lines(void) { return lines; }

const std::vector<const void *> &bounds_line_fields(void) { return line_fields; }

void note_bounds_item(const void *field) { noted_field = field; }

void number_check_line(const char *label, const char *display_format, double value, double minimum,
                       double maximum, double scale) {
  // The display format stands in all three places, so "%%" in it becomes "%".
  char format[512];
  std::snprintf(format, sizeof format, _("%%s:  %s   (range %s to %s)"), display_format, display_format,
                display_format);
  add_formatted_line(format, label, value / scale, minimum / scale, maximum / scale);
  error_found = 1;
}

void number_repair_line(const char *label, const char *display_format, double new_value, double old_value,
                        double scale) {
  char format[512];
  std::snprintf(format, sizeof format, _("%%s:  %s  was %s"), display_format, display_format);
  add_formatted_line(format, label, new_value / scale, old_value / scale);
}

void toggle_check_line(const char *label, int value, int minimum, int maximum) {
  add_formatted_line(_("%s:  %d   (range %d and %d)"), label, value, minimum, maximum);
  error_found = 1;
}

void toggle_repair_line(const char *label, int new_value, int old_value) {
  add_formatted_line(_("%s:  %d  was %d"), label, new_value, old_value);
}

void choice_check_line(const char *label) {
  add_formatted_line("%s:  ?????", label);
  error_found = 1;
}

void choice_repair_line(const char *label, const char *entry_text) {
  add_formatted_line("%s:  %s", label, entry_text);
}

void report_internal_error(const char *path, const char *label) {
  std::fprintf(stderr, _("Internal Error: '%s' (%s)\n"), path, label);
}

void set_repair_pages(const PageFunction *pages, int count) {
  repair_pages = pages;
  repair_page_count = count;
}

void run_repair(void) {
  clear_bounds_lines();
  for (int i = 0; i < repair_page_count; ++i)
    if (repair_pages[i]) repair_pages[i](PassRepair, nullptr, nullptr);
}
