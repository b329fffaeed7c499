#include "session/index.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "items/state.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "sitelib/change_log.h"
#include "sitelib/schema.h"
#include "sitelib/setup_file.h"
#include "store/areas.h"
#include "store/host.h"
#include "store/store.h"

namespace {

// The two type lists name the numeric types in the same order; texts have
// no FieldType and are never read as numbers.
FieldType field_type(SchemaType type) {
  static_assert(static_cast<int>(SchemaType::Double) == static_cast<int>(FieldType::Double), "same order");
  return type == SchemaType::Text ? FieldType::Double : static_cast<FieldType>(static_cast<int>(type));
}

struct AuxsetField {
  const char *path;
  size_t offset;
  FieldType type;
};
const AuxsetField auxset_fields[] = {
    {"auxset.zel_ilat", offsetof(auxset_record, zel_ilat), FieldType::Int32},
    {"auxset.zel_ilon", offsetof(auxset_record, zel_ilon), FieldType::Int32},
    {"auxset.lstatus_product_gen", offsetof(auxset_record, lstatus_product_gen), FieldType::Int16},
    {"auxset.lstatus_product_timeout", offsetof(auxset_record, lstatus_product_timeout), FieldType::Int16},
    {"auxset.lnoise_az", offsetof(auxset_record, lnoise_az), FieldType::Int16},
    {"auxset.lnoise_el", offsetof(auxset_record, lnoise_el), FieldType::Int16},
    {"auxset.lingsim_radar", offsetof(auxset_record, lingsim_radar), FieldType::Int16},
    {"auxset.lingsim_shearline", offsetof(auxset_record, lingsim_shearline), FieldType::Int16},
    {"auxset.lingsim_fallspeed", offsetof(auxset_record, lingsim_fallspeed), FieldType::Int16},
    {"auxset.lingsim_windfield", offsetof(auxset_record, lingsim_windfield), FieldType::Int16},
    {"auxset.lingsim_randomized", offsetof(auxset_record, lingsim_randomized), FieldType::Int16},
};

struct FieldIndex {
  std::vector<SiteField> fields;
  std::unordered_map<std::string, size_t> by_path;
  std::unordered_map<const void *, size_t> by_address;
};

FieldIndex build_index(void) {
  FieldIndex index;
  for (int area = 0; area < areas_in_mode(); ++area) {
    const AreaInfo &info = area_info(area);
    const Schema *schema = schema_for_limits(info.limits_name);
    if (!schema) continue;
    for (const SchemaField &f : schema->fields)
      index.fields.push_back({f.path, &f, static_cast<char *>(info.record), static_cast<char *>(info.limits),
                              info.size, f.offset, f.size, field_type(f.type), f.type == SchemaType::Text,
                              area});
  }
  // auxset holds 32-bit angles and 16-bit switches.
  for (const AuxsetField &a : auxset_fields)
    index.fields.push_back({a.path, nullptr, reinterpret_cast<char *>(&auxset),
                            reinterpret_cast<char *>(auxset_limits), sizeof auxset, a.offset,
                            a.type == FieldType::Int32 ? sizeof(int32_t) : sizeof(int16_t), a.type, false,
                            -1});
  for (size_t i = 0; i < index.fields.size(); ++i) {
    index.by_path.emplace(index.fields[i].path, i);
    index.by_address.emplace(index.fields[i].address(), i);
  }
  return index;
}

const FieldIndex &field_index(void) {
  static const FieldIndex index = build_index();
  return index;
}

void collect_item(void *context, const ItemVisit &visit) {
  const ItemDescription &desc = *visit.desc;
  SiteItem item{};
  item.page = -1;
  item.page_title = visit.page->title;
  item.id = visit.id;
  item.kind = desc.kind;
  item.label = desc.label ? desc.label : "";
  item.field =
      field_at(desc.kind == KindText ? static_cast<const void *>(desc.text.address) : desc.field.address);
  item.format = desc.format ? desc.format : "";
  item.scale = desc.scale;
  for (int i = 0; i < desc.choice_count; ++i)
    item.choices.push_back({desc.choices[i].text, desc.choices[i].value});
  for (int i = 0; i < desc.hint_count; ++i) item.hints.push_back(desc.hints[i]);
  item.on_text = desc.on_text ? desc.on_text : "";
  item.off_text = desc.off_text ? desc.off_text : "";
  item.flags = desc.flags;
  item.shown = visit.section_shown && visit.row_shown;
  item.section_title = visit.section_title ? visit.section_title : "";
  item.section_topic = visit.section_topic ? visit.section_topic : "";
  item.section_when = visit.section_when ? visit.section_when : "";
  item.row_when = visit.row_when ? visit.row_when : "";
  static_cast<std::vector<SiteItem> *>(context)->push_back(std::move(item));
}

}  // namespace

