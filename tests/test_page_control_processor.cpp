// The control processor page through its page function and real Motif
// widgets: what each condition shows and hides, how values are shown,
// scaled and stored, and the listing of the whole page.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Xm.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/page_window.h"
#include "items/field.h"
#include "motif/bounds_dialog.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/sitelib.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

// The values behind tests/data/control_processor_full.txt: every section
// shown, and in each section as many rows as the conditions allow.
void load_demo_values() {
  std::memset(&zel, 0, sizeof zel);
  std::memset(&auxset, 0, sizeof auxset);
  zel.lAntAvailable = 1;
  zel.iInterfaceType = 0;  // Serial
  zel.iAngleSource = 1;
  zel.lControllingHost = 1;
  std::strcpy(zel.sDevice1, "/dev/ttyS1");
  zel.iBaudRate1 = 9600;
  zel.iParity1 = 2;
  zel.istatus_format = 2;
  zel.icontrol_format = 6;

  zel.bMovingPlatform = 1;
  zel.iInuSource = 1;
  zel.istatus2_format = 1;
  std::strcpy(zel.sDevice2, "/dev/ttyS2");
  zel.iBaudRate2 = 19200;
  zel.iParity2 = 1;
  zel.ipri_antxmt = -15;
  zel.ipri_antrcv = -12;
  zel.lTimePacketUtc = 1;
  zel.lUseTimeStamp = 1;
  std::strcpy(zel.sExtHeaderName, "HDR\001X");

  zel.lLogToFile = 1;
  zel.lLogPacketsAnt = 1;
  zel.lLogPacketsTime = 1;
  zel.lLogDataAnt = 1;

  zel.ignd_hgt = 312;
  zel.irad_hgt = 25;
  auxset.zel_ilat = 536870912;
  auxset.zel_ilon = -268435456;
  zel.iplatform_offset[0] = 250;
  zel.iplatform_offset[1] = -120;
  zel.iplatform_offset[2] = 340;
  zel.inu_height_offset = -50;
  zel.iScanGeometry = 1;

  zel.ielmin = -182;
  zel.ielmax = 16384;
  zel.fazvelmax = 36.0f;
  zel.felvelmax = 18.5f;
  zel.iazmode_initial = 2;  // Position
  zel.iazpos_initial = 8192;
  zel.ielmode_initial = 1;  // Velocity
  zel.felv_initial = 2.5f;

  zel.fRadiateTogglePeriod = 1.5f;
  zel.itoggle_time = 300;
  zel.fnoise_toggle_time = 0.25f;
  zel.isiggen_min = -90;
  zel.isiggen_max = -10;
  zel.fsiggen_warmup = 2.0f;
  zel.fsiggen_settle = 0.5f;
  zel.isiggen_value_initial = -40;

  zel.cont_pwbw = {1, 0, 0, 0};
  zel.cont_pw_unset = {0, 0, 1, 0};
  zel.cont_servo_power = {1, 1, 0, 0};
  zel.cont_radiate = {1, 0, 1, 0};
  zel.cont_tr_power = {1, 1, 1, 0};
  zel.cont_siggen = {1, 0, 0, 0};
  zel.cont_sigcw = {1, 1, 0, 0};
  zel.cont_reset = {1, 0, 1, 0};
  zel.cont_noise = {1, 1, 1, 0};

  zel.status_pwbw = {1, 0, 0, 0};
  zel.status_servo_power = {1, 1, 0, 0};
  zel.status_radiate = {1, 0, 0, 0};
  zel.status_tr_power = {1, 1, 0, 0};
  zel.status_siggen = {1, 0, 0, 0};
  zel.status_sigcw = {1, 1, 0, 0};
  zel.status_sigfault = {1, 0, 0, 0};
  zel.status_shutdown = {1, 1, 1, 0};
  zel.status_low_airflow = {1, 0, 0, 0};
  zel.status_low_wgp = {1, 1, 0, 0};
  zel.status_local = {1, 1, 0, 0};
  zel.status_trlocal = {1, 0, 0, 0};
  zel.status_interlock_open = {1, 1, 1, 0};
  zel.status_standby = {1, 0, 0, 0};
  zel.status_mag_current = {1, 1, 1, 0};
  zel.status_calib_az = {1, 1, 0, 0};
  zel.status_calib_el = {1, 0, 0, 0};

  zel.cont_nst = {1, 0, 1, 0};
  std::strcpy(zel.sSiteCodeRwsA, "RWA");
  std::strcpy(zel.sSiteCodeRwsB, "RWB");
  std::strcpy(zel.sSiteCodeDpA, "DPA");
  std::strcpy(zel.sSiteCodeDpB, "DPB");

  const char *modes[7] = {"STANDBY", "SURVEILLANCE", "PPI", "RHI", "SECTOR", "", "MAINT"};
  for (int i = 0; i < 7; ++i) std::strcpy(zel.sModeNames[i], modes[i]);
  zel.iDeadModeReq = 1;
  zel.freport_mode_delay = 2.5f;
}

