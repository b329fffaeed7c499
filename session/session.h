// The edit session: everything a front end does to a site goes through
// here. It opens the site as the editor does at start, stores values by the
// fields' own store rules, tells what is pending, checks, repairs, lists and
// saves. It needs no display; the Motif editor, setup-site and the help
// generator are its front ends.
//
// The records it edits are the process-wide setup copies: there is one
// session per process.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "items/item.h"
#include "session/index.h"
#include "store/areas.h"

struct PageState;

namespace session {

// What counts as a pending change and how a save goes.
enum class SaveRule {
  // The editor: whatever the load changed (a converted format, say) counts
  // as a change; an old data-system version is written again on every save;
  // an area changed on disk is merged before it is written.
  Editor,
  // setup-site: only what the command changed counts, and is merged as the
  // editor's changes are; a conflict in any area stops the whole save.
  OnlyEdits,
};

struct OpenOptions {
  std::string directory;  // empty: $ZAMO_CONFIG, else the installation's
  int mode = -1;          // 1 full, 0 processor-only, -1 as already chosen
  SaveRule rule = SaveRule::Editor;
};

struct OpenReport {
  std::vector<std::string> error_status;  // what the error status dialog lists
  bool out_of_range = false;              // the check found a value out of range
  std::vector<int> unreadable;            // areas of the mode whose file could not be read at all
  std::vector<std::string> bad_lines;     // one report per bad line of the files read
};

// The start-up load: PassMeasure on every page of the mode, every area read
// with its limits, the snapshot taken, editing form, PassCheck.
OpenReport open(const OpenOptions &options);
// Areas that could not be read start from factory values; this has the
// next save write them, as the editor's would once they were edited.
void write_unread_areas(void);
// The forms a number is accepted in for an item: "25", "25 UNIT", "25UNIT".
std::string number_forms(const SiteItem &item);

// What became of an edit.
struct Stored {
  bool ok = true;     // false: nothing stored, `error` says why
  std::string error;  // for the user, without the program's name
  bool clamped = false;
  bool rounded = false;  // a number stored other than typed, not by clamping
  std::string value;     // what was stored: shown units with the unit, or as the file holds it
  std::string notice;    // a warning of the page's store rule
};
// "clamped to VALUE" or "stored as VALUE" when the stored value is not the
// given one; empty otherwise.
std::string stored_note(const Stored &stored);

// Edits through an item of the index, as if made in its page window: a
// value given is always an edit, even when the field shows it already.
// Typed text: a number (with or without the field's unit), a text, a
// choice by its label or value, a toggle by its text, 1/0, yes/no, on/off.
Stored set_typed(const SiteItem &item, const std::string &typed);
Stored choose_hint(const SiteItem &item, int hint);
Stored choose(const SiteItem &item, int index);
Stored set_toggle(const SiteItem &item, bool on);
// The stored value in setup-file syntax, C notation whatever the locale,
// still clamped to the field's limits. NaN and infinities are refused; an
// all-asterisk value leaves a masked text as it is.
// `clamp` false leaves the clamping to the caller.
Stored set_raw(const SiteField &field, const std::string &value, bool clamp = true);
// The factory value (an auxset field with the stored field it stands for).
void reset(const SiteField &field);
// A page window's Factory: the processor page's whole record back to its
// factory values (the default antenna position, edited through auxset,
// keeps its edited value). False for the other pages, which have none.
bool factory(int page);

// Edits from a widget that fired in a page window: the item record the
// page's walk made, and what the widget holds.
Stored field_entered(PageFunction page, SetupItem &fired, const char *text);  // Enter, or left
Stored hint_chosen(PageFunction page, SetupItem &fired, const char *label);
Stored choice_chosen(PageFunction page, SetupItem &fired, long index);
Stored toggle_set(PageFunction page, SetupItem &fired, bool on);
void help_pressed(PageFunction page, SetupItem &fired);

// A number as typed into a field: the number at the start of `text` in the
// user's locale; where the locale's decimal separator is not ".", a "." is
// taken as one too. False when nothing parsed; `end` is where it stopped.
bool parse_typed_number(const char *text, double &value, const char **end = nullptr);

// A field that differs from the snapshot (as loaded or last saved), values
// as a setup file holds them and as the item shows them.
struct Change {
  const SiteField *field;
  std::string label;  // the label of the item that binds it, or empty
  int area;
  std::string old_stored, new_stored;
  std::string old_shown, new_shown;
};
// Masked texts show as asterisks unless `show_secrets`.
std::vector<Change> pending(bool show_secrets = false);
// "PATH: OLD -> NEW", as the change log has it.
std::string change_line(const Change &change);
// A value the start-up load put into editing form (a transmit format 4
// read as 2), pending since the snapshot holds it as read, and not changed
// since: there is nothing to revert it to.
bool converted_at_load(const Change &change);
// Puts the field of a pending change back to the value it had when the
// change began (the snapshot, or setup-site's load; as converted at load,
// for such a field), with the auxset switches that stand for it; open page
// windows show it again. False when there is nothing to put back (a value
// converted at load and not changed since).
bool revert(const Change &change);
// The walk's state of a page of the mode: its widgets while it has a window.
PageState *page_state(int page);
// Any area of the mode, or in full mode auxset, changed.
bool changed(void);
// "Save SETUP data for the following?\n" and the words of the changed areas.
std::string save_question(void);

// PassCheck over every page of the mode; the lines are bounds_lines().
bool check(void);
// Every numeric field of the mode, on a page or not, against its limits:
// "PATH = VALUE   (range MIN to MAX)" for each one outside them.
std::vector<std::string> check_every_field(void);
// Numeric fields of the mode outside their limits, on a page or not.
std::vector<const SiteField *> fields_out_of_range(void);
// The repair run; the lines are bounds_lines().
void repair(void);
// The lines of the last check or repair about a field, with the page
// (number and title) and the field each is about, in the run's order.
struct Finding {
  int page;
  std::string page_title;
  const SiteField *field;  // nullptr when no field of the index
  std::string line;
};
std::vector<Finding> findings(void);
// PassList over one page (-1: every page of the mode, in list order).
void list(FILE *out, int page = -1);
// A new dated listing file, as File > List writes it; false on failure.
bool write_listing(int page = -1);

struct SaveReport {
  int status = 0;                   // 0 written or nothing to write, 3 refused or failed
  SaveResult areas;                 // per area: not written, written, refused, failed
  std::string refusal;              // why nothing was written at all (also an error status line), or empty
  std::vector<std::string> errors;  // the error status lines the save added
  std::vector<std::string> notes;   // per merged area, what came from another program
};
// Writes the pending areas, for operators only (checked here, once),
// atomically and logged. An area whose file another program changed since
// it was read or written here is merged field by field: the other
// program's changes are taken (and open page windows show them), this
// program's go on top; a field both changed leaves that area unwritten and
// named in `errors`, with the merge pending, so that saving again writes it.
SaveReport save(void);
bool is_operator(void);

// Setup-file syntax ("PATH = VALUE" lines, "#" comments, blank lines) as a
// set of edits. Every line is tried first: with any refused, nothing
// changes. Raw values as set_raw takes them, or typed into the item that
// edits each field. A device's values are clamped to the limits of its type
// as applied, whatever the order of the lines.
struct Applied {
  int line;
  const SiteField *field;
  Stored stored;
};
struct ApplyReport {
  std::vector<std::string> errors;  // "line N: ..." for each line refused
  std::vector<Applied> applied;
};
ApplyReport apply(const std::string &text, bool typed);
// The lines of setup-file syntax by path, checked against the index; false
// with `errors` naming each bad line.
bool parse_setup_lines(const std::string &text, std::vector<std::pair<int, std::string>> &paths,
                       std::vector<std::string> &values, std::vector<std::string> &errors);

// Reads the area's setup file at `path` (another site's, a backup) into
// `record`, as the site library reads it; returns its status.
int read_area_file(int area, const std::string &path, Bytes &record);

// Undoes the last logged save: each of its files back to its .bak, written
// as a save writes it (so the replaced file becomes the .bak and a second
// undo redoes), logged as a save of its own. Refused when a file no longer
// holds what that save wrote, a .bak is missing or the user is no operator.
struct UndoReport {
  int status = 0;  // 0 done, 3 refused or failed
  std::string error;
  std::vector<std::string> changes;  // "PATH: OLD -> NEW" as the undo writes them
  std::vector<std::string> files;
};
UndoReport undo(bool dry_run);

// A factory site: every area's file written with factory values; over
// files that exist (a site set back), as one logged save. Returns "" or
// why a file could not be written; `log_error` why the log could not be.
std::string write_factory_files(std::string &log_error);

// Text for a terminal: control bytes, and bytes that are not UTF-8, as \xHH.
std::string printable(const std::string &text);

// Items whose label as shown, path, section title or page title contain
// each word of the query, case-folded, in page-number and walk order.
std::vector<SiteItem> find(const std::string &query);
bool matches(const SiteItem &item, const std::string &query);

}  // namespace session
