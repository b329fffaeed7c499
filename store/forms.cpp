// Editing form and storage form. Some stored values are edited through the
// auxset record instead: switches for values with a "none" meaning, the
// ingest simulator's bit flags and the default antenna position. Editing
// form derives auxset from the records; storage form writes it back.
#include <cstdint>

#include "items/field.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "store/areas.h"
#include "store/store.h"

namespace {

// A stored interval whose 0 means "not generated": the switch is on while
// the interval is not 0.
struct IntervalSwitch {
  int16_t auxset_record::*flag;
  uint32_t zamo_misc::*interval;
};
const IntervalSwitch interval_switches[] = {
    {&auxset_record::lstatus_product_gen, &zamo_misc::istatus_product_gen},
    {&auxset_record::lstatus_product_timeout, &zamo_misc::istatus_product_timeout},
};

// A stored noise sample angle whose 0xFFFF means "at any angle".
struct AngleSwitch {
  int16_t auxset_record::*flag;
  int16_t zamo_misc::*angle;
};
const AngleSwitch angle_switches[] = {
    {&auxset_record::lnoise_az, &zamo_misc::inoise_az},
    {&auxset_record::lnoise_el, &zamo_misc::inoise_el},
};
const uint16_t ANY_ANGLE = 0xFFFF;

// The ingest simulator flags, in bit order of their stored byte.
int16_t auxset_record::*const simulator_flags[] = {
    &auxset_record::lingsim_radar,     &auxset_record::lingsim_shearline,  &auxset_record::lingsim_fallspeed,
    &auxset_record::lingsim_windfield, &auxset_record::lingsim_randomized,
};

const int32_t LATITUDE_MIN = -1073741824;  // -90 degrees as a 32-bit binary angle
const int32_t LATITUDE_MAX = 1073741823;
const int32_t LONGITUDE_MIN = INT32_MIN;
const int32_t LONGITUDE_MAX = INT32_MAX;

// A 0..1 switch in all its copies.
void set_switch(int16_t auxset_record::*flag, bool on) {
  auxset.*flag = on ? 1 : 0;
  auxset_limits[COPY_MIN].*flag = 0;
  auxset_limits[COPY_MAX].*flag = 1;
}

void data_system_to_editing_form(void) {
  zamo_misc &misc = zamo.misc;
  for (const IntervalSwitch &s : interval_switches) set_switch(s.flag, misc.*s.interval != 0);
  for (const AngleSwitch &s : angle_switches) {
    int16_t &angle = misc.*s.angle;
    set_switch(s.flag, static_cast<uint16_t>(angle) != ANY_ANGLE);
    // Negative angles, "any angle" among them, are shown as 0.
    if (angle < 0) angle = 0;
  }
  for (int bit = 0; bit < 5; ++bit) set_switch(simulator_flags[bit], (misc.iingsim_flags >> bit) & 1);
}

// Storage form of the data-system fields, written into `misc` (the live
// record or a copy of it) from the switches of auxset.
void data_system_to_storage_form(zamo_misc &misc) {
  for (const IntervalSwitch &s : interval_switches) {
    uint32_t &interval = misc.*s.interval;
    if (auxset.*s.flag == 0)
      interval = 0;
    else if (interval == 0)
      interval = 1;  // switched on without an interval: the shortest one
  }
  for (const AngleSwitch &s : angle_switches)
    if (auxset.*s.flag == 0) misc.*s.angle = static_cast<int16_t>(ANY_ANGLE);
  uint8_t flags = 0;
  for (int bit = 0; bit < 5; ++bit)
    if (auxset.*simulator_flags[bit] != 0) flags |= 1u << bit;
  misc.iingsim_flags = flags;
}

void antenna_position_to_storage_form(zel_setup &record) {
  record.idefault_lat = auxset.zel_ilat;
  record.idefault_lon = auxset.zel_ilon;
}

void antenna_position_to_editing_form(void) {
  auxset_limits[COPY_MIN].zel_ilat = LATITUDE_MIN;
  auxset_limits[COPY_MAX].zel_ilat = LATITUDE_MAX;
  auxset_limits[COPY_MIN].zel_ilon = LONGITUDE_MIN;
  auxset_limits[COPY_MAX].zel_ilon = LONGITUDE_MAX;
  auxset.zel_ilat = zel.idefault_lat;
  auxset.zel_ilon = zel.idefault_lon;
}

// Format 4 is edited as 2; the stored value stays 2 from the next save on.
void fold_interface_formats(void) {
  if (zel.icontrol_format == 4) zel.icontrol_format = 2;
  if (zel.istatus_format == 4) zel.istatus_format = 2;
}

// The switch that stands for a stored field in editing form, or nullptr.
int16_t *switch_of(const void *stored) {
  for (const IntervalSwitch &s : interval_switches)
    if (stored == &(zamo.misc.*s.interval)) return &(auxset.*s.flag);
  for (const AngleSwitch &s : angle_switches)
    if (stored == &(zamo.misc.*s.angle)) return &(auxset.*s.flag);
  return nullptr;
}

}  // namespace

