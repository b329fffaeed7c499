#include "items/front_end.h"

namespace {
const FrontEnd *installed = nullptr;
}  // namespace

void install_front_end(const FrontEnd *front_end) { installed = front_end; }

const FrontEnd *installed_front_end(void) { return installed; }
