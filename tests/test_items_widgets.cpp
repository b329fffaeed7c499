// The item builders against real Motif widgets: names, sizes, attachments
// and the item records every firing widget carries.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <string>
#include <vector>

#include "items/builders.h"
#include "items/state.h"
#include "tests/support/gui.h"

namespace {

std::vector<Widget> fired;
void record_callback(Widget w, XtPointer, XtPointer) { fired.push_back(w); }

std::string label_of(Widget w) {
  XmString s = nullptr;
  XtVaGetValues(w, XmNlabelString, &s, nullptr);
  char *text = nullptr;
  XmStringGetLtoR(s, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
  std::string result = text ? text : "";
  XtFree(text);
  XmStringFree(s);
  return result;
}

SetupItem *user_data(Widget w) {
  XtPointer data = nullptr;
  XtVaGetValues(w, XmNuserData, &data, nullptr);
  return static_cast<SetupItem *>(data);
}

struct Attachment {
  unsigned char type;
  Widget widget;
  int offset;
};

Attachment top_of(Widget w) {
  Attachment a{};
  XtVaGetValues(w, XmNtopAttachment, &a.type, XmNtopWidget, &a.widget, XmNtopOffset, &a.offset, nullptr);
  return a;
}

Attachment left_of(Widget w) {
  Attachment a{};
  XtVaGetValues(w, XmNleftAttachment, &a.type, XmNleftWidget, &a.widget, XmNleftOffset, &a.offset, nullptr);
  return a;
}

Dimension width_of(Widget w) {
  Dimension d = 0;
  XtVaGetValues(w, XmNwidth, &d, nullptr);
  return d;
}

Dimension height_of(Widget w) {
  Dimension d = 0;
  XtVaGetValues(w, XmNheight, &d, nullptr);
  return d;
}

// A shell with one section of one row, as PassBuild starts a page.
class Builders : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    fired.clear();
    shell = XtVaCreatePopupShell("buildershell", topLevelShellWidgetClass, top_level, XmNwidth, 600,
                                 XmNheight, 400, nullptr);
    column = XtVaCreateManagedWidget("column", xmRowColumnWidgetClass, shell, nullptr);
    section = build_section(column, "Interface", record_callback);
    row = build_row();
  }
  void TearDown() override {
    if (shell) XtDestroyWidget(shell);
    gui_process(20);
  }
  void show() {
    XtManageChild(static_cast<SectionWidgets *>(section->widgets)->frame);
    XtManageChild(row);
    XtPopup(shell, XtGrabNone);
    gui_process(50);
  }

  Widget shell = nullptr;
  Widget column = nullptr;
  SetupItem *section = nullptr;
  Widget row = nullptr;
};

TEST_F(Builders, SectionFrameTitleAndHelpButton) {
  auto *w = static_cast<SectionWidgets *>(section->widgets);
  EXPECT_STREQ(XtName(w->frame), "setupframe");
  EXPECT_FALSE(XtIsManaged(w->frame)) << "the page manages the frame by its condition";
  unsigned char shadow = 0;
  XtVaGetValues(w->frame, XmNshadowType, &shadow, nullptr);
  EXPECT_EQ(shadow, XmSHADOW_OUT);

  EXPECT_STREQ(XtName(w->help_button), "setupframepb");
  EXPECT_EQ(label_of(w->help_button), "Help");
  EXPECT_EQ(user_data(w->help_button), section);
  EXPECT_STREQ(XtName(w->title_label), "setupframelab");
  EXPECT_EQ(label_of(w->title_label), "Interface");
  unsigned char right = 0;
  Widget right_widget = nullptr;
  int right_offset = 0;
  XtVaGetValues(w->title_label, XmNrightAttachment, &right, XmNrightWidget, &right_widget, XmNrightOffset,
                &right_offset, nullptr);
  EXPECT_EQ(right, XmATTACH_WIDGET);
  EXPECT_EQ(right_widget, w->help_button);
  EXPECT_EQ(right_offset, 20);

  EXPECT_EQ(XtParent(current_section_rowcolumn), w->frame);
  EXPECT_EQ(XtParent(row), current_section_rowcolumn);
  EXPECT_EQ(current_row_form, row);
  EXPECT_EQ(row_anchor, row);

  XtCallCallbacks(w->help_button, XmNactivateCallback, nullptr);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0], w->help_button);
}

