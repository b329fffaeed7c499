// The factory site of the store tests, with what the editor shows of it.
#pragma once

#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include "motif/commands.h"
#include "motif/state.h"
#include "tests/support/factory_site.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

// The warning dialog's message while it is shown, else "".
inline std::string shown_warning(void) {
  Widget dialog = gui_find(top_level, "warndiag");
  if (!dialog || !XtIsManaged(dialog)) return "";
  return message_text(dialog);
}
