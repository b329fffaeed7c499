#include "cli/commands.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "items/bounds.h"
#include "items/item.h"
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

namespace {

int usage_error(const char *format, const std::string &what) {
  std::fprintf(stderr, "setup-site: ");
  std::fprintf(stderr, format, session::printable(what).c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

void print_bounds_lines(void) {
  for (const std::string &line : bounds_lines()) std::printf("%s\n", line.c_str());
}

void print_errors(const std::vector<std::string> &lines) {
  for (const std::string &line : lines)
    std::fprintf(stderr, "setup-site: %s\n", session::printable(line).c_str());
}

// Opens the site as the editor does at start; what could not be read goes
// to standard error. True when a value is out of range.
bool open_site(void) {
  session::OpenOptions options;
  options.rule = session::SaveRule::OnlyEdits;
  session::OpenReport report = session::open(options);
  print_errors(report.error_status);
  return report.out_of_range;
}

// The fields of the paths, or false after naming an unknown one.
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

// A field's value as a setup file holds it, from its record as a save would
// write it; a masked text as asterisks unless secrets are shown.
std::string value_of(const SiteField &f, const char *record) {
  return !show_secrets && is_secret_path(f.path) ? "\"********\"" : stored_text(f, record);
}

std::string saved_value_of(const SiteField &f) {
  if (f.area < 0) return value_of(f, f.record);
  const Bytes record = storage_form_record(f.area);
  return value_of(f, reinterpret_cast<const char *>(record.data()));
}

// Saves what the command changed and prints each changed field.
int save_edits(void) {
  const std::vector<session::Change> changes = session::pending(show_secrets);
  const session::SaveReport report = session::save();
  if (!report.refusal.empty()) {
    print_errors({report.refusal});
    return 3;
  }
  print_errors(report.errors);
  if (report.status != 0) return 3;
  for (const session::Change &change : changes)
    std::printf("%s\n", session::printable(session::change_line(change)).c_str());
  return 0;
}

// A store's warning, as the page would show it.
int stored_status(const session::Stored &stored) {
  if (!stored.ok) return usage_error("%s", stored.error);
  if (!stored.notice.empty()) std::fprintf(stderr, "%s\n", stored.notice.c_str());
  return 0;
}

// The setups of another site, as its files hold them.
bool load_other_site(const std::string &dir, std::vector<Bytes> &records) {
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
      print_errors({message_to_text(status, 0, 0)});
      ok = false;
    }
  const void *copies[] = {&other_zel, &other_dsp, &other_rtdisp, &other_zamo};
  for (int area = 0; area < AREA_COUNT; ++area) {
    const auto *bytes = static_cast<const unsigned char *>(copies[area]);
    records.emplace_back(bytes, bytes + area_info(area).size);
  }
  return ok;
}

}  // namespace

bool show_secrets = false;

int list_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", "list takes at most one page");
  int page = -1;
  if (!args.empty() && (page = page_by_name(args[0])) < 0) return usage_error("unknown page \"%s\"", args[0]);
  open_site();
  session::list(stdout, page);
  return std::fflush(stdout) == 0 ? 0 : 3;
}

int check_command(const Args &args) {
  const bool all = args.size() == 1 && args[0] == "--all";
  if (!args.empty() && !all) return usage_error("%s", "check takes only --all");
  bool found = open_site();
  // As the dialog lists them; with nothing out of range it is never shown.
  if (found) print_bounds_lines();
  if (!all) return found ? 1 : 0;
  for (const std::string &line : session::check_every_field()) {
    std::printf("%s\n", session::printable(line).c_str());
    found = true;
  }
  return found ? 1 : 0;
}

int repair_command(const Args &args) {
  if (!args.empty()) return usage_error("%s", "repair takes no arguments");
  open_site();
  session::repair();
  print_bounds_lines();
  return save_edits();
}

