// The real program from outside: usage errors and exit statuses, the
// operator's main window in both modes, and the non-operator's question.
#include <gtest/gtest.h>
// gtest before the X headers: they define None.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char *const SETUP = SETUP_BINARY_DIR "/setup";

// Output of a shell command, without the trailing newline.
std::string output_of(const std::string &command) {
  std::string text;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

std::string read_all(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  return text;
}

// The program as a child; its standard output and error go to pipes.
struct Program {
  explicit Program(std::vector<std::string> args) {
    int out_pipe[2], err_pipe[2];
    if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(out_pipe[1], 1);
      dup2(err_pipe[1], 2);
      args.insert(args.begin(), SETUP);
      std::vector<char *> argv;
      for (std::string &arg : args) argv.push_back(&arg[0]);
      argv.push_back(nullptr);
      execv(SETUP, argv.data());
      _exit(127);
    }
    close(out_pipe[1]);
    close(err_pipe[1]);
    out = out_pipe[0];
    err = err_pipe[0];
    fcntl(out, F_SETFL, O_NONBLOCK);
    fcntl(err, F_SETFL, O_NONBLOCK);
  }
  ~Program() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    close(out);
    close(err);
  }
  // True when it ended within the time; `status` is its wait status.
  bool ended(int timeout_ms) {
    for (int waited = 0; waited <= timeout_ms; waited += 20, usleep(20000)) {
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return true;
      }
    }
    return false;
  }
  int exit_code() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
  pid_t pid = -1;
  int out = -1, err = -1, status = -1;
};

// The visible window titled exactly `title`, waiting up to `timeout_ms`.
std::string find_window(const std::string &title, int timeout_ms = 10000) {
  for (int waited = 0; waited <= timeout_ms; waited += 100, usleep(100000)) {
    std::string id = output_of("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null | head -1");
    if (!id.empty()) return id;
  }
  return "";
}

std::string main_title(void) {
  char host[64] = "";
  gethostname(host, sizeof host - 1);
  if (char *dot = std::strchr(host, '.')) *dot = '\0';
  return std::string("SETUP, ") + host;
}

class ShellEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup-shell-site-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    site = pattern;
    std::string init = SETUP_BINARY_DIR "/setup-site init " + site + " >/dev/null 2>&1";
    if (std::system(init.c_str()) != 0) std::ofstream(site + "/operators") << output_of("id -un") << "\n";
    setenv("ZAMO_CONFIG", site.c_str(), 1);
    setenv("ZAMO_LISTINGS", site.c_str(), 1);
    setenv("ZAMO_BITMAPS", SETUP_SOURCE_DIR "/data/", 1);
    setenv("ZAMO_APP_DEFAULTS", SETUP_SOURCE_DIR "/data/", 1);
    unsetenv("ZAMO_LIBEXEC_SERVICES");
    display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    // The server resets whenever its last client leaves and refuses
    // connections meanwhile; one connection held for the whole test program
    // keeps it steady between runs.
    static Display *keeper = display.empty() ? nullptr : XOpenDisplay(display.c_str());
    (void)keeper;
  }
  void TearDown() override {
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    std::system(("rm -rf " + site).c_str());
  }
  std::string site, display;
};

TEST_F(ShellEndToEnd, UsageErrorsEndBeforeTheToolkit) {
  unsetenv("DISPLAY");  // the usage text comes before any display is opened
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"zamo"}, {"-zamo", "-bogus"}, {"-display"}, {"-rda", "-disp"}, {""}}) {
    Program program(args);
    ASSERT_TRUE(program.ended(5000)) << args[0];
    EXPECT_EQ(program.exit_code(), 1) << args[0];
    EXPECT_EQ(read_all(program.out), "Usage: setup [-zamo] [-rda]\n") << args[0];
  }
  // A display name of any length reaches the toolkit whole.
  std::string name = "radar-workstation-" + std::string(300, 'x') + ":0";
  Program program({"-display", name});
  ASSERT_TRUE(program.ended(10000));
  EXPECT_TRUE(WIFEXITED(program.status));
  EXPECT_NE(read_all(program.err).find(name), std::string::npos);
}

TEST_F(ShellEndToEnd, OperatorSeesTheMainWindowInBothModes) {
  ASSERT_FALSE(display.empty()) << "run under xvfb-run";
  struct {
    const char *option, *picture, *size;
  } modes[] = {{"-zamo", "shell-full-mode.png", "620x215"}, {"-rda", "shell-processor-only.png", "240x215"}};
  for (const auto &mode : modes) {
    unsetenv("DISPLAY");  // the display comes from the option alone
    Program program({"-display", display, mode.option});
    setenv("DISPLAY", display.c_str(), 1);
    std::string window = find_window(main_title());
    ASSERT_FALSE(window.empty()) << mode.option << ": " << read_all(program.err);
    EXPECT_NE(output_of("xdotool getwindowgeometry " + window).find(mode.size), std::string::npos);
    usleep(1500000);  // past the loading dialog
    std::string picture = SETUP_BINARY_DIR "/" + std::string(mode.picture);
    EXPECT_EQ(std::system(("import -window " + window + " " + picture).c_str()), 0);
    EXPECT_FALSE(program.ended(0)) << "still running";
  }
}

TEST_F(ShellEndToEnd, NonOperatorAnswersTheQuestion) {
  ASSERT_FALSE(display.empty()) << "run under xvfb-run";
  std::ofstream(site + "/operators") << "someone_else\n";
  // Escape is the Cancel button, "Exit Setup": status 1. Return is the
  // default button, OK: the program goes on read-only.
  for (const char *key : {"Escape", "Return"}) {
    Program program({"-rda"});
    std::string dialog = find_window("Warning");
    ASSERT_FALSE(dialog.empty()) << read_all(program.err);
    EXPECT_TRUE(find_window(main_title(), 0).empty()) << "no title before the answer";
    std::system(("xdotool mousemove --window " + dialog + " 10 10 sleep 0.2 key " + key).c_str());
    if (std::strcmp(key, "Escape") == 0) {
      ASSERT_TRUE(program.ended(5000));
      EXPECT_EQ(program.exit_code(), 1);
    } else {
      EXPECT_FALSE(find_window(main_title()).empty());
      EXPECT_FALSE(program.ended(300)) << "still running";
    }
  }
}

}  // namespace
