// The change log of a site: "changes.log" in the setup directory, one entry
// per save, written before the save replaces any file: a line with the time
// (ISO 8601 with zone), user, host and program; then for each file the save
// writes, a line "  file NAME OLD -> NEW" with the hashes of the content it
// holds ("none" when there is none) and of the content the save writes,
// followed by one line "  PATH: OLD -> NEW" per field whose value changes.
// User, host, program and file name are escaped as \xHH where they hold a
// space or a byte that is not printable ASCII, so one entry never reads as
// two. Whether a save completed is told by the hashes: the file held NEW
// when it was next saved (or holds it now).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct SchemaField;

// "PATH: OLD -> NEW" for every field that differs between two records of
// the limits name, values as a setup file gives them, passwords as
// asterisks.
std::vector<std::string> describe_changes(const char *limits_name, const void *before, const void *after);

// The lines of an entry for a save about to write `record` through the save
// function of the limits name: the file line, then each field whose value
// changes against what the file holds now, read as a load reads it (a line
// that cannot be read shows its value as written; `fallback` stands for a
// missing file).
std::vector<std::string> describe_save(const char *limits_name, const void *fallback, const void *record);

// The hash of a file's content in the log: its CRC-32, 8 hex digits.
std::string content_hash(const std::string &content);

struct LoggedFile {
  std::string name, old_hash, new_hash;
};
// Whether a line of the log (as read_change_log hands it over) is a file
// line, and what it says.
bool parse_file_line(const std::string &line, LoggedFile &file);

// What became of the save of a file line: the file held what it wrote when
// the file was next saved (or holds it now); it still held what it held
// before (the save never completed); or neither (something that keeps no
// log changed it in between).
enum class FileOutcome { Completed, NotCompleted, ChangedOutside };
// The outcome of every file line of the log, in order; returns "" or why
// the log could not be read.
std::string file_outcomes(std::vector<FileOutcome> &outcomes);

// Appends one entry (its lines after the first) in one write, so that
// entries of programs saving at the same time never interleave. Never
// through a link, never to anything but a regular file, never blocking; a
// new log is made 0664 with the setup directory's group, and one an older
// version made 0644 is widened so by its owner. Returns SITE_OK or a status
// for message_to_text.
int append_change_log(const char *program, const std::vector<std::string> &lines);

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
