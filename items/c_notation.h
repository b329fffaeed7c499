// Hint labels in C notation. The program runs under the user's locale
// (setlocale(LC_ALL, "")), whose decimal separator may be a comma, but hint
// texts written in the pages are in C notation (" 2.5 km tropic"). Hints
// formatted from a number are therefore written in C notation too, and every
// hint label is read back in it; typed input and listings keep the locale.
#pragma once

#include <cstdarg>
#include <cstddef>

// The number at the start of `text` read in C notation; `end` as for strtod.
double strtod_c(const char *text, char **end);

// vsnprintf in C notation.
int vformat_c(char *buffer, size_t size, const char *format, va_list args);
