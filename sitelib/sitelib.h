// Site library: the installation's setup records, their files, limits and
// factory values, and the process services the editor uses.
//
// Load and save functions return SITE_OK (1) on success, otherwise a status
// code whose text message_to_text() gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

// ---------------------------------------------------------------------------
// Capacities
enum {
  ZEL_MODE_NAMES = 8,
  ZEL_MODE_NAME_LEN = 16,
  DSP_PULSE_WIDTHS = 4,
  DSP_TRIGGER_SEQUENCES = 4,
  DSP_TRIGGER_PERIODS = 64,
  DSP_MAJOR_MODES = 4,
  RTD_CHANNELS = 16,
  ZAMO_SITES = 128,
  ZAMO_WARNING_REGIONS = 32,
  ZAMO_INPUT_DEVICES = 16,
  ZAMO_OUTPUT_DEVICES = 32,  // imaxdevcount never exceeds this
  ZAMO_PRODUCT_TYPES = 40,
  ZAMO_MELT_MONTHS = 12,
};

#define ZAMO_SETUP_VERSION "10.0"

// ---------------------------------------------------------------------------
// Control processor (ZEL)

// One output bit of the processor's control interface.
struct zel_control_bit {
  uint8_t lenabled;
  uint8_t lhigh;
  uint8_t linitial_high;
  uint8_t lspare;
};
static_assert(sizeof(zel_control_bit) == 4, "control bit record is four bytes");

// One input bit of the processor's status interface.
struct zel_status_bit {
  uint8_t lenabled;
  uint8_t lhigh;
  uint8_t lCritical;
  uint8_t lspare;
};
static_assert(sizeof(zel_status_bit) == 4, "status bit record is four bytes");

struct zel_setup {
  uint8_t lAntAvailable;
  uint8_t iInterfaceType;  // 0 serial, 1 none, 2 AntExport, 3 network
  uint8_t lControllingHost;
  uint8_t lLogToFile;
  uint8_t lLogPacketsAnt;
  uint8_t lLogPacketsBITE;
  uint8_t lLogPacketsTime;
  uint8_t lLogPacketsErr;
  uint8_t lLogDataAnt;
  uint8_t lLogDataINU;
  uint32_t iAntExportPortNum;
  char sAntExportHost[40];
  uint8_t bExtendedCntPackets;
  uint8_t bMovingPlatform;
  int32_t iScanGeometry;
  uint8_t bElevationFull;
  int16_t ielmin;   // 16-bit binary angle
  uint16_t ielmax;  // 16-bit binary angle
  float fazvelmax;  // deg/s
  float felvelmax;
  int16_t ignd_hgt;  // m
  int16_t irad_hgt;
  int16_t icontrol_format;
  int16_t istatus_format;
  uint32_t itoggle_time;  // s
  float fRadiateTogglePeriod;
  int32_t inu_height_offset;    // cm
  int32_t iplatform_offset[3];  // cm: forward, to port, above
  float fnoise_toggle_time;
  int32_t isiggen_max;  // dBm
  int32_t isiggen_min;
  float fsiggen_warmup;  // s
  float fsiggen_settle;
  int32_t iazmode_initial;
  int32_t ielmode_initial;
  uint16_t iazpos_initial;  // 16-bit binary angle
  uint16_t ielpos_initial;
  float fazv_initial;  // deg/s
  float felv_initial;
  int32_t isiggen_value_initial;
  int16_t ipri_antrcv;
  int16_t ipri_antxmt;
  int16_t icontrol2_format;
  int16_t istatus2_format;
  char sDevice1[360];  // main serial device, or multicast address list
  char sDevice2[360];  // auxiliary serial device
  char sNetInterface[16];
  int32_t iBaudRate1;
  int32_t iBaudRate2;
  int32_t antlib_port_number;
  int8_t iParity1;
  int8_t iParity2;
  uint16_t iNetDelayMs;
  uint8_t lStartSimulator;
  uint8_t lUseTimeStamp;
  int8_t iAngleSource;
  int8_t iInuSource;
  zel_control_bit cont_servo_power;
  zel_control_bit cont_tr_power;
  zel_control_bit cont_radiate;
  zel_control_bit cont_reset;
  zel_control_bit cont_noise;
  zel_control_bit cont_siggen;
  zel_control_bit cont_sigcw;
  zel_control_bit cont_pwbw;
  zel_control_bit cont_pw_unset;
  zel_control_bit cont_polar;
  zel_control_bit cont_nst;
  zel_status_bit status_low_airflow;
  zel_status_bit status_low_wgp;
  zel_status_bit status_interlock_open;
  zel_status_bit status_standby;
  zel_status_bit status_radiate;
  zel_status_bit status_mag_current;
  zel_status_bit status_local;
  zel_status_bit status_trlocal;
  zel_status_bit status_shutdown;
  zel_status_bit status_tr_power;
  zel_status_bit status_servo_power;
  zel_status_bit status_siggen;
  zel_status_bit status_sigcw;
  zel_status_bit status_pwbw;
  zel_status_bit status_polar;
  zel_status_bit status_sigfault;
  zel_status_bit status_calib_az;
  zel_status_bit status_calib_el;
  char sModeNames[ZEL_MODE_NAMES][ZEL_MODE_NAME_LEN];
  char sSiteCodeDpB[4];
  char sSiteCodeDpA[4];
  char sSiteCodeRwsB[4];
  char sSiteCodeRwsA[4];
  float freport_mode_delay;  // s
  uint16_t iDeadModeReq;
  uint8_t lTimePacketUtc;
  char sExtHeaderName[16];
  int32_t idefault_lat;  // 32-bit binary angle
  int32_t idefault_lon;  // 32-bit binary angle
};

