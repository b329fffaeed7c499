// The real editor on a site made for the test: one value changed through
// the control processor page, then File > Save or File > Exit.
#include <sstream>

#include "tests/support/e2e.h"

namespace e2e {
namespace {

std::vector<std::string> lines_of(const std::string &text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

using StoreEndToEnd = Test;

// The ground height's field is out of sight at first: paging down reaches it.
TEST_F(StoreEndToEnd, SaveChangesExactlyTheEditedLineThenExitFindsNothingChanged) {
  const std::string zel_file = site + "/setup_ant.conf";
  // A ground height that no other field of the page shows.
  ASSERT_EQ(run("sed -i 's/^zel.ignd_hgt = .*/zel.ignd_hgt = 123/' " + zel_file), 0);
  std::string before = read_file(zel_file);
  ASSERT_NE(before.find("zel.ignd_hgt = 123\n"), std::string::npos);
  start_editor();
  Window page = open_page(true, 260, 0);
  ASSERT_NE(page, 0u);
  screenshot("e2e_control_processor.png");
  ASSERT_EQ(retype(page, 277, "123.0 meters", "456", true), "456.0 meters");

  file_menu('s');
  eventually([&] { return read_file(zel_file) != before; }, 5000);
  screenshot("e2e_control_processor_saved.png");

  EXPECT_EQ(before, read_file(zel_file + ".bak"));
  std::vector<std::string> old_lines = lines_of(before), new_lines = lines_of(read_file(zel_file));
  ASSERT_EQ(old_lines.size(), new_lines.size());
  std::vector<std::string> changed;
  for (size_t i = 0; i < old_lines.size(); ++i)
    if (old_lines[i] != new_lines[i]) changed.push_back(old_lines[i] + " -> " + new_lines[i]);
  EXPECT_EQ(std::vector<std::string>{"zel.ignd_hgt = 123 -> zel.ignd_hgt = 456"}, changed);

  EXPECT_NE(wait_titled("Warning", 2000), 0u) << "the saved message";
  // It goes away by itself.
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 6000));
  file_menu('e');
  EXPECT_EQ(1, editor->exit_status()) << "Exit with nothing changed";
}

TEST_F(StoreEndToEnd, ExitWithAnUnsavedChangeAndSave) {
  const std::string zel_file = site + "/setup_ant.conf";
  ASSERT_NE(read_file(zel_file).find("zel.iBaudRate1 = 9600\n"), std::string::npos);
  start_editor();
  Window page = open_page(true, 260, 0);
  ASSERT_NE(page, 0u);
  // The first field showing the loaded rate is the main serial line's.
  ASSERT_EQ(retype(page, 277, "9600 baud", "19200"), "19200 baud");
  file_menu('e');
  Window question = wait_titled("Warning", 5000);
  ASSERT_NE(question, 0u) << "the save question";
  Box b = box(question);
  run("xdotool mousemove " + std::to_string(b.x + b.width / 2) + " " + std::to_string(b.y + 10));
  xdotool("key Return");  // the default button: "Save"
  EXPECT_EQ(0, editor->exit_status());
  EXPECT_NE(read_file(zel_file).find("zel.iBaudRate1 = 19200\n"), std::string::npos);
}

// Two editors on one site: the first one's Save does not silently write
// over what the second saved meanwhile; saving again overwrites it, and the
// other version stays as the backup.
TEST_F(StoreEndToEnd, ASaveOverAnotherEditorsSaveIsRefusedOnceThenOverwrites) {
  const std::string zel_file = site + "/setup_ant.conf";
  start_editor();
  const Window first = main_window;
  xdotool("windowmove " + std::to_string(first) + " 1000 700");  // out of the way of the pages
  {
    Editor second(site, {"-rda"}, program);
    main_window = wait_titled("SETUP, ", 10000, first);
    ASSERT_NE(main_window, 0u) << second.err();
    pause_ms(1500);  // its loading dialog comes and goes
    Window page = open_page(true, 260, 0);
    ASSERT_EQ(retype(page, 277, "9600 baud", "19200"), "19200 baud");
    file_menu('s');
    ASSERT_TRUE(eventually(
        [&] { return read_file(zel_file).find("zel.iBaudRate1 = 19200\n") != std::string::npos; }));
    EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 6000));
    file_menu('e');
    EXPECT_EQ(second.exit_status(), 1);
  }
  const std::string saved_by_second = read_file(zel_file);

  main_window = first;
  Window page = open_page(true, 260, 0);
  ASSERT_EQ(retype(page, 277, "9600 baud", "4800"), "4800 baud");
  file_menu('s');
  // The area named in the error status dialog, and a warning that not all
  // files were saved (its OK is the default button).
  EXPECT_NE(wait_titled("SETUP: Error Status", 5000), 0u);
  Window warning = wait_titled("Warning", 5000);
  ASSERT_NE(warning, 0u);
  EXPECT_TRUE(read_file(zel_file) == saved_by_second) << "nothing written over the other editor's save";
  const Box w = box(warning);
  run("xdotool mousemove " + std::to_string(w.x + w.width / 2) + " " + std::to_string(w.y + 10));
  xdotool("key Return");
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }));
  // The dialogs stand over the main window: move it clear of them.
  xdotool("windowmove " + std::to_string(first) + " 1000 0");
  pause_ms(500);

  file_menu('s');
  EXPECT_TRUE(
      eventually([&] { return read_file(zel_file).find("zel.iBaudRate1 = 4800\n") != std::string::npos; }));
  EXPECT_TRUE(read_file(zel_file + ".bak") == saved_by_second) << "the other version kept as the backup";
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 6000));
  file_menu('e');
  EXPECT_EQ(editor->exit_status(), 1) << "nothing left unsaved";
}

}  // namespace
}  // namespace e2e
