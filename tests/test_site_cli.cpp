// setup-site on sites made for the test: a value set from the command line
// is stored exactly as the page stores it when typed, round trips through
// get, and only the areas a command changed are written, by operators only.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <sys/wait.h>

#include <sstream>

#include "pages/pages.h"
#include "session/index.h"
#include "tests/store_site.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

struct ToolRun {
  int status;
  std::string out, err;
};

// setup-site in full mode on the site in `dir`.
ToolRun tool(const std::string &dir, const std::string &args) {
  const std::string out = dir + ".out", err = dir + ".err";
  int status = std::system(
      (SETUP_BINARY_DIR "/setup-site -C " + dir + " --zamo " + args + " >" + out + " 2>" + err).c_str());
  ToolRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(out), read_file(err)};
  unlink(out.c_str());
  unlink(err.c_str());
  return run;
}

// One shell word.
std::string quoted(const std::string &text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

std::string line_of(const std::string &file_text, const std::string &path) {
  size_t at = file_text.find("\n" + path + " = ");
  return at == std::string::npos ? "" : file_text.substr(at + 1, file_text.find('\n', at + 1) - at - 1);
}

class SiteTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/site-tool-XXXXXX";
    dir = mkdtemp(name);
    ASSERT_EQ(0, std::system((SETUP_BINARY_DIR "/setup-site init --force " + dir + " >/dev/null").c_str()));
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string get(const std::string &path) { return tool(dir, "get " + path).out; }
  void edit_file(const std::string &file, const std::string &path, const std::string &value) {
    std::string text = read_file(dir + "/" + file), old = line_of(text, path);
    ASSERT_FALSE(old.empty()) << path;
    text.replace(text.find(old), old.size(), path + " = " + value);
    write_file(dir + "/" + file, text);
  }

  std::string dir;
};

TEST_F(SiteTool, SetThenGetThroughEveryKindOfItem) {
  const struct {
    const char *path, *typed, *stored;
  } cases[] = {
      {"zel.iBaudRate1", "4800 baud", "4800"},                                 // with the field's unit
      {"zel.ignd_hgt", "99999999", "9000"},                                    // clamped to its maximum
      {"zel.iParity1", "1", "1"},                                              // and by value
      {"zel.sDevice1", "/dev/ttyS7", "\"/dev/ttyS7\""},                        // text
      {"zamo.device.def[0].dsi.network.sPassword", "secret", "\"********\""},  // masked
      {"auxset.lnoise_az", "Don't Care", "0"},
  };
  for (const auto &c : cases) {
    ToolRun set = tool(dir, std::string("set ") + c.path + " " + quoted(c.typed));
    EXPECT_EQ(set.status, 0) << c.path << ": " << set.err;
    EXPECT_EQ(get(c.path), std::string(c.path) + " = " + c.stored + "\n") << c.typed;
  }
  // The masked field keeps its value while the typed text is its asterisks,
  // typed or raw; only --show-secrets shows it.
  EXPECT_EQ(tool(dir, "set zamo.device.def[0].dsi.network.sPassword '***************'").status, 0);
  EXPECT_EQ(tool(dir, "set --raw zamo.device.def[0].dsi.network.sPassword '\"********\"'").status, 0);
  EXPECT_EQ(tool(dir, "--show-secrets get zamo.device.def[0].dsi.network.sPassword").out,
            "zamo.device.def[0].dsi.network.sPassword = \"secret\"\n");
  EXPECT_EQ(tool(dir, "diff").out.find("secret"), std::string::npos);
  // Switched off, the noise azimuth is stored as "any angle"; setting the
  // angle switches it on again, as the page would.
  EXPECT_EQ(get("zamo.misc.inoise_az"), "zamo.misc.inoise_az = -1\n");
  EXPECT_EQ(tool(dir, "set zamo.misc.inoise_az 45").status, 0);
  EXPECT_EQ(get("zamo.misc.inoise_az auxset.lnoise_az"), "zamo.misc.inoise_az = 45\nauxset.lnoise_az = 1\n");
  // Raw values are clamped too; a field no page binds is set raw.
  EXPECT_EQ(tool(dir, "set --raw zel.iBaudRate1 7").status, 0);
  EXPECT_EQ(get("zel.iBaudRate1"), "zel.iBaudRate1 = 300\n");
  // Not a number never reaches a file when given raw; typed, it is the minimum.
  for (const char *raw : {"nan", "-inf", "1e999"})
    EXPECT_EQ(tool(dir, std::string("set --raw zel.fazvelmax ") + raw).status, 2) << raw;
  EXPECT_EQ(get("zel.fazvelmax"), "zel.fazvelmax = 36\n");
  EXPECT_EQ(tool(dir, "set zel.fazvelmax nan").status, 0);
  EXPECT_EQ(get("zel.fazvelmax"), "zel.fazvelmax = 0.1\n");
  EXPECT_EQ(tool(dir, "set zamo.misc.iingsim_flags 3").status, 0);
  EXPECT_EQ(get("auxset.lingsim_radar auxset.lingsim_shearline auxset.lingsim_fallspeed"),
            "auxset.lingsim_radar = 1\nauxset.lingsim_shearline = 1\nauxset.lingsim_fallspeed = 0\n");
  // The device count follows the maximum, with the page's warning.
  ToolRun count = tool(dir, "set zamo.device.idevcount 99");
  EXPECT_NE(count.err.find("Maximum number of output devices"), std::string::npos);
  EXPECT_EQ(get("zamo.device.idevcount"),
            "zamo.device.idevcount = " + get("zamo.device.imaxdevcount").substr(27));
}

