#include "bench/startup.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/probes.h"

namespace {

constexpr double kLoadTimerMs = 300;  // the start-up load's timeout
constexpr int kGiveUpMs = 20000;

using Clock = std::chrono::steady_clock;

struct Run {
  double mapped_ms = -1;
  double loaded_ms = -1;
  double mapped_at = 0, loaded_at = 0;  // monotonic ms, as the reply log has them
};

double monotonic_ms(Clock::time_point t) {
  return std::chrono::duration<double, std::milli>(t.time_since_epoch()).count();
}

// `environment`: "NAME=VALUE" entries added for the child alone.
pid_t spawn(const std::vector<std::string> &argv, const std::string &directory,
            const std::vector<std::string> &environment = {}) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  if (chdir(directory.c_str()) != 0) _exit(127);
  for (const std::string &entry : environment) putenv(const_cast<char *>(entry.c_str()));
  std::vector<char *> args;
  for (const std::string &a : argv) args.push_back(const_cast<char *>(a.c_str()));
  args.push_back(nullptr);
  int devnull = open("/dev/null", O_WRONLY);
  if (devnull >= 0) {
    dup2(devnull, 1);
    dup2(devnull, 2);
  }
  execv(args[0], args.data());
  _exit(127);
}

// Watches the root window: the first top-level window mapped is the main
// window; the editor then maps its loading dialog and unmaps it when the
// load is done. `loads` says whether to wait for that.
Run watch(Display *display, const std::vector<std::string> &argv, const std::string &directory, bool loads,
          const std::vector<std::string> &environment = {}) {
  Run run;
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, True);
  Stamp start = now();
  pid_t child = spawn(argv, directory, environment);
  Window first = None, dialog = None;
  while (wall_since(start) < kGiveUpMs) {
    if (!XPending(display)) {
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      poll(&fd, 1, 50);
      continue;
    }
    XEvent e;
    XNextEvent(display, &e);
    if (e.type == MapNotify && first == None) {
      first = e.xmap.window;
      run.mapped_ms = wall_since(start);
      run.mapped_at = monotonic_ms(Clock::now());
      if (!loads) break;
    } else if (e.type == MapNotify && dialog == None) {
      dialog = e.xmap.window;
    } else if (e.type == UnmapNotify && dialog != None && e.xunmap.window == dialog) {
      run.loaded_ms = wall_since(start) - kLoadTimerMs;
      run.loaded_at = monotonic_ms(Clock::now());
      break;
    }
  }
  XSelectInput(display, DefaultRootWindow(display), NoEventMask);
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  return run;
}

// One reply waited for: when (monotonic ms) and, if traced, its callers.
struct Reply {
  double at;
  std::string callers;
};

// A run with every reply the program waits for logged.
std::vector<Reply> logged_run(Display *display, const std::vector<std::string> &argv, const std::string &site,
                              bool loads, bool callers, Run &run) {
  char name[] = "/tmp/setup-bench-replies-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) return {};
  close(fd);
  std::vector<std::string> environment = {std::string("LD_PRELOAD=") + REPLY_LOG_LIBRARY,
                                          std::string("SETUP_BENCH_REPLY_LOG=") + name};
  if (callers) environment.push_back("SETUP_BENCH_REPLY_CALLERS=1");
  run = watch(display, argv, site, loads, environment);
  std::vector<Reply> replies;
  std::ifstream in(name);
  std::string line;
  while (std::getline(in, line)) {
    size_t space = line.find(' ');
    replies.push_back({std::atof(line.c_str()), space == std::string::npos ? "" : line.substr(space + 1)});
  }
  unlink(name);
  return replies;
}

long replies_until(const std::vector<Reply> &replies, double until) {
  return std::count_if(replies.begin(), replies.end(), [&](const Reply &r) { return r.at <= until; });
}

Display *open_watch_display(const std::string &watch_display) {
  return XOpenDisplay(watch_display.empty() ? nullptr : watch_display.c_str());
}

