// The signal processor page: listings of two configurations against
// hand-written files, the PRF clamps, checks and repairs of the channel and
// sequence loops, and the page's own rows driven through its widgets.
#include <cstdio>

#include "tests/support/page_test.h"

namespace {

template <typename T>
void dsp_range(T &field, double low, double high, double factory) {
  set_limits(dsp, dsp_limits, field, low, high, factory);
}

// Limits of the fields the tests edit, check or repair.
void set_test_limits() {
  std::memset(dsp_limits, 0, sizeof dsp_limits);
  std::memset(Rtdisp_limits, 0, sizeof Rtdisp_limits);
  dsp_range(dsp.iwidcnt, 0, 4, 1);
  dsp_range(dsp.izdr_bias, -160, 160, 0);
  dsp_range(dsp.iGasAtten, 0, 100000, 1200);
  dsp_range(dsp.iPolarRadiateOffWait, 0, 60000, 0);
  dsp_range(dsp.iwavelength, 100, 20000, 532);
  dsp_range(dsp.itpower[0], 0, 1000000, 250000);
  for (auto &sequence : dsp.customTrig) {
    dsp_range(sequence.iNumPeriods, 0, 64, 0);
    for (int32_t &period : sequence.iPeriods) dsp_range(period, 0, 10000000, 1000);
  }
  set_limits(Rtdisp, Rtdisp_limits, Rtdisp.iChannelCount, 0, 16, 1);
  for (auto &channel : Rtdisp.Channel)
    set_limits(Rtdisp, Rtdisp_limits, channel.iPortNum, 1024, 65535, 30730);
}

void set_text(char *field, size_t size, const char *text) { snprintf(field, size, "%s", text); }

// A dual-polarisation KOX2 on SCSI with dual transmit, two pulse widths,
// a sequence of three pulses and two RTD channels.
void load_dual_pol() {
  std::memset(&dsp, 0, sizeof dsp);
  std::memset(&Rtdisp, 0, sizeof Rtdisp);
  dsp.ldsp_available = dsp.lPolarAvailable = dsp.iSinglePolarization = dsp.lDualReceiver = 1;
  dsp.ldual_transmit = dsp.lXmtHorizontalOnly = dsp.lXmtSimultaneous = dsp.lPhidpAvailable = 1;
  dsp.lRhohvAvailable = dsp.lPhiAvailable = dsp.lHClassAvailable = dsp.lSnrAvailable = 1;
  dsp.lXmtPhaseControl = dsp.iCalSignalType = dsp.ltest_signal_gen_cont = dsp.lfreq_cont_avail = 1;
  dsp.iwindow = 1;
  dsp.interface = dsp.iXmtTubeType = dsp.iwidcnt = dsp.idspdualdelay = dsp.iDataWidths = 2;
  set_text(dsp.sDevice, sizeof dsp.sDevice, "/dev/sga");
  dsp.iPortNumber = 30740;
  dsp.itype = 8;
  dsp.izdr_bias = 8;
  dsp.iburst_power_diff = -25;
  dsp.ildr_bias = 150;
  dsp.iPolarRadiateOffWait = 2500;
  dsp.iMaxPolarWait = 5000;
  set_text(dsp.sMajorModeNames[0], 16, "Clear air");
  set_text(dsp.sMajorModeNames[2], 16, "Storm");
  dsp.iwavelength = 532;
  dsp.idspprf = 1000;
  dsp.inoiseprf = 300;
  dsp.ipw_wait = 1500;
  dsp.ihorizwidth = 95;
  dsp.ivertwidth = 100;
  dsp.iantgain = 452;
  dsp.fNoiseSourceENR = 15.5f;
  dsp.Horiz = {12, 15, 20, 5};
  dsp.Vert = {13, 16, 21, 6};
  dsp.fsignal_generator_min = 2.7f;
  dsp.fsignal_generator_max = 2.9f;
  dsp.finitial_signal_generator_frequency = 2.8f;
  dsp.isignal_generator_frequency_resolution = 10;
  dsp.ihoriz_test_signal_level = -5000;
  dsp.ivert_test_signal_level = -4950;
  dsp.iGasAtten = 1500;
  dsp.idspagcode = 3;
  dsp.isync_fuzz = 27;
  dsp.fSimClutterWidth = 0.5f;
  const int16_t widths[] = {80, 200}, bursts_h[] = {1000, 1010}, bursts_v[] = {950, 960},
                losses[] = {120, 30};
  const int32_t spacings[] = {12500, 25000}, maxima[] = {1200, 500}, powers_v[] = {240000, 245000};
  const float bandwidths[] = {0.75f, 0.5f};
  for (int c = 0; c < 2; ++c) {
    dsp.ipwidths[c] = widths[c];
    dsp.iRangeMaskSpacing[c] = spacings[c];
    dsp.ipwbits[c] = static_cast<uint16_t>(1 << c);
    dsp.iminprf[c] = 250;
    dsp.imaxprf[c] = maxima[c];
    dsp.itpower[c] = 250000;
    dsp.itpower_v[c] = powers_v[c];
    dsp.iburst_pwr_calib_h[c] = bursts_h[c];
    dsp.iburst_pwr_calib_v[c] = bursts_v[c];
    dsp.idigital_filter_loss_calib[c] = losses[c];
    dsp.fnoise_equivalent_bandwidth[c] = bandwidths[c];
  }
  dsp.customTrig[0] = {3, {1000, 1250, 2000, 9999}};  // the fourth pulse lies beyond the length: not listed
  dsp.customTrig[2].iNumPeriods = 5;
  Rtdisp.lEnabled = 1;
  Rtdisp.iPriority = -4;
  Rtdisp.irtd_max_bins = 500;
  Rtdisp.iChannelCount = 2;
  const char *names[] = {"rtd_v1_xmt", "rtd_v2_xmt"}, *addresses[] = {"192.168.10.255", "192.168.20.255"};
  for (int c = 0; c < 2; ++c) {
    set_text(Rtdisp.Channel[c].sXmtName, 20, names[c]);
    set_text(Rtdisp.Channel[c].sBroadcastAddress, 20, addresses[c]);
    Rtdisp.Channel[c].iPortNum = 30730 + c;
  }
  Rtdisp.Channel[1].iXmtDataSet = 2;
}

// A single-polarisation KOX1 attached natively, one pulse width, the real-
// time display off.
void load_single_pol() {
  load_dual_pol();
  dsp.lPolarAvailable = dsp.iCalSignalType = dsp.ltest_signal_gen_cont = dsp.isync_fuzz = Rtdisp.lEnabled = 0;
  dsp.lCheckByteOrder = dsp.iXmtTubeType = dsp.iwidcnt = dsp.iDataWidths = dsp.linvert_velocities = 1;
  dsp.lSimClutterWidNorm = 1;
  dsp.interface = 3;
  dsp.itype = 7;
  dsp.iwavelength = 1069;
  dsp.idspprf = 800;
  dsp.inoiseprf = 50;
  dsp.iPwRadiateOffWait = 500;
  dsp.ipw_wait = 2000;
  dsp.ihorizwidth = 100;
  dsp.iantgain = 400;
  dsp.Horiz = {10, 11, 25, -3};
  dsp.iGasAtten = 1800;
  dsp.iwindow = 2;
  dsp.fSimClutterWidth = 0.25f;
  dsp.ipwidths[0] = 100;
  dsp.iRangeMaskSpacing[0] = 15000;
  dsp.iminprf[0] = 300;
  dsp.imaxprf[0] = 1000;
  dsp.itpower[0] = 500000;
  dsp.iburst_pwr_calib_h[0] = -1250;
  dsp.idigital_filter_loss_calib[0] = 0;
  dsp.fnoise_equivalent_bandwidth[0] = 1.25f;
  dsp.customTrig[0] = {1, {500}};
  dsp.customTrig[1] = {2, {800, 1600}};
  dsp.customTrig[2].iNumPeriods = 0;
  dsp.customTrig[3].iNumPeriods = 64;
}

size_t count_naming(const std::vector<std::string> &lines, const char *what) {
  size_t n = 0;
  for (const std::string &line : lines) n += line.find(what) != std::string::npos;
  return n;
}

class SignalProcessorPage : public PageTest {
 protected:
  SignalProcessorPage() : PageTest(PAGE_SIGNAL_PROCESSOR, signal_processor_page) {}
  void SetUp() override {
    PageTest::SetUp();
    std::snprintf(host_name, sizeof host_name, "%s", "testhost");
    load_dual_pol();
    set_test_limits();
    signal_processor_page(PassMeasure, nullptr, nullptr);
    clear_bounds_lines();
  }
  void type(const std::string &label, const char *text, int nth = 0) { type_into(item(label, nth), text); }
  std::string text(const std::string &label) { return field_text(item(label)); }
  void choose_nth(const std::string &label, int index) {
    activate(
        XtNameToWidget(get<Widget>(item(label), XmNsubMenuId), ("button_" + std::to_string(index)).c_str()));
  }
};

TEST_F(SignalProcessorPage, ListingsMatchHandWrittenFilesAndPrfLimitsClampSilently) {
  EXPECT_EQ(listing(), data_file("signal_processor_dual_pol.txt"));
  load_single_pol();
  EXPECT_EQ(listing(), data_file("signal_processor_single_pol.txt"));
  load_dual_pol();
  clear_bounds_lines();
  dsp.idspprf = 30000;
  dsp.inoiseprf = 10;
  dsp.iminprf[3] = 5000;
  dsp.imaxprf[3] = 3000;
  dsp_limits[COPY_FACTORY].idspprf = 33333;
  signal_processor_page(PassMeasure, nullptr, nullptr);
  EXPECT_EQ(dsp.idspprf, 20000);
  EXPECT_EQ(dsp.inoiseprf, 50);
  EXPECT_EQ(dsp.iminprf[3], 3000);  // hidden section: clamped all the same
  EXPECT_EQ(dsp_limits[COPY_MIN].imaxprf[2], 50);
  EXPECT_EQ(dsp_limits[COPY_MAX].iminprf[0], 20000);
  EXPECT_EQ(dsp_limits[COPY_FACTORY].idspprf, 33333);
  EXPECT_TRUE(bounds_lines().empty());
}

TEST_F(SignalProcessorPage, ChannelsBeyondTheCountAreNeitherCheckedNorRepaired) {
  Rtdisp.Channel[1].iPortNum = 5;
  Rtdisp.Channel[5].iPortNum = 5;
  dsp.customTrig[0].iPeriods[10] = -1;  // a hidden pulse before the count: repaired silently
  auto checked = lines_after(PassCheck);
  EXPECT_EQ(count_naming(checked, "UDP port #"), 1u);
  EXPECT_EQ(count_naming(checked, "UDP port #2"), 1u);
  EXPECT_EQ(count_naming(checked, "Seq #1"), 0u);
  auto repaired = lines_after(PassRepair);
  EXPECT_EQ(Rtdisp.Channel[1].iPortNum, 30730u);
  EXPECT_EQ(Rtdisp.Channel[5].iPortNum, 5u);
  EXPECT_EQ(dsp.customTrig[0].iPeriods[10], 1000);
  EXPECT_EQ(count_naming(repaired, "UDP port #"), 1u);
  EXPECT_EQ(count_naming(repaired, "Seq #1"), 0u);
  EXPECT_EQ(count_seen, 0);
}

TEST_F(SignalProcessorPage, InternalErrorsNameTheLiteralPaths) {
  std::string errors = check_complaints();
  EXPECT_NE(errors.find("'dsp.ipwidths[0]' (Pulsewidth)"), std::string::npos);
  EXPECT_NE(errors.find("'dsp.fnoise_equivalent_bandwidth[1]' (Noise equivalent bandwidth)"),
            std::string::npos);
  EXPECT_EQ(errors.find("ipwidths[2]"), std::string::npos);  // its section is hidden
  EXPECT_NE(errors.find("'Rtdisp.Channel[iChan].iXmtDataSet' (Data to send)"), std::string::npos);
  // Paths set in the test's limits give no report; the loops' own names do.
  EXPECT_EQ(errors.find("iNumPeriods"), std::string::npos);
  dsp_limits[COPY_MAX].customTrig[1].iPeriods[0] = 0;
  dsp.customTrig[1].iNumPeriods = 1;
  EXPECT_NE(check_complaints().find("'dsp.customTrig[iSequence].iPeriods[iPulse]' (Seq #2, Pulse #1)"),
            std::string::npos);
}

// The site's limits cover every number, choice and toggle of the page: with
// the factory values and every section shown, nothing is out of range and
// no field lacks its limits, with and without dual polarisation.
TEST_F(SignalProcessorPage, SiteFactoryValuesPassEveryCheck) {
  load_site_limits("dsp_manual_setup", dsp_limits);
  load_site_limits("rtdisp_setup", Rtdisp_limits);
  for (bool dual : {true, false}) {
    std::memcpy(&dsp, &dsp_limits[COPY_FACTORY], sizeof dsp);
    std::memcpy(&Rtdisp, &Rtdisp_limits[COPY_FACTORY], sizeof Rtdisp);
    dsp.ldsp_available = dsp.ldual_transmit = dsp.ltest_signal_gen_cont = dsp.lfreq_cont_avail = 1;
    dsp.lXmtHorizontalOnly = dsp.lXmtVerticalOnly = dsp.lXmtSimultaneous = dsp.iCalSignalType = 1;
    dsp.lPolarAvailable = dual;
    dsp.lSimClutterWidNorm = !dual;
    dsp.iXmtTubeType = dsp.interface = 2;
    dsp.itype = 8;
    dsp.iwidcnt = 4;
    dsp.customTrig[0].iNumPeriods = dsp.customTrig[1].iNumPeriods = 64;
    Rtdisp.lEnabled = 1;
    Rtdisp.iChannelCount = 16;
    EXPECT_EQ(check_complaints(), "") << "dual " << dual;
  }
}

TEST_F(SignalProcessorPage, ProcessorInterfaceAndTypeDecideTheRows) {
  dsp.ldsp_available = 0;
  dsp.itype = 7;
  Rtdisp.iChannelCount = 1;
  build();
  EXPECT_FALSE(shown("Interface to KOX"));
  EXPECT_FALSE(section_shown("Calibration"));
  EXPECT_FALSE(section_shown("RTD Channel #1"));
  EXPECT_TRUE(section_shown("RTD Channel #0"));
  flip(item("System has a signal processor"), true);
  EXPECT_EQ(dsp.ldsp_available, 1);
  EXPECT_TRUE(section_shown("Custom Trigger Period Sequences"));
  EXPECT_TRUE(shown("Device file"));

  choose_nth("Interface to KOX", 2);  // DspExport
  EXPECT_EQ(dsp.interface, 4);
  EXPECT_FALSE(shown("Device file"));
  EXPECT_FALSE(section_shown("Pulse Width #1 (Code:0) Definitions"));
  type("DspExport hostname/IP-Address", "kox-host");
  EXPECT_STREQ(dsp.sDevice, "kox-host");
  choose_nth("Interface to KOX", 1);  // Native
  EXPECT_EQ(dsp.interface, 3);
  EXPECT_FALSE(shown("Device file"));
  choose_nth("Interface to KOX", 0);  // SCSI: the same text, typed under the other label
  EXPECT_EQ(text("Device file"), "kox-host");

  EXPECT_FALSE(shown("Signal-to-Noise Ratio (SNR)"));
  choose_nth("Processor Type", 1);  // KOX2
  EXPECT_EQ(dsp.itype, 8);
  EXPECT_TRUE(shown("Signal-to-Noise Ratio (SNR)"));
  type("Major mode 'USER4' custom name", "a name longer than fifteen");
  EXPECT_STREQ(dsp.sMajorModeNames[3], "a name longer t");
}

TEST_F(SignalProcessorPage, CountsShowThatManySections) {
  build();
  EXPECT_FALSE(section_shown("Pulse Width #3 (Code:2) Definitions"));
  type("Number of Pulsewidths", "4");
  EXPECT_TRUE(section_shown("Pulse Width #4 (Code:3) Definitions"));

  EXPECT_FALSE(shown("Seq #1, Pulse #4"));
  type("=== Length of Sequence #1 ===", "70");
  EXPECT_EQ(dsp.customTrig[0].iNumPeriods, 64);
  EXPECT_TRUE(shown("Seq #1, Pulse #64"));
  type("=== Length of Sequence #2 ===", "1");
  EXPECT_TRUE(shown("Seq #2, Pulse #1"));
  EXPECT_FALSE(shown("Seq #2, Pulse #2"));
  type("Seq #2, Pulse #1", "2.5");
  EXPECT_EQ(dsp.customTrig[1].iPeriods[0], 2500);

  EXPECT_FALSE(section_shown("RTD Channel #2"));
  type("Number of RTD channels", "3");
  EXPECT_TRUE(section_shown("RTD Channel #2"));
  choose_nth("System transmits RTD", 0);
  EXPECT_FALSE(section_shown("RTD Channel #0"));
  EXPECT_FALSE(shown("Number of RTD channels"));
  EXPECT_EQ(count_seen, 0);
}

TEST_F(SignalProcessorPage, ValuesStoreInTheirUnitsAndStoredPrfsAreClamped) {
  build();
  type("ZDR Tx/Rx gain offset", "-1.25");
  EXPECT_EQ(dsp.izdr_bias, -20);
  type("Gaseous attenuation", "0.5");
  activate(hints_of(item("Gaseous attenuation")).at(0));  // ".015 dB/km  S  Band"
  EXPECT_EQ(dsp.iGasAtten, 1500u);
  EXPECT_EQ(text("Gaseous attenuation"), "0.0150 dB/km");
  activate(hints_of(item("HV off time before Polar change")).at(0));  // "0.00 sec"
  EXPECT_EQ(dsp.iPolarRadiateOffWait, 0);

  // Without dual transmit the horizontal powers are edited under a plain
  // label; the other item of the field shows the stored value.
  EXPECT_FALSE(shown("Transmit power at calibration"));
  flip(item("Polarization transmit scheme"), false);
  EXPECT_FALSE(shown("Transmit power at calibration (V)"));
  type("Transmit power at calibration", "123456");
  EXPECT_EQ(dsp.itpower[0], 123456);
  flip(item("Polarization transmit scheme"), true);
  EXPECT_EQ(text("Transmit power at calibration (H)"), "123456 Watts");

  type("Minimum PRF", "10");
  EXPECT_EQ(dsp.iminprf[0], 50);
  EXPECT_EQ(text("Minimum PRF"), "50 Hertz");
  type("Minimum PRF", "30000");
  EXPECT_EQ(dsp.iminprf[0], 1200);  // above the maximum of 1200: lowered to it
  type("Maximum PRF", "3000");
  type("Minimum PRF", "5000");
  EXPECT_EQ(dsp.iminprf[0], 3000);
  EXPECT_EQ(text("Minimum PRF"), "3000 Hertz");
  type("Maximum PRF", "30000");
  EXPECT_EQ(dsp.imaxprf[0], 20000);
  // A minimum lowered by a later change of its maximum is shown at once.
  type("Maximum PRF", "1000");
  EXPECT_EQ(dsp.iminprf[0], 1000);
  EXPECT_EQ(text("Minimum PRF"), "1000 Hertz");
  // A value changed behind the window is shown after the next pass.
  dsp.idspprf = 30000;
  signal_processor_page(PassMeasure, nullptr, nullptr);
  EXPECT_EQ(text("Default PRF"), "20000 Hertz");
  EXPECT_TRUE(bounds_lines().empty());
}

}  // namespace
