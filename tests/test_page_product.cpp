// The product page through its page function and real Motif widgets: the
// scheduling section as the product table makes it, warning regions shown
// by their names, scaled values, the status product switches, and the
// listing of the whole page.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <array>

#include "motif/commands.h"
#include "sitelib/products.h"
#include "store/store.h"
#include "tests/support/page_test.h"

namespace {

using ProductTable = std::array<product_type, ZAMO_PRODUCT_TYPES>;

// Nothing schedulable, every type at rank 1.
ProductTable no_products() {
  ProductTable table;
  table.fill({"NONE", false, 1});
  return table;
}

// Ranked TRACK, then RHI and BASE tied, then WARN last; VIL and RAIN1 are
// schedulable but ranked outside the scheduler's range, SRI is not
// schedulable at all.
ProductTable demo_products() {
  ProductTable table = no_products();
  table[2 - 1] = {"RHI", true, 3};
  table[4 - 1] = {"TRACK", true, 1};
  table[7 - 1] = {"BASE", true, 3};
  table[9 - 1] = {"VIL", true, 0};
  table[10 - 1] = {"RAIN1", true, 41};
  table[12 - 1] = {"WARN", true, 40};
  table[15 - 1] = {"SRI", false, 2};
  return table;
}

warning_region &region(int iwarn) { return zamo.protect.protected_regions[iwarn]; }

// The padding bytes after a region's name.
char *after_name(int iwarn) {
  return reinterpret_cast<char *>(&region(iwarn)) + offsetof(warning_region, sName) + 12;
}

void name_region(int iwarn, const char *name) {
  std::memcpy(region(iwarn).sName, name, sizeof region(iwarn).sName);
}

// The site's own limits, and the values behind tests/data/product_demo.txt:
// the factory values with the wind row shown, the receive timeout switched
// off and four regions that differ from an unused one.
void load_demo_site() {
  std::memset(zamo_limits, 0, sizeof zamo_limits);
  load_site_limits("zamo_setup", zamo_limits);
  std::memset(auxset_limits, 0, sizeof auxset_limits);
  set_limits(auxset, auxset_limits, auxset.lstatus_product_gen, 0, 1, 0);
  set_limits(auxset, auxset_limits, auxset.lstatus_product_timeout, 0, 1, 0);

  zamo = zamo_limits[COPY_FACTORY];
  auxset.lstatus_product_gen = 1;
  auxset.lstatus_product_timeout = 0;
  zamo.misc.iprod_cache_size = 2500000;
  zamo.misc.lWindSpeedValid = 1;
  zamo.misc.icentroid_label = 2;

  region(0) = {1250000, -350000, 500000, 250000, 16384, {}};
  name_region(0, "AIRPORT     ");
  // A name that fills its field, followed by bytes that are no terminator.
  std::memset(after_name(1), 'X', sizeof(warning_region) - offsetof(warning_region, sName) - 12);
  name_region(1, "HARBOUR-WEST");
  std::memset(region(2).sName, 0, sizeof region(2).sName);  // empty, not blank
  name_region(3, " OLD NAME   ");
}

class ProductPage : public PageTest {
 protected:
  ProductPage() : PageTest(PAGE_PRODUCT, product_page) {}
  void SetUp() override {
    use_products(demo_products());
    PageTest::SetUp();
    load_demo_site();
  }
  void TearDown() override {
    PageTest::TearDown();
    install_product_types(nullptr);
  }
  void use_products(const ProductTable &table) {
    products = table;
    install_product_types(products.data());
  }
  bool lists(const std::string &text) const { return listing().find(text) != std::string::npos; }

