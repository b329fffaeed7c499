// setup-site on sites made for the test: a value set from the command line
// is stored exactly as the page stores it when typed, round trips through
// get, and only the areas a command changed are written, by operators only;
// statuses, both sides of a diff, apply, undo, JSON, German and completion.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <sys/wait.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "items/i18n.h"
#include "pages/pages.h"
#include "session/index.h"
#include "session/session.h"
#include "store/host.h"
#include "tests/store_site.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

struct ToolRun {
  int status;
  std::string out, err;
};

// setup-site in full mode on the site in `dir`, with variables in `env`.
ToolRun tool(const std::string &dir, const std::string &args, const std::string &env = "") {
  const std::string out = dir + ".out", err = dir + ".err";
  int status = std::system(
      (env + " " SETUP_BINARY_DIR "/setup-site -C " + dir + " --zamo " + args + " >" + out + " 2>" + err)
          .c_str());
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
  EXPECT_NE(diff.out.find("zel.iBaudRate1: 19200 -> 9600\n"), std::string::npos);
  ASSERT_EQ(tool(dir, "reset zel.iBaudRate1").status, 0);
  EXPECT_EQ(tool(dir, "diff").out.find("zel.iBaudRate1"), std::string::npos);
  EXPECT_NE(tool(dir, "diff").out.find("zel.lTimePacketUtc"), std::string::npos);
  ASSERT_EQ(tool(dir, "reset --page control").status, 0);
  EXPECT_EQ(tool(dir, "diff").out.find("zel."), std::string::npos);

  // Against another site, both sides; its missing file is named once, and
  // what could not be read makes the status 4.
  ASSERT_EQ(tool(dir, "set dsp.iXmtTubeType TWT").status, 0);
  std::string other = dir + "-other";
  ASSERT_EQ(0, std::system((SETUP_BINARY_DIR "/setup-site init " + other + " >/dev/null").c_str()));
  ToolRun against = tool(dir, "diff " + other);
  EXPECT_EQ(against.status, 1);
  EXPECT_EQ(against.out, "dsp.iXmtTubeType: 3 -> 1\nzamo.misc.iingsim_flags: 8 -> 9\n");
  unlink((other + "/setup_rtdisp.conf").c_str());
  against = tool(dir, "diff " + other);
  std::filesystem::remove_all(other);
  EXPECT_EQ(against.status, 4);
  EXPECT_EQ(against.err, "setup-site: Cannot read setup file " + other +
                             "/setup_rtdisp.conf: No such file or directory\n");

  // Against a baseline that get wrote, which apply takes back.
  write_file(dir + ".base", tool(dir, "get").out);
  ASSERT_EQ(tool(dir, "set zel.iBaudRate1 4800").status, 0);
  EXPECT_EQ(tool(dir, "diff --against " + dir + ".base").out, "zel.iBaudRate1: 4800 -> 9600\n");
  EXPECT_EQ(tool(dir, "apply " + dir + ".base").out, "zel.iBaudRate1: 4800 -> 9600\n");
  ToolRun same = tool(dir, "diff --against " + dir + ".base");
  unlink((dir + ".base").c_str());
  EXPECT_EQ(same.status + same.out.size(), 0u);
}

TEST_F(SiteTool, StatusesNeverTellAFailureAsSuccess) {
  ToolRun help = tool(dir, "--help"), version = tool(dir, "--version");
  EXPECT_EQ(help.status + version.status, 0);
  EXPECT_NE(help.out.find("4 the site could not be read"), std::string::npos);
  EXPECT_EQ(version.out, "setup-site 1.0\n");
  ToolRun log = tool(dir, "log zel.nonexistent"), init = tool(dir, "init " + dir);
  EXPECT_EQ(log.status, 2);
  EXPECT_NE(log.err.find("unknown path \"zel.nonexistent\""), std::string::npos);
  EXPECT_EQ(init.status, 3);
  EXPECT_EQ(tool(dir, "get --dry-run zel.iBaudRate1").status, 2) << "get writes nothing to try";

  // A bad line is a finding of check's; the site is still read.
  write_file(dir + "/setup_dsp.conf", read_file(dir + "/setup_dsp.conf") + "junk\n");
  ToolRun check = tool(dir, "check");
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.err.find("found \"junk\""), std::string::npos);
  EXPECT_EQ(check.out, "") << "no page heading without a finding";

  // A missing file: readers print what they can, writers refuse, --force goes on.
  const std::string ant = dir + "/setup_ant.conf";
  unlink(ant.c_str());
  ToolRun get = tool(dir, "get zel.iBaudRate1"), set = tool(dir, "set zel.iBaudRate1 4800");
  EXPECT_EQ(get.status, 4);
  EXPECT_EQ(get.out, "zel.iBaudRate1 = 9600\n");
  EXPECT_NE(get.err.find(ant), std::string::npos);
  EXPECT_EQ(set.status, 4);
  EXPECT_NE(set.err.find("--force"), std::string::npos);
  EXPECT_EQ(tool(dir, "check").status, 4) << "4 over 1";
  EXPECT_EQ(tool(dir, "set --force zel.iBaudRate1 4800").status, 0);
  EXPECT_EQ(line_of(read_file(ant), "zel.iBaudRate1"), "zel.iBaudRate1 = 4800");

  // No site at all: 4 for every command, with the way to make one.
  for (const char *command : {"list", "get zel.iBaudRate1", "set zel.iBaudRate1 1200", "log", "undo"}) {
    ToolRun none = tool(dir + "/nowhere", command);
    EXPECT_EQ(none.status, 4) << command;
    EXPECT_NE(none.err.find("setup-site init"), std::string::npos) << command;
    EXPECT_EQ(none.err.find("not an operator"), std::string::npos) << command;
  }
}

