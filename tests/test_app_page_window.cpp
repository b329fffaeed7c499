// Page windows with small pages of the test's own: created once, raised
// afterwards, the File menu's Factory and Close, the output device page
// rebuilt after its device count changed, the sections following the
// window's width.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/RowColumn.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "motif/builders.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "pages/setup_copies.h"
#include "tests/support/gui.h"
#include "tests/support/test_page.h"
#include "tests/support/widgets.h"

namespace {

int builds[PAGE_COUNT];
bool destroyed[PAGE_COUNT];

void note_destroyed(Widget, XtPointer page, XtPointer) { destroyed[reinterpret_cast<intptr_t>(page)] = true; }
void ignore_callback(Widget, XtPointer, XtPointer) {}

// A page of one section with one field, counting its builds.
template <int Page>
void small_page(uint32_t pass, SetupItem *, XtPointer arg) {
  if (pass != PassBuild) return;
  ++builds[Page];
  auto *window = static_cast<PageWindow *>(arg);
  set_page_title(window, "Small Page", "small_page_topic");
  SetupItem *section = build_section(window->row_column, "Section", ignore_callback);
  XtManageChild(static_cast<SectionWidgets *>(section->widgets)->frame);
  XtManageChild(build_row());
  build_label_field("Value", 10, ignore_callback);
  XtAddCallback(window->form_dialog, XmNdestroyCallback, note_destroyed, reinterpret_cast<XtPointer>(Page));
}

// The editor's page rows with pages of the test in their place.
const PageInfo &test_page_info(int page_number) {
  static const PageFunction functions[PAGE_COUNT] = {small_page<0>, small_page<1>, nullptr, small_page<3>,
                                                     test_page,     small_page<5>, nullptr};
  static PageInfo rows[PAGE_COUNT];
  rows[page_number] = page_info(page_number);
  rows[page_number].function = functions[page_number];
  return rows[page_number];
}

Widget menu_entry(int page, const char *name) { return gui_find(page_window(page)->menu_bar, name); }

class PageWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    motif_toolkit = 1;  // as start-up finds it with Motif
    page_window_lookup = test_page_info;
    std::memset(builds, 0, sizeof builds);
    std::memset(destroyed, 0, sizeof destroyed);
  }
  void TearDown() override {
    for (int page = 0; page < PAGE_COUNT; ++page)
      if (PageWindow *w = page_window(page)) XtUnmanageChild(w->form_dialog);
    gui_process(20);
  }
};

TEST_F(PageWindows, BuiltOnceThenShownAndRaisedRebuiltAfterTheDeviceCountChangedWithHelpTopicAndWidth) {
  open_page(3);
  PageWindow *window = page_window(3);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(builds[3], 1);
  EXPECT_TRUE(XtIsManaged(window->form_dialog));

  activate(menu_entry(3, "Close"));
  EXPECT_FALSE(XtIsManaged(window->form_dialog));
  open_page(nullptr, reinterpret_cast<XtPointer>(3), nullptr);
  EXPECT_EQ(page_window(3), window);
  EXPECT_EQ(builds[3], 1);
  EXPECT_TRUE(XtIsManaged(window->form_dialog));

  // Raised: the window stands above the one opened before it (other test
  // programs on the same server may map theirs above both meanwhile).
  open_page(1);
  gui_process(50);
  open_page(3);
  gui_process(50);
  Window root, parent, *stack = nullptr;
  unsigned count = 0;
  XQueryTree(main_display, DefaultRootWindow(main_display), &root, &parent, &stack, &count);
  auto level = [&](int page) {
    Window w = XtWindow(XtParent(page_window(page)->form_dialog));
    return std::find(stack, stack + count, w) - stack;
  };
  EXPECT_LT(level(3), count);
  EXPECT_GT(level(3), level(1));
  XFree(stack);

  open_page(2);  // a page without a function
  EXPECT_EQ(page_window(2), nullptr);
  open_page(PAGE_COUNT);
  open_page(-1);

  // The output device page is rebuilt after its count changed.
  zamo.device.idevcount = 2;
  open_page(5);
  PageWindow *first = page_window(5);
  open_page(5);
  ASSERT_EQ(builds[5], 1);
  EXPECT_EQ(page_window(5), first);

  zamo.device.idevcount = 3;
  const Window old_shell = XtWindow(XtParent(first->form_dialog));
  open_page(5);
  EXPECT_EQ(builds[5], 2);
  // Only the old shell tells of its end: its parts, which the toolkit would
  // drop unread, keep the X server from writing a notice per window.
  XSync(main_display, False);
  XEvent notice;
  int parts_told = 0;
  while (XCheckTypedEvent(main_display, DestroyNotify, &notice))
    parts_told += notice.xdestroywindow.window != old_shell;
  EXPECT_EQ(parts_told, 0);
  gui_process(30);
  EXPECT_TRUE(destroyed[5]) << "the earlier window is not left behind";
  EXPECT_TRUE(XtIsManaged(page_window(5)->form_dialog));
  open_page(5);
  EXPECT_EQ(builds[5], 2);

  // The help topic and the width.
  open_page(1);
  window = page_window(1);
  ASSERT_NE(window, nullptr);
  gui_process(50);
  EXPECT_STREQ(static_cast<const char *>(get<XtPointer>(window->menu_bar, XmNuserData)), "small_page_topic");
  // "On Menu..." finds the topic on its third ancestor.
  Widget on_menu = menu_entry(1, "On Menu...");
  EXPECT_EQ(XtParent(XtParent(XtParent(on_menu))), window->menu_bar);

  // The sections follow the visible width: no sideways scroll bar while
  // they fit, one when the window is narrower than they need. The window
  // is resized as a window manager would: Xt's own resizing swallows the
  // notification.
  Widget clip = get<Widget>(window->scrolled_window, XmNclipWindow);
  auto overhang = [&](int width) {  // the row column's width beyond the clip window's
    if (width) XResizeWindow(main_display, XtWindow(XtParent(window->form_dialog)), width, 550);
    gui_process(100);
    return get<Dimension>(window->row_column, XmNwidth) - get<Dimension>(clip, XmNwidth);
  };
  for (int width : {0, 800, 60, 620}) {
    const int over = overhang(width);
    EXPECT_TRUE(width == 60 ? over > 0 : over == 0) << width << ": " << over;
    EXPECT_EQ(scrolls_sideways(window->scrolled_window), width == 60)
        << width << ": only a narrow window scrolls";
  }
}

