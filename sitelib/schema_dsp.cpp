// Signal processor (KOX) and real-time display setups: limits and factory
// values.
#define SITELIB_SCHEMA_TABLES
#include "sitelib/schema.h"

namespace {
const dsp_setup dsp{};  // shapes of the records the paths name
const rtdisp_setup Rtdisp{};

enum { PRF_MIN = 50, PRF_MAX = 20000 };  // Hz, every processor type

// Per pulse width 1 to 4: a short pulse for long range to a long one.
const int kPulseWidths[DSP_PULSE_WIDTHS] = {80, 200, 330, 500};  // 0.01 us
const int kPulseBits[DSP_PULSE_WIDTHS] = {1, 2, 4, 8};
const int kMaxPrf[DSP_PULSE_WIDTHS] = {2000, 1200, 800, 500};               // Hz
const float kNoiseBandwidth[DSP_PULSE_WIDTHS] = {1.25f, 0.5f, 0.3f, 0.2f};  // MHz

void losses(SchemaBuilder &b, const dsp_losses &el, const std::string &at) {
  b.number(E(iXmtLossSingle), 0, 600, 20);  // 0.1 dB
  b.number(E(iXmtLossHAndV), 0, 600, 50);
  b.number(E(iRcvLoss), 0, 600, 20);
  b.number(E(iTestLoss), 0, 600, 350);
}

void trigger_sequence(SchemaBuilder &b, const dsp_trigger_sequence &el, const std::string &at) {
  b.number(E(iNumPeriods), 0, DSP_TRIGGER_PERIODS, 0);
  // Pulse periods of 50 us (20 kHz) to 20 ms (50 Hz), in ns.
  for (int p = 0; p < DSP_TRIGGER_PERIODS; ++p)
    b.number(el.iPeriods[p], indexed(at + ".iPeriods", p), 50000, 20000000, 1000000);
}

Schema build_dsp() {
  Schema s;
  s.name = "dsp_manual_setup";
  SchemaBuilder b(s, &dsp, sizeof dsp);
  b.flag(F(dsp.ldsp_available), 1);
  b.choice(F(dsp.itype), {7, 8, 9}, 8);  // KOX1, KOX2, KOX3
  b.flag(F(dsp.lCheckByteOrder), 0);
  b.choice(F(dsp.interface), {2, 3, 4}, 3);  // SCSI, native, DspExport
  b.text(F(dsp.sDevice), "");
  b.number(F(dsp.iPortNumber), 1, 65535, 30740);                 // TCP port
  b.number(F(dsp.isync_fuzz), deg16(0), deg16(5), deg16(0.15));  // binary angle
  b.number(F(dsp.iwidcnt), 0, DSP_PULSE_WIDTHS, DSP_PULSE_WIDTHS);
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c)
    b.number(A(dsp.ipwidths, c), 5, 20000, kPulseWidths[c]);  // 0.01 us
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.ipwbits, c), 0, 255, kPulseBits[c]);
  b.number(F(dsp.iwavelength), 10, 3000, 533);  // 0.01 cm: 0.1 to 30 cm, C band
  b.number(F(dsp.idspprf), PRF_MIN, PRF_MAX, 1000);
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.iminprf, c), PRF_MIN, PRF_MAX, 250);
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.imaxprf, c), PRF_MIN, PRF_MAX, kMaxPrf[c]);
  b.number(F(dsp.inoiseprf), PRF_MIN, PRF_MAX, 250);
  b.number(F(dsp.iPwRadiateOffWait), 0, 60000, 0);  // ms
  b.number(F(dsp.ipw_wait), 0, 60000, 1500);
  b.number(F(dsp.ihorizwidth), 10, 1000, 100);  // 0.01 deg
  b.number(F(dsp.ivertwidth), 10, 1000, 100);
  b.number(F(dsp.iantgain), 0, 600, 450);       // 0.1 dB
  b.number(F(dsp.fNoiseSourceENR), 0, 50, 15);  // dB
  losses(b, F(dsp.Horiz));
  losses(b, F(dsp.Vert));
  b.number(F(dsp.idspagcode), 0, 15, 3);
  b.number(F(dsp.idspdualdelay), 0, 15, 2);
  b.number(F(dsp.ildr_bias), -2000, 2000, 0);      // 0.01 dB
  b.number(F(dsp.izdr_bias), -160, 160, 0);        // 1/16 dB
  b.choice(F(dsp.iXmtTubeType), {1, 2, 3, 4}, 1);  // magnetron, klystron, TWT, SSPA
  b.flag(F(dsp.lXmtPhaseControl), 0);
  b.flag(F(dsp.lPolarAvailable), 0);
  b.choice(F(dsp.iSinglePolarization), {0, 1}, 0);     // horizontal, vertical
  b.number(F(dsp.iPolarRadiateOffWait), 0, 60000, 0);  // ms
  b.number(F(dsp.iMaxPolarWait), 0, 60000, 5000);
  b.flag(F(dsp.lDualReceiver), 1);
  b.flag(F(dsp.lPhidpAvailable), 1);
  b.flag(F(dsp.lRhohvAvailable), 1);
  b.flag(F(dsp.lHClassAvailable), 1);
  b.flag(F(dsp.lSqiAvailable), 1);
  b.flag(F(dsp.lSnrAvailable), 1);
  b.flag(F(dsp.lLdrAvailable), 0);
  b.flag(F(dsp.lPhiAvailable), 0);
  b.flag(F(dsp.lRhoAvailable), 0);
  b.flag(F(dsp.lXmtHorizontalOnly), 1);
  b.flag(F(dsp.lXmtVerticalOnly), 0);
  b.flag(F(dsp.lXmtAlternating), 0);
  b.flag(F(dsp.lXmtSimultaneous), 1);
  b.choice(F(dsp.iCalSignalType), {0, 1}, 0);  // narrow (signal generator), broad (noise source)
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.itpower, c), 0, 5000000, 250000);            // W
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.iRangeMaskSpacing, c), 100, 100000, 12500);  // cm
  b.choice(F(dsp.iwindow), {1, 0, 2}, 1);  // Hamming, rectangular, Blackman
  b.flag(F(dsp.linvert_velocities), 0);
  b.choice(F(dsp.iDataWidths), {1, 2}, 1);      // 8 bit, 8 and 16 bit
  b.number(F(dsp.iGasAtten), 0, 100000, 1800);  // 1e-5 dB/km: up to 1 dB/km, C band
  for (int i = 0; i < DSP_TRIGGER_SEQUENCES; ++i) trigger_sequence(b, A(dsp.customTrig, i));
  for (int i = 0; i < DSP_MAJOR_MODES; ++i) b.text(A(dsp.sMajorModeNames, i), "");
  b.flag(F(dsp.lSimClutterWidNorm), 0);
  b.number(F(dsp.fSimClutterWidth), 0, 10, 0.25);      // m/s or normalised
  b.number(F(dsp.iburst_power_diff), -1000, 1000, 0);  // 0.01 dB
  b.flag(F(dsp.ldual_transmit), 1);
  b.flag(F(dsp.ltest_signal_gen_cont), 0);
  b.flag(F(dsp.lfreq_cont_avail), 0);
  b.flag(F(dsp.llevel_cont_avail), 0);
  b.number(F(dsp.ihoriz_test_signal_level), -15000, 3000, -5000);  // 0.01 dBm
  b.number(F(dsp.ivert_test_signal_level), -15000, 3000, -5000);
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.itpower_v, c), 0, 5000000, 250000);  // W
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c)
    b.number(A(dsp.iburst_pwr_calib_h, c), -6000, 6000, 2000);  // 0.01 dBm
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c) b.number(A(dsp.iburst_pwr_calib_v, c), -6000, 6000, 2000);
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c)
    b.number(A(dsp.idigital_filter_loss_calib, c), 0, 2000, 100);  // 0.01 dB
  for (int c = 0; c < DSP_PULSE_WIDTHS; ++c)
    b.number(A(dsp.fnoise_equivalent_bandwidth, c), 0.01, 100, kNoiseBandwidth[c]);  // MHz
  b.number(F(dsp.fsignal_generator_min), 0.5, 40, 5.5);                              // GHz
  b.number(F(dsp.fsignal_generator_max), 0.5, 40, 5.75);
  b.number(F(dsp.finitial_signal_generator_frequency), 0.5, 40, 5.625);
  b.choice(F(dsp.isignal_generator_frequency_resolution), {1, 10, 100, 1000}, 1);  // kHz
  return s;
}

