// The main window under Xvfb: its menus, the block diagram of both modes,
// the menu builder's rules, the help command and the dialogs.
#include <gtest/gtest.h>

// X headers after gtest: they define None.
#include <Xm/CascadeBG.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/MainW.h>
#include <Xm/MessageB.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <Xm/Separator.h>
#include <Xm/ToggleBG.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/main_panel.h"
#include "app/menu.h"
#include "app/page_window.h"
#include "app/pixmap.h"
#include "app/startup.h"
#include "items/i18n.h"
#include "items/state.h"
#include "pages/pages.h"
#include "store/dialogs.h"
#include "tests/support/gui.h"

namespace {

struct Box {
  int x, y, width, height;
};

Box box(Widget w) {
  Position x = 0, y = 0;
  Dimension width = 0, height = 0;
  XtVaGetValues(w, XmNx, &x, XmNy, &y, XmNwidth, &width, XmNheight, &height, nullptr);
  return {x, y, width, height};
}

#define EXPECT_BOX(w, x_, y_, w_, h_)     \
  do {                                    \
    Box b = box(w);                       \
    EXPECT_EQ(b.x, x_) << XtName(w);      \
    EXPECT_EQ(b.y, y_) << XtName(w);      \
    EXPECT_EQ(b.width, w_) << XtName(w);  \
    EXPECT_EQ(b.height, h_) << XtName(w); \
  } while (0)

std::vector<Widget> children(Widget parent) {
  WidgetList list = nullptr;
  Cardinal count = 0;
  XtVaGetValues(parent, XmNchildren, &list, XmNnumChildren, &count, nullptr);
  return std::vector<Widget>(list, list + count);
}

std::vector<Widget> lines_in(Widget form) {
  std::vector<Widget> lines;
  for (Widget child : children(form))
    if (XmIsSeparator(child)) lines.push_back(child);
  return lines;
}

// The 8-bit colour of a widget's background as "rrggbb".
std::string background_of(Widget w) {
  Pixel pixel = 0;
  Colormap colormap = 0;
  XtVaGetValues(w, XmNbackground, &pixel, XmNcolormap, &colormap, nullptr);
  XColor colour;
  colour.pixel = pixel;
  XQueryColor(main_display, colormap, &colour);
  char text[8];
  snprintf(text, sizeof text, "%02x%02x%02x", colour.red >> 8, colour.green >> 8, colour.blue >> 8);
  return text;
}

std::string label_text(Widget w) {
  XmString label = nullptr;
  XtVaGetValues(w, XmNlabelString, &label, nullptr);
  std::string result;
  if (label) {
    char *text = static_cast<char *>(
        XmStringUnparse(label, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL));
    if (text) result = text;
    XtFree(text);
    XmStringFree(label);
  }
  return result;
}

int line_count(Widget w) {
  XmString label = nullptr;
  XtVaGetValues(w, XmNlabelString, &label, nullptr);
  int count = XmStringLineCount(label);
  XmStringFree(label);
  return count;
}

struct MainWindow {
  Widget shell, main_window, menu_bar, form;
};

// The main window as start-up builds it, in a shell of its own.
MainWindow build_main_window(int16_t mode) {
  full_mode = mode;
  MainWindow m;
  m.shell = XtVaAppCreateShell("setup", "setup", topLevelShellWidgetClass, main_display, XmNwidth,
                               mode ? 620 : 240, XmNheight, 215, nullptr);
  m.main_window = XmCreateMainWindow(m.shell, const_cast<char *>("setupmain"), nullptr, 0);
  m.form = XmCreateForm(m.main_window, const_cast<char *>(""), nullptr, 0);
  m.menu_bar = build_main_menus(m.main_window);
  XtManageChild(m.main_window);
  XtManageChild(m.menu_bar);
  XtManageChild(m.form);
  build_main_panel(m.form);
  XtRealizeWidget(m.shell);
  gui_process(150);
  return m;
}

std::vector<std::string> warnings;
void record_warning(String message) { warnings.push_back(message); }

class AppGui : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_DISPLAY();
    warnings.clear();
    XtAppSetWarningHandler(app_context, record_warning);
  }
};

