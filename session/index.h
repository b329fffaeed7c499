// The index of a site: every stored field of the mode's areas (and the
// editor's auxset stand-ins) by path, and every page item with where it sits,
// how it shows, what it binds and when it shows, from the pages' visit pass.
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

// A field's limit (COPY_MIN, COPY_MAX or COPY_FACTORY) as the item index
// shows it: a field of an output device record has the limits of the
// device's current type (of `device_type` instead, when not negative), as
// the output device page gives them to the limit copies in its next pass,
// whatever those hold now; every other field reads its limit copy.
double index_limit(const SiteField &f, int copy, int device_type = -1);
// The same limit as the field's bytes (a text's characters).
std::string index_limit_bytes(const SiteField &f, int copy, int device_type = -1);

struct SiteChoice {
  std::string text;
  long value;
};

struct SiteItem {
  int page;
  std::string page_title;  // as the page window's title shows it
  uint32_t id;             // section, row and item number (items/item.h)
  uint32_t kind;           // KindNumber, KindText, KindChoice or KindToggle
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
// The same among items visited already.
bool item_for(const SiteField &f, const std::vector<SiteItem> &items, SiteItem &item);
// The item that edits the field: as item_for, but a stored field edited
// through an auxset stand-in (the default antenna position) gives the
// stand-in's item.
bool item_editing(const SiteField &f, const std::vector<SiteItem> &items, SiteItem &item);

// Page numbers of the mode, in page-number order.
std::vector<int> mode_pages(void);
// A page by name ("control", "signal", ...) or number; -1 when none.
int page_by_name(const std::string &name);

// The item's limits and factory value in shown units (numbers), or as
// stored (choices, toggles).
double shown_limit(const SiteItem &item, int copy);
