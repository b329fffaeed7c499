// The setup areas as loading, saving and change detection see them, their
// checksums, and the passes that run over all pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "items/item.h"
#include "pages/pages.h"

// Areas in load, checksum and save order; the data system only in full mode.
enum Area { AREA_ZEL = 0, AREA_DSP, AREA_RTDISP, AREA_ZAMO, AREA_COUNT };

struct AreaInfo {
  const char *word;         // in the save question, e.g. "ZEL "
  const char *short_name;   // in error lines, e.g. "ZEL"
  const char *limits_name;  // setup_limits name
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

// Reads one area into its current copy with its limit copies (the whole
// "Load all areas" step for that area); returns the library's status.
int load_area(int area);
void load_all_areas(void);
// Writes the area's current copy to its file; returns the library's status.
int write_area(int area);

// True when the data-system record carries a version text other than the
// current one (and was really read).
bool zamo_version_is_old(void);

// Checksums of the four area records and auxset.
enum { SUM_AUXSET = AREA_COUNT, SUM_COUNT };
struct Checksums {
  uint32_t value[SUM_COUNT];
};

// Taken when the values were last loaded or saved.
extern Checksums loaded_checksums;

// Sums over the current records as they are now.
Checksums take_checksums(void);
// Sums that the records would have in storage form, taken without
// disturbing the editing form they are in.
Checksums take_storage_form_checksums(void);
void take_loaded_area_checksums(void);
// One area's loaded checksum, with its record as it is now.
void take_loaded_area_checksum(int area, uint32_t sum);
// Each area's record as last loaded or saved, in storage form.
extern std::vector<unsigned char> loaded_records[AREA_COUNT];
void take_loaded_auxset_checksum(void);
bool area_changed(const Checksums &current, int area);
// The change test; the records must be in storage form.
bool setup_changed(void);

// Writes every area of the mode that changed (and the data-system setup
// while its version is old); areas whose write failed keep their old loaded
// checksum, the others take new ones. The fields written are added to the
// change log as one entry. True when every write succeeded. Without
// `rewrite_old_version` an old data-system version alone writes nothing.
bool save_changed_areas(bool rewrite_old_version = true);
// "Save SETUP data for the following?\n" and the changed areas' words.
std::string save_question_text(void);

// Error status dialog: a line of text appended and the dialog shown.
void add_error_status_line(const char *line);
// A failed read, naming the area; one line per bad line of the file.
void report_read_error(int area, int status);
// Warnings of a read (lines separated by newlines), naming the area.
void report_read_warnings(int area, const char *warnings);
// A save refused because the file changed on disk, naming the area.
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
