// The ingest page through its page function and real Motif widgets: rows
// and sections that follow the settings, scaled values and hints, check and
// repair, hints under a comma locale, and the listing in two configurations.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Xm.h>

#include <clocale>
#include <filesystem>

#include "motif/bounds_dialog.h"
#include "pages/pages.h"
#include "tests/store_site.h"

namespace {

// The values behind tests/data/ingest_active_simulated.txt: the site's
// factory values in editing form, with the simulator at a fixed position,
// the noise elevation left free and the melting levels switched on.
void load_demo_values() {
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
    ASSERT_EQ(setup_limits("zamo_setup", &zamo_limits[copy], copy, 0), 1);
  std::memcpy(&zamo, &zamo_limits[COPY_FACTORY], sizeof zamo);
  convert_form(1);
  auxset.lingsim_radar = auxset.lnoise_el = 0;
  zamo.misc.ingest_data_mode = 1;
  zamo.misc.ingsim_u0 = -25;
  zamo.misc.ingsim_lat = 8192;
  zamo.misc.inoise_az = 270;
  zamo.misc.lMeltHeightValid = 1;
  zamo.misc.ifallspd_melts[11] = -3;
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
  flip(window.item("Melting Levels"), false);

  Widget slaved = window.item("Slaved to (Site Code)");
  choose(window.item("Passive type"), "Status-Slaving");
  EXPECT_FALSE(window.shown(slaved)) << "active only: no passive type at all";
  choose(window.item("Task Scheduling Control"), "Passive Only");
  EXPECT_TRUE(window.shown(slaved));
  type_into(slaved, "ABC");
  flip(window.item("Passive: use external trig rate"), true);
  EXPECT_FALSE(window.shown(window.section("DSP Noise Sampling")));
  EXPECT_FALSE(window.shown(window.section("Transmitter Control")));
  EXPECT_EQ(page_listing(ingest_page), data_file("ingest_passive_only.txt"));

  zamo.misc.inoise_time = 10;  // below its minimum, in a hidden section
  error_found = 0;
  EXPECT_FALSE(mentions(lines_after(PassCheck), "Time between noise samples"));
  EXPECT_EQ(error_found, 0);
  EXPECT_FALSE(mentions(lines_after(PassRepair), "Time between noise samples"));
  EXPECT_EQ(zamo.misc.inoise_time, 3600) << "repaired to the factory value all the same";
}

TEST_F(IngestPage, ScaledValuesHintsAndTheRowsTheyGovern) {
  auxset.zel_ilat = 626349397;  // the radar at 52.5 degrees north
  zamo.misc.fAttnMaxCorrection = 6.04f;
  build();
  Widget latitude = window.item("Simulator latitude");
  EXPECT_EQ(field_text(latitude), "45.00 deg");
  type_into(latitude, "22.5");
  EXPECT_EQ(zamo.misc.ingsim_lat, 4096);
  EXPECT_EQ(hint_texts(latitude), std::vector<std::string>{"52.50 deg"});
  flip(window.item("Simulation center location"), true);
  EXPECT_FALSE(window.shown(latitude));
  EXPECT_TRUE(window.shown(window.item("Clutter density factor")));

  Widget correction = window.item("Maximum cumulative correction");
  EXPECT_EQ(field_text(correction), "6.0 dB");
  pick_hint(correction, " 6.0 dB  C Band");
  EXPECT_EQ(zamo.misc.fAttnMaxCorrection, 6.0f) << "a chosen hint stores even what the field shows";

  Widget wait = window.item("Noise retry wait");
  type_into(window.item("Retry bad noise samples"), "0");
  EXPECT_FALSE(window.shown(wait));
  type_into(window.item("Retry bad noise samples"), "3");
  EXPECT_TRUE(window.shown(wait));
  EXPECT_EQ(field_text(wait), "1.00 seconds");
}

// With every section and row shown the site's factory values pass; a choice
// outside its menu is repaired to the first entry, and a field without
// limits is named by its path as written.
TEST_F(IngestPage, CheckAndRepairOfTheWholePage) {
  zamo.misc.iIngestActPsv = zamo.misc.iPassiveType = 2;
  auxset.lnoise_el = 1;
  ::testing::internal::CaptureStderr();
  error_found = 0;
  lines_after(PassCheck);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(error_found, 0);

  zamo.misc.iext_header = 5;
  EXPECT_TRUE(mentions(lines_after(PassCheck), "Extended header format:  ?????"));
  EXPECT_TRUE(mentions(lines_after(PassRepair), "Extended header format:  Not Recorded"));
  EXPECT_EQ(zamo.misc.iext_header, -1);

  set_limits(zamo, zamo_limits, zamo.misc.ifallspd_melts[3], 0, 0, 0);
  ::testing::internal::CaptureStderr();
  lines_after(PassCheck);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Internal Error: 'zamo.misc.ifallspd_melts[ii]' (April)\n");
}

// Hint labels store their number under a locale with a decimal comma, the
// fixed ones and those formatted from a number alike.
TEST_F(IngestPage, HintsStoreTheirNumberUnderACommaLocale) {
  const std::string dir = std::filesystem::temp_directory_path() / "ingest-locale";
  std::filesystem::create_directories(dir);
  if (std::system(("localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1").c_str()) != 0)
    GTEST_SKIP() << "cannot generate the de_DE.UTF-8 locale";
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

void start_up() {
  start_up_load(nullptr, nullptr);
  gui_process(50);
}

TEST(IngestSite, SwitchingASimulatorToggleAsksToSaveTheDataSystem) {
  REQUIRE_DISPLAY();
  FactorySite site;
  start_up();
  PageView window;
  window.build(PAGE_INGEST, ingest_page);
  flip(window.item("Simulate a shearline"), auxset.lingsim_shearline == 0);
  convert_form(0);
  EXPECT_EQ(save_question_text(), "Save SETUP data for the following?\nZAMO ");
  convert_form(1);
  window.destroy();
}

// Angle syncing is an unsigned field: a stored 200 loads (rather than being
// refused by the reader) and the page repairs it.
TEST(IngestSite, LargeUnsignedChoiceValuesLoadAndAreRepaired) {
  REQUIRE_DISPLAY();
  FactorySite site;
  std::string text = read_file(site.path(AREA_ZAMO));
  const std::string line = "zamo.misc.isyn_mode = 0\n";
  ASSERT_NE(text.find(line), std::string::npos);
  write_file(site.path(AREA_ZAMO), text.replace(text.find(line), line.size(), "zamo.misc.isyn_mode = 200\n"));
  size_t errors = error_status_lines().size();
  start_up();
  EXPECT_EQ(error_status_lines().size(), errors);
  EXPECT_TRUE(mentions(lines_after(PassRepair), "Type of angle syncing:  None"));
  EXPECT_EQ(zamo.misc.isyn_mode, 0);
}

}  // namespace
