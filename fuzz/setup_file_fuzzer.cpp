// libFuzzer target for the setup-file reader: every input is read as a file
// of each record. A read never crashes or leaks, and what it loaded is
// written and read back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sitelib/schema.h"
#include "sitelib/setup_file.h"

namespace {

void read_as(const Schema &schema, const std::string &content) {
  std::vector<char> record(schema.record_size), again(schema.record_size);
  SetupFileProblems problems;
  if (parse_setup_text(content, "fuzz.conf", schema, record.data(), setup_limits, problems) != SITE_OK)
    return;
  std::string written = format_setup_file(schema, record.data(), "fuzz");
  SetupFileProblems none;
  parse_setup_text(written, "fuzz.conf", schema, again.data(), setup_limits, none);
  if (!none.errors.empty() || format_setup_file(schema, again.data(), "fuzz") != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string content(reinterpret_cast<const char *>(data), size);
  for (const Schema *schema : {&zel_schema(), &dsp_schema(), &rtdisp_schema(), &zamo_schema()})
    read_as(*schema, content);
  return 0;
}
