// The real program from outside: usage errors and exit statuses, the
// operator's main window in both modes, and the non-operator's question.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/e2e.h"

namespace e2e {
namespace {

using ShellEndToEnd = Test;

TEST_F(ShellEndToEnd, UsageErrorsEndBeforeTheToolkit) {
  unsetenv("DISPLAY");  // the usage text comes before any display is opened
  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"zamo"}, {"-zamo", "-bogus"}, {"-display"}, {"-rda", "-disp"}, {""}}) {
    Editor program(site, args);
    ASSERT_TRUE(program.ended(5000)) << args[0];
    EXPECT_EQ(program.exit_status(0), 1) << args[0];
    EXPECT_EQ(program.out(), "Usage: setup [-zamo] [-rda]\n") << args[0];
  }
  // A display name of any length reaches the toolkit whole.
  std::string name = "radar-workstation-" + std::string(300, 'x') + ":0";
  Editor program(site, {"-display", name});
  ASSERT_TRUE(program.ended(10000));
  EXPECT_TRUE(WIFEXITED(program.status));
  EXPECT_NE(program.err().find(name), std::string::npos);
}

TEST_F(ShellEndToEnd, OperatorSeesTheMainWindowInBothModes) {
  struct {
    const char *option, *picture;
    int width;
  } modes[] = {{"-zamo", "shell-full-mode.png", 620}, {"-rda", "shell-processor-only.png", 240}};
  for (const auto &mode : modes) {
    unsetenv("DISPLAY");  // the display comes from the option alone
    Editor program(site, {"-display", display_name, mode.option});
    Window window = wait_titled(main_title());
    ASSERT_NE(window, 0u) << mode.option << ": " << program.err();
    EXPECT_EQ(box(window).width, mode.width);
    EXPECT_EQ(box(window).height, 215);
    pause_ms(1500);  // past the loading dialog
    EXPECT_EQ(run("import -display " + display_name + " -window " + std::to_string(window) + " " +
                  SETUP_BINARY_DIR "/" + mode.picture),
              0);
    EXPECT_FALSE(program.ended(0)) << "still running";
    setenv("DISPLAY", display_name.c_str(), 1);
  }
}

TEST_F(ShellEndToEnd, NonOperatorAnswersTheQuestion) {
  std::ofstream(site + "/operators") << "someone_else\n";
  // Escape is the Cancel button, "Exit Setup": status 1. Return is the
  // default button, OK: the program goes on read-only.
  for (const char *key : {"Escape", "Return"}) {
    Editor program(site, {"-rda"});
    Window dialog = wait_titled("Warning");
    ASSERT_NE(dialog, 0u) << program.err();
    EXPECT_EQ(titled(main_title()), 0u) << "no title before the answer";
    run("xdotool mousemove --window " + std::to_string(dialog) + " 10 10 sleep 0.2 key " + key);
    if (std::string(key) == "Escape") {
      EXPECT_EQ(program.exit_status(5000), 1);
    } else {
      EXPECT_NE(wait_titled(main_title()), 0u);
      EXPECT_FALSE(program.ended(300)) << "still running";
    }
  }
}

// A HOME longer than the toolkit's buffer for it, and a FIFO as the
// catalogue of the user's language: the editor starts, in English, says
// why, and still lists into that HOME.
TEST_F(ShellEndToEnd, AHostileEnvironmentNeitherAbortsNorHangsTheStart) {
  std::string home = site;
  while (home.size() <= 1100) home += "/" + std::string(200, 'h');
  std::filesystem::create_directories(home);
  const std::string nls = site + "/nls/bin/nls/xx/LC_MESSAGES";
  std::filesystem::create_directories(nls);
  ASSERT_EQ(mkfifo((nls + "/quorbel-wr-common-.mo").c_str(), 0644), 0);
  setenv("HOME", home.c_str(), 1);
  unsetenv("ZAMO_LISTINGS");
  setenv("ZAMO_ROOT", (site + "/nls").c_str(), 1);
  setenv("LANGUAGE", "xx", 1);
  setenv("LC_ALL", "C.UTF-8", 1);

  start_editor();
  EXPECT_FALSE(editor->ended(0)) << editor->err();
  EXPECT_NE(editor->err().find("HOME is longer than"), std::string::npos) << editor->err();
  EXPECT_NE(editor->err().find(nls + "/quorbel-wr-common-.mo is not a regular file"), std::string::npos);
  file_menu('l');
  EXPECT_TRUE(eventually([&] { return !only_listing(home).empty(); })) << editor->err();
  unsetenv("LANGUAGE");
  unsetenv("LC_ALL");
}

}  // namespace
}  // namespace e2e
