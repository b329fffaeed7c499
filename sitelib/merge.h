// Merging a setup record with what another program saved meanwhile, field
// by field through the record's schema.
#pragma once

#include <string>
#include <vector>

struct RecordMerge {
  // Fields only the other program changed: "PATH = VALUE" as the file holds
  // it now (passwords as asterisks).
  std::vector<std::string> taken;
  std::vector<std::string> taken_paths;
  // Fields both changed, to different values.
  std::vector<std::string> conflicts;
};

// A three-way merge of a record of the limits name: `base` as this program
// last read or wrote the file, `ours` as it would write it now, `theirs` as
// the file holds it now. `merged` (the record's size) receives theirs with
// every field this program changed on top, its own value kept where both
// changed.
RecordMerge merge_records(const char *limits_name, const void *base, const void *ours, const void *theirs,
                          void *merged);
