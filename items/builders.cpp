// Widget builders of the page items: section frames, row forms, labelled
// text fields (with or without a hint menu), option menus and toggles, and
// the routines that show a value in them. Every widget that fires carries
// its item record as XmNuserData, so the dispatcher finds the item from the
// widget alone.
#include "items/builders.h"

#include <Xm/CascadeB.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "items/i18n.h"

Widget current_section_rowcolumn = nullptr;
Widget current_row_form = nullptr;
Widget row_anchor = nullptr;

namespace {

constexpr int kPixelsPerLabelChar = 8;
constexpr int kItemHeight = 30;
constexpr int kAnchorOffset = 4;
constexpr int kFormEdgeOffset = 5;
constexpr int kChoiceButtonHeight = 25;
constexpr const char *kUnknownChoice = "?????";

// An item and its widget record in one allocation, freed with the item's
// label when the page window is destroyed.
template <typename Widgets>
struct BuiltItem {
  SetupItem item;
  Widgets widgets;
};

struct BuiltHint {
  SetupItem field_item;
  SetupItem hint_item;
  HintWidgets widgets;
};

template <typename Block>
void free_block(Widget, XtPointer block, XtPointer) {
  delete static_cast<Block *>(block);
}

// Frees `block` when `owner` is destroyed.
template <typename Block>
Block *owned_by(Widget owner, Block *block) {
  XtAddCallback(owner, XmNdestroyCallback, free_block<Block>, block);
  return block;
}

// A compound string in the locale's charset; the caller frees it.
XmString make_string(const char *text) { return XmStringCreateLocalized(const_cast<char *>(text)); }

void set_label_string(Widget w, const char *text) {
  XmString s = make_string(text);
  XtVaSetValues(w, XmNlabelString, s, nullptr);
  XmStringFree(s);
}

// Top of `w` just below the row anchor: the row form itself for the first
// item of a row, else the label of the row's previous item.
void attach_below_anchor(Widget w) {
  if (row_anchor == current_row_form || !row_anchor)
    XtVaSetValues(w, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset, kAnchorOffset, nullptr);
  else
    XtVaSetValues(w, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, row_anchor, XmNtopOffset, kAnchorOffset,
                  nullptr);
}

void attach_right_of(Widget w, Widget left, int offset) {
  XtVaSetValues(w, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, left, XmNleftOffset, offset,
                XmNrightAttachment, XmATTACH_FORM, XmNrightOffset, kFormEdgeOffset, nullptr);
}

// The right-aligned item label, the row's first column.
Widget create_item_label(const char *text, int label_width) {
  XmString s = make_string(text);
  Widget label = XtVaCreateWidget(
      "", xmLabelWidgetClass, current_row_form, XmNlabelString, s, XmNalignment, XmALIGNMENT_END, XmNwidth,
      static_cast<Dimension>(kPixelsPerLabelChar * label_width), XmNheight, kItemHeight, nullptr);
  XmStringFree(s);
  attach_below_anchor(label);
  XtVaSetValues(label, XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, kFormEdgeOffset, nullptr);
  return label;
}

Widget create_text_field(SetupItem *item, XtCallbackProc callback) {
  Widget field = XtVaCreateWidget("", xmTextFieldWidgetClass, current_row_form, XmNheight, kItemHeight,
                                  XmNuserData, item, nullptr);
  XtAddCallback(field, XmNactivateCallback, callback, nullptr);
  XtAddCallback(field, XmNlosingFocusCallback, callback, nullptr);
  attach_below_anchor(field);
  return field;
}

// Creates the hint menu's entries and its "i" cascade in the menu bar.
void create_hint_menu(HintWidgets &w, SetupItem *hint_item, XtCallbackProc callback, const char *const *hints,
                      int hint_count) {
  w.pulldown = XmCreatePulldownMenu(w.menu_bar, const_cast<char *>(""), nullptr, 0);
  for (int i = 0; i < hint_count; ++i) {
    XmString s = make_string(hints[i]);
    Widget entry = XtVaCreateManagedWidget("", xmPushButtonWidgetClass, w.pulldown, XmNlabelString, s,
                                           XmNuserData, hint_item, nullptr);
    XmStringFree(s);
    XtAddCallback(entry, XmNactivateCallback, callback, nullptr);
  }
  XmString i_label = make_string("i");
  w.cascade =
      XtVaCreateWidget("hintcascadebtn", xmCascadeButtonWidgetClass, w.menu_bar, XmNlabelString, i_label,
                       XmNrecomputeSize, False, XmNalignment, XmALIGNMENT_BEGINNING, XmNheight, 24, XmNwidth,
                       16, XmNmarginWidth, 1, XmNmarginTop, 4, XmNsubMenuId, w.pulldown, nullptr);
  XmStringFree(i_label);
}

Widget choice_button(Widget option_menu, int index) {
  Widget pulldown = nullptr;
  XtVaGetValues(option_menu, XmNsubMenuId, &pulldown, nullptr);
  char name[32];
  snprintf(name, sizeof name, "button_%d", index);
  return pulldown ? XtNameToWidget(pulldown, name) : nullptr;
}

SetupItem *item_of(Widget w) {
  XtPointer data = nullptr;
  XtVaGetValues(w, XmNuserData, &data, nullptr);
  return static_cast<SetupItem *>(data);
}

}  // namespace

