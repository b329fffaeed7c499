// Process-wide state of the editor, shared by every layer above the site
// library. Everything runs on the one Xt thread, so none of it is locked.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

extern XtAppContext app_context;  // from XtVaAppInitialize
extern Widget top_level;          // the application shell; parent of dialogs
extern Display *main_display;     // set after realisation
extern Window shell_window;       // the main shell's window
extern char host_name[64];        // gethostname, cut at the first '.'
extern int16_t full_mode;         // 1 full mode, 0 processor-only mode
extern uint8_t motif_toolkit;     // 1 when the toolkit version names Motif
extern int16_t count_seen;        // set after a page's count item
extern int16_t error_found;       // set by every bounds check line
extern Cursor busy_cursor;        // None when no bitmaps were found

// Defines / removes the busy cursor on the main shell's window (no-op
// without a window or cursor).
void busy_cursor_on(void);
void busy_cursor_off(void);

// Opens the help viewer at `topic`; when it cannot be started, the reason
// (with the page to open by hand) goes to help_failure_report, or to
// standard error while none is set.
void start_help(const char *topic);
extern void (*help_failure_report)(const char *reason);
