// Page building and storing, timed on a real X server (run under xvfb-run).
//
// For the test page scaled up to its full device capacity and for every real
// page in the page table, it compares PassBuild through the page walk with
// building the same widget tree by plain Motif calls: the tree the walk built
// is described once (classes, names, resources, attachments, callbacks) and
// then replayed with XtCreateWidget and the toolkit's convenience creators,
// as straight-line code written by hand would. It also times one PassStore
// that shows or hides part of the page, through the widget's own callback.
//
//   setup-bench [ROUNDS]
#include <X11/IntrinsicP.h>
#include <Xm/CascadeB.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/page_window.h"
#include "items/field.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "sitelib/sitelib.h"
#include "store/areas.h"
#include "tests/support/test_page.h"

namespace {

// Wall time, and the CPU time of this process: the machine may be shared, and
// building widgets is the client's own work, so the CPU time is the steadier
// figure for it. Showing a window waits for the X server: wall time.
struct Stamp {
  std::chrono::steady_clock::time_point wall;
  double cpu_ms;
};

Stamp now(void) {
  timespec cpu{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
  return {std::chrono::steady_clock::now(), cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6};
}

double wall_since(const Stamp &start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start.wall).count();
}

double cpu_since(const Stamp &start) { return now().cpu_ms - start.cpu_ms; }

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

bool open_display(int &argc, char **argv) {
  XtSetLanguageProc(nullptr, nullptr, nullptr);
  top_level = XtVaAppInitialize(&app_context, "setup", nullptr, 0, &argc, argv, nullptr, XmNwidth, 620,
                                XmNheight, 215, nullptr);
  if (!top_level) return false;
  main_display = XtDisplay(top_level);
  motif_toolkit = 1;
  XtRealizeWidget(top_level);
  shell_window = XtWindow(top_level);
  return true;
}

// Handles everything queued, then waits for the server to catch up.
void drain(void) {
  do {
    while (XtAppPending(app_context)) XtAppProcessEvent(app_context, XtIMAll);
    XSync(main_display, False);
  } while (XtAppPending(app_context));
}

void no_op_callback(Widget, XtPointer, XtPointer) {}

// ---------------------------------------------------------------------------
// Description of a built widget tree and its replay.

struct Resource {
  const char *name;
  XtArgVal value;
  int widget_ref;  // node index when the value is a widget, else -1
  bool is_string;  // an XmString owned by the description
};

enum class Creation { Plain, MenuBar, Pulldown, OptionMenu };

struct Node {
  Creation creation;
  WidgetClass widget_class;
  std::string name;
  int parent;  // -1: the page window's row column
  bool managed;
  std::vector<Resource> resources;
  std::vector<const char *> callbacks;
  std::string value;  // text fields
  // Option menus: one label per button, the managed ones, the current one.
  std::vector<XmString> button_labels;
  std::vector<bool> button_managed;
  std::vector<XtPointer> button_data;
  int history;
};

struct Description {
  std::vector<Node> nodes;
  std::unordered_map<Widget, int> index;

  ~Description() {
    for (Node &n : nodes) {
      for (Resource &r : n.resources)
        if (r.is_string) XmStringFree(reinterpret_cast<XmString>(r.value));
      for (XmString s : n.button_labels) XmStringFree(s);
    }
  }
};

template <typename T>
XtArgVal get(Widget w, const char *name) {
  T value{};
  XtVaGetValues(w, name, &value, nullptr);
  return (XtArgVal)value;
}

std::vector<Widget> children_of(Widget w) {
  if (!XtIsComposite(w)) return {};
  WidgetList children = nullptr;
  Cardinal count = 0;
  XtVaGetValues(w, XmNchildren, &children, XmNnumChildren, &count, nullptr);
  return std::vector<Widget>(children, children + count);
}

bool is_option_menu(Widget w) {
  unsigned char type = 0;
  if (XtClass(w) == xmRowColumnWidgetClass) XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
  return type == XmMENU_OPTION;
}

// Calls `fn` on `w` and every widget below it (menu panes aside).
void for_each_widget(Widget w, const std::function<void(Widget)> &fn) {
  fn(w);
  for (Widget child : children_of(w)) for_each_widget(child, fn);
}

class Describer {
 public:
  explicit Describer(Description &d) : d_(d) {}

