// setup-tui: the setup editor in a terminal, for hosts without X. It shows
// the same pages as the Motif editor and edits, checks, lists and saves
// through the same edit session.
//
//   setup-tui [-C DIR] [--zamo | --rda]
#include <curses.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "items/bounds.h"
#include "items/field.h"
#include "items/i18n.h"
#include "items/state.h"
#include "items/text_display.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "session/index.h"
#include "session/session.h"
#include "sitelib/sitelib.h"
#include "store/host.h"
#include "tui/terminal.h"

namespace {

// One line of a page screen: a section heading or a shown item.
struct Line {
  int item;  // index into View::items, or -1 for a heading
  std::wstring heading;
};

struct View {
  int page = -1;  // -1: the page list
  std::vector<SiteItem> items;
  std::vector<Line> lines;
  int cursor = 0, top = 0;  // lines
};

View view;
std::vector<int> pages;
std::vector<std::string> titles;
int listed = 0;        // the page chosen on the page list, its place in `pages`
std::wstring message;  // the status line until the next key
bool read_only = false;
bool save_failed = false;

bool is_enter(int key) { return key == '\r' || key == '\n' || key == (FN | KEY_ENTER); }
bool is_processor_page(int page) { return page == PAGE_SIGNAL_PROCESSOR || page == PAGE_CONTROL_PROCESSOR; }

// The value as the page window shows it.
std::string value_text(const SiteItem &item) {
  if (!item.field) return "";
  if (item.kind == KindText) {
    char shown[TEXT_SHOWN_MAX + 1];
    prepare_shown_text(static_cast<const char *>(item.field->address()), static_cast<int>(item.field->size),
                       item.flags, shown);
    return shown;
  }
  return shown_value(item, field_value(item.field->field()));
}

// The page window's title: the clock title without its time. Visiting every
// page for it would cost the first screen tens of milliseconds.
std::string page_title(int page) {
  char title[256];
  std::snprintf(title, sizeof title, _(page_info(page).clock_title), host_name, "");
  std::string text = title;
  return text.erase(text.find_last_not_of(' ') + 1);
}

std::string condition_of(const SiteItem &item) {
  std::string when = item.section_when;
  if (!item.row_when.empty()) when += (when.empty() ? "" : "; ") + item.row_when;
  return when;
}

// ---------------------------------------------------------------- screens

void draw_title(const std::string &title) {
  std::wstring right = read_only ? wide(_("read-only")) + L" " : L"";
  put(0, 0, L" " + wide(title), COLS - width_of(right), title_attributes());
  put(0, COLS - width_of(right), right, width_of(right), title_attributes());
}

void draw_status(const std::wstring &keys) {
  put(LINES - 1, 0, message.empty() ? keys : message, COLS, message.empty() ? A_DIM : A_BOLD);
}

void draw_page_list(void) {
  draw_title(std::string("SETUP ") + host_name + (full_mode ? "" : _(" (processor-only)")));
  const int rows = LINES - 2;
  const int top = std::max(0, listed - rows + 1);
  for (int row = 0; row < rows; ++row) {
    const int at = top + row;
    std::wstring text;
    if (at < static_cast<int>(pages.size()))
      text = L"  " + std::to_wstring(pages[at]) + L"  " + wide(titles[at]);
    put(row + 1, 0, text, COLS, at == listed ? chosen_attributes() : 0);
  }
  draw_status(wide(_("Enter open  / find  c changes  L list all  ^S save  ? keys  q quit")));
}

void draw_page(void) {
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i] == view.page) draw_title(titles[i]);
  int label_width = 0;
  for (const Line &line : view.lines)
    if (line.item >= 0) label_width = std::max(label_width, width_of(wide(view.items[line.item].label)));
  label_width = std::min(label_width, (COLS - 4) * 3 / 5);
  const int rows = LINES - 2;
  if (view.cursor < view.top) view.top = view.cursor;
  if (view.cursor >= view.top + rows) view.top = view.cursor - rows + 1;
  // The section heading stays in view above its first item.
  if (view.top > 0 && view.top == view.cursor && view.lines[view.top - 1].item < 0) --view.top;
  for (int row = 0; row < rows; ++row) {
    const int at = view.top + row;
    if (at >= static_cast<int>(view.lines.size())) {
      put(row + 1, 0, L"", COLS);
      continue;
    }
    const Line &line = view.lines[at];
    if (line.item < 0) {
      put(row + 1, 0, line.heading, COLS, heading_attributes());
      continue;
    }
    const SiteItem &item = view.items[line.item];
    std::wstring label = fit(wide(item.label), label_width);
    label.append(label_width - width_of(label), L' ');
    put(row + 1, 0, L"  " + label + L": " + wide(value_text(item)), COLS,
        at == view.cursor ? chosen_attributes() : 0);
  }
  std::string keys = _("Enter edit  F4 hints  ? help  / find  c changes  ^S save  Esc back  q quit");
  if (is_processor_page(view.page)) keys = _("l list  F factory  ") + keys;
  draw_status(wide(keys));
}