TEST_F(AppGui, FullModePanel) {
  MainWindow m = build_main_window(1);
  Widget radar = gui_find(m.form, "radarframe");
  Widget zamo = gui_find(m.form, "zamoframe");
  ASSERT_TRUE(radar && zamo);
  EXPECT_BOX(radar, 10, 10, 210, 160);
  EXPECT_BOX(zamo, 620 - 10 - 340, 10, 340, 160);
  EXPECT_EQ(label_text(gui_find(radar, "radarlabel")), "Radar Interfaces");
  EXPECT_EQ(label_text(gui_find(zamo, "zamolabel")), "ZAMO");

  Widget kox = gui_find(radar, "radarkoxpb");
  Widget zel = gui_find(radar, "radarzelpb");
  EXPECT_BOX(kox, 35, 2, 130, 62);
  EXPECT_BOX(zel, 35, 2 + 62 + 5, 130, 62);
  EXPECT_EQ(line_count(kox), 3);
  EXPECT_EQ(line_count(zel), 3);
  EXPECT_EQ(background_of(kox), "b19371");

  struct {
    const char *name, *label;
    int x, y;
  } zamo_buttons[] = {{"zamogeneralpb", "General", 130, 0},
                      {"zamoinputpb", "Input", 30, 0},
                      {"zamoingestpb", "Ingest", 30, 50},
                      {"zamoproductpb", "Product", 130, 50},
                      {"zamooutputpb", "Output", 230, 50}};
  for (const auto &expected : zamo_buttons) {
    Widget button = gui_find(zamo, expected.name);
    ASSERT_TRUE(button) << expected.name;
    EXPECT_BOX(button, expected.x, expected.y, 80, 30);
    EXPECT_EQ(label_text(button), expected.label);
    EXPECT_EQ(background_of(button), "76d076");
  }

  // Links between the frames, level with the processor buttons.
  std::vector<Widget> links = lines_in(m.form);
  ASSERT_EQ(links.size(), 2u);
  EXPECT_BOX(links[0], 220, 10 + 56, 50, 1);
  EXPECT_BOX(links[1], 220, 10 + 56 + 64, 50, 1);
  EXPECT_EQ(background_of(links[0]), "000000");
  EXPECT_EQ(lines_in(XtParent(kox)).size(), 2u);
  EXPECT_EQ(lines_in(XtParent(gui_find(zamo, "zamoinputpb"))).size(), 9u);
  XtDestroyWidget(m.shell);
}

TEST_F(AppGui, ProcessorOnlyPanel) {
  MainWindow m = build_main_window(0);
  EXPECT_EQ(gui_find(m.form, "zamoframe"), nullptr);
  EXPECT_EQ(gui_find(m.form, "zamogeneralpb"), nullptr);
  EXPECT_TRUE(lines_in(m.form).empty());
  Widget kox = gui_find(m.form, "radarkoxpb");
  EXPECT_BOX(kox, 20, 2, 130, 62);
  EXPECT_BOX(gui_find(m.form, "radarzelpb"), 20, 69, 130, 62);
  // Only the two stubs from the buttons to the frame's edge.
  Widget contents = XtParent(kox);
  std::vector<Widget> stubs = lines_in(contents);
  ASSERT_EQ(stubs.size(), 2u);
  Box first = box(stubs[0]), second = box(stubs[1]);
  EXPECT_EQ(first.x, 150);
  EXPECT_EQ(first.x + first.width, box(contents).width);
  EXPECT_EQ(first.y, 33);
  EXPECT_EQ(second.y, 33 + 64);
  XtDestroyWidget(m.shell);
}

