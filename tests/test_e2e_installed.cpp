// The editor installed under a prefix of its own and run with no ZAMO_*
// variable: it finds its setup directory, resource file and bitmaps in its
// installation, and its text fields edit as a plain Motif text field.
#include "tests/support/e2e.h"
// gtest (through e2e.h) before the X headers: their macros break it.
#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/Xutil.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>

#include "motif/state.h"
#include "tests/support/gui.h"

namespace e2e {
namespace {

const char *const kVariables[] = {"ZAMO_CONFIG",          "ZAMO_ROOT",     "ZAMO_BITMAPS",
                                  "ZAMO_APP_DEFAULTS",    "ZAMO_LISTINGS", "ZAMO_HELP_VIEWER",
                                  "ZAMO_LIBEXEC_SERVICES"};

class InstalledEndToEnd : public Test {
 protected:
  void SetUp() override {
    Test::SetUp();
    prefix = site + "/prefix";
    ASSERT_EQ(run("cmake --install " SETUP_BINARY_DIR " --prefix " + prefix + " >/dev/null"), 0);
    for (const char *variable : kVariables) unsetenv(variable);
  }

  std::string prefix;
};

// The pixel in the middle of the right end of a window, as the screen shows it.
unsigned long pixel_near_right_end(Window w) {
  Box b = box(w);
  XImage *image = XGetImage(display(), w, b.width - 8, b.height / 2, 1, 1, AllPlanes, ZPixmap);
  if (!image) return ~0ul;
  unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

// Home, a character, End and another character, in the field the pointer is
// over, after a click at its right end.
void home_and_end(const Box &field) {
  click(field, field.width - 8, field.height / 2);
  xdotool("key Home");
  xdotool("type X");
  xdotool("key End");
  xdotool("type Y");
}

// What the same keys do to a plain Motif text field on the same display.
std::string plain_field_after_home_and_end(const char *text) {
  if (!gui_init()) return "no display";
  Widget shell = XtVaAppCreateShell("plain", "Plain", topLevelShellWidgetClass, main_display, XmNx, 700, XmNy,
                                    700, nullptr);
  Widget field = XtVaCreateManagedWidget("plain", xmTextFieldWidgetClass, shell, XmNvalue, text, nullptr);
  XtRealizeWidget(shell);
  gui_process(500);
  home_and_end(box(XtWindow(field)));
  gui_process(300);
  char *typed = XmTextFieldGetString(field);
  std::string result = typed;
  XtFree(typed);
  XtDestroyWidget(shell);
  gui_process(100);
  return result;
}

TEST_F(InstalledEndToEnd, RunsFromItsInstallationAlone) {
  // Without a directory, setup-site writes the site where the editor looks.
  ASSERT_EQ(run(prefix + "/bin/setup-site init >/dev/null"), 0);
  const std::string config = prefix + "/etc/zamo/config";
  ASSERT_NE(read_file(config + "/setup_dsp.conf"), "");
  ASSERT_EQ(run("sed -i 's/^dsp.sMajorModeNames\\[0\\] = .*/dsp.sMajorModeNames[0] = \"alpha\"/' " + config +
                "/setup_dsp.conf"),
            0);

  program = prefix + "/bin/setup";
  start_editor();
  // The icon comes from the installed bitmaps.
  XWMHints *hints = XGetWMHints(display(), main_window);
  ASSERT_NE(hints, nullptr);
  EXPECT_TRUE(hints->flags & IconPixmapHint);
  XFree(hints);

  Window page = open_page(false, 0, 260);
  ASSERT_NE(page, 0u);
  Window field = field_showing(page, 293, "alpha");
  ASSERT_NE(field, 0u) << "the field of the major mode name";
  // The installed resource file makes text fields white.
  EXPECT_EQ(pixel_near_right_end(field), WhitePixel(display(), DefaultScreen(display())));

  pause_ms(500);  // past the double-click time
  home_and_end(box(field));
  click_centre(field, 3);
  const std::string edited = primary();
  EXPECT_EQ(edited, "XalphaY");
  EXPECT_EQ(edited, plain_field_after_home_and_end("alpha"));
}

}  // namespace
}  // namespace e2e
