// A help directory with its index page under $ZAMO_ROOT, and a viewer in
// $ZAMO_HELP_VIEWER that talks on standard error, records its process id
// and arguments in "run" and then keeps running while a file "hold" exists,
// leaves a helper running, its process id in "helper", with "helper", ends
// a second late with "slow" and fails with status 3 with "fail".
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/files.h"

struct HelpSite : TempDir {
  HelpSite() {
    write_file(*this / "viewer.sh",
               "#!/bin/sh\nout=$(dirname \"$0\")\necho viewer speaking >&2\n"
               "[ -e \"$out/helper\" ] && { sleep 30 & echo $! > \"$out/helper\"; }\n"
               "{ echo $$; for a in \"$@\"; do echo \"$a\"; done; } > \"$out/run.tmp\"\n"
               "mv \"$out/run.tmp\" \"$out/run\"\n[ -e \"$out/hold\" ] && exec sleep 30\n"
               "[ -e \"$out/slow\" ] && sleep 1\n[ -e \"$out/fail\" ] && exit 3\nexit 0\n");
    std::filesystem::permissions(*this / "viewer.sh", std::filesystem::perms::owner_all);
    std::filesystem::create_directory(*this / "help");
    write_file(page("index.html"), "<html></html>\n");
    setenv("ZAMO_ROOT", path.c_str(), 1);
    setenv("ZAMO_HELP_VIEWER", (*this / "viewer.sh").c_str(), 1);
  }
  ~HelpSite() {
    unsetenv("ZAMO_ROOT");
    unsetenv("ZAMO_HELP_VIEWER");
  }
  std::string page(const std::string &name) const { return path + "/help/" + name; }

  // Waits for the viewer's record and removes it; returns the process id
  // and puts the arguments into `args`.
  pid_t next_run(std::string *args = nullptr) const {
    const std::string file = *this / "run";
    for (int tries = 0; tries < 500 && !std::filesystem::exists(file); ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(file);
    std::string pid = "0", line;
    std::getline(in, pid);
    if (args) args->clear();
    while (std::getline(in, line) && args) *args += line;
    std::filesystem::remove(file);
    return std::stoi(pid);
  }
};
