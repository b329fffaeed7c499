// A built page's widget tree, described once and replayed with plain Motif
// calls, as straight-line code written by hand would build it.
#pragma once

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include <string>
#include <unordered_map>
#include <vector>

struct Resource {
  const char *name;
  XtArgVal value;
  int widget_ref;    // node index when the value is a widget, else -1
  std::string text;  // a compound string's text, made anew in every replay
  bool is_string;
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
  std::vector<std::string> button_labels;
  std::vector<bool> button_managed;
  std::vector<XtPointer> button_data;
  int history;
};

struct Description {
  std::vector<Node> nodes;
  std::unordered_map<Widget, int> index;
};

// Describes everything below `row_column` (classes, names, resources,
// attachments, callbacks, texts and managed states).
Description describe_page(Widget row_column);

// Builds the described tree into `row_column` with plain toolkit calls;
// every compound string is made from its text on the way, as the walk does.
void replay(const Description &d, Widget row_column);

// Whether the plain build made the tree the walk made.
bool same_tree(const Description &walk, Widget plain_row_column);

// Text fields, option menus and toggles.
int count_items(const Description &d);

// A page window made by plain calls: form dialog, menu bar with File and
// Help menus, automatic scrolled window and row column, as the editor's.
struct PlainWindow {
  Widget form_dialog;
  Widget row_column;
};
PlainWindow plain_page_window(int width, int height);

// Calls `fn` on `w` and every widget below it.
template <typename Fn>
void for_each_widget(Widget w, const Fn &fn);

std::vector<Widget> children_of(Widget w);
bool is_option_menu(Widget w);

template <typename Fn>
void for_each_widget(Widget w, const Fn &fn) {
  fn(w);
  for (Widget child : children_of(w)) for_each_widget(child, fn);
}