TEST_F(SiteTool, CheckRepairDiffAndReset) {
  ToolRun clean = tool(dir, "check"), diff = tool(dir, "diff");
  EXPECT_EQ(clean.status + diff.status, 0);
  EXPECT_EQ(clean.out + diff.out, "");

  edit_file("setup_ant.conf", "zel.iParity1", "7");
  edit_file("setup_zamo.conf", "zamo.misc.iingsim_flags", "200");  // on no page
  ToolRun check = tool(dir, "check");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("with parity:  ?????"), std::string::npos) << check.out;
  EXPECT_EQ(check.out.find("iingsim_flags"), std::string::npos);
  ToolRun all = tool(dir, "check --all");
  EXPECT_NE(all.out.find("zamo.misc.iingsim_flags = 200   (range 0 to 31)"), std::string::npos) << all.out;

  ToolRun repair = tool(dir, "repair");
  EXPECT_EQ(repair.status, 0) << repair.err;
  EXPECT_NE(repair.out.find("with parity:  None"), std::string::npos) << repair.out;
  EXPECT_EQ(get("zel.iParity1"), "zel.iParity1 = 0\n");

  ASSERT_EQ(tool(dir, "set zel.iBaudRate1 19200").status, 0);
  ASSERT_EQ(tool(dir, "set zel.lTimePacketUtc 'Local Time'").status, 0);
  diff = tool(dir, "diff");
  EXPECT_EQ(diff.status, 1);
  EXPECT_NE(diff.out.find("zel.iBaudRate1 = 19200\n"), std::string::npos);
  ASSERT_EQ(tool(dir, "reset zel.iBaudRate1").status, 0);
  EXPECT_EQ(tool(dir, "diff").out.find("zel.iBaudRate1"), std::string::npos);
  EXPECT_NE(tool(dir, "diff").out.find("zel.lTimePacketUtc"), std::string::npos);
  ASSERT_EQ(tool(dir, "reset --page control").status, 0);
  EXPECT_EQ(tool(dir, "diff").out.find("zel."), std::string::npos);

  // Against another site: the fields that differ, as this site holds them.
  ASSERT_EQ(tool(dir, "set dsp.iXmtTubeType TWT").status, 0);
  std::string other = dir + "-other";
  ASSERT_EQ(0, std::system((SETUP_BINARY_DIR "/setup-site init " + other + " >/dev/null").c_str()));
  ToolRun against = tool(dir, "diff " + other);
  std::filesystem::remove_all(other);
  EXPECT_EQ(against.status, 1);
  EXPECT_NE(against.out.find("dsp.iXmtTubeType = 3\n"), std::string::npos) << against.out;
}