// The program's own frames as "file:line function", from their offsets
// ("setup(+0x1a2b) [0x...]"); other frames as they are.
std::string readable_callers(const std::string &callers) {
  std::istringstream words(callers);
  std::string frame, out;
  const std::string program = std::string(SETUP_PROGRAM).substr(std::string(SETUP_PROGRAM).rfind('/') + 1);
  while (words >> frame) {
    if (frame[0] == '[') continue;  // the absolute address after each frame
    std::string name = frame.substr(frame.rfind('/') + 1);
    if (name.rfind(program + "(+0x", 0) == 0) {
      std::string offset = name.substr(program.size() + 2, name.find(')') - program.size() - 2);
      std::string command = std::string("addr2line -f -C -s -e ") + SETUP_PROGRAM + " " + offset;
      if (FILE *p = popen(command.c_str(), "r")) {
        char function[512] = "", place[512] = "";
        if (std::fgets(function, sizeof function, p) && std::fgets(place, sizeof place, p)) {
          function[std::strcspn(function, "\n")] = 0;
          place[std::strcspn(place, "\n")] = 0;
          name = std::string(function) + "@" + place;
        }
        pclose(p);
      }
    }
    out += " " + name;
  }
  return out;
}

}  // namespace

std::string make_factory_site(void) {
  char directory[] = "/tmp/setup-bench-XXXXXX";
  if (!mkdtemp(directory)) return "";
  std::string command = std::string(SETUP_SITE_PROGRAM) + " init " + directory + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return "";
  return directory;
}

StartupFigures time_startup(int rounds, const std::string &watch_display) {
  StartupFigures f;
  std::string site = make_factory_site();
  Display *display = open_watch_display(watch_display);
  if (site.empty() || !display) return f;
  setenv("ZAMO_CONFIG", site.c_str(), 1);
  std::vector<double> editor_mapped, editor_loaded, minimal_mapped, ratios;
  for (int round = 0; round < rounds; ++round) {
    Run editor = watch(display, {SETUP_PROGRAM, "-zamo"}, site, true);
    Run minimal = watch(display, {MINIMAL_PROGRAM}, site, false);
    if (editor.mapped_ms < 0 || editor.loaded_ms < 0 || minimal.mapped_ms < 0) return f;
    editor_mapped.push_back(editor.mapped_ms);
    editor_loaded.push_back(editor.loaded_ms);
    minimal_mapped.push_back(minimal.mapped_ms);
    if (minimal.mapped_ms > 0) ratios.push_back(editor.mapped_ms / minimal.mapped_ms);
  }
  Run editor, minimal;
  std::vector<Reply> editor_replies =
      logged_run(display, {SETUP_PROGRAM, "-zamo"}, site, true, false, editor);
  std::vector<Reply> minimal_replies = logged_run(display, {MINIMAL_PROGRAM}, site, false, false, minimal);
  if (editor.loaded_ms >= 0 && minimal.mapped_ms >= 0) {
    f.editor_replies_mapped = replies_until(editor_replies, editor.mapped_at);
    f.editor_replies_loaded = replies_until(editor_replies, editor.loaded_at);
    f.minimal_replies_mapped = replies_until(minimal_replies, minimal.mapped_at);
  }
  XCloseDisplay(display);
  std::system(("rm -rf " + site).c_str());
  f.editor_mapped_ms = median(editor_mapped);
  f.editor_loaded_ms = median(editor_loaded);
  f.minimal_mapped_ms = median(minimal_mapped);
  f.mapped_ratio = median(ratios);
  f.ok = true;
  return f;
}