template <typename T>
void zel_limit(T &field, double minimum, double maximum, double factory) {
  set_limits(zel, zel_limits, field, minimum, maximum, factory);
}

void load_demo_limits() {
  std::memset(zel_limits, 0, sizeof zel_limits);
  std::memset(auxset_limits, 0, sizeof auxset_limits);
  zel_limit(zel.lAntAvailable, 0, 1, 1);
  zel_limit(zel.iInterfaceType, 0, 3, 0);
  zel_limit(zel.ignd_hgt, -500, 9000, 100);
  zel_limit(zel.itoggle_time, 0, 86400, 300);
  zel_limit(zel.ielmin, -8192, 16384, -182);
  zel_limit(zel.iBaudRate1, 300, 115200, 9600);
  zel_limit(zel.iAntExportPortNum, 1, 65535, 30745);
  zel_limit(zel.iplatform_offset[0], -10000, 10000, 0);
  set_limits(auxset, auxset_limits, auxset.zel_ilat, -1073741824, 1073741823, 0);
}

std::string listing() { return page_listing(control_processor_page); }

std::string data_file(const char *name) { return read_file(std::string(SETUP_TEST_DATA_DIR) + "/" + name); }

std::vector<std::string> lines_after(int pass) { return bounds_lines_after(control_processor_page, pass); }

class ControlProcessorPage : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    std::strcpy(host_name, "demo");
    count_seen = 0;
    control_processor_page(PassMeasure, nullptr, nullptr);
    load_demo_values();
    load_demo_limits();
  }
  void TearDown() override { window.destroy(); }

  PageView window;
};

TEST_F(ControlProcessorPage, ListingOfTheWholePageMatchesTheHandWrittenOne) {
  EXPECT_EQ(listing(), data_file("control_processor_full.txt"));
}

TEST_F(ControlProcessorPage, WithoutAntennaOnlyItsToggleShowsButHiddenValuesAreStillRepaired) {
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  flip(window.item("System has an antenna"), false);
  EXPECT_EQ(zel.lAntAvailable, 0);
  EXPECT_TRUE(window.shown(window.item("System has an antenna")));
  EXPECT_FALSE(window.shown(window.item("Main Interface to ZEL")));
  EXPECT_FALSE(window.shown(window.section("Status Bit Definitions")));
  EXPECT_EQ(listing(), data_file("control_processor_no_antenna.txt"));

  zel.ignd_hgt = 20000;  // above its maximum, in a hidden section
  error_found = 0;
  auto checked = lines_after(PassCheck);
  EXPECT_FALSE(mentions(checked, "Ground height")) << "hidden items are not checked";
  EXPECT_EQ(error_found, 0);
  auto repaired = lines_after(PassRepair);
  EXPECT_EQ(zel.ignd_hgt, 100) << "repaired to the factory value";
  EXPECT_FALSE(mentions(repaired, "Ground height")) << "but without a report";

  flip(window.item("System has an antenna"), true);
  EXPECT_TRUE(window.shown(window.section("Status Bit Definitions")));
  EXPECT_TRUE(window.shown(window.item("Main serial device name")));
}

TEST_F(ControlProcessorPage, AntExportShowsItsHostPortSourceAndDelayButNoFurtherSections) {
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  choose(window.item("Main Interface to ZEL"), "AntExport");
  EXPECT_EQ(zel.iInterfaceType, 2);
  EXPECT_TRUE(window.shown(window.item("Average network delay")));
  EXPECT_FALSE(window.shown(window.item("Main serial device name")));
  EXPECT_FALSE(window.shown(window.section("Status Bit Definitions")));

  Widget port = window.item("AntExport Port Number");
  pick_hint(port, "30745");
  EXPECT_EQ(zel.iAntExportPortNum, 30745u);
  EXPECT_EQ(field_text(port), "30745");
  Widget host = window.item("AntExport hostname/IP-Address");
  ASSERT_EQ(hint_texts(host).size(), 1u);
  std::string address = hint_texts(host)[0];
  unsigned a, b, c, d;
  ASSERT_EQ(std::sscanf(address.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d), 4) << address;
  EXPECT_TRUE(a == 10 || (a == 172 && b >= 16 && b <= 31) || (a == 192 && b == 168))
      << "private: " << address;
  pick_hint(host, address.c_str());
  EXPECT_EQ(std::string(zel.sAntExportHost), address);
}

