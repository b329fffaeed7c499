// What the program learns about its host: its name and whether it runs the
// data system (full mode) or only a signal processor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Full mode (1) unless a "kox4" or "kox5" service exists under `prefix` and
// no "start_zamo" does. The prefix is used as it stands (no "/" is added);
// nullptr means full mode.
int16_t decide_full_mode(const char *prefix);

// Cuts a host name at its first '.'.
void cut_host_name(char *name);

// host_name from gethostname, cut at its first '.'.
void read_host_name(void);

// The toolkit copies some environment values into fixed buffers and aborts
// on a longer one (Motif: HOME, 1024 bytes, when it makes the first
// dialog). Takes each over-long one out of the environment before the
// toolkit starts, keeping HOME for the program's own use; returns a message
// for each.
std::vector<std::string> hide_long_toolkit_values(void);

// $HOME as the program was started with, or nullptr.
const char *home_directory(void);
