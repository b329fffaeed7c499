#include "cli/commands.h"

#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "items/bounds.h"
#include "items/item.h"
#include "items/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "session/site_model.h"
#include "sitelib/change_log.h"
#include "sitelib/schema.h"
#include "sitelib/setup_file.h"
#include "store/areas.h"
#include "store/store.h"

namespace {

int usage_error(const char *format, const std::string &what) {
  std::fprintf(stderr, "setup-site: ");
  std::fprintf(stderr, format, what.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

void print_bounds_lines(void) {
  for (const std::string &line : bounds_lines()) std::printf("%s\n", line.c_str());
}

// The fields of the paths, or nullptr after naming an unknown one.
bool fields_of(const Args &paths, std::vector<const SiteField *> &fields) {
  for (const std::string &path : paths) {
    const SiteField *f = find_field(path);
    if (!f) {
      usage_error("unknown path \"%s\"", path);
      return false;
    }
    fields.push_back(f);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Values as typed

bool is_blank_rest(const char *rest) {
  while (*rest == ' ' || *rest == '\t') ++rest;
  return *rest == '\0';
}

// A number as typed into the field: the number, optionally followed by the
// field's unit.
bool parse_typed_number(const std::string &text, const std::string &format, double &value) {
  char *end = nullptr;
  value = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) return false;
  if (is_blank_rest(end)) return true;
  while (*end == ' ') ++end;
  const std::string unit = unit_of(format);
  return !unit.empty() && end == unit;
}

bool same_text(const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// A choice by its label (exactly, then in any case) or by its value.
int choice_index_of(const SiteItem &item, const std::string &text) {
  for (size_t i = 0; i < item.choices.size(); ++i)
    if (item.choices[i].text == text) return static_cast<int>(i);
  for (size_t i = 0; i < item.choices.size(); ++i)
    if (same_text(item.choices[i].text, text)) return static_cast<int>(i);
  char *end = nullptr;
  long value = std::strtol(text.c_str(), &end, 0);
  if (end != text.c_str() && is_blank_rest(end))
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

// Stores the typed text through the page's store pass, as an edit (like a
// value chosen from a hint menu: stored even when it shows as before).
int store_typed(const SiteItem &item, const std::string &typed) {
  SetupItem record{};
  record.id = item.id;
  const PageFunction page = page_info(item.page).function;
  switch (item.kind) {
    case KindNumber: {
      double value;
      if (!parse_typed_number(typed, item.format, value))
        return usage_error("\"%s\" is not a number", typed + "\" for \"" + item.field->path);
      record.kind = KindHintNumber;
      page(PassStore, &record, &value);
      break;
    }
    case KindText:
      record.kind = KindHintText;
      page(PassStore, &record, const_cast<char *>(typed.c_str()));
      break;
    case KindChoice: {
      int index = choice_index_of(item, typed);
      if (index < 0)
        return usage_error(
            "%s", "\"" + typed + "\" is not a choice of " + item.field->path + ": " + choice_list(item));
      record.kind = KindChoice;
      page(PassStore, &record, reinterpret_cast<void *>(static_cast<intptr_t>(index)));
      break;
    }
    case KindToggle: {
      int state = toggle_state_of(item, typed);
      if (state < 0)
        return usage_error("%s", "\"" + typed + "\" is neither \"" + item.on_text + "\" nor \"" +
                                     item.off_text + "\" for " + item.field->path);
      uint8_t byte = static_cast<uint8_t>(state);
      record.kind = KindToggle;
      page(PassStore, &record, &byte);
      break;
    }
  }
  return 0;
}

// The stored value in setup-file syntax, clamped to the field's limits.
int store_raw(const SiteField &f, const std::string &value) {
  if (!f.schema) {
    char *end = nullptr;
    double number = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !is_blank_rest(end)) return usage_error("\"%s\" is not a number", value);
    field_assign(f.field(), number);
  } else {
    std::vector<char> parsed(f.record, f.record + f.record_size);
    std::string error = parse_field_value(*f.schema, value, parsed.data());
    if (!error.empty()) return usage_error("%s", f.path + ": " + error);
    std::memcpy(f.address(), parsed.data() + f.offset, f.size);
  }
  if (!f.text) {
    const Field field = f.field();
    double v = field_value(field), lo = field_limit(field, COPY_MIN), hi = field_limit(field, COPY_MAX);
    if (!(lo == 0 && hi == 0)) field_assign(field, v < lo ? lo : v > hi ? hi : v);
  }
  stored_field_changed(f.address());
  return 0;
}

void reset_field(const SiteField &f) {
  if (void *stored = f.area < 0 ? stored_field_of(f.address()) : nullptr) {
    // An auxset field is reset with the stored field it stands for.
    if (const SiteField *s = field_at(stored)) reset_field(*s);
    return;
  }
  std::memcpy(f.address(), f.in(f.copy(COPY_FACTORY)), f.size);
  stored_field_changed(f.address());
}

// Runs `action` on a loaded session and saves what it changed.
template <typename Action>
int edit_session(Action action) {
  if (!is_operator()) {
    std::fprintf(stderr, "setup-site: %s is not an operator; nothing was written\n", tolvek_username());
    return 3;
  }
  load_session();
  if (int status = action()) return status;
  return save_session();
}

// The setups of another site, as its files hold them.
bool load_other_site(const std::string &dir, std::vector<std::vector<char>> &records) {
  const std::string own = setup_directory();
  setenv("ZAMO_CONFIG", dir.c_str(), 1);
  static zel_setup other_zel;
  static dsp_setup other_dsp;
  static rtdisp_setup other_rtdisp;
  static zamo_setup other_zamo;
  int statuses[] = {ant_load_setup(&other_zel),
                    lim_loadFile("setup_dsp.conf", "dsp_manual_setup", &other_dsp, setup_limits),
                    RtdispLoadSetup(&other_rtdisp), full_mode ? zamoload(&other_zamo) : SITE_OK};
  setenv("ZAMO_CONFIG", own.c_str(), 1);
  bool ok = true;
  for (int status : statuses)
    if (status != SITE_OK) {
      std::fprintf(stderr, "setup-site: %s\n", message_to_text(status, 0, 0));
      ok = false;
    }
  const void *copies[] = {&other_zel, &other_dsp, &other_rtdisp, &other_zamo};
  for (int area = 0; area < AREA_COUNT; ++area) {
    const char *bytes = static_cast<const char *>(copies[area]);
    records.emplace_back(bytes, bytes + area_info(area).size);
  }
  return ok;
}

}  // namespace

int list_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", "list takes at most one page");
  int page = -1;
  if (!args.empty() && (page = page_by_name(args[0])) < 0) return usage_error("unknown page \"%s\"", args[0]);
  load_session();
  if (page >= 0) {
    page_info(page).function(PassList, nullptr, stdout);
  } else {
    for (int number : page_order(ORDER_LIST)) page_info(number).function(PassList, nullptr, stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 3;
}

int check_command(const Args &args) {
  const bool all = args.size() == 1 && args[0] == "--all";
  if (!args.empty() && !all) return usage_error("%s", "check takes only --all");
  bool found = load_session();
  // As the dialog lists them; with nothing out of range it is never shown.
  if (found) print_bounds_lines();
  if (!all) return found ? 1 : 0;
  for (const SiteField &f : site_fields()) {
    if (f.text) continue;
    const Field field = f.field();
    double v = field_value(field), lo = field_limit(field, COPY_MIN), hi = field_limit(field, COPY_MAX);
    if (v >= lo && v <= hi) continue;
    std::printf("%s = %s   (range %s to %s)\n", f.path.c_str(), stored_text(f, f.record).c_str(),
                stored_text(f, f.copy(COPY_MIN)).c_str(), stored_text(f, f.copy(COPY_MAX)).c_str());
    found = true;
  }
  return found ? 1 : 0;
}

int repair_command(const Args &args) {
  if (!args.empty()) return usage_error("%s", "repair takes no arguments");
  return edit_session([] {
    run_repair();
    print_bounds_lines();
    return 0;
  });
}

int get_command(const Args &args) {
  if (args.empty()) return usage_error("%s", "get needs at least one path");
  std::vector<const SiteField *> fields;
  if (!fields_of(args, fields)) return 2;
  load_session();
  for (const SiteField *f : fields) {
    const char *record = f->area < 0 ? f->record : loaded_storage_record(f->area).data();
    std::printf("%s = %s\n", f->path.c_str(), stored_text(*f, record).c_str());
  }
  return 0;
}

int set_command(const Args &args) {
  const bool raw = !args.empty() && args[0] == "--raw";
  const size_t first = raw ? 1 : 0;
  if (args.size() != first + 2) return usage_error("%s", "usage: set [--raw] PATH VALUE");
  std::vector<const SiteField *> fields;
  if (!fields_of({args[first]}, fields)) return 2;
  const SiteField &f = *fields[0];
  const std::string &value = args[first + 1];
  return edit_session([&] {
    SiteItem item;
    const SiteField *bound = &f;
    // The default antenna position is edited through its auxset stand-in.
    if (void *stand_in = editing_stand_in(f.address())) bound = field_at(stand_in);
    if (raw || !item_for(*bound, item)) return store_raw(f, value);
    if (int status = store_typed(item, value)) return status;
    stand_in_stored(item.field->address());
    return 0;
  });
}

int reset_command(const Args &args) {
  if (args.empty()) return usage_error("%s", "usage: reset PATH... | --page PAGE | --all");
  std::vector<const SiteField *> fields;
  int page = -1;
  const bool all = args[0] == "--all";
  if (args[0] == "--page") {
    if (args.size() != 2 || (page = page_by_name(args[1])) < 0)
      return usage_error("unknown page \"%s\"", args.size() > 1 ? args[1] : "");
  } else if (!all && !fields_of(args, fields)) {
    return 2;
  }
  return edit_session([&] {
    if (page >= 0)
      for (const SiteItem &item : page_items(page))
        if (item.field) fields.push_back(item.field);
    if (all)
      for (const SiteField &f : site_fields()) fields.push_back(&f);
    for (const SiteField *f : fields) reset_field(*f);
    return 0;
  });
}

int range_command(const Args &args) {
  if (args.size() != 1) return usage_error("%s", "usage: range PATH");
  std::vector<const SiteField *> fields;
  if (!fields_of(args, fields)) return 2;
  const SiteField &f = *fields[0];
  load_session();
  const char *copies[] = {f.copy(COPY_MIN), f.copy(COPY_MAX), f.copy(COPY_FACTORY)};
  if (f.text) {
    std::printf("%s: factory %s\n", f.path.c_str(), stored_text(f, copies[2]).c_str());
    return 0;
  }
  std::printf("%s: minimum %s, maximum %s, factory %s\n", f.path.c_str(), stored_text(f, copies[0]).c_str(),
              stored_text(f, copies[1]).c_str(), stored_text(f, copies[2]).c_str());
  SiteItem item;
  if (item_for(f, item) && item.kind != KindText) {
    const Field field = f.field();
    std::printf("%s: minimum %s, maximum %s, factory %s\n", item.label.c_str(),
                shown_value(item, field_limit(field, COPY_MIN)).c_str(),
                shown_value(item, field_limit(field, COPY_MAX)).c_str(),
                shown_value(item, field_limit(field, COPY_FACTORY)).c_str());
  }
  return 0;
}

int diff_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", "usage: diff [OTHER_DIR]");
  load_session();
  std::vector<std::vector<char>> other;
  if (!args.empty() && !load_other_site(args[0], other)) return 3;
  bool found = false;
  for (const SiteField &f : site_fields()) {
    if (f.area < 0) continue;
    const char *ours = loaded_storage_record(f.area).data();
    const char *theirs = other.empty() ? f.copy(COPY_FACTORY) : other[f.area].data();
    if (std::memcmp(f.in(ours), f.in(theirs), f.size) == 0) continue;
    std::printf("%s = %s\n", f.path.c_str(), stored_text(f, ours).c_str());
    found = true;
  }
  return found ? 1 : 0;
}

int log_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", "usage: log [PATH]");
  std::ifstream in(change_log_path());
  if (!in) return 0;  // nothing saved yet
  const std::string wanted = args.empty() ? "" : "  " + args[0] + ": ";
  std::string entry, line;
  bool matched = args.empty();
  auto flush = [&] {
    if (matched && !entry.empty()) std::fputs(entry.c_str(), stdout);
    entry.clear();
    matched = args.empty();
  };
  while (std::getline(in, line)) {
    const bool change = line.compare(0, 2, "  ") == 0;
    if (!change) flush();
    if (change && !args.empty() && line.compare(0, wanted.size(), wanted) != 0) continue;
    if (change && !args.empty()) matched = true;
    entry += line + "\n";
  }
  flush();
  return 0;
}

int paths_command(const Args &) {
  for (const SiteField &f : site_fields()) std::printf("%s\n", f.path.c_str());
  return 0;
}
