// The main window under Xvfb: the block diagram of both modes, the menus
// and their mnemonics in every language, the help command, the clock, the pixmaps and the read-only start.
#include <gtest/gtest.h>
// gtest before the X headers: they define None.
#include <Xm/CascadeBG.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/MainW.h>
#include <Xm/MessageB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/Separator.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "items/i18n.h"
#include "motif/clock.h"
#include "motif/dialogs.h"
#include "motif/main_panel.h"
#include "motif/menu.h"
#include "motif/page_window.h"
#include "motif/pixmap.h"
#include "motif/startup.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "tests/support/catalogue.h"
#include "tests/support/gui.h"
#include "tests/support/help_site.h"
#include "tests/support/widgets.h"

namespace {

// x, y, width, height relative to the parent.
std::vector<int> box(Widget w) {
  Position x = 0, y = 0;
  Dimension width = 0, height = 0;
  XtVaGetValues(w, XmNx, &x, XmNy, &y, XmNwidth, &width, XmNheight, &height, nullptr);
  return {x, y, width, height};
}

std::vector<Widget> lines_in(Widget form) {
  std::vector<Widget> lines;
  for (Widget child : children(form))
    if (XmIsSeparator(child)) lines.push_back(child);
  return lines;
}

Widget new_shell(const char *name) {
  return XtVaAppCreateShell(name, "setup", topLevelShellWidgetClass, main_display, nullptr);
}

Widget new_menu_bar(Widget shell) {
  Widget bar = XmCreateMenuBar(shell, const_cast<char *>("bar"), nullptr, 0);
  XtManageChild(bar);
  return bar;
}

struct MainWindow {
  Widget shell, menu_bar, form;
};

// The main window as start-up builds it, in a shell of its own.
MainWindow build_main_window(int16_t mode) {
  full_mode = mode;
  MainWindow m;
  m.shell = new_shell("setup");
  XtVaSetValues(m.shell, XmNwidth, mode ? 620 : 240, XmNheight, 215, nullptr);
  Widget main_window = XmCreateMainWindow(m.shell, const_cast<char *>("setupmain"), nullptr, 0);
  m.form = XmCreateForm(main_window, const_cast<char *>(""), nullptr, 0);
  m.menu_bar = build_main_menus(main_window);
  XtManageChild(main_window);
  XtManageChild(m.form);
  build_main_panel(m.form);
  XtRealizeWidget(m.shell);
  gui_process(150);
  return m;
}

class AppGui : public ::testing::Test {
 protected:
  void SetUp() override { REQUIRE_DISPLAY(); }
};

// Both modes: the ZAMO frame and the links to it only in full mode.
TEST_F(AppGui, PanelsOfBothModes) {
  MainWindow m = build_main_window(1);
  Widget zamo = gui_find(m.form, "zamoframe");
  ASSERT_TRUE(zamo);
  EXPECT_EQ(box(zamo)[0], 620 - 10 - 340) << "attached to the right edge";
  EXPECT_EQ(lines_in(m.form).size(), 2u);
  EXPECT_EQ(lines_in(XtParent(gui_find(zamo, "zamoinputpb"))).size(), 9u);
  EXPECT_EQ(save_entry,
            XtNameToWidget(get<Widget>(XtNameToWidget(m.menu_bar, "File"), XmNsubMenuId), "Save"));
  XtDestroyWidget(m.shell);

  m = build_main_window(0);
  EXPECT_EQ(gui_find(m.form, "zamoframe"), nullptr);
  EXPECT_TRUE(lines_in(m.form).empty());
  EXPECT_EQ(lines_in(XtParent(gui_find(m.form, "radarkoxpb"))).size(), 2u);
  XtDestroyWidget(m.shell);
}

MenuItem no_items[] = {{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

TEST_F(AppGui, HelpCascadeByTranslatedPrefixAndEntriesWithTheMenuBarsTopic) {
  MessageCatalogue german("de", "msgid \"Help\"\nmsgstr \"Hilfe\"\n");
  ASSERT_TRUE(german.ok);
  ASSERT_STREQ(_("Help"), "Hilfe");
  Widget shell = new_shell("menus");
  Widget bar = new_menu_bar(shell);
  BuildMenu(bar, XmMENU_PULLDOWN, "Help", "H", false, no_items);
  EXPECT_EQ(get<Widget>(bar, XmNmenuHelpWidget), nullptr) << "the untranslated word is an ordinary title";
  Widget help = BuildMenu(bar, XmMENU_PULLDOWN, "Hilfe zur Seite", "H", false, no_items);
  EXPECT_EQ(get<Widget>(bar, XmNmenuHelpWidget), help);

  // A help entry without a topic uses its menu bar's topic.
  HelpSite site;
  write_file(site.page("zamo_general_setups.html"), "<p>General</p>\n");
  MenuItem items[] = {
      {"On Menu...", &xmPushButtonGadgetClass, "M", nullptr, nullptr, help_command, nullptr, nullptr},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
  static char topic[] = "zamo_general_setups";
  XtVaSetValues(bar, XmNuserData, topic, nullptr);
  Widget entry =
      children(get<Widget>(BuildMenu(bar, XmMENU_PULLDOWN, "Help", "H", false, items), XmNsubMenuId)).at(0);
  XtCallCallbacks(entry, XmNactivateCallback, nullptr);
  std::string page;
  site.next_run(&page);
  EXPECT_EQ(page, site.page("zamo_general_setups.html"));
  XtDestroyWidget(shell);
}

// Every menu of `menu` (a menu bar or a pane) and every entry of it has a
// mnemonic of its own, a letter of its label.
void expect_own_mnemonics(Widget menu, const std::string &language) {
  std::set<int> seen;
  for (Widget entry : children(menu)) {
    if (!XmIsLabel(entry) && !XmIsLabelGadget(entry)) continue;
    const KeySym key = get<KeySym>(entry, XmNmnemonic);
    const std::string label = label_of(entry);
    EXPECT_TRUE(key > 0 && key < 0x80 && label.find(static_cast<char>(key)) != std::string::npos &&
                seen.insert(std::tolower(static_cast<int>(key))).second)
        << language << ": " << label;
    if (XmIsCascadeButtonGadget(entry)) expect_own_mnemonics(get<Widget>(entry, XmNsubMenuId), language);
  }
}

// The main window's and a page window's menus, in every language.
TEST_F(AppGui, MnemonicsOfEveryMenuAreItsOwnInEveryLanguage) {
  for (const std::string &language : built_languages()) {
    speak(language);
    MainWindow m = build_main_window(1);
    PageWindow *page = create_page_window(PAGE_GENERAL, 0, 0);
    for (Widget bar : {m.menu_bar, page->menu_bar}) expect_own_mnemonics(bar, language);
    XtDestroyWidget(XtParent(page->form_dialog));
    delete page;
    XtDestroyWidget(m.shell);
  }
  speak("");
}

std::string shell_title(Widget w) {
  char *title = nullptr;
  XtVaGetValues(w, XmNtitle, &title, nullptr);
  return title ? title : "";
}

TEST_F(AppGui, ClockPutsTheTimeIntoOpenPageWindows) {
  snprintf(host_name, sizeof host_name, "%s", "radar9");
  open_page(PAGE_CONTROL_PROCESSOR);
  PageWindow *window = page_window(PAGE_CONTROL_PROCESSOR);
  ASSERT_TRUE(window && window->form_dialog);
  EXPECT_EQ(page_window(PAGE_GENERAL), nullptr);

  XtAppAddTimeOut(app_context, 0, status_clock, nullptr);
  gui_process(100);
  std::string first = shell_title(XtParent(window->form_dialog));
  std::string prefix = "Radar Control Processor Setups, radar9     ";
  ASSERT_EQ(first.compare(0, prefix.size(), prefix), 0) << first;
  // "HH:MM:SS DD-MON-YYYY ZONE": today's date after the time.
  EXPECT_EQ(first.substr(prefix.size() + 8), clock_time_text().substr(8)) << first;
  gui_process(2100);
  std::string later = shell_title(XtParent(window->form_dialog));
  EXPECT_EQ(later.compare(0, prefix.size(), prefix), 0);
  EXPECT_NE(later, first) << "renewed every second";
  XtUnmanageChild(window->form_dialog);
}

TEST_F(AppGui, PixmapsFromTheBitmapDirectory) {
  setenv("ZAMO_BITMAPS", SETUP_SOURCE_DIR "/data/", 1);
  Widget shell = new_shell("icons");
  static const char red[] = "red";
  Widget label = XtVaCreateWidget("picture", xmLabelWidgetClass, shell, XtVaTypedArg, XmNbackground,
                                  XmRString, red, sizeof red, nullptr);
  // The XPM's "none" colour takes the widget's background, red here.
  load_pixmap(PixmapLabel, 1, label, "util_setup.pm");
  Pixmap icon = None;
  Pixel background = 0;
  unsigned char type = 0;
  XtVaGetValues(label, XmNlabelPixmap, &icon, XmNbackground, &background, XmNlabelType, &type, nullptr);
  ASSERT_NE(icon, XmUNSPECIFIED_PIXMAP);
  EXPECT_EQ(type, XmPIXMAP);
  XImage *corner = XGetImage(main_display, icon, 0, 0, 1, 1, AllPlanes, ZPixmap);
  ASSERT_TRUE(corner);
  EXPECT_EQ(XGetPixel(corner, 0, 0), background);
  XDestroyImage(corner);

  // The shell's icon; a missing file changes nothing.
  load_pixmap(PixmapIcon, 0, shell, "xm_hour32.bm");
  Pixmap shell_icon = None, after = None;
  XtVaGetValues(shell, XmNiconPixmap, &shell_icon, nullptr);
  EXPECT_NE(shell_icon, None);
  load_pixmap(PixmapIcon, 0, shell, "no_such_icon.pm");
  XtVaGetValues(shell, XmNiconPixmap, &after, nullptr);
  EXPECT_EQ(after, shell_icon);

  EXPECT_NE(make_busy_cursor(main_display, "xm_hour32.bm", "xm_hour32m.bm"), (Cursor)None);
  // A mask of another size would be refused by the server: no cursor.
  EXPECT_EQ(make_busy_cursor(main_display, "xm_hour32.bm", "util_setup.pm"), (Cursor)None);
  unsetenv("ZAMO_BITMAPS");
  XSync(main_display, False);
  XtDestroyWidget(shell);
}

// Runs last: it arms the start-up load.
TEST_F(AppGui, ReadOnlyStartMakesSaveInsensitive) {
  MainWindow m = build_main_window(0);
  snprintf(host_name, sizeof host_name, "%s", "radar7");
  arm_start_timeouts(false);
  gui_process(450);
  Widget dialog = gui_find(top_level, "warndiag");
  ASSERT_TRUE(dialog && XtIsManaged(dialog));
  EXPECT_EQ(label_of(dialog, XmNmessageString), "You must be an operator to save");
  EXPECT_EQ(label_of(XmMessageBoxGetChild(dialog, XmDIALOG_CANCEL_BUTTON)), "Exit Setup");
  EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(dialog, XmDIALOG_HELP_BUTTON)));
  EXPECT_TRUE(XtIsSensitive(save_entry));

  XtCallCallbacks(XmMessageBoxGetChild(dialog, XmDIALOG_OK_BUTTON), XmNactivateCallback, nullptr);
  EXPECT_FALSE(XtIsManaged(dialog));
  EXPECT_FALSE(XtIsSensitive(save_entry));
  Widget loading = gui_find(top_level, "loaddiag");
  ASSERT_TRUE(loading && XtIsManaged(loading));
  EXPECT_EQ(label_of(loading, XmNmessageString), "Loading setup data from radar7");
  EXPECT_EQ(shell_title(top_level), "SETUP, radar7");

  // An information message hides the unused Cancel button.
  show_warning(WarningInformation, "Nothing has changed", "OK", nullptr);
  EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(dialog, XmDIALOG_CANCEL_BUTTON)));
  hide_warning();
  XtDestroyWidget(m.shell);
}

}  // namespace