// ---------------------------------------------------------------------------
// Signal processor (KOX)

struct dsp_losses {
  int16_t iXmtLossSingle;  // 0.1 dB
  int16_t iXmtLossHAndV;
  int16_t iRcvLoss;
  int16_t iTestLoss;
};

struct dsp_trigger_sequence {
  int32_t iNumPeriods;
  int32_t iPeriods[DSP_TRIGGER_PERIODS];  // ns
};
static_assert(sizeof(dsp_trigger_sequence) == 260, "trigger sequence is 260 bytes");

struct dsp_setup {
  uint8_t ldsp_available;
  int8_t itype;  // 7 KOX1, 8 KOX2, 9 KOX3
  uint8_t lCheckByteOrder;
  int8_t interface;  // 2 SCSI, 3 native, 4 DspExport
  char sDevice[40];
  uint32_t iPortNumber;
  int16_t isync_fuzz;  // 16-bit binary angle
  int16_t iwidcnt;
  int16_t ipwidths[DSP_PULSE_WIDTHS];  // 0.01 us
  uint16_t ipwbits[DSP_PULSE_WIDTHS];
  int32_t iwavelength;  // 0.01 cm
  int32_t idspprf;      // Hz
  int32_t iminprf[DSP_PULSE_WIDTHS];
  int32_t imaxprf[DSP_PULSE_WIDTHS];
  int32_t inoiseprf;
  int32_t iPwRadiateOffWait;  // ms
  int32_t ipw_wait;
  int16_t ihorizwidth;  // 0.01 deg
  int16_t ivertwidth;
  int32_t iantgain;  // 0.1 dB
  float fNoiseSourceENR;
  dsp_losses Horiz;
  dsp_losses Vert;
  int16_t idspagcode;
  int16_t idspdualdelay;
  int16_t ildr_bias;  // 0.01 dB
  int16_t izdr_bias;  // 1/16 dB
  int8_t iXmtTubeType;
  uint8_t lXmtPhaseControl;
  uint8_t lPolarAvailable;
  int8_t iSinglePolarization;
  int32_t iPolarRadiateOffWait;  // ms
  int32_t iMaxPolarWait;
  uint8_t lDualReceiver;
  uint8_t lPhidpAvailable;
  uint8_t lRhohvAvailable;
  uint8_t lHClassAvailable;
  uint8_t lSqiAvailable;
  uint8_t lSnrAvailable;
  uint8_t lLdrAvailable;
  uint8_t lPhiAvailable;
  uint8_t lRhoAvailable;
  uint8_t lXmtHorizontalOnly;
  uint8_t lXmtVerticalOnly;
  uint8_t lXmtAlternating;
  uint8_t lXmtSimultaneous;
  int8_t iCalSignalType;
  int32_t itpower[DSP_PULSE_WIDTHS];            // W
  int32_t iRangeMaskSpacing[DSP_PULSE_WIDTHS];  // cm
  int8_t iwindow;
  uint8_t linvert_velocities;
  int8_t iDataWidths;
  uint32_t iGasAtten;  // 1e-5 dB/km
  dsp_trigger_sequence customTrig[DSP_TRIGGER_SEQUENCES];
  char sMajorModeNames[DSP_MAJOR_MODES][16];
  uint32_t lSimClutterWidNorm;
  float fSimClutterWidth;
  int16_t iburst_power_diff;  // 0.01 dB
  uint8_t ldual_transmit;
  uint8_t ltest_signal_gen_cont;
  uint8_t lfreq_cont_avail;
  uint8_t llevel_cont_avail;
  int16_t ihoriz_test_signal_level;  // 0.01 dBm
  int16_t ivert_test_signal_level;
  int32_t itpower_v[DSP_PULSE_WIDTHS];
  int16_t iburst_pwr_calib_h[DSP_PULSE_WIDTHS];  // 0.01 dBm
  int16_t iburst_pwr_calib_v[DSP_PULSE_WIDTHS];
  int16_t idigital_filter_loss_calib[DSP_PULSE_WIDTHS];  // 0.01 dB
  float fnoise_equivalent_bandwidth[DSP_PULSE_WIDTHS];   // MHz
  float fsignal_generator_min;                           // GHz
  float fsignal_generator_max;
  float finitial_signal_generator_frequency;
  int16_t isignal_generator_frequency_resolution;  // kHz
};

