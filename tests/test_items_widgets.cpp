// The item builders against real Motif widgets: names, sizes, attachments
// and the item records every firing widget carries.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Form.h>
#include <Xm/RowColumn.h>
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

}  // namespace
