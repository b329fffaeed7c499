// The editor in German, with the catalogues the build compiles, and in
// English: every page window opened on a loaded site. Labels longer than
// the English must still fit their column, and every number shown in a
// field or offered by a hint must still parse back; the English pages fit
// their windows' default width. Each German window is saved as
// german_page_<n>.png in the build directory for a look. Find finds
// the German labels.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <Xm/Label.h>
#include <Xm/TextF.h>

#include <cstdlib>
#include <string>

#include "items/i18n.h"
#include "motif/commands.h"
#include "motif/page_window.h"
#include "motif/review.h"
#include "motif/startup.h"
#include "motif/state.h"
#include "tests/store_site.h"
#include "tests/support/catalogue.h"
#include "tests/support/e2e.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

// Pixels the label's text needs beside its margins.
int text_width(Widget label) {
  XmString text = get<XmString>(label, XmNlabelString);
  XmRenderTable fonts = get<XmRenderTable>(label, XmNrenderTable);
  Dimension width = 0, height = 0;
  XmStringExtent(fonts, text, &width, &height);
  XmStringFree(text);
  return width;
}

int room(Widget label) {
  return get<Dimension>(label, XmNwidth) -
         2 * (get<Dimension>(label, XmNmarginWidth) + get<Dimension>(label, XmNshadowThickness) +
              get<Dimension>(label, XmNhighlightThickness)) -
         get<Dimension>(label, XmNmarginLeft) - get<Dimension>(label, XmNmarginRight);
}

bool parses(const std::string &text) {
  char *end = nullptr;
  std::strtod(text.c_str(), &end);
  return end != text.c_str();
}

bool is_item_label(Widget w) {
  return XtClass(w) == xmLabelWidgetClass && get<unsigned char>(w, XmNalignment) == XmALIGNMENT_END;
}

TEST(German, LabelsFitNumbersParseFindSearchesThemAndEnglishPagesFitTheirWindows) {
  REQUIRE_DISPLAY();
  motif_toolkit = 1;  // as start-up finds it with Motif
  // The installation's resources, with its fonts.
  setenv("ZAMO_APP_DEFAULTS", SETUP_SOURCE_DIR "/data/", 1);
  merge_resource_files(main_display);
  // Devices of every kind; the output device page measures its labels
  // before any device section exists.
  FactorySite site([] {
    zamo.device.imaxdevcount = zamo.device.idevcount = 4;
    const int types[] = {DEVICE_WINDOW, DEVICE_NETWORK, DEVICE_ARCHIVE, DEVICE_PRINTER};
    for (int dev = 0; dev < 4; ++dev) zamo.device.def[dev].idev_type = types[dev];
  });
  for (const char *language : {"", "de"}) {
    // As the editor starts: the locale from the environment, and the
    // toolkit told of it, so that the texts are drawn in its encoding.
    speak(language);
    if (XSupportsLocale()) XtSetLanguageProc(nullptr, nullptr, nullptr);
    ASSERT_STREQ(_("Help"), *language ? "Hilfe" : "Help");
    full_mode = 1;
    start_up_load(nullptr, nullptr);
    gui_process(50);
    for (int page = 0; page < PAGE_COUNT; ++page) {
      destroy_page(page);
      open_page(page);
      Widget window = page_window(page)->form_dialog;
      gui_process(300);
      const std::string where = std::string(language) + " page " + std::to_string(page);
      if (!*language) {
        EXPECT_FALSE(scrolls_sideways(page_window(page)->scrolled_window)) << where << " scrolls sideways";
      }
      for (Widget label : collect(window, is_item_label))
        EXPECT_LE(text_width(label), room(label)) << where << ": \"" << label_of(label) << "\" is cut";
      for (Widget field : collect(window, [](Widget w) { return XmIsTextField(w) && item_of(w); })) {
        if (item_of(field)->kind != KindNumber) continue;
        EXPECT_TRUE(parses(field_text(field))) << where << ": \"" << field_text(field) << "\"";
        for (const std::string &hint : hint_texts(field))
          EXPECT_TRUE(parses(hint)) << where << ": hint \"" << hint << "\"";
      }
      if (*language) {
        XtVaSetValues(XtParent(window), XmNx, 0, XmNy, 0, nullptr);
        gui_process(300);
        e2e::screenshot("german_page_" + std::to_string(page) + ".png");
      }
      XtUnmanageChild(window);
    }
  }

  // Find searches the labels as the pages show them.
  find_command(nullptr, nullptr, nullptr);
  XmTextFieldSetString(gui_find(find_dialog(), "findtext"), const_cast<char *>("antennenhöhe"));
  const std::vector<std::string> found = list_items(gui_find(find_dialog(), "list"));
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0].rfind("Antennenhöhe über Grund — ", 0), 0u) << found[0];
}

}  // namespace