// ---------------------------------------------------------------------------
// Real-time display

struct rtdisp_channel {
  char sXmtName[20];
  char sBroadcastAddress[20];
  uint32_t iPortNum;
  int8_t iXmtDataSet;
  uint8_t spare[3];
};
static_assert(sizeof(rtdisp_channel) == 48, "RTD channel record is 48 bytes");
static_assert(offsetof(rtdisp_channel, iPortNum) == 40, "iPortNum at byte 40");
static_assert(offsetof(rtdisp_channel, iXmtDataSet) == 44, "iXmtDataSet at byte 44");

struct rtdisp_setup {
  int8_t lEnabled;  // 0 no, 1 from application, 2 from KOX
  int16_t irtd_max_bins;
  int16_t iPriority;
  uint32_t iChannelCount;
  rtdisp_channel Channel[RTD_CHANNELS];
};

// ---------------------------------------------------------------------------
// Data system (ZAMO)

struct zamo_misc {
  // general
  uint8_t lRecordGmt;
  uint8_t lauto_time_set;
  uint16_t lzel_mode_control;
  uint16_t lsocket_mode_control;
  uint8_t lStatusModeChange;
  char sStatusSupplierCode[4];
  uint16_t lrestart_fatal;
  int16_t ircv_beep_time;  // s
  uint8_t lsay_text_product;
  uint8_t lsay_mode_change;
  uint8_t lsay_fatal_errors;
  uint8_t lsay_bite_faults;
  int32_t ikbytes_ingest;
  int16_t ikept_ingest_percent;
  uint32_t ifkbytes_product_raw;
  uint16_t ikept_product_raw_percent;
  int32_t ifkbytes_product;
  int16_t ikept_product_percent;
  uint32_t imax_disk_products;
  uint32_t imax_disk_product_cfg_names;
  uint32_t imax_archive_products;
  int16_t ipri_ingest;
  int16_t ipri_ingfio;
  int16_t ipri_input;
  int16_t ipri_product;
  int16_t ipri_reingest;
  int16_t ipri_network;
  int16_t ipri_output;
  int16_t ipri_archive;
  int16_t ipri_server;
  int16_t ipri_watchdog;
  uint8_t iWindowFaultScheme;
  uint8_t iWindowAlertStyle;
  uint8_t lWindowAlertOnFault;
  uint8_t lWindowAlertOnStale;
  uint16_t iWindowStaleTime;  // s

