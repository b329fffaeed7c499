// The start-up load: every area of the mode read with its minimum, maximum
// and factory copies, put into editing form, snapshotted and checked.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "items/bounds.h"
#include "items/field.h"
#include "items/i18n.h"
#include "items/state.h"
#include "pages/setup_copies.h"
#include "store/areas.h"
#include "store/store.h"

bool area_read_failed[AREA_COUNT];
std::vector<std::string> area_bad_lines[AREA_COUNT];

namespace {

const AreaInfo areas[AREA_COUNT] = {
    {N_("ZEL "), "ZEL", "ant_manual_setup", "setup_ant.conf", &zel, zel_limits, sizeof zel},
    {N_("DSP "), "DSP", "dsp_manual_setup", "setup_dsp.conf", &dsp, dsp_limits, sizeof dsp},
    {N_("RTDISP "), "RTDISP", "rtdisp_setup", "setup_rtdisp.conf", &Rtdisp, Rtdisp_limits, sizeof Rtdisp},
    {N_("ZAMO "), "ZAMO", "zamo_setup", "setup_zamo.conf", &zamo, zamo_limits, sizeof zamo},
};

void *limit_copy(const AreaInfo &info, int copy) {
  return static_cast<char *>(info.limits) + copy * info.size;
}

void fill_limit_copies(const AreaInfo &info) {
  for (int copy = COPY_MIN; copy <= COPY_FACTORY; ++copy)
    setup_limits(info.limits_name, limit_copy(info, copy), copy, 0);
}

int read_area(int area) {
  switch (area) {
    case AREA_ZEL:
      return ant_load_setup(&zel);
    case AREA_DSP:
      memset(&dsp, 0, sizeof dsp);
      return lim_loadFile(areas[AREA_DSP].file, areas[AREA_DSP].limits_name, &dsp, setup_limits);
    case AREA_RTDISP:
      return RtdispLoadSetup(&Rtdisp);
    default:
      return zamoload(&zamo);
  }
}

// The version text as a terminated string (the field need not hold one).
void zamo_version_text(char (&text)[sizeof zamo.sVersion + 1]) {
  memcpy(text, zamo.sVersion, sizeof zamo.sVersion);
  text[sizeof zamo.sVersion] = '\0';
}

void warn_if_converted(void) {
  if (!zamo_version_is_old()) return;
  char version[sizeof zamo.sVersion + 1];
  zamo_version_text(version);
  char message[256];
  snprintf(message, sizeof message, _("Setup file converted from %s to %s"), version, ZAMO_SETUP_VERSION);
  inform(message, _("Ack"));
}

// Device limits follow each device's type: the type (and the bytes that
// choose its kind of network or archive settings) must be in the limit
// copies before setup_limits fills them.
void copy_device_types_to_limits(void) {
  int count = std::clamp<int32_t>(zamo.device.idevcount, 0, ZAMO_OUTPUT_DEVICES);
  for (int dev = 0; dev < count; ++dev) {
    const output_device &device = zamo.device.def[dev];
    for (zamo_setup &copy : zamo_limits) {
      output_device &target = copy.device.def[dev];
      target.idev_type = device.idev_type;
      if (device.idev_type == DEVICE_ARCHIVE) target.dsi.archive.isub_type = device.dsi.archive.isub_type;
      if (device.idev_type == DEVICE_NETWORK) {
        target.dsi.network.ifile_format = device.dsi.network.ifile_format;
        target.dsi.network.icopy_scheme = device.dsi.network.icopy_scheme;
      }
    }
  }
}

// An area that could not be read starts from its factory values.
void use_factory_values(const AreaInfo &info) {
  memcpy(info.record, limit_copy(info, COPY_FACTORY), info.size);
}

}  // namespace

const AreaInfo &area_info(int area) { return areas[area]; }

int areas_in_mode(void) { return full_mode ? AREA_COUNT : AREA_ZAMO; }

bool zamo_version_is_old(void) {
  if (area_read_failed[AREA_ZAMO]) return false;
  char version[sizeof zamo.sVersion + 1];
  zamo_version_text(version);
  return strcmp(version, ZAMO_SETUP_VERSION) != 0;
}

int load_area(int area) {
  const AreaInfo &info = areas[area];
  memset(info.limits, 0, 3 * info.size);
  if (area != AREA_ZAMO) fill_limit_copies(info);
  int status = read_area(area);
  // A file with bad lines is read all the same: its good lines are loaded
  // and the bad ones reported; only a file that could not be read at all
  // leaves the area at its factory values.
  area_read_failed[area] = status != SITE_OK && status != SITE_BAD_SETUP_FILE;
  if (area == AREA_ZAMO) {
    if (!area_read_failed[area]) warn_if_converted();
    copy_device_types_to_limits();
    fill_limit_copies(info);
  }
  area_bad_lines[area].clear();
  if (status == SITE_BAD_SETUP_FILE)
    for (const char *text = message_to_text(status, 0, 0); *text;) {
      const char *end = std::strchr(text, '\n');
      area_bad_lines[area].emplace_back(text, end ? end : text + std::strlen(text));
      text = end ? end + 1 : text + std::strlen(text);
    }
  if (status != SITE_OK) report_read_error(area, status);
  report_read_warnings(area, setup_file_warnings());
  if (area_read_failed[area]) use_factory_values(info);
  return status;
}

void load_all_areas(void) {
  for (int area = 0; area < areas_in_mode(); ++area) load_area(area);
}

bool load_and_check(void) {
  run_pass(ORDER_MEASURE, PassMeasure, nullptr);
  load_all_areas();
  // Taken before editing form, so that whatever editing form changes in a
  // record that was read counts as a change of its area.
  take_snapshot_as_is();
  convert_form(1);
  // An area that could not be read counts as changed only when the
  // operator changes it, not because editing form altered its factory values.
  for (int area = 0; area < AREA_COUNT; ++area)
    if (area_read_failed[area]) take_snapshot(area, storage_form_record(area));
  take_auxset_snapshot();

  static std::vector<PageFunction> repair_pages;
  repair_pages = pages_in_order(ORDER_REPAIR);
  set_repair_pages(repair_pages.data(), static_cast<int>(repair_pages.size()));
  const int16_t found_before = error_found;
  error_found = 0;
  run_pass(ORDER_CHECK, PassCheck, nullptr);
  const bool found = error_found != 0;
  error_found = found || found_before;
  return found;
}
