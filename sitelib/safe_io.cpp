#include "sitelib/safe_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sitelib/sitelib.h"

namespace {

std::string size_text(size_t bytes) {
  return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MB" : std::to_string(bytes >> 10) + " KB";
}

// Opens without blocking (a FIFO without writer would hang a plain open)
// and without becoming a controlling terminal; checks what was opened.
int open_regular(const std::string &path, size_t max_bytes, std::string &error) {
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return -1;
  }
  struct stat st;
  if (fstat(fd, &st) != 0)
    error = std::strerror(errno);
  else if (!S_ISREG(st.st_mode))
    error = "not a regular file";
  else if (static_cast<unsigned long long>(st.st_size) > max_bytes)
    error = "larger than " + size_text(max_bytes);
  if (!error.empty()) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string read_regular_file(const std::string &path, size_t max_bytes, std::string &content) {
  content.clear();
  std::string error;
  int fd = open_regular(path, max_bytes, error);
  if (fd < 0) return error;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = std::strerror(errno);
      break;
    }
    if (n == 0) break;
    // A file that grows while it is read stops at the limit all the same.
    if (content.size() + static_cast<size_t>(n) > max_bytes) {
      error = "larger than " + size_text(max_bytes);
      break;
    }
    content.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  if (!error.empty()) content.clear();
  return error;
}

std::string escaped_bytes(const std::string &bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

int site_regular_file(const char *path, size_t max_bytes) {
  std::string error;
  int fd = open_regular(path ? path : "", max_bytes, error);
  if (fd < 0) return 0;
  close(fd);
  return 1;
}
