// The ingest page through its page function and real Motif widgets: what
// the data source, task scheduling and noise settings show and hide, how
// scaled values and hints store, the bounds check and repair of hidden
// sections, hints under a comma locale, and the listing in two
// configurations.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Xm.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "items/bounds.h"
#include "items/state.h"
#include "pages/pages.h"
#include "tests/store_site.h"

namespace {

// The values behind tests/data/ingest_active_simulated.txt.
void load_demo_values() {
  zamo_misc &m = zamo.misc;
  m.ingest_data_mode = 1;
  m.ingsim_timeoffset = 90;
  auxset.lingsim_windfield = 1;
  m.ingsim_u0 = -25;
  m.ingsim_v0 = 12;
  m.ingsim_wamp = 150;
  m.ingsim_whgt = 35;
  m.ingsim_def = 7;
  auxset.lingsim_shearline = 1;
  auxset.lingsim_randomized = 1;
  m.ingsim_lat = 8192;
  m.ingsim_lon = -4096;
  m.fIngSimClutterStrength = 37.5f;
  m.itrunc = 3000000;
  m.isyn_mode = 2;
  m.iIngestAngleSource = 1;
  m.lr2_processing = 1;
  m.iext_header = -1;
  m.lIngestResetsZel = 1;
  m.relspeedup = 2.5f;
  m.iaz_ok_err = 910;
  m.iel_ok_err = 91;
  m.faz_ok_vel = 0.5f;
  m.fel_ok_vel = 0.75f;
  m.fAzVelocityTolerance = 2;
  m.fElVelocityTolerance = 1.5f;
  m.faz_morbid_speed = 0.2f;
  m.fel_morbid_speed = 0.25f;
  m.iaz_sweep_wait = 100;
  m.iel_sweep_wait = 250;
  m.iant_coast_secs = 60;
  m.lIngestContinuousOutput = 1;
  m.fRapidScanAcc = 15;
  m.iRapidScanOverShoot = 1820;
  m.lnoise_enabled = 1;
  m.inoise_time = 3600;
  auxset.lnoise_az = 1;
  m.inoise_az = 270;
  m.lnoise_at_pw_change = 1;
  m.iNoiseRetrys = 2;
  m.iNoiseRetryWait = 1500;
  m.irad_off_time = 300;
  m.irad_warm_time = 10;
  m.fcmap_dbzover = 10;
  m.icmap_eltol = 182;
  m.lcmap_usevel = 1;
  m.lBeamBlockReingest = 1;
  m.lZcDpAttnReingest = 1;
  m.fAttnConstant = 0.000112f;
  m.fAttnExponent = 0.62f;
  m.fAttnMaxZ = 50;
  m.fAttnMaxCorrection = 6;
  m.ivvpunf_maxage_sec = 1800;
  m.fvvpunf_maxsep_km = 50;
  m.lvvpunf_reingest = 1;
  m.ffallspd_vtz_coef[1] = 0.8f;
  m.ffallspd_vtz_exp[1] = 0.06f;
  m.ffallspd_vtz_coef[0] = 2.7f;
  m.ffallspd_vtz_exp[0] = 0.11f;
  m.iVcStorm_maxage_sec = 900;
  m.fVcStorm_maxsep_km = 25.5f;
  m.lHydroClassReingest = 1;
  m.lMeltHeightValid = 1;
  const int8_t melts[ZAMO_MELT_MONTHS] = {10, 10, 15, 20, 25, 30, 35, 35, 30, 25, 15, -3};
  std::memcpy(m.ifallspd_melts, melts, sizeof melts);
}

void load_site_limits() {
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
    ASSERT_EQ(setup_limits("zamo_setup", &zamo_limits[copy], copy, 0), 1);
  std::memset(auxset_limits, 0, sizeof auxset_limits);
  for (int16_t auxset_record::*flag :
       {&auxset_record::lnoise_az, &auxset_record::lnoise_el, &auxset_record::lingsim_radar,
        &auxset_record::lingsim_shearline, &auxset_record::lingsim_fallspeed,
        &auxset_record::lingsim_windfield, &auxset_record::lingsim_randomized})
    set_limits(auxset, auxset_limits, auxset.*flag, 0, 1, 0);
}

std::string data_file(const char *name) { return read_file(std::string(SETUP_TEST_DATA_DIR) + "/" + name); }
std::vector<std::string> lines_after(int pass) { return bounds_lines_after(ingest_page, pass); }

class IngestPage : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    std::strcpy(host_name, "demo");
    count_seen = 0;
    full_mode = 1;
    ingest_page(PassMeasure, nullptr, nullptr);
    std::memset(&zamo, 0, sizeof zamo);
    std::memset(&auxset, 0, sizeof auxset);
    load_site_limits();
    load_demo_values();
  }
  void TearDown() override { window.destroy(); }
  void build() { window.build(PAGE_INGEST, ingest_page); }

  PageView window;
};

