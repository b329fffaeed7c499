// A message catalogue of the test's own, in effect while the object lives.
#pragma once

#include <string>
#include <vector>

class MessageCatalogue {
 public:
  // `entries` are .po lines (msgid and msgstr pairs) of language `language`.
  MessageCatalogue(const char *language, const std::string &entries);
  ~MessageCatalogue();
  bool ok = false;  // compiled and bound

 private:
  std::string dir_, locale_, domain_;
};

// `text` as a .po string, quotes and newlines escaped.
std::string po_string(const std::string &text);

// "" (English) and every language the build compiles catalogues for.
std::vector<std::string> built_languages(void);
// The build's catalogues in `language` ("": none), bound as the programs
// bind them, the locale taken from the environment.
void speak(const std::string &language);
