// Crash safety: a writer saves in a loop and is killed with SIGKILL at
// random moments. After every kill each setup file reads and equals one of
// the two records written, a backup exists once there was one, and the
// next save leaves no temporary file behind. SETUP_KILLS sets the number
// of kills (200 by default; 1000 when run by hand).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include "sitelib/schema.h"

namespace fs = std::filesystem;

namespace {

struct Records {
  zel_setup zel[2];
  zamo_setup zamo[2];
};

int stray_files(const std::string &dir) {
  int n = 0;
  for (const auto &e : fs::directory_iterator(dir))
    if (e.path().filename().string().find(".setup-tmp-") != std::string::npos) ++n;
  return n;
}

[[noreturn]] void save_forever(Records &r) {
  for (int i = 0;; i ^= 1) {
    ant_save_setup(&r.zel[i]);
    zamosave(&r.zamo[i]);
  }
}

// Which of the two records the file holds: 0, 1, or -1 for neither.
template <class Record>
int which(int status, const Record &read, const Record (&written)[2]) {
  if (status != SITE_OK) return -1;
  for (int i = 0; i < 2; ++i)
    if (std::memcmp(&read, &written[i], sizeof read) == 0) return i;
  return -1;
}

}  // namespace

TEST(CrashSafety, SavesKilledAtRandomNeverLoseOrCorruptAFile) {
  const char *wanted = std::getenv("SETUP_KILLS");
  const int kills = wanted ? std::atoi(wanted) : 200;
  char name[] = "/tmp/setup-crash-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  const std::string dir = name;
  setenv("ZAMO_CONFIG", dir.c_str(), 1);

  auto r = std::make_unique<Records>();
  for (int i = 0; i < 2; ++i) {
    std::memset(&r->zel[i], 0, sizeof r->zel[i]);
    std::memset(&r->zamo[i], 0, sizeof r->zamo[i]);
    setup_limits("ant_manual_setup", &r->zel[i], LIMITS_FACTORY, 0);
    setup_limits("zamo_setup", &r->zamo[i], LIMITS_FACTORY, 0);
  }
  r->zel[1].iBaudRate1 = 1200;
  r->zamo[1].misc.ipri_ingest = -7;
  ASSERT_EQ(ant_save_setup(&r->zel[0]), SITE_OK);
  ASSERT_EQ(zamosave(&r->zamo[0]), SITE_OK);

  std::mt19937 rng(20261206);
  bool had_backup[2] = {false, false};
  int corrupted = 0, backups_missing = 0, strays_left = 0, max_strays = 0;
  auto zel = std::make_unique<zel_setup>();
  auto zamo = std::make_unique<zamo_setup>();
  for (int k = 0; k < kills; ++k) {
    pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) save_forever(*r);
    usleep(std::uniform_int_distribution<int>(0, 4000)(rng));
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);

    max_strays = std::max(max_strays, stray_files(dir));
    if (which(ant_load_setup(zel.get()), *zel, r->zel) < 0) ++corrupted;
    if (which(zamoload(zamo.get()), *zamo, r->zamo) < 0) ++corrupted;
    for (int f = 0; f < 2; ++f) {
      bool exists = fs::exists(dir + (f ? "/setup_zamo.conf.bak" : "/setup_ant.conf.bak"));
      if (had_backup[f] && !exists) ++backups_missing;
      had_backup[f] = had_backup[f] || exists;
    }
    // The next save (after reading, as an editor does) clears what the
    // killed writer left.
    ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK) << message_to_text(SITE_WRITE_FAILED, 0, 0);
    strays_left += stray_files(dir);
  }
  std::printf(
      "kills survived: %d, files corrupted: %d, backups missing: %d, strays after the next save: %d "
      "(at most %d before it)\n",
      kills, corrupted, backups_missing, strays_left, max_strays);
  EXPECT_EQ(corrupted, 0);
  EXPECT_EQ(backups_missing, 0);
  EXPECT_EQ(strays_left, 0);
  fs::remove_all(dir);
  unsetenv("ZAMO_CONFIG");
}