TEST_F(Builders, ItemsOfOneRowStandOneBelowTheOther) {
  SetupItem *first = build_label_field("Baud rate", 12, record_callback);
  SetupItem *second = build_label_field("Port", 12, record_callback);
  auto *a = static_cast<FieldWidgets *>(first->widgets);
  auto *b = static_cast<FieldWidgets *>(second->widgets);
  show();

  EXPECT_EQ(width_of(a->label), 96);
  EXPECT_EQ(height_of(a->label), 30);
  EXPECT_EQ(height_of(a->field), 30);
  unsigned char alignment = 0;
  XtVaGetValues(a->label, XmNalignment, &alignment, nullptr);
  EXPECT_EQ(alignment, XmALIGNMENT_END);
  EXPECT_EQ(label_of(a->label), "Baud rate");

  // The first item hangs from the row form, the second from the first label.
  EXPECT_EQ(top_of(a->label).type, XmATTACH_FORM);
  EXPECT_EQ(top_of(a->label).offset, 4);
  EXPECT_EQ(top_of(a->field).type, XmATTACH_FORM);
  Attachment below = top_of(b->label);
  EXPECT_EQ(below.type, XmATTACH_WIDGET);
  EXPECT_EQ(below.widget, a->label);
  EXPECT_EQ(below.offset, 4);
  EXPECT_EQ(top_of(b->field).widget, a->label);
  EXPECT_EQ(row_anchor, b->label);
  Position ya = 0, yb = 0;
  XtVaGetValues(a->label, XmNy, &ya, nullptr);
  XtVaGetValues(b->label, XmNy, &yb, nullptr);
  EXPECT_EQ(yb, ya + 30 + 4);

  Attachment field_left = left_of(a->field);
  EXPECT_EQ(field_left.widget, a->label);
  EXPECT_EQ(field_left.offset, 8);
  EXPECT_EQ(left_of(a->label).offset, 5);

  EXPECT_EQ(user_data(a->field), first);
  EXPECT_EQ(user_data(b->field), second);
  XtCallCallbacks(b->field, XmNactivateCallback, nullptr);
  XtCallCallbacks(b->field, XmNlosingFocusCallback, nullptr);
  EXPECT_EQ(fired, (std::vector<Widget>{b->field, b->field}));
}

TEST_F(Builders, HintFieldSharesItsWidgetsWithTheHintRecord) {
  const char *hints[] = {"9600", "19200", "38400"};
  SetupItem *hint = nullptr;
  SetupItem *field = build_hint_field("Baud rate", 10, record_callback, hints, 3, &hint);
  ASSERT_NE(hint, nullptr);
  ASSERT_NE(hint, field);
  EXPECT_EQ(hint->widgets, field->widgets);
  auto *w = static_cast<HintWidgets *>(field->widgets);
  show();

  EXPECT_EQ(user_data(w->field), field);
  EXPECT_STREQ(XtName(w->cascade), "hintcascadebtn");
  EXPECT_EQ(label_of(w->cascade), "i");
  EXPECT_EQ(width_of(w->cascade), 16);
  EXPECT_EQ(left_of(w->menu_bar).widget, w->label);
  EXPECT_EQ(left_of(w->menu_bar).offset, 9);
  EXPECT_EQ(left_of(w->field).widget, w->menu_bar);
  EXPECT_EQ(left_of(w->field).offset, 5);
  EXPECT_EQ(row_anchor, w->label);

  WidgetList entries = nullptr;
  Cardinal count = 0;
  XtVaGetValues(w->pulldown, XmNchildren, &entries, XmNnumChildren, &count, nullptr);
  ASSERT_EQ(count, 3u);
  for (Cardinal i = 0; i < count; ++i) {
    EXPECT_EQ(label_of(entries[i]), hints[i]);
    EXPECT_EQ(user_data(entries[i]), hint);
  }
  XtCallCallbacks(entries[1], XmNactivateCallback, nullptr);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0], entries[1]);
}