  void describe_children(Widget parent, int parent_index) {
    if (!XtIsWidget(parent)) return;  // gadgets have neither popups nor children
    std::vector<Widget> children = children_of(parent);
    // Option menus make their own panes; other panes come before the
    // cascades that name them.
    std::vector<Widget> option_panes;
    for (Widget child : children)
      if (is_option_menu(child)) option_panes.push_back(submenu_of(child));
    for (Cardinal i = 0; i < parent->core.num_popups; ++i)
      describe_popup(parent->core.popup_list[i], parent_index, option_panes);
    for (Widget child : children) describe(child, parent_index);
  }

 private:
  static Widget submenu_of(Widget w) {
    Widget pane = nullptr;
    XtVaGetValues(w, XmNsubMenuId, &pane, nullptr);
    return pane;
  }

  // A pull-down pane sits in a menu shell that the toolkit makes with it.
  void describe_popup(Widget shell, int parent_index, const std::vector<Widget> &skipped) {
    WidgetList panes = nullptr;
    Cardinal count = 0;
    XtVaGetValues(shell, XmNchildren, &panes, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) {
      if (std::find(skipped.begin(), skipped.end(), panes[i]) != skipped.end()) continue;
      int index = add(panes[i], parent_index, Creation::Pulldown);
      describe_children(panes[i], index);
    }
  }

  int add(Widget w, int parent_index, Creation creation) {
    Node n{creation, XtClass(w), XtName(w), parent_index, XtIsManaged(w) != 0, {}, {}, {}, {}, {}, {}, -1};
    d_.nodes.push_back(std::move(n));
    int index = static_cast<int>(d_.nodes.size()) - 1;
    d_.index[w] = index;
    return index;
  }

  Node &node(Widget w) { return d_.nodes[d_.index[w]]; }

  void value(Widget w, const char *name, XtArgVal v) { node(w).resources.push_back({name, v, -1, false}); }
  template <typename T>
  void copy(Widget w, const char *name) {
    value(w, name, get<T>(w, name));
  }
  void copy_string(Widget w, const char *name) {
    node(w).resources.push_back({name, get<XmString>(w, name), -1, true});
  }
  void copy_widget(Widget w, const char *name) {
    Widget ref = reinterpret_cast<Widget>(get<Widget>(w, name));
    auto found = d_.index.find(ref);
    if (found != d_.index.end()) node(w).resources.push_back({name, 0, found->second, false});
  }

  void attachments(Widget w) {
    static const char *const sides[][3] = {
        {XmNtopAttachment, XmNtopWidget, XmNtopOffset},
        {XmNbottomAttachment, XmNbottomWidget, XmNbottomOffset},
        {XmNleftAttachment, XmNleftWidget, XmNleftOffset},
        {XmNrightAttachment, XmNrightWidget, XmNrightOffset},
    };
    for (const auto &side : sides) {
      auto type = static_cast<unsigned char>(get<unsigned char>(w, side[0]));
      if (type == XmATTACH_NONE) continue;
      value(w, side[0], type);
      if (type == XmATTACH_WIDGET) copy_widget(w, side[1]);
      copy<int>(w, side[2]);
    }
  }