TEST_F(IngestPage, PassiveOnlyDropsNoiseAndTransmitterButStillRepairsThem) {
  EXPECT_EQ(page_listing(ingest_page), data_file("ingest_active_simulated.txt"));
  build();
  choose(window.item("INGEST data source"), "From DSP");
  EXPECT_TRUE(window.shown(window.item("Reset the DSP on INGEST startup")));
  EXPECT_FALSE(window.shown(window.item("Simulator virtual time offset")));
  flip(window.item("Reset the DSP on INGEST startup"), true);
  flip(window.item("Melting Levels"), false);
  EXPECT_FALSE(window.shown(window.item("December")));

  Widget slaved = window.item("Slaved to (Site Code)");
  choose(window.item("Passive type"), "Status-Slaving");
  EXPECT_FALSE(window.shown(slaved)) << "active only: no passive type at all";
  choose(window.item("Task Scheduling Control"), "Passive Only");
  EXPECT_EQ(zamo.misc.iIngestActPsv, 1);
  EXPECT_TRUE(window.shown(slaved));
  choose(window.item("Passive type"), "TS-Playback");
  EXPECT_FALSE(window.shown(slaved));
  choose(window.item("Passive type"), "Status-Slaving");
  type_into(slaved, "ABC");
  flip(window.item("Passive: use external trig rate"), true);
  EXPECT_FALSE(window.shown(window.section("DSP Noise Sampling")));
  EXPECT_FALSE(window.shown(window.section("Transmitter Control")));
  EXPECT_EQ(page_listing(ingest_page), data_file("ingest_passive_only.txt"));

  zamo.misc.inoise_time = 10;  // below its minimum, in a hidden section
  error_found = 0;
  auto checked = lines_after(PassCheck);
  EXPECT_FALSE(mentions(checked, "Time between noise samples"));
  EXPECT_EQ(error_found, 0) << checked.back();
  EXPECT_FALSE(mentions(lines_after(PassRepair), "Time between noise samples"));
  EXPECT_EQ(zamo.misc.inoise_time, 3600) << "repaired to the factory value all the same";

  choose(window.item("Task Scheduling Control"), "Active/Passive");
  EXPECT_TRUE(window.shown(window.section("DSP Noise Sampling")));
  EXPECT_TRUE(window.shown(slaved));
}

TEST_F(IngestPage, SimulatorPositionIsInDegreesWithTheRadarsPositionAsHint) {
  auxset.zel_ilat = 626349397;  // 52.5 degrees as a 32-bit binary angle
  build();
  Widget latitude = window.item("Simulator latitude");
  EXPECT_EQ(field_text(latitude), "45.00 deg");
  type_into(latitude, "22.5");
  EXPECT_EQ(zamo.misc.ingsim_lat, 4096);
  EXPECT_EQ(hint_texts(latitude), std::vector<std::string>{"52.50 deg"});
  pick_hint(latitude, "52.50 deg");
  EXPECT_EQ(field_text(latitude), "52.50 deg");

  flip(window.item("Simulation center location"), true);
  EXPECT_EQ(auxset.lingsim_radar, 1);
  EXPECT_FALSE(window.shown(latitude));
  EXPECT_TRUE(window.shown(window.item("Clutter density factor")));
  flip(window.item("Simulate a large-scale windfield"), false);
  EXPECT_FALSE(window.shown(window.item("Nominal wind from the West")));
  EXPECT_TRUE(window.shown(window.item("Simulate a shearline")));
}

TEST_F(IngestPage, ScaledNumbersAndHintsStoreInTheirUnits) {
  zamo.misc.itrunc = 1000000;
  zamo.misc.fAttnMaxCorrection = 6.04f;  // shown as 6.0 dB
  build();
  Widget truncation = window.item("Data truncation height");
  EXPECT_EQ(field_text(truncation), "10.000 km");
  pick_hint(truncation, "30.000 km");
  EXPECT_EQ(zamo.misc.itrunc, 3000000);

  Widget correction = window.item("Maximum cumulative correction");
  EXPECT_EQ(field_text(correction), "6.0 dB");
  pick_hint(correction, " 6.0 dB  C Band");
  EXPECT_EQ(zamo.misc.fAttnMaxCorrection, 6.0f) << "a chosen hint stores even what the field shows";

  Widget melt = window.item("November");
  pick_hint(melt, "-0.3 km polar");
  EXPECT_EQ(zamo.misc.ifallspd_melts[10], -3);
}

TEST_F(IngestPage, NoiseRetryWaitFollowsTheRetryCount) {
  zamo.misc.iNoiseRetrys = 0;
  build();
  Widget wait = window.item("Noise retry wait");
  EXPECT_FALSE(window.shown(wait));
  EXPECT_EQ(page_listing(ingest_page).find("Noise retry wait"), std::string::npos);
  type_into(window.item("Retry bad noise samples"), "3");
  EXPECT_TRUE(window.shown(wait));
  EXPECT_EQ(field_text(wait), "1.50 seconds");

  flip(window.item("Elevation during noise sample"), true);
  EXPECT_TRUE(window.shown(window.item("Minimum noise elevation")));
  flip(window.item("Perform noise sampling"), false);
  EXPECT_FALSE(window.shown(wait));
  EXPECT_FALSE(window.shown(window.item("Noise azimuth")));
}

