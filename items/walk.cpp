#include "items/walk.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "items/bounds.h"
#include "items/c_notation.h"
#include "items/i18n.h"
#include "items/listing.h"
#include "items/state.h"
#include "items/text_display.h"
#include "sitelib/sitelib.h"

namespace {

// An item made in PassBuild, kept so that its value can be shown again.
struct BuiltItem {
  uint32_t id;
  uint32_t kind;    // KindNumber, KindText, KindChoice or KindToggle
  UiHandle widget;  // the widget that shows the value
  Field field;
  double scale;
  TextField text;
  int flags;
  std::vector<Choice> choices;  // values only
};

struct BuiltItems {
  const FrontEnd *front_end;
  void *window;  // the window the items live in
  std::vector<BuiltItem> items;
  std::vector<UiHandle> labels;  // the item labels of the window
  int widest_label = 0;          // in characters, plus one as measured
};

BuiltItems &built_items(PageState &page) {
  if (!page.built_items) page.built_items = new BuiltItems{};
  return *static_cast<BuiltItems *>(page.built_items);
}

void forget_widgets(PageState &page) {
  std::fill(page.section_widgets, page.section_widgets + page.section_count, nullptr);
  std::fill(page.row_widgets, page.row_widgets + page.row_count, nullptr);
}

// Grows a widget array indexed by section or row number to hold `index`.
void store_widget(UiHandle *&array, int &count, int index, UiHandle w) {
  if (index >= count) {
    UiHandle *grown = static_cast<UiHandle *>(std::realloc(array, (index + 1) * sizeof(UiHandle)));
    if (!grown) return;
    for (int i = count; i <= index; ++i) grown[i] = nullptr;
    array = grown;
    count = index + 1;
  }
  array[index] = w;
}

UiHandle widget_at(UiHandle *array, int count, int index) { return index < count ? array[index] : nullptr; }

const FrontEnd *shown_by(const PageState &page) {
  return page.built_items ? static_cast<const BuiltItems *>(page.built_items)->front_end : nullptr;
}

// Shows or hides a frame or row only when its state changes, which keeps a
// store on a large page cheap. True when it was hidden and is shown now.
bool show_if(const PageState &page, UiHandle w, bool shown) {
  const FrontEnd *ui = shown_by(page);
  if (!w || !ui || ui->is_shown(w) == shown) return false;
  ui->set_shown(w, shown);
  return shown;
}

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
void note_label(PageState &page, UiHandle label, const char *text) {
  BuiltItems &built = built_items(page);
  built.labels.push_back(label);
  built.widest_label = std::max(built.widest_label, strlen_utf8(text) + 1);
}

void fit_label_column(PageState &page) {
  const FrontEnd *ui = shown_by(page);
  if (!ui) return;
  const BuiltItems &built = built_items(page);
  if (built.widest_label <= page.label_width) return;
  for (UiHandle label : built.labels) ui->set_label_width(label, built.widest_label);
}

ItemDescription description_of(const BuiltItem &b) {
  ItemDescription desc{};
  desc.kind = b.kind;
  desc.label = "";
  desc.field = b.field;
  desc.text = b.text;
  desc.flags = b.flags;
  desc.scale = b.scale;
  desc.choices = b.choices.data();
  desc.choice_count = static_cast<int>(b.choices.size());
  return desc;
}

// Shows the stored value of the item in `shows`.
void show_stored_value(const FrontEnd &ui, UiHandle shows, const ItemDescription &desc) {
  if (desc.kind == KindText) {
    char shown[TEXT_SHOWN_MAX + 1];
    prepare_shown_text(desc.text.address, desc.text.size, desc.flags, shown);
    ui.show_value(shows, desc, 0, shown);
  } else {
    double value = field_value(desc.field);
    ui.show_value(shows, desc, desc.kind == KindNumber ? value / desc.scale : value, nullptr);
  }
}

void redisplay(const FrontEnd &ui, const BuiltItem &b) { show_stored_value(ui, b.widget, description_of(b)); }

const BuiltItem *built_item(const PageState &page, uint32_t id, uint32_t kind) {
  if (!page.built_items) return nullptr;
  for (const BuiltItem &b : static_cast<const BuiltItems *>(page.built_items)->items)
    if (b.id == id && b.kind == kind) return &b;
  return nullptr;
}

}  // namespace

void page_window_gone(PageState &page, void *window) {
  if (!page.built_items) return;
  BuiltItems &built = built_items(page);
  // A later rebuild of the same page into a new window has already replaced
  // the list, so only a matching one is emptied.
  if (built.window != window) return;
  built.window = nullptr;
  built.front_end = nullptr;
  built.items.clear();
  forget_widgets(page);
}