  void describe(Widget w, int parent_index) {
    WidgetClass c = XtClass(w);
    unsigned char rc_type = XmWORK_AREA;
    if (c == xmRowColumnWidgetClass) XtVaGetValues(w, XmNrowColumnType, &rc_type, nullptr);
    Creation creation = rc_type == XmMENU_OPTION ? Creation::OptionMenu
                        : rc_type == XmMENU_BAR  ? Creation::MenuBar
                                                 : Creation::Plain;
    int index = add(w, parent_index, creation);
    if (XmIsForm(XtParent(w))) attachments(w);

    if (c == xmFrameWidgetClass) {
      copy<unsigned char>(w, XmNshadowType);
    } else if (c == xmFormWidgetClass) {
      copy<unsigned char>(w, XmNchildType);
      copy<unsigned char>(w, XmNchildHorizontalAlignment);
      copy<Dimension>(w, XmNshadowThickness);
      copy<int>(w, XmNverticalSpacing);
    } else if (c == xmLabelWidgetClass) {
      copy_string(w, XmNlabelString);
      copy<unsigned char>(w, XmNalignment);
      copy<Dimension>(w, XmNwidth);
      copy<Dimension>(w, XmNheight);
    } else if (c == xmPushButtonWidgetClass) {
      copy_string(w, XmNlabelString);
      copy<XtPointer>(w, XmNuserData);
      if (XmIsForm(XtParent(w))) copy<Dimension>(w, XmNdefaultButtonShadowThickness);
      node(w).callbacks.push_back(XmNactivateCallback);
    } else if (c == xmTextFieldWidgetClass) {
      copy<Dimension>(w, XmNheight);
      copy<XtPointer>(w, XmNuserData);
      char *text = XmTextFieldGetString(w);
      node(w).value = text;
      XtFree(text);
      node(w).callbacks = {XmNactivateCallback, XmNlosingFocusCallback};
    } else if (c == xmToggleButtonWidgetClass) {
      copy<XtPointer>(w, XmNuserData);
      value(w, XmNrecomputeSize, False);
      copy<Dimension>(w, XmNheight);
      copy<unsigned char>(w, XmNalignment);
      copy_string(w, XmNlabelString);
      copy<unsigned char>(w, XmNset);
      node(w).callbacks.push_back(XmNvalueChangedCallback);
    } else if (c == xmCascadeButtonWidgetClass) {
      copy_string(w, XmNlabelString);
      value(w, XmNrecomputeSize, False);
      copy<unsigned char>(w, XmNalignment);
      copy<Dimension>(w, XmNheight);
      copy<Dimension>(w, XmNwidth);
      copy<Dimension>(w, XmNmarginWidth);
      copy<Dimension>(w, XmNmarginTop);
      copy_widget(w, XmNsubMenuId);
    } else if (c == xmRowColumnWidgetClass) {
      describe_row_column(w, rc_type);
      return;
    }
    describe_children(w, index);
  }

  void describe_row_column(Widget w, unsigned char type) {
    if (type == XmMENU_OPTION) return describe_option_menu(w);
    if (type == XmMENU_BAR) {
      value(w, XmNresizeWidth, False);
      value(w, XmNresizeHeight, False);
      copy<Dimension>(w, XmNheight);
      copy<Dimension>(w, XmNwidth);
    } else {
      copy<short>(w, XmNspacing);
    }
    copy<Dimension>(w, XmNmarginWidth);
    copy<Dimension>(w, XmNmarginHeight);
    describe_children(w, d_.index[w]);
  }

  void describe_option_menu(Widget w) {
    copy<XtPointer>(w, XmNuserData);
    copy<short>(w, XmNspacing);
    copy<Dimension>(w, XmNmarginWidth);
    copy<Dimension>(w, XmNmarginHeight);
    Widget pulldown = nullptr, history = nullptr;
    XtVaGetValues(w, XmNsubMenuId, &pulldown, XmNmenuHistory, &history, nullptr);
    Node &n = node(w);
    WidgetList buttons = nullptr;
    Cardinal count = 0;
    XtVaGetValues(pulldown, XmNchildren, &buttons, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) {
      n.button_labels.push_back(reinterpret_cast<XmString>(get<XmString>(buttons[i], XmNlabelString)));
      n.button_managed.push_back(XtIsManaged(buttons[i]) != 0);
      n.button_data.push_back(reinterpret_cast<XtPointer>(get<XtPointer>(buttons[i], XmNuserData)));
      if (buttons[i] == history) n.history = static_cast<int>(i);
    }
  }

