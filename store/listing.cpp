// The listing file: the values held in memory, one page or every page of
// the mode, written to a file named after the current minute.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/pages.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
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

FILE *open_listing_file(std::string &path) {
  const char *directory = getenv("ZAMO_LISTINGS");
  if (!directory) directory = getenv("HOME");
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
  FILE *file = fopen(path.c_str(), "w");
  if (!file) perror(path.c_str());
  return file;
}

bool write_listing(const int *pages, int count) {
  std::string path;
  FILE *file = open_listing_file(path);
  if (!file) {
    report_list_error();
    return false;
  }
  for (int i = 0; i < count; ++i)
    if (PageFunction page = page_info(pages[i]).function) page(PassList, nullptr, file);
  // A listing cut short (full disk, quota) is as useless as none.
  if (int error = finish_listing(file)) {
    errno = error;
    perror(path.c_str());
    report_list_error();
    return false;
  }
  return true;
}
