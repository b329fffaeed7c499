// Record schemas and setup_limits: every field described once and in place,
// limits that make sense and fit their types.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>

#include "sitelib/schema.h"

namespace {
std::vector<const Schema *> all_schemas() {
  std::vector<const Schema *> all = {&zel_schema(), &dsp_schema(), &rtdisp_schema(), &zamo_schema(),
                                     &network_schema()};
  for (int type : {DEVICE_WINDOW, DEVICE_NETWORK, DEVICE_ARCHIVE, DEVICE_PRINTER, DEVICE_UNUSED})
    all.push_back(&device_schema(type));
  return all;
}

// The lowest and highest value a field of the type holds, in SchemaType order.
std::pair<double, double> type_range(SchemaType type) {
  const std::pair<double, double> ranges[] = {
      {INT8_MIN, INT8_MAX},   {0, UINT8_MAX},  {INT16_MIN, INT16_MAX}, {0, UINT16_MAX},
      {INT32_MIN, INT32_MAX}, {0, UINT32_MAX}, {-FLT_MAX, FLT_MAX},    {-DBL_MAX, DBL_MAX}};
  return ranges[static_cast<int>(type)];
}
}  // namespace

TEST(SitelibSchema, FieldsLieInTheirRecordInOrderWithoutOverlapAndCountsFitTheirArrays) {
  for (const Schema *s : all_schemas()) {
    SCOPED_TRACE(s->name);
    ASSERT_FALSE(s->fields.empty());
    EXPECT_EQ(s->by_path.size(), s->fields.size()) << "paths are unique";
    size_t end = 0;
    for (const SchemaField &f : s->fields) {
      EXPECT_GE(f.offset, end) << f.path << " overlaps the field before it or is out of record order";
      EXPECT_LE(f.offset + f.size, s->record_size) << f.path;
      end = f.offset + f.size;
    }
  }

  // Counts never allow more records than the arrays hold.
  EXPECT_LE(zamo_schema().find("zamo.device.imaxdevcount")->maximum, ZAMO_OUTPUT_DEVICES);
  EXPECT_LE(zamo_schema().find("zamo.device.idevcount")->maximum, ZAMO_OUTPUT_DEVICES);
  EXPECT_LE(rtdisp_schema().find("Rtdisp.iChannelCount")->maximum, RTD_CHANNELS);
  EXPECT_LE(zamo_schema().find("zamo.Input.iInputCount")->maximum, ZAMO_INPUT_DEVICES);
  EXPECT_LE(dsp_schema().find("dsp.iwidcnt")->maximum, DSP_PULSE_WIDTHS);
  for (int s = 0; s < DSP_TRIGGER_SEQUENCES; ++s)
    EXPECT_LE(dsp_schema().find(indexed("dsp.customTrig", s) + ".iNumPeriods")->maximum, DSP_TRIGGER_PERIODS);
}

TEST(SitelibSchema, LimitsHoldTheFactoryValueAndFitTheType) {
  for (const Schema *s : all_schemas()) {
    SCOPED_TRACE(s->name);
    for (const SchemaField &f : s->fields) {
      if (f.type == SchemaType::Text) {
        EXPECT_LE(f.factory_text.size(), f.size) << f.path;
        continue;
      }
      auto [lo, hi] = type_range(f.type);
      EXPECT_FALSE(f.minimum == 0 && f.maximum == 0) << f.path << " has no limits";
      EXPECT_LE(f.minimum, f.factory) << f.path;
      EXPECT_LE(f.factory, f.maximum) << f.path;
      EXPECT_GE(f.minimum, lo) << f.path;
      EXPECT_LE(f.maximum, hi) << f.path;
      if (f.type != SchemaType::Float && f.type != SchemaType::Double) {
        EXPECT_EQ(f.factory, std::round(f.factory)) << f.path << " factory is not whole";
      }
    }
  }
}

