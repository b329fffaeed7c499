// Text and angle utilities, and the catalogue initialisers of the library's
// own texts.
#include <libintl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "sitelib/installation.h"
#include "sitelib/services.h"
#include "sitelib/sitelib.h"

int strlen_utf8(const char *text) {
  if (!text) return 0;
  int characters = 0;
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
    if ((*p & 0xC0) != 0x80) ++characters;  // every byte but a continuation byte starts a character
  }
  return characters;
}

void nullify_ncpy(char *target, const char *source, int size) {
  int length = 0;
  if (source) {
    while (length < size && source[length] != '\0') {
      target[length] = source[length];
      ++length;
    }
  }
  while (length > 0 && target[length - 1] == ' ') --length;
  target[length] = '\0';
}

void spacify_ncpy(char *target, const char *source, int size) {
  int length = 0;
  if (source) {
    while (length < size && source[length] != '\0') {
      target[length] = source[length];
      ++length;
    }
  }
  if (length < size) memset(target + length, ' ', size - length);
}

double fDegFromBin4(int32_t angle) { return angle * (360.0 / 4294967296.0); }

// The library's texts live in three catalogues of their own, found in the
// same directory as the program's.
static void bind_library_domain(const char *domain) { bindtextdomain(domain, catalogue_directory().c_str()); }

void util_nls_init(void) { bind_library_domain(SITE_UTIL_DOMAIN); }
void config_nls_init(void) { bind_library_domain(SITE_CONFIG_DOMAIN); }
void user_nls_init(void) { bind_library_domain(SITE_USER_DOMAIN); }
