// The listing file: its directory, its name, its pages and its failures.
#include <gtest/gtest.h>

#include <regex>

#include "motif/commands.h"
#include "pages/pages.h"
#include "tests/store_site.h"

namespace {

class Listing : public ::testing::Test {
 protected:
  std::string dir;

  void SetUp() override {
    clear_store_state();
    char name[] = "/tmp/store-list-XXXXXX";
    dir = mkdtemp(name);
    setenv("ZAMO_LISTINGS", dir.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // The one file in `where`, by name.
  std::string only_file(const std::string &where) {
    DirectoryStamps files = stamp_directory(where);
    EXPECT_EQ(1u, files.size());
    return files.empty() ? "" : files.begin()->first;
  }
  // What PassList writes for these pages, in this order.
  std::string pages_listed(std::initializer_list<int> pages) {
    FILE *file = tmpfile();
    for (int page : pages) page_info(page).function(PassList, nullptr, file);
    rewind(file);
    std::string text;
    for (int c; (c = fgetc(file)) != EOF;) text += static_cast<char>(c);
    fclose(file);
    return text;
  }
};

TEST_F(Listing, NameHasTwelveDigitsOfTheMinuteAndListAllRunsThePagesOfTheModeInOrder) {
  time_ymds date{};
  GetTimeYmds(&date, 0);
  list_page_command(nullptr, reinterpret_cast<XtPointer>(PAGE_CONTROL_PROCESSOR), nullptr);
  std::string name = only_file(dir);
  ASSERT_TRUE(std::regex_match(name, std::regex("[0-9]{12}\\.setup"))) << name;
  char day[16];
  snprintf(day, sizeof day, "%04d%02d%02d", date.iyear, date.imonth, date.iday);
  EXPECT_EQ(day, name.substr(0, 8));
  EXPECT_EQ(pages_listed({PAGE_CONTROL_PROCESSOR}), read_file(dir + "/" + name));

  // List All runs the pages of the mode in order.
  full_mode = 0;
  list_all_command(nullptr, nullptr, nullptr);
  std::string listed = read_file(dir + "/" + stamp_directory(dir).rbegin()->first);
  EXPECT_EQ(pages_listed({PAGE_SIGNAL_PROCESSOR, PAGE_CONTROL_PROCESSOR}), listed);
  EXPECT_NE("", listed);

  full_mode = 1;
  list_all_command(nullptr, nullptr, nullptr);  // the same minute replaces it
  name = stamp_directory(dir).rbegin()->first;  // the newest
  EXPECT_EQ(pages_listed({PAGE_SIGNAL_PROCESSOR, PAGE_CONTROL_PROCESSOR, PAGE_INPUT_DEVICE, PAGE_INGEST,
                          PAGE_GENERAL, PAGE_PRODUCT, PAGE_OUTPUT_DEVICE}),
            read_file(dir + "/" + name));
}

TEST_F(Listing, HomeIsTheFallbackAndLongDirectoriesAreUsedWhole) {
  unsetenv("ZAMO_LISTINGS");
  setenv("HOME", dir.c_str(), 1);
  list_all_command(nullptr, nullptr, nullptr);
  EXPECT_NE("", only_file(dir));

  std::string deep = dir;
  while (deep.size() <= 200) deep += "/a-rather-long-directory-name";
  std::filesystem::create_directories(deep);
  setenv("ZAMO_LISTINGS", deep.c_str(), 1);
  list_all_command(nullptr, nullptr, nullptr);
  EXPECT_NE("", only_file(deep));
}

TEST_F(Listing, FailuresSayOpenListError) {
  std::string out, err;
  // No directory variable at all: the coded report.
  int status = run_in_child(
      [] {
        unsetenv("ZAMO_LISTINGS");
        unsetenv("HOME");
        list_all_command(nullptr, nullptr, nullptr);
        exit(0);
      },
      &out, &err);
  EXPECT_EQ(0, exit_code(status));
  EXPECT_EQ("OPEN LIST ERROR\n", out);
  EXPECT_NE(std::string::npos, err.find("ZAMO_LISTINGS")) << err;

  // A directory that does not exist: perror names the path.
  std::string missing = dir + "/missing";
  setenv("ZAMO_LISTINGS", missing.c_str(), 1);
  run_in_child(
      [] {
        list_all_command(nullptr, nullptr, nullptr);
        exit(0);
      },
      &out, &err);
  EXPECT_EQ("OPEN LIST ERROR\n", out);
  EXPECT_TRUE(std::regex_search(err, std::regex(missing + "/[0-9]{12}\\.setup: No such file"))) << err;

  // The file opens but the disk fills up while it is written.
  setenv("ZAMO_LISTINGS", dir.c_str(), 1);
  status = run_in_child(
      [] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        list_all_command(nullptr, nullptr, nullptr);
        exit(0);
      },
      &out, &err);
  EXPECT_EQ(0, exit_code(status));
  EXPECT_EQ("OPEN LIST ERROR\n", out);
  EXPECT_TRUE(std::regex_search(err, std::regex("[0-9]{12}\\.setup: File too large"))) << err;
}

}  // namespace

namespace {

// A shared listing directory where someone planted the next name.
TEST_F(Listing, APlantedLinkFifoOrSecondNameIsNeverWrittenThrough) {
  const std::string victim = dir + "/victim", path = dir + "/202612061405.setup";
  write_file(victim, "precious\n");
  std::filesystem::create_symlink(victim, path);
  std::string err;
  run_in_child([&] { exit(open_listing_path(path) ? 0 : 1); }, nullptr, &err);
  EXPECT_EQ(read_file(victim), "precious\n");
  EXPECT_NE(err.find(path), std::string::npos) << "the refusal names the file";
  std::filesystem::remove(path);

  ASSERT_EQ(0, link(victim.c_str(), path.c_str()));
  EXPECT_EQ(nullptr, open_listing_path(path));
  EXPECT_EQ(read_file(victim), "precious\n");
  std::filesystem::remove(path);

  ASSERT_EQ(0, mkfifo(path.c_str(), 0644));
  EXPECT_EQ(nullptr, open_listing_path(path)) << "and did not block";
  std::filesystem::remove(path);

  write_file(path, "an older listing, much longer than the new one\n");
  FILE *file = open_listing_path(path);
  ASSERT_NE(nullptr, file);
  fputs("new\n", file);
  fclose(file);
  EXPECT_EQ(read_file(path), "new\n") << "a plain file of that name is still replaced";
}

}  // namespace
