// What setup-site knows of a site: every stored field of the mode's areas
// (and the editor's auxset stand-ins) by path, every page item by the field
// it binds, and a session that loads the setups as the editor does at start
// and saves only what a command changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "items/field.h"

struct SchemaField;

struct SiteField {
  std::string path;
  const SchemaField *schema;  // nullptr for auxset fields
  char *record;               // current copy
  char *limits;               // the three limit copies
  size_t record_size;
  size_t offset;
  size_t size;
  FieldType type;  // numbers
  bool text;
  int area;  // AREA_ZEL..AREA_ZAMO, or -1 for auxset

  void *address() const { return record + offset; }
  const char *in(const char *other_record) const { return other_record + offset; }
  // The record of a limit copy: COPY_MIN, COPY_MAX or COPY_FACTORY.
  const char *copy(int which) const { return limits + which * record_size; }
  Field field() const { return {address(), type, path.c_str(), -1}; }
};

// The value as a setup file holds it, from the record (a copy with the
// same layout as the field's record).
std::string stored_text(const SiteField &f, const char *record);

struct SiteChoice {
  std::string text;
  long value;
};

struct SiteItem {
  int page;
  uint32_t id;
  uint32_t kind;  // KindNumber, KindText, KindChoice or KindToggle
  std::string label;
  const SiteField *field;
  std::string format;
  double scale;
  std::vector<SiteChoice> choices;
  std::vector<std::string> hints;
  std::string on_text, off_text;
  int flags;
  bool shown;  // its section and row are shown under the current values
  std::string section_title, section_topic;
  std::string section_when, row_when;  // the conditions in words; empty: always
};

// The unit a display format shows after its number ("%.2f deg/sec" gives
// "deg/sec", "%.0f%% of total" gives "% of total"); empty when none.
std::string unit_of(const std::string &format);
// A stored value as the item shows it: a number in its format and scale, a
// toggle by its text, a choice by its entry ("?????" when none matches).
std::string shown_value(const SiteItem &item, double stored);

// Every field of the mode's areas and auxset, in area and record order.
const std::vector<SiteField> &site_fields(void);
const SiteField *find_field(const std::string &path);
const SiteField *field_at(const void *address);

// Every item of the mode's pages (PassVisit, under the current values).
std::vector<SiteItem> site_items(void);
// The items of one page.
std::vector<SiteItem> page_items(int page);
// The item that binds the field: the one shown under the current values,
// else the first; false when no item binds it.
bool item_for(const SiteField &f, SiteItem &item);

// Page numbers of the mode, in page-number order.
std::vector<int> mode_pages(void);
// A page by name ("control", "signal", ...) or number; -1 when none.
int page_by_name(const std::string &name);

// The session: options chosen, setups loaded, a snapshot of the records in
// storage form taken right after the load.
struct SessionOptions {
  std::string directory;  // -C DIR, or empty
  int mode = -1;          // 1 full, 0 processor-only, -1 the editor's probe
};
void apply_options(const SessionOptions &options);
// Loads and checks as the editor does at start; reports read errors on
// standard error. True when the check found a value out of range.
bool load_session(void);
// Each mode area's record in storage form as loaded (taken by load_session).
const std::vector<char> &loaded_storage_record(int area);

// Status of a save: 0 written or nothing to write, 3 refused or failed.
// Refuses a non-operator and any area whose file changed on disk since
// load_session read it. Prints the changed fields on standard output.
int save_session(void);
bool is_operator(void);
