#include "sitelib/change_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <sstream>

#include "sitelib/safe_io.h"
#include "sitelib/schema.h"
#include "sitelib/setup_file.h"
#include "sitelib/sitelib.h"
#include "sitelib/status.h"

namespace {

// Local time with its offset written +hh:mm.
std::string iso_time_now(void) {
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  char text[40];
  strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
  std::string out = text;
  if (out.size() >= 5) out.insert(out.size() - 2, ":");
  return out;
}

std::string host(void) {
  char name[256] = "";
  if (gethostname(name, sizeof name) != 0) name[0] = '\0';
  name[sizeof name - 1] = '\0';
  return name[0] ? name : "unknown";
}

// A name as one word of the entry's first line: spaces, backslashes and
// every byte that is not printable ASCII as \xHH (backslash as "\\"), so
// that no host or user name can end the line or pass for more words.
std::string word(const char *name) {
  std::string out;
  for (char c : escaped_bytes(name ? name : "")) out += c == ' ' ? std::string("\\x20") : std::string(1, c);
  return out.empty() ? "unknown" : out;
}

// Opens the log without following a link and without blocking (a FIFO
// without a reader fails at once); anything but a regular file with one
// name is refused, for a link or a second name could lead a root's save
// to a file of root's. Returns the descriptor, or -1 with the reason.
int open_log(const std::string &path, int flags, std::string &error) {
  int fd = open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0664);
  struct stat st;
  if (fd < 0)
    error = errno == ELOOP   ? "a symbolic link, which is never followed"
            : errno == ENXIO ? "not a regular file"
                             : std::strerror(errno);
  else if (fstat(fd, &st) != 0)
    error = std::strerror(errno);
  else if (!S_ISREG(st.st_mode))
    error = "not a regular file";
  else if (st.st_nlink > 1)
    error = "a file with more than one name (a hard link)";
  if (fd >= 0 && !error.empty()) {
    close(fd);
    fd = -1;
  }
  return fd;
}

// A log made here may be appended to by every operator: mode 0664 and the
// setup directory's group, whatever the umask. A user outside that group
// keeps their own.
int open_log_for_append(const std::string &path, std::string &error) {
  const int flags = O_WRONLY | O_APPEND;
  int fd = open_log(path, flags | O_CREAT | O_EXCL, error);
  if (fd < 0 && error != std::strerror(EEXIST)) return -1;
  struct stat st;
  if (fd < 0) {
    error.clear();
    fd = open_log(path, flags, error);
    // A log an older version made 0644 is widened by its owner.
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & 07777) != 0644) return fd;
  }
  struct stat dir;
  if (fchmod(fd, 0664) != 0 || (stat(setup_directory(), &dir) == 0 &&
                                fchown(fd, static_cast<uid_t>(-1), dir.st_gid) != 0 && errno != EPERM))
    error = std::strerror(errno);
  return fd;
}

// Another program holding the lock for long (or for ever) costs the entry,
// never the save.
int lock_briefly(int fd) {
  for (int tries = 0; tries < 200; ++tries) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    if (errno != EWOULDBLOCK && errno != EINTR) return errno;
    usleep(10000);
  }
  return EWOULDBLOCK;
}

std::string write_entry(int fd, const std::string &entry) {
  int err = lock_briefly(fd);
  if (err) return err == EWOULDBLOCK ? "locked by another program for two seconds" : std::strerror(err);
  ssize_t written = write(fd, entry.data(), entry.size());
  err = written < 0 ? errno : static_cast<size_t>(written) != entry.size() ? EIO : 0;
  if (!err && fsync(fd) != 0) err = errno;
  flock(fd, LOCK_UN);
  return err ? std::strerror(err) : "";
}

// "PATH: OLD -> NEW" for each field that differs, or whose line in the old
// file could not be read (its value shown as written).
std::vector<std::string> changed_fields(const Schema &schema, const void *before, const void *after,
                                        const std::vector<std::pair<size_t, std::string>> &unreadable_lines) {
  std::vector<const std::string *> unreadable(schema.fields.size());
  for (const auto &[index, value] : unreadable_lines) unreadable[index] = &value;
  const char *old_bytes = static_cast<const char *>(before);
  const char *new_bytes = static_cast<const char *>(after);
  std::vector<std::string> lines;
  for (size_t i = 0; i < schema.fields.size(); ++i) {
    const SchemaField &f = schema.fields[i];
    std::string old_value;
    if (unreadable[i])
      old_value = is_secret_path(f.path) ? "\"********\"" : escaped_bytes(*unreadable[i]);
    else if (std::memcmp(old_bytes + f.offset, new_bytes + f.offset, f.size) != 0)
      old_value = shown_field_value(f, before);
    else
      continue;
    lines.push_back(f.path + ": " + old_value + " -> " + shown_field_value(f, after));
  }
  return lines;
}

const char kFileWord[] = "file";
const char kNoFile[] = "none";

}  // namespace

std::vector<std::string> describe_changes(const char *limits_name, const void *before, const void *after) {
  const Schema *schema = schema_for_limits(limits_name);
  return schema ? changed_fields(*schema, before, after, {}) : std::vector<std::string>();
}

