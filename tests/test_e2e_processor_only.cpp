// The real editor in processor-only mode on a fresh site: both processor
// pages open from the main panel, a value typed into the signal processor
// page is listed and saved, and Exit then ends the program as unchanged.
// Drives the program from outside with xdotool, reading the X window tree
// and the PRIMARY selection.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
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

// Waits up to `ms` for the condition.
bool eventually(const std::function<bool()> &condition, int ms = 8000) {
  for (int waited = 0; waited < ms; waited += 100) {
    if (condition()) return true;
    pause_ms(100);
  }
  return condition();
}

struct Box {
  int x = 0, y = 0;  // on the root window
  int width = 0, height = 0;
  int left = 0;  // within the parent
};

// The X server as the test sees it: windows by title, their viewable
// descendants, and the PRIMARY selection.
class Server {
 public:
  Server() : display_(XOpenDisplay(nullptr)) {
    if (display_) probe_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
  }
  ~Server() {
    if (display_) XCloseDisplay(display_);
  }
  bool open() const { return display_ != nullptr; }

  // The top-level window whose title begins with `prefix` (by default only
  // while it is shown), or 0.
  Window titled(const std::string &prefix, bool shown_only = true) {
    Window found = 0;
    for (Window w : children(DefaultRootWindow(display_)))
      if (!found && (!shown_only || viewable(w)) && title(w).rfind(prefix, 0) == 0) found = w;
    return found;
  }

  Window wait_titled(const std::string &prefix) {
    Window found = 0;
    eventually([&] { return (found = titled(prefix)) != 0; }, 10000);
    return found;
  }

  // Viewable descendants in creation order whose box passes `accept`.
  std::vector<Box> find(Window top, const std::function<bool(const Box &)> &accept) {
    std::vector<Box> found;
    for (Window w : children(top)) {
      if (!viewable(w)) continue;
      if (accept(box(w))) found.push_back(box(w));
      for (const Box &b : find(w, accept)) found.push_back(b);
    }
    return found;
  }

  Box box(Window w) {
    XWindowAttributes a{};
    Box b;
    if (!XGetWindowAttributes(display_, w, &a)) return b;
    Window child;
    XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &b.x, &b.y, &child);
    b.left = a.x;
    b.width = a.width;
    b.height = a.height;
    return b;
  }

  std::string primary() {
    Atom property = XInternAtom(display_, "E2E_PRIMARY", False);
    XConvertSelection(display_, XA_PRIMARY, XA_STRING, property, probe_, CurrentTime);
    XFlush(display_);
    std::string text;
    eventually(
        [&] {
          XEvent event;
          if (!XCheckTypedWindowEvent(display_, probe_, SelectionNotify, &event)) return false;
          if (event.xselection.property == 0) return true;
          Atom type;
          int format;
          unsigned long items, left;
          unsigned char *data = nullptr;
          XGetWindowProperty(display_, probe_, property, 0, 4096, True, AnyPropertyType, &type, &format,
                             &items, &left, &data);
          if (data) text = reinterpret_cast<char *>(data);
          if (data) XFree(data);
          return true;
        },
        2000);
    return text;
  }

 private:
  std::vector<Window> children(Window w) {
    Window root, parent, *list = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    // Bottom to top: the order in which the toolkit created them.
    if (XQueryTree(display_, w, &root, &parent, &list, &count)) result.assign(list, list + count);
    if (list) XFree(list);
    return result;
  }

  bool viewable(Window w) {
    XWindowAttributes a{};
    return XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable;
  }

  std::string title(Window w) {
    char *name = nullptr;
    std::string result;
    if (XFetchName(display_, w, &name) && name) result = name;
    if (name) XFree(name);
    return result;
  }

  Display *display_;
  Window probe_ = 0;
};

// Without --sync, which waits long for a pointer that is already there.
void click(const Box &b, int dx, int dy, int repeat = 1) {
  run("xdotool mousemove " + std::to_string(b.x + dx) + " " + std::to_string(b.y + dy) +
      " sleep 0.1 click --repeat " + std::to_string(repeat) + " --delay 60 1");
  pause_ms(300);
}

void click_centre(const Box &b, int repeat = 1) { click(b, b.width / 2, b.height / 2, repeat); }

void xdotool(const std::string &what) {
  run("xdotool " + what);
  pause_ms(300);
}

// Opens the main window's File menu and picks the entry by its mnemonic.
void file_menu(Server &server, Window main_window, char mnemonic) {
  click(server.box(main_window), 20, 15);
  xdotool(std::string("key ") + mnemonic);
}

// Listing files ("YYYYMMDDhhmm.setup") in the directory.
std::vector<std::string> listings(const std::string &directory) {
  std::vector<std::string> found;
  if (DIR *dir = opendir(directory.c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() == 18 && name.compare(12, 6, ".setup") == 0) found.push_back(directory + "/" + name);
    }
    closedir(dir);
  }
  return found;
}

