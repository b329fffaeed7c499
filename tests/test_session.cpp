// The edit session without a display: edits say what they stored, pending
// changes come from the snapshot, a save renews it, find matches words in
// any case, and text for a terminal has no control bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "items/bounds.h"
#include "session/session.h"
#include "tests/store_site.h"

namespace {

const SiteItem &item_at(const std::vector<SiteItem> &items, const std::string &path) {
  for (const SiteItem &item : items)
    if (item.field && item.field->path == path) return item;
  ADD_FAILURE() << "no item binds " << path;
  return items.front();
}

TEST(Session, EditsSayWhatTheyStoredAndPendingChangesComeFromTheSnapshot) {
  FactorySite site;
  session::OpenOptions options;
  options.mode = 1;
  const session::OpenReport opened = session::open(options);
  EXPECT_TRUE(opened.error_status.empty());
  EXPECT_FALSE(opened.out_of_range);
  EXPECT_FALSE(session::changed());
  const std::vector<SiteItem> items = site_items();

  const SiteItem &height = item_at(items, "zel.irad_hgt");
  session::Stored stored = session::set_typed(height, "9999");
  EXPECT_TRUE(stored.ok && stored.clamped);
  EXPECT_TRUE(session::set_typed(height, "25 meters").ok) << "with the field's unit";
  EXPECT_FALSE(session::set_typed(height, "25 parsecs").ok);
  EXPECT_FALSE(session::set_typed(item_at(items, "zel.iParity1"), "sideways").ok);
  EXPECT_TRUE(session::set_typed(item_at(items, "zamo.device.def[0].dsi.network.sPassword"), "s3cret").ok);
  EXPECT_FALSE(session::set_raw(*find_field("zel.fazvelmax"), "nan").ok);
  EXPECT_TRUE(session::set_raw(*find_field("zel.fazvelmax"), "1e6").clamped);

  std::vector<std::string> lines;
  for (const session::Change &change : session::pending()) lines.push_back(session::change_line(change));
  EXPECT_EQ(lines, (std::vector<std::string>{"zel.fazvelmax: 36 -> 60", "zel.irad_hgt: 20 -> 25",
                                             "zamo.device.def[0].dsi.network.sPassword: \"********\" -> "
                                             "\"********\""}));
  const session::Change height_change = session::pending().at(1);
  EXPECT_EQ(height_change.label, "Antenna height above the ground");
  EXPECT_EQ(height_change.new_shown, "25.0 meters");
  EXPECT_EQ(session::pending(true).at(2).new_stored, "\"s3cret\"");
  EXPECT_EQ(session::save_question(), "Save SETUP data for the following?\nZEL ZAMO ");

  const session::SaveReport saved = session::save();
  EXPECT_EQ(saved.status, 0);
  EXPECT_EQ(saved.areas.area[AREA_ZEL], SaveWritten);
  EXPECT_EQ(saved.areas.area[AREA_DSP], SaveNotWritten);
  EXPECT_FALSE(session::changed());
  EXPECT_TRUE(session::pending().empty());
  EXPECT_NE(read_file(site.path(AREA_ZEL)).find("zel.irad_hgt = 25\n"), std::string::npos);
  EXPECT_NE(read_file(site.dir + "/changes.log").find("  zel.irad_hgt: 20 -> 25\n"), std::string::npos);

  // Changing a value and changing it back is no change.
  session::set_typed(height, "30");
  session::set_typed(height, "25");
  EXPECT_FALSE(session::changed());
}

std::vector<std::string> pending_lines(void) {
  std::vector<std::string> lines;
  for (const session::Change &change : session::pending()) lines.push_back(session::change_line(change));
  return lines;
}

// setup-site's rule: what only the other program changed is taken, this
// program's changes go on top, the same value on both sides is no conflict,
// and passwords taken are named masked. A field both changed stops the
// whole save, naming the field; the merge stays pending against the files
// as read, so that saving again writes it.
TEST(Session, ASaveMergesWhatAnotherProgramSavedMeanwhileFieldByField) {
  FactorySite site;
  session::OpenOptions options;
  options.mode = 1;
  options.rule = session::SaveRule::OnlyEdits;
  session::open(options);
  other_program_saves<zel_setup>(ant_load_setup, ant_save_setup,
                                 [](zel_setup &z) { z.iBaudRate1 = 1200, z.irad_hgt = 25; });
  other_program_saves<zamo_setup>(zamoload, zamosave, [](zamo_setup &z) {
    std::strcpy(z.device.def[0].dsi.network.sPassword, "theirs");
  });
  session::set_raw(*find_field("zel.irad_hgt"), "25");
  session::set_raw(*find_field("zel.ignd_hgt"), "300");
  session::set_raw(*find_field("zamo.misc.ipri_ingest"), "-3");
  session::SaveReport saved = session::save();
  EXPECT_EQ(saved.status, 0) << saved.errors.at(0);
  EXPECT_EQ(saved.notes,
            (std::vector<std::string>{"ZEL setup: taken from another program's save: zel.iBaudRate1 = 1200",
                                      "ZAMO setup: taken from another program's save: "
                                      "zamo.device.def[0].dsi.network.sPassword = \"********\""}));
  EXPECT_EQ(zel.iBaudRate1, 1200);
  EXPECT_NE(read_file(site.path(AREA_ZAMO)).find("sPassword = \"theirs\""), std::string::npos);
  EXPECT_TRUE(pending_lines().empty()) << "what is held was written";

  // Both change the ground height; nothing is written, not even the signal
  // processor's change.
  other_program_saves<zel_setup>(ant_load_setup, ant_save_setup, [](zel_setup &z) { z.ignd_hgt = 400; });
  const std::string files = setup_files(site.dir);
  session::set_raw(*find_field("zel.ignd_hgt"), "500");
  session::set_raw(*find_field("dsp.iwavelength"), "540");
  saved = session::save();
  EXPECT_EQ(saved.status, 3);
  EXPECT_EQ(saved.errors,
            (std::vector<std::string>{"ZEL setup not saved: changed here and by another program "
                                      "meanwhile: zel.ignd_hgt (saving again writes this "
                                      "program's values)"}));
  EXPECT_EQ(setup_files(site.dir), files);
  EXPECT_EQ(pending_lines(),
            (std::vector<std::string>{"zel.ignd_hgt: 400 -> 500", "dsp.iwavelength: 533 -> 540"}));
  saved = session::save();
  EXPECT_EQ(saved.status, 0);
  EXPECT_NE(read_file(site.path(AREA_ZEL)).find("zel.ignd_hgt = 500\n"), std::string::npos);
  EXPECT_TRUE(pending_lines().empty());
}

TEST(Session, TypedNumbersStopWhereTheNumberEnds) {
  double value = 0;
  const char *end = nullptr;
  EXPECT_TRUE(session::parse_typed_number("12.5 m", value, &end));
  EXPECT_EQ(value, 12.5);
  EXPECT_STREQ(end, " m");
  EXPECT_FALSE(session::parse_typed_number("metres", value));
  EXPECT_TRUE(session::parse_typed_number("nan", value) && std::isnan(value)) << "stored as the minimum";
}

TEST(Session, FindMatchesEveryWordInAnyCaseInLabelPathSectionOrPage) {
  SiteItem item{};
  item.label = "Größe der Änderung";
  item.section_title = "Антенна";
  item.page_title = "Radar Control Processor Setups, host";
  EXPECT_TRUE(session::matches(item, "ÄNDERUNG größe"));
  EXPECT_TRUE(session::matches(item, "АНТЕННА control"));
  EXPECT_FALSE(session::matches(item, "änderung ingest"));

  FactorySite site;
  session::OpenOptions options;
  options.mode = 1;
  session::open(options);
  const std::vector<SiteItem> found = session::find("baud RATE");
  ASSERT_FALSE(found.empty());
  for (size_t i = 1; i < found.size(); ++i)
    EXPECT_TRUE(found[i - 1].page < found[i].page ||
                (found[i - 1].page == found[i].page && found[i - 1].id < found[i].id))
        << "page-number order, then walk order";
  EXPECT_EQ(session::find("zel.irad_hgt").size(), 1u);
}

TEST(Session, TextForATerminalEscapesControlBytesAndKeepsUtf8) {
  EXPECT_EQ(session::printable("host\n\x1b[31mroot"), "host\\x0A\\x1B[31mroot");
  EXPECT_EQ(session::printable("Größe"), "Größe");
  EXPECT_EQ(session::printable(std::string("a\xff\xc2\x85z")), "a\\xFF\\xC2\\x85z");
}

}  // namespace
