#include "store/host.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "items/state.h"

namespace {
const char *const kToolkitCopied[] = {"HOME"};
const size_t kToolkitValueMax = 1000;  // with room for what Motif appends

bool home_hidden = false;
std::string hidden_home;

bool file_exists(const std::string &path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0;
}
}  // namespace

int16_t decide_full_mode(const char *prefix) {
  if (!prefix) return 1;
  std::string base(prefix);
  bool processor = file_exists(base + "kox4") || file_exists(base + "kox5");
  bool data_system = file_exists(base + "start_zamo");
  return processor && !data_system ? 0 : 1;
}

void cut_host_name(char *name) {
  if (char *dot = std::strchr(name, '.')) *dot = '\0';
}

void read_host_name(void) {
  if (gethostname(host_name, sizeof host_name) != 0) host_name[0] = '\0';
  host_name[sizeof host_name - 1] = '\0';
  cut_host_name(host_name);
}

std::vector<std::string> hide_long_toolkit_values(void) {
  std::vector<std::string> messages;
  for (const char *name : kToolkitCopied) {
    const char *value = std::getenv(name);
    if (!value || std::strlen(value) <= kToolkitValueMax) continue;
    if (std::strcmp(name, "HOME") == 0) {
      hidden_home = value;
      home_hidden = true;
    }
    messages.push_back(std::string(name) + " is longer than " + std::to_string(kToolkitValueMax) +
                       " bytes: the toolkit goes without it");
    unsetenv(name);
  }
  return messages;
}

const char *home_directory(void) { return home_hidden ? hidden_home.c_str() : std::getenv("HOME"); }