TEST_F(SiteTool, SetTellsWhatItStored) {
  ToolRun clamped = tool(dir, "set zel.irad_hgt 9999"), rounded = tool(dir, "set zel.irad_hgt 25.5");
  EXPECT_EQ(clamped.err, "setup-site: zel.irad_hgt: clamped to 500 meters\n");
  EXPECT_EQ(rounded.err, "setup-site: zel.irad_hgt: stored as 26 meters\n");
  EXPECT_EQ(clamped.status + rounded.status, 0);
  for (const char *typed : {"30meters", "31 METERS", "32Meters"}) {
    ToolRun unit = tool(dir, std::string("set zel.irad_hgt '") + typed + "'");
    EXPECT_EQ(unit.status, 0) << typed << unit.err;
    EXPECT_EQ(unit.err, "") << typed;
  }
  EXPECT_EQ(get("zel.irad_hgt"), "zel.irad_hgt = 32\n");
  ToolRun feet = tool(dir, "set zel.irad_hgt '25 feet'");
  EXPECT_EQ(feet.status, 2);
  EXPECT_NE(feet.err.find("\"25\", \"25 meters\" or \"25meters\""), std::string::npos) << feet.err;
  DirectoryStamps before = stamp_directory(dir);
  EXPECT_EQ(tool(dir, "set --strict zel.irad_hgt 9999").status, 2);
  EXPECT_EQ(tool(dir, "set --dry-run zel.irad_hgt 40").out, "zel.irad_hgt: 32 -> 40\n");
  EXPECT_EQ(written_since(dir, before), "");
  // A point where the locale's decimal separator is a comma, and the comma.
  if (newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(0))) {
    for (const char *typed : {"12.5", "12,5"})
      EXPECT_EQ(tool(dir, std::string("set --dry-run zel.fazvelmax ") + typed, "LC_ALL=de_DE.UTF-8").out,
                "zel.fazvelmax: 36 -> 12.5\n");
  }
  // Control bytes never reach the terminal as they are.
  ASSERT_EQ(tool(dir, "set zel.sDevice1 \"$(printf 'a\\033[2Jb')\"").status, 0);
  EXPECT_EQ(get("zel.sDevice1").find('\033'), std::string::npos);
}