void *editing_stand_in(const void *stored) {
  if (stored == &zel.idefault_lat) return &auxset.zel_ilat;
  if (stored == &zel.idefault_lon) return &auxset.zel_ilon;
  return nullptr;
}

void *stored_field_of(const void *stand_in) {
  if (stand_in == &auxset.zel_ilat) return &zel.idefault_lat;
  if (stand_in == &auxset.zel_ilon) return &zel.idefault_lon;
  for (const IntervalSwitch &s : interval_switches)
    if (stand_in == &(auxset.*s.flag)) return &(zamo.misc.*s.interval);
  for (const AngleSwitch &s : angle_switches)
    if (stand_in == &(auxset.*s.flag)) return &(zamo.misc.*s.angle);
  for (int16_t auxset_record::*flag : simulator_flags)
    if (stand_in == &(auxset.*flag)) return &zamo.misc.iingsim_flags;
  return nullptr;
}

void stored_field_changed(const void *stored) {
  if (stored == &zel.idefault_lat || stored == &zel.idefault_lon) {
    antenna_position_to_editing_form();
    return;
  }
  if (!full_mode) return;
  if (stored == &zamo.misc.iingsim_flags) {
    for (int bit = 0; bit < 5; ++bit) set_switch(simulator_flags[bit], (zamo.misc.iingsim_flags >> bit) & 1);
    return;
  }
  for (const IntervalSwitch &s : interval_switches)
    if (stored == &(zamo.misc.*s.interval)) set_switch(s.flag, zamo.misc.*s.interval != 0);
  for (const AngleSwitch &s : angle_switches) {
    int16_t &angle = zamo.misc.*s.angle;
    if (stored != &angle) continue;
    set_switch(s.flag, static_cast<uint16_t>(angle) != ANY_ANGLE);
    if (angle < 0) angle = 0;
  }
}

void stand_in_stored(const void *stored) {
  // The page shows a stored value only while its switch is on: a value
  // stored through the page switches it on, as the operator would have.
  if (int16_t *flag = full_mode ? switch_of(stored) : nullptr) *flag = 1;
}

void convert_form(int direction) {
  if (direction) {
    if (full_mode) data_system_to_editing_form();
    antenna_position_to_editing_form();
    fold_interface_formats();
  } else {
    if (full_mode) data_system_to_storage_form(zamo.misc);
    antenna_position_to_storage_form(zel);
  }
}

void to_storage_form(int area, void *record) {
  if (area == AREA_ZEL) antenna_position_to_storage_form(*static_cast<zel_setup *>(record));
  if (area == AREA_ZAMO && full_mode) data_system_to_storage_form(static_cast<zamo_setup *>(record)->misc);
}
