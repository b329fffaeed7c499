// What the core asks of whoever shows the program to a person: the page
// windows and their items, the bounds error list, what loading and saving
// report, and a help viewer that could not be started. The core itself
// (ids, visibility, measuring, listing, checking, repairing, storing a typed
// value, loading and saving) needs no display; a program with windows
// installs its front end at start, and one that only looks at the items
// (help pages, the command line) installs none and uses the visit pass.
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

// One record of functions; a front end sets every member.
struct FrontEnd {
  // The page windows.
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
  // Whether a frame or row is shown, counting what set_shown said since the
  // last shown_done; the front end may hold the changes until shown_done,
  // which the walk calls once its pass is over.
  bool (*is_shown)(UiHandle frame_or_row);
  void (*set_shown)(UiHandle frame_or_row, bool shown);
  void (*shown_done)(void);
  // A warning over the window of the item whose widget fired; `open` holds
  // it while it is up, so it is shown once.
  void (*notice)(const SetupItem *over, const char *title, const char *message, UiHandle *open);

  // The bounds error list (items/bounds.h): a line was added, the list was
  // emptied.
  void (*bounds_line_added)(const char *text);
  void (*bounds_cleared)(void);

  // Loading and saving (store/store.h): a failure of the site library, one
  // error status line; a message to acknowledge (e.g. a converted setup
  // file) with its button's label.
  void (*error_status_line)(const char *line);
  void (*information)(const char *message, const char *ok_label);

  // start_help could not open the viewer; `reason` names the page to open
  // by hand.
  void (*help_failure)(const char *reason);
};

// The front end in use from now on; null for none. Without one no window
// is built, bounds and error status lines are only kept, and messages and
// help failures go to standard error.
void install_front_end(const FrontEnd *front_end);
const FrontEnd *installed_front_end(void);

// Called by the front end when the window a page was built into goes away.
void page_window_gone(PageState &page, void *window);
