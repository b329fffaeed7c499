// The signal processor page through its page function: listings of two
// configurations against hand-written files, checks and repairs, and the
// page's real widgets driven through their callbacks.
#include <gtest/gtest.h>
// gtest before the X headers, whose macros clash with its names.
#include <Xm/Xm.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/page_window.h"
#include "motif/bounds_dialog.h"
#include "motif/builders.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/sitelib.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

// ---------------------------------------------------------------------------
// Records

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

// The site library's own limits and factory values.
void load_site_limits() {
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY}) {
    ASSERT_EQ(setup_limits("dsp_manual_setup", &dsp_limits[copy], copy, 0), 1);
    ASSERT_EQ(setup_limits("rtdisp_setup", &Rtdisp_limits[copy], copy, 0), 1);
  }
}

void set_text(char *field, size_t size, const char *text) { snprintf(field, size, "%s", text); }

// A dual-polarisation KOX2 on SCSI with dual transmit, two pulse widths,
// a sequence of three pulses and two RTD channels.
void load_dual_pol() {
  std::memset(&dsp, 0, sizeof dsp);
  std::memset(&Rtdisp, 0, sizeof Rtdisp);
  dsp.ldsp_available = 1;
  dsp.interface = 2;
  set_text(dsp.sDevice, sizeof dsp.sDevice, "/dev/sga");
  dsp.iPortNumber = 30740;
  dsp.itype = 8;
  dsp.lPolarAvailable = 1;
  dsp.iSinglePolarization = 1;
  dsp.lDualReceiver = 1;
  dsp.ldual_transmit = 1;
  dsp.izdr_bias = 8;
  dsp.iburst_power_diff = -25;
  dsp.ildr_bias = 150;
  dsp.iPolarRadiateOffWait = 2500;
  dsp.iMaxPolarWait = 5000;
  dsp.lXmtHorizontalOnly = 1;
  dsp.lXmtSimultaneous = 1;
  dsp.lPhidpAvailable = 1;
  dsp.lRhohvAvailable = 1;
  dsp.lPhiAvailable = 1;
  dsp.lHClassAvailable = 1;
  dsp.lSnrAvailable = 1;
  set_text(dsp.sMajorModeNames[0], 16, "Clear air");
  set_text(dsp.sMajorModeNames[2], 16, "Storm");
  dsp.iwavelength = 532;
  dsp.iXmtTubeType = 2;
  dsp.lXmtPhaseControl = 1;
  dsp.idspprf = 1000;
  dsp.inoiseprf = 300;
  dsp.iwidcnt = 2;
  dsp.ipw_wait = 1500;
  dsp.ihorizwidth = 95;
  dsp.ivertwidth = 100;
  dsp.iantgain = 452;
  dsp.iCalSignalType = 1;
  dsp.fNoiseSourceENR = 15.5f;
  dsp.Horiz = {12, 15, 20, 5};
  dsp.Vert = {13, 16, 21, 6};
  dsp.ltest_signal_gen_cont = 1;
  dsp.lfreq_cont_avail = 1;
  dsp.fsignal_generator_min = 2.7f;
  dsp.fsignal_generator_max = 2.9f;
  dsp.finitial_signal_generator_frequency = 2.8f;
  dsp.isignal_generator_frequency_resolution = 10;
  dsp.ihoriz_test_signal_level = -5000;
  dsp.ivert_test_signal_level = -4950;
  dsp.iGasAtten = 1500;
  dsp.iwindow = 1;
  dsp.idspagcode = 3;
  dsp.idspdualdelay = 2;
  dsp.iDataWidths = 2;
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
  dsp.customTrig[0].iNumPeriods = 3;
  dsp.customTrig[0].iPeriods[0] = 1000;
  dsp.customTrig[0].iPeriods[1] = 1250;
  dsp.customTrig[0].iPeriods[2] = 2000;
  dsp.customTrig[0].iPeriods[3] = 9999;  // beyond the length: not listed
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
  dsp.interface = 3;
  dsp.itype = 7;
  dsp.lCheckByteOrder = 1;
  dsp.lPolarAvailable = 0;
  dsp.iwavelength = 1069;
  dsp.iXmtTubeType = 1;
  dsp.idspprf = 800;
  dsp.inoiseprf = 50;
  dsp.iwidcnt = 1;
  dsp.iPwRadiateOffWait = 500;
  dsp.ipw_wait = 2000;
  dsp.ihorizwidth = 100;
  dsp.iantgain = 400;
  dsp.iCalSignalType = 0;
  dsp.Horiz = {10, 11, 25, -3};
  dsp.ltest_signal_gen_cont = 0;
  dsp.iGasAtten = 1800;
  dsp.iwindow = 2;
  dsp.iDataWidths = 1;
  dsp.linvert_velocities = 1;
  dsp.isync_fuzz = 0;
  dsp.lSimClutterWidNorm = 1;
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
  Rtdisp.lEnabled = 0;
}

