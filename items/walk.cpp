#include "items/walk.h"

#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "items/bounds.h"
#include "items/builders.h"
#include "items/c_notation.h"
#include "items/i18n.h"
#include "items/listing.h"
#include "items/state.h"
#include "items/text_display.h"
#include "sitelib/sitelib.h"

namespace {

// An item made in PassBuild, kept so that its value can be shown again.
struct BuiltItem {
  uint32_t kind;  // KindNumber, KindText, KindChoice or KindToggle
  Widget widget;  // text field, option menu or toggle button
  const void *address;
  Field field;
  double scale;
  TextField text;
  int flags;
  std::vector<long> choice_values;
};

struct BuiltItems {
  Widget form_dialog;  // the window the items live in
  std::vector<BuiltItem> items;
  std::vector<Widget> labels;  // the item labels of the window
  int widest_label = 0;        // in characters, plus one as measured
};

BuiltItems &built_items(PageState &page) {
  if (!page.built_items) page.built_items = new BuiltItems{};
  return *static_cast<BuiltItems *>(page.built_items);
}

void forget_widgets(PageState &page) {
  std::fill(page.section_widgets, page.section_widgets + page.section_count, nullptr);
  std::fill(page.row_widgets, page.row_widgets + page.row_count, nullptr);
}

// The window's widgets die with it; a later rebuild of the same page into a
// new window has already replaced the list, so only a matching one is emptied.
void forget_built_items(Widget w, XtPointer client, XtPointer) {
  auto &page = *static_cast<PageState *>(client);
  BuiltItems &built = built_items(page);
  if (built.form_dialog != w) return;
  built.form_dialog = nullptr;
  built.items.clear();
  forget_widgets(page);
}

// Manages or unmanages a frame or row only when its state changes, which
// keeps a store on a large page cheap.
void set_managed(Widget w, bool shown) {
  if (!w || static_cast<bool>(XtIsManaged(w)) == shown) return;
  if (shown)
    XtManageChild(w);
  else
    XtUnmanageChild(w);
}

// Grows a widget array indexed by section or row number to hold `index`.
void store_widget(Widget *&array, int &count, int index, Widget w) {
  if (index >= count) {
    Widget *grown = static_cast<Widget *>(std::realloc(array, (index + 1) * sizeof(Widget)));
    if (!grown) return;
    for (int i = count; i <= index; ++i) grown[i] = nullptr;
    array = grown;
    count = index + 1;
  }
  array[index] = w;
}

Widget widget_at(Widget *array, int count, int index) { return index < count ? array[index] : nullptr; }

bool is_revealed(Widget w, bool shown) { return w && shown && !XtIsManaged(w); }

Widget field_widget(const SetupItem *item) { return static_cast<FieldWidgets *>(item->widgets)->field; }

void copy_text(char (&target)[80], const char *text) { std::snprintf(target, sizeof target, "%s", text); }

bool limits_missing(double minimum, double maximum) { return minimum == 0 && maximum == 0; }

void report_missing_limits(const Field &f, const char *label) {
  char path[160];
  report_internal_error(field_path(f, path, sizeof path), label);
}

double clamp_to_limits(double value, double minimum, double maximum) {
  // Written so that NaN ends up at the minimum.
  if (!(value > minimum)) value = minimum;
  if (!(maximum > value)) value = maximum;
  return value;
}

// A value that is not a number lies in no range.
bool out_of_range(const Field &f) {
  double value = field_value(f);
  return !(value >= field_limit(f, COPY_MIN) && value <= field_limit(f, COPY_MAX));
}

// Whether `typed` is what the field shows for its stored value, in range.
// Leaving a field unedited then stores nothing, so a value finer than its
// display format is not rounded to the format just by passing through.
bool is_shown_value(const Field &f, const char *format, double scale, double typed) {
  char shown[256];
  std::snprintf(shown, sizeof shown, format, field_value(f) / scale);
  char *end = nullptr;
  double value = std::strtod(shown, &end);
  return end != shown && value == typed && !out_of_range(f);
}

// The label column was measured before the setups were read; a label that
// exists only for the loaded values (a device section beyond none, say) may
// be wider. The window's column then grows to it; the listing keeps the
// measured width.
void note_label(PageState &page, const SetupItem *item, const char *label) {
  BuiltItems &built = built_items(page);
  built.labels.push_back(static_cast<const FieldWidgets *>(item->widgets)->label);
  built.widest_label = std::max(built.widest_label, strlen_utf8(label) + 1);
}

void fit_label_column(PageState &page) {
  if (!page.built_items) return;
  const BuiltItems &built = built_items(page);
  if (built.widest_label <= page.label_width) return;
  for (Widget label : built.labels) set_label_width(label, built.widest_label);
}

// Items that were built record themselves with their binding.
void remember(PageState &page, BuiltItem item) { built_items(page).items.push_back(std::move(item)); }

void show_text_field(Widget w, const TextField &f, int flags) {
  char shown[TEXT_SHOWN_MAX + 1];
  prepare_shown_text(f.address, f.size, flags, shown);
  show_text(w, shown);
}

void show_choice(Widget menu, double value, const Choice *choices, int count) {
  select_choice(menu, static_cast<long>(value), choices, count);
}

void set_toggle(Widget toggle, double value) {
  XtVaSetValues(toggle, XmNset, value != 0 ? XmSET : XmUNSET, nullptr);
  show_toggle(toggle, value != 0);
}

void redisplay(const BuiltItem &b) {
  switch (b.kind) {
    case KindNumber:
      show_number(b.widget, field_value(b.field) / b.scale);
      break;
    case KindText:
      show_text_field(b.widget, b.text, b.flags);
      break;
    case KindToggle:
      set_toggle(b.widget, field_value(b.field));
      break;
    case KindChoice: {
      std::vector<Choice> choices;
      for (long value : b.choice_values) choices.push_back({"", value});
      show_choice(b.widget, field_value(b.field), choices.data(), static_cast<int>(choices.size()));
      break;
    }
  }
}

}  // namespace

