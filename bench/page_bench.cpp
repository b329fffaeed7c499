// What the operator waits for, timed on a real X server (run under
// xvfb-run) with the installed resource file:
//
// - for the test page scaled up and for every page of the editor: "open"
//   (window creation, PassBuild and showing the window until its first
//   expose is handled) against the same widget tree built by plain Motif
//   calls from the same texts and values; one PassStore that shows or hides
//   part of the page; destroying the page's window, as Factory and the
//   output device rebuild do, timed apart from the next build;
// - the output device page rebuilt for 32 devices, List of all pages, and
//   Find on the full index, per keystroke;
// - growth: PassBuild time per item of the test page at 100 items and at
//   the largest size, the two built by turns;
// - replies waited for from the X server on the first open of each page in
//   a fresh process;
// - start-up from exec to the main window mapped and to the end of the
//   start-up load, against a minimal Motif program with the same resources;
// - resident memory with all pages open against the same trees built
//   plainly, each in a fresh process.
//
//   setup-bench [--rounds N] [--size ITEMS] [N]
//   setup-bench --trace-round-trips PAGE   the callers of each reply waited
//                                          for on the page's first open
//   setup-bench --trace-round-trips startup   the same for the editor's start-up
//   setup-bench --rtt MS [--rounds N]      the figures that wait for the X server,
//                                          through a proxy that delays each way by MS/2
#include <X11/IntrinsicP.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/probes.h"
#include "bench/proxy.h"
#include "bench/startup.h"
#include "bench/tree.h"
#include "motif/commands.h"
#include "motif/page_window.h"
#include "motif/review.h"
#include "motif/server_answers.h"
#include "motif/startup.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "session/session.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
#include "tests/support/test_page.h"

namespace {

constexpr int kWindowHeight = 550;
constexpr int kTestPageNumber = PAGE_GENERAL;  // the slot the test page borrows
constexpr int kTestPageFixedItems = 14;        // items outside the device sections
constexpr int kTestItemsPerDevice = 6;
constexpr int kSmallSize = 100;
constexpr int kOutputDevices = 32;

struct Options {
  int rounds = 5;
  int size = 1500;
  int round_trips_page = -2;  // a child process: count the first open of this page (-1: test page)
  bool trace = false;         // with the callers of every reply
  bool trace_startup = false;
  int devices = -1;         // a child process: output devices in use before the open
  int rtt_ms = 0;           // > 0: through a delaying proxy, the remote figures
  std::string memory_side;  // a child process: "walk" or "plain"
};

Options parse_options(int argc, char **argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool has_value = i + 1 < argc;
    if (a == "--rounds" && has_value)
      o.rounds = std::max(1, std::atoi(argv[++i]));
    else if (a == "--size" && has_value)
      o.size = std::max(kSmallSize, std::atoi(argv[++i]));
    else if (a == "--round-trips" && has_value)
      o.round_trips_page = std::atoi(argv[++i]);
    else if (a == "--trace-round-trips" && has_value && std::strcmp(argv[i + 1], "startup") == 0)
      o.trace_startup = true, ++i;
    else if (a == "--trace-round-trips" && has_value)
      o.round_trips_page = std::atoi(argv[++i]), o.trace = true;
    else if (a == "--devices" && has_value)
      o.devices = std::atoi(argv[++i]);
    else if (a == "--rtt" && has_value)
      o.rtt_ms = std::max(0, std::atoi(argv[++i]));
    else if (a == "--memory" && has_value)
      o.memory_side = argv[++i];
    else if (!a.empty() && a[0] != '-')
      o.rounds = std::max(1, std::atoi(a.c_str()));
  }
  return o;
}

// The test page in a page slot of the editor's windows.
bool test_page_active = false;
const PageInfo test_page_info = [] {
  PageInfo info = page_info(kTestPageNumber);
  info.function = test_page;
  return info;
}();

const PageInfo &bench_page_lookup(int page_number) {
  if (test_page_active && page_number == kTestPageNumber) return test_page_info;
  return page_info(page_number);
}

