// Pixmaps and the busy cursor, read from the directory in ZAMO_BITMAPS or,
// when it is unset, from the installation's data directory.
#pragma once

#include <X11/Intrinsic.h>

#include <string>

enum PixmapUse {
  PixmapIcon = 1,   // the widget's icon pixmap (a shell)
  PixmapLabel = 2,  // a label's pixmap: variant 1 normal, 2 insensitive
};

// $ZAMO_BITMAPS (whole) followed directly by the file name; when it is
// unset, the file in the installation's data directory.
std::string bitmap_path(const char *file_name);

// "#rgb" from 16-bit components, each in hex without leading zeros.
std::string colour_text(unsigned short red, unsigned short green, unsigned short blue);

// Reads the file as an X bitmap, else as an XPM whose "none" colour symbol
// takes the widget's background; on failure the widget stays as it was.
void load_pixmap(int use, int variant, Widget w, const char *file_name);

// The cursor from a bitmap and its mask, or None when either file cannot be
// read.
Cursor make_busy_cursor(Display *display, const char *bitmap_name, const char *mask_name);
