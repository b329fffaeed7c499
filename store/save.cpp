// Save and Exit: only the areas that changed since they were last loaded or
// saved are written back, each from a copy of its record in storage form.
#include <cstdlib>
#include <cstring>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "sitelib/change_log.h"
#include "sitelib/merge.h"
#include "store/areas.h"
#include "store/store.h"

namespace {

// The file now holds the current version; an old version text would have
// every later save write the data system again.
void note_written(int area, Bytes &written) {
  area_read_failed[area] = false;
  if (area != AREA_ZAMO) return;
  for (zamo_setup *record : {&zamo, reinterpret_cast<zamo_setup *>(written.data())}) {
    memset(record->sVersion, 0, sizeof record->sVersion);
    memcpy(record->sVersion, ZAMO_SETUP_VERSION, sizeof ZAMO_SETUP_VERSION - 1);
  }
}

}  // namespace

int write_area_record(int area, void *data) {
  switch (area) {
    case AREA_ZEL:
      return ant_save_setup(static_cast<zel_setup *>(data));
    case AREA_DSP:
      return dsp_save_setup(static_cast<dsp_setup *>(data));
    case AREA_RTDISP:
      return RtdispSaveSetup(static_cast<rtdisp_setup *>(data));
    default:
      return zamosave(static_cast<zamo_setup *>(data));
  }
}

bool SaveResult::all_saved() const {
  for (SaveOutcome outcome : area)
    if (outcome == SaveRefused || outcome == SaveFailed) return false;
  return true;
}

bool SaveResult::any_written() const {
  for (SaveOutcome outcome : area)
    if (outcome == SaveWritten) return true;
  return false;
}

void areas_to_save(bool (&marked)[AREA_COUNT]) {
  for (int area = 0; area < AREA_COUNT; ++area)
    marked[area] =
        area < areas_in_mode() && (area_changed(area) || (area == AREA_ZAMO && zamo_version_is_old()));
}

int write_logged(const bool (&write)[AREA_COUNT], Bytes (&records)[AREA_COUNT], int (&status)[AREA_COUNT]) {
  lock_setup_directory();
  std::vector<std::string> lines;
  bool any = false;
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (!write[area]) continue;
    any = true;
    const Bytes &before =
        snapshot.records[area].size() == records[area].size() ? snapshot.records[area] : records[area];
    for (std::string &line : describe_save(area_info(area).limits_name, before.data(), records[area].data()))
      lines.push_back(std::move(line));
  }
  const int logged = any ? append_change_log(program_name, lines) : SITE_OK;
  for (int area = 0; area < AREA_COUNT; ++area)
    status[area] = write[area] ? write_area_record(area, records[area].data()) : SITE_NOTHING_DONE;
  unlock_setup_directory();
  return logged;
}

namespace {

// A catalogue format with the area's short name and a list of fields.
std::string area_line(const char *format, int area, const std::vector<std::string> &fields) {
  std::string list;
  for (const std::string &field : fields) list += (list.empty() ? "" : ", ") + field;
  return format_text(format, area_info(area).short_name, list.c_str());
}

// Reads the area's file again, as the load reads it (the library notes what
// it holds, so that a write over that goes ahead), and merges it field by
// field into `record` against `base`, which becomes the file as read: what
// only the other program changed is taken, this program's changes stay on
// top. False, reported, when a field changed on both sides or the file
// cannot be read.
bool merge_from_disk(int area, Bytes &record, Bytes &base, SaveResult &result) {
  const AreaInfo &info = area_info(area);
  Bytes theirs(info.size), merged(info.size);
  const int read = lim_loadFile(info.file, info.limits_name, theirs.data(), setup_limits);
  if (read != SITE_OK) report_read_error(area, read);
  if (read != SITE_OK && read != SITE_BAD_SETUP_FILE) {
    add_error_status_line(
        area_line(
            _("%s setup not saved: its file changed on disk and cannot be read; saving again writes it"),
            area, {})
            .c_str());
    return false;
  }
  result.read_again[area] = true;
  const RecordMerge merge =
      merge_records(info.limits_name, base.data(), record.data(), theirs.data(), merged.data());
  result.taken[area] = merge.taken_paths;
  if (!merge.taken.empty())
    result.notes.push_back(
        area_line(_("%s setup: taken from another program's save: %s"), area, merge.taken));
  base = std::move(theirs);
  record = std::move(merged);
  result.conflicts[area] = merge.conflicts;
  if (merge.conflicts.empty()) return true;
  add_error_status_line(area_line(_("%s setup not saved: changed here and by another program meanwhile: "
                                    "%s (saving again writes this program's values)"),
                                  area, merge.conflicts)
                            .c_str());
  return false;
}

}  // namespace

SaveResult write_areas(const bool (&marked)[AREA_COUNT], const Bytes *bases, bool all_or_nothing) {
  SaveResult result;
  Bytes records[AREA_COUNT], base[AREA_COUNT];
  for (int area = 0; area < AREA_COUNT; ++area) {
    records[area] = storage_form_record(area);
    base[area] = bases ? bases[area] : snapshot.records[area];
  }
  // Other programs wait from the merge to the last file written.
  lock_setup_directory();
  // Files another program changed are merged before anything is written,
  // so that a conflict can stop the whole save.
  for (int area = 0; area < areas_in_mode(); ++area)
    if (marked[area] && setup_file_changed(area_info(area).file) &&
        !merge_from_disk(area, records[area], base[area], result))
      result.area[area] = SaveRefused;
  const bool stop = all_or_nothing && !result.all_saved();
  bool write[AREA_COUNT] = {};
  for (int area = 0; area < areas_in_mode(); ++area)
    write[area] = marked[area] && !stop && result.area[area] != SaveRefused;
  int status[AREA_COUNT];
  const int logged = write_logged(write, records, status);
  unlock_setup_directory();
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (!write[area]) continue;
    result.area[area] = status[area] == SITE_OK                ? SaveWritten
                        : status[area] == SITE_CHANGED_ON_DISK ? SaveRefused
                                                               : SaveFailed;
    if (status[area] == SITE_OK)
      note_written(area, records[area]);
    else if (status[area] == SITE_CHANGED_ON_DISK)
      report_changed_on_disk(area);
    else
      report_error_status(status[area]);
  }
  // The save stands whether or not the log took its entry.
  if (logged != SITE_OK) report_error_status(logged);
  for (int area = 0; area < AREA_COUNT; ++area) {
    // An area read again and not written takes the file as read for its
    // snapshot, so that what is pending is this program's own changes and
    // saving again writes them. One whose write failed or was refused
    // otherwise keeps its old snapshot: it still counts as changed, and
    // Exit still offers to save it.
    if (result.read_again[area] && result.area[area] != SaveWritten)
      take_snapshot(area, base[area]);
    else if (result.area[area] != SaveRefused && result.area[area] != SaveFailed)
      take_snapshot(area, records[area]);
    // The live records end as a save always left them: what was written
    // (or merged), in editing form again (a switch that is off clears its
    // stored value).
    memcpy(area_info(area).record, records[area].data(), records[area].size());
  }
  convert_form(1);
  take_auxset_snapshot();
  return result;
}

SaveResult save_changed_areas(void) {
  bool marked[AREA_COUNT];
  areas_to_save(marked);
  return write_areas(marked);
}

std::string save_question_text(void) {
  std::string text = _("Save SETUP data for the following?\n");
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_changed(area)) text += _(area_info(area).word);
  return text;
}
