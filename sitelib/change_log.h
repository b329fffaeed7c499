// The change log of a site: "changes.log" in the setup directory, one entry
// per save: a line with the time (ISO 8601 with zone), user, host and
// program, then one line "  PATH: OLD -> NEW" per changed field. User, host
// and program are escaped as \xHH where they hold a space or a byte that is
// not printable ASCII, so one entry never reads as two.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct SchemaField;

// "PATH: OLD -> NEW" for every field of the record of the limits name whose
// value the last save through the library changed on disk: OLD as the file
// held it before that save (`before` when there was no file), the value as
// written where its line could not be read; values as a setup file gives
// them, passwords as asterisks.
std::vector<std::string> describe_changes(const char *limits_name, const void *before, const void *after);

// Appends one entry in one write, so that entries of programs saving at the
// same time never interleave. Never through a link, never to anything but
// a regular file, never blocking; a new log is made 0664 with the setup
// directory's group. Returns SITE_OK or a status for message_to_text.
int append_change_log(const char *program, const std::vector<std::string> &changes);

// Longest line handed over by read_change_log.
const size_t kChangeLogLineMax = 64u << 10;

// Calls `take` with each line of the log, without its newline; a longer
// line than kChangeLogLineMax is handed over cut there, with the number of
// bytes left out. The log is opened as append_change_log opens it. Returns
// "" (also when there is no log yet) or why it could not be read.
std::string read_change_log(const std::function<void(const std::string &line, size_t left_out)> &take);

// A field's value as a setup file gives it, a password as asterisks.
std::string shown_field_value(const SchemaField &f, const void *record);

// Whether a field's value is secret (a password): every output shows it as
// asterisks.
bool is_secret_path(const std::string &path);

// The log's path.
std::string change_log_path(void);
