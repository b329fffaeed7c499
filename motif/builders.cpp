// Widget builders of the page items: section frames, row forms, labelled
// text fields (with or without a hint menu), option menus and toggles, and
// the routines that show a value in them. Every widget that fires carries
// its item record as XmNuserData, so the dispatcher finds the item from the
// widget alone.
#include "motif/builders.h"

#include <Xm/CascadeB.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "items/i18n.h"
#include "motif/xm_text.h"

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

// Frees `block` when `owner` is destroyed; returns the owner.
template <typename Block>
Widget owned_by(Widget owner, Block *block) {
  XtAddCallback(owner, XmNdestroyCallback, free_block<Block>, block);
  return owner;
}

void set_label_string(Widget w, const char *text) {
  XtVaSetValues(w, XmNlabelString, XmText(text).get(), nullptr);
}

// Creation arguments. Every resource and attachment is given when a widget
// is created, which spares the toolkit a SetValues round (and the layout it
// may trigger) per resource on pages of a thousand items.
struct Args {
  Arg list[24];
  Cardinal count = 0;

  Args &set(const char *name, XtArgVal value) {
    if (count < XtNumber(list)) {
      XtSetArg(list[count], const_cast<char *>(name), value);
      ++count;
    }
    return *this;
  }
  // Top just below the row anchor: the row form itself for the first item
  // of a row, else the label of the row's previous item.
  Args &below_anchor() {
    if (!row_anchor || row_anchor == current_row_form)
      return set(XmNtopAttachment, XmATTACH_FORM).set(XmNtopOffset, kAnchorOffset);
    return set(XmNtopAttachment, XmATTACH_WIDGET)
        .set(XmNtopWidget, (XtArgVal)row_anchor)
        .set(XmNtopOffset, kAnchorOffset);
  }
  Args &right_of(Widget left, int offset) {
    return set(XmNleftAttachment, XmATTACH_WIDGET)
        .set(XmNleftWidget, (XtArgVal)left)
        .set(XmNleftOffset, offset);
  }
  Args &to_right_edge() {
    return set(XmNrightAttachment, XmATTACH_FORM).set(XmNrightOffset, kFormEdgeOffset);
  }
};

Widget create(const char *name, WidgetClass widget_class, Widget parent, Args &args) {
  return XtCreateWidget(name, widget_class, parent, args.list, args.count);
}

// The right-aligned item label, the row's first column.
Widget create_item_label(const char *text, int label_width) {
  XmText s(text);
  Args args;
  args.set(XmNlabelString, (XtArgVal)s.get())
      .set(XmNalignment, XmALIGNMENT_END)
      .set(XmNwidth, static_cast<Dimension>(kPixelsPerLabelChar * label_width))
      .set(XmNheight, kItemHeight)
      .below_anchor()
      .set(XmNleftAttachment, XmATTACH_FORM)
      .set(XmNleftOffset, kFormEdgeOffset);
  return create("", xmLabelWidgetClass, current_row_form, args);
}

// The item's text field, right of `left` and reaching the form's right edge.
Widget create_text_field(SetupItem *item, XtCallbackProc callback, Widget left, int left_offset) {
  Args args;
  args.set(XmNheight, kItemHeight)
      .set(XmNuserData, (XtArgVal)item)
      .below_anchor()
      .right_of(left, left_offset)
      .to_right_edge();
  Widget field = create("", xmTextFieldWidgetClass, current_row_form, args);
  XtAddCallback(field, XmNactivateCallback, callback, nullptr);
  XtAddCallback(field, XmNlosingFocusCallback, callback, nullptr);
  return field;
}

// A menu bar's menu key (F10) is grabbed on the window's form, where the
// toolkit appends each grab of a widget not yet realized at the end of one
// list: a key per hint bar made the build quadratic in its hint fields. The
// page's own menu bar, made first, takes every press that reaches the form,
// so a hint bar's key only ever mattered while its own menu is up (the key
// then takes the menu down). A hint bar is made without the key and is
// given the page bar's key when its menu first posts, once the form is
// realized and a grab costs no walk.
void give_menu_key(Widget cascade, XtPointer, XtPointer) {
  XtRemoveCallback(cascade, XmNcascadingCallback, give_menu_key, nullptr);
  Widget bar = XtParent(cascade);
  Widget form = bar;
  while (XtParent(form) && XmIsManager(XtParent(form))) form = XtParent(form);
  WidgetList children = nullptr;
  Cardinal count = 0;
  XtVaGetValues(form, XmNchildren, &children, XmNnumChildren, &count, nullptr);
  for (Cardinal i = 0; i < count; ++i) {
    unsigned char type = 0;
    if (!XmIsRowColumn(children[i])) continue;
    XtVaGetValues(children[i], XmNrowColumnType, &type, nullptr);
    if (type != XmMENU_BAR) continue;
    char *key = nullptr;
    XtVaGetValues(children[i], XmNmenuAccelerator, &key, nullptr);
    // The toolkit hands out a copy of the key and keeps one of its own.
    if (key && *key) XtVaSetValues(bar, XmNmenuAccelerator, key, nullptr);
    XtFree(key);
    return;
  }
}