std::string content_hash(const std::string &content) {
  // The CRC-32 that tells edited records apart: it only has to tell the
  // content before a save from the content after it.
  char text[9];
  std::snprintf(text, sizeof text, "%08x",
                static_cast<unsigned>(iunique_sum(content.data(), content.size())));
  return text;
}

std::vector<std::string> describe_save(const char *limits_name, const void *fallback, const void *record) {
  const Schema *schema = schema_for_limits(limits_name);
  const std::string path = setup_file_path(limits_name);
  if (!schema || path.empty()) return {};
  const std::vector<char> after = record_as_written(limits_name, record);
  const std::string content = setup_file_content(limits_name, record);
  // The file as it is, read as a load reads it: a line that could not be
  // read shows its value as written.
  std::string now;
  const bool exists = read_regular_file(path, kSetupFileMaxBytes, now).empty();
  std::vector<char> on_disk(schema->record_size);
  SetupFileProblems problems;
  const void *before = fallback;
  if (exists && parse_setup_text(now, "", *schema, on_disk.data(), setup_limits, problems) == SITE_OK)
    before = on_disk.data();
  else
    problems.unreadable.clear();
  std::vector<std::string> lines{std::string(kFileWord) + " " +
                                 word(path.substr(path.rfind('/') + 1).c_str()) + " " +
                                 (exists ? content_hash(now) : kNoFile) + " -> " + content_hash(content)};
  for (std::string &line : changed_fields(*schema, before, after.data(), problems.unreadable))
    lines.push_back(std::move(line));
  return lines;
}

bool parse_file_line(const std::string &line, LoggedFile &file) {
  std::istringstream words(line);
  std::string kind, arrow;
  return words >> kind >> file.name >> file.old_hash >> arrow >> file.new_hash && kind == kFileWord &&
         arrow == "->" && line.compare(0, 2, "  ") == 0;
}

std::string file_outcomes(std::vector<FileOutcome> &outcomes) {
  std::vector<LoggedFile> files;
  const std::string error = read_change_log([&](const std::string &line, size_t) {
    LoggedFile file;
    if (parse_file_line(line, file)) files.push_back(file);
  });
  // Backwards: what each file held after a save is what the next save of
  // it found, or, after the last one, what it holds now.
  std::map<std::string, std::string> after;
  for (const char *limits : {"ant_manual_setup", "dsp_manual_setup", "rtdisp_setup", "zamo_setup"}) {
    const std::string path = setup_file_path(limits);
    std::string now;
    after[path.substr(path.rfind('/') + 1)] =
        read_regular_file(path, kSetupFileMaxBytes, now).empty() ? content_hash(now) : kNoFile;
  }
  outcomes.assign(files.size(), FileOutcome::Completed);
  for (size_t i = files.size(); i-- > 0;) {
    auto state = after.find(files[i].name);
    if (state == after.end()) continue;  // no setup file of this site
    outcomes[i] = state->second == files[i].new_hash   ? FileOutcome::Completed
                  : state->second == files[i].old_hash ? FileOutcome::NotCompleted
                                                       : FileOutcome::ChangedOutside;
    state->second = files[i].old_hash;
  }
  return error;
}

std::string shown_field_value(const SchemaField &f, const void *record) {
  return is_secret_path(f.path) ? "\"********\"" : format_field_value(f, record);
}

// Passwords never reach the log, not even their length.
bool is_secret_path(const std::string &path) { return path.find("Password") != std::string::npos; }

std::string change_log_path(void) { return std::string(setup_directory()) + "/changes.log"; }

int append_change_log(const char *program, const std::vector<std::string> &changes) {
  std::string entry = iso_time_now() + " " + word(tolvek_username()) + " " + word(host().c_str()) + " " +
                      word(program) + "\n";
  for (const std::string &line : changes) entry += "  " + line + "\n";
  const std::string path = change_log_path();
  std::string error;
  int fd = open_log_for_append(path, error);
  if (fd >= 0 && error.empty()) error = write_entry(fd, entry);
  if (fd >= 0 && close(fd) != 0 && error.empty()) error = std::strerror(errno);
  if (!error.empty())
    return site_failure(SITE_WRITE_FAILED, "Cannot add to the change log %s: %s", escaped_bytes(path).c_str(),
                        error.c_str());
  return SITE_OK;
}

std::string read_change_log(const std::function<void(const std::string &, size_t)> &take) {
  std::string error;
  int fd = open_log(change_log_path(), O_RDONLY, error);
  if (fd < 0) return error == std::strerror(ENOENT) ? "" : error;
  std::string line;
  size_t left_out = 0;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error = std::strerror(errno);
      break;
    }
    for (const char *p = buf, *end = buf + n; p < end;) {
      const char *newline = static_cast<const char *>(std::memchr(p, '\n', end - p));
      const size_t length = (newline ? newline : end) - p;
      const size_t kept = std::min(length, kChangeLogLineMax - line.size());
      line.append(p, kept);
      left_out += length - kept;
      if (newline) {
        take(line, left_out);
        line.clear();
        left_out = 0;
      }
      p += length + (newline ? 1 : 0);
    }
  }
  if (error.empty() && (!line.empty() || left_out)) take(line, left_out);
  close(fd);
  return error;
}
