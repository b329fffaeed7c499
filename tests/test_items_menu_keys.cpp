// The menu key of a page window, sent through the server: F10 arms the
// page's own File menu (Down posts it) wherever the keyboard focus is, also
// from a field with a hint menu and with the pointer over a hint menu's "i";
// no key posts a hint menu, and F10 takes down a hint menu posted by a click.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <Xm/CascadeB.h>
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/page_window.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "tests/support/gui.h"
#include "tests/support/test_page.h"
#include "tests/support/widgets.h"

namespace {

void xdotool(const std::string &what) {
  std::system(("xdotool " + what).c_str());
  gui_process(200);
}

void pointer_to(Widget w, int dx) {
  Position x = 0, y = 0;
  XtTranslateCoords(w, 0, 0, &x, &y);
  Dimension height = get<Dimension>(w, XmNheight);
  xdotool("mousemove " + std::to_string(x + dx) + " " + std::to_string(y + height / 2));
}

void click(Widget w) {
  pointer_to(w, 8);
  xdotool("click 1");
  gui_process(300);
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
    test_page_reset();
    testrec.lFeature = 1;  // shows the "Note" field and the "Range limit" hint field
    testrec.iMode = 1;     // shows the "Slow port" hint field
    page.build(PAGE_PRODUCT, test_page);
    gui_process(300);
    file_menu = get<Widget>(page.record->file_cascade, XmNsubMenuId);
    help_menu = get<Widget>(page.record->help_cascade, XmNsubMenuId);
    for (Widget cascade : collect(page.record->row_column, [](Widget w) {
           return XmIsCascadeButton(w) && std::strcmp(XtName(w), "hintcascadebtn") == 0;
         }))
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
  for (Widget cascade : collect(XtParent(range), [](Widget w) {
         return XmIsCascadeButton(w) && std::strcmp(XtName(w), "hintcascadebtn") == 0;
       })) {
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
  std::vector<Widget> cascades = collect(XtParent(range), [](Widget w) {
    return XmIsCascadeButton(w) && std::strcmp(XtName(w), "hintcascadebtn") == 0;
  });
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
