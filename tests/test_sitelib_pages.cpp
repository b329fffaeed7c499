// The library's limits as the pages use them: a factory site checks clean on
// every page there is, nothing in it needs repair, and no bound field lacks
// its limits.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "motif/bounds_dialog.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/schema.h"
#include "store/store.h"
#include "tests/store_site.h"

namespace {
// Every switch on and every count at its maximum, so that the pages show
// nearly all their sections and rows.
void switch_everything_on() {
  struct Area {
    const Schema &schema;
    void *current;
    void *maximum;
  };
  const Area areas[] = {{zel_schema(), &zel, &zel_limits[LIMITS_MAX]},
                        {dsp_schema(), &dsp, &dsp_limits[LIMITS_MAX]},
                        {rtdisp_schema(), &Rtdisp, &Rtdisp_limits[LIMITS_MAX]},
                        {zamo_schema(), &zamo, &zamo_limits[LIMITS_MAX]}};
  for (const Area &a : areas)
    for (const SchemaField &f : a.schema.fields) {
      bool count = f.path.find("count") != std::string::npos || f.path.find("Count") != std::string::npos ||
                   f.path == "dsp.iwidcnt" || f.path.find("iNumPeriods") != std::string::npos;
      if (f.kind == SchemaKind::Flag || (count && f.kind == SchemaKind::Number))
        std::memcpy(static_cast<char *>(a.current) + f.offset, static_cast<char *>(a.maximum) + f.offset,
                    f.size);
    }
  for (int16_t *flag : {&auxset.lstatus_product_gen, &auxset.lstatus_product_timeout, &auxset.lnoise_az,
                        &auxset.lnoise_el, &auxset.lingsim_radar, &auxset.lingsim_shearline,
                        &auxset.lingsim_fallspeed, &auxset.lingsim_windfield, &auxset.lingsim_randomized})
    *flag = 1;
  Rtdisp.lEnabled = 1;
  zamo.device.idevcount = zamo.device.imaxdevcount;
}

struct RecordCopies {
  zel_setup zel_copy = zel;
  dsp_setup dsp_copy = dsp;
  rtdisp_setup rtdisp_copy = Rtdisp;
  zamo_setup zamo_copy = zamo;
  auxset_record auxset_copy = auxset;

  bool unchanged() const {
    return !std::memcmp(&zel_copy, &zel, sizeof zel) && !std::memcmp(&dsp_copy, &dsp, sizeof dsp) &&
           !std::memcmp(&rtdisp_copy, &Rtdisp, sizeof Rtdisp) &&
           !std::memcmp(&zamo_copy, &zamo, sizeof zamo) && !std::memcmp(&auxset_copy, &auxset, sizeof auxset);
  }
};

std::string last_line() { return bounds_lines().empty() ? "" : bounds_lines().back(); }

// Runs PassCheck on every page there is: no internal error, no finding.
void expect_clean_check(const char *setting) {
  for (int page = 0; page < PAGE_COUNT; ++page) {
    PageFunction function = page_info(page).function;
    clear_bounds_lines();
    error_found = 0;
    ::testing::internal::CaptureStderr();
    function(PassCheck, nullptr, nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << setting << ", page " << page;
    EXPECT_EQ(error_found, 0) << setting << ", page " << page << ": " << last_line();
  }
}
}  // namespace

// Loaded as the editor loads it at start, then with every switch on.
TEST(FactorySiteOnThePages, ChecksCleanNeedsNoRepairAndNoShownFieldLacksLimits) {
  FactorySite site;
  EXPECT_FALSE(load_and_check());
  expect_clean_check("factory site");
  for (int page = 0; page < PAGE_COUNT; ++page) {
    PageFunction function = page_info(page).function;
    auto before = std::make_unique<RecordCopies>();
    clear_bounds_lines();
    function(PassRepair, nullptr, nullptr);
    EXPECT_TRUE(before->unchanged()) << "page " << page << " repaired a factory value: " << last_line();
  }
  switch_everything_on();
  expect_clean_check("every switch on");
}