TEST_F(SiteTool, OnlyChangedAreasAreWrittenAndOnlyByOperators) {
  // A load conversion (transmit format 4 shows as 2) is no change of the tool's.
  edit_file("setup_ant.conf", "zel.icontrol_format", "4");
  DirectoryStamps before = stamp_directory(dir);
  ToolRun set = tool(dir, "set dsp.iXmtTubeType TWT");
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out, "dsp.iXmtTubeType: 1 -> 3\n");
  EXPECT_EQ(written_since(dir, before), "setup_dsp.conf");
  EXPECT_NE(read_file(dir + "/changes.log").find("  dsp.iXmtTubeType: 1 -> 3\n"), std::string::npos);
  before = stamp_directory(dir);
  EXPECT_EQ(tool(dir, "set dsp.iXmtTubeType TWT").out, "") << "the same value changes nothing";
  EXPECT_EQ(written_since(dir, before), "");

  // Passwords never reach the log.
  ASSERT_EQ(tool(dir, "set zamo.device.def[0].dsi.network.sPassword hunter2").status, 0);
  std::string log = read_file(dir + "/changes.log");
  EXPECT_EQ(log.find("hunter2"), std::string::npos);
  EXPECT_NE(log.find("zamo.device.def[0].dsi.network.sPassword: \"********\" -> \"********\""),
            std::string::npos)
      << log;

  // Usage errors name what is wrong and write nothing.
  before = stamp_directory(dir);
  ToolRun unknown = tool(dir, "set zel.nonsense 1");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("zel.nonsense"), std::string::npos);
  ToolRun bad = tool(dir, "set zel.iBaudRate1 fast");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("fast"), std::string::npos);
  EXPECT_EQ(tool(dir, "set zel.iParity1 Sometimes").status, 2);
  EXPECT_EQ(tool(dir, "get zel.nonsense").status, 2);
  EXPECT_EQ(tool(dir, "list nowhere").status, 2);

  // Not an operator: refused before anything is read or written.
  write_file(dir + "/operators", "somebody_else\n");
  before = stamp_directory(dir);
  const std::string files = setup_files(dir);
  for (const char *command : {"set zel.iBaudRate1 19200", "reset --all", "repair"}) {
    ToolRun refused = tool(dir, command);
    EXPECT_EQ(refused.status, 3) << command;
    EXPECT_NE(refused.err.find("not an operator"), std::string::npos);
  }
  EXPECT_EQ(written_since(dir, before), "");
  EXPECT_EQ(setup_files(dir), files);
  EXPECT_EQ(tool(dir, "get zel.iBaudRate1").status, 0) << "reading needs no operator";
}

// What bash offers after the words typed so far.
std::string completions(const std::string &dir, const std::string &words) {
  const std::string script =
      "source " SETUP_SOURCE_DIR "/tools/setup-site.bash-completion; PATH=" SETUP_BINARY_DIR
      ":$PATH; COMP_WORDS=(setup-site -C " +
      dir + " " + words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _setup_site; echo ${COMPREPLY[*]}";
  const std::string out = dir + ".completions";
  std::system(("bash -c " + quoted(script) + " >" + out).c_str());
  std::string text = read_file(out);
  unlink(out.c_str());
  return text;
}

TEST_F(SiteTool, BashCompletesCommandsPagesAndPaths) {
  EXPECT_EQ(completions(dir, "re"), "repair reset\n");
  EXPECT_EQ(completions(dir, "list in"), "ingest input\n");
  EXPECT_EQ(completions(dir, "get zel.iBaudRate"), "zel.iBaudRate1 zel.iBaudRate2\n");
  EXPECT_EQ(completions(dir, "reset --page si"), "signal\n");
  EXPECT_EQ(completions(dir, "--rda list ''"), "signal control\n");  // the pages of the mode
}

// ---------------------------------------------------------------------------
// The same typed text through the page window and through the tool.

