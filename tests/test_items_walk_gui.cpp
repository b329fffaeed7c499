// The test page built in a real page window and edited through the widgets'
// own callbacks. Run under xvfb-run.
// gtest before the X headers, whose macros clash with its names.
#include <gtest/gtest.h>
// clang-format off
#include <Xm/Xm.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
// clang-format on

#include <cstring>
#include <string>
#include <vector>

#include "motif/builders.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "tests/support/gui.h"
#include "tests/support/test_page.h"
#include "tests/support/widgets.h"

namespace {

class WalkGuiTest : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    test_page_reset();
    test_page(PassMeasure, nullptr, nullptr);
  }

  void TearDown() override {
    if (window) XtDestroyWidget(window->form_dialog);
  }

  void build() {
    window = create_page_window(PAGE_GENERAL, 600, 550);
    test_page(PassBuild, nullptr, window);
  }

  // The records of a row's items, in the order the walk made them.
  static std::vector<SetupItem *> row_items(int row) {
    std::vector<SetupItem *> items;
    for (Widget child : children(widget_of(test_page_state.row_widgets[row])))
      if (SetupItem *item = item_of(child)) items.push_back(item);
    return items;
  }

  static Widget field_of(int row, int nth) {
    return static_cast<FieldWidgets *>(row_items(row).at(nth)->widgets)->field;
  }

  static Widget choice_entry(Widget option_menu, const char *name) {
    return XtNameToWidget(get<Widget>(option_menu, XmNsubMenuId), name);
  }

  static bool row_shown(int row) { return XtIsManaged(widget_of(test_page_state.row_widgets[row])); }
  static bool section_shown(int section) {
    return XtIsManaged(widget_of(test_page_state.section_widgets[section]));
  }

  PageWindow *window = nullptr;
};

// Rows: 1 feature and mode, 2 range and thresholds, 3 fast ratio (opens
// section 2), 4 slow host and port, 5 and 6 texts, 7 device count.
enum { ROW_FEATURE = 1, ROW_RANGE, ROW_FAST, ROW_SLOW, ROW_MASKED, ROW_PADDED, ROW_COUNT };

TEST_F(WalkGuiTest, TypedNumbersAreParsedClampedAndShownAgain) {
  build();
  Widget range = field_of(ROW_RANGE, 0);
  EXPECT_EQ(field_text(range), "12.50 m");

  type_into(range, "75");  // 7500 is above the maximum 5000
  EXPECT_EQ(testrec.iRange, 5000);
  EXPECT_EQ(field_text(range), "50.00 m");

  type_into(range, "12.34xyz");
  EXPECT_EQ(testrec.iRange, 1234);
  EXPECT_EQ(field_text(range), "12.34 m");

  // Leaving a field unedited keeps a value finer than its format; an
  // out-of-range one is still clamped.
  testrec.iRange = 6000;
  page_redisplay_field(test_page_state, &testrec.iRange);
  EXPECT_EQ(field_text(range), "60.00 m");
  activate(range);
  EXPECT_EQ(testrec.iRange, 5000);
  testrec.fRatio = 12.34f;
  page_redisplay_field(test_page_state, &testrec.fRatio);
  activate(field_of(ROW_FAST, 0));
  EXPECT_FLOAT_EQ(testrec.fRatio, 12.34f);
}

// Entry `nth` of a hint field's menu, and the field.
Widget hint_entry(SetupItem *item, int nth, Widget *field) {
  auto *widgets = static_cast<HintWidgets *>(item->widgets);
  WidgetList entries = nullptr;
  Cardinal count = 0;
  XtVaGetValues(widgets->pulldown, XmNchildren, &entries, XmNnumChildren, &count, nullptr);
  *field = widgets->field;
  return nth < static_cast<int>(count) ? entries[nth] : nullptr;
}

TEST_F(WalkGuiTest, HintEntriesStoreTheirValueOrText) {
  testrec.iMode = 1;
  build();
  Widget field = nullptr;
  testrec.iPort = 1;
  activate(hint_entry(row_items(ROW_SLOW).at(1), 0, &field));
  EXPECT_EQ(testrec.iPort, 30745u);
  EXPECT_EQ(field_text(field), "30745");

  activate(hint_entry(row_items(ROW_SLOW).at(0), 1, &field));
  EXPECT_STREQ(testrec.sHost, "10.0.0.2");
  EXPECT_EQ(field_text(field), "10.0.0.2");

  // A hint that reads like the shown text is still an edit.
  std::strcpy(testrec.sHost, "10.0.0\0012");  // \001 shows as "."
  activate(hint_entry(row_items(ROW_SLOW).at(0), 1, &field));
  EXPECT_STREQ(testrec.sHost, "10.0.0.2");
}

