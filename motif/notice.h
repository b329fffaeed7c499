// A notice over a page window: an information dialog with only its OK
// button, made when needed and destroyed when it goes away.
#pragma once

#include <X11/Intrinsic.h>

// Shows `message` in a dialog titled `title` over the page window that holds
// `over`, unless *open already holds one. *open holds the dialog while it
// exists and is cleared however it goes: OK, its shell popped down, or the
// destruction of the window it belongs to. Texts are already translated.
void show_notice_once(Widget over, const char *title, const char *message, Widget *open);
