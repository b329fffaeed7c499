// Page windows: one per page number, created on first open.
#pragma once

#include <X11/Intrinsic.h>

#include "items/item.h"

// Activate callback of the page buttons; client data is the page number.
void open_page(Widget w, XtPointer page_number, XtPointer call);
void open_page(int page_number);

// The window of a page, or nullptr before its first open.
PageWindow *page_window(int page_number);
