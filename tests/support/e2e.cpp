#include "tests/support/e2e.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

namespace e2e {

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int run(const std::string &command) { return std::system(command.c_str()); }

bool eventually(const std::function<bool()> &condition, int ms) {
  for (int waited = 0; waited < ms; waited += 100) {
    if (condition()) return true;
    pause_ms(100);
  }
  return condition();
}

void screenshot(const std::string &png) { run("import -window root " SETUP_BINARY_DIR "/" + png); }

std::string only_listing(const std::string &directory) {
  std::string found;
  if (DIR *dir = opendir(directory.c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() == 18 && name.compare(12, 6, ".setup") == 0) found = directory + "/" + name;
    }
    closedir(dir);
  }
  return found;
}

std::vector<std::string> changed_lines(const std::string &before, const std::string &after) {
  std::vector<std::string> a, b, changed;
  std::stringstream in_a(before), in_b(after);
  for (std::string line; std::getline(in_a, line);) a.push_back(line);
  for (std::string line; std::getline(in_b, line);) b.push_back(line);
  if (a.size() != b.size())
    return {"line count " + std::to_string(a.size()) + " -> " + std::to_string(b.size())};
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) changed.push_back(a[i] + " -> " + b[i]);
  return changed;
}

std::string main_title(void) {
  char host[64] = "";
  gethostname(host, sizeof host - 1);
  if (char *dot = std::strchr(host, '.')) *dot = '\0';
  return std::string("SETUP, ") + host;
}

namespace {

Window probe = 0;  // receives the PRIMARY selection

std::vector<Window> children(Window w) {
  Window root, parent, *list = nullptr;
  unsigned count = 0;
  std::vector<Window> result;
  // Bottom to top: the order in which the toolkit created them.
  if (XQueryTree(display(), w, &root, &parent, &list, &count)) result.assign(list, list + count);
  if (list) XFree(list);
  return result;
}

// The window's name in whatever encoding the toolkit set it (a plain
// string, compound text or UTF-8).
std::string title(Window w) {
  XTextProperty property{};
  std::string result;
  if (!XGetWMName(display(), w, &property) || !property.value) return result;
  char **list = nullptr;
  int count = 0;
  if (Xutf8TextPropertyToTextList(display(), &property, &list, &count) >= Success && count > 0 && list)
    result = list[0];
  if (list) XFreeStringList(list);
  XFree(property.value);
  return result;
}

}  // namespace

// Windows of the editor under test come and go while the harness looks at
// them (a dialog taken down, an editor ending): a request about a window
// that has just gone fails, and is read as "no such window".
static int ignore_vanished_window(Display *, XErrorEvent *) { return 0; }

Display *display(void) {
  static Display *held = nullptr;
  if (!held && (held = XOpenDisplay(nullptr))) {
    XSetErrorHandler(ignore_vanished_window);
    probe = XCreateSimpleWindow(held, DefaultRootWindow(held), 0, 0, 1, 1, 0, 0, 0);
  }
  return held;
}

Box box(Window w) {
  XWindowAttributes a{};
  Box b;
  if (!XGetWindowAttributes(display(), w, &a)) return b;
  Window child;
  XTranslateCoordinates(display(), w, DefaultRootWindow(display()), 0, 0, &b.x, &b.y, &child);
  b.left = a.x;
  b.width = a.width;
  b.height = a.height;
  b.viewable = a.map_state == IsViewable;
  return b;
}

Window titled(const std::string &prefix, bool shown_only, Window except) {
  for (Window w : children(DefaultRootWindow(display())))
    if (w != except && (!shown_only || box(w).viewable) && title(w).rfind(prefix, 0) == 0) return w;
  return 0;
}

Window wait_titled(const std::string &prefix, int ms, Window except) {
  Window found = 0;
  eventually([&] { return (found = titled(prefix, true, except)) != 0; }, ms);
  return found;
}

std::vector<Window> find(Window top, const std::function<bool(const Box &)> &accept) {
  std::vector<Window> found;
  for (Window w : children(top)) {
    Box b = box(w);
    if (!b.viewable) continue;
    if (accept(b)) found.push_back(w);
    for (Window below : find(w, accept)) found.push_back(below);
  }
  return found;
}

