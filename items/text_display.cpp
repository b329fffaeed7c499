#include "items/text_display.h"

#include <cctype>
#include <cstring>

#include "items/walk.h"
#include "sitelib/sitelib.h"

namespace {

int shown_length(int size) {
  if (size < 1) return 0;
  return size - 1 < TEXT_SHOWN_MAX ? size - 1 : TEXT_SHOWN_MAX;
}

void fill(char *target, char c, int count) {
  std::memset(target, c, count);
  target[count] = '\0';
}

// Copies the field's text up to its terminator, but never more than the
// field's size nor TEXT_SHOWN_MAX characters.
void copy_bounded(const char *field, int size, char *target) {
  size_t limit = size < TEXT_SHOWN_MAX ? (size > 0 ? size : 0) : TEXT_SHOWN_MAX;
  size_t length = strnlen(field, limit);
  std::memcpy(target, field, length);
  target[length] = '\0';
}

void replace_unprintable(char *text) {
  for (; *text; ++text)
    if (!std::isprint(static_cast<unsigned char>(*text))) *text = '.';
}

// The text with padding removed and unprintable characters replaced; shared
// by show and list.
void prepare_readable(const char *field, int size, int flags, char *target) {
  if (flags & TextBlankPadded)
    nullify_ncpy(target, field, size < TEXT_SHOWN_MAX ? size : TEXT_SHOWN_MAX);
  else
    copy_bounded(field, size, target);
  replace_unprintable(target);
}

}  // namespace

void prepare_shown_text(const char *field, int size, int flags, char *shown) {
  if (flags & TextMasked) {
    fill(shown, '*', shown_length(size));
  } else if (flags & TextUnderscored) {
    copy_bounded(field, size, shown);
    int length = static_cast<int>(std::strlen(shown));
    int padded = shown_length(size);
    if (length > 0 && length < padded) fill(shown + length, '_', padded - length);
  } else {
    prepare_readable(field, size, flags, shown);
  }
}

void prepare_listed_text(const char *field, int size, int flags, char *listed) {
  if (flags & TextMasked)
    fill(listed, '*', shown_length(size));
  else
    prepare_readable(field, size, flags, listed);
}

void store_typed_text(const char *typed, char *field, int size, int flags) {
  if (size < 1) return;
  // The text as shown is no edit: storing it would cut a long text, turn
  // unprintable characters into dots or store the display's underscores.
  char shown[TEXT_SHOWN_MAX + 1];
  prepare_shown_text(field, size, flags, shown);
  if (std::strcmp(typed, shown) == 0) return;
  store_text(typed, field, size, flags);
}

void store_text(const char *typed, char *field, int size, int flags) {
  if (size < 1) return;
  if (flags & TextMasked) {
    size_t stars = size - 1;
    if (std::strspn(typed, "*") >= stars) return;
  }
  if (flags & TextBlankPadded) {
    spacify_ncpy(field, typed, size);
    return;
  }
  std::strncpy(field, typed, size);
  field[size - 1] = '\0';
}
