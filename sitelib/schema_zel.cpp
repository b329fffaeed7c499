// Control processor (ZEL) setup: limits and factory values.
#define SITELIB_SCHEMA_TABLES
#include "sitelib/schema.h"

namespace {
const zel_setup zel{};  // shape of the record the paths name

// Choice values the pages offer.
const std::initializer_list<long> kRcvFormats = {3, 2, 1, 6, 5};  // RCV01, RCV02, RCV03, RCV05, SA 3860
const std::initializer_list<long> kXmtFormats = {3, 2, 6, 5};     // XMT01, XMT02, XMT05, SA 3860
const std::initializer_list<long> kParities = {0, 1, 2};          // none, odd, even
const std::initializer_list<long> kAxisModes = {0, 2, 1};         // stopped, position, velocity

void control_bit(SchemaBuilder &b, const zel_control_bit &el, const std::string &at) {
  b.flag(E(lenabled), 0);
  b.flag(E(lhigh), 1);
  b.flag(E(linitial_high), 0);
}

void status_bit(SchemaBuilder &b, const zel_status_bit &el, const std::string &at) {
  b.flag(E(lenabled), 0);
  b.flag(E(lhigh), 1);
  b.flag(E(lCritical), 0);
}

const char *const kModeNames[ZEL_MODE_NAMES] = {"",     "OPERATE", "STANDBY", "MAINT",
                                                "TEST", "CALIB",   "OFFLINE", "SIMUL"};

Schema build() {
  Schema s;
  s.name = "ant_manual_setup";
  SchemaBuilder b(s, &zel, sizeof zel);
  b.flag(F(zel.lAntAvailable), 1);
  b.choice(F(zel.iInterfaceType), {0, 3, 2, 1}, 0);  // serial, network, AntExport, none
  b.flag(F(zel.lControllingHost), 1);
  b.flag(F(zel.lLogToFile), 0);
  b.flag(F(zel.lLogPacketsAnt), 0);
  b.flag(F(zel.lLogPacketsBITE), 0);
  b.flag(F(zel.lLogPacketsTime), 0);
  b.flag(F(zel.lLogPacketsErr), 1);
  b.flag(F(zel.lLogDataAnt), 0);
  b.flag(F(zel.lLogDataINU), 0);
  b.number(F(zel.iAntExportPortNum), 1, 65535, 30745);  // TCP port
  b.text(F(zel.sAntExportHost), "");
  b.flag(F(zel.bExtendedCntPackets), 0);
  b.flag(F(zel.bMovingPlatform), 0);
  b.choice(F(zel.iScanGeometry), {0, 1}, 0);  // traditional, aircraft tail
  b.flag(F(zel.bElevationFull), 0);
  b.number(F(zel.ielmin), deg16(-10), deg16(90), deg16(-1));  // binary angle
  b.number(F(zel.ielmax), deg16(0), deg16(180), deg16(90));
  b.number(F(zel.fazvelmax), 0.1, 60, 36);  // deg/s
  b.number(F(zel.felvelmax), 0.1, 60, 24);
  b.number(F(zel.ignd_hgt), -500, 9000, 100);  // m above sea level
  b.number(F(zel.irad_hgt), 0, 500, 20);       // m above ground
  b.choice(F(zel.icontrol_format), kXmtFormats, 2);
  b.choice(F(zel.istatus_format), kRcvFormats, 2);
  b.number(F(zel.itoggle_time), 0, 86400, 300);                                        // s
  b.number(F(zel.fRadiateTogglePeriod), 0, 60, 1);                                     // s
  b.number(F(zel.inu_height_offset), -10000, 10000, 0);                                // cm
  for (int i = 0; i < 3; ++i) b.number(A(zel.iplatform_offset, i), -10000, 10000, 0);  // cm
  b.number(F(zel.fnoise_toggle_time), 0, 60, 0);                                       // s
  b.number(F(zel.isiggen_max), -150, 30, 0);                                           // dBm
  b.number(F(zel.isiggen_min), -150, 30, -110);
  b.number(F(zel.fsiggen_warmup), 0, 600, 1);  // s
  b.number(F(zel.fsiggen_settle), 0, 60, 1);
  b.choice(F(zel.iazmode_initial), kAxisModes, 0);
  b.choice(F(zel.ielmode_initial), kAxisModes, 0);
  b.number(F(zel.iazpos_initial), deg16(0), 65535, deg16(0));  // binary angle, whole turn
  b.number(F(zel.ielpos_initial), deg16(0), deg16(180), deg16(0.5));
  b.number(F(zel.fazv_initial), -60, 60, 6);  // deg/s
  b.number(F(zel.felv_initial), -60, 60, 0);
  b.number(F(zel.isiggen_value_initial), -150, 30, -80);  // dBm
  b.number(F(zel.ipri_antrcv), -20, 19, -15);             // process priority
  b.number(F(zel.ipri_antxmt), -20, 19, -15);
  b.choice(F(zel.icontrol2_format), {0, 3, 2, 6, 5}, 0);    // none or an XMT format
  b.choice(F(zel.istatus2_format), {0, 3, 2, 1, 6, 5}, 0);  // none or an RCV format
  b.text(F(zel.sDevice1), "/dev/ttyS1");
  b.text(F(zel.sDevice2), "");
  b.text(F(zel.sNetInterface), "eth0");
  b.number(F(zel.iBaudRate1), 300, 115200, 9600);
  b.number(F(zel.iBaudRate2), 300, 115200, 9600);
  b.number(F(zel.antlib_port_number), 1, 65535, 30785);  // TCP port
  b.choice(F(zel.iParity1), kParities, 0);
  b.choice(F(zel.iParity2), kParities, 0);
  b.number(F(zel.iNetDelayMs), 0, 10000, 5);  // ms
  b.flag(F(zel.lStartSimulator), 0);
  b.flag(F(zel.lUseTimeStamp), 0);
  b.choice(F(zel.iAngleSource), {0, 2, 1}, 0);  // normal ZEL, native KOX, native ZEL2
  b.choice(F(zel.iInuSource), {0, 1}, 0);       // normal ZEL2, custom header
  control_bit(b, F(zel.cont_servo_power));
  control_bit(b, F(zel.cont_tr_power));
  control_bit(b, F(zel.cont_radiate));
  control_bit(b, F(zel.cont_reset));
  control_bit(b, F(zel.cont_noise));
  control_bit(b, F(zel.cont_siggen));
  control_bit(b, F(zel.cont_sigcw));
  control_bit(b, F(zel.cont_pwbw));
  control_bit(b, F(zel.cont_pw_unset));
  control_bit(b, F(zel.cont_polar));
  control_bit(b, F(zel.cont_nst));
  status_bit(b, F(zel.status_low_airflow));
  status_bit(b, F(zel.status_low_wgp));
  status_bit(b, F(zel.status_interlock_open));
  status_bit(b, F(zel.status_standby));
  status_bit(b, F(zel.status_radiate));
  status_bit(b, F(zel.status_mag_current));
  status_bit(b, F(zel.status_local));
  status_bit(b, F(zel.status_trlocal));
  status_bit(b, F(zel.status_shutdown));
  status_bit(b, F(zel.status_tr_power));
  status_bit(b, F(zel.status_servo_power));
  status_bit(b, F(zel.status_siggen));
  status_bit(b, F(zel.status_sigcw));
  status_bit(b, F(zel.status_pwbw));
  status_bit(b, F(zel.status_polar));
  status_bit(b, F(zel.status_sigfault));
  status_bit(b, F(zel.status_calib_az));
  status_bit(b, F(zel.status_calib_el));
  for (int i = 0; i < ZEL_MODE_NAMES; ++i) b.text(A(zel.sModeNames, i), kModeNames[i]);
  b.text(F(zel.sSiteCodeDpB), "");
  b.text(F(zel.sSiteCodeDpA), "");
  b.text(F(zel.sSiteCodeRwsB), "");
  b.text(F(zel.sSiteCodeRwsA), "");
  b.number(F(zel.freport_mode_delay), 0, 60, 1);  // s
  b.number(F(zel.iDeadModeReq), 0, 7, 0);         // mode number
  b.flag(F(zel.lTimePacketUtc), 1);
  b.text(F(zel.sExtHeaderName), "");
  b.number(F(zel.idefault_lat), -1073741824, 1073741823, deg32(52.0));  // binary angle
  b.number(F(zel.idefault_lon), -2147483648.0, 2147483647, deg32(13.0));
  return s;
}
}  // namespace

const Schema &zel_schema() {
  static const Schema schema = build();
  return schema;
}
