// setup-help: writes the help pages that the editor's Help menus and
// section Help buttons open, one HTML page per topic and an index, from the
// page functions themselves (the visit pass, no widgets) and the limits of
// a factory site, so that the help never disagrees with the program.
//
//   setup-help TEXTS OUTDIR [LANGUAGE LOCALEDIR]
//
// With LANGUAGE (a language of the catalogues in LOCALEDIR, "de") the pages
// are written in that language: the pages' own texts, labels, titles and
// conditions, and the words of the pages around them, come from the
// catalogue; TEXTS then holds the introductions in that language.
//
// TEXTS holds the hand-written introductions: a line "== topic" starts the
// text of a topic; paragraphs are separated by blank lines, and a paragraph
// that starts with '<' is taken as HTML as it stands.
#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "session/index.h"
#include "session/session.h"
#include "store/areas.h"
#include "store/store.h"

namespace {

const char *const kOverviewTopic = "setup_overview";
std::string page_language = "en";

// A catalogue text with each "%s" in turn replaced by the next of `values`.
std::string fill(const char *format, std::initializer_list<std::string> values) {
  std::string text = format;
  size_t at = 0;
  for (const std::string &value : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    at += value.size();
  }
  return text;
}

std::string escape(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string trim(const std::string &text) {
  size_t first = text.find_first_not_of(" \t\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\n") - first + 1);
}

// ---- Hand-written texts ----------------------------------------------------

using Texts = std::map<std::string, std::string>;  // topic -> HTML

std::string paragraphs_to_html(const std::string &text) {
  std::string html, paragraph;
  std::istringstream lines(text + "\n\n");
  for (std::string line; std::getline(lines, line);) {
    if (!trim(line).empty()) {
      paragraph += line + "\n";
      continue;
    }
    paragraph = trim(paragraph);
    if (paragraph.empty()) continue;
    html += paragraph[0] == '<' ? paragraph + "\n" : "<p>" + paragraph + "</p>\n";
    paragraph.clear();
  }
  return html;
}

bool read_texts(const char *path, Texts &texts) {
  std::ifstream in(path);
  if (!in) return false;
  std::string topic, body;
  auto flush = [&] {
    if (!topic.empty()) texts[topic] = paragraphs_to_html(body);
    body.clear();
  };
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("== ", 0) == 0) {
      flush();
      topic = trim(line.substr(3));
    } else if (line.rfind("#", 0) != 0) {
      body += line + "\n";
    }
  }
  flush();
  return true;
}

// ---- What each item says ---------------------------------------------------

// The item's limit as the index gives it (index_limit), in the item's format.
std::string limit_text(const SiteItem &item, int copy, int device_type) {
  return shown_value(item, index_limit(*item.field, copy, device_type));
}

std::string factory_text(const SiteItem &item, int device_type = -1) {
  if (item.kind != KindText) return limit_text(item, COPY_FACTORY, device_type);
  std::string text = index_limit_bytes(*item.field, COPY_FACTORY, device_type);
  text = trim(text.substr(0, text.find('\0')));
  return text.empty() ? _("(empty)") : text;
}

std::string range_text(const SiteItem &item, int device_type = -1) {
  switch (item.kind) {
    case KindNumber:
      return fill(_("from %s to %s"),
                  {limit_text(item, COPY_MIN, device_type), limit_text(item, COPY_MAX, device_type)});
    case KindChoice: {
      std::string text;
      for (const SiteChoice &c : item.choices) text += (text.empty() ? "" : ", ") + c.text;
      return fill(_("one of %s"), {text});
    }
    case KindToggle:
      return fill(_("%s or %s"), {item.on_text, item.off_text});
    default:
      return fill(_("up to %s characters"), {std::to_string(item.field->size - 1)});
  }
}

std::string unit_text(const SiteItem &item) {
  if (item.kind == KindNumber) {
    std::string unit = unit_of(item.format);
    return unit.empty() ? _("a whole number") : unit;
  }
  if (item.kind == KindText) return _("text");
  return item.kind == KindChoice ? _("a choice") : _("a switch");
}

// The path the setup file spells; the editor's own stand-ins name the
// stored field they stand for.
std::string path_text(const SiteItem &item) {
  const SiteField &f = *item.field;
  if (f.area >= 0) return f.path;
  if (const SiteField *stored = field_at(stored_field_of(f.address())))
    return fill(_("%s (edited as %s)"), {stored->path, f.path});
  return f.path;
}

std::string when_text(const SiteItem &item) {
  if (item.section_when.empty() && item.row_when.empty()) return _("always");
  if (item.row_when.empty()) return item.section_when;
  if (item.section_when.empty()) return item.row_when;
  return fill(_("%s; and %s"), {item.section_when, item.row_when});
}

std::string heading_of(const SiteItem &item) {
  if (!item.label.empty()) return item.label;
  return item.kind == KindToggle ? item.on_text + " / " + item.off_text : _("(unlabelled)");
}

std::string anchor_of(const SiteItem &item) {
  char anchor[32];
  std::snprintf(anchor, sizeof anchor, "p%d-%08x", item.page, item.id);
  return anchor;
}

