// Hostile typed input through the real widgets: odd numbers, empty and
// blank texts, very long texts, control bytes and broken UTF-8 in every
// kind of field. Each stores what the field's rules allow and nothing else.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <cmath>
#include <cstring>
#include <string>

#include "items/walk.h"
#include "motif/builders.h"
#include "motif/page_window.h"
#include "pages/pages.h"
#include "tests/support/gui.h"
#include "tests/support/test_page.h"
#include "tests/support/widgets.h"

namespace {

class HostileInput : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    test_page_reset();
    test_page(PassMeasure, nullptr, nullptr);
    window = create_page_window(PAGE_GENERAL, 600, 550);
    test_page(PassBuild, nullptr, window);
  }
  void TearDown() override {
    if (window) XtDestroyWidget(window->form_dialog);
  }
  // Row 2: range (scale 100, 0 to 5000) and thresholds (-20 to 20); row 3:
  // the float ratio (0 to 100); row 5: password (masked, 16) and site code
  // (underscored, 4); row 6: padded name (blank-padded, 12) and note (24).
  static Widget field(int row, int nth) {
    std::vector<SetupItem *> items;
    for (Widget child : children(widget_of(test_page_state.row_widgets[row])))
      if (SetupItem *item = item_of(child)) items.push_back(item);
    return static_cast<FieldWidgets *>(items.at(nth)->widgets)->field;
  }
  PageWindow *window = nullptr;
};

const std::string kLong(10000, '9');

TEST_F(HostileInput, NumbersStoreOnlyClampedFiniteValuesOrNothing) {
  struct Case {
    std::string typed;
    int range;      // stored, after the range field was 12.50 m (1250)
    int threshold;  // stored, after the threshold was 3
  };
  const Case cases[] = {
      {"nan", 0, -20},       {"NaN", 0, -20},       {"inf", 5000, 20}, {"-inf", 0, -20},
      {"1e400", 5000, 20},   {"-1e400", 0, -20},    {"-0", 0, 0},      {"0x10", 1600, 16},
      {"0x1p-2", 25, 0},     {"", 1250, 3},         {"   ", 1250, 3},  {kLong, 5000, 20},
      {"\x01\x02", 1250, 3}, {"\xff\xfe", 1250, 3}, {"7\x01", 700, 7}, {"1e-400", 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.typed.substr(0, 12));
    testrec.iRange = 1250;
    testrec.iThreshold[0] = 3;
    page_redisplay_field(test_page_state, &testrec.iRange);
    page_redisplay_field(test_page_state, &testrec.iThreshold[0]);
    type_into(field(2, 0), c.typed.c_str());
    type_into(field(2, 1), c.typed.c_str());
    EXPECT_EQ(testrec.iRange, c.range);
    EXPECT_EQ(testrec.iThreshold[0], c.threshold);
  }
  for (const char *typed : {"nan", "inf", "-inf", "1e400"}) {
    type_into(field(3, 0), typed);
    EXPECT_TRUE(std::isfinite(testrec.fRatio)) << typed;
    EXPECT_GE(testrec.fRatio, 0.0f);
    EXPECT_LE(testrec.fRatio, 100.0f);
  }
}

TEST_F(HostileInput, TextsKeepAtMostTheirSizeAndShowOnlyPrintableCharacters) {
  Widget note = field(6, 1), padded = field(6, 0), password = field(5, 0), code = field(5, 1);
  const std::string n_minus_1(23, 'a'), n(24, 'b');
  type_into(note, n_minus_1.c_str());
  EXPECT_EQ(std::string(testrec.sNote), n_minus_1);
  type_into(note, n.c_str());
  EXPECT_EQ(std::string(testrec.sNote), n.substr(0, 23));
  type_into(note, kLong.c_str());
  EXPECT_EQ(std::string(testrec.sNote), kLong.substr(0, 23));
  // The text field itself drops bytes that are no characters of the locale.
  type_into(note, "a\x01\x1b[2Jb\xff\xfe");
  EXPECT_EQ(std::string(testrec.sNote), "a\x01\x1b[2Jb");
  EXPECT_EQ(field_text(note), "a..[2Jb") << "control bytes shown as dots";
  type_into(note, "   ");
  EXPECT_EQ(std::string(testrec.sNote), "   ");
  type_into(note, "");
  EXPECT_EQ(std::string(testrec.sNote), "");

  // Blank-padded: all n bytes, no terminator; shorter texts padded.
  type_into(padded, "ABCDEFGHIJKL");
  EXPECT_EQ(std::string(testrec.sPadded, 12), "ABCDEFGHIJKL");
  type_into(padded, kLong.c_str());
  EXPECT_EQ(std::string(testrec.sPadded, 12), kLong.substr(0, 12));
  EXPECT_EQ(testrec.sNote[0], '\0') << "the next field is untouched";
  type_into(padded, "");
  EXPECT_EQ(std::string(testrec.sPadded, 12), std::string(12, ' '));

  // Masked: the asterisks are no edit; a new text keeps n - 1 bytes.
  std::memcpy(testrec.sPassword, "secret", 7);
  type_into(password, std::string(15, '*').c_str());
  EXPECT_STREQ(testrec.sPassword, "secret");
  type_into(password, "0123456789abcdef");
  EXPECT_STREQ(testrec.sPassword, "0123456789abcde");
  EXPECT_EQ(field_text(password), std::string(15, '*'));

  // Underscore-padded: stored as typed, underscores included, n - 1 bytes.
  type_into(code, "A_");
  EXPECT_STREQ(testrec.sCode, "A_");
  type_into(code, "ABCD");
  EXPECT_STREQ(testrec.sCode, "ABC");
  type_into(code, "\x01");
  EXPECT_STREQ(testrec.sCode, "\x01");
}

TEST_F(HostileInput, AValueThatIsNotANumberIsOutOfRangeAndRepairedToFactory) {
  testrec.fRatio = std::nanf("");
  std::vector<std::string> check = bounds_lines_after(test_page, PassCheck);
  EXPECT_TRUE(mentions(check, "Fast ratio:  nan %   (range 0.0 % to 100.0 %)"));
  bounds_lines_after(test_page, PassRepair);
  EXPECT_FLOAT_EQ(testrec.fRatio, 12.5f);
}

}  // namespace