void draw_screen(void) {
  erase();
  if (view.page < 0)
    draw_page_list();
  else
    draw_page();
}

// Lays the page out anew under the current values, keeping the cursor on
// the item `keep` (its id) when it is still shown.
void lay_out(int page, uint32_t keep) {
  view.page = page;
  view.items = page_items(page);
  view.lines.clear();
  uint32_t section = ~0u;
  int cursor = -1;
  for (size_t i = 0; i < view.items.size(); ++i) {
    const SiteItem &item = view.items[i];
    if (!item.shown) continue;
    if (item.id >> 24 != section) {
      section = item.id >> 24;
      if (!item.section_title.empty()) view.lines.push_back({-1, wide(item.section_title)});
    }
    if (item.id == keep) cursor = static_cast<int>(view.lines.size());
    view.lines.push_back({static_cast<int>(i), L""});
  }
  if (cursor < 0)
    for (cursor = std::min(view.cursor, static_cast<int>(view.lines.size()) - 1); cursor > 0; --cursor)
      if (view.lines[cursor].item >= 0) break;
  view.cursor = std::max(cursor, 0);
  while (view.cursor + 1 < static_cast<int>(view.lines.size()) && view.lines[view.cursor].item < 0)
    ++view.cursor;
}

void relay(void) {
  if (view.page >= 0 && !view.lines.empty() && view.lines[view.cursor].item >= 0)
    lay_out(view.page, view.items[view.lines[view.cursor].item].id);
  else if (view.page >= 0)
    lay_out(view.page, 0);
}

// Shows what the core printed (a listing that could not be opened, say).
void take_captured(void) {
  for (const std::string &line : captured_output()) message = wide(line);
}

// ---------------------------------------------------------------- dialogs

struct Picked {
  int index;  // -1: left with Esc
  int key;    // the key that picked it
};

