// End-to-end tests: the real editor on a site made with setup-site, driven
// from outside with xdotool; the test reads the X window tree and the
// PRIMARY selection on a connection of its own.
#pragma once

#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Xlib.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace e2e {

void pause_ms(int ms);
int run(const std::string &command);
// Waits up to `ms` for the condition; its last answer.
bool eventually(const std::function<bool()> &condition, int ms = 8000);
// The whole screen into the build directory, for a look after the run.
void screenshot(const std::string &png);
// The listing file ("YYYYMMDDhhmm.setup") in the directory, or "".
std::string only_listing(const std::string &directory);
// Lines of `after` that differ from `before`, as "old -> new" (or the
// change of the line count).
std::vector<std::string> changed_lines(const std::string &before, const std::string &after);
// "SETUP, " and the short host name: the main window's title.
std::string main_title(void);

struct Box {
  int x = 0, y = 0;  // on the root window
  int width = 0, height = 0;
  int left = 0;  // within the parent
  bool viewable = false;
};

// The server, on one connection held for the whole test program (a server
// that resets when its last client leaves refuses connections meanwhile).
// nullptr without a display.
Display *display(void);
Box box(Window w);
// The top-level window whose title begins with `prefix` (only while it is
// shown unless `shown_only` is false), or 0.
Window titled(const std::string &prefix, bool shown_only = true, Window except = 0);
// Waits for a shown one other than `except` (another editor's window).
Window wait_titled(const std::string &prefix, int ms = 10000, Window except = 0);
// Viewable descendants of `top` that `accept` takes, in creation order.
std::vector<Window> find(Window top, const std::function<bool(const Box &)> &accept);
// The PRIMARY selection as text ("" when nobody owns it).
std::string primary(void);

// Moves the pointer without --sync, which waits long for a pointer that is
// already there, and clicks button 1 `repeat` times.
void click(const Box &b, int dx, int dy, int repeat = 1);
void click_centre(Window w, int repeat = 1);
void xdotool(const std::string &what);
// Return in a dialog with the pointer over it: its default button.
void press_default(Window dialog);

// The editor as a child in the site's directory; standard output and error
// go to files there. The program is the build's unless another is named.
class Editor {
 public:
  Editor(const std::string &site, std::vector<std::string> args, const std::string &program = "");
  ~Editor();
  // True once it has ended, waiting up to `ms`; `status` is its wait status.
  bool ended(int ms);
  // The exit status, or -1 while it still runs after `ms`.
  int exit_status(int ms = 5000);
  std::string out() const;
  std::string err() const;
  int status = -1;

 private:
  std::string site_;
  pid_t pid_ = -1;
};

// A fresh site for each test, the editor's variables pointing at it.
class Test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the editor (processor-only mode unless `mode` says otherwise)
  // and waits for the main window and for the loading dialog to come and go.
  void start_editor(const std::string &mode = "-rda");
  // Clicks the signal processor's (upper) or the control processor's
  // (lower) page button of the block diagram and waits for the page, moved
  // to (x, y) out of the way of the main window's menu bar.
  Window open_page(bool control, int x, int y);
  // Full mode: clicks the data-system page's button in the ZAMO frame (by
  // page number, 2 to 6) and waits for its window, moved to (x, y).
  Window open_data_system_page(int page_number, int x, int y);
  // The text field of `page` that shows `text`, by selecting each field in
  // view from the top (the last field selected stays selected). Fields are
  // 30 pixels high and begin `left` pixels into their row, right of the
  // label column, or after a hint menu. With `scroll` it pages down with
  // the vertical scroll bar for more. 0 if none.
  Window field_showing(Window page, int left, const std::string &text, bool scroll = false);
  // Types `text` over the field that shows `shown` (as field_showing finds
  // it), then Return; what the field shows after that, selected again.
  std::string retype(Window page, int left, const std::string &shown, const std::string &text,
                     bool scroll = false);
  // Opens the File menu and picks the entry by its mnemonic.
  void file_menu(char mnemonic);
  // File > List all, and the listing once it holds `at_least` bytes.
  std::string list_all(size_t at_least);

  // Waits for the page window titled so and moves it to (x, y).
  Window wait_page(const std::string &title, int x, int y);

  std::string site;
  std::string program;  // the editor start_editor runs; the build's when empty
  std::string display_name;
  std::unique_ptr<Editor> editor;
  Window main_window = 0;
};

}  // namespace e2e
