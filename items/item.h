// Page passes, setup item records and the widget-callback dispatcher.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdint>

enum Pass : uint32_t {
  PassBuild = 0,
  PassStore = 1,
  PassMeasure = 2,
  PassList = 3,
  PassCheck = 4,
  PassRepair = 5,
};

enum ItemKind : uint32_t {
  KindText = 0,
  KindNumber = 1,
  KindChoice = 2,
  KindToggle = 3,
  KindHintNumber = 4,
  KindHintText = 5,
  KindSectionHelp = 6,
};

// Item id: section in bits 24..31, row in bits 12..23, item in bits 0..11.
struct SetupItem {
  uint32_t kind;
  uint32_t id;
  void *widgets;   // the builder's widget record
  char text[80];   // number: display format; section: help topic; toggle: off text
  char text2[80];  // toggle: on text
};

typedef void (*PageFunction)(uint32_t pass, SetupItem *item, XtPointer arg);

// The six widgets of a page window, handed to PassBuild as its argument.
struct PageWindow {
  Widget form_dialog;
  Widget menu_bar;
  Widget file_cascade;
  Widget help_cascade;
  Widget scrolled_window;
  Widget row_column;
};

// Reads the value of the widget's item by kind and calls the page with
// PassStore.
void dispatch_widget_callback(Widget w, XtPointer client, XtPointer call, PageFunction page);

// The one Xt callback of a page: page_callback<control_processor_page>.
template <PageFunction Page>
void page_callback(Widget w, XtPointer client, XtPointer call) {
  dispatch_widget_callback(w, client, call, Page);
}