// Settings whose limits follow another value (an output device's type):
// the range and factory value under each value of the switch.
struct Variant {
  std::string when;  // e.g. "Device type Printer"
  std::string range, factory;
};
using Variants = std::map<std::string, std::vector<Variant>>;  // anchor -> variants

// Every output device setting under each device type, its limits asked of
// the index for that type; kept where they differ between types.
Variants device_type_variants(void) {
  Variants variants;
  const std::vector<SiteItem> items = page_items(PAGE_OUTPUT_DEVICE);
  const SiteItem *type_item = nullptr;
  for (const SiteItem &item : items)
    if (item.field && item.field->address() == &zamo.device.def[0].idev_type) type_item = &item;
  if (!type_item) return variants;
  for (const SiteItem &item : items) {
    if (item.label == type_item->label) continue;  // the type itself follows no type
    std::vector<Variant> list;
    bool differ = false;
    for (const SiteChoice &type : type_item->choices) {
      const int device_type = static_cast<int>(type.value);
      list.push_back({type_item->label + " " + type.text, range_text(item, device_type),
                      factory_text(item, device_type)});
      differ = differ || list.back().range != list[0].range || list.back().factory != list[0].factory;
    }
    if (differ) variants[anchor_of(item)] = list;
  }
  return variants;
}

// ---- Writing ---------------------------------------------------------------

void page_start(std::ostream &out, const std::string &title) {
  out << "<!DOCTYPE html>\n<html lang=\"" << page_language << "\">\n<head>\n<meta charset=\"utf-8\">\n"
      << "<title>" << escape(title) << "</title>\n"
      << "<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n"
      << "<p class=\"nav\"><a href=\"index.html\">" << _("Index") << "</a> | <a href=\"" << kOverviewTopic
      << ".html\">" << _("Overview") << "</a></p>\n"
      << "<h1>" << escape(title) << "</h1>\n";
}

void page_end(std::ostream &out) { out << "</body>\n</html>\n"; }

void write_setting(std::ostream &out, const SiteItem &item, const Variants &variants) {
  out << "<div class=\"setting\" id=\"" << anchor_of(item) << "\">\n"
      << "<h3>" << escape(heading_of(item)) << "</h3>\n<dl>\n"
      << "<dt>" << _("In the setup file") << "</dt><dd class=\"path\"><code>" << escape(path_text(item))
      << "</code></dd>\n"
      << "<dt>" << _("Value") << "</dt><dd class=\"unit\">" << escape(unit_text(item)) << "</dd>\n";
  auto found = variants.find(anchor_of(item));
  if (found == variants.end()) {
    out << "<dt>" << _("Range") << "</dt><dd class=\"range\">" << escape(range_text(item)) << "</dd>\n"
        << "<dt>" << _("Factory value") << "</dt><dd class=\"factory\">" << escape(factory_text(item))
        << "</dd>\n";
  } else {
    for (const Variant &v : found->second)
      out << "<dt>" << escape(fill(_("With %s"), {v.when})) << "</dt><dd class=\"variant\">"
          << escape(fill(_("%s; factory value %s"), {v.range, v.factory})) << "</dd>\n";
  }
  if (!item.hints.empty()) {
    std::string hints;
    for (const std::string &h : item.hints) hints += (hints.empty() ? "" : ", ") + trim(h);
    out << "<dt>" << _("Suggestions menu") << "</dt><dd>" << escape(hints) << "</dd>\n";
  }
  out << "<dt>" << _("Shown") << "</dt><dd class=\"when\">" << escape(when_text(item))
      << "</dd>\n</dl>\n</div>\n";
}

std::string page_title(int page) {
  std::string title = _(page_info(page).title);
  return title.substr(0, title.find(','));
}

struct Site {
  std::vector<SiteItem> items;  // every page's, in page order
  Variants variants;
  Texts texts;
};

void write_intro(std::ostream &out, const Texts &texts, const std::string &topic) {
  auto found = texts.find(topic);
  if (found != texts.end()) out << found->second;
}

// A section topic: every section that opens it, with its settings.
void write_section_topic(const std::string &dir, const Site &site, const std::string &topic) {
  std::ofstream out(dir + "/" + topic + ".html");
  std::string first_title;
  int page = -1;
  for (const SiteItem &item : site.items)
    if (item.section_topic == topic && first_title.empty())
      first_title = item.section_title, page = item.page;
  const bool own_topic = topic == page_info(page).help_topic;
  page_start(out, own_topic ? page_title(page) : first_title);
  // A page whose sections open the page's own topic has its introduction here.
  if (topic != page_info(page).help_topic)
    out << "<p class=\"nav\">" << _("On the page") << " <a href=\"" << page_info(page).help_topic
        << ".html\">" << escape(page_title(page)) << "</a></p>\n";
  write_intro(out, site.texts, topic);
  std::string section;
  for (const SiteItem &item : site.items) {
    if (item.section_topic != topic) continue;
    if (item.section_title != section) {
      section = item.section_title;
      out << "<h2>" << escape(section) << "</h2>\n<p class=\"when\">"
          << escape(
                 fill(_("Section shown: %s."), {item.section_when.empty() ? _("always") : item.section_when}))
          << "</p>\n";
    }
    write_setting(out, item, site.variants);
  }
  page_end(out);
}