std::string primary(void) {
  Atom property = XInternAtom(display(), "E2E_PRIMARY", False);
  XConvertSelection(display(), XA_PRIMARY, XA_STRING, property, probe, CurrentTime);
  XFlush(display());
  std::string text;
  eventually(
      [&] {
        XEvent event;
        if (!XCheckTypedWindowEvent(display(), probe, SelectionNotify, &event)) return false;
        if (event.xselection.property == 0) return true;
        Atom type;
        int format;
        unsigned long items, left;
        unsigned char *data = nullptr;
        XGetWindowProperty(display(), probe, property, 0, 4096, True, AnyPropertyType, &type, &format, &items,
                           &left, &data);
        if (data) text = reinterpret_cast<char *>(data);
        if (data) XFree(data);
        return true;
      },
      2000);
  return text;
}

void click(const Box &b, int dx, int dy, int repeat) {
  run("xdotool mousemove " + std::to_string(b.x + dx) + " " + std::to_string(b.y + dy) +
      " sleep 0.1 click --repeat " + std::to_string(repeat) + " --delay 60 1");
  pause_ms(300);
}

void click_centre(Window w, int repeat) {
  Box b = box(w);
  click(b, b.width / 2, b.height / 2, repeat);
}

void xdotool(const std::string &what) {
  run("xdotool " + what);
  pause_ms(300);
}

void press_default(Window dialog) {
  const Box b = box(dialog);
  run("xdotool mousemove " + std::to_string(b.x + b.width / 2) + " " + std::to_string(b.y + 10));
  xdotool("key Return");
}

Editor::Editor(const std::string &site, std::vector<std::string> args, const std::string &named)
    : site_(site) {
  const std::string program = named.empty() ? SETUP_BINARY_DIR "/setup" : named;
  pid_ = fork();
  if (pid_ != 0) return;
  if (chdir(site.c_str()) != 0) _exit(127);
  int out = open("editor.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int err = open("editor.err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
  args.insert(args.begin(), program);
  std::vector<char *> argv;
  for (std::string &arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  execv(program.c_str(), argv.data());
  _exit(127);
}

Editor::~Editor() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

bool Editor::ended(int ms) {
  if (pid_ <= 0) return true;
  for (int waited = 0;; waited += 20) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return true;
    }
    if (waited >= ms) return false;
    pause_ms(20);
  }
}

