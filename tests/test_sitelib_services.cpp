// The site library's process, time, text and product services.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cfloat>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sitelib/services.h"
#include "sitelib/sitelib.h"

namespace fs = std::filesystem;

namespace {

// A fresh directory, removed with everything in it at the end of the test.
struct TempDir {
  fs::path path;
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "sitelib-services-XXXXXX").string();
    path = mkdtemp(&pattern[0]);
  }
  ~TempDir() { fs::remove_all(path); }
  void write(const std::string &name, const std::string &content) const {
    fs::create_directories((path / name).parent_path());
    std::ofstream(path / name) << content;
  }
};

// Sets an environment variable for one test and puts back what was there.
struct ScopedEnv {
  std::string name;
  bool had;
  std::string old;
  ScopedEnv(const char *variable, const char *value) : name(variable) {
    const char *previous = getenv(variable);
    had = previous != nullptr;
    if (had) old = previous;
    if (value)
      setenv(variable, value, 1);
    else
      unsetenv(variable);
  }
  ~ScopedEnv() {
    if (had)
      setenv(name.c_str(), old.c_str(), 1);
    else
      unsetenv(name.c_str());
  }
};

template <typename Field>
Field assigned(double value) {
  Field field{};
  AssignValue(&field, value);
  return field;
}

}  // namespace

// ---------------------------------------------------------------------------
// AssignValue

TEST(AssignValue, IntegersRoundToNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(assigned<int32_t>(0.29 * 100), 29);  // 28.999999999999996
  EXPECT_EQ(assigned<int32_t>(2.5), 3);
  EXPECT_EQ(assigned<int32_t>(-2.5), -3);
  EXPECT_EQ(assigned<int32_t>(0.49999999999999994), 0);
  EXPECT_EQ(assigned<int16_t>(0.5 * 182.04444444444445), 91);
  EXPECT_EQ(assigned<int8_t>(-0.4), 0);
  EXPECT_EQ(assigned<uint8_t>(254.5), 255);
  EXPECT_EQ(assigned<uint16_t>(1.5), 2);
  EXPECT_EQ(assigned<uint32_t>(2147483648.4), 2147483648u);
}

TEST(AssignValue, IntegersSaturateAtTheirTypesRange) {
  EXPECT_EQ(assigned<int8_t>(127.5), 127);
  EXPECT_EQ(assigned<int8_t>(-128.5), -128);
  EXPECT_EQ(assigned<uint8_t>(-0.6), 0);
  EXPECT_EQ(assigned<uint8_t>(256), 255);
  EXPECT_EQ(assigned<int16_t>(40000), 32767);
  EXPECT_EQ(assigned<int16_t>(-40000), -32768);
  EXPECT_EQ(assigned<uint16_t>(65535.5), 65535);
  EXPECT_EQ(assigned<uint16_t>(-1), 0);
  EXPECT_EQ(assigned<int32_t>(2147483647.5), INT32_MAX);
  EXPECT_EQ(assigned<int32_t>(-2147483648.5), INT32_MIN);
  EXPECT_EQ(assigned<uint32_t>(4294967295.5), UINT32_MAX);
  EXPECT_EQ(assigned<uint32_t>(-0.5), 0u);
}

TEST(AssignValue, IntegersTakeHugeInfiniteAndNanValuesSafely) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(assigned<int8_t>(1e300), INT8_MAX);
  EXPECT_EQ(assigned<uint8_t>(-1e300), 0);
  EXPECT_EQ(assigned<int16_t>(-inf), INT16_MIN);
  EXPECT_EQ(assigned<uint16_t>(inf), UINT16_MAX);
  EXPECT_EQ(assigned<int32_t>(DBL_MAX), INT32_MAX);
  EXPECT_EQ(assigned<uint32_t>(-DBL_MAX), 0u);
  EXPECT_EQ(assigned<int32_t>(nan), 0);
  EXPECT_EQ(assigned<uint8_t>(nan), 0);
  EXPECT_EQ(assigned<int16_t>(-nan), 0);
}