PageWalk::PageWalk(PageState &page, uint32_t pass, SetupItem *item, XtPointer arg)
    : page_(page), pass_(pass), item_(item), arg_(arg), callback_(page.callback) {
  // gettext("") would give the catalogue header, so an empty format stays empty.
  const bool has_title = page_.title_format && *page_.title_format;
  std::snprintf(page_.title, sizeof page_.title, has_title ? _(page_.title_format) : "", host_name);
  switch (pass_) {
    case PassBuild:
      if (auto *window = static_cast<PageWindow *>(arg_)) {
        set_page_title(window, page_.title, page_.help_topic);
        BuiltItems &built = built_items(page_);
        built.items.clear();
        built.labels.clear();
        built.widest_label = 0;
        built.form_dialog = window->form_dialog;
        // A page built anew into another window may have fewer sections and
        // rows: none of the earlier window's widgets may stay remembered.
        forget_widgets(page_);
        XtAddCallback(window->form_dialog, XtNdestroyCallback, forget_built_items, &page_);
      }
      break;
    case PassList:
      // Normally made by PassMeasure at start-up; a page listed before
      // that still gets its labels.
      if (!page_.list_format[0])
        build_list_format(page_.list_format, sizeof page_.list_format, page_.label_width);
      if (arg_) list_page_heading(static_cast<FILE *>(arg_), page_.title);
      break;
    case PassCheck:
    case PassRepair:
      add_bounds_heading(page_.title);
      break;
  }
}

PageWalk::~PageWalk() {
  if (has_count_) ::count_seen = 0;
  if (pass_ == PassBuild) fit_label_column(page_);
  if (pass_ == PassMeasure) build_list_format(page_.list_format, sizeof page_.list_format, page_.label_width);
}