// A menu pane lays its entries out again for each one managed, and it has a
// window from the start: its entries are managed together, in one layout.
void manage_entries(const std::vector<Widget> &entries) {
  if (!entries.empty()) XtManageChildren(const_cast<Widget *>(entries.data()), entries.size());
}

// The hint menu: a small menu bar right of the label with an "i" cascade
// whose entries carry the hint record.
void create_hint_menu(HintWidgets &w, SetupItem *hint_item, XtCallbackProc callback, const char *const *hints,
                      int hint_count) {
  Args bar;
  bar.set(XmNmenuAccelerator, (XtArgVal) nullptr)
      .set(XmNresizeWidth, False)
      .set(XmNresizeHeight, False)
      .set(XmNmarginWidth, 0)
      .set(XmNmarginHeight, 0)
      .set(XmNheight, kItemHeight)
      .set(XmNwidth, 20)
      .below_anchor()
      .right_of(w.label, 9);
  w.menu_bar = XmCreateMenuBar(current_row_form, const_cast<char *>(""), bar.list, bar.count);
  w.pulldown = XmCreatePulldownMenu(w.menu_bar, const_cast<char *>(""), nullptr, 0);
  std::vector<Widget> buttons;
  for (int i = 0; i < hint_count; ++i) {
    XmText s(hints[i]);
    Args entry;
    entry.set(XmNlabelString, (XtArgVal)s.get()).set(XmNuserData, (XtArgVal)hint_item);
    Widget button = create("", xmPushButtonWidgetClass, w.pulldown, entry);
    XtAddCallback(button, XmNactivateCallback, callback, nullptr);
    buttons.push_back(button);
  }
  manage_entries(buttons);
  XmText i_label("i");
  Args cascade;
  cascade.set(XmNlabelString, (XtArgVal)i_label.get())
      .set(XmNrecomputeSize, False)
      .set(XmNalignment, XmALIGNMENT_BEGINNING)
      .set(XmNheight, 24)
      .set(XmNwidth, 16)
      .set(XmNmarginWidth, 1)
      .set(XmNmarginTop, 4)
      .set(XmNsubMenuId, (XtArgVal)w.pulldown);
  w.cascade = create("hintcascadebtn", xmCascadeButtonWidgetClass, w.menu_bar, cascade);
  XtAddCallback(w.cascade, XmNcascadingCallback, give_menu_key, nullptr);
}

Widget choice_button(Widget option_menu, int index) {
  Widget pulldown = nullptr;
  XtVaGetValues(option_menu, XmNsubMenuId, &pulldown, nullptr);
  char name[32];
  snprintf(name, sizeof name, "button_%d", index);
  return pulldown ? XtNameToWidget(pulldown, name) : nullptr;
}

// Setting a field's text puts the insertion cursor at the start and drops
// the selection. Enter, or leaving the field, stores and shows the value
// again; when that shows what the field already holds, the field is left
// alone, so editing goes on where it was and a selection can still be
// pasted elsewhere.
void set_field_text(Widget text_field, const char *text) {
  char *shown = XmTextFieldGetString(text_field);
  bool same = shown && std::strcmp(shown, text) == 0;
  XtFree(shown);
  if (!same) XmTextFieldSetString(text_field, const_cast<char *>(text));
}

SetupItem *item_of(Widget w) {
  XtPointer data = nullptr;
  XtVaGetValues(w, XmNuserData, &data, nullptr);
  return static_cast<SetupItem *>(data);
}

