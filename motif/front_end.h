// The Motif front end of the core: page windows, the widget callback
// dispatcher, and the record a Motif program installs.
#pragma once

#include <X11/Intrinsic.h>

#include "items/front_end.h"
#include "items/item.h"

// The six widgets of a page window, handed to PassBuild as its argument.
struct PageWindow {
  Widget form_dialog;
  Widget menu_bar;
  Widget file_cascade;
  Widget help_cascade;
  Widget scrolled_window;
  Widget row_column;
};

// The widget behind a handle of the walk, and the handle of a widget.
inline Widget widget_of(UiHandle h) { return reinterpret_cast<Widget>(h); }
inline UiHandle handle_of(Widget w) { return reinterpret_cast<UiHandle>(w); }

// Reads the value of the widget's item by kind and calls the page with
// PassStore.
void dispatch_widget_callback(Widget w, XtPointer client, XtPointer call, PageFunction page);

// The Xt callback of every interactive widget a page builds: dispatches to
// the page whose walk made the widget's item.
void item_callback(Widget w, XtPointer client, XtPointer call);

// A callback bound to one page: page_callback<control_processor_page>.
template <PageFunction Page>
void page_callback(Widget w, XtPointer client, XtPointer call) {
  dispatch_widget_callback(w, client, call, Page);
}

// Page windows built with Motif; the bounds error list, the error status
// lines, the store's messages and help failures shown in dialogs. Every
// program with a main shell installs it: install_front_end(&motif_front_end).
extern const FrontEnd motif_front_end;
