#include "sitelib/status.h"

#include <cstdarg>
#include <cstdio>
#include <map>
#include <string>

#include "sitelib/services.h"

namespace {
std::map<int, std::string> &details() {
  static std::map<int, std::string> last_failure;
  return last_failure;
}

// The general text of each status the library returns, for when no failure
// with it has been recorded.
const char *general_text(int status) {
  switch (status) {
    case SITE_OK:
      return SITE_TEXT_MARK("Success");
    case SITE_NOTHING_DONE:
      return SITE_TEXT_MARK("Nothing was done");
    case SITE_NO_LISTING_DIR:
      return SITE_TEXT_MARK("The listing directory is not set");
    case SITE_READ_FAILED:
      return SITE_TEXT_MARK("A setup file could not be read");
    case SITE_BAD_SETUP_FILE:
      return SITE_TEXT_MARK("A setup file holds an invalid line");
    case SITE_WRITE_FAILED:
      return SITE_TEXT_MARK("A setup file could not be written");
    case SITE_BAD_LIMITS:
      return SITE_TEXT_MARK("Unknown setup limits");
    case SITE_HELP_BAD_MODE:
      return SITE_TEXT_MARK("The help viewer was asked for an unknown mode");
    case SITE_HELP_NO_PAGE:
      return SITE_TEXT_MARK("No help page was found");
    case SITE_HELP_NOT_STARTED:
      return SITE_TEXT_MARK("The help viewer could not be started");
    default:
      return nullptr;
  }
}
}  // namespace

std::string format_text_v(const char *format, va_list args) {
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
  va_end(again);
  return text;
}

// The format is a catalogue text of the library's own domain, looked up
// before it is filled in.
int site_failure(int status, const char *format, ...) {
  format = SITE_TEXT(format);
  va_list args;
  va_start(args, format);
  details()[status] = format_text_v(format, args);
  va_end(args);
  return status;
}

void site_clear_failures(void) { details().clear(); }

const char *message_to_text(int status, int, int) {
  static std::string line;
  auto it = details().find(status);
  if (it != details().end()) {
    line = it->second;
  } else if (const char *text = general_text(status)) {
    line = SITE_TEXT(text);
  } else {
    char unknown[64];
    std::snprintf(unknown, sizeof unknown, SITE_TEXT("Unknown status %#x"), static_cast<unsigned>(status));
    line = unknown;
  }
  return line.c_str();
}
