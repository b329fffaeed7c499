#include "motif/notice.h"

#include <Xm/DialogS.h>
#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include "items/i18n.h"
#include "motif/xm_text.h"

namespace {

struct Notice {
  Widget dialog;
  Widget *open;
  XtIntervalId pending;  // the destruction after the dialog was popped down
};

// The form dialog of the page window that holds `w` (the child of its shell).
Widget window_of(Widget w) {
  while (XtParent(w) && !XtIsShell(XtParent(w))) w = XtParent(w);
  return w;
}

void destroy_notice(XtPointer data, XtIntervalId *) {
  auto *notice = static_cast<Notice *>(data);
  notice->pending = 0;
  XtDestroyWidget(XtParent(notice->dialog));
}

// OK unmanages the dialog, which pops its shell down. The dialog is no
// longer open from here; it is destroyed once the toolkit is done with it.
void popped_down(Widget, XtPointer data, XtPointer) {
  auto *notice = static_cast<Notice *>(data);
  if (*notice->open == notice->dialog) *notice->open = nullptr;
  if (!notice->pending)
    notice->pending =
        XtAppAddTimeOut(XtWidgetToApplicationContext(notice->dialog), 0, destroy_notice, notice);
}

// However the dialog goes, also with its page window.
void destroyed(Widget, XtPointer data, XtPointer) {
  auto *notice = static_cast<Notice *>(data);
  if (*notice->open == notice->dialog) *notice->open = nullptr;
  if (notice->pending) XtRemoveTimeOut(notice->pending);
  delete notice;
}

}  // namespace

void show_notice_once(Widget over, const char *title, const char *message, Widget *open) {
  if (*open || !over) return;
  XmText title_string(title), message_string(message), ok_string(_("OK"));
  Arg args[4];
  XtSetArg(args[0], XmNdialogTitle, title_string.get());
  XtSetArg(args[1], XmNmessageString, message_string.get());
  XtSetArg(args[2], XmNautoUnmanage, True);
  XtSetArg(args[3], XmNokLabelString, ok_string.get());
  Widget dialog = XmCreateInformationDialog(window_of(over), const_cast<char *>("countwarndiag"), args, 4);
  XtUnmanageChild(XmMessageBoxGetChild(dialog, XmDIALOG_CANCEL_BUTTON));
  XtUnmanageChild(XmMessageBoxGetChild(dialog, XmDIALOG_HELP_BUTTON));
  auto *notice = new Notice{dialog, open, 0};
  XtAddCallback(XtParent(dialog), XmNpopdownCallback, popped_down, notice);
  XtAddCallback(dialog, XmNdestroyCallback, destroyed, notice);
  *open = dialog;
  XtManageChild(dialog);
}
