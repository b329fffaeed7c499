// Bound fields: a pointer into the current copy of a setup record, its
// storage type and the path that internal error reports name. The minimum,
// maximum and factory values lie at the same offset in the record's three
// limit copies, which are found through the record registry below.
#pragma once

#include <cstddef>
#include <cstdint>

enum class FieldType { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float, Double };

struct Field {
  void *address;
  FieldType type;
  const char *path;  // a printf format with one %d when index >= 0
  int index;
};

inline Field bind_field(int8_t *p, const char *path, int index = -1) {
  return {p, FieldType::Int8, path, index};
}
inline Field bind_field(uint8_t *p, const char *path, int index = -1) {
  return {p, FieldType::UInt8, path, index};
}
inline Field bind_field(int16_t *p, const char *path, int index = -1) {
  return {p, FieldType::Int16, path, index};
}
inline Field bind_field(uint16_t *p, const char *path, int index = -1) {
  return {p, FieldType::UInt16, path, index};
}
inline Field bind_field(int32_t *p, const char *path, int index = -1) {
  return {p, FieldType::Int32, path, index};
}
inline Field bind_field(uint32_t *p, const char *path, int index = -1) {
  return {p, FieldType::UInt32, path, index};
}
inline Field bind_field(float *p, const char *path, int index = -1) {
  return {p, FieldType::Float, path, index};
}
inline Field bind_field(double *p, const char *path, int index = -1) {
  return {p, FieldType::Double, path, index};
}

// FIELD(zel.iBaudRate1): the field and its path, written once.
#define FIELD(expr) bind_field(&(expr), #expr)
// FIELD_AT(dsp.ipwidths, c): element c, reported as "dsp.ipwidths[0]".
#define FIELD_AT(array, i) bind_field(&((array)[i]), #array "[%d]", (i))
// FIELD_AS(expr, "path"): a path that differs from the expression's text.
#define FIELD_AS(expr, path) bind_field(&(expr), path)

struct TextField {
  char *address;
  int size;  // bytes of the setup field
};
// TEXT(zel.sDevice1): a fixed-size text field of a setup record.
#define TEXT(expr) \
  TextField { (expr), static_cast<int>(sizeof(expr)) }

// Limit copies: 0 minimum, 1 maximum, 2 factory (the setup_limits selectors).
enum { COPY_MIN = 0, COPY_MAX = 1, COPY_FACTORY = 2 };

// Registers a record's current copy and its array of three limit copies.
void register_setup_record(void *current, void *limits, size_t size);

double field_value(const Field &f);
double field_limit(const Field &f, int copy);  // minimum, maximum or factory
// Stores through the AssignValue overload of the field's type.
void field_assign(const Field &f, double value);
// The path with its index filled in, for the internal error report.
const char *field_path(const Field &f, char *buffer, size_t size);
