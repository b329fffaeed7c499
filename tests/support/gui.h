// In-process GUI tests: one Xt application shell on $DISPLAY for the whole
// test program.
#pragma once

#include <X11/Intrinsic.h>

// Opens the display and creates the application shell once (sets
// app_context, top_level and main_display). Returns false without a display.
bool gui_init(void);

// Processes pending X events and timeouts for about `ms` milliseconds.
void gui_process(int ms);

// Finds a widget by name below `root` (depth first), or nullptr.
Widget gui_find(Widget root, const char *name);

#define REQUIRE_DISPLAY()                                                 \
  do {                                                                    \
    if (!gui_init()) GTEST_FAIL() << "no X display (run under xvfb-run)"; \
  } while (0)
