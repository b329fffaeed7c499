// Command line, mode decision, host name and the pieces of the pixmap
// loader that need no display.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/pixmap.h"
#include "app/startup.h"

namespace {

CommandLine parse(std::vector<std::string> args) {
  args.insert(args.begin(), "setup");
  std::vector<char *> argv;
  for (std::string &arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  return parse_command_line(static_cast<int>(args.size()), argv.data());
}

TEST(CommandLine, ModeOptionsLastOneWins) {
  CommandLine none = parse({});
  EXPECT_FALSE(none.usage_error);
  EXPECT_FALSE(none.mode_chosen);

  CommandLine full = parse({"-rda", "-zamo"});
  EXPECT_TRUE(full.mode_chosen);
  EXPECT_EQ(full.full_mode, 1);

  CommandLine processor = parse({"-zamo", "-kox2"});
  EXPECT_TRUE(processor.mode_chosen);
  EXPECT_EQ(processor.full_mode, 0);
  EXPECT_FALSE(processor.usage_error);
}

TEST(CommandLine, DisplayTakesTheNextArgument) {
  CommandLine line = parse({"-display", "radar1:0.0", "-rda"});
  EXPECT_FALSE(line.usage_error);
  EXPECT_TRUE(line.display_given);
  EXPECT_EQ(line.display, "radar1:0.0");
  EXPECT_EQ(line.full_mode, 0);

  // The name may itself begin with "-"; it is not read as an option.
  CommandLine dashed = parse({"-disp", "-zamo"});
  EXPECT_FALSE(dashed.usage_error);
  EXPECT_FALSE(dashed.mode_chosen);
  EXPECT_EQ(dashed.display, "-zamo");
}

TEST(CommandLine, UsageErrors) {
  EXPECT_TRUE(parse({"-display"}).usage_error);
  EXPECT_TRUE(parse({"-rda", "-disp"}).usage_error);
  EXPECT_TRUE(parse({"zamo"}).usage_error);
  EXPECT_TRUE(parse({""}).usage_error);
  EXPECT_TRUE(parse({"-"}).usage_error);
  // Words are compared whole: no abbreviations, no extra letters, no case folding.
  EXPECT_TRUE(parse({"-dis", ":0"}).usage_error);
  EXPECT_TRUE(parse({"-zamos"}).usage_error);
  EXPECT_TRUE(parse({"-RDA"}).usage_error);
  EXPECT_TRUE(parse({"--zamo"}).usage_error);
  // Parsing goes on after an error: a later mode option still counts.
  CommandLine late = parse({"bogus", "-rda"});
  EXPECT_TRUE(late.usage_error);
  EXPECT_EQ(late.full_mode, 0);
}

class ModeDecision : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup-mode-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { std::system(("rm -rf " + dir).c_str()); }
  void touch(const std::string &path) { std::ofstream(path) << "#!/bin/sh\n"; }
  std::string dir;
};

TEST_F(ModeDecision, ProcessorServicesWithoutDataSystem) {
  EXPECT_EQ(decide_full_mode(nullptr), 1);
  EXPECT_EQ(decide_full_mode((dir + "/").c_str()), 1);  // nothing installed

  touch(dir + "/kox4");
  EXPECT_EQ(decide_full_mode((dir + "/").c_str()), 0);
  EXPECT_EQ(decide_full_mode((dir + "/kox4").c_str()), 1) << "prefix + \"kox4\" is kox4kox4";
}

TEST_F(ModeDecision, DataSystemKeepsFullMode) {
  touch(dir + "/kox5");
  EXPECT_EQ(decide_full_mode((dir + "/").c_str()), 0);
  touch(dir + "/start_zamo");
  EXPECT_EQ(decide_full_mode((dir + "/").c_str()), 1);
}

TEST_F(ModeDecision, PrefixIsUsedWithoutSeparator) {
  // "DIR/bin" probes "DIR/binkox4", not "DIR/bin/kox4".
  mkdir((dir + "/bin").c_str(), 0755);
  touch(dir + "/bin/kox4");
  EXPECT_EQ(decide_full_mode((dir + "/bin").c_str()), 1);
  touch(dir + "/binkox4");
  EXPECT_EQ(decide_full_mode((dir + "/bin").c_str()), 0);
  touch(dir + "/binstart_zamo");
  EXPECT_EQ(decide_full_mode((dir + "/bin").c_str()), 1);
}

TEST(HostName, CutAtTheFirstDot) {
  char qualified[64] = "radar1.site.example.org";
  cut_host_name(qualified);
  EXPECT_STREQ(qualified, "radar1");
  char plain[64] = "radar2";
  cut_host_name(plain);
  EXPECT_STREQ(plain, "radar2");
  char leading[64] = ".hidden";
  cut_host_name(leading);
  EXPECT_STREQ(leading, "");
}

TEST(Environment, DisplayNameOfAnyLength) {
  std::string name = "workstation-with-a-very-long-name.radar.site.example.org:12.0";
  name += std::string(200, 'x');
  set_display(name);
  EXPECT_EQ(std::string(std::getenv("DISPLAY")), name);
  set_display(":7");
  EXPECT_STREQ(std::getenv("DISPLAY"), ":7");
}

TEST(Environment, BitmapDirectoryUsedWhole) {
  unsetenv("ZAMO_BITMAPS");
  EXPECT_EQ(bitmap_path("util_setup.pm"), "util_setup.pm");
  std::string directory = "/opt/radar/" + std::string(120, 'd') + "/bitmaps/";
  setenv("ZAMO_BITMAPS", directory.c_str(), 1);
  EXPECT_EQ(bitmap_path("xm_hour32.bm"), directory + "xm_hour32.bm");
  unsetenv("ZAMO_BITMAPS");
}

TEST(Colour, HexWithoutLeadingZeros) {
  EXPECT_EQ(colour_text(0, 0xffff, 0x1234), "#0ffff1234");
  EXPECT_EQ(colour_text(0xffff, 0xffff, 0xffff), "#ffffffffffff");
  EXPECT_EQ(colour_text(0x0a0a, 0x00b0, 0x000c), "#a0ab0c");
}

}  // namespace
