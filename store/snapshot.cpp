// Change detection: one snapshot of the records as last loaded or saved,
// compared with the records as a save would write them now. Save, the save
// question, the change log and the pending changes all read it.
#include <cstring>
#include <vector>

#include "items/state.h"
#include "pages/setup_copies.h"
#include "store/areas.h"
#include "store/store.h"

Snapshot snapshot;

namespace {

Bytes bytes_of(const void *record, size_t size) {
  const auto *bytes = static_cast<const unsigned char *>(record);
  return Bytes(bytes, bytes + size);
}

}  // namespace

Bytes storage_form_record(int area) {
  const AreaInfo &info = area_info(area);
  Bytes copy = bytes_of(info.record, info.size);
  to_storage_form(area, copy.data());
  return copy;
}

void take_snapshot(int area, Bytes record) { snapshot.records[area] = std::move(record); }

void take_snapshot_as_is(void) {
  for (int area = 0; area < AREA_COUNT; ++area)
    take_snapshot(area, bytes_of(area_info(area).record, area_info(area).size));
}

void take_auxset_snapshot(void) { snapshot.auxset = bytes_of(&auxset, sizeof auxset); }

bool area_changed(int area) { return storage_form_record(area) != snapshot.records[area]; }

bool setup_changed(void) {
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_changed(area)) return true;
  return full_mode && bytes_of(&auxset, sizeof auxset) != snapshot.auxset;
}
