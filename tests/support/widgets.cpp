#include "tests/support/widgets.h"

#include <Xm/CascadeB.h>
#include <Xm/Label.h>
#include <Xm/MessageB.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "motif/bounds_dialog.h"
#include "motif/page_window.h"
#include "tests/support/gui.h"

std::string string_of(XmString s) {
  char *text = static_cast<char *>(
      XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
  std::string result = text ? text : "";
  XtFree(text);
  return result;
}

std::string label_of(Widget w, const char *resource) {
  XmString s = get<XmString>(w, resource);
  std::string result = string_of(s);
  XmStringFree(s);
  return result;
}

std::string message_text(Widget box) {
  XmString separator = XmStringSeparatorCreate();
  Arg args[3];
  XtSetArg(args[0], XmNincludeStatus, XmINSERT);
  XtSetArg(args[1], XmNsubstitute, separator);
  XtSetArg(args[2], XmNpattern, const_cast<char *>("\n"));
  XmParseMapping newline = XmParseMappingCreate(args, 3);
  XmString message = get<XmString>(box, XmNmessageString);
  char *text = static_cast<char *>(
      XmStringUnparse(message, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, &newline, 1, XmOUTPUT_ALL));
  std::string result = text ? text : "";
  XtFree(text);
  XmStringFree(message);
  XmParseMappingFree(newline);
  XmStringFree(separator);
  return result;
}

std::vector<Widget> children(Widget w) {
  if (!XtIsComposite(w)) return {};
  WidgetList list = get<WidgetList>(w, XmNchildren);
  return std::vector<Widget>(list, list + get<Cardinal>(w, XmNnumChildren));
}

SetupItem *item_of(Widget w) { return static_cast<SetupItem *>(get<XtPointer>(w, XmNuserData)); }

static void collect_into(Widget root, const std::function<bool(Widget)> &accept, std::vector<Widget> &found) {
  if (accept(root)) found.push_back(root);
  for (Widget child : children(root)) collect_into(child, accept, found);
}

std::vector<Widget> collect(Widget root, const std::function<bool(Widget)> &accept) {
  std::vector<Widget> found;
  if (root) collect_into(root, accept, found);
  return found;
}

bool scrolls_sideways(Widget scrolled_window) {
  Widget bar = get<Widget>(scrolled_window, XmNhorizontalScrollBar);
  return bar && XtIsManaged(bar) && get<Position>(bar, XmNy) < get<Dimension>(scrolled_window, XmNheight);
}

std::string field_text(Widget field) {
  char *text = XmTextFieldGetString(field);
  std::string result = text;
  XtFree(text);
  return result;
}

std::vector<std::string> list_items(Widget list) {
  XmStringTable items = nullptr;
  int count = 0;
  XtVaGetValues(list, XmNitems, &items, XmNitemCount, &count, nullptr);
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) texts.push_back(string_of(items[i]));
  return texts;
}

void activate(Widget w) {
  if (!w) return ADD_FAILURE() << "nothing to activate", void();
  XmAnyCallbackStruct call{XmCR_ACTIVATE, nullptr};
  XtCallCallbacks(w, XmNactivateCallback, &call);
}

void type_into(Widget field, const char *text) {
  XmTextFieldSetString(field, const_cast<char *>(text));
  activate(field);
}

void flip(Widget toggle, bool state) {
  XmToggleButtonSetState(toggle, state, False);
  XmToggleButtonCallbackStruct call{XmCR_VALUE_CHANGED, nullptr, state};
  XtCallCallbacks(toggle, XmNvalueChangedCallback, &call);
}

std::string chosen(Widget option_menu) {
  Widget button = get<Widget>(option_menu, XmNmenuHistory);
  return button ? label_of(button) : "";
}

