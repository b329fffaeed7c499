// The generated help pages against the pages themselves: every topic that a
// page, a section or the main Help menu opens has its page, every item is on
// its section's page with the limits and factory value the program uses,
// the pages parse without errors, every language of the catalogues has its
// pages in its words, and the manual pages render cleanly. The
// visit pass they are made from changes no record.
#include <gtest/gtest.h>
#include <libintl.h>
#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "items/i18n.h"
#include "items/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "session/index.h"
#include "store/areas.h"
#include "store/store.h"
#include "tests/support/catalogue.h"
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

// What the program shows as the item's range and factory value (a choice's
// is one of its entries); where the limits follow the device type, one of
// the types' lines says them.
void expect_limits(xmlDocPtr doc, const std::string &at, const SiteItem &item) {
  if (item.kind == KindText) return;
  const Field f = item.field->field();
  const std::string factory_text = shown_value(item, field_limit(f, COPY_FACTORY));
  EXPECT_NE(factory_text, "?????") << at;
  std::string range;
  if (item.kind == KindNumber)
    range = "from " + shown_value(item, field_limit(f, COPY_MIN)) + " to " +
            shown_value(item, field_limit(f, COPY_MAX));
  if (text_at(doc, at + "//dd[@class='factory']") == "(none)") {
    const std::string line = range + "; factory value " + factory_text;
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

// In English and in every language of the catalogues, each in its tree and
// made through its catalogue: every topic that can be opened has its page,
// valid HTML without scripts, and every item is on it under its label and with its condition as the
// program shows them in that language.
TEST_F(HelpPages, EveryTopicAndItemHasItsPageWithItsLimitsFactoryValueAndConditionInEveryLanguage) {
  std::set<std::string> topics = {"setup_overview", "index"};
  for (int page = 0; page < PAGE_COUNT; ++page) topics.insert(page_info(page).help_topic);
  for (const SiteItem &item : items()) topics.insert(item.section_topic);
  ASSERT_GT(built_languages().size(), 1u);
  for (const std::string &language : built_languages()) {
    speak(language);
    ASSERT_EQ(language.empty(), std::string(_("Help")) == "Help") << language;
    const std::string dir = help_dir + "/" + language;
    for (const std::string &topic : topics) {  // valid HTML without scripts
      const std::string file = dir + "/" + topic + ".html";
      Document d = parse(file);
      EXPECT_TRUE(d.doc && d.errors == 0 && read_file(file).find("<script") == std::string::npos) << file;
    }
    std::map<std::string, Document> documents;
    for (const SiteItem &item : language.empty() ? items() : site_items()) {
      Document &d = documents[item.section_topic];
      if (!d.doc) d = parse(dir + "/" + item.section_topic + ".html");
      ASSERT_TRUE(d.doc) << dir << item.section_topic;
      char anchor[32];
      std::snprintf(anchor, sizeof anchor, "p%d-%08x", item.page, item.id);
      const std::string at = std::string("//div[@id='") + anchor + "']", where = language + " " + anchor;
      if (!item.label.empty()) {
        EXPECT_EQ(text_at(d.doc.get(), at + "/h3"), item.label) << where;
      }
      const std::string path = text_at(d.doc.get(), at + "//dd[@class='path']");
      EXPECT_TRUE(path.rfind(item.field->path, 0) == 0 ||
                  path.find(" " + item.field->path + ")") != std::string::npos)
          << where << ": " << path;
      const std::string when = text_at(d.doc.get(), at + "//dd[@class='when']");
      EXPECT_NE(when.find(item.row_when), std::string::npos) << where << ": " << when;
      EXPECT_NE(when.find(item.section_when), std::string::npos) << where << ": " << when;
      // A row that is hidden under the factory values says when it shows.
      if (!item.shown) {
        EXPECT_NE(when, _("always")) << where;
      }
      if (language.empty()) expect_limits(d.doc.get(), at, item);
    }
  }
  speak("");
}

// Every current and limit copy, auxset's included.
std::string all_records(void) {
  std::string bytes(reinterpret_cast<const char *>(&auxset), sizeof auxset);
  bytes.append(reinterpret_cast<const char *>(auxset_limits), sizeof auxset_limits);
  for (int area = 0; area < AREA_COUNT; ++area) {
    bytes.append(static_cast<const char *>(area_info(area).record), area_info(area).size);
    bytes.append(static_cast<const char *>(area_info(area).limits), 3 * area_info(area).size);
  }
  return bytes;
}

// What the other passes keep up (a network device's limits, the PRF clamp,
// a padded site code) the visit leaves alone; the index still gives a
// device's field the limits of its current type, or of a type asked for.
TEST_F(HelpPages, VisitChangesNoRecordAndDeviceLimitsFollowTheType) {
  const output_device device = zamo.device.def[0];
  const int32_t prf = dsp.iminprf[0];
  zamo.device.def[0].idev_type = DEVICE_PRINTER;  // a window as loaded; device 1 is a network device
  dsp.iminprf[0] = 99999;
  std::memcpy(zamo.Site.sites[1].sCode, "A", 2);
  const std::string before = all_records();
  site_items();
  EXPECT_TRUE(all_records() == before);

  const SiteField &skip = *find_field("zamo.device.def[0].iskip_time");
  EXPECT_EQ(index_limit(skip, COPY_FACTORY), 300) << "a printer's, while the limit copies keep a window's";
  EXPECT_EQ(index_limit(skip, COPY_MIN, DEVICE_WINDOW), 0);
  const SiteField &latitude = *find_field("auxset.zel_ilat");  // all 32 bits
  EXPECT_EQ(index_limit_bytes(latitude, COPY_MAX), std::string(latitude.in(latitude.copy(COPY_MAX)), 4));
  zamo.device.def[0] = device;
  dsp.iminprf[0] = prf;
  std::memset(zamo.Site.sites[1].sCode, 0, sizeof zamo.Site.sites[1].sCode);
}

TEST(ManualPages, RenderWithoutWarnings) {
  for (const char *page : {"setup.1", "setup-site.1", "setup-tui.1", "setup-files.5"}) {
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