TEST_F(IngestPage, UnknownHeaderFormatIsReportedAndRepairedToNotRecorded) {
  zamo.misc.iext_header = 5;
  error_found = 0;
  EXPECT_TRUE(mentions(lines_after(PassCheck), "Extended header format:  ?????"));
  EXPECT_EQ(error_found, 1);
  EXPECT_TRUE(mentions(lines_after(PassRepair), "Extended header format:  Not Recorded"));
  EXPECT_EQ(zamo.misc.iext_header, -1);
}

// With every section and row shown, the site's factory values pass the
// check, and a field without limits is named by its path as written.
TEST_F(IngestPage, FactoryValuesPassAndMissingLimitsNameThePath) {
  std::memcpy(&zamo, &zamo_limits[COPY_FACTORY], sizeof zamo);
  zamo.misc.ingest_data_mode = 1;
  zamo.misc.iIngestActPsv = 2;
  zamo.misc.iPassiveType = 2;
  zamo.misc.lnoise_enabled = zamo.misc.lMeltHeightValid = 1;
  auxset.lingsim_windfield = auxset.lnoise_az = auxset.lnoise_el = 1;
  ::testing::internal::CaptureStderr();
  error_found = 0;
  auto lines = lines_after(PassCheck);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(error_found, 0) << lines.back();

  set_limits(zamo, zamo_limits, zamo.misc.ifallspd_melts[3], 0, 0, 0);
  set_limits(zamo, zamo_limits, zamo.misc.ffallspd_vtz_exp[1], 0, 0, 0);
  ::testing::internal::CaptureStderr();
  lines_after(PassCheck);
  std::string reports = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(reports.find("Internal Error: 'zamo.misc.ifallspd_melts[ii]' (April)\n"), std::string::npos);
  EXPECT_NE(reports.find("'zamo.misc.ffallspd_vtz_exp[1]' (Vt-Z Exponent above melting level)"),
            std::string::npos);
}

// Hint labels are read in C notation whatever the user's locale, both the
// fixed ones and those formatted from a number.
TEST_F(IngestPage, HintsStoreTheirNumberUnderACommaLocale) {
  const std::string dir = std::filesystem::temp_directory_path() / "ingest-locale";
  std::filesystem::create_directories(dir);
  const std::string make = "localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) GTEST_SKIP() << "cannot generate the de_DE.UTF-8 locale";
  setenv("LOCPATH", dir.c_str(), 1);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "the generated locale does not load";
  zamo.misc.iaz_ok_err = 0;
  build();
  Widget january = window.item("Melting level height for: January");
  pick_hint(january, " 2.5 km tropic");
  EXPECT_EQ(zamo.misc.ifallspd_melts[0], 25);
  EXPECT_EQ(field_text(january), "2,5 km") << "the field itself follows the locale";
  Widget az_error = window.item("Permissible AZ error during scans");
  pick_hint(az_error, hint_texts(az_error).at(0).c_str());
  EXPECT_EQ(zamo.misc.iaz_ok_err, 91);
  std::setlocale(LC_ALL, "C");
  unsetenv("LOCPATH");
}

TEST(IngestSave, SwitchingASimulatorToggleAsksToSaveTheDataSystem) {
  REQUIRE_DISPLAY();
  FactorySite site;
  start_up_load(nullptr, nullptr);
  gui_process(50);
  PageView window;
  window.build(PAGE_INGEST, ingest_page);
  auto question = [] {
    convert_form(0);
    std::string text = setup_changed() ? save_question_text() : "";
    convert_form(1);
    return text;
  };
  EXPECT_EQ(question(), "");
  flip(window.item("Simulate a shearline"), auxset.lingsim_shearline == 0);
  EXPECT_EQ(question(), "Save SETUP data for the following?\nZAMO ");
  window.destroy();
}

// Data mode and angle syncing are unsigned fields: a stored 40000 or 200
// loads and is reported and repaired by the page, not refused by the reader.
TEST(IngestSite, LargeUnsignedChoiceValuesLoadAndAreRepaired) {
  REQUIRE_DISPLAY();
  FactorySite site;
  std::string text = read_file(site.path(AREA_ZAMO));
  for (auto [line, value] :
       {std::pair{"zamo.misc.ingest_data_mode = ", "40000"}, {"zamo.misc.isyn_mode = ", "200"}}) {
    size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos) << line;
    at += std::strlen(line);
    text.replace(at, text.find('\n', at) - at, value);
  }
  write_file(site.path(AREA_ZAMO), text);
  size_t errors = error_status_lines().size();
  start_up_load(nullptr, nullptr);
  gui_process(50);
  EXPECT_EQ(error_status_lines().size(), errors);
  EXPECT_EQ(zamo.misc.ingest_data_mode, 40000);
  EXPECT_TRUE(mentions(lines_after(PassCheck), "Type of angle syncing:  ?????"));
  EXPECT_TRUE(mentions(lines_after(PassRepair), "INGEST data source:  From DSP"));
  EXPECT_EQ(zamo.misc.ingest_data_mode, 0);
  EXPECT_EQ(zamo.misc.isyn_mode, 0);
}

}  // namespace