void run_page(uint32_t pass, XtPointer arg = nullptr) { signal_processor_page(pass, nullptr, arg); }

// The bounds lines that name `what`.
std::vector<std::string> lines_naming(const char *what) {
  std::vector<std::string> found;
  for (const std::string &line : bounds_lines())
    if (line.find(what) != std::string::npos) found.push_back(line);
  return found;
}

class SignalProcessorPage : public ::testing::Test {
 protected:
  void SetUp() override {
    snprintf(host_name, sizeof host_name, "%s", "testhost");
    count_seen = 0;
    load_dual_pol();
    set_test_limits();
    run_page(PassMeasure);
    clear_bounds_lines();
  }
};

// ---------------------------------------------------------------------------
// Headless passes

TEST_F(SignalProcessorPage, ListingsMatchHandWrittenFiles) {
  load_dual_pol();
  EXPECT_EQ(page_listing(signal_processor_page),
            read_file(SETUP_TEST_DATA_DIR "/signal_processor_dual_pol.txt"));
  load_single_pol();
  EXPECT_EQ(page_listing(signal_processor_page),
            read_file(SETUP_TEST_DATA_DIR "/signal_processor_single_pol.txt"));
}

TEST_F(SignalProcessorPage, PrfLimitsClampSilentlyAndOverwriteTheLimitCopies) {
  dsp.idspprf = 30000;
  dsp.inoiseprf = 10;
  dsp.iminprf[3] = 5000;
  dsp.imaxprf[3] = 3000;
  dsp_limits[COPY_FACTORY].idspprf = 33333;
  run_page(PassMeasure);
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
  run_page(PassCheck);
  EXPECT_EQ(lines_naming("UDP port #").size(), 1u);
  EXPECT_EQ(lines_naming("UDP port #2").size(), 1u);
  EXPECT_TRUE(lines_naming("Seq #1").empty());
  clear_bounds_lines();
  run_page(PassRepair);
  EXPECT_EQ(Rtdisp.Channel[1].iPortNum, 30730u);
  EXPECT_EQ(Rtdisp.Channel[5].iPortNum, 5u);
  EXPECT_EQ(dsp.customTrig[0].iPeriods[10], 1000);
  EXPECT_EQ(lines_naming("UDP port #").size(), 1u);
  EXPECT_TRUE(lines_naming("Seq #1").empty());
  EXPECT_EQ(count_seen, 0);
}