TEST_F(AppGui, MainMenus) {
  MainWindow m = build_main_window(1);
  Widget help = nullptr;
  XtVaGetValues(m.menu_bar, XmNmenuHelpWidget, &help, nullptr);
  ASSERT_TRUE(help);
  EXPECT_STREQ(XtName(help), "Help");
  Widget file = XtNameToWidget(m.menu_bar, "File");
  ASSERT_TRUE(file);

  Widget pane = nullptr;
  XtVaGetValues(file, XmNsubMenuId, &pane, nullptr);
  std::vector<Widget> entries = children(pane);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_STREQ(XtName(entries[0]), "Save");
  EXPECT_STREQ(XtName(entries[1]), "List");
  EXPECT_TRUE(XmIsSeparatorGadget(entries[2]));
  EXPECT_STREQ(XtName(entries[3]), "Exit");
  EXPECT_EQ(save_entry, entries[0]);
  KeySym mnemonic = 0;
  XtVaGetValues(entries[3], XmNmnemonic, &mnemonic, nullptr);
  EXPECT_EQ(mnemonic, (KeySym)'E');
  // The help menu sits at the right end of the bar.
  EXPECT_GT(box(help).x, box(file).x + 300);
  XtDestroyWidget(m.shell);
}

MenuItem no_items[] = {{nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr}};

Widget new_menu_bar(Widget *shell) {
  *shell = XtVaAppCreateShell("menus", "setup", topLevelShellWidgetClass, main_display, nullptr);
  Widget bar = XmCreateMenuBar(*shell, const_cast<char *>("bar"), nullptr, 0);
  XtManageChild(bar);
  return bar;
}

Widget help_widget_of(Widget bar) {
  Widget help = nullptr;
  XtVaGetValues(bar, XmNmenuHelpWidget, &help, nullptr);
  return help;
}

// Writes a German catalogue translating "Help" and switches messages to it.
class Translated {
 public:
  Translated() {
    char pattern[] = "/tmp/setup-nls-XXXXXX";
    dir = mkdtemp(pattern);
    std::string messages = dir + "/de/LC_MESSAGES";
    std::system(("mkdir -p " + messages).c_str());
    std::ofstream(dir + "/de.po") << "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                                     "msgid \"Help\"\nmsgstr \"Hilfe\"\n";
    std::string command = "msgfmt -o " + messages + "/" SETUP_TEXT_DOMAIN ".mo " + dir + "/de.po";
    ok = std::system(command.c_str()) == 0;
    setenv("LANGUAGE", "de", 1);
    previous = setlocale(LC_MESSAGES, nullptr);
    setlocale(LC_MESSAGES, "C.UTF-8");
    textdomain(SETUP_TEXT_DOMAIN);
    bindtextdomain(SETUP_TEXT_DOMAIN, dir.c_str());
  }
  ~Translated() {
    unsetenv("LANGUAGE");
    setlocale(LC_MESSAGES, previous.c_str());
    textdomain(SETUP_TEXT_DOMAIN);
    std::system(("rm -rf " + dir).c_str());
  }
  bool ok = false;

 private:
  std::string dir, previous;
};

TEST_F(AppGui, HelpCascadeIsChosenByTitlePrefix) {
  {
    Widget shell;
    Widget bar = new_menu_bar(&shell);
    BuildMenu(bar, XmMENU_PULLDOWN, "File", 'F', false, no_items);
    EXPECT_EQ(help_widget_of(bar), nullptr);
    Widget help = BuildMenu(bar, XmMENU_PULLDOWN, "Help on this page", 'H', false, no_items);
    EXPECT_EQ(help_widget_of(bar), help);
    XtDestroyWidget(shell);
  }
  Translated german;
  ASSERT_TRUE(german.ok);
  ASSERT_STREQ(_("Help"), "Hilfe");
  Widget shell;
  Widget bar = new_menu_bar(&shell);
  BuildMenu(bar, XmMENU_PULLDOWN, "Help", 'H', false, no_items);
  EXPECT_EQ(help_widget_of(bar), nullptr) << "the untranslated word is an ordinary title";
  Widget help = BuildMenu(bar, XmMENU_PULLDOWN, "Hilfe zur Seite", 'H', false, no_items);
  EXPECT_EQ(help_widget_of(bar), help);
  EXPECT_STREQ(XtName(help), "Hilfe zur Seite");
  XtDestroyWidget(shell);
}

