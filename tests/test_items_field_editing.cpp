// The text fields and the menu key of a page window, sent through the
// server. The fields edit as plain Motif text fields on the same display: the
// same keys and mouse actions leave the same texts in a pair of fields of a
// page and in a pair of plain fields in a shell of their own. F10 arms the
// page's own File menu (Down posts it) wherever the keyboard focus is, also
// from a field with a hint menu and with the pointer over a hint menu's "i";
// no key posts a hint menu, and F10 takes down a hint menu posted by a click.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <Xm/CascadeB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <langinfo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "motif/page_window.h"
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
  gui_process(200);
}

void pointer_to(Widget w, int dx) {
  Position x = 0, y = 0;
  XtTranslateCoords(w, 0, 0, &x, &y);
  xdotool("mousemove " + std::to_string(x + dx) + " " + std::to_string(y + get<Dimension>(w, XmNheight) / 2));
}

// Clicks `clicks` times with `button` in `field`, 10 pixels from its right
// edge (past the end of a short text) or 8 from its left edge.
void click(Widget field, bool at_end = false, int button = 1, int clicks = 1) {
  pointer_to(field, at_end ? get<Dimension>(field, XmNwidth) - 10 : 8);
  xdotool("click --repeat " + std::to_string(clicks) + " --delay 80 " + std::to_string(button));
  gui_process(300);  // past the double-click time, so the next click starts afresh
}

// The product page of the test page function, with the "Note", "Slow host",
// "Slow port" and "Range limit" fields shown.
void build_test_page(PageView &page) {
  test_page_reset();
  testrec.lFeature = 1;
  testrec.iMode = 1;
  page.build(PAGE_PRODUCT, test_page);
}

void keys(const char *names) { xdotool(std::string("key --delay 60 ") + names); }
void type(const char *text) { xdotool(std::string("type --delay 60 '") + text + "'"); }

using Script = std::function<void(Widget first, Widget second)>;

class FieldEditing : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    build_test_page(page);
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

// A field's input context is made for a window already shown, the plain
// fields' before theirs is: dead keys and compose sequences compose in both.
// The input method composes in a UTF-8 locale, set before the display opens
// (ctest runs each test in a process of its own); the keys are put on spare
// keycodes first, as on a keyboard that has them.
class FieldComposing : public FieldEditing {
 protected:
  void SetUp() override {
    setenv("LC_ALL", "C.UTF-8", 1);
    FieldEditing::SetUp();
    for (KeySym key : {XK_dead_acute, XK_Multi_key}) give_key(key);
  }
  void TearDown() override {
    for (KeyCode code : spare) {
      KeySym none = NoSymbol;
      XChangeKeyboardMapping(main_display, code, 1, &none, 1);
    }
    gui_process(100);
    FieldEditing::TearDown();
  }
  void give_key(KeySym key) {
    if (XKeysymToKeycode(main_display, key)) return;
    int first = 0, last = 0, per_key = 0;
    XDisplayKeycodes(main_display, &first, &last);
    KeySym *map = XGetKeyboardMapping(main_display, static_cast<KeyCode>(first), last - first + 1, &per_key);
    for (int code = last; code >= first; --code) {
      const KeySym *keysyms = map + (code - first) * per_key;
      if (std::all_of(keysyms, keysyms + per_key, [](KeySym k) { return k == NoSymbol; })) {
        XChangeKeyboardMapping(main_display, code, 1, &key, 1);
        spare.push_back(static_cast<KeyCode>(code));
        break;
      }
    }
    XFree(map);
    gui_process(200);
  }
  std::vector<KeyCode> spare;
};

TEST_F(FieldComposing, DeadKeysAndComposeSequences) {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0) GTEST_SKIP() << "the display opened in another locale";
  edits_as_plain(
      [](Widget first, Widget) {
        click(first, true);
        keys("dead_acute e Multi_key quotedbl o");
      },
      "/dev/ttyS1\u00e9\u00f6 | radar");
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

