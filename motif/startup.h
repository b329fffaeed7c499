// Start-up of the editor: command line, mode decision and the steps that
// create the main window. The parsing and deciding parts are plain functions
// so that they can be tried without a display.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>
#include <string>

#include "store/host.h"

struct CommandLine {
  bool usage_error = false;
  bool mode_chosen = false;  // a -zamo, -rda or -kox2 was given
  int16_t full_mode = 1;     // the last mode option given
  bool display_given = false;
  std::string display;  // the name after the last -disp / -display
};

// Every argument begins with "-"; "disp"/"display" takes the next argument
// as the display name; "zamo", "rda" and "kox2" choose the mode, the last
// one winning. Parsing goes on to the end after an error.
CommandLine parse_command_line(int argc, char **argv);

// Puts DISPLAY=name into the environment for the rest of the run.
void set_display(const std::string &name);

// Prints the usage text on standard output.
void print_usage(void);

// 1 when the Motif library's version string names Motif.
uint8_t toolkit_is_motif(void);

// $ZAMO_APP_DEFAULTS + "tolvek", or the installation's "tolvek" when
// ZAMO_APP_DEFAULTS is unset.
std::string fallback_resource_file(void);

// Merges "tolvek.rf" from the working directory into the display's
// database, or, only when that fails, the fallback resource file.
void merge_resource_files(Display *display);

// The main window's File and Help menus; keeps the Save entry.
Widget build_main_menus(Widget main_window);
extern Widget save_entry;

// "SETUP, host" as the shell's title and icon name.
void set_shell_title(void);

// The operator's start or the read-only question, as timeouts.
void arm_start_timeouts(bool is_operator);
