// The real editor on a site made for the test: one value changed through
// the control processor page, then File > Save or File > Exit. Drives the
// program from outside with xdotool and reads the X window tree and the
// PRIMARY selection.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int run(const std::string &command) { return std::system(command.c_str()); }

std::string read_file(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> lines_of(const std::string &text) {
  std::vector<std::string> lines;
  std::stringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Box {
  int x = 0, y = 0;  // on the root window
  int width = 0, height = 0;
  int left = 0;  // in the parent window
  bool viewable = false;
};

// The X server as the test sees it, on its own connection.
class Screen {
 public:
  Screen() : display_(XOpenDisplay(nullptr)) {
    if (display_) probe_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
  }
  ~Screen() {
    if (display_) XCloseDisplay(display_);
  }
  bool open() const { return display_ != nullptr; }

  // The viewable top-level window whose title begins with `prefix`.
  Window top_level(const std::string &prefix, int timeout_ms = 10000) {
    for (int waited = 0; waited <= timeout_ms; waited += 100) {
      for (Window w : children(DefaultRootWindow(display_)))
        if (title(w).rfind(prefix, 0) == 0 && box(w).viewable) return w;
      pause_ms(100);
    }
    return 0;
  }

  Box box(Window w) {
    XWindowAttributes a;
    Box b;
    if (!XGetWindowAttributes(display_, w, &a)) return b;
    Window child;
    XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &b.x, &b.y, &child);
    b.left = a.x;
    b.width = a.width;
    b.height = a.height;
    b.viewable = a.map_state == IsViewable;
    return b;
  }

  // Viewable descendants, in the order the toolkit created them.
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

  // The PRIMARY selection as text ("" when nobody owns it).
  std::string primary() {
    Atom property = XInternAtom(display_, "E2E_STORE_PRIMARY", False);
    XConvertSelection(display_, XA_PRIMARY, XA_STRING, property, probe_, CurrentTime);
    XFlush(display_);
    for (int waited = 0; waited < 2000; waited += 20) {
      XEvent event;
      if (XCheckTypedWindowEvent(display_, probe_, SelectionNotify, &event)) {
        if (event.xselection.property == 0) return "";
        Atom type;
        int format;
        unsigned long items, left;
        unsigned char *data = nullptr;
        XGetWindowProperty(display_, probe_, property, 0, 4096, True, AnyPropertyType, &type, &format, &items,
                           &left, &data);
        std::string text = data ? reinterpret_cast<char *>(data) : "";
        if (data) XFree(data);
        return text;
      }
      pause_ms(20);
    }
    return "";
  }

 private:
  std::string title(Window w) {
    char *name = nullptr;
    std::string result;
    if (XFetchName(display_, w, &name) && name) result = name;
    if (name) XFree(name);
    return result;
  }

  std::vector<Window> children(Window w) {
    Window root, parent, *list = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(display_, w, &root, &parent, &list, &count)) result.assign(list, list + count);
    if (list) XFree(list);
    return result;
  }

  Display *display_;
  Window probe_ = 0;
};

void click(const Box &b, int dx, int dy, int repeat = 1) {
  run("xdotool mousemove --sync " + std::to_string(b.x + dx) + " " + std::to_string(b.y + dy) +
      " click --repeat " + std::to_string(repeat) + " --delay 60 1");
  pause_ms(300);
}

void keys(const std::string &what) {
  run("xdotool " + what);
  pause_ms(300);
}

class StoreEndToEnd : public ::testing::Test {
 protected:
  std::string site;
  std::string zel_file;
  pid_t editor = -1;
  Screen screen;
  Window main_window = 0;

  void SetUp() override {
    ASSERT_TRUE(screen.open()) << "no X display (run under xvfb-run)";
    char pattern[] = "/tmp/store-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    site = pattern;
    zel_file = site + "/setup_ant.conf";
    ASSERT_EQ(run(std::string(SETUP_BINARY_DIR) + "/setup-site init " + site + " >/dev/null"), 0);
    ASSERT_NE(read_file(zel_file).find("zel.iBaudRate1 = 9600\n"), std::string::npos);
  }

  void TearDown() override {
    if (editor > 0) {
      kill(editor, SIGTERM);
      waitpid(editor, nullptr, 0);
    }
    if (!site.empty()) run("rm -rf " + site);
  }