TEST_F(SignalProcessorPage, InternalErrorsNameTheLiteralPaths) {
  testing::internal::CaptureStderr();
  run_page(PassCheck);
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("'dsp.ipwidths[0]' (Pulsewidth)"), std::string::npos);
  EXPECT_NE(errors.find("'dsp.fnoise_equivalent_bandwidth[1]' (Noise equivalent bandwidth)"),
            std::string::npos);
  EXPECT_EQ(errors.find("ipwidths[2]"), std::string::npos);  // its section is hidden
  EXPECT_NE(errors.find("'Rtdisp.Channel[iChan].iXmtDataSet' (Data to send)"), std::string::npos);
  // Paths set in the test's limits give no report; the loops' own names do.
  EXPECT_EQ(errors.find("iNumPeriods"), std::string::npos);
  dsp_limits[COPY_MAX].customTrig[1].iPeriods[0] = 0;
  dsp.customTrig[1].iNumPeriods = 1;
  testing::internal::CaptureStderr();
  run_page(PassCheck);
  errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("'dsp.customTrig[iSequence].iPeriods[iPulse]' (Seq #2, Pulse #1)"),
            std::string::npos);
}

// The site's limits cover every number, choice and toggle of the page: with
// the factory values and every section shown, nothing is out of range and
// no field lacks its limits, with and without dual polarisation.
TEST_F(SignalProcessorPage, SiteFactoryValuesPassEveryCheck) {
  load_site_limits();
  for (bool dual : {true, false}) {
    std::memcpy(&dsp, &dsp_limits[COPY_FACTORY], sizeof dsp);
    std::memcpy(&Rtdisp, &Rtdisp_limits[COPY_FACTORY], sizeof Rtdisp);
    dsp.ldsp_available = dsp.ldual_transmit = dsp.ltest_signal_gen_cont = dsp.lfreq_cont_avail = 1;
    dsp.lXmtHorizontalOnly = dsp.lXmtVerticalOnly = dsp.lXmtSimultaneous = 1;
    dsp.lPolarAvailable = dual;
    dsp.lSimClutterWidNorm = !dual;
    dsp.iCalSignalType = 1;
    dsp.iXmtTubeType = 2;
    dsp.interface = 2;
    dsp.itype = 8;
    dsp.iwidcnt = 4;
    dsp.customTrig[0].iNumPeriods = dsp.customTrig[1].iNumPeriods = 64;
    Rtdisp.lEnabled = 1;
    Rtdisp.iChannelCount = 16;
    testing::internal::CaptureStderr();
    error_found = 0;
    run_page(PassCheck);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "dual " << dual;
    EXPECT_EQ(error_found, 0) << "dual " << dual << ": " << bounds_lines().back();
  }
}

// ---------------------------------------------------------------------------
// Widgets

// A page window of its own for each test: the page builds into it.
class SignalProcessorWindow : public SignalProcessorPage {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    SignalProcessorPage::SetUp();
  }
  void TearDown() override { view.destroy(); }

  void build() { view.build(PAGE_SIGNAL_PROCESSOR, signal_processor_page); }
  Widget item(const std::string &label, int nth = 0) {
    Widget w = view.item(label, nth);
    if (!w) ADD_FAILURE() << "no item labelled " << label;
    return w;
  }
  bool shown(const std::string &label, int nth = 0) { return view.shown(item(label, nth)); }
  bool section_shown(const std::string &title) {
    Widget w = view.section(title);
    if (!w) ADD_FAILURE() << "no section titled " << title;
    return view.shown(w);
  }
  void type(const std::string &label, const char *text, int nth = 0) { type_into(item(label, nth), text); }
  std::string text(const std::string &label, int nth = 0) { return field_text(item(label, nth)); }
  void choose(const std::string &label, int index) {
    activate(
        XtNameToWidget(get<Widget>(item(label), XmNsubMenuId), ("button_" + std::to_string(index)).c_str()));
  }
  void flip(const std::string &label, bool on) { ::flip(item(label), on); }
  void pick_hint(const std::string &label, int index) { activate(hints_of(item(label)).at(index)); }

  PageView view;
};

