// Change detection: one checksum per record, compared with the one taken
// when the values were last loaded or saved. No per-field flags.
#include <cstring>
#include <vector>

#include "items/state.h"
#include "pages/setup_copies.h"
#include "store/areas.h"
#include "store/store.h"

Checksums loaded_checksums;
std::vector<unsigned char> loaded_records[AREA_COUNT];

namespace {
// The records as last read or written (storage form), for the change log.
void keep_loaded_record(int area) {
  const AreaInfo &info = area_info(area);
  const unsigned char *bytes = static_cast<const unsigned char *>(info.record);
  loaded_records[area].assign(bytes, bytes + info.size);
}
}  // namespace

Checksums take_checksums(void) {
  Checksums sums{};
  for (int area = 0; area < AREA_COUNT; ++area) {
    const AreaInfo &info = area_info(area);
    sums.value[area] = iunique_sum(info.record, info.size);
  }
  sums.value[SUM_AUXSET] = iunique_sum(&auxset, sizeof auxset);
  return sums;
}

Checksums take_storage_form_checksums(void) {
  // Storage form changes only the current records; keep byte copies and
  // put them back, so that the editing form is exactly as it was.
  std::vector<std::vector<unsigned char>> kept;
  for (int area = 0; area < AREA_COUNT; ++area) {
    const AreaInfo &info = area_info(area);
    const unsigned char *bytes = static_cast<const unsigned char *>(info.record);
    kept.emplace_back(bytes, bytes + info.size);
  }
  convert_form(0);
  Checksums sums = take_checksums();
  for (int area = 0; area < AREA_COUNT; ++area)
    memcpy(area_info(area).record, kept[area].data(), kept[area].size());
  return sums;
}

void take_loaded_area_checksums(void) {
  Checksums now = take_checksums();
  for (int area = 0; area < AREA_COUNT; ++area) {
    loaded_checksums.value[area] = now.value[area];
    keep_loaded_record(area);
  }
}

void take_loaded_area_checksum(int area, uint32_t sum) {
  loaded_checksums.value[area] = sum;
  keep_loaded_record(area);
}

void take_loaded_auxset_checksum(void) {
  loaded_checksums.value[SUM_AUXSET] = iunique_sum(&auxset, sizeof auxset);
}

bool area_changed(const Checksums &current, int area) {
  return current.value[area] != loaded_checksums.value[area];
}

bool setup_changed(void) {
  Checksums current = take_checksums();
  for (int area = 0; area < areas_in_mode(); ++area)
    if (area_changed(current, area)) return true;
  return full_mode && area_changed(current, SUM_AUXSET);
}