int toggled = 0;
void count_toggle(Widget, XtPointer data, XtPointer) { toggled += *static_cast<int *>(data); }

TEST_F(AppGui, MenuTypesEntriesAndWarnings) {
  Widget shell;
  Widget bar = new_menu_bar(&shell);
  EXPECT_EQ(BuildMenu(bar, 7, "Odd", 0, false, no_items), nullptr);
  ASSERT_EQ(warnings.size(), 1u) << ::testing::PrintToString(warnings);
  EXPECT_EQ(warnings[0], "Invalid menu type passed to BuildMenu()");

  int step = 1;
  MenuItem inner[] = {{"Deeper", &xmPushButtonGadgetClass, 0, nullptr, nullptr, nullptr, nullptr, nullptr},
                      {nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr}};
  MenuItem items[] = {
      {"Flag", &xmToggleButtonGadgetClass, 'F', "Ctrl<Key>f", "Ctrl+F", count_toggle, &step, nullptr},
      {"More", &xmCascadeButtonGadgetClass, 'M', nullptr, nullptr, nullptr, nullptr, inner},
      {nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr}};

  // Pull-down: the toggle reports through its value-changed callback and
  // the submenu becomes a cascade of its own.
  Widget cascade = BuildMenu(bar, XmMENU_PULLDOWN, "Edit", 'E', true, items);
  Widget pane = nullptr;
  XtVaGetValues(cascade, XmNsubMenuId, &pane, nullptr);
  ASSERT_TRUE(pane);
  EXPECT_STREQ(XtName(pane), "_pulldown");
  unsigned char tear_off = 0;
  XtVaGetValues(pane, XmNtearOffModel, &tear_off, nullptr);
  EXPECT_EQ(tear_off, XmTEAR_OFF_ENABLED);
  Widget flag = XtNameToWidget(pane, "Flag");
  ASSERT_TRUE(flag);
  toggled = 0;
  XmToggleButtonGadgetSetState(flag, True, True);
  EXPECT_EQ(toggled, 1);
  char *accelerator = nullptr;
  XtVaGetValues(flag, XmNaccelerator, &accelerator, nullptr);
  EXPECT_STREQ(accelerator, "Ctrl<Key>f");
  Widget more = XtNameToWidget(pane, "More");
  ASSERT_TRUE(more);
  EXPECT_TRUE(XmIsCascadeButtonGadget(more));

  // Option menus cannot hold submenus: the entry is skipped with a warning.
  warnings.clear();
  Widget form = XmCreateForm(XtParent(bar), const_cast<char *>("holder"), nullptr, 0);
  Widget option = BuildMenu(form, XmMENU_OPTION, "Choice", 0, false, items);
  ASSERT_TRUE(option);
  EXPECT_STREQ(XtName(option), "Choice");
  ASSERT_EQ(warnings.size(), 1u) << ::testing::PrintToString(warnings);
  EXPECT_EQ(warnings[0], "You can't have submenus from option menus.");
  Widget option_pane = nullptr;
  XtVaGetValues(option, XmNsubMenuId, &option_pane, nullptr);
  EXPECT_EQ(children(option_pane).size(), 1u);

  Widget popup = BuildMenu(form, XmMENU_POPUP, "Popup", 0, false, items);
  ASSERT_TRUE(popup);
  EXPECT_STREQ(XtName(popup), "_popup");
  unsigned char enabled = 0;
  XtVaGetValues(popup, XmNpopupEnabled, &enabled, nullptr);
  EXPECT_EQ(enabled, XmPOPUP_AUTOMATIC_RECURSIVE);
  XtDestroyWidget(shell);
}

