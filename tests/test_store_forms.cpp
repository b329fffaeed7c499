// Editing form and storage form of the values edited through auxset.
#include <gtest/gtest.h>

#include "tests/store_site.h"

namespace {

class Forms : public ::testing::Test {
 protected:
  void SetUp() override { clear_store_state(); }
};

TEST_F(Forms, NoiseAnglesAndAStableRoundTrip) {
  zamo.misc.inoise_az = static_cast<int16_t>(0xFFFF);
  zamo.misc.inoise_el = static_cast<int16_t>(0x8000);
  convert_form(1);
  EXPECT_EQ(0, auxset.lnoise_az);
  EXPECT_EQ(0, zamo.misc.inoise_az);
  EXPECT_EQ(1, auxset.lnoise_el);
  EXPECT_EQ(0, zamo.misc.inoise_el);
  convert_form(0);
  EXPECT_EQ(0xFFFF, static_cast<uint16_t>(zamo.misc.inoise_az)) << "flag 0 stores 'any angle'";
  EXPECT_EQ(0, zamo.misc.inoise_el) << "0x8000..0xFFFE come back as angle 0";

  zamo.misc.inoise_el = static_cast<int16_t>(0xFFFE);
  zamo.misc.inoise_az = 135;
  convert_form(1);
  EXPECT_EQ(1, auxset.lnoise_el);
  EXPECT_EQ(0, zamo.misc.inoise_el);
  EXPECT_EQ(1, auxset.lnoise_az);
  auxset.lnoise_az = 0;  // switched off by the operator
  convert_form(0);
  EXPECT_EQ(0xFFFF, static_cast<uint16_t>(zamo.misc.inoise_az));

  // Storage then editing form again is stable.
  clear_store_state();
  zamo.misc.inoise_az = static_cast<int16_t>(0xFFFF);
  zamo.misc.inoise_el = 45;
  zamo.misc.istatus_product_gen = 0;
  zamo.misc.iingsim_flags = 0x15;
  zel.idefault_lat = 99;
  convert_form(1);
  Bytes once[AREA_COUNT];
  for (int area = 0; area < AREA_COUNT; ++area) once[area] = storage_form_record(area);
  auxset_record edited = auxset;
  convert_form(0);  // a save: storage form and back
  for (int area = 0; area < AREA_COUNT; ++area) {
    // The copy a save writes is what storage form in place gives.
    const auto *live = reinterpret_cast<const unsigned char *>(area_info(area).record);
    EXPECT_EQ(once[area], Bytes(live, live + area_info(area).size)) << area;
  }
  convert_form(1);
  EXPECT_EQ(0, memcmp(&edited, &auxset, sizeof auxset));
  for (int area = 0; area < AREA_COUNT; ++area) EXPECT_EQ(once[area], storage_form_record(area)) << area;
}

// Status product intervals follow their switches, the simulator flags are
// the low five bits, interface format 4 is edited as 2.
TEST_F(Forms, IntervalsFlagsFormatsSwitchLimitsAndAntennaPositionInBothModes) {
  zamo.misc.istatus_product_gen = 0;
  zamo.misc.istatus_product_timeout = 600;
  zamo.misc.iingsim_flags = 0xE0 | 0x01 | 0x08;
  zel.icontrol_format = 4;
  zel.istatus_format = 4;
  zel.icontrol2_format = 4;
  convert_form(1);
  EXPECT_EQ(0, auxset.lstatus_product_gen);
  EXPECT_EQ(1, auxset.lstatus_product_timeout);
  EXPECT_EQ(1, auxset.lingsim_radar);
  EXPECT_EQ(1, auxset.lingsim_windfield);
  EXPECT_EQ(0, auxset.lingsim_randomized);
  auxset.lstatus_product_gen = 1;  // on, interval left at 0
  auxset.lstatus_product_timeout = 0;
  auxset.lingsim_randomized = 1;
  auxset.lingsim_radar = 0;
  convert_form(0);
  EXPECT_EQ(1u, zamo.misc.istatus_product_gen);
  EXPECT_EQ(0u, zamo.misc.istatus_product_timeout);
  EXPECT_EQ(0x08 | 0x10, zamo.misc.iingsim_flags) << "bits 5 to 7 end up 0";
  EXPECT_EQ(2, zel.icontrol_format);
  EXPECT_EQ(2, zel.istatus_format);
  EXPECT_EQ(4, zel.icontrol2_format);

  zamo.misc.istatus_product_gen = 300;
  convert_form(1);
  convert_form(0);
  EXPECT_EQ(300u, zamo.misc.istatus_product_gen) << "an interval that is on is kept";

  zel.idefault_lat = -500000;
  zel.idefault_lon = 123456789;
  convert_form(1);
  EXPECT_EQ(-500000, auxset.zel_ilat);
  EXPECT_EQ(123456789, auxset.zel_ilon);
  EXPECT_EQ(1, auxset_limits[COPY_MAX].lingsim_randomized);
  const auxset_record zero{};
  EXPECT_EQ(0, memcmp(&zero, &auxset_limits[COPY_FACTORY], sizeof zero)) << "factory copy stays zero";
  auxset.zel_ilat = 1000;
  convert_form(0);
  EXPECT_EQ(1000, zel.idefault_lat);
  EXPECT_EQ(123456789, zel.idefault_lon);

  // Processor-only mode leaves the data system alone.
  full_mode = 0;
  zamo.misc.inoise_az = static_cast<int16_t>(0x9000);
  zamo.misc.istatus_product_gen = 0;
  zamo.misc.iingsim_flags = 0xFF;
  auxset.lstatus_product_gen = 1;
  zel.idefault_lat = 77;
  const zamo_setup before = zamo;
  convert_form(1);
  convert_form(0);
  EXPECT_EQ(0, memcmp(&before, &zamo, sizeof zamo));
  EXPECT_EQ(77, auxset.zel_ilat) << "the antenna position is converted in both modes";
}

}  // namespace
