#include "tests/support/gui.h"

// IntrinsicP.h before CoreP.h, which needs its types.
// clang-format off
#include <X11/IntrinsicP.h>
#include <X11/CoreP.h>
// clang-format on
#include <X11/Shell.h>
#include <Xm/Xm.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "motif/front_end.h"
#include "motif/server_answers.h"
#include "motif/state.h"

bool gui_init(void) {
  if (top_level) return true;
  static int argc = 1;
  static char name[] = "setup";
  static char *argv[] = {name, nullptr};
  XtSetLanguageProc(nullptr, nullptr, nullptr);
  top_level = XtVaAppInitialize(&app_context, "setup", nullptr, 0, &argc, argv, nullptr, XmNwidth, 620,
                                XmNheight, 215, nullptr);
  if (!top_level) return false;
  allocate_shadow_colours_together();  // as the editor does
  main_display = XtDisplay(top_level);
  install_front_end(&motif_front_end);
  XtRealizeWidget(top_level);
  shell_window = XtWindow(top_level);
  finish_start_up_answers();  // as the editor does before its main loop
  return true;
}

void gui_process(int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    while (XtAppPending(app_context)) XtAppProcessEvent(app_context, XtIMAll);
    XSync(main_display, False);
    usleep(2000);
  } while (std::chrono::steady_clock::now() < end);
  while (XtAppPending(app_context)) XtAppProcessEvent(app_context, XtIMAll);
}

Widget gui_find(Widget root, const char *name) {
  if (!root) return nullptr;
  if (std::strcmp(XtName(root), name) == 0) return root;
  WidgetList children = nullptr;
  Cardinal count = 0;
  if (XtIsComposite(root)) {
    XtVaGetValues(root, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i)
      if (Widget found = gui_find(children[i], name)) return found;
  }
  if (XtIsWidget(root)) {
    for (Cardinal i = 0; i < root->core.num_popups; ++i)
      if (Widget found = gui_find(root->core.popup_list[i], name)) return found;
  }
  return nullptr;
}
