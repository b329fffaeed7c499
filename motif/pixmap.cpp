#include "motif/pixmap.h"

#include <X11/xpm.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>

#include "sitelib/installation.h"
#include "sitelib/sitelib.h"

std::string bitmap_path(const char *file_name) {
  const char *directory = std::getenv("ZAMO_BITMAPS");
  return (directory ? std::string(directory) : installed_data_directory() + "/") + file_name;
}

std::string colour_text(unsigned short red, unsigned short green, unsigned short blue) {
  char text[16];
  std::snprintf(text, sizeof text, "#%x%x%x", red, green, blue);
  return text;
}

namespace {

struct WidgetColours {
  Screen *screen;
  Colormap colormap;
  Pixel foreground;
  Pixel background;
};

WidgetColours widget_colours(Widget w) {
  WidgetColours colours;
  colours.screen = XtScreen(w);
  // Shells have no foreground resource; black stands in for it.
  colours.foreground = BlackPixelOfScreen(colours.screen);
  colours.background = WhitePixelOfScreen(colours.screen);
  colours.colormap = DefaultColormapOfScreen(colours.screen);
  XtVaGetValues(w, XmNforeground, &colours.foreground, XmNbackground, &colours.background, XmNcolormap,
                &colours.colormap, nullptr);
  return colours;
}

bool is_x_bitmap(Display *display, const std::string &path) {
  unsigned int width, height;
  int x_hot, y_hot;
  Pixmap bitmap = None;
  int status = XReadBitmapFile(display, DefaultRootWindow(display), path.c_str(), &width, &height, &bitmap,
                               &x_hot, &y_hot);
  if (status != BitmapSuccess) return false;
  XFreePixmap(display, bitmap);
  return true;
}

Pixmap read_xpm(Display *display, const std::string &path, const WidgetColours &colours) {
  XColor background;
  background.pixel = colours.background;
  XQueryColor(display, colours.colormap, &background);
  std::string none_colour = colour_text(background.red, background.green, background.blue);

  // "#%x%x%x" drops leading zeros, so a text shorter than four digits per
  // component names another colour (red 0xffff,0,0 would read as yellow
  // "#ffff00"); then libXpm is given the pixel itself.
  bool text_is_exact = none_colour.size() == 1 + 3 * 4;
  XpmColorSymbol symbol;
  symbol.name = const_cast<char *>("none");
  symbol.value = text_is_exact ? const_cast<char *>(none_colour.c_str()) : nullptr;
  symbol.pixel = colours.background;
  XpmAttributes attributes = {};
  attributes.valuemask = XpmColorSymbols | XpmColormap | XpmDepth;
  attributes.colorsymbols = &symbol;
  attributes.numsymbols = 1;
  attributes.colormap = colours.colormap;
  attributes.depth = DefaultDepthOfScreen(colours.screen);

  Pixmap pixmap = None, mask = None;
  int status = XpmReadFileToPixmap(display, RootWindowOfScreen(colours.screen),
                                   const_cast<char *>(path.c_str()), &pixmap, &mask, &attributes);
  if (mask != None) XFreePixmap(display, mask);
  XpmFreeAttributes(&attributes);
  return status == XpmSuccess ? pixmap : None;
}

void set_pixmap(int use, int variant, Widget w, Pixmap pixmap) {
  if (use == PixmapIcon) {
    XtVaSetValues(w, XmNiconPixmap, pixmap, nullptr);
  } else if (use == PixmapLabel) {
    const char *resource = variant == 2 ? XmNlabelInsensitivePixmap : XmNlabelPixmap;
    XtVaSetValues(w, resource, pixmap, XmNlabelType, XmPIXMAP, nullptr);
  }
}

}  // namespace

// Bitmaps are small; Xlib opens them itself, so a FIFO or device in their
// place is refused first.
const size_t kMaxBitmapBytes = 4u << 20;

void load_pixmap(int use, int variant, Widget w, const char *file_name) {
  std::string path = bitmap_path(file_name);
  if (!site_regular_file(path.c_str(), kMaxBitmapBytes)) return;
  Display *display = XtDisplay(w);
  WidgetColours colours = widget_colours(w);
  Pixmap pixmap = None;
  if (is_x_bitmap(display, path)) {
    pixmap =
        XmGetPixmap(colours.screen, const_cast<char *>(path.c_str()), colours.foreground, colours.background);
    if (pixmap == XmUNSPECIFIED_PIXMAP) pixmap = None;
  } else {
    pixmap = read_xpm(display, path, colours);
  }
  if (pixmap != None) set_pixmap(use, variant, w, pixmap);
}

namespace {

struct Bitmap {
  Pixmap pixmap = None;
  unsigned int width = 0, height = 0;
  int x_hot = -1, y_hot = -1;
};

Bitmap read_bitmap(Display *display, const char *file_name) {
  Bitmap bitmap;
  std::string path = bitmap_path(file_name);
  if (!site_regular_file(path.c_str(), kMaxBitmapBytes)) return bitmap;
  if (XReadBitmapFile(display, DefaultRootWindow(display), path.c_str(), &bitmap.width, &bitmap.height,
                      &bitmap.pixmap, &bitmap.x_hot, &bitmap.y_hot) != BitmapSuccess)
    bitmap.pixmap = None;
  return bitmap;
}

// A hot spot outside the bitmap (or none given) would make the server
// refuse the cursor; the centre is used instead.
int hot_spot(int hot, unsigned int size) { return hot >= 0 && hot < (int)size ? hot : (int)size / 2; }

}  // namespace

Cursor make_busy_cursor(Display *display, const char *bitmap_name, const char *mask_name) {
  int screen = DefaultScreen(display);
  XColor colours[2];
  colours[0].pixel = BlackPixel(display, screen);
  colours[1].pixel = WhitePixel(display, screen);
  XQueryColors(display, DefaultColormap(display, screen), colours, 2);

  Bitmap bitmap = read_bitmap(display, bitmap_name);
  Bitmap mask = read_bitmap(display, mask_name);
  Cursor cursor = None;
  // Bitmap and mask must have the same size, or the server refuses them.
  if (bitmap.pixmap != None && mask.pixmap != None && bitmap.width == mask.width &&
      bitmap.height == mask.height)
    cursor = XCreatePixmapCursor(display, bitmap.pixmap, mask.pixmap, &colours[0], &colours[1],
                                 hot_spot(bitmap.x_hot, bitmap.width), hot_spot(bitmap.y_hot, bitmap.height));
  if (bitmap.pixmap != None) XFreePixmap(display, bitmap.pixmap);
  if (mask.pixmap != None) XFreePixmap(display, mask.pixmap);
  return cursor;
}