// A box over the screen: `intro` lines, then entries to pick from (or,
// with `pick` false, lines to read). Enter picks; any key in `keys` too.
Picked menu(const std::string &title, const std::vector<std::string> &intro,
            const std::vector<std::string> &entries, int chosen = 0, bool pick = true,
            const std::string &keys = "") {
  int top = 0;
  bool follow = true;  // the chosen entry kept in view; off while reading back
  for (;;) {
    // Lines to read are wrapped to the screen; entries are cut.
    std::vector<std::wstring> lines;
    for (const std::string &text : intro)
      for (size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        std::wstring rest = wide(text.substr(start, end - start));
        do {
          std::wstring part = fit(rest, COLS - 4);
          if (part.size() < rest.size()) {
            part.pop_back();
            const size_t space = part.rfind(L' ');
            if (space != std::wstring::npos && space > part.size() / 2) part.resize(space + 1);
          }
          lines.push_back(part);
          rest.erase(0, part.empty() ? rest.size() : part.size());
        } while (!rest.empty());
      }
    const int first = static_cast<int>(lines.size());
    for (const std::string &entry : entries) lines.push_back(wide(entry));
    draw_screen();
    int width = width_of(wide(title)) + 4;
    for (const std::wstring &line : lines) width = std::max(width, width_of(line) + 4);
    width = std::min(width, COLS - 2);
    const int rows = std::min(static_cast<int>(lines.size()), LINES - 4);
    const int y = (LINES - rows - 2) / 2, x = (COLS - width) / 2;
    const int at = first + chosen;
    if (pick && follow && at < top) top = at;
    if (pick && follow && at >= top + rows) top = at - rows + 1;
    put(y, x, L" " + wide(title), width, title_attributes());
    for (int row = 0; row < rows; ++row) {
      const int line = top + row;
      put(y + 1 + row, x, L" " + lines[line], width, pick && line == at ? chosen_attributes() : A_REVERSE);
    }
    put(y + 1 + rows, x, L"", width, A_REVERSE);
    refresh();
    const int key = next_key();
    const int last = static_cast<int>(entries.size()) - 1;
    if (key == ESC || key == CTRL_C || key == 'q') return {-1, key};
    if (!pick && (is_enter(key) || key == ' ')) return {-1, key};
    const int step = key == (FN | KEY_UP) || key == 'k'     ? -1
                     : key == (FN | KEY_DOWN) || key == 'j' ? 1
                     : key == (FN | KEY_PPAGE)              ? -std::max(rows, 1)
                     : key == (FN | KEY_NPAGE)              ? std::max(rows, 1)
                                                            : 0;
    // Entries move the choice; above the first entry, and in lines to read,
    // the lines scroll.
    if (step) follow = pick && (step > 0 || chosen > 0);
    if (step && follow)
      chosen = std::max(0, std::min(chosen + step, last));
    else if (step)
      top = std::max(0, std::min(top + step, static_cast<int>(lines.size()) - rows));
    else if (pick && last >= 0 &&
             (is_enter(key) || (key < 128 && keys.find(static_cast<char>(key)) != std::string::npos))) {
      return {chosen, key};
    }
  }
}

void show_lines(const std::string &title, const std::vector<std::string> &lines) {
  if (!lines.empty()) menu(title, lines, {}, 0, false);
}

// Edits `text` on the status line, `masked` as asterisks; false when left
// with Esc.
bool edit_line(const std::string &prompt, std::wstring &text, bool masked = false) {
  size_t at = text.size();
  curs_set(1);
  for (;;) {
    draw_screen();
    const std::wstring shown_prompt = fit(wide(prompt), COLS / 2);
    const int room = COLS - width_of(shown_prompt) - 1;
    const std::wstring shown = masked ? std::wstring(text.size(), L'*') : text;
    size_t from = 0;
    while (from < at && width_of(shown.substr(from, at - from)) > room) ++from;
    std::wstring visible;
    for (size_t i = from; i < shown.size() && width_of(visible + shown[i]) <= room; ++i) visible += shown[i];
    put(LINES - 1, 0, shown_prompt + visible, COLS, A_BOLD);
    move(LINES - 1, width_of(shown_prompt) + width_of(shown.substr(from, at - from)));
    refresh();
    const int key = next_key();
    if (is_enter(key) || key == ESC || key == CTRL_C) {
      curs_set(0);
      return is_enter(key);
    }
    if (key == (FN | KEY_LEFT) && at > 0) --at;
    if (key == (FN | KEY_RIGHT) && at < text.size()) ++at;
    if (key == (FN | KEY_HOME) || key == 1) at = 0;
    if (key == (FN | KEY_END) || key == 5) at = text.size();
    if ((key == (FN | KEY_BACKSPACE) || key == 127 || key == 8) && at > 0) text.erase(--at, 1);
    if ((key == (FN | KEY_DC) || key == 4) && at < text.size()) text.erase(at, 1);
    if (key == CTRL_U) text.clear(), at = 0;
    if (!(key & FN) && std::iswprint(static_cast<wint_t>(key)))
      text.insert(at++, 1, static_cast<wchar_t>(key));
  }
}

// ---------------------------------------------------------------- editing

// What became of a store, on the status line; a notice of the page's store
// rule as a message.
void report(const session::Stored &stored, const SiteItem &item) {
  take_captured();
  relay();
  if (!stored.ok) {
    message = wide(stored.error);
    return;
  }
  for (const SiteItem &now : view.items)
    if (now.id == item.id && stored.clamped)
      message = wide(std::string(_("Clamped to its limits: ")) + now.label + " = " + value_text(now));
  if (!stored.notice.empty()) show_lines(_("Notice"), {stored.notice});
}

