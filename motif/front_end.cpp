// The walk's window front end in Motif: what the walk asks for ("make this
// item", "show this value") done with the builders of motif/builders.h.
#include "motif/front_end.h"

#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

#include "items/front_end.h"
#include "items/i18n.h"
#include "items/walk.h"
#include "motif/bounds_dialog.h"
#include "motif/builders.h"
#include "motif/dialogs.h"
#include "motif/notice.h"

namespace {

struct WindowOfPage {
  PageState *page;
  void *window;
};

void window_destroyed(Widget, XtPointer client, XtPointer) {
  auto *owner = static_cast<WindowOfPage *>(client);
  page_window_gone(*owner->page, owner->window);
  delete owner;
}

void begin_page(PageState &page, void *window, const char *title, const char *help_topic) {
  auto *w = static_cast<PageWindow *>(window);
  set_page_title(w, title, help_topic);
  XtAddCallback(w->form_dialog, XtNdestroyCallback, window_destroyed, new WindowOfPage{&page, window});
}

SetupItem *make_section(PageState &, void *window, const char *title, UiHandle *frame) {
  SetupItem *help = build_section(static_cast<PageWindow *>(window)->row_column, title, item_callback);
  *frame = handle_of(static_cast<SectionWidgets *>(help->widgets)->frame);
  return help;
}

UiHandle make_row(void) { return current_section_rowcolumn ? handle_of(build_row()) : nullptr; }

SetupItem *make_field(const ItemDescription &desc, int label_width, SetupItem **hint_record) {
  if (desc.hint_count > 0)
    return build_hint_field(desc.label, label_width, item_callback, desc.hints, desc.hint_count, hint_record);
  return build_label_field(desc.label, label_width, item_callback);
}

SetupItem *make_item(const ItemDescription &desc, int label_width, SetupItem **hint_record, UiHandle *label,
                     UiHandle *shows) {
  SetupItem *item = nullptr;
  switch (desc.kind) {
    case KindChoice:
      item = build_option_menu(desc.label, desc.choices, desc.choice_count, label_width, item_callback);
      break;
    case KindToggle:
      item = build_toggle(desc.label, desc.off_text, desc.on_text, label_width, item_callback);
      break;
    default:
      item = make_field(desc, label_width, hint_record);
      if (desc.kind == KindNumber) std::snprintf(item->text, sizeof item->text, "%s", desc.format);
      break;
  }
  // Every widget record begins with the label and the widget of the value.
  *label = handle_of(static_cast<FieldWidgets *>(item->widgets)->label);
  *shows = handle_of(static_cast<FieldWidgets *>(item->widgets)->field);
  return item;
}

void show_value(UiHandle shows, const ItemDescription &desc, double value, const char *text) {
  Widget w = widget_of(shows);
  switch (desc.kind) {
    case KindNumber:
      show_number(w, value);
      break;
    case KindText:
      show_text(w, text);
      break;
    case KindChoice:
      select_choice(w, static_cast<long>(value), desc.choices, desc.choice_count);
      break;
    case KindToggle:
      XtVaSetValues(w, XmNset, value != 0 ? XmSET : XmUNSET, nullptr);
      show_toggle(w, value != 0);
      break;
  }
}

void fit_label(UiHandle label, int label_width) { set_label_width(widget_of(label), label_width); }

// Frames and rows shown or hidden during a pass, in the order told, and
// what each is to be. Each managed or unmanaged alone would lay its parent
// out again, and the page below it, and the X server would move the rows
// after it once for every one.
std::vector<Widget> shown_order;
std::unordered_map<Widget, bool> shown_changes;

bool is_shown(UiHandle h) {
  auto change = shown_changes.find(widget_of(h));
  return change != shown_changes.end() ? change->second : XtIsManaged(widget_of(h));
}

void set_shown(UiHandle h, bool shown) {
  Widget w = widget_of(h);
  if (shown_changes.emplace(w, shown).second)
    shown_order.push_back(w);
  else
    shown_changes[w] = shown;
}

int depth(Widget w) {
  int levels = 0;
  for (; w; w = XtParent(w)) ++levels;
  return levels;
}

// Per parent, the children hidden and shown in one change, laid out once;
// rows before the frames they lie in, so that a frame is laid out once,
// with its rows as they end up.
void shown_done(void) {
  std::map<std::pair<int, Widget>, std::pair<std::vector<Widget>, std::vector<Widget>>, std::greater<>>
      by_parent;
  for (Widget w : shown_order) {
    bool shown = shown_changes[w];
    if (shown == static_cast<bool>(XtIsManaged(w))) continue;
    auto &lists = by_parent[{depth(w), XtParent(w)}];
    (shown ? lists.second : lists.first).push_back(w);
  }
  shown_order.clear();
  shown_changes.clear();
  for (auto &[parent, lists] : by_parent)
    XtChangeManagedSet(lists.first.data(), lists.first.size(), nullptr, nullptr, lists.second.data(),
                       lists.second.size());
}

void notice(const SetupItem *over, const char *title, const char *message, UiHandle *open) {
  // The first widget of every widget record lies in the item's window.
  Widget in_window = *static_cast<const Widget *>(over->widgets);
  show_notice_once(in_window, title, message, reinterpret_cast<Widget *>(open));
}

void information(const char *message, const char *ok_label) {
  show_warning(WarningInformation, message, ok_label, nullptr);
}

// A help viewer that cannot be started is said so in the warning dialog.
void help_failure(const char *reason) { information(reason, _("OK")); }

}  // namespace

const FrontEnd motif_front_end = {begin_page,
                                  make_section,
                                  make_row,
                                  make_item,
                                  fit_label,
                                  show_value,
                                  is_shown,
                                  set_shown,
                                  shown_done,
                                  notice,
                                  add_bounds_dialog_line,
                                  clear_bounds_dialog,
                                  add_error_status_dialog_line,
                                  information,
                                  help_failure};

void item_callback(Widget w, XtPointer client, XtPointer call) {
  XtPointer data = nullptr;
  XtVaGetValues(w, XmNuserData, &data, nullptr);
  auto *item = static_cast<SetupItem *>(data);
  if (item && item->page) dispatch_widget_callback(w, client, call, item->page->function);
}