int get_command(const Args &args) {
  if (args.empty()) return usage_error("%s", "get needs at least one path");
  std::vector<const SiteField *> fields;
  if (!fields_of(args, fields)) return 2;
  open_site();
  for (const SiteField *f : fields)
    std::printf("%s = %s\n", f->path.c_str(), session::printable(saved_value_of(*f)).c_str());
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
  open_site();
  SiteItem item;
  const bool typed = !raw && item_editing(f, site_items(), item);
  if (int status = stored_status(typed ? session::set_typed(item, value) : session::set_raw(f, value)))
    return status;
  return save_edits();
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
  open_site();
  if (page >= 0)
    for (const SiteItem &item : page_items(page))
      if (item.field) fields.push_back(item.field);
  if (all)
    for (const SiteField &f : site_fields()) fields.push_back(&f);
  for (const SiteField *f : fields) session::reset(*f);
  return save_edits();
}

int range_command(const Args &args) {
  if (args.size() != 1) return usage_error("%s", "usage: range PATH");
  std::vector<const SiteField *> fields;
  if (!fields_of(args, fields)) return 2;
  const SiteField &f = *fields[0];
  open_site();
  const char *copies[] = {f.copy(COPY_MIN), f.copy(COPY_MAX), f.copy(COPY_FACTORY)};
  if (f.text) {
    std::printf("%s: factory %s\n", f.path.c_str(), stored_text(f, copies[2]).c_str());
    return 0;
  }
  std::printf("%s: minimum %s, maximum %s, factory %s\n", f.path.c_str(), stored_text(f, copies[0]).c_str(),
              stored_text(f, copies[1]).c_str(), stored_text(f, copies[2]).c_str());
  SiteItem item;
  if (item_for(f, item) && item.kind != KindText)
    std::printf("%s: minimum %s, maximum %s, factory %s\n", session::printable(item.label).c_str(),
                shown_value(item, index_limit(f, COPY_MIN)).c_str(),
                shown_value(item, index_limit(f, COPY_MAX)).c_str(),
                shown_value(item, index_limit(f, COPY_FACTORY)).c_str());
  return 0;
}

int diff_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", "usage: diff [OTHER_DIR]");
  open_site();
  std::vector<Bytes> other;
  if (!args.empty() && !load_other_site(args[0], other)) return 3;
  Bytes ours[AREA_COUNT];
  for (int area = 0; area < areas_in_mode(); ++area) ours[area] = storage_form_record(area);
  bool found = false;
  for (const SiteField &f : site_fields()) {
    if (f.area < 0) continue;
    const char *record = reinterpret_cast<const char *>(ours[f.area].data());
    const char *theirs =
        other.empty() ? f.copy(COPY_FACTORY) : reinterpret_cast<const char *>(other[f.area].data());
    if (std::memcmp(f.in(record), f.in(theirs), f.size) == 0) continue;
    std::printf("%s = %s\n", f.path.c_str(), session::printable(value_of(f, record)).c_str());
    found = true;
  }
  return found ? 1 : 0;
}

int log_command(const Args &args) {
  if (args.size() > 1) return usage_error("%s", "usage: log [PATH]");
  // With a path, an entry's first line waits until one of its lines names it.
  const std::string wanted = args.empty() ? "" : "  " + args[0] + ": ";
  std::string header;
  const std::string error = read_change_log([&](const std::string &line, size_t left_out) {
    std::string shown = session::printable(line);
    if (left_out) shown += " [" + std::to_string(left_out) + " more bytes]";
    shown += "\n";
    if (line.compare(0, 2, "  ") != 0 && !wanted.empty()) {
      header = shown;
    } else if (wanted.empty() || line.compare(0, wanted.size(), wanted) == 0) {
      std::fputs((header + shown).c_str(), stdout);
      header.clear();
    }
  });
  if (error.empty()) return 0;
  std::fprintf(stderr, "setup-site: cannot read %s: %s\n", session::printable(change_log_path()).c_str(),
               error.c_str());
  return 3;
}

int paths_command(const Args &) {
  for (const SiteField &f : site_fields()) std::printf("%s\n", f.path.c_str());
  return 0;
}
