// Writing setup files so that a crash, a full disk, a planted link or a
// second writer never costs the operator a file.
//
// A writer takes a lock on the directory for the whole replacement, so two
// writers never interleave, and a lock on its temporary file
// .NAME.setup-tmp-XXXXXX until that is renamed over NAME. The old file
// becomes NAME.bak through a second temporary name, the first one + ".old",
// renamed over the old backup, so NAME.bak is replaced in one step. A
// temporary file whose lock nobody holds belongs to a writer that died; the
// next writer removes it. Only names of that form are ever removed: they
// are hidden and carry this program's mark, so no file of an operator's
// has one by chance.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>

#include "sitelib/safe_io.h"
#include "sitelib/setup_file.h"
#include "sitelib/status.h"

namespace {

// ---------------------------------------------------------------------------
// What this process last saw of each file

struct DiskState {
  bool exists;
  size_t size;
  size_t hash;
};

std::map<std::string, DiskState> &disk_states() {
  static std::map<std::string, DiskState> states;
  return states;
}

DiskState state_of(const std::string *content) {
  if (!content) return {false, 0, 0};
  return {true, content->size(), std::hash<std::string>()(*content)};
}

DiskState state_on_disk(const std::string &path) {
  std::string content;
  return read_regular_file(path, kSetupFileMaxBytes, content).empty() ? state_of(&content)
                                                                      : state_of(nullptr);
}

bool same(const DiskState &a, const DiskState &b) {
  return a.exists == b.exists && a.size == b.size && a.hash == b.hash;
}

// ---------------------------------------------------------------------------
// Small file operations; each returns 0 or an errno.

int write_all(int fd, const std::string &content) {
  size_t done = 0;
  while (done < content.size()) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    done += static_cast<size_t>(n);
  }
  return 0;
}

// Writes, sets the mode (whatever the umask), syncs and closes.
int finish_file(int fd, const std::string &content, mode_t mode) {
  int err = write_all(fd, content);
  if (!err && fchmod(fd, mode) != 0) err = errno;
  if (!err && fsync(fd) != 0) err = errno;
  if (close(fd) != 0 && !err) err = errno;
  return err;
}