SetupItem *build_section(Widget parent, const char *title, XtCallbackProc callback) {
  auto *block = new BuiltItem<SectionWidgets>{};
  SectionWidgets &w = block->widgets;
  w.frame = XtVaCreateWidget("setupframe", xmFrameWidgetClass, parent, XmNshadowType, XmSHADOW_OUT, nullptr);
  owned_by(w.frame, block);
  w.title_form =
      XtVaCreateWidget("", xmFormWidgetClass, w.frame, XmNchildType, XmFRAME_TITLE_CHILD,
                       XmNchildHorizontalAlignment, XmALIGNMENT_END, XmNshadowThickness, 0, nullptr);

  XmString help = make_string(_("Help"));
  w.help_button = XtVaCreateWidget("setupframepb", xmPushButtonWidgetClass, w.title_form, XmNlabelString,
                                   help, XmNuserData, &block->item, XmNdefaultButtonShadowThickness, 0,
                                   XmNtopAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                   XmNbottomAttachment, XmATTACH_FORM, nullptr);
  XmStringFree(help);
  XtAddCallback(w.help_button, XmNactivateCallback, callback, nullptr);

  XmString s = make_string(title);
  w.title_label =
      XtVaCreateWidget("setupframelab", xmLabelWidgetClass, w.title_form, XmNlabelString, s, XmNalignment,
                       XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment,
                       XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_WIDGET,
                       XmNrightWidget, w.help_button, XmNrightOffset, 20, nullptr);
  XmStringFree(s);

  current_section_rowcolumn = XtVaCreateWidget("", xmRowColumnWidgetClass, w.frame, XmNspacing, 0,
                                               XmNmarginWidth, 0, XmNmarginHeight, 0, nullptr);
  Widget managed[] = {w.title_form, w.help_button, w.title_label, current_section_rowcolumn};
  for (Widget m : managed) XtManageChild(m);
  block->item.widgets = &block->widgets;
  return &block->item;
}

Widget build_row(void) {
  current_row_form = XtVaCreateWidget("", xmFormWidgetClass, current_section_rowcolumn, XmNshadowThickness, 0,
                                      XmNverticalSpacing, 10, nullptr);
  row_anchor = current_row_form;
  return current_row_form;
}

SetupItem *build_label_field(const char *label, int label_width, XtCallbackProc callback) {
  auto *block = new BuiltItem<FieldWidgets>{};
  FieldWidgets &w = block->widgets;
  w.label = create_item_label(label, label_width);
  owned_by(w.label, block);
  w.field = create_text_field(&block->item, callback);
  attach_right_of(w.field, w.label, 8);
  row_anchor = w.label;
  XtManageChild(w.label);
  XtManageChild(w.field);
  block->item.widgets = &block->widgets;
  return &block->item;
}

SetupItem *build_hint_field(const char *label, int label_width, XtCallbackProc callback,
                            const char *const *hints, int hint_count, SetupItem **hint_item) {
  auto *block = new BuiltHint{};
  HintWidgets &w = block->widgets;
  w.label = create_item_label(label, label_width);
  owned_by(w.label, block);
  w.menu_bar = XmCreateMenuBar(current_row_form, const_cast<char *>(""), nullptr, 0);
  XtVaSetValues(w.menu_bar, XmNresizeWidth, False, XmNresizeHeight, False, XmNmarginWidth, 0, XmNmarginHeight,
                0, XmNheight, kItemHeight, XmNwidth, 20, nullptr);
  create_hint_menu(w, &block->hint_item, callback, hints, hint_count);
  w.field = create_text_field(&block->field_item, callback);

  attach_below_anchor(w.menu_bar);
  XtVaSetValues(w.menu_bar, XmNleftAttachment, XmATTACH_WIDGET, XmNleftWidget, w.label, XmNleftOffset, 9,
                nullptr);
  attach_right_of(w.field, w.menu_bar, 5);
  row_anchor = w.label;

  Widget managed[] = {w.label, w.menu_bar, w.cascade, w.field};
  for (Widget m : managed) XtManageChild(m);
  // Both records share the widget record; the walk gives them one id.
  block->field_item.widgets = &block->widgets;
  block->hint_item = block->field_item;
  *hint_item = &block->hint_item;
  return &block->field_item;
}

