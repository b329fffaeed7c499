// One page of the editor under test: its function measured as at start-up,
// a window of its own for the widget tests, and its listing and the bounds
// lines of its passes.
#pragma once

#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Xm.h>

#include <cstring>
#include <string>
#include <vector>

#include "motif/bounds_dialog.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/sitelib.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

// A file of tests/data.
std::string data_file(const char *name);

// Loads the site's minimum, maximum and factory copies of one record.
template <typename Record>
void load_site_limits(const char *setup, Record *copies) {
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
    ASSERT_EQ(setup_limits(setup, &copies[copy], copy, 0), 1);
}

class PageTest : public ::testing::Test {
 protected:
  PageTest(int number, PageFunction page) : number_(number), page_(page) {}
  // On host "demo", in full mode, the page measured before the test loads
  // its values.
  void SetUp() override;
  void TearDown() override { window.destroy(); }

  void build() { window.build(number_, page_); }
  std::string listing() const { return page_listing(page_); }
  std::vector<std::string> lines_after(uint32_t pass) const { return bounds_lines_after(page_, pass); }
  // What a check pass complains of: internal errors, then the last bounds
  // line if it found an error; empty when the page checks clean.
  std::string check_complaints() const;
  // A value named so is neither checked nor reported by the repair pass
  // (the repair may still set it).
  bool repaired_without_report(const std::string &what) const;

  // The window's n-th item labelled so, and whether it or a section is shown.
  Widget item(const std::string &label, int nth = 0) const;
  bool shown(const std::string &label, int nth = 0) const { return window.shown(item(label, nth)); }
  bool section_shown(const std::string &title) const;

  PageView window;

 private:
  int number_;
  PageFunction page_;
};