void use_test_page(int devices) {
  test_page_active = true;
  test_page_device_slots = std::min(devices, static_cast<int>(TEST_DEVICE_CAPACITY));
  testrec.iDeviceCount = static_cast<int16_t>(test_page_device_slots);
  test_page(PassMeasure, nullptr, nullptr);
}

int devices_for(int items) { return std::max(0, (items - kTestPageFixedItems) / kTestItemsPerDevice); }

// Every area at its factory values with its limits, as a fresh site has
// them, so the real pages show the sections a site would.
void load_factory_values(void) {
  for (int area = 0; area < AREA_COUNT; ++area) {
    const AreaInfo &info = area_info(area);
    auto *limits = static_cast<char *>(info.limits);
    for (int which = 0; which < 3; ++which)
      setup_limits(info.limits_name, limits + which * info.size, which, 0);
    std::memcpy(info.record, limits + COPY_FACTORY * info.size, info.size);
  }
  for (int n = 0; n < PAGE_COUNT; ++n) page_info(n).function(PassMeasure, nullptr, nullptr);
}

// As the editor starts: the locale, the toolkit, the resource file.
bool open_display(int &argc, char **argv) {
  std::setlocale(LC_ALL, "");
  if (XSupportsLocale()) XtSetLanguageProc(nullptr, nullptr, nullptr);
  top_level = XtVaAppInitialize(&app_context, "setup", nullptr, 0, &argc, argv, nullptr, XmNwidth, 620,
                                XmNheight, 215, nullptr);
  if (!top_level) return false;
  allocate_shadow_colours_together();
  main_display = XtDisplay(top_level);
  install_front_end(&motif_front_end);
  merge_resource_files(main_display);
  motif_toolkit = 1;
  XtRealizeWidget(top_level);
  shell_window = XtWindow(top_level);
  page_window_lookup = bench_page_lookup;
  prepare_page_windows(nullptr);  // as the editor does once it is idle after start
  load_factory_values();
  finish_start_up_answers();
  return true;
}

// ---------------------------------------------------------------------------
// Opening and destroying a page

struct Timing {
  double cpu, wall;
};

Timing open_walk(int page) {
  Stamp start = now();
  open_page(page);
  wait_for_first_expose(page_window(page)->row_column);
  return {cpu_since(start), wall_since(start)};
}

Timing destroy_walk(int page) {
  Stamp start = now();
  destroy_page(page);
  XSync(main_display, False);
  return {cpu_since(start), wall_since(start)};
}

PlainWindow show_plain(const Description &d, int width) {
  busy_cursor_on();
  PlainWindow w = plain_page_window(width, kWindowHeight);
  replay(d, w.row_column);
  XtManageChild(w.form_dialog);
  Widget shell = XtParent(w.form_dialog);
  if (XtIsRealized(shell)) XRaiseWindow(main_display, XtWindow(shell));
  busy_cursor_off();
  wait_for_first_expose(w.row_column);
  return w;
}

Timing open_plain(const Description &d, int width, PlainWindow &w) {
  Stamp start = now();
  w = show_plain(d, width);
  return {cpu_since(start), wall_since(start)};
}

Timing destroy_plain(PlainWindow &w) {
  Stamp start = now();
  XtDestroyWidget(XtParent(w.form_dialog));
  XSync(main_display, False);
  return {cpu_since(start), wall_since(start)};
}

// Section frames and row forms: what a store shows or hides.
std::vector<Widget> layout_widgets(Widget row_column) {
  std::vector<Widget> found;
  for_each_widget(row_column, [&](Widget w) {
    bool row = XmIsForm(w) && XmIsRowColumn(XtParent(w)) && XtParent(w) != row_column;
    if (row || std::strcmp(XtName(w), "setupframe") == 0) found.push_back(w);
  });
  return found;
}

std::vector<bool> managed_states(const std::vector<Widget> &widgets) {
  std::vector<bool> states;
  for (Widget w : widgets) states.push_back(XtIsManaged(w) != 0);
  return states;
}

