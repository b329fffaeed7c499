// The general page: the rows that the mode-change and alert settings show
// and hide, scaled numbers, and the site list with its in-use rule and
// padded codes.
#include "tests/support/page_test.h"
// The fixture (gtest) before the X headers: their macros break it.
#include <Xm/RowColumn.h>

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
  m.lStatusModeChange = m.lsocket_mode_control = m.iWindowFaultScheme = 1;
  std::strcpy(m.sStatusSupplierCode, "KOE");
  m.lrestart_fatal = 0;
  m.ikbytes_ingest = 2500000;
  m.ikept_ingest_percent = 40;
  m.ifkbytes_product_raw = 3000000000u;
  m.ikept_product_raw_percent = 25;
  m.ifkbytes_product = 12500;
  m.imax_archive_products = 20000;
  m.ipri_ingest = -10;
  m.iWindowAlertStyle = 2;
  zamo.Site.sites[0].lChecked = 1;
  set_site(1, "Berlin", "BER", 1);
  set_site(2, "Hamburg", "", 0);
  set_site(3, "", "X", 1);
  set_site(4, "\001\002", "", 0);
  set_site(5, "Ro\007stock", "ROS", 0);
  set_site(127, "Last Site", "LST", 1);
}

size_t count_of(const std::string &text, const std::string &what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class GeneralPage : public PageTest {
 protected:
  GeneralPage() : PageTest(PAGE_GENERAL, general_page) {}
  void SetUp() override {
    PageTest::SetUp();
    load_site_limits("zamo_setup", zamo_limits);
    load_demo_values();
  }
  Widget code_of_site(int isite) const { return item("Code", isite - 1); }
};

TEST_F(GeneralPage, ListingPadsCodesAndSettingsDecideTheRowsBelowThem) {
  EXPECT_EQ(listing(), data_file("general_sites.txt"));
  EXPECT_STREQ(zamo.Site.sites[2].sCode, "___") << "the listing pass padded the stored code";
  EXPECT_STREQ(zamo.Site.sites[3].sCode, "X__");
  EXPECT_STREQ(zamo.Site.sites[4].sCode, "") << "a site not in use keeps its code";

  build();
  flip(item("External ZEL mode change"), true);
  EXPECT_EQ(zamo.misc.lzel_mode_control, 1);
  EXPECT_FALSE(shown("External socket mode change"));
  EXPECT_FALSE(shown("Status product mode change"));
  EXPECT_FALSE(shown("Supplied by (Site Code)"));
  EXPECT_EQ(count_of(listing(), "mode change  "), 1u) << "only the ZEL toggle is listed";
  zamo.misc.lsocket_mode_control = 5;
  EXPECT_TRUE(repaired_without_report("socket"));
  EXPECT_EQ(zamo.misc.lsocket_mode_control, 1) << "repaired to its maximum all the same";
  flip(item("External ZEL mode change"), false);
  flip(item("Status product mode change"), false);
  EXPECT_TRUE(shown("External socket mode change"));
  EXPECT_FALSE(shown("Supplied by (Site Code)"));

  const char *below[] = {"Display alert for site faults", "Display alert for stale image", "Display timeout"};
  choose(item("Alert Style"), "Disabled");
  EXPECT_EQ(zamo.misc.iWindowAlertStyle, 0);
  for (const char *label : below) EXPECT_FALSE(shown(label)) << label;
  choose(item("Alert Style"), "Text Only");
  EXPECT_EQ(zamo.misc.iWindowAlertStyle, 3);
  for (const char *label : below) EXPECT_TRUE(shown(label)) << label;
  flip(item("Display alert for stale image"), false);
  EXPECT_TRUE(shown("Display alert for site faults"));
  EXPECT_FALSE(shown("Display timeout"));

  type_into(item("Maximum number of output devices"), "40");
  EXPECT_EQ(zamo.device.imaxdevcount, ZAMO_OUTPUT_DEVICES) << "clamped to the largest device table";
}

TEST_F(GeneralPage, SiteCodeRowsShowWhileTheSiteIsInUse) {
  zamo.Site.sites[4].lChecked = 9;
  build();
  EXPECT_EQ(field_text(code_of_site(2)), "___");
  EXPECT_FALSE(window.shown(code_of_site(4))) << "only non-printable bytes";
  EXPECT_TRUE(shown("Site #4 name"));
  EXPECT_FALSE(window.shown(code_of_site(6)));
  EXPECT_TRUE(repaired_without_report("Check for Fault"));
  EXPECT_EQ(zamo.Site.sites[4].lChecked, 1) << "a hidden fault flag is repaired silently";

  type_into(item("Site #6 name"), "Oslo");
  EXPECT_TRUE(window.shown(code_of_site(6)));
  EXPECT_STREQ(zamo.Site.sites[6].sCode, "___");
  EXPECT_EQ(field_text(code_of_site(6)), "___");

  type_into(item("Site #1 name"), "");
  type_into(item("Site #2 name"), "Bremen");  // a further pass
  EXPECT_TRUE(window.shown(code_of_site(1))) << "the code still holds text";
  EXPECT_STREQ(zamo.Site.sites[1].sCode, "BER");

  for (Widget child : children(window.section("List Of Radar Site Names and Site Codes")))
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

  build();
  EXPECT_EQ(field_text(item("Site #10 name")), "NNNNNNNNNNNNNNNNN");
  EXPECT_EQ(field_text(code_of_site(10)), "WXYZ");
  EXPECT_FALSE(window.shown(code_of_site(11)));
  type_into(item("Site #127 name"), "Z");
  lines_after(PassCheck);
  lines_after(PassRepair);
  EXPECT_EQ(std::memcmp(&zamo.device, &devices, sizeof devices), 0) << "nothing beyond the last site";
}

}  // namespace
