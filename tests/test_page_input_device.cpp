// The input device page through its page function and real Motif widgets:
// the device count decides which device sections exist for the window, the
// listing and the checks; the socket port row follows the notification
// scheme.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Xm.h>

#include <cstring>
#include <string>

#include "motif/bounds_dialog.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/sitelib.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

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

// The values behind tests/data/input_device_three.txt.
void load_demo_values() {
  std::memset(&zamo, 0, sizeof zamo);
  for (int copy = COPY_MIN; copy <= COPY_FACTORY; ++copy)
    setup_limits("zamo_setup", &zamo_limits[copy], copy, 0);
  for (int n = 0; n < ZAMO_INPUT_DEVICES; ++n) set_device(n, "", "", "", 0, 2, 30750);
  zamo.Input.iInputCount = 3;
  set_device(0, "RAINGAGE", "rg_pipe", "/data/in/raingage", 0, 2, 0);  // port hidden: not checked
  set_device(1, "LIGHTNING", "ltg_in", "/data/in/lightning", 1, 4, 30751);
  set_device(2, "X\001Y", "", "", 0, 3, 30750);  // a scheme the menu does not have
}

std::vector<std::string> lines_after(int pass) { return bounds_lines_after(input_device_page, pass); }

class InputDevicePage : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    std::strcpy(host_name, "demo");
    count_seen = 0;
    input_device_page(PassMeasure, nullptr, nullptr);
    load_demo_values();
  }
  void TearDown() override { window.destroy(); }

  PageView window;
};

TEST_F(InputDevicePage, ListingOfThreeDevicesMatchesTheHandWrittenOne) {
  EXPECT_EQ(page_listing(input_device_page),
            read_file(std::string(SETUP_TEST_DATA_DIR) + "/input_device_three.txt"));
}

TEST_F(InputDevicePage, CountDecidesWhichDeviceSectionsAreShown) {
  window.build(PAGE_INPUT_DEVICE, input_device_page);
  Widget count = window.item("Number of input devices");
  EXPECT_TRUE(window.shown(window.section("Input Device #3")));
  EXPECT_FALSE(window.shown(window.section("Input Device #4")));

  type_into(count, "0");
  EXPECT_FALSE(window.shown(window.section("Input Device #1")));
  EXPECT_EQ(page_listing(input_device_page).find("Input Device #"), std::string::npos);

  type_into(count, "40");  // clamped to the sixteen devices the record holds
  EXPECT_EQ(zamo.Input.iInputCount, 16u);
  EXPECT_EQ(field_text(count), "16");
  EXPECT_TRUE(window.shown(window.section("Input Device #16")));
  EXPECT_TRUE(window.shown(window.section("Input Device #4")));
}

TEST_F(InputDevicePage, SocketSchemeShowsThePortRowWithItsHint) {
  window.build(PAGE_INPUT_DEVICE, input_device_page);
  Widget port = window.item("Port number");  // device 1 polls: its port row is hidden
  EXPECT_FALSE(window.shown(port));
  choose(window.item("Notification scheme"), "TCP/IP Socket");
  EXPECT_EQ(zamo.Input.Def[0].iNotifyScheme, 4);
  EXPECT_TRUE(window.shown(port));
  EXPECT_EQ(field_text(port), "0") << "the revealed row shows the stored value";
  pick_hint(port, "30750");
  EXPECT_EQ(zamo.Input.Def[0].iSocketPort, 30750);
}

TEST_F(InputDevicePage, OnlyDevicesInUseAreCheckedAndRepaired) {
  zamo.Input.Def[5].iNotifyScheme = 3;  // beyond the count
  zamo.Input.Def[5].iCommandLineSyntax = 7;
  error_found = 0;
  auto checked = lines_after(PassCheck);
  EXPECT_TRUE(mentions(checked, "Notification scheme:  ?????"));
  EXPECT_FALSE(mentions(checked, "Port number")) << "device 1's port row is hidden";
  EXPECT_EQ(error_found, 1);

  auto repaired = lines_after(PassRepair);
  EXPECT_TRUE(mentions(repaired, "Notification scheme:  Polling"));
  EXPECT_EQ(zamo.Input.Def[2].iNotifyScheme, 2);
  EXPECT_EQ(zamo.Input.Def[0].iSocketPort, 0) << "hidden port left alone after the count";
  EXPECT_EQ(zamo.Input.Def[5].iNotifyScheme, 3) << "a device beyond the count keeps its values";
  EXPECT_EQ(zamo.Input.Def[5].iCommandLineSyntax, 7);
}

}  // namespace
