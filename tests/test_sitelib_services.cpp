// The site library's process, time, text and product services.
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cfloat>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <set>
#include <thread>

#include "sitelib/services.h"
#include "sitelib/sitelib.h"
#include "tests/support/catalogue.h"
#include "tests/support/help_site.h"

namespace fs = std::filesystem;

namespace {

template <typename Field>
Field assigned(double value) {
  Field field{};
  AssignValue(&field, value);
  return field;
}

const double kInf = std::numeric_limits<double>::infinity();
const double kNan = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(AssignValue, IntegersRoundHalvesAwayFromZeroAndAllSaturate) {
  EXPECT_EQ(assigned<int32_t>(0.29 * 100), 29);  // 28.999999999999996
  EXPECT_EQ(assigned<int32_t>(-2.5), -3);
  EXPECT_EQ(assigned<int32_t>(0.49999999999999994), 0);
  EXPECT_EQ(assigned<int16_t>(0.5 * 182.04444444444445), 91);
  EXPECT_EQ(assigned<uint32_t>(2147483648.4), 2147483648u);

  EXPECT_EQ(assigned<int8_t>(127.5), 127);
  EXPECT_EQ(assigned<int8_t>(-128.5), -128);
  EXPECT_EQ(assigned<uint8_t>(-0.6), 0);
  EXPECT_EQ(assigned<int16_t>(-40000), INT16_MIN);
  EXPECT_EQ(assigned<uint16_t>(65535.5), UINT16_MAX);
  EXPECT_EQ(assigned<int32_t>(2147483647.5), INT32_MAX);
  EXPECT_EQ(assigned<uint32_t>(4294967295.5), UINT32_MAX);

  // Values no integer holds: no undefined conversion, NaN stores 0.
  EXPECT_EQ(assigned<int8_t>(1e300), INT8_MAX);
  EXPECT_EQ(assigned<uint16_t>(kInf), UINT16_MAX);
  EXPECT_EQ(assigned<int32_t>(-kInf), INT32_MIN);
  EXPECT_EQ(assigned<uint32_t>(-DBL_MAX), 0u);
  EXPECT_EQ(assigned<int32_t>(kNan), 0);
  EXPECT_EQ(assigned<uint8_t>(-kNan), 0);

  // Floats saturate finite values and keep infinities and NaN.
  EXPECT_EQ(assigned<float>(0.1), 0.1f);
  EXPECT_EQ(assigned<float>(1e39), FLT_MAX);
  EXPECT_EQ(assigned<float>(-DBL_MAX), -FLT_MAX);
  EXPECT_EQ(assigned<float>(-kInf), -std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::isnan(assigned<float>(kNan)));
  EXPECT_EQ(assigned<double>(-DBL_MAX), -DBL_MAX);
}

// Edits that leave a byte sum unchanged must still change the checksum.
TEST(Checksum, NoticesExchangedBytesAndFlagsMovedInOppositeDirections) {
  zel_setup record{};
  snprintf(record.sDevice1, sizeof record.sDevice1, "/dev/ttyS0");
  record.lLogToFile = 1;
  const uint32_t loaded = iunique_sum(&record, sizeof record);
  zel_setup edited = record;
  std::swap(edited.sDevice1[7], edited.sDevice1[8]);  // "/dev/ttSy0"
  EXPECT_NE(iunique_sum(&edited, sizeof edited), loaded);
  edited = record;
  edited.lLogToFile = 0;
  edited.lLogPacketsAnt = 1;
  EXPECT_NE(iunique_sum(&edited, sizeof edited), loaded);
}

TEST(Operators, ListedNamesOnlyAndTheCodedReport) {
  TempDir site;
  setenv("ZAMO_CONFIG", site.path.c_str(), 1);
  EXPECT_EQ(lzamo_operator("radar"), 0) << "no operators file: no operators";
  write_file(site / "operators", "# operators\n\n   \t\n  radar  \nobserver\r\n#maint\n  # night shift\n");
  EXPECT_NE(lzamo_operator("radar"), 0);
  EXPECT_NE(lzamo_operator("observer"), 0);
  for (const char *user : {"rad", "radar2", "maint", "#maint", "night shift", ""})
    EXPECT_EQ(lzamo_operator(user), 0) << user;
  EXPECT_EQ(lzamo_operator(nullptr), 0);
  unsetenv("ZAMO_CONFIG");

  struct passwd *entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(tolvek_username(), entry->pw_name);

  // The coded report names the missing listing variable.
  tolvek_establish(0, "setup");
  testing::internal::CaptureStderr();
  tolvek_signal_va(SITE_NO_LISTING_DIR, 1, "ZAMO_LISTINGS");
  tolvek_signal_va(0x6B0099, 2, "first", "second");
  const std::string report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("setup: Listing directory is not set"), std::string::npos) << report;
  EXPECT_NE(report.find("ZAMO_LISTINGS"), std::string::npos) << report;
  EXPECT_NE(report.find("first, second [0x6B0099]"), std::string::npos) << report;
}

