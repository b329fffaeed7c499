// The general page through its page function and real Motif widgets: the
// rows that the mode-change and alert settings show and hide, scaled
// numbers, and the site list with its in-use rule and padded codes.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <cstring>
#include <string>
#include <vector>

#include "motif/bounds_dialog.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/sitelib.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

void set_site(int isite, const char *name, const char *code, uint8_t checked) {
  zamo_site_entry &site = zamo.Site.sites[isite];
  std::strncpy(site.sName, name, sizeof site.sName);
  std::strncpy(site.sCode, code, sizeof site.sCode);
  site.lChecked = checked;
}

// The values behind tests/data/general_sites.txt: every row of the first
// five sections shown, and sites in use with full, short and empty codes.
void load_demo_values() {
  std::memcpy(&zamo, &zamo_limits[COPY_FACTORY], sizeof zamo);
  zamo_misc &m = zamo.misc;
  m.lStatusModeChange = m.lsocket_mode_control = 1;
  std::strcpy(m.sStatusSupplierCode, "KOE");
  m.lrestart_fatal = 0;
  m.ikbytes_ingest = 2500000;
  m.ikept_ingest_percent = 40;
  m.ifkbytes_product_raw = 3000000000u;
  m.ikept_product_raw_percent = 25;
  m.ifkbytes_product = 12500;
  m.imax_archive_products = 20000;
  m.ipri_ingest = -10;
  m.iWindowFaultScheme = 1;
  m.iWindowAlertStyle = 2;
  zamo.Site.sites[0].lChecked = 1;
  set_site(1, "Berlin", "BER", 1);
  set_site(2, "Hamburg", "", 0);
  set_site(3, "", "X", 1);
  set_site(4, "\001\002", "", 0);
  set_site(5, "Ro\007stock", "ROS", 0);
  set_site(127, "Last Site", "LST", 1);
}

std::string listing() { return page_listing(general_page); }
std::vector<std::string> lines_after(int pass) { return bounds_lines_after(general_page, pass); }
size_t count_of(const std::string &text, const std::string &what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class GeneralPage : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    std::strcpy(host_name, "demo");
    count_seen = 0;
    general_page(PassMeasure, nullptr, nullptr);
    for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
      ASSERT_EQ(setup_limits("zamo_setup", &zamo_limits[copy], copy, 0), 1);
    load_demo_values();
  }
  void TearDown() override { window.destroy(); }

  Widget code_of_site(int isite) const { return window.item("Code", isite - 1); }
  PageView window;
};

TEST_F(GeneralPage, ListingWithSeveralSitesInUseMatchesTheHandWrittenOne) {
  EXPECT_EQ(listing(), read_file(std::string(SETUP_TEST_DATA_DIR) + "/general_sites.txt"));
  EXPECT_STREQ(zamo.Site.sites[2].sCode, "___") << "the listing pass padded the stored code";
  EXPECT_STREQ(zamo.Site.sites[3].sCode, "X__");
  EXPECT_STREQ(zamo.Site.sites[4].sCode, "") << "a site not in use keeps its code";
}

TEST_F(GeneralPage, ZelModeChangeHidesTheSocketAndStatusProductRowsFromViewListAndCheck) {
  window.build(PAGE_GENERAL, general_page);
  Widget socket = window.item("External socket mode change");
  Widget supplier = window.item("Supplied by (Site Code)");
  flip(window.item("External ZEL mode change"), true);
  EXPECT_EQ(zamo.misc.lzel_mode_control, 1);
  EXPECT_FALSE(window.shown(socket));
  EXPECT_FALSE(window.shown(window.item("Status product mode change")));
  EXPECT_FALSE(window.shown(supplier));
  EXPECT_EQ(count_of(listing(), "mode change  "), 1u) << "only the ZEL toggle is listed";
  EXPECT_EQ(listing().find("Supplied by"), std::string::npos);

  zamo.misc.lsocket_mode_control = 5;
  error_found = 0;
  EXPECT_FALSE(mentions(lines_after(PassCheck), "socket"));
  EXPECT_EQ(error_found, 0);
  EXPECT_FALSE(mentions(lines_after(PassRepair), "socket"));
  EXPECT_EQ(zamo.misc.lsocket_mode_control, 1) << "repaired to its maximum all the same";

  flip(window.item("External ZEL mode change"), false);
  flip(window.item("Status product mode change"), false);
  EXPECT_TRUE(window.shown(socket));
  EXPECT_FALSE(window.shown(supplier));
}

TEST_F(GeneralPage, AlertStyleAndStaleImageDecideTheRowsBelowThem) {
  window.build(PAGE_GENERAL, general_page);
  const char *below[] = {"Display alert for site faults", "Display alert for stale image", "Display timeout"};
  choose(window.item("Alert Style"), "Disabled");
  EXPECT_EQ(zamo.misc.iWindowAlertStyle, 0);
  for (const char *label : below) EXPECT_FALSE(window.shown(window.item(label))) << label;
  choose(window.item("Alert Style"), "Text Only");
  EXPECT_EQ(zamo.misc.iWindowAlertStyle, 3);
  for (const char *label : below) EXPECT_TRUE(window.shown(window.item(label))) << label;
  flip(window.item("Display alert for stale image"), false);
  EXPECT_TRUE(window.shown(window.item("Display alert for site faults")));
  EXPECT_FALSE(window.shown(window.item("Display timeout")));
}

