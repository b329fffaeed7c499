// setup: the configuration editor of the radar installation.
#include <X11/Xlib.h>
#include <Xm/Form.h>
#include <Xm/MainW.h>
#include <Xm/MwmUtil.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "items/i18n.h"
#include "motif/clock.h"
#include "motif/front_end.h"
#include "motif/main_panel.h"
#include "motif/page_window.h"
#include "motif/pixmap.h"
#include "motif/server_answers.h"
#include "motif/startup.h"
#include "motif/state.h"
#include "session/session.h"
#include "sitelib/sitelib.h"

namespace {

const int SHELL_HEIGHT = 215;
// Resize, move, minimise and maximise; the window manager offers no close.
const int SHELL_FUNCTIONS = MWM_FUNC_RESIZE | MWM_FUNC_MOVE | MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE;

// Reads the command line and the installation; ends the program on a usage
// error before anything of the toolkit has started.
void choose_mode(int argc, char **argv) {
  full_mode = 1;
  CommandLine line = parse_command_line(argc, argv);
  if (line.display_given) set_display(line.display);
  if (line.usage_error) {
    print_usage();
    std::exit(1);
  }
  full_mode = line.mode_chosen ? line.full_mode : decide_full_mode(std::getenv("ZAMO_LIBEXEC_SERVICES"));
}

Widget create_main_window(void) {
  XtVaSetValues(top_level, XmNwidth, full_mode ? 620 : 240, XmNheight, SHELL_HEIGHT, XmNmwmFunctions,
                SHELL_FUNCTIONS, nullptr);
  Widget main_window = XmCreateMainWindow(top_level, const_cast<char *>("setupmain"), nullptr, 0);
  main_display = XtDisplay(main_window);
  return main_window;
}

// The page windows' one-time set-up asks the X server many questions; it
// waits until the start-up load or the read-only question (a 300 ms
// timeout, due first) has run, so that a slow display does not hold them
// up, then runs when idle.
const unsigned long kPrepareAfterMs = 301;
void prepare_when_idle(XtPointer, XtIntervalId *) {
  XtAppAddWorkProc(app_context, prepare_page_windows, nullptr);
}

}  // namespace

int main(int argc, char **argv) {
  install_front_end(&motif_front_end);
  std::setlocale(LC_ALL, "");
  init_message_catalogue("setup");
  motif_toolkit = toolkit_is_motif();
  tolvek_establish(0, "setup");
  read_host_name();
  choose_mode(argc, argv);
  if (XSupportsLocale()) XtSetLanguageProc(nullptr, nullptr, nullptr);
  count_seen = 0;
  for (const std::string &message : hide_long_toolkit_values())
    std::fprintf(stderr, "setup: %s\n", message.c_str());

  top_level = XtVaAppInitialize(&app_context, "setup", nullptr, 0, &argc, argv, nullptr, nullptr);
  allocate_shadow_colours_together();
  Widget main_window = create_main_window();
  load_pixmap(PixmapIcon, 0, top_level, "util_setup.pm");
  Widget form = XmCreateForm(main_window, const_cast<char *>(""), nullptr, 0);
  merge_resource_files(main_display);
  Widget menu_bar = build_main_menus(main_window);

  XtManageChild(main_window);
  XtManageChild(menu_bar);
  XtManageChild(form);
  build_main_panel(form);

  XtRealizeWidget(top_level);
  shell_window = XtWindow(top_level);
  busy_cursor = make_busy_cursor(main_display, "xm_hour32.bm", "xm_hour32m.bm");

  arm_start_timeouts(session::is_operator());
  XtAppAddTimeOut(app_context, 2000, status_clock, nullptr);
  XtAppAddTimeOut(app_context, kPrepareAfterMs, prepare_when_idle, nullptr);
  finish_start_up_answers();
  XtAppMainLoop(app_context);
  return 0;
}
