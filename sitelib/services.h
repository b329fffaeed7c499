// Inner workings shared by the library's process, help and text services.
// Not part of the library's public header.
#pragma once

#include <libintl.h>

// Catalogue domains of the library's own texts.
#define SITE_UTIL_DOMAIN "quorbel-wr-util"
#define SITE_CONFIG_DOMAIN "quorbel-wr-config"
#define SITE_USER_DOMAIN "quorbel-wr-user"
#define SITE_TEXT(text) dgettext(SITE_UTIL_DOMAIN, text)
// Marks a text for the catalogue that is looked up later with SITE_TEXT.
#define SITE_TEXT_MARK(text) (text)

// Help viewer statuses returned by helpStart.
enum {
  SITE_HELP_BAD_MODE = 0x6B0050,     // a mode other than 1
  SITE_HELP_NO_PAGE = 0x6B0051,      // neither the topic nor index.html exists
  SITE_HELP_NOT_STARTED = 0x6B0052,  // fork or exec of the viewer failed
};