// A help viewer that writes the page it was given into a file.
class HelpViewer {
 public:
  HelpViewer() {
    char pattern[] = "/tmp/setup-help-XXXXXX";
    root = mkdtemp(pattern);
    mkdir((root + "/help").c_str(), 0755);
    for (const char *topic : {"setup_overview", "zamo_general_setups"})
      std::ofstream(root + "/help/" + topic + ".html") << "<p>" << topic << "</p>\n";
    std::string viewer = root + "/viewer";
    std::ofstream(viewer) << "#!/bin/sh\necho \"$1\" > " << root << "/shown.tmp && mv " << root
                          << "/shown.tmp " << root << "/shown\n";
    chmod(viewer.c_str(), 0755);
    setenv("ZAMO_ROOT", root.c_str(), 1);
    setenv("ZAMO_HELP_VIEWER", viewer.c_str(), 1);
  }
  ~HelpViewer() {
    unsetenv("ZAMO_ROOT");
    unsetenv("ZAMO_HELP_VIEWER");
    std::system(("rm -rf " + root).c_str());
  }
  // The page shown since the last call, waiting up to two seconds.
  std::string shown() {
    std::string path = root + "/shown";
    for (int i = 0; i < 200 && access(path.c_str(), F_OK) != 0; ++i) usleep(10000);
    std::ifstream file(path);
    std::string page;
    std::getline(file, page);
    unlink(path.c_str());
    return page.substr(page.rfind('/') + 1);
  }
  std::string root;
};

TEST_F(AppGui, HelpCommandTopics) {
  HelpViewer viewer;
  MenuItem items[] = {
      {"On Menu...", &xmPushButtonGadgetClass, 'M', nullptr, nullptr, help_command, nullptr, nullptr},
      {nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr}};
  Widget shell;
  Widget bar = new_menu_bar(&shell);
  static char topic[] = "zamo_general_setups";
  XtVaSetValues(bar, XmNuserData, topic, nullptr);
  Widget cascade = BuildMenu(bar, XmMENU_PULLDOWN, "Help", 'H', false, items);
  Widget pane = nullptr;
  XtVaGetValues(cascade, XmNsubMenuId, &pane, nullptr);
  Widget entry = children(pane).at(0);
  ASSERT_TRUE(entry);
  // Without client data: the topic stored on the entry's menu bar.
  XtCallCallbacks(entry, XmNactivateCallback, nullptr);
  EXPECT_EQ(viewer.shown(), "zamo_general_setups.html");
  // With client data: that topic.
  static char overview[] = "setup_overview";
  help_command(entry, overview, nullptr);
  EXPECT_EQ(viewer.shown(), "setup_overview.html");
  XtDestroyWidget(shell);
}

TEST_F(AppGui, ClockTitleFormat) {
  EXPECT_EQ(clock_title(1, "radar1", "10:15:00 06-DEC-2026 UTC"),
            "Radar Control Processor Setups, radar1     10:15:00 06-DEC-2026 UTC");
  EXPECT_EQ(clock_title(5, "h", "t"), "ZAMO Output Device Setups, h     t");
  std::string now = clock_time_text();
  EXPECT_GE(now.size(), 20u);
  EXPECT_EQ(now[2], ':');
}

std::string shell_title(Widget w) {
  char *title = nullptr;
  XtVaGetValues(w, XmNtitle, &title, nullptr);
  return title ? title : "";
}

TEST_F(AppGui, ClockPutsTheTimeIntoOpenPageWindows) {
  snprintf(host_name, sizeof host_name, "%s", "radar9");
  update_page_titles();  // no window yet: nothing to do, nothing breaks
  open_page(PAGE_CONTROL_PROCESSOR);
  gui_process(100);
  PageWindow *window = page_window(PAGE_CONTROL_PROCESSOR);
  ASSERT_TRUE(window && window->form_dialog);
  EXPECT_EQ(page_window(PAGE_GENERAL), nullptr);

  // The clock's first run comes later; then it keeps running every second.
  XtAppAddTimeOut(app_context, 0, status_clock, nullptr);
  gui_process(100);
  std::string first = shell_title(XtParent(window->form_dialog));
  std::string prefix = "Radar Control Processor Setups, radar9     ";
  ASSERT_EQ(first.compare(0, prefix.size(), prefix), 0) << first;
  // The time text follows: "HH:MM:SS DD-MON-YYYY ZONE", today's date.
  EXPECT_EQ(first.substr(prefix.size() + 8), clock_time_text().substr(8)) << first;
  gui_process(2100);
  std::string later = shell_title(XtParent(window->form_dialog));
  EXPECT_EQ(later.compare(0, prefix.size(), prefix), 0);
  EXPECT_NE(later, first) << "the title is renewed every second";
  XtUnmanageChild(window->form_dialog);
}

