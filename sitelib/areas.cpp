// Loading and saving each setup area in its file in the setup directory.
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

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

std::map<const Schema *, std::string> &replaced_contents() {
  static std::map<const Schema *, std::string> contents;
  return contents;
}

int load(const char *file, const Schema &schema, void *record, setup_limits_fn limits = setup_limits) {
  if (!record) return site_failure(SITE_READ_FAILED, "Setup file %s: no record to read into", file);
  return read_setup_file(in_setup_directory(file), schema, record, limits);
}

// Setup files are readable by all; the data-system setup holds passwords,
// so it and its backup are readable by its owner and group only.
const WriteRules kSetupRules = {0644, 07777, nullptr};
const WriteRules kSecretRules = {0640, 0640, nullptr};

int save(const char *file, const Schema &schema, const void *record, const char *title,
         const WriteRules &rules = kSetupRules) {
  if (!record) return site_failure(SITE_WRITE_FAILED, "Setup file %s: no record to write", file);
  std::string path = in_setup_directory(file);
  WriteRules with_schema = rules;
  with_schema.schema = &schema;
  std::string &replaced = replaced_contents()[&schema];
  replaced.clear();
  return write_file_atomically(path, format_setup_file(schema, record, title), with_schema, &replaced);
}
}  // namespace

const std::string &content_replaced(const Schema &schema) { return replaced_contents()[&schema]; }

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

int ant_save_setup(zel_setup *record) {
  return save("setup_ant.conf", zel_schema(), record, "Control processor (ZEL) setup");
}

int lim_loadFile(const char *file, const char *limits_name, void *record, setup_limits_fn limits) {
  const Schema *schema = schema_for_limits(limits_name);
  if (!schema)
    return site_failure(SITE_BAD_LIMITS, "Setup file %s: unknown setup limits \"%s\"", file ? file : "(none)",
                        limits_name ? limits_name : "(none)");
  if (!file) return site_failure(SITE_READ_FAILED, "No setup file named for \"%s\"", limits_name);
  return load(file, *schema, record, limits ? limits : setup_limits);
}

int dsp_save_setup(dsp_setup *record) {
  return save("setup_dsp.conf", dsp_schema(), record, "Signal processor (KOX) setup");
}

int RtdispLoadSetup(rtdisp_setup *record) { return load("setup_rtdisp.conf", rtdisp_schema(), record); }

int RtdispSaveSetup(rtdisp_setup *record) {
  return save("setup_rtdisp.conf", rtdisp_schema(), record, "Real-time display setup");
}

// An older version is read all the same and its version text kept, so that
// the program can tell the user; saving writes the current version.
int zamoload(zamo_setup *record) { return load("setup_zamo.conf", zamo_schema(), record); }

int zamosave(zamo_setup *record) {
  if (!record) return site_failure(SITE_WRITE_FAILED, "Setup file setup_zamo.conf: no record to write");
  zamo_setup current = *record;
  std::memset(current.sVersion, 0, sizeof current.sVersion);
  std::strcpy(current.sVersion, ZAMO_SETUP_VERSION);
  int status = save("setup_zamo.conf", zamo_schema(), &current, "Data system (ZAMO) setup", kSecretRules);
  if (status == SITE_OK) std::memcpy(record->sVersion, current.sVersion, sizeof current.sVersion);
  return status;
}

int setup_file_changed(const char *file) {
  if (!file || !*file) return 0;
  return disk_state_changed(in_setup_directory(file)) ? 1 : 0;
}
