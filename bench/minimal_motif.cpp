// The smallest Motif program that starts as the editor does: locale, the
// same resource file, a top-level shell with a main window, a menu bar and
// one label. The benchmark times the editor's start-up against it. The main
// window has the editor's name, which the resource file gives its fonts by.
#include <X11/Xresource.h>
#include <Xm/CascadeB.h>
#include <Xm/Label.h>
#include <Xm/MainW.h>
#include <Xm/RowColumn.h>

#include <clocale>
#include <cstdlib>
#include <string>

int main(int argc, char **argv) {
  std::setlocale(LC_ALL, "");
  if (XSupportsLocale()) XtSetLanguageProc(nullptr, nullptr, nullptr);
  XtAppContext app;
  Widget top = XtVaAppInitialize(&app, "setup", nullptr, 0, &argc, argv, nullptr, XmNwidth, 620, XmNheight,
                                 215, nullptr);
  const char *defaults = std::getenv("ZAMO_APP_DEFAULTS");
  std::string file = std::string(defaults ? defaults : "") + "tolvek";
  XrmDatabase database = XrmGetDatabase(XtDisplay(top));
  if (XrmCombineFileDatabase(file.c_str(), &database, True)) XrmSetDatabase(XtDisplay(top), database);

  Widget main_window = XmCreateMainWindow(top, const_cast<char *>("setupmain"), nullptr, 0);
  Widget bar = XmCreateMenuBar(main_window, const_cast<char *>("bar"), nullptr, 0);
  XtManageChild(XmCreateCascadeButton(bar, const_cast<char *>("File"), nullptr, 0));
  XtManageChild(XmCreateCascadeButton(bar, const_cast<char *>("Help"), nullptr, 0));
  XtManageChild(XmCreateLabel(main_window, const_cast<char *>("label"), nullptr, 0));
  XtVaSetValues(main_window, XmNmenuBar, bar, nullptr);
  XtManageChild(bar);
  XtManageChild(main_window);
  XtRealizeWidget(top);
  XtAppMainLoop(app);
  return 0;
}
