// The control processor (ZEL) page: antenna and link to the processor,
// logging, site placement, antenna limits, timing, control and status bits,
// network status reports and the status mode names.
#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

// Interface types of zel.iInterfaceType.
enum { SERIAL = 0, NO_INTERFACE = 1, ANT_EXPORT = 2, NETWORK = 3 };
// Initial axis modes of zel.iazmode_initial and zel.ielmode_initial.
enum { AXIS_VELOCITY = 1, AXIS_POSITION = 2 };

constexpr double ANGLE16 = 65536.0 / 360.0;       // 16-bit binary angle per degree
constexpr double ANGLE32 = 4294967296.0 / 360.0;  // 32-bit binary angle per degree

bool antenna() { return zel.lAntAvailable != 0; }
bool link_to_zel() { return zel.iInterfaceType == SERIAL || zel.iInterfaceType == NETWORK; }
bool controlling() { return zel.lControllingHost != 0; }
bool interface_is(int type) { return antenna() && zel.iInterfaceType == type; }
bool moving_platform() { return zel.bMovingPlatform != 0; }
bool aux_device_used() { return zel.istatus2_format != 0 || (zel.icontrol2_format != 0 && controlling()); }
// Receive formats that carry time stamps: RCV02, RCV03 and RCV05.
bool timestamped_receive() {
  return zel.istatus_format == 2 || zel.istatus_format == 1 || zel.istatus_format == 6;
}

PageState page = page_state(PAGE_CONTROL_PROCESSOR);

}  // namespace