TEST_F(SignalProcessorWindow, WithoutProcessorOnlyTheFirstRowAndTheDisplayShow) {
  dsp.ldsp_available = 0;
  Rtdisp.iChannelCount = 1;
  build();
  EXPECT_TRUE(shown("System has a signal processor"));
  EXPECT_FALSE(shown("Interface to KOX"));
  EXPECT_FALSE(shown("Processor Type"));
  EXPECT_FALSE(section_shown("Calibration"));
  EXPECT_FALSE(section_shown("RTD Channel #1"));
  EXPECT_TRUE(section_shown("Real Time Display"));
  EXPECT_TRUE(section_shown("RTD Channel #0"));

  flip("System has a signal processor", true);
  EXPECT_EQ(dsp.ldsp_available, 1);
  EXPECT_TRUE(section_shown("Custom Trigger Period Sequences"));
  EXPECT_TRUE(shown("Device file"));
}

TEST_F(SignalProcessorWindow, InterfaceDecidesWhichRowEditsTheDeviceText) {
  build();
  EXPECT_TRUE(shown("Device file"));
  EXPECT_EQ(text("Device file"), "/dev/sga");
  choose("Interface to KOX", 2);  // DspExport
  EXPECT_EQ(dsp.interface, 4);
  EXPECT_TRUE(shown("DspExport hostname/IP-Address"));
  EXPECT_FALSE(shown("Device file"));
  EXPECT_FALSE(section_shown("Pulse Width #1 (Code:0) Definitions"));
  type("DspExport hostname/IP-Address", "kox-host");
  EXPECT_STREQ(dsp.sDevice, "kox-host");
  choose("Interface to KOX", 1);  // Native
  EXPECT_EQ(dsp.interface, 3);
  EXPECT_FALSE(shown("Device file"));
  choose("Interface to KOX", 0);  // SCSI: the same text, typed under the other label
  EXPECT_EQ(text("Device file"), "kox-host");
}

TEST_F(SignalProcessorWindow, NumberOfPulsewidthsShowsThatManySections) {
  build();
  EXPECT_TRUE(section_shown("Pulse Width #2 (Code:1) Definitions"));
  EXPECT_FALSE(section_shown("Pulse Width #3 (Code:2) Definitions"));
  type("Number of Pulsewidths", "4");
  EXPECT_TRUE(section_shown("Pulse Width #4 (Code:3) Definitions"));
  EXPECT_EQ(text("Noise equivalent bandwidth", 0), "0.75 Mhz");
  EXPECT_EQ(text("Noise equivalent bandwidth", 1), "0.50 MHz");
}

TEST_F(SignalProcessorWindow, DualTransmitShowsSeparatePowersOtherwiseTheHorizontalOnesAreEdited) {
  build();
  EXPECT_FALSE(shown("Transmit power at calibration"));
  flip("Polarization transmit scheme", false);
  EXPECT_FALSE(shown("Transmit power at calibration (V)"));
  type("Transmit power at calibration", "123456");
  EXPECT_EQ(dsp.itpower[0], 123456);
  EXPECT_EQ(text("Transmit power at calibration"), "123456 Watts");
  flip("Polarization transmit scheme", true);  // the other item of the field shows the stored value
  EXPECT_EQ(text("Transmit power at calibration (H)"), "123456 Watts");
}

TEST_F(SignalProcessorWindow, ScaledValuesShowAndStoreInTheirUnits) {
  build();
  EXPECT_EQ(text("ZDR Tx/Rx gain offset"), "0.50 dB");
  type("ZDR Tx/Rx gain offset", "-1.25");
  EXPECT_EQ(dsp.izdr_bias, -20);
  EXPECT_EQ(text("Gaseous attenuation"), "0.0150 dB/km");
  type("Gaseous attenuation", "0.5");
  pick_hint("Gaseous attenuation", 0);  // ".015 dB/km  S  Band"
  EXPECT_EQ(dsp.iGasAtten, 1500u);
  EXPECT_EQ(text("Gaseous attenuation"), "0.0150 dB/km");
  EXPECT_EQ(text("HV off time before Polar change"), "2.50 sec");
  pick_hint("HV off time before Polar change", 0);  // "0.00 sec"
  EXPECT_EQ(dsp.iPolarRadiateOffWait, 0);
  EXPECT_EQ(text("Seq #1, Pulse #1"), "1.000 usec");
  EXPECT_EQ(text("Transmit Wavelength"), "5.32 cm");
}

