// What the editor answers from memory, or asks for together, in place of
// the toolkit's questions to the X server must be what the server answers.
// Xlib's own functions are reached past the editor's with RTLD_NEXT.
// clang-format off
#include <gtest/gtest.h>  // first: Xlib defines None
// clang-format on
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <Xm/Form.h>
#include <Xm/TextF.h>
#include <dlfcn.h>

#include <cstring>
#include <string>
#include <tuple>

#include "motif/server_answers.h"
#include "motif/state.h"
#include "tests/support/gui.h"

namespace {

template <typename Function>
Function server(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// First in the program: before the toolkit's display opens and ends the
// start-up answers, on a connection of its own.
TEST(ServerAnswers, ExtensionsAtomsAndKeyboardAreTheServersAnswers) {
  Display *display = XOpenDisplay(nullptr);  // the editor's: asks at the open
  ASSERT_NE(display, nullptr) << "no X display (run under xvfb-run)";
  auto query_extension = server<Bool (*)(Display *, const char *, int *, int *, int *)>("XQueryExtension");
  for (const char *name : {"SHAPE", "RENDER", "XKEYBOARD", "XFree86-Bigfont", "NO-SUCH-EXTENSION"}) {
    int ours[3] = {}, theirs[3] = {};
    EXPECT_EQ(XQueryExtension(display, name, &ours[0], &ours[1], &ours[2]),
              query_extension(display, name, &theirs[0], &theirs[1], &theirs[2]))
        << name;
    EXPECT_EQ(std::memcmp(ours, theirs, sizeof ours), 0) << name;
  }
  auto intern = server<Atom (*)(Display *, const char *, Bool)>("XInternAtom");
  for (const char *name : {"SCREEN_RESOURCES", "XDCCC_LINEAR_RGB_CORRECTION", "WM_PROTOCOLS"})
    EXPECT_EQ(XInternAtom(display, name, True), intern(display, name, True)) << name;

  auto keyboard = server<KeySym *(*)(Display *, KeyCode, int, int *)>("XGetKeyboardMapping");
  auto modifiers = server<XModifierKeymap *(*)(Display *)>("XGetModifierMapping");
  int first = 0, last = 0;
  XDisplayKeycodes(display, &first, &last);
  // During start-up from memory, afterwards from the server: the same.
  for (bool start_up : {true, false}) {
    if (!start_up) finish_start_up_answers();
    for (int code = first; code <= last; ++code) {
      int per_ours = 0, per_theirs = 0;
      KeySym *ours = XGetKeyboardMapping(display, static_cast<KeyCode>(code), 1, &per_ours);
      KeySym *theirs = keyboard(display, static_cast<KeyCode>(code), 1, &per_theirs);
      ASSERT_TRUE(ours && theirs);
      ASSERT_EQ(per_ours, per_theirs);
      EXPECT_EQ(std::memcmp(ours, theirs, per_ours * sizeof(KeySym)), 0) << code;
      XFree(ours);
      XFree(theirs);
    }
    for (int twice = 0; twice < 2; ++twice) {
      XModifierKeymap *ours = XGetModifierMapping(display), *theirs = modifiers(display);
      ASSERT_EQ(ours->max_keypermod, theirs->max_keypermod);
      EXPECT_EQ(std::memcmp(ours->modifiermap, theirs->modifiermap, 8 * ours->max_keypermod), 0);
      XFreeModifiermap(ours);
      XFreeModifiermap(theirs);
    }
  }
  XCloseDisplay(display);
}

// The test programs' display, opened through the editor's XOpenDisplay
// (which asks at the open) and set up as the editor's.
struct Connection : ::testing::Test {
  Display *display = nullptr;
  void SetUp() override {
    REQUIRE_DISPLAY();
    display = main_display;
  }
};

}  // namespace

TEST_F(Connection, ColoursAllocatedAndQueriedAreTheServersAnswers) {
  auto alloc = server<Status (*)(Display *, Colormap, XColor *)>("XAllocColor");
  auto query = server<int (*)(Display *, Colormap, XColor *)>("XQueryColor");
  Colormap colormap = DefaultColormap(display, DefaultScreen(display));
  // Backgrounds of the main panel, grey, and colours Motif derives from them
  // (allocated together with their background, then taken from memory).
  const unsigned short colours[][3] = {{0xb18c, 0x934e, 0x7182}, {0xdcc2, 0xcf34, 0xbfd8},
                                       {0x5aa0, 0x4b44, 0x39db}, {0xc400, 0xc400, 0xc400},
                                       {0xe686, 0xe686, 0xe686}, {0, 0, 0},
                                       {0xffff, 0xffff, 0xffff}, {0x1234, 0x8000, 0xfedc}};
  for (int round = 0; round < 2; ++round)
    for (const auto &rgb : colours) {
      XColor ours{}, theirs{};
      ours.red = theirs.red = rgb[0];
      ours.green = theirs.green = rgb[1];
      ours.blue = theirs.blue = rgb[2];
      ASSERT_TRUE(XAllocColor(display, colormap, &ours));
      ASSERT_TRUE(alloc(display, colormap, &theirs));
      EXPECT_EQ(ours.pixel, theirs.pixel);
      EXPECT_EQ(std::make_tuple(ours.red, ours.green, ours.blue),
                std::make_tuple(theirs.red, theirs.green, theirs.blue));
      XColor queried{}, asked{};
      queried.pixel = asked.pixel = ours.pixel;
      XQueryColor(display, colormap, &queried);
      query(display, colormap, &asked);
      EXPECT_EQ(std::make_tuple(queried.red, queried.green, queried.blue),
                std::make_tuple(asked.red, asked.green, asked.blue));
    }
}

// A new window's first text field gets its input context without waiting
// for the server (once the input method, fonts and colours are there, as
// the editor has them after start), and the field still takes typed text;
// any other XSync still waits for the server to answer everything sent.
TEST_F(Connection, InputContextOfANewWindowWaitsForNoReply) {
  for (bool warm : {false, true}) {
    Widget form = XmCreateFormDialog(top_level, const_cast<char *>("answers"), nullptr, 0);
    XSync(display, False);
    ASSERT_EQ(LastKnownRequestProcessed(display), NextRequest(display) - 1);
    unsigned long answered = LastKnownRequestProcessed(display);
    Widget field = XtVaCreateManagedWidget("field", xmTextFieldWidgetClass, form, nullptr);
    if (warm) {
      EXPECT_EQ(LastKnownRequestProcessed(display), answered) << "a reply was waited for";
    }
    XtManageChild(form);
    XmTextFieldSetString(field, const_cast<char *>("typed"));
    XSync(display, False);
    EXPECT_EQ(LastKnownRequestProcessed(display), NextRequest(display) - 1);
    char *text = XmTextFieldGetString(field);
    EXPECT_STREQ(text, "typed");
    XtFree(text);
    XtDestroyWidget(XtParent(form));
  }
}
