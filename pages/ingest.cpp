// The ingest page: the data source (signal processor or the built-in
// simulator), processing and recording options, scanning tolerances, noise
// sampling, transmitter control, and the corrections that ingest and
// re-ingest apply to reflectivity and velocity.
#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

// Data sources of zamo.misc.ingest_data_mode.
enum { FROM_DSP = 0, SIMULATED = 1 };
// Task scheduling of zamo.misc.iIngestActPsv and passive types.
enum { ACTIVE_ONLY = 0, PASSIVE_ONLY = 1, ACTIVE_PASSIVE = 2 };
enum { STATUS_SLAVING = 2 };

constexpr double ANGLE16 = 65536.0 / 360.0;  // 16-bit binary angle per degree

bool source_is(int source) { return zamo.misc.ingest_data_mode == source; }
bool simulated() { return source_is(SIMULATED); }
bool active_ingest() { return zamo.misc.iIngestActPsv != PASSIVE_ONLY; }
bool passive_ingest() { return zamo.misc.iIngestActPsv != ACTIVE_ONLY; }
bool noise_on() { return zamo.misc.lnoise_enabled == 1; }

const char *const months[ZAMO_MELT_MONTHS] = {
    N_("January"), N_("February"), N_("March"),     N_("April"),   N_("May"),      N_("June"),
    N_("July"),    N_("August"),   N_("September"), N_("October"), N_("November"), N_("December")};

// Tropic, mid-latitude and polar melting levels of each month.
const char *const melting_hints[ZAMO_MELT_MONTHS][3] = {
    {N_(" 2.5 km tropic"), N_(" 1.0 km mid"), N_("-1.5 km polar")},
    {N_(" 2.5 km tropic"), N_(" 1.0 km mid"), N_("-1.5 km polar")},
    {N_(" 3.0 km tropic"), N_(" 1.5 km mid"), N_("-0.7 km polar")},
    {N_(" 3.5 km tropic"), N_(" 2.0 km mid"), N_(" 0.2 km polar")},
    {N_(" 4.0 km tropic"), N_(" 2.5 km mid"), N_(" 1.3 km polar")},
    {N_(" 4.3 km tropic"), N_(" 3.0 km mid"), N_(" 2.2 km polar")},
    {N_(" 4.5 km tropic"), N_(" 3.5 km mid"), N_(" 2.5 km polar")},
    {N_(" 4.5 km tropic"), N_(" 3.5 km mid"), N_(" 2.0 km polar")},
    {N_(" 4.3 km tropic"), N_(" 3.0 km mid"), N_(" 1.5 km polar")},
    {N_(" 4.0 km tropic"), N_(" 2.5 km mid"), N_(" 0.5 km polar")},
    {N_(" 3.5 km tropic"), N_(" 1.5 km mid"), N_("-0.3 km polar")},
    {N_(" 2.5 km tropic"), N_(" 1.0 km mid"), N_("-1.0 km polar")},
};

PageState page = page_state(PAGE_INGEST);

