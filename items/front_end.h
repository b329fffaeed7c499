// What the page walk asks of whoever shows the items. The walk itself (ids,
// visibility, measuring, listing, checking, repairing and storing a typed
// value) needs no display; a front end that puts items into windows
// implements this interface, and one that only looks at the items (help
// pages, the command line) uses the visit pass instead.
#pragma once

#include <cstdint>

#include "items/field.h"

struct SetupItem;
struct PageState;

// An object of the front end (a widget of the Motif editor). The core only
// hands it back.
struct UiObject;
using UiHandle = UiObject *;

struct Choice {
  const char *text;  // translated, except the few shown as they stand
  long value;
};

// An item as its page describes it: everything one call of the page gives.
struct ItemDescription {
  uint32_t kind;       // KindNumber, KindText, KindChoice or KindToggle
  const char *label;   // translated
  Field field;         // numbers, choices and toggles
  TextField text;      // texts
  int flags;           // texts: TextFlags
  const char *format;  // numbers: display format for one double
  double scale;        // numbers: stored = shown * scale
  const Choice *choices;
  int choice_count;
  const char *const *hints;
  int hint_count;
  const char *on_text;  // toggles
  const char *off_text;
};

struct FrontEnd {
  // PassBuild: the window handed to the page gets its title and help topic;
  // `page` is told through page_window_gone when the window is destroyed.
  void (*begin_page)(PageState &page, void *window, const char *title, const char *help_topic);
  // A section frame, left hidden, with its title and Help button; returns
  // the section help record and the frame.
  SetupItem *(*make_section)(PageState &page, void *window, const char *title, UiHandle *frame);
  // A row in the section made last, left hidden.
  UiHandle (*make_row)(void);
  // Makes this item in the row made last: the field's record (and, with
  // hints, the hint menu's record), its label and the widget that shows
  // the value.
  SetupItem *(*make_item)(const ItemDescription &desc, int label_width, SetupItem **hint_record,
                          UiHandle *label, UiHandle *shows);
  // Sets an item label's width, in characters.
  void (*set_label_width)(UiHandle label, int label_width);
  // Shows this value: a number in shown units, a toggle's state or a
  // choice's value (numbers, choices, toggles), or a prepared text.
  void (*show_value)(UiHandle shows, const ItemDescription &desc, double value, const char *text);
  bool (*is_shown)(UiHandle frame_or_row);
  void (*set_shown)(UiHandle frame_or_row, bool shown);
  // A warning over the window of the item whose widget fired; `open` holds
  // it while it is up, so it is shown once.
  void (*notice)(const SetupItem *over, const char *title, const char *message, UiHandle *open);
};

// The front end that builds windows; set by that front end when it is
// linked in (null in a program without windows).
extern const FrontEnd *window_front_end;

// Called by the front end when the window a page was built into goes away.
void page_window_gone(PageState &page, void *window);
