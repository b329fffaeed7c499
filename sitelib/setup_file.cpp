#include "sitelib/setup_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "sitelib/status.h"

namespace {
// ---------------------------------------------------------------------------
// Values as text

template <class T>
T load(const char *at) {
  T v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <class T>
void append_floating(std::string &out, T v) {
  char buf[512];
  // Plain decimals where they stay short, else the shortest exact form.
  bool plain = v == 0 || (std::fabs(v) >= 1e-6 && std::fabs(v) < 1e15);
  auto r = plain ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                 : std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

// Every byte of the field up to its last non-zero byte, so that trailing
// blanks, control characters and bytes after an early terminator survive.
void append_text(std::string &out, const char *bytes, size_t size) {
  while (size > 0 && bytes[size - 1] == '\0') --size;
  out += '"';
  for (size_t i = 0; i < size; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      static const char hex[] = "0123456789ABCDEF";
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  out += '"';
}

void append_value(std::string &out, const SchemaField &f, const char *at) {
  switch (f.type) {
    case SchemaType::Int8:
      out += std::to_string(load<int8_t>(at));
      break;
    case SchemaType::UInt8:
      out += std::to_string(load<uint8_t>(at));
      break;
    case SchemaType::Int16:
      out += std::to_string(load<int16_t>(at));
      break;
    case SchemaType::UInt16:
      out += std::to_string(load<uint16_t>(at));
      break;
    case SchemaType::Int32:
      out += std::to_string(load<int32_t>(at));
      break;
    case SchemaType::UInt32:
      out += std::to_string(load<uint32_t>(at));
      break;
    case SchemaType::Float:
      append_floating(out, load<float>(at));
      break;
    case SchemaType::Double:
      append_floating(out, load<double>(at));
      break;
    case SchemaType::Text:
      append_text(out, at, f.size);
      break;
  }
}

// ---------------------------------------------------------------------------
// Parsing one value. Each parser returns an empty text on success, otherwise
// what is wrong.

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_end(std::string_view v) {
  while (!v.empty() && (is_blank(v.back()) || v.back() == '\r')) v.remove_suffix(1);
  return v;
}

void integer_range(SchemaType type, long long &lo, long long &hi) {
  switch (type) {
    case SchemaType::Int8:
      lo = INT8_MIN, hi = INT8_MAX;
      return;
    case SchemaType::UInt8:
      lo = 0, hi = UINT8_MAX;
      return;
    case SchemaType::Int16:
      lo = INT16_MIN, hi = INT16_MAX;
      return;
    case SchemaType::UInt16:
      lo = 0, hi = UINT16_MAX;
      return;
    case SchemaType::Int32:
      lo = INT32_MIN, hi = INT32_MAX;
      return;
    default:
      lo = 0, hi = UINT32_MAX;
      return;
  }
}

template <class T>
void store(char *at, T v) {
  std::memcpy(at, &v, sizeof v);
}

// A leading '+' is taken, as people write it; from_chars does not.
std::string_view skip_plus(std::string_view v) {
  if (v.size() > 1 && v[0] == '+' && v[1] != '-') v.remove_prefix(1);
  return v;
}

std::string quoted(std::string_view v) {
  if (v.size() > 40) return "\"" + std::string(v.substr(0, 40)) + "...\"";
  return "\"" + std::string(v) + "\"";
}

std::string parse_integer(const SchemaField &f, std::string_view v, char *at) {
  std::string_view digits = skip_plus(v);
  long long value = 0;
  auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (r.ec == std::errc::invalid_argument || r.ptr != digits.data() + digits.size())
    return quoted(v) + " is not a whole number";
  long long lo, hi;
  integer_range(f.type, lo, hi);
  if (r.ec == std::errc::result_out_of_range || value < lo || value > hi)
    return quoted(v) + " is outside the range of the field (" + std::to_string(lo) + " to " +
           std::to_string(hi) + ")";
  switch (f.type) {
    case SchemaType::Int8:
      store(at, static_cast<int8_t>(value));
      break;
    case SchemaType::UInt8:
      store(at, static_cast<uint8_t>(value));
      break;
    case SchemaType::Int16:
      store(at, static_cast<int16_t>(value));
      break;
    case SchemaType::UInt16:
      store(at, static_cast<uint16_t>(value));
      break;
    case SchemaType::Int32:
      store(at, static_cast<int32_t>(value));
      break;
    default:
      store(at, static_cast<uint32_t>(value));
      break;
  }
  return "";
}

template <class T>
std::string parse_floating(std::string_view v, char *at) {
  std::string_view digits = skip_plus(v);
  T value = 0;
  auto r = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (r.ec == std::errc::invalid_argument || r.ptr != digits.data() + digits.size())
    return quoted(v) + " is not a number";
  // Out of range: too large for the type, or a non-zero value too small.
  if (r.ec == std::errc::result_out_of_range)
    return quoted(v) + " is outside the range of the field (" +
           (sizeof(T) == sizeof(float) ? "float" : "double") + ")";
  store(at, value);
  return "";
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string parse_text(const SchemaField &f, std::string_view v, char *at) {
  if (v.empty() || v[0] != '"') return "a text must stand in double quotes";
  std::string bytes;
  size_t i = 1;
  for (; i < v.size() && v[i] != '"'; ++i) {
    if (v[i] != '\\') {
      bytes += v[i];
      continue;
    }
    if (++i == v.size()) break;
    switch (v[i]) {
      case '\\':
        bytes += '\\';
        break;
      case '"':
        bytes += '"';
        break;
      case 'n':
        bytes += '\n';
        break;
      case 't':
        bytes += '\t';
        break;
      case 'x': {
        int high = i + 1 < v.size() ? hex_digit(v[i + 1]) : -1;
        int low = i + 2 < v.size() ? hex_digit(v[i + 2]) : -1;
        if (high < 0 || low < 0) return "\\x needs two hexadecimal digits";
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return std::string("unknown escape \\") + v[i];
    }
  }
  if (i >= v.size()) return "the text has no closing quote";
  if (i + 1 != v.size()) return "unexpected characters after the closing quote";
  if (bytes.size() > f.size)
    return "the text is " + std::to_string(bytes.size()) + " bytes long, the field holds " +
           std::to_string(f.size);
  std::memset(at, 0, f.size);
  std::memcpy(at, bytes.data(), bytes.size());
  return "";
}

std::string parse_value(const SchemaField &f, std::string_view v, char *at) {
  switch (f.type) {
    case SchemaType::Float:
      return parse_floating<float>(v, at);
    case SchemaType::Double:
      return parse_floating<double>(v, at);
    case SchemaType::Text:
      return parse_text(f, v, at);
    default:
      return parse_integer(f, v, at);
  }
}

// ---------------------------------------------------------------------------
// Reading a whole file

// A setup file is a few hundred kilobytes at most; anything far larger is
// not one.
const size_t kMaxFileSize = 64u << 20;

int read_whole(const std::string &path, std::string &content) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || content.size() + n > kMaxFileSize) {
      int err = n < 0 ? errno : EFBIG;
      close(fd);
      return err;
    }
    if (n == 0) break;
    content.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  return 0;
}

struct Reader {
  const std::string &path;
  const Schema &schema;
  std::vector<char> record;
  std::vector<int> given_on;  // line of each field, 0 when not given
  int unknown_line = 0;       // first line naming an unknown field
  std::string unknown_path;

  Reader(const std::string &p, const Schema &s)
      : path(p), schema(s), record(s.record_size, 0), given_on(s.fields.size(), 0) {}

  int fail(int line, const std::string &what) {
    return site_failure(SITE_BAD_SETUP_FILE, "Setup file %s, line %d: %s", path.c_str(), line, what.c_str());
  }

  // An older version may name fields this one no longer has.
  bool older_version() const {
    const SchemaField *v = schema.version_path.empty() ? nullptr : schema.find(schema.version_path);
    if (!v) return false;
    const char *text = record.data() + v->offset;
    std::string version(text, strnlen(text, v->size));
    return given_on[v - schema.fields.data()] != 0 && version != v->factory_text;
  }

  int unknown_field() { return fail(unknown_line, "unknown field \"" + unknown_path + "\""); }

  int line(int number, std::string_view text) {
    size_t start = 0;
    while (start < text.size() && is_blank(text[start])) ++start;
    text = trim_end(text.substr(start));
    if (text.empty() || text[0] == '#') return SITE_OK;
    size_t end = 0;
    while (end < text.size() && !is_blank(text[end]) && text[end] != '=') ++end;
    std::string field_path(text.substr(0, end));
    size_t eq = end;
    while (eq < text.size() && is_blank(text[eq])) ++eq;
    if (end == 0 || eq == text.size() || text[eq] != '=') return fail(number, "expected \"PATH = VALUE\"");
    std::string_view value = text.substr(eq + 1);
    while (!value.empty() && is_blank(value[0])) value.remove_prefix(1);
    if (value.empty()) return fail(number, "\"" + field_path + "\" has no value");

    const SchemaField *f = schema.find(field_path);
    if (!f) {
      if (!unknown_line) unknown_line = number, unknown_path = field_path;
      return SITE_OK;
    }
    int &given = given_on[f - schema.fields.data()];
    if (given)
      return fail(number,
                  "\"" + field_path + "\" is given twice (first on line " + std::to_string(given) + ")");
    given = number;
    std::string error = parse_value(*f, value, record.data() + f->offset);
    if (!error.empty()) return fail(number, "\"" + field_path + "\": " + error);
    return SITE_OK;
  }

  int parse(const std::string &content) {
    int number = 0;
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a byte order mark some editors add
    for (size_t pos = start; pos < content.size();) {
      size_t nl = content.find('\n', pos);
      if (nl == std::string::npos) nl = content.size();
      int status = line(++number, std::string_view(content).substr(pos, nl - pos));
      if (status != SITE_OK) return unknown_line && !older_version() ? unknown_field() : status;
      pos = nl + 1;
    }
    return unknown_line && !older_version() ? unknown_field() : SITE_OK;
  }

  // Fields the file does not mention take their factory values, computed
  // for the record as read.
  int complete(setup_limits_fn limits) {
    std::vector<char> factory(record);
    int status = limits(schema.name.c_str(), factory.data(), LIMITS_FACTORY, 0);
    if (status != SITE_OK) return status;
    for (size_t i = 0; i < schema.fields.size(); ++i) {
      const SchemaField &f = schema.fields[i];
      if (!given_on[i]) std::memcpy(record.data() + f.offset, factory.data() + f.offset, f.size);
    }
    return SITE_OK;
  }
};

// ---------------------------------------------------------------------------
// Writing

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

std::string directory_of(const std::string &path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes a complete, synced file with the given mode under a temporary name
// beside `path`; returns 0 or the error, and the temporary name.
int write_temporary(const std::string &path, const std::string &content, mode_t mode, const struct stat *old,
                    std::string &temporary) {
  std::string name = path + ".new-XXXXXX";
  int fd = mkostemp(&name[0], O_CLOEXEC);
  if (fd < 0) return errno;
  temporary = name;
  int err = write_all(fd, content);
  if (!err && fchmod(fd, mode) != 0) err = errno;
  // Root keeps the owner of the file it replaces; others cannot, and need not.
  if (!err && old && geteuid() == 0 && fchown(fd, old->st_uid, old->st_gid) != 0) err = errno;
  if (!err && fsync(fd) != 0) err = errno;
  if (close(fd) != 0 && !err) err = errno;
  return err;
}

// The old file as path.bak: a second name for the same bytes, or a copy
// where the file system has no hard links.
int keep_backup(const std::string &path) {
  std::string backup = path + ".bak";
  if (unlink(backup.c_str()) != 0 && errno != ENOENT) return errno;
  if (link(path.c_str(), backup.c_str()) == 0) return 0;
  if (errno != EPERM && errno != EXDEV && errno != ENOTSUP && errno != EMLINK) return errno;
  std::string old;
  if (int err = read_whole(path, old)) return err;
  std::string temporary;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return errno;
  int err = write_temporary(backup, old, st.st_mode & 07777, nullptr, temporary);
  if (!err && rename(temporary.c_str(), backup.c_str()) != 0) err = errno;
  if (err && !temporary.empty()) unlink(temporary.c_str());
  return err;
}

int sync_directory(const std::string &directory) {
  int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int err = fsync(fd) == 0 || errno == EINVAL ? 0 : errno;  // some file systems cannot sync directories
  close(fd);
  return err;
}

// A setup file that is a symbolic link is replaced where the link points, so
// that the link stays.
std::string link_target(const std::string &path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char *real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string target = real;
  free(real);
  return target;
}
}  // namespace

int read_setup_file(const std::string &path, const Schema &schema, void *record, setup_limits_fn limits) {
  if (!limits) limits = setup_limits;
  Reader reader(path, schema);
  std::string content;
  int status = SITE_OK;
  if (int err = read_whole(path, content))
    status =
        site_failure(SITE_READ_FAILED, "Cannot read setup file %s: %s", path.c_str(), std::strerror(err));
  if (status == SITE_OK) status = reader.parse(content);
  if (status == SITE_OK) status = reader.complete(limits);
  if (status == SITE_OK) {
    std::memcpy(record, reader.record.data(), schema.record_size);
  } else {
    std::memset(record, 0, schema.record_size);
    limits(schema.name.c_str(), record, LIMITS_FACTORY, 0);
  }
  return status;
}

std::string format_setup_file(const Schema &schema, const void *record, const char *title) {
  const char *base = static_cast<const char *>(record);
  std::string out = "# ";
  out += title;
  out +=
      "\n# One field per line: PATH = VALUE. Texts stand in double quotes with the\n"
      "# escapes \\\\ \\\" \\n \\t \\xHH; fields left out take their factory values.\n";
  for (const SchemaField &f : schema.fields) {
    out += f.path;
    out += " = ";
    append_value(out, f, base + f.offset);
    out += '\n';
  }
  return out;
}

int write_file_atomically(const std::string &requested, const std::string &content, mode_t new_mode) {
  const std::string path = link_target(requested);
  struct stat old;
  bool exists = stat(path.c_str(), &old) == 0;
  int err = 0;
  if (!exists && errno != ENOENT) err = errno;
  if (exists && !S_ISREG(old.st_mode)) err = EISDIR;
  std::string temporary;
  if (!err)
    err = write_temporary(path, content, exists ? old.st_mode & 07777 : new_mode, exists ? &old : nullptr,
                          temporary);
  if (!err && exists) err = keep_backup(path);
  if (!err && rename(temporary.c_str(), path.c_str()) != 0) err = errno;
  if (err) {
    if (!temporary.empty()) unlink(temporary.c_str());
    return site_failure(SITE_WRITE_FAILED, "Cannot write setup file %s: %s", path.c_str(),
                        std::strerror(err));
  }
  if (int sync_err = sync_directory(directory_of(path)))
    return site_failure(SITE_WRITE_FAILED,
                        "Setup file %s was written, but its directory could not be synced: %s", path.c_str(),
                        std::strerror(sync_err));
  return SITE_OK;
}

std::string format_field_value(const SchemaField &field, const void *record) {
  std::string out;
  append_value(out, field, static_cast<const char *>(record) + field.offset);
  return out;
}

std::string parse_field_value(const SchemaField &field, const std::string &value, void *record) {
  std::vector<char> parsed(field.size);
  std::string error = parse_value(field, trim_end(value), parsed.data());
  if (error.empty()) std::memcpy(static_cast<char *>(record) + field.offset, parsed.data(), field.size);
  return error;
}
