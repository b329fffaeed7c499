// Find and Changes on the editor's own pages over a loaded factory site:
// a hidden item is listed with what would show it, an edit is listed with
// its old and new value and marked on its label, and Revert leaves nothing
// to save.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/List.h>
#include <Xm/TextF.h>

#include <algorithm>
#include <clocale>
#include <string>
#include <vector>

#include "motif/commands.h"
#include "motif/page_window.h"
#include "motif/review.h"
#include "motif/state.h"
#include "session/session.h"
#include "tests/store_site.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

class Review : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    setlocale(LC_ALL, "C.UTF-8");  // as the editor starts in a UTF-8 locale
    full_mode = 0;
    start_up_load(nullptr, nullptr);
    gui_process(50);
  }
  FactorySite site;
};

Widget in(Widget dialog, const char *name) { return gui_find(dialog, name); }

TEST_F(Review, FindListsHiddenItemsWithTheirConditionAndOpensTheirPage) {
  find_command(nullptr, nullptr, nullptr);
  Widget dialog = find_dialog();
  ASSERT_TRUE(dialog && XtIsManaged(dialog));
  XmTextFieldSetString(in(dialog, "findtext"), const_cast<char *>("forward of inu"));
  EXPECT_EQ(label_of(in(dialog, "findcount")), "Matches: 1");
  const std::string condition = "hidden: shown when the antenna is on a moving platform";
  EXPECT_EQ(
      list_items(in(dialog, "list")),
      std::vector<std::string>{"Antenna position forward of INU — Radar Control Processor Setups › Radar "
                               "Site and Antenna Placement (zel.iplatform_offset[0])   " +
                               condition});
  activate(in(dialog, "open"));
  gui_process(200);
  ASSERT_NE(page_window(1), nullptr);
  EXPECT_TRUE(XtIsManaged(page_window(1)->form_dialog));
  EXPECT_EQ(label_of(in(dialog, "note")), condition + " ");
  // Paths are found too, whatever the language.
  XmTextFieldSetString(in(dialog, "findtext"), const_cast<char *>("zel.irad_hgt"));
  EXPECT_EQ(label_of(in(dialog, "findcount")), "Matches: 1");
  XtUnmanageChild(dialog);
}

TEST_F(Review, AnEditIsListedAndMarkedUntilReverted) {
  open_page(1);
  gui_process(200);
  PageView page{page_window(1)};
  Widget field = page.item("Antenna height above the ground");
  ASSERT_NE(field, nullptr);
  const std::vector<Widget> row = children(XtParent(field));
  Widget label = *(std::find(row.begin(), row.end(), field) - 1);
  const Pixel plain = get<Pixel>(label, XmNforeground);

  changes_command(nullptr, nullptr, nullptr);
  Widget dialog = changes_dialog();
  Widget list = in(dialog, "list");
  EXPECT_TRUE(list_items(list).empty());
  EXPECT_EQ(label_of(in(dialog, "note")), "Nothing to save.");

  type_into(field, "42");
  // The latitude is edited through auxset and stored in the record.
  Widget latitude = page.item("Default Latitude of antenna");
  type_into(latitude, "50");
  const std::vector<std::string> listed = list_items(list);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[1],
            "    Radar Control Processor Setups › Antenna height above the ground: 20.0 meters → 42.0 meters "
            "(zel.irad_hgt)");
  EXPECT_NE(listed[2].find("Default Latitude of antenna: 52.00000 deg North → 50.00000 deg North "
                           "(zel.idefault_lat)"),
            std::string::npos)
      << listed[2];
  EXPECT_NE(get<Pixel>(label, XmNforeground), plain) << "the changed field's label is marked";

  XtVaSetValues(list, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
  XmListSelectPos(list, 2, False);
  XmListSelectPos(list, 3, False);
  activate(in(dialog, "revert"));
  EXPECT_EQ(field_text(field), "20.0 meters");
  EXPECT_EQ(field_text(latitude), "52.00000 deg North");
  EXPECT_TRUE(list_items(list).empty());
  EXPECT_FALSE(session::changed()) << "Exit asks no question";
  EXPECT_EQ(get<Pixel>(label, XmNforeground), plain) << "the mark goes with the change";
  XtUnmanageChild(dialog);
  XtUnmanageChild(page_window(1)->form_dialog);
}

// A value the load put into editing form is pending from the start, and
// there is nothing to revert it to. Factory's new window marks the labels
// of the values it changed.
TEST_F(Review, AValueConvertedAtLoadIsListedWithoutRevertAndFactoryKeepsTheMarks) {
  FactorySite converted([] {
    zel.icontrol_format = 4;
    zel.irad_hgt = 30;
  });
  start_up_load(nullptr, nullptr);
  changes_command(nullptr, nullptr, nullptr);
  Widget list = in(changes_dialog(), "list");
  std::vector<std::string> listed = list_items(list);
  ASSERT_EQ(listed.size(), 2u);
  const std::string ending = "(zel.icontrol_format)   (converted at load)";
  EXPECT_EQ(listed[1].substr(listed[1].size() - ending.size()), ending) << listed[1];
  XmListSelectPos(list, 2, False);
  activate(in(changes_dialog(), "revert"));
  EXPECT_EQ(list_items(list), listed);
  EXPECT_TRUE(session::changed());
  XtUnmanageChild(changes_dialog());

  open_page(1);
  activate(gui_find(page_window(1)->menu_bar, "Factory"));
  gui_process(400);
  ASSERT_NE(page_window(1), nullptr);
  const std::vector<Widget> row =
      children(XtParent(PageView{page_window(1)}.item("Ground height above sea level")));
  ASSERT_GE(row.size(), 4u);  // label, field, label, field
  EXPECT_NE(get<Pixel>(row[2], XmNforeground), get<Pixel>(row[0], XmNforeground))
      << label_of(row[2]) << " marked, " << label_of(row[0]) << " not";
  XtUnmanageChild(page_window(1)->form_dialog);
}

}  // namespace
