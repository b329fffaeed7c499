#include "items/i18n.h"

#include "sitelib/installation.h"
#include "sitelib/sitelib.h"

void init_message_catalogue(void) {
  textdomain(SETUP_TEXT_DOMAIN);
  bindtextdomain(SETUP_TEXT_DOMAIN, catalogue_directory().c_str());
  util_nls_init();
  config_nls_init();
  user_nls_init();
}
