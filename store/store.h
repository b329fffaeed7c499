// Loading, editing and storage form, checksums, save, exit and listing.
#pragma once

#include <X11/Intrinsic.h>

#include <cstdio>

// Xt timeout armed by start-up: loads every area of the mode and checks it.
void start_up_load(XtPointer client, XtIntervalId *id);

// Direction 1: to editing form; 0: to storage form.
void convert_form(int direction);

// Appends message_to_text(status) to the error status dialog (0x6B001F is
// not reported).
void report_error_status(int status);

// File menu commands.
void save_command(Widget w, XtPointer client, XtPointer call);
void exit_command(Widget w, XtPointer client, XtPointer call);
void list_all_command(Widget w, XtPointer client, XtPointer call);
// Client data: the page number.
void list_page_command(Widget w, XtPointer page_number, XtPointer call);

// The save question's OK: saves the changed areas and exits 0 when every
// write succeeded.
void save_and_exit(void);
