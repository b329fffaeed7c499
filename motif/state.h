// Process-wide state of the Motif editor: the toolkit's application, the
// main shell and its display. Everything runs on the one Xt thread.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

#include "items/state.h"

extern XtAppContext app_context;  // from XtVaAppInitialize
extern Widget top_level;          // the application shell; parent of dialogs
extern Display *main_display;     // set after realisation
extern Window shell_window;       // the main shell's window
extern uint8_t motif_toolkit;     // 1 when the toolkit version names Motif
extern Cursor busy_cursor;        // None when no bitmaps were found

// Defines / removes the busy cursor on the main shell's window (no-op
// without a window or cursor).
void busy_cursor_on(void);
void busy_cursor_off(void);
