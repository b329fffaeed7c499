// The signal processor (KOX) page: system type and attachment, optional
// polarisation data, system parameters, calibration, processing options,
// data simulation, the four pulse widths, custom trigger sequences and the
// real-time display with its sixteen channels.
#include <algorithm>

#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

// Attachments of dsp.interface.
enum { SCSI = 2, NATIVE = 3, DSP_EXPORT = 4 };
// Processor models of dsp.itype.
enum { KOX1 = 7, KOX2 = 8, KOX3 = 9 };
// Transmitter types of dsp.iXmtTubeType.
enum { MAGNETRON = 1 };
// Calibration signal bandwidths of dsp.iCalSignalType.
enum { BROAD_NOISE_SOURCE = 1 };

constexpr double ANGLE16 = 65536.0 / 360.0;  // 16-bit binary angle per degree

// Every processor model accepts the same PRF range, in hertz.
constexpr int32_t PRF_LOW = 50;
constexpr int32_t PRF_HIGH = 20000;

bool processor() { return dsp.ldsp_available != 0; }
bool attached() { return dsp.interface != DSP_EXPORT; }
bool processor_attached() { return processor() && attached(); }
bool dual_polarisation() { return dsp.lPolarAvailable != 0; }
bool dual_transmit() { return dual_polarisation() && dsp.ldual_transmit != 0; }
bool kox2_or_kox3() { return dsp.itype == KOX2 || dsp.itype == KOX3; }
bool custom_triggers() { return dsp.itype == KOX1 || kox2_or_kox3(); }
bool signal_generator_control() { return dsp.ltest_signal_gen_cont != 0; }
bool rtd_enabled() { return Rtdisp.lEnabled != 0; }

PageState page = page_state(PAGE_SIGNAL_PROCESSOR);

void system_type(PageWalk &w) {
  w.section(_("System Type"), "system_type");
  w.row();
  w.toggle(FIELD(dsp.ldsp_available), _("System has a signal processor"), _("Yes"), _("No"));
  w.row(processor(), _("the system has a signal processor"));
  w.choice(FIELD(dsp.interface), _("Interface to KOX"),
           {{_(" SCSI "), SCSI}, {_("Native"), NATIVE}, {_("DspExport"), DSP_EXPORT}});
  w.row(processor() && dsp.interface == SCSI,
        _("the system has a signal processor and the interface to KOX is SCSI"));
  w.text(TEXT(dsp.sDevice), _("Device file"), {"/dev/sga"});
  w.row(processor() && dsp.interface == DSP_EXPORT,
        _("the system has a signal processor and the interface to KOX is DspExport"));
  w.text(TEXT(dsp.sDevice), _("DspExport hostname/IP-Address"), {"192.168.10.30"});
  w.number(FIELD(dsp.iPortNumber), _("DspExport Port Number"), "%.0f", 1, {w.hint("%d", 30740)});
  w.row(processor_attached(),
        _("the system has a signal processor and the interface to KOX is not DspExport"));
  w.choice(FIELD(dsp.itype), _("Processor Type"),
           {{_("  KOX1  "), KOX1}, {_("  KOX2  "), KOX2}, {_(" KOX3 "), KOX3}});
  w.toggle(FIELD(dsp.lCheckByteOrder), _("Check byte order on powerup"), _("Yes"), _("No"));
}