int Editor::exit_status(int ms) {
  if (!ended(ms)) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

std::string Editor::out() const { return read_file(site_ + "/editor.out"); }
std::string Editor::err() const { return read_file(site_ + "/editor.err"); }

void Test::SetUp() {
  ASSERT_NE(display(), nullptr) << "no X display (run under xvfb-run)";
  display_name = DisplayString(display());
  char pattern[] = "/tmp/setup-e2e-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  site = pattern;
  ASSERT_EQ(run(SETUP_BINARY_DIR "/setup-site init " + site + " >/dev/null"), 0);
  const std::string data = SETUP_SOURCE_DIR "/data/";
  setenv("ZAMO_CONFIG", site.c_str(), 1);
  setenv("ZAMO_ROOT", data.c_str(), 1);
  setenv("ZAMO_BITMAPS", data.c_str(), 1);
  setenv("ZAMO_APP_DEFAULTS", data.c_str(), 1);
  setenv("ZAMO_LISTINGS", site.c_str(), 1);
  setenv("HOME", site.c_str(), 1);
  setenv("ZAMO_HELP_VIEWER", "true", 1);
  unsetenv("ZAMO_LIBEXEC_SERVICES");
}

void Test::TearDown() {
  editor.reset();
  setenv("DISPLAY", display_name.c_str(), 1);
  if (!site.empty()) run("rm -rf " + site);
}

void Test::start_editor(const std::string &mode) {
  editor.reset(new Editor(site, {mode}, program));
  main_window = wait_titled("SETUP, ");
  ASSERT_NE(main_window, 0u) << "main window: " << editor->err();
  // The loading dialog is made shortly after start and taken down once the
  // setups are read.
  eventually([] { return titled("SETUP: Loading", false) != 0; });
  eventually([] { return titled("SETUP: Loading") == 0; });
  pause_ms(500);
}

Window Test::open_page(bool control, int x, int y) {
  // Processor-only mode: the block diagram has only the two processor
  // buttons, the signal processor's above the control processor's.
  auto buttons =
      find(main_window, [](const Box &b) { return b.width > 100 && b.height > 50 && b.height < 100; });
  EXPECT_EQ(buttons.size(), 2u);
  if (buttons.size() != 2) return 0;
  if (box(buttons[0]).y > box(buttons[1]).y) std::swap(buttons[0], buttons[1]);
  click_centre(buttons[control ? 1 : 0]);
  return wait_page(control ? "Radar Control Processor Setups" : "Radar Video Processor Setups", x, y);
}

Window Test::open_data_system_page(int page_number, int x, int y) {
  // The ZAMO frame's buttons, top row left to right: Input, General; bottom
  // row: Ingest, Product, Output.
  auto buttons = find(main_window, [](const Box &b) { return b.width == 80 && b.height == 30; });
  EXPECT_EQ(buttons.size(), 5u);
  if (buttons.size() != 5) return 0;
  std::sort(buttons.begin(), buttons.end(), [](Window a, Window b) {
    return std::make_pair(box(a).y, box(a).x) < std::make_pair(box(b).y, box(b).x);
  });
  struct Page {
    int number, button;
    const char *title;
  };
  const Page pages[] = {{6, 0, "ZAMO Input Device Setups"},
                        {2, 1, "ZAMO General Setups"},
                        {3, 2, "ZAMO INGEST Setups"},
                        {4, 3, "ZAMO PRODUCT Setups"},
                        {5, 4, "ZAMO Output Device Setups"}};
  for (const Page &page : pages) {
    if (page.number != page_number) continue;
    click_centre(buttons[page.button]);
    return wait_page(page.title, x, y);
  }
  ADD_FAILURE() << "no data-system page " << page_number;
  return 0;
}

Window Test::wait_page(const std::string &title, int x, int y) {
  Window page = wait_titled(title);
  EXPECT_NE(page, 0u) << "page window " << title;
  if (page) xdotool("windowmove " + std::to_string(page) + " " + std::to_string(x) + " " + std::to_string(y));
  pause_ms(500);
  return page;
}

Window Test::field_showing(Window page, int left, const std::string &text, bool scroll) {
  // Option menus start a pixel left of the fields, hint menus take 26.
  auto is_field = [left](const Box &b) { return b.height == 30 && (b.left == left || b.left == left + 26); };
  auto is_scroll_bar = [](const Box &b) { return b.width < 30 && b.height > 300; };
  const Box view = box(page);
  std::set<Window> probed;
  for (int page_down = 0; page_down < 20; ++page_down) {
    std::vector<Window> fields = find(page, is_field);
    std::sort(fields.begin(), fields.end(), [](Window a, Window b) { return box(a).y < box(b).y; });
    for (Window field : fields) {
      Box b = box(field);
      if (probed.count(field) || b.y < view.y + 40 || b.y + b.height > view.y + view.height - 40) continue;
      probed.insert(field);
      click(b, b.width / 2, b.height / 2, 3);
      if (primary() == text) return field;
    }
    auto bars = find(page, is_scroll_bar);
    if (!scroll || bars.size() != 1) return 0;
    click(box(bars[0]), box(bars[0]).width / 2, box(bars[0]).height - 30);
  }
  return 0;
}

std::string Test::retype(Window page, int left, const std::string &shown, const std::string &text,
                         bool scroll) {
  Window field = field_showing(page, left, shown, scroll);
  if (!field) return "no field shows " + shown;
  xdotool("type --delay 50 '" + text + "'");  // replaces the selected text
  xdotool("key Return");
  click_centre(field, 3);
  return primary();
}

// A posted pull-down menu: a shown top-level window the window manager
// would not handle.
static bool menu_posted(void) {
  for (Window w : children(DefaultRootWindow(display()))) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(display(), w, &a) && a.override_redirect && a.map_state == IsViewable)
      return true;
  }
  return false;
}

void Test::file_menu(char mnemonic) {
  click(box(main_window), 20, 15);
  // A slow build posts the menu late; a key typed before goes elsewhere.
  eventually(menu_posted, 5000);
  xdotool(std::string("key ") + mnemonic);
}

std::string Test::list_all(size_t at_least) {
  file_menu('l');
  std::string listing;
  eventually([&] {
    std::string path = only_listing(site);
    return !path.empty() && (listing = read_file(path)).size() >= at_least;
  });
  return listing;
}

}  // namespace e2e
