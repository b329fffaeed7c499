// Data system (ZAMO) setup: limits and factory values.
#define SITELIB_SCHEMA_TABLES
#include "sitelib/schema.h"

namespace {
const zamo_setup zamo{};  // shape of the record the paths name

// A site at 52 N 13 E: simulator position and the like.
const double kSiteLatitude = 52.0;
const double kSiteLongitude = 13.0;

const long kPriorityMin = -20, kPriorityMax = 19;  // process priorities

void general(SchemaBuilder &b) {
  b.flag(F(zamo.misc.lRecordGmt), 1);
  b.flag(F(zamo.misc.lauto_time_set), 0);
  b.flag(F(zamo.misc.lzel_mode_control), 0);
  b.flag(F(zamo.misc.lsocket_mode_control), 0);
  b.flag(F(zamo.misc.lStatusModeChange), 0);
  b.text(F(zamo.misc.sStatusSupplierCode), "");
  b.flag(F(zamo.misc.lrestart_fatal), 1);
  b.number(F(zamo.misc.ircv_beep_time), 0, 3600, 600);  // s
  b.flag(F(zamo.misc.lsay_text_product), 0);
  b.flag(F(zamo.misc.lsay_mode_change), 1);
  b.flag(F(zamo.misc.lsay_fatal_errors), 1);
  b.flag(F(zamo.misc.lsay_bite_faults), 0);
  b.number(F(zamo.misc.ikbytes_ingest), 1000, 2000000000, 20000000);  // kB: 1 MB to 2 TB
  b.number(F(zamo.misc.ikept_ingest_percent), 0, 100, 50);
  b.number(F(zamo.misc.ifkbytes_product_raw), 1000, 4000000000.0, 20000000);  // kB
  b.number(F(zamo.misc.ikept_product_raw_percent), 0, 100, 50);
  b.number(F(zamo.misc.ifkbytes_product), 1000, 2000000000, 20000000);  // kB
  b.number(F(zamo.misc.ikept_product_percent), 0, 100, 50);
  b.number(F(zamo.misc.imax_disk_products), 10, 1000000, 10000);
  b.number(F(zamo.misc.imax_disk_product_cfg_names), 1, 10000, 500);
  b.number(F(zamo.misc.imax_archive_products), 10, 1000000, 10000);
  b.number(F(zamo.misc.ipri_ingest), kPriorityMin, kPriorityMax, -8);
  b.number(F(zamo.misc.ipri_ingfio), kPriorityMin, kPriorityMax, -8);
  b.number(F(zamo.misc.ipri_input), kPriorityMin, kPriorityMax, 4);
  b.number(F(zamo.misc.ipri_product), kPriorityMin, kPriorityMax, 8);
  b.number(F(zamo.misc.ipri_reingest), kPriorityMin, kPriorityMax, 8);
  b.number(F(zamo.misc.ipri_network), kPriorityMin, kPriorityMax, 4);
  b.number(F(zamo.misc.ipri_output), kPriorityMin, kPriorityMax, 4);
  b.number(F(zamo.misc.ipri_archive), kPriorityMin, kPriorityMax, 4);
  b.number(F(zamo.misc.ipri_server), kPriorityMin, kPriorityMax, 0);
  b.number(F(zamo.misc.ipri_watchdog), kPriorityMin, kPriorityMax, 0);
  b.choice(F(zamo.misc.iWindowFaultScheme), {0, 1}, 0);       // fault on one, on all
  b.choice(F(zamo.misc.iWindowAlertStyle), {0, 1, 2, 3}, 1);  // disabled, red X and text, red X, text
  b.flag(F(zamo.misc.lWindowAlertOnFault), 1);
  b.flag(F(zamo.misc.lWindowAlertOnStale), 1);
  b.number(F(zamo.misc.iWindowStaleTime), 30, 36000, 360);  // s
}

void ingest(SchemaBuilder &b) {
  b.choice(F(zamo.misc.ingest_data_mode), {0, 1}, 0);  // from the DSP, simulated
  b.flag(F(zamo.misc.lIngestResetsDsp), 1);
  b.number(F(zamo.misc.iingsim_flags), 0, 31,
           0x09);  // bits: radar, shearline, fallspeed, windfield, randomized
  b.number(F(zamo.misc.ingsim_timeoffset), -32400, 32400, 0);  // s: up to 9 hours either way
  b.number(F(zamo.misc.ingsim_u0), -125, 125, 25);             // 0.2 m/s: 5 m/s from the west
  b.number(F(zamo.misc.ingsim_v0), -125, 125, 0);
  b.number(F(zamo.misc.ingsim_wamp), 0, 255, 100);                                 // 0.01 m/s
  b.number(F(zamo.misc.ingsim_whgt), 1, 200, 30);                                  // 0.1 km
  b.number(F(zamo.misc.ingsim_def), 0, 255, 10);                                   // 0.1 m/s per 100 km
  b.number(F(zamo.misc.ingsim_lat), deg16(-90), deg16(90), deg16(kSiteLatitude));  // binary angle
  b.number(F(zamo.misc.ingsim_lon), -32768, 32767, deg16(kSiteLongitude));
  b.number(F(zamo.misc.fIngSimClutterStrength), 0, 100, 50);  // %
  b.number(F(zamo.misc.itrunc), 100000, 5000000, 3000000);    // cm: 1 to 50 km
  b.choice(F(zamo.misc.isyn_mode), {0, 2, 1}, 0);             // none, dynamic, static
  b.choice(F(zamo.misc.iIngestAngleSource), {3, 1}, 3);       // ZAMO host, KOX tags
  b.flag(F(zamo.misc.lIngestTimeSourceKox2), 0);
  b.flag(F(zamo.misc.lr2_processing), 1);
  b.choice(F(zamo.misc.iext_header), {-1, 0, 1, 2}, -1);  // not recorded, V0, V1, V2
  b.flag(F(zamo.misc.lIngestResetsZel), 0);
  b.choice(F(zamo.misc.iIngestActPsv), {0, 1, 2}, 0);    // active, passive, both
  b.choice(F(zamo.misc.iPassiveType), {0, 1, 2, 3}, 0);  // multi, single, status slaving, playback
  b.flag(F(zamo.misc.lPassiveTrigRate), 0);
  b.text(F(zamo.misc.sSlavedSiteCode), "");
  b.number(F(zamo.misc.relspeedup), 0.1, 100, 10);
  b.number(F(zamo.misc.iaz_ok_err), deg16(0), deg16(10), deg16(0.5));  // binary angle
  b.number(F(zamo.misc.iel_ok_err), deg16(0), deg16(10), deg16(0.5));
  b.number(F(zamo.misc.faz_ok_vel), 0, 10, 0.5);  // deg/s
  b.number(F(zamo.misc.fel_ok_vel), 0, 10, 0.5);
  b.number(F(zamo.misc.fAzVelocityTolerance), 0, 10, 2);
  b.number(F(zamo.misc.fElVelocityTolerance), 0, 10, 2);
  b.number(F(zamo.misc.faz_morbid_speed), 0, 10, 0.2);
  b.number(F(zamo.misc.fel_morbid_speed), 0, 10, 0.2);
  b.number(F(zamo.misc.iaz_sweep_wait), 0, 6000, 100);  // 0.01 s
  b.number(F(zamo.misc.iel_sweep_wait), 0, 6000, 100);
  b.choice(F(zamo.misc.lcon_clockwise), {0, 1}, 1);  // counter-clockwise, clockwise
  b.number(F(zamo.misc.iant_coast_secs), 0, 3600, 60);
  b.flag(F(zamo.misc.lIngestContinuousOutput), 0);
  b.flag(F(zamo.misc.lAllowRapidScan), 0);
  b.number(F(zamo.misc.fRapidScanAcc), 1, 100, 15);  // deg/s/s
  b.number(F(zamo.misc.iRapidScanOverShoot), deg16(0), deg16(45), deg16(10));
  b.flag(F(zamo.misc.lnoise_enabled), 1);
  b.number(F(zamo.misc.inoise_time), 60, 32400, 3600);  // s
  b.number(F(zamo.misc.inoise_az), 0, 359, 0);          // deg
  b.number(F(zamo.misc.inoise_el), 0, 90, 20);
  b.flag(F(zamo.misc.lnoise_at_pw_change), 0);
  b.number(F(zamo.misc.iNoiseRetrys), 0, 10, 1);
  b.number(F(zamo.misc.iNoiseRetryWait), 0, 30000, 1000);  // ms
  b.number(F(zamo.misc.irad_off_time), 0, 32400, 300);     // s
  b.number(F(zamo.misc.irad_warm_time), 0, 3600, 10);
  b.flag(F(zamo.misc.lpw_advance_change), 1);
  b.number(F(zamo.misc.fcmap_dbzover), 0, 50, 10);  // dB
  b.number(F(zamo.misc.icmap_eltol), deg16(0), deg16(10), deg16(1));
  b.flag(F(zamo.misc.lcmap_usevel), 1);
  b.flag(F(zamo.misc.lclutter_map_reingest), 0);
  b.flag(F(zamo.misc.lBeamBlockReingest), 0);
  b.flag(F(zamo.misc.lZcDpAttnReingest), 0);
  b.number(F(zamo.misc.fAttnConstant), 0, 0.01, 0.000112);  // dB/km, C band
  b.number(F(zamo.misc.fAttnExponent), 0.1, 2, 0.62);
  b.number(F(zamo.misc.fAttnMaxZ), 0, 80, 50);          // dBZ
  b.number(F(zamo.misc.fAttnMaxCorrection), 0, 60, 6);  // dB
  b.flag(F(zamo.misc.lAttnReingest), 0);
  b.flag(F(zamo.misc.lTargetDetReingest), 0);
  b.number(F(zamo.misc.ivvpunf_maxage_sec), 60, 36000, 1800);
  b.number(F(zamo.misc.fvvpunf_maxsep_km), 0, 1000, 50);
  b.flag(F(zamo.misc.lvvpunf_reingest), 0);
  b.number(A(zamo.misc.ffallspd_vtz_coef, 0), 0, 20, 2.7);  // m/s, below the melting level
  b.number(A(zamo.misc.ffallspd_vtz_coef, 1), 0, 20, 0.8);  // above
  b.number(A(zamo.misc.ffallspd_vtz_exp, 0), 0, 1, 0.11);
  b.number(A(zamo.misc.ffallspd_vtz_exp, 1), 0, 1, 0.06);
  b.flag(F(zamo.misc.lfallspd_reingest), 0);
  b.number(F(zamo.misc.iVcStorm_maxage_sec), 60, 36000, 1800);
  b.number(F(zamo.misc.fVcStorm_maxsep_km), 0, 1000, 50);
  b.flag(F(zamo.misc.lVcStormRelativeReingest), 0);
  b.flag(F(zamo.misc.lHydroClassReingest), 0);
  b.flag(F(zamo.misc.lMeltHeightValid), 0);
  // Mid-latitude melting levels, January first, in 0.1 km.
  static const int kMelts[ZAMO_MELT_MONTHS] = {10, 10, 15, 20, 25, 30, 35, 35, 30, 25, 15, 10};
  for (int m = 0; m < ZAMO_MELT_MONTHS; ++m) b.number(A(zamo.misc.ifallspd_melts, m), -50, 80, kMelts[m]);
}

// The product page's scheduling hints: 30 for type 4, 40 for type 12, else 20.
int factory_priority(int type) { return type == 4 ? 30 : type == 12 ? 40 : 20; }

void product(SchemaBuilder &b) {
  b.flag(F(zamo.misc.luse_partial_ingest), 0);
  b.number(F(zamo.misc.fzr_const), 1, 10000, 200);  // Z = a R^b
  b.number(F(zamo.misc.fzr_exp), 0.5, 5, 1.6);
  b.number(F(zamo.misc.iNetworkWait), 0, 36000, 60);  // s
  b.number(F(zamo.misc.iRainGageWait), 0, 36000, 300);
  b.number(F(zamo.misc.iProductBusyTime), 0, 36000, 0);
  b.flag(F(zamo.misc.lprod_alt_pol), 1);
  b.number(F(zamo.misc.iprod_cache_size), 0, 4000000000.0, 0);  // bytes
  b.number(F(zamo.misc.iReferenceHeight), -500, 9000, 0);       // m
  b.flag(F(zamo.misc.lApplyGradient), 0);
  b.number(F(zamo.misc.iMinVerticalGradient), -2000, 2000, 700);  // 0.01 dB/km
  b.number(F(zamo.misc.iLowVerticalGradient), -2000, 2000, 100);
  b.number(F(zamo.misc.fMeltingThickness), 0, 5, 1);   // km
  b.number(F(zamo.misc.fMeltingIntensity), 0, 20, 7);  // dB
  b.flag(F(zamo.misc.lWindSpeedValid), 0);
  b.number(F(zamo.misc.fWindDirection), 0, 360, 270);  // deg
  b.number(F(zamo.misc.fWindSpeed), 0, 100, 10);       // m/s
  b.flag(F(zamo.misc.lDetectOverhangingStorms), 0);
  b.number(F(zamo.misc.istatus_product_gen), 0, 86400, 600);  // s; 0: no status products
  b.flag(F(zamo.misc.lStatusEachTask), 0);
  b.number(F(zamo.misc.istatus_product_quota), 1, 1000, 25);      // files
  b.number(F(zamo.misc.istatus_product_timeout), 0, 86400, 660);  // s; 0: no timeout
  b.number(F(zamo.misc.iMaxWarnDiff), 0, 86400, 900);             // s
  b.number(F(zamo.misc.iMaxTrackDiff), 0, 86400, 1800);
  b.number(F(zamo.misc.iMaxFcastDiff), 0, 86400, 900);
  b.number(F(zamo.misc.iMaxDefaultDiff), 0, 86400, 900);
  b.number(F(zamo.misc.iNetworkSendTimeout), 0, 3600, 120);
  b.number(F(zamo.misc.imax_send_queue), 1, 1000, 50);  // files
  b.choice(F(zamo.misc.icentroid_label), {1, 2}, 1);    // maximum, average
  b.flag(F(zamo.misc.bLabelBottomCatch), 1);
  b.flag(F(zamo.misc.lLabelBottomSline), 1);
  b.flag(F(zamo.misc.lLabelBottomTdwr), 1);
  b.flag(F(zamo.misc.lLabelBottomTrack), 1);
  b.flag(F(zamo.misc.lLabelBottomWarn), 1);
  b.flag(F(zamo.misc.bEnableWebDisplayOptions), 0);
  for (int i = 0; i < ZAMO_PRODUCT_TYPES; ++i)
    b.number(A(zamo.misc.iprod_priorities, i), 1, 99, factory_priority(i + 1));
}

void site_entry(SchemaBuilder &b, const zamo_site_entry &el, const std::string &at, int n) {
  b.text(E(sName), "");
  b.text(E(sCode), n == 0 ? "UNK" : "");
  b.flag(E(lChecked), 0);
}

void input_def(SchemaBuilder &b, const input_device &el, const std::string &at) {
  b.text(E(sMenuAlias), "");
  b.text(E(sSourceDirectory), "");
  b.text(E(sPipeProgram), "");
  b.choice(E(iCommandLineSyntax), {0, 1}, 0);  // pipe, path names
  b.choice(E(iNotifyScheme), {2, 4}, 2);       // polling, TCP/IP socket
  b.number(E(iSocketPort), 1, 65535, 30750);
}

void region(SchemaBuilder &b, const warning_region &el, const std::string &at) {
  b.number(E(ixcenter), -50000000, 50000000, 0);  // cm: up to 500 km from the radar
  b.number(E(iycenter), -50000000, 50000000, 0);
  b.number(E(ixsize), 0, 100000000, 1000000);  // cm: 10 km square
  b.number(E(iysize), 0, 100000000, 1000000);
  b.number(E(iangle), 0, 65535, 0);  // binary angle
  b.text(E(sName), "            ");  // blank-padded: an unused region
}

Schema build() {
  Schema s;
  s.name = "zamo_setup";
  s.version_path = "zamo.sVersion";
  SchemaBuilder b(s, &zamo, sizeof zamo);
  b.text(F(zamo.sVersion), ZAMO_SETUP_VERSION);
  general(b);
  ingest(b);
  product(b);
  b.flag(F(zamo.Site.lmmap_okay), 1);
  b.number(F(zamo.Site.imax_clients), 1, 1000, 50);
  for (int n = 0; n < ZAMO_SITES; ++n) site_entry(b, A(zamo.Site.sites, n), n);
  b.number(F(zamo.device.idevcount), 0, ZAMO_OUTPUT_DEVICES, 4);
  b.number(F(zamo.device.imaxdevcount), 1, ZAMO_OUTPUT_DEVICES, 16);
  for (int d = 0; d < ZAMO_OUTPUT_DEVICES; ++d)
    describe_output_device(b, A(zamo.device.def, d), factory_device_type(d));
  b.number(F(zamo.Input.iInputCount), 0, ZAMO_INPUT_DEVICES, 0);
  for (int d = 0; d < ZAMO_INPUT_DEVICES; ++d) input_def(b, A(zamo.Input.Def, d));
  for (int r = 0; r < ZAMO_WARNING_REGIONS; ++r) region(b, A(zamo.protect.protected_regions, r));
  return s;
}
}  // namespace

const Schema &zamo_schema() {
  static const Schema schema = build();
  return schema;
}
