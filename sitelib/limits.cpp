// setup_limits: the minimum, maximum and factory sets of every record, from
// the record schemas.
#include <cstring>

#include "sitelib/schema.h"
#include "sitelib/status.h"

namespace {
const char kDeviceType[] = "DEFDEV.idev_type";

bool known_device_type(int type) {
  return type == DEVICE_PRINTER || type == DEVICE_WINDOW || type == DEVICE_UNUSED || type == DEVICE_ARCHIVE ||
         type == DEVICE_NETWORK;
}

// One output device record with the limits of the type it already holds;
// the type itself stays, since the program put it there.
void fill_device(output_device *device, int which) {
  schema_fill(device_schema(device->idev_type), device, which, kDeviceType);
}

// The data-system record: every device's fields follow the type the record
// holds for it (the program copies the current types in first); records
// without a known type are limited as their factory type.
void fill_zamo(zamo_setup *record, int which) {
  uint8_t types[ZAMO_OUTPUT_DEVICES];
  for (int d = 0; d < ZAMO_OUTPUT_DEVICES; ++d) types[d] = record->device.def[d].idev_type;
  schema_fill(zamo_schema(), record, which);
  for (int d = 0; d < ZAMO_OUTPUT_DEVICES; ++d) {
    int type = known_device_type(types[d]) ? types[d] : factory_device_type(d);
    schema_fill(device_schema(type), &record->device.def[d], which, kDeviceType);
  }
}
}  // namespace

const Schema *schema_for_limits(const char *name) {
  if (!name) return nullptr;
  const Schema *all[] = {&zel_schema(), &dsp_schema(), &rtdisp_schema(), &zamo_schema(), &network_schema()};
  for (const Schema *s : all)
    if (s->name == name) return s;
  return nullptr;
}

int setup_limits(const char *name, void *record, int which, int) {
  if (!record || which < LIMITS_MIN || which > LIMITS_FACTORY)
    return site_failure(SITE_BAD_LIMITS, "Setup limits \"%s\": no record or unknown set %d", name ? name : "",
                        which);
  if (name && std::strcmp(name, "device_def") == 0) {
    fill_device(static_cast<output_device *>(record), which);
  } else if (name && std::strcmp(name, "zamo_setup") == 0) {
    fill_zamo(static_cast<zamo_setup *>(record), which);
  } else if (const Schema *schema = schema_for_limits(name)) {
    schema_fill(*schema, record, which);
  } else {
    return site_failure(SITE_BAD_LIMITS, "Unknown setup limits \"%s\"", name ? name : "(none)");
  }
  return SITE_OK;
}
