// The editor installed under a prefix of its own and run with no ZAMO_*
// variable: it finds its setup directory, resource file and bitmaps in its
// installation, and Home and End in its text fields go to the line's ends.
#include "tests/support/e2e.h"
// gtest (through e2e.h) before the X headers: their macros break it.
#include <X11/Xutil.h>

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
  // Home, a character, End and another character, after a click at its right end.
  click(box(field), box(field).width - 8, box(field).height / 2);
  xdotool("key Home");
  xdotool("type X");
  xdotool("key End");
  xdotool("type Y");
  click_centre(field, 3);
  EXPECT_EQ(primary(), "XalphaY") << "Home and End as in a plain Motif text field";
}

}  // namespace
}  // namespace e2e
