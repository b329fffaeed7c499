#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sitelib/schema.h"

const SchemaField *Schema::find(const std::string &path) const {
  auto it = by_path.find(path);
  return it == by_path.end() ? nullptr : &fields[it->second];
}

SchemaBuilder::SchemaBuilder(Schema &schema, const void *shape, size_t record_size)
    : schema_(schema), shape_(static_cast<const char *>(shape)) {
  schema_.record_size = record_size;
}

namespace {
// A table mistake is a programming error: stop at once, naming the field.
[[noreturn]] void schema_error(const std::string &path, const char *what) {
  std::fprintf(stderr, "site library schema: %s: %s\n", path.c_str(), what);
  std::abort();
}
}  // namespace

void SchemaBuilder::add(const void *f, SchemaType type, size_t size, const std::string &path, double min,
                        double max, double factory) {
  SchemaField field;
  field.path = path;
  field.type = type;
  field.kind = SchemaKind::Number;
  field.offset = static_cast<size_t>(static_cast<const char *>(f) - shape_);
  field.size = size;
  field.minimum = min;
  field.maximum = max;
  field.factory = factory;
  if (field.offset + size > schema_.record_size) schema_error(path, "lies outside the record");
  if (!schema_.by_path.emplace(path, schema_.fields.size()).second) schema_error(path, "described twice");
  schema_.fields.push_back(std::move(field));
}

void SchemaBuilder::add_text(const char *f, size_t size, const std::string &path, const char *factory) {
  if (std::strlen(factory) > size) schema_error(path, "factory text longer than the field");
  add(f, SchemaType::Text, size, path, 0, 0, 0);
  last().kind = SchemaKind::Text;
  last().factory_text = factory;
}

void SchemaBuilder::number(const int8_t &f, const std::string &path, double min, double max, double factory) {
  add(&f, SchemaType::Int8, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const uint8_t &f, const std::string &path, double min, double max,
                           double factory) {
  add(&f, SchemaType::UInt8, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const int16_t &f, const std::string &path, double min, double max,
                           double factory) {
  add(&f, SchemaType::Int16, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const uint16_t &f, const std::string &path, double min, double max,
                           double factory) {
  add(&f, SchemaType::UInt16, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const int32_t &f, const std::string &path, double min, double max,
                           double factory) {
  add(&f, SchemaType::Int32, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const uint32_t &f, const std::string &path, double min, double max,
                           double factory) {
  add(&f, SchemaType::UInt32, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const float &f, const std::string &path, double min, double max, double factory) {
  add(&f, SchemaType::Float, sizeof f, path, min, max, factory);
}
void SchemaBuilder::number(const double &f, const std::string &path, double min, double max, double factory) {
  add(&f, SchemaType::Double, sizeof f, path, min, max, factory);
}

double SchemaBuilder::values_min(std::initializer_list<long> values) {
  return static_cast<double>(*std::min_element(values.begin(), values.end()));
}
double SchemaBuilder::values_max(std::initializer_list<long> values) {
  return static_cast<double>(*std::max_element(values.begin(), values.end()));
}

std::string indexed(const std::string &array, int index) { return array + "[" + std::to_string(index) + "]"; }

double deg16(double degrees) { return std::round(degrees * 65536.0 / 360.0); }
double deg32(double degrees) { return std::round(degrees * 4294967296.0 / 360.0); }

namespace {
template <class T>
void store_as(void *at, double value) {
  T v = static_cast<T>(value);
  std::memcpy(at, &v, sizeof v);
}

}  // namespace

void schema_store(const SchemaField &f, void *record, double value) {
  char *at = static_cast<char *>(record) + f.offset;
  switch (f.type) {
    case SchemaType::Int8:
      return store_as<int8_t>(at, value);
    case SchemaType::UInt8:
      return store_as<uint8_t>(at, value);
    case SchemaType::Int16:
      return store_as<int16_t>(at, value);
    case SchemaType::UInt16:
      return store_as<uint16_t>(at, value);
    case SchemaType::Int32:
      return store_as<int32_t>(at, value);
    case SchemaType::UInt32:
      return store_as<uint32_t>(at, value);
    case SchemaType::Float:
      return store_as<float>(at, value);
    case SchemaType::Double:
      return store_as<double>(at, value);
    case SchemaType::Text:
      return;
  }
}

void schema_fill(const Schema &schema, void *record, int which, const char *skip) {
  char *base = static_cast<char *>(record);
  for (const SchemaField &f : schema.fields) {
    if (skip && f.path == skip) continue;
    char *at = base + f.offset;
    if (f.type == SchemaType::Text) {
      std::memset(at, 0, f.size);
      if (which == LIMITS_FACTORY) std::memcpy(at, f.factory_text.data(), f.factory_text.size());
      continue;
    }
    schema_store(f, record, which == LIMITS_MIN ? f.minimum : which == LIMITS_MAX ? f.maximum : f.factory);
  }
}
