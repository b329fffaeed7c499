// The error status lines: every failure of the site library during load
// and save, one line each. The list is never emptied.
#include <cstdio>

#include "items/i18n.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
#include "store/store.h"

namespace {
std::vector<std::string> lines;
}  // namespace

const StoreView *store_view = nullptr;

void add_error_status_line(const char *line) {
  lines.emplace_back(line);
  if (store_view) store_view->error_status_line(line);
}

void inform(const char *message, const char *ok_label) {
  if (store_view)
    store_view->information(message, ok_label);
  else
    std::fprintf(stderr, "%s\n", message);
}

void report_error_status(int status) {
  if (status == SITE_NOTHING_DONE) return;
  add_error_status_line(message_to_text(status, 0, 0));
}

void report_read_error(int area, int status) {
  if (status == SITE_NOTHING_DONE) return;
  char line[1024];
  snprintf(line, sizeof line, _("%s setup could not be read: %s"), area_info(area).short_name,
           message_to_text(status, 0, 0));
  add_error_status_line(line);
}

const std::vector<std::string> &error_status_lines(void) { return lines; }
