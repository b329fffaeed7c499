#include "session/session.h"

#include <locale.h>
#include <strings.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "items/bounds.h"
#include "items/c_notation.h"
#include "items/i18n.h"
#include "items/state.h"
#include "items/text_display.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/change_log.h"
#include "sitelib/schema.h"
#include "sitelib/setup_file.h"
#include "store/store.h"

namespace session {

namespace {

SaveRule save_rule = SaveRule::Editor;
// SaveRule::OnlyEdits: each area's record in storage form right after the
// load, so that what the load itself changed is not pending.
Bytes load_baseline[AREA_COUNT];

const Bytes &baseline(int area) {
  return save_rule == SaveRule::OnlyEdits ? load_baseline[area] : snapshot.records[area];
}

bool area_pending(int area) { return storage_form_record(area) != baseline(area); }

std::vector<std::string> status_lines_since(size_t first) {
  const std::vector<std::string> &lines = error_status_lines();
  return std::vector<std::string>(lines.begin() + std::min(first, lines.size()), lines.end());
}

bool is_blank(const char *rest) {
  while (*rest == ' ' || *rest == '\t') ++rest;
  return *rest == '\0';
}

bool same_text(const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

Stored refused(const std::string &why) {
  Stored stored;
  stored.ok = false;
  stored.error = why;
  return stored;
}

// Hands the request to the page's store pass.
Stored store(PageFunction page, SetupItem *fired, StoreRequest &request) {
  page(PassStore, fired, &request);
  Stored stored;
  stored.clamped = request.outcome.clamped;
  if (request.outcome.notice) stored.notice = request.outcome.notice;
  return stored;
}

StoreRequest request_for(uint32_t id, uint32_t kind, bool edit) {
  StoreRequest request{};
  request.id = id;
  request.kind = kind;
  request.edit = edit;
  return request;
}

// An edit through an index item: the page shows a stored value only while
// its switch is on, so a value stored through it switches it on, as the
// operator would have.
Stored store_item(const SiteItem &item, StoreRequest &request) {
  Stored stored = store(page_info(item.page).function, nullptr, request);
  if (item.field) stand_in_stored(item.field->address());
  return stored;
}

// A number as typed, optionally followed by the field's unit.
bool parse_number_with_unit(const std::string &text, const std::string &format, double &value) {
  const char *end = nullptr;
  if (!parse_typed_number(text.c_str(), value, &end)) return false;
  if (is_blank(end)) return true;
  while (*end == ' ') ++end;
  const std::string unit = unit_of(format);
  std::string rest = end;
  rest.erase(rest.find_last_not_of(" \t") + 1);
  return !unit.empty() && same_text(rest, unit);
}

// What became of a number stored through an item: the page clamps it in
// shown units and the field's type and scale may round it.
void note_number(const SiteItem &item, double typed, Stored &stored) {
  if (!item.field || !stored.ok) return;
  const double now = field_value(item.field->field()) / item.scale;
  stored.rounded = !stored.clamped && !(std::fabs(now - typed) <= 1e-6 * std::max(1.0, std::fabs(typed)));
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", now);
  const std::string unit = unit_of(item.format);
  stored.value = unit.empty() ? text : std::string(text) + " " + unit;
}

// A choice by its label (exactly, then in any case) or by its value.
int choice_index_of(const SiteItem &item, const std::string &text) {
  for (size_t i = 0; i < item.choices.size(); ++i)
    if (item.choices[i].text == text) return static_cast<int>(i);
  for (size_t i = 0; i < item.choices.size(); ++i)
    if (same_text(item.choices[i].text, text)) return static_cast<int>(i);
  char *end = nullptr;
  long value = std::strtol(text.c_str(), &end, 0);
  if (end != text.c_str() && is_blank(end))
    for (size_t i = 0; i < item.choices.size(); ++i)
      if (item.choices[i].value == value) return static_cast<int>(i);
  return -1;
}

// A toggle by its on or off text, or 1/0, yes/no, on/off, true/false.
int toggle_state_of(const SiteItem &item, const std::string &text) {
  for (const char *on : {"1", "yes", "on", "true"})
    if (same_text(text, on)) return 1;
  for (const char *off : {"0", "no", "off", "false"})
    if (same_text(text, off)) return 0;
  if (same_text(text, item.on_text)) return 1;
  if (same_text(text, item.off_text)) return 0;
  return -1;
}

std::string choice_list(const SiteItem &item) {
  std::string list;
  for (const SiteChoice &c : item.choices)
    list += (list.empty() ? "" : ", ") + c.text + " (" + std::to_string(c.value) + ")";
  return list;
}

bool all_asterisks(const std::string &value) {
  std::string inner = value.size() >= 2 && value.front() == '"' && value.back() == '"'
                          ? value.substr(1, value.size() - 2)
                          : value;
  return !inner.empty() && inner.find_first_not_of('*') == std::string::npos;
}

bool clamp_to_limits(const Field &field) {
  double v = field_value(field), lo = field_limit(field, COPY_MIN), hi = field_limit(field, COPY_MAX);
  if (lo == 0 && hi == 0) return false;  // no limits: nothing to clamp to
  double clamped = v < lo ? lo : v > hi ? hi : v;
  field_assign(field, clamped);
  return clamped != v;
}

std::string masked(const SiteField &f, const std::string &value, bool show_secrets) {
  return !show_secrets && is_secret_path(f.path) ? "\"********\"" : value;
}

std::string shown_in(const SiteField &f, const SiteItem *item, const Bytes &record, bool show_secrets) {
  if (item && item->kind != KindText) {
    Field at{const_cast<char *>(f.in(reinterpret_cast<const char *>(record.data()))), f.type, f.path.c_str(),
             -1};
    return shown_value(*item, field_value(at));
  }
  return masked(f, stored_text(f, reinterpret_cast<const char *>(record.data())), show_secrets);
}

// Case-folded UTF-8: every letter that has a lower case in the C.UTF-8
// locale takes it, whatever the user's locale is.
std::wstring folded(const std::string &text) {
  static locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  locale_t previous = utf8 ? uselocale(utf8) : static_cast<locale_t>(0);
  std::wstring out;
  std::mbstate_t state{};
  const char *p = text.c_str();
  const char *end = p + text.size();
  out.reserve(text.size());
  while (p < end) {
    // ASCII needs no conversion: the index is mostly ASCII, and Find folds
    // all of it on every keystroke.
    if (static_cast<unsigned char>(*p) < 0x80) {
      out += static_cast<wchar_t>(*p >= 'A' && *p <= 'Z' ? *p - 'A' + 'a' : *p);
      ++p;
      continue;
    }
    wchar_t c;
    size_t n = std::mbrtowc(&c, p, end - p, &state);
    if (n == 0 || n > static_cast<size_t>(end - p)) {  // not UTF-8: the byte as it is
      c = static_cast<unsigned char>(*p);
      n = 1;
      state = std::mbstate_t{};
    }
    out += static_cast<wchar_t>(std::towlower(c));
    p += n;
  }
  if (utf8) uselocale(previous);
  return out;
}

std::vector<std::wstring> words_of(const std::string &query) {
  std::vector<std::wstring> words;
  std::wstring word;
  for (wchar_t c : folded(query) + L" ") {
    if (!std::iswspace(c)) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

bool matches_words(const SiteItem &item, const std::vector<std::wstring> &words) {
  const std::wstring where[] = {folded(item.label), folded(item.field ? item.field->path : ""),
                                folded(item.section_title), folded(item.page_title)};
  for (const std::wstring &word : words) {
    bool found = false;
    for (const std::wstring &text : where) found = found || text.find(word) != std::wstring::npos;
    if (!found) return false;
  }
  return true;
}

}  // namespace

OpenReport open(const OpenOptions &options) {
  if (!options.directory.empty()) setenv("ZAMO_CONFIG", options.directory.c_str(), 1);
  if (options.mode >= 0) full_mode = static_cast<int16_t>(options.mode);
  save_rule = options.rule;
  const size_t reported = error_status_lines().size();
  OpenReport report;
  report.out_of_range = load_and_check();
  report.error_status = status_lines_since(reported);
  for (int area = 0; area < AREA_COUNT; ++area) load_baseline[area] = storage_form_record(area);
  for (int area = 0; area < areas_in_mode(); ++area) {
    if (area_read_failed[area]) report.unreadable.push_back(area);
    report.bad_lines.insert(report.bad_lines.end(), area_bad_lines[area].begin(), area_bad_lines[area].end());
  }
  return report;
}

void write_unread_areas(void) {
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_read_failed[area]) load_baseline[area].clear();
}

std::string number_forms(const SiteItem &item) {
  const std::string unit = unit_of(item.format);
  if (unit.empty()) return _("a number such as \"25\"");
  return format_text(_("a number, bare or followed by its unit: \"25\", \"25 %s\" or \"25%s\" (any case)"),
                     unit.c_str(), unit.c_str());
}

std::string stored_note(const Stored &stored) {
  if (!stored.ok || stored.value.empty()) return "";
  if (stored.clamped) return format_text(_("clamped to %s"), stored.value.c_str());
  return stored.rounded ? format_text(_("stored as %s"), stored.value.c_str()) : "";
}

bool parse_typed_number(const char *text, double &value, const char **end) {
  char *locale_end = nullptr, *c_end = nullptr;
  const double in_locale = std::strtod(text, &locale_end);
  // Where the decimal separator is a comma, "53.5" would stop at the point
  // and silently lose its fraction; these fields never group thousands.
  const double in_c = strtod_c(text, &c_end);
  const bool c_longer = c_end > locale_end;
  value = c_longer ? in_c : in_locale;
  if (end) *end = c_longer ? c_end : locale_end;
  return (c_longer ? c_end : locale_end) != text;
}

Stored set_typed(const SiteItem &item, const std::string &typed) {
  const std::string path = item.field ? item.field->path : item.label;
  StoreRequest request = request_for(item.id, item.kind, true);
  double number = 0;
  int index = -1, state = -1;
  switch (item.kind) {
    case KindNumber:
      if (!parse_number_with_unit(typed, item.format, number))
        return refused(format_text(_("\"%s\" for \"%s\" is not a number; give %s"), typed.c_str(),
                                   path.c_str(), number_forms(item).c_str()));
      request.number = &number;
      break;
    case KindText:
      request.text = typed.c_str();
      break;
    case KindChoice:
      if ((index = choice_index_of(item, typed)) < 0)
        return refused(format_text(_("\"%s\" is not a choice of %s: %s"), typed.c_str(), path.c_str(),
                                   choice_list(item).c_str()));
      request.index = index;
      break;
    case KindToggle:
      if ((state = toggle_state_of(item, typed)) < 0)
        return refused(format_text(_("\"%s\" is neither \"%s\" nor \"%s\" for %s"), typed.c_str(),
                                   item.on_text.c_str(), item.off_text.c_str(), path.c_str()));
      request.on = state == 1;
      break;
  }
  Stored stored = store_item(item, request);
  if (item.kind == KindNumber) note_number(item, number, stored);
  return stored;
}

Stored choose_hint(const SiteItem &item, int hint) {
  if (hint < 0 || hint >= static_cast<int>(item.hints.size())) return refused(_("no such hint"));
  const char *label = item.hints[hint].c_str();
  StoreRequest request = request_for(item.id, item.kind == KindNumber ? KindHintNumber : KindHintText, true);
  char *end = nullptr;
  double number = strtod_c(label, &end);
  if (item.kind == KindNumber && end != label) request.number = &number;
  request.text = label;
  return store_item(item, request);
}

Stored choose(const SiteItem &item, int index) {
  if (index < 0 || index >= static_cast<int>(item.choices.size())) return refused(_("no such choice"));
  StoreRequest request = request_for(item.id, KindChoice, true);
  request.index = index;
  return store_item(item, request);
}

Stored set_toggle(const SiteItem &item, bool on) {
  StoreRequest request = request_for(item.id, KindToggle, true);
  request.on = on;
  return store_item(item, request);
}

static std::string not_finite(const SiteField &f, const std::string &value) {
  return format_text(_("%s: \"%s\" is not a finite number"), f.path.c_str(), value.c_str());
}

Stored set_raw(const SiteField &f, const std::string &value, bool clamp) {
  if (f.text && is_secret_path(f.path) && all_asterisks(value)) return Stored{};
  if (!f.schema) {
    char *end = nullptr;
    double number = strtod_c(value.c_str(), &end);
    if (end == value.c_str() || !is_blank(end))
      return refused(format_text(_("\"%s\" is not a number"), value.c_str()));
    if (!std::isfinite(number)) return refused(not_finite(f, value));
    field_assign(f.field(), number);
  } else {
    std::vector<char> parsed(f.record, f.record + f.record_size);
    std::string error = parse_field_value(*f.schema, value, parsed.data());
    if (!error.empty()) return refused(f.path + ": " + error);
    if (!f.text) {
      Field at{parsed.data() + f.offset, f.type, f.path.c_str(), -1};
      if (!std::isfinite(field_value(at))) return refused(not_finite(f, value));
    }
    std::memcpy(f.address(), parsed.data() + f.offset, f.size);
  }
  Stored stored;
  if (!f.text && clamp) stored.clamped = clamp_to_limits(f.field());
  stored.value = f.text ? "" : stored_text(f, f.record);
  stored_field_changed(f.address());
  return stored;
}

void reset(const SiteField &f) {
  if (void *stored = f.area < 0 ? stored_field_of(f.address()) : nullptr) {
    // An auxset field is reset with the stored field it stands for.
    if (const SiteField *s = field_at(stored)) reset(*s);
    return;
  }
  std::memcpy(f.address(), f.in(f.copy(COPY_FACTORY)), f.size);
  stored_field_changed(f.address());
}

bool factory(int page) {
  // memcpy rather than assignment: padding bytes must match the factory copy
  // too, or the snapshot would see a change where there is none.
  if (page == PAGE_SIGNAL_PROCESSOR)
    std::memcpy(&dsp, &dsp_limits[COPY_FACTORY], sizeof dsp);
  else if (page == PAGE_CONTROL_PROCESSOR)
    std::memcpy(&zel, &zel_limits[COPY_FACTORY], sizeof zel);
  else
    return false;
  return true;
}

Stored field_entered(PageFunction page, SetupItem &fired, const char *text) {
  StoreRequest request = request_for(fired.id, fired.kind, false);
  double number = 0;
  if (fired.kind == KindNumber && parse_typed_number(text, number)) request.number = &number;
  request.text = text;
  return store(page, &fired, request);
}

Stored hint_chosen(PageFunction page, SetupItem &fired, const char *label) {
  StoreRequest request = request_for(fired.id, fired.kind, true);
  // Hint labels are written in C notation, whatever the locale.
  char *end = nullptr;
  double number = strtod_c(label, &end);
  if (fired.kind == KindHintNumber && end != label) request.number = &number;
  request.text = label;
  return store(page, &fired, request);
}

Stored choice_chosen(PageFunction page, SetupItem &fired, long index) {
  StoreRequest request = request_for(fired.id, fired.kind, true);
  request.index = index;
  return store(page, &fired, request);
}

Stored toggle_set(PageFunction page, SetupItem &fired, bool on) {
  StoreRequest request = request_for(fired.id, fired.kind, true);
  request.on = on;
  return store(page, &fired, request);
}

void help_pressed(PageFunction page, SetupItem &fired) {
  StoreRequest request = request_for(fired.id, KindSectionHelp, false);
  store(page, &fired, request);
}

std::vector<Change> pending(bool show_secrets) {
  std::vector<Change> changes;
  std::vector<SiteItem> items;  // visited once, and only when something changed
  for (int area = 0; area < areas_in_mode(); ++area) {
    const Bytes now = storage_form_record(area);
    const Bytes &before = baseline(area);
    if (now == before || before.size() != now.size()) continue;
    for (const SiteField &f : site_fields()) {
      if (f.area != area || std::memcmp(before.data() + f.offset, now.data() + f.offset, f.size) == 0)
        continue;
      if (items.empty()) items = site_items();
      SiteItem item;
      const bool bound = item_editing(f, items, item);
      const char *old_record = reinterpret_cast<const char *>(before.data());
      const char *new_record = reinterpret_cast<const char *>(now.data());
      changes.push_back({&f, bound ? item.label : "", area,
                         masked(f, stored_text(f, old_record), show_secrets),
                         masked(f, stored_text(f, new_record), show_secrets),
                         shown_in(f, bound ? &item : nullptr, before, show_secrets),
                         shown_in(f, bound ? &item : nullptr, now, show_secrets)});
    }
  }
  return changes;
}

std::string change_line(const Change &change) {
  return change.field->path + ": " + change.old_stored + " -> " + change.new_stored;
}

namespace {

bool field_differs(const SiteField &f, const Bytes &a, const Bytes &b) {
  return a.size() != b.size() || a.size() < f.offset + f.size ||
         std::memcmp(a.data() + f.offset, b.data() + f.offset, f.size) != 0;
}

// Shows the fields again in every open page window, with the auxset fields
// that stand for them, and shows or hides the rows and sections that follow
// them (a store through no item).
void redisplay_everywhere(const std::vector<const SiteField *> &fields) {
  std::vector<const void *> addresses;
  for (const SiteField *f : fields) {
    addresses.push_back(f->address());
    for (const SiteField &aux : site_fields())
      if (aux.area < 0 && stored_field_of(aux.address()) == f->address()) addresses.push_back(aux.address());
  }
  for (int page : mode_pages()) {
    PageState *state = page_state(page);
    if (!state || !state->built_items) continue;
    for (const void *address : addresses) page_redisplay_field(*state, address);
    StoreRequest request = request_for(0, KindNumber, false);
    state->function(PassStore, nullptr, &request);
  }
}

}  // namespace

bool converted_at_load(const Change &change) {
  const SiteField &f = *change.field;
  if (save_rule != SaveRule::Editor || f.area < 0) return false;
  return field_differs(f, load_baseline[f.area], snapshot.records[f.area]) &&
         !field_differs(f, load_baseline[f.area], storage_form_record(f.area));
}

bool revert(const Change &change) {
  const SiteField &f = *change.field;
  if (f.area < 0 || converted_at_load(change)) return false;
  // A value the load converted goes back to its converted form: the form
  // read would not show.
  const Bytes &to =
      save_rule == SaveRule::Editor && field_differs(f, load_baseline[f.area], snapshot.records[f.area])
          ? load_baseline[f.area]
          : baseline(f.area);
  if (to.size() != f.record_size) return false;
  // The baseline is in storage form: the field's auxset stand-in or switch
  // follows it back into editing form.
  std::memcpy(f.address(), to.data() + f.offset, f.size);
  stored_field_changed(f.address());
  redisplay_everywhere({&f});
  return true;
}

PageState *page_state(int page) {
  if (page < 0 || page >= PAGE_COUNT || !page_info(page).function) return nullptr;
  // The walk hands its state to every item it visits.
  PageState *state = nullptr;
  ItemVisitor visitor{[](void *context, const ItemVisit &visit) {
                        *static_cast<PageState **>(context) = const_cast<PageState *>(visit.page);
                      },
                      &state};
  page_info(page).function(PassVisit, nullptr, &visitor);
  return state;
}

bool changed(void) {
  if (save_rule == SaveRule::Editor) return setup_changed();
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_pending(area)) return true;
  return false;
}

std::string save_question(void) { return save_question_text(); }

bool check(void) {
  clear_bounds_lines();
  error_found = 0;
  run_pass(ORDER_CHECK, PassCheck, nullptr);
  return error_found != 0;
}

std::vector<const SiteField *> fields_out_of_range(void) {
  std::vector<const SiteField *> found;
  for (const SiteField &f : site_fields()) {
    if (f.text) continue;
    const Field field = f.field();
    double v = field_value(field), lo = field_limit(field, COPY_MIN), hi = field_limit(field, COPY_MAX);
    if (!(v >= lo && v <= hi)) found.push_back(&f);
  }
  return found;
}

std::vector<std::string> check_every_field(void) {
  std::vector<std::string> lines;
  for (const SiteField *f : fields_out_of_range())
    lines.push_back(f->path + " = " + stored_text(*f, f->record) + "   (range " +
                    stored_text(*f, f->copy(COPY_MIN)) + " to " + stored_text(*f, f->copy(COPY_MAX)) + ")");
  return lines;
}

void repair(void) { run_repair(); }

std::vector<Finding> findings(void) {
  const std::vector<std::string> &lines = bounds_lines();
  const std::vector<const void *> &fields = bounds_line_fields();
  std::vector<Finding> found;
  std::vector<SiteItem> items;
  std::string title;
  for (size_t i = 0; i < lines.size() && i < fields.size(); ++i) {
    if (!fields[i]) {  // a heading: blank, rule, title, rule
      if (i + 2 < lines.size() && lines[i] == " ") title = lines[i + 2];
      if (lines[i] == " ") i += 3;
      continue;
    }
    const SiteField *f = field_at(fields[i]);
    if (items.empty()) items = site_items();
    SiteItem item;
    const int page = f && item_for(*f, items, item) ? item.page : -1;
    found.push_back({page, title, f, lines[i]});
  }
  return found;
}

void list(FILE *out, int page) {
  if (page >= 0)
    page_info(page).function(PassList, nullptr, out);
  else
    run_pass(ORDER_LIST, PassList, out);
}

bool write_listing(int page) {
  return ::write_listing(page >= 0 ? std::vector<int>{page} : page_order(ORDER_LIST));
}

bool is_operator(void) { return (lzamo_operator(tolvek_username()) & 0xffff) != 0; }

SaveReport save(void) {
  SaveReport report;
  if (!is_operator()) {
    report.status = 3;
    report.refusal = format_text(_("%s is not an operator; nothing was written"), tolvek_username());
    add_error_status_line(report.refusal.c_str());
    return report;
  }
  bool marked[AREA_COUNT] = {};
  if (save_rule == SaveRule::Editor)
    areas_to_save(marked);
  else
    for (int area = 0; area < areas_in_mode(); ++area) marked[area] = area_pending(area);
  const size_t reported = error_status_lines().size();
  // What is pending is merged against the records it is pending from.
  const bool only_edits = save_rule == SaveRule::OnlyEdits;
  report.areas = write_areas(marked, only_edits ? load_baseline : nullptr, only_edits);
  report.errors = status_lines_since(reported);
  report.notes = report.areas.notes;
  if (!report.areas.all_saved()) report.status = 3;
  std::vector<const SiteField *> taken;
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (report.areas.area[area] == SaveWritten || report.areas.read_again[area])
      load_baseline[area] = snapshot.records[area];
    for (const std::string &path : report.areas.taken[area])
      if (const SiteField *f = find_field(path)) taken.push_back(f);
  }
  // Page windows show what came from the other program.
  if (!taken.empty()) redisplay_everywhere(taken);
  return report;
}

namespace {

// Length of the UTF-8 sequence at `p` of a printable character, or 0.
size_t printable_sequence(const unsigned char *p, size_t left) {
  if (p[0] >= 0x20 && p[0] < 0x7f) return 1;
  const size_t length = p[0] >= 0xf0 && p[0] < 0xf5   ? 4
                        : p[0] >= 0xe0                ? 3
                        : p[0] >= 0xc2 && p[0] < 0xe0 ? 2
                                                      : 0;
  if (length == 0 || length > left || (p[0] == 0xc2 && p[1] < 0xa0)) return 0;  // C1 controls
  for (size_t i = 1; i < length; ++i)
    if ((p[i] & 0xc0) != 0x80) return 0;
  return length;
}

}  // namespace

std::string printable(const std::string &text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
  for (size_t i = 0; i < text.size();) {
    if (size_t n = printable_sequence(bytes + i, text.size() - i)) {
      out.append(text, i, n);
      i += n;
    } else {
      out += "\\x";
      out += hex[bytes[i] >> 4];
      out += hex[bytes[i] & 15];
      ++i;
    }
  }
  return out;
}

bool matches(const SiteItem &item, const std::string &query) { return matches_words(item, words_of(query)); }

std::vector<SiteItem> find(const std::string &query) {
  const std::vector<std::wstring> words = words_of(query);
  std::vector<SiteItem> found;
  for (SiteItem &item : site_items())
    if (matches_words(item, words)) found.push_back(std::move(item));
  return found;
}

}  // namespace session