bool refuse_read_only(void) {
  if (read_only) message = wide(_("Read-only: you are not an operator"));
  return read_only;
}

void edit(const SiteItem &item, int key) {
  if (!item.field || refuse_read_only()) return;
  const double value = item.kind == KindText ? 0 : field_value(item.field->field());
  if (key == (FN | KEY_F(4))) {
    if (item.hints.empty()) {
      message = wide(_("No hints for this field"));
      return;
    }
    Picked hint = menu(item.label, {}, item.hints);
    if (hint.index >= 0) report(session::choose_hint(item, hint.index), item);
  } else if (item.kind == KindToggle) {
    report(session::set_toggle(item, value == 0), item);
  } else if (item.kind == KindChoice) {
    std::vector<std::string> texts;
    int current = 0;
    for (size_t i = 0; i < item.choices.size(); ++i) {
      texts.push_back(item.choices[i].text);
      if (item.choices[i].value == static_cast<long>(value)) current = static_cast<int>(i);
    }
    Picked choice = menu(item.label, {}, texts, current);
    if (choice.index >= 0) report(session::choose(item, choice.index), item);
  } else if (is_enter(key)) {
    std::string start = value_text(item);
    if (item.kind == KindText && !(item.flags & TextMasked)) {
      char listed[TEXT_SHOWN_MAX + 1];
      prepare_listed_text(static_cast<const char *>(item.field->address()),
                          static_cast<int>(item.field->size), item.flags, listed);
      start = listed;
    }
    std::wstring text = wide(start);
    if (edit_line(item.label + ": ", text, item.flags & TextMasked))
      report(session::set_typed(item, narrow(text)), item);
  }
}

void item_help(const SiteItem &item) {
  std::vector<std::string> lines;
  if (item.field) {
    const SiteField &f = *item.field;
    lines.push_back(std::string(_("Path: ")) + f.path);
    if (!unit_of(item.format).empty()) lines.push_back(std::string(_("Unit: ")) + unit_of(item.format));
    if (item.kind == KindText) {
      const std::string factory = index_limit_bytes(f, COPY_FACTORY);
      lines.push_back(std::string(_("Factory: ")) +
                      (item.flags & TextMasked ? std::string("********") : factory.c_str()));
    } else {
      if (item.kind == KindNumber)
        lines.push_back(std::string(_("Range: ")) + shown_value(item, index_limit(f, COPY_MIN)) + " .. " +
                        shown_value(item, index_limit(f, COPY_MAX)));
      lines.push_back(std::string(_("Factory: ")) + shown_value(item, index_limit(f, COPY_FACTORY)));
    }
  }
  for (const SiteChoice &choice : item.choices) lines.push_back(std::string(_("Choice: ")) + choice.text);
  for (const std::string &hint : item.hints) lines.push_back(std::string(_("Hint: ")) + hint);
  if (item.kind == KindToggle)
    lines.push_back(std::string(_("On: ")) + item.on_text + ", " + _("Off: ") + item.off_text);
  if (!item.section_title.empty()) lines.push_back(std::string(_("Section: ")) + item.section_title);
  if (!condition_of(item).empty()) lines.push_back(std::string(_("Shown when: ")) + condition_of(item));
  show_lines(item.label, lines);
}

// ---------------------------------------------------------------- commands

void open_page(int page, uint32_t item) {
  for (size_t i = 0; i < pages.size(); ++i)
    if (pages[i] == page) listed = static_cast<int>(i);
  view.cursor = view.top = 0;
  lay_out(page, item);
}

void find_command(void) {
  std::wstring query;
  if (!edit_line(_("Find: "), query) || query.empty()) return;
  const std::vector<SiteItem> found = session::find(narrow(query));
  if (found.empty()) {
    message = wide(_("Nothing matches"));
    return;
  }
  std::vector<std::string> entries;
  for (const SiteItem &item : found) {
    std::string entry = item.page_title + ": " + item.label + " = " + value_text(item);
    if (!item.shown) entry += std::string(" (") + _("hidden; shown when ") + condition_of(item) + ")";
    entries.push_back(entry);
  }
  const Picked picked = menu(_("Found"), {}, entries);
  if (picked.index < 0) return;
  const SiteItem &item = found[picked.index];
  open_page(item.page, item.id);
  if (!item.shown) message = wide(std::string(_("Hidden; shown when ")) + condition_of(item));
}

