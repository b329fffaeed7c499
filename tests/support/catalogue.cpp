#include "tests/support/catalogue.h"

#include <libintl.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "items/i18n.h"
#include "tests/support/files.h"

MessageCatalogue::MessageCatalogue(const char *language, const std::string &entries) {
  char pattern[] = "/tmp/setup-nls-XXXXXX";
  dir_ = mkdtemp(pattern);
  const std::string messages = dir_ + "/" + language + "/LC_MESSAGES";
  std::filesystem::create_directories(messages);
  write_file(dir_ + "/messages.po",
             "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\nLanguage: " +
                 std::string(language) + "\\n\"\n" + entries);
  ok = std::system(
           ("msgfmt -o " + messages + "/" SETUP_TEXT_DOMAIN ".mo " + dir_ + "/messages.po").c_str()) == 0;
  locale_ = setlocale(LC_MESSAGES, nullptr);
  domain_ = textdomain(nullptr);
  ok = ok && setlocale(LC_MESSAGES, "C.UTF-8");
  setenv("LANGUAGE", language, 1);
  textdomain(SETUP_TEXT_DOMAIN);
  bindtextdomain(SETUP_TEXT_DOMAIN, dir_.c_str());
}

MessageCatalogue::~MessageCatalogue() {
  unsetenv("LANGUAGE");
  setlocale(LC_MESSAGES, locale_.c_str());
  textdomain(domain_.c_str());
  std::filesystem::remove_all(dir_);
}

std::string po_string(const std::string &text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '\n' ? "\\n" : c == '"' ? "\\\"" : std::string(1, c);
  return quoted + "\"";
}
