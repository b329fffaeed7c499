// Start-up load, change detection, Save and Exit against a site written by
// the site library in a temporary directory.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/List.h>

#include <memory>

#include "motif/commands.h"
#include "motif/dialogs.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "session/session.h"
#include "tests/store_site.h"
#include "tests/support/gui.h"
#include "tests/support/help_site.h"
#include "tests/support/widgets.h"

namespace {

// The warning dialog's message while it is shown, else "".
std::string shown_warning(void) {
  Widget dialog = gui_find(top_level, "warndiag");
  if (!dialog || !XtIsManaged(dialog)) return "";
  return message_text(dialog);
}

class Store : public ::testing::Test {
 protected:
  std::unique_ptr<FactorySite> site;

  void SetUp() override {
    REQUIRE_DISPLAY();
    hide_warning();
  }
  void make_site(const std::function<void()> &adjust = [] {}) {
    site = std::make_unique<FactorySite>(adjust);
  }
  void load() {
    start_up_load(nullptr, nullptr);
    gui_process(50);
  }
  // What Exit would ask.
  std::string question() { return session::changed() ? session::save_question() : ""; }
  std::string asked(const char *words) { return std::string("Save SETUP data for the following?\n") + words; }
  void save() {
    save_command(nullptr, nullptr, nullptr);
    gui_process(50);
  }
  size_t error_count() { return error_status_lines().size(); }
};

TEST_F(Store, ProcessorOnlyModeReadsThreeAreasWithoutVersionWarning) {
  make_site();
  site->set_zamo_file_version("9.55");
  site->corrupt(AREA_ZAMO);
  full_mode = 0;
  size_t errors = error_count();
  load();
  EXPECT_EQ(errors, error_count()) << "the data-system file is not read";
  EXPECT_EQ("", shown_warning());
  const zamo_setup untouched{};
  EXPECT_EQ(0, memcmp(&untouched, &zamo, sizeof zamo));
  EXPECT_EQ(0, memcmp(&untouched, &zamo_limits[COPY_MAX], sizeof zamo));

  DirectoryStamps before = site->stamps();
  save();
  EXPECT_EQ("", site->written(before));
}

TEST_F(Store, OldVersionIsAnnouncedAndWrittenOnceAndEditingFormChangesCount) {
  make_site();
  site->set_zamo_file_version("9.55");
  load();
  EXPECT_EQ("Setup file converted from 9.55 to 10.0", shown_warning());
  EXPECT_EQ("", question()) << "a version alone does not list ZAMO";

  DirectoryStamps before = site->stamps();
  save();
  EXPECT_EQ(site->file[AREA_ZAMO], site->written(before));
  EXPECT_EQ("Setup files successfully saved", shown_warning());
  gui_process(3200);
  EXPECT_EQ("", shown_warning()) << "the message closes itself";

  before = site->stamps();
  save();
  EXPECT_EQ("", site->written(before)) << "the file holds the current version now";

  // Editing form changes count as changes.
  hide_warning();
  make_site([] {
    zel.icontrol_format = 4;
    zamo.misc.inoise_az = static_cast<int16_t>(0x8001);
    zamo.misc.inoise_el = static_cast<int16_t>(0xFFFF);
  });
  load();
  EXPECT_EQ(2, zel.icontrol_format);
  EXPECT_EQ(asked("ZEL ZAMO "), question());
  before = site->stamps();
  save();
  EXPECT_EQ(site->file[AREA_ZEL] + " " + site->file[AREA_ZAMO], site->written(before));
  EXPECT_EQ("", question());
}

TEST_F(Store, AFactorySiteLoadsUnchangedAndOnlyRealChangesAreListedAndWritten) {
  make_site();
  size_t errors = error_count();
  load();
  EXPECT_EQ(errors, error_count());
  EXPECT_EQ("", shown_warning());
  EXPECT_EQ("", question());
  zel.iBaudRate1 += 1;
  EXPECT_EQ(asked("ZEL "), question());
  zel.iBaudRate1 -= 1;
  EXPECT_EQ("", question()) << "a change and its reversal is no change";

  auxset.lingsim_shearline = !auxset.lingsim_shearline;
  EXPECT_EQ(asked("ZAMO "), question());
  auxset.lingsim_shearline = !auxset.lingsim_shearline;

  int32_t latitude = auxset.zel_ilat + 1000;
  auxset.zel_ilat = latitude;
  Rtdisp.iPriority += 1;
  EXPECT_EQ(asked("ZEL RTDISP "), question());

  DirectoryStamps before = site->stamps();
  save();
  EXPECT_EQ(site->file[AREA_ZEL] + " " + site->file[AREA_RTDISP], site->written(before));
  EXPECT_EQ("", question());
  EXPECT_EQ(latitude, zel.idefault_lat);
  EXPECT_EQ(latitude, auxset.zel_ilat) << "editing form again after the save";

  // What was saved is what a new start reads.
  zel_setup saved = zel;
  clear_store_state();
  load();
  EXPECT_EQ(0, memcmp(&saved, &zel, sizeof zel));
}

TEST_F(Store, TwoFailingReadsGiveTwoLinesNamingTheirAreas) {
  make_site();
  site->corrupt(AREA_DSP);
  unlink(site->path(AREA_ZAMO).c_str());
  size_t errors = error_count();
  load();
  ASSERT_EQ(errors + 2, error_count());
  EXPECT_EQ(0u, error_status_lines()[errors].find("DSP setup, bad line ignored: Setup file " +
                                                  site->path(AREA_DSP) + ", line 1: "));
  EXPECT_EQ(0u, error_status_lines()[errors + 1].find("ZAMO setup could not be read: "));
  Widget dialog = error_status_dialog();
  ASSERT_NE(nullptr, dialog);
  EXPECT_TRUE(XtIsManaged(dialog));
  WidgetList children;
  Cardinal count = 0;
  XtVaGetValues(dialog, XmNchildren, &children, XmNnumChildren, &count, nullptr);
  int items = 0;
  for (Cardinal i = 0; i < count; ++i)
    if (Widget list = gui_find(children[i], "")) XtVaGetValues(list, XmNitemCount, &items, nullptr);
  EXPECT_EQ(static_cast<int>(error_count()), items) << "one list, never emptied";
}

TEST_F(Store, AreaThatCouldNotBeReadIsLeftAloneUntilChanged) {
  make_site();
  site->corrupt(AREA_ZAMO);
  std::string corrupted = read_file(site->path(AREA_ZAMO));
  load();
  EXPECT_EQ("", shown_warning()) << "no version warning for a record never read";
  convert_form(0);
  EXPECT_EQ(0, memcmp(&zamo_limits[COPY_FACTORY], &zamo, sizeof zamo)) << "factory values stand in";
  convert_form(1);
  EXPECT_EQ("", question());

  save();
  EXPECT_EQ(corrupted, read_file(site->path(AREA_ZAMO)));

  zamo.misc.ircv_beep_time += 1;
  EXPECT_EQ(asked("ZAMO "), question());
  save();
  EXPECT_NE(corrupted, read_file(site->path(AREA_ZAMO)));
  EXPECT_EQ(corrupted, read_file(site->path(AREA_ZAMO) + ".rejected")) << "the operator's file is kept";
  clear_store_state();
  size_t errors = error_count();
  load();
  EXPECT_EQ(errors, error_count()) << "the written file reads again";
}

TEST_F(Store, FailedWriteIsReportedStaysChangedAndExitLeavesOnlyOnceWritten) {
  make_site();
  load();
  zel.iBaudRate2 += 1;
  size_t errors = error_count();
  site->break_directory();
  save();
  site->mend_directory();
  EXPECT_EQ(errors + 1, error_count());
  EXPECT_EQ("Not all setup files were saved", shown_warning());
  gui_process(3200);
  EXPECT_EQ("Not all setup files were saved", shown_warning()) << "a failure stays on screen";
  EXPECT_EQ(asked("ZEL "), question()) << "Exit still offers the unsaved area";

  DirectoryStamps before = site->stamps();
  save();
  EXPECT_EQ(site->file[AREA_ZEL], site->written(before));
  EXPECT_EQ("", question());

  // Save in the Exit question leaves only when everything was written.
  auxset.lnoise_az = !auxset.lnoise_az;
  site->break_directory();
  convert_form(0);  // as Exit leaves the records
  save_and_exit();
  site->mend_directory();
  gui_process(50);
  EXPECT_EQ("Not all setup files were saved", shown_warning());
  EXPECT_EQ(asked("ZAMO "), question());

  before = site->stamps();
  int status = run_in_child([] {
    top_level = nullptr;  // the parent owns the X connection
    app_context = nullptr;
    convert_form(0);
    save_and_exit();
  });
  EXPECT_EQ(0, exit_code(status));
  EXPECT_EQ(site->file[AREA_ZAMO], site->written(before));
}

TEST_F(Store, ExitStatuses) {
  make_site();
  load();
  EXPECT_EQ(1, exit_code(run_in_child([] { exit_command(nullptr, nullptr, nullptr); }))) << "nothing changed";

  dsp.iwavelength += 1;
  exit_command(nullptr, nullptr, nullptr);
  gui_process(50);
  EXPECT_EQ(asked("DSP "), shown_warning());
  hide_warning();
  convert_form(1);

  unlink((site->dir + "/operators").c_str());
  EXPECT_EQ(1, exit_code(run_in_child([] { exit_command(nullptr, nullptr, nullptr); })))
      << "not an operator, changes or not";
}

}  // namespace

