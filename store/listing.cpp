// The listing file: the values held in memory, one page or every page of
// the mode, written to a file named after the current minute.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/pages.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
#include "store/host.h"
#include "store/store.h"

namespace {

void report_list_error(void) {
  fputs(_("OPEN LIST ERROR\n"), stdout);
  fflush(stdout);
}

// Flushes and closes the listing; the errno of the first failure, or 0.
int finish_listing(FILE *file) {
  errno = 0;
  int error = 0;
  if (fflush(file) != 0 || ferror(file)) error = errno ? errno : EIO;
  if (fclose(file) != 0 && error == 0) error = errno ? errno : EIO;
  return error;
}

}  // namespace

// The listing directory may be shared and the name is predictable: a link or
// a FIFO planted under it must not be followed or written. Opened without
// following links and without blocking; only a regular file with no other
// name is truncated and written.
FILE *open_listing_path(const std::string &path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    perror(path.c_str());
    return nullptr;
  }
  struct stat st;
  const char *refused = nullptr;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    refused = "not a regular file";
  else if (st.st_nlink > 1)
    refused = "a regular file with other names";
  if (refused || ftruncate(fd, 0) != 0 || fcntl(fd, F_SETFL, 0) != 0) {
    if (refused)
      fprintf(stderr, "%s: %s\n", path.c_str(), refused);
    else
      perror(path.c_str());
    close(fd);
    return nullptr;
  }
  FILE *file = fdopen(fd, "w");
  if (!file) {
    perror(path.c_str());
    close(fd);
  }
  return file;
}

FILE *open_listing_file(std::string &path) {
  const char *directory = getenv("ZAMO_LISTINGS");
  if (!directory) directory = home_directory();
  if (!directory) {
    tolvek_signal_va(SITE_NO_LISTING_DIR, 1, "ZAMO_LISTINGS");
    return nullptr;
  }
  time_ymds date{};
  GetTimeYmds(&date, 0);
  int days = 0, hours = 0, minutes = 0, seconds = 0;
  unpacktime(date.iseconds, &days, &hours, &minutes, &seconds);
  char name[64];
  snprintf(name, sizeof name, "/%04d%02d%02d%02d%02d.setup", date.iyear, date.imonth, date.iday, hours,
           minutes);
  path = std::string(directory) + name;
  return open_listing_path(path);
}

bool write_listing(const std::vector<int> &pages) {
  std::string path;
  FILE *file = open_listing_file(path);
  if (!file) {
    report_list_error();
    return false;
  }
  for (int page : pages) page_info(page).function(PassList, nullptr, file);
  // A listing cut short (full disk, quota) is as useless as none.
  if (int error = finish_listing(file)) {
    errno = error;
    perror(path.c_str());
    report_list_error();
    return false;
  }
  return true;
}
