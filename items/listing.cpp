#include "items/listing.h"

#include "items/text_display.h"

const char heading_rule[] = "=======================================================";
static_assert(sizeof heading_rule == 56, "the heading rule is 55 characters");

void build_list_format(char *format, size_t size, int width) {
  std::snprintf(format, size, "  %%-%ds: ", width);
}

void list_page_heading(FILE *file, const char *title) {
  std::fprintf(file, "\n\n%s\n%s\n%s\n", heading_rule, title, heading_rule);
}

void list_section_title(FILE *file, const char *title) { std::fprintf(file, "\n%s\n", title); }

namespace {
void list_label(FILE *file, const char *list_format, const char *label) {
  std::fprintf(file, list_format, label);
}
}  // namespace

void list_number(FILE *file, const char *label, const char *list_format, const char *display_format,
                 double value) {
  list_label(file, list_format, label);
  std::fprintf(file, display_format, value);
  std::fputc('\n', file);
}

void list_text(FILE *file, const char *label, const char *list_format, const char *field, int size,
               int flags) {
  char listed[TEXT_SHOWN_MAX + 1];
  prepare_listed_text(field, size, flags, listed);
  list_label(file, list_format, label);
  std::fprintf(file, "%s\n", listed);
}

int choice_index(double value, const Choice *choices, int count) {
  for (int i = 0; i < count; ++i)
    if (static_cast<double>(choices[i].value) == value) return i;
  return count;
}

void list_choice(FILE *file, const char *label, const char *list_format, double value, const Choice *choices,
                 int count) {
  int i = choice_index(value, choices, count);
  list_label(file, list_format, label);
  std::fprintf(file, "%s\n", i < count ? choices[i].text : "?????");
}

void list_toggle(FILE *file, const char *label, const char *list_format, int state, const char *off_text,
                 const char *on_text) {
  list_label(file, list_format, label);
  std::fprintf(file, "%s\n", state ? on_text : off_text);
}