class Help : public testing::Test {
 protected:
  HelpSite root;
  void TearDown() override { helpExit(); }
};

TEST_F(Help, OpensTheTopicPageElseTheIndexInTheUsersLanguageAndNeverLeavesTheDirectory) {
  write_file(root.page("radar_control_processor_setup.html"), "<html></html>\n");
  write_file(root / "secret.html", "outside\n");
  fs::create_directory(root.page("sub"));
  write_file(root.page("sub/page.html"), "nested\n");
  fs::create_directory(root.page("de"));  // German help, for German texts only
  for (const char *name : {"de/index.html", "de/radar_control_processor_setup.html"})
    write_file(root.page(name), "<html lang=\"de\"></html>\n");
  std::string page;
  ASSERT_EQ(helpStart(1, "radar_control_processor_setup", 0), SITE_OK);
  root.next_run(&page);
  EXPECT_EQ(page, root.page("radar_control_processor_setup.html"));
  for (const char *topic :
       {"no_such_topic", "../secret", "sub/page", "sub/../../secret", ".hidden", "/etc/passwd"}) {
    ASSERT_EQ(helpStart(1, topic, 0), SITE_OK) << topic;
    root.next_run(&page);
    EXPECT_EQ(page, root.page("index.html")) << topic;
  }

  // In the language of the program's texts when there is help in it.
  MessageCatalogue austrian("de_AT", "msgid \"Help\"\nmsgstr \"Hilfe\"\n");
  for (const char *topic : {"radar_control_processor_setup", "index"}) {
    ASSERT_EQ(helpStart(1, topic, 0), SITE_OK);
    root.next_run(&page);
    EXPECT_EQ(page, root.page("de/" + std::string(topic) + ".html"));
  }
}

TEST_F(Help, FailsWithoutAPageAViewerOrTheRightMode) {
  EXPECT_NE(helpStart(2, "index", 0), SITE_OK);
  setenv("ZAMO_HELP_VIEWER", (root / "no-such-viewer").c_str(), 1);
  const int status = helpStart(1, "index", 0);
  EXPECT_NE(status, SITE_OK);
  const std::string reason = message_to_text(status, 0, 0);
  EXPECT_NE(reason.find("no-such-viewer could not be started (No such file"), std::string::npos) << reason;
  EXPECT_NE(reason.find("open " + root.page("index.html") + " by hand"), std::string::npos) << reason;

  // A viewer that gives up at once (xdg-open without a browser) fails too.
  setenv("ZAMO_HELP_VIEWER", (root / "viewer.sh").c_str(), 1);
  write_file(root / "fail", "");
  const int failed = helpStart(1, "index", 0);
  root.next_run();
  EXPECT_EQ(failed, SITE_HELP_NOT_STARTED);
  EXPECT_NE(std::string(message_to_text(failed, 0, 0)).find("ended with status 3"), std::string::npos);
  fs::remove(root / "fail");

  fs::remove(root.page("index.html"));
  EXPECT_NE(helpStart(1, "missing", 0), SITE_OK);
  EXPECT_FALSE(fs::exists(root / "run")) << "no viewer was started";
}

