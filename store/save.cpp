// Save and Exit: only the areas that changed since they were last loaded or
// saved are written back, each from a copy of its record in storage form.
#include <cstdlib>
#include <cstring>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "sitelib/change_log.h"
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

namespace {

// One entry for the save: each written field with its value as last read or
// written. The save stands whether or not the log takes it.
void log_changes(const SaveResult &result, const Bytes (&written)[AREA_COUNT]) {
  std::vector<std::string> changes;
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (result.area[area] != SaveWritten || snapshot.records[area].size() != written[area].size()) continue;
    for (std::string &line :
         describe_changes(area_info(area).limits_name, snapshot.records[area].data(), written[area].data()))
      changes.push_back(std::move(line));
  }
  int status = append_change_log(program_name, changes);
  if (status != SITE_OK) report_error_status(status);
}

}  // namespace

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

SaveResult write_areas(const bool (&marked)[AREA_COUNT]) {
  SaveResult result;
  Bytes records[AREA_COUNT];
  for (int area = 0; area < AREA_COUNT; ++area) records[area] = storage_form_record(area);
  for (int area = 0; area < areas_in_mode(); ++area) {
    if (!marked[area]) continue;
    int status = write_area_record(area, records[area].data());
    if (status == SITE_OK) {
      note_written(area, records[area]);
      result.area[area] = SaveWritten;
      continue;
    }
    if (status == SITE_CHANGED_ON_DISK)
      report_changed_on_disk(area);
    else
      report_error_status(status);
    result.area[area] = status == SITE_CHANGED_ON_DISK ? SaveRefused : SaveFailed;
  }
  if (result.any_written()) log_changes(result, records);
  // An area whose write failed or was refused keeps its old snapshot: it
  // still counts as changed, and Exit still offers to save it. A file that
  // changed on disk is overwritten by the next Save.
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (result.area[area] != SaveRefused && result.area[area] != SaveFailed)
      take_snapshot(area, records[area]);
    // The live records end as a save always left them: what was written,
    // in editing form again (a switch that is off clears its stored value).
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
