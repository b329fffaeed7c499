// The editor's File menu commands and its start-up load, over the store.
#pragma once

#include <X11/Intrinsic.h>

// Xt timeout armed by start-up: loads every area of the mode and checks it.
void start_up_load(XtPointer client, XtIntervalId *id);

void save_command(Widget w, XtPointer client, XtPointer call);
void exit_command(Widget w, XtPointer client, XtPointer call);
void list_all_command(Widget w, XtPointer client, XtPointer call);
// Client data: the page number.
void list_page_command(Widget w, XtPointer page_number, XtPointer call);

// The save question's OK: saves the changed areas and exits 0 when every
// write succeeded.
void save_and_exit(void);