  // ingest
  uint16_t ingest_data_mode;
  uint8_t lIngestResetsDsp;
  uint8_t iingsim_flags;      // bits 0..4: radar, shearline, fallspeed, windfield, randomized
  int16_t ingsim_timeoffset;  // s
  int8_t ingsim_u0;           // 0.2 m/s
  int8_t ingsim_v0;
  uint8_t ingsim_wamp;  // 0.01 m/s
  uint8_t ingsim_whgt;  // 0.1 km
  uint8_t ingsim_def;   // 0.1 m/s per 100 km
  int16_t ingsim_lat;   // 16-bit binary angle
  int16_t ingsim_lon;
  float fIngSimClutterStrength;  // %
  int32_t itrunc;                // cm
  uint8_t isyn_mode;
  int8_t iIngestAngleSource;
  uint8_t lIngestTimeSourceKox2;
  uint16_t lr2_processing;
  int16_t iext_header;
  uint8_t lIngestResetsZel;
  uint8_t iIngestActPsv;
  uint8_t iPassiveType;
  uint8_t lPassiveTrigRate;
  char sSlavedSiteCode[4];
  float relspeedup;
  int16_t iaz_ok_err;  // 16-bit binary angle
  int16_t iel_ok_err;
  float faz_ok_vel;
  float fel_ok_vel;
  float fAzVelocityTolerance;
  float fElVelocityTolerance;
  float faz_morbid_speed;
  float fel_morbid_speed;
  uint16_t iaz_sweep_wait;  // 0.01 s
  uint16_t iel_sweep_wait;
  uint8_t lcon_clockwise;
  int16_t iant_coast_secs;
  uint8_t lIngestContinuousOutput;
  uint8_t lAllowRapidScan;
  float fRapidScanAcc;
  uint16_t iRapidScanOverShoot;  // 16-bit binary angle
  uint8_t lnoise_enabled;
  int16_t inoise_time;  // s
  int16_t inoise_az;    // deg; 0xFFFF: any angle
  int16_t inoise_el;    // deg; 0xFFFF: any angle
  uint8_t lnoise_at_pw_change;
  int16_t iNoiseRetrys;
  int16_t iNoiseRetryWait;  // ms
  int16_t irad_off_time;    // s
  int16_t irad_warm_time;
  uint8_t lpw_advance_change;
  float fcmap_dbzover;
  uint16_t icmap_eltol;  // 16-bit binary angle
  uint8_t lcmap_usevel;
  uint8_t lclutter_map_reingest;
  uint8_t lBeamBlockReingest;
  uint8_t lZcDpAttnReingest;
  float fAttnConstant;
  float fAttnExponent;
  float fAttnMaxZ;
  float fAttnMaxCorrection;
  uint8_t lAttnReingest;
  uint8_t lTargetDetReingest;
  uint16_t ivvpunf_maxage_sec;
  float fvvpunf_maxsep_km;
  uint8_t lvvpunf_reingest;
  float ffallspd_vtz_coef[2];  // [0] below, [1] above the melting level
  float ffallspd_vtz_exp[2];
  uint8_t lfallspd_reingest;
  uint16_t iVcStorm_maxage_sec;
  float fVcStorm_maxsep_km;
  uint8_t lVcStormRelativeReingest;
  uint8_t lHydroClassReingest;
  uint8_t lMeltHeightValid;
  int8_t ifallspd_melts[ZAMO_MELT_MONTHS];  // 0.1 km, January first

  // product
  uint16_t luse_partial_ingest;
  double fzr_const;
  double fzr_exp;
  uint16_t iNetworkWait;  // s
  uint16_t iRainGageWait;
  uint16_t iProductBusyTime;
  uint8_t lprod_alt_pol;
  uint32_t iprod_cache_size;  // bytes
  int16_t iReferenceHeight;   // m
  uint8_t lApplyGradient;
  int16_t iMinVerticalGradient;  // 0.01 dB/km
  int16_t iLowVerticalGradient;
  float fMeltingThickness;  // km
  float fMeltingIntensity;  // dB
  uint8_t lWindSpeedValid;
  float fWindDirection;  // deg
  float fWindSpeed;      // m/s
  uint8_t lDetectOverhangingStorms;
  uint32_t istatus_product_gen;  // s
  uint8_t lStatusEachTask;
  uint16_t istatus_product_quota;
  uint32_t istatus_product_timeout;  // s
  int32_t iMaxWarnDiff;              // s
  int32_t iMaxTrackDiff;
  int32_t iMaxFcastDiff;
  int32_t iMaxDefaultDiff;
  int32_t iNetworkSendTimeout;
  uint16_t imax_send_queue;
  int16_t icentroid_label;
  uint8_t bLabelBottomCatch;
  uint8_t lLabelBottomSline;
  uint8_t lLabelBottomTdwr;
  uint8_t lLabelBottomTrack;
  uint8_t lLabelBottomWarn;
  uint8_t bEnableWebDisplayOptions;
  uint8_t iprod_priorities[ZAMO_PRODUCT_TYPES];
};

struct zamo_site_entry {
  char sName[17];
  char sCode[4];
  uint8_t lChecked;
};

