#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdint>

#include "motif/front_end.h"
#include "motif/review.h"
#include "session/session.h"

namespace {

// The label text of a hint menu entry; free it with XtFree.
char *entry_label(Widget w) {
  XmString label = nullptr;
  XtVaGetValues(w, XmNlabelString, &label, nullptr);
  char *text = nullptr;
  if (!label || !XmStringGetLtoR(label, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text)) text = nullptr;
  if (label) XmStringFree(label);
  return text ? text : XtNewString("");
}

}  // namespace

void dispatch_widget_callback(Widget w, XtPointer client, XtPointer, PageFunction page) {
  XtPointer user_data = nullptr;
  XtVaGetValues(w, XmNuserData, &user_data, nullptr);
  auto *item = static_cast<SetupItem *>(user_data);
  if (!item || item->kind > KindSectionHelp) return;

  switch (item->kind) {
    case KindText:
    case KindNumber: {
      char *text = XmTextFieldGetString(w);
      session::field_entered(page, *item, text);
      XtFree(text);
      break;
    }
    case KindHintNumber:
    case KindHintText: {
      char *label = entry_label(w);
      session::hint_chosen(page, *item, label);
      XtFree(label);
      break;
    }
    case KindChoice:
      session::choice_chosen(page, *item, static_cast<long>(reinterpret_cast<intptr_t>(client)));
      break;
    case KindToggle:
      session::toggle_set(page, *item, XmToggleButtonGetState(w));
      break;
    case KindSectionHelp:
      session::help_pressed(page, *item);
      break;
  }
  review_changes();
}
