#include "items/state.h"

#include <cstdio>

#include "sitelib/sitelib.h"

XtAppContext app_context = nullptr;
Widget top_level = nullptr;
Display *main_display = nullptr;
Window shell_window = 0;
char host_name[64] = "";
int16_t full_mode = 1;
uint8_t motif_toolkit = 0;
int16_t count_seen = 0;
int16_t error_found = 0;
Cursor busy_cursor = None;

void busy_cursor_on(void) {
  if (main_display && shell_window && busy_cursor != None) {
    XDefineCursor(main_display, shell_window, busy_cursor);
    XFlush(main_display);
  }
}

void busy_cursor_off(void) {
  if (main_display && shell_window) {
    XUndefineCursor(main_display, shell_window);
    XFlush(main_display);
  }
}

void (*help_failure_report)(const char *reason) = nullptr;

void start_help(const char *topic) {
  int status = helpStart(1, topic, 0);
  if (status == SITE_OK) return;
  const char *reason = message_to_text(status, 0, 0);
  if (help_failure_report)
    help_failure_report(reason);
  else
    std::fprintf(stderr, "%s\n", reason);
}