void optional_data_parameters(PageWalk &w) {
  w.section(_("Optional Data Parameters"), "optional_data_parameters", processor_attached(),
            _("the system has a signal processor and the interface to KOX is not DspExport"));
  w.row();
  w.toggle(FIELD(dsp.lPolarAvailable), _("Polarization Diversity"), _("Enabled"), _("Disabled"));
  w.row(!dual_polarisation(), _("polarization diversity is disabled"));
  w.choice(FIELD(dsp.iSinglePolarization), _("Polarization"), {{_("Horizontal"), 0}, {_("Vertical"), 1}});
  w.row(dual_polarisation(), _("polarization diversity is enabled"));
  w.toggle(FIELD(dsp.lDualReceiver), _("Polarization receiver scheme"), _("Dual"), _("Single"));
  w.toggle(FIELD(dsp.ldual_transmit), _("Polarization transmit scheme"), _("Dual"), _("Single"));
  w.number(FIELD(dsp.izdr_bias), _("ZDR Tx/Rx gain offset"), _("%.2f dB"), 16);
  w.row(dual_transmit(), _("polarization diversity is enabled and the polarization transmit scheme is Dual"));
  w.number(FIELD(dsp.iburst_power_diff), _("Burst power diff. (v/h) at calibr."), _("%.2f dB"), 100);
  w.row(dual_polarisation(), _("polarization diversity is enabled"));
  w.number(FIELD(dsp.ildr_bias), _("LDR Rx gain offset"), _("%.2f dB"), 100);
  w.number(FIELD(dsp.iPolarRadiateOffWait), _("HV off time before Polar change"), _("%.2f sec"), 1000,
           {w.hint(_("%.2f sec"), 0.0)});
  w.number(FIELD(dsp.iMaxPolarWait), _("Max Wait for Polarization change"), _("%.1f sec"), 1000,
           {w.hint(_("%.1f sec"), 5.0)});
  w.toggle(FIELD(dsp.lXmtHorizontalOnly), _("XMT Supports Horizontal Only"), _("Yes"), _("No"));
  w.toggle(FIELD(dsp.lXmtVerticalOnly), _("XMT Supports Vertical Only"), _("Yes"), _("No"));
  w.toggle(FIELD(dsp.lXmtSimultaneous), _("XMT Supports Simultaneous"), _("Yes"), _("No"));
  w.toggle(FIELD(dsp.lXmtAlternating), _("XMT Supports Alternation"), _("Yes"), _("No"));
  w.toggle(FIELD(dsp.lPhidpAvailable), _("Differential Phase (PhiDP)"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(dsp.lRhohvAvailable), _("Correlation Coefficient (RhoHV)"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(dsp.lLdrAvailable), _("Depolarization Ratio (LdrH&V)"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(dsp.lRhoAvailable), _("Covariance Magnitude (RhoH&V)"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(dsp.lPhiAvailable), _("Covariance Angle (PhiH&V)"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(dsp.lHClassAvailable), _("HydroClass (HClass)"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(dsp.lSqiAvailable), _("Signal Quality Index (SQI)"), _("Enabled"), _("Disabled"));
  w.row(kox2_or_kox3(), _("the processor type is KOX2 or KOX3"));
  w.toggle(FIELD(dsp.lSnrAvailable), _("Signal-to-Noise Ratio (SNR)"), _("Enabled"), _("Disabled"));
  for (int n = 1; n <= DSP_MAJOR_MODES; ++n)
    w.text(TEXT(dsp.sMajorModeNames[n - 1]), w.label(_("Major mode 'USER%d' custom name"), n));
}

void system_parameters(PageWalk &w) {
  w.section(_("System Parameters"), "system_parameters", processor_attached(),
            _("the system has a signal processor and the interface to KOX is not DspExport"));
  w.row();
  w.number(FIELD(dsp.iwavelength), _("Transmit Wavelength"), _("%.2f cm"), 100);
  w.choice(FIELD(dsp.iXmtTubeType), _("Transmitter Type"),
           {{_("Magnetron"), MAGNETRON}, {_("Klystron"), 2}, {_("TWT"), 3}, {_("SSPA"), 4}});
  w.row(dsp.iXmtTubeType != MAGNETRON, _("the transmitter is not a magnetron"));
  w.toggle(FIELD(dsp.lXmtPhaseControl), _("XMT has phase control"), _("Yes"), _("No"));
  w.row();
  w.number(FIELD(dsp.idspprf), _("Default PRF"), _("%.0f Hertz"), 1);
  w.number(FIELD(dsp.inoiseprf), _("Noise Sample PRF"), _("%.0f Hertz"), 1);
  w.number(FIELD(dsp.iwidcnt), _("Number of Pulsewidths"), "%.0f", 1);
  w.number(FIELD(dsp.iPwRadiateOffWait), _("HV off time before PW change"), _("%.2f sec"), 1000,
           {w.hint(_("%.2f sec"), 0.0)});
  w.number(FIELD(dsp.ipw_wait), _("Wait time after PW change"), _("%.2f sec"), 1000,
           {w.hint(_("%.2f sec"), 1.5)});
}

void calibration(PageWalk &w) {
  w.section(_("Calibration"), "kox_calibration", processor_attached(),
            _("the system has a signal processor and the interface to KOX is not DspExport"));
  w.row();
  w.number(FIELD(dsp.ihorizwidth), _("Horizontal beamwidth"), _("%.2f deg"), 100);
  w.number(FIELD(dsp.ivertwidth), _("Vertical beamwidth"), _("%.2f deg"), 100);
  w.number(FIELD(dsp.iantgain), _("Antenna gain"), _("%.1f dB"), 10);
  w.choice(FIELD(dsp.iCalSignalType), _("Cal signal bandwidth"),
           {{_("Narrow (SG)"), 0}, {_("Broad (NS)"), BROAD_NOISE_SOURCE}});
  w.row(dsp.iCalSignalType == BROAD_NOISE_SOURCE, _("the cal signal bandwidth is Broad (NS)"));
  w.number(FIELD(dsp.fNoiseSourceENR), _("Noise source ENR value"), _("%.1f dB"), 1);
  w.row(dual_polarisation() && dsp.lXmtHorizontalOnly != 0,
        _("polarization diversity is enabled and the transmitter supports horizontal only"));
  w.number(FIELD(dsp.Horiz.iXmtLossSingle), _("Horiz Transmit loss H Only"), _("%.1f dB"), 10);
  w.row(dual_polarisation() && dsp.lXmtSimultaneous != 0,
        _("polarization diversity is enabled and the transmitter supports simultaneous"));
  w.number(FIELD(dsp.Horiz.iXmtLossHAndV), _("Horiz Transmit loss H+V"), _("%.1f dB"), 10);
  w.row(dual_polarisation(), _("polarization diversity is enabled"));
  w.number(FIELD(dsp.Horiz.iRcvLoss), _("Horiz Receive loss"), _("%.1f dB"), 10);
  w.number(FIELD(dsp.Horiz.iTestLoss), _("Horiz Test signal loss"), _("%.1f dB"), 10);
  w.row(dual_polarisation() && dsp.lXmtVerticalOnly != 0,
        _("polarization diversity is enabled and the transmitter supports vertical only"));
  w.number(FIELD(dsp.Vert.iXmtLossSingle), _("Vert Transmit loss V Only"), _("%.1f dB"), 10);
  w.row(dual_polarisation() && dsp.lXmtSimultaneous != 0,
        _("polarization diversity is enabled and the transmitter supports simultaneous"));
  w.number(FIELD(dsp.Vert.iXmtLossHAndV), _("Vert Transmit loss H+V"), _("%.1f dB"), 10);
  w.row(dual_polarisation(), _("polarization diversity is enabled"));
  w.number(FIELD(dsp.Vert.iRcvLoss), _("Vert Receive loss"), _("%.1f dB"), 10);
  w.number(FIELD(dsp.Vert.iTestLoss), _("Vert Test signal loss"), _("%.1f dB"), 10);
  w.row(!dual_polarisation(), _("polarization diversity is disabled"));
  w.number(FIELD(dsp.Horiz.iXmtLossSingle), _("Transmit loss"), _("%.1f dB"), 10);
  w.number(FIELD(dsp.Horiz.iRcvLoss), _("Receive loss"), _("%.1f dB"), 10);
  w.number(FIELD(dsp.Horiz.iTestLoss), _("Test signal loss"), _("%.1f dB"), 10);
  w.row();
  w.toggle(FIELD(dsp.ltest_signal_gen_cont), _("Test signal gen control in use"), _("Yes"), _("No"));
  w.row(signal_generator_control(), _("test signal generator control is in use"));
  w.toggle(FIELD(dsp.lfreq_cont_avail), _("Frequency control available"), _("Yes"), _("No"));
  w.row(signal_generator_control() && dsp.lfreq_cont_avail != 0,
        _("test signal generator control is in use with frequency control"));
  w.number(FIELD(dsp.fsignal_generator_min), _("Signal generator min"), _("%9.6f GHz"), 1);
  w.number(FIELD(dsp.fsignal_generator_max), _("Signal generator max"), _("%9.6f GHz"), 1);
  w.number(FIELD(dsp.finitial_signal_generator_frequency), _("Signal generator initial frequency"),
           _("%9.6f GHz"), 1);
  w.choice(FIELD(dsp.isignal_generator_frequency_resolution), _("Signal generator frequency step"),
           {{_("1 k"), 1}, {_("10 k"), 10}, {_("100 k"), 100}, {_("1000 k"), 1000}});
  w.row(signal_generator_control(), _("test signal generator control is in use"));
  w.toggle(FIELD(dsp.llevel_cont_avail), _("Level control available"), _("Yes"), _("No"));
  w.row(signal_generator_control() && dsp.llevel_cont_avail == 0,
        _("test signal generator control is in use without level control"));
  w.number(FIELD(dsp.ihoriz_test_signal_level), _("Horiz test signal level"), _("%.2f dBm"), 100);
  w.number(FIELD(dsp.ivert_test_signal_level), _("Vert test signal level"), _("%.2f dBm"), 100);
}

void signal_processing_options(PageWalk &w) {
  w.section(_("Signal Processing Options"), "signal_processing_options", processor_attached(),
            _("the system has a signal processor and the interface to KOX is not DspExport"));
  w.row();
  // A band entry is read as the number at its start.
  w.number(FIELD(dsp.iGasAtten), _("Gaseous attenuation"), _("%.4f dB/km"), 100000,
           {_(".015 dB/km  S  Band"), _(".018 dB/km  C  Band"), _(".022 dB/km  X  Band"),
            _(".060 dB/km  Ka Band"), _(".200 dB/km  W  Band")});
  w.choice(FIELD(dsp.iwindow), _("Power spectrum window"),
           {{_("Hamming (Def)"), 1}, {_("Rectangular"), 0}, {_("Blackman"), 2}});
  w.number(FIELD(dsp.idspagcode), _("AGC decay code"), "%.0f", 1, {"3"});
  w.number(FIELD(dsp.idspdualdelay), _("Dual-PRF / AGC delay"), "%.0f", 1, {"2"});
  w.choice(FIELD(dsp.iDataWidths), _("Parameter data width"), {{_("8-Bit (Def)"), 1}, {_("8&16 Bit"), 2}});
  w.toggle(FIELD(dsp.linvert_velocities), _("Velocity sign"), _("Inverted"), _("Normal"));
  w.number(FIELD(dsp.isync_fuzz), _("Sync mode fuzz angle"), _("%.2f deg"), ANGLE16,
           {w.hint(_("%.2f deg"), 0.15)});
}

void data_simulations(PageWalk &w) {
  w.section(_("Data Simulations"), "data_simulations", processor_attached(),
            _("the system has a signal processor and the interface to KOX is not DspExport"));
  w.row();
  w.toggle(FIELD(dsp.lSimClutterWidNorm), _("Clutter width scientific units"), _("Normalized"),
           _("meters/sec"));
  w.row(processor() && dsp.lSimClutterWidNorm == 0, _("the clutter width is in meters/sec"));
  w.number(FIELD(dsp.fSimClutterWidth), _("Clutter width (Gaussian model)"), _("%.2f m/sec"), 1);
  w.row(processor() && dsp.lSimClutterWidNorm != 0, _("the clutter width is normalized"));
  w.number(FIELD(dsp.fSimClutterWidth), _("Clutter width (Gaussian model)"), _("%.3f (norm)"), 1);
}

// One pulse width's definitions: element c of the pulse-width arrays.
void pulse_width(PageWalk &w, int c) {
  static const char *const titles[DSP_PULSE_WIDTHS] = {
      N_("Pulse Width #1 (Code:0) Definitions"), N_("Pulse Width #2 (Code:1) Definitions"),
      N_("Pulse Width #3 (Code:2) Definitions"), N_("Pulse Width #4 (Code:3) Definitions")};
  static const char *const output_bits[DSP_PULSE_WIDTHS] = {"1", "2", "4", "8"};

  w.section(_(titles[c]), "pulsewidth_definitions", processor_attached() && dsp.iwidcnt > c,
            _("the system has a signal processor and the interface to KOX is not DspExport and the Number of "
              "Pulsewidths counts this pulse width"));
  w.row();
  w.number(FIELD_AT(dsp.ipwidths, c), _("Pulsewidth"), _("%.2f usec"), 100);
  w.number(FIELD_AT(dsp.iRangeMaskSpacing, c), _("Range mask spacing"), _("%.2f meters"), 100,
           {w.hint(_("%.2f meters"), 125.0)});
  w.number(FIELD_AT(dsp.ipwbits, c), _("Output bit pattern"), "%.0f", 1, {output_bits[c]});
  w.number(FIELD_AT(dsp.iminprf, c), _("Minimum PRF"), _("%.0f Hertz"), 1);
  w.number(FIELD_AT(dsp.imaxprf, c), _("Maximum PRF"), _("%.0f Hertz"), 1);
  w.row(dual_transmit(), _("polarization diversity is enabled and the polarization transmit scheme is Dual"));
  w.number(FIELD_AT(dsp.itpower, c), _("Transmit power at calibration (H)"), _("%.0f Watts"), 1);
  w.number(FIELD_AT(dsp.itpower_v, c), _("Transmit power at calibration (V)"), _("%.0f Watts"), 1);
  w.number(FIELD_AT(dsp.iburst_pwr_calib_h, c), _("Burst power at calibration (H)"), _("%.2f dBm"), 100);
  w.number(FIELD_AT(dsp.iburst_pwr_calib_v, c), _("Burst power at calibration (V)"), _("%.2f dBm"), 100);
  w.row(!dual_transmit(), _("polarization diversity is disabled or the transmit scheme is Single"));
  w.number(FIELD_AT(dsp.itpower, c), _("Transmit power at calibration"), _("%.0f Watts"), 1);
  w.number(FIELD_AT(dsp.iburst_pwr_calib_h, c), _("Burst power at calibration"), _("%.2f dBm"), 100);
  w.row();
  w.number(FIELD_AT(dsp.idigital_filter_loss_calib, c), _("Digital filter loss at calibration"), _("%.2f dB"),
           100);
  w.number(FIELD_AT(dsp.fnoise_equivalent_bandwidth, c), _("Noise equivalent bandwidth"),
           c == 0 ? _("%.2f Mhz") : _("%.2f MHz"), 1);
}

// Lengths of the four sequences; the pulse periods of the first two, one
// row per pulse, shown up to the sequence's length.
void custom_trigger_sequences(PageWalk &w) {
  w.section(_("Custom Trigger Period Sequences"), "custom_trigger_period_sequences",
            processor_attached() && custom_triggers(),
            _("the system has a signal processor and the interface to KOX is not DspExport and the processor "
              "type is KOX1, KOX2 or KOX3"));
  w.row();
  for (int iSequence = 0; iSequence < DSP_TRIGGER_SEQUENCES; ++iSequence) {
    w.number(FIELD(dsp.customTrig[iSequence].iNumPeriods),
             w.label(_("=== Length of Sequence #%d ==="), iSequence + 1), _("%.0f Pulses"), 1);
    if (iSequence >= 2) continue;
    for (int iPulse = 0; iPulse < DSP_TRIGGER_PERIODS; ++iPulse) {
      w.row(iPulse < dsp.customTrig[iSequence].iNumPeriods,
            _("the length of the sequence counts this pulse"));
      w.number(FIELD(dsp.customTrig[iSequence].iPeriods[iPulse]),
               w.label(_("Seq #%d, Pulse #%d"), iSequence + 1, iPulse + 1), _("%.3f usec"), 1000);
    }
    w.row();
  }
}

// The real-time display and its channels. Channels beyond the channel
// count are neither checked nor repaired.
void real_time_display(PageWalk &w) {
  const char *const topic = "setting-up_real_time_display_(rtd)";
  w.section(_("Real Time Display"), topic);
  w.row();
  w.choice(FIELD(Rtdisp.lEnabled), _("System transmits RTD"),
           {{_("   No   "), 0}, {_("From App"), 1}, {_("From KOX"), 2}});
  w.row(rtd_enabled(), _("the system transmits RTD"));
  w.number(FIELD(Rtdisp.iPriority), _("RTD transmitter priority"), "%.0f", 1, {"-4"});
  w.number(FIELD(Rtdisp.irtd_max_bins), _("Max. number of bins in display"), "%.0f", 1, {"500"});
  w.number(FIELD(Rtdisp.iChannelCount), _("Number of RTD channels"), "%.0f", 1);
  w.count_seen();
  for (int iChan = 0; iChan < RTD_CHANNELS; ++iChan) {
    w.section(w.title(_("RTD Channel #%d"), iChan), topic,
              rtd_enabled() && Rtdisp.iChannelCount > static_cast<uint32_t>(iChan),
              _("the system transmits RTD and the Number of RTD channels counts this channel"));
    w.row();
    w.text(TEXT(Rtdisp.Channel[iChan].sXmtName), w.label(_("Name of RTD transmitter #%d"), iChan + 1),
           {"rtd_v1_xmt"});
    w.text(TEXT(Rtdisp.Channel[iChan].sBroadcastAddress), w.label(_("Broadcast IP address #%d"), iChan + 1));
    w.number(FIELD(Rtdisp.Channel[iChan].iPortNum), w.label(_("UDP port #%d"), iChan + 1), "%.0f", 1,
             {w.hint("%d", 30730)});
    w.choice(FIELD(Rtdisp.Channel[iChan].iXmtDataSet), _("Data to send"),
             {{_("Z,V&W"), 0}, {_("All Single Pol"), 1}, {_("Dual Pol"), 2}});
  }
  w.count_done();
}

// Stores a PRF that the limits changed and shows it again in its fields, so
// that the window never shows a value other than the one kept.
void set_prf(int32_t &field, int32_t value) {
  if (field == value) return;
  field = value;
  page_redisplay_field(page, &field);
}

// Gives one PRF field the fixed limits in the limit copies and clamps the
// current value into them. `at` selects the field in any copy of the record.
template <typename FieldOf>
void limit_prf(FieldOf at) {
  at(dsp_limits[COPY_MIN]) = PRF_LOW;
  at(dsp_limits[COPY_MAX]) = PRF_HIGH;
  int32_t &value = at(dsp);
  set_prf(value, std::clamp(value, PRF_LOW, PRF_HIGH));
}

// Run at the end of every pass but the visit: the PRFs of the pulse widths
// (a minimum never above its maximum), the default PRF and the noise sample
// PRF. The factory copy keeps its values.
void apply_prf_limits() {
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) {
    limit_prf([c](dsp_setup &r) -> int32_t & { return r.iminprf[c]; });
    limit_prf([c](dsp_setup &r) -> int32_t & { return r.imaxprf[c]; });
    if (dsp.iminprf[c] > dsp.imaxprf[c]) set_prf(dsp.iminprf[c], dsp.imaxprf[c]);
  }
  limit_prf([](dsp_setup &r) -> int32_t & { return r.idspprf; });
  limit_prf([](dsp_setup &r) -> int32_t & { return r.inoiseprf; });
}

}  // namespace

void signal_processor_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);
  w.upkeep_after_walk(apply_prf_limits);
  system_type(w);
  optional_data_parameters(w);
  system_parameters(w);
  calibration(w);
  signal_processing_options(w);
  data_simulations(w);
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) pulse_width(w, c);
  custom_trigger_sequences(w);
  real_time_display(w);
}
