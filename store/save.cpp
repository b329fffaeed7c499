// Save and Exit: only the areas whose checksum changed since they were last
// loaded or saved are written back.
#include <cstdlib>
#include <cstring>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "sitelib/change_log.h"
#include "store/areas.h"
#include "store/store.h"

int write_area(int area) {
  switch (area) {
    case AREA_ZEL:
      return ant_save_setup(&zel);
    case AREA_DSP:
      return dsp_save_setup(&dsp);
    case AREA_RTDISP:
      return RtdispSaveSetup(&Rtdisp);
    default:
      return zamosave(&zamo);
  }
}

namespace {

bool must_write(const Checksums &current, int area, bool rewrite_old_version) {
  return area_changed(current, area) || (rewrite_old_version && area == AREA_ZAMO && zamo_version_is_old());
}

// The file now holds the current version; an old version text would have
// every later save write the data system again.
void note_written(int area) {
  area_read_failed[area] = false;
  if (area == AREA_ZAMO) {
    memset(zamo.sVersion, 0, sizeof zamo.sVersion);
    memcpy(zamo.sVersion, ZAMO_SETUP_VERSION, sizeof ZAMO_SETUP_VERSION - 1);
  }
}

// One entry for the save: each written field with its value as last read or
// written. The save stands whether or not the log takes it.
void log_changes(const bool (&written)[AREA_COUNT]) {
  std::vector<std::string> changes;
  for (int area = 0; area < AREA_COUNT; ++area) {
    if (!written[area] || loaded_records[area].size() != area_info(area).size) continue;
    for (std::string &line :
         describe_changes(area_info(area).limits_name, loaded_records[area].data(), area_info(area).record))
      changes.push_back(std::move(line));
  }
  int status = append_change_log(program_name, changes);
  if (status != SITE_OK) report_error_status(status);
}

}  // namespace

bool save_changed_areas(bool rewrite_old_version) {
  Checksums current = take_checksums();
  bool failed[AREA_COUNT] = {};
  bool written_areas[AREA_COUNT] = {};
  bool written = false;
  bool all_saved = true;
  for (int area = 0; area < areas_in_mode(); ++area) {
    if (!must_write(current, area, rewrite_old_version)) continue;
    int status = write_area(area);
    if (status == SITE_OK) {
      note_written(area);
      written_areas[area] = written = true;
      continue;
    }
    if (status == SITE_CHANGED_ON_DISK)
      report_changed_on_disk(area);
    else
      report_error_status(status);
    failed[area] = true;
    all_saved = false;
  }
  if (written) log_changes(written_areas);
  // An area whose write failed or was refused keeps its old loaded
  // checksum: it still counts as changed, and Exit still offers to save it.
  // A file that changed on disk is overwritten by the next Save.
  Checksums after = take_checksums();
  for (int area = 0; area < AREA_COUNT; ++area)
    if (!failed[area]) take_loaded_area_checksum(area, after.value[area]);
  return all_saved;
}

std::string save_question_text(void) {
  Checksums current = take_checksums();
  std::string text = _("Save SETUP data for the following?\n");
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_changed(current, area)) text += _(area_info(area).word);
  return text;
}
