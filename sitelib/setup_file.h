// Setup files: one text file per area, one "PATH = VALUE" line per field in
// record order. Inner working of the site library.
#pragma once

#include <sys/types.h>

#include <string>

#include "sitelib/schema.h"

// Reads the file at `path` into `record`. Fields the file does not mention
// take the factory values that `limits` gives for the record as read (so
// that an output device's factory values follow the type the file gives).
// The record is changed only on success; on failure it holds factory values.
// When the schema has a version field and the file gives a version other
// than the current one, fields unknown to this version are skipped.
int read_setup_file(const std::string &path, const Schema &schema, void *record, setup_limits_fn limits);

// The text of a setup file for the record, beginning with `title` as a
// comment.
std::string format_setup_file(const Schema &schema, const void *record, const char *title);

// Replaces the file at `path` with `content` atomically: a temporary file in
// the same directory, synced, renamed over the old file, then the directory
// synced. The old file stays beside it as path + ".bak" and its permission
// bits carry over; a new file gets `new_mode`. A failure leaves the old file
// as it was.
int write_file_atomically(const std::string &path, const std::string &content, mode_t new_mode);

// One field's value as a setup file gives it ("PATH = " not included).
std::string format_field_value(const SchemaField &field, const void *record);
// Parses a value in setup-file syntax into the field of the record; returns
// an empty text, or what is wrong with the value (the field unchanged).
std::string parse_field_value(const SchemaField &field, const std::string &value, void *record);
