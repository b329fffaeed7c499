// The real editor on a demo site: open the control processor page from the
// main panel, change the ground height in its field, save, and find the new
// value in the control processor's setup file. Drives the program from
// outside with xdotool and reads the X window tree and PRIMARY selection.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>
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

struct Geometry {
  int x = 0, y = 0;  // relative to the root
  int width = 0, height = 0;
  int left = 0;  // relative to the parent window
  bool viewable = false;
};

class Screen {
 public:
  Screen() : display_(XOpenDisplay(nullptr)) {
    if (display_) probe_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
  }
  ~Screen() {
    if (display_) XCloseDisplay(display_);
  }
  bool open() const { return display_ != nullptr; }

  std::string name_of(Window w) {
    char *name = nullptr;
    std::string result;
    if (XFetchName(display_, w, &name) && name) result = name;
    if (name) XFree(name);
    return result;
  }

  // The top-level window whose title begins with `prefix`, waiting for it.
  Window top_level(const std::string &prefix, int timeout_ms = 10000) {
    for (int waited = 0; waited < timeout_ms; waited += 100) {
      Window root, parent, *children = nullptr;
      unsigned count = 0;
      XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
      Window found = 0;
      for (unsigned i = 0; i < count && !found; ++i)
        if (name_of(children[i]).rfind(prefix, 0) == 0 && geometry(children[i]).viewable) found = children[i];
      if (children) XFree(children);
      if (found) return found;
      pause_ms(100);
    }
    return 0;
  }

  Geometry geometry(Window w) {
    XWindowAttributes a;
    Geometry g;
    if (!XGetWindowAttributes(display_, w, &a)) return g;
    Window child;
    XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &g.x, &g.y, &child);
    g.left = a.x;
    g.width = a.width;
    g.height = a.height;
    g.viewable = a.map_state == IsViewable;
    return g;
  }

  // Viewable descendants in creation order that the predicate accepts.
  std::vector<Window> find(Window top, const std::function<bool(const Geometry &, Window)> &accept) {
    std::vector<Window> found;
    walk(top, accept, found);
    return found;
  }

  // The PRIMARY selection as text ("" when nobody owns it).
  std::string primary() {
    Atom property = XInternAtom(display_, "E2E_PRIMARY", False);
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
  void walk(Window w, const std::function<bool(const Geometry &, Window)> &accept,
            std::vector<Window> &found) {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, w, &root, &parent, &children, &count)) return;
    // XQueryTree lists children bottom to top, which is the order the
    // toolkit created and mapped them in.
    for (unsigned i = 0; i < count; ++i) {
      Geometry g = geometry(children[i]);
      if (!g.viewable) continue;
      if (accept(g, children[i])) found.push_back(children[i]);
      walk(children[i], accept, found);
    }
    if (children) XFree(children);
  }

  Display *display_;
  Window probe_ = 0;
};

void click(const Geometry &g, int dx, int dy, int repeat = 1) {
  run("xdotool mousemove " + std::to_string(g.x + dx) + " " + std::to_string(g.y + dy) + " click --repeat " +
      std::to_string(repeat) + " --delay 60 1");
  pause_ms(300);
}

void keys(const std::string &what) {
  run("xdotool " + what);
  pause_ms(300);
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    site = pattern;
    ASSERT_EQ(run(std::string(SETUP_BINARY_DIR) + "/setup-site init " + site + " >/dev/null"), 0);
    // A ground height that no other field of the page shows.
    ASSERT_EQ(run("sed -i 's/^zel.ignd_hgt = .*/zel.ignd_hgt = 123/' " + site + "/setup_ant.conf"), 0);
    ASSERT_NE(read_file(site + "/setup_ant.conf").find("zel.ignd_hgt = 123\n"), std::string::npos);
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
      setenv("HOME", site.c_str(), 1);
      setenv("ZAMO_HELP_VIEWER", "true", 1);
      const std::string program = std::string(SETUP_BINARY_DIR) + "/setup";
      execl(program.c_str(), program.c_str(), "-rda", static_cast<char *>(nullptr));
      _exit(127);
    }
  }

  std::string site;
  pid_t editor = -1;
};

