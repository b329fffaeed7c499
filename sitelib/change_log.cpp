#include "sitelib/change_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "sitelib/setup_file.h"
#include "sitelib/status.h"

namespace {

std::string shown_value(const SchemaField &f, const void *record) {
  return is_secret_path(f.path) ? "\"********\"" : format_field_value(f, record);
}

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

int write_entry(int fd, const std::string &entry) {
  if (flock(fd, LOCK_EX) != 0) return errno;
  ssize_t written = write(fd, entry.data(), entry.size());
  int err = written < 0 ? errno : static_cast<size_t>(written) != entry.size() ? EIO : 0;
  if (!err && fsync(fd) != 0) err = errno;
  flock(fd, LOCK_UN);
  return err;
}

}  // namespace

std::vector<std::string> describe_changes(const char *limits_name, const void *before, const void *after) {
  std::vector<std::string> lines;
  const Schema *schema = schema_for_limits(limits_name);
  if (!schema) return lines;
  const char *old_bytes = static_cast<const char *>(before);
  const char *new_bytes = static_cast<const char *>(after);
  for (const SchemaField &f : schema->fields) {
    if (std::memcmp(old_bytes + f.offset, new_bytes + f.offset, f.size) == 0) continue;
    lines.push_back(f.path + ": " + shown_value(f, before) + " -> " + shown_value(f, after));
  }
  return lines;
}

// Passwords never reach the log, not even their length.
bool is_secret_path(const std::string &path) { return path.find("Password") != std::string::npos; }

std::string change_log_path(void) { return std::string(setup_directory()) + "/changes.log"; }

int append_change_log(const char *program, const std::vector<std::string> &changes) {
  const char *user = tolvek_username();
  std::string entry = iso_time_now() + " " + (user && *user ? user : "unknown") + " " + host() + " " +
                      (program ? program : "unknown") + "\n";
  for (const std::string &line : changes) entry += "  " + line + "\n";
  const std::string path = change_log_path();
  int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  int err = fd < 0 ? errno : write_entry(fd, entry);
  if (fd >= 0 && close(fd) != 0 && !err) err = errno;
  if (err)
    return site_failure(SITE_WRITE_FAILED, "Cannot add to the change log %s: %s", path.c_str(),
                        std::strerror(err));
  return SITE_OK;
}