// Factory resets the processor setups only, keeps the antenna placement and
// the real-time display, and rebuilds the window after a timeout.
TEST_F(PageWindows, FactoryResetsTheProcessorSetupsAlone) {
  open_page(1);
  std::memset(&zel, 0x11, sizeof zel);
  std::memset(&zel_limits[COPY_FACTORY], 0x5a, sizeof zel);
  auxset.zel_ilat = 123456;
  auxset.zel_ilon = -654321;
  int built = builds[1];
  activate(menu_entry(1, "Factory"));
  EXPECT_EQ(std::memcmp(&zel, &zel_limits[COPY_FACTORY], sizeof zel), 0);
  EXPECT_EQ(auxset.zel_ilat, 123456);
  EXPECT_EQ(auxset.zel_ilon, -654321);
  EXPECT_EQ(page_window(1), nullptr);
  gui_process(30);
  EXPECT_TRUE(destroyed[1]);
  EXPECT_EQ(builds[1], built) << "rebuilt only after the timeout";
  gui_process(200);
  ASSERT_NE(page_window(1), nullptr);
  EXPECT_EQ(builds[1], built + 1);
  EXPECT_TRUE(XtIsManaged(page_window(1)->form_dialog));

  open_page(0);
  std::memset(&dsp, 0x22, sizeof dsp);
  std::memset(&dsp_limits[COPY_FACTORY], 0x33, sizeof dsp);
  std::memset(&Rtdisp, 0x44, sizeof Rtdisp);
  rtdisp_setup before = Rtdisp;
  activate(menu_entry(0, "Factory"));
  gui_process(200);
  EXPECT_EQ(std::memcmp(&dsp, &dsp_limits[COPY_FACTORY], sizeof dsp), 0);
  EXPECT_EQ(std::memcmp(&Rtdisp, &before, sizeof Rtdisp), 0);

  open_page(3);
  PageWindow *window = page_window(3);
  std::memset(&zamo, 0x66, sizeof zamo);
  zamo_setup zamo_before = zamo;
  testing::internal::CaptureStdout();
  activate(menu_entry(3, "Factory"));
  gui_process(200);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not implemented yet!\n");
  EXPECT_EQ(std::memcmp(&zamo, &zamo_before, sizeof zamo), 0);
  EXPECT_EQ(page_window(3), window);
  EXPECT_FALSE(destroyed[3]);
}

TEST_F(PageWindows, ClosedWindowKeepsItsEditsForTheListing) {
  test_page_reset();
  test_page(PassMeasure, nullptr, nullptr);
  open_page(4);
  Widget note = PageView{page_window(4)}.item("Note");
  ASSERT_NE(note, nullptr);
  type_into(note, "edited before closing");
  activate(menu_entry(4, "Close"));
  std::string text = page_listing(test_page);
  EXPECT_NE(text.find(": edited before closing\n"), std::string::npos) << text;

  open_page(4);
  EXPECT_EQ(field_text(note), "edited before closing");
}

}  // namespace
