// The item builders against real Motif widgets: names, sizes, attachments
// and the item records every firing widget carries.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Form.h>
#include <Xm/RowColumn.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <string>
#include <vector>

#include "motif/builders.h"
#include "motif/state.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

std::vector<Widget> fired;
void record_callback(Widget w, XtPointer, XtPointer) { fired.push_back(w); }

Widget top_widget(Widget w) { return get<Widget>(w, XmNtopWidget); }

// A shell with one section of one row, as PassBuild starts a page.
class Builders : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    fired.clear();
    shell = XtVaCreatePopupShell("buildershell", topLevelShellWidgetClass, top_level, XmNwidth, 600,
                                 XmNheight, 400, nullptr);
    Widget column = XtVaCreateManagedWidget("column", xmRowColumnWidgetClass, shell, nullptr);
    section = build_section(column, "Interface", record_callback);
    row = build_row();
  }
  void TearDown() override {
    if (shell) XtDestroyWidget(shell);  // frees the item records with their widgets
    gui_process(20);
  }
  void show() {
    XtManageChild(static_cast<SectionWidgets *>(section->widgets)->frame);
    XtManageChild(row);
    XtPopup(shell, XtGrabNone);
    gui_process(50);
  }

  Widget shell = nullptr;
  SetupItem *section = nullptr;
  Widget row = nullptr;
};

TEST_F(Builders, SectionFrameAndItemsOfOneRowOneBelowTheOther) {
  auto *w = static_cast<SectionWidgets *>(section->widgets);
  EXPECT_FALSE(XtIsManaged(w->frame)) << "the page manages the frame by its condition";
  EXPECT_EQ(item_of(w->help_button), section);
  EXPECT_EQ(XtParent(current_section_rowcolumn), w->frame);
  EXPECT_EQ(XtParent(row), current_section_rowcolumn);
  EXPECT_FALSE(XtIsManaged(row));
  EXPECT_EQ(row_anchor, row);
  XtCallCallbacks(w->help_button, XmNactivateCallback, nullptr);

  SetupItem *first = build_label_field("Baud rate", 12, record_callback);
  SetupItem *second = build_label_field("Port", 12, record_callback);
  auto *a = static_cast<FieldWidgets *>(first->widgets);
  auto *b = static_cast<FieldWidgets *>(second->widgets);
  show();
  // The second item hangs from the first label.
  EXPECT_EQ(top_widget(b->field), a->label);
  EXPECT_EQ(row_anchor, b->label);
  EXPECT_EQ(get<Position>(b->label, XmNy), get<Position>(a->label, XmNy) + 30 + 4);
  EXPECT_EQ(item_of(a->field), first);
  EXPECT_EQ(item_of(b->field), second);
  XtCallCallbacks(b->field, XmNactivateCallback, nullptr);
  XtCallCallbacks(b->field, XmNlosingFocusCallback, nullptr);
  EXPECT_EQ(fired, (std::vector<Widget>{w->help_button, b->field, b->field}));
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

  EXPECT_EQ(item_of(w->field), field);
  EXPECT_EQ(row_anchor, w->label);

  WidgetList entries = get<WidgetList>(w->pulldown, XmNchildren);
  ASSERT_EQ(get<Cardinal>(w->pulldown, XmNnumChildren), 3u);
  EXPECT_EQ(label_of(entries[2]), hints[2]);
  EXPECT_EQ(item_of(entries[2]), hint);
  XtCallCallbacks(entries[1], XmNactivateCallback, nullptr);
  EXPECT_EQ(fired, std::vector<Widget>{entries[1]});
}

TEST_F(Builders, OptionMenuKeepsAHiddenButtonForUnknownValues) {
  const Choice choices[] = {{"Serial", 0}, {"Network", 3}, {"None", 1}};
  SetupItem *item = build_option_menu("Interface", choices, 3, 10, record_callback);
  auto *w = static_cast<FieldWidgets *>(item->widgets);
  show();

  EXPECT_EQ(item_of(w->field), item);
  Widget pulldown = get<Widget>(w->field, XmNsubMenuId);
  for (int i = 0; i <= 3; ++i) {
    Widget button = XtNameToWidget(pulldown, ("button_" + std::to_string(i)).c_str());
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(item_of(button), item);
    EXPECT_EQ(label_of(button), i < 3 ? choices[i].text : "?????");
    EXPECT_EQ(XtIsManaged(button), i < 3) << i;
  }

  select_choice(w->field, 3, choices, 3);
  EXPECT_STREQ(XtName(get<Widget>(w->field, XmNmenuHistory)), "button_1");
  EXPECT_EQ(label_of(XmOptionButtonGadget(w->field)), "Network");
  select_choice(w->field, 7, choices, 3);
  EXPECT_STREQ(XtName(get<Widget>(w->field, XmNmenuHistory)), "button_3");
  EXPECT_EQ(label_of(XmOptionButtonGadget(w->field)), "?????");

  Widget network = XtNameToWidget(pulldown, "button_1");
  activate(network);
  EXPECT_EQ(fired, std::vector<Widget>{network});
}

TEST_F(Builders, ToggleShowsTheTextOfItsState) {
  SetupItem *item = build_toggle("Timezone", "Local Time", "UTC", 10, record_callback);
  auto *w = static_cast<FieldWidgets *>(item->widgets);
  show();
  EXPECT_EQ(item_of(w->field), item);

  show_toggle(w->field, 1);
  EXPECT_EQ(label_of(w->field), "UTC");
  EXPECT_TRUE(XmToggleButtonGetState(w->field));
  show_toggle(w->field, 0);
  EXPECT_EQ(label_of(w->field), "Local Time");
  EXPECT_FALSE(XmToggleButtonGetState(w->field));
  // An out-of-range flag still shows as plainly on, never as "indeterminate".
  show_toggle(w->field, 2);
  EXPECT_EQ(get<unsigned char>(w->field, XmNset), XmSET);
  EXPECT_EQ(label_of(w->field), "UTC");
}

TEST_F(Builders, ShowNumberUsesTheFormatOfTheFieldsOwnItem) {
  SetupItem *speed = build_label_field("Speed", 10, record_callback);
  SetupItem *gain = build_label_field("Gain", 10, record_callback);
  snprintf(speed->text, sizeof speed->text, "%s", "%.2f m/sec");
  snprintf(gain->text, sizeof gain->text, "%s", "%.1f %%");
  Widget fields[] = {static_cast<FieldWidgets *>(speed->widgets)->field,
                     static_cast<FieldWidgets *>(gain->widgets)->field};
  show_number(fields[0], 12.345);
  show_number(fields[1], 50);
  EXPECT_EQ(field_text(fields[0]), "12.35 m/sec");
  EXPECT_EQ(field_text(fields[1]), "50.0 %");
}

}  // namespace
