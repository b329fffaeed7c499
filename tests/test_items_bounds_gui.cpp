// The bounds error dialog: made with the first line, shown only after a
// finding, and turned into the repair report by its Repair button.
#include <gtest/gtest.h>
// clang-format off
#include <Xm/Xm.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/ScrolledW.h>
// clang-format on

#include <string>

#include "motif/bounds_dialog.h"
#include "motif/state.h"
#include "tests/support/gui.h"
#include "tests/support/test_page.h"
#include "tests/support/widgets.h"

namespace {

int list_entries(Widget dialog) {
  for (Widget child : children(dialog))
    if (XmIsScrolledWindow(child)) return get<int>(get<Widget>(child, XmNworkWindow), XmNitemCount);
  return 0;
}

TEST(BoundsDialog, CheckShowsFindingsAndRepairReplacesThem) {
  REQUIRE_DISPLAY();
  static const PageFunction pages[] = {test_page};
  set_repair_pages(pages, 1);
  test_page_reset();
  test_page(PassMeasure, nullptr, nullptr);
  error_found = 0;

  // A clean check makes the dialog with the heading, but does not show it.
  test_page(PassCheck, nullptr, nullptr);
  Widget dialog = bounds_dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(XtParent(XtParent(dialog)), top_level);
  EXPECT_EQ(label_of(dialog, XmNdialogTitle), "SETUP: Bounds Errors");
  EXPECT_EQ(list_entries(dialog), 4);
  show_bounds_if_errors();
  EXPECT_FALSE(XtIsManaged(dialog));

  testrec.lTrailer = 4;
  test_page(PassCheck, nullptr, nullptr);
  EXPECT_EQ(list_entries(dialog), 9);
  show_bounds_if_errors();
  EXPECT_TRUE(XtIsManaged(dialog));

  Widget repair = XmMessageBoxGetChild(dialog, XmDIALOG_OK_BUTTON);
  EXPECT_TRUE(XtIsManaged(repair));
  XmAnyCallbackStruct call = {XmCR_OK, nullptr};
  XtCallCallbacks(dialog, XmNokCallback, &call);
  EXPECT_EQ(testrec.lTrailer, 1);
  EXPECT_EQ(label_of(dialog, XmNdialogTitle), "SETUP: Repaired Bounds Errors");
  EXPECT_EQ(list_entries(dialog), 5);  // the heading and "Trailer flag:  1  was 4"
  EXPECT_FALSE(XtIsManaged(repair));
  EXPECT_TRUE(XtIsManaged(dialog));

  call.reason = XmCR_CANCEL;
  XtCallCallbacks(dialog, XmNcancelCallback, &call);
  EXPECT_FALSE(XtIsManaged(dialog));
  set_repair_pages(nullptr, 0);
}

}  // namespace
