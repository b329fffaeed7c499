// Setup texts shown, listed and stored by their flags.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "items/text_display.h"
#include "items/walk.h"

namespace {

std::string shown(const char *field, int size, int flags) {
  char text[TEXT_SHOWN_MAX + 1];
  prepare_shown_text(field, size, flags, text);
  return text;
}

std::string listed(const char *field, int size, int flags) {
  char text[TEXT_SHOWN_MAX + 1];
  prepare_listed_text(field, size, flags, text);
  return text;
}

// A field that holds no terminator ends at its size, whatever follows it.
TEST(TextDisplay, NeverReadsPastTheField) {
  struct {
    char field[8];
    char after[8];
  } record;
  std::memset(record.field, 'A', sizeof record.field);
  std::memset(record.after, 'Z', sizeof record.after);
  for (int flags : {int(TextPlain), int(TextBlankPadded), int(TextUnderscored)}) {
    EXPECT_EQ(shown(record.field, 8, flags), "AAAAAAAA") << "flags " << flags;
    EXPECT_EQ(listed(record.field, 8, flags), "AAAAAAAA") << "flags " << flags;
  }
  char long_field[360];
  std::memset(long_field, 'x', sizeof long_field);
  EXPECT_EQ(shown(long_field, 360, TextPlain), std::string(360, 'x'));
  EXPECT_EQ(listed(long_field, 360, TextBlankPadded), std::string(360, 'x'));
}

// Storing the text as shown keeps what the display could not show.
TEST(TextDisplay, UneditedTextStoresNothing) {
  char long_field[360];
  std::memset(long_field, 'x', sizeof long_field - 1);
  long_field[359] = '\0';
  store_typed_text(shown(long_field, 360, TextPlain).c_str(), long_field, 360, TextPlain);
  EXPECT_EQ(std::strlen(long_field), 359u);

  char note[8] = "a\x01z";
  store_typed_text("a.z", note, 8, TextPlain);
  EXPECT_STREQ(note, "a\x01z");
  store_typed_text("a.y", note, 8, TextPlain);
  EXPECT_STREQ(note, "a.y");
}

TEST(TextDisplay, StoreCutsPadsAndKeepsMaskedValues) {
  char plain[6];
  store_typed_text("abcdefgh", plain, 6, TextPlain);
  EXPECT_STREQ(plain, "abcde");

  char padded[6];
  store_typed_text("ab", padded, 6, TextBlankPadded);
  EXPECT_EQ(std::string(padded, 6), "ab    ");
  EXPECT_EQ(shown(padded, 6, TextBlankPadded), "ab");

  char password[16] = "secret";
  store_typed_text("***************more", password, 16, TextPlain | TextMasked);
  EXPECT_STREQ(password, "secret");
  store_typed_text("new*pass", password, 16, TextPlain | TextMasked);
  EXPECT_STREQ(password, "new*pass");
  EXPECT_EQ(listed(password, 16, TextPlain | TextMasked), std::string(15, '*'));

  char code[4] = "AB";
  EXPECT_EQ(listed(code, 4, TextUnderscored), "AB");  // padding is for the field only
  store_typed_text("AB_", code, 4, TextUnderscored);
  EXPECT_STREQ(code, "AB");
  char empty[4] = "";
  EXPECT_EQ(shown(empty, 4, TextUnderscored), "");
}

}  // namespace
