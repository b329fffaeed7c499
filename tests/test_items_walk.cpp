// The page walk without a display: measuring, listing, checking and
// repairing the test page.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "motif/bounds_dialog.h"
#include "motif/state.h"
#include "tests/support/files.h"
#include "tests/support/test_page.h"

namespace {

class WalkTest : public testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(host_name, sizeof host_name, "radar1");
    test_page_reset();
    clear_bounds_lines();
    error_found = 0;
    count_seen = 0;
    test_page(PassMeasure, nullptr, nullptr);
  }

  static std::string listing() {
    FILE *file = std::tmpfile();
    test_page(PassList, nullptr, file);
    std::string text(std::ftell(file), '\0');
    std::rewind(file);
    EXPECT_EQ(std::fread(&text[0], 1, text.size(), file), text.size());
    std::fclose(file);
    return text;
  }

  // The bounds list without its page headings.
  static std::vector<std::string> findings() {
    std::vector<std::string> found;
    for (const std::string &line : bounds_lines())
      if (line != " " && line != std::string(55, '=') && line != "Test Page Setups, radar1")
        found.push_back(line);
    return found;
  }

  static std::string check() {
    testing::internal::CaptureStderr();
    test_page(PassCheck, nullptr, nullptr);
    return testing::internal::GetCapturedStderr();
  }
};

struct Visited {
  uint32_t id, kind;
  std::string label, path, format, section;
  double scale;
  int hints, choices;
  bool shown;
};

void note_visit(void *context, const ItemVisit &visit) {
  const ItemDescription &desc = *visit.desc;
  char path[160] = "";
  if (desc.kind != KindText) field_path(desc.field, path, sizeof path);
  static_cast<std::vector<Visited> *>(context)->push_back(
      {visit.id, desc.kind, desc.label, path, desc.format ? desc.format : "", visit.section_title, desc.scale,
       desc.hint_count, desc.choice_count, visit.section_shown && visit.row_shown});
}

const Visited &visited(const std::vector<Visited> &items, const std::string &label) {
  for (const Visited &v : items)
    if (v.label == label) return v;
  static const Visited none{};
  ADD_FAILURE() << "not visited: " << label;
  return none;
}

// The visit pass hands every item, shown or not, with what its page says
// of it, changes nothing, and its ids are those a store without any window
// finds.
TEST_F(WalkTest, VisitSeesEveryItemAndItsIdsStoreWithoutAWindow) {
  testrec.lFeature = 0;
  testrec.iDeviceCount = 1;
  const test_setup before = testrec;
  std::vector<Visited> items;
  ItemVisitor visitor{note_visit, &items};
  test_page(PassVisit, nullptr, &visitor);
  EXPECT_EQ(std::memcmp(&before, &testrec, sizeof testrec), 0);
  EXPECT_EQ(items.size(), 14u + 6u * test_page_device_slots);

  const Visited &range = visited(items, "Range limit");
  EXPECT_FALSE(range.shown) << "its row needs the feature";
  EXPECT_EQ(range.path, "testrec.iRange");
  EXPECT_EQ(range.format, "%.2f m");
  EXPECT_EQ(range.scale, 100);
  EXPECT_EQ(range.hints, 2);
  EXPECT_EQ(visited(items, "Password").section, "Texts");
  EXPECT_EQ(visited(items, "Device 2 type").path, "DEV.iType");
  EXPECT_FALSE(visited(items, "Device 2 type").shown) << "beyond the count";
  EXPECT_TRUE(visited(items, "Device 1 type").shown);
  EXPECT_EQ(visited(items, "Operating mode").choices, 3);

  // A store needs no item record: the request names the item by its id,
  // and says whether the value was clamped.
  double typed = 12.345;
  StoreRequest number{range.id, KindNumber, &typed, nullptr, 0, false, true, {}};
  test_page(PassStore, nullptr, &number);
  EXPECT_EQ(testrec.iRange, 1235);
  EXPECT_TRUE(number.outcome.stored);
  EXPECT_FALSE(number.outcome.clamped);
  typed = 1e9;
  test_page(PassStore, nullptr, &number);
  EXPECT_TRUE(number.outcome.clamped);
  StoreRequest note{visited(items, "Note").id,
                    KindText,
                    nullptr,
                    "a note that is far too long for its field",
                    0,
                    false,
                    true,
                    {}};
  test_page(PassStore, nullptr, &note);
  EXPECT_STREQ(testrec.sNote, "a note that is far too ");
}