TEST_F(ControlProcessorPage, SerialDeviceNameDecidesTheBaudRateRow) {
  zel.sDevice1[0] = '\0';
  zel.iBaudRate1 = 5;  // below its minimum: reported only while the row is shown
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  Widget baud = window.item("running at");
  EXPECT_FALSE(window.shown(baud));
  EXPECT_FALSE(window.shown(window.item("with parity")));
  EXPECT_EQ(listing().find("running at   "), listing().rfind("running at   ")) << "only the auxiliary one";
  EXPECT_FALSE(mentions(lines_after(PassCheck), "running at:  5 baud"));

  type_into(window.item("Main serial device name"), "/dev/ttyS1");
  EXPECT_STREQ(zel.sDevice1, "/dev/ttyS1");
  EXPECT_TRUE(window.shown(baud));
  EXPECT_TRUE(window.shown(window.item("with parity")));
  EXPECT_TRUE(mentions(lines_after(PassCheck), "running at:  5 baud   (range 300 baud to 115200 baud)"));

  pick_hint(baud, "19200");
  EXPECT_EQ(zel.iBaudRate1, 19200);
  EXPECT_EQ(field_text(baud), "19200 baud");
}

TEST_F(ControlProcessorPage, MulticastAddressAndSerialDeviceAreOneField) {
  zel.iInterfaceType = 3;  // Network
  std::strcpy(zel.sDevice1, "239.255.0.1");
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  Widget multicast = window.item("Network Multicast Address");
  Widget serial = window.item("Main serial device name");
  EXPECT_TRUE(window.shown(multicast));
  EXPECT_FALSE(window.shown(serial));
  EXPECT_EQ(field_text(multicast), "239.255.0.1");
  EXPECT_NE(listing().find("Network Multicast Address        : 239.255.0.1\n"), std::string::npos);

  type_into(multicast, "224.0.0.3");
  choose(window.item("Main Interface to ZEL"), "Serial");
  EXPECT_TRUE(window.shown(serial));
  EXPECT_FALSE(window.shown(multicast));
  EXPECT_EQ(field_text(serial), "224.0.0.3") << "the revealed row shows the stored text";
  EXPECT_NE(listing().find("Main serial device name          : 224.0.0.3\n"), std::string::npos);

  // A text longer than the field is cut inside it; the next field is untouched.
  std::string long_text(400, 'x');
  type_into(serial, long_text.c_str());
  EXPECT_EQ(std::string(zel.sDevice1), std::string(359, 'x'));
  EXPECT_STREQ(zel.sDevice2, "/dev/ttyS2");
}

TEST_F(ControlProcessorPage, LeavingALongDeviceTextUneditedKeepsAllOfIt) {
  const std::string list(300, 'a');
  std::strcpy(zel.sDevice1, list.c_str());
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  Widget serial = window.item("Main serial device name");
  XmAnyCallbackStruct call{XmCR_LOSING_FOCUS, nullptr};
  XtCallCallbacks(serial, XmNlosingFocusCallback, &call);
  EXPECT_EQ(field_text(serial), list) << "the field shows the whole stored text";
  EXPECT_EQ(std::string(zel.sDevice1), list);

  type_into(serial, "/dev/ttyS3");
  EXPECT_STREQ(zel.sDevice1, "/dev/ttyS3");
  pick_hint(serial, "/dev/ttyS1");
  EXPECT_STREQ(zel.sDevice1, "/dev/ttyS1");
}

TEST_F(ControlProcessorPage, ScaledNumbersShowAndStoreInTheirUnits) {
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  Widget toggle_time = window.item("Stop radiate toggle after");
  EXPECT_EQ(field_text(toggle_time), "5 min");
  type_into(toggle_time, "2.5");
  EXPECT_EQ(zel.itoggle_time, 150u);
  pick_hint(toggle_time, "5 min");
  EXPECT_EQ(zel.itoggle_time, 300u);

  EXPECT_EQ(field_text(window.item("Default Latitude of antenna")), "45.00000 deg North");
  type_into(window.item("Default Latitude of antenna"), "-30");
  EXPECT_EQ(auxset.zel_ilat, -357913941);

  Widget forward = window.item("Antenna position forward of INU");
  EXPECT_EQ(field_text(forward), "2.5 meters");
  type_into(forward, "-3.25");
  EXPECT_EQ(zel.iplatform_offset[0], -325);

  Widget ground = window.item("Ground height above sea level");
  type_into(ground, "99999");
  EXPECT_EQ(zel.ignd_hgt, 9000) << "clamped to the maximum";
  EXPECT_EQ(field_text(ground), "9000.0 meters");
}