Widget PageWalk::build_parent() const {
  auto *window = static_cast<PageWindow *>(arg_);
  return window ? window->row_column : nullptr;
}

void PageWalk::section(const char *title, const char *help_topic, bool shown) {
  id_ += 1u << 24;
  const int number = id_ >> 24;
  section_visible_ = shown;
  switch (pass_) {
    case PassBuild:
      if (Widget parent = build_parent()) {
        SetupItem *help = build_section(parent, title, callback_);
        help->kind = KindSectionHelp;
        help->id = id_;
        copy_text(help->text, page_.help_topic ? page_.help_topic : "");
        Widget frame = static_cast<SectionWidgets *>(help->widgets)->frame;
        store_widget(page_.section_widgets, page_.section_count, number, frame);
        set_managed(frame, shown);
      }
      break;
    case PassStore: {
      if (item_ && item_->id == id_ && item_->kind == KindSectionHelp) start_help(help_topic);
      Widget frame = widget_at(page_.section_widgets, page_.section_count, number);
      section_revealed_ = is_revealed(frame, shown);
      set_managed(frame, shown);
      break;
    }
    case PassList:
      if (shown && arg_) list_section_title(static_cast<FILE *>(arg_), title);
      break;
  }
}

void PageWalk::row(bool shown) {
  id_ = (id_ + (1u << 12)) & ~0xfffu;
  const int number = (id_ >> 12) & 0xfff;
  row_visible_ = shown;
  switch (pass_) {
    case PassBuild:
      if (build_parent() && current_section_rowcolumn) {
        Widget form = build_row();
        store_widget(page_.row_widgets, page_.row_count, number, form);
        set_managed(form, shown);
      }
      break;
    case PassStore: {
      Widget form = widget_at(page_.row_widgets, page_.row_count, number);
      row_revealed_ = is_revealed(form, shown);
      set_managed(form, shown);
      break;
    }
  }
}

// A revealed row may edit a field that another row changed while this one
// was hidden (two rows bound to one field): its widgets still show the old
// value, and leaving them would store it back. Show what is stored instead.
void PageWalk::next_item() {
  if (pass_ == PassStore && (section_revealed_ || row_revealed_) && page_.built_items) {
    const BuiltItems &built = built_items(page_);
    if (item_index_ < built.items.size()) redisplay(built.items[item_index_]);
  }
  ++item_index_;
  ++id_;
}

PageWalk::Step PageWalk::item_step(uint32_t kind, uint32_t hint_kind) const {
  switch (pass_) {
    case PassBuild:
      return build_parent() && current_row_form ? StepBuild : StepNone;
    case PassStore:
      return item_ && item_->id == id_ && (item_->kind == kind || item_->kind == hint_kind) ? StepStore
                                                                                            : StepNone;
    case PassMeasure:
      return StepMeasure;
    case PassList:
      return visible() && arg_ ? StepList : StepNone;
    case PassCheck:
      return visible() ? StepCheck : StepNone;
    case PassRepair:
      return visible() || ::count_seen == 0 ? StepRepair : StepNone;
  }
  return StepNone;
}

namespace {

void measure_label(PageState &page, const char *label) {
  int width = strlen_utf8(label) + 1;
  if (width > page.label_width) page.label_width = width;
}

// The item's field and, with hints, its hint menu record.
SetupItem *build_field(PageState &page, const char *label, XtCallbackProc callback, Hints hints,
                       uint32_t kind, uint32_t hint_kind, uint32_t id) {
  SetupItem *field;
  if (hints.size() > 0) {
    SetupItem *hint_item = nullptr;
    field = build_hint_field(label, page.label_width, callback, hints.begin(), static_cast<int>(hints.size()),
                             &hint_item);
    hint_item->kind = hint_kind;
    hint_item->id = id;
  } else {
    field = build_label_field(label, page.label_width, callback);
  }
  field->kind = kind;
  field->id = id;
  return field;
}

}  // namespace

