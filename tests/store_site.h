// A factory site in a temporary directory for the load, save and listing
// tests, and small helpers to look at what the program did to it.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "items/field.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
#include "store/store.h"
#include "tests/support/files.h"

// Inode and modification time of each plain file: atomic writers replace
// the inode, so either tells a write.
using DirectoryStamps = std::map<std::string, std::pair<ino_t, long long>>;

inline DirectoryStamps stamp_directory(const std::string &dir) {
  DirectoryStamps stamps;
  for (const auto &entry : std::filesystem::directory_iterator(dir)) {
    struct stat st;
    if (entry.is_regular_file() && stat(entry.path().c_str(), &st) == 0)
      stamps[entry.path().filename()] = {st.st_ino, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
  }
  return stamps;
}

// Names of the setup files that are new or were written since `before`:
// backups and the change log left out.
inline std::string written_since(const std::string &dir, const DirectoryStamps &before) {
  std::string names;
  for (const auto &[name, stamp] : stamp_directory(dir)) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bak") == 0) continue;
    if (name == "changes.log") continue;
    auto old = before.find(name);
    if (old == before.end() || old->second != stamp) names += (names.empty() ? "" : " ") + name;
  }
  return names;
}

inline void clear_store_state(void) {
  memset(&zel, 0, sizeof zel);
  memset(zel_limits, 0, sizeof zel_limits);
  memset(&dsp, 0, sizeof dsp);
  memset(dsp_limits, 0, sizeof dsp_limits);
  memset(&Rtdisp, 0, sizeof Rtdisp);
  memset(Rtdisp_limits, 0, sizeof Rtdisp_limits);
  memset(&zamo, 0, sizeof zamo);
  memset(zamo_limits, 0, sizeof zamo_limits);
  memset(&auxset, 0, sizeof auxset);
  memset(auxset_limits, 0, sizeof auxset_limits);
  snapshot = Snapshot{};
  for (bool &failed : area_read_failed) failed = false;
  full_mode = 1;
}

// A site of factory values written by the library itself, with the test's
// user as operator. Knows which file holds which area.
struct FactorySite {
  std::string dir;
  std::string file[AREA_COUNT];

  // `adjust` may change the factory records before they are written.
  explicit FactorySite(const std::function<void()> &adjust = [] {}) {
    char name[] = "/tmp/store-site-XXXXXX";
    dir = mkdtemp(name);
    setenv("ZAMO_CONFIG", dir.c_str(), 1);
    clear_store_state();
    for (int area = 0; area < AREA_COUNT; ++area) {
      const AreaInfo &info = area_info(area);
      setup_limits(info.limits_name, info.record, COPY_FACTORY, 0);
    }
    adjust();
    ant_save_setup(&zel);
    dsp_save_setup(&dsp);
    RtdispSaveSetup(&Rtdisp);
    zamosave(&zamo);
    for (int area = 0; area < AREA_COUNT; ++area) file[area] = area_info(area).file;
    write_file(dir + "/operators", std::string(tolvek_username()) + "\n");
    clear_store_state();
  }
  ~FactorySite() { std::filesystem::remove_all(dir); }

  std::string path(int area) const { return dir + "/" + file[area]; }

  // Replaces the first "10.0" of the data-system file (its version text).
  void set_zamo_file_version(const char *version) {
    std::string text = read_file(path(AREA_ZAMO));
    size_t at = text.find(ZAMO_SETUP_VERSION);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 4, version, 4);
    write_file(path(AREA_ZAMO), text);
  }

  void corrupt(int area) { write_file(path(area), "\x01\x02 this is not a setup file {{{\n"); }

  // Every write fails while the setup directory is a plain file.
  void break_directory() {
    ASSERT_EQ(0, rename(dir.c_str(), (dir + ".away").c_str()));
    write_file(dir, "x");
  }
  void mend_directory() {
    unlink(dir.c_str());
    ASSERT_EQ(0, rename((dir + ".away").c_str(), dir.c_str()));
  }

  DirectoryStamps stamps() const { return stamp_directory(dir); }
  std::string written(const DirectoryStamps &before) const { return written_since(dir, before); }
};

// Runs `work` in a child process with its standard output and error caught;
// returns the wait status.
inline int run_in_child(const std::function<void()> &work, std::string *out = nullptr,
                        std::string *err = nullptr) {
  char out_name[] = "/tmp/store-out-XXXXXX", err_name[] = "/tmp/store-err-XXXXXX";
  int out_fd = mkstemp(out_name), err_fd = mkstemp(err_name);
  fflush(stdout);
  fflush(stderr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    work();
    fflush(stdout);
    _exit(99);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (out) *out = read_file(out_name);
  if (err) *err = read_file(err_name);
  close(out_fd);
  close(err_fd);
  unlink(out_name);
  unlink(err_name);
  return status;
}

inline int exit_code(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// Another program reads a setup file, changes it and saves it meanwhile.
template <class Record>
void other_program_saves(int (*load)(Record *), int (*save)(Record *),
                         const std::function<void(Record &)> &change) {
  ASSERT_EQ(0, exit_code(run_in_child([&] {
              auto record = std::make_unique<Record>();
              load(record.get());
              change(*record);
              _exit(save(record.get()) == SITE_OK ? 0 : 1);
            })));
}
