// The real program from outside: usage errors and exit statuses, the
// operator's main window in both modes, and the non-operator's question.
#include <gtest/gtest.h>
// gtest before the X headers: they define None.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char *const SETUP = SETUP_BINARY_DIR "/setup";
const char *const SETUP_SITE = SETUP_BINARY_DIR "/setup-site";
const char *const USAGE = "Usage: setup [-zamo] [-rda]\n";

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string read_all(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, got);
  return text;
}

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

// The program as a child process with its standard output and error kept.
struct Program {
  pid_t pid = -1;
  int out = -1, err = -1;
  int status = -1;

  void start(const std::vector<std::string> &args) {
    int out_pipe[2], err_pipe[2];
    ASSERT_EQ(pipe(out_pipe), 0);
    ASSERT_EQ(pipe(err_pipe), 0);
    pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      dup2(out_pipe[1], 1);
      dup2(err_pipe[1], 2);
      std::vector<char *> argv{const_cast<char *>(SETUP)};
      for (const std::string &arg : args) argv.push_back(const_cast<char *>(arg.c_str()));
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
  // True when it ended within the time; status holds its wait status.
  bool wait_end(int timeout_ms) {
    for (int waited = 0; waited <= timeout_ms; waited += 20) {
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return true;
      }
      pause_ms(20);
    }
    return false;
  }
  int exit_code() const { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }
  std::string stdout_text() { return read_all(out); }
  std::string stderr_text() { return read_all(err); }
  ~Program() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
    if (out >= 0) close(out);
    if (err >= 0) close(err);
  }
};

std::string cut_host(void) {
  char name[64] = "";
  gethostname(name, sizeof name);
  name[sizeof name - 1] = '\0';
  if (char *dot = std::strchr(name, '.')) *dot = '\0';
  return name;
}

// The window whose title is exactly `title`, waiting up to `timeout_ms`.
std::string find_window(const std::string &title, int timeout_ms = 10000) {
  std::string command = "xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null | head -1";
  for (int waited = 0; waited <= timeout_ms; waited += 100) {
    std::string id = output_of(command);
    if (!id.empty()) return id;
    pause_ms(100);
  }
  return "";
}

class ShellEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup-shell-site-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    site = pattern;
    if (access(SETUP_SITE, X_OK) == 0) {
      ASSERT_EQ(std::system((std::string(SETUP_SITE) + " init " + site + " >/dev/null").c_str()), 0);
    }
    make_operator(true);
    setenv("ZAMO_CONFIG", site.c_str(), 1);
    setenv("ZAMO_LISTINGS", site.c_str(), 1);
    setenv("ZAMO_BITMAPS", SETUP_SOURCE_DIR "/data/", 1);
    setenv("ZAMO_APP_DEFAULTS", SETUP_SOURCE_DIR "/data/", 1);
    unsetenv("ZAMO_LIBEXEC_SERVICES");
    display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    // The server resets whenever its last client leaves, and refuses
    // connections meanwhile; one connection held for the whole test
    // program keeps it steady between runs.
    static Display *keeper = display.empty() ? nullptr : XOpenDisplay(display.c_str());
    (void)keeper;
  }
  void TearDown() override {
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    std::system(("rm -rf " + site).c_str());
  }
  void make_operator(bool yes) {
    std::ofstream(site + "/operators") << (yes ? output_of("id -un") : std::string("someone_else")) << "\n";
  }
  void require_display() {
    if (display.empty()) GTEST_FAIL() << "no X display (run under xvfb-run)";
  }
  // Saves the window's picture beside the test programs.
  void screenshot(const std::string &window, const char *name) {
    std::string path = std::string(SETUP_BINARY_DIR) + "/" + name;
    EXPECT_EQ(std::system(("import -window " + window + " " + path).c_str()), 0) << path;
  }
  std::string site, display;
};

TEST_F(ShellEndToEnd, UsageErrorsEndBeforeTheToolkit) {
  // No display at all: the usage text must come before any attempt to open one.
  unsetenv("DISPLAY");
  const std::vector<std::vector<std::string>> wrong = {
      {"zamo"}, {"-zamo", "-bogus"}, {"-display"}, {"-rda", "-disp"}, {"-"}, {"--rda"}, {""}};
  for (const auto &args : wrong) {
    Program program;
    program.start(args);
    ASSERT_TRUE(program.wait_end(5000)) << args[0];
    EXPECT_EQ(program.exit_code(), 1) << args[0];
    EXPECT_EQ(program.stdout_text(), USAGE) << args[0];
  }
}

TEST_F(ShellEndToEnd, LongDisplayNameReachesTheToolkitWhole) {
  unsetenv("DISPLAY");
  std::string name = "radar-workstation-" + std::string(300, 'x') + ":0";
  Program program;
  program.start({"-display", name});
  ASSERT_TRUE(program.wait_end(10000));
  EXPECT_FALSE(WIFSIGNALED(program.status)) << "signal " << WTERMSIG(program.status);
  EXPECT_NE(program.exit_code(), 0);
  EXPECT_NE(program.stderr_text().find(name), std::string::npos) << "the display named in full";
}

TEST_F(ShellEndToEnd, OperatorSeesTheMainWindowInBothModes) {
  require_display();
  const std::string title = "SETUP, " + cut_host();
  struct {
    const char *option, *picture;
    int width;
  } modes[] = {{"-zamo", "shell-full-mode.png", 620}, {"-rda", "shell-processor-only.png", 240}};
  for (const auto &mode : modes) {
    // The display comes from the option alone.
    unsetenv("DISPLAY");
    Program program;
    program.start({"-display", display, mode.option});
    setenv("DISPLAY", display.c_str(), 1);
    std::string window = find_window(title);
    ASSERT_FALSE(window.empty()) << mode.option << ": " << program.stderr_text();
    std::string geometry = output_of("xdotool getwindowgeometry " + window);
    EXPECT_NE(geometry.find("Geometry: " + std::to_string(mode.width) + "x215"), std::string::npos)
        << geometry;
    pause_ms(1500);  // past the loading dialog
    screenshot(window, mode.picture);
    EXPECT_FALSE(program.wait_end(0)) << "still running";
  }
}

TEST_F(ShellEndToEnd, NonOperatorAnswersTheQuestion) {
  require_display();
  make_operator(false);
  const std::string title = "SETUP, " + cut_host();
  {
    // "Exit Setup" (the Cancel button, also on Escape) ends with status 1.
    Program program;
    program.start({"-rda"});
    std::string dialog = find_window("Warning");
    ASSERT_FALSE(dialog.empty()) << program.stderr_text();
    EXPECT_TRUE(find_window(title, 0).empty()) << "no title before the answer";
    std::system(("xdotool mousemove --window " + dialog + " 10 10 sleep 0.2 key Escape").c_str());
    ASSERT_TRUE(program.wait_end(5000));
    EXPECT_EQ(program.exit_code(), 1);
  }
  {
    // "OK" (the default button) goes on read-only and loads.
    Program program;
    program.start({"-rda"});
    std::string dialog = find_window("Warning");
    ASSERT_FALSE(dialog.empty());
    std::system(("xdotool mousemove --window " + dialog + " 10 10 sleep 0.2 key Return").c_str());
    EXPECT_FALSE(find_window(title).empty());
    EXPECT_FALSE(program.wait_end(500)) << "still running";
  }
}

}  // namespace