// Paths name the same bytes as the record members they stand for.
TEST(SitelibSchema, PathsMatchTheRecordLayout) {
  struct Probe {
    const Schema &schema;
    const char *path;
    size_t offset;
  };
  const Probe probes[] = {
      {dsp_schema(), "dsp.customTrig[3].iPeriods[63]",
       offsetof(dsp_setup, customTrig) + 3 * 260 + 4 + 63 * 4},
      {rtdisp_schema(), "Rtdisp.Channel[15].iPortNum", offsetof(rtdisp_setup, Channel) + 15 * 48 + 40},
      {zel_schema(), "zel.cont_pw_unset.linitial_high", offsetof(zel_setup, cont_pw_unset) + 2},
      {zamo_schema(), "zamo.device.def[3].iskip_time",
       offsetof(zamo_setup, device.def) + 3 * sizeof(output_device) + offsetof(output_device, iskip_time)},
      {zamo_schema(), "zamo.protect.protected_regions[31].iangle",
       offsetof(zamo_setup, protect) + 31 * sizeof(warning_region) + offsetof(warning_region, iangle)},
      {network_schema(), "DEFDEV.dsi.network.itcpip_port",
       offsetof(device_specific, network) + offsetof(device_network, itcpip_port)},
  };
  for (const Probe &p : probes) {
    const SchemaField *f = p.schema.find(p.path);
    ASSERT_NE(f, nullptr) << p.path;
    EXPECT_EQ(f->offset, p.offset) << p.path;
  }
}

TEST(SitelibLimits, DeviceLimitsFollowTheTypeInTheRecordAndNewRecordsGetFactoryTypes) {
  output_device device{};
  device.idev_type = DEVICE_PRINTER;
  ASSERT_EQ(setup_limits("device_def", &device, LIMITS_MIN, 0), SITE_OK);
  EXPECT_EQ(device.idev_type, DEVICE_PRINTER) << "the type stays as the program put it";
  EXPECT_EQ(device.iskip_time, 60);
  ASSERT_EQ(setup_limits("device_def", &device, LIMITS_FACTORY, 0), SITE_OK);
  EXPECT_EQ(device.iskip_time, 300);
  EXPECT_STREQ(device.sMenuAlias, "Printer");
  EXPECT_EQ(device.dsi.printer.iPaperSize, 3);

  device.idev_type = DEVICE_WINDOW;
  ASSERT_EQ(setup_limits("device_def", &device, LIMITS_FACTORY, 0), SITE_OK);
  EXPECT_EQ(device.idev_type, DEVICE_WINDOW);
  EXPECT_EQ(device.iskip_time, 0);
  EXPECT_STREQ(device.sMenuAlias, "Display");

  // The network limits fill the network part only.
  device.dsi.window.iwidth = 1234;
  ASSERT_EQ(setup_limits("network_device", &device.dsi, LIMITS_MAX, 0), SITE_OK);
  EXPECT_EQ(device.dsi.network.itcpip_port, 65535u);
  EXPECT_EQ(device.dsi.window.iwidth, 1234);

  // Devices in the data-system record too; new records get factory types.
  auto limits = std::make_unique<zamo_setup>();
  std::memset(limits.get(), 0, sizeof *limits);
  limits->device.def[5].idev_type = DEVICE_PRINTER;  // copied in by the program
  ASSERT_EQ(setup_limits("zamo_setup", limits.get(), LIMITS_MIN, 0), SITE_OK);
  EXPECT_EQ(limits->device.def[5].iskip_time, 60);
  EXPECT_EQ(limits->device.def[6].iskip_time, 0);

  std::memset(limits.get(), 0, sizeof *limits);
  ASSERT_EQ(setup_limits("zamo_setup", limits.get(), LIMITS_FACTORY, 0), SITE_OK);
  EXPECT_STREQ(limits->sVersion, ZAMO_SETUP_VERSION);
  for (int d = 0; d < ZAMO_OUTPUT_DEVICES; ++d)
    EXPECT_EQ(limits->device.def[d].idev_type, factory_device_type(d));
  EXPECT_EQ(limits->device.def[3].iskip_time, 300) << "device 4 is a printer on a new site";
  EXPECT_GE(limits->device.imaxdevcount, limits->device.idevcount);

  // Unknown names and sets fail with a text.
  zel_setup zel{};
  EXPECT_EQ(setup_limits("no_such_limits", &zel, LIMITS_MIN, 0), SITE_BAD_LIMITS);
  EXPECT_NE(std::strstr(message_to_text(SITE_BAD_LIMITS, 0, 0), "no_such_limits"), nullptr);
  EXPECT_EQ(setup_limits("ant_manual_setup", &zel, 3, 0), SITE_BAD_LIMITS);
  EXPECT_EQ(setup_limits(nullptr, &zel, LIMITS_MIN, 0), SITE_BAD_LIMITS);
  EXPECT_EQ(setup_limits("ant_manual_setup", nullptr, LIMITS_MIN, 0), SITE_BAD_LIMITS);
}
