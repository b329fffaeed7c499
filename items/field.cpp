#include "items/field.h"

#include <cstdio>
#include <cstring>
#include <type_traits>
#include <vector>

#include "sitelib/sitelib.h"

namespace {

struct RecordCopies {
  const char *current;
  const char *limits;  // three copies of `size` bytes each
  size_t size;
};

// Function-local so that records registered from static initialisers in
// other sources find it constructed.
std::vector<RecordCopies> &records() {
  static std::vector<RecordCopies> list;
  return list;
}

const RecordCopies *record_holding(const void *address) {
  const char *p = static_cast<const char *>(address);
  for (const RecordCopies &r : records())
    if (p >= r.current && p < r.current + r.size) return &r;
  return nullptr;
}

// Calls `action` with a null pointer of the field's storage type, so each
// operation below is written once for all eight types.
template <typename Action>
auto with_storage_type(FieldType type, Action action) {
  switch (type) {
    case FieldType::Int8:
      return action(static_cast<int8_t *>(nullptr));
    case FieldType::UInt8:
      return action(static_cast<uint8_t *>(nullptr));
    case FieldType::Int16:
      return action(static_cast<int16_t *>(nullptr));
    case FieldType::UInt16:
      return action(static_cast<uint16_t *>(nullptr));
    case FieldType::Int32:
      return action(static_cast<int32_t *>(nullptr));
    case FieldType::UInt32:
      return action(static_cast<uint32_t *>(nullptr));
    case FieldType::Float:
      return action(static_cast<float *>(nullptr));
    case FieldType::Double:
      break;
  }
  return action(static_cast<double *>(nullptr));
}

double read_as(FieldType type, const void *address) {
  return with_storage_type(type, [address](auto *typed) {
    using T = std::remove_pointer_t<decltype(typed)>;
    T value;
    std::memcpy(&value, address, sizeof value);
    return static_cast<double>(value);
  });
}

}  // namespace

void register_setup_record(void *current, void *limits, size_t size) {
  records().push_back({static_cast<const char *>(current), static_cast<const char *>(limits), size});
}

double field_value(const Field &f) { return read_as(f.type, f.address); }

double field_limit(const Field &f, int copy) {
  const RecordCopies *r = record_holding(f.address);
  if (!r || copy < COPY_MIN || copy > COPY_FACTORY) return 0;  // no limits: reported as missing
  size_t offset = static_cast<const char *>(f.address) - r->current;
  return read_as(f.type, r->limits + copy * r->size + offset);
}

void field_assign(const Field &f, double value) {
  with_storage_type(f.type, [&f, value](auto *typed) {
    AssignValue(static_cast<decltype(typed)>(f.address), value);
    return 0;
  });
}

const char *field_path(const Field &f, char *buffer, size_t size) {
  if (size == 0) return buffer;
  if (f.index >= 0)
    std::snprintf(buffer, size, f.path, f.index);
  else
    std::snprintf(buffer, size, "%s", f.path);
  return buffer;
}
