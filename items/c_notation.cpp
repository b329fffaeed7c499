#include "items/c_notation.h"

#include <locale.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

locale_t c_numeric() {
  static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// Runs `action` with the calling thread's numeric locale set to C.
template <typename Action>
auto in_c_notation(Action action) {
  const locale_t c = c_numeric();
  const locale_t previous = c ? uselocale(c) : static_cast<locale_t>(0);
  auto result = action();
  if (previous) uselocale(previous);
  return result;
}

}  // namespace

double strtod_c(const char *text, char **end) {
  return in_c_notation([&] { return std::strtod(text, end); });
}

int vformat_c(char *buffer, size_t size, const char *format, va_list args) {
  return in_c_notation([&] { return std::vsnprintf(buffer, size, format, args); });
}
