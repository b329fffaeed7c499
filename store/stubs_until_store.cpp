// Placeholders until loading, saving and listing arrive.
#include "store/dialogs.h"
#include "store/store.h"

void start_up_load(XtPointer, XtIntervalId *) { hide_loading_dialog(); }
void convert_form(int) {}
void report_error_status(int) {}
void save_command(Widget, XtPointer, XtPointer) {}
void exit_command(Widget, XtPointer, XtPointer) {}
void list_all_command(Widget, XtPointer, XtPointer) {}
void list_page_command(Widget, XtPointer, XtPointer) {}
void save_and_exit(void) {}