// The listing of the hand-written file; hidden parts left out, an unknown
// choice shown as question marks.
TEST_F(WalkTest, ListingMatchesTheHandWrittenFileAndLeavesOutHiddenParts) {
  testrec.iThreshold[1] = -7;
  testrec.device[1].iType = 1;
  testrec.device[1].iPort = 4001;
  testrec.device[1].lEnabled = 0;
  std::strcpy(testrec.sNote, "first\tnote");
  EXPECT_EQ(listing(), read_file(SETUP_TEST_DATA_DIR "/test_page_listing.txt"));

  testrec.lFeature = 0;
  testrec.iMode = 7;
  std::string text = listing();
  EXPECT_EQ(text.find("Texts"), std::string::npos);
  EXPECT_EQ(text.find("Password"), std::string::npos);
  EXPECT_EQ(text.find("Range limit"), std::string::npos);
  EXPECT_NE(text.find("  Operating mode    : ?????\n"), std::string::npos);
  EXPECT_NE(text.find("  Slow host         : radar-host\n"), std::string::npos);
}

// Values in range add only the page heading; out of range, one line each.
TEST_F(WalkTest, CheckAddsTheHeadingALineOfEveryKindAndMissingLimitsRepairReplacesTheList) {
  EXPECT_EQ(check(), "");
  EXPECT_EQ(bounds_lines(), (std::vector<std::string>{" ", std::string(55, '='), "Test Page Setups, radar1",
                                                      std::string(55, '=')}));
  EXPECT_EQ(error_found, 0);

  testrec.iRange = 6000;
  testrec.fRatio = 150;
  testrec.iMode = 0;
  testrec.lTrailer = 2;
  testrec.device[0].iType = 5;
  clear_bounds_lines();
  check();
  std::vector<std::string> expected = {
      "Range limit:  60.00 m   (range 0.00 m to 50.00 m)",
      "Fast ratio:  150.0 %   (range 0.0 % to 100.0 %)",
      "Device 1 type:  ?????",
      "Trailer flag:  2   (range 0 and 1)",
  };
  EXPECT_EQ(findings(), expected);
  EXPECT_EQ(error_found, 1);

  // The Repair button runs the pages in order and replaces the list.
  SetUp();  // a fresh page
  static const PageFunction pages[] = {test_page, test_page};
  set_repair_pages(pages, 2);
  testrec.lTrailer = 3;
  check();
  ASSERT_EQ(findings().size(), 1u);
  repair_bounds();
  // Two page headings, the repair line under the first.
  ASSERT_EQ(bounds_lines().size(), 9u);
  EXPECT_EQ(bounds_lines()[4], "Trailer flag:  1  was 3");
  EXPECT_EQ(bounds_lines()[7], "Test Page Setups, radar1");
  set_repair_pages(nullptr, 0);

  // Missing limits are reported with the field path.
  SetUp();  // a fresh page
  for (test_setup &copy : testrec_limits) {
    copy.iThreshold[1] = 0;
    copy.device[0].lEnabled = 0;
  }
  testrec.iThreshold[1] = 0;
  testrec.device[0].lEnabled = 1;
  EXPECT_EQ(check(),
            "Internal Error: 'testrec.iThreshold[1]' (Threshold 2)\n"
            "Internal Error: 'DEV.lEnabled' (Enabled)\n");
  // A zero value fits the empty range; the enabled flag does not.
  EXPECT_EQ(findings(), std::vector<std::string>{"Enabled:  1   (range 0 and 0)"});
}

TEST_F(WalkTest, RepairRestoresFactoryMaximumAndFirstEntryOfShownPartsBeforeTheCount) {
  testrec.iRange = -5;
  testrec.lTrailer = 2;
  testrec.device[1].iType = 9;
  test_page(PassRepair, nullptr, nullptr);
  EXPECT_EQ(testrec.iRange, 1250);
  EXPECT_EQ(testrec.lTrailer, 1);  // the maximum, not the factory value 0
  EXPECT_EQ(testrec.device[1].iType, 0);
  std::vector<std::string> expected = {
      "Range limit:  12.50 m  was -0.05 m",
      "Device 2 type:  Serial",
      "Trailer flag:  1  was 2",
  };
  EXPECT_EQ(findings(), expected);
  EXPECT_EQ(error_found, 0);  // repair lines do not count as findings

  // A device beyond the count is neither checked nor repaired; a hidden row
  // before the count is repaired without a line.
  SetUp();                      // a fresh page
  testrec.device[3].iPort = 1;  // device 4 of 2 in use
  testrec.iMode = 1;            // hides the fast ratio row
  testrec.fRatio = -3;
  testrec.lFeature = 0;  // hides the texts section and the range row
  testrec.iRange = 9999;
  check();
  EXPECT_TRUE(findings().empty());
  EXPECT_EQ(error_found, 0);
  test_page(PassRepair, nullptr, nullptr);
  EXPECT_TRUE(findings().empty());
  EXPECT_EQ(testrec.device[3].iPort, 1);
  EXPECT_FLOAT_EQ(testrec.fRatio, 12.5f);
  EXPECT_EQ(testrec.iRange, 1250);
  EXPECT_EQ(count_seen, 0);  // cleared at the end of the page
}

}  // namespace
