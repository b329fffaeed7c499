#include "items/notice.h"

#include <Xm/DialogS.h>
#include <Xm/MessageB.h>
#include <Xm/Xm.h>

namespace {

// The form dialog of the page window that holds `w` (the child of its shell).
Widget window_of(Widget w) {
  while (XtParent(w) && !XtIsShell(XtParent(w))) w = XtParent(w);
  return w;
}

void destroy_notice(Widget, XtPointer dialog, XtPointer) {
  XtDestroyWidget(XtParent(static_cast<Widget>(dialog)));
}

void forget_notice(Widget, XtPointer open, XtPointer) { *static_cast<Widget *>(open) = nullptr; }

XmString compound(const char *text) { return XmStringCreateLocalized(const_cast<char *>(text)); }

}  // namespace

void show_notice_once(Widget over, const char *title, const char *message, Widget *open) {
  if (*open || !over) return;
  XmString title_string = compound(title);
  XmString message_string = compound(message);
  Arg args[2];
  XtSetArg(args[0], XmNdialogTitle, title_string);
  XtSetArg(args[1], XmNmessageString, message_string);
  Widget dialog = XmCreateInformationDialog(window_of(over), const_cast<char *>("countwarndiag"), args, 2);
  XmStringFree(title_string);
  XmStringFree(message_string);
  XtUnmanageChild(XmMessageBoxGetChild(dialog, XmDIALOG_CANCEL_BUTTON));
  XtUnmanageChild(XmMessageBoxGetChild(dialog, XmDIALOG_HELP_BUTTON));
  XtAddCallback(dialog, XmNokCallback, destroy_notice, dialog);
  XtAddCallback(XtParent(dialog), XmNpopdownCallback, destroy_notice, dialog);
  XtAddCallback(dialog, XmNdestroyCallback, forget_notice, open);
  *open = dialog;
  XtManageChild(dialog);
}
