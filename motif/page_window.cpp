// Page windows: one form dialog per page, created and built by its page
// function on the first open and only shown and raised afterwards. The File
// menu lists the page, resets a processor page to its factory values or
// closes the window; the Help menu opens the page's help topic.
#include "motif/page_window.h"

#include <Xm/CascadeBG.h>
#include <Xm/DropSMgr.h>
#include <Xm/Form.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrolledW.h>
#include <Xm/SeparatoG.h>
#include <Xm/VirtKeys.h>
#include <Xm/XmP.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "items/field.h"
#include "items/i18n.h"
#include "motif/builders.h"
#include "motif/commands.h"
#include "motif/front_end.h"
#include "motif/menu.h"
#include "motif/review.h"
#include "motif/state.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"
#include "session/session.h"
#include "store/store.h"

namespace {

constexpr int kDefaultWidth = 600;
constexpr int kWindowHeight = 550;
constexpr int kFactoryReopenMs = 100;

struct PageSlot {
  PageWindow *window;
  int32_t device_count;    // output devices at the last build (page 5)
  int32_t device_maximum;  // device records at the last build (page 5)
};

PageSlot slots[PAGE_COUNT];

XtPointer page_data(int page_number) {
  return reinterpret_cast<XtPointer>(static_cast<intptr_t>(page_number));
}
int page_of(XtPointer data) { return static_cast<int>(reinterpret_cast<intptr_t>(data)); }

// The width the page's sections need: the widest as it would be laid out
// on its own, and the row column's margins.
Dimension content_width(Widget row_column) {
  Dimension margin = 0, widest = 0;
  XtVaGetValues(row_column, XmNmarginWidth, &margin, nullptr);
  WidgetList children = nullptr;
  Cardinal count = 0;
  XtVaGetValues(row_column, XmNchildren, &children, XmNnumChildren, &count, nullptr);
  for (Cardinal i = 0; i < count; ++i) {
    if (!XtIsManaged(children[i])) continue;
    XtWidgetGeometry preferred{};
    XtQueryGeometry(children[i], nullptr, &preferred);
    widest = std::max<Dimension>(widest, preferred.width + 2 * preferred.border_width);
  }
  return widest + 2 * margin;
}

// What the sections' width was last fitted to.
struct WorkAreaFit {
  Widget row_column;
  Dimension window_width, window_height;  // the scrolled window's size then
};

// Keeps the page's sections as wide as the visible part of the page, so
// that they scroll sideways only when the window is narrower than they
// need. Runs when the clip window is first shown and whenever it changes
// its size: with the window, and when a scroll bar comes or goes. The
// toolkit asks for a sideways scroll bar for a work area as wide as the
// clip window when the other bar shows, and the clip window then narrows;
// at one size of the window the width therefore only ever narrows, which
// ends that back and forth.
void fit_row_column(Widget clip, XtPointer fit_data, XEvent *event, Boolean *) {
  if (event->type != ConfigureNotify && event->type != MapNotify) return;
  auto &fit = *static_cast<WorkAreaFit *>(fit_data);
  Widget window = XtParent(clip);
  const bool same_window = fit.window_width == XtWidth(window) && fit.window_height == XtHeight(window);
  fit.window_width = XtWidth(window);
  fit.window_height = XtHeight(window);
  Dimension width = std::max<Dimension>(XtWidth(clip), content_width(fit.row_column));
  if (same_window)
    width = std::min(width, std::max<Dimension>(XtWidth(fit.row_column), content_width(fit.row_column)));
  if (width > 0 && width != XtWidth(fit.row_column)) XtVaSetValues(fit.row_column, XmNwidth, width, nullptr);
}

void forget_fit(Widget, XtPointer fit, XtPointer) { delete static_cast<WorkAreaFit *>(fit); }

// An automatic scrolled window binds the keys of begin-line and end-line
// (Home and End, also on the keypad) on its clip window with actions that
// grab the keyboard, and so the toolkit holds passive grabs of these keys
// there. Such a grab takes the key from the text field that has the focus:
// the field gets a focus-out instead, which stores and shows its value again,
// and never sees the key, so End moved nothing and the next character went to
// the start of the field. The page's fields need these keys for editing: the
// grabs are released whenever the clip window's bindings have been set anew,
// which the toolkit does when the window is first exposed. The page keys
// still scroll the page.
void release_line_keys(Widget clip, XtPointer released_bindings, XEvent *, Boolean *) {
  auto *released = static_cast<XtTranslations *>(released_bindings);
  XtTranslations bindings = nullptr;
  XtVaGetValues(clip, XmNtranslations, &bindings, nullptr);
  if (bindings == *released) return;
  *released = bindings;
  Display *display = XtDisplay(clip);
  const KeySym line_keys[] = {osfXK_BeginLine, osfXK_EndLine};
  for (KeySym line_key : line_keys) {
    XmKeyBinding keys = nullptr;
    int count = XmeVirtualToActualKeysyms(display, line_key, &keys);
    for (int i = 0; i < count; ++i)
      if (KeyCode code = XKeysymToKeycode(display, keys[i].keysym)) XtUngrabKey(clip, code, AnyModifier);
    XtFree(reinterpret_cast<char *>(keys));
  }
}

void forget_bindings(Widget, XtPointer released_bindings, XtPointer) {
  delete static_cast<XtTranslations *>(released_bindings);
}

void give_line_keys_to_fields(Widget scrolled_window) {
  Widget clip = nullptr;
  XtVaGetValues(scrolled_window, XmNclipWindow, &clip, nullptr);
  if (!clip) return;
  auto *released = new XtTranslations(nullptr);
  XtAddEventHandler(clip, ExposureMask, False, release_line_keys, released);
  XtAddCallback(clip, XmNdestroyCallback, forget_bindings, released);
}

// Where the toolkit puts a dialog of this size when it is managed: centred
// on the main window, kept on the screen. The dialog's shell exists (and
// has a window) from its creation on; created there, it need not be moved
// when it is first shown, a move that the toolkit waits for the window
// manager to confirm, one round trip. The toolkit still places it itself.
void toolkit_dialog_position(int width, int height, Position &x, Position &y) {
  x = static_cast<Position>((static_cast<int>(XtWidth(top_level)) - width) / 2);
  y = static_cast<Position>((static_cast<int>(XtHeight(top_level)) - height) / 2);
  if (XtIsRealized(top_level)) XtTranslateCoords(top_level, x, y, &x, &y);
  Display *display = XtDisplay(top_level);
  const int screen_width = DisplayWidth(display, DefaultScreen(display));
  const int screen_height = DisplayHeight(display, DefaultScreen(display));
  if (x + width > screen_width) x = static_cast<Position>(screen_width - width);
  if (y + height > screen_height) y = static_cast<Position>(screen_height - height);
  x = std::max<Position>(x, 0);
  y = std::max<Position>(y, 0);
}

void close_command(Widget, XtPointer form_dialog, XtPointer) {
  XtUnmanageChild(static_cast<Widget>(form_dialog));
}

void reopen_page(XtPointer page_number, XtIntervalId *) { open_page(page_of(page_number)); }

// Every primitive widget's window asks for its own structure events (the
// toolkit's <Unmap> translation), so destroying a page would send the editor
// a DestroyNotify per window, which the toolkit drops unread; writing them
// out is most of the X server's work in the destroy. The windows below the
// page's shell stop asking first (the shell itself still tells of its end).
void stop_structure_events_below(Widget w) {
  auto *composite = reinterpret_cast<CompositeWidget>(w);
  Cardinal children = XtIsComposite(w) ? composite->composite.num_children : 0;
  Cardinal popups = XtIsWidget(w) ? w->core.num_popups : 0;  // gadgets have none
  for (Cardinal i = 0; i < children + popups; ++i) {
    Widget child = i < children ? composite->composite.children[i] : w->core.popup_list[i - children];
    if (XtIsWidget(child) && XtIsRealized(child))
      XSelectInput(XtDisplay(child), XtWindow(child), XtBuildEventMask(child) & ~StructureNotifyMask);
    stop_structure_events_below(child);
  }
}

void destroy_page_window(PageSlot &slot) {
  // Destroying the dialog shell takes the form dialog, its widgets and the
  // item records they carry with it. Every text field is a drop site, and
  // the toolkit rewrites the shell's whole drop-site tree after each one it
  // removes, which makes the destroy quadratic in the fields. The shell's
  // update is held open instead: its drop-site record goes with its last
  // field, so nothing is left to update afterwards.
  Widget shell = XtParent(slot.window->form_dialog);
  XmDropSiteStartUpdate(shell);
  stop_structure_events_below(shell);
  XtDestroyWidget(shell);
  delete slot.window;
  slot.window = nullptr;
}

void factory_command(Widget, XtPointer page_number, XtPointer) {
  int page = page_of(page_number);
  if (!session::factory(page)) {
    std::fputs(_("Not implemented yet!\n"), stdout);
    std::fflush(stdout);
    return;
  }
  // The window is rebuilt from the new values, never inside this callback.
  if (slots[page].window) destroy_page_window(slots[page]);
  review_changes();
  XtAppAddTimeOut(app_context, kFactoryReopenMs, reopen_page, page_number);
}

void build_page_menus(PageWindow &window, int page_number) {
  MenuItem file_items[] = {
      {N_("List"), &xmPushButtonGadgetClass, NC_("mnemonic: page window, File > List", "L"), nullptr, nullptr,
       list_page_command, page_data(page_number), nullptr},
      {N_("Factory"), &xmPushButtonGadgetClass, NC_("mnemonic: page window, File > Factory", "F"), nullptr,
       nullptr, factory_command, page_data(page_number), nullptr},
      {N_("Find..."), &xmPushButtonGadgetClass, NC_("mnemonic: page window, File > Find...", "n"),
       "Ctrl<Key>f", "Ctrl+F", find_command, nullptr, nullptr},
      {N_("Changes..."), &xmPushButtonGadgetClass, NC_("mnemonic: page window, File > Changes...", "g"),
       nullptr, nullptr, changes_command, nullptr, nullptr},
      {"separator", &xmSeparatorGadgetClass, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      {N_("Close"), &xmPushButtonGadgetClass, NC_("mnemonic: page window, File > Close", "C"), nullptr,
       nullptr, close_command, window.form_dialog, nullptr},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
  };
  MenuItem help_items[] = {
      {N_("On Menu..."), &xmPushButtonGadgetClass, NC_("mnemonic: page window, Help > On Menu...", "M"),
       nullptr, nullptr, help_command, nullptr, nullptr},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
  };
  window.file_cascade =
      BuildMenu(window.menu_bar, XmMENU_PULLDOWN, _("File"), file_mnemonic, false, file_items);
  window.help_cascade =
      BuildMenu(window.menu_bar, XmMENU_PULLDOWN, _("Help"), help_mnemonic, false, help_items);
}

}  // namespace

const PageInfo &(*page_window_lookup)(int page_number) = page_info;

PageWindow *create_page_window(int page_number, int width, int height) {
  if (width < 1 || height < 1) {
    width = kDefaultWidth;
    height = kWindowHeight;
  }
  auto *window = new PageWindow{};
  Position x = 0, y = 0;
  toolkit_dialog_position(width, height, x, y);
  Arg args[5];
  XtSetArg(args[0], XmNwidth, width);
  XtSetArg(args[1], XmNheight, height);
  XtSetArg(args[2], XmNresizePolicy, XmRESIZE_NONE);
  XtSetArg(args[3], XmNx, x);
  XtSetArg(args[4], XmNy, y);
  window->form_dialog = XmCreateFormDialog(top_level, const_cast<char *>("mainmenusform"), args, 5);

  window->menu_bar = XmCreateMenuBar(window->form_dialog, const_cast<char *>(""), nullptr, 0);
  XtVaSetValues(window->menu_bar, XmNleftAttachment, XmATTACH_FORM, XmNtopAttachment, XmATTACH_FORM,
                XmNrightAttachment, XmATTACH_FORM, nullptr);
  build_page_menus(*window, page_number);

  window->scrolled_window = XtVaCreateWidget(
      "", xmScrolledWindowWidgetClass, window->form_dialog, XmNscrollingPolicy, XmAUTOMATIC,
      XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_FORM,
      XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, window->menu_bar, nullptr);
  give_line_keys_to_fields(window->scrolled_window);
  window->row_column =
      XtVaCreateWidget("", xmRowColumnWidgetClass, window->scrolled_window, XmNspacing, 10, XmNmarginWidth,
                       10, XmNmarginHeight, 10, XmNresizeWidth, motif_toolkit ? False : True, nullptr);
  Widget clip = nullptr;
  XtVaGetValues(window->scrolled_window, XmNclipWindow, &clip, nullptr);
  if (clip) {
    auto *fit = new WorkAreaFit{window->row_column, 0, 0};
    XtAddEventHandler(clip, StructureNotifyMask, False, fit_row_column, fit);
    XtAddCallback(clip, XmNdestroyCallback, forget_fit, fit);
  }

  Widget managed[] = {window->menu_bar, window->file_cascade, window->help_cascade, window->scrolled_window,
                      window->row_column};
  for (Widget w : managed)
    if (w) XtManageChild(w);
  return window;
}

void open_page(int page_number) {
  if (page_number < 0 || page_number >= PAGE_COUNT) return;
  const PageInfo &info = page_window_lookup(page_number);
  if (!info.function) return;

  busy_cursor_on();
  PageSlot &slot = slots[page_number];
  // The output device page has one section per device record and shows as
  // many as are in use: a changed count or maximum needs a new window. The
  // old one goes, so it cannot be raised or typed into by mistake.
  if (slot.window && page_number == PAGE_OUTPUT_DEVICE &&
      (slot.device_count != zamo.device.idevcount || slot.device_maximum != zamo.device.imaxdevcount))
    destroy_page_window(slot);
  if (!slot.window) {
    slot.window = create_page_window(page_number, info.width, kWindowHeight);
    slot.device_count = zamo.device.idevcount;
    slot.device_maximum = zamo.device.imaxdevcount;
    info.function(PassBuild, nullptr, slot.window);
    review_changes();  // the new labels of changed fields are marked
  }
  XtManageChild(slot.window->form_dialog);
  Widget shell = XtParent(slot.window->form_dialog);
  if (XtIsRealized(shell)) XRaiseWindow(XtDisplay(shell), XtWindow(shell));
  busy_cursor_off();
}

void open_page(Widget, XtPointer page_number, XtPointer) { open_page(page_of(page_number)); }

Boolean prepare_page_windows(XtPointer) {
  // A page window with one item of every kind, never shown: the toolkit
  // makes its colours, fonts, input method and drag-and-drop tables once
  // per process, asking the X server each time; they are then ready before
  // the first page opens.
  PageWindow *window = create_page_window(PAGE_SIGNAL_PROCESSOR, kDefaultWidth, kWindowHeight);
  build_section(window->row_column, "", item_callback);
  build_row();
  const char *hints[] = {"0"};
  SetupItem *hint_item = nullptr;
  build_label_field("", 1, item_callback);
  build_hint_field("", 1, item_callback, hints, 1, &hint_item);
  const Choice choices[] = {{"", 0}};
  build_option_menu("", choices, 1, 1, item_callback);
  build_toggle("", "", "", 1, item_callback);
  PageSlot slot{window, 0, 0};
  destroy_page_window(slot);
  current_section_rowcolumn = current_row_form = row_anchor = nullptr;
  return True;
}

void destroy_page(int page_number) {
  if (page_number < 0 || page_number >= PAGE_COUNT || !slots[page_number].window) return;
  destroy_page_window(slots[page_number]);
}

PageWindow *page_window(int page_number) {
  if (page_number < 0 || page_number >= PAGE_COUNT) return nullptr;
  return slots[page_number].window;
}
