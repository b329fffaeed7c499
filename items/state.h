// Process-wide state of the program, shared by every layer above the site
// library. Everything runs on one thread, so none of it is locked.
#pragma once

#include <cstdint>

extern char host_name[64];        // gethostname, cut at the first '.'
extern int16_t full_mode;         // 1 full mode, 0 processor-only mode
extern int16_t count_seen;        // set after a page's count item
extern int16_t error_found;       // set by every bounds check line
extern const char *program_name;  // as the change log names it

// Opens the help viewer at `topic`; when it cannot be started, the reason
// (with the page to open by hand) goes to the installed front end, or to
// standard error without one.
void start_help(const char *topic);