PageWalk::PageWalk(PageState &page, uint32_t pass, SetupItem *item, void *arg)
    : page_(page),
      pass_(pass),
      item_(item),
      arg_(arg),
      request_(pass == PassStore ? static_cast<StoreRequest *>(arg) : nullptr) {
  // gettext("") would give the catalogue header, so an empty format stays empty.
  const bool has_title = page_.title_format && *page_.title_format;
  std::snprintf(page_.title, sizeof page_.title, has_title ? _(page_.title_format) : "", host_name);
  switch (pass_) {
    case PassBuild:
      if (const FrontEnd *ui = builder()) {
        BuiltItems &built = built_items(page_);
        built.items.clear();
        built.labels.clear();
        built.widest_label = 0;
        built.window = arg_;
        built.front_end = ui;
        // A page built anew into another window may have fewer sections and
        // rows: none of the earlier window's widgets may stay remembered.
        forget_widgets(page_);
        ui->begin_page(page_, arg_, page_.title, page_.help_topic);
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
  if (const FrontEnd *ui = pass_ == PassBuild ? builder() : shown_by(page_)) ui->shown_done();
  if (pending_rule_) {
    if (const char *warning = pending_rule_()) {
      request_->outcome.notice = warning;
      const FrontEnd *ui = shown_by(page_);
      if (ui && item_ && item_->widgets) ui->notice(item_, _("Warning"), warning, &page_.open_notice);
    }
  }
  if (has_count_) ::count_seen = 0;
  if (pass_ == PassBuild && builder()) fit_label_column(page_);
  if (pass_ == PassMeasure) build_list_format(page_.list_format, sizeof page_.list_format, page_.label_width);
  if (final_upkeep_) upkeep(final_upkeep_);
}

const FrontEnd *PageWalk::builder() const {
  return pass_ == PassBuild && arg_ ? installed_front_end() : nullptr;
}

void PageWalk::section(const char *title, const char *help_topic, bool shown, const char *when) {
  id_ += 1u << 24;
  const int number = id_ >> 24;
  section_visible_ = shown;
  section_when_ = when;
  section_title_ = title;
  section_topic_ = help_topic;
  switch (pass_) {
    case PassBuild:
      if (const FrontEnd *ui = builder()) {
        UiHandle frame = nullptr;
        SetupItem *help = ui->make_section(page_, arg_, title, &frame);
        help->kind = KindSectionHelp;
        help->id = id_;
        help->page = &page_;
        copy_text(help->text, page_.help_topic ? page_.help_topic : "");
        store_widget(page_.section_widgets, page_.section_count, number, frame);
        ui->set_shown(frame, shown);
      }
      break;
    case PassStore: {
      if (requested(KindSectionHelp, KindSectionHelp)) {
        request_->outcome.stored = true;
        start_help(help_topic);
        if (store_rule_) pending_rule_ = store_rule_;
      }
      UiHandle frame = widget_at(page_.section_widgets, page_.section_count, number);
      section_revealed_ = show_if(page_, frame, shown);
      break;
    }
    case PassList:
      if (shown && arg_) list_section_title(static_cast<FILE *>(arg_), title);
      break;
  }
}

void PageWalk::row(bool shown, const char *when) {
  id_ = (id_ + (1u << 12)) & ~0xfffu;
  const int number = (id_ >> 12) & 0xfff;
  row_visible_ = shown;
  row_when_ = when;
  switch (pass_) {
    case PassBuild:
      if (const FrontEnd *ui = builder(); ui && page_.section_count > 0) {
        UiHandle form = ui->make_row();
        store_widget(page_.row_widgets, page_.row_count, number, form);
        ui->set_shown(form, shown);
        row_built_ = true;
      }
      break;
    case PassStore: {
      UiHandle form = widget_at(page_.row_widgets, page_.row_count, number);
      row_revealed_ = show_if(page_, form, shown);
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
    if (item_index_ < built.items.size() && built.front_end)
      redisplay(*built.front_end, built.items[item_index_]);
  }
  ++item_index_;
  ++id_;
}

PageWalk::Step PageWalk::item_step(uint32_t kind, uint32_t hint_kind) const {
  switch (pass_) {
    case PassBuild:
      return builder() && row_built_ ? StepBuild : StepNone;
    case PassStore:
      return requested(kind, hint_kind) ? StepStore : StepNone;
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

bool PageWalk::requested(uint32_t kind, uint32_t hint_kind) const {
  return request_ && request_->id == id_ && (request_->kind == kind || request_->kind == hint_kind);
}

namespace {

void measure_label(PageState &page, const char *label) {
  int width = strlen_utf8(label) + 1;
  if (width > page.label_width) page.label_width = width;
}

}  // namespace

// What is the same for every kind: building (with its record kept for
// showing the value again), visiting and the store rule.
void PageWalk::handle(const ItemDescription &desc, Step step) {
  if (step == StepBuild) {
    const FrontEnd &ui = *builder();
    SetupItem *hint_record = nullptr;
    UiHandle shows = nullptr, label = nullptr;
    SetupItem *record = ui.make_item(desc, page_.label_width, &hint_record, &label, &shows);
    note_label(page_, label, desc.label);
    record->kind = desc.kind;
    record->id = id_;
    record->page = &page_;
    if (hint_record) {
      hint_record->kind = desc.kind == KindNumber ? KindHintNumber : KindHintText;
      hint_record->id = id_;
      hint_record->page = &page_;
    }
    BuiltItem built{id_, desc.kind, shows, desc.field, desc.scale, desc.text, desc.flags, {}};
    for (int i = 0; i < desc.choice_count; ++i) built.choices.push_back({"", desc.choices[i].value});
    show_stored_value(ui, shows, desc);
    built_items(page_).items.push_back(std::move(built));
  } else if (step == StepStore) {
    request_->outcome.stored = true;
    if (store_rule_) pending_rule_ = store_rule_;
  } else if (pass_ == PassCheck || pass_ == PassRepair) {
    note_bounds_item(desc.kind == KindText ? static_cast<const void *>(desc.text.address)
                                           : desc.field.address);
  } else if (pass_ == PassVisit && arg_) {
    const auto *visitor = static_cast<const ItemVisitor *>(arg_);
    ItemVisit visit{&page_,           id_,          &desc,      section_title_, section_topic_,
                    section_visible_, row_visible_, has_count_, section_when_,  row_when_};
    visitor->visit(visitor->context, visit);
  }
}

void PageWalk::show_stored(const ItemDescription &desc) {
  const FrontEnd *ui = shown_by(page_);
  if (const BuiltItem *b = built_item(page_, id_, desc.kind); ui && b)
    show_stored_value(*ui, b->widget, desc);
}

void PageWalk::number(Field f, const char *label, const char *format, double scale, Hints hints) {
  ItemDescription desc{
      KindNumber, label,  f, {}, 0, format, scale, nullptr, 0, hints.begin(), static_cast<int>(hints.size()),
      nullptr,    nullptr};
  const Step step = item_step(KindNumber, KindHintNumber);
  handle(desc, step);
  switch (step) {
    case StepStore:
      // A chosen hint is always an edit, even when the field shows its value.
      if (const double *typed = request_->number;
          typed && (request_->edit || !is_shown_value(f, format, scale, *typed))) {
        double value =
            clamp_to_limits(*typed, field_limit(f, COPY_MIN) / scale, field_limit(f, COPY_MAX) / scale);
        request_->outcome.clamped = !(value == *typed);
        field_assign(f, value * scale);
      }
      show_stored(desc);
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
    default:
      break;
  }
  next_item();
}

void PageWalk::text(TextField f, const char *label, Hints hints, int flags) {
  ItemDescription desc{
      KindText, label,  {}, f, flags, nullptr, 1, nullptr, 0, hints.begin(), static_cast<int>(hints.size()),
      nullptr,  nullptr};
  const Step step = item_step(KindText, KindHintText);
  handle(desc, step);
  switch (step) {
    case StepStore:
      if (const char *typed = request_->text; typed && request_->edit)
        store_text(typed, f.address, f.size, flags);
      else if (typed)
        store_typed_text(typed, f.address, f.size, flags);
      show_stored(desc);
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
  ItemDescription desc{KindChoice, label, f, {}, 0, nullptr, 1, entries, count, nullptr, 0, nullptr, nullptr};
  const Step step = item_step(KindChoice, KindChoice);
  handle(desc, step);
  switch (step) {
    case StepStore: {
      if (count == 0) break;
      const long index = request_->index;
      field_assign(f, entries[index >= 0 && index < count ? index : 0].value);
      show_stored(desc);
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
    default:
      break;
  }
  next_item();
}

void PageWalk::toggle(Field f, const char *label, const char *on_text, const char *off_text) {
  ItemDescription desc{KindToggle, label, f, {}, 0, nullptr, 1, nullptr, 0, nullptr, 0, on_text, off_text};
  const Step step = item_step(KindToggle, KindToggle);
  handle(desc, step);
  switch (step) {
    case StepStore:
      field_assign(f, request_->on ? 1 : 0);
      show_stored(desc);
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
    default:
      break;
  }
  next_item();
}

void PageWalk::count_seen() {
  ::count_seen = 1;
  has_count_ = true;
}

void PageWalk::count_done() { ::count_seen = 0; }

void PageWalk::after_store(StoreRule rule) { store_rule_ = rule; }

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
  const FrontEnd *ui = shown_by(page);
  if (!ui) return;
  for (const BuiltItem &b : built_items(page).items)
    if ((b.kind == KindText ? static_cast<const void *>(b.text.address) : b.field.address) == field_address)
      redisplay(*ui, b);
}

UiHandle page_item_widget(const PageState &page, uint32_t id, UiHandle *label) {
  if (!page.built_items) return nullptr;
  const BuiltItems &built = *static_cast<const BuiltItems *>(page.built_items);
  // Every built item noted its label in build order.
  for (size_t i = 0; i < built.items.size(); ++i) {
    if (built.items[i].id != id) continue;
    if (label) *label = i < built.labels.size() ? built.labels[i] : nullptr;
    return built.items[i].widget;
  }
  return nullptr;
}