TEST(AssignValue, FloatsSaturateFiniteValuesAndKeepInfinitiesAndNan) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(assigned<float>(0.1), 0.1f);
  EXPECT_EQ(assigned<float>(1e39), FLT_MAX);
  EXPECT_EQ(assigned<float>(-DBL_MAX), -FLT_MAX);
  EXPECT_EQ(assigned<float>(inf), std::numeric_limits<float>::infinity());
  EXPECT_EQ(assigned<float>(-inf), -std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::isnan(assigned<float>(std::nan(""))));
  EXPECT_EQ(assigned<double>(0.1), 0.1);
  EXPECT_EQ(assigned<double>(-DBL_MAX), -DBL_MAX);
}

// ---------------------------------------------------------------------------
// Checksums: an edit that leaves a byte sum unchanged must still show.

TEST(Checksum, NoticesExchangedBytesAndFlagsMovedInOppositeDirections) {
  zel_setup record;
  memset(&record, 0, sizeof record);
  snprintf(record.sDevice1, sizeof record.sDevice1, "/dev/ttyS0");
  record.lLogToFile = 1;
  const uint32_t loaded = iunique_sum(&record, sizeof record);
  EXPECT_EQ(iunique_sum(&record, sizeof record), loaded);

  zel_setup exchanged = record;
  std::swap(exchanged.sDevice1[7], exchanged.sDevice1[8]);  // "/dev/ttSy0"
  EXPECT_NE(iunique_sum(&exchanged, sizeof exchanged), loaded);

  zel_setup flags_moved = record;
  flags_moved.lLogToFile = 0;
  flags_moved.lLogPacketsAnt = 1;
  EXPECT_NE(iunique_sum(&flags_moved, sizeof flags_moved), loaded);
}

// ---------------------------------------------------------------------------
// Operators

TEST(Operators, ListedNamesOnlyIgnoringCommentsBlanksAndSurroundingSpace) {
  TempDir site;
  ScopedEnv config("ZAMO_CONFIG", site.path.c_str());
  EXPECT_EQ(lzamo_operator("radar"), 0) << "no operators file: no operators";

  site.write("operators",
             "# operators of this site\n"
             "\n"
             "   \t\n"
             "  radar  \n"
             "observer\r\n"
             "#maint\n"
             "  # night shift\n");
  EXPECT_NE(lzamo_operator("radar"), 0);
  EXPECT_NE(lzamo_operator("observer"), 0);
  EXPECT_EQ(lzamo_operator("rad"), 0);
  EXPECT_EQ(lzamo_operator("radar2"), 0);
  EXPECT_EQ(lzamo_operator("maint"), 0);
  EXPECT_EQ(lzamo_operator("#maint"), 0);
  EXPECT_EQ(lzamo_operator("night shift"), 0);
  EXPECT_EQ(lzamo_operator(""), 0);
  EXPECT_EQ(lzamo_operator(nullptr), 0);
}

TEST(Operators, UserNameIsTheLoginNameOfTheRealUser) {
  struct passwd *entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(tolvek_username(), entry->pw_name);
}

// ---------------------------------------------------------------------------
// Coded reports

TEST(CodedReport, NamesTheMissingListingVariable) {
  tolvek_establish(0, "setup");
  testing::internal::CaptureStderr();
  tolvek_signal_va(SITE_NO_LISTING_DIR, 1, "ZAMO_LISTINGS");
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("setup: "), std::string::npos) << report;
  EXPECT_NE(report.find("not set"), std::string::npos) << report;
  EXPECT_NE(report.find("ZAMO_LISTINGS"), std::string::npos) << report;

  testing::internal::CaptureStderr();
  tolvek_signal_va(0x6B0099, 2, "first", "second");
  report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("first, second"), std::string::npos) << report;
  EXPECT_NE(report.find("0x6B0099"), std::string::npos) << report;
}

// ---------------------------------------------------------------------------
// Help viewer. The viewer is a small script that records its process id and
// arguments, and stays running while a "hold" file exists.

