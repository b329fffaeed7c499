#include "tui/terminal.h"

#include <curses.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "session/session.h"

namespace {

SCREEN *the_screen = nullptr;
FILE *terminal_out = nullptr;
int saved_out = -1, saved_err = -1;
FILE *capture = nullptr;
off_t capture_read = 0;
bool colours = false;
volatile sig_atomic_t end_signal = 0;

void on_end_signal(int signal) { end_signal = signal; }

// A crash: the terminal back as it was, then the signal's own end.
void on_crash(int signal) {
  end_terminal();
  std::signal(signal, SIG_DFL);
  raise(signal);
}

void install_signals(void) {
  struct sigaction ending = {};
  ending.sa_handler = on_end_signal;
  sigemptyset(&ending.sa_mask);
  for (int signal : {SIGHUP, SIGTERM, SIGINT, SIGQUIT}) sigaction(signal, &ending, nullptr);
  for (int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(crash, on_crash);
}

int width_of(wchar_t c) {
  int w = wcwidth(c);
  return w < 0 ? 1 : w;
}

}  // namespace

bool start_terminal(void) {
  std::fflush(stdout);
  std::fflush(stderr);
  int out = dup(STDOUT_FILENO);
  saved_out = dup(STDOUT_FILENO);
  saved_err = dup(STDERR_FILENO);
  capture = tmpfile();
  terminal_out = out >= 0 ? fdopen(out, "w") : nullptr;
  if (!terminal_out || !capture || saved_out < 0 || saved_err < 0) return false;
  // A short Esc delay, unless the user chose one.
  setenv("ESCDELAY", "25", 0);
  the_screen = newterm(nullptr, terminal_out, stdin);
  if (!the_screen) return false;
  dup2(fileno(capture), STDOUT_FILENO);
  dup2(fileno(capture), STDERR_FILENO);
  install_signals();
  raw();  // Ctrl+S, Ctrl+Q and Ctrl+C reach the program
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  timeout(250);
  curs_set(0);
  const char *no_colour = std::getenv("NO_COLOR");
  colours = !(no_colour && *no_colour) && has_colors();
  if (colours) {
    start_color();
    use_default_colors();
    init_pair(1, COLOR_WHITE, COLOR_BLUE);
    init_pair(2, COLOR_CYAN, -1);
    init_pair(3, COLOR_BLACK, COLOR_CYAN);
  }
  return true;
}

void end_terminal(void) {
  if (the_screen) {
    endwin();
    std::fflush(terminal_out);
  }
  the_screen = nullptr;
  std::fflush(stdout);
  std::fflush(stderr);
  if (saved_out >= 0) dup2(saved_out, STDOUT_FILENO);
  if (saved_err >= 0) dup2(saved_err, STDERR_FILENO);
}

int next_key(void) {
  for (;;) {
    wint_t c = 0;
    int got = get_wch(&c);
    if (end_signal) {
      const int signal = end_signal;
      end_terminal();
      std::signal(signal, SIG_DFL);
      raise(signal);
      _exit(128 + signal);
    }
    if (got == KEY_CODE_YES) return FN | static_cast<int>(c);
    if (got == OK) return static_cast<int>(c);
  }
}

std::vector<std::string> captured_output(void) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::string text;
  char buffer[4096];
  for (ssize_t n; capture && (n = pread(fileno(capture), buffer, sizeof buffer, capture_read)) > 0;) {
    text.append(buffer, n);
    capture_read += n;
  }
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::wstring wide(const std::string &text) {
  const std::string clean = session::printable(text);
  std::wstring out;
  std::mbstate_t state{};
  const char *p = clean.c_str(), *end = p + clean.size();
  while (p < end) {
    wchar_t c;
    size_t n = std::mbrtowc(&c, p, end - p, &state);
    if (n == 0 || n > static_cast<size_t>(end - p)) {  // not in this locale's character set
      c = L'?';
      n = 1;
      state = std::mbstate_t{};
    }
    out += c;
    p += n;
  }
  return out;
}

std::string narrow(const std::wstring &text) {
  std::string out;
  std::mbstate_t state{};
  char bytes[MB_LEN_MAX];
  for (wchar_t c : text) {
    size_t n = std::wcrtomb(bytes, c, &state);
    if (n != static_cast<size_t>(-1)) out.append(bytes, n);
  }
  return out;
}

int width_of(const std::wstring &text) {
  int width = 0;
  for (wchar_t c : text) width += width_of(c);
  return width;
}

std::wstring fit(const std::wstring &text, int width) {
  if (width <= 0) return L"";
  if (width_of(text) <= width) return text;
  std::wstring out;
  int used = 0;
  for (wchar_t c : text) {
    if (used + width_of(c) > width - 1) break;
    out += c;
    used += width_of(c);
  }
  return out + (MB_CUR_MAX > 1 ? L'…' : L'~');
}

void put(int y, int x, const std::wstring &text, int width, int attributes) {
  if (y < 0 || y >= LINES || width <= 0) return;
  std::wstring shown = fit(text, width);
  shown.append(width - width_of(shown), L' ');
  attron(attributes);
  mvaddnwstr(y, x, shown.c_str(), -1);
  attroff(attributes);
}

int title_attributes(void) { return colours ? COLOR_PAIR(1) | A_BOLD : A_REVERSE; }
int heading_attributes(void) { return colours ? COLOR_PAIR(2) | A_BOLD : A_BOLD | A_UNDERLINE; }
int chosen_attributes(void) { return colours ? COLOR_PAIR(3) : A_REVERSE; }
