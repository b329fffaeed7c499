// Answers the toolkit's colour queries from memory where the answer cannot
// change. Motif asks the X server for the red, green and blue of the text
// colour every time it draws a string with an anti-aliased font, and once
// more for every shadow colour it derives: one round trip each, a hundred
// and more for opening a page, each a network delay on a remote display.
// In a colormap of a static visual class (true colour, static colour or
// static grey) no cell can ever change, so the server's first answer for a
// pixel is its answer for the rest of the run; any other colormap is asked
// every time, as before.
//
// Compiled into each program that links the editor (it replaces Xlib's
// XQueryColor, which the toolkit calls through the dynamic linker).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>

#include <map>
#include <tuple>

namespace {

using QueryColor = int (*)(Display *, Colormap, XColor *);

QueryColor xlib_query_color(void) {
  static QueryColor real = reinterpret_cast<QueryColor>(dlsym(RTLD_NEXT, "XQueryColor"));
  return real;
}

// Whether `colormap` is the default colormap of a screen whose default
// visual has read-only cells.
bool is_static_colormap(Display *display, Colormap colormap) {
  for (int screen = 0; screen < ScreenCount(display); ++screen) {
    if (DefaultColormap(display, screen) != colormap) continue;
    int visual_class = DefaultVisual(display, screen)->c_class;
    return visual_class == TrueColor || visual_class == StaticColor || visual_class == StaticGray;
  }
  return false;
}

using Key = std::tuple<Display *, Colormap, unsigned long>;
std::map<Key, XColor> answers;

}  // namespace

extern "C" int XQueryColor(Display *display, Colormap colormap, XColor *colour) {
  QueryColor real = xlib_query_color();
  if (!is_static_colormap(display, colormap)) return real(display, colormap, colour);
  Key key{display, colormap, colour->pixel};
  auto found = answers.find(key);
  if (found != answers.end()) {
    *colour = found->second;
    return 1;
  }
  int status = real(display, colormap, colour);
  answers[key] = *colour;
  return status;
}