namespace {

// Two editors on one site: the other saves first. This editor's Save merges
// field by field: the other's fields are taken and shown in the open page
// window (a stored field edited through auxset too), its own go on top and
// are written at once. A field both changed is named and not written; the
// window keeps this editor's value, pending against the file as read.
TEST_F(Store, ASaveOverAnotherEditorsSaveMergesFieldByField) {
  make_site();
  load();
  open_page(1);
  gui_process(200);
  PageView page{page_window(1)};
  Widget height = page.item("Antenna height above the ground");
  Widget latitude = page.item("Default Latitude of antenna");
  ASSERT_TRUE(height && latitude);
  const std::string zel_file = site->path(AREA_ZEL);
  other_program_saves<zel_setup>(ant_load_setup, ant_save_setup,
                                 [](zel_setup &z) { z.iBaudRate1 = 1200, z.idefault_lat = 0; });
  const std::string theirs = read_file(zel_file);

  type_into(height, "42");
  size_t errors = error_count();
  save();
  EXPECT_EQ(errors, error_count()) << "no conflict";
  EXPECT_EQ(
      "Setup files successfully saved\nZEL setup: taken from another program's save: zel.iBaudRate1 = 1200, "
      "zel.idefault_lat = 0",
      shown_warning());
  gui_process(3200);
  EXPECT_NE("", shown_warning()) << "what was taken stays on screen until read";
  EXPECT_EQ(differing_lines(theirs, read_file(zel_file)), "- zel.irad_hgt = 20\n+ zel.irad_hgt = 42\n");
  EXPECT_EQ(field_text(latitude), "0.00000 deg North") << "the window shows the merge";
  EXPECT_EQ("", question());

  other_program_saves<zel_setup>(ant_load_setup, ant_save_setup, [](zel_setup &z) { z.irad_hgt = 30; });
  const std::string second = read_file(zel_file);
  type_into(height, "50");
  errors = error_count();
  save();
  EXPECT_EQ(second, read_file(zel_file)) << "nothing written over the other's save";
  ASSERT_EQ(errors + 1, error_count());
  EXPECT_EQ(error_status_lines()[errors],
            "ZEL setup not saved: changed here and by another program meanwhile: zel.irad_hgt (saving again "
            "writes this program's values)");
  EXPECT_EQ(field_text(height), "50.0 meters") << "this editor's value kept";
  EXPECT_EQ(session::pending().at(0).old_stored, "30") << "against the file as read";
  XtUnmanageChild(page_window(1)->form_dialog);
}

TEST_F(Store, AHelpViewerThatCannotStartIsShownWithThePageToOpen) {
  HelpSite help;
  setenv("ZAMO_HELP_VIEWER", "/nonexistent/viewer", 1);
  start_help("index");
  gui_process(50);
  EXPECT_NE(shown_warning().find("open " + help.page("index.html") + " by hand"), std::string::npos)
      << shown_warning();
}

}  // namespace