struct zamo_site {
  uint8_t lmmap_okay;
  int32_t imax_clients;
  zamo_site_entry sites[ZAMO_SITES];
};

// Output device type codes (idev_type).
enum {
  DEVICE_PRINTER = 2,
  DEVICE_WINDOW = 3,
  DEVICE_UNUSED = 4,
  DEVICE_ARCHIVE = 6,
  DEVICE_NETWORK = 7,
};

struct device_window {
  int16_t iwidth;
  int16_t iheight;
  int16_t ixpos;
  int16_t iypos;
  int16_t imoviecnt;
  uint8_t iToolState;
  char sDisplayName[24];
};

struct device_network {
  int16_t iwidth;
  int16_t iheight;
  uint8_t ifile_format;
  uint8_t iname_format;
  uint8_t iCompress;
  uint8_t inotify_scheme;
  uint32_t itcpip_port;
  char sRecipientHost[48];
  uint8_t icopy_scheme;
  char sTargetDirectory[160];
  uint8_t iCommandLineSyntax;
  char sPipeProgram[16];
  char sCopyScript[16];
  char sUserName[16];
  char sPassword[16];
};

struct archive_mo {
  char sMountPoint[24];
  char sDeviceFile[24];
  char sRawDeviceFile[24];
  uint8_t iFsType;
};

struct archive_dvd {
  char sMountPoint[24];
  char sDeviceFile[24];
  uint32_t iBufSize;  // MB
};

struct archive_media {
  char sTapeDevice[24];
  archive_mo Mo;
  char sLdaDirectory[160];
  archive_dvd Dvd;
};

struct device_archive {
  uint8_t isub_type;  // 1 tape, 2 MO, 3 large disk, 4 DVD
  archive_media asi;
};

struct device_printer {
  int16_t iwidth;
  int16_t iheight;
  uint8_t iPaperSize;
  char sQueueName[24];
};

// Type-specific part of an output device. Each type has its own bytes, so
// switching a device's type never garbles the settings of another type.
struct device_specific {
  device_window window;
  device_network network;
  device_archive archive;
  device_printer printer;
};

struct output_device {
  uint8_t idev_type;
  char sMenuAlias[16];
  uint16_t iskip_time;  // s
  device_specific dsi;
};

struct zamo_device {
  int32_t idevcount;
  int32_t imaxdevcount;
  output_device def[ZAMO_OUTPUT_DEVICES];
};

struct input_device {
  char sMenuAlias[16];
  char sSourceDirectory[48];
  char sPipeProgram[16];
  uint8_t iCommandLineSyntax;
  uint8_t iNotifyScheme;
  uint16_t iSocketPort;
};

struct zamo_input {
  uint32_t iInputCount;
  input_device Def[ZAMO_INPUT_DEVICES];
};

struct warning_region {
  int32_t ixcenter;  // cm
  int32_t iycenter;
  int32_t ixsize;
  int32_t iysize;
  uint16_t iangle;  // 16-bit binary angle
  char sName[12];   // blank-padded
};

struct zamo_protect {
  warning_region protected_regions[ZAMO_WARNING_REGIONS];
};

struct zamo_setup {
  char sVersion[8];  // "10.0"
  zamo_misc misc;
  zamo_site Site;
  zamo_device device;
  zamo_input Input;
  zamo_protect protect;
};

// ---------------------------------------------------------------------------
// Status codes

enum {
  SITE_OK = 1,
  SITE_NOTHING_DONE = 0x6B001F,     // informational; callers do not report it
  SITE_NO_LISTING_DIR = 0x6B004A,   // argument names the unset variable
  SITE_READ_FAILED = 0x6B0062,      // a setup file could not be opened or read
  SITE_BAD_SETUP_FILE = 0x6B006A,   // a setup file holds a line it cannot take
  SITE_WRITE_FAILED = 0x6B0072,     // a setup file could not be written
  SITE_BAD_LIMITS = 0x6B007A,       // an unknown limits name or set
  SITE_CHANGED_ON_DISK = 0x6B0082,  // the file changed since it was read or written; not written
};

// ---------------------------------------------------------------------------
// Setup files and limits

// Fills `record` with the limits set `which` (0 minimum, 1 maximum, 2 factory)
// of the limits name: "ant_manual_setup", "dsp_manual_setup", "rtdisp_setup",
// "zamo_setup", "device_def" (an output_device; follows its idev_type) or
// "network_device" (the dsi part of an output_device).
int setup_limits(const char *name, void *record, int which, int flags);
typedef int (*setup_limits_fn)(const char *name, void *record, int which, int flags);