SetupItem *build_option_menu(const char *label, const Choice *choices, int choice_count, int label_width,
                             XtCallbackProc callback) {
  auto *block = new BuiltItem<FieldWidgets>{};
  FieldWidgets &w = block->widgets;
  w.label = create_item_label(label, label_width);
  owned_by(w.label, block);

  // One button more than there are choices: "?????", shown only for a
  // value that matches no choice and never offered in the menu.
  XmString empty = make_string("");
  Arg args[8];
  Cardinal n = 0;
  XtSetArg(args[n], XmNuserData, &block->item), ++n;
  XtSetArg(args[n], XmNspacing, 0), ++n;
  XtSetArg(args[n], XmNmarginWidth, 0), ++n;
  XtSetArg(args[n], XmNmarginHeight, 0), ++n;
  XtSetArg(args[n], XmNlabelString, empty), ++n;
  XtSetArg(args[n], XmNbuttonCount, choice_count + 1), ++n;
  XtSetArg(args[n], XmNsimpleCallback, callback), ++n;
  w.field = XmCreateSimpleOptionMenu(current_row_form, const_cast<char *>(""), args, n);
  XmStringFree(empty);

  for (int i = 0; i <= choice_count; ++i) {
    Widget button = choice_button(w.field, i);
    if (!button) continue;
    XtVaSetValues(button, XmNuserData, &block->item, XmNrecomputeSize, True, nullptr);
    set_label_string(button, i < choice_count ? choices[i].text : kUnknownChoice);
    XtVaSetValues(button, XmNrecomputeSize, False, XmNheight, kChoiceButtonHeight, nullptr);
    if (i == choice_count) XtUnmanageChild(button);
  }

  attach_below_anchor(w.field);
  attach_right_of(w.field, w.label, 0);
  row_anchor = w.label;
  XtManageChild(w.label);
  XtManageChild(w.field);
  block->item.widgets = &block->widgets;
  return &block->item;
}

SetupItem *build_toggle(const char *label, const char *off_text, const char *on_text, int label_width,
                        XtCallbackProc callback) {
  auto *block = new BuiltItem<FieldWidgets>{};
  FieldWidgets &w = block->widgets;
  w.label = create_item_label(label, label_width);
  owned_by(w.label, block);
  w.field = XtVaCreateWidget("setuptgl", xmToggleButtonWidgetClass, current_row_form, XmNuserData,
                             &block->item, XmNrecomputeSize, False, XmNheight, kItemHeight, XmNalignment,
                             XmALIGNMENT_BEGINNING, nullptr);
  XtAddCallback(w.field, XmNvalueChangedCallback, callback, nullptr);
  attach_below_anchor(w.field);
  attach_right_of(w.field, w.label, 7);
  row_anchor = w.label;
  XtManageChild(w.label);
  XtManageChild(w.field);
  snprintf(block->item.text, sizeof block->item.text, "%s", off_text);
  snprintf(block->item.text2, sizeof block->item.text2, "%s", on_text);
  block->item.widgets = &block->widgets;
  return &block->item;
}

void show_number(Widget text_field, double value) {
  const SetupItem *item = item_of(text_field);
  if (!item) return;
  char shown[256];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  snprintf(shown, sizeof shown, item->text, value);  // the page's display format for one double
#pragma GCC diagnostic pop
  XmTextFieldSetString(text_field, shown);
}

void show_text(Widget text_field, const char *shown) {
  XmTextFieldSetString(text_field, const_cast<char *>(shown));
}

void show_toggle(Widget toggle, int state) {
  const SetupItem *item = item_of(toggle);
  if (!item) return;
  XmToggleButtonSetState(toggle, state != 0, False);
  set_label_string(toggle, state ? item->text2 : item->text);
}

void select_choice(Widget option_menu, long value, const Choice *choices, int choice_count) {
  int index = choice_count;
  for (int i = 0; i < choice_count; ++i) {
    if (choices[i].value == value) {
      index = i;
      break;
    }
  }
  if (Widget button = choice_button(option_menu, index))
    XtVaSetValues(option_menu, XmNmenuHistory, button, nullptr);
}

void set_page_title(const PageWindow *window, const char *title, const char *help_topic) {
  XmString s = make_string(title);
  XtVaSetValues(window->form_dialog, XmNdialogTitle, s, nullptr);
  XmStringFree(s);
  XtVaSetValues(window->menu_bar, XmNuserData, const_cast<char *>(help_topic), nullptr);
}