// An option menu made as XmCreateSimpleOptionMenu makes it (the option
// menu, then its pane with the same arguments, then the buttons "button_0",
// "button_1", ... calling `callback` with their index), but with every
// button's resources given at creation: the pane is realized at once, and
// a button's SetValues there would ask the X server for the focus.
// One button more than there are choices: "?????", shown only for a value
// that matches no choice and never offered in the menu.
Widget create_option_menu(Args &args, SetupItem *item, const Choice *choices, int choice_count,
                          XtCallbackProc callback) {
  XmText empty("");
  Args menu_args = args;
  menu_args.set(XmNlabelString, (XtArgVal)empty.get());
  Widget menu = XmCreateOptionMenu(current_row_form, const_cast<char *>(""), menu_args.list, menu_args.count);
  Widget pane =
      XmCreatePulldownMenu(current_row_form, const_cast<char *>(""), menu_args.list, menu_args.count);
  std::vector<Widget> offered;
  for (int i = 0; i <= choice_count; ++i) {
    XmText label(i < choice_count ? choices[i].text : kUnknownChoice);
    Args button;
    button.set(XmNlabelString, (XtArgVal)label.get())
        .set(XmNuserData, (XtArgVal)item)
        .set(XmNrecomputeSize, False)
        .set(XmNheight, kChoiceButtonHeight);
    char name[32];
    snprintf(name, sizeof name, "button_%d", i);
    Widget w = XtCreateWidget(name, xmPushButtonGadgetClass, pane, button.list, button.count);
    XtAddCallback(w, XmNactivateCallback, callback, reinterpret_cast<XtPointer>(static_cast<intptr_t>(i)));
    if (i < choice_count) offered.push_back(w);
  }
  manage_entries(offered);
  XtVaSetValues(menu, XmNsubMenuId, pane, nullptr);
  return menu;
}

}  // namespace

void set_label_width(Widget label, int label_width) {
  XtVaSetValues(label, XmNwidth, static_cast<Dimension>(kPixelsPerLabelChar * label_width), nullptr);
}

SetupItem *build_section(Widget parent, const char *title, XtCallbackProc callback) {
  auto *block = new BuiltItem<SectionWidgets>{};
  SectionWidgets &w = block->widgets;
  w.frame = XtVaCreateWidget("setupframe", xmFrameWidgetClass, parent, XmNshadowType, XmSHADOW_OUT, nullptr);
  owned_by(w.frame, block);
  w.title_form =
      XtVaCreateWidget("", xmFormWidgetClass, w.frame, XmNchildType, XmFRAME_TITLE_CHILD,
                       XmNchildHorizontalAlignment, XmALIGNMENT_END, XmNshadowThickness, 0, nullptr);

  XmText help(_("Help"));
  w.help_button = XtVaCreateWidget("setupframepb", xmPushButtonWidgetClass, w.title_form, XmNlabelString,
                                   help.get(), XmNuserData, &block->item, XmNdefaultButtonShadowThickness, 0,
                                   XmNtopAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                   XmNbottomAttachment, XmATTACH_FORM, nullptr);
  XtAddCallback(w.help_button, XmNactivateCallback, callback, nullptr);

  XmText s(title);
  w.title_label = XtVaCreateWidget("setupframelab", xmLabelWidgetClass, w.title_form, XmNlabelString, s.get(),
                                   XmNalignment, XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_FORM,
                                   XmNtopAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM,
                                   XmNrightAttachment, XmATTACH_WIDGET, XmNrightWidget, w.help_button,
                                   XmNrightOffset, 20, nullptr);

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
  w.label = owned_by(create_item_label(label, label_width), block);
  w.field = create_text_field(&block->item, callback, w.label, 8);
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
  w.label = owned_by(create_item_label(label, label_width), block);
  create_hint_menu(w, &block->hint_item, callback, hints, hint_count);
  w.field = create_text_field(&block->field_item, callback, w.menu_bar, 5);
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
  w.label = owned_by(create_item_label(label, label_width), block);

  Args args;
  args.set(XmNuserData, (XtArgVal)&block->item)
      .set(XmNspacing, 0)
      .set(XmNmarginWidth, 0)
      .set(XmNmarginHeight, 0)
      .below_anchor()
      .right_of(w.label, 0)
      .to_right_edge();
  w.field = create_option_menu(args, &block->item, choices, choice_count, callback);
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
  w.label = owned_by(create_item_label(label, label_width), block);
  Args args;
  args.set(XmNuserData, (XtArgVal)&block->item)
      .set(XmNrecomputeSize, False)
      .set(XmNheight, kItemHeight)
      .set(XmNalignment, XmALIGNMENT_BEGINNING)
      .below_anchor()
      .right_of(w.label, 7)
      .to_right_edge();
  w.field = create("setuptgl", xmToggleButtonWidgetClass, current_row_form, args);
  XtAddCallback(w.field, XmNvalueChangedCallback, callback, nullptr);
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
  set_field_text(text_field, shown);
}

void show_text(Widget text_field, const char *shown) { set_field_text(text_field, shown); }

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
  XtVaSetValues(window->form_dialog, XmNdialogTitle, XmText(title).get(), nullptr);
  XtVaSetValues(window->menu_bar, XmNuserData, const_cast<char *>(help_topic), nullptr);
}
