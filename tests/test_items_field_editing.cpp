// The text fields of a page window edit as plain Motif text fields on the
// same display: the same keys and mouse actions, sent through the server,
// leave the same texts in a pair of fields of a page and in a pair of plain
// fields in a shell of their own.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "motif/state.h"
#include "pages/pages.h"
#include "tests/support/gui.h"
#include "tests/support/test_page.h"
#include "tests/support/widgets.h"

namespace {

const char *const kFirstText = "/dev/ttyS1";
const char *const kSecondText = "radar";

void xdotool(const std::string &what) {
  std::system(("xdotool " + what).c_str());
  gui_process(150);
}

// Moves the pointer into `field`, `from_right` pixels from its right edge
// (past the end of a short text) or `from_left` from its left edge, and
// clicks `clicks` times with `button`.
void click(Widget field, bool at_end, int button = 1, int clicks = 1) {
  Position x = 0, y = 0;
  XtTranslateCoords(field, 0, 0, &x, &y);
  Dimension width = get<Dimension>(field, XmNwidth), height = get<Dimension>(field, XmNheight);
  int dx = at_end ? width - 10 : 8;
  xdotool("mousemove " + std::to_string(x + dx) + " " + std::to_string(y + height / 2) + " click --repeat " +
          std::to_string(clicks) + " --delay 80 " + std::to_string(button));
  gui_process(300);  // past the double-click time, so the next click starts afresh
}

void keys(const char *names) { xdotool(std::string("key --delay 60 ") + names); }
void type(const char *text) { xdotool(std::string("type --delay 60 '") + text + "'"); }

using Script = std::function<void(Widget first, Widget second)>;

class FieldEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    test_page_reset();
    testrec.lFeature = 1;  // shows the "Note" field
    testrec.iMode = 1;     // shows the "Slow host" field
    page.build(PAGE_PRODUCT, test_page);
    plain_shell = XtVaAppCreateShell("plain", "Plain", topLevelShellWidgetClass, main_display, XmNx, 700,
                                     XmNy, 650, nullptr);
    Widget column = XtVaCreateManagedWidget("column", xmRowColumnWidgetClass, plain_shell, nullptr);
    for (Widget &field : plain)
      field = XtVaCreateManagedWidget("plain", xmTextFieldWidgetClass, column, XmNcolumns, 30, nullptr);
    XtRealizeWidget(plain_shell);
    gui_process(300);
  }
  void TearDown() override {
    if (plain_shell) XtDestroyWidget(plain_shell);
    page.destroy();
  }

  // Runs `script` on the plain pair and on the page's pair, each starting
  // from the same texts, and expects both pairs to end with `expected`.
  void edits_as_plain(const Script &script, const char *expected) {
    Widget editor[2] = {page.item("Note"), page.item("Slow host")};
    ASSERT_TRUE(editor[0] && editor[1]);
    const std::string in_plain = run(script, plain);
    EXPECT_EQ(in_plain, expected);
    EXPECT_EQ(run(script, editor), in_plain);
  }

  std::string run(const Script &script, Widget fields[2]) {
    XmTextFieldSetString(fields[0], const_cast<char *>(kFirstText));
    XmTextFieldSetString(fields[1], const_cast<char *>(kSecondText));
    script(fields[0], fields[1]);
    return field_text(fields[0]) + " | " + field_text(fields[1]);
  }

  PageView page;
  Widget plain_shell = nullptr;
  Widget plain[2] = {};
};

TEST_F(FieldEditing, LineKeysMoveTheCursorWithinTheField) {
  edits_as_plain(
      [](Widget first, Widget) {
        click(first, true);
        keys("Home");
        type("X");
        keys("End");
        type("Y");
      },
      "X/dev/ttyS1Y | radar");

  // The keypad's keys, with Control, and Enter in between, which stores the
  // value: typing goes on where the cursor was.
  edits_as_plain(
      [](Widget first, Widget) {
        click(first, true);
        keys("ctrl+KP_Home");
        type("A");
        keys("Return KP_End");
        type("B");
        keys("ctrl+End Return");
        type("C");
      },
      "A/dev/ttyS1BC | radar");
}

TEST_F(FieldEditing, ArrowsDeleteAndBackspace) {
  edits_as_plain(
      [](Widget first, Widget second) {
        click(first, false);
        keys("Home Right Right Delete");
        type("Q");
        keys("End Left BackSpace BackSpace Tab");  // leaving stores the value
        click(second, true);
        keys("Left Left Left BackSpace");
        type("Z");
      },
      "/dQv/tt1 | rZdar");
}

TEST_F(FieldEditing, SelectionAndPasteWithMouseAndKeyboard) {
  // A whole line selected with three clicks, pasted with the middle button
  // at the end of the other field.
  edits_as_plain(
      [](Widget first, Widget second) {
        click(first, true, 1, 3);
        click(second, true, 2);
      },
      "/dev/ttyS1 | radar/dev/ttyS1");

  // Selected from the end with Shift+Home, copied with Control+Insert,
  // pasted with Shift+Insert in the other field.
  edits_as_plain(
      [](Widget first, Widget second) {
        click(second, true);
        keys("shift+Home ctrl+Insert");
        click(first, false);
        keys("Home shift+Insert");
      },
      "radar/dev/ttyS1 | radar");
}

}  // namespace