namespace {

struct ViewerRun {
  pid_t pid = 0;
  std::vector<std::string> arguments;
};

struct HelpSite {
  TempDir root;
  ScopedEnv zamo_root;
  ScopedEnv viewer;
  HelpSite()
      : zamo_root("ZAMO_ROOT", root.path.c_str()),
        viewer("ZAMO_HELP_VIEWER", (root.path / "viewer.sh").c_str()) {
    root.write("viewer.sh",
               "#!/bin/sh\n"
               "out=$(dirname \"$0\")\n"
               "{ echo $$; for a in \"$@\"; do echo \"$a\"; done; } > \"$out/run.tmp\"\n"
               "mv \"$out/run.tmp\" \"$out/run\"\n"
               "[ -e \"$out/hold\" ] && exec sleep 30\n"
               "exit 0\n");
    fs::permissions(root.path / "viewer.sh", fs::perms::owner_all);
    root.write("help/index.html", "<html></html>\n");
  }
  std::string help(const std::string &name) const { return (root.path / "help" / name).string(); }

  // Waits for the viewer to have written its record, then removes it.
  ViewerRun next_run() const {
    ViewerRun run;
    const fs::path file = root.path / "run";
    for (int tries = 0; tries < 500 && !fs::exists(file); ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(file);
    std::string line;
    if (std::getline(in, line)) run.pid = std::stoi(line);
    while (std::getline(in, line)) run.arguments.push_back(line);
    fs::remove(file);
    return run;
  }
};

bool is_zombie(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  size_t close = text.rfind(')');
  return close != std::string::npos && close + 2 < text.size() && text[close + 2] == 'Z';
}

bool is_gone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

TEST(Help, OpensTheTopicPageOrFallsBackToTheIndex) {
  HelpSite site;
  site.root.write("help/radar_control_processor_setup.html", "<html></html>\n");

  ASSERT_EQ(helpStart(1, "radar_control_processor_setup", 0), SITE_OK);
  ViewerRun run = site.next_run();
  EXPECT_EQ(run.arguments, std::vector<std::string>{site.help("radar_control_processor_setup.html")});

  ASSERT_EQ(helpStart(1, "no_such_topic", 0), SITE_OK);
  EXPECT_EQ(site.next_run().arguments, std::vector<std::string>{site.help("index.html")});

  ASSERT_EQ(helpStart(1, nullptr, 0), SITE_OK);
  EXPECT_EQ(site.next_run().arguments, std::vector<std::string>{site.help("index.html")});
  helpExit();
}

TEST(Help, TopicsCannotReachOutsideTheHelpDirectory) {
  HelpSite site;
  site.root.write("secret.html", "outside\n");
  site.root.write("help/sub/page.html", "nested\n");
  for (const char *topic : {"../secret", "sub/page", "sub/../../secret", ".hidden", "/etc/passwd"}) {
    ASSERT_EQ(helpStart(1, topic, 0), SITE_OK) << topic;
    EXPECT_EQ(site.next_run().arguments, std::vector<std::string>{site.help("index.html")}) << topic;
  }
  helpExit();
}

TEST(Help, FailsWithoutAPageAViewerOrTheRightMode) {
  HelpSite site;
  EXPECT_NE(helpStart(2, "index", 0), SITE_OK);

  fs::remove(site.help("index.html"));
  EXPECT_NE(helpStart(1, "missing", 0), SITE_OK);
  site.root.write("help/index.html", "<html></html>\n");

  ScopedEnv viewer("ZAMO_HELP_VIEWER", (site.root.path / "no-such-viewer").c_str());
  EXPECT_NE(helpStart(1, "index", 0), SITE_OK);
  EXPECT_FALSE(fs::exists(site.root.path / "run"));
}

TEST(Help, EndedViewersAreReapedAndExitEndsRunningOnes) {
  HelpSite site;
  ASSERT_EQ(helpStart(1, "index", 0), SITE_OK);
  const pid_t ended = site.next_run().pid;
  ASSERT_GT(ended, 0);
  for (int tries = 0; tries < 500 && !is_zombie(ended); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(is_zombie(ended));

  site.root.write("hold", "");
  ASSERT_EQ(helpStart(1, "index", 0), SITE_OK);
  EXPECT_TRUE(is_gone(ended)) << "the ended viewer was reaped on the next call";
  const pid_t running = site.next_run().pid;
  ASSERT_GT(running, 0);
  EXPECT_EQ(kill(running, 0), 0);

  helpExit();
  EXPECT_TRUE(is_gone(running)) << "helpExit ended and reaped the running viewer";
}

// ---------------------------------------------------------------------------
// Time

TEST(Time, ClockTextAndZoneAbbreviation) {
  ScopedEnv zone("TZ", "UTC0");
  tzset();
  time_full record;
  GetTimeFull(&record, 0);
  EXPECT_STREQ(record.sShort, "UTC");
  EXPECT_LE(std::llabs(static_cast<long long>(record.seconds - time(nullptr))), 2);
  EXPECT_GE(record.microseconds, 0);
  EXPECT_LT(record.microseconds, 1000000);

  record.seconds = 1796565909;  // 2026-12-06 14:05:09 UTC
  char text[32];
  EXPECT_STREQ(shhmmssddmonyyyy_r(&record, text), "14:05:09 06-DEC-2026");
  record.seconds = 1767225600;  // 2026-01-01 00:00:00 UTC
  EXPECT_STREQ(shhmmssddmonyyyy_r(&record, text), "00:00:00 01-JAN-2026");

  setenv("TZ", "EST5", 1);
  tzset();
  record.seconds = 1796565909;
  EXPECT_STREQ(shhmmssddmonyyyy_r(&record, text), "09:05:09 06-DEC-2026") << "local time";
  GetTimeFull(&record, 0);
  EXPECT_STREQ(record.sShort, "EST");
  unsetenv("TZ");
  tzset();
}

TEST(Time, DateAndSecondsOfTheDaySplitIntoParts) {
  ScopedEnv zone("TZ", "UTC0");
  tzset();
  time_ymds date;
  const time_t before = time(nullptr);
  GetTimeYmds(&date, 0);
  struct tm parts;
  gmtime_r(&before, &parts);
  EXPECT_EQ(date.iyear, parts.tm_year + 1900);
  EXPECT_EQ(date.imonth, parts.tm_mon + 1);
  EXPECT_EQ(date.iday, parts.tm_mday);
  EXPECT_GE(date.iseconds, 0);
  EXPECT_LT(date.iseconds, 86400);

  int days, hours, minutes, seconds;
  unpacktime(50709, &days, &hours, &minutes, &seconds);  // 14:05:09
  EXPECT_EQ(std::vector<int>({days, hours, minutes, seconds}), std::vector<int>({0, 14, 5, 9}));
  unpacktime(2 * 86400 + 86399, &days, &hours, &minutes, &seconds);
  EXPECT_EQ(std::vector<int>({days, hours, minutes, seconds}), std::vector<int>({2, 23, 59, 59}));
  unpacktime(-3661, &days, &hours, &minutes, &seconds);
  EXPECT_EQ(days * 86400 + hours * 3600 + minutes * 60 + seconds, -3661);
  unsetenv("TZ");
  tzset();
}

// ---------------------------------------------------------------------------
// Texts and angles

TEST(Text, NullifyTurnsABlankPaddedFieldIntoATerminatedText) {
  char target[16];
  auto nullified = [&](const char *field, int size) {
    memset(target, '#', sizeof target);
    nullify_ncpy(target, field, size);
    EXPECT_EQ(target[size + 1], '#') << "nothing written past size + 1 bytes";
    return std::string(target);
  };
  const char full[4] = {'K', 'O', 'X', '2'};  // no terminator in the field
  EXPECT_EQ(nullified(full, 4), "KOX2");
  EXPECT_EQ(nullified("NORTH       ", 12), "NORTH");
  EXPECT_EQ(nullified("A B  ", 5), "A B");
  EXPECT_EQ(nullified("            ", 12), "");
  EXPECT_EQ(nullified("AB\0CD   ", 8), "AB");
  EXPECT_EQ(nullified("ABCDEF", 3), "ABC");
  EXPECT_EQ(nullified(" lead", 5), " lead");
  EXPECT_EQ(nullified("XYZ", 0), "");
}

TEST(Text, SpacifyFillsAFieldWithBlanksAndNoTerminator) {
  char field[9];
  auto spacified = [&](const char *text, int size) {
    memset(field, '#', sizeof field);
    spacify_ncpy(field, text, size);
    EXPECT_EQ(field[size], '#') << "no terminator written";
    return std::string(field, size);
  };
  // Heap copies of exactly their length, so reading past a terminator shows
  // under the address sanitizer.
  auto exact = [](const char *text) {
    return std::unique_ptr<char[]>(strcpy(new char[strlen(text) + 1], text));
  };
  EXPECT_EQ(spacified(exact("AB").get(), 8), "AB      ");
  EXPECT_EQ(spacified(exact("").get(), 4), "    ");
  EXPECT_EQ(spacified(exact("LONGER THAN THE FIELD").get(), 8), "LONGER T");
  EXPECT_EQ(spacified(exact("EXACTLY8").get(), 8), "EXACTLY8");
}

TEST(Text, Utf8CharactersAndBinaryAngles) {
  EXPECT_EQ(strlen_utf8(""), 0);
  EXPECT_EQ(strlen_utf8(nullptr), 0);
  EXPECT_EQ(strlen_utf8("Antenna"), 7);
  EXPECT_EQ(strlen_utf8("Höhe über NN"), 12);
  EXPECT_EQ(strlen_utf8("\xe2\x82\xac 5"), 3);          // euro sign, three bytes
  EXPECT_EQ(strlen_utf8("\xf0\x9f\x93\xa1 radar"), 7);  // four-byte character

  EXPECT_DOUBLE_EQ(fDegFromBin4(0), 0.0);
  EXPECT_DOUBLE_EQ(fDegFromBin4(0x40000000), 90.0);
  EXPECT_DOUBLE_EQ(fDegFromBin4(-0x40000000), -90.0);
  EXPECT_DOUBLE_EQ(fDegFromBin4(INT32_MIN), -180.0);
  EXPECT_NEAR(fDegFromBin4(INT32_MAX), 180.0, 1e-7);
  EXPECT_NEAR(fDegFromBin4(715827883), 60.0, 1e-7);
}

TEST(Text, CatalogueInitialisersBindTheLibraryDomainsUnderZamoRoot) {
  ScopedEnv root("ZAMO_ROOT", "/opt/zamo");
  util_nls_init();
  config_nls_init();
  user_nls_init();
  for (const char *domain : {SITE_UTIL_DOMAIN, SITE_CONFIG_DOMAIN, SITE_USER_DOMAIN})
    EXPECT_STREQ(bindtextdomain(domain, nullptr), "/opt/zamo/bin/nls/") << domain;
}

// ---------------------------------------------------------------------------
// Product types

TEST(Products, EveryTypeHasAShortUniqueNameAndARank) {
  std::set<std::string> names;
  int schedulable = 0;
  for (int type = 1; type <= ZAMO_PRODUCT_TYPES; ++type) {
    const std::string name = sproduct_name5(type);
    EXPECT_FALSE(name.empty()) << type;
    EXPECT_LE(name.size(), 5u) << type;
    EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
    EXPECT_GE(iRankOfProduct(type), 1) << name;
    EXPECT_LE(iRankOfProduct(type), 40) << name;
    schedulable += lProductCanBeScheduled(type) ? 1 : 0;
  }
  EXPECT_GT(schedulable, ZAMO_PRODUCT_TYPES * 3 / 4) << "most products are schedulable";
  // The product page offers its own priority hints for these two types.
  EXPECT_TRUE(lProductCanBeScheduled(4));
  EXPECT_TRUE(lProductCanBeScheduled(12));
}

TEST(Products, TypesOutsideTheTableAreNeverScheduled) {
  for (int type : {0, -1, ZAMO_PRODUCT_TYPES + 1, INT_MIN, INT_MAX}) {
    EXPECT_EQ(lProductCanBeScheduled(type), 0) << type;
    EXPECT_EQ(iRankOfProduct(type), 0) << type;
    ASSERT_NE(sproduct_name5(type), nullptr) << type;
    EXPECT_LE(strlen(sproduct_name5(type)), 5u) << type;
  }
}