void PageWalk::number(Field f, const char *label, const char *format, double scale, Hints hints) {
  switch (item_step(KindNumber, KindHintNumber)) {
    case StepBuild: {
      SetupItem *field = build_field(page_, label, callback_, hints, KindNumber, KindHintNumber, id_);
      note_label(page_, field, label);
      copy_text(field->text, format);
      Widget w = field_widget(field);
      show_number(w, field_value(f) / scale);
      remember(page_, {KindNumber, w, f.address, f, scale, {}, 0, {}});
      break;
    }
    case StepStore:
      // A chosen hint is always an edit, even when the field shows its value.
      if (auto *typed = static_cast<const double *>(arg_);
          typed && (item_->kind == KindHintNumber || !is_shown_value(f, format, scale, *typed))) {
        double value =
            clamp_to_limits(*typed, field_limit(f, COPY_MIN) / scale, field_limit(f, COPY_MAX) / scale);
        field_assign(f, value * scale);
      }
      show_number(field_widget(item_), field_value(f) / scale);
      break;
    case StepMeasure:
      measure_label(page_, label);
      break;
    case StepList:
      list_number(static_cast<FILE *>(arg_), label, page_.list_format, format, field_value(f) / scale);
      break;
    case StepCheck: {
      double minimum = field_limit(f, COPY_MIN), maximum = field_limit(f, COPY_MAX);
      if (limits_missing(minimum, maximum)) report_missing_limits(f, label);
      if (out_of_range(f)) number_check_line(label, format, field_value(f), minimum, maximum, scale);
      break;
    }
    case StepRepair:
      if (out_of_range(f)) {
        double old = field_value(f);
        field_assign(f, field_limit(f, COPY_FACTORY));
        if (visible()) number_repair_line(label, format, field_value(f), old, scale);
      }
      break;
    case StepNone:
      break;
  }
  next_item();
}

void PageWalk::text(TextField f, const char *label, Hints hints, int flags) {
  switch (item_step(KindText, KindHintText)) {
    case StepBuild: {
      SetupItem *field = build_field(page_, label, callback_, hints, KindText, KindHintText, id_);
      note_label(page_, field, label);
      Widget w = field_widget(field);
      show_text_field(w, f, flags);
      remember(page_, {KindText, w, f.address, {}, 1, f, flags, {}});
      break;
    }
    case StepStore:
      if (arg_ && item_->kind == KindHintText)
        store_text(static_cast<const char *>(arg_), f.address, f.size, flags);
      else if (arg_)
        store_typed_text(static_cast<const char *>(arg_), f.address, f.size, flags);
      show_text_field(field_widget(item_), f, flags);
      break;
    case StepMeasure:
      measure_label(page_, label);
      break;
    case StepList:
      list_text(static_cast<FILE *>(arg_), label, page_.list_format, f.address, f.size, flags);
      break;
    default:
      break;  // texts have no limits to check or repair
  }
  next_item();
}

void PageWalk::choice(Field f, const char *label, Choices choices) {
  const Choice *entries = choices.begin();
  const int count = static_cast<int>(choices.size());
  switch (item_step(KindChoice, KindChoice)) {
    case StepBuild: {
      SetupItem *item = build_option_menu(label, entries, count, page_.label_width, callback_);
      item->kind = KindChoice;
      item->id = id_;
      note_label(page_, item, label);
      Widget menu = field_widget(item);
      show_choice(menu, field_value(f), entries, count);
      BuiltItem built{KindChoice, menu, f.address, f, 1, {}, 0, {}};
      for (const Choice &c : choices) built.choice_values.push_back(c.value);
      remember(page_, std::move(built));
      break;
    }
    case StepStore: {
      if (count == 0) break;
      intptr_t index = reinterpret_cast<intptr_t>(arg_);
      field_assign(f, entries[index >= 0 && index < count ? index : 0].value);
      show_choice(field_widget(item_), field_value(f), entries, count);
      break;
    }
    case StepMeasure:
      measure_label(page_, label);
      break;
    case StepList:
      list_choice(static_cast<FILE *>(arg_), label, page_.list_format, field_value(f), entries, count);
      break;
    case StepCheck:
      if (limits_missing(field_limit(f, COPY_MIN), field_limit(f, COPY_MAX))) report_missing_limits(f, label);
      if (choice_index(field_value(f), entries, count) == count) choice_check_line(label);
      break;
    case StepRepair:
      if (count > 0 && choice_index(field_value(f), entries, count) == count) {
        field_assign(f, entries[0].value);
        if (visible()) choice_repair_line(label, entries[0].text);
      }
      break;
    case StepNone:
      break;
  }
  next_item();
}

