// Loading and saving each setup area in its file in the setup directory.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sitelib/installation.h"
#include "sitelib/setup_file.h"
#include "sitelib/status.h"

namespace {
const char *env(const char *name) {
  const char *value = std::getenv(name);
  return value && *value ? value : nullptr;
}

std::string in_setup_directory(const char *file) {
  if (file[0] == '/') return file;
  return std::string(setup_directory()) + "/" + file;
}

int load(const char *file, const Schema &schema, void *record, setup_limits_fn limits = setup_limits) {
  if (!record) return site_failure(SITE_READ_FAILED, "Setup file %s: no record to read into", file);
  return read_setup_file(in_setup_directory(file), schema, record, limits);
}

// Setup files are readable by all; the data-system setup holds passwords,
// so it and its backup are readable by its owner and group only.
const WriteRules kSetupRules = {0644, 07777, nullptr};
const WriteRules kSecretRules = {0640, 0640, nullptr};

// Each area's file, as its save function writes it.
struct AreaFile {
  const char *limits_name;
  const char *file;
  const Schema &(*schema)();
  const char *title;
  const WriteRules &rules;
};

const AreaFile kAreaFiles[] = {
    {"ant_manual_setup", "setup_ant.conf", zel_schema, "Control processor (ZEL) setup", kSetupRules},
    {"dsp_manual_setup", "setup_dsp.conf", dsp_schema, "Signal processor (KOX) setup", kSetupRules},
    {"rtdisp_setup", "setup_rtdisp.conf", rtdisp_schema, "Real-time display setup", kSetupRules},
    {"zamo_setup", "setup_zamo.conf", zamo_schema, "Data system (ZAMO) setup", kSecretRules},
};

const AreaFile *area_file(const char *limits_name) {
  for (const AreaFile &a : kAreaFiles)
    if (limits_name && std::strcmp(a.limits_name, limits_name) == 0) return &a;
  return nullptr;
}

// The record as its file holds it: an older data-system version is written
// as the current one.
std::vector<char> as_written(const AreaFile &a, const void *record) {
  const char *bytes = static_cast<const char *>(record);
  std::vector<char> copy(bytes, bytes + a.schema().record_size);
  if (&a.schema() == &zamo_schema()) {
    zamo_setup *zamo = reinterpret_cast<zamo_setup *>(copy.data());
    std::memset(zamo->sVersion, 0, sizeof zamo->sVersion);
    std::strcpy(zamo->sVersion, ZAMO_SETUP_VERSION);
  }
  return copy;
}

int save(const char *limits_name, const void *record) {
  const AreaFile &a = *area_file(limits_name);
  if (!record) return site_failure(SITE_WRITE_FAILED, "Setup file %s: no record to write", a.file);
  WriteRules with_schema = a.rules;
  with_schema.schema = &a.schema();
  return write_file_atomically(in_setup_directory(a.file), setup_file_content(limits_name, record),
                               with_schema);
}
}  // namespace

std::string setup_file_content(const char *limits_name, const void *record) {
  const AreaFile *a = area_file(limits_name);
  if (!a) return "";
  return format_setup_file(a->schema(), as_written(*a, record).data(), a->title);
}

std::string setup_file_path(const char *limits_name) {
  const AreaFile *a = area_file(limits_name);
  return a ? in_setup_directory(a->file) : "";
}

std::vector<char> record_as_written(const char *limits_name, const void *record) {
  const AreaFile *a = area_file(limits_name);
  return a ? as_written(*a, record) : std::vector<char>();
}

const char *setup_directory(void) {
  static std::string directory;
  if (const char *config = env("ZAMO_CONFIG"))
    directory = config;
  else if (const char *root = env("ZAMO_ROOT"))
    directory = std::string(root) + "/config";
  else
    directory = installed_config_directory();
  return directory.c_str();
}

int ant_load_setup(zel_setup *record) { return load("setup_ant.conf", zel_schema(), record); }

int ant_save_setup(zel_setup *record) { return save("ant_manual_setup", record); }

int lim_loadFile(const char *file, const char *limits_name, void *record, setup_limits_fn limits) {
  const Schema *schema = schema_for_limits(limits_name);
  if (!schema)
    return site_failure(SITE_BAD_LIMITS, "Setup file %s: unknown setup limits \"%s\"", file ? file : "(none)",
                        limits_name ? limits_name : "(none)");
  if (!file) return site_failure(SITE_READ_FAILED, "No setup file named for \"%s\"", limits_name);
  return load(file, *schema, record, limits ? limits : setup_limits);
}

int dsp_save_setup(dsp_setup *record) { return save("dsp_manual_setup", record); }

int RtdispLoadSetup(rtdisp_setup *record) { return load("setup_rtdisp.conf", rtdisp_schema(), record); }

int RtdispSaveSetup(rtdisp_setup *record) { return save("rtdisp_setup", record); }

// An older version is read all the same and its version text kept, so that
// the program can tell the user; saving writes the current version.
int zamoload(zamo_setup *record) { return load("setup_zamo.conf", zamo_schema(), record); }

int zamosave(zamo_setup *record) {
  int status = save("zamo_setup", record);
  if (status == SITE_OK) {
    const std::vector<char> written = record_as_written("zamo_setup", record);
    std::memcpy(record->sVersion, reinterpret_cast<const zamo_setup *>(written.data())->sVersion,
                sizeof record->sVersion);
  }
  return status;
}

int setup_file_changed(const char *file) {
  if (!file || !*file) return 0;
  return disk_state_changed(in_setup_directory(file)) ? 1 : 0;
}
