// Menu builder and help command, shared by the main window and the page
// windows.
#include "motif/menu.h"

#include <Xm/CascadeBG.h>
#include <Xm/RowColumn.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>

#include <cstring>

#include "items/i18n.h"
#include "items/state.h"
#include "sitelib/sitelib.h"

namespace {

bool is_menu_bar(Widget w) {
  unsigned char type = 0;
  if (!XmIsRowColumn(w)) return false;
  XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
  return type == XmMENU_BAR;
}

bool begins_with_help(const char *title) {
  const char *help = _("Help");
  return std::strncmp(title, help, std::strlen(help)) == 0;
}

// The key of a mnemonic in the user's language: its translation's first
// character (ASCII or two-byte UTF-8), NoSymbol for none.
KeySym mnemonic_key(const char *mnemonic) {
  if (!mnemonic) return NoSymbol;
  const auto *text = reinterpret_cast<const unsigned char *>(in_context(mnemonic));
  if (text[0] < 0x80) return text[0];
  if ((text[0] & 0xE0) != 0xC0 || (text[1] & 0xC0) != 0x80) return NoSymbol;
  KeySym code = (text[0] & 0x1F) << 6 | (text[1] & 0x3F);
  return code < 0x100 ? code : 0x1000000 | code;  // Latin-1 keysyms are their code points
}

Widget build_cascade(Widget parent, const char *title, const char *mnemonic, Widget pane) {
  XmString label = XmStringCreateLocalized(const_cast<char *>(title));
  Widget cascade = XtVaCreateWidget(title, xmCascadeButtonGadgetClass, parent, XmNsubMenuId, pane,
                                    XmNlabelString, label, nullptr);
  if (KeySym key = mnemonic_key(mnemonic)) XtVaSetValues(cascade, XmNmnemonic, key, nullptr);
  XmStringFree(label);
  // The help menu sits at the right end of a menu bar.
  if (begins_with_help(title) && is_menu_bar(parent))
    XtVaSetValues(parent, XmNmenuHelpWidget, cascade, nullptr);
  XtManageChild(cascade);
  return cascade;
}

Widget build_option(Widget parent, const char *title, Widget pane) {
  XmString label = XmStringCreateLocalized(const_cast<char *>(title));
  Arg args[2];
  XtSetArg(args[0], XmNsubMenuId, pane);
  XtSetArg(args[1], XmNlabelString, label);
  Widget option = XmCreateOptionMenu(parent, const_cast<char *>(title), args, 2);
  XmStringFree(label);
  return option;
}

void add_entry_callback(Widget w, const MenuItem &item) {
  if (!item.callback) return;
  bool toggle = XmIsToggleButton(w) || XmIsToggleButtonGadget(w);
  XtAddCallback(w, toggle ? XmNvalueChangedCallback : XmNactivateCallback, item.callback, item.callback_data);
}

void build_entry(Widget pane, int menu_type, const MenuItem &item) {
  if (item.submenu) {
    if (menu_type == XmMENU_OPTION) {
      XtWarning("You can't have submenus from option menus.");
      return;
    }
    BuildMenu(pane, XmMENU_PULLDOWN, _(item.label), item.mnemonic, false, item.submenu);
    return;
  }
  // Mnemonic and accelerator are given at creation: set afterwards on an
  // entry of a pane that is already realized, the toolkit asks the X server
  // where the focus is.
  Arg args[3];
  Cardinal count = 0;
  if (KeySym key = mnemonic_key(item.mnemonic)) {
    XtSetArg(args[count], XmNmnemonic, key);
    ++count;
  }
  XmString accelerator_text = nullptr;
  if (item.accelerator) {
    accelerator_text =
        XmStringCreateLocalized(const_cast<char *>(item.accelerator_text ? item.accelerator_text : ""));
    XtSetArg(args[count], XmNaccelerator, item.accelerator);
    ++count;
    XtSetArg(args[count], XmNacceleratorText, accelerator_text);
    ++count;
  }
  Widget w = XtCreateManagedWidget(_(item.label), *item.widget_class, pane, args, count);
  if (accelerator_text) XmStringFree(accelerator_text);
  add_entry_callback(w, item);
}

}  // namespace

const char file_mnemonic[] = NC_("mnemonic: menu bar, File", "F");
const char help_mnemonic[] = NC_("mnemonic: menu bar, Help", "H");

Widget BuildMenu(Widget parent, int menu_type, const char *title, const char *mnemonic, bool tear_off,
                 MenuItem *items) {
  Widget menu = nullptr;
  switch (menu_type) {
    case XmMENU_POPUP:
      menu = XmCreatePopupMenu(parent, const_cast<char *>("_popup"), nullptr, 0);
      XtVaSetValues(menu, XmNpopupEnabled, XmPOPUP_AUTOMATIC_RECURSIVE, nullptr);
      break;
    case XmMENU_PULLDOWN:
    case XmMENU_OPTION:
      menu = XmCreatePulldownMenu(parent, const_cast<char *>("_pulldown"), nullptr, 0);
      break;
    default:
      XtWarning("Invalid menu type passed to BuildMenu()");
      return nullptr;
  }
  if (tear_off) XtVaSetValues(menu, XmNtearOffModel, XmTEAR_OFF_ENABLED, nullptr);

  Widget result = menu;
  if (menu_type == XmMENU_PULLDOWN) result = build_cascade(parent, title, mnemonic, menu);
  if (menu_type == XmMENU_OPTION) result = build_option(parent, title, menu);

  for (MenuItem *item = items; item && item->label; ++item) build_entry(menu, menu_type, *item);
  return result;
}

// The topic is the client data; entries without one use the topic that the
// window stored on its menu bar (entry -> pull-down pane -> menu shell -> bar).
void help_command(Widget w, XtPointer topic, XtPointer) {
  const char *text = static_cast<const char *>(topic);
  if (!text) {
    Widget bar = w;
    for (int up = 0; up < 3 && bar; ++up) bar = XtParent(bar);
    XtPointer user_data = nullptr;
    if (bar) XtVaGetValues(bar, XmNuserData, &user_data, nullptr);
    text = static_cast<const char *>(user_data);
  }
  if (text) start_help(text);
}
