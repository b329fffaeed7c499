// The error status lines: every failure of the site library during load
// and save, one line each. The list is never emptied.
#include <cstdio>

#include "items/front_end.h"
#include "items/i18n.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
#include "store/store.h"

namespace {
std::vector<std::string> lines;
}  // namespace

void add_error_status_line(const char *line) {
  lines.emplace_back(line);
  if (const FrontEnd *ui = installed_front_end()) ui->error_status_line(line);
}

void inform(const char *message, const char *ok_label) {
  if (const FrontEnd *ui = installed_front_end())
    ui->information(message, ok_label);
  else
    std::fprintf(stderr, "%s\n", message);
}

namespace {

// One list line per text line, each with the area's prefix.
void add_lines(const char *format, const char *area, const char *text) {
  std::string rest = text ? text : "";
  for (size_t start = 0; start <= rest.size();) {
    size_t end = rest.find('\n', start);
    if (end == std::string::npos) end = rest.size();
    char line[1024];
    snprintf(line, sizeof line, format, area, rest.substr(start, end - start).c_str());
    add_error_status_line(line);
    start = end + 1;
  }
}

}  // namespace

void report_error_status(int status) {
  if (status == SITE_NOTHING_DONE) return;
  add_lines("%s%s", "", message_to_text(status, 0, 0));
}

void report_read_error(int area, int status) {
  if (status == SITE_NOTHING_DONE) return;
  const char *format = status == SITE_BAD_SETUP_FILE ? _("%s setup, bad line ignored: %s")
                                                     : _("%s setup could not be read: %s");
  add_lines(format, area_info(area).short_name, message_to_text(status, 0, 0));
}

void report_read_warnings(int area, const char *warnings) {
  if (warnings && *warnings) add_lines(_("%s setup, warning: %s"), area_info(area).short_name, warnings);
}

void report_changed_on_disk(int area) {
  add_lines(_("%s setup not saved: %s"), area_info(area).short_name,
            message_to_text(SITE_CHANGED_ON_DISK, 0, 0));
}

const std::vector<std::string> &error_status_lines(void) { return lines; }
