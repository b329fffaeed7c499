// The status clock: the time in every page window's title, once a second.
#pragma once

#include <X11/Intrinsic.h>

#include <string>

// "HH:MM:SS DD-MON-YYYY ZONE" for now.
std::string clock_time_text(void);

// The title of a page: its clock title with the host name and time text.
std::string clock_title(int page_number, const char *host, const std::string &time_text);

// Sets the titles of the existing page windows once.
void update_page_titles(void);

// Xt timeout: updates the titles and re-arms itself after a second.
void status_clock(XtPointer client, XtIntervalId *id);
