// Message catalogue shorthands. Every text shown to the user passes through
// gettext when it is used; N_ marks a text for extraction only.
#pragma once

#include <libintl.h>

#define SETUP_TEXT_DOMAIN "quorbel-wr-common-"
#define _(text) gettext(text)
#define N_(text) (text)

// Binds the program's catalogue and the site library's, as every front end
// does at start (after setlocale).
void bind_message_catalogues(void);
