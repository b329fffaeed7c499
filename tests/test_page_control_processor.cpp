// The control processor page: what each condition shows and hides, how
// values are scaled and stored, the device texts, and the listing of the
// whole page.
#include "tests/support/page_test.h"

namespace {

// The values behind tests/data/control_processor_full.txt: every section
// shown, and in each section as many rows as the conditions allow.
void load_demo_values() {
  std::memset(&zel, 0, sizeof zel);
  std::memset(&auxset, 0, sizeof auxset);
  zel.lAntAvailable = zel.iAngleSource = zel.lControllingHost = zel.bMovingPlatform = zel.iInuSource = 1;
  zel.lTimePacketUtc = zel.lUseTimeStamp = zel.lLogToFile = zel.lLogPacketsAnt = zel.lLogPacketsTime = 1;
  zel.lLogDataAnt = zel.istatus2_format = zel.iParity2 = zel.iScanGeometry = zel.iDeadModeReq = 1;
  zel.iInterfaceType = 0;  // Serial
  std::strcpy(zel.sDevice1, "/dev/ttyS1");
  zel.iBaudRate1 = 9600;
  zel.iParity1 = zel.istatus_format = 2;
  zel.icontrol_format = 6;
  std::strcpy(zel.sDevice2, "/dev/ttyS2");
  zel.iBaudRate2 = 19200;
  zel.ipri_antxmt = -15;
  zel.ipri_antrcv = -12;
  std::strcpy(zel.sExtHeaderName, "HDR\001X");

  zel.ignd_hgt = 312;
  zel.irad_hgt = 25;
  auxset.zel_ilat = 536870912;
  auxset.zel_ilon = -268435456;
  zel.iplatform_offset[0] = 250;
  zel.iplatform_offset[1] = -120;
  zel.iplatform_offset[2] = 340;
  zel.inu_height_offset = -50;

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

  zel.cont_pwbw = zel.cont_siggen = {1, 0, 0, 0};
  zel.cont_servo_power = zel.cont_sigcw = {1, 1, 0, 0};
  zel.cont_radiate = zel.cont_reset = zel.cont_nst = {1, 0, 1, 0};
  zel.cont_tr_power = zel.cont_noise = {1, 1, 1, 0};
  zel.cont_pw_unset = {0, 0, 1, 0};
  zel.status_pwbw = zel.status_radiate = zel.status_siggen = zel.status_sigfault = {1, 0, 0, 0};
  zel.status_low_airflow = zel.status_trlocal = zel.status_standby = zel.status_calib_el = {1, 0, 0, 0};
  zel.status_servo_power = zel.status_tr_power = zel.status_sigcw = zel.status_low_wgp = {1, 1, 0, 0};
  zel.status_local = zel.status_calib_az = {1, 1, 0, 0};
  zel.status_shutdown = zel.status_interlock_open = zel.status_mag_current = {1, 1, 1, 0};

  std::strcpy(zel.sSiteCodeRwsA, "RWA");
  std::strcpy(zel.sSiteCodeRwsB, "RWB");
  std::strcpy(zel.sSiteCodeDpA, "DPA");
  std::strcpy(zel.sSiteCodeDpB, "DPB");
  const char *modes[7] = {"STANDBY", "SURVEILLANCE", "PPI", "RHI", "SECTOR", "", "MAINT"};
  for (int i = 0; i < 7; ++i) std::strcpy(zel.sModeNames[i], modes[i]);
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

class ControlProcessorPage : public PageTest {
 protected:
  ControlProcessorPage() : PageTest(PAGE_CONTROL_PROCESSOR, control_processor_page) {}
  void SetUp() override {
    PageTest::SetUp();
    load_demo_values();
    load_demo_limits();
  }
  bool lists(const std::string &text) const { return listing().find(text) != std::string::npos; }
};

TEST_F(ControlProcessorPage, WithoutAntennaOnlyItsToggleShowsButHiddenValuesAreStillRepaired) {
  EXPECT_EQ(listing(), data_file("control_processor_full.txt"));
  build();
  flip(item("System has an antenna"), false);
  EXPECT_EQ(zel.lAntAvailable, 0);
  EXPECT_FALSE(shown("Main Interface to ZEL"));
  EXPECT_FALSE(section_shown("Status Bit Definitions"));
  EXPECT_EQ(listing(), data_file("control_processor_no_antenna.txt"));

  zel.ignd_hgt = 20000;  // above its maximum, in a hidden section
  EXPECT_TRUE(repaired_without_report("Ground height"));
  EXPECT_EQ(zel.ignd_hgt, 100) << "repaired to the factory value";

  flip(item("System has an antenna"), true);
  EXPECT_TRUE(section_shown("Status Bit Definitions"));
  EXPECT_TRUE(shown("Main serial device name"));
}

TEST_F(ControlProcessorPage, AntExportShowsItsHostPortAndDelayButNoFurtherSections) {
  build();
  choose(item("Main Interface to ZEL"), "AntExport");
  EXPECT_EQ(zel.iInterfaceType, 2);
  EXPECT_TRUE(shown("Average network delay"));
  EXPECT_FALSE(shown("Main serial device name"));
  EXPECT_FALSE(section_shown("Status Bit Definitions"));

  pick_hint(item("AntExport Port Number"), "30745");
  EXPECT_EQ(zel.iAntExportPortNum, 30745u);
  Widget host = item("AntExport hostname/IP-Address");
  ASSERT_EQ(hint_texts(host).size(), 1u);
  std::string address = hint_texts(host)[0];
  pick_hint(host, address.c_str());
  EXPECT_EQ(std::string(zel.sAntExportHost), address);
}

TEST_F(ControlProcessorPage, SerialDeviceNameDecidesTheBaudRateRow) {
  zel.sDevice1[0] = '\0';
  zel.iBaudRate1 = 5;  // below its minimum: reported only while the row is shown
  build();
  EXPECT_FALSE(shown("running at"));
  EXPECT_FALSE(shown("with parity"));
  EXPECT_EQ(listing().find("running at   "), listing().rfind("running at   ")) << "only the auxiliary one";
  EXPECT_FALSE(mentions(lines_after(PassCheck), "running at:  5 baud"));

  type_into(item("Main serial device name"), "/dev/ttyS1");
  EXPECT_TRUE(shown("running at"));
  EXPECT_TRUE(shown("with parity"));
  EXPECT_TRUE(mentions(lines_after(PassCheck), "running at:  5 baud   (range 300 baud to 115200 baud)"));
  pick_hint(item("running at"), "19200");
  EXPECT_EQ(zel.iBaudRate1, 19200);
}

TEST_F(ControlProcessorPage, MulticastAddressAndSerialDeviceAreOneFieldAndScaledNumbersStore) {
  zel.iInterfaceType = 3;  // Network
  std::strcpy(zel.sDevice1, "239.255.0.1");
  build();
  Widget multicast = item("Network Multicast Address"), serial = item("Main serial device name");
  EXPECT_FALSE(window.shown(serial));
  EXPECT_EQ(field_text(multicast), "239.255.0.1");
  EXPECT_TRUE(lists("Network Multicast Address        : 239.255.0.1\n"));

  type_into(multicast, "224.0.0.3");
  choose(item("Main Interface to ZEL"), "Serial");
  EXPECT_FALSE(window.shown(multicast));
  EXPECT_EQ(field_text(serial), "224.0.0.3") << "the revealed row shows the stored text";
  EXPECT_TRUE(lists("Main serial device name          : 224.0.0.3\n"));

  type_into(item("Default Latitude of antenna"), "-30");
  EXPECT_EQ(auxset.zel_ilat, -357913941);
  type_into(item("Antenna position forward of INU"), "-3.25");
  EXPECT_EQ(zel.iplatform_offset[0], -325);
  type_into(item("Ground height above sea level"), "99999");
  EXPECT_EQ(zel.ignd_hgt, 9000) << "clamped to the maximum";
  EXPECT_EQ(field_text(item("Ground height above sea level")), "9000.0 meters");
}

TEST_F(ControlProcessorPage, LeavingALongDeviceTextUneditedKeepsAllOfIt) {
  const std::string list(300, 'a');
  std::strcpy(zel.sDevice1, list.c_str());
  build();
  Widget serial = item("Main serial device name");
  XmAnyCallbackStruct call{XmCR_LOSING_FOCUS, nullptr};
  XtCallCallbacks(serial, XmNlosingFocusCallback, &call);
  EXPECT_EQ(field_text(serial), list) << "the field shows the whole stored text";
  EXPECT_EQ(std::string(zel.sDevice1), list);
  pick_hint(serial, "/dev/ttyS1");
  EXPECT_STREQ(zel.sDevice1, "/dev/ttyS1");
}

TEST_F(ControlProcessorPage, HostAxisModesAndBitQualifiersDecideTheirRows) {
  zel.cont_pw_unset.lenabled = 1;
  build();
  flip(item("Is this the 1 controlling host"), false);
  EXPECT_EQ(zel.lControllingHost, 0);
  EXPECT_FALSE(section_shown("Timing Features"));
  EXPECT_TRUE(section_shown("Status Bit Definitions"));
  EXPECT_FALSE(shown("Transmit format to ZEL"));
  EXPECT_TRUE(shown("Receive format from ZEL"));
  EXPECT_FALSE(lists("Timing Features"));
  flip(item("Is this the 1 controlling host"), true);

  EXPECT_FALSE(shown("Initial Azimuth velocity"));
  choose(item("Initial mode for Azimuth axis"), "Velocity");
  EXPECT_EQ(zel.iazmode_initial, 1);
  EXPECT_FALSE(shown("Initial Azimuth position"));
  EXPECT_TRUE(shown("Initial Azimuth velocity"));
  flip(item("Elevation can spin 360"), true);
  EXPECT_FALSE(shown("Minimum elevation angle"));

  Widget force = window.toggle_on("Force High");
  ASSERT_NE(force, nullptr);
  EXPECT_FALSE(window.shown(force));
  flip(item("Don't Overwrite Pulse Width"), false);
  EXPECT_TRUE(window.shown(force));
  flip(force, false);
  EXPECT_EQ(zel.cont_pw_unset.linitial_high, 0);
  EXPECT_EQ(label_of(force), "Force Low");

  Widget servo_polarity = window.toggle_on("Active HIGH", 0);
  EXPECT_TRUE(window.shown(servo_polarity));
  flip(item("Servo Power Control"), false);
  EXPECT_FALSE(window.shown(servo_polarity));
  EXPECT_FALSE(window.shown(window.toggle_on("Initially On", 0)));
  EXPECT_TRUE(window.shown(window.toggle_on("Active HIGH", 1))) << "the radiate bit keeps its row";
  flip(item("Reporting"), false);
  EXPECT_FALSE(shown("Radar Workstation 'A' site code"));
}

// The site's own limits cover every number, choice and toggle of the page:
// with every section and row shown, the factory values pass the check
// without an internal error, under each interface type.
TEST_F(ControlProcessorPage, SiteFactoryValuesPassEveryCheck) {
  load_site_limits("ant_manual_setup", zel_limits);
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
    EXPECT_EQ(check_complaints(), "") << "interface " << type;
  }
}

}  // namespace