TEST_F(GeneralPage, ScaledNumbersShowAndStoreInTheirUnits) {
  window.build(PAGE_GENERAL, general_page);
  Widget timeout = window.item("Display timeout");
  EXPECT_EQ(field_text(timeout), "6.0 minutes");
  type_into(timeout, "2.5");
  EXPECT_EQ(zamo.misc.iWindowStaleTime, 150);
  pick_hint(timeout, "6.0 minutes");
  EXPECT_EQ(zamo.misc.iWindowStaleTime, 360);

  Widget ingest = window.item("Total space for INGEST files");
  EXPECT_EQ(field_text(ingest), "2500.0 megabytes");
  type_into(ingest, "12.5");
  EXPECT_EQ(zamo.misc.ikbytes_ingest, 12500);
  type_into(window.item("Maximum number of output devices"), "40");
  EXPECT_EQ(zamo.device.imaxdevcount, ZAMO_OUTPUT_DEVICES) << "clamped to the largest device table";
}

TEST_F(GeneralPage, SiteCodeRowsShowWhileTheSiteIsInUse) {
  zamo.Site.sites[4].lChecked = 9;
  window.build(PAGE_GENERAL, general_page);
  EXPECT_TRUE(window.shown(code_of_site(2)));
  EXPECT_EQ(field_text(code_of_site(2)), "___");
  EXPECT_EQ(field_text(code_of_site(3)), "X__");
  EXPECT_FALSE(window.shown(code_of_site(4))) << "only non-printable bytes";
  EXPECT_TRUE(window.shown(window.item("Site #4 name")));
  EXPECT_FALSE(window.shown(code_of_site(6)));

  error_found = 0;
  EXPECT_FALSE(mentions(lines_after(PassCheck), "Check for Fault"));
  EXPECT_EQ(error_found, 0);
  EXPECT_FALSE(mentions(lines_after(PassRepair), "Check for Fault"));
  EXPECT_EQ(zamo.Site.sites[4].lChecked, 1) << "a hidden fault flag is repaired silently";

  type_into(window.item("Site #6 name"), "Oslo");
  EXPECT_TRUE(window.shown(code_of_site(6)));
  EXPECT_STREQ(zamo.Site.sites[6].sCode, "___");
  EXPECT_EQ(field_text(code_of_site(6)), "___");

  type_into(window.item("Site #1 name"), "");
  type_into(window.item("Site #2 name"), "Bremen");  // a further pass
  EXPECT_TRUE(window.shown(code_of_site(1))) << "the code still holds text";
  EXPECT_STREQ(zamo.Site.sites[1].sCode, "BER");

  Widget frame = window.section("List Of Radar Site Names and Site Codes");
  for (Widget child : children(frame))
    if (XmIsRowColumn(child)) {
      EXPECT_EQ(children(child).size(), 255u) << "the last row stays empty";
    }
}

// A name of 17 bytes and a code of 4 bytes may hold no terminator: nothing
// reads past them, and the in-use rule looks only at a name's first 16
// bytes and a code's first 3.
TEST_F(GeneralPage, TextsFillingTheirWholeFieldAreReadNoFurther) {
  std::memset(zamo.Site.sites[10].sName, 'N', sizeof zamo.Site.sites[10].sName);
  std::memcpy(zamo.Site.sites[10].sCode, "WXYZ", 4);
  std::memset(zamo.Site.sites[11].sName, '\001', 16);
  zamo.Site.sites[11].sName[16] = 'Q';
  std::memcpy(zamo.Site.sites[11].sCode, "\001\001\001Z", 4);
  std::memset(zamo.Site.sites[127].sName, 'L', sizeof zamo.Site.sites[127].sName);
  std::memcpy(zamo.Site.sites[12].sCode, "A\0\0Q", 4);  // stray byte after a short code
  const zamo_device devices = zamo.device;

  std::string text = listing();
  EXPECT_NE(text.find("Site #10 name                    : NNNNNNNNNNNNNNNNN\n"), std::string::npos);
  EXPECT_NE(text.find("Code                             : WXYZ\n"), std::string::npos);
  EXPECT_NE(text.find("Site #11 name                    : ................Q\n  Site #12"), std::string::npos)
      << "site 11 is not in use";
  EXPECT_EQ(count_of(text, "Code  "), 7u);
  EXPECT_EQ(std::memcmp(zamo.Site.sites[10].sCode, "WXYZ", 4), 0);
  EXPECT_STREQ(zamo.Site.sites[12].sCode, "A__") << "a padded code is three characters";

  window.build(PAGE_GENERAL, general_page);
  EXPECT_EQ(field_text(window.item("Site #10 name")), "NNNNNNNNNNNNNNNNN");
  EXPECT_EQ(field_text(code_of_site(10)), "WXYZ");
  EXPECT_FALSE(window.shown(code_of_site(11)));
  type_into(window.item("Site #127 name"), "Z");
  lines_after(PassCheck);
  lines_after(PassRepair);
  EXPECT_EQ(std::memcmp(&zamo.device, &devices, sizeof devices), 0) << "nothing beyond the last site";
}

// The site's own limits cover every number, choice and toggle of the page.
TEST_F(GeneralPage, SiteFactoryValuesPassEveryCheck) {
  std::memcpy(&zamo, &zamo_limits[COPY_FACTORY], sizeof zamo);
  zamo.misc.lStatusModeChange = 1;
  for (int isite = 1; isite < ZAMO_SITES; ++isite) set_site(isite, "Site", "", 0);
  ::testing::internal::CaptureStderr();
  error_found = 0;
  auto lines = lines_after(PassCheck);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(error_found, 0) << (lines.empty() ? "" : lines.back());
}

}  // namespace
