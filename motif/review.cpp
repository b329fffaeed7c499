// Find and Changes. Find lists every item of the mode's pages that the
// session's matching rule takes for what is typed; Changes lists what is
// pending, by area, and reverts what is selected. Both open an item in its
// page window. The labels of fields that differ from the snapshot are shown
// in a colour of their own while page windows show them.
#include "motif/review.h"

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrolledW.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <langinfo.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "items/i18n.h"
#include "items/walk.h"
#include "motif/front_end.h"
#include "motif/page_window.h"
#include "motif/state.h"
#include "motif/xm_text.h"
#include "pages/pages.h"
#include "session/session.h"
#include "store/areas.h"
#include "store/store.h"

namespace {

constexpr unsigned long kMarkMs = 1500;

// Colours from the resources markBackground and changedForeground.
struct Colours {
  Pixel mark;     // the row of an item just opened
  Pixel changed;  // the label of a field that differs from the snapshot
};

Colours colours(void) {
  static Colours loaded{};
  static bool done = false;
  if (done) return loaded;
  XtResource resources[] = {
      {const_cast<char *>("markBackground"), const_cast<char *>("MarkBackground"), XmRPixel, sizeof(Pixel),
       XtOffsetOf(Colours, mark), XmRString, const_cast<char *>("#ffd966")},
      {const_cast<char *>("changedForeground"), const_cast<char *>("ChangedForeground"), XmRPixel,
       sizeof(Pixel), XtOffsetOf(Colours, changed), XmRString, const_cast<char *>("#c00000")},
  };
  XtGetApplicationResources(top_level, &loaded, resources, XtNumber(resources), nullptr, 0);
  done = true;
  return loaded;
}

// The page's name: its window title without the host name.
std::string page_name(const std::string &title) {
  const std::string host = std::string(", ") + host_name;
  if (title.size() > host.size() && title.compare(title.size() - host.size(), host.size(), host) == 0)
    return title.substr(0, title.size() - host.size());
  return title;
}

// The lines' dashes and arrows need a UTF-8 locale; in any other, ASCII
// stands in for them.
std::string in_locale_charset(std::string line) {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return line;
  const std::pair<std::string, std::string> ascii[] = {{"—", "-"}, {"›", ">"}, {"→", "->"}};
  for (const auto &[utf8, plain] : ascii)
    for (size_t at = line.find(utf8); at != std::string::npos; at = line.find(utf8, at + plain.size()))
      line.replace(at, utf8.size(), plain);
  return line;
}

std::string formatted(const char *format, std::initializer_list<const std::string *> args) {
  std::vector<const char *> a;
  for (const std::string *s : args) a.push_back(s->c_str());
  a.resize(5, "");
  char line[2048];
  std::snprintf(line, sizeof line, format, a[0], a[1], a[2], a[3], a[4]);
  return in_locale_charset(line);
}

// Sections, by page and number, that show an item: their own condition
// holds under the current values.
std::set<std::pair<int, uint32_t>> shown_sections;

// The whole index under the current values.
std::vector<SiteItem> visit_items(void) {
  std::vector<SiteItem> items = site_items();
  shown_sections.clear();
  for (const SiteItem &item : items)
    if (item.shown) shown_sections.insert({item.page, item.id >> 24});
  return items;
}

// "hidden: shown when ..." with the conditions of its section and row that
// do not hold now.
std::string hidden_note(const SiteItem &item) {
  std::string when = shown_sections.count({item.page, item.id >> 24}) ? "" : item.section_when;
  if (!item.row_when.empty()) when += (when.empty() ? "" : _(" and ")) + item.row_when;
  if (when.empty()) return _("hidden");
  return formatted(_("hidden: shown when %s"), {&when});
}

std::string find_line(const SiteItem &item) {
  const std::string page = page_name(item.page_title), path = item.field ? item.field->path : "";
  std::string line = formatted(_("%s — %s › %s (%s)"), {&item.label, &page, &item.section_title, &path});
  return item.shown ? line : line + "   " + hidden_note(item);
}

void set_label(Widget w, const std::string &text) {
  XmText s(text.c_str());
  XtVaSetValues(w, XmNlabelString, s.get(), nullptr);
}

void fill_list(Widget list, const std::vector<std::string> &lines) {
  std::vector<XmString> strings;
  strings.reserve(lines.size());
  for (const std::string &line : lines)
    strings.push_back(XmStringCreateLocalized(const_cast<char *>(line.c_str())));
  XmListDeleteAllItems(list);
  if (!strings.empty()) XmListAddItemsUnselected(list, strings.data(), static_cast<int>(strings.size()), 0);
  for (XmString s : strings) XmStringFree(s);
}

// Positions (from 0) selected in the list.
std::vector<int> selected_rows(Widget list) {
  int *positions = nullptr, count = 0;
  std::vector<int> rows;
  if (XmListGetSelectedPos(list, &positions, &count)) {
    for (int i = 0; i < count; ++i) rows.push_back(positions[i] - 1);
    XtFree(reinterpret_cast<char *>(positions));
  }
  return rows;
}

// ---- Opening an item in its page window

struct Mark {
  Widget row = nullptr;
  Pixel background = 0;
  XtIntervalId timeout = 0;
} mark;

void unmark(XtPointer, XtIntervalId *) {
  mark.timeout = 0;
  if (mark.row) XtVaSetValues(mark.row, XmNbackground, mark.background, nullptr);
  mark.row = nullptr;
}

void mark_gone(Widget w, XtPointer, XtPointer) {
  if (mark.row != w) return;
  mark.row = nullptr;
  if (mark.timeout) XtRemoveTimeOut(mark.timeout);
  mark.timeout = 0;
}

void mark_row(Widget row) {
  if (mark.timeout) XtRemoveTimeOut(mark.timeout);
  unmark(nullptr, nullptr);
  mark.row = row;
  XtVaGetValues(row, XmNbackground, &mark.background, nullptr);
  XtVaSetValues(row, XmNbackground, colours().mark, nullptr);
  XtRemoveCallback(row, XmNdestroyCallback, mark_gone, nullptr);
  XtAddCallback(row, XmNdestroyCallback, mark_gone, nullptr);
  mark.timeout = XtAppAddTimeOut(app_context, kMarkMs, unmark, nullptr);
}

// The widget and every ancestor up to `top` managed.
bool shown_below(Widget w, Widget top) {
  for (; w && w != top; w = XtParent(w))
    if (!XtIsManaged(w)) return false;
  return w == top;
}

bool viewable(Widget shell) {
  XWindowAttributes attributes;
  return XtIsRealized(shell) && XGetWindowAttributes(XtDisplay(shell), XtWindow(shell), &attributes) &&
         attributes.map_state == IsViewable;
}

using Then = void (*)(Widget shell);

void mapped(Widget shell, XtPointer then, XEvent *event, Boolean *) {
  if (event->type != MapNotify) return;
  XtRemoveEventHandler(shell, StructureNotifyMask, False, mapped, then);
  reinterpret_cast<Then>(then)(shell);
}

// Runs `then` once the shell is on the screen: a window just built has no
// geometry to scroll in before, and X gives no focus to a window unmapped.
void once_shown(Widget shell, Then then) {
  XtPointer data = reinterpret_cast<XtPointer>(then);
  XtRemoveEventHandler(shell, StructureNotifyMask, False, mapped, data);
  if (viewable(shell))
    then(shell);
  else
    XtAddEventHandler(shell, StructureNotifyMask, False, mapped, data);
}

// The keyboard focus to the shell's window: a window manager gives it to a
// window the user opens, and without one the pointer would decide.
void take_focus(Widget shell) {
  XSetInputFocus(XtDisplay(shell), XtWindow(shell), RevertToParent, CurrentTime);
}

struct Opening {
  int page = -1;
  uint32_t id = 0;
} opening;

// The toolkit moves the keyboard focus to the window's first field when the
// window gets the X focus; the field opened takes it back then.
void focus_field(Widget field) { XmProcessTraversal(field, XmTRAVERSE_CURRENT); }

void focus_arrived(Widget shell, XtPointer field, XEvent *event, Boolean *) {
  if (event->type != FocusIn) return;
  XtRemoveEventHandler(shell, FocusChangeMask, False, focus_arrived, field);
  focus_field(static_cast<Widget>(field));
}

// The field gets the focus now, and again when its window gets the X focus
// (unless it has it already: then no focus event would come).
void give_focus(Widget shell, Widget field) {
  focus_field(field);
  Window focused = 0;
  int revert_to = 0;
  XGetInputFocus(XtDisplay(shell), &focused, &revert_to);
  if (focused == XtWindow(shell)) return;
  XtAddEventHandler(shell, FocusChangeMask, False, focus_arrived, field);
  take_focus(shell);
}

// Scrolls to the item being opened, focuses and marks it.
void finish_opening(Widget shell) {
  PageWindow *window = page_window(opening.page);
  if (!window || XtParent(window->form_dialog) != shell) return;
  PageState *state = session::page_state(opening.page);
  UiHandle label = nullptr;
  Widget field = state ? widget_of(page_item_widget(*state, opening.id, &label)) : nullptr;
  if (field && shown_below(field, window->row_column)) {
    XmScrollVisible(window->scrolled_window, XtParent(field), 0, 20);
    give_focus(shell, field);
    // What is typed next replaces the value, as after a triple click.
    if (XmIsTextField(field)) {
      const XmTextPosition end = XmTextFieldGetLastPosition(field);
      XmTextFieldSetSelection(field, 0, end, XtLastTimestampProcessed(XtDisplay(field)));
      XmTextFieldSetInsertionPosition(field, end);
    }
    mark_row(XtParent(field));
    return;
  }
  // Hidden: the section when it shows, else the top of the page.
  const int section = static_cast<int>(opening.id >> 24);
  Widget frame =
      state && section < state->section_count ? widget_of(state->section_widgets[section]) : nullptr;
  if (!frame || !shown_below(frame, window->row_column)) {
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(window->row_column, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    frame = nullptr;
    for (Cardinal i = 0; i < count && !frame; ++i)
      if (XtIsManaged(children[i])) frame = children[i];
  }
  if (frame) XmScrollVisible(window->scrolled_window, frame, 0, 0);
}

// ---- Dialogs

struct Button {
  const char *name;
  const char *label;  // catalogue key
  XtCallbackProc pressed;
};

Widget new_dialog(const char *name, const char *title) {
  XmText t(title);
  Arg args[6];
  Cardinal n = 0;
  XtSetArg(args[n], XmNdialogTitle, t.get()), ++n;
  XtSetArg(args[n], XmNautoUnmanage, False), ++n;
  XtSetArg(args[n], XmNwidth, 640), ++n;
  XtSetArg(args[n], XmNheight, 420), ++n;
  XtSetArg(args[n], XmNdialogStyle, XmDIALOG_MODELESS), ++n;
  XtSetArg(args[n], XmNresizePolicy, XmRESIZE_NONE), ++n;
  return XmCreateFormDialog(top_level, const_cast<char *>(name), args, n);
}

void close_dialog(Widget w, XtPointer, XtPointer) {
  while (w && !XmIsForm(w)) w = XtParent(w);
  if (w) XtUnmanageChild(w);
}

// The buttons along the bottom (the last one closes, also with Esc), a note
// above them and a scrolled list filling the rest below `top` (or the top).
Widget fill_dialog(Widget form, Widget top, const std::vector<Button> &buttons, Widget *note) {
  Widget row = XtVaCreateManagedWidget("buttons", xmRowColumnWidgetClass, form, XmNorientation, XmHORIZONTAL,
                                       XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                       XmNbottomAttachment, XmATTACH_FORM, XmNleftOffset, 6, XmNbottomOffset,
                                       6, nullptr);
  Widget last = nullptr;
  for (const Button &b : buttons) {
    XmText label(_(b.label));
    last =
        XtVaCreateManagedWidget(b.name, xmPushButtonWidgetClass, row, XmNlabelString, label.get(), nullptr);
    XtAddCallback(last, XmNactivateCallback, b.pressed, nullptr);
  }
  XtAddCallback(last, XmNactivateCallback, close_dialog, nullptr);
  XtVaSetValues(form, XmNcancelButton, last, nullptr);
  XmText blank(" ");
  *note = XtVaCreateManagedWidget("note", xmLabelWidgetClass, form, XmNlabelString, blank.get(), XmNalignment,
                                  XmALIGNMENT_BEGINNING, XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 6,
                                  XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_WIDGET,
                                  XmNbottomWidget, row, nullptr);
  // Long lines scroll sideways rather than widen the dialog.
  Arg args[3];
  XtSetArg(args[0], XmNselectionPolicy, XmEXTENDED_SELECT);
  XtSetArg(args[1], XmNscrollBarDisplayPolicy, XmSTATIC);
  XtSetArg(args[2], XmNlistSizePolicy, XmCONSTANT);
  Widget list = XmCreateScrolledList(form, const_cast<char *>("list"), args, 3);
  XtVaSetValues(XtParent(list), XmNleftAttachment, XmATTACH_FORM, XmNleftOffset, 6, XmNrightAttachment,
                XmATTACH_FORM, XmNrightOffset, 6, XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget,
                *note, XmNtopAttachment, top ? XmATTACH_WIDGET : XmATTACH_FORM, XmNtopWidget, top,
                XmNtopOffset, 6, nullptr);
  XtManageChild(list);
  return list;
}

void show_dialog(Widget dialog) {
  XtManageChild(dialog);
  Widget shell = XtParent(dialog);
  if (XtIsRealized(shell)) XRaiseWindow(XtDisplay(shell), XtWindow(shell));
}

// ---- Find

struct FindDialog {
  Widget dialog = nullptr, text = nullptr, count = nullptr, list = nullptr, note = nullptr;
  std::vector<SiteItem> items;  // the whole index, as last visited
  std::vector<size_t> matches;  // what the list shows, by index into items
} find;

void refilter(void) {
  char *query = XmTextFieldGetString(find.text);
  find.matches.clear();
  std::vector<std::string> lines;
  for (size_t i = 0; i < find.items.size(); ++i)
    if (session::matches(find.items[i], query)) {
      find.matches.push_back(i);
      lines.push_back(find_line(find.items[i]));
    }
  fill_list(find.list, lines);
  // The first match by its label alone is selected: Enter opens it.
  for (size_t row = 0; row < find.matches.size(); ++row) {
    SiteItem label_only{};
    label_only.label = find.items[find.matches[row]].label;
    if (!session::matches(label_only, query)) continue;
    XmListSelectPos(find.list, static_cast<int>(row) + 1, False);
    XmListSetKbdItemPos(find.list, static_cast<int>(row) + 1);
    break;
  }
  XtFree(query);
  char count[64];
  std::snprintf(count, sizeof count, _("Matches: %d"), static_cast<int>(find.matches.size()));
  set_label(find.count, count);
}

void query_changed(Widget, XtPointer, XtPointer) { refilter(); }

// The selected match, else the first.
void open_found(Widget, XtPointer, XtPointer) {
  std::vector<int> rows = selected_rows(find.list);
  const size_t row = rows.empty() ? 0 : static_cast<size_t>(rows[0]);
  if (row >= find.matches.size()) return;
  const SiteItem item = find.items[find.matches[row]];  // opening may visit the index anew
  set_label(find.note, go_to_item(item) + " ");
}

// Down in the text field goes on into the list.
void text_key(Widget, XtPointer, XEvent *event, Boolean *) {
  if (event->type != KeyPress || XLookupKeysym(&event->xkey, 0) != XK_Down || find.matches.empty()) return;
  if (selected_rows(find.list).empty()) XmListSelectPos(find.list, 1, False);
  XmProcessTraversal(find.list, XmTRAVERSE_CURRENT);
}

void make_find_dialog(void) {
  find.dialog = new_dialog("finddiag", _("SETUP: Find"));
  find.text =
      XtVaCreateManagedWidget("findtext", xmTextFieldWidgetClass, find.dialog, XmNleftAttachment,
                              XmATTACH_FORM, XmNleftOffset, 6, XmNtopAttachment, XmATTACH_FORM, XmNtopOffset,
                              6, XmNrightAttachment, XmATTACH_POSITION, XmNrightPosition, 75, nullptr);
  find.count = XtVaCreateManagedWidget("findcount", xmLabelWidgetClass, find.dialog, XmNleftAttachment,
                                       XmATTACH_WIDGET, XmNleftWidget, find.text, XmNleftOffset, 6,
                                       XmNtopAttachment, XmATTACH_OPPOSITE_WIDGET, XmNtopWidget, find.text,
                                       XmNbottomAttachment, XmATTACH_OPPOSITE_WIDGET, XmNbottomWidget,
                                       find.text, XmNalignment, XmALIGNMENT_BEGINNING, nullptr);
  find.list =
      fill_dialog(find.dialog, find.text,
                  {{"open", N_("Open"), open_found}, {"close", N_("Close"), close_dialog}}, &find.note);
  XtVaSetValues(find.list, XmNselectionPolicy, XmBROWSE_SELECT, nullptr);
  XtAddCallback(find.text, XmNvalueChangedCallback, query_changed, nullptr);
  XtAddCallback(find.text, XmNactivateCallback, open_found, nullptr);
  XtAddCallback(find.list, XmNdefaultActionCallback, open_found, nullptr);
  XtAddEventHandler(find.text, KeyPressMask, False, text_key, nullptr);
  XtVaSetValues(find.dialog, XmNinitialFocus, find.text, nullptr);
}

// ---- Changes

struct ChangesDialog {
  Widget dialog = nullptr, list = nullptr, note = nullptr;
  std::vector<session::Change> changes;
  std::vector<int> rows;  // per list row: the change shown, or -1 for an area heading
  std::vector<SiteItem> items;
} changes;

std::string change_text(const session::Change &change) {
  SiteItem item;
  const bool bound = item_editing(*change.field, changes.items, item);
  const std::string page = bound ? page_name(item.page_title) : area_info(change.area).short_name;
  const std::string &label = bound && !change.label.empty() ? change.label : change.field->path;
  std::string line = formatted(_("%s › %s: %s → %s (%s)"),
                               {&page, &label, &change.old_shown, &change.new_shown, &change.field->path});
  return session::converted_at_load(change) ? line + "   " + _("(converted at load)") : line;
}

void refresh_changes(void) {
  std::vector<std::string> selected;
  for (int row : selected_rows(changes.list))
    if (row < static_cast<int>(changes.rows.size()) && changes.rows[row] >= 0)
      selected.push_back(changes.changes[changes.rows[row]].field->path);
  changes.changes = session::pending();
  changes.items = changes.changes.empty() ? std::vector<SiteItem>{} : visit_items();
  changes.rows.clear();
  std::vector<std::string> lines;
  int heading = -1;  // the area whose heading was listed last
  for (int area = 0; area < AREA_COUNT; ++area)
    for (size_t i = 0; i < changes.changes.size(); ++i) {
      if (changes.changes[i].area != area) continue;
      if (heading != area) {
        lines.push_back(area_info(area).short_name);
        changes.rows.push_back(-1);
        heading = area;
      }
      lines.push_back("    " + change_text(changes.changes[i]));
      changes.rows.push_back(static_cast<int>(i));
    }
  fill_list(changes.list, lines);
  // Selecting adds to the selection only in multiple selection.
  XtVaSetValues(changes.list, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
  for (size_t row = 0; row < changes.rows.size(); ++row)
    if (changes.rows[row] >= 0 && std::find(selected.begin(), selected.end(),
                                            changes.changes[changes.rows[row]].field->path) != selected.end())
      XmListSelectPos(changes.list, static_cast<int>(row) + 1, False);
  XtVaSetValues(changes.list, XmNselectionPolicy, XmEXTENDED_SELECT, nullptr);
  set_label(changes.note, changes.changes.empty() ? _("Nothing to save.") : " ");
}

std::vector<session::Change> selected_changes(void) {
  std::vector<session::Change> chosen;
  for (int row : selected_rows(changes.list))
    if (row < static_cast<int>(changes.rows.size()) && changes.rows[row] >= 0)
      chosen.push_back(changes.changes[changes.rows[row]]);
  return chosen;
}

void open_change(Widget, XtPointer, XtPointer) {
  std::vector<session::Change> chosen = selected_changes();
  SiteItem item;
  if (chosen.empty() || !item_editing(*chosen[0].field, changes.items, item)) return;
  set_label(changes.note, go_to_item(item) + " ");
}

void revert_changes(Widget, XtPointer, XtPointer) {
  for (const session::Change &change : selected_changes()) session::revert(change);
  review_changes();
}

void make_changes_dialog(void) {
  changes.dialog = new_dialog("changesdiag", _("SETUP: Changes"));
  changes.list = fill_dialog(changes.dialog, nullptr,
                             {{"open", N_("Open"), open_change},
                              {"revert", N_("Revert"), revert_changes},
                              {"close", N_("Close"), close_dialog}},
                             &changes.note);
  XtAddCallback(changes.list, XmNdefaultActionCallback, open_change, nullptr);
}

// ---- Marks on the labels of changed fields

struct MarkedLabel {
  Widget label;
  Pixel foreground;
};
std::vector<MarkedLabel> marked_labels;

void marked_label_gone(Widget w, XtPointer, XtPointer) {
  marked_labels.erase(std::remove_if(marked_labels.begin(), marked_labels.end(),
                                     [w](const MarkedLabel &m) { return m.label == w; }),
                      marked_labels.end());
}

void mark_label(Widget label) {
  for (const MarkedLabel &m : marked_labels)
    if (m.label == label) return;
  MarkedLabel m{label, 0};
  XtVaGetValues(label, XmNforeground, &m.foreground, nullptr);
  XtVaSetValues(label, XmNforeground, colours().changed, nullptr);
  XtAddCallback(label, XmNdestroyCallback, marked_label_gone, nullptr);
  marked_labels.push_back(m);
}

void clear_label_marks(void) {
  for (const MarkedLabel &m : marked_labels) {
    XtRemoveCallback(m.label, XmNdestroyCallback, marked_label_gone, nullptr);
    XtVaSetValues(m.label, XmNforeground, m.foreground, nullptr);
  }
  marked_labels.clear();
}

// Whether the item edits a changed field, itself or through an auxset
// switch or stand-in.
bool edits_changed_field(const SiteItem &item, const std::vector<session::Change> &pending) {
  if (!item.field) return false;
  const void *stored = item.field->area < 0 ? stored_field_of(item.field->address()) : item.field->address();
  for (const session::Change &change : pending)
    if (change.field == item.field || change.field->address() == stored) return true;
  return false;
}

void mark_changed_labels(const std::vector<session::Change> &pending) {
  clear_label_marks();
  if (pending.empty()) return;
  for (int page : mode_pages()) {
    PageState *state = page_window(page) ? session::page_state(page) : nullptr;
    if (!state) continue;
    for (const SiteItem &item : page_items(page)) {
      UiHandle label = nullptr;
      if (edits_changed_field(item, pending) && page_item_widget(*state, item.id, &label) && label)
        mark_label(widget_of(label));
    }
  }
}

}  // namespace

std::string go_to_item(const SiteItem &item) {
  open_page(item.page);
  opening = Opening{item.page, item.id};
  if (PageWindow *window = page_window(item.page)) once_shown(XtParent(window->form_dialog), finish_opening);
  return item.shown ? "" : hidden_note(item);
}

void find_command(Widget, XtPointer, XtPointer) {
  if (!find.dialog) make_find_dialog();
  find.items = visit_items();
  refilter();
  show_dialog(find.dialog);
  XmProcessTraversal(find.text, XmTRAVERSE_CURRENT);
  once_shown(XtParent(find.dialog), take_focus);
}

void changes_command(Widget, XtPointer, XtPointer) {
  if (!changes.dialog) make_changes_dialog();
  refresh_changes();
  show_dialog(changes.dialog);
}

void review_changes(void) {
  if (changes.dialog && XtIsManaged(changes.dialog)) {
    refresh_changes();
    mark_changed_labels(changes.changes);
  } else {
    mark_changed_labels(session::pending());
  }
  if (find.dialog && XtIsManaged(find.dialog)) {
    find.items = visit_items();
    refilter();
  }
}

Widget find_dialog(void) { return find.dialog; }
Widget changes_dialog(void) { return changes.dialog; }
