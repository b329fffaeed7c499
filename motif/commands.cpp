// The editor's commands: the start-up load behind the loading dialog, Save
// and Exit with their dialogs, and the List entries.
#include "motif/commands.h"

#include <Xm/Xm.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "items/i18n.h"
#include "motif/bounds_dialog.h"
#include "motif/dialogs.h"
#include "motif/review.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "session/session.h"
#include "sitelib/sitelib.h"

namespace {

const unsigned long SAVED_MESSAGE_MS = 3000;
XtIntervalId saved_message_timeout = 0;

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

}  // namespace

void start_up_load(XtPointer, XtIntervalId *) {
  session::OpenOptions options;
  options.mode = full_mode;
  session::open(options);  // what could not be read is in the error status dialog already
  show_bounds_if_errors();
  busy_cursor_off();
  hide_loading_dialog();
  review_changes();
}

void save_command(Widget, XtPointer, XtPointer) {
  show_busy();
  const session::SaveReport saved = session::save();
  const bool all_saved = saved.status == 0;
  review_changes();
  cancel_saved_message_timeout();
  std::string text = all_saved ? _("Setup files successfully saved") : _("Not all setup files were saved");
  for (const std::string &note : saved.notes) text += "\n" + note;
  show_warning(WarningInformation, text.c_str(), _("OK"), nullptr);
  busy_cursor_off();
  // A failure, or what a merge took from another program, stays on screen
  // until the operator has read it.
  if (all_saved && saved.notes.empty() && app_context)
    saved_message_timeout = XtAppAddTimeOut(app_context, SAVED_MESSAGE_MS, hide_saved_message, nullptr);
}

void exit_command(Widget, XtPointer, XtPointer) {
  helpExit();
  if (!session::is_operator()) exit(1);
  if (!session::changed()) exit(1);
  cancel_saved_message_timeout();
  std::string question = session::save_question();
  show_warning(WarningSaveAndExit, question.c_str(), _("Save"), _("Cancel"));
}

void save_and_exit(void) {
  show_busy();
  if (session::save().status == 0) exit(0);
  busy_cursor_off();
  // The error status dialog shows why; the operator may save again or leave
  // with Cancel. Shown once the question's own callback has finished.
  if (app_context) XtAppAddTimeOut(app_context, 0, show_not_all_saved, nullptr);
}

void list_all_command(Widget, XtPointer, XtPointer) { session::write_listing(); }

void list_page_command(Widget, XtPointer page_number, XtPointer) {
  int page = static_cast<int>(reinterpret_cast<intptr_t>(page_number));
  if (page < 0 || page >= PAGE_COUNT) return;
  session::write_listing(page);
}
