// The terminal of setup-tui: curses started on a copy of standard output,
// with standard output and error captured so that nothing the core prints
// lands in the middle of the screen; keys, text by display width, and the
// terminal restored on every way out.
#pragma once

#include <string>
#include <vector>

// Function keys come as FN | KEY_...; anything else is a character.
enum { FN = 1 << 24 };
enum { CTRL_C = 3, CTRL_S = 19, CTRL_U = 21, ESC = 27 };

// Starts curses on the terminal; false when it cannot. With NO_COLOR set
// (and not empty) the screen is monochrome.
bool start_terminal(void);
// Ends curses and gives standard output and error back.
void end_terminal(void);
// The next key. SIGHUP and SIGTERM end the program here, without saving.
int next_key(void);
// What the core printed since the last call, line by line.
std::vector<std::string> captured_output(void);

// Text for the screen: control bytes shown as \xHH, in the user's locale.
std::wstring wide(const std::string &text);
std::string narrow(const std::wstring &text);
int width_of(const std::wstring &text);
// Cut to `width` columns, with "…" at the cut.
std::wstring fit(const std::wstring &text, int width);
// `text` at (y, x), cut to `width` and padded with blanks to it.
void put(int y, int x, const std::wstring &text, int width, int attributes = 0);

// Attributes of the screen's parts (colours unless NO_COLOR).
int title_attributes(void);
int heading_attributes(void);
int chosen_attributes(void);