void data_source_selection(PageWalk &w) {
  w.section(_("Data Source Selection"), "data_source_selection");
  w.row();
  w.choice(FIELD(zamo.misc.ingest_data_mode), _("INGEST data source"),
           {{_("From DSP"), FROM_DSP}, {_("Simulated"), SIMULATED}});
  w.row(source_is(FROM_DSP), _("the INGEST data source is From DSP"));
  w.toggle(FIELD(zamo.misc.lIngestResetsDsp), _("Reset the DSP on INGEST startup"), _("Yes"), _("No"));
  w.row(simulated(), _("the INGEST data source is Simulated"));
  w.number(FIELD(zamo.misc.ingsim_timeoffset), _("Simulator virtual time offset"), _("%.1f minutes"), 60,
           {_("0 minutes")});
  w.toggle(FIELD(auxset.lingsim_windfield), _("Simulate a large-scale windfield"), _("Yes"), _("No"));
  w.row(simulated() && auxset.lingsim_windfield != 0,
        _("the INGEST data source is Simulated and a large-scale windfield is simulated"));
  w.number(FIELD(zamo.misc.ingsim_u0), _("Nominal wind from the West"), _("%.1f m/sec"), 5);
  w.number(FIELD(zamo.misc.ingsim_v0), _("Nominal wind from the South"), _("%.1f m/sec"), 5);
  w.number(FIELD(zamo.misc.ingsim_wamp), _("Vertical wind maximum speed"), _("%.2f m/sec"), 100);
  w.number(FIELD(zamo.misc.ingsim_whgt), _("Vertical wind cyclic height"), _("%.1f km"), 10);
  w.number(FIELD(zamo.misc.ingsim_def), _("Wind field deformation"), _("%.1f m/sec/100km"), 10);
  w.row(simulated(), _("the INGEST data source is Simulated"));
  w.toggle(FIELD(auxset.lingsim_shearline), _("Simulate a shearline"), _("Yes"), _("No"));
  w.toggle(FIELD(auxset.lingsim_fallspeed), _("Simulate particle fallspeeds"), _("Yes"), _("No"));
  w.toggle(FIELD(auxset.lingsim_randomized), _("Empirical smearing of polarimetry"), _("Yes"), _("No"));
  w.toggle(FIELD(auxset.lingsim_radar), _("Simulation center location"), _("At the radar"),
           _("Fixed Lat/Lon"));
  w.row(simulated() && auxset.lingsim_radar == 0,
        _("the INGEST data source is Simulated and the simulation center is a fixed Lat/Lon"));
  w.number(FIELD(zamo.misc.ingsim_lat), _("Simulator latitude"), _("%.2f deg"), ANGLE16,
           {w.hint(_("%.2f deg"), fDegFromBin4(auxset.zel_ilat))});
  w.number(FIELD(zamo.misc.ingsim_lon), _("Simulator longitude"), _("%.2f deg"), ANGLE16,
           {w.hint(_("%.2f deg"), fDegFromBin4(auxset.zel_ilon))});
  w.row(simulated(), _("the INGEST data source is Simulated"));
  w.number(FIELD(zamo.misc.fIngSimClutterStrength), _("Clutter density factor"), _("%.1f %%"), 1);
}

void signal_processing_and_data_storage(PageWalk &w) {
  w.section(_("Signal Processing and Data Storage"), "signal_processing_and_data_storage");
  w.row();
  w.number(FIELD(zamo.misc.itrunc), _("Data truncation height"), _("%.3f km"), 100000,
           {w.hint(_("%.3f km"), 30.0)});
  w.choice(FIELD(zamo.misc.isyn_mode), _("Type of angle syncing"),
           {{_("None"), 0}, {_("Dynamic"), 2}, {_("Static"), 1}});
  w.row();
  w.choice(FIELD(zamo.misc.iIngestAngleSource), _("Source of recorded angles"),
           {{_("ZAMO Host"), 3}, {_("KOX Tags"), 1}});
  w.toggle(FIELD(zamo.misc.lIngestTimeSourceKox2), _("Source of recorded time"), _("KOX Tags"),
           _("ZAMO Host"));
  w.toggle(FIELD(zamo.misc.lr2_processing), _("DSP parameter computations"), _("R2 algorithms"),
           _("R1 algorithms"));
  w.choice(
      FIELD(zamo.misc.iext_header), _("Extended header format"),
      {{_("Not Recorded"), -1}, {_("V0 (Time & Cal)"), 0}, {_("V1 (V0 + Nav)"), 1}, {_("V2 (Custom)"), 2}});
}