std::string stored_text(const SiteField &f, const char *record) {
  if (f.schema) return format_field_value(*f.schema, record);
  Field at{const_cast<char *>(f.in(record)), f.type, f.path.c_str(), -1};
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", field_value(at));
  return text;
}

namespace {

// Where the index finds the field's limit: in its limit copy, or for a field
// of an output device in `limits`, computed for the device's type.
const char *index_limit_at(const SiteField &f, int copy, int device_type, output_device &limits) {
  const char *at = static_cast<const char *>(f.address());
  const char *devices = reinterpret_cast<const char *>(zamo.device.def);
  if (f.area != AREA_ZAMO || at < devices || at >= devices + sizeof zamo.device.def)
    return f.in(f.copy(copy));
  output_device device = zamo.device.def[(at - devices) / sizeof device];
  if (device_type >= 0) device.idev_type = static_cast<uint8_t>(device_type);
  device_limits(device, copy, limits);
  return reinterpret_cast<const char *>(&limits) + (at - devices) % sizeof limits;
}

}  // namespace

double index_limit(const SiteField &f, int copy, int device_type) {
  output_device limits{};
  const char *at = index_limit_at(f, copy, device_type, limits);
  return field_value({const_cast<char *>(at), f.type, f.path.c_str(), -1});
}

std::string index_limit_bytes(const SiteField &f, int copy, int device_type) {
  output_device limits{};
  return std::string(index_limit_at(f, copy, device_type, limits), f.size);
}

std::string unit_of(const std::string &format) {
  std::string unit;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      unit += format[i];
    } else if (i + 1 < format.size() && format[i + 1] == '%') {
      unit += '%';
      ++i;
    } else {
      while (i + 1 < format.size() && std::strchr("-+ #0123456789.lh", format[i + 1])) ++i;
      ++i;  // the conversion letter
    }
  }
  const size_t first = unit.find_first_not_of(' '), last = unit.find_last_not_of(' ');
  return first == std::string::npos ? "" : unit.substr(first, last - first + 1);
}

std::string shown_value(const SiteItem &item, double stored) {
  if (item.kind == KindNumber) {
    char text[256];
    std::snprintf(text, sizeof text, item.format.c_str(), stored / item.scale);
    return text;
  }
  if (item.kind == KindToggle) return stored != 0 ? item.on_text : item.off_text;
  for (const SiteChoice &c : item.choices)
    if (c.value == static_cast<long>(stored)) return c.text;
  return "?????";
}

const std::vector<SiteField> &site_fields(void) { return field_index().fields; }

const SiteField *find_field(const std::string &path) {
  const FieldIndex &index = field_index();
  auto found = index.by_path.find(path);
  return found == index.by_path.end() ? nullptr : &index.fields[found->second];
}

const SiteField *field_at(const void *address) {
  const FieldIndex &index = field_index();
  auto found = index.by_address.find(address);
  return found == index.by_address.end() ? nullptr : &index.fields[found->second];
}

std::vector<int> mode_pages(void) {
  std::vector<int> pages;
  for (int page = 0; page < PAGE_COUNT; ++page)
    if (page_in_mode(page)) pages.push_back(page);
  return pages;
}

int page_by_name(const std::string &name) {
  for (int page : mode_pages()) {
    if (name == page_info(page).name || name == std::to_string(page)) return page;
  }
  return -1;
}

std::vector<SiteItem> page_items(int page) {
  std::vector<SiteItem> items;
  ItemVisitor visitor{collect_item, &items};
  page_info(page).function(PassVisit, nullptr, &visitor);
  for (SiteItem &item : items) item.page = page;
  return items;
}

std::vector<SiteItem> site_items(void) {
  std::vector<SiteItem> items;
  for (int page : mode_pages())
    for (SiteItem &item : page_items(page)) items.push_back(std::move(item));
  return items;
}

bool item_for(const SiteField &f, SiteItem &item) { return item_for(f, site_items(), item); }

bool item_for(const SiteField &f, const std::vector<SiteItem> &items, SiteItem &item) {
  bool found = false;
  for (const SiteItem &candidate : items) {
    if (candidate.field != &f) continue;
    if (!found || (candidate.shown && !item.shown)) item = candidate;
    found = true;
    if (item.shown) break;
  }
  return found;
}

bool item_editing(const SiteField &f, const std::vector<SiteItem> &items, SiteItem &item) {
  const void *stand_in = editing_stand_in(f.address());
  const SiteField *bound = stand_in ? field_at(stand_in) : &f;
  return bound && item_for(*bound, items, item);
}

double shown_limit(const SiteItem &item, int copy) {
  const double limit = index_limit(*item.field, copy);
  return item.kind == KindNumber ? limit / item.scale : limit;
}
