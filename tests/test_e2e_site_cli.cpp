// setup-site against the real editor on the same site: its listing is the
// editor's File > List, and the change log takes one entry per save from
// either program.
#include <sstream>

#include "tests/support/e2e.h"

namespace e2e {
namespace {

std::vector<std::string> entries_of(const std::string &log) {
  std::vector<std::string> entries;
  std::stringstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, 2, "  ") != 0) entries.emplace_back();
    if (!entries.empty()) entries.back() += line + "\n";
  }
  return entries;
}

using SiteToolEndToEnd = Test;

TEST_F(SiteToolEndToEnd, ListIsTheEditorsListAll) {
  // Values that show, hide and repair differently from the factory site.
  ASSERT_EQ(run("sed -i 's/^zel.iInterfaceType = .*/zel.iInterfaceType = 3/; "
                "s/^zel.icontrol_format = .*/zel.icontrol_format = 4/' " +
                site + "/setup_ant.conf"),
            0);
  const std::string tool = SETUP_BINARY_DIR "/setup-site --zamo ";
  std::string listed = output_of(tool + "list");
  ASSERT_NE(listed.find("ZAMO Input Device Setups"), std::string::npos);

  start_editor("-zamo");
  EXPECT_EQ(list_all(listed.size()), listed);
  EXPECT_EQ(output_of(tool + "list control"), output_of(tool + "list 1"));
  EXPECT_NE(listed.find(output_of(tool + "list control")), std::string::npos);
}

TEST_F(SiteToolEndToEnd, ChangeLogTakesAnEntryFromEachProgram) {
  const std::string log = site + "/changes.log";
  start_editor();
  Window page = open_page(true, 260, 0);
  ASSERT_NE(page, 0u);
  ASSERT_EQ(retype(page, 277, "9600 baud", "19200"), "19200 baud");
  file_menu('s');
  ASSERT_TRUE(eventually([&] { return !read_file(log).empty(); }, 5000));

  ASSERT_EQ(run(SETUP_BINARY_DIR "/setup-site --rda set zel.iBaudRate1 4800 >/dev/null"), 0);
  std::vector<std::string> entries = entries_of(read_file(log));
  ASSERT_EQ(entries.size(), 2u) << read_file(log);
  // "2026-12-06T11:49:50+00:00 user host program"
  std::stringstream header(entries[0]);
  std::string time, user, host, program;
  header >> time >> user >> host >> program;
  EXPECT_EQ(time.size(), 25u) << time;
  EXPECT_EQ(time[10], 'T');
  EXPECT_EQ(time[22], ':') << "the zone as +hh:mm";
  EXPECT_EQ(program, "setup");
  EXPECT_NE(entries[0].find("\n  zel.iBaudRate1: 9600 -> 19200\n"), std::string::npos) << entries[0];
  EXPECT_NE(entries[1].find(" setup-site\n  file setup_ant.conf "), std::string::npos) << entries[1];
  EXPECT_NE(entries[1].find("\n  zel.iBaudRate1: 19200 -> 4800\n"), std::string::npos) << entries[1];
  EXPECT_EQ(output_of(SETUP_BINARY_DIR "/setup-site log zel.iParity1"), "");
  EXPECT_EQ(entries_of(output_of(SETUP_BINARY_DIR "/setup-site log zel.iBaudRate1")).size(), 2u);
}

}  // namespace
}  // namespace e2e
