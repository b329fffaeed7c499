// Process services: who runs the program, whether that user may save, the
// process's registration and its coded reports.
#include <pwd.h>
#include <syslog.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "sitelib/safe_io.h"
#include "sitelib/services.h"
#include "sitelib/sitelib.h"

namespace {

char process_name[64] = "setup";

std::string trimmed(const std::string &line) {
  const char *blanks = " \t\r\n\v\f";
  size_t first = line.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  size_t last = line.find_last_not_of(blanks);
  return line.substr(first, last - first + 1);
}

}  // namespace

// The login name of the real user id; a user without a password entry is
// named by the number, so that an operators file can still list it.
const char *tolvek_username(void) {
  static char name[64];
  struct passwd entry, *found = nullptr;
  char buffer[4096];
  uid_t uid = getuid();
  if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name)
    snprintf(name, sizeof name, "%s", found->pw_name);
  else
    snprintf(name, sizeof name, "%u", static_cast<unsigned>(uid));
  return name;
}

// Operators are listed one name a line in the file "operators" of the setup
// directory; blank lines and lines starting with '#' are ignored. Without
// the file nobody is an operator; a file that is no regular file of sane
// size is refused with a report naming it.
int lzamo_operator(const char *user) {
  if (!user || !*user) return 0;
  const std::string path = std::string(setup_directory()) + "/operators";
  std::string content;
  std::string error = read_regular_file(path, kOperatorsFileMaxBytes, content);
  if (!error.empty() && error != std::strerror(ENOENT))
    fprintf(stderr, "%s: %s %s: %s\n", process_name, SITE_TEXT("Operators file refused:"),
            escaped_bytes(path).c_str(), error.c_str());
  std::istringstream file(content);
  std::string line;
  while (std::getline(file, line)) {
    std::string name = trimmed(line);
    if (name.empty() || name[0] == '#') continue;
    if (name == user) return 1;
  }
  return 0;
}

// Registers the process: its name prefixes every coded report on standard
// error and in the system log.
int tolvek_establish(int flags, const char *name) {
  (void)flags;
  if (name && *name) snprintf(process_name, sizeof process_name, "%s", name);
  openlog(process_name, LOG_PID, LOG_USER);
  return SITE_OK;
}

// A coded report: argc texts follow the code. The listing directory code
// names its variable; any other code is reported as a condition with its
// texts. The code itself ends the line.
void tolvek_signal_va(int code, int argc, ...) {
  std::string line = code == SITE_NO_LISTING_DIR
                         ? SITE_TEXT("Listing directory is not set; set the environment variable")
                         : SITE_TEXT("Reported condition:");
  va_list texts;
  va_start(texts, argc);
  for (int i = 0; i < argc; ++i) {
    const char *text = va_arg(texts, const char *);
    line += i == 0 ? " " : ", ";
    line += text ? text : "(null)";
  }
  va_end(texts);
  char number[24];
  snprintf(number, sizeof number, " [0x%X]", static_cast<unsigned>(code));
  line += number;

  fprintf(stderr, "%s: %s\n", process_name, line.c_str());
  syslog(LOG_WARNING, "%s", line.c_str());
}
