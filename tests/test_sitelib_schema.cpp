// Record schemas and setup_limits: every field described once and in place,
// limits that make sense, and factory values the pages can show.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <set>

#include "sitelib/schema.h"

namespace {
std::vector<const Schema *> all_schemas() {
  return {&zel_schema(),
          &dsp_schema(),
          &rtdisp_schema(),
          &zamo_schema(),
          &network_schema(),
          &device_schema(DEVICE_WINDOW),
          &device_schema(DEVICE_NETWORK),
          &device_schema(DEVICE_ARCHIVE),
          &device_schema(DEVICE_PRINTER),
          &device_schema(DEVICE_UNUSED)};
}

// The lowest and highest value a field of the type holds.
std::pair<double, double> type_range(SchemaType type) {
  switch (type) {
    case SchemaType::Int8:
      return {INT8_MIN, INT8_MAX};
    case SchemaType::UInt8:
      return {0, UINT8_MAX};
    case SchemaType::Int16:
      return {INT16_MIN, INT16_MAX};
    case SchemaType::UInt16:
      return {0, UINT16_MAX};
    case SchemaType::Int32:
      return {INT32_MIN, INT32_MAX};
    case SchemaType::UInt32:
      return {0, UINT32_MAX};
    case SchemaType::Float:
      return {-FLT_MAX, FLT_MAX};
    default:
      return {-DBL_MAX, DBL_MAX};
  }
}

// The values each page offers for its choice fields. "%d" runs over the
// array; "DEFDEV" stands for every output device record.
struct PageChoice {
  const char *path;
  int count;
  std::vector<long> values;
};

const PageChoice kPageChoices[] = {
    {"zel.iInterfaceType", 1, {0, 3, 2, 1}},
    {"zel.iAngleSource", 1, {0, 2, 1}},
    {"zel.iParity1", 1, {0, 1, 2}},
    {"zel.iParity2", 1, {0, 1, 2}},
    {"zel.istatus_format", 1, {3, 2, 1, 6, 5}},
    {"zel.icontrol_format", 1, {3, 2, 6, 5}},
    {"zel.istatus2_format", 1, {0, 3, 2, 1, 6, 5}},
    {"zel.icontrol2_format", 1, {0, 3, 2, 6, 5}},
    {"zel.iInuSource", 1, {0, 1}},
    {"zel.iScanGeometry", 1, {0, 1}},
    {"zel.iazmode_initial", 1, {0, 2, 1}},
    {"zel.ielmode_initial", 1, {0, 2, 1}},
    {"dsp.interface", 1, {2, 3, 4}},
    {"dsp.itype", 1, {7, 8, 9}},
    {"dsp.iSinglePolarization", 1, {0, 1}},
    {"dsp.iXmtTubeType", 1, {1, 2, 3, 4}},
    {"dsp.iCalSignalType", 1, {0, 1}},
    {"dsp.isignal_generator_frequency_resolution", 1, {1, 10, 100, 1000}},
    {"dsp.iwindow", 1, {1, 0, 2}},
    {"dsp.iDataWidths", 1, {1, 2}},
    {"Rtdisp.lEnabled", 1, {0, 1, 2}},
    {"Rtdisp.Channel[%d].iXmtDataSet", RTD_CHANNELS, {0, 1, 2}},
    {"zamo.misc.ingest_data_mode", 1, {0, 1}},
    {"zamo.misc.isyn_mode", 1, {0, 2, 1}},
    {"zamo.misc.iIngestAngleSource", 1, {3, 1}},
    {"zamo.misc.iext_header", 1, {-1, 0, 1, 2}},
    {"zamo.misc.iIngestActPsv", 1, {0, 1, 2}},
    {"zamo.misc.iPassiveType", 1, {0, 1, 2, 3}},
    {"zamo.misc.lcon_clockwise", 1, {0, 1}},
    {"zamo.misc.iWindowFaultScheme", 1, {0, 1}},
    {"zamo.misc.iWindowAlertStyle", 1, {0, 1, 2, 3}},
    {"zamo.misc.icentroid_label", 1, {1, 2}},
    {"zamo.Input.Def[%d].iCommandLineSyntax", ZAMO_INPUT_DEVICES, {0, 1}},
    {"zamo.Input.Def[%d].iNotifyScheme", ZAMO_INPUT_DEVICES, {2, 4}},
    {"DEFDEV.idev_type", 1, {6, 7, 2, 3, 4}},
    {"DEFDEV.dsi.window.iToolState", 1, {1, 0}},
    {"DEFDEV.dsi.network.ifile_format", 1, {1, 2, 8, 7, 3, 13, 10, 11, 9, 5, 12, 6}},
    {"DEFDEV.dsi.network.iCommandLineSyntax", 1, {0, 1}},
    {"DEFDEV.dsi.network.iname_format", 1, {3, 1, 2, 4, 5, 6}},
    {"DEFDEV.dsi.network.iCompress", 1, {0, 1, 2, 3}},
    {"DEFDEV.dsi.network.inotify_scheme", 1, {2, 4, 5, 6}},
    {"DEFDEV.dsi.network.icopy_scheme", 1, {0, 1, 2, 4, 3}},
    {"DEFDEV.dsi.archive.isub_type", 1, {1, 2, 3, 4}},
    {"DEFDEV.dsi.archive.asi.Mo.iFsType", 1, {0, 1}},
    {"DEFDEV.dsi.printer.iPaperSize", 1, {0, 1, 2, 3, 4}},
};

// The page choice lists keyed by the paths they stand for in a schema.
std::map<std::string, std::vector<long>> page_choices() {
  std::map<std::string, std::vector<long>> out;
  for (const PageChoice &c : kPageChoices) {
    std::string path = c.path;
    for (int i = 0; i < c.count; ++i) {
      std::string p = path;
      size_t at = p.find("%d");
      if (at != std::string::npos) p.replace(at, 2, std::to_string(i));
      if (p.rfind("DEFDEV.", 0) == 0) {
        for (int d = 0; d < ZAMO_OUTPUT_DEVICES; ++d)
          out["zamo.device.def[" + std::to_string(d) + "]" + p.substr(6)] = c.values;
      }
      out[p] = c.values;
    }
  }
  return out;
}
}  // namespace