void choose(Widget option_menu, const char *entry) {
  for (Widget button : children(get<Widget>(option_menu, XmNsubMenuId)))
    if (label_of(button) == entry) {
      XtVaSetValues(option_menu, XmNmenuHistory, button, nullptr);
      activate(button);
      return;
    }
  ADD_FAILURE() << "no entry " << entry;
}

std::vector<Widget> hints_of(Widget field) {
  auto cascades = collect(XtParent(field), [](Widget w) {
    return XmIsCascadeButton(w) && std::strcmp(XtName(w), "hintcascadebtn") == 0;
  });
  for (Widget cascade : cascades) {
    std::vector<Widget> buttons = children(get<Widget>(cascade, XmNsubMenuId));
    if (!buttons.empty() && item_of(buttons[0]) && item_of(buttons[0])->id == item_of(field)->id)
      return buttons;
  }
  return {};
}

std::vector<std::string> hint_texts(Widget field) {
  std::vector<std::string> texts;
  for (Widget b : hints_of(field)) texts.push_back(label_of(b));
  return texts;
}

void pick_hint(Widget field, const char *entry) {
  for (Widget b : hints_of(field))
    if (label_of(b) == entry) return activate(b);
  ADD_FAILURE() << "no hint " << entry;
}

std::string page_listing(PageFunction page) {
  FILE *file = std::tmpfile();
  page(PassList, nullptr, reinterpret_cast<XtPointer>(file));
  std::fflush(file);
  std::rewind(file);
  std::string text;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

std::vector<std::string> bounds_lines_after(PageFunction page, uint32_t pass) {
  clear_bounds_lines();
  page(pass, nullptr, nullptr);
  return bounds_lines();
}

bool mentions(const std::vector<std::string> &lines, const std::string &what) {
  for (const auto &line : lines)
    if (line.find(what) != std::string::npos) return true;
  return false;
}

void PageView::build(int page_number, PageFunction page) {
  record = create_page_window(page_number, 620, 550);
  owned = true;
  page(PassBuild, nullptr, reinterpret_cast<XtPointer>(record));
  XtManageChild(record->form_dialog);
  gui_process(30);
}

void PageView::destroy() {
  if (owned) {
    XtDestroyWidget(XtParent(record->form_dialog));
    delete record;
  }
  record = nullptr;
  owned = false;
  gui_process(20);
}

Widget PageView::section(const std::string &title) const {
  auto labels = collect(record->row_column, [&](Widget w) {
    return std::strcmp(XtName(w), "setupframelab") == 0 && label_of(w) == title;
  });
  if (labels.empty()) return nullptr;
  Widget w = labels[0];
  while (w && std::strcmp(XtName(w), "setupframe") != 0) w = XtParent(w);
  return w;
}

Widget PageView::item(const std::string &label, int nth) const {
  auto labels = collect(record->row_column, [&](Widget w) {
    return XtClass(w) == xmLabelWidgetClass && std::strcmp(XtName(w), "setupframelab") != 0 &&
           label_of(w) == label;
  });
  if (static_cast<int>(labels.size()) <= nth) return nullptr;
  std::vector<Widget> siblings = children(XtParent(labels[nth]));
  auto w = std::find(siblings.begin(), siblings.end(), labels[nth]);
  while (w != siblings.end() && ++w != siblings.end())
    if ((XmIsTextField(*w) || XmIsToggleButton(*w) || XmIsRowColumn(*w)) && item_of(*w)) return *w;
  return nullptr;
}

Widget PageView::toggle_on(const char *on_text, int nth) const {
  auto toggles = collect(record->row_column, [&](Widget w) {
    return XmIsToggleButton(w) && item_of(w) && std::strcmp(item_of(w)->text2, on_text) == 0;
  });
  return static_cast<int>(toggles.size()) > nth ? toggles[nth] : nullptr;
}

bool PageView::shown(Widget w) const {
  for (; w && w != record->row_column; w = XtParent(w))
    if (!XtIsManaged(w)) return false;
  return w && w == record->row_column;
}