// The viewer talks on standard error and leaves a helper behind, as
// xdg-open with dillo leaves dpid: neither reaches the editor.
TEST_F(Help, EndedViewersAreReapedAndExitEndsRunningOnesAndTheirHelpers) {
  auto is_zombie = [](pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    return text.find(") Z ") != std::string::npos;
  };
  auto is_gone = [](pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; };

  testing::internal::CaptureStderr();
  write_file(root / "helper", "");
  write_file(root / "slow", "");  // ends after helpStart has stopped watching it
  ASSERT_EQ(helpStart(1, "index", 0), SITE_OK);
  const pid_t ended = root.next_run();
  const pid_t helper = std::stoi(read_file(root / "helper"));
  fs::remove(root / "helper");
  for (int tries = 0; tries < 500 && !is_zombie(ended); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(is_zombie(ended));

  write_file(root / "hold", "");
  ASSERT_EQ(helpStart(1, "index", 0), SITE_OK);
  EXPECT_TRUE(is_gone(ended)) << "reaped on the next call";
  const pid_t running = root.next_run();
  EXPECT_EQ(kill(running, 0), 0);
  EXPECT_TRUE(kill(helper, 0) == 0 && !is_zombie(helper)) << "the helper outlived its viewer";
  helpExit();
  EXPECT_TRUE(is_gone(running)) << "ended and reaped by helpExit";
  EXPECT_TRUE(is_gone(helper) || is_zombie(helper)) << "the helper ended with the viewers";
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Time, ClockTextDateAndSecondsOfTheDay) {
  setenv("TZ", "EST5", 1);
  tzset();
  time_full now;
  GetTimeFull(&now, 0);
  EXPECT_STREQ(now.sShort, "EST");
  EXPECT_LE(std::abs(now.seconds - time(nullptr)), 2);
  time_full record{1796565909, 0, ""};  // 2026-12-06 14:05:09 UTC
  char text[32];
  EXPECT_STREQ(shhmmssddmonyyyy_r(&record, text), "09:05:09 06-DEC-2026") << "local time";

  setenv("TZ", "UTC0", 1);
  tzset();
  record.seconds = 1767225600;  // 2026-01-01 00:00:00 UTC
  EXPECT_STREQ(shhmmssddmonyyyy_r(&record, text), "00:00:00 01-JAN-2026");
  time_ymds date;
  const time_t before = time(nullptr);
  GetTimeYmds(&date, 0);
  struct tm parts;
  gmtime_r(&before, &parts);
  EXPECT_EQ(date.iyear * 10000 + date.imonth * 100 + date.iday,
            (parts.tm_year + 1900) * 10000 + (parts.tm_mon + 1) * 100 + parts.tm_mday);
  EXPECT_NEAR(date.iseconds, parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec, 2);
  unsetenv("TZ");
  tzset();

  int days, hours, minutes, seconds;
  unpacktime(2 * 86400 + 50709, &days, &hours, &minutes, &seconds);
  EXPECT_EQ(std::vector<int>({days, hours, minutes, seconds}), std::vector<int>({2, 14, 5, 9}));
}

TEST(Text, PaddedFieldsUtf8AndBinaryAngles) {
  char target[16];
  auto nullified = [&](const char *field, int size) {
    memset(target, '#', sizeof target);
    nullify_ncpy(target, field, size);
    EXPECT_EQ(target[size + 1], '#') << "nothing written past size + 1 bytes";
    return std::string(target);
  };
  const char full[4] = {'K', 'O', 'X', '2'};  // no terminator in the field
  EXPECT_EQ(nullified(full, 4), "KOX2");
  EXPECT_EQ(nullified("A B         ", 12), "A B");
  EXPECT_EQ(nullified("            ", 12), "");
  EXPECT_EQ(nullified("AB\0CD   ", 8), "AB");
  EXPECT_EQ(nullified("ABCDEF", 3), "ABC");

  // Spacify fills a field with blanks and never reads past the text.
  char field[9];
  auto spacified = [&](const char *text, int size) {
    // A heap copy of exactly its length: reading past it shows under ASan.
    std::unique_ptr<char[]> exact(strcpy(new char[strlen(text) + 1], text));
    memset(field, '#', sizeof field);
    spacify_ncpy(field, exact.get(), size);
    EXPECT_EQ(field[size], '#') << "no terminator written";
    return std::string(field, size);
  };
  EXPECT_EQ(spacified("AB", 8), "AB      ");
  EXPECT_EQ(spacified("", 4), "    ");
  EXPECT_EQ(spacified("LONGER THAN THE FIELD", 8), "LONGER T");

  EXPECT_EQ(strlen_utf8("H\xc3\xb6he \xe2\x82\xac \xf0\x9f\x93\xa1"), 8);  // 2-, 3- and 4-byte characters
  EXPECT_EQ(strlen_utf8(nullptr), 0);
  EXPECT_DOUBLE_EQ(fDegFromBin4(0x40000000), 90.0);
  EXPECT_DOUBLE_EQ(fDegFromBin4(INT32_MIN), -180.0);
  EXPECT_NEAR(fDegFromBin4(715827883), 60.0, 1e-7);
}

TEST(Products, ShortUniqueNamesRanksAndSafeLookupsOutsideTheTable) {
  std::set<std::string> names;
  int schedulable = 0;
  for (int type = 1; type <= ZAMO_PRODUCT_TYPES; ++type) {
    const std::string name = sproduct_name5(type);
    EXPECT_TRUE(!name.empty() && name.size() <= 5 && names.insert(name).second) << type << " " << name;
    EXPECT_TRUE(iRankOfProduct(type) >= 1 && iRankOfProduct(type) <= 40) << name;
    schedulable += lProductCanBeScheduled(type) ? 1 : 0;
  }
  EXPECT_GT(schedulable, ZAMO_PRODUCT_TYPES * 3 / 4);
  EXPECT_TRUE(lProductCanBeScheduled(4) && lProductCanBeScheduled(12)) << "the page has hints for both";
  for (int type : {0, -1, int(ZAMO_PRODUCT_TYPES) + 1, INT_MIN}) {
    EXPECT_EQ(lProductCanBeScheduled(type) + iRankOfProduct(type), 0) << type;
    EXPECT_STREQ(sproduct_name5(type), "?????");
  }
}