void control_processor_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);
  const Hints baud_rates = {" 1200", " 2400", " 4800", " 9600", "19200", "38400"};

  w.section(_("Interface to ZEL"), "interface_to_zel");
  w.row();
  w.toggle(FIELD(zel.lAntAvailable), _("System has an antenna"), _("Yes"), _("No"));
  w.row(antenna(), _("the system has an antenna"));
  w.choice(FIELD(zel.iInterfaceType), _("Main Interface to ZEL"),
           {{_("Serial"), SERIAL},
            {_("Network"), NETWORK},
            {_("AntExport"), ANT_EXPORT},
            {_("None"), NO_INTERFACE}});
  w.row(interface_is(ANT_EXPORT), _("the system has an antenna and the main interface is AntExport"));
  w.text(TEXT(zel.sAntExportHost), _("AntExport hostname/IP-Address"), {"192.168.10.20"});
  w.number(FIELD(zel.iAntExportPortNum), _("AntExport Port Number"), "%.0f", 1, {w.hint("%d", 30745)});
  w.row(antenna(), _("the system has an antenna"));
  w.choice(FIELD(zel.iAngleSource), _("Antenna angle insertion source"),
           {{_("Normal ZEL"), 0}, {_("Native KOX"), 2}, {_("Native ZEL2"), 1}});
  w.row(antenna() && link_to_zel(),
        _("the system has an antenna and the main interface to ZEL is Serial or Network"));
  w.toggle(FIELD(zel.lControllingHost), _("Is this the 1 controlling host"), _("Yes"), _("No"));
  w.row(interface_is(NETWORK), _("the system has an antenna and the main interface is Network"));
  w.text(TEXT(zel.sDevice1), _("Network Multicast Address"), {"224.0.0.3", "239.255.0.1"});
  w.number(FIELD(zel.antlib_port_number), _("Network Port Number"), "%.0f", 1, {w.hint("%d", 30785)});
  w.text(TEXT(zel.sNetInterface), _("Network Interface"), {"eth0"});
  w.row(interface_is(SERIAL), _("the system has an antenna and the main interface is Serial"));
  w.text(TEXT(zel.sDevice1), _("Main serial device name"), {"/dev/ttyS1"});
  w.row(interface_is(SERIAL) && zel.sDevice1[0] != '\0',
        _("the system has an antenna, the main interface is Serial and a main serial device is named"));
  w.number(FIELD(zel.iBaudRate1), _("running at"), _("%.0f baud"), 1, baud_rates);
  w.choice(FIELD(zel.iParity1), _("with parity"), {{_("None"), 0}, {_("Odd"), 1}, {_("Even"), 2}});
  w.row(interface_is(NETWORK) || interface_is(ANT_EXPORT),
        _("the system has an antenna and the main interface is Network or AntExport"));
  w.number(FIELD(zel.iNetDelayMs), _("Average network delay"), _("%.0f ms"), 1);
  w.row(antenna() && link_to_zel(),
        _("the system has an antenna and the main interface to ZEL is Serial or Network"));
  w.choice(FIELD(zel.istatus_format), _("Receive format from ZEL"),
           {{_("RCV01 (Original)"), 3},
            {_("RCV02 (Enhanced)"), 2},
            {_("RCV03 (Shipboard)"), 1},
            {_("RCV05 (DualSys)"), 6},
            {_("SA 3860"), 5}});
  w.row(antenna() && link_to_zel() && controlling(),
        _("the system has an antenna and the main interface to ZEL is Serial or Network and this is the "
          "controlling host"));
  w.choice(
      FIELD(zel.icontrol_format), _("Transmit format to ZEL"),
      {{_("XMT01 (Original)"), 3}, {_("XMT02 (Enhanced)"), 2}, {_("XMT05 (DualSys)"), 6}, {_("SA 3860"), 5}});
  w.toggle(FIELD(zel.bExtendedCntPackets), _("Allow extended packets"), _("Yes"), _("No"));

  w.section(_("Advanced Interface Features"), "advanced_interface_features", antenna() && link_to_zel(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network"));
  w.row();
  w.toggle(FIELD(zel.bMovingPlatform), _("Antenna is on a moving platform"), _("Yes"), _("No"));
  w.row(moving_platform(), _("the antenna is on a moving platform"));
  w.choice(FIELD(zel.iInuSource), _("INU info insertion source"),
           {{_("Normal ZEL2"), 0}, {_("Custom header"), 1}});
  w.row();
  w.choice(FIELD(zel.istatus2_format), _("Auxiliary receive format"),
           {{_("No Reception"), 0},
            {_("RCV01 (Original)"), 3},
            {_("RCV02 (Enhanced)"), 2},
            {_("RCV03 (Shipboard)"), 1},
            {_("RCV05 (DualSys)"), 6},
            {_("SA 3860"), 5}});
  w.row(controlling(), _("this is the controlling host"));
  w.choice(FIELD(zel.icontrol2_format), _("Auxiliary transmit format"),
           {{_("No Transmission"), 0},
            {_("XMT01 (Original)"), 3},
            {_("XMT02 (Enhanced)"), 2},
            {_("XMT05 (DualSys)"), 6},
            {_("SA 3860"), 5}});
  w.row(aux_device_used(),
        _("an auxiliary receive format is chosen, or an auxiliary transmit format on the controlling host"));
  w.text(TEXT(zel.sDevice2), _("Auxiliary serial device name"));
  w.row(aux_device_used() && zel.sDevice2[0] != '\0',
        _("an auxiliary receive format is chosen, or an auxiliary transmit format on the controlling host "
          "and an auxiliary serial device is named"));
  w.number(FIELD(zel.iBaudRate2), _("running at"), _("%.0f baud"), 1, baud_rates);
  w.choice(FIELD(zel.iParity2), _("with parity"), {{_("None"), 0}, {_("Odd"), 1}, {_("Even"), 2}});
  w.row();
  w.toggle(FIELD(zel.lStartSimulator), _("Start ZEL Simulator"), _("Yes"), _("No"));
  w.number(FIELD(zel.ipri_antxmt), _("Transmit subprocess priority"), "%.0f", 1, {"-15"});
  w.number(FIELD(zel.ipri_antrcv), _("Receive subprocess priority"), "%.0f", 1, {"-15"});
  w.toggle(FIELD(zel.lTimePacketUtc), _("Timezone of time packets"), _("UTC"), _("Local Time"));
  w.row(timestamped_receive(), _("the receive format from ZEL is RCV02, RCV03 or RCV05"));
  w.toggle(FIELD(zel.lUseTimeStamp), _("Trust timestamps in RCVxx"), _("Yes"), _("No"));
  w.text(TEXT(zel.sExtHeaderName), _("Extended header format name"));

  w.section(_("Packet and Data Logging"), "packet_and_data_logging", antenna() && link_to_zel(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network"));
  w.row();
  w.toggle(FIELD(zel.lLogToFile), _("Produce log files on disk"), _("Yes"), _("No"));
  w.row(zel.lLogToFile != 0, _("log files are produced on disk"));
  w.toggle(FIELD(zel.lLogPacketsAnt), _("Log incoming Antenna I/O Packets"), _("Yes"), _("No"));
  w.toggle(FIELD(zel.lLogPacketsBITE), _("Log incoming BITE I/O Packets"), _("Yes"), _("No"));
  w.toggle(FIELD(zel.lLogPacketsTime), _("Log incoming Time I/O Packets"), _("Yes"), _("No"));
  w.toggle(FIELD(zel.lLogPacketsErr), _("Log unrecognized I/O Packets"), _("Yes"), _("No"));
  w.toggle(FIELD(zel.lLogDataAnt), _("Log AZ/EL data insertions"), _("Yes"), _("No"));
  w.row(moving_platform(), _("the antenna is on a moving platform"));
  w.toggle(FIELD(zel.lLogDataINU), _("Log INU data insertions"), _("Yes"), _("No"));

  w.section(_("Radar Site and Antenna Placement"), "radar_site_and_antenna_placement",
            antenna() && link_to_zel(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network"));
  w.row();
  w.number(FIELD(zel.ignd_hgt), _("Ground height above sea level"), _("%.1f meters"), 1);
  w.number(FIELD(zel.irad_hgt), _("Antenna height above the ground"), _("%.1f meters"), 1);
  w.number(FIELD(auxset.zel_ilat), _("Default Latitude of antenna"), _("%.5f deg North"), ANGLE32);
  w.number(FIELD(auxset.zel_ilon), _("Default Longitude of antenna"), _("%.5f deg East"), ANGLE32);
  w.row(moving_platform(), _("the antenna is on a moving platform"));
  w.number(FIELD_AT(zel.iplatform_offset, 0), _("Antenna position forward of INU"), _("%.1f meters"), 100);
  w.number(FIELD_AT(zel.iplatform_offset, 1), _("Antenna position to port of INU"), _("%.1f meters"), 100);
  w.number(FIELD_AT(zel.iplatform_offset, 2), _("Antenna position above INU"), _("%.1f meters"), 100);
  w.number(FIELD(zel.inu_height_offset), _("INU Height Offset"), _("%.1f meters"), 100);
  w.choice(FIELD(zel.iScanGeometry), _("Antenna Scan Geometry"),
           {{_("Traditional"), 0}, {_("Aircraft Tail"), 1}});

  w.section(_("Antenna Characteristics"), "antenna_characteristics",
            antenna() && link_to_zel() && controlling(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network and this is the "
              "controlling host"));
  w.row();
  w.toggle(FIELD(zel.bElevationFull), _("Elevation can spin 360"), _("Yes"), _("No"));
  w.row(zel.bElevationFull == 0, _("the elevation cannot spin 360 degrees"));
  w.number(FIELD(zel.ielmin), _("Minimum elevation angle"), _("%.2f deg"), ANGLE16);
  w.number(FIELD(zel.ielmax), _("Maximum elevation angle"), _("%.2f deg"), ANGLE16);
  w.row();
  w.number(FIELD(zel.fazvelmax), _("Maximum azimuth velocity"), _("%.2f deg/sec"), 1);
  w.number(FIELD(zel.felvelmax), _("Maximum elevation velocity"), _("%.2f deg/sec"), 1);
  w.choice(FIELD(zel.iazmode_initial), _("Initial mode for Azimuth axis"),
           {{_("Stopped"), 0}, {_("Position"), AXIS_POSITION}, {_("Velocity"), AXIS_VELOCITY}});
  w.row(zel.iazmode_initial == AXIS_POSITION, _("the initial azimuth mode is Position"));
  w.number(FIELD(zel.iazpos_initial), _("Initial Azimuth position"), _("%.2f deg"), ANGLE16);
  w.row(zel.iazmode_initial == AXIS_VELOCITY, _("the initial azimuth mode is Velocity"));
  w.number(FIELD(zel.fazv_initial), _("Initial Azimuth velocity"), _("%.2f deg/sec"), 1);
  w.row();
  w.choice(FIELD(zel.ielmode_initial), _("Initial mode for Elevation axis"),
           {{_("Stopped"), 0}, {_("Position"), AXIS_POSITION}, {_("Velocity"), AXIS_VELOCITY}});
  w.row(zel.ielmode_initial == AXIS_POSITION, _("the initial elevation mode is Position"));
  w.number(FIELD(zel.ielpos_initial), _("Initial Elevation position"), _("%.2f deg"), ANGLE16);
  w.row(zel.ielmode_initial == AXIS_VELOCITY, _("the initial elevation mode is Velocity"));
  w.number(FIELD(zel.felv_initial), _("Initial Elevation velocity"), _("%.2f deg/sec"), 1);

  w.section(_("Timing Features"), "timing_features", antenna() && link_to_zel() && controlling(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network and this is the "
              "controlling host"));
  w.row();
  w.number(FIELD(zel.fRadiateTogglePeriod), _("Radiate toggle period"), _("%.2f sec"), 1,
           {w.hint(_("%.2f sec"), 1.0)});
  w.number(FIELD(zel.itoggle_time), _("Stop radiate toggle after"), _("%.0f min"), 60, {_("5 min")});
  w.number(FIELD(zel.fnoise_toggle_time), _("Noise toggle period"), _("%.2f sec"), 1,
           {w.hint(_("%.2f sec"), 0.0)});
  w.number(FIELD(zel.isiggen_min), _("Signal generator minimum value"), _("%.0f dBm"), 1);
  w.number(FIELD(zel.isiggen_max), _("Signal generator maximum value"), _("%.0f dBm"), 1);
  w.number(FIELD(zel.fsiggen_warmup), _("Signal generator warmup time"), _("%.1f sec"), 1,
           {w.hint(_("%.2f sec"), 1.0)});
  // The settle time offers the warmup time's entry, still in the hint buffer.
  w.number(FIELD(zel.fsiggen_settle), _("Signal generator settle time"), _("%.1f sec"), 1,
           {page.hint_buffer});
  w.number(FIELD(zel.isiggen_value_initial), _("Initial signal generator level"), _("%.0f dBm"), 1);

  w.section(_("Control Bit Definitions"), "control_bit_definitions",
            antenna() && link_to_zel() && controlling(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network and this is the "
              "controlling host"));
  w.row();
  w.toggle(FIELD(zel.cont_pwbw.lenabled), _("Pulse Width Control"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(zel.cont_pw_unset.lenabled), _("Don't Overwrite Pulse Width"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_pw_unset.lenabled == 0, _("Don't Overwrite Pulse Width is disabled"));
  w.toggle(FIELD(zel.cont_pw_unset.linitial_high), "", _("Force High"), _("Force Low"));
  w.row();
  w.toggle(FIELD(zel.cont_polar.lenabled), _("Polarization Control"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(zel.cont_servo_power.lenabled), _("Servo Power Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_servo_power.lenabled != 0, _("Servo Power Control is enabled"));
  w.toggle(FIELD(zel.cont_servo_power.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_servo_power.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();
  w.toggle(FIELD(zel.cont_radiate.lenabled), _("Transmit Radiate Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_radiate.lenabled != 0, _("Transmit Radiate Control is enabled"));
  w.toggle(FIELD(zel.cont_radiate.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_radiate.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();
  w.toggle(FIELD(zel.cont_tr_power.lenabled), _("T/R Power Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_tr_power.lenabled != 0, _("T/R Power Control is enabled"));
  w.toggle(FIELD(zel.cont_tr_power.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_tr_power.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();
  w.toggle(FIELD(zel.cont_siggen.lenabled), _("Signal Generator Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_siggen.lenabled != 0, _("Signal Generator Control is enabled"));
  w.toggle(FIELD(zel.cont_siggen.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_siggen.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();
  w.toggle(FIELD(zel.cont_sigcw.lenabled), _("Siggen Cont.Wave Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_sigcw.lenabled != 0, _("Siggen Cont.Wave Control is enabled"));
  w.toggle(FIELD(zel.cont_sigcw.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_sigcw.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();
  w.toggle(FIELD(zel.cont_reset.lenabled), _("Master Reset Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_reset.lenabled != 0, _("Master Reset Control is enabled"));
  w.toggle(FIELD(zel.cont_reset.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_reset.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();
  w.toggle(FIELD(zel.cont_noise.lenabled), _("Noise Generator Control"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_noise.lenabled != 0, _("Noise Generator Control is enabled"));
  w.toggle(FIELD(zel.cont_noise.lhigh), "", _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_noise.linitial_high), "", _("Initially On"), _("Initially Off"));
  w.row();

  w.section(_("Status Bit Definitions"), "status_bit_definitions", antenna() && link_to_zel(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network"));
  w.row();
  w.toggle(FIELD(zel.status_pwbw.lenabled), _("Pulse Width Status"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(zel.status_polar.lenabled), _("Polarization Status"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(zel.status_servo_power.lenabled), _("Servo Power Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_servo_power.lenabled != 0, _("Servo Power Status is enabled"));
  w.toggle(FIELD(zel.status_servo_power.lhigh), "", _("ON: HIGH"), _("ON: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_radiate.lenabled), _("Transmit Radiate Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_radiate.lenabled != 0, _("Transmit Radiate Status is enabled"));
  w.toggle(FIELD(zel.status_radiate.lhigh), "", _("ON: HIGH"), _("ON: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_tr_power.lenabled), _("T/R Power Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_tr_power.lenabled != 0, _("T/R Power Status is enabled"));
  w.toggle(FIELD(zel.status_tr_power.lhigh), "", _("ON: HIGH"), _("ON: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_siggen.lenabled), _("Signal Generator Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_siggen.lenabled != 0, _("Signal Generator Status is enabled"));
  w.toggle(FIELD(zel.status_siggen.lhigh), "", _("ON: HIGH"), _("ON: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_sigcw.lenabled), _("Siggen Cont.Wave Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_sigcw.lenabled != 0, _("Siggen Cont.Wave Status is enabled"));
  w.toggle(FIELD(zel.status_sigcw.lhigh), "", _("ON: HIGH"), _("ON: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_sigfault.lenabled), _("Siggen Fault Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_sigfault.lenabled != 0, _("Siggen Fault Status is enabled"));
  w.toggle(FIELD(zel.status_sigfault.lhigh), "", _("Fault: HIGH"), _("Fault: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_shutdown.lenabled), _("ZEL Shutdown Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_shutdown.lenabled != 0, _("ZEL Shutdown Status is enabled"));
  w.toggle(FIELD(zel.status_shutdown.lhigh), "", _("Fault: HIGH"), _("Fault: LOW"));
  w.toggle(FIELD(zel.status_shutdown.lCritical), "", _("Type: Critical"), _("Type: Normal"));
  w.row();
  w.toggle(FIELD(zel.status_low_airflow.lenabled), _("Low Airflow Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_low_airflow.lenabled != 0, _("Low Airflow Status is enabled"));
  w.toggle(FIELD(zel.status_low_airflow.lhigh), "", _("Fault: HIGH"), _("Fault: LOW"));
  w.toggle(FIELD(zel.status_low_airflow.lCritical), "", _("Type: Critical"), _("Type: Normal"));
  w.row();
  w.toggle(FIELD(zel.status_low_wgp.lenabled), _("Low Waveguide Pressure Status"), _("Enabled"),
           _("Disabled"));
  w.row(zel.status_low_wgp.lenabled != 0, _("Low Waveguide Pressure Status is enabled"));
  w.toggle(FIELD(zel.status_low_wgp.lhigh), "", _("Fault: HIGH"), _("Fault: LOW"));
  w.toggle(FIELD(zel.status_low_wgp.lCritical), "", _("Type: Critical"), _("Type: Normal"));
  w.row();
  w.toggle(FIELD(zel.status_local.lenabled), _("Antenna Local Mode Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_local.lenabled != 0, _("Antenna Local Mode Status is enabled"));
  w.toggle(FIELD(zel.status_local.lhigh), "", _("Local: HIGH"), _("Local: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_trlocal.lenabled), _("T/R Local Mode Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_trlocal.lenabled != 0, _("T/R Local Mode Status is enabled"));
  w.toggle(FIELD(zel.status_trlocal.lhigh), "", _("Local: HIGH"), _("Local: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_interlock_open.lenabled), _("Safety Interlock Status"), _("Enabled"),
           _("Disabled"));
  w.row(zel.status_interlock_open.lenabled != 0, _("Safety Interlock Status is enabled"));
  w.toggle(FIELD(zel.status_interlock_open.lhigh), "", _("Fault: HIGH"), _("Fault: LOW"));
  w.toggle(FIELD(zel.status_interlock_open.lCritical), "", _("Type: Critical"), _("Type: Normal"));
  w.row();
  w.toggle(FIELD(zel.status_standby.lenabled), _("Standby Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_standby.lenabled != 0, _("Standby Status is enabled"));
  w.toggle(FIELD(zel.status_standby.lhigh), "", _("Standby: HIGH"), _("Standby: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_mag_current.lenabled), _("Magnetron Current Status"), _("Enabled"),
           _("Disabled"));
  w.row(zel.status_mag_current.lenabled != 0, _("Magnetron Current Status is enabled"));
  w.toggle(FIELD(zel.status_mag_current.lhigh), "", _("Fault: HIGH"), _("Fault: LOW"));
  w.toggle(FIELD(zel.status_mag_current.lCritical), "", _("Type: Critical"), _("Type: Normal"));
  w.row();
  w.toggle(FIELD(zel.status_calib_az.lenabled), _("Azimuth Encoder Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_calib_az.lenabled != 0, _("Azimuth Encoder Status is enabled"));
  w.toggle(FIELD(zel.status_calib_az.lhigh), "", _("Cal: HIGH"), _("Cal: LOW"));
  w.row();
  w.toggle(FIELD(zel.status_calib_el.lenabled), _("Elevation Encoder Status"), _("Enabled"), _("Disabled"));
  w.row(zel.status_calib_el.lenabled != 0, _("Elevation Encoder Status is enabled"));
  w.toggle(FIELD(zel.status_calib_el.lhigh), "", _("Cal: HIGH"), _("Cal: LOW"));
  w.row();

  w.section(_("Network Status Reports to the ZEL"), "network_status_reports",
            antenna() && link_to_zel() && controlling(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network and this is the "
              "controlling host"));
  w.row();
  w.toggle(FIELD(zel.cont_nst.lenabled), _("Reporting"), _("Enabled"), _("Disabled"));
  w.row(zel.cont_nst.lenabled != 0, _("network status reporting is enabled"));
  w.toggle(FIELD(zel.cont_nst.lhigh), _("Status fault polarity"), _("Active HIGH"), _("Active LOW"));
  w.toggle(FIELD(zel.cont_nst.linitial_high), _("Initial state of sites"), _("All Faulted"), _("All Okay"));
  w.text(TEXT(zel.sSiteCodeRwsA), _("Radar Workstation 'A' site code"));
  w.text(TEXT(zel.sSiteCodeRwsB), _("Radar Workstation 'B' site code"));
  w.text(TEXT(zel.sSiteCodeDpA), _("Data Processor 'A' site code"));
  w.text(TEXT(zel.sSiteCodeDpB), _("Data Processor 'B' site code"));

  w.section(_("RST Mode to Number Mapping"), "rst_mode_requests", antenna() && link_to_zel() && controlling(),
            _("the system has an antenna and the main interface to ZEL is Serial or Network and this is the "
              "controlling host"));
  w.row();
  for (int mode = 1; mode <= 7; ++mode)
    w.text(TEXT(zel.sModeNames[mode - 1]), w.label(_("Radar Status name for MODE #%d"), mode));
  w.number(FIELD(zel.iDeadModeReq), _("Mode to use when ZEL is dead"), "%.0f", 1);
  w.number(FIELD(zel.freport_mode_delay), _("Mode reporting delay"), _("%.1f sec"), 1,
           {w.hint(_("%.1f sec"), 1.0)});
}
