// The error status dialog: the error status lines of the store, one list
// entry each. The list is never emptied; Cancel hides the dialog.
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include "items/i18n.h"
#include "motif/dialogs.h"
#include "motif/state.h"
#include "motif/xm_text.h"

namespace {

Widget dialog = nullptr;
Widget list = nullptr;

void hide_dialog(Widget, XtPointer, XtPointer) { XtUnmanageChild(dialog); }

void create_dialog(void) {
  XmText title(_("SETUP: Error Status")), cancel(_("Cancel"));
  Arg args[3];
  XtSetArg(args[0], XmNdialogTitle, title.get());
  XtSetArg(args[1], XmNheight, 200);
  XtSetArg(args[2], XmNcancelLabelString, cancel.get());
  dialog = XmCreateTemplateDialog(top_level, const_cast<char *>(""), args, 3);
  XtAddCallback(dialog, XmNcancelCallback, hide_dialog, nullptr);
  list = XmCreateScrolledList(dialog, const_cast<char *>(""), nullptr, 0);
  XtManageChild(list);
}

}  // namespace

void add_error_status_dialog_line(const char *line) {
  if (!top_level) return;  // no display: the line is only kept
  if (!dialog) create_dialog();
  XmListAddItem(list, XmText(line).get(), 0);
  XtManageChild(dialog);
}

Widget error_status_dialog(void) { return dialog; }
