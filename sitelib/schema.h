// Record schemas: every stored field of a setup record, once, with its path,
// storage type, place in the record, minimum, maximum and factory value.
// The setup files, setup_limits and the tests all walk these tables.
// Inner working of the site library: the program does not include this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "sitelib/sitelib.h"

// The limits sets of setup_limits.
enum { LIMITS_MIN = 0, LIMITS_MAX = 1, LIMITS_FACTORY = 2 };

enum class SchemaType { Int8, UInt8, Int16, UInt16, Int32, UInt32, Float, Double, Text };

// What a page makes of the field: it explains the limits (a choice spans the
// values offered) and lets the tests check them.
enum class SchemaKind { Number, Flag, Choice, Text };

struct SchemaField {
  std::string path;  // as the pages report it, with literal indices
  SchemaType type;
  SchemaKind kind;
  size_t offset;  // from the start of the record
  size_t size;    // bytes
  double minimum;
  double maximum;
  double factory;
  std::string factory_text;   // texts only
  std::vector<long> choices;  // choices only: the values offered
};

struct Schema {
  std::string name;  // the limits name
  size_t record_size = 0;
  std::string version_path;         // a text field holding the record's version, if any
  std::vector<SchemaField> fields;  // in record order
  std::unordered_map<std::string, size_t> by_path;

  const SchemaField *find(const std::string &path) const;
};

// Builds a schema from a "shape" record: fields are passed as members of
// that record, so their offsets and types come from the compiler. Tables
// read number(field, minimum, maximum, factory), flag(field, factory),
// choice(field, {values the page offers}, factory), text(field, factory).
class SchemaBuilder {
 public:
  SchemaBuilder(Schema &schema, const void *shape, size_t record_size);

  void number(const int8_t &f, const std::string &path, double min, double max, double factory);
  void number(const uint8_t &f, const std::string &path, double min, double max, double factory);
  void number(const int16_t &f, const std::string &path, double min, double max, double factory);
  void number(const uint16_t &f, const std::string &path, double min, double max, double factory);
  void number(const int32_t &f, const std::string &path, double min, double max, double factory);
  void number(const uint32_t &f, const std::string &path, double min, double max, double factory);
  void number(const float &f, const std::string &path, double min, double max, double factory);
  void number(const double &f, const std::string &path, double min, double max, double factory);

  // A 0/1 switch of any integer width.
  template <class T>
  void flag(const T &f, const std::string &path, int factory) {
    number(f, path, 0, 1, factory);
    last().kind = SchemaKind::Flag;
  }

  // A choice: its limits span the values the page offers.
  template <class T>
  void choice(const T &f, const std::string &path, std::initializer_list<long> values, long factory) {
    number(f, path, values_min(values), values_max(values), static_cast<double>(factory));
    last().kind = SchemaKind::Choice;
    last().choices.assign(values);
  }

  template <size_t N>
  void text(const char (&f)[N], const std::string &path, const char *factory = "") {
    add_text(f, N, path, factory);
  }

 private:
  void add(const void *f, SchemaType type, size_t size, const std::string &path, double min, double max,
           double factory);
  void add_text(const char *f, size_t size, const std::string &path, const char *factory);
  SchemaField &last() { return schema_.fields.back(); }
  static double values_min(std::initializer_list<long> values);
  static double values_max(std::initializer_list<long> values);

  Schema &schema_;
  const char *shape_;
};

#ifdef SITELIB_SCHEMA_TABLES
// A field given as it is written on the shape record: F(zel.iBaudRate1).
#define F(expr) expr, #expr
// A member of the array element `el` whose path prefix is `at`: E(iskip_time).
#define E(member) el.member, at + "." #member
// Element i of an array field: A(dsp.iminprf, i) is "dsp.iminprf[2]".
#define A(array, i) array[i], indexed(#array, i)
#endif

// "dsp.iminprf" and 2 give "dsp.iminprf[2]".
std::string indexed(const std::string &array, int index);

// Binary angles: 16-bit fields hold 65536 units, 32-bit fields 2^32 units
// per turn. Rounded to the nearest unit.
double deg16(double degrees);
double deg32(double degrees);

// The schemas, built once on first use.
const Schema &zel_schema();
const Schema &dsp_schema();
const Schema &rtdisp_schema();
const Schema &zamo_schema();
// The limits of one output device record for the device type (any value:
// unknown types get the limits of an unused device).
const Schema &device_schema(int device_type);
// The network part of an output device, on a device_specific record.
const Schema &network_schema();

// The schema of a limits name other than "device_def", or null.
const Schema *schema_for_limits(const char *name);

// Factory device type of each output device record of a new site.
int factory_device_type(int device);

// Describes one output device record under the path prefix `at` with the
// limits of the device type (used for the device records of the data-system
// schema too).
void describe_output_device(SchemaBuilder &b, const output_device &el, const std::string &at, int type);

// Stores a number into the field of the record, converted to its type
// (texts are left alone).
void schema_store(const SchemaField &f, void *record, double value);

// Writes the limits set `which` (0 minimum, 1 maximum, 2 factory) of every
// field into the record. Texts get their factory text in the factory set and
// zeros otherwise. `skip` names a field path left untouched (may be null).
void schema_fill(const Schema &schema, void *record, int which, const char *skip = nullptr);