TEST_F(Builders, OptionMenuKeepsAHiddenButtonForUnknownValues) {
  const Choice choices[] = {{"Serial", 0}, {"Network", 3}, {"None", 1}};
  SetupItem *item = build_option_menu("Interface", choices, 3, 10, record_callback);
  auto *w = static_cast<FieldWidgets *>(item->widgets);
  show();

  EXPECT_EQ(user_data(w->field), item);
  EXPECT_EQ(top_of(w->field).type, XmATTACH_FORM);
  EXPECT_EQ(left_of(w->field).widget, w->label);
  EXPECT_EQ(left_of(w->field).offset, 0);
  Widget pulldown = nullptr;
  XtVaGetValues(w->field, XmNsubMenuId, &pulldown, nullptr);
  for (int i = 0; i <= 3; ++i) {
    Widget button = XtNameToWidget(pulldown, ("button_" + std::to_string(i)).c_str());
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(user_data(button), item);
    EXPECT_EQ(height_of(button), 25);
    EXPECT_EQ(label_of(button), i < 3 ? choices[i].text : "?????");
    EXPECT_EQ(XtIsManaged(button), i < 3) << i;
  }

  Widget history = nullptr;
  select_choice(w->field, 3, choices, 3);
  XtVaGetValues(w->field, XmNmenuHistory, &history, nullptr);
  EXPECT_STREQ(XtName(history), "button_1");
  select_choice(w->field, 7, choices, 3);
  XtVaGetValues(w->field, XmNmenuHistory, &history, nullptr);
  EXPECT_STREQ(XtName(history), "button_3");
  EXPECT_EQ(label_of(XmOptionButtonGadget(w->field)), "?????");

  // The toolkit hands the chosen index to the page callback as client data.
  Widget network = XtNameToWidget(pulldown, "button_1");
  XmPushButtonCallbackStruct call{};
  call.reason = XmCR_ACTIVATE;
  XtCallCallbacks(network, XmNactivateCallback, &call);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0], network);
}

TEST_F(Builders, ToggleShowsTheTextOfItsState) {
  SetupItem *item = build_toggle("Timezone", "Local Time", "UTC", 10, record_callback);
  auto *w = static_cast<FieldWidgets *>(item->widgets);
  show();
  EXPECT_STREQ(XtName(w->field), "setuptgl");
  EXPECT_EQ(user_data(w->field), item);
  EXPECT_STREQ(item->text, "Local Time");
  EXPECT_STREQ(item->text2, "UTC");
  EXPECT_EQ(left_of(w->field).offset, 7);

  show_toggle(w->field, 1);
  EXPECT_EQ(label_of(w->field), "UTC");
  EXPECT_TRUE(XmToggleButtonGetState(w->field));
  show_toggle(w->field, 0);
  EXPECT_EQ(label_of(w->field), "Local Time");
  EXPECT_FALSE(XmToggleButtonGetState(w->field));
  // An out-of-range flag still shows as plainly on, never as "indeterminate".
  show_toggle(w->field, 2);
  unsigned char set = 0;
  XtVaGetValues(w->field, XmNset, &set, nullptr);
  EXPECT_EQ(set, XmSET);
  EXPECT_EQ(label_of(w->field), "UTC");

  XmToggleButtonSetState(w->field, False, True);
  EXPECT_EQ(fired, std::vector<Widget>{w->field});
}

TEST_F(Builders, ShowNumberUsesTheFormatOfTheFieldsOwnItem) {
  SetupItem *speed = build_label_field("Speed", 10, record_callback);
  SetupItem *gain = build_label_field("Gain", 10, record_callback);
  snprintf(speed->text, sizeof speed->text, "%s", "%.2f m/sec");
  snprintf(gain->text, sizeof gain->text, "%s", "%.1f %%");
  Widget speed_field = static_cast<FieldWidgets *>(speed->widgets)->field;
  Widget gain_field = static_cast<FieldWidgets *>(gain->widgets)->field;
  show_number(speed_field, 12.345);
  show_number(gain_field, 50);
  char *text = XmTextFieldGetString(speed_field);
  EXPECT_STREQ(text, "12.35 m/sec");
  XtFree(text);
  text = XmTextFieldGetString(gain_field);
  EXPECT_STREQ(text, "50.0 %");
  XtFree(text);
}

TEST_F(Builders, PageTitleAndHelpTopic) {
  Widget dialog = XmCreateFormDialog(shell, const_cast<char *>("titledialog"), nullptr, 0);
  Widget bar = XmCreateMenuBar(dialog, const_cast<char *>(""), nullptr, 0);
  PageWindow window{dialog, bar, nullptr, nullptr, nullptr, nullptr};
  set_page_title(&window, "ZAMO General Setups, radar1", "zamo_general_setups");
  EXPECT_STREQ(reinterpret_cast<const char *>(user_data(bar)), "zamo_general_setups");
  XmString title = nullptr;
  XtVaGetValues(dialog, XmNdialogTitle, &title, nullptr);
  char *text = nullptr;
  XmStringGetLtoR(title, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
  EXPECT_STREQ(text, "ZAMO General Setups, radar1");
  XtFree(text);
  XmStringFree(title);
}

}  // namespace
