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

// Two editors on one site, the second saving while the first has a change
// pending: the first one's Save merges field by field. A different field is
// taken, shown in its page window and saved with its own change at once;
// the same field changed by both is named and not written, the first's
// value stays on screen, and saving again writes it.
TEST_F(StoreEndToEnd, ASaveOverAnotherEditorsSaveMergesFieldByField) {
  const std::string zel_file = site + "/setup_ant.conf", factory = read_file(zel_file);
  start_editor();
  const Window first = main_window;
  xdotool("windowmove " + std::to_string(first) + " 1000 700");  // out of the way of the pages
  const Window first_loading = titled("SETUP: Loading", false);
  auto holds = [&](const std::string &line) { return read_file(zel_file).find(line) != std::string::npos; };
  // The second editor edits one field, saves and leaves.
  auto second_saves = [&](const std::string &shown, const std::string &typed, const std::string &line) {
    Editor second(site, {"-rda"}, program);
    main_window = wait_titled("SETUP, ", 20000, first);
    ASSERT_NE(main_window, 0u) << second.err();
    // Its loading dialog is made, then taken down once the setups are read.
    ASSERT_TRUE(eventually([&] { return titled("SETUP: Loading", false, first_loading) != 0; }, 20000));
    ASSERT_TRUE(eventually([] { return titled("SETUP: Loading") == 0; }, 30000));
    Window page = open_page(true, 260, 0);
    ASSERT_NE(page, 0u);
    ASSERT_NE(retype(page, 277, shown, typed).find(typed), std::string::npos);
    file_menu('s');
    ASSERT_TRUE(eventually([&] { return holds(line); }, 20000));
    // The saved message stands over the main window until it goes by itself.
    EXPECT_TRUE(eventually([] { return titled("Warning") != 0; }, 5000));
    EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 10000));
    file_menu('e');
    EXPECT_EQ(second.exit_status(20000), 1) << "nothing left unsaved";
    main_window = first;
  };

  second_saves("9600 baud", "19200", "zel.iBaudRate1 = 19200\n");
  Window page = open_page(true, 260, 0);
  ASSERT_EQ(retype(page, 277, "/dev/ttyS1", "/dev/ttyS7"), "/dev/ttyS7");
  file_menu('s');
  EXPECT_TRUE(eventually([&] { return holds("zel.sDevice1 = \"/dev/ttyS7\"\n"); }, 20000));
  EXPECT_EQ(changed_lines(factory, read_file(zel_file)),
            (std::vector<std::string>{"zel.sDevice1 = \"/dev/ttyS1\" -> zel.sDevice1 = \"/dev/ttyS7\"",
                                      "zel.iBaudRate1 = 9600 -> zel.iBaudRate1 = 19200"}));
  press_default(wait_titled("Warning", 10000));  // the saved message, naming what was taken
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 10000));
  EXPECT_NE(field_showing(page, 277, "19200 baud"), 0u) << "the page shows the merge";
  xdotool("windowunmap " + std::to_string(page));

  second_saves("/dev/ttyS7", "/dev/ttyS8", "zel.sDevice1 = \"/dev/ttyS8\"\n");
  const std::string conflicting = read_file(zel_file);
  xdotool("windowmap " + std::to_string(page));
  ASSERT_EQ(retype(page, 277, "/dev/ttyS7", "/dev/ttyS9"), "/dev/ttyS9");
  file_menu('s');
  // The field named in the error status dialog, and a warning that not all
  // files were saved (its OK is the default button).
  EXPECT_NE(wait_titled("SETUP: Error Status", 10000), 0u);
  press_default(wait_titled("Warning", 10000));
  EXPECT_TRUE(read_file(zel_file) == conflicting) << "nothing written over the other editor's save";
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 10000));
  EXPECT_NE(field_showing(page, 277, "/dev/ttyS9"), 0u) << "this editor's value stays";
  // The dialogs stand over the main window: move it clear of them.
  xdotool("windowmove " + std::to_string(first) + " 1000 0");
  pause_ms(500);

  file_menu('s');
  EXPECT_TRUE(eventually([&] { return holds("zel.sDevice1 = \"/dev/ttyS9\"\n"); }, 20000));
  EXPECT_TRUE(read_file(zel_file + ".bak") == conflicting) << "the other version kept as the backup";
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 10000)) << "the saved message goes by itself";
  file_menu('e');
  EXPECT_EQ(editor->exit_status(20000), 1) << "nothing left unsaved";
}

}  // namespace
}  // namespace e2e
