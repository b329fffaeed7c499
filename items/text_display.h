// Text items: how a setup text is shown in its field, written to the
// listing and stored from typed text, by the item's text flags
// (TextPlain, TextBlankPadded, TextMasked, TextUnderscored of items/walk.h).
// None of these reads past the setup field's `size` bytes, so a field that
// holds no terminator is safe.
#pragma once

// Shown and listed texts hold at most this many characters: more than any
// setup text has, so a long field (360 bytes) is shown whole and editing it
// never drops its tail.
enum { TEXT_SHOWN_MAX = 1023 };

// The text shown in the item's text field (`shown` holds TEXT_SHOWN_MAX + 1
// bytes): masked as size - 1 asterisks, underscore-padded to size - 1
// characters, or the text with non-printable characters as ".".
void prepare_shown_text(const char *field, int size, int flags, char *shown);

// The text written to the listing: as shown, but without underscores.
void prepare_listed_text(const char *field, int size, int flags, char *listed);

// Stores typed text into the setup field. Text equal to the shown text
// stores nothing (the field was left unedited), and a masked field keeps its
// value while the typed text still begins with the size - 1 asterisks.
void store_typed_text(const char *typed, char *field, int size, int flags);
// Stores the text even when it equals the shown text (a chosen hint is
// always an edit); the masked rule still holds.
void store_text(const char *typed, char *field, int size, int flags);
