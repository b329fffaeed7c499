// The warning dialog and the loading dialog, made on first use and kept.
#include "motif/dialogs.h"

#include <Xm/MessageB.h>

#include <cstdlib>
#include <initializer_list>

#include "items/i18n.h"
#include "motif/commands.h"
#include "motif/state.h"
#include "motif/xm_text.h"
#include "store/store.h"

namespace {

Widget warning_dialog = nullptr;
WarningMode warning_mode = WarningInformation;
void (*read_only_continue)(void) = nullptr;

Widget loading_dialog = nullptr;

void warning_ok(Widget, XtPointer, XtPointer) {
  hide_warning();
  switch (warning_mode) {
    case WarningSaveAndExit:
      busy_cursor_on();
      save_and_exit();
      // Still here: a write failed and its status is on show; keep running.
      busy_cursor_off();
      break;
    case WarningReadOnly:
      if (read_only_continue) read_only_continue();
      break;
    case WarningInformation:
      break;
  }
}

void warning_cancel(Widget, XtPointer, XtPointer) {
  hide_warning();
  if (warning_mode == WarningSaveAndExit) std::exit(0);
  if (warning_mode == WarningReadOnly) std::exit(1);
}

Widget create_warning_dialog(void) {
  XmText title(_("Warning"));
  Arg args[3];
  XtSetArg(args[0], XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
  XtSetArg(args[1], XmNdialogTitle, title.get());
  // The question must be answered with a button: closing it through the
  // window manager would leave the program neither loaded nor ended.
  XtSetArg(args[2], XmNdeleteResponse, XmDO_NOTHING);
  Widget dialog = XmCreateWarningDialog(top_level, const_cast<char *>("warndiag"), args, 3);
  XtUnmanageChild(XmMessageBoxGetChild(dialog, XmDIALOG_HELP_BUTTON));
  XtAddCallback(dialog, XmNokCallback, warning_ok, nullptr);
  XtAddCallback(dialog, XmNcancelCallback, warning_cancel, nullptr);
  return dialog;
}

// Sets a button's label, or hides it when there is none.
void label_button(Widget dialog, unsigned char which, const char *label) {
  Widget button = XmMessageBoxGetChild(dialog, which);
  if (!label) {
    XtUnmanageChild(button);
    return;
  }
  XtVaSetValues(button, XmNlabelString, XmText(label).get(), nullptr);
  XtManageChild(button);
}

void set_message(Widget dialog, const char *message) {
  XmString text = XmStringCreateLtoR(const_cast<char *>(message), const_cast<char *>(XmFONTLIST_DEFAULT_TAG));
  XtVaSetValues(dialog, XmNmessageString, text, nullptr);
  XmStringFree(text);
}

Widget create_loading_dialog(void) {
  XmText title(_("SETUP: Loading Data"));
  Arg args[2];
  XtSetArg(args[0], XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
  XtSetArg(args[1], XmNdialogTitle, title.get());
  Widget dialog = XmCreateWorkingDialog(top_level, const_cast<char *>("loaddiag"), args, 2);
  for (unsigned char child :
       {XmDIALOG_OK_BUTTON, XmDIALOG_CANCEL_BUTTON, XmDIALOG_HELP_BUTTON, XmDIALOG_SEPARATOR})
    XtUnmanageChild(XmMessageBoxGetChild(dialog, child));
  return dialog;
}

}  // namespace

void show_warning(WarningMode mode, const char *message, const char *ok_label, const char *cancel_label) {
  if (!warning_dialog) warning_dialog = create_warning_dialog();
  warning_mode = mode;
  set_message(warning_dialog, message);
  label_button(warning_dialog, XmDIALOG_OK_BUTTON, ok_label);
  label_button(warning_dialog, XmDIALOG_CANCEL_BUTTON, cancel_label);
  XtManageChild(warning_dialog);
}

void hide_warning(void) {
  if (warning_dialog) XtUnmanageChild(warning_dialog);
}

void set_read_only_continue(void (*action)(void)) { read_only_continue = action; }

void show_loading_dialog(const char *message) {
  if (!loading_dialog) loading_dialog = create_loading_dialog();
  set_message(loading_dialog, message);
  XtManageChild(loading_dialog);
  // The load that follows holds the event loop; draw the dialog first.
  XmUpdateDisplay(loading_dialog);
}

void hide_loading_dialog(void) {
  if (loading_dialog) XtUnmanageChild(loading_dialog);
}
