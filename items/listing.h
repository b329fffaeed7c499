// Layout of the listing file: page heading, section titles and one line per
// item, the label padded to the page's label column.
#pragma once

#include <cstddef>
#include <cstdio>

#include "items/walk.h"

// "  %-Ns: " for a label column of `width` characters.
void build_list_format(char *format, size_t size, int width);

void list_page_heading(FILE *file, const char *title);
void list_section_title(FILE *file, const char *title);

void list_number(FILE *file, const char *label, const char *list_format, const char *display_format,
                 double value);
void list_text(FILE *file, const char *label, const char *list_format, const char *field, int size,
               int flags);
void list_choice(FILE *file, const char *label, const char *list_format, double value, const Choice *choices,
                 int count);
void list_toggle(FILE *file, const char *label, const char *list_format, int state, const char *off_text,
                 const char *on_text);

// Index of the first entry holding `value`, or `count` when none does.
int choice_index(double value, const Choice *choices, int count);

// The line of 55 "=" that frames page headings.
extern const char heading_rule[];