TEST_F(AppGui, WarningDialogButtonsByMode) {
  show_warning(WarningInformation, "Nothing has changed", "OK", nullptr);
  gui_process(100);
  Widget dialog = gui_find(top_level, "warndiag");
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(XtIsManaged(dialog));
  EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(dialog, XmDIALOG_CANCEL_BUTTON)));
  EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(dialog, XmDIALOG_HELP_BUTTON)));
  unsigned char style = 0;
  XtVaGetValues(dialog, XmNdialogStyle, &style, nullptr);
  EXPECT_EQ(style, XmDIALOG_FULL_APPLICATION_MODAL);
  char *title = nullptr;
  XtVaGetValues(XtParent(dialog), XmNtitle, &title, nullptr);
  EXPECT_STREQ(title, "Warning");
  XtCallCallbacks(XmMessageBoxGetChild(dialog, XmDIALOG_OK_BUTTON), XmNactivateCallback, nullptr);
  gui_process(50);
  EXPECT_FALSE(XtIsManaged(dialog));

  // The same dialog asks again, now with both buttons.
  show_warning(WarningReadOnly, "Question", "OK", "Exit Setup");
  EXPECT_EQ(gui_find(top_level, "warndiag"), dialog);
  Widget cancel = XmMessageBoxGetChild(dialog, XmDIALOG_CANCEL_BUTTON);
  EXPECT_TRUE(XtIsManaged(cancel));
  EXPECT_EQ(label_text(cancel), "Exit Setup");
  EXPECT_EQ(label_text(XmMessageBoxGetChild(dialog, XmDIALOG_MESSAGE_LABEL)), "Question");
  hide_warning();
}

TEST_F(AppGui, LoadingDialog) {
  show_loading_dialog("Loading setup data");
  Widget dialog = gui_find(top_level, "loaddiag");
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(XtIsManaged(dialog));
  for (unsigned char child :
       {XmDIALOG_OK_BUTTON, XmDIALOG_CANCEL_BUTTON, XmDIALOG_HELP_BUTTON, XmDIALOG_SEPARATOR})
    EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(dialog, child)));
  char *title = nullptr;
  XtVaGetValues(XtParent(dialog), XmNtitle, &title, nullptr);
  EXPECT_STREQ(title, "SETUP: Loading Data");
  hide_loading_dialog();
  EXPECT_FALSE(XtIsManaged(dialog));
}

Pixmap pixmap_of(Widget w, const char *resource) {
  Pixmap pixmap = None;
  XtVaGetValues(w, resource, &pixmap, nullptr);
  return pixmap;
}