void scanning_options(PageWalk &w) {
  w.section(_("Scanning Options"), "scanning_options");
  w.row();
  w.toggle(FIELD(zamo.misc.lIngestResetsZel), _("Reset the ZEL on INGEST startup"), _("Yes"), _("No"));
  w.choice(FIELD(zamo.misc.iIngestActPsv), _("Task Scheduling Control"),
           {{_("Active Only"), ACTIVE_ONLY},
            {_("Passive Only"), PASSIVE_ONLY},
            {_("Active/Passive"), ACTIVE_PASSIVE}});
  w.row(passive_ingest(), _("task scheduling is Passive Only or Active/Passive"));
  w.choice(FIELD(zamo.misc.iPassiveType), _("Passive type"),
           {{_("Multi-Tasking"), 0},
            {_("Single-Tasking"), 1},
            {_("Status-Slaving"), STATUS_SLAVING},
            {_("TS-Playback"), 3}});
  w.toggle(FIELD(zamo.misc.lPassiveTrigRate), _("Passive: use external trig rate"), _("Yes"), _("No"));
  w.row(passive_ingest() && zamo.misc.iPassiveType == STATUS_SLAVING,
        _("task scheduling is Passive Only or Active/Passive and the passive type is Status-Slaving"));
  w.text(TEXT(zamo.misc.sSlavedSiteCode), _("Slaved to (Site Code)"));
  w.row();
  w.number(FIELD(zamo.misc.relspeedup), _("RHI elevation speedup ratio"), "%.2f", 1, {w.hint("%.2f", 10.0)});
  w.number(FIELD(zamo.misc.iaz_ok_err), _("Permissible AZ error during scans"), _("%.2f degrees"), ANGLE16,
           {w.hint(_("%.2f degrees"), 0.5)});
  w.number(FIELD(zamo.misc.iel_ok_err), _("Permissible EL error during scans"), _("%.2f degrees"), ANGLE16,
           {w.hint(_("%.2f degrees"), 0.5)});
  w.number(FIELD(zamo.misc.faz_ok_vel), _("AZ maximum speed at end positions"), _("%.2f deg/sec"), 1,
           {w.hint(_("%.2f deg/sec"), 0.5)});
  w.number(FIELD(zamo.misc.fel_ok_vel), _("EL maximum speed at end positions"), _("%.2f deg/sec"), 1,
           {w.hint(_("%.2f deg/sec"), 0.5)});
  w.number(FIELD(zamo.misc.fAzVelocityTolerance), _("AZ speed tolerance"), _("%.2f deg/sec"), 1,
           {w.hint(_("%.2f deg/sec"), 2.0)});
  w.number(FIELD(zamo.misc.fElVelocityTolerance), _("EL speed tolerance"), _("%.2f deg/sec"), 1,
           {w.hint(_("%.2f deg/sec"), 2.0)});
  w.number(FIELD(zamo.misc.faz_morbid_speed), _("AZ minimum expected moving speed"), _("%.2f deg/sec"), 1,
           {w.hint(_("%.2f deg/sec"), 0.2)});
  w.number(FIELD(zamo.misc.fel_morbid_speed), _("EL minimum expected moving speed"), _("%.2f deg/sec"), 1,
           {w.hint(_("%.2f deg/sec"), 0.2)});
  w.number(FIELD(zamo.misc.iaz_sweep_wait), _("AZ settling time between sweeps"), _("%.2f seconds"), 100,
           {w.hint(_("%.2f second"), 1.0)});
  w.number(FIELD(zamo.misc.iel_sweep_wait), _("EL settling time between sweeps"), _("%.2f seconds"), 100,
           {w.hint(_("%.2f second"), 1.0)});
  w.choice(FIELD(zamo.misc.lcon_clockwise), _("Direction of continuous scans"),
           {{_("CCW"), 0}, {_("Clockwise"), 1}});
  w.number(FIELD(zamo.misc.iant_coast_secs), _("Coasting time between tasks"), _("%.0f seconds max"), 1,
           {_("60 seconds max")});
  w.toggle(FIELD(zamo.misc.lIngestContinuousOutput), _("Optimize for continous output"), _("Yes"), _("No"));
  w.toggle(FIELD(zamo.misc.lAllowRapidScan), _("Allow RapidScan"), _("Yes"), _("No"));
  w.number(FIELD(zamo.misc.fRapidScanAcc), _("RapidScan Acceleration"), _("%.1f deg/sec/sec"), 1,
           {w.hint(_("%.1f deg/sec"), 15.0)});
  w.number(FIELD(zamo.misc.iRapidScanOverShoot), _("RapidScan Overshoot"), _("%.1f deg"), ANGLE16,
           {w.hint(_("%.1f deg"), 10.0)});
}