  Description &d_;
};

Widget create_option_menu(const Node &n, Widget parent, std::vector<Arg> &args) {
  XmString empty = XmStringCreateLocalized(const_cast<char *>(""));
  args.push_back({XmNlabelString, (XtArgVal)empty});
  args.push_back({XmNbuttonCount, (XtArgVal)n.button_labels.size()});
  args.push_back({XmNbuttons, (XtArgVal)n.button_labels.data()});
  args.push_back({XmNsimpleCallback, (XtArgVal)no_op_callback});
  Widget menu =
      XmCreateSimpleOptionMenu(parent, const_cast<char *>(n.name.c_str()), args.data(), args.size());
  XmStringFree(empty);
  Widget pulldown = nullptr;
  XtVaGetValues(menu, XmNsubMenuId, &pulldown, nullptr);
  WidgetList buttons = nullptr;
  Cardinal count = 0;
  XtVaGetValues(pulldown, XmNchildren, &buttons, XmNnumChildren, &count, nullptr);
  for (Cardinal i = 0; i < count && i < n.button_labels.size(); ++i) {
    XtVaSetValues(buttons[i], XmNuserData, n.button_data[i], XmNrecomputeSize, False, XmNheight, 25, nullptr);
    if (!n.button_managed[i]) XtUnmanageChild(buttons[i]);
  }
  if (n.history >= 0 && static_cast<Cardinal>(n.history) < count)
    XtVaSetValues(menu, XmNmenuHistory, buttons[n.history], nullptr);
  return menu;
}

// Builds the described tree into `row_column` with plain toolkit calls.
void replay(const Description &d, Widget row_column) {
  std::vector<Widget> made(d.nodes.size(), nullptr);
  std::vector<Arg> args;
  for (size_t i = 0; i < d.nodes.size(); ++i) {
    const Node &n = d.nodes[i];
    Widget parent = n.parent < 0 ? row_column : made[n.parent];
    args.clear();
    for (const Resource &r : n.resources)
      args.push_back(
          {const_cast<char *>(r.name), r.widget_ref >= 0 ? (XtArgVal)made[r.widget_ref] : r.value});
    char *name = const_cast<char *>(n.name.c_str());
    switch (n.creation) {
      case Creation::Pulldown:
        made[i] = XmCreatePulldownMenu(parent, name, args.data(), args.size());
        continue;
      case Creation::MenuBar:
        made[i] = XmCreateMenuBar(parent, name, args.data(), args.size());
        break;
      case Creation::OptionMenu:
        made[i] = create_option_menu(n, parent, args);
        break;
      case Creation::Plain:
        made[i] = XtCreateWidget(name, n.widget_class, parent, args.data(), args.size());
        break;
    }
    for (const char *callback : n.callbacks) XtAddCallback(made[i], callback, no_op_callback, nullptr);
    if (!n.value.empty()) XmTextFieldSetString(made[i], const_cast<char *>(n.value.c_str()));
    if (n.managed) XtManageChild(made[i]);
  }
}

// ---------------------------------------------------------------------------
// Timing

struct Page {
  std::string name;
  PageFunction function;
  int page_number;
  int width;
};

struct Figures {
  int items = 0;
  size_t widgets = 0;
  bool same_tree = false;
  std::vector<double> walk_build, plain_build, walk_shown, plain_shown;  // CPU; wall
};

// Whether the plain build made the tree the walk made: the same classes,
// names, parents and managed states in the same order.
bool same_tree(const Description &walk, Widget plain_row_column) {
  Description plain;
  Describer(plain).describe_children(plain_row_column, -1);
  if (plain.nodes.size() != walk.nodes.size()) return false;
  for (size_t i = 0; i < walk.nodes.size(); ++i) {
    const Node &a = walk.nodes[i], &b = plain.nodes[i];
    if (a.widget_class != b.widget_class || a.name != b.name || a.parent != b.parent ||
        a.managed != b.managed || a.resources.size() != b.resources.size() ||
        a.button_labels.size() != b.button_labels.size())
      return false;
  }
  return true;
}

int count_items(const Description &d) {
  int items = 0;
  for (const Node &n : d.nodes) {
    if (n.creation == Creation::OptionMenu || n.widget_class == xmTextFieldWidgetClass ||
        n.widget_class == xmToggleButtonWidgetClass)
      ++items;
  }
  return items;
}

void destroy_window(PageWindow *window) {
  XtDestroyWidget(XtParent(window->form_dialog));
  delete window;
  drain();
}

// Builds the page once through the walk and once by plain calls; the time of
// the build itself and of showing it (realising, laying out, mapping).
void time_builds(const Page &page, Description *&description, Figures &f, int round) {
  auto walk = [&] {
    PageWindow *window = create_page_window(page.page_number, page.width, 550);
    Stamp start = now();
    page.function(PassBuild, nullptr, window);
    f.walk_build.push_back(cpu_since(start));
    XtManageChild(window->form_dialog);
    drain();
    f.walk_shown.push_back(wall_since(start));
    if (!description) {
      description = new Description;
      Describer(*description).describe_children(window->row_column, -1);
      f.items = count_items(*description);
      f.widgets = description->nodes.size();
    }
    destroy_window(window);
  };
  auto plain = [&] {
    PageWindow *window = create_page_window(page.page_number, page.width, 550);
    Stamp start = now();
    replay(*description, window->row_column);
    f.plain_build.push_back(cpu_since(start));
    XtManageChild(window->form_dialog);
    drain();
    f.plain_shown.push_back(wall_since(start));
    if (round == 0) f.same_tree = same_tree(*description, window->row_column);
    destroy_window(window);
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

// Mean time of one store through the widget's callback, and of the store
// with the relayout and redraw that follow it.
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

bool time_store(const Page &page, double &store_ms, double &store_show_ms) {
  PageWindow *window = create_page_window(page.page_number, page.width, 550);
  page.function(PassBuild, nullptr, window);
  XtManageChild(window->form_dialog);
  drain();
  Edit edit{};
  bool found = find_visibility_edit(window->row_column, edit);
  if (found) {
    const int stores = 20;
    double pure = 0, shown = 0;
    for (int i = 0; i < stores; ++i) {
      Stamp start = now();
      edit.apply(i % 2 == 0);
      pure += cpu_since(start);
      drain();
      shown += wall_since(start);
    }
    store_ms = pure / stores;
    store_show_ms = shown / stores;
    stores_timed.push_back(page.name + ": \"" + label_beside(edit.widget) + "\"");
  }
  destroy_window(window);
  return found;
}

void run_page(const Page &page, int rounds) {
  page.function(PassMeasure, nullptr, nullptr);
  Figures f;
  Description *description = nullptr;
  for (int round = 0; round < rounds; ++round) time_builds(page, description, f, round);
  delete description;
  double walk = median(f.walk_build), plain = median(f.plain_build);
  double walk_shown = median(f.walk_shown), plain_shown = median(f.plain_shown);
  double store = 0, store_shown = 0;
  bool has_store = time_store(page, store, store_shown);
  std::printf("%-24s %5d %7zu | %9.1f %9.1f %5.2f | %10.1f %10.1f %5.2f |", page.name.c_str(), f.items,
              f.widgets, walk, plain, plain > 0 ? walk / plain : 0, walk_shown, plain_shown,
              plain_shown > 0 ? walk_shown / plain_shown : 0);
  if (has_store)
    std::printf(" %9.2f %10.2f |", store, store_shown);
  else
    std::printf(" %9s %10s |", "-", "-");
  std::printf(" %s\n", f.same_tree ? "same" : "DIFFERENT");
  std::fflush(stdout);
}

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
}

}  // namespace

int main(int argc, char **argv) {
  std::string command;
  for (int i = 0; i < argc; ++i) command += std::string(i ? " " : "") + argv[i];
  if (!open_display(argc, argv)) {
    std::fprintf(stderr, "setup-bench: cannot open the display (run under xvfb-run)\n");
    return 1;
  }
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  std::printf("command: %s\n", command.c_str());
  std::printf(
      "median of %d rounds per page, milliseconds\n"
      "  build cpu: CPU time of PassBuild through the walk, and of the same tree by plain Motif calls\n"
      "  build+show wall: wall time of the build with managing, realising and mapping the window\n"
      "  store: mean of 20 PassStores through the widget's own callback, each showing or hiding a\n"
      "         section or row (cpu; and wall with the relayout and redraw that follow)\n"
      "  tree: whether the plain build made the same widgets as the walk\n\n",
      rounds);
  std::printf("%-24s %5s %7s | %9s %9s %5s | %10s %10s %5s | %9s %10s | %s\n", "page", "items", "widgets",
              "walk cpu", "plain cpu", "ratio", "walk wall", "plain wall", "ratio", "store cpu", "store wall",
              "tree");

  load_factory_values();
  test_page_reset();
  test_page_device_slots = TEST_DEVICE_CAPACITY;
  testrec.iDeviceCount = TEST_DEVICE_CAPACITY;
  char name[64];
  std::snprintf(name, sizeof name, "test page (%d devices)", TEST_DEVICE_CAPACITY);
  run_page({name, test_page, PAGE_GENERAL, 600}, rounds);

  static const char *const page_names[PAGE_COUNT] = {"signal processor", "control processor", "general",
                                                     "ingest",           "product",           "output device",
                                                     "input device"};
  for (int n = 0; n < PAGE_COUNT; ++n) {
    const PageInfo &info = page_info(n);
    if (info.function) run_page({page_names[n], info.function, n, info.width}, rounds);
  }
  std::printf("\nstores timed (the first toggle or choice that shows or hides something):\n");
  for (const std::string &store : stores_timed) std::printf("  %s\n", store.c_str());
  return 0;
}
