#include "cli/commands.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "items/bounds.h"
#include "items/c_notation.h"
#include "items/i18n.h"
#include "items/item.h"
#include "items/listing.h"
#include "items/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "session/index.h"
#include "session/session.h"
#include "sitelib/change_log.h"
#include "sitelib/schema.h"
#include "sitelib/setup_file.h"
#include "store/areas.h"
#include "store/store.h"

using Json = nlohmann::ordered_json;

namespace {

int usage_error(const char *format, const std::string &what) {
  std::fprintf(stderr, "setup-site: ");
  std::fprintf(stderr, format, session::printable(what).c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

void print_errors(const std::vector<std::string> &lines) {
  for (const std::string &line : lines)
    std::fprintf(stderr, "setup-site: %s\n", session::printable(line).c_str());
}

// The document of a command run with --json, on standard output.
void emit(const Json &document) {
  std::printf("%s\n", document.dump(2, ' ', false, Json::error_handler_t::replace).c_str());
}

// A line for the terminal, unless the output is JSON.
void say(const std::string &line) {
  if (!options.json) std::printf("%s\n", session::printable(line).c_str());
}

// How the site was read: what could not be read makes a reading command's
// status 4, whatever else it found.
session::OpenReport site;

// Opens the site as the editor does at start; what could not be read goes
// to standard error. A writing command is refused (4) over a site with a
// file that could not be read, unless --force.
int open_site(bool writing = false) {
  session::OpenOptions open_options;
  open_options.rule = session::SaveRule::OnlyEdits;
  site = session::open(open_options);
  print_errors(site.error_status);
  const std::string dir = setup_directory();
  if (site.unreadable.size() == static_cast<size_t>(areas_in_mode())) {
    std::fprintf(stderr, _("setup-site: no site in %s; write one with \"setup-site init %s\"\n"),
                 session::printable(dir).c_str(), session::printable(dir).c_str());
    return 4;
  }
  if (writing && !site.unreadable.empty()) {
    if (!options.force) {
      std::fprintf(stderr,
                   _("setup-site: the site in %s could not be read whole; nothing was written "
                     "(--force starts what is missing from factory values and writes it)\n"),
                   session::printable(dir).c_str());
      return 4;
    }
    session::write_unread_areas();
  }
  return 0;
}

// A reading command's status: 4 over anything it found.
int read_status(int status) { return site.unreadable.empty() ? status : 4; }

// The fields of the paths, or false after naming an unknown one.
bool fields_of(const Args &paths, std::vector<const SiteField *> &fields) {
  bool known = true;
  for (const std::string &path : paths) {
    const SiteField *f = find_field(path);
    if (!f) known = usage_error(_("unknown path \"%s\""), path) == 0;
    fields.push_back(f);
  }
  return known;
}

// The one path of a command that takes one, with the site opened; nullptr
// with `status` set otherwise; `usage` is the command's syntax.
const SiteField *open_with_path(const Args &args, const char *usage, int &status) {
  std::vector<const SiteField *> fields;
  status = args.size() != 1 ? usage_error(_("usage: %s"), usage) : !fields_of(args, fields) ? 2 : open_site();
  return status == 0 ? fields[0] : nullptr;
}

// A field's value as a setup file holds it; a masked text as asterisks
// unless secrets are shown.
std::string value_of(const SiteField &f, const char *record) {
  return !options.show_secrets && is_secret_path(f.path) ? "\"********\"" : stored_text(f, record);
}

// The record a save would write for the field's area (auxset as it is).
const char *saved_record(const SiteField &f) {
  static Bytes records[AREA_COUNT];
  if (f.area < 0) return f.record;
  if (records[f.area].empty()) records[f.area] = storage_form_record(f.area);
  return reinterpret_cast<const char *>(records[f.area].data());
}

// A stored value as JSON: a number, or a text's characters.
Json json_value(const SiteField &f, const std::string &stored) {
  if (!f.text) {
    char *end = nullptr;
    const double v = strtod_c(stored.c_str(), &end);
    if (v == std::floor(v) && std::fabs(v) < 9e15) return static_cast<long long>(v);
    return v;
  }
  if (is_secret_path(f.path) && stored == "\"********\"") return "********";
  static std::vector<char> record;  // one record's room, reused for every field
  record.assign(f.record_size + 1, '\0');
  if (!f.schema || !parse_field_value(*f.schema, stored, record.data()).empty()) return stored;
  const char *text = record.data() + f.offset;
  return std::string(text, strnlen(text, f.size));
}

Json change_json(const session::Change &change) {
  const SiteField &f = *change.field;
  return {{"path", f.path},
          {"label", change.label},
          {"old", json_value(f, change.old_stored)},
          {"new", json_value(f, change.new_stored)},
          {"old_shown", change.old_shown},
          {"new_shown", change.new_shown}};
}

// What a store made of a value, on standard error; --strict refuses it.
struct Notes {
  Json list = Json::array();
  bool refused = false;

  void add(const SiteField &f, const session::Stored &stored) {
    if (!stored.notice.empty()) std::fprintf(stderr, "%s\n", stored.notice.c_str());
    const std::string note = session::stored_note(stored);
    if (note.empty()) return;
    std::fprintf(stderr, "setup-site: %s: %s\n", f.path.c_str(), session::printable(note).c_str());
    list.push_back({{"path", f.path}, {"note", note}, {"clamped", stored.clamped}});
    refused = refused || options.strict;
  }
};

// Saves what the command changed (unless --dry-run) and prints each change.
int save_edits(Json &out, const Notes &notes = Notes()) {
  const std::vector<session::Change> changes = session::pending(options.show_secrets);
  out["dry_run"] = options.dry_run;
  out["notes"] = notes.list;
  out["changes"] = Json::array();
  for (const session::Change &change : changes) out["changes"].push_back(change_json(change));
  int status = 0;
  if (notes.refused) {
    std::fprintf(stderr, _("setup-site: refused with --strict; nothing was written\n"));
    out["error"] = "refused with --strict";
    status = 2;
  } else if (!options.dry_run) {
    const session::SaveReport report = session::save();
    print_errors(report.refusal.empty() ? report.errors : std::vector<std::string>{report.refusal});
    print_errors(report.notes);
    if (report.status != 0)
      out["error"] = report.refusal.empty() ? "not all areas were written" : report.refusal;
    out["merged"] = report.notes;
    out["conflicts"] = Json::array();
    for (const std::vector<std::string> &paths : report.areas.conflicts)
      for (const std::string &path : paths) out["conflicts"].push_back(path);
    status = report.status;
  }
  out["changed"] = status == 0 && !changes.empty();
  if (options.json)
    emit(out);
  else if (status == 0)
    for (const session::Change &change : changes) say(session::change_line(change));
  return status;
}

// The check's or repair's lines about fields: only the pages that have
// some, each line naming its path.
Json print_findings(void) {
  Json list = Json::array();
  std::string title;
  for (const session::Finding &finding : session::findings()) {
    if (finding.page_title != title) {
      title = finding.page_title;
      for (const char *line : {" ", heading_rule, title.c_str(), heading_rule}) say(line);
    }
    const std::string path = finding.field ? finding.field->path : "";
    say(finding.line + "   [" + path + "]");
    list.push_back({{"page", finding.page >= 0 ? page_info(finding.page).name : ""},
                    {"path", path},
                    {"line", finding.line}});
  }
  return list;
}

// The setups of another site, as its files hold them; each file that could
// not be read is named once.
bool load_other_site(const std::string &dir, std::vector<Bytes> &records) {
  bool whole = true;
  records.resize(AREA_COUNT);
  for (int area = 0; area < areas_in_mode(); ++area) {
    const std::string file = dir + "/" + area_info(area).file;
    const int status = session::read_area_file(area, file, records[area]);
    if (status == SITE_OK) continue;
    print_errors({message_to_text(status, 0, 0)});
    whole = whole && status == SITE_BAD_SETUP_FILE;
  }
  return whole;
}

bool read_input(const std::string &name, std::string &text) {
  if (name == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream in(name);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

// The other side of a diff for each field: a baseline's values by path.
bool baseline_values(const std::string &file, std::vector<std::string> &theirs) {
  std::string text;
  if (!read_input(file, text))
    return usage_error(_("cannot read %s"), file + ": " + std::strerror(errno)) == 0;
  std::vector<std::pair<int, std::string>> paths;
  std::vector<std::string> values, errors;
  session::parse_setup_lines(text, paths, values, errors);
  const std::vector<SiteField> &fields = site_fields();
  theirs.assign(fields.size(), "");
  for (size_t i = 0; i < paths.size(); ++i) {
    const SiteField &f = *find_field(paths[i].second);
    std::vector<char> record(f.record, f.record + f.record_size);
    std::string error;
    if (f.schema && (error = parse_field_value(*f.schema, values[i], record.data())).empty())
      theirs[&f - fields.data()] = stored_text(f, record.data());
    else if (!f.schema)
      theirs[&f - fields.data()] = values[i];
    else
      errors.push_back("line " + std::to_string(paths[i].first) + ": " + f.path + ": " + error);
  }
  print_errors(errors);
  return errors.empty();
}

// The text of a limit as the item shows it, or as stored.
std::string shown_limit_text(const SiteField &f, const SiteItem *item, int copy) {
  if (item && item->kind != KindText) return shown_value(*item, index_limit(f, copy));
  return stored_text(f, f.copy(copy));
}

}  // namespace

Options options;

int list_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", _("list takes at most one page"));
  int page = -1;
  if (!args.empty() && (page = page_by_name(args[0])) < 0)
    return usage_error(_("unknown page \"%s\""), args[0]);
  if (int status = open_site()) return status;
  session::list(stdout, page);
  return read_status(std::fflush(stdout) == 0 ? 0 : 3);
}

int check_command(const Args &args) {
  const bool all = args.size() == 1 && args[0] == "--all";
  if (!args.empty() && !all) return usage_error("%s", _("check takes only --all"));
  if (int status = open_site()) return status;
  Json out;
  out["findings"] = print_findings();
  out["bad_lines"] = site.bad_lines;
  out["unreadable"] = Json::array();
  for (int area : site.unreadable) out["unreadable"].push_back(area_info(area).file);
  bool found = !out["findings"].empty() || !site.bad_lines.empty();
  if (all) {
    out["out_of_range"] = Json::array();
    for (const SiteField *f : session::fields_out_of_range()) {
      say(f->path + " = " + stored_text(*f, f->record) + "   (range " + stored_text(*f, f->copy(COPY_MIN)) +
          " to " + stored_text(*f, f->copy(COPY_MAX)) + ")");
      out["out_of_range"].push_back({{"path", f->path},
                                     {"value", json_value(*f, stored_text(*f, f->record))},
                                     {"minimum", json_value(*f, stored_text(*f, f->copy(COPY_MIN)))},
                                     {"maximum", json_value(*f, stored_text(*f, f->copy(COPY_MAX)))}});
      found = true;
    }
  }
  if (options.json) emit(out);
  return read_status(found ? 1 : 0);
}

int repair_command(const Args &args) {
  if (!args.empty()) return usage_error("%s", _("repair takes no arguments"));
  if (int status = open_site(true)) return status;
  session::repair();
  Json out;
  out["repaired"] = print_findings();
  return save_edits(out);
}

int get_command(const Args &args) {
  const bool all = args.empty() || (args.size() == 1 && args[0] == "--all");
  std::vector<const SiteField *> fields;
  if (!all && !fields_of(args, fields)) return 2;
  if (int status = open_site()) return status;
  if (all)
    for (const SiteField &f : site_fields())
      if (f.area >= 0) fields.push_back(&f);
  Json values = Json::object();
  for (const SiteField *f : fields) {
    const std::string value = value_of(*f, saved_record(*f));
    say(f->path + " = " + value);
    if (options.json) values[f->path] = json_value(*f, value);
  }
  if (options.json) emit({{"values", values}});
  return read_status(0);
}

int set_command(const Args &args) {
  const bool raw = !args.empty() && args[0] == "--raw";
  const size_t first = raw ? 1 : 0;
  if (args.size() != first + 2) return usage_error(_("usage: %s"), "set [--raw] [--strict] PATH VALUE");
  std::vector<const SiteField *> fields;
  if (!fields_of({args[first]}, fields)) return 2;
  const SiteField &f = *fields[0];
  const std::string &value = args[first + 1];
  if (int status = open_site(true)) return status;
  SiteItem item;
  const bool typed = !raw && item_editing(f, site_items(), item);
  const session::Stored stored = typed ? session::set_typed(item, value) : session::set_raw(f, value);
  if (!stored.ok) return usage_error("%s", stored.error);
  Notes notes;
  notes.add(f, stored);
  Json out;
  return save_edits(out, notes);
}

int reset_command(const Args &args) {
  if (args.empty()) return usage_error(_("usage: %s"), "reset PATH... | --page PAGE | --all");
  std::vector<const SiteField *> fields;
  int page = -1;
  const bool all = args[0] == "--all";
  if (args[0] == "--page") {
    if (args.size() != 2 || (page = page_by_name(args[1])) < 0)
      return usage_error(_("unknown page \"%s\""), args.size() > 1 ? args[1] : "");
  } else if (!all && !fields_of(args, fields)) {
    return 2;
  }
  if (int status = open_site(true)) return status;
  if (page >= 0)
    for (const SiteItem &item : page_items(page))
      if (item.field) fields.push_back(item.field);
  if (all)
    for (const SiteField &f : site_fields()) fields.push_back(&f);
  for (const SiteField *f : fields) session::reset(*f);
  Json out;
  return save_edits(out);
}

int apply_command(const Args &args) {
  const bool typed = !args.empty() && args[0] == "--typed";
  if (args.size() != (typed ? 2u : 1u))
    return usage_error(_("usage: %s"), "apply [--typed] [--strict] FILE|-");
  std::string text;
  if (!read_input(args.back(), text))
    return usage_error(_("cannot read %s"), args.back() + ": " + std::strerror(errno));
  if (int status = open_site(true)) return status;
  const session::ApplyReport report = session::apply(text, typed);
  if (!report.errors.empty()) {
    print_errors(report.errors);
    std::fprintf(stderr, _("setup-site: nothing was applied\n"));
    return 2;
  }
  Notes notes;
  for (const session::Applied &applied : report.applied) notes.add(*applied.field, applied.stored);
  Json out;
  return save_edits(out, notes);
}

int undo_command(const Args &args) {
  if (!args.empty()) return usage_error("%s", _("undo takes no arguments"));
  if (int status = open_site(true)) return status;
  const session::UndoReport report = session::undo(options.dry_run);
  if (report.status != 0) print_errors({report.error});
  Json out{{"dry_run", options.dry_run}, {"changed", report.status == 0 && !options.dry_run}};
  out["files"] = report.files;
  out["changes"] = report.changes;
  if (!report.error.empty()) out["error"] = report.error;
  if (options.json)
    emit(out);
  else if (report.status == 0)
    for (const std::string &line : report.changes) say(line);
  return report.status;
}

int range_command(const Args &args) {
  int status = 0;
  const SiteField *field = open_with_path(args, "range PATH", status);
  if (!field) return status;
  const SiteField &f = *field;
  const char *copies[] = {f.copy(COPY_MIN), f.copy(COPY_MAX), f.copy(COPY_FACTORY)};
  Json out{{"path", f.path}};
  if (f.text) {
    say(f.path + ": factory " + stored_text(f, copies[2]));
    out["factory"] = json_value(f, stored_text(f, copies[2]));
    if (options.json) emit(out);
    return read_status(0);
  }
  const char *names[] = {"minimum", "maximum", "factory"};
  for (int copy = 0; copy < 3; ++copy) out[names[copy]] = json_value(f, stored_text(f, copies[copy]));
  say(f.path + ": minimum " + stored_text(f, copies[0]) + ", maximum " + stored_text(f, copies[1]) +
      ", factory " + stored_text(f, copies[2]));
  SiteItem item;
  if (item_for(f, item) && item.kind != KindText) {
    Json shown{{"label", item.label}};
    for (int copy = 0; copy < 3; ++copy) shown[names[copy]] = shown_value(item, index_limit(f, copy));
    say(item.label + ": minimum " + shown["minimum"].get<std::string>() + ", maximum " +
        shown["maximum"].get<std::string>() + ", factory " + shown["factory"].get<std::string>());
    out["shown"] = shown;
  }
  if (options.json) emit(out);
  return read_status(0);
}

int describe_command(const Args &args) {
  int status = 0;
  const SiteField *field = open_with_path(args, "describe PATH", status);
  if (!field) return status;
  const SiteField &f = *field;
  SiteItem item;
  const bool on_page = item_for(f, item);
  const SiteItem *shown = on_page ? &item : nullptr;
  Json out{{"path", f.path}};
  std::vector<std::pair<std::string, std::string>> lines;
  auto add = [&](const char *key, const char *words, const Json &value, const std::string &text) {
    out[key] = value;
    if (!text.empty()) lines.emplace_back(words, text);
  };
  if (on_page) {
    const std::string unit = item.kind == KindNumber ? unit_of(item.format) : "";
    std::string when = item.section_when;
    if (!item.row_when.empty()) when += (when.empty() ? "" : "; ") + item.row_when;
    add("label", _("label"), item.label, item.label);
    add("page", _("page"), page_info(item.page).name,
        item.page_title + " (" + page_info(item.page).name + ")");
    add("section", _("section"), item.section_title, item.section_title);
    add("condition", _("shown when"), when, when.empty() ? _("always") : when);
    add("shown", _("shown now"), item.shown, item.shown ? _("yes") : _("no"));
    add("unit", _("unit"), unit, unit);
    Json choices = Json::array();
    std::string choice_text;
    for (const SiteChoice &c : item.choices) {
      choices.push_back({{"text", c.text}, {"value", c.value}});
      choice_text += (choice_text.empty() ? "" : ", ") + c.text + " (" + std::to_string(c.value) + ")";
    }
    if (item.kind == KindToggle) choice_text = item.on_text + " (1), " + item.off_text + " (0)";
    add("choices", _("choices"), choices, choice_text);
    std::string hint_text;
    for (const std::string &hint : item.hints) hint_text += (hint_text.empty() ? "" : ", ") + hint;
    add("hints", _("hints"), item.hints, hint_text);
  } else {
    add("page", _("page"), nullptr, _("on no page"));
  }
  if (!f.text) {
    add("minimum", _("minimum"), json_value(f, stored_text(f, f.copy(COPY_MIN))),
        shown_limit_text(f, shown, COPY_MIN));
    add("maximum", _("maximum"), json_value(f, stored_text(f, f.copy(COPY_MAX))),
        shown_limit_text(f, shown, COPY_MAX));
  }
  add("factory", _("factory"), json_value(f, stored_text(f, f.copy(COPY_FACTORY))),
      shown_limit_text(f, shown, COPY_FACTORY));
  const std::string value = value_of(f, saved_record(f));
  add("value", _("value"), json_value(f, value), value);
  say(f.path);
  for (const auto &line : lines) say("  " + line.first + ": " + line.second);
  if (options.json) emit(out);
  return read_status(0);
}

int diff_command(const Args &args) {
  const bool against = !args.empty() && args[0] == "--against";
  if (args.size() > (against ? 2u : 1u) || (against && args.size() != 2))
    return usage_error(_("usage: %s"), "diff [OTHER_DIR | --against FILE]");
  if (int status = open_site()) return status;
  const std::vector<SiteField> &fields = site_fields();
  std::vector<Bytes> other;
  std::vector<std::string> baseline;
  bool other_whole = true;
  if (against && !baseline_values(args[1], baseline)) return 2;
  if (!against && !args.empty()) other_whole = load_other_site(args[0], other);
  Json differences = Json::array();
  for (size_t i = 0; i < fields.size(); ++i) {
    const SiteField &f = fields[i];
    if (f.area < 0 && !against) continue;
    const std::string ours = stored_text(f, saved_record(f));
    std::string theirs;
    if (against)
      theirs = baseline[i];
    else
      theirs = stored_text(
          f, other.empty() ? f.copy(COPY_FACTORY) : reinterpret_cast<const char *>(other[f.area].data()));
    if (theirs.empty() || theirs == ours) continue;
    const bool masked = !options.show_secrets && is_secret_path(f.path);
    if (masked && theirs == "\"********\"") continue;  // a masked baseline leaves it as it is
    const std::string a = masked ? "\"********\"" : ours, b = masked ? "\"********\"" : theirs;
    say(f.path + ": " + a + " -> " + b);
    differences.push_back({{"path", f.path}, {"this", json_value(f, a)}, {"other", json_value(f, b)}});
  }
  if (options.json)
    emit({{"against", against ? args[1] : args.empty() ? "factory" : args[0]}, {"differences", differences}});
  if (!other_whole) return 4;
  return read_status(differences.empty() ? 0 : 1);
}

int log_command(const Args &args) {
  if (args.size() > 1) return usage_error(_("usage: %s"), "log [PATH]");
  if (!args.empty() && !find_field(args[0])) return usage_error(_("unknown path \"%s\""), args[0]);
  if (int status = open_site()) return status;
  // With a path, an entry is shown only when one of its lines names it.
  const std::string wanted = args.empty() ? "" : args[0] + ": ";
  Json entries = Json::array(), entry;
  std::string text;
  bool matched = args.empty();
  // Whether each save completed, told by the files' hashes.
  std::vector<FileOutcome> outcomes;
  file_outcomes(outcomes);
  size_t file_lines = 0;
  auto flush = [&] {
    if (matched && !entry.is_null()) {
      if (!options.json) std::fputs(text.c_str(), stdout);
      entries.push_back(entry);
    }
    entry = nullptr;
    text.clear();
    matched = args.empty();
  };
  const std::string error = read_change_log([&](const std::string &line, size_t left_out) {
    const bool change = line.compare(0, 2, "  ") == 0;
    if (!change) {
      flush();
      std::istringstream words(line);
      std::string time, user, host, program;
      words >> time >> user >> host >> program;
      entry = {{"time", time},
               {"user", user},
               {"host", host},
               {"program", program},
               {"completed", true},
               {"files", Json::array()},
               {"changes", Json::array()}};
    }
    LoggedFile file;
    const bool file_line = change && parse_file_line(line, file);
    const FileOutcome outcome =
        file_line && file_lines < outcomes.size() ? outcomes[file_lines++] : FileOutcome::Completed;
    if (entry.is_null()) return;
    if (file_line) {
      entry["files"].push_back({{"file", session::printable(file.name)},
                                {"old", session::printable(file.old_hash)},
                                {"new", session::printable(file.new_hash)},
                                {"completed", outcome == FileOutcome::Completed      ? Json(true)
                                              : outcome == FileOutcome::NotCompleted ? Json(false)
                                                                                     : Json(nullptr)}});
      if (outcome == FileOutcome::NotCompleted) entry["completed"] = false;
      text += session::printable(line) +
              (outcome == FileOutcome::NotCompleted ? _(" (not completed)")
               : outcome == FileOutcome::ChangedOutside
                   ? _(" (changed afterwards by a program that keeps no log)")
                   : "") +
              "\n";
      return;
    }
    if (change && !args.empty() && line.compare(2, wanted.size(), wanted) != 0) return;
    if (change) {
      matched = true;
      const size_t colon = line.find(": "), arrow = line.find(" -> ", colon);
      const std::string path = line.substr(2, colon - 2);
      const SiteField *f = find_field(path);
      std::string old_value = line.substr(colon + 2, arrow - colon - 2),
                  new_value = arrow == std::string::npos ? "" : line.substr(arrow + 4);
      entry["changes"].push_back(
          {{"path", session::printable(path)},
           {"old", f ? json_value(*f, old_value) : Json(session::printable(old_value))},
           {"new", f ? json_value(*f, new_value) : Json(session::printable(new_value))}});
    }
    text += session::printable(line);
    if (left_out) text += " [" + std::to_string(left_out) + " more bytes]";
    text += "\n";
  });
  flush();
  if (!error.empty()) {
    std::fprintf(stderr, _("setup-site: cannot read %s: %s\n"), session::printable(change_log_path()).c_str(),
                 error.c_str());
    return 3;
  }
  if (options.json) emit({{"entries", entries}});
  return read_status(0);
}

int paths_command(const Args &) {
  Json paths = Json::array();
  for (const SiteField &f : site_fields()) {
    say(f.path);
    paths.push_back(f.path);
  }
  if (options.json) emit({{"paths", paths}});
  return 0;
}

int values_command(const Args &args) {
  if (args.size() != 1) return 2;
  const SiteField *f = find_field(args[0]);
  if (!f) return 2;
  session::OpenOptions open_options;
  session::open(open_options);
  SiteItem item;
  if (!item_editing(*f, site_items(), item)) return 0;
  for (const SiteChoice &c : item.choices) say(c.text);
  if (item.kind == KindToggle)
    for (const std::string &text : {item.on_text, item.off_text}) say(text);
  if (item.kind == KindNumber && !unit_of(item.format).empty()) say(unit_of(item.format));
  return 0;
}