TEST_F(SiteTool, ApplyChecksEveryLineAndSavesOnce) {
  const std::string file = dir + ".apply", log = dir + "/changes.log";
  write_file(file,
             "# a bad line writes nothing\nzel.irad_hgt = 100\nzel.nonsense = 1\nzel.iBaudRate1 = fast\n");
  DirectoryStamps before = stamp_directory(dir);
  ToolRun bad = tool(dir, "apply " + file);
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("line 3: unknown path \"zel.nonsense\""), std::string::npos) << bad.err;
  EXPECT_NE(bad.err.find("line 4: zel.iBaudRate1"), std::string::npos) << bad.err;
  EXPECT_EQ(written_since(dir, before), "");

  // The device's type comes last, its other value is clamped to it all the same.
  write_file(file,
             "zel.irad_hgt = 100\nzamo.device.def[1].iskip_time = 40000\nzamo.device.def[1].idev_type = 3\n"
             "zamo.device.def[0].iskip_time = 40000\nzamo.device.def[0].idev_type = 7\n");
  const std::string changes =
      "zel.irad_hgt: 20 -> 100\nzamo.device.def[0].idev_type: 3 -> 7\nzamo.device.def[0].iskip_time: 0 -> "
      "40000\nzamo.device.def[1].idev_type: 7 -> 3\nzamo.device.def[1].iskip_time: 0 -> 3600\n";
  EXPECT_EQ(tool(dir, "apply --dry-run " + file).out, changes);
  EXPECT_EQ(written_since(dir, before), "");
  ToolRun applied = tool(dir, "apply - <" + file);
  EXPECT_EQ(applied.out, changes);
  EXPECT_EQ(applied.err, "setup-site: zamo.device.def[1].iskip_time: clamped to 3600\n");
  EXPECT_EQ(written_since(dir, before), "setup_ant.conf setup_zamo.conf");
  const std::string logged = read_file(log);
  EXPECT_EQ(logged.find("setup-site\n", logged.find("setup-site\n") + 1), std::string::npos) << "one entry";
  EXPECT_NE(logged.find("  zamo.device.def[0].iskip_time: 0 -> 40000\n"), std::string::npos) << logged;
  before = stamp_directory(dir);
  ToolRun again = tool(dir, "apply --typed " + file);
  EXPECT_EQ(again.status + again.out.size(), 0u) << again.err;
  EXPECT_EQ(written_since(dir, before), "") << "nothing changed: nothing written or logged";
  unlink(file.c_str());

  // Undo from the .bak files, logged; a second undo redoes.
  ToolRun undo = tool(dir, "undo");
  EXPECT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(get("zel.irad_hgt zamo.device.def[1].iskip_time"),
            "zel.irad_hgt = 20\nzamo.device.def[1].iskip_time = 0\n");
  EXPECT_NE(read_file(log).find("  zel.irad_hgt: 100 -> 20\n"), std::string::npos);
  EXPECT_EQ(tool(dir, "undo").status, 0);
  EXPECT_EQ(get("zel.irad_hgt"), "zel.irad_hgt = 100\n");
  edit_file("setup_ant.conf", "zel.irad_hgt", "55");
  ToolRun changed = tool(dir, "undo");
  EXPECT_EQ(changed.status, 3);
  EXPECT_NE(changed.err.find("no longer holds"), std::string::npos);
  // The log tells a file changed by hand after its last save, and a save
  // that never came to its rename: the file as it was before.
  EXPECT_NE(tool(dir, "log").out.find(" (changed afterwards by a program that keeps no log)\n"),
            std::string::npos);
  std::filesystem::copy_file(dir + "/setup_ant.conf.bak", dir + "/setup_ant.conf",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_NE(tool(dir, "log").out.find(" (not completed)\n"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(tool(dir, "--json log").out)["entries"].back()["completed"], false);
  edit_file("setup_ant.conf", "zel.irad_hgt", "100");
  EXPECT_EQ(tool(dir, "log").out.find(" (not completed)\n"), std::string::npos);
  unlink((dir + "/setup_zamo.conf.bak").c_str());
  EXPECT_EQ(tool(dir, "undo").status, 3);
}

TEST_F(SiteTool, JsonOnEveryCommandThatPrints) {
  edit_file("setup_ant.conf", "zel.iParity1", "7");
  for (const char *command :
       {"get zel.iBaudRate1 zamo.device.def[0].dsi.network.sPassword", "get", "check --all", "diff",
        "range zel.irad_hgt", "describe zel.iParity1", "paths", "set zel.irad_hgt 9999", "reset zel.irad_hgt",
        "repair --dry-run", "log", "undo --dry-run", "apply --dry-run - </dev/null"}) {
    ToolRun run = tool(dir, std::string("--json ") + command);
    EXPECT_LE(run.status, 1) << command << run.err;
    nlohmann::json document = nlohmann::json::parse(run.out, nullptr, false);
    EXPECT_TRUE(document.is_object()) << command << ": " << run.out;
  }
  auto json = [&](const std::string &command) {
    return nlohmann::json::parse(tool(dir, "--json " + command).out);
  };
  EXPECT_EQ(json("get zel.fazvelmax zel.sDevice1")["values"],
            nlohmann::json::parse(R"({"zel.fazvelmax": 36, "zel.sDevice1": "/dev/ttyS1"})"));
  nlohmann::json set = json("set zel.irad_hgt 9999");
  EXPECT_EQ(set["changes"][0]["new"], 500);
  EXPECT_EQ(set["notes"][0]["note"], "clamped to 500 meters");
  EXPECT_EQ(json("check")["findings"][0]["path"], "zel.iParity1");
  EXPECT_EQ(json("describe zel.irad_hgt")["unit"], "meters");
  EXPECT_EQ(json("log zel.irad_hgt")["entries"][0]["changes"][0]["old"], 20);
}

TEST_F(SiteTool, ListsInGermanAsTheEditorDoes) {
  // The tool finds the catalogues the build compiled below $ZAMO_ROOT.
  const std::string root = dir + "-root";
  std::filesystem::create_directories(root + "/bin");
  std::filesystem::create_directory_symlink(SETUP_BINARY_DIR "/locale", root + "/bin/nls");
  const std::string in_german = "LANGUAGE=de LC_ALL=C.UTF-8 ZAMO_ROOT=" + root;
  ToolRun german = tool(dir, "list", in_german);
  // Its own messages follow the locale too; paths stay as they are.
  EXPECT_NE(tool(dir, "get zel.nonexistent", in_german).err.find("unbekannter Pfad \"zel.nonexistent\""),
            std::string::npos);
  EXPECT_NE(tool(dir, "set --dry-run zel.irad_hgt 9999", in_german)
                .err.find("zel.irad_hgt: auf 500 Meter begrenzt"),
            std::string::npos);
  std::filesystem::remove_all(root);
  // The editor's listing, in this process.
  setenv("LANGUAGE", "de", 1);
  setenv("LC_ALL", "C.UTF-8", 1);
  setlocale(LC_ALL, "");
  textdomain(SETUP_TEXT_DOMAIN);
  for (const char *domain : {SETUP_TEXT_DOMAIN, "quorbel-wr-util"})
    bindtextdomain(domain, SETUP_BINARY_DIR "/locale");
  setenv("ZAMO_CONFIG", dir.c_str(), 1);
  clear_store_state();
  read_host_name();
  session::open({dir, 1});
  char *text = nullptr;
  size_t size = 0;
  FILE *listing = open_memstream(&text, &size);
  session::list(listing);
  std::fclose(listing);
  const std::string editor(text, size);
  std::free(text);
  unsetenv("LANGUAGE");
  setlocale(LC_ALL, "C");
  EXPECT_NE(editor.find("Einstellungen"), std::string::npos);
  EXPECT_EQ(differing_lines(editor, german.out), "");
  EXPECT_EQ(editor.size(), german.out.size());
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

// The editor saves one field again and again while setup-site sets
// another: each merges what the other saved, no update is lost and each
// save is logged once.
TEST_F(SiteTool, AnEditorAndSetupSiteSavingAtOnceLoseNoUpdate) {
  const int sets = 20;
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    int failed = 0;
    for (int i = 1; i <= sets; ++i) failed += tool(dir, "set zel.irad_hgt " + std::to_string(i)).status != 0;
    _exit(failed);
  }
  session::open({dir, 1, session::SaveRule::Editor});  // the editor's rule, in full mode
  int saves = 0, refused = 0, merged = 0, status = 0;
  auto save_once = [&] {
    session::set_raw(*find_field("zel.ignd_hgt"), std::to_string(100 + ++saves));
    const session::SaveReport saved = session::save();
    refused += saved.status != 0, merged += !saved.notes.empty();
  };
  while (waitpid(writer, &status, WNOHANG) == 0) save_once();
  save_once();  // after the last set
  EXPECT_EQ(exit_code(status), 0) << "every set saved";
  EXPECT_EQ(refused, 0) << "of " << saves << " saves";
  EXPECT_EQ(zel.irad_hgt, sets) << "the editor holds the last set";
  const std::string zel_file = read_file(dir + "/setup_ant.conf");
  EXPECT_EQ(line_of(zel_file, "zel.irad_hgt"), "zel.irad_hgt = " + std::to_string(sets));
  EXPECT_EQ(line_of(zel_file, "zel.ignd_hgt"), "zel.ignd_hgt = " + std::to_string(100 + saves));
  const std::string log = read_file(dir + "/changes.log");
  int logged[2] = {0, 0};
  for (size_t at = 0; (at = log.find("\n  zel.i", at)) != std::string::npos; ++at)
    ++logged[log.compare(at + 3, 12, "zel.irad_hgt") == 0 ? 0 : 1];
  EXPECT_EQ(logged[0], sets);
  EXPECT_EQ(logged[1], saves);
  std::printf("sets: %d, editor saves: %d, merges: %d, refused: %d\n", sets, saves, merged, refused);
}

TEST_F(SiteTool, BashCompletesCommandsPagesAndPaths) {
  EXPECT_EQ(completions(dir, "re"), "repair reset\n");
  EXPECT_EQ(completions(dir, "list in"), "ingest input\n");
  EXPECT_EQ(completions(dir, "get zel.iBaudRate"), "zel.iBaudRate1 zel.iBaudRate2\n");
  EXPECT_EQ(completions(dir, "reset --page si"), "signal\n");
  EXPECT_EQ(completions(dir, "--rda list ''"), "signal control\n");                // the pages of the mode
  EXPECT_EQ(completions(dir, "set zel.lTimePacketUtc ''"), "UTC Local\\ Time\n");  // its toggle texts
  EXPECT_EQ(completions(dir, "set zel.iParity1 ''"), "None Odd Even\n");
  EXPECT_EQ(completions(dir, "get --"), "--all --json --show-secrets\n");
  EXPECT_EQ(completions(dir, "init --"), "--force\n");
  // A directory ends in "/" (one of the site's own, so no other test's can match).
  std::filesystem::create_directory(dir + "/other-site");
  EXPECT_EQ(completions(dir, "diff " + dir + "/other-s"), dir + "/other-site/\n");
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