TEST_F(ControlProcessorPage, ControllingHostNoHidesOnlyTheControllingParts) {
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  flip(window.item("Is this the 1 controlling host"), false);
  EXPECT_EQ(zel.lControllingHost, 0);
  EXPECT_FALSE(window.shown(window.section("Timing Features")));
  EXPECT_TRUE(window.shown(window.section("Status Bit Definitions")));
  EXPECT_FALSE(window.shown(window.item("Transmit format to ZEL")));
  EXPECT_TRUE(window.shown(window.item("Receive format from ZEL")));

  std::string text = listing();
  EXPECT_EQ(text.find("Timing Features"), std::string::npos);
  EXPECT_EQ(text.find("Transmit format to ZEL"), std::string::npos);
  EXPECT_NE(text.find("\nStatus Bit Definitions\n"), std::string::npos);
}

TEST_F(ControlProcessorPage, BitQualifiersFollowTheirEnabledToggles) {
  zel.cont_pw_unset.lenabled = 1;
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  Widget force = window.toggle_on("Force High");
  ASSERT_NE(force, nullptr);
  EXPECT_FALSE(window.shown(force));
  flip(window.item("Don't Overwrite Pulse Width"), false);
  EXPECT_TRUE(window.shown(force));
  EXPECT_EQ(label_of(force), "Force High");
  flip(force, false);
  EXPECT_EQ(zel.cont_pw_unset.linitial_high, 0);
  EXPECT_EQ(label_of(force), "Force Low");

  Widget servo_polarity = window.toggle_on("Active HIGH", 0);
  EXPECT_TRUE(window.shown(servo_polarity));
  flip(window.item("Servo Power Control"), false);
  EXPECT_FALSE(window.shown(servo_polarity));
  EXPECT_FALSE(window.shown(window.toggle_on("Initially On", 0)));
  EXPECT_TRUE(window.shown(window.toggle_on("Active HIGH", 1))) << "the radiate bit keeps its row";

  Widget site_code = window.item("Radar Workstation 'A' site code");
  flip(window.item("Reporting"), false);
  EXPECT_FALSE(window.shown(site_code));
}

TEST_F(ControlProcessorPage, InitialAxisModeSwapsPositionAndVelocityRows) {
  window.build(PAGE_CONTROL_PROCESSOR, control_processor_page);
  Widget position = window.item("Initial Azimuth position");
  Widget velocity = window.item("Initial Azimuth velocity");
  EXPECT_TRUE(window.shown(position));
  EXPECT_FALSE(window.shown(velocity));
  Widget mode = window.item("Initial mode for Azimuth axis");
  EXPECT_EQ(chosen(mode), "Position");
  choose(mode, "Velocity");
  EXPECT_EQ(zel.iazmode_initial, 1);
  EXPECT_FALSE(window.shown(position));
  EXPECT_TRUE(window.shown(velocity));

  flip(window.item("Elevation can spin 360"), true);
  EXPECT_FALSE(window.shown(window.item("Minimum elevation angle")));
}

// The site's own limits cover every number, choice and toggle of the page:
// with every section and row shown, the factory values pass the check
// without an internal error, under each interface type.
TEST_F(ControlProcessorPage, SiteFactoryValuesPassEveryCheck) {
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
    ASSERT_EQ(setup_limits("ant_manual_setup", &zel_limits[copy], copy, 0), 1);
  set_limits(auxset, auxset_limits, auxset.zel_ilat, -1073741824, 1073741823, 0);
  set_limits(auxset, auxset_limits, auxset.zel_ilon, -2147483648.0, 2147483647, 0);
  for (int type : {0, 3, 2}) {
    std::memcpy(&zel, &zel_limits[COPY_FACTORY], sizeof zel);
    zel.lAntAvailable = zel.lControllingHost = zel.bMovingPlatform = zel.lLogToFile = 1;
    zel.iInterfaceType = type;
    zel.istatus_format = zel.istatus2_format = 2;
    std::strcpy(zel.sDevice1, "/dev/ttyS1");
    std::strcpy(zel.sDevice2, "/dev/ttyS2");
    zel.cont_pw_unset.lenabled = 0;
    for (zel_control_bit *bit :
         {&zel.cont_servo_power, &zel.cont_radiate, &zel.cont_tr_power, &zel.cont_siggen, &zel.cont_sigcw,
          &zel.cont_reset, &zel.cont_noise, &zel.cont_nst})
      bit->lenabled = 1;
    ::testing::internal::CaptureStderr();
    error_found = 0;
    auto lines = lines_after(PassCheck);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "interface " << type;
    EXPECT_EQ(error_found, 0) << "interface " << type << ": " << (lines.empty() ? "" : lines.back());
  }
}

}  // namespace
