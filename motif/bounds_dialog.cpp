#include "motif/bounds_dialog.h"

#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include "items/i18n.h"
#include "motif/review.h"
#include "motif/state.h"
#include "motif/xm_text.h"

namespace {

Widget dialog = nullptr;
Widget list = nullptr;

void set_dialog_title(const char *title) {
  XmText text(title);
  XtVaSetValues(dialog, XmNdialogTitle, text.get(), nullptr);
}

void repair_pressed(Widget, XtPointer, XtPointer) { repair_bounds(); }
void cancel_pressed(Widget w, XtPointer, XtPointer) { XtUnmanageChild(w); }

void create_dialog(void) {
  XmText title(_("SETUP: Bounds Errors")), cancel(_("Cancel")), repair(_("Repair"));
  Arg args[8];
  Cardinal n = 0;
  XtSetArg(args[n], XmNdialogTitle, title.get()), ++n;
  XtSetArg(args[n], XmNcancelLabelString, cancel.get()), ++n;
  XtSetArg(args[n], XmNokLabelString, repair.get()), ++n;
  XtSetArg(args[n], XmNautoUnmanage, False), ++n;
  XtSetArg(args[n], XmNheight, 400), ++n;
  XtSetArg(args[n], XmNdefaultButtonType, XmDIALOG_NONE), ++n;
  XtSetArg(args[n], XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL), ++n;
  dialog = XmCreateTemplateDialog(top_level, const_cast<char *>(""), args, n);
  XtAddCallback(dialog, XmNokCallback, repair_pressed, nullptr);
  XtAddCallback(dialog, XmNcancelCallback, cancel_pressed, nullptr);
  list = XmCreateScrolledList(dialog, const_cast<char *>(""), nullptr, 0);
  XtManageChild(list);
}

}  // namespace

void add_bounds_dialog_line(const char *text) {
  if (!dialog && top_level) create_dialog();
  if (!list) return;
  XmListAddItemUnselected(list, XmText(text).get(), 0);
}

void clear_bounds_dialog(void) {
  if (list) XmListDeleteAllItems(list);
}

void repair_bounds(void) {
  if (dialog) {
    set_dialog_title(_("SETUP: Repaired Bounds Errors"));
    XtVaSetValues(dialog, XmNresizePolicy, XmRESIZE_NONE, nullptr);
  }
  run_repair();
  review_changes();
  if (dialog) XtUnmanageChild(XmMessageBoxGetChild(dialog, XmDIALOG_OK_BUTTON));
}

void show_bounds_if_errors(void) {
  if (error_found && dialog) XtManageChild(dialog);
}

Widget bounds_dialog(void) { return dialog; }