void dsp_noise_sampling(PageWalk &w) {
  w.section(_("DSP Noise Sampling"), "dsp_noise_sampling", active_ingest(),
            _("task scheduling is Active Only or Active/Passive"));
  w.row();
  w.toggle(FIELD(zamo.misc.lnoise_enabled), _("Perform noise sampling"), _("Periodically"), _("Never"));
  w.row(noise_on(), _("noise sampling is performed periodically"));
  w.number(FIELD(zamo.misc.inoise_time), _("Time between noise samples"), _("%.1f minutes"), 60,
           {w.hint(_("%.1f minutes"), 60.0)});
  w.toggle(FIELD(auxset.lnoise_az), _("Azimuth during noise sample"), _("Specific Angle"), _("Don't Care"));
  w.row(noise_on() && auxset.lnoise_az != 0, _("noise sampling is periodic at a specific azimuth"));
  w.number(FIELD(zamo.misc.inoise_az), _("Noise azimuth"), _("%.0f degrees"), 1);
  w.row(noise_on(), _("noise sampling is performed periodically"));
  w.toggle(FIELD(auxset.lnoise_el), _("Elevation during noise sample"), _("Minimum Angle"), _("Don't Care"));
  w.row(noise_on() && auxset.lnoise_el != 0, _("noise sampling is periodic at a minimum elevation"));
  w.number(FIELD(zamo.misc.inoise_el), _("Minimum noise elevation"), _("%.0f degrees"), 1);
  w.row(noise_on(), _("noise sampling is performed periodically"));
  w.toggle(FIELD(zamo.misc.lnoise_at_pw_change), _("Take sample whenever PW changes"), _("Yes"), _("No"));
  w.number(FIELD(zamo.misc.iNoiseRetrys), _("Retry bad noise samples"), _("%.0f time(s)"), 1, {_("1 time")});
  w.row(noise_on() && zamo.misc.iNoiseRetrys != 0,
        _("noise sampling is periodic and bad samples are retried"));
  w.number(FIELD(zamo.misc.iNoiseRetryWait), _("Noise retry wait"), _("%.2f seconds"), 1000,
           {w.hint(_("%.2f seconds"), 1.0)});
}

void transmitter_control(PageWalk &w) {
  w.section(_("Transmitter Control"), "transmitter_control", active_ingest(),
            _("task scheduling is Active Only or Active/Passive"));
  w.row();
  w.number(FIELD(zamo.misc.irad_off_time), _("Idle time to shut off transmitter"), _("%.0f seconds"), 1,
           {w.hint(_("%.0f seconds"), 300.0)});
  w.number(FIELD(zamo.misc.irad_warm_time), _("Warmup time for transmitter"), _("%.0f seconds"), 1,
           {w.hint(_("%.0f seconds"), 10.0)});
  w.toggle(FIELD(zamo.misc.lpw_advance_change), _("Pulsewidth and PRF are set"), _("in advance"),
           _("at task start"));
}

void reflectivity_corrections(PageWalk &w) {
  w.section(_("Z: Clutter Suppression via Clutter Map"), "clutter_suppression");
  w.row();
  w.number(FIELD(zamo.misc.fcmap_dbzover), _("Excess power needed for valid dBZ"), _("%.1f dB"), 1,
           {w.hint(_("%.1f dB"), 10.0)});
  w.number(FIELD(zamo.misc.icmap_eltol), _("Elevation tolerance for matchup"), _("%.2f degrees"), ANGLE16,
           {w.hint(_("%.2f degrees"), 1.0)});
  w.toggle(FIELD(zamo.misc.lcmap_usevel), _("Non-zero velocity criterion"), _("Check Velocity"),
           _("Ignore Velocity"));
  w.toggle(FIELD(zamo.misc.lclutter_map_reingest), _("Clutter map in ReINGEST"), _("Enabled"), _("Disabled"));

  w.section(_("Zc: Partial beam blockage Correction"), "beam_blockage");
  w.row();
  w.toggle(FIELD(zamo.misc.lBeamBlockReingest), _("Beam blockage in ReINGEST"), _("Create Zc"),
           _("Disabled"));

  w.section(_("Zc & ZDRc: DP Attenuation Correction"), "dp_intervening_attenuation");
  w.row();
  w.toggle(FIELD(zamo.misc.lZcDpAttnReingest), _("DP Atten correction in ReINGEST"), _("Create Zc ZDRc"),
           _("Disabled"));

  w.section(_("Zc: Z-based Attenuation Correction"), "z-based_intervening_attenuation");
  w.row();
  w.number(FIELD(zamo.misc.fAttnConstant), _("Z attenuation constant"), _("%.6f dB/km"), 1,
           {_("0.000112 dB/km  C Band"), _("0.000290 dB/km  X Band")});
  w.number(FIELD(zamo.misc.fAttnExponent), _("Z attenuation exponent"), "%3.2f", 1,
           {_("0.62  C Band"), _("0.72  X Band")});
  w.number(FIELD(zamo.misc.fAttnMaxZ), _("Maximum Z for correction"), _("%2.1f dBZ"), 1, {_("50 dBZ")});
  w.number(FIELD(zamo.misc.fAttnMaxCorrection), _("Maximum cumulative correction"), _("%2.1f dB"), 1,
           {_(" 6.0 dB  C Band"), _("33.0 dB  X Band")});
  w.toggle(FIELD(zamo.misc.lAttnReingest), _("Z Atten correction in ReINGEST"), _("Create Zc"),
           _("Disabled"));

  w.section(_("Zc: Target Detection Correction"), "target_detection");
  w.row();
  w.toggle(FIELD(zamo.misc.lTargetDetReingest), _("Target detection in ReINGEST"), _("Create Zc"),
           _("Disabled"));
}