// One edit that a user makes: flips a toggle, or picks option entry `index`.
struct Edit {
  Widget widget;
  int index;     // -1 for a toggle
  int original;  // the entry to go back to

  void apply(bool forth) const {
    if (index < 0) {
      XmToggleButtonSetState(widget, !XmToggleButtonGetState(widget), True);
      return;
    }
    Widget pulldown = nullptr;
    XtVaGetValues(widget, XmNsubMenuId, &pulldown, nullptr);
    char name[32];
    snprintf(name, sizeof name, "button_%d", forth ? index : original);
    XmPushButtonCallbackStruct call{};
    call.reason = XmCR_ACTIVATE;
    XtCallCallbacks(XtNameToWidget(pulldown, name), XmNactivateCallback, &call);
  }
};

int history_index(Widget option_menu) {
  Widget history = nullptr;
  XtVaGetValues(option_menu, XmNmenuHistory, &history, nullptr);
  int index = 0;
  if (history) sscanf(XtName(history), "button_%d", &index);
  return index;
}

// The first toggle or option entry whose store shows or hides a section or row.
bool find_visibility_edit(Widget row_column, Edit &edit) {
  std::vector<Widget> layout = layout_widgets(row_column);
  std::vector<bool> before = managed_states(layout);
  std::vector<Widget> candidates;
  for_each_widget(row_column, [&](Widget w) {
    if (XtClass(w) == xmToggleButtonWidgetClass || is_option_menu(w)) candidates.push_back(w);
  });
  for (Widget w : candidates) {
    std::vector<Edit> edits;
    if (XtClass(w) == xmToggleButtonWidgetClass) {
      edits.push_back({w, -1, 0});
    } else {
      Widget pulldown = nullptr;
      Cardinal count = 0;
      XtVaGetValues(w, XmNsubMenuId, &pulldown, nullptr);
      XtVaGetValues(pulldown, XmNnumChildren, &count, nullptr);
      int original = history_index(w);
      for (int i = 0; i + 1 < static_cast<int>(count); ++i)
        if (i != original) edits.push_back({w, i, original});
    }
    for (const Edit &e : edits) {
      e.apply(true);
      bool changed = managed_states(layout) != before;
      e.apply(false);
      if (changed) {
        edit = e;
        return true;
      }
    }
  }
  return false;
}

