// The bounds error dialog: the bounds error list of items/bounds.h in a
// Motif template dialog with Repair and Cancel, made (child of top_level)
// with the first line added once a top-level shell exists.
#pragma once

#include <X11/Intrinsic.h>

#include "items/bounds.h"

// The Repair action: retitles the dialog, empties the list, repairs every
// page and removes the Repair button.
void repair_bounds(void);
// Manages the bounds error dialog when error_found is set.
void show_bounds_if_errors(void);
// The dialog, or nullptr before the first line with a display.
Widget bounds_dialog(void);

// Shows the list in the dialog from now on.
void show_bounds_in_dialog(void);
