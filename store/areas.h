// The setup areas as loading, saving and change detection see them, the
// snapshot of what was loaded or saved, and the passes that run over all
// pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "items/item.h"
#include "pages/pages.h"

// Areas in load, snapshot and save order; the data system only in full mode.
enum Area { AREA_ZEL = 0, AREA_DSP, AREA_RTDISP, AREA_ZAMO, AREA_COUNT };

struct AreaInfo {
  const char *word;         // in the save question, e.g. "ZEL "
  const char *short_name;   // in error lines, e.g. "ZEL"
  const char *limits_name;  // setup_limits name
  const char *file;         // in the setup directory
  void *record;             // current copy
  void *limits;             // array of the three limit copies
  size_t size;
};

const AreaInfo &area_info(int area);
// Number of areas of the mode: 4 in full mode, 3 in processor-only mode.
int areas_in_mode(void);

// Set when the area's file could not be read at start-up (a file with bad
// lines was read); the area then holds its factory values and is written
// only after the operator changed it.
extern bool area_read_failed[AREA_COUNT];
// The site library's report of each bad line the area's last read skipped.
extern std::vector<std::string> area_bad_lines[AREA_COUNT];

// Reads one area into its current copy with its limit copies (the whole
// "Load all areas" step for that area); returns the library's status.
int load_area(int area);
void load_all_areas(void);

// True when the data-system record carries a version text other than the
// current one (and was really read).
bool zamo_version_is_old(void);

using Bytes = std::vector<unsigned char>;

// What changed is told by one snapshot: each area's record as last loaded
// or saved, in storage form, and auxset as it was then (editing form).
struct Snapshot {
  Bytes records[AREA_COUNT];
  Bytes auxset;
};
extern Snapshot snapshot;

// The area's current record as a save would write it: a copy in storage
// form, whatever form the live records are in.
Bytes storage_form_record(int area);
void take_snapshot(int area, Bytes record);
// Every area's record as it is now (right after reading them).
void take_snapshot_as_is(void);
void take_auxset_snapshot(void);
// The area's record in storage form differs from its snapshot.
bool area_changed(int area);
// The change test: an area of the mode, or in full mode auxset, changed.
bool setup_changed(void);

// Refused: the area's file changed on disk and the merge found a field
// changed on both sides, or the file could not be read to merge.
enum SaveOutcome { SaveNotWritten = 0, SaveWritten, SaveRefused, SaveFailed };
struct SaveResult {
  SaveOutcome area[AREA_COUNT] = {};
  // Per area: the fields taken from another program's save by a merge, and
  // those changed on both sides.
  std::vector<std::string> taken[AREA_COUNT];
  std::vector<std::string> conflicts[AREA_COUNT];
  bool read_again[AREA_COUNT] = {};  // the file was read again to merge
  // "AREA setup: taken from another program's save: PATH = VALUE, ..."
  std::vector<std::string> notes;
  bool all_saved() const;  // nothing refused or failed
  bool any_written() const;
};

// The areas Save writes: those of the mode that changed, and the data
// system while its version text is old.
void areas_to_save(bool (&marked)[AREA_COUNT]);
// Writes the marked areas of the mode, in area order, from storage-form
// copies; a failure is reported and the next area follows. An area whose
// file changed on disk since it was read or written here is merged with
// what the file holds now, field by field against `bases` (each area's
// record as last read or written; the snapshot when null): the other
// program's changes are taken and this program's go on top; a field
// changed on both sides leaves the area unwritten, with the file as read
// for its snapshot and the merge in the live record. The save is one
// entry of the change log, written before any file (write_logged). Every area but those refused or failed
// takes a new snapshot, and the live records end in editing form of what
// was written or merged, as a save in place would leave them.
// `all_or_nothing`: nothing is written when a merge finds a conflict.
SaveResult write_areas(const bool (&marked)[AREA_COUNT], const Bytes *bases = nullptr,
                       bool all_or_nothing = false);
// Writes a record in storage form to the area's file through the site
// library (atomically, the old file kept as .bak); returns its status.
int write_area_record(int area, void *record);
// Writes the records of the marked areas as one logged save, with the setup
// directory locked throughout: the change log entry first (each file with
// the hashes of what it holds and of what replaces it, and each field whose
// value changes on disk), then each file. `status` receives each area's
// write status (SITE_NOTHING_DONE where not marked); returns the log's.
int write_logged(const bool (&write)[AREA_COUNT], Bytes (&records)[AREA_COUNT], int (&status)[AREA_COUNT]);
// Save changed areas: areas_to_save, then write_areas.
SaveResult save_changed_areas(void);
// "Save SETUP data for the following?\n" and the changed areas' words.
std::string save_question_text(void);

// Error status dialog: a line of text appended and the dialog shown.
void add_error_status_line(const char *line);
// A failed read, naming the area; one line per bad line of the file.
void report_read_error(int area, int status);
// Warnings of a read (lines separated by newlines), naming the area.
void report_read_warnings(int area, const char *warnings);
// A save refused because the file kept changing on disk, naming the area.
void report_changed_on_disk(int area);
// Every line added so far (the dialog's list, also kept without a display).
const std::vector<std::string> &error_status_lines(void);

// The mode's pages in the order, as functions.
std::vector<PageFunction> pages_in_order(PageOrder order);
void run_pass(PageOrder order, uint32_t pass, void *arg);

// The listing file for this minute in $ZAMO_LISTINGS (or $HOME), opened
// for writing; nullptr when there is none (the reason already reported).
FILE *open_listing_file(std::string &path);
// Opens `path` for a new listing: never through a link, never anything but
// a regular file; nullptr (the reason on standard error) otherwise.
FILE *open_listing_path(const std::string &path);
// Writes the pages (page numbers, in their order) to a new listing file;
// false when the listing could not be written.
bool write_listing(const std::vector<int> &pages);
