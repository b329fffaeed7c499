// In-process page tests: reading Motif widgets, driving them through their
// real callbacks as the user would, and a page built into a window of its
// own.
#pragma once

#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

#include <functional>
#include <string>
#include <vector>

#include "items/field.h"
#include "items/item.h"
#include "motif/front_end.h"
#include "tests/support/files.h"

template <typename T>
T get(Widget w, const char *resource) {
  T value{};
  XtVaGetValues(w, resource, &value, nullptr);
  return value;
}

std::string string_of(XmString s);
std::string label_of(Widget w, const char *resource = XmNlabelString);
// A message box's message, its separators as newlines.
std::string message_text(Widget box);
std::vector<Widget> children(Widget w);  // none unless composite
std::vector<std::string> list_items(Widget list);
SetupItem *item_of(Widget w);  // the item record in XmNuserData
// Every widget from `root` down, in creation order, that `accept` takes.
std::vector<Widget> collect(Widget root, const std::function<bool(Widget)> &accept);

// Whether the scrolled window shows its horizontal scroll bar: the toolkit
// keeps a bar it does not need managed, moved below the window's edge.
bool scrolls_sideways(Widget scrolled_window);

std::string field_text(Widget field);
void activate(Widget w);
void type_into(Widget field, const char *text);  // then Return
void flip(Widget toggle, bool state);
std::string chosen(Widget option_menu);
void choose(Widget option_menu, const char *entry);
// The hint menu entries of a hint field.
std::vector<Widget> hints_of(Widget field);
std::vector<std::string> hint_texts(Widget field);
void pick_hint(Widget field, const char *entry);

// The page's listing (PassList into a file).
std::string page_listing(PageFunction page);
// The bounds lines that the page's `pass` gives, and those naming `what`.
std::vector<std::string> bounds_lines_after(PageFunction page, uint32_t pass);
bool mentions(const std::vector<std::string> &lines, const std::string &what);

// Sets the minimum, maximum and factory value of `field` of `current` at the
// same place in its limit copies.
template <typename Record, typename T>
void set_limits(Record &current, Record *copies, T &field, double minimum, double maximum, double factory) {
  const size_t offset = reinterpret_cast<char *>(&field) - reinterpret_cast<char *>(&current);
  const double values[] = {minimum, maximum, factory};
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY})
    *reinterpret_cast<T *>(reinterpret_cast<char *>(&copies[copy]) + offset) = static_cast<T>(values[copy]);
}

// A page built into a window of its own, or the editor's own page window.
struct PageView {
  PageWindow *record = nullptr;
  bool owned = false;  // built here, not by open_page

  void build(int page_number, PageFunction page);
  void destroy();
  // The section frame titled so.
  Widget section(const std::string &title) const;
  // The n-th item labelled so: the first widget after the label that
  // carries an item record (text field, option menu or toggle).
  Widget item(const std::string &label, int nth = 0) const;
  // The n-th toggle whose on text is this (for toggles with empty labels).
  Widget toggle_on(const char *on_text, int nth = 0) const;
  // The widget and every ancestor up to the page's row-column managed.
  bool shown(Widget w) const;
};