std::vector<Widget> hint_cascades(Widget under) {
  return collect(
      under, [](Widget w) { return XmIsCascadeButton(w) && std::strcmp(XtName(w), "hintcascadebtn") == 0; });
}

bool posted(Widget pulldown) {
  Widget shell = XtParent(pulldown);
  if (!XtIsRealized(shell) || !XtIsRealized(pulldown)) return false;
  XWindowAttributes a;
  return XGetWindowAttributes(XtDisplay(pulldown), XtWindow(pulldown), &a) && a.map_state == IsViewable;
}

class MenuKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    build_test_page(page);
    gui_process(300);
    file_menu = get<Widget>(page.record->file_cascade, XmNsubMenuId);
    help_menu = get<Widget>(page.record->help_cascade, XmNsubMenuId);
    for (Widget cascade : hint_cascades(page.record->row_column))
      hint_menus.push_back(get<Widget>(cascade, XmNsubMenuId));
  }
  void TearDown() override { page.destroy(); }

  // "file", "help", "hint N" for each posted menu, or "none".
  std::string posted_menus() const {
    std::string names;
    auto add = [&](const std::string &name) { names += (names.empty() ? "" : " ") + name; };
    if (posted(file_menu)) add("file");
    if (posted(help_menu)) add("help");
    for (size_t i = 0; i < hint_menus.size(); ++i)
      if (posted(hint_menus[i])) add("hint " + std::to_string(i));
    return names.empty() ? "none" : names;
  }

  // Presses F10, answers what it posted, then Escape until nothing is.
  std::string f10() {
    xdotool("key F10");
    gui_process(300);
    EXPECT_EQ(posted_menus(), "none");  // the bar is armed, its menu not yet posted
    xdotool("key Down");
    gui_process(300);
    std::string answer = posted_menus();
    for (int i = 0; i < 3 && posted_menus() != "none"; ++i) {
      xdotool("key Escape");
      gui_process(200);
    }
    EXPECT_EQ(posted_menus(), "none");
    return answer;
  }

  PageView page;
  Widget file_menu = nullptr, help_menu = nullptr;
  std::vector<Widget> hint_menus;
};

TEST_F(MenuKeys, F10PostsThePagesFileMenuFromAnyField) {
  ASSERT_GE(hint_menus.size(), 2u);
  Widget note = page.item("Note"), slow_port = page.item("Slow port"), range = page.item("Range limit");
  ASSERT_TRUE(note && slow_port && range);

  click(note);
  EXPECT_EQ(f10(), "file");
  click(slow_port);
  EXPECT_EQ(f10(), "file");
  click(range);
  EXPECT_EQ(f10(), "file");
  // With the pointer resting on a hint menu's "i" (focus stays in the field).
  for (Widget cascade : hint_cascades(XtParent(range))) {
    pointer_to(cascade, 4);
    EXPECT_EQ(f10(), "file");
  }
}

TEST_F(MenuKeys, F10TakesDownAHintMenuPostedByClick) {
  Widget range = page.item("Range limit");
  ASSERT_TRUE(range);
  std::vector<Widget> entries = hints_of(range);
  ASSERT_FALSE(entries.empty());
  std::string own;
  for (size_t i = 0; i < hint_menus.size(); ++i)
    if (hint_menus[i] == XtParent(entries[0])) own = "hint " + std::to_string(i);
  ASSERT_FALSE(own.empty());
  std::vector<Widget> cascades = hint_cascades(XtParent(range));
  ASSERT_EQ(cascades.size(), 1u);
  // Twice: the first post and a later one behave alike.
  for (int round = 0; round < 2; ++round) {
    click(cascades[0]);
    EXPECT_EQ(posted_menus(), own);
    xdotool("key F10");
    gui_process(300);
    EXPECT_EQ(posted_menus(), "none");
    xdotool("key Down");
    gui_process(300);
    EXPECT_EQ(posted_menus(), "none");
    for (int i = 0; i < 3 && posted_menus() != "none"; ++i) xdotool("key Escape");
    // F10 from a field still goes to the page's File menu.
    click(range);
    EXPECT_EQ(f10(), "file");
  }
}

}  // namespace
