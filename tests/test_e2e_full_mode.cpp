// The real editor in full mode on a site whose data-system fields all hold
// values other than their factory values: every page window opens from the
// main window, List all writes what the pages list in this process from the
// same files, one edit per data-system page is saved as exactly those
// lines, and values out of range are offered for repair at start.
#include "tests/support/e2e.h"
// The harness (gtest) before the editor's X headers: their macros break it.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "motif/bounds_dialog.h"
#include "motif/commands.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/schema.h"
#include "store/areas.h"
#include "store/store.h"

namespace e2e {
namespace {

// A value inside the field's limits that is not its factory value.
double other_number(const SchemaField &f) {
  if (f.kind == SchemaKind::Choice) {
    for (size_t i = 0; i < f.choices.size(); ++i)
      if (f.choices[i] == f.factory) return f.choices[(i + 1) % f.choices.size()];
    return f.choices[0];
  }
  if (f.kind == SchemaKind::Flag) return 1 - f.factory;
  if (f.factory + 1 <= f.maximum) return f.factory + 1;
  if (f.factory - 1 >= f.minimum) return f.factory - 1;
  return (f.minimum + f.maximum) / 2;
}

// A text that no factory value holds: codes of three characters, so that no
// site code is padded at load; region names blank-padded like the rest.
void other_text(const SchemaField &f, char *at, int n) {
  char text[32];
  if (f.size == 4)
    std::snprintf(text, sizeof text, "%c%02d", 'A' + n % 26, n % 100);
  else
    std::snprintf(text, sizeof text, "t%d", n);
  if (f.path.find("protected_regions") != std::string::npos) {
    spacify_ncpy(at, text, static_cast<int>(f.size));
    return;
  }
  std::memset(at, 0, f.size);
  std::strncpy(at, text, f.size - 1);
}

// Every data-system field but the version gets another value; the setup is
// written with the site library.
void write_non_factory_site(const std::function<void(zamo_setup &)> &adjust) {
  static zamo_setup record;
  ASSERT_EQ(zamoload(&record), SITE_OK);
  int n = 0;
  for (const SchemaField &f : zamo_schema().fields) {
    if (f.path == zamo_schema().version_path) continue;
    if (f.type == SchemaType::Text)
      other_text(f, reinterpret_cast<char *>(&record) + f.offset, n++);
    else
      schema_store(f, &record, other_number(f));
  }
  // A skip time within the limits of every device type.
  for (output_device &device : record.device.def) device.iskip_time = 301;
  adjust(record);
  ASSERT_EQ(zamosave(&record), SITE_OK);
}

// What the editor does at start, in this process: measure, load, editing
// form, check. Returns the bounds lines that are not page headings.
std::vector<std::string> load_like_the_editor() {
  full_mode = 1;
  std::string host = main_title().substr(std::strlen("SETUP, "));
  std::snprintf(host_name, sizeof host_name, "%s", host.c_str());
  run_pass(ORDER_MEASURE, PassMeasure, nullptr);
  load_all_areas();
  convert_form(1);
  clear_bounds_lines();
  error_found = 0;
  run_pass(ORDER_CHECK, PassCheck, nullptr);
  std::vector<std::string> findings;
  for (const std::string &line : bounds_lines())
    if (line != " " && line.find("=====") == std::string::npos && line.find("Setups, ") == std::string::npos)
      findings.push_back(line);
  return findings;
}

std::string list_all_in_process() {
  std::unique_ptr<FILE, int (*)(FILE *)> file(tmpfile(), fclose);
  run_pass(ORDER_LIST, PassList, file.get());
  std::string text;
  rewind(file.get());
  for (int c; (c = fgetc(file.get())) != EOF;) text += static_cast<char>(c);
  return text;
}

// One edit on a data-system page: the field showing `shown` retyped, and
// the line of setup_zamo.conf that changes by it.
struct Edit {
  int page;
  int field_left;  // 13 pixels and the window's label column (its widest label on the output page)
  const char *shown, *typed, *shown_after;
  const char *old_line, *new_line;
};

const Edit edits[] = {
    {PAGE_GENERAL, 277, "77 clients", "78", "78 clients", "zamo.Site.imax_clients = 77",
     "zamo.Site.imax_clients = 78"},
    {PAGE_INGEST, 301, "12.345 km", "23.456", "23.456 km", "zamo.misc.itrunc = 1234500",
     "zamo.misc.itrunc = 2345600"},
    {PAGE_PRODUCT, 309, "234.50", "321.25", "321.25", "zamo.misc.fzr_const = 234.5",
     "zamo.misc.fzr_const = 321.25"},
    {PAGE_OUTPUT_DEVICE, 221, "Screen1", "Screen2", "Screen2", "zamo.device.def[0].sMenuAlias = \"Screen1\"",
     "zamo.device.def[0].sMenuAlias = \"Screen2\""},
    {PAGE_INPUT_DEVICE, 205, "Alias0", "Alias9", "Alias9", "zamo.Input.Def[0].sMenuAlias = \"Alias0\"",
     "zamo.Input.Def[0].sMenuAlias = \"Alias9\""},
};

void edit_targets(zamo_setup &record) {
  record.Site.imax_clients = 77;
  record.misc.itrunc = 1234500;
  record.misc.fzr_const = 234.5;
  std::strcpy(record.device.def[0].sMenuAlias, "Screen1");
  std::strcpy(record.Input.Def[0].sMenuAlias, "Alias0");
}

using FullMode = Test;

TEST_F(FullMode, EveryPageOpensListsAsInProcessAndSavesExactlyTheEdits) {
  write_non_factory_site(edit_targets);
  const std::string zamo_file = site + "/setup_zamo.conf";
  const std::string before = read_file(zamo_file);
  ASSERT_EQ(load_like_the_editor(), std::vector<std::string>{})
      << "the site's values lie within their limits";
  const std::string expected_listing = list_all_in_process();

  start_editor("-zamo");
  Window pages[PAGE_COUNT] = {};
  pages[PAGE_SIGNAL_PROCESSOR] = open_page(false, 640, 0);
  pages[PAGE_CONTROL_PROCESSOR] = open_page(true, 640, 300);
  for (int page : {PAGE_GENERAL, PAGE_INGEST, PAGE_PRODUCT, PAGE_OUTPUT_DEVICE, PAGE_INPUT_DEVICE})
    pages[page] = open_data_system_page(page, 0, 260);
  for (int page = 0; page < PAGE_COUNT; ++page) EXPECT_TRUE(pages[page] != 0) << "page " << page;
  screenshot("e2e_full_mode.png");

  EXPECT_EQ(list_all(expected_listing.size()), expected_listing);

  std::vector<std::string> expected_changes;
  for (const Edit &edit : edits) {
    Window page = open_data_system_page(edit.page, 0, 260);  // raised again
    ASSERT_EQ(retype(page, edit.field_left, edit.shown, edit.typed, true), edit.shown_after);
    expected_changes.push_back(std::string(edit.old_line) + " -> " + edit.new_line);
  }

  const std::string control_file = read_file(site + "/setup_ant.conf");
  file_menu('s');
  eventually([&] { return read_file(zamo_file) != before; });
  EXPECT_EQ(read_file(zamo_file + ".bak"), before);
  std::vector<std::string> changed = changed_lines(before, read_file(zamo_file));
  std::sort(changed.begin(), changed.end());
  std::sort(expected_changes.begin(), expected_changes.end());
  EXPECT_EQ(changed, expected_changes);
  EXPECT_EQ(read_file(site + "/setup_ant.conf"), control_file);
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 6000));

