// The change log of a site: "changes.log" in the setup directory, one entry
// per save: a line with the time (ISO 8601 with zone), user, host and
// program, then one line "  PATH: OLD -> NEW" per changed field.
#pragma once

#include <string>
#include <vector>

// "PATH: OLD -> NEW" for every field of the record of the limits name that
// differs between the two copies, values as a setup file gives them;
// passwords as asterisks.
std::vector<std::string> describe_changes(const char *limits_name, const void *before, const void *after);

// Appends one entry in one write, so that entries of programs saving at the
// same time never interleave. Returns SITE_OK or a status for
// message_to_text.
int append_change_log(const char *program, const std::vector<std::string> &changes);

// Whether a field's value is secret (a password): every output shows it as
// asterisks.
bool is_secret_path(const std::string &path);

// The log's path.
std::string change_log_path(void);