TEST_F(WalkGuiTest, TextsArePaddedAndCleaned) {
  std::strcpy(testrec.sNote, "a\x01z");
  build();
  activate(field_of(ROW_PADDED, 1));  // Enter without editing
  EXPECT_STREQ(testrec.sNote, "a\x01z");
  EXPECT_EQ(field_text(field_of(ROW_MASKED, 1)), "AB_");
  EXPECT_EQ(field_text(field_of(ROW_PADDED, 1)), "a.z");

  Widget padded = field_of(ROW_PADDED, 0);
  EXPECT_EQ(field_text(padded), "PADDED");
  type_into(padded, "NEW");
  EXPECT_EQ(std::string(testrec.sPadded, 12), "NEW         ");
}

TEST_F(WalkGuiTest, UnknownChoiceShowsQuestionMarksUntilARealChoice) {
  testrec.iMode = 7;
  build();
  Widget mode = field_of(ROW_FEATURE, 1);
  EXPECT_EQ(get<Widget>(mode, XmNmenuHistory), choice_entry(mode, "button_3"));
  EXPECT_EQ(label_of(XmOptionButtonGadget(mode)), "?????");
  EXPECT_FALSE(XtIsManaged(choice_entry(mode, "button_3"))) << "never offered";
  EXPECT_EQ(item_of(choice_entry(mode, "button_3")), item_of(mode));

  EXPECT_FALSE(row_shown(ROW_FAST));
  activate(choice_entry(mode, "button_1"));
  EXPECT_EQ(testrec.iMode, 1);
  EXPECT_EQ(get<Widget>(mode, XmNmenuHistory), choice_entry(mode, "button_1"));
  EXPECT_EQ(label_of(XmOptionButtonGadget(mode)), "Slow");
  EXPECT_FALSE(row_shown(ROW_FAST));
  EXPECT_TRUE(row_shown(ROW_SLOW));

  // One store hides a later row and shows another.
  activate(choice_entry(mode, "button_0"));
  EXPECT_EQ(testrec.iMode, 0);
  EXPECT_TRUE(row_shown(ROW_FAST));
  EXPECT_FALSE(row_shown(ROW_SLOW));
}

// A section's help button carries an item with the id the store pass
// meets at the section's start: row 2, three items on.
TEST_F(WalkGuiTest, SectionHelpIdsStoresThatShowAndHideAndNoRedisplayOnceTheWindowIsGone) {
  build();
  XtPointer help = nullptr;
  XtVaGetValues(gui_find(widget_of(test_page_state.section_widgets[2]), "setupframepb"), XmNuserData, &help,
                nullptr);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(static_cast<SetupItem *>(help)->id, 0x02002003u);
  EXPECT_EQ(static_cast<SetupItem *>(help)->kind, uint32_t(KindSectionHelp));
  EXPECT_STREQ(static_cast<SetupItem *>(help)->text, "test_page_setups");

  EXPECT_FALSE(section_shown(7));
  type_into(field_of(ROW_COUNT, 0), "3");
  EXPECT_EQ(testrec.iDeviceCount, 3);
  EXPECT_TRUE(section_shown(7));
  EXPECT_FALSE(section_shown(8));

  EXPECT_TRUE(section_shown(3));
  XmToggleButtonSetState(field_of(ROW_FEATURE, 0), False, True);
  EXPECT_EQ(testrec.lFeature, 0);
  EXPECT_FALSE(section_shown(3));
  EXPECT_FALSE(row_shown(ROW_RANGE));

  // Nothing is redisplayed once the window is gone.
  XtDestroyWidget(window->form_dialog);
  window = nullptr;
  page_redisplay_field(test_page_state, &testrec.iRange);
  EXPECT_EQ(widget_of(test_page_state.row_widgets[ROW_RANGE]), nullptr);
}

}  // namespace
