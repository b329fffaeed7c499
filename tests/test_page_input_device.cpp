// The input device page: the device count decides which device sections
// exist for the window, the listing and the checks; the socket port row
// follows the notification scheme.
#include "tests/support/page_test.h"

namespace {

void set_device(int n, const char *alias, const char *pipe, const char *directory, int syntax, int scheme,
                int port) {
  input_device &d = zamo.Input.Def[n];
  std::strcpy(d.sMenuAlias, alias);
  std::strcpy(d.sPipeProgram, pipe);
  std::strcpy(d.sSourceDirectory, directory);
  d.iCommandLineSyntax = syntax;
  d.iNotifyScheme = scheme;
  d.iSocketPort = port;
}

class InputDevicePage : public PageTest {
 protected:
  InputDevicePage() : PageTest(PAGE_INPUT_DEVICE, input_device_page) {}
  // The values behind tests/data/input_device_three.txt.
  void SetUp() override {
    PageTest::SetUp();
    std::memset(&zamo, 0, sizeof zamo);
    for (int copy = COPY_MIN; copy <= COPY_FACTORY; ++copy)
      setup_limits("zamo_setup", &zamo_limits[copy], copy, 0);
    for (int n = 0; n < ZAMO_INPUT_DEVICES; ++n) set_device(n, "", "", "", 0, 2, 30750);
    zamo.Input.iInputCount = 3;
    set_device(0, "RAINGAGE", "rg_pipe", "/data/in/raingage", 0, 2, 0);  // port hidden: not checked
    set_device(1, "LIGHTNING", "ltg_in", "/data/in/lightning", 1, 4, 30751);
    set_device(2, "X\001Y", "", "", 0, 3, 30750);  // a scheme the menu does not have
  }
};

TEST_F(InputDevicePage, ListingOfThreeDevicesMatchesTheHandWrittenOne) {
  EXPECT_EQ(listing(), data_file("input_device_three.txt"));
}

TEST_F(InputDevicePage, CountDecidesTheSectionsAndTheSchemeThePortRow) {
  build();
  EXPECT_TRUE(section_shown("Input Device #3"));
  EXPECT_FALSE(section_shown("Input Device #4"));
  EXPECT_FALSE(shown("Port number"));  // device 1 polls
  choose(item("Notification scheme"), "TCP/IP Socket");
  EXPECT_EQ(zamo.Input.Def[0].iNotifyScheme, 4);
  EXPECT_TRUE(shown("Port number"));
  EXPECT_EQ(field_text(item("Port number")), "0") << "the revealed row shows the stored value";
  pick_hint(item("Port number"), "30750");
  EXPECT_EQ(zamo.Input.Def[0].iSocketPort, 30750);

  type_into(item("Number of input devices"), "0");
  EXPECT_FALSE(section_shown("Input Device #1"));
  EXPECT_EQ(listing().find("Input Device #"), std::string::npos);
  type_into(item("Number of input devices"), "40");  // clamped to the sixteen devices the record holds
  EXPECT_EQ(zamo.Input.iInputCount, 16u);
  EXPECT_EQ(field_text(item("Number of input devices")), "16");
  EXPECT_TRUE(section_shown("Input Device #16"));
  EXPECT_TRUE(section_shown("Input Device #4"));
}

TEST_F(InputDevicePage, OnlyDevicesInUseAreCheckedAndRepaired) {
  zamo.Input.Def[5].iNotifyScheme = 3;  // beyond the count
  zamo.Input.Def[5].iCommandLineSyntax = 7;
  error_found = 0;
  auto checked = lines_after(PassCheck);
  EXPECT_TRUE(mentions(checked, "Notification scheme:  ?????"));
  EXPECT_FALSE(mentions(checked, "Port number")) << "device 1's port row is hidden";
  EXPECT_EQ(error_found, 1);

  EXPECT_TRUE(mentions(lines_after(PassRepair), "Notification scheme:  Polling"));
  EXPECT_EQ(zamo.Input.Def[2].iNotifyScheme, 2);
  EXPECT_EQ(zamo.Input.Def[0].iSocketPort, 0) << "hidden port left alone after the count";
  EXPECT_EQ(zamo.Input.Def[5].iNotifyScheme, 3) << "a device beyond the count keeps its values";
  EXPECT_EQ(zamo.Input.Def[5].iCommandLineSyntax, 7);
}

}  // namespace