std::string directory_of(const std::string &path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool no_hard_links_here(int err) { return err == EPERM || err == EXDEV || err == ENOTSUP || err == EMLINK; }

// A copy of the file at `from` created as `to`, which must not exist.
int copy_new(const std::string &from, const std::string &to, mode_t mode) {
  std::string content;
  std::string error = read_regular_file(from, kSetupFileMaxBytes, content);
  if (!error.empty()) return EIO;
  int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return errno;
  int err = finish_file(fd, content, mode);
  if (err) unlink(to.c_str());
  return err;
}

// A second name for the file at `from`, or a copy where hard links fail.
int second_name(const std::string &from, const std::string &to, mode_t mode, bool may_link) {
  if (may_link) {
    if (link(from.c_str(), to.c_str()) == 0) return 0;
    if (!no_hard_links_here(errno)) return errno;
  }
  return copy_new(from, to, mode);
}

// ---------------------------------------------------------------------------
// Temporary files of writers

const char kTemporaryMark[] = ".setup-tmp-";

std::string temporary_pattern(const std::string &path) {
  size_t slash = path.rfind('/');
  return path.substr(0, slash + 1) + "." + path.substr(slash + 1) + kTemporaryMark + "XXXXXX";
}

// .NAME.setup-tmp-XXXXXX or that + ".old", XXXXXX as mkstemp makes it.
bool is_temporary_name(const std::string &name, bool *old) {
  size_t at = name.rfind(kTemporaryMark);
  if (name[0] != '.' || at == std::string::npos || at < 2) return false;
  std::string tail = name.substr(at + sizeof kTemporaryMark - 1);
  *old = tail.size() == 10 && tail.compare(6, 4, ".old") == 0;
  if (tail.size() != 6 && !*old) return false;
  for (size_t i = 0; i < 6; ++i)
    if (!std::isalnum(static_cast<unsigned char>(tail[i]))) return false;
  return true;
}

// Removes the temporary `name` when it is a regular file whose writer's lock
// is gone, together with its ".old" name.
void remove_if_stale(int dir, const std::string &name) {
  int fd = openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened, named;
  if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      fstatat(dir, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == opened.st_ino &&
      named.st_dev == opened.st_dev) {
    unlinkat(dir, (name + ".old").c_str(), 0);
    unlinkat(dir, name.c_str(), 0);
  }
  close(fd);
}

// An ".old" name whose temporary is gone: its writer died between the two.
void remove_orphan_old(int dir, const std::string &name) {
  std::string owner = name.substr(0, name.size() - 4);
  struct stat st;
  if (fstatat(dir, owner.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) return;
  if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
    unlinkat(dir, name.c_str(), 0);
}

void remove_stale_temporaries(int dir) {
  int scan = dup(dir);
  if (scan < 0) return;
  DIR *entries = fdopendir(scan);
  if (!entries) {
    close(scan);
    return;
  }
  std::vector<std::pair<std::string, bool>> found;
  while (dirent *e = readdir(entries)) {
    bool old = false;
    if (is_temporary_name(e->d_name, &old)) found.emplace_back(e->d_name, old);
  }
  closedir(entries);
  for (const auto &[name, old] : found)
    if (!old) remove_if_stale(dir, name);
  for (const auto &[name, old] : found)
    if (old) remove_orphan_old(dir, name);
}

// A new locked temporary beside `path` holding `content`; its descriptor
// stays open (and locked) in `fd` until the caller has renamed it.
int write_temporary(const std::string &path, const std::string &content, mode_t mode, const struct stat *old,
                    std::string &temporary, int &fd) {
  for (int tries = 0; tries < 5; ++tries) {
    std::string name = temporary_pattern(path);
    fd = mkostemp(&name[0], O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st;
    // Locked before anything is written; a cleaner that came first took it.
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) {
      temporary = name;
      break;
    }
    close(fd);
    fd = -1;
  }
  if (fd < 0) return EAGAIN;
  int err = write_all(fd, content);
  if (!err && fchmod(fd, mode) != 0) err = errno;
  // Root keeps the owner of the file it replaces; others keep at least its
  // group where they belong to it, so the group's readers still read it.
  if (!err && old && geteuid() == 0 && fchown(fd, old->st_uid, old->st_gid) != 0) err = errno;
  if (!err && old && geteuid() != 0 && fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0 && errno != EPERM)
    err = errno;
  if (!err && fsync(fd) != 0) err = errno;
  return err;
}

// The old file as PATH.bak, replaced in one rename.
int keep_backup(const std::string &path, const std::string &temporary, mode_t mode, bool may_link) {
  std::string staged = temporary + ".old";
  int err = second_name(path, staged, mode, may_link);
  if (!err && rename(staged.c_str(), (path + ".bak").c_str()) != 0) err = errno;
  // rename() leaves both names when the backup already is a second name of
  // the file (a writer died after making it): the staged name goes anyway.
  unlink(staged.c_str());
  return err;
}

// The number N of BASE.rejected.N in `entry` (0 for BASE.rejected), or -1.
long rejected_number(const std::string &entry, const std::string &base) {
  const std::string stem = base + ".rejected";
  if (entry.compare(0, stem.size(), stem) != 0) return -1;
  if (entry.size() == stem.size()) return 0;
  const std::string digits = entry.substr(stem.size() + 1);
  if (entry[stem.size()] != '.' || digits.empty() || digits.size() > 9 || digits[0] == '0') return -1;
  for (char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
  return std::stol(digits);
}

// The old file as PATH.rejected, or as PATH.rejected.N numbered after the
// highest one there is: never over an earlier copy, and no limit on their
// number.
int keep_rejected(const std::string &path, mode_t mode, bool may_link) {
  const std::string base = path.substr(path.rfind('/') + 1);
  long next = 0;
  if (DIR *entries = opendir(directory_of(path).c_str())) {
    while (dirent *e = readdir(entries)) next = std::max(next, rejected_number(e->d_name, base) + 1);
    closedir(entries);
  }
  for (long n = next;; ++n) {
    std::string name = path + ".rejected" + (n ? "." + std::to_string(n) : "");
    int err = second_name(path, name, mode, may_link);
    if (err != EEXIST) return err;
  }
}

int sync_directory(int dir) { return fsync(dir) == 0 || errno == EINVAL ? 0 : errno; }

// ---------------------------------------------------------------------------
// Links

// A setup file that is a symbolic link is written where it points, so that
// the link stays; but only when root or the target's owner made the link,
// for anyone else could point it at a file of theirs to have it replaced.
int resolve_link(const std::string &path, std::string &target) {
  target = path;
  struct stat link_st;
  if (lstat(path.c_str(), &link_st) != 0 || !S_ISLNK(link_st.st_mode)) return SITE_OK;
  char *real = realpath(path.c_str(), nullptr);
  if (!real)
    return site_failure(SITE_WRITE_FAILED, "Setup file %s is a symbolic link that leads nowhere; not written",
                        escaped_bytes(path).c_str());
  target = real;
  free(real);
  struct stat target_st;
  if (stat(target.c_str(), &target_st) != 0) return SITE_OK;
  if (link_st.st_uid != 0 && link_st.st_uid != target_st.st_uid)
    return site_failure(SITE_WRITE_FAILED,
                        "Setup file %s is a symbolic link made by user %u to %s of user %u; not written",
                        escaped_bytes(path).c_str(), static_cast<unsigned>(link_st.st_uid),
                        escaped_bytes(target).c_str(), static_cast<unsigned>(target_st.st_uid));
  return SITE_OK;
}

// ---------------------------------------------------------------------------
// The replacement, with the directory locked

struct Replacement {
  const std::string &path;  // after links
  const std::string &content;
  const WriteRules &rules;
  struct stat old;
  bool exists;
  std::string before;  // the old file's content, when it could be read
  std::string temporary;
  int fd;

  Replacement(const std::string &p, const std::string &c, const WriteRules &r)
      : path(p), content(c), rules(r), old(), exists(false), fd(-1) {}

  // Narrows the old file itself to the allowed bits, so that its backup
  // (a second name for it) is no wider; false when that is not allowed here.
  bool narrow_old(mode_t mode) {
    if ((old.st_mode & 07777) == mode) return true;
    return chmod(path.c_str(), mode) == 0;
  }

  int keep_rejected_if_bad(mode_t mode, bool may_link) {
    if (!rules.schema || old.st_size == 0 || before.empty()) return 0;
    if (reads_cleanly(before, *rules.schema)) return 0;
    return keep_rejected(path, mode, may_link);
  }

  int run() {
    exists = stat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return errno;
    if (exists && !S_ISREG(old.st_mode)) return EISDIR;
    mode_t mode = exists ? old.st_mode & 07777 & rules.max_mode : rules.new_mode;
    bool may_link = !exists || narrow_old(mode);
    if (exists && !read_regular_file(path, kSetupFileMaxBytes, before).empty()) before.clear();
    int err = exists ? keep_rejected_if_bad(mode, may_link) : 0;
    if (!err) err = write_temporary(path, content, mode, exists ? &old : nullptr, temporary, fd);
    if (!err && exists) err = keep_backup(path, temporary, mode, may_link);
    if (!err && rename(temporary.c_str(), path.c_str()) != 0) err = errno;
    if (err && !temporary.empty()) unlink(temporary.c_str());
    if (fd >= 0) close(fd);
    return err;
  }
};

int lock_directory(const std::string &directory, int &dir) {
  dir = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return errno;
  while (flock(dir, LOCK_EX) != 0)
    if (errno != EINTR) return errno;
  return 0;
}

// The setup directory's lock while a whole save holds it, and how many
// lock_setup_directory calls it answers.
struct HeldLock {
  int fd = -1;
  int depth = 0;
};
HeldLock held;

// The held lock when `directory` is the directory it locks, else -1.
int held_lock_of(const std::string &directory) {
  struct stat locked, wanted;
  if (held.fd < 0 || fstat(held.fd, &locked) != 0 || stat(directory.c_str(), &wanted) != 0) return -1;
  return locked.st_dev == wanted.st_dev && locked.st_ino == wanted.st_ino ? held.fd : -1;
}

int write_failure(const std::string &path, int err) {
  return site_failure(SITE_WRITE_FAILED, "Cannot write setup file %s: %s", escaped_bytes(path).c_str(),
                      std::strerror(err));
}

// Refuses while the file is no longer what this process last read or
// wrote: the caller reads it again (and merges) before writing over it.
int refuse_if_changed(const std::string &requested) {
  auto known = disk_states().find(requested);
  if (known == disk_states().end() || same(known->second, state_on_disk(requested))) return SITE_OK;
  return site_failure(SITE_CHANGED_ON_DISK, "Setup file %s was changed on disk since it was read; not saved",
                      escaped_bytes(requested).c_str());
}

}  // namespace

void note_disk_state(const std::string &path, const std::string *content) {
  disk_states()[path] = state_of(content);
}

bool disk_state_changed(const std::string &path) {
  auto known = disk_states().find(path);
  return known != disk_states().end() && !same(known->second, state_on_disk(path));
}

int lock_setup_directory(void) {
  if (held.depth++ > 0) return 0;
  int err = lock_directory(setup_directory(), held.fd);
  if (err && held.fd >= 0) close(held.fd);
  if (err) held.fd = -1;
  return err;
}

void unlock_setup_directory(void) {
  if (held.depth == 0 || --held.depth > 0) return;
  if (held.fd >= 0) close(held.fd);  // releases the lock
  held.fd = -1;
}

int write_file_atomically(const std::string &requested, const std::string &content, const WriteRules &rules) {
  std::string path;
  if (int status = resolve_link(requested, path); status != SITE_OK) return status;
  int dir = held_lock_of(directory_of(path));
  const bool own_lock = dir < 0;
  if (int err = own_lock ? lock_directory(directory_of(path), dir) : 0) {
    if (dir >= 0) close(dir);
    return write_failure(path, err);
  }
  int status = refuse_if_changed(requested);
  if (status == SITE_OK) {
    remove_stale_temporaries(dir);
    Replacement replacement{path, content, rules};
    if (int err = replacement.run()) {
      status = write_failure(path, err);
    } else {
      note_disk_state(requested, &content);
      if (int sync_err = sync_directory(dir))
        status = site_failure(SITE_WRITE_FAILED,
                              "Setup file %s was written, but its directory could not be synced: %s",
                              escaped_bytes(path).c_str(), std::strerror(sync_err));
    }
  }
  if (own_lock) close(dir);  // releases the lock
  return status;
}
