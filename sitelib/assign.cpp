// Typed assignment of an edited value into a setup field.
//
// Integer fields round to nearest, halves away from zero, and saturate at
// the limits of their type; NaN stores 0. The comparisons happen in double
// before any conversion, so no value, however large, reaches a cast that
// the language leaves undefined.
//
// Float fields keep NaN and the infinities as they are (both are float
// values) and saturate finite values beyond the float range at +-FLT_MAX;
// in-range values round to the nearest float. Double fields store the value
// unchanged.
#include <cfloat>
#include <cmath>
#include <limits>

#include "sitelib/sitelib.h"

namespace {

template <typename Integer>
Integer rounded_saturated(double value) {
  if (std::isnan(value)) return 0;
  // Every limit of an integer of up to 32 bits is exact in a double.
  const double lowest = static_cast<double>(std::numeric_limits<Integer>::min());
  const double highest = static_cast<double>(std::numeric_limits<Integer>::max());
  const double rounded = std::round(value);
  if (rounded <= lowest) return std::numeric_limits<Integer>::min();
  if (rounded >= highest) return std::numeric_limits<Integer>::max();
  return static_cast<Integer>(rounded);
}

float float_saturated(double value) {
  if (std::isnan(value) || std::isinf(value)) return static_cast<float>(value);
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace

void AssignValue(int8_t *field, double value) { *field = rounded_saturated<int8_t>(value); }
void AssignValue(uint8_t *field, double value) { *field = rounded_saturated<uint8_t>(value); }
void AssignValue(int16_t *field, double value) { *field = rounded_saturated<int16_t>(value); }
void AssignValue(uint16_t *field, double value) { *field = rounded_saturated<uint16_t>(value); }
void AssignValue(int32_t *field, double value) { *field = rounded_saturated<int32_t>(value); }
void AssignValue(uint32_t *field, double value) { *field = rounded_saturated<uint32_t>(value); }
void AssignValue(float *field, double value) { *field = float_saturated(value); }
void AssignValue(double *field, double value) { *field = value; }
