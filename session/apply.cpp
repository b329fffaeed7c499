// Edits in bulk: a file of "PATH = VALUE" lines applied as one edit, and
// the undo of the last logged save from the files' backups.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "items/field.h"
#include "items/i18n.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "session/session.h"
#include "sitelib/change_log.h"
#include "sitelib/schema.h"
#include "sitelib/sitelib.h"
#include "store/store.h"

namespace session {

namespace {

std::string trimmed(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t\r"), last = text.find_last_not_of(" \t\r");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// The fields that choose which limits a device's other fields have.
bool chooses_device_kind(const SiteField &f) {
  static const std::string devices = "zamo.device.def[";
  if (f.path.compare(0, devices.size(), devices) != 0) return false;
  for (const char *end : {".idev_type", ".isub_type", ".ifile_format", ".icopy_scheme"}) {
    const size_t n = std::strlen(end);
    if (f.path.size() > n && f.path.compare(f.path.size() - n, n, end) == 0) return true;
  }
  return false;
}

// Every area record and auxset as they are, to put back after a refused apply.
struct Records {
  Bytes areas[AREA_COUNT];
  Bytes aux;
};

Records records_now(void) {
  Records now;
  for (int area = 0; area < AREA_COUNT; ++area) {
    const auto *bytes = static_cast<const unsigned char *>(area_info(area).record);
    now.areas[area].assign(bytes, bytes + area_info(area).size);
  }
  const auto *aux = reinterpret_cast<const unsigned char *>(&auxset);
  now.aux.assign(aux, aux + sizeof auxset);
  return now;
}

void restore(const Records &records) {
  for (int area = 0; area < AREA_COUNT; ++area)
    std::memcpy(area_info(area).record, records.areas[area].data(), records.areas[area].size());
  std::memcpy(&auxset, records.aux.data(), records.aux.size());
}

// A raw number clamped to the limits the index gives it now: a device's
// follow the type it holds after the whole apply.
bool clamp_to_index_limits(const SiteField &f) {
  const double lo = index_limit(f, COPY_MIN), hi = index_limit(f, COPY_MAX);
  const Field field = f.field();
  const double v = field_value(field);
  if ((lo == 0 && hi == 0) || (v >= lo && v <= hi)) return false;
  field_assign(field, v < lo ? lo : hi);
  stored_field_changed(f.address());
  return true;
}

}  // namespace

bool parse_setup_lines(const std::string &text, std::vector<std::pair<int, std::string>> &paths,
                       std::vector<std::string> &values, std::vector<std::string> &errors) {
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    const size_t equals = line.find('=');
    const std::string where = format_text(_("line %d: "), number);
    if (equals == std::string::npos) {
      errors.push_back(where + format_text(_("expected \"PATH = VALUE\", found \"%s\""), line.c_str()));
      continue;
    }
    const std::string path = trimmed(line.substr(0, equals));
    if (!find_field(path)) {
      errors.push_back(where + format_text(_("unknown path \"%s\""), path.c_str()));
      continue;
    }
    paths.emplace_back(number, path);
    values.push_back(trimmed(line.substr(equals + 1)));
  }
  return errors.empty();
}

ApplyReport apply(const std::string &text, bool typed) {
  ApplyReport report;
  std::vector<std::pair<int, std::string>> paths;
  std::vector<std::string> values;
  parse_setup_lines(text, paths, values, report.errors);
  // The kinds of the devices first, so that their other values meet the
  // limits of the kind applied.
  std::vector<size_t> order(paths.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_partition(order.begin(), order.end(),
                        [&](size_t i) { return chooses_device_kind(*find_field(paths[i].second)); });
  const Records before = records_now();
  std::vector<SiteItem> items;
  std::vector<bool> raw;
  bool kinds_done = false;
  for (size_t i : order) {
    const SiteField &f = *find_field(paths[i].second);
    const bool kind = chooses_device_kind(f);
    // Visited again once the kinds are in: they decide what a device shows.
    if (typed && (items.empty() || (!kind && !kinds_done))) items = site_items();
    kinds_done = kinds_done || !kind;
    SiteItem item;
    const bool through_item = typed && item_editing(f, items, item);
    Stored stored = through_item ? set_typed(item, values[i]) : set_raw(f, values[i], false);
    if (!stored.ok) {
      report.errors.push_back(format_text(_("line %d: "), paths[i].first) + stored.error);
      continue;
    }
    report.applied.push_back({paths[i].first, &f, stored});
    raw.push_back(!through_item);
  }
  if (!report.errors.empty()) {
    restore(before);
    report.applied.clear();
    return report;
  }
  for (size_t i = 0; i < report.applied.size(); ++i) {
    Applied &applied = report.applied[i];
    if (raw[i] && !applied.field->text && clamp_to_index_limits(*applied.field)) {
      applied.stored.clamped = true;
      applied.stored.value = stored_text(*applied.field, applied.field->record);
    }
  }
  return report;
}

namespace {

// The last entry of the change log: its change lines.
bool last_log_entry(std::vector<std::string> &changes) {
  bool found = false;
  read_change_log([&](const std::string &line, size_t) {
    LoggedFile file;
    if (line.compare(0, 2, "  ") != 0) {
      changes.clear();
      found = true;
    } else if (!parse_file_line(line, file)) {
      changes.push_back(line.substr(2));
    }
  });
  return found;
}

}  // namespace

int read_area_file(int area, const std::string &path, Bytes &record) {
  const AreaInfo &info = area_info(area);
  record.assign(info.size, 0);
  // The library takes a path that is not absolute as one in the setup directory.
  std::string absolute = path;
  if (path[0] != '/') {
    char *cwd = getcwd(nullptr, 0);
    absolute = std::string(cwd ? cwd : ".") + "/" + path;
    std::free(cwd);
  }
  return lim_loadFile(absolute.c_str(), info.limits_name, record.data(), setup_limits);
}

UndoReport undo(bool dry_run) {
  UndoReport report;
  auto refuse = [&](const std::string &why) {
    report.status = 3;
    report.error = why;
    return report;
  };
  std::vector<std::string> logged;
  if (!last_log_entry(logged) || logged.empty()) return refuse(_("the change log names no save to undo"));
  bool concerned[AREA_COUNT] = {};
  for (const std::string &line : logged) {
    const SiteField *f = find_field(line.substr(0, line.find(": ")));
    if (!f || f->area < 0)
      return refuse(format_text(_("the last save changed \"%s\", no field of this mode"), line.c_str()));
    concerned[f->area] = true;
  }
  Bytes backups[AREA_COUNT];
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (!concerned[area]) continue;
    const AreaInfo &info = area_info(area);
    const std::string file = std::string(setup_directory()) + "/" + info.file, backup = file + ".bak";
    Bytes now, old;
    if (read_area_file(area, backup, old) != SITE_OK)
      return refuse(format_text(_("%s is missing or unreadable; nothing was written"), backup.c_str()));
    if (read_area_file(area, file, now) != SITE_OK)
      return refuse(format_text(_("%s cannot be read; nothing was written"), file.c_str()));
    std::vector<std::string> wrote;
    for (const std::string &line : logged)
      if (find_field(line.substr(0, line.find(": ")))->area == area) wrote.push_back(line);
    if (describe_changes(info.limits_name, old.data(), now.data()) != wrote)
      return refuse(
          format_text(_("%s no longer holds what the last save wrote; nothing was written"), file.c_str()));
    for (std::string &line : describe_changes(info.limits_name, now.data(), old.data()))
      report.changes.push_back(std::move(line));
    report.files.push_back(file);
    backups[area] = std::move(old);
  }
  if (dry_run) return report;
  if (!is_operator())
    return refuse(format_text(_("%s is not an operator; nothing was written"), tolvek_username()));
  int status[AREA_COUNT];
  const int log_status = write_logged(concerned, backups, status);
  for (int area = 0; area < AREA_COUNT; ++area)
    if (concerned[area] && status[area] != SITE_OK) return refuse(message_to_text(status[area], 0, 0));
  if (log_status != SITE_OK) report.error = message_to_text(log_status, 0, 0);
  return report;
}

std::string write_factory_files(std::string &log_error) {
  Bytes records[AREA_COUNT];
  bool write[AREA_COUNT];
  bool over_a_site = false;
  for (int area = 0; area < AREA_COUNT; ++area) {
    const AreaInfo &info = area_info(area);
    records[area].assign(info.size, 0);
    setup_limits(info.limits_name, records[area].data(), COPY_FACTORY, 0);
    write[area] = true;
    over_a_site =
        over_a_site || access((std::string(setup_directory()) + "/" + info.file).c_str(), F_OK) == 0;
  }
  int status[AREA_COUNT];
  const int logged = over_a_site ? write_logged(write, records, status) : SITE_OK;
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (!over_a_site) status[area] = write_area_record(area, records[area].data());
    if (status[area] != SITE_OK) return message_to_text(status[area], 0, 0);
  }
  log_error = logged == SITE_OK ? "" : message_to_text(logged, 0, 0);
  return "";
}

}  // namespace session
