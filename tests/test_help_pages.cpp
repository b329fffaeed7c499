// The generated help pages against the pages themselves: every topic that a
// page, a section or the main Help menu opens has its page, every item is on
// its section's page with the limits and factory value the program uses,
// the pages parse without errors, and the manual pages render cleanly.
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "items/state.h"
#include "pages/pages.h"
#include "session/index.h"
#include "store/areas.h"
#include "store/store.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {

const std::string help_dir = SETUP_BINARY_DIR "/help";

struct Document {
  std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc{nullptr, xmlFreeDoc};
  int errors = 0;
};

void count_error(void *context, xmlErrorPtr) { ++*static_cast<int *>(context); }

Document parse(const std::string &path) {
  Document d;
  htmlParserCtxtPtr context = htmlNewParserCtxt();
  xmlSetStructuredErrorFunc(&d.errors, count_error);
  d.doc.reset(htmlCtxtReadFile(context, path.c_str(), "utf-8", HTML_PARSE_NONET));
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  if (context->errNo != 0) ++d.errors;
  htmlFreeParserCtxt(context);
  return d;
}

// The text of the first element the XPath finds, or "(none)".
std::string text_at(xmlDocPtr doc, const std::string &xpath) {
  std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)> context(xmlXPathNewContext(doc),
                                                                         xmlXPathFreeContext);
  std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)> found(
      xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(xpath.c_str()), context.get()),
      xmlXPathFreeObject);
  if (!found || !found->nodesetval || found->nodesetval->nodeNr == 0) return "(none)";
  xmlChar *content = xmlNodeGetContent(found->nodesetval->nodeTab[0]);
  std::string text(reinterpret_cast<const char *>(content));
  xmlFree(content);
  return text;
}

std::string shown(const SiteItem &item, double stored) {
  char text[256];
  std::snprintf(text, sizeof text, item.format.c_str(), stored / item.scale);
  return text;
}

// What the program shows as the item's range and factory value; where the
// limits follow the device type, one of the types' lines says them.
void expect_limits(xmlDocPtr doc, const std::string &at, const SiteItem &item) {
  const Field f = item.field->field();
  const double factory = field_limit(f, COPY_FACTORY);
  std::string range, factory_text;
  if (item.kind == KindNumber) {
    range = "from " + shown(item, field_limit(f, COPY_MIN)) + " to " + shown(item, field_limit(f, COPY_MAX));
    factory_text = shown(item, factory);
  } else if (item.kind == KindChoice) {
    factory_text = "(no entry)";
    for (const SiteChoice &c : item.choices)
      if (c.value == factory) factory_text = c.text;
  } else if (item.kind == KindToggle) {
    factory_text = factory != 0 ? item.on_text : item.off_text;
  } else {
    return;
  }
  if (text_at(doc, at + "//dd[@class='factory']") == "(none)") {
    const std::string line = (range.empty() ? "" : range) + "; factory value " + factory_text;
    EXPECT_NE(text_at(doc, at + "//dd[@class='variant'][contains(., '" + line + "')]"), "(none)")
        << at << line;
    return;
  }
  EXPECT_EQ(text_at(doc, at + "//dd[@class='factory']"), factory_text) << at;
  if (!range.empty()) {
    EXPECT_EQ(text_at(doc, at + "//dd[@class='range']"), range) << at;
  }
}

class HelpPages : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A site whose files are all missing holds the factory values, as the
    // generator's does.
    static std::string empty = fs::temp_directory_path() / ("help-site-" + std::to_string(getpid()));
    fs::create_directories(empty);
    setenv("ZAMO_CONFIG", empty.c_str(), 1);
    full_mode = 1;
    load_all_areas();
    convert_form(1);
    items() = site_items();
    fs::remove_all(empty);
  }
  static std::vector<SiteItem> &items() {
    static std::vector<SiteItem> all;
    return all;
  }
};

TEST_F(HelpPages, EveryTopicThatCanBeOpenedHasItsPage) {
  std::set<std::string> topics = {"setup_overview", "index"};
  for (int page = 0; page < PAGE_COUNT; ++page) topics.insert(page_info(page).help_topic);
  for (const SiteItem &item : items()) topics.insert(item.section_topic);
  for (const std::string &topic : topics)
    EXPECT_TRUE(fs::is_regular_file(help_dir + "/" + topic + ".html")) << topic;
}

TEST_F(HelpPages, EveryItemIsOnItsSectionsPageWithItsLimitsAndFactoryValue) {
  std::map<std::string, Document> documents;
  for (const SiteItem &item : items()) {
    Document &d = documents[item.section_topic];
    if (!d.doc) d = parse(help_dir + "/" + item.section_topic + ".html");
    ASSERT_TRUE(d.doc) << item.section_topic;
    char anchor[32];
    std::snprintf(anchor, sizeof anchor, "p%d-%08x", item.page, item.id);
    const std::string at = std::string("//div[@id='") + anchor + "']";
    if (!item.label.empty()) {
      EXPECT_EQ(text_at(d.doc.get(), at + "/h3"), item.label) << anchor;
    }
    const std::string path = text_at(d.doc.get(), at + "//dd[@class='path']");
    EXPECT_TRUE(path.rfind(item.field->path, 0) == 0 ||
                path.find("edited as " + item.field->path) != std::string::npos)
        << anchor << ": " << path;
    // A row that is hidden under the factory values says when it shows.
    if (!item.shown) {
      EXPECT_NE(text_at(d.doc.get(), at + "//dd[@class='when']"), "always") << anchor;
    }
    expect_limits(d.doc.get(), at, item);
  }
}

TEST_F(HelpPages, AreValidHtmlWithoutScripts) {
  int pages = 0;
  for (const auto &entry : fs::directory_iterator(help_dir)) {
    if (entry.path().extension() != ".html") continue;
    ++pages;
    Document d = parse(entry.path());
    EXPECT_TRUE(d.doc) << entry.path();
    EXPECT_EQ(d.errors, 0) << entry.path();
    EXPECT_EQ(read_file(entry.path()).find("<script"), std::string::npos) << entry.path();
  }
  EXPECT_GE(pages, 50);
}

TEST(ManualPages, RenderWithoutWarnings) {
  for (const char *page : {"setup.1", "setup-site.1", "setup-files.5"}) {
    const std::string source = SETUP_SOURCE_DIR "/man/" + std::string(page);
    ASSERT_TRUE(fs::is_regular_file(source)) << source;
    const std::string command = "groff -ww -man -Tutf8 -z " + source + " 2>&1";
    FILE *out = popen(command.c_str(), "r");
    ASSERT_TRUE(out);
    std::string warnings;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, out)) warnings += buffer;
    EXPECT_EQ(pclose(out), 0) << page;
    EXPECT_EQ(warnings, "") << page;
  }
}

}  // namespace
