#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdint>
#include <cstdlib>

#include "items/c_notation.h"
#include "motif/front_end.h"

namespace {

// A number parsed from the start of `text`, or nullptr when nothing parsed.
// Typed text follows the user's locale; hint labels are in C notation.
const double *parse_number(const char *text, bool c_notation, double *value) {
  char *end = nullptr;
  *value = c_notation ? strtod_c(text, &end) : std::strtod(text, &end);
  return end != text ? value : nullptr;
}

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
    case KindNumber:
    case KindHintNumber:
    case KindHintText: {
      const bool from_field = item->kind == KindText || item->kind == KindNumber;
      char *text = from_field ? XmTextFieldGetString(w) : entry_label(w);
      const bool is_number = item->kind == KindNumber || item->kind == KindHintNumber;
      double value;
      const void *arg = is_number ? static_cast<const void *>(parse_number(text, !from_field, &value)) : text;
      page(PassStore, item, const_cast<void *>(arg));
      XtFree(text);
      break;
    }
    case KindChoice:
      page(PassStore, item, client);
      break;
    case KindToggle: {
      uint8_t state = XmToggleButtonGetState(w) ? 1 : 0;
      page(PassStore, item, &state);
      break;
    }
    case KindSectionHelp:
      page(PassStore, item, nullptr);
      break;
  }
}
