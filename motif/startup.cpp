#include "motif/startup.h"

#include <X11/Xresource.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "items/i18n.h"
#include "motif/commands.h"
#include "motif/dialogs.h"
#include "motif/menu.h"
#include "motif/review.h"
#include "motif/state.h"
#include "sitelib/installation.h"
#include "sitelib/sitelib.h"
#include "store/store.h"

// The library's own version text ("@(#)Motif Version 2.3.8"); the headers
// only give the version the program was compiled against.
extern "C" char _XmVersionString[];

Widget save_entry = nullptr;

namespace {

const char *const DISPLAY_OPTIONS[] = {"disp", "display"};

bool is_display_option(const char *word) {
  for (const char *option : DISPLAY_OPTIONS)
    if (std::strcmp(word, option) == 0) return true;
  return false;
}

}  // namespace

CommandLine parse_command_line(int argc, char **argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const char *arg = argv[i];
    if (arg[0] != '-') {
      line.usage_error = true;
      continue;
    }
    const char *word = arg + 1;
    if (is_display_option(word)) {
      if (i + 1 >= argc) {
        line.usage_error = true;
        continue;
      }
      line.display = argv[++i];
      line.display_given = true;
    } else if (std::strcmp(word, "zamo") == 0) {
      line.mode_chosen = true;
      line.full_mode = 1;
    } else if (std::strcmp(word, "rda") == 0 || std::strcmp(word, "kox2") == 0) {
      line.mode_chosen = true;
      line.full_mode = 0;
    } else {
      line.usage_error = true;
    }
  }
  return line;
}

// setenv copies the name, so it lives for the run whatever its length.
void set_display(const std::string &name) { setenv("DISPLAY", name.c_str(), 1); }

void print_usage(void) {
  std::fputs(_("Usage: setup [-zamo] [-rda]\n"), stdout);
  std::fflush(stdout);
}

uint8_t toolkit_is_motif(void) { return std::strstr(_XmVersionString, "Motif") ? 1 : 0; }

std::string fallback_resource_file(void) {
  const char *defaults = std::getenv("ZAMO_APP_DEFAULTS");
  return (defaults ? std::string(defaults) : installed_data_directory() + "/") + "tolvek";
}

void merge_resource_files(Display *display) {
  XrmDatabase database = XrmGetDatabase(display);
  // Xlib opens the files itself: a FIFO or device in their place would hang
  // or flood the start, so only regular files of sane size are handed over.
  const size_t max_bytes = 1u << 20;
  Status merged =
      site_regular_file("tolvek.rf", max_bytes) && XrmCombineFileDatabase("tolvek.rf", &database, True);
  if (!merged) {
    const std::string fallback = fallback_resource_file();
    merged = site_regular_file(fallback.c_str(), max_bytes) &&
             XrmCombineFileDatabase(fallback.c_str(), &database, True);
  }
  if (merged) XrmSetDatabase(display, database);
}

namespace {

MenuItem file_items[] = {
    {N_("Save"), &xmPushButtonGadgetClass, NC_("mnemonic: main window, File > Save", "S"), nullptr, nullptr,
     save_command, nullptr, nullptr},
    {N_("List"), &xmPushButtonGadgetClass, NC_("mnemonic: main window, File > List", "L"), nullptr, nullptr,
     list_all_command, nullptr, nullptr},
    {N_("Find..."), &xmPushButtonGadgetClass, NC_("mnemonic: main window, File > Find...", "n"), "Ctrl<Key>f",
     "Ctrl+F", find_command, nullptr, nullptr},
    {N_("Changes..."), &xmPushButtonGadgetClass, NC_("mnemonic: main window, File > Changes...", "g"),
     nullptr, nullptr, changes_command, nullptr, nullptr},
    {"separator", &xmSeparatorGadgetClass, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {N_("Exit"), &xmPushButtonGadgetClass, NC_("mnemonic: main window, File > Exit", "E"), nullptr, nullptr,
     exit_command, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

char overview_topic[] = "setup_overview";

MenuItem help_items[] = {
    {N_("On Setup"), &xmPushButtonGadgetClass, NC_("mnemonic: main window, Help > On Setup", "S"), nullptr,
     nullptr, help_command, overview_topic, nullptr},
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

// The first entry of the File pane is Save.
Widget first_entry(Widget cascade) {
  Widget pane = nullptr;
  XtVaGetValues(cascade, XmNsubMenuId, &pane, nullptr);
  WidgetList children = nullptr;
  Cardinal count = 0;
  if (pane) XtVaGetValues(pane, XmNchildren, &children, XmNnumChildren, &count, nullptr);
  return count > 0 ? children[0] : nullptr;
}

void show_operator_loading(XtPointer, XtIntervalId *) { show_loading_dialog(_("Loading setup data")); }

void ask_read_only(XtPointer, XtIntervalId *) {
  show_warning(WarningReadOnly, _("You must be an operator to save"), _("OK"), _("Exit Setup"));
}

// The non-operator's "OK": everything but Save, loaded as for an operator.
void continue_read_only(void) {
  if (save_entry) XtSetSensitive(save_entry, False);
  char message[256];
  std::snprintf(message, sizeof message, _("Loading setup data from %s"), host_name);
  show_loading_dialog(message);
  XtAppAddTimeOut(app_context, 300, start_up_load, nullptr);
  set_shell_title();
}

}  // namespace

Widget build_main_menus(Widget main_window) {
  Widget bar = XmCreateMenuBar(main_window, const_cast<char *>("setupmainbar"), nullptr, 0);
  XtVaSetValues(main_window, XmNmenuBar, bar, nullptr);
  Widget file = BuildMenu(bar, XmMENU_PULLDOWN, _("File"), file_mnemonic, false, file_items);
  BuildMenu(bar, XmMENU_PULLDOWN, _("Help"), help_mnemonic, false, help_items);
  save_entry = first_entry(file);
  return bar;
}

void set_shell_title(void) {
  char title[128];
  std::snprintf(title, sizeof title, _("SETUP, %s"), host_name);
  XtVaSetValues(top_level, XmNtitle, title, XmNiconName, title, nullptr);
}

void arm_start_timeouts(bool is_operator) {
  if (is_operator) {
    XtAppAddTimeOut(app_context, 100, show_operator_loading, nullptr);
    XtAppAddTimeOut(app_context, 300, start_up_load, nullptr);
    set_shell_title();
  } else {
    set_read_only_continue(continue_read_only);
    XtAppAddTimeOut(app_context, 300, ask_read_only, nullptr);
  }
}