// The label beside an item's widget, for the list of edits timed.
std::string label_beside(Widget w) {
  Widget label = nullptr;
  XtVaGetValues(w, XmNleftWidget, &label, nullptr);
  XmString s = nullptr;
  if (label) XtVaGetValues(label, XmNlabelString, &s, nullptr);
  char *text = nullptr;
  if (s) XmStringGetLtoR(s, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
  std::string result = text ? text : "?";
  XtFree(text);
  XmStringFree(s);
  return result;
}

std::vector<std::string> stores_timed;

// Handles what the X server has sent by the time it has caught up with
// everything sent to it: after a store, the exposures of the rows it showed
// or moved, which their redraw needs. One round trip.
void handle_answered(void) {
  XSync(main_display, False);
  while (XtAppPending(app_context)) XtAppProcessEvent(app_context, XtIMAll);
}

// Mean time of one store through the widget's callback (cpu), and of the
// store until the exposures that follow it are handled, so that its redraw
// is on the way (wall); -1 when no toggle or choice shows or hides anything.
Timing time_store(int page, const std::string &name) {
  open_walk(page);
  drain();
  Edit edit{};
  Timing t{-1, -1};
  if (find_visibility_edit(page_window(page)->row_column, edit)) {
    const int stores = 20;
    double pure = 0, shown = 0;
    for (int i = 0; i < stores; ++i) {
      Stamp start = now();
      edit.apply(i % 2 == 0);
      pure += cpu_since(start);
      handle_answered();
      shown += wall_since(start);
      drain();
    }
    t = {pure / stores, shown / stores};
    stores_timed.push_back(name + ": \"" + label_beside(edit.widget) + "\"");
  }
  destroy_page(page);
  drain();
  return t;
}

struct PageFigures {
  int items = 0;
  size_t widgets = 0;
  bool same = false;
  std::vector<double> walk_cpu, walk_wall, plain_cpu, plain_wall, destroy_cpu, destroy_wall, plain_destroy;
  Timing store{-1, -1};
};

void one_round(int page, int width, Description &d, PageFigures &f, int round) {
  auto walk = [&] {
    Timing open = open_walk(page);
    drain();
    if (d.nodes.empty()) {
      d = describe_page(page_window(page)->row_column);
      f.items = count_items(d);
      f.widgets = d.nodes.size();
    }
    Timing destroy = destroy_walk(page);
    drain();
    f.walk_cpu.push_back(open.cpu);
    f.walk_wall.push_back(open.wall);
    f.destroy_cpu.push_back(destroy.cpu);
    f.destroy_wall.push_back(destroy.wall);
  };
  auto plain = [&] {
    PlainWindow w{};
    Timing open = open_plain(d, width, w);
    drain();
    if (round == 0) f.same = same_tree(d, w.row_column);
    Timing destroy = destroy_plain(w);
    drain();
    f.plain_cpu.push_back(open.cpu);
    f.plain_wall.push_back(open.wall);
    f.plain_destroy.push_back(destroy.wall);
  };
  // The description comes from the walk, so the walk goes first in round 0;
  // later rounds alternate to even out warm caches.
  if (round % 2 == 0) {
    walk();
    plain();
  } else {
    plain();
    walk();
  }
}

struct Worst {
  double open = 0, destroy = 0, growth = 0, startup = 0, memory = 0;
  long round_trips = 0;
};

double ratio(double a, double b) { return b > 0 ? a / b : 0; }

// Prints the page's line of the table; returns the store's wall time.
double run_page(int page, const std::string &name, int rounds, Worst &worst) {
  const int width = bench_page_lookup(page).width;
  PageFigures f;
  Description d;
  // One untimed open first: the first window of a process pays for fonts
  // and toolkit set-up that no later open pays.
  open_walk(page);
  destroy_page(page);
  drain();
  for (int round = 0; round < rounds; ++round) one_round(page, width, d, f, round);
  f.store = time_store(page, name);
  double walk_wall = median(f.walk_wall), plain_wall = median(f.plain_wall);
  double destroy_wall = median(f.destroy_wall);
  std::printf("%-22s %5d %6zu | %7.1f %7.1f %5.2f | %7.1f %7.1f %5.2f | %7.1f %7.1f %5.2f |", name.c_str(),
              f.items, f.widgets, median(f.walk_cpu), median(f.plain_cpu),
              ratio(median(f.walk_cpu), median(f.plain_cpu)), walk_wall, plain_wall,
              ratio(walk_wall, plain_wall), destroy_wall, median(f.plain_destroy),
              ratio(destroy_wall, walk_wall));
  if (f.store.cpu >= 0)
    std::printf(" %6.2f %6.2f |", f.store.cpu, f.store.wall);
  else
    std::printf(" %6s %6s |", "-", "-");
  std::printf(" %s\n", f.same ? "same" : "DIFFERENT");
  std::fflush(stdout);
  worst.open = std::max(worst.open, ratio(walk_wall, plain_wall));
  worst.destroy = std::max(worst.destroy, ratio(destroy_wall, walk_wall));
  return f.store.wall;
}

// PassBuild alone (cpu) and the destroy (wall) per item of the test page.
struct PerItem {
  int size = 0, items = 0;
  std::vector<double> build_us, destroy_us;
};

PerItem items_of_test_page(int size) {
  use_test_page(devices_for(size));
  PerItem p;
  p.size = size;
  open_walk(kTestPageNumber);  // untimed, as above
  p.items = count_items(describe_page(page_window(kTestPageNumber)->row_column));
  destroy_page(kTestPageNumber);
  drain();
  return p;
}

void time_per_item(PerItem &p) {
  use_test_page(devices_for(p.size));
  PageWindow *window = create_page_window(kTestPageNumber, 600, kWindowHeight);
  Stamp start = now();
  test_page(PassBuild, nullptr, window);
  p.build_us.push_back(cpu_since(start) * 1000 / p.items);
  XtDestroyWidget(XtParent(window->form_dialog));
  delete window;
  drain();
  open_walk(kTestPageNumber);
  drain();
  p.destroy_us.push_back(destroy_walk(kTestPageNumber).wall * 1000 / p.items);
  drain();
}

// The two sizes take turns, and the growth is the median of each round's
// ratio: the machine's speed drifts more between rounds than within one.
void run_growth(const Options &o, Worst &worst) {
  PerItem small = items_of_test_page(kSmallSize), large = items_of_test_page(o.size);
  std::vector<double> growths;
  for (int round = 0; round < o.rounds; ++round) {
    time_per_item(small);
    time_per_item(large);
    growths.push_back(ratio(large.build_us.back(), small.build_us.back()));
  }
  worst.growth = median(growths);
  const double small_destroy = median(small.destroy_us), large_destroy = median(large.destroy_us);
  std::printf(
      "\ngrowth (test page, per item, microseconds): PassBuild cpu %.1f at %d items, %.1f at %d: %.2f"
      " (median of the rounds' ratios); destroy wall %.1f and %.1f: %.2f\n",
      median(small.build_us), small.items, median(large.build_us), large.items, worst.growth, small_destroy,
      large_destroy, ratio(large_destroy, small_destroy));
}

// The output device page built anew at its next open after the device
// count changed, as the editor does, to 32 devices; and a first open at 32.
// Returns the rebuild's wall time.
double run_output_rebuild(int rounds) {
  zamo.device.imaxdevcount = kOutputDevices;
  std::vector<double> rebuild, fresh;
  for (int round = 0; round < rounds; ++round) {
    zamo.device.idevcount = kOutputDevices - 1;
    open_walk(PAGE_OUTPUT_DEVICE);
    drain();
    zamo.device.idevcount = kOutputDevices;
    rebuild.push_back(open_walk(PAGE_OUTPUT_DEVICE).wall);
    drain();
    destroy_page(PAGE_OUTPUT_DEVICE);
    drain();
    fresh.push_back(open_walk(PAGE_OUTPUT_DEVICE).wall);
    drain();
    destroy_page(PAGE_OUTPUT_DEVICE);
    drain();
  }
  std::printf("output device page, %d devices: rebuild at the next open %.1f ms wall, a first open %.1f ms\n",
              kOutputDevices, median(rebuild), median(fresh));
  load_factory_values();
  return median(rebuild);
}

void run_list_all(int rounds) {
  char directory[] = "/tmp/setup-bench-list-XXXXXX";
  if (!mkdtemp(directory)) return;
  setenv("ZAMO_LISTINGS", directory, 1);
  std::vector<double> cpu;
  for (int round = 0; round < rounds; ++round) {
    Stamp start = now();
    list_all_command(nullptr, nullptr, nullptr);
    cpu.push_back(cpu_since(start));
    std::system((std::string("rm -f ") + directory + "/*.setup").c_str());
  }
  rmdir(directory);
  std::printf("List (all pages): %.1f ms cpu\n", median(cpu));
}

// Find on the full index with every output device in use: visiting the
// index as the dialog opens, and one keystroke (filter and list) for each
// prefix of a query typed.
void run_find(int rounds) {
  zamo.device.imaxdevcount = zamo.device.idevcount = kOutputDevices;
  const std::string query = "antenna height";
  std::vector<double> open, keystroke, filter, review;
  const std::vector<SiteItem> items = site_items();
  for (int round = 0; round < rounds; ++round) {
    Stamp start = now();
    find_command(nullptr, nullptr, nullptr);
    open.push_back(cpu_since(start));
    Widget text = XtNameToWidget(find_dialog(), "findtext");
    for (size_t n = 0; n <= query.size(); ++n) {
      start = now();
      XmTextFieldSetString(text, const_cast<char *>(query.substr(0, n).c_str()));
      keystroke.push_back(cpu_since(start));
      start = now();
      size_t found = 0;
      for (const SiteItem &item : items) found += session::matches(item, query.substr(0, n));
      filter.push_back(cpu_since(start));
      if (found > items.size()) std::abort();  // keeps the loop
    }
    XtUnmanageChild(find_dialog());
    drain();
    // What follows every edit with a change pending and Changes open.
    take_snapshot_as_is();
    changes_command(nullptr, nullptr, nullptr);
    zel.irad_hgt += 1;
    start = now();
    review_changes();
    review.push_back(cpu_since(start));
    zel.irad_hgt -= 1;
    XtUnmanageChild(changes_dialog());
    drain();
  }
  std::printf(
      "Find (%zu items): open %.1f ms cpu; a keystroke: filter %.1f ms cpu (at most 5), with the list %.1f;"
      " Changes and marks after an edit %.1f\n",
      items.size(), median(open), median(filter), median(keystroke), median(review));
  load_factory_values();
}

// ---------------------------------------------------------------------------
// Fresh processes: round trips and memory

std::string self_path;

std::string run_child(const std::string &arguments) {
  std::string command = self_path + " " + arguments + " 2>/dev/null";
  std::string out;
  if (FILE *p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  return out;
}

// The replies waited for and the wall time of the page's first open.
int child_round_trips(int page, int size, int devices) {
  if (page < 0) use_test_page(devices_for(size));
  if (devices >= 0) zamo.device.imaxdevcount = zamo.device.idevcount = devices;
  int number = page < 0 ? kTestPageNumber : page;
  count_replies(true);
  double wall = open_walk(number).wall;
  count_replies(false);
  std::printf("%ld %.1f\n", replies_counted(), wall);
  return 0;
}

struct FirstOpen {
  long replies;
  double wall;
};

// The most replies any of `rounds` fresh processes waited for, and the
// median of their walls: one process alone says more of the machine's
// mood than of the page.
FirstOpen first_open(int page, int size, int rounds, int devices = -1) {
  std::string arguments = "--round-trips " + std::to_string(page) + " --size " + std::to_string(size);
  if (devices >= 0) arguments += " --devices " + std::to_string(devices);
  FirstOpen f{0, 0};
  std::vector<double> walls;
  for (int round = 0; round < std::max(rounds, 1); ++round) {
    FirstOpen one{0, 0};
    std::sscanf(run_child(arguments).c_str(), "%ld %lf", &one.replies, &one.wall);
    f.replies = std::max(f.replies, one.replies);
    walls.push_back(one.wall);
  }
  f.wall = median(walls);
  return f;
}

void run_round_trips(const Options &o, Worst &worst) {
  std::printf("\nreplies waited for on the first open in a fresh process:");
  for (int page = -1; page < PAGE_COUNT; ++page) {
    long count = first_open(page, o.size, 1).replies;
    std::printf(" %s %ld;", page < 0 ? "test page" : page_info(page).name, count);
    if (page >= 0) worst.round_trips = std::max(worst.round_trips, count);
  }
  std::printf("\n");
}

// Every page opened, then growth of resident memory from a state where
// each tree was built and destroyed once already (fonts, caches, the
// toolkit's classes), so both sides start alike.
int child_memory(const std::string &side) {
  std::vector<Description> trees(PAGE_COUNT);
  for (int n = 0; n < PAGE_COUNT; ++n) {
    open_walk(n);
    trees[n] = describe_page(page_window(n)->row_column);
    destroy_page(n);
    drain();
  }
  malloc_trim(0);
  long before = resident_kb();
  for (int n = 0; n < PAGE_COUNT; ++n) {
    if (side == "walk")
      open_walk(n);
    else
      show_plain(trees[n], page_info(n).width);
  }
  drain();
  std::printf("%ld\n", resident_kb() - before);
  return 0;
}

void run_memory(Worst &worst) {
  long walk = std::atol(run_child("--memory walk").c_str());
  long plain = std::atol(run_child("--memory plain").c_str());
  worst.memory = ratio(walk, plain);
  std::printf(
      "resident memory grown with all pages open: %ld kB, the same trees built plainly %ld kB: %.2f\n", walk,
      plain, worst.memory);
}

void run_startup(int rounds, Worst &worst) {
  StartupFigures s = time_startup(rounds);
  if (!s.ok) {
    std::printf("start-up: could not be timed\n");
    return;
  }
  worst.startup = s.mapped_ratio;
  std::printf(
      "start-up, wall: main window mapped %.1f ms, start-up load done %.1f ms (less the %s timer);"
      " minimal Motif program mapped %.1f ms: %.2f and %.2f\n",
      s.editor_mapped_ms, s.editor_loaded_ms, "300 ms", s.minimal_mapped_ms, worst.startup,
      ratio(s.editor_loaded_ms, s.minimal_mapped_ms));
}

// The display is a proxy that delays each way by half of `rtt` ms: what
// waits for the X server, beside plain Motif and the minimal Motif program
// over the same link.
void run_remote(const Options &o, const std::string &real_display) {
  std::printf(
      "round trip %d ms through a delaying proxy to %s (display %s); median of %d rounds, milliseconds\n"
      "  open, destroy, store and tree as in the local table (the second and later opens of a page)\n\n",
      o.rtt_ms, real_display.c_str(), std::getenv("DISPLAY"), o.rounds);
  std::printf("%-22s %5s %6s | %21s | %21s | %21s | %6s %6s |\n", "page", "items", "widgets", "open cpu",
              "open wall", "destroy wall", "store", "store");
  Worst worst;
  double store = 0;
  for (int n = 0; n < PAGE_COUNT; ++n)
    store = std::max(store, run_page(n, page_info(n).name, o.rounds, worst));
  std::printf("\nstores timed (the first toggle or choice that shows or hides something):\n");
  for (const std::string &s : stores_timed) std::printf("  %s\n", s.c_str());
  double rebuild = run_output_rebuild(o.rounds);

  // A fresh process, set up as the editor is once idle after start.
  std::printf("\nfirst open in a fresh process, median wall ms (most replies waited for):");
  double first = 0;
  std::string first_page;
  auto note_first = [&](const std::string &name, FirstOpen f) {
    std::printf(" %s %.1f (%ld);", name.c_str(), f.wall, f.replies);
    if (f.wall > first) first = f.wall, first_page = name;
  };
  for (int n = 0; n < PAGE_COUNT; ++n) note_first(page_info(n).name, first_open(n, o.size, o.rounds));
  note_first(std::string(page_info(PAGE_OUTPUT_DEVICE).name) + " (" + std::to_string(kOutputDevices) + ")",
             first_open(PAGE_OUTPUT_DEVICE, o.size, o.rounds, kOutputDevices));
  std::printf("\n");

  StartupFigures s = time_startup(o.rounds, real_display);
  double startup = s.mapped_ratio;
  double load = s.editor_loaded_ms - s.editor_mapped_ms;
  if (s.ok)
    std::printf(
        "start-up, wall: main window mapped %.1f ms (%ld replies), start-up load done %.1f ms (less the 300 "
        "ms"
        " timer; %ld replies); minimal Motif program mapped %.1f ms (%ld replies): %.2f\n",
        s.editor_mapped_ms, s.editor_replies_mapped, s.editor_loaded_ms, s.editor_replies_loaded,
        s.minimal_mapped_ms, s.minimal_replies_mapped, startup);
  else
    std::printf("start-up: could not be timed\n");
  std::printf(
      "\nremote worst: start-up %.2f (of the minimal program's), load %.0f ms after mapped, first open %.0f "
      "ms"
      " (%s), store %.0f ms, rebuild %.0f ms, open %.2f\n",
      startup, load, first, first_page.c_str(), store, rebuild, worst.open);
}

}  // namespace

int main(int argc, char **argv) {
  std::string command;
  for (int i = 0; i < argc; ++i) command += std::string(i ? " " : "") + argv[i];
  self_path = argv[0];
  // The resource file of the source tree, for the editor started too.
  if (!std::getenv("ZAMO_APP_DEFAULTS")) setenv("ZAMO_APP_DEFAULTS", SETUP_DATA_DIRECTORY "/", 1);
  Options o = parse_options(argc, argv);
  const char *display = std::getenv("DISPLAY");
  const std::string real_display = display ? display : "";
  DelayProxy proxy;
  std::string proxy_authority;
  if (o.rtt_ms > 0) {
    proxy = start_delay_proxy(upstream_of_display(real_display), o.rtt_ms / 2, 4 * 3600);
    if (proxy.pid < 0) {
      std::fprintf(stderr, "setup-bench: no display number free for the proxy\n");
      return 1;
    }
    proxy_authority = use_proxy_display(proxy, real_display);
  }
  if (o.trace_startup) {
    trace_startup_replies(real_display);
    stop_delay_proxy(proxy);
    if (!proxy_authority.empty()) unlink(proxy_authority.c_str());
    return 0;
  }
  if (!open_display(argc, argv)) {
    std::fprintf(stderr, "setup-bench: cannot open the display (run under xvfb-run)\n");
    return 1;
  }
  trace_replies(o.trace);
  if (o.round_trips_page >= -1) return child_round_trips(o.round_trips_page, o.size, o.devices);
  if (!o.memory_side.empty()) return child_memory(o.memory_side);

  std::printf("command: %s\n", command.c_str());
  if (o.rtt_ms > 0) {
    run_remote(o, real_display);
    stop_delay_proxy(proxy);
    if (!proxy_authority.empty()) unlink(proxy_authority.c_str());
    return 0;
  }
  std::printf(
      "median of %d rounds per page, milliseconds; resource file %stolvek\n"
      "  open: window creation, PassBuild and showing until the first expose is handled (walk), against\n"
      "        the same tree by plain Motif calls from the same texts (plain); client cpu and wall\n"
      "  destroy: destroying the page's window (wall), the plain tree's, and the ratio to the page's open\n"
      "  store: mean of 20 PassStores that show or hide a section or row (cpu; wall until the\n"
      "         exposures that follow are handled and the redraw is sent)\n"
      "  tree: whether the plain build made the same widgets as the walk\n\n",
      o.rounds, std::getenv("ZAMO_APP_DEFAULTS"));
  std::printf("%-22s %5s %6s | %7s %7s %5s | %7s %7s %5s | %7s %7s %5s | %6s %6s | %s\n", "page", "items",
              "widgets", "walk", "plain", "ratio", "walk", "plain", "ratio", "destroy", "plain", "/open",
              "store", "store", "tree");
  std::printf("%-22s %5s %6s | %21s | %21s | %21s | %6s %6s |\n", "", "", "", "open cpu", "open wall",
              "destroy wall", "cpu", "wall");

  Worst worst;
  use_test_page(devices_for(o.size));
  run_page(kTestPageNumber, "test page (" + std::to_string(test_page_device_slots) + " devices)", o.rounds,
           worst);
  test_page_active = false;
  worst.open = worst.destroy = 0;  // the worst figures are the editor's pages
  for (int n = 0; n < PAGE_COUNT; ++n) run_page(n, page_info(n).name, o.rounds, worst);
  std::printf("\nstores timed (the first toggle or choice that shows or hides something):\n");
  for (const std::string &store : stores_timed) std::printf("  %s\n", store.c_str());

  run_output_rebuild(o.rounds);
  run_list_all(o.rounds);
  run_find(o.rounds);
  run_growth(o, worst);
  test_page_active = false;
  run_round_trips(o, worst);
  run_memory(worst);
  run_startup(o.rounds, worst);
  print_site_tool_times(o.rounds);
  print_tui_times(o.rounds);
  std::printf("\nworst: open %.2f, destroy %.2f, growth %.2f, round trips %ld, start-up %.2f, memory %.2f\n",
              worst.open, worst.destroy, worst.growth, worst.round_trips, worst.startup, worst.memory);
  return 0;
}