void rtd_channel(SchemaBuilder &b, const rtdisp_channel &el, const std::string &at, int c) {
  b.text(E(sXmtName), c == 0 ? "rtd_v1_xmt" : "");
  b.text(E(sBroadcastAddress), "");
  b.number(E(iPortNum), 1, 65535, 30730 + c);  // UDP port, one per channel
  b.choice(E(iXmtDataSet), {0, 1, 2}, 0);      // Z,V&W, all single pol, dual pol
}

Schema build_rtdisp() {
  Schema s;
  s.name = "rtdisp_setup";
  SchemaBuilder b(s, &Rtdisp, sizeof Rtdisp);
  b.choice(F(Rtdisp.lEnabled), {0, 1, 2}, 0);  // no, from the application, from KOX
  b.number(F(Rtdisp.irtd_max_bins), 10, 4096, 500);
  b.number(F(Rtdisp.iPriority), -20, 19, -4);  // process priority
  b.number(F(Rtdisp.iChannelCount), 0, RTD_CHANNELS, 1);
  for (int c = 0; c < RTD_CHANNELS; ++c) rtd_channel(b, A(Rtdisp.Channel, c), c);
  return s;
}
}  // namespace

const Schema &dsp_schema() {
  static const Schema schema = build_dsp();
  return schema;
}

const Schema &rtdisp_schema() {
  static const Schema schema = build_rtdisp();
  return schema;
}
