// Status details: the library keeps, per status code, the text of the last
// failure that returned it (file, line and what was wrong), and
// message_to_text gives it back. Inner working of the site library.
#pragma once

#include <cstdarg>
#include <string>

#include "sitelib/sitelib.h"

// printf into a string, from a va_list.
std::string format_text_v(const char *format, va_list args);

// Records the detail of a failure with `status` (printf format) and returns
// the status, so that a failing path reads `return site_failure(...)`.
int site_failure(int status, const char *format, ...) __attribute__((format(printf, 2, 3)));

// Forgets every recorded detail.
void site_clear_failures(void);
