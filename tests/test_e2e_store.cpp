// The real editor on a site made for the test: one value changed through
// the control processor page, then File > Save or File > Exit; a save
// changes exactly the edited line and keeps the old file as the backup.
#include "tests/support/e2e.h"

namespace e2e {
namespace {

using StoreEndToEnd = Test;

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
  press_default(question);  // "Save"
  EXPECT_EQ(0, editor->exit_status());
  EXPECT_NE(read_file(zel_file).find("zel.iBaudRate1 = 19200\n"), std::string::npos);
}

// Two editors on one site: the first one's Save does not silently write
// over what the second saved meanwhile; saving again overwrites it, and the
// other version stays as the backup.
TEST_F(StoreEndToEnd, ASaveOverAnotherEditorsSaveIsRefusedOnceThenOverwrites) {
  const std::string zel_file = site + "/setup_ant.conf", factory = read_file(zel_file);
  start_editor();
  const Window first = main_window;
  xdotool("windowmove " + std::to_string(first) + " 1000 700");  // out of the way of the pages
  {
    Editor second(site, {"-rda"}, program);
    main_window = wait_titled("SETUP, ", 10000, first);
    ASSERT_NE(main_window, 0u) << second.err();
    pause_ms(1500);  // its loading dialog comes and goes
    Window page = open_page(true, 260, 0);
    screenshot("e2e_control_processor.png");
    ASSERT_EQ(retype(page, 277, "9600 baud", "19200"), "19200 baud");
    file_menu('s');
    ASSERT_TRUE(eventually(
        [&] { return read_file(zel_file).find("zel.iBaudRate1 = 19200\n") != std::string::npos; }));
    EXPECT_EQ(changed_lines(factory, read_file(zel_file)),
              std::vector<std::string>{"zel.iBaudRate1 = 9600 -> zel.iBaudRate1 = 19200"});
    EXPECT_EQ(read_file(zel_file + ".bak"), factory);
    EXPECT_NE(wait_titled("Warning", 2000), 0u) << "the saved message";
    EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 6000)) << "it goes away by itself";
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
  press_default(warning);
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
