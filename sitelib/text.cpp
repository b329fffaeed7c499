// Text and angle utilities, and the catalogue initialisers of the library's
// own texts.
#include <libintl.h>
#include <sys/stat.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sitelib/installation.h"
#include "sitelib/safe_io.h"
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

namespace {

// The names gettext may try for a locale name "ll_CC.codeset@modifier":
// the language with or without each other part, the codeset also in its
// normal form (letters and digits, lower case).
std::vector<std::string> language_names(const std::string &locale) {
  const size_t end = locale.find_first_of("_.@");
  const std::string language = locale.substr(0, end);
  std::string territory, codeset, modifier;
  for (size_t at = end; at < locale.size();) {
    const size_t next = locale.find_first_of("_.@", at + 1);
    std::string part = locale.substr(at, next - at);
    (part[0] == '_' ? territory : part[0] == '.' ? codeset : modifier) = part;
    at = next;
  }
  std::string normal = codeset.empty() ? "" : ".";
  for (char c : codeset)
    if (std::isalnum(static_cast<unsigned char>(c))) normal += std::tolower(static_cast<unsigned char>(c));
  std::vector<std::string> names;
  for (const std::string &t : {std::string(), territory})
    for (const std::string &c : {std::string(), codeset, normal})
      for (const std::string &m : {std::string(), modifier}) names.push_back(language + t + c + m);
  return names;
}

}  // namespace

std::string refuse_odd_catalogues(void) {
  const char *const domains[] = {textdomain(nullptr), SITE_UTIL_DOMAIN, SITE_CONFIG_DOMAIN, SITE_USER_DOMAIN};
  std::vector<std::string> languages;
  if (const char *list = std::getenv("LANGUAGE")) {
    for (const char *p = list; *p;) {
      const size_t length = std::strcspn(p, ":");
      languages.emplace_back(p, length);
      p += length + (p[length] ? 1 : 0);
    }
  }
  if (const char *locale = std::setlocale(LC_MESSAGES, nullptr)) languages.emplace_back(locale);
  std::string odd;
  for (const char *domain : domains)
    for (const std::string &language : languages)
      for (const std::string &name : language_names(language)) {
        std::string path = bindtextdomain(domain, nullptr);
        path += (path.empty() || path.back() != '/' ? "/" : "") + name + "/LC_MESSAGES/" + domain + ".mo";
        struct stat st;
        if (!name.empty() && odd.empty() && stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) odd = path;
      }
  if (odd.empty()) return "";
  // No catalogue can be found below /dev/null: every text stays English.
  for (const char *domain : domains) bindtextdomain(domain, "/dev/null");
  return "message catalogue " + escaped_bytes(odd) + " is not a regular file: not used, texts in English";
}
