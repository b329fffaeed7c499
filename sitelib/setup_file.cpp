#include "sitelib/setup_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "sitelib/safe_io.h"
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
  if (v.size() > 40) return "\"" + escaped_bytes(std::string(v.substr(0, 40))) + "...\"";
  return "\"" + escaped_bytes(std::string(v)) + "\"";
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
// Reading a whole file, line by line

// "zamo.device.def[99].idev_type" as "zamo.device.def[0].idev_type": the
// shape of the path with every index 0, to tell an index beyond a record's
// capacity from a field that does not exist.
std::string with_indices_zero(const std::string &path) {
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) {
    out += path[i];
    if (path[i] != '[') continue;
    size_t j = i + 1;
    while (j < path.size() && path[j] >= '0' && path[j] <= '9') ++j;
    if (j > i + 1 && j < path.size() && path[j] == ']') {
      out += '0';
      i = j - 1;
    }
  }
  return out;
}

struct Reader {
  const std::string &path;
  const Schema &schema;
  SetupFileProblems &problems;
  std::vector<char> record;
  std::vector<int> given_on;                         // line of each field, 0 when not given
  std::vector<std::pair<int, std::string>> unknown;  // lines naming fields this version lacks

  Reader(const std::string &p, const Schema &s, SetupFileProblems &out)
      : path(p), schema(s), problems(out), record(s.record_size, 0), given_on(s.fields.size(), 0) {}

  std::string where(int line) const {
    return "Setup file " + escaped_bytes(path) + ", line " + std::to_string(line) + ": ";
  }
  void fail(int line, const std::string &what) { problems.errors.push_back(where(line) + what); }

  // An older version may name fields this one no longer has.
  bool older_version() const {
    const SchemaField *v = schema.version_path.empty() ? nullptr : schema.find(schema.version_path);
    if (!v) return false;
    const char *text = record.data() + v->offset;
    std::string version(text, strnlen(text, v->size));
    return given_on[v - schema.fields.data()] != 0 && version != v->factory_text;
  }

  void report_unknown_fields() {
    bool older = older_version();
    for (const auto &[number, field_path] : unknown) {
      std::string what = "unknown field \"" + escaped_bytes(field_path) + "\"";
      if (older)
        problems.warnings.push_back(where(number) + what + " of an older version; skipped");
      else
        fail(number, what);
    }
  }

  void line(int number, std::string_view text) {
    size_t start = 0;
    while (start < text.size() && is_blank(text[start])) ++start;
    text = trim_end(text.substr(start));
    if (text.empty() || text[0] == '#') return;
    size_t end = 0;
    while (end < text.size() && !is_blank(text[end]) && text[end] != '=') ++end;
    std::string field_path(text.substr(0, end));
    size_t eq = end;
    while (eq < text.size() && is_blank(text[eq])) ++eq;
    if (end == 0 || eq == text.size() || text[eq] != '=')
      return fail(number, "expected \"PATH = VALUE\", found \"" +
                              escaped_bytes(std::string(text.substr(0, 80))) + "\"");
    std::string_view value = text.substr(eq + 1);
    while (!value.empty() && is_blank(value[0])) value.remove_prefix(1);
    const std::string shown_path = "\"" + escaped_bytes(field_path) + "\"";
    if (value.empty()) return fail(number, shown_path + " has no value");

    const SchemaField *f = schema.find(field_path);
    if (!f) {
      std::string shape = with_indices_zero(field_path);
      if (shape != field_path && schema.find(shape))
        return fail(number, shown_path + ": an index lies beyond the capacity of the record");
      unknown.emplace_back(number, field_path);
      return;
    }
    int &given = given_on[f - schema.fields.data()];
    if (given)
      return fail(number, shown_path + " is given twice (first on line " + std::to_string(given) + ")");
    std::string error = parse_value(*f, value, record.data() + f->offset);
    if (!error.empty()) problems.unreadable.emplace_back(f - schema.fields.data(), value);
    if (!error.empty()) return fail(number, shown_path + ": " + error);
    given = number;
  }

  void parse(const std::string &content) {
    size_t start = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;  // a byte order mark some editors add
    if (content.find_first_not_of(" \t\r\n", start) == std::string::npos) {
      problems.empty = true;
      problems.errors.push_back("Setup file " + escaped_bytes(path) + " is empty");
      return;
    }
    int number = 0;
    for (size_t pos = start; pos < content.size();) {
      size_t nl = content.find('\n', pos);
      if (nl == std::string::npos) nl = content.size();
      line(++number, std::string_view(content).substr(pos, nl - pos));
      pos = nl + 1;
    }
    // A field read well on another line has that value.
    auto &bad = problems.unreadable;
    bad.erase(std::remove_if(bad.begin(), bad.end(), [&](const auto &b) { return given_on[b.first] != 0; }),
              bad.end());
    report_unknown_fields();
  }

  // Fields the file does not mention, or mentions only on bad lines, take
  // their factory values, computed for the record as read.
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

// Only so many bad lines are listed; a hostile file can hold millions.
const size_t kListedProblems = 50;

std::string joined(const std::vector<std::string> &lines) {
  std::string text;
  for (size_t i = 0; i < lines.size() && i < kListedProblems; ++i) text += (i ? "\n" : "") + lines[i];
  if (lines.size() > kListedProblems)
    text += "\n... and " + std::to_string(lines.size() - kListedProblems) + " more";
  return text;
}

std::string &last_warnings() {
  static std::string text;
  return text;
}

}  // namespace

int parse_setup_text(const std::string &content, const std::string &path, const Schema &schema, void *record,
                     setup_limits_fn limits, SetupFileProblems &problems) {
  Reader reader(path, schema, problems);
  reader.parse(content);
  int status = reader.complete(limits ? limits : setup_limits);
  if (status == SITE_OK) std::memcpy(record, reader.record.data(), schema.record_size);
  return status;
}

bool reads_cleanly(const std::string &content, const Schema &schema) {
  SetupFileProblems problems;
  Reader reader("", schema, problems);
  reader.parse(content);
  return problems.errors.empty();
}

int read_setup_file(const std::string &path, const Schema &schema, void *record, setup_limits_fn limits) {
  if (!limits) limits = setup_limits;
  last_warnings().clear();
  std::string content;
  std::string error = read_regular_file(path, kSetupFileMaxBytes, content);
  note_disk_state(path, error.empty() ? &content : nullptr);
  int status = SITE_OK;
  if (!error.empty()) {
    status = site_failure(SITE_READ_FAILED, "Cannot read setup file %s: %s", escaped_bytes(path).c_str(),
                          error.c_str());
  } else {
    SetupFileProblems problems;
    status = parse_setup_text(content, path, schema, record, limits, problems);
    last_warnings() = joined(problems.warnings);
    if (status == SITE_OK && !problems.errors.empty())
      status = site_failure(SITE_BAD_SETUP_FILE, "%s", joined(problems.errors).c_str());
    if (status != SITE_BAD_SETUP_FILE && status != SITE_OK) error = "limits";
  }
  if (!error.empty()) {
    std::memset(record, 0, schema.record_size);
    limits(schema.name.c_str(), record, LIMITS_FACTORY, 0);
  }
  return status;
}

const char *setup_file_warnings(void) { return last_warnings().c_str(); }

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
