// Command line, mode decision, host name, display and bitmap paths, and
// the colour text of the pixmap loader: everything that needs no display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "motif/pixmap.h"
#include "motif/startup.h"
#include "sitelib/installation.h"

namespace {

CommandLine parse(std::vector<std::string> args) {
  args.insert(args.begin(), "setup");
  std::vector<char *> argv;
  for (std::string &arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  return parse_command_line(static_cast<int>(args.size()), argv.data());
}

TEST(CommandLine, OptionsTheirOrderAndUsageErrors) {
  EXPECT_FALSE(parse({}).mode_chosen);
  EXPECT_EQ(parse({"-rda", "-zamo"}).full_mode, 1);
  EXPECT_EQ(parse({"-zamo", "-kox2"}).full_mode, 0);

  CommandLine line = parse({"-display", "radar1:0.0", "-rda"});
  EXPECT_FALSE(line.usage_error);
  EXPECT_EQ(line.display, "radar1:0.0");
  EXPECT_TRUE(line.mode_chosen);
  EXPECT_EQ(line.full_mode, 0);
  // The argument after -disp is the name even when it looks like an option.
  CommandLine dashed = parse({"-disp", "-zamo"});
  EXPECT_FALSE(dashed.usage_error);
  EXPECT_FALSE(dashed.mode_chosen);

  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"-rda", "-disp"}, {"zamo"}, {""}, {"-dis", ":0"}, {"-zamos"}, {"-RDA"}})
    EXPECT_TRUE(parse(args).usage_error) << args.back();
  // Parsing goes on after an error: a later mode option still counts.
  EXPECT_EQ(parse({"bogus", "-rda"}).full_mode, 0);
}

TEST(ModeDecision, ServicesUnderThePrefix) {
  char pattern[] = "/tmp/setup-mode-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  auto touch = [&](const char *name) { std::ofstream(dir + "/" + name) << "#!/bin/sh\n"; };
  std::string prefix = dir + "/";

  EXPECT_EQ(decide_full_mode(nullptr), 1);
  EXPECT_EQ(decide_full_mode(prefix.c_str()), 1);
  touch("kox5");
  EXPECT_EQ(decide_full_mode(prefix.c_str()), 0);
  // The prefix is used as it stands: "DIR" probes "DIRkox5", not "DIR/kox5".
  EXPECT_EQ(decide_full_mode(dir.c_str()), 1);
  touch("start_zamo");
  EXPECT_EQ(decide_full_mode(prefix.c_str()), 1) << "kox5 and start_zamo: full mode";
  std::system(("rm -rf " + dir).c_str());
}

TEST(Environment, HostDisplayAndBitmapNames) {
  char host[64] = "radar1.site.example.org";
  cut_host_name(host);
  EXPECT_STREQ(host, "radar1");

  std::string display = "workstation." + std::string(300, 'x') + ".example.org:12.0";
  set_display(display);
  EXPECT_EQ(std::string(std::getenv("DISPLAY")), display);

  unsetenv("ZAMO_BITMAPS");
  EXPECT_EQ(bitmap_path("util_setup.pm"), installed_data_directory() + "/util_setup.pm");
  std::string directory = "/opt/radar/" + std::string(120, 'd') + "/bitmaps/";
  setenv("ZAMO_BITMAPS", directory.c_str(), 1);
  EXPECT_EQ(bitmap_path("xm_hour32.bm"), directory + "xm_hour32.bm");
  unsetenv("ZAMO_BITMAPS");
}

TEST(Environment, ColourTextWithoutLeadingZeros) {
  EXPECT_EQ(colour_text(0, 0xffff, 0x1234), "#0ffff1234");
  EXPECT_EQ(colour_text(0xc4c4, 0x0a0a, 0x000c), "#c4c4a0ac");
}

}  // namespace
