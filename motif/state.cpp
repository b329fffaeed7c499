#include "motif/state.h"

XtAppContext app_context = nullptr;
Widget top_level = nullptr;
Display *main_display = nullptr;
Window shell_window = 0;
uint8_t motif_toolkit = 0;
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
