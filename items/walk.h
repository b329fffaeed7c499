// The page walk: a page function is straight-line code of sections, rows
// and items; the walk performs the pass it was called with over them.
//
//   void control_processor_page(uint32_t pass, SetupItem *item, void *arg) {
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
//
// The walk needs no display: what PassBuild makes and what PassStore shows
// again goes through the window front end (items/front_end.h).
#pragma once

#include <initializer_list>

#include "items/field.h"
#include "items/front_end.h"
#include "items/item.h"

using Hints = std::initializer_list<const char *>;
using Choices = std::initializer_list<Choice>;

enum TextFlags {
  TextPlain = 1,
  TextBlankPadded = 2,
  TextMasked = 4,
  TextUnderscored = 8,
};

// A rule a page applies after a value was stored through the items that
// follow it: it may change values (and show them again with
// page_redisplay_field) and returns a warning to show, or nullptr.
using StoreRule = const char *(*)(void);

// What became of a PassStore, filled in by the walk.
struct StoreOutcome {
  bool stored;         // an item with the id took the value
  bool clamped;        // a number outside its limits (or not a number) was clamped
  const char *notice;  // the warning of the page's store rule, or nullptr
};

// PassStore's argument: the value for the item with this id. The edit
// session makes it from what a front end read (items/item.h gives the kinds).
struct StoreRequest {
  uint32_t id;
  uint32_t kind;         // the item's kind, a hint kind for a chosen hint, or KindSectionHelp
  const double *number;  // numbers: the value, or nullptr when nothing parsed
  const char *text;      // texts: the typed text or the hint's label
  long index;            // choices: the chosen entry
  bool on;               // toggles: the new state
  bool edit;             // store even a value the field already shows
  StoreOutcome outcome;
};

// Per-page state, static for the whole run.
struct PageState {
  const char *title_format;  // catalogue key with one %s (host name)
  const char *help_topic;
  PageFunction function;
  int label_width;
  char list_format[32];  // "  %-Ns: "
  char title[256];
  UiHandle *section_widgets;
  int section_count;
  UiHandle *row_widgets;
  int row_count;
  void *built_items;  // the walk's record of items made in PassBuild
  char label_buffer[256];
  char title_buffer[256];
  char hint_buffer[64];
  UiHandle open_notice;  // a warning of the page's store rule while it is up
};

#define PAGE_STATE(function, title_format, help_topic)                                                  \
  PageState {                                                                                           \
    title_format, help_topic, function, 0, "", "", nullptr, 0, nullptr, 0, nullptr, "", "", "", nullptr \
  }

// What PassVisit hands to its visitor for each item, shown or not.
struct ItemVisit {
  const PageState *page;
  uint32_t id;
  const ItemDescription *desc;
  const char *section_title;
  const char *section_topic;
  bool section_shown;        // the section's condition under the current values
  bool row_shown;            // the row's condition
  bool counted;              // after the page's count item
  const char *section_when;  // the section's condition in words, or nullptr
  const char *row_when;      // the row's condition in words, or nullptr
};

// PassVisit's argument.
struct ItemVisitor {
  void (*visit)(void *context, const ItemVisit &item);
  void *context;
};

class PageWalk {
 public:
  PageWalk(PageState &page, uint32_t pass, SetupItem *item, void *arg);
  ~PageWalk();  // epilogue: store rule, count-seen cleared, listing label format, final upkeep
  PageWalk(const PageWalk &) = delete;
  PageWalk &operator=(const PageWalk &) = delete;

  // `when` says the condition in words, for the help pages.
  void section(const char *title, const char *help_topic, bool shown = true, const char *when = nullptr);
  void row(bool shown = true, const char *when = nullptr);

  void number(Field f, const char *label, const char *format, double scale, Hints hints = {});
  void text(TextField f, const char *label, Hints hints = {}, int flags = TextPlain);
  void choice(Field f, const char *label, Choices choices);
  void toggle(Field f, const char *label, const char *on_text, const char *off_text);

  // Call right after a count item: from here hidden items are not repaired.
  void count_seen();
  // Clears the count-seen flag (end of a run of counted sections).
  void count_done();

  // A value stored through the items and sections from here on is followed,
  // once the walk is over, by this rule (nullptr: no rule from here).
  void after_store(StoreRule rule);

  // Record upkeep: what a page does to the setup records in every pass
  // besides its items (limit copies that follow a value, values held in
  // fixed limits). PassVisit only looks and skips it. `upkeep` runs `fn` at
  // once; `upkeep_after_walk` once the walk is over, after the store rule.
  template <typename Fn>
  void upkeep(Fn &&fn) {
    if (pass_ != PassVisit) fn();
  }
  void upkeep_after_walk(void (*fn)(void)) { final_upkeep_ = fn; }

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
  // PassBuild: the front end that builds, while there is a window.
  const FrontEnd *builder() const;
  // The item in every pass: builds, visits, remembers the store rule.
  void handle(const ItemDescription &desc, Step step);
  // PassStore: shows the stored value again in the item's widget.
  void show_stored(const ItemDescription &desc);
  // PassStore: shows the stored value again in an item whose row or section
  // has just been revealed, and counts the item.
  void next_item();

  // PassStore: whether this is the item (or section help) the request is for.
  bool requested(uint32_t kind, uint32_t hint_kind) const;

  PageState &page_;
  uint32_t pass_;
  SetupItem *item_;
  void *arg_;
  StoreRequest *request_;  // PassStore only
  uint32_t id_ = 0;
  bool section_visible_ = false;
  bool row_visible_ = false;
  bool has_count_ = false;
  bool section_revealed_ = false;  // PassStore: the section was hidden until now
  bool row_revealed_ = false;      // PassStore: the row was hidden until now
  size_t item_index_ = 0;          // items handled so far, in build order
  bool row_built_ = false;         // PassBuild: a row exists to build items into
  const char *section_title_ = "";
  const char *section_topic_ = "";
  const char *section_when_ = nullptr;
  const char *row_when_ = nullptr;
  StoreRule store_rule_ = nullptr;
  StoreRule pending_rule_ = nullptr;  // PassStore: to run at the end of the walk
  void (*final_upkeep_)(void) = nullptr;
};

// Shows the stored value again in every built item bound to this field
// address (used when a page changes a value behind its widget).
void page_redisplay_field(PageState &page, const void *field_address);

// The widget that shows the value of the built item with this id, and its
// label when `label` is given; nullptr while the page has no window.
UiHandle page_item_widget(const PageState &page, uint32_t id, UiHandle *label = nullptr);
