// Dialogs made once and reused: the warning dialog with its three modes and
// the loading dialog.
#pragma once

#include <X11/Intrinsic.h>

enum WarningMode {
  WarningSaveAndExit = 1,  // OK: save the changed areas and exit 0; Cancel: exit 0
  WarningReadOnly = 2,     // OK: continue read-only; Cancel: exit 1
  WarningInformation = 3,  // OK: close
};

// Shows "warndiag" with the message; a button whose label is nullptr is
// hidden. Labels and message are already translated.
void show_warning(WarningMode mode, const char *message, const char *ok_label, const char *cancel_label);
void hide_warning(void);
// What "OK" does in the read-only start mode (set by start-up).
void set_read_only_continue(void (*action)(void));

void show_loading_dialog(const char *message);
void hide_loading_dialog(void);

// The error status dialog: the line appended and the dialog shown.
void add_error_status_dialog_line(const char *line);
// The dialog, or nullptr before the first line or without a display.
Widget error_status_dialog(void);