void changes_command(void) {
  for (int chosen = 0;;) {
    const std::vector<session::Change> changes = session::pending();
    if (changes.empty()) {
      message = wide(_("No pending changes"));
      break;
    }
    std::vector<std::string> entries;
    for (const session::Change &change : changes)
      entries.push_back((change.label.empty() ? "" : change.label + " ") + "(" + change.field->path +
                        "): " + change.old_shown + " → " + change.new_shown);
    const Picked picked = menu(_("Changes"), {_("r or Enter reverts the chosen change; Esc goes back.")},
                               entries, chosen, true, "r");
    if (picked.index < 0) break;
    if (refuse_read_only()) break;
    session::revert(changes[picked.index]);
    chosen = std::max(0, std::min(picked.index, static_cast<int>(changes.size()) - 2));
  }
  relay();
}

// True when everything pending was written.
bool save_command(void) {
  if (read_only) {
    message = wide(_("Saving refused: you are not an operator"));
    return false;
  }
  if (!session::changed()) {
    message = wide(_("Nothing to save"));
    return true;
  }
  const session::SaveReport saved = session::save();
  take_captured();
  relay();
  save_failed = saved.status != 0;
  std::vector<std::string> lines = saved.errors;
  if (!saved.refusal.empty()) lines.insert(lines.begin(), saved.refusal);
  lines.insert(lines.end(), saved.notes.begin(), saved.notes.end());
  show_lines(save_failed ? _("Not saved") : _("Saved"), lines);
  if (!save_failed) message = wide(_("Saved"));
  return !save_failed;
}

[[noreturn]] void finish(int status) {
  end_terminal();
  std::exit(status);
}

void quit_command(void) {
  if (read_only || !session::changed()) finish(0);
  const Picked answer = menu(_("Exit"), {session::save_question()}, {_("Save"), _("Discard"), _("Back")});
  if (answer.index == 0 && save_command()) finish(0);
  if (answer.index == 1) finish(save_failed ? 1 : 0);
}

void list_command(int page) {
  const bool written = session::write_listing(page);
  take_captured();
  if (written) message = wide(_("Listing written"));
}

void factory_command(void) {
  if (refuse_read_only()) return;
  const Picked answer =
      menu(_("Factory"), {_("Set this page to its factory values?")}, {_("Factory"), _("Back")}, 1);
  if (answer.index == 0 && session::factory(view.page)) relay();
}

void keys_help(void) {
  show_lines(_("Keys"), {_("Up/Down, PgUp/PgDn  move"), _("Enter  open a page; edit, choose or switch"),
                         _("Space  switch a toggle"), _("F4  hints of the field"),
                         _("? or F1  help of the field"), _("/  find"), _("c  pending changes, with revert"),
                         _("l, F  List and Factory (processor pages)"), _("L  list all pages"),
                         _("Ctrl+S or F2  save"), _("Esc  back; q or Ctrl+C  quit")});
}

// Keys both screens take; true when taken.
bool common_key(int key) {
  if (key == '/')
    find_command();
  else if (key == 'c')
    changes_command();
  else if (key == CTRL_S || key == (FN | KEY_F(2)))
    save_command();
  else if (key == 'q' || key == CTRL_C)
    quit_command();
  else
    return key == (FN | KEY_RESIZE);
  return true;
}

void page_list_key(int key) {
  const int last = static_cast<int>(pages.size()) - 1;
  if (key == (FN | KEY_UP) || key == 'k')
    listed = std::max(listed - 1, 0);
  else if (key == (FN | KEY_DOWN) || key == 'j')
    listed = std::min(listed + 1, last);
  else if (key >= '0' && key <= '6' && key - '0' <= last)
    listed = key - '0';
  else if (is_enter(key) || key == (FN | KEY_RIGHT))
    open_page(pages[listed], 0);
  else if (key == 'L')
    list_command(-1);
  else if (key == '?' || key == (FN | KEY_F(1)))
    keys_help();
  else if (key == ESC)
    quit_command();
  else
    common_key(key);
}