TEST_F(EndToEnd, GroundHeightTypedIntoThePageIsSaved) {
  Screen screen;
  ASSERT_TRUE(screen.open()) << "no X display (run under xvfb-run)";
  start_editor();

  Window main_window = screen.top_level("SETUP, ");
  ASSERT_NE(main_window, 0u) << "main window";
  // The loading dialog is gone once the load has finished.
  for (int waited = 0; waited < 10000 && screen.top_level("SETUP: Loading", 10); waited += 100) pause_ms(100);
  pause_ms(500);

  // The page buttons of the block diagram are its two large buttons; the
  // control processor's stands below the signal processor's.
  auto buttons = screen.find(main_window, [](const Geometry &g, Window) {
    return g.width > 100 && g.height > 50 && g.height < 100;
  });
  ASSERT_EQ(buttons.size(), 2u);
  Geometry zel_button = screen.geometry(buttons[0]);
  Geometry other = screen.geometry(buttons[1]);
  if (other.y > zel_button.y) zel_button = other;
  click(zel_button, zel_button.width / 2, zel_button.height / 2);

  Window page = screen.top_level("Radar Control Processor Setups");
  ASSERT_NE(page, 0u) << "page window";
  // Out of the way of the main window's menu bar (no window manager here).
  keys("windowmove " + std::to_string(page) + " 260 0");
  pause_ms(500);
  run("import -window root " + std::string(SETUP_BINARY_DIR) + "/e2e_control_processor.png");

  // Text fields are the wide 30 pixel high windows right of the label
  // column (toggles and option menus start a little further left); the one
  // that shows the loaded height is the ground height's. Fields scrolled out
  // of sight are reached by paging down with the vertical scroll bar.
  auto is_field = [](const Geometry &g, Window) { return g.height == 30 && g.width > 100 && g.left >= 277; };
  auto is_scroll_bar = [](const Geometry &g, Window) { return g.width < 30 && g.height > 300; };
  const Geometry view = screen.geometry(page);
  auto in_view = [&](const Geometry &g) {
    return g.y > view.y + 40 && g.y + g.height < view.y + view.height - 30;
  };
  std::set<Window> probed;
  Window ground = 0;
  for (int page_down = 0; page_down < 20 && !ground; ++page_down) {
    for (Window field : screen.find(page, is_field)) {
      Geometry g = screen.geometry(field);
      if (probed.count(field) || !in_view(g)) continue;
      probed.insert(field);
      click(g, g.width / 2, g.height / 2, 3);
      if (screen.primary() == "123.0 meters") {
        ground = field;
        break;
      }
    }
    if (ground) break;
    auto bars = screen.find(page, is_scroll_bar);
    ASSERT_EQ(bars.size(), 1u) << "vertical scroll bar";
    Geometry bar = screen.geometry(bars[0]);
    click(bar, bar.width / 2, bar.height - 30);
  }
  ASSERT_NE(ground, 0u) << "no field shows the loaded ground height";

  // The whole text is selected: typing replaces it.
  keys("type --delay 50 456");
  keys("key Return");
  Geometry g = screen.geometry(ground);
  click(g, g.width / 2, g.height / 2, 3);
  EXPECT_EQ(screen.primary(), "456.0 meters");

  // File > Save in the main window.
  Geometry bar = screen.geometry(main_window);
  click(bar, 20, 15);
  keys("key s");
  for (int waited = 0; waited < 5000; waited += 100) {
    if (read_file(site + "/setup_ant.conf").find("zel.ignd_hgt = 456\n") != std::string::npos) break;
    pause_ms(100);
  }
  run("import -window root " + std::string(SETUP_BINARY_DIR) + "/e2e_control_processor_saved.png");
  EXPECT_NE(read_file(site + "/setup_ant.conf").find("zel.ignd_hgt = 456\n"), std::string::npos)
      << read_file(site + "/setup_ant.conf");
}

}  // namespace
