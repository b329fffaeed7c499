// Start-up of the editor against a minimal Motif program, as a user waits
// for it: from exec to the main window mapped, and to the end of the
// start-up load.
#pragma once

#include <string>

struct StartupFigures {
  double editor_mapped_ms = 0;
  double editor_loaded_ms = 0;  // less the fixed timer that starts the load
  double minimal_mapped_ms = 0;
  double mapped_ratio = 0;  // the median of each round's editor mapped / minimal mapped
  // Replies waited for from exec to the main window mapped and to the load
  // done, in one more run of each with every reply logged (-1: not known).
  long editor_replies_mapped = -1, editor_replies_loaded = -1, minimal_replies_mapped = -1;
  bool ok = false;
};

// Runs each program `rounds` times, alternating, on a factory site that
// names the user an operator; medians (the ratio from each round's pair:
// the machine's speed drifts more between rounds than within one). The programs use DISPLAY; their
// windows are watched on `watch_display` (the real server when DISPLAY is
// a proxy; empty: DISPLAY too).
StartupFigures time_startup(int rounds, const std::string &watch_display = "");

// One start-up of the editor with the callers of every reply waited for,
// each marked as before the main window was mapped, before the load was
// done or after; printed.
void trace_startup_replies(const std::string &watch_display);

// Every setup-site command timed on a factory site (median wall ms of
// `rounds` runs each), and apply of 1,000 lines that writes; printed.
void print_site_tool_times(int rounds);

// A factory site in a new temporary directory (empty when none could be made).
std::string make_factory_site(void);

// setup-tui's first screen and its keys on a large page; printed.
void print_tui_times(int rounds);
