// Message catalogue shorthands. Every text shown to the user passes through
// gettext when it is used; N_ marks a text for extraction only.
#pragma once

#include <libintl.h>

#define SETUP_TEXT_DOMAIN "quorbel-wr-common-"
#define _(text) gettext(text)
#define N_(text) (text)

// Catalogue domain and its directory ($ZAMO_ROOT/bin/nls/, else the
// installation's), and the site library's catalogues.
void init_message_catalogue(void);
