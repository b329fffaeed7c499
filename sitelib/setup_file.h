// Setup files: one text file per area, one "PATH = VALUE" line per field in
// record order. Inner working of the site library.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "sitelib/schema.h"

// What reading a setup file found besides good lines.
struct SetupFileProblems {
  std::vector<std::string> errors;    // "Setup file PATH, line N: reason", one per bad line
  std::vector<std::string> warnings;  // fields an older version had, skipped
  bool empty = false;                 // nothing but blanks: every field factory
  // Fields given only on lines whose value could not be read (index in the
  // schema), with the value as written.
  std::vector<std::pair<size_t, std::string>> unreadable;
};

// Parses the text of the file at `path` (named in the problems) into
// `record`: every good line is loaded; fields the file does not mention or
// gives only on bad lines take the factory values that `limits` gives for
// the record as read (so that an output device's factory values follow the
// type the file gives). Returns the status of `limits`.
int parse_setup_text(const std::string &content, const std::string &path, const Schema &schema, void *record,
                     setup_limits_fn limits, SetupFileProblems &problems);

// Whether the text has no bad line (warnings allowed).
bool reads_cleanly(const std::string &content, const Schema &schema);

// Reads the file at `path` into `record`: SITE_OK; SITE_BAD_SETUP_FILE
// with the good lines loaded and every bad line in the status text; or
// SITE_READ_FAILED with factory values. Notes what was on disk for the
// change check of a later write.
int read_setup_file(const std::string &path, const Schema &schema, void *record, setup_limits_fn limits);

// The text of a setup file for the record, beginning with `title` as a
// comment.
std::string format_setup_file(const Schema &schema, const void *record, const char *title);

struct WriteRules {
  mode_t new_mode;  // permission bits of a file that did not exist
  mode_t max_mode;  // bits the file and its backup may have at most
  // When set, an old file with bad lines for this schema is kept as
  // PATH.rejected (PATH.rejected.1, ... when taken) before it is replaced.
  const Schema *schema;
};

// Replaces the file at `path` with `content` atomically, while holding a
// lock on its directory: a temporary file in the same directory, locked by
// its writer, synced, the old file renamed over PATH.bak (so a backup is
// never missing once there was one), the temporary renamed over the file,
// then the directory synced. Permission bits and group carry over within
// `max_mode`. Temporary files that dead writers left in the directory are
// removed first. Refused with SITE_CHANGED_ON_DISK while the file differs
// from what this process last read or wrote there. A failure leaves the old
// file as it was.
// While this process holds the lock of the setup directory
// (lock_setup_directory), a write there takes no lock of its own.
int write_file_atomically(const std::string &path, const std::string &content, const WriteRules &rules);

// What the save function of the limits name writes for the record, and
// where: the file's text, its path, and the record as the text holds it
// (the data-system setup in its current version). Empty for another name.
std::string setup_file_content(const char *limits_name, const void *record);
std::string setup_file_path(const char *limits_name);
std::vector<char> record_as_written(const char *limits_name, const void *record);

// Notes the content that the file at `path` holds now (nullptr: no file or
// unreadable) for the change check.
void note_disk_state(const std::string &path, const std::string *content);
// True when the file's content differs from what was noted for it.
bool disk_state_changed(const std::string &path);

// One field's value as a setup file gives it ("PATH = " not included).
std::string format_field_value(const SchemaField &field, const void *record);
// Parses a value in setup-file syntax into the field of the record; returns
// an empty text, or what is wrong with the value (the field unchanged).
std::string parse_field_value(const SchemaField &field, const std::string &value, void *record);
