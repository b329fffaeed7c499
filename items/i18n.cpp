#include "items/i18n.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "sitelib/installation.h"
#include "sitelib/sitelib.h"
#include "sitelib/status.h"

std::string format_text(const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = format_text_v(format, args);
  va_end(args);
  return text;
}

void init_message_catalogue(const char *program) {
  textdomain(SETUP_TEXT_DOMAIN);
  bindtextdomain(SETUP_TEXT_DOMAIN, catalogue_directory().c_str());
  util_nls_init();
  config_nls_init();
  user_nls_init();
  // A catalogue that is not a regular file (a FIFO would hang the start) is
  // not used: the program starts in English.
  const std::string odd = refuse_odd_catalogues();
  if (!odd.empty()) std::fprintf(stderr, "%s: %s\n", program, odd.c_str());
}