void write_page_topic(const std::string &dir, const Site &site, int page) {
  std::ofstream out(dir + "/" + page_info(page).help_topic + ".html");
  page_start(out, page_title(page));
  write_intro(out, site.texts, page_info(page).help_topic);
  out << "<h2>" << _("Sections") << "</h2>\n<ul>\n";
  std::string section;
  for (const SiteItem &item : site.items) {
    if (item.page != page || item.section_title == section) continue;
    section = item.section_title;
    out << "<li><a href=\"" << escape(item.section_topic) << ".html\">" << escape(section) << "</a>"
        << (item.section_when.empty() ? "" : escape(fill(_(" (shown: %s)"), {item.section_when})))
        << "</li>\n";
  }
  out << "</ul>\n";
  page_end(out);
}

void write_overview(const std::string &dir, const Site &site) {
  std::ofstream out(dir + "/" + kOverviewTopic + ".html");
  page_start(out, _("SETUP: Radar configuration editor"));
  write_intro(out, site.texts, kOverviewTopic);
  page_end(out);
}

void write_index(const std::string &dir, const Site &site) {
  std::ofstream out(dir + "/index.html");
  page_start(out, _("SETUP help: index"));
  out << "<p><a href=\"" << kOverviewTopic << ".html\">" << _("Overview of the editor") << "</a></p>\n<h2>"
      << _("Pages") << "</h2>\n<ul>\n";
  for (int page = 0; page < PAGE_COUNT; ++page) {
    out << "<li><a href=\"" << page_info(page).help_topic << ".html\">" << escape(page_title(page))
        << "</a>\n<ul>\n";
    std::set<std::string> topics;
    for (const SiteItem &item : site.items)
      if (item.page == page && topics.insert(item.section_topic).second)
        out << "<li><a href=\"" << escape(item.section_topic) << ".html\">" << escape(item.section_title)
            << "</a></li>\n";
    out << "</ul></li>\n";
  }
  out << "</ul>\n<h2>" << _("Every setting") << "</h2>\n<p>"
      << _("Label, path in the setup file and section.") << "</p>\n<ul class=\"all\">\n";
  std::multimap<std::string, const SiteItem *> sorted;
  for (const SiteItem &item : site.items) sorted.emplace(heading_of(item) + "\n" + path_text(item), &item);
  for (const auto &[key, item] : sorted)
    out << "<li><a href=\"" << escape(item->section_topic) << ".html#" << anchor_of(*item) << "\">"
        << escape(heading_of(*item)) << "</a> <code>" << escape(path_text(*item)) << "</code> ("
        << escape(item->section_title) << ")</li>\n";
  out << "</ul>\n";
  page_end(out);
}

const char *const kStyle =
    "body { font-family: sans-serif; max-width: 50em; margin: 1em auto; padding: 0 1em; }\n"
    "code { font-family: monospace; }\n"
    ".setting { border-top: 1px solid #ccc; }\n"
    ".setting h3 { margin-bottom: 0.2em; }\n"
    "dl { margin-top: 0.2em; }\n"
    "dt { font-weight: bold; float: left; clear: left; width: 10em; }\n"
    "dd { margin-left: 11em; }\n"
    ".nav { font-size: smaller; }\n";

// Every area holds its factory values with its limit copies, as on a site
// whose files are all missing, opened as the editor opens a site.
void load_factory_site(void) {
  char empty[] = "/tmp/setup-help-XXXXXX";
  if (!mkdtemp(empty)) return;
  session::OpenOptions options;
  options.directory = empty;
  options.mode = 1;
  session::open(options);
  rmdir(empty);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "Usage: setup-help TEXTS OUTDIR [LANGUAGE LOCALEDIR]\n");
    return 2;
  }
  if (argc == 5) {
    page_language = argv[3];
    setenv("LANGUAGE", argv[3], 1);
    setlocale(LC_ALL, "C.UTF-8");
    textdomain(SETUP_TEXT_DOMAIN);
    bindtextdomain(SETUP_TEXT_DOMAIN, argv[4]);
    bind_textdomain_codeset(SETUP_TEXT_DOMAIN, "UTF-8");
  }
  full_mode = 1;
  std::string dir = argv[2];
  mkdir(dir.c_str(), 0755);
  Site site;
  if (!read_texts(argv[1], site.texts)) {
    std::fprintf(stderr, "setup-help: cannot read %s\n", argv[1]);
    return 1;
  }
  load_factory_site();
  site.variants = device_type_variants();
  site.items = site_items();
  std::set<std::string> topics;
  for (const SiteItem &item : site.items)
    if (topics.insert(item.section_topic).second) write_section_topic(dir, site, item.section_topic);
  for (int page = 0; page < PAGE_COUNT; ++page)
    if (!topics.count(page_info(page).help_topic)) write_page_topic(dir, site, page);
  write_overview(dir, site);
  write_index(dir, site);
  std::ofstream(dir + "/help.css") << kStyle;
  return 0;
}