void PageWalk::toggle(Field f, const char *label, const char *on_text, const char *off_text) {
  switch (item_step(KindToggle, KindToggle)) {
    case StepBuild: {
      SetupItem *item = build_toggle(label, off_text, on_text, page_.label_width, callback_);
      item->kind = KindToggle;
      item->id = id_;
      note_label(page_, item, label);
      Widget toggle = field_widget(item);
      set_toggle(toggle, field_value(f));
      remember(page_, {KindToggle, toggle, f.address, f, 1, {}, 0, {}});
      break;
    }
    case StepStore:
      if (auto *state = static_cast<const uint8_t *>(arg_)) field_assign(f, *state);
      show_toggle(field_widget(item_), field_value(f) != 0);
      break;
    case StepMeasure:
      measure_label(page_, label);
      break;
    case StepList:
      list_toggle(static_cast<FILE *>(arg_), label, page_.list_format, field_value(f) != 0, off_text,
                  on_text);
      break;
    case StepCheck: {
      double minimum = field_limit(f, COPY_MIN), maximum = field_limit(f, COPY_MAX);
      if (limits_missing(minimum, maximum)) report_missing_limits(f, label);
      if (out_of_range(f))
        toggle_check_line(label, static_cast<int>(field_value(f)), static_cast<int>(minimum),
                          static_cast<int>(maximum));
      break;
    }
    case StepRepair:
      if (out_of_range(f)) {
        int old = static_cast<int>(field_value(f));
        field_assign(f, field_limit(f, COPY_MAX));
        if (visible()) toggle_repair_line(label, static_cast<int>(field_value(f)), old);
      }
      break;
    case StepNone:
      break;
  }
  next_item();
}

void PageWalk::count_seen() {
  ::count_seen = 1;
  has_count_ = true;
}

void PageWalk::count_done() { ::count_seen = 0; }

void PageWalk::use_callback(XtCallbackProc callback) { callback_ = callback ? callback : page_.callback; }

namespace {
const char *format_into(char *buffer, size_t size, const char *format, va_list args) {
  std::vsnprintf(buffer, size, format, args);
  return buffer;
}
}  // namespace

const char *PageWalk::label(const char *format, ...) {
  va_list args;
  va_start(args, format);
  format_into(page_.label_buffer, sizeof page_.label_buffer, format, args);
  va_end(args);
  return page_.label_buffer;
}

const char *PageWalk::title(const char *format, ...) {
  va_list args;
  va_start(args, format);
  format_into(page_.title_buffer, sizeof page_.title_buffer, format, args);
  va_end(args);
  return page_.title_buffer;
}

const char *PageWalk::hint(const char *format, ...) {
  va_list args;
  va_start(args, format);
  vformat_c(page_.hint_buffer, sizeof page_.hint_buffer, format, args);
  va_end(args);
  return page_.hint_buffer;
}

void page_redisplay_field(PageState &page, const void *field_address) {
  if (!page.built_items) return;
  for (const BuiltItem &b : built_items(page).items)
    if (b.address == field_address) redisplay(b);
}
