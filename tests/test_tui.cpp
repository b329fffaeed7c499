// setup-tui driven in tmux as a user drives it: keys in, screen out. Its
// saves write what setup-site writes for the same typed values.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "tests/support/files.h"

namespace {

const std::string kBin = SETUP_BINARY_DIR;

std::string site(const TempDir &temp, const std::string &name) {
  const std::string dir = temp / name;
  EXPECT_EQ(0, std::system((kBin + "/setup-site init --force " + dir + " >/dev/null").c_str()));
  return dir;
}

// setup-tui on a site in a detached tmux session of its own server, whose
// socket goes with the site's temporary directory.
struct Tui {
  std::string tmux;
  std::string pid_file;
  explicit Tui(const std::string &dir, const std::string &env = "")
      : tmux("tmux -S " + dir + ".tmux "), pid_file(dir + ".pid") {
    write_file(dir + ".sh", "echo $$ >" + pid_file + "\nexec env LC_ALL=C.UTF-8 " + env + " " + kBin +
                                "/setup-tui -C " + dir + " --zamo\n");
    EXPECT_EQ(0, std::system((tmux + "-u -f /dev/null new-session -d -x 80 -y 24 'sh " + dir +
                              ".sh; echo EXIT=$?; sleep 60'")
                                 .c_str()));
  }
  void signal(const char *name) {
    std::system(("kill -" + std::string(name) + " $(cat " + pid_file + ")").c_str());
  }
  ~Tui() { std::system((tmux + "kill-server 2>/dev/null").c_str()); }
  // tmux key names ("Enter", "C-u", "F4") or, with `literal`, text.
  void keys(const std::string &keys, bool literal = false) {
    std::system((tmux + "send-keys " + (literal ? "-l '" + keys + "'" : keys)).c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  std::string screen() { return output_of(tmux + "capture-pane -p"); }
  // Waits until the screen shows `text` (or, with `shown` false, no longer does).
  bool shows(const std::string &text, bool shown = true) {
    for (int i = 0; i < 50; ++i) {
      if ((screen().find(text) != std::string::npos) == shown) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ADD_FAILURE() << "screen " << (shown ? "lacks" : "still shows") << " \"" << text << "\":\n" << screen();
    return false;
  }
  // Enter on the line, `value` typed over what the field holds, Enter.
  void type_over(const std::string &value) {
    keys("Enter");
    keys("C-u");
    keys(value, true);
    keys("Enter");
  }
  // Finds `query` and goes to the match `down` places below the first.
  void go_to(const std::string &query, int down = 0) {
    keys("/");
    keys(query, true);
    keys("Enter");
    shows("Found");
    for (int i = 0; i < down; ++i) keys("Down");
    keys("Enter");
  }
};

TEST(Tui, EditsSaveWhatSetupSiteWrites) {
  TempDir temp;
  const std::string dir = site(temp, "edit"), tool = site(temp, "tool");
  Tui tui(dir);
  tui.shows("Radar Control Processor Setups");
  // Navigate to a page; a number clamped to its limits.
  tui.keys("Enter");
  tui.shows("System Type");
  tui.go_to("Transmit Wavelength");
  tui.type_over("99999");
  tui.shows("Clamped to its limits: Transmit Wavelength = 30.00 cm");
  // Find "antenna height" and edit it; help on it.
  tui.go_to("antenna height", 1);
  tui.type_over("25");
  tui.shows("25.0 meters");
  tui.keys("?");
  tui.shows("Path: zel.");
  tui.keys("Escape");
  // A choice that shows a row, and a hint of that row.
  tui.go_to("Main Interface to ZEL");
  tui.shows("AntExport Port Number", false);
  tui.keys("Enter");
  tui.shows("AntExport");
  tui.keys("Down");
  tui.keys("Down");
  tui.keys("Enter");
  tui.shows("AntExport Port Number");
  tui.keys("Down");
  tui.keys("Down");
  tui.type_over("1234");
  tui.shows(": 1234");
  tui.keys("F4");
  tui.keys("Enter");
  tui.shows(": 30745");
  // A toggle that hides rows.
  tui.go_to("System has a signal processor");
  tui.keys("Space");
  tui.shows("Interface to KOX", false);
  tui.keys("C-s");
  tui.shows("Saved");
  tui.keys("q");
  tui.shows("EXIT=0");

  for (const char *set : {"dsp.iwavelength 99999", "zel.iInterfaceType AntExport",
                          "zel.iAntExportPortNum 30745", "zel.irad_hgt 25", "dsp.ldsp_available No"})
    EXPECT_EQ(0,
              std::system((kBin + "/setup-site -C " + tool + " --zamo set " + set + " >/dev/null").c_str()))
        << set;
  EXPECT_EQ("", differing_lines(setup_files(tool), setup_files(dir)));
  EXPECT_NE(std::string::npos, read_file(dir + "/changes.log").find("setup-tui"));
}

// setup-site saves while the terminal editor has a change pending: the
// editor's save takes setup-site's field (the page shows it) and writes its
// own on top.
TEST(Tui, ASaveMergesWhatSetupSiteSavedMeanwhile) {
  TempDir temp;
  const std::string dir = site(temp, "merge");
  Tui tui(dir);
  tui.shows("Radar Control Processor Setups");
  tui.keys("Enter");
  tui.go_to("antenna height", 1);
  tui.type_over("25");
  ASSERT_EQ(
      0, std::system((kBin + "/setup-site -C " + dir + " --zamo set zel.ignd_hgt 321 >/dev/null").c_str()));
  tui.keys("C-s");
  tui.shows("taken from another program's save: zel.ignd_hgt = 321");
  tui.keys("Escape");
  tui.shows(": 321");
  for (const char *line : {"zel.ignd_hgt = 321\n", "zel.irad_hgt = 25\n"})
    EXPECT_NE(read_file(dir + "/setup_ant.conf").find(line), std::string::npos) << line;
}

// With pending changes q asks: Back stays, Discard leaves the files as they
// were. Then a resize to 60x20 cuts labels to fit.
TEST(Tui, ExitQuestionAndSmallTerminal) {
  TempDir temp;
  const std::string dir = site(temp, "exit");
  const std::string before = setup_files(dir);
  Tui tui(dir);
  tui.shows("Radar Video Processor Setups");
  tui.keys("Enter");
  tui.keys("Space");
  tui.keys("q");
  tui.shows("Discard");
  tui.keys("Escape");
  tui.shows("Discard", false);
  std::system((tui.tmux + "resize-window -x 60 -y 20").c_str());
  tui.shows("…");
  const std::string screen = tui.screen();
  int rows = 0;
  for (size_t at = 0; (at = screen.find('\n', at)) != std::string::npos; ++at) ++rows;
  EXPECT_EQ(20, rows);
  tui.keys("q");
  tui.keys("Down");
  tui.keys("Enter");
  tui.shows("EXIT=0");
  EXPECT_EQ(before, setup_files(dir));
}

// A user the operators file does not name may look but not edit or save,
// and is not asked at exit; in German, labels and messages alike.
TEST(Tui, NonOperatorIsReadOnlyInGerman) {
  TempDir temp;
  const std::string dir = site(temp, "reader");
  write_file(dir + "/operators", "someone-else\n");
  std::filesystem::create_directories(temp / "root/bin");
  std::filesystem::create_directory_symlink(kBin + "/locale", temp / "root/bin/nls");
  Tui tui(dir, "LANGUAGE=de ZAMO_ROOT=" + temp / "root");
  tui.shows("ist kein Operator");
  tui.keys("Enter");
  tui.shows("nur lesen");
  tui.keys("Enter");
  tui.shows("Einstellungen des Radarsignalprozessors");
  tui.keys("Space");
  tui.shows("Nur lesen: Sie sind kein Operator");
  tui.keys("C-s");
  tui.shows("Speichern abgelehnt");
  tui.keys("q");
  tui.shows("EXIT=0");
}

// The load's failures are listed, a value out of range is offered for
// repair, and a hang-up ends the program without saving.
TEST(Tui, StartUpFailuresRepairAndHangUp) {
  TempDir temp;
  const std::string dir = site(temp, "broken");
  std::string dsp = read_file(dir + "/setup_dsp.conf");
  dsp.replace(dsp.find("dsp.iwavelength = 533"), 21, "dsp.iwavelength = 5000");
  write_file(dir + "/setup_dsp.conf", dsp + "dsp.bogus = 1\n");
  const std::string before = setup_files(dir);
  Tui tui(dir);
  tui.shows("Start-up failures");
  tui.shows("\"dsp.bogus\"");
  tui.keys("Escape");
  tui.shows("Values out of range");
  tui.keys("Enter");
  tui.shows("Repaired");
  tui.keys("Escape");
  tui.keys("c");
  tui.shows("(dsp.iwavelength)");
  tui.keys("Escape");
  tui.signal("HUP");
  tui.shows("EXIT=129");
  EXPECT_EQ(before, setup_files(dir));
}

}  // namespace