int ant_load_setup(zel_setup *record);
int ant_save_setup(zel_setup *record);
int lim_loadFile(const char *file, const char *limits_name, void *record, setup_limits_fn limits);
int dsp_save_setup(dsp_setup *record);
int RtdispLoadSetup(rtdisp_setup *record);
int RtdispSaveSetup(rtdisp_setup *record);
int zamoload(zamo_setup *record);
int zamosave(zamo_setup *record);

// The setup directory: $ZAMO_CONFIG, else $ZAMO_ROOT/config, else the
// installation's own (etc/zamo/config below its prefix; /etc/zamo/config
// for a /usr installation).
const char *setup_directory(void);

// Reading a setup file that has bad lines loads every good line, gives the
// fields of the bad ones their factory values and returns
// SITE_BAD_SETUP_FILE, whose text lists each bad line (one per text line).
// Warnings of the last read (fields an older version had), one per text
// line; "" when there were none.
const char *setup_file_warnings(void);

// Whether the setup file (a name in the setup directory or a full path)
// changed on disk since this process last read or wrote it: 1 changed, 0
// not changed or never read here. A save over such a file is refused with
// SITE_CHANGED_ON_DISK until the file is read again (the program merges
// what it holds with its own changes, then saves).
int setup_file_changed(const char *file);

// Holds the lock of the setup directory, the one every writer of a setup
// file takes, until the matching unlock: a save of several files, its
// change log entry first, is then one step for other programs. Calls nest;
// returns 0 or an errno.
int lock_setup_directory(void);
void unlock_setup_directory(void);

// 1 when `path` is a regular file of at most `max_bytes` bytes (checked
// without blocking on a FIFO), otherwise 0. For files that another library
// opens by name.
int site_regular_file(const char *path, size_t max_bytes);

// ---------------------------------------------------------------------------
// Checksums and typed assignment

uint32_t iunique_sum(const void *address, size_t bytes);

// Rounds to nearest and saturates at the type's range; NaN stores 0.
void AssignValue(int8_t *field, double value);
void AssignValue(uint8_t *field, double value);
void AssignValue(int16_t *field, double value);
void AssignValue(uint16_t *field, double value);
void AssignValue(int32_t *field, double value);
void AssignValue(uint32_t *field, double value);
void AssignValue(float *field, double value);
void AssignValue(double *field, double value);

// ---------------------------------------------------------------------------
// Process services

const char *tolvek_username(void);
int lzamo_operator(const char *user);
int tolvek_establish(int flags, const char *name);
void tolvek_signal_va(int code, int argc, ...);
const char *message_to_text(int status, int arg1, int arg2);
int helpStart(int mode, const char *topic, int flags);
void helpExit(void);

// Catalogue initialisers of the library's utility, configuration and user parts.
void util_nls_init(void);
void config_nls_init(void);
void user_nls_init(void);

// ---------------------------------------------------------------------------
// Time

struct time_full {
  time_t seconds;
  long microseconds;
  char sShort[16];  // zone abbreviation, e.g. "UTC"
};
void GetTimeFull(time_full *record, int flags);
// "14:05:09 06-DEC-2026" into buffer (at least 32 bytes); returns buffer.
char *shhmmssddmonyyyy_r(const time_full *record, char *buffer);

struct time_ymds {
  int iyear;
  int imonth;    // 1..12
  int iday;      // 1..31
  int iseconds;  // seconds of the day
};
void GetTimeYmds(time_ymds *record, int flags);
void unpacktime(int seconds, int *days, int *hours, int *minutes, int *secs);

// ---------------------------------------------------------------------------
// Texts and angles

int strlen_utf8(const char *text);
// Blank-padded field of `size` bytes to a terminated text (target holds
// size + 1 bytes); trailing blanks are dropped.
void nullify_ncpy(char *target, const char *source, int size);
// Text to a blank-padded field of `size` bytes without terminator.
void spacify_ncpy(char *target, const char *source, int size);
double fDegFromBin4(int32_t angle);

// ---------------------------------------------------------------------------
// Product types 1..ZAMO_PRODUCT_TYPES

int lProductCanBeScheduled(int type);
int iRankOfProduct(int type);
const char *sproduct_name5(int type);
