// Where the installation that holds the running program keeps its files.
// The directories below the installation prefix are fixed when the program
// is built; the prefix is not: it is found from the program's own path
// (<prefix>/bin/setup), so an installation under another prefix than the
// configured one, or moved as a whole, finds its own files.
#pragma once

#include <string>

// The prefix of the running program's installation; the configured prefix
// when the program's own path cannot be read.
std::string installation_prefix(void);

// <prefix>/share/setup: resource file, icon and cursor bitmaps, help/.
std::string installed_data_directory(void);
// <prefix>/share/locale: message catalogues.
std::string installed_catalogue_directory(void);
// <prefix>/etc/zamo/config, /etc/zamo/config for prefix /usr: the default
// setup directory.
std::string installed_config_directory(void);

// The message catalogues of the program and the library: $ZAMO_ROOT/bin/nls/
// when ZAMO_ROOT is set, else the installation's.
std::string catalogue_directory(void);

// Checks the message catalogues the program's domain and the library's
// would be read from for the user's language (LC_MESSAGES and LANGUAGE),
// in the directories they are bound to. When one is there but is not a
// regular file (a FIFO hangs the first translated text, a device floods
// it), no catalogue is used at all: every domain is bound to a directory
// that holds none, so the program runs in English. Returns a message
// naming the file then, else "". Call it after binding, before any text is
// translated.
std::string refuse_odd_catalogues(void);
