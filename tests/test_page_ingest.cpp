// The ingest page: rows and sections that follow the settings, scaled
// values and hints, check and repair, hints under a comma locale, and the
// listing in two configurations.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <clocale>
#include <filesystem>

#include "motif/commands.h"
#include "tests/store_site.h"
#include "tests/support/page_test.h"

namespace {

class IngestPage : public PageTest {
 protected:
  IngestPage() : PageTest(PAGE_INGEST, ingest_page) {}
  // The values behind tests/data/ingest_active_simulated.txt: the site's
  // factory values in editing form, with the simulator at a fixed position,
  // the noise elevation left free and the melting levels switched on.
  void SetUp() override {
    PageTest::SetUp();
    load_site_limits("zamo_setup", zamo_limits);
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
};

TEST_F(IngestPage, PassiveOnlyDropsNoiseAndTransmitterButStillRepairsThem) {
  EXPECT_EQ(listing(), data_file("ingest_active_simulated.txt"));
  build();
  choose(item("INGEST data source"), "From DSP");
  EXPECT_TRUE(shown("Reset the DSP on INGEST startup"));
  EXPECT_FALSE(shown("Simulator virtual time offset"));
  flip(item("Melting Levels"), false);

  choose(item("Passive type"), "Status-Slaving");
  EXPECT_FALSE(shown("Slaved to (Site Code)")) << "active only: no passive type at all";
  choose(item("Task Scheduling Control"), "Passive Only");
  EXPECT_TRUE(shown("Slaved to (Site Code)"));
  type_into(item("Slaved to (Site Code)"), "ABC");
  flip(item("Passive: use external trig rate"), true);
  EXPECT_FALSE(section_shown("DSP Noise Sampling"));
  EXPECT_FALSE(section_shown("Transmitter Control"));
  EXPECT_EQ(listing(), data_file("ingest_passive_only.txt"));

  zamo.misc.inoise_time = 10;  // below its minimum, in a hidden section
  EXPECT_TRUE(repaired_without_report("Time between noise samples"));
  EXPECT_EQ(zamo.misc.inoise_time, 3600) << "repaired to the factory value all the same";
}

TEST_F(IngestPage, ScaledValuesHintsAndTheRowsTheyGovern) {
  auxset.zel_ilat = 626349397;  // the radar at 52.5 degrees north
  zamo.misc.fAttnMaxCorrection = 6.04f;
  build();
  Widget latitude = item("Simulator latitude");
  type_into(latitude, "22.5");
  EXPECT_EQ(zamo.misc.ingsim_lat, 4096);
  EXPECT_EQ(hint_texts(latitude), std::vector<std::string>{"52.50 deg"});
  flip(item("Simulation center location"), true);
  EXPECT_FALSE(window.shown(latitude));
  EXPECT_TRUE(shown("Clutter density factor"));

  Widget correction = item("Maximum cumulative correction");
  EXPECT_EQ(field_text(correction), "6.0 dB");
  pick_hint(correction, " 6.0 dB  C Band");
  EXPECT_EQ(zamo.misc.fAttnMaxCorrection, 6.0f) << "a chosen hint stores even what the field shows";

  type_into(item("Retry bad noise samples"), "0");
  EXPECT_FALSE(shown("Noise retry wait"));
  type_into(item("Retry bad noise samples"), "3");
  EXPECT_TRUE(shown("Noise retry wait"));
}

// With every section and row shown the site's factory values pass; a choice
// outside its menu is repaired to the first entry.
TEST_F(IngestPage, CheckAndRepairOfTheWholePage) {
  zamo.misc.iIngestActPsv = zamo.misc.iPassiveType = 2;
  auxset.lnoise_el = 1;
  EXPECT_EQ(check_complaints(), "");

  zamo.misc.iext_header = 5;
  EXPECT_TRUE(mentions(lines_after(PassCheck), "Extended header format:  ?????"));
  EXPECT_TRUE(mentions(lines_after(PassRepair), "Extended header format:  Not Recorded"));
  EXPECT_EQ(zamo.misc.iext_header, -1);
}

// Hint labels store their number under a locale with a decimal comma, the
// fixed ones and those formatted from a number alike; typed numbers take
// either separator.
TEST_F(IngestPage, HintsStoreTheirNumberUnderACommaLocale) {
  const std::string dir = std::filesystem::temp_directory_path() / "ingest-locale";
  std::filesystem::create_directories(dir);
  if (std::system(("localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1").c_str()) != 0)
    GTEST_SKIP() << "cannot generate the de_DE.UTF-8 locale";
  setenv("LOCPATH", dir.c_str(), 1);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "the generated locale does not load";
  zamo.misc.iaz_ok_err = 0;
  build();
  Widget january = item("Melting level height for: January");
  pick_hint(january, " 2.5 km tropic");
  EXPECT_EQ(zamo.misc.ifallspd_melts[0], 25);
  EXPECT_EQ(field_text(january), "2,5 km") << "the field itself follows the locale";
  // Typed, a point is a decimal separator there too, not the end of the number.
  type_into(january, "3.5");
  EXPECT_EQ(zamo.misc.ifallspd_melts[0], 35);
  type_into(january, "4,5 km");
  EXPECT_EQ(zamo.misc.ifallspd_melts[0], 45);
  Widget az_error = item("Permissible AZ error during scans");
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
  EXPECT_TRUE(mentions(bounds_lines_after(ingest_page, PassRepair), "Type of angle syncing:  None"));
  EXPECT_EQ(zamo.misc.isyn_mode, 0);
}

}  // namespace
