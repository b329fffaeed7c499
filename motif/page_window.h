// Page windows: one per page number, created on first open.
#pragma once

#include <X11/Intrinsic.h>

#include "motif/front_end.h"
#include "pages/pages.h"

// Activate callback of the page buttons; client data is the page number.
void open_page(Widget w, XtPointer page_number, XtPointer call);
void open_page(int page_number);

// The window of a page, or nullptr before its first open.
PageWindow *page_window(int page_number);

// Work procedure armed at start: readies the toolkit for the first page
// window (colours, fonts, input method, drag-and-drop tables), so that
// opening a page asks the X server as little as possible. Removes itself.
Boolean prepare_page_windows(XtPointer unused);

// Destroys the page's window, if it has one; the next open builds it anew.
void destroy_page(int page_number);

// A new, unmanaged page window with its menus (List, Factory and Close act
// on `page_number`); a width or height below 1 means 600 x 550. The page
// function fills it in PassBuild.
PageWindow *create_page_window(int page_number, int width, int height);

// Where the page windows find a page's function and width: page_info,
// unless a test or the benchmark puts pages of its own in its place.
extern const PageInfo &(*page_window_lookup)(int page_number);
