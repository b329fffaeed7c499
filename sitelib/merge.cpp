#include "sitelib/merge.h"

#include <cstring>

#include "sitelib/change_log.h"
#include "sitelib/schema.h"

RecordMerge merge_records(const char *limits_name, const void *base, const void *ours, const void *theirs,
                          void *merged) {
  RecordMerge merge;
  const Schema *schema = schema_for_limits(limits_name);
  if (!schema) return merge;
  // Bytes no field describes are never written: theirs, as read.
  std::memcpy(merged, theirs, schema->record_size);
  auto at = [](const void *record, const SchemaField &f) {
    return static_cast<const char *>(record) + f.offset;
  };
  for (const SchemaField &f : schema->fields) {
    const bool ours_changed = std::memcmp(at(ours, f), at(base, f), f.size) != 0;
    const bool theirs_changed = std::memcmp(at(theirs, f), at(base, f), f.size) != 0;
    if (ours_changed) {
      std::memcpy(static_cast<char *>(merged) + f.offset, at(ours, f), f.size);
      if (theirs_changed && std::memcmp(at(ours, f), at(theirs, f), f.size) != 0)
        merge.conflicts.push_back(f.path);
    } else if (theirs_changed) {
      merge.taken_paths.push_back(f.path);
      merge.taken.push_back(f.path + " = " + shown_field_value(f, theirs));
    }
  }
  return merge;
}
