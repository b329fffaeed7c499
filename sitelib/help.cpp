// The help viewer: an outside program (ZAMO_HELP_VIEWER, else xdg-open)
// started in the background on one HTML page of the help directory.
//
// The viewer runs without a shell, in a session of its own with its input
// and output on /dev/null, so that nothing it prints reaches the editor's
// terminal and no signal of that terminal reaches it. Whatever it starts
// stays in that session's process group, also after the viewer itself has
// ended (dillo's plugin daemon dpid does), and helpExit ends the whole group.
// Viewers that have ended are reaped on the next call, so none stays a
// zombie for long.
#include <fcntl.h>
#include <libintl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sitelib/installation.h"
#include "sitelib/services.h"
#include "sitelib/sitelib.h"
#include "sitelib/status.h"

namespace {

std::vector<pid_t> viewers;  // started and not yet reaped
std::vector<pid_t> groups;   // the viewers' process groups that may still hold a process

bool group_is_empty(pid_t group) { return kill(-group, 0) != 0 && errno == ESRCH; }

bool has_ended(pid_t pid) {
  pid_t result = waitpid(pid, nullptr, WNOHANG);
  return result == pid || (result < 0 && errno == ECHILD);
}

void reap_ended_viewers() {
  std::vector<pid_t> running;
  for (pid_t pid : viewers)
    if (!has_ended(pid)) running.push_back(pid);
  viewers.swap(running);
  std::vector<pid_t> occupied;
  for (pid_t group : groups)
    if (!group_is_empty(group)) occupied.push_back(group);
  groups.swap(occupied);
}

void signal_groups(int signal) {
  for (pid_t group : groups) kill(-group, signal);
}

// Topics name a page file: letters, digits, '_', '-' and '.', not starting
// with '.' and without "..", so that no topic reaches outside the directory.
bool is_safe_topic(const char *topic) {
  if (!topic || !*topic || topic[0] == '.' || strstr(topic, "..") || strlen(topic) > 200) return false;
  for (const char *c = topic; *c; ++c) {
    unsigned char byte = static_cast<unsigned char>(*c);
    if (byte > 127 || !(isalnum(byte) || byte == '_' || byte == '-' || byte == '.')) return false;
  }
  return true;
}

bool is_regular_file(const std::string &path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// The language the program's catalogue speaks, from its header's
// "Language:" line ("de"), or "" when the program's texts are untranslated.
std::string catalogue_language() {
  const char *header = gettext("");
  const char *line = header && *header ? strstr(header, "Language: ") : nullptr;
  if (!line) return "";
  line += strlen("Language: ");
  return std::string(line, strcspn(line, "\n"));
}

// The help in the language of the program's texts: a directory per language
// beside the English pages ("de"), for "de_AT" also "de"; English when
// there is none.
std::string help_directory() {
  const char *root = getenv("ZAMO_ROOT");
  const std::string base = root ? std::string(root) + "/help" : installed_data_directory() + "/help";
  const std::string language = catalogue_language();
  for (const std::string &name : {language, language.substr(0, language.find('_'))})
    if (is_safe_topic(name.c_str()) && is_regular_file(base + "/" + name + "/index.html"))
      return base + "/" + name;
  return base;
}

// The topic's page, else the directory's index.html, else "".
std::string help_page(const char *topic) {
  const std::string directory = help_directory();
  if (is_safe_topic(topic)) {
    std::string page = directory + "/" + topic + ".html";
    if (is_regular_file(page)) return page;
  }
  std::string index = directory + "/index.html";
  return is_regular_file(index) ? index : "";
}

// In the child between fork and exec: nothing but system calls, and _exit
// so that none of the parent's exit handlers run here.
[[noreturn]] void exec_viewer(char *const argv[], int report_fd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  setsid();
  int null_fd = open("/dev/null", O_RDWR);
  if (null_fd >= 0) {
    for (int fd = 0; fd <= 2; ++fd) dup2(null_fd, fd);
    if (null_fd > 2) close(null_fd);
  }
  execvp(argv[0], argv);
  int error = errno;
  ssize_t written = write(report_fd, &error, sizeof error);
  (void)written;
  _exit(127);
}

int viewer_failure(const std::string &program, const std::string &reason, const std::string &page) {
  return site_failure(SITE_HELP_NOT_STARTED, "Help viewer %s could not be started (%s); open %s by hand",
                      program.c_str(), reason.c_str(), page.c_str());
}

// A viewer that gives up at once (xdg-open without a browser) ends with a
// failing status within moments; one that ends well or keeps running is
// taken as started.
const int kStartWatchMs = 500;

std::string early_failure(pid_t pid) {
  for (int waited = 0; waited < kStartWatchMs; waited += 10) {
    int status = 0;
    pid_t result = waitpid(pid, &status, WNOHANG);
    if (result < 0) return "";
    if (result == pid) {
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return "";
      if (WIFEXITED(status)) return "it ended with status " + std::to_string(WEXITSTATUS(status));
      return std::string("it ended by signal ") + std::to_string(WTERMSIG(status));
    }
    usleep(10000);
  }
  viewers.push_back(pid);
  return "";
}

// Starts the viewer and learns through a close-on-exec pipe whether the exec
// worked: the pipe closes empty on success and carries errno on failure.
int start_viewer(std::string page) {
  const char *configured = getenv("ZAMO_HELP_VIEWER");
  std::string program = configured && *configured ? configured : "xdg-open";
  char *argv[] = {&program[0], &page[0], nullptr};

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return viewer_failure(program, strerror(errno), page);
  pid_t pid = fork();
  if (pid == 0) exec_viewer(argv, report[1]);
  int error = errno;                   // why fork failed, when it did
  if (pid > 0) groups.push_back(pid);  // the viewer leads its session and group
  close(report[1]);
  ssize_t received = 0;
  if (pid > 0) {
    do received = read(report[0], &error, sizeof error);
    while (received < 0 && errno == EINTR);
  }
  close(report[0]);
  if (pid < 0) return viewer_failure(program, strerror(error), page);
  if (received > 0) {
    waitpid(pid, nullptr, 0);
    return viewer_failure(program, strerror(error), page);
  }
  std::string failure = early_failure(pid);
  return failure.empty() ? SITE_OK : viewer_failure(program, failure, page);
}

}  // namespace

int helpStart(int mode, const char *topic, int flags) {
  (void)flags;
  // However the program ends, by its Exit or another exit, the viewers go too.
  static const bool ends_viewers_at_exit = atexit(helpExit) == 0;
  (void)ends_viewers_at_exit;
  reap_ended_viewers();
  if (mode != 1) return site_failure(SITE_HELP_BAD_MODE, "Help viewer asked for mode %d", mode);
  std::string page = help_page(topic);
  if (page.empty())
    return site_failure(SITE_HELP_NO_PAGE, "No help page for %s in %s", topic ? topic : "(none)",
                        help_directory().c_str());
  return start_viewer(page);
}

// Asks every viewer still running, and whatever the viewers started, to
// end, gives them a moment, then kills those that are left and reaps the
// viewers.
void helpExit(void) {
  reap_ended_viewers();
  signal_groups(SIGTERM);
  for (int tries = 0; tries < 100 && !groups.empty(); ++tries) {
    usleep(10000);
    reap_ended_viewers();
  }
  signal_groups(SIGKILL);
  for (pid_t pid : viewers) waitpid(pid, nullptr, 0);
  viewers.clear();
  groups.clear();
}