TEST_F(AppGui, PixmapsFromTheBitmapDirectory) {
  setenv("ZAMO_BITMAPS", SETUP_SOURCE_DIR "/data/", 1);
  Widget shell = XtVaAppCreateShell("icons", "setup", topLevelShellWidgetClass, main_display, nullptr);
  Widget form = XmCreateForm(shell, const_cast<char *>("form"), nullptr, 0);
  static const char red[] = "red";
  Widget label = XtVaCreateManagedWidget("picture", xmLabelWidgetClass, form, XtVaTypedArg, XmNbackground,
                                         XmRString, red, sizeof red, nullptr);

  // The icon is an XPM whose "none" colour becomes the widget's background.
  load_pixmap(PixmapLabel, 1, label, "util_setup.pm");
  Pixmap icon = pixmap_of(label, XmNlabelPixmap);
  ASSERT_NE(icon, None);
  ASSERT_NE(icon, XmUNSPECIFIED_PIXMAP);
  XImage *image = XGetImage(main_display, icon, 0, 0, 1, 1, AllPlanes, ZPixmap);
  ASSERT_TRUE(image);
  Pixel background = 0;
  XtVaGetValues(label, XmNbackground, &background, nullptr);
  EXPECT_EQ(XGetPixel(image, 0, 0), background) << "transparent corner";
  XDestroyImage(image);
  unsigned char type = 0;
  XtVaGetValues(label, XmNlabelType, &type, nullptr);
  EXPECT_EQ(type, XmPIXMAP);

  // An X bitmap, as the insensitive variant.
  load_pixmap(PixmapLabel, 2, label, "xm_hour32.bm");
  Pixmap hourglass = pixmap_of(label, XmNlabelInsensitivePixmap);
  EXPECT_NE(hourglass, None);
  EXPECT_NE(hourglass, XmUNSPECIFIED_PIXMAP);
  EXPECT_EQ(pixmap_of(label, XmNlabelPixmap), icon);

  // The shell's icon, as start-up sets it; a missing file changes nothing.
  load_pixmap(PixmapIcon, 0, shell, "util_setup.pm");
  Pixmap shell_icon = pixmap_of(shell, XmNiconPixmap);
  EXPECT_NE(shell_icon, None);
  load_pixmap(PixmapIcon, 0, shell, "no_such_icon.pm");
  EXPECT_EQ(pixmap_of(shell, XmNiconPixmap), shell_icon);
  XtDestroyWidget(shell);
}

TEST_F(AppGui, BusyCursorNeedsBothBitmaps) {
  unsetenv("ZAMO_BITMAPS");
  EXPECT_EQ(make_busy_cursor(main_display, "xm_hour32.bm", "xm_hour32m.bm"), (Cursor)None);
  setenv("ZAMO_BITMAPS", SETUP_SOURCE_DIR "/data/", 1);
  Cursor cursor = make_busy_cursor(main_display, "xm_hour32.bm", "xm_hour32m.bm");
  EXPECT_NE(cursor, (Cursor)None);
  EXPECT_EQ(make_busy_cursor(main_display, "xm_hour32.bm", "missing_mask.bm"), (Cursor)None);
  // A mask of another size would be refused by the server; no cursor instead.
  EXPECT_EQ(make_busy_cursor(main_display, "xm_hour32.bm", "util_setup.pm"), (Cursor)None);
  XSync(main_display, False);
  unsetenv("ZAMO_BITMAPS");
}

// Runs last: it arms the start-up load.
TEST_F(AppGui, ReadOnlyStartKeepsSaveButMakesItInsensitive) {
  MainWindow m = build_main_window(0);
  snprintf(host_name, sizeof host_name, "%s", "radar7");
  arm_start_timeouts(false);
  gui_process(450);
  Widget dialog = gui_find(top_level, "warndiag");
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(XtIsManaged(dialog));
  EXPECT_EQ(label_text(XmMessageBoxGetChild(dialog, XmDIALOG_MESSAGE_LABEL)),
            "You must be an operator to save");
  ASSERT_TRUE(save_entry);
  EXPECT_TRUE(XtIsSensitive(save_entry));

  XtCallCallbacks(XmMessageBoxGetChild(dialog, XmDIALOG_OK_BUTTON), XmNactivateCallback, nullptr);
  EXPECT_FALSE(XtIsManaged(dialog));
  EXPECT_FALSE(XtIsSensitive(save_entry));
  Widget loading = gui_find(top_level, "loaddiag");
  ASSERT_TRUE(loading);
  EXPECT_EQ(label_text(XmMessageBoxGetChild(loading, XmDIALOG_MESSAGE_LABEL)),
            "Loading setup data from radar7");
  char *title = nullptr;
  XtVaGetValues(top_level, XmNtitle, &title, nullptr);
  EXPECT_STREQ(title, "SETUP, radar7");
  XtDestroyWidget(m.shell);
}

}  // namespace
