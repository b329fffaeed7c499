#include "sitelib/installation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef SITE_DEFAULT_ROOT
#define SITE_DEFAULT_ROOT "/usr/local"
#endif
#ifndef SITE_INSTALL_BINDIR
#define SITE_INSTALL_BINDIR "bin"
#endif
#ifndef SITE_INSTALL_DATADIR
#define SITE_INSTALL_DATADIR "share/setup"
#endif
#ifndef SITE_INSTALL_LOCALEDIR
#define SITE_INSTALL_LOCALEDIR "share/locale"
#endif
#ifndef SITE_INSTALL_CONFIGDIR
#define SITE_INSTALL_CONFIGDIR "etc/zamo/config"
#endif

namespace fs = std::filesystem;

namespace {

// The program's directory with one level taken off for every part of the
// binary directory ("bin": its parent).
fs::path prefix_of(const fs::path &program) {
  fs::path prefix = program.parent_path();
  for (const fs::path &part : fs::path(SITE_INSTALL_BINDIR).relative_path())
    if (part != ".") prefix = prefix.parent_path();
  return prefix;
}

// A directory configured as an absolute path stays where it was configured.
std::string below_prefix(const char *directory) {
  return (fs::path(installation_prefix()) / directory).lexically_normal().string();
}

}  // namespace

std::string installation_prefix(void) {
  std::error_code error;
  fs::path program = fs::canonical("/proc/self/exe", error);
  return error ? SITE_DEFAULT_ROOT : prefix_of(program).string();
}

std::string installed_data_directory(void) { return below_prefix(SITE_INSTALL_DATADIR); }
std::string installed_catalogue_directory(void) { return below_prefix(SITE_INSTALL_LOCALEDIR); }
std::string installed_config_directory(void) { return below_prefix(SITE_INSTALL_CONFIGDIR); }

std::string catalogue_directory(void) {
  if (const char *root = std::getenv("ZAMO_ROOT")) return std::string(root) + "/bin/nls/";
  return installed_catalogue_directory();
}