  void start_editor() {
    editor = fork();
    ASSERT_GE(editor, 0);
    if (editor == 0) {
      if (chdir(site.c_str()) != 0) _exit(127);
      const std::string data = std::string(SETUP_SOURCE_DIR) + "/data/";
      setenv("ZAMO_CONFIG", site.c_str(), 1);
      setenv("ZAMO_ROOT", data.c_str(), 1);
      setenv("ZAMO_BITMAPS", data.c_str(), 1);
      setenv("ZAMO_APP_DEFAULTS", data.c_str(), 1);
      setenv("ZAMO_LISTINGS", site.c_str(), 1);
      setenv("ZAMO_HELP_VIEWER", "true", 1);
      const std::string program = std::string(SETUP_BINARY_DIR) + "/setup";
      execl(program.c_str(), program.c_str(), "-rda", static_cast<char *>(nullptr));
      _exit(127);
    }
    main_window = screen.top_level("SETUP");
    ASSERT_NE(main_window, 0u) << "main window";
    pause_ms(300);
    for (int waited = 0; waited < 10000 && screen.top_level("SETUP: Loading", 0); waited += 100)
      pause_ms(100);
    pause_ms(500);
  }

  // Opens the control processor page and types `rate` into the main serial
  // line's baud rate field.
  void type_baud_rate(const std::string &rate) {
    // The control processor's page button stands below the signal
    // processor's in the block diagram.
    auto buttons = screen.find(main_window,
                               [](const Box &b) { return b.width > 100 && b.height > 50 && b.height < 100; });
    ASSERT_EQ(buttons.size(), 2u);
    Box zel_button = screen.box(buttons[0]);
    if (screen.box(buttons[1]).y > zel_button.y) zel_button = screen.box(buttons[1]);
    click(zel_button, zel_button.width / 2, zel_button.height / 2);
    Window page = screen.top_level("Radar Control Processor Setups");
    ASSERT_NE(page, 0u) << "page window";
    keys("windowmove " + std::to_string(page) + " 260 0");  // clear of the main window's menus

    // Text fields: 30 pixels high right of the label column, within the
    // part of the page on screen; the first showing the loaded rate is the
    // main serial line's.
    Box shown = screen.box(page);
    auto fields = screen.find(page, [&shown](const Box &b) {
      return b.height == 30 && b.width > 100 && b.left >= 277 && b.y >= shown.y &&
             b.y + b.height <= shown.y + shown.height;
    });
    for (Window field : fields) {
      Box b = screen.box(field);
      click(b, b.width / 2, b.height / 2, 3);
      if (screen.primary() == "9600 baud") {
        keys("type --delay 50 " + rate);  // replaces the selected text
        keys("key Return");
        return;
      }
    }
    FAIL() << "no field shows the loaded baud rate";
  }

  // File menu of the main window, then the entry's mnemonic.
  void file_menu(const char *mnemonic) {
    click(screen.box(main_window), 20, 15);
    keys(std::string("key ") + mnemonic);
  }

  // The editor's exit status, or -1 while it runs after `timeout_ms`.
  int exit_status(int timeout_ms = 5000) {
    for (int waited = 0; waited <= timeout_ms; waited += 100) {
      int status = 0;
      if (waitpid(editor, &status, WNOHANG) == editor) {
        editor = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
      }
      pause_ms(100);
    }
    return -1;
  }
};

TEST_F(StoreEndToEnd, SaveChangesExactlyTheEditedLineThenExitFindsNothingChanged) {
  std::string before = read_file(zel_file);
  start_editor();
  type_baud_rate("4800");
  file_menu("s");
  for (int waited = 0; waited < 5000 && read_file(zel_file) == before; waited += 100) pause_ms(100);

  EXPECT_EQ(before, read_file(zel_file + ".bak"));
  std::vector<std::string> old_lines = lines_of(before), new_lines = lines_of(read_file(zel_file));
  ASSERT_EQ(old_lines.size(), new_lines.size());
  std::vector<std::string> changed;
  for (size_t i = 0; i < old_lines.size(); ++i)
    if (old_lines[i] != new_lines[i]) changed.push_back(old_lines[i] + " -> " + new_lines[i]);
  EXPECT_EQ(std::vector<std::string>{"zel.iBaudRate1 = 9600 -> zel.iBaudRate1 = 4800"}, changed);

  Window message = screen.top_level("Warning", 2000);
  EXPECT_NE(message, 0u) << "the saved message";
  pause_ms(3500);
  file_menu("e");
  EXPECT_EQ(1, exit_status()) << "Exit with nothing changed";
}

TEST_F(StoreEndToEnd, ExitWithAnUnsavedChangeAndSave) {
  start_editor();
  type_baud_rate("19200");
  file_menu("e");
  Window question = screen.top_level("Warning", 5000);
  ASSERT_NE(question, 0u) << "the save question";
  Box box = screen.box(question);
  run("xdotool mousemove --sync " + std::to_string(box.x + box.width / 2) + " " + std::to_string(box.y + 10));
  keys("key Return");  // the default button: "Save"
  EXPECT_EQ(0, exit_status());
  EXPECT_NE(read_file(zel_file).find("zel.iBaudRate1 = 19200\n"), std::string::npos);
}

}  // namespace
