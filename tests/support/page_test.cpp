#include "tests/support/page_test.h"

#include <cstdio>

std::string data_file(const char *name) { return read_file(std::string(SETUP_TEST_DATA_DIR) + "/" + name); }

void PageTest::SetUp() {
  REQUIRE_DISPLAY();
  std::snprintf(host_name, sizeof host_name, "%s", "demo");
  count_seen = 0;
  full_mode = 1;
  page_(PassMeasure, nullptr, nullptr);
}

std::string PageTest::check_complaints() const {
  ::testing::internal::CaptureStderr();
  error_found = 0;
  std::vector<std::string> lines = lines_after(PassCheck);
  std::string complaints = ::testing::internal::GetCapturedStderr();
  if (error_found) complaints += lines.empty() ? "an error without a line" : lines.back();
  return complaints;
}

bool PageTest::repaired_without_report(const std::string &what) const {
  error_found = 0;
  bool checked = mentions(lines_after(PassCheck), what) || error_found;
  return !checked && !mentions(lines_after(PassRepair), what);
}

Widget PageTest::item(const std::string &label, int nth) const {
  Widget w = window.item(label, nth);
  if (!w) ADD_FAILURE() << "no item labelled " << label;
  return w;
}

bool PageTest::section_shown(const std::string &title) const {
  Widget w = window.section(title);
  if (!w) ADD_FAILURE() << "no section titled " << title;
  return window.shown(w);
}
