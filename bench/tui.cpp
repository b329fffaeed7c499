// setup-tui as a user waits for it, in a pseudo-terminal of 80x24: from
// exec to its first screen on a factory full-mode site, and each key with
// its redraw on the output device page with 32 devices.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/probes.h"
#include "bench/startup.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_between(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

struct Terminal {
  int fd = -1;
  pid_t child = -1;
  std::string seen;
};

bool start(Terminal &t, const std::string &site) {
  winsize size{24, 80, 0, 0};
  t.child = forkpty(&t.fd, nullptr, nullptr, &size);
  if (t.child < 0) return false;
  if (t.child == 0) {
    setenv("TERM", "xterm", 1);
    execl(SETUP_TUI_PROGRAM, SETUP_TUI_PROGRAM, "-C", site.c_str(), "--zamo", static_cast<char *>(nullptr));
    _exit(127);
  }
  return true;
}

// Reads until `text` has appeared and the program has been quiet for
// `quiet_ms`; the time of the last byte read, or of the call when none came.
Clock::time_point read_until(Terminal &t, const std::string &text, int quiet_ms) {
  Clock::time_point last = Clock::now();
  const Clock::time_point give_up = last + std::chrono::seconds(10);
  bool found = text.empty();
  char buffer[65536];
  while (Clock::now() < give_up) {
    pollfd p{t.fd, POLLIN, 0};
    if (poll(&p, 1, quiet_ms) <= 0) {
      if (found) break;
      continue;
    }
    ssize_t n = read(t.fd, buffer, sizeof buffer);
    if (n <= 0) break;
    last = Clock::now();
    t.seen.append(buffer, static_cast<size_t>(n));
    found = found || t.seen.find(text) != std::string::npos;
  }
  return last;
}

bool send(Terminal &t, const std::string &keys) {
  return write(t.fd, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

void stop(Terminal &t) {
  kill(t.child, SIGTERM);
  waitpid(t.child, nullptr, 0);
  close(t.fd);
}

}  // namespace

void print_tui_times(int rounds) {
  const std::string site = make_factory_site();
  if (site.empty()) return;
  std::vector<double> first;
  for (int round = 0; round < rounds; ++round) {
    Terminal t;
    const Clock::time_point exec = Clock::now();
    if (!start(t, site)) return;
    first.push_back(ms_between(exec, read_until(t, "SETUP ", 30)));
    stop(t);
  }
  // 32 output devices, then the output device page (the sixth in the list).
  std::system((std::string(SETUP_SITE_PROGRAM) + " -C " + site +
               " --zamo apply - >/dev/null 2>&1 <<'EOF'\nzamo.device.imaxdevcount = "
               "32\nzamo.device.idevcount = 32\nEOF")
                  .c_str());
  Terminal t;
  std::vector<double> keys;
  if (start(t, site)) {
    read_until(t, "SETUP ", 30);
    for (int i = 0; i < 5 && send(t, "\x1bOB"); ++i) read_until(t, "", 30);
    if (send(t, "\r")) read_until(t, "", 100);
    for (int key = 0; key < 40; ++key) {
      const Clock::time_point sent = Clock::now();
      if (!send(t, "\x1bOB")) break;
      keys.push_back(ms_between(sent, read_until(t, "", 30)));
    }
    stop(t);
  }
  std::printf(
      "\nsetup-tui: first screen %.1f ms wall after exec (median of %d, target 50); a key with its redraw on "
      "the output device page with 32 devices %.2f ms median, %.2f worst of %zu (target 5)\n",
      median(first), rounds, median(keys), keys.empty() ? 0.0 : *std::max_element(keys.begin(), keys.end()),
      keys.size());
  std::system(("rm -rf " + site).c_str());
}