void trace_startup_replies(const std::string &watch_display) {
  std::string site = make_factory_site();
  Display *display = open_watch_display(watch_display);
  if (site.empty() || !display) {
    std::printf("start-up: could not be traced\n");
    return;
  }
  setenv("ZAMO_CONFIG", site.c_str(), 1);
  Run run;
  std::vector<Reply> replies = logged_run(display, {SETUP_PROGRAM, "-zamo"}, site, true, true, run);
  XCloseDisplay(display);
  std::system(("rm -rf " + site).c_str());
  long number = 0;
  for (const Reply &r : replies) {
    const char *when = r.at <= run.mapped_at ? "to mapped" : r.at <= run.loaded_at ? "to loaded" : "after";
    std::printf("reply %ld (%s):%s\n", ++number, when, readable_callers(r.callers).c_str());
  }
  std::printf("start-up replies: %ld to the main window mapped, %ld to the start-up load done, %zu in all\n",
              replies_until(replies, run.mapped_at), replies_until(replies, run.loaded_at), replies.size());
}

namespace {

// Milliseconds from exec to the end of setup-site with these arguments:
// wall, and the child's cpu (user and system), which a busy machine
// does not inflate.
struct ToolTime {
  std::vector<double> wall, cpu;
};

void time_tool(const std::string &site, std::vector<std::string> args, ToolTime &t) {
  args.insert(args.begin(), {SETUP_SITE_PROGRAM, "-C", site, "--zamo"});
  Stamp start = now();
  pid_t child = spawn(args, site);
  rusage usage{};
  wait4(child, nullptr, 0, &usage);
  t.wall.push_back(wall_since(start));
  auto ms = [](const timeval &v) { return v.tv_sec * 1e3 + v.tv_usec / 1e3; };
  t.cpu.push_back(ms(usage.ru_utime) + ms(usage.ru_stime));
}

}  // namespace

void print_site_tool_times(int rounds) {
  const std::string site = make_factory_site();
  if (site.empty()) return;
  // Two baselines of 1,000 lines that differ in one value, applied in turn:
  // each apply checks every line and writes.
  std::system(
      (std::string(SETUP_SITE_PROGRAM) + " -C " + site + " --zamo get | head -1000 >" + site + "/a.txt")
          .c_str());
  std::ifstream in(site + "/a.txt");
  std::stringstream text;
  text << in.rdbuf();
  std::string other = text.str();
  const size_t at = other.find("zel.irad_hgt = ");
  if (at != std::string::npos) other.replace(at, other.find('\n', at) - at, "zel.irad_hgt = 30");
  std::ofstream(site + "/b.txt") << other;
  const std::vector<std::vector<std::string>> commands = {{"list"},
                                                          {"check", "--all"},
                                                          {"get"},
                                                          {"get", "zel.irad_hgt"},
                                                          {"range", "zel.irad_hgt"},
                                                          {"describe", "zel.irad_hgt"},
                                                          {"diff"},
                                                          {"log"},
                                                          {"paths"},
                                                          {"set", "zel.irad_hgt", "25"},
                                                          {"reset", "zel.irad_hgt"},
                                                          {"repair"},
                                                          {"undo", "--dry-run"}};
  std::printf("\nsetup-site on a factory site, median ms of %d runs, wall/cpu (target 20 each):\n ", rounds);
  double worst_wall = 0, worst_cpu = 0;
  for (const std::vector<std::string> &command : commands) {
    ToolTime t;
    for (int round = 0; round < rounds; ++round) time_tool(site, command, t);
    worst_wall = std::max(worst_wall, median(t.wall));
    worst_cpu = std::max(worst_cpu, median(t.cpu));
    std::printf(" %s %.0f/%.0f;", command[0].c_str(), median(t.wall), median(t.cpu));
  }
  ToolTime apply;
  for (int round = 0; round < rounds; ++round)
    time_tool(site, {"apply", site + (round % 2 ? "/a.txt" : "/b.txt")}, apply);
  std::printf(
      "\nsetup-site worst command %.1f ms wall, %.1f cpu (target 20); apply of 1,000 lines %.1f wall, %.1f "
      "cpu "
      "(target 50)\n",
      worst_wall, worst_cpu, median(apply.wall), median(apply.cpu));
  std::system(("rm -rf " + site).c_str());
}