TEST_F(SignalProcessorWindow, SequenceLengthShowsItsPulseRows) {
  build();
  EXPECT_TRUE(shown("Seq #1, Pulse #3"));
  EXPECT_FALSE(shown("Seq #1, Pulse #4"));
  type("=== Length of Sequence #1 ===", "70");
  EXPECT_EQ(dsp.customTrig[0].iNumPeriods, 64);
  EXPECT_TRUE(shown("Seq #1, Pulse #64"));
  type("=== Length of Sequence #2 ===", "1");
  EXPECT_TRUE(shown("Seq #2, Pulse #1"));
  EXPECT_FALSE(shown("Seq #2, Pulse #2"));
  type("Seq #2, Pulse #1", "2.5");
  EXPECT_EQ(dsp.customTrig[1].iPeriods[0], 2500);
}

TEST_F(SignalProcessorWindow, ProcessorTypeShowsSnrAndModeNamesAreCutToTheirField) {
  dsp.itype = 7;
  build();
  EXPECT_FALSE(shown("Signal-to-Noise Ratio (SNR)"));
  choose("Processor Type", 1);  // KOX2
  EXPECT_EQ(dsp.itype, 8);
  EXPECT_EQ(text("Major mode 'USER3' custom name"), "Storm");
  type("Major mode 'USER4' custom name", "a name longer than fifteen");
  EXPECT_STREQ(dsp.sMajorModeNames[3], "a name longer t");
}

TEST_F(SignalProcessorWindow, ChannelCountShowsNumberedChannelSections) {
  build();
  EXPECT_FALSE(section_shown("RTD Channel #2"));
  EXPECT_EQ(text("UDP port #2"), "30731");
  type("Number of RTD channels", "3");
  EXPECT_TRUE(section_shown("RTD Channel #2"));
  choose("System transmits RTD", 0);
  EXPECT_FALSE(section_shown("RTD Channel #0"));
  EXPECT_FALSE(shown("Number of RTD channels"));
  EXPECT_EQ(count_seen, 0);
}

TEST_F(SignalProcessorWindow, StoredPrfsAreClampedAndTheFieldsShowTheStoredValue) {
  build();
  type("Minimum PRF", "10");
  EXPECT_EQ(dsp.iminprf[0], 50);
  EXPECT_EQ(text("Minimum PRF"), "50 Hertz");
  type("Minimum PRF", "30000");
  EXPECT_EQ(dsp.iminprf[0], 1200);  // above the maximum of 1200: lowered to it
  EXPECT_EQ(text("Minimum PRF"), "1200 Hertz");
  type("Maximum PRF", "3000");
  type("Minimum PRF", "5000");
  EXPECT_EQ(dsp.iminprf[0], 3000);
  EXPECT_EQ(text("Minimum PRF"), "3000 Hertz");
  type("Maximum PRF", "30000");
  EXPECT_EQ(dsp.imaxprf[0], 20000);
  EXPECT_EQ(text("Maximum PRF"), "20000 Hertz");
  // A minimum lowered by a later change of its maximum is shown at once.
  type("Maximum PRF", "1000");
  EXPECT_EQ(dsp.iminprf[0], 1000);
  EXPECT_EQ(text("Minimum PRF"), "1000 Hertz");
  // A value changed behind the window is shown after the next pass.
  dsp.idspprf = 30000;
  run_page(PassMeasure);
  EXPECT_EQ(text("Default PRF"), "20000 Hertz");
  EXPECT_TRUE(bounds_lines().empty());
}

}  // namespace