  file_menu('e');
  EXPECT_EQ(editor->exit_status(), 1) << "nothing changed since the save";
}

// Values out of range on every data-system page, each reported by the
// check at start.
void out_of_range(zamo_setup &record) {
  record.misc.ircv_beep_time = 5000;  // general
  record.Input.iInputCount = 1;       // input device
  record.Input.Def[0].iNotifyScheme = 3;
}

TEST_F(FullMode, ValuesOutOfRangeAreRepairedAtStartAndSavedOnlyBySave) {
  write_non_factory_site(out_of_range);
  const std::string zamo_file = site + "/setup_zamo.conf";
  const std::string before = read_file(zamo_file);
  std::vector<std::string> findings = load_like_the_editor();
  EXPECT_EQ(findings.size(), 2u);

  start_editor("-zamo");
  Window dialog = wait_titled("SETUP: Bounds Errors");
  ASSERT_NE(dialog, 0u) << "the bounds error dialog";
  // Its button gadgets along the bottom: Repair at the left, Cancel at the
  // right.
  pause_ms(500);
  const Box b = box(dialog);
  click(b, 45, b.height - 33);
  EXPECT_NE(wait_titled("SETUP: Repaired Bounds Errors", 5000), 0u);
  pause_ms(500);
  EXPECT_EQ(read_file(zamo_file), before) << "repairs stay in memory until Save";
  click(b, b.width / 2, b.height - 33);  // Cancel, alone once Repair is gone
  EXPECT_TRUE(eventually([] { return titled("SETUP: Repaired") == 0; }));

  file_menu('s');
  eventually([&] { return read_file(zamo_file) != before; });
  EXPECT_EQ(changed_lines(before, read_file(zamo_file)),
            (std::vector<std::string>{
                "zamo.misc.ircv_beep_time = 5000 -> zamo.misc.ircv_beep_time = 600",
                "zamo.Input.Def[0].iNotifyScheme = 3 -> zamo.Input.Def[0].iNotifyScheme = 2"}));
}

}  // namespace
}  // namespace e2e