  ProductTable products;
};

TEST_F(ProductPage, SchedulingFollowsWhatTheLibraryReportsOnEveryPass) {
  EXPECT_EQ(listing(), data_file("product_demo.txt"));
  build();
  // Ids computed anew on each store still lead to the right array element.
  type_into(item("BASE Product Priority"), "33");
  type_into(item("WARN Product Priority"), "44");
  type_into(item("TRACK Product Priority"), "31");
  EXPECT_EQ(zamo.misc.iprod_priorities[7 - 1], 33);
  EXPECT_EQ(zamo.misc.iprod_priorities[12 - 1], 44);
  EXPECT_EQ(zamo.misc.iprod_priorities[4 - 1], 31);
  EXPECT_EQ(zamo.misc.iprod_priorities[2 - 1], 20) << "the tied neighbour is untouched";

  region(0).ixcenter = 60000000;  // after the scheduling items: reported only if ids and rows line up
  zamo.misc.iprod_priorities[4 - 1] = 0;
  auto checked = lines_after(PassCheck);
  EXPECT_TRUE(mentions(checked, "TRACK Product Priority:  0   (range 1 to 99)"));
  EXPECT_TRUE(mentions(checked, "Center East of the radar:  600.000 km   (range -500.000 km to 500.000 km)"));

  use_products(no_products());
  EXPECT_TRUE(lists("\nProduct Scheduling\n\nWarning Region #1\n")) << "the title alone";
}

TEST_F(ProductPage, RegionNamesDecideTheGeometryRowsScaledValuesStoreAndTheCentroidIsRepaired) {
  build();
  Widget name = item("Name", 4), east = item("Center East of the radar", 4);
  EXPECT_FALSE(window.shown(east));
  region(4).ixsize = -5;  // out of range, but unused regions are not checked
  EXPECT_FALSE(mentions(lines_after(PassCheck), "Width East-West"));

  type_into(name, "LAKE");
  EXPECT_EQ(std::string(region(4).sName, 12), "LAKE        ");
  EXPECT_TRUE(window.shown(east)) << "shown by the same store";
  EXPECT_TRUE(
      mentions(lines_after(PassCheck), "Width East-West:  -0.000 km   (range 0.000 km to 1000.000 km)"));
  EXPECT_TRUE(
      lists("Warning Region #5\n  Name                                 : LAKE\n"
            "  Center East of the radar             : 0.000 km\n"));

  // A name that fills the field stores no terminator over what follows.
  *after_name(4) = 'X';
  type_into(name, "RESERVOIR-NORTH");
  EXPECT_EQ(std::string(region(4).sName, 12), "RESERVOIR-NO");
  EXPECT_EQ(*after_name(4), 'X');

  type_into(name, " ");
  EXPECT_FALSE(window.shown(east));
  EXPECT_FALSE(lists("Warning Region #5\n  Name                                 : \n  Center"));

  type_into(item("Orientation"), "45");
  EXPECT_EQ(region(0).iangle, 8192);
  pick_hint(item("Maximum files queued for send"), " 3 realtime systems");
  EXPECT_EQ(zamo.misc.imax_send_queue, 3);
  zamo.misc.icentroid_label = 0;
  EXPECT_TRUE(mentions(lines_after(PassRepair), "Centroid value signal:  Maximum"));
  EXPECT_EQ(zamo.misc.icentroid_label, 1);
}

// The switches stand in for the intervals; storage form, as Save makes it,
// writes them back.
TEST_F(ProductPage, StatusSwitchesHideTheirRowsAndSaveZeroOrAtLeastOne) {
  build();
  Widget interval = item("Time between status products");
  flip(item("STATUS product generation"), false);
  EXPECT_FALSE(window.shown(interval));
  EXPECT_FALSE(shown("Make product for each task"));
  EXPECT_FALSE(lists("Time between status products") || lists("Make product for each task"));
  convert_form(0);
  EXPECT_EQ(zamo.misc.istatus_product_gen, 0u);

  Widget timeout = item("Timeout after");
  EXPECT_FALSE(window.shown(timeout));
  flip(item("STATUS product generation"), true);
  flip(item("STATUS product receive timeout"), true);
  EXPECT_TRUE(window.shown(interval));
  EXPECT_TRUE(window.shown(timeout));
  zamo.misc.istatus_product_timeout = 0;
  convert_form(0);
  EXPECT_EQ(zamo.misc.istatus_product_gen, 1u) << "switched on with a zero interval";
  EXPECT_EQ(zamo.misc.istatus_product_timeout, 1u);
}

}  // namespace