TEST(SitelibSchema, FieldsLieInTheirRecordInOrderWithoutOverlap) {
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

TEST(SitelibSchema, ChoicesOfferExactlyThePageValuesWithFactoryAmongThem) {
  auto pages = page_choices();
  for (const Schema *s : all_schemas()) {
    for (const SchemaField &f : s->fields) {
      if (f.kind != SchemaKind::Choice) continue;
      auto page = pages.find(f.path);
      ASSERT_NE(page, pages.end()) << f.path << " is a choice no page offers";
      EXPECT_EQ(std::set<long>(f.choices.begin(), f.choices.end()),
                std::set<long>(page->second.begin(), page->second.end()))
          << f.path;
      EXPECT_NE(std::find(page->second.begin(), page->second.end(), static_cast<long>(f.factory)),
                page->second.end())
          << f.path << " factory " << f.factory << " is not on the page";
    }
  }
  for (const auto &page : pages) {
    if (page.first.rfind("DEFDEV.", 0) == 0) continue;
    bool found = false;
    for (const Schema *s : all_schemas()) found = found || s->find(page.first);
    EXPECT_TRUE(found) << page.first << " missing from the schemas";
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

// Counts never allow more records than the arrays hold.
TEST(SitelibSchema, CountsStayWithinTheirArrays) {
  EXPECT_LE(zamo_schema().find("zamo.device.imaxdevcount")->maximum, ZAMO_OUTPUT_DEVICES);
  EXPECT_LE(zamo_schema().find("zamo.device.idevcount")->maximum, ZAMO_OUTPUT_DEVICES);
  EXPECT_LE(rtdisp_schema().find("Rtdisp.iChannelCount")->maximum, RTD_CHANNELS);
  EXPECT_LE(zamo_schema().find("zamo.Input.iInputCount")->maximum, ZAMO_INPUT_DEVICES);
  EXPECT_LE(dsp_schema().find("dsp.iwidcnt")->maximum, DSP_PULSE_WIDTHS);
  for (int s = 0; s < DSP_TRIGGER_SEQUENCES; ++s)
    EXPECT_LE(dsp_schema().find(indexed("dsp.customTrig", s) + ".iNumPeriods")->maximum, DSP_TRIGGER_PERIODS);
}

TEST(SitelibLimits, DeviceLimitsFollowTheTypeAlreadyInTheRecord) {
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
}

TEST(SitelibLimits, DataSystemDevicesFollowTheirTypesAndNewRecordsGetFactoryTypes) {
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
}

TEST(SitelibLimits, UnknownNamesAndSetsFailWithAText) {
  zel_setup zel{};
  EXPECT_EQ(setup_limits("no_such_limits", &zel, LIMITS_MIN, 0), SITE_BAD_LIMITS);
  EXPECT_NE(std::strstr(message_to_text(SITE_BAD_LIMITS, 0, 0), "no_such_limits"), nullptr);
  EXPECT_EQ(setup_limits("ant_manual_setup", &zel, 3, 0), SITE_BAD_LIMITS);
  EXPECT_EQ(setup_limits(nullptr, &zel, LIMITS_MIN, 0), SITE_BAD_LIMITS);
  EXPECT_EQ(setup_limits("ant_manual_setup", nullptr, LIMITS_MIN, 0), SITE_BAD_LIMITS);
}
