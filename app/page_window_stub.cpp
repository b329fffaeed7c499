// Placeholder until page windows arrive.
#include "app/page_window.h"

void open_page(int) {}
void open_page(Widget, XtPointer, XtPointer) {}
PageWindow *page_window(int) { return nullptr; }