// The widget of the item bound to the field at `address` on the page.
Widget widget_bound_to(const PageView &view, int page, const void *address) {
  std::vector<uint32_t> ids;
  for (const SiteItem &item : page_items(page))
    if (item.field && item.field->address() == address) ids.push_back(item.id);
  if (ids.size() != 1) return nullptr;  // the samples are bound once
  std::vector<Widget> found = collect(view.record->form_dialog, [&](Widget w) {
    SetupItem *item = XtIsWidget(w) ? item_of(w) : nullptr;
    return item && item->id == ids[0] && item->kind <= KindToggle;
  });
  return found.empty() ? nullptr : found[0];
}

struct Sample {
  int page;
  const void *address;
  const char *path, *typed;
  std::function<void(Widget)> in_window;
};

TEST_F(SiteTool, SetStoresWhatThePageStoresForTheSameTypedText) {
  REQUIRE_DISPLAY();
  std::string window_site = dir + "-window";
  ASSERT_EQ(0, std::system(("cp -a " + dir + " " + window_site).c_str()));
  auto typed = [](const char *text) { return [text](Widget w) { type_into(w, text); }; };
  const Sample samples[] = {
      {PAGE_SIGNAL_PROCESSOR, &dsp.iXmtTubeType, "dsp.iXmtTubeType", "3", [](Widget w) { choose(w, "TWT"); }},
      {PAGE_CONTROL_PROCESSOR, &zel.iBaudRate1, "zel.iBaudRate1", "999999", typed("999999")},
      {PAGE_CONTROL_PROCESSOR, &zel.ipri_antxmt, "zel.ipri_antxmt", "-15",
       [](Widget w) { pick_hint(w, "-15"); }},
      {PAGE_CONTROL_PROCESSOR, &zel.iParity1, "zel.iParity1", "Odd", [](Widget w) { choose(w, "Odd"); }},
      {PAGE_CONTROL_PROCESSOR, &zel.lTimePacketUtc, "zel.lTimePacketUtc", "Local Time",
       [](Widget w) { flip(w, false); }},
      {PAGE_CONTROL_PROCESSOR, &auxset.zel_ilon, "zel.idefault_lon", "12.5", typed("12.5")},
      {PAGE_GENERAL, &zamo.Site.sites[1].sCode, "zamo.Site.sites[1].sCode", "A_", typed("A_")},
      {PAGE_INGEST, &auxset.lnoise_el, "auxset.lnoise_el", "Don't Care", [](Widget w) { flip(w, false); }},
      {PAGE_PRODUCT, &zamo.protect.protected_regions[0].ixcenter,
       "zamo.protect.protected_regions[0].ixcenter", "2.345678", typed("2.345678")},
      {PAGE_PRODUCT, &zamo.protect.protected_regions[0].sName, "zamo.protect.protected_regions[0].sName",
       "East", typed("East")},
      {PAGE_PRODUCT, &zamo.misc.istatus_product_timeout, "zamo.misc.istatus_product_timeout", "7",
       typed("7")},
      {PAGE_OUTPUT_DEVICE, &zamo.device.def[0].dsi.network.sPassword,
       "zamo.device.def[0].dsi.network.sPassword", "pw", typed("pw")},
      {PAGE_INPUT_DEVICE, &zamo.Input.Def[0].sMenuAlias, "zamo.Input.Def[0].sMenuAlias", "radar 2",
       typed("radar 2")},
  };
  for (const Sample &s : samples) {
    ToolRun set = tool(dir, std::string("set ") + s.path + " " + quoted(s.typed));
    ASSERT_EQ(set.status, 0) << s.path << ": " << set.err;

    // The editor: loaded as at start, the page built, the text typed, saved.
    setenv("ZAMO_CONFIG", window_site.c_str(), 1);
    clear_store_state();
    load_and_check();
    PageView view;
    view.build(s.page, page_info(s.page).function);
    Widget w = widget_bound_to(view, s.page, s.address);
    ASSERT_NE(w, nullptr) << s.path;
    s.in_window(w);
    save_changed_areas();
    view.destroy();
    EXPECT_EQ(differing_lines(setup_files(window_site), setup_files(dir)), "") << s.path << " = " << s.typed;
  }
  std::filesystem::remove_all(window_site);
}

}  // namespace
