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

std::vector<std::string> built_languages(void) {
  std::vector<std::string> languages = {""};
  for (const auto &entry : std::filesystem::directory_iterator(SETUP_BINARY_DIR "/locale"))
    languages.push_back(entry.path().filename());
  return languages;
}

void speak(const std::string &language) {
  setenv("LANGUAGE", language.c_str(), 1);
  setenv("LC_ALL", language.empty() ? "C" : "C.UTF-8", 1);
  setlocale(LC_ALL, "");
  textdomain(SETUP_TEXT_DOMAIN);
  for (const char *domain : {SETUP_TEXT_DOMAIN, "quorbel-wr-util"})
    bindtextdomain(domain, SETUP_BINARY_DIR "/locale");
}
