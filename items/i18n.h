// Message catalogue shorthands. Every text shown to the user passes through
// gettext when it is used; N_ marks a text for extraction only.
#pragma once

#include <libintl.h>

#include <cstring>
#include <string>

#define SETUP_TEXT_DOMAIN "quorbel-wr-common-"
#define _(text) gettext(text)
#define N_(text) (text)
// Marks a text with a context that tells it apart from the same text
// elsewhere (a menu entry's mnemonic letter); in_context translates it.
#define NC_(context, text) (context "\004" text)

// The translation of a text marked with NC_, else the text itself.
inline const char *in_context(const char *marked) {
  const char *translated = gettext(marked);
  if (translated != marked) return translated;
  const char *text = std::strchr(marked, '\004');
  return text ? text + 1 : marked;
}

// Catalogue domain and its directory ($ZAMO_ROOT/bin/nls/, else the
// installation's), and the site library's catalogues; a catalogue that is
// not a regular file is refused with a message naming the program.
void init_message_catalogue(const char *program);

// printf into a string, for a translated format: its words may come in
// another order than the English text's.
std::string format_text(const char *format, ...) __attribute__((format(printf, 1, 2)));
