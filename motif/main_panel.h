// The main window's block diagram: the "Radar Interfaces" frame with the
// processor buttons and, in full mode, the ZAMO frame with the data-system
// buttons, joined by thin black lines.
#pragma once

#include <X11/Intrinsic.h>

// Builds the panel of the current mode into the main window's form.
void build_main_panel(Widget form);
