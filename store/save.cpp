// Save and Exit: only the areas whose checksum changed since they were last
// loaded or saved are written back.
#include <Xm/Xm.h>

#include <cstdlib>
#include <cstring>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "store/areas.h"
#include "store/dialogs.h"
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

const unsigned long SAVED_MESSAGE_MS = 3000;
XtIntervalId saved_message_timeout = 0;

bool must_write(const Checksums &current, int area) {
  return area_changed(current, area) || (area == AREA_ZAMO && zamo_version_is_old());
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

void hide_saved_message(XtPointer, XtIntervalId *) {
  saved_message_timeout = 0;
  hide_warning();
}

void cancel_saved_message_timeout(void) {
  if (saved_message_timeout) XtRemoveTimeOut(saved_message_timeout);
  saved_message_timeout = 0;
}

void show_not_all_saved(XtPointer, XtIntervalId *) {
  show_warning(WarningInformation, _("Not all setup files were saved"), _("OK"), nullptr);
}

void show_busy(void) {
  busy_cursor_on();
  if (top_level) XmUpdateDisplay(top_level);
}

// Back to editing form after the records were written in storage form.
void back_to_editing_form(void) {
  convert_form(1);
  take_loaded_auxset_checksum();
}

}  // namespace

bool save_changed_areas(void) {
  Checksums current = take_checksums();
  bool failed[AREA_COUNT] = {};
  bool all_saved = true;
  for (int area = 0; area < areas_in_mode(); ++area) {
    if (!must_write(current, area)) continue;
    int status = write_area(area);
    if (status == SITE_OK) {
      note_written(area);
      continue;
    }
    if (status == SITE_CHANGED_ON_DISK)
      report_changed_on_disk(area);
    else
      report_error_status(status);
    failed[area] = true;
    all_saved = false;
  }
  // An area whose write failed or was refused keeps its old loaded
  // checksum: it still counts as changed, and Exit still offers to save it.
  // A file that changed on disk is overwritten by the next Save.
  Checksums after = take_checksums();
  for (int area = 0; area < AREA_COUNT; ++area)
    if (!failed[area]) loaded_checksums.value[area] = after.value[area];
  return all_saved;
}

std::string save_question_text(void) {
  Checksums current = take_checksums();
  std::string text = _("Save SETUP data for the following?\n");
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_changed(current, area)) text += _(area_info(area).word);
  return text;
}

void save_command(Widget, XtPointer, XtPointer) {
  show_busy();
  convert_form(0);
  bool all_saved = save_changed_areas();
  back_to_editing_form();
  cancel_saved_message_timeout();
  if (all_saved)
    show_warning(WarningInformation, _("Setup files successfully saved"), _("OK"), nullptr);
  else
    show_not_all_saved(nullptr, nullptr);
  busy_cursor_off();
  // A failure stays on screen until the operator has read it.
  if (all_saved && app_context)
    saved_message_timeout = XtAppAddTimeOut(app_context, SAVED_MESSAGE_MS, hide_saved_message, nullptr);
}

void exit_command(Widget, XtPointer, XtPointer) {
  helpExit();
  if (static_cast<int16_t>(lzamo_operator(tolvek_username())) == 0) exit(1);
  convert_form(0);
  if (!setup_changed()) exit(1);
  cancel_saved_message_timeout();
  std::string question = save_question_text();
  show_warning(WarningSaveAndExit, question.c_str(), _("Save"), _("Cancel"));
}

void save_and_exit(void) {
  show_busy();
  convert_form(0);
  if (save_changed_areas()) exit(0);
  back_to_editing_form();
  busy_cursor_off();
  // The error status dialog shows why; the operator may save again or leave
  // with Cancel. Shown once the question's own callback has finished.
  if (app_context) XtAppAddTimeOut(app_context, 0, show_not_all_saved, nullptr);
}
