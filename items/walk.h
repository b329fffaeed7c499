// The page walk: a page function is straight-line code of sections, rows
// and items; the walk performs the pass it was called with over them.
//
//   void control_processor_page(uint32_t pass, SetupItem *item, XtPointer arg) {
//     PageWalk w(zel_page, pass, item, arg);
//     w.section(_("Interface to ZEL"), "interface_to_zel");
//     w.row();
//     w.toggle(FIELD(zel.lAntAvailable), _("System has an antenna"), _("Yes"), _("No"));
//     w.row(zel.lAntAvailable != 0);
//     ...
//   }
//
// Texts handed to the walk are already translated (_("...")); an empty
// label is passed as "" (never through gettext). Conditions are evaluated
// by the caller when the section or row starts, in every pass.
#pragma once

#include <initializer_list>

#include "items/field.h"
#include "items/item.h"

struct Choice {
  const char *text;  // translated, except the few shown as they stand
  long value;
};

using Hints = std::initializer_list<const char *>;
using Choices = std::initializer_list<Choice>;

enum TextFlags {
  TextPlain = 1,
  TextBlankPadded = 2,
  TextMasked = 4,
  TextUnderscored = 8,
};

// Per-page state, static for the whole run.
struct PageState {
  const char *title_format;  // catalogue key with one %s (host name)
  const char *help_topic;
  PageFunction function;
  XtCallbackProc callback;  // page_callback<function>
  int label_width;
  char list_format[32];  // "  %-Ns: "
  char title[256];
  Widget *section_widgets;
  int section_count;
  Widget *row_widgets;
  int row_count;
  void *built_items;  // the walk's record of items made in PassBuild
  char label_buffer[256];
  char title_buffer[256];
  char hint_buffer[64];
};

#define PAGE_STATE(function, title_format, help_topic)                                                       \
  PageState {                                                                                                \
    title_format, help_topic, function, page_callback<function>, 0, "", "", nullptr, 0, nullptr, 0, nullptr, \
        "", "", ""                                                                                           \
  }

class PageWalk {
 public:
  PageWalk(PageState &page, uint32_t pass, SetupItem *item, XtPointer arg);
  ~PageWalk();  // epilogue: count-seen cleared, listing label format built
  PageWalk(const PageWalk &) = delete;
  PageWalk &operator=(const PageWalk &) = delete;

  void section(const char *title, const char *help_topic, bool shown = true);
  void row(bool shown = true);

  void number(Field f, const char *label, const char *format, double scale, Hints hints = {});
  void text(TextField f, const char *label, Hints hints = {}, int flags = TextPlain);
  void choice(Field f, const char *label, Choices choices);
  void toggle(Field f, const char *label, const char *on_text, const char *off_text);

  // Call right after a count item: from here hidden items are not repaired.
  void count_seen();
  // Clears the count-seen flag (end of a run of counted sections).
  void count_done();

  // Items and sections from here on register this callback instead of the
  // page's own (nullptr restores it).
  void use_callback(XtCallbackProc callback);

  // Page-wide buffers for numbered labels, titles and formatted hints (hints
  // in C notation, as the dispatcher reads every hint label).
  const char *label(const char *format, ...) __attribute__((format(printf, 2, 3)));
  const char *title(const char *format, ...) __attribute__((format(printf, 2, 3)));
  const char *hint(const char *format, ...) __attribute__((format(printf, 2, 3)));

  uint32_t pass() const { return pass_; }
  bool visible() const { return section_visible_ && row_visible_; }

 private:
  // What the current pass does at the item being handled.
  enum Step { StepNone, StepBuild, StepStore, StepMeasure, StepList, StepCheck, StepRepair };
  Step item_step(uint32_t kind, uint32_t hint_kind) const;
  Widget build_parent() const;
  // PassStore: shows the stored value again in an item whose row or section
  // has just been revealed, and counts the item.
  void next_item();

  PageState &page_;
  uint32_t pass_;
  SetupItem *item_;
  XtPointer arg_;
  uint32_t id_ = 0;
  bool section_visible_ = false;
  bool row_visible_ = false;
  bool has_count_ = false;
  bool section_revealed_ = false;  // PassStore: the section was hidden until now
  bool row_revealed_ = false;      // PassStore: the row was hidden until now
  size_t item_index_ = 0;          // items handled so far, in build order
  XtCallbackProc callback_;
};

// Shows the stored value again in every built item bound to this field
// address (used when a page changes a value behind its widget).
void page_redisplay_field(PageState &page, const void *field_address);