class ProcessorOnly : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/setup-e2e-rda-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    site = pattern;
    ASSERT_EQ(run(std::string(SETUP_BINARY_DIR) + "/setup-site init " + site + " >/dev/null"), 0);
    // A major mode name that no other field shows, to find its field by.
    ASSERT_EQ(run("sed -i 's/^dsp.sMajorModeNames\\[0\\] = .*/dsp.sMajorModeNames[0] = \"alpha\"/' " + site +
                  "/setup_dsp.conf"),
              0);
    ASSERT_NE(read_file(dsp_file()).find("dsp.sMajorModeNames[0] = \"alpha\"\n"), std::string::npos);
  }

  void TearDown() override {
    if (editor > 0) {
      kill(editor, SIGTERM);
      waitpid(editor, nullptr, 0);
    }
    if (!site.empty()) run("rm -rf " + site);
  }

  std::string dsp_file() const { return site + "/setup_dsp.conf"; }

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

  // The exit status, or -1 while the editor still runs after `ms`.
  int exit_status(int ms) {
    int status = 0;
    bool ended = eventually([&] { return waitpid(editor, &status, WNOHANG) == editor; }, ms);
    if (!ended) return -1;
    editor = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string site;
  pid_t editor = -1;
};

TEST_F(ProcessorOnly, BothPagesOpenListSaveAndExit) {
  Server server;
  ASSERT_TRUE(server.open()) << "no X display (run under xvfb-run)";
  start_editor();
  Window main_window = server.wait_titled("SETUP, ");
  ASSERT_NE(main_window, 0u) << "main window";
  // The loading dialog is made shortly after start and taken down once the
  // setups are read.
  eventually([&] { return server.titled("SETUP: Loading", false) != 0; });
  eventually([&] { return server.titled("SETUP: Loading") == 0; });
  pause_ms(500);

  // Processor-only mode: the block diagram has only the two processor
  // buttons, the signal processor's above the control processor's.
  auto buttons =
      server.find(main_window, [](const Box &b) { return b.width > 100 && b.height > 50 && b.height < 100; });
  ASSERT_EQ(buttons.size(), 2u);
  if (buttons[0].y > buttons[1].y) std::swap(buttons[0], buttons[1]);
  click_centre(buttons[1]);
  Window zel_page = server.wait_titled("Radar Control Processor Setups");
  ASSERT_NE(zel_page, 0u) << "control processor page";
  xdotool("windowmove " + std::to_string(zel_page) + " 640 0");
  click_centre(buttons[0]);
  Window dsp_page = server.wait_titled("Radar Video Processor Setups");
  ASSERT_NE(dsp_page, 0u) << "signal processor page";
  // Out of the way of the main window's menu bar (no window manager here).
  xdotool("windowmove " + std::to_string(dsp_page) + " 0 260");
  pause_ms(500);
  run("import -window root " + std::string(SETUP_BINARY_DIR) + "/e2e_processor_only.png");

  // Text fields are 30 pixels high and begin 8 pixels right of the label
  // column (35 characters of 8 pixels, 5 from the edge), or 5 right of a
  // hint menu. Those in view, from the top: the first showing the loaded
  // name is the first major mode name's.
  const Box page = server.box(dsp_page);
  auto fields = server.find(dsp_page, [&](const Box &b) {
    return b.height == 30 && (b.left == 293 || b.left == 319) && b.y + b.height < page.y + page.height - 40;
  });
  std::sort(fields.begin(), fields.end(), [](const Box &a, const Box &b) { return a.y < b.y; });
  bool found = false;
  for (const Box &field : fields) {
    click_centre(field, 3);
    if ((found = server.primary() == "alpha")) {
      xdotool("type --delay 50 Storm");  // replaces the selected text
      xdotool("key Return");
      click_centre(field, 3);
      EXPECT_EQ(server.primary(), "Storm");
      break;
    }
  }
  ASSERT_TRUE(found) << "no field shows the loaded major mode name";

  // File > List: both processor pages and nothing of the data system.
  file_menu(server, main_window, 'l');
  ASSERT_TRUE(eventually([&] { return !listings(site).empty(); })) << "no listing file";
  std::string listing;
  eventually([&] {
    return (listing = read_file(listings(site)[0])).find("Radar Control Processor Setups") !=
           std::string::npos;
  });
  EXPECT_NE(listing.find("Radar Video Processor Setups"), std::string::npos);
  EXPECT_LT(listing.find("Radar Video Processor Setups"), listing.find("Radar Control Processor Setups"));
  EXPECT_NE(listing.find("  Major mode 'USER1' custom name     : Storm\n"), std::string::npos) << listing;
  EXPECT_EQ(listing.find("ZAMO"), std::string::npos);

  // File > Save writes the signal processor's file only.
  const std::string control_file = read_file(site + "/setup_ant.conf");
  file_menu(server, main_window, 's');
  EXPECT_TRUE(eventually([&] {
    return read_file(dsp_file()).find("dsp.sMajorModeNames[0] = \"Storm\"\n") != std::string::npos;
  })) << read_file(dsp_file());
  EXPECT_EQ(read_file(site + "/setup_ant.conf"), control_file);
  // The message that the files were saved goes away by itself.
  EXPECT_TRUE(eventually([&] { return server.titled("Warning") == 0; }, 6000));

  // Nothing changed since the save: Exit asks nothing and ends with 1.
  file_menu(server, main_window, 'e');
  EXPECT_EQ(exit_status(5000), 1);
}

}  // namespace
