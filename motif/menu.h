// Menu builder, help command and the other pieces the main window and the
// page windows share.
#pragma once

#include <Xm/Xm.h>

// The mnemonics of the menu bars' File and Help menus, in the main and the
// page windows.
extern const char file_mnemonic[], help_mnemonic[];

// One menu entry; a table ends with an entry whose label is nullptr.
struct MenuItem {
  const char *label;  // catalogue key, translated when built
  WidgetClass *widget_class;
  const char *mnemonic;  // NC_("mnemonic: MENU > ENTRY", "L"), translated when built; nullptr for none
  const char *accelerator;
  const char *accelerator_text;
  XtCallbackProc callback;
  XtPointer callback_data;
  MenuItem *submenu;
};

// menu_type: XmMENU_PULLDOWN, XmMENU_POPUP or XmMENU_OPTION; `mnemonic`
// as in MenuItem.
Widget BuildMenu(Widget parent, int menu_type, const char *title, const char *mnemonic, bool tear_off,
                 MenuItem *items);

// Push-button callback: opens the help viewer on the topic in client data,
// or without one on the user data of the entry's menu bar.
void help_command(Widget w, XtPointer topic, XtPointer call);