void move_cursor(int step) {
  const int count = static_cast<int>(view.lines.size());
  int at = view.cursor;
  for (int moved = 0; moved < std::abs(step);) {
    int next = at + (step > 0 ? 1 : -1);
    while (next >= 0 && next < count && view.lines[next].item < 0) next += step > 0 ? 1 : -1;
    if (next < 0 || next >= count) break;
    at = next;
    ++moved;
  }
  view.cursor = at;
}

void page_key(int key) {
  const bool on_item = !view.lines.empty() && view.lines[view.cursor].item >= 0;
  const SiteItem *item = on_item ? &view.items[view.lines[view.cursor].item] : nullptr;
  if (key == (FN | KEY_UP) || key == 'k')
    move_cursor(-1);
  else if (key == (FN | KEY_DOWN) || key == 'j')
    move_cursor(1);
  else if (key == (FN | KEY_PPAGE))
    move_cursor(-(LINES - 3));
  else if (key == (FN | KEY_NPAGE))
    move_cursor(LINES - 3);
  else if (key == (FN | KEY_HOME))
    move_cursor(-static_cast<int>(view.lines.size()));
  else if (key == (FN | KEY_END))
    move_cursor(static_cast<int>(view.lines.size()));
  else if (key == ESC || key == (FN | KEY_LEFT)) {
    view.page = -1;
  } else if (item && (is_enter(key) || key == (FN | KEY_F(4)) ||
                      (key == ' ' && (item->kind == KindToggle || item->kind == KindChoice))))
    edit(SiteItem(*item), key);
  else if (item && (key == '?' || key == (FN | KEY_F(1))))
    item_help(*item);
  else if (key == 'l' && is_processor_page(view.page))
    list_command(view.page);
  else if (key == 'F' && is_processor_page(view.page))
    factory_command();
  else
    common_key(key);
}

// The start-up load's failures, the offer to repair and the read-only
// notice, before the page list.
void start_up(const session::OpenReport &opened) {
  std::vector<std::string> failures = opened.error_status;
  for (const std::string &line : captured_output()) failures.push_back(line);
  show_lines(_("Start-up failures"), failures);
  if (opened.out_of_range) {
    const std::vector<std::string> lines = bounds_lines();
    if (read_only) {
      show_lines(_("Values out of range"), lines);
    } else if (menu(_("Values out of range"), lines, {_("Repair"), _("Leave them")}).index == 0) {
      session::repair();
      show_lines(_("Repaired"), bounds_lines());
    }
  }
  if (read_only) {
    char notice[512];
    std::snprintf(notice, sizeof notice, _("%s is not an operator: you may look, but not change or save."),
                  tolvek_username());
    show_lines(_("Read-only"), {notice});
  }
}

int usage(void) {
  std::fprintf(stderr, "Usage: setup-tui [-C DIR] [--zamo | --rda]\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  std::setlocale(LC_ALL, "");
  init_message_catalogue("setup-tui");
  session::OpenOptions options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-C") == 0 && i + 1 < argc && argv[i + 1][0] != '\0')
      options.directory = argv[++i];
    else if (std::strcmp(argv[i], "--zamo") == 0)
      options.mode = 1;
    else if (std::strcmp(argv[i], "--rda") == 0)
      options.mode = 0;
    else
      return usage();
  }
  if (options.mode < 0) full_mode = decide_full_mode(std::getenv("ZAMO_LIBEXEC_SERVICES"));
  program_name = "setup-tui";
  read_host_name();
  if (!start_terminal()) {
    end_terminal();
    std::fprintf(stderr, "setup-tui: cannot start the terminal (is TERM set?)\n");
    return 2;
  }
  put(0, 0, wide(_(" SETUP: loading…")), COLS, title_attributes());
  refresh();
  const session::OpenReport opened = session::open(options);
  read_only = !session::is_operator();
  pages = mode_pages();
  for (int page : pages) titles.push_back(page_title(page));
  start_up(opened);
  for (;;) {
    draw_screen();
    refresh();
    const int key = next_key();
    message.clear();
    if (view.page < 0)
      page_list_key(key);
    else
      page_key(key);
  }
}
