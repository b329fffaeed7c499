// Describing a built page's widget tree and building it again by plain
// Motif calls.
#include "bench/tree.h"

#include <X11/IntrinsicP.h>
#include <Xm/CascadeB.h>
#include <Xm/CascadeBG.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrolledW.h>
#include <Xm/SeparatoG.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include <algorithm>
#include <cstdio>

#include "motif/state.h"

namespace {

template <typename T>
XtArgVal get(Widget w, const char *name) {
  T value{};
  XtVaGetValues(w, name, &value, nullptr);
  return (XtArgVal)value;
}

}  // namespace

std::vector<Widget> children_of(Widget w) {
  if (!XtIsComposite(w)) return {};
  WidgetList children = nullptr;
  Cardinal count = 0;
  XtVaGetValues(w, XmNchildren, &children, XmNnumChildren, &count, nullptr);
  return std::vector<Widget>(children, children + count);
}

bool is_option_menu(Widget w) {
  unsigned char type = 0;
  if (XtClass(w) == xmRowColumnWidgetClass) XtVaGetValues(w, XmNrowColumnType, &type, nullptr);
  return type == XmMENU_OPTION;
}

namespace {

// The text of a compound string; frees it.
std::string text_of(XmString s) {
  std::string text;
  if (!s) return text;
  char *t = static_cast<char *>(
      XmStringUnparse(s, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
  if (t) text = t;
  XtFree(t);
  XmStringFree(s);
  return text;
}

XmString make_string(const std::string &text) {
  return XmStringCreateLocalized(const_cast<char *>(text.c_str()));
}

class Describer {
 public:
  explicit Describer(Description &d) : d_(d) {}

  void describe_children(Widget parent, int parent_index) {
    if (!XtIsWidget(parent)) return;  // gadgets have neither popups nor children
    std::vector<Widget> children = children_of(parent);
    // Option menus make their own panes; other panes come before the
    // cascades that name them.
    std::vector<Widget> option_panes;
    for (Widget child : children)
      if (is_option_menu(child)) option_panes.push_back(submenu_of(child));
    for (Cardinal i = 0; i < parent->core.num_popups; ++i)
      describe_popup(parent->core.popup_list[i], parent_index, option_panes);
    for (Widget child : children) describe(child, parent_index);
  }

 private:
  static Widget submenu_of(Widget w) {
    Widget pane = nullptr;
    XtVaGetValues(w, XmNsubMenuId, &pane, nullptr);
    return pane;
  }

  // A pull-down pane sits in a menu shell that the toolkit makes with it.
  void describe_popup(Widget shell, int parent_index, const std::vector<Widget> &skipped) {
    WidgetList panes = nullptr;
    Cardinal count = 0;
    XtVaGetValues(shell, XmNchildren, &panes, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) {
      if (std::find(skipped.begin(), skipped.end(), panes[i]) != skipped.end()) continue;
      int index = add(panes[i], parent_index, Creation::Pulldown);
      describe_children(panes[i], index);
    }
  }

  int add(Widget w, int parent_index, Creation creation) {
    Node n{creation, XtClass(w), XtName(w), parent_index, XtIsManaged(w) != 0, {}, {}, {}, {}, {}, {}, -1};
    d_.nodes.push_back(std::move(n));
    int index = static_cast<int>(d_.nodes.size()) - 1;
    d_.index[w] = index;
    return index;
  }

  Node &node(Widget w) { return d_.nodes[d_.index[w]]; }

  void value(Widget w, const char *name, XtArgVal v) {
    node(w).resources.push_back({name, v, -1, {}, false});
  }
  template <typename T>
  void copy(Widget w, const char *name) {
    value(w, name, get<T>(w, name));
  }
  void copy_string(Widget w, const char *name) {
    node(w).resources.push_back(
        {name, 0, -1, text_of(reinterpret_cast<XmString>(get<XmString>(w, name))), true});
  }
  void copy_widget(Widget w, const char *name) {
    Widget ref = reinterpret_cast<Widget>(get<Widget>(w, name));
    auto found = d_.index.find(ref);
    if (found != d_.index.end()) node(w).resources.push_back({name, 0, found->second, {}, false});
  }

  void attachments(Widget w) {
    static const char *const sides[][3] = {
        {XmNtopAttachment, XmNtopWidget, XmNtopOffset},
        {XmNbottomAttachment, XmNbottomWidget, XmNbottomOffset},
        {XmNleftAttachment, XmNleftWidget, XmNleftOffset},
        {XmNrightAttachment, XmNrightWidget, XmNrightOffset},
    };
    for (const auto &side : sides) {
      auto type = static_cast<unsigned char>(get<unsigned char>(w, side[0]));
      if (type == XmATTACH_NONE) continue;
      value(w, side[0], type);
      if (type == XmATTACH_WIDGET) copy_widget(w, side[1]);
      copy<int>(w, side[2]);
    }
  }

  void describe(Widget w, int parent_index) {
    WidgetClass c = XtClass(w);
    unsigned char rc_type = XmWORK_AREA;
    if (c == xmRowColumnWidgetClass) XtVaGetValues(w, XmNrowColumnType, &rc_type, nullptr);
    Creation creation = rc_type == XmMENU_OPTION ? Creation::OptionMenu
                        : rc_type == XmMENU_BAR  ? Creation::MenuBar
                                                 : Creation::Plain;
    int index = add(w, parent_index, creation);
    if (XmIsForm(XtParent(w))) attachments(w);

    if (c == xmFrameWidgetClass) {
      copy<unsigned char>(w, XmNshadowType);
    } else if (c == xmFormWidgetClass) {
      copy<unsigned char>(w, XmNchildType);
      copy<unsigned char>(w, XmNchildHorizontalAlignment);
      copy<Dimension>(w, XmNshadowThickness);
      copy<int>(w, XmNverticalSpacing);
    } else if (c == xmLabelWidgetClass) {
      copy_string(w, XmNlabelString);
      copy<unsigned char>(w, XmNalignment);
      copy<Dimension>(w, XmNwidth);
      copy<Dimension>(w, XmNheight);
    } else if (c == xmPushButtonWidgetClass) {
      copy_string(w, XmNlabelString);
      copy<XtPointer>(w, XmNuserData);
      if (XmIsForm(XtParent(w))) copy<Dimension>(w, XmNdefaultButtonShadowThickness);
      node(w).callbacks.push_back(XmNactivateCallback);
    } else if (c == xmTextFieldWidgetClass) {
      copy<Dimension>(w, XmNheight);
      copy<XtPointer>(w, XmNuserData);
      char *text = XmTextFieldGetString(w);
      node(w).value = text;
      XtFree(text);
      node(w).callbacks = {XmNactivateCallback, XmNlosingFocusCallback};
    } else if (c == xmToggleButtonWidgetClass) {
      copy<XtPointer>(w, XmNuserData);
      value(w, XmNrecomputeSize, False);
      copy<Dimension>(w, XmNheight);
      copy<unsigned char>(w, XmNalignment);
      copy_string(w, XmNlabelString);
      copy<unsigned char>(w, XmNset);
      node(w).callbacks.push_back(XmNvalueChangedCallback);
    } else if (c == xmCascadeButtonWidgetClass) {
      copy_string(w, XmNlabelString);
      value(w, XmNrecomputeSize, False);
      copy<unsigned char>(w, XmNalignment);
      copy<Dimension>(w, XmNheight);
      copy<Dimension>(w, XmNwidth);
      copy<Dimension>(w, XmNmarginWidth);
      copy<Dimension>(w, XmNmarginTop);
      copy_widget(w, XmNsubMenuId);
    } else if (c == xmRowColumnWidgetClass) {
      describe_row_column(w, rc_type);
      return;
    }
    describe_children(w, index);
  }

  void describe_row_column(Widget w, unsigned char type) {
    if (type == XmMENU_OPTION) return describe_option_menu(w);
    if (type == XmMENU_BAR) {
      value(w, XmNresizeWidth, False);
      value(w, XmNresizeHeight, False);
      copy<Dimension>(w, XmNheight);
      copy<Dimension>(w, XmNwidth);
    } else {
      copy<short>(w, XmNspacing);
    }
    copy<Dimension>(w, XmNmarginWidth);
    copy<Dimension>(w, XmNmarginHeight);
    describe_children(w, d_.index[w]);
  }

  void describe_option_menu(Widget w) {
    copy<XtPointer>(w, XmNuserData);
    copy<short>(w, XmNspacing);
    copy<Dimension>(w, XmNmarginWidth);
    copy<Dimension>(w, XmNmarginHeight);
    Widget pulldown = nullptr, history = nullptr;
    XtVaGetValues(w, XmNsubMenuId, &pulldown, XmNmenuHistory, &history, nullptr);
    Node &n = node(w);
    WidgetList buttons = nullptr;
    Cardinal count = 0;
    XtVaGetValues(pulldown, XmNchildren, &buttons, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) {
      n.button_labels.push_back(
          text_of(reinterpret_cast<XmString>(get<XmString>(buttons[i], XmNlabelString))));
      n.button_managed.push_back(XtIsManaged(buttons[i]) != 0);
      n.button_data.push_back(reinterpret_cast<XtPointer>(get<XtPointer>(buttons[i], XmNuserData)));
      if (buttons[i] == history) n.history = static_cast<int>(i);
    }
  }

  Description &d_;
};

void no_op_callback(Widget, XtPointer, XtPointer) {}

// The option menu, its pane with the same arguments, and its buttons with
// every resource given at creation, as a careful hand-written program would.
Widget create_option_menu(const Node &n, Widget parent, std::vector<Arg> &args) {
  XmString empty = XmStringCreateLocalized(const_cast<char *>(""));
  args.push_back({XmNlabelString, (XtArgVal)empty});
  Widget menu = XmCreateOptionMenu(parent, const_cast<char *>(n.name.c_str()), args.data(), args.size());
  Widget pane = XmCreatePulldownMenu(parent, const_cast<char *>(n.name.c_str()), args.data(), args.size());
  XmStringFree(empty);
  Widget history = nullptr;
  for (size_t i = 0; i < n.button_labels.size(); ++i) {
    XmString label = make_string(n.button_labels[i]);
    Arg button[4] = {{XmNlabelString, (XtArgVal)label},
                     {XmNuserData, (XtArgVal)n.button_data[i]},
                     {XmNrecomputeSize, False},
                     {XmNheight, 25}};
    char name[32];
    std::snprintf(name, sizeof name, "button_%zu", i);
    Widget w = XtCreateManagedWidget(name, xmPushButtonGadgetClass, pane, button, 4);
    XmStringFree(label);
    XtAddCallback(w, XmNactivateCallback, no_op_callback, reinterpret_cast<XtPointer>(i));
    if (!n.button_managed[i]) XtUnmanageChild(w);
    if (static_cast<int>(i) == n.history) history = w;
  }
  XtVaSetValues(menu, XmNsubMenuId, pane, nullptr);
  if (history) XtVaSetValues(menu, XmNmenuHistory, history, nullptr);
  return menu;
}

}  // namespace

void replay(const Description &d, Widget row_column) {
  std::vector<Widget> made(d.nodes.size(), nullptr);
  std::vector<Arg> args;
  std::vector<XmString> strings;
  for (size_t i = 0; i < d.nodes.size(); ++i) {
    const Node &n = d.nodes[i];
    Widget parent = n.parent < 0 ? row_column : made[n.parent];
    args.clear();
    strings.clear();
    for (const Resource &r : n.resources) {
      XtArgVal value = r.value;
      if (r.widget_ref >= 0) value = (XtArgVal)made[r.widget_ref];
      if (r.is_string) {
        strings.push_back(make_string(r.text));
        value = (XtArgVal)strings.back();
      }
      args.push_back({const_cast<char *>(r.name), value});
    }
    char *name = const_cast<char *>(n.name.c_str());
    switch (n.creation) {
      case Creation::Pulldown:
        made[i] = XmCreatePulldownMenu(parent, name, args.data(), args.size());
        for (XmString s : strings) XmStringFree(s);
        continue;
      case Creation::MenuBar:
        made[i] = XmCreateMenuBar(parent, name, args.data(), args.size());
        break;
      case Creation::OptionMenu:
        made[i] = create_option_menu(n, parent, args);
        break;
      case Creation::Plain:
        made[i] = XtCreateWidget(name, n.widget_class, parent, args.data(), args.size());
        break;
    }
    for (XmString s : strings) XmStringFree(s);
    for (const char *callback : n.callbacks) XtAddCallback(made[i], callback, no_op_callback, nullptr);
    if (!n.value.empty()) XmTextFieldSetString(made[i], const_cast<char *>(n.value.c_str()));
    if (n.managed) XtManageChild(made[i]);
  }
}

Description describe_page(Widget row_column) {
  Description d;
  Describer(d).describe_children(row_column, -1);
  return d;
}

bool same_tree(const Description &walk, Widget plain_row_column) {
  Description plain = describe_page(plain_row_column);
  if (plain.nodes.size() != walk.nodes.size()) return false;
  for (size_t i = 0; i < walk.nodes.size(); ++i) {
    const Node &a = walk.nodes[i], &b = plain.nodes[i];
    if (a.widget_class != b.widget_class || a.name != b.name || a.parent != b.parent ||
        a.managed != b.managed || a.resources.size() != b.resources.size() ||
        a.button_labels != b.button_labels || a.value != b.value)
      return false;
  }
  return true;
}

int count_items(const Description &d) {
  int items = 0;
  for (const Node &n : d.nodes) {
    if (n.creation == Creation::OptionMenu || n.widget_class == xmTextFieldWidgetClass ||
        n.widget_class == xmToggleButtonWidgetClass)
      ++items;
  }
  return items;
}

namespace {

void plain_menu(Widget bar, const char *title, const char *const *entries) {
  Widget pane = XmCreatePulldownMenu(bar, const_cast<char *>(""), nullptr, 0);
  for (const char *const *e = entries; *e; ++e) {
    if (!**e) {
      XtManageChild(XmCreateSeparatorGadget(pane, const_cast<char *>("separator"), nullptr, 0));
      continue;
    }
    Widget entry = XmCreatePushButtonGadget(pane, const_cast<char *>(*e), nullptr, 0);
    XtAddCallback(entry, XmNactivateCallback, no_op_callback, nullptr);
    XtManageChild(entry);
  }
  Arg args[1];
  XtSetArg(args[0], XmNsubMenuId, pane);
  XtManageChild(XmCreateCascadeButtonGadget(bar, const_cast<char *>(title), args, 1));
}

void plain_fit(Widget shell, XtPointer row_column, XEvent *, Boolean *) {
  Dimension width = 0;
  XtVaGetValues(shell, XmNwidth, &width, nullptr);
  XtVaSetValues(static_cast<Widget>(row_column), XmNwidth, width > 31 ? width - 30 : 1, nullptr);
}

}  // namespace

PlainWindow plain_page_window(int width, int height) {
  Arg args[3];
  XtSetArg(args[0], XmNwidth, width);
  XtSetArg(args[1], XmNheight, height);
  XtSetArg(args[2], XmNresizePolicy, XmRESIZE_NONE);
  Widget form = XmCreateFormDialog(top_level, const_cast<char *>("mainmenusform"), args, 3);
  Widget bar = XmCreateMenuBar(form, const_cast<char *>(""), nullptr, 0);
  XtVaSetValues(bar, XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM, XmNrightAttachment,
                XmATTACH_FORM, nullptr);
  static const char *const file[] = {"List", "Factory", "", "Close", nullptr};
  static const char *const help[] = {"On Menu...", nullptr};
  plain_menu(bar, "File", file);
  plain_menu(bar, "Help", help);
  Widget scrolled = XtVaCreateWidget("", xmScrolledWindowWidgetClass, form, XmNscrollingPolicy, XmAUTOMATIC,
                                     XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                     XmNbottomAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_WIDGET,
                                     XmNtopWidget, bar, nullptr);
  Widget row_column = XtVaCreateWidget("", xmRowColumnWidgetClass, scrolled, XmNspacing, 10, XmNmarginWidth,
                                       10, XmNmarginHeight, 10, XmNresizeWidth, False, nullptr);
  XtAddEventHandler(XtParent(form), StructureNotifyMask, False, plain_fit, row_column);
  XtManageChild(bar);
  XtManageChild(scrolled);
  XtManageChild(row_column);
  return {form, row_column};
}
