// setup-site: the setups of a site from the command line, through the same
// pages and store as the editor, with no display.
//
//   setup-site [-C DIR] [--zamo | --rda] COMMAND ...
//
// Options such as --json, --dry-run, --force and --show-secrets may stand
// before or after the command.
//
// init writes a complete factory site: the four setup files and an
// "operators" file naming the invoking user. Without DIR the site goes where
// the editor looks for it: $ZAMO_CONFIG, else $ZAMO_ROOT/config, else the
// installation's setup directory.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "items/i18n.h"
#include "items/state.h"
#include "pages/pages.h"
#include "session/index.h"
#include "session/session.h"
#include "sitelib/installation.h"
#include "sitelib/safe_io.h"
#include "sitelib/sitelib.h"
#include "store/host.h"

namespace {
const char *const kSetupFiles[] = {"setup_ant.conf", "setup_dsp.conf", "setup_rtdisp.conf",
                                   "setup_zamo.conf"};

void print_usage(FILE *out) {
  std::fputs(_("Usage: setup-site [-C DIR] [--zamo | --rda] [--show-secrets] COMMAND [OPTION...] ...\n"
               "Commands:\n"
               "  init [DIR] [--force]          write a factory site\n"
               "  list [PAGE]                   the listing of every page, or of one\n"
               "  check [--all]                 values out of range and bad lines (status 1 when any)\n"
               "  repair                        repair values out of range and save\n"
               "  get [PATH... | --all]         stored values; every field without a path\n"
               "  set [--raw] [--strict] PATH VALUE   a value as typed into its field, and save\n"
               "  reset PATH... | --page PAGE | --all   factory values, and save\n"
               "  apply [--typed] [--strict] FILE|-    PATH = VALUE lines, checked first, saved once\n"
               "  undo                          undo the last logged save from the .bak files\n"
               "  range PATH                    minimum, maximum and factory value\n"
               "  describe PATH                 what the help says of a setting\n"
               "  diff [OTHER_DIR | --against FILE]   PATH: THIS -> OTHER (factory without either)\n"
               "  log [PATH]                    the change log\n"
               "  paths, pages                  every field path, the mode's page names\n"
               "Options of every command that prints: --json; of those that write: --dry-run,\n"
               "--force (go on over a site with unreadable files). --help, --version.\n"
               "Statuses: 0 success, 1 found something (check, diff), 2 usage error, unknown\n"
               "path or unparsable value, 3 refused or a failed write, 4 the site could not be read.\n"
               "Pages:"),
             out);
  for (int page = 0; page < PAGE_COUNT; ++page) std::fprintf(out, " %s", page_info(page).name);
  std::fprintf(out, _(", or 0 to %d.\n"), PAGE_COUNT - 1);
}

int usage() {
  print_usage(stderr);
  return 2;
}

// The mode's page names, one a line (for shell completion); reads no setups.
int pages_command(const Args &) {
  for (int page : mode_pages()) std::printf("%s\n", page_info(page).name);
  return 0;
}

// The login name of the real user id, not of whoever's name is in $USER.
std::string login_name() {
  const passwd *pw = getpwuid(getuid());
  return pw && pw->pw_name ? pw->pw_name : "";
}

bool exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Creates DIR and its parents as needed, each made here 0755 whatever the
// umask (as the files get explicit modes); existing ones are left as they are.
bool make_directory(const std::string &dir) {
  for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    std::string part = dir.substr(0, slash);
    if (mkdir(part.c_str(), 0755) == 0 ? chmod(part.c_str(), 0755) != 0 : errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st;
  return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Names the user in the operators file; other operators already listed stay.
// Whoever may write this file may make themselves an operator: it is 0644
// whatever the umask, and only a regular file is read or appended to.
bool add_operator(const std::string &dir, const std::string &user) {
  std::string path = dir + "/operators";
  std::string content;
  std::string error = read_regular_file(path, kOperatorsFileMaxBytes, content);
  if (!error.empty() && error != std::strerror(ENOENT)) {
    std::fprintf(stderr, "setup-site: %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  std::istringstream in(content);
  for (std::string line; std::getline(in, line);) {
    size_t b = line.find_first_not_of(" \t"), e = line.find_last_not_of(" \t\r");
    if (b != std::string::npos && line.compare(b, e - b + 1, user) == 0) return true;
  }
  if (content.empty()) content = "# Users who may save setups, one login name per line.\n";
  if (content.back() != '\n') content += '\n';
  content += user + '\n';
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ftruncate(fd, 0) == 0 &&
            write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size()) &&
            fchmod(fd, 0644) == 0;
  return close(fd) == 0 && ok;
}

// Writes the factory records as the editor saves them; over a site, logged.
int write_factory_site() {
  std::string log_error;
  const std::string error = session::write_factory_files(log_error);
  for (const std::string &text : {error, log_error})
    if (!text.empty()) std::fprintf(stderr, "setup-site: %s\n", text.c_str());
  return error.empty() ? 0 : 3;
}

int init(const std::string &dir, bool force) {
  std::string user = login_name();
  if (user.empty()) {
    std::fprintf(stderr, _("setup-site: no login name for user id %d\n"), static_cast<int>(getuid()));
    return 3;
  }
  if (!force) {
    bool refused = false;
    for (const char *file : kSetupFiles)
      if (exists(dir + "/" + file)) {
        std::fprintf(stderr, _("setup-site: %s/%s exists; use --force to overwrite it\n"), dir.c_str(), file);
        refused = true;
      }
    if (refused) return 3;
  }
  if (!make_directory(dir)) {
    std::fprintf(stderr, _("setup-site: cannot create %s: %s\n"), dir.c_str(), std::strerror(errno));
    return 3;
  }
  setenv("ZAMO_CONFIG", dir.c_str(), 1);
  if (int status = write_factory_site()) return status;
  if (!add_operator(dir, user)) {
    std::fprintf(stderr, _("setup-site: cannot write %s/operators\n"), dir.c_str());
    return 3;
  }
  std::printf(_("setup-site: factory site written to %s, operator %s\n"), dir.c_str(), user.c_str());
  return 0;
}

// Which of the options a command takes.
enum Takes { kJson = 1, kDryRun = 2, kForce = 4, kStrict = 8 };
struct Command {
  const char *name;
  int (*run)(const Args &args);
  unsigned takes;
};
const unsigned kWrites = kJson | kDryRun | kForce;
const Command commands[] = {
    {"list", list_command, 0},
    {"check", check_command, kJson},
    {"repair", repair_command, kWrites},
    {"get", get_command, kJson},
    {"set", set_command, kWrites | kStrict},
    {"reset", reset_command, kWrites},
    {"apply", apply_command, kWrites | kStrict},
    {"undo", undo_command, kWrites},
    {"range", range_command, kJson},
    {"describe", describe_command, kJson},
    {"diff", diff_command, kJson},
    {"log", log_command, kJson},
    {"paths", paths_command, kJson},
    {"pages", pages_command, 0},
    {"values", values_command, 0},
};

// Takes the options that may stand anywhere out of the arguments (until
// "--"); false after naming one the command does not take.
bool take_options(const std::string &command, unsigned takes, Args &args) {
  const struct {
    const char *name;
    bool *flag;
    unsigned needs;
  } flags[] = {{"--json", &options.json, kJson},
               {"--dry-run", &options.dry_run, kDryRun},
               {"--force", &options.force, kForce},
               {"--strict", &options.strict, kStrict},
               {"--show-secrets", &options.show_secrets, 0}};
  Args rest;
  bool ended = false;
  for (const std::string &arg : args) {
    bool taken = false;
    for (const auto &f : flags)
      if (!ended && arg == f.name) {
        if (f.needs && !(takes & f.needs)) {
          std::fprintf(stderr, _("setup-site: %s takes no %s\n"), command.c_str(), f.name);
          return false;
        }
        *f.flag = taken = true;
      }
    if (!ended && arg == "--") {
      ended = true;
      continue;
    }
    if (!taken) rest.push_back(arg);
  }
  args = rest;
  return true;
}

int init_command(const Args &args) {
  std::string dir;
  for (const std::string &arg : args) {
    if (dir.empty() && !arg.empty() && arg[0] != '-')
      dir = arg;
    else
      return usage();
  }
  if (dir.empty()) dir = setup_directory();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return init(dir, options.force);
}

// The site and mode chosen on the command line; without a mode, the
// editor's own probe of what is installed decides.
void choose_site(const std::string &directory, int mode) {
  if (!directory.empty()) setenv("ZAMO_CONFIG", directory.c_str(), 1);
  full_mode = mode >= 0 ? static_cast<int16_t>(mode) : decide_full_mode(std::getenv("ZAMO_LIBEXEC_SERVICES"));
  program_name = "setup-site";
  read_host_name();
}

}  // namespace

int main(int argc, char **argv) {
  std::setlocale(LC_ALL, "");
  init_message_catalogue("setup-site");
  std::string directory;
  int mode = -1;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    if (std::strcmp(argv[i], "-C") == 0 && i + 1 < argc && argv[i + 1][0] != '\0') {
      directory = argv[++i];
    } else if (std::strcmp(argv[i], "--zamo") == 0) {
      mode = 1;
    } else if (std::strcmp(argv[i], "--rda") == 0) {
      mode = 0;
    } else if (std::strcmp(argv[i], "--help") == 0) {
      print_usage(stdout);
      return 0;
    } else if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("setup-site %s\n", SETUP_VERSION);
      return 0;
    } else {
      break;  // an option of the command's, before it
    }
  }
  Args args(argv + i, argv + argc);
  // The command is the first word that is no option.
  size_t at = 0;
  while (at < args.size() && args[at].compare(0, 2, "--") == 0) ++at;
  if (at >= args.size()) return usage();
  const std::string name = args[at];
  args.erase(args.begin() + at);
  const Command *command = nullptr;
  for (const Command &c : commands)
    if (name == c.name) command = &c;
  if (name == "init") {
    if (!take_options(name, kForce, args)) return 2;
    choose_site(directory, mode);
    return init_command(args);
  }
  if (!command) {
    std::fprintf(stderr, _("setup-site: unknown command \"%s\"\n"), name.c_str());
    return usage();
  }
  if (!take_options(name, command->takes, args)) return 2;
  choose_site(directory, mode);
  return command->run(args);
}
