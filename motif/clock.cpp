#include "motif/clock.h"

#include <Xm/Xm.h>

#include <cstdio>
#include <cstring>

#include "items/i18n.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "sitelib/sitelib.h"

std::string clock_time_text(void) {
  time_full now;
  GetTimeFull(&now, 0);
  char buffer[64];
  shhmmssddmonyyyy_r(&now, buffer);
  return std::string(buffer) + " " + std::string(now.sShort, strnlen(now.sShort, sizeof now.sShort));
}

std::string clock_title(int page_number, const char *host, const std::string &time_text) {
  char title[256];
  std::snprintf(title, sizeof title, _(page_info(page_number).clock_title), host, time_text.c_str());
  return title;
}

void update_page_titles(void) {
  std::string time_text = clock_time_text();
  for (int page = 0; page < PAGE_COUNT; ++page) {
    PageWindow *window = page_window(page);
    if (!window || !window->form_dialog) continue;
    std::string title = clock_title(page, host_name, time_text);
    XtVaSetValues(XtParent(window->form_dialog), XmNtitle, title.c_str(), nullptr);
  }
}

void status_clock(XtPointer, XtIntervalId *) {
  update_page_titles();
  XtAppAddTimeOut(app_context, 1000, status_clock, nullptr);
}