void velocity_corrections(PageWalk &w) {
  w.section(_("Vc: VVP Unfolding of Velocity"), "velocity_unfolding_(zamo_ingest_options)");
  w.row();
  w.number(FIELD(zamo.misc.ivvpunf_maxage_sec), _("Maximum age of the \"UNFOLD\" VVP"), _("%.1f minutes"), 60,
           {w.hint(_("%.1f minutes"), 30.0)});
  w.number(FIELD(zamo.misc.fvvpunf_maxsep_km), _("Maximum separation to the VVP"), _("%.1f km"), 1,
           {w.hint(_("%.1f km"), 50.0)});
  w.toggle(FIELD(zamo.misc.lvvpunf_reingest), _("Velocity unfolding in ReINGEST"), _("Create Vc"),
           _("Disabled"));

  w.section(_("Vc: Velocity Fallspeed Correction"), "velocity_fallspeed_correction");
  w.row();
  w.number(FIELD(zamo.misc.ffallspd_vtz_coef[1]), _("Vt-Z Constant above melting level"), _("%.2f m/s"), 1,
           {w.hint(_("%.2f m/s"), 0.8)});
  w.number(FIELD(zamo.misc.ffallspd_vtz_exp[1]), _("Vt-Z Exponent above melting level"), "%.3f", 1,
           {w.hint("%.3f", 0.06)});
  w.number(FIELD(zamo.misc.ffallspd_vtz_coef[0]), _("Vt-Z Constant below melting level"), _("%.2f m/s"), 1,
           {w.hint(_("%.2f m/s"), 2.7)});
  w.number(FIELD(zamo.misc.ffallspd_vtz_exp[0]), _("Vt-Z Exponent below melting level"), "%.3f", 1,
           {w.hint("%.3f", 0.11)});
  w.toggle(FIELD(zamo.misc.lfallspd_reingest), _("Fallspeed correction in ReINGEST"), _("Create Vc"),
           _("Disabled"));

  w.section(_("Vc: Storm Relative Velocity Correction"), "storm_relative_velocity");
  w.row();
  w.number(FIELD(zamo.misc.iVcStorm_maxage_sec), _("Maximum age of the \"STORM\" FCAST"), _("%.1f minutes"),
           60, {w.hint(_("%.1f minutes"), 30.0)});
  w.number(FIELD(zamo.misc.fVcStorm_maxsep_km), _("Maximum separation to the FCAST"), _("%.1f km"), 1,
           {w.hint(_("%.1f km"), 50.0)});
  w.toggle(FIELD(zamo.misc.lVcStormRelativeReingest), _("Storm Relative Velocity in ReINGEST"),
           _("Create Vc"), _("Disabled"));
}

void hydroclass_and_melting_levels(PageWalk &w) {
  w.section(_("HClass: Hydrometeor Classification"), "hydroclass");
  w.row();
  w.toggle(FIELD(zamo.misc.lHydroClassReingest), _("Hydro Classification in ReINGEST"), _("Enabled"),
           _("Disabled"));

  w.section(_("Melting Levels"), "melting_levels");
  w.row();
  w.toggle(FIELD(zamo.misc.lMeltHeightValid), _("Melting Levels"), _("Enabled"), _("Disabled"));
  w.row(zamo.misc.lMeltHeightValid != 0, _("melting levels are enabled"));
  for (int ii = 0; ii < ZAMO_MELT_MONTHS; ++ii) {
    const char *label = ii == 0 ? w.label(_("Melting level height for: %s"), _(months[ii])) : _(months[ii]);
    const char *const *hints = melting_hints[ii];
    w.number(FIELD(zamo.misc.ifallspd_melts[ii]), label, _("%.1f km"), 10,
             {_(hints[0]), _(hints[1]), _(hints[2])});
  }
}

}  // namespace

void ingest_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);
  data_source_selection(w);
  signal_processing_and_data_storage(w);
  scanning_options(w);
  dsp_noise_sampling(w);
  transmitter_control(w);
  reflectivity_corrections(w);
  velocity_corrections(w);
  hydroclass_and_melting_levels(w);
}
