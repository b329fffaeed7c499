// Every text the editor shows comes from its catalogues. A pseudo-translation
// made from the build's templates wraps each text in "⟦…⟧" (a leading number
// or conversion stays in front, so values and hints still parse); it is
// installed for the language "xx" where ZAMO_ROOT points, the editor is
// started on it, every page window and dialog is opened, and every label,
// title, button, menu entry, message and list line must come out wrapped.
// Only the texts shown as they stand may not: "8.3", "?????", the "i" of the
// hint menus, numeric hints and the layout lines of the bounds list.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/IntrinsicP.h>
#include <Xm/BulletinB.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/List.h>
#include <Xm/MainW.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "items/i18n.h"
#include "motif/bounds_dialog.h"
#include "motif/clock.h"
#include "motif/commands.h"
#include "motif/dialogs.h"
#include "motif/main_panel.h"
#include "motif/page_window.h"
#include "motif/startup.h"
#include "motif/state.h"
#include "tests/store_site.h"
#include "tests/support/gui.h"
#include "tests/support/widgets.h"

namespace {

const char *const DOMAINS[] = {SETUP_TEXT_DOMAIN, "quorbel-wr-util"};

// Every msgstr wraps its msgid; a leading number or conversion is kept in
// front and trailing newlines stay outside, so formats stay intact.
bool make_pseudo_catalogues(const std::string &root) {
  const std::string dir = root + "/bin/nls/xx/LC_MESSAGES";
  std::filesystem::create_directories(dir);
  const std::string wrap =
      "sed -E -z 's/^( *-?[.]?[0-9][0-9.]*| *%[-+ #0-9.]*[a-zA-Z])?(.*[^\\n])(\\n*)$/\\1⟦\\2⟧\\3/'";
  for (const char *domain : DOMAINS) {
    const std::string pot = std::string(SETUP_BINARY_DIR) + "/po/" + domain + ".pot";
    const std::string command = "msgen --force-po " + pot + " | sed 's/charset=CHARSET/charset=UTF-8/' | " +
                                "msgfilter --keep-header " + wrap + " | msgfmt --check -o " + dir + "/" +
                                domain + ".mo - 2>/dev/null";
    if (std::system(command.c_str()) != 0) return false;
  }
  return true;
}

bool wrapped(const std::string &text) {
  size_t open = text.find("⟦");
  return open != std::string::npos && text.find("⟧", open) != std::string::npos;
}

bool is_number(const std::string &text) {
  char *end = nullptr;
  std::strtod(text.c_str(), &end);
  return end != text.c_str() && std::string(end).find_first_not_of(' ') == std::string::npos;
}

// Texts shown as they stand, wherever they are: besides the fixed ones,
// numeric hints and text hints (device paths, addresses: values, not words).
bool shown_as_it_stands(Widget w, const std::string &text) {
  if (text.empty() || text == "?????" || text == "8.3") return true;
  const std::string name = XtName(w);
  if ((text == "i" && name == "hintcascadebtn") || name == "TipLabel") return true;
  const SetupItem *item = item_of(w);
  return item && ((item->kind == KindHintNumber && is_number(text)) || item->kind == KindHintText);
}

// Layout lines of the bounds list: a blank and the lines of "=".
bool list_layout_line(const std::string &text) { return text.find_first_not_of(" =") == std::string::npos; }

std::string path_of(Widget w) {
  std::string path = XtName(w);
  for (Widget up = XtParent(w); up; up = XtParent(up)) path = std::string(XtName(up)) + "." + path;
  return path;
}

bool is_default_button(Widget w) {
  const std::string name = XtName(w);
  return name == "OK" || name == "Cancel" || name == "Help" || name == "Apply";
}

class Translated : public ::testing::Test {
 protected:
  std::set<std::string> unwrapped;  // "path: text"

  void expect(Widget w, const std::string &what, const std::string &text, bool allowed) {
    if (!allowed && !wrapped(text)) unwrapped.insert(path_of(w) + " " + what + ": \"" + text + "\"");
  }

  void check_widget(Widget w) {
    if (XtIsWMShell(w)) {
      char *title = nullptr;
      XtVaGetValues(w, XmNtitle, &title, nullptr);
      // A dialog shell that was never shown keeps its widget name as title.
      if (title && std::string(title) != XtName(w) && XtIsRealized(w)) expect(w, "title", title, false);
    }
    if (XmIsBulletinBoard(w) && get<XmString>(w, XmNdialogTitle))
      expect(w, "dialog title", label_of(w, XmNdialogTitle), false);
    if ((XmIsLabel(w) || XmIsLabelGadget(w)) && get<unsigned char>(w, XmNlabelType) == XmSTRING &&
        !(is_default_button(w) && !XtIsManaged(w))) {
      const std::string text = label_of(w);
      expect(w, "label", text, shown_as_it_stands(w, text));
    }
    if (XmIsList(w)) {
      XmStringTable items = get<XmStringTable>(w, XmNitems);
      for (int i = 0; i < get<int>(w, XmNitemCount); ++i) {
        const std::string line = string_of(items[i]);
        expect(w, "list line", line, list_layout_line(line));
      }
    }
  }

  // Every widget from `w` down, the popups (menus, dialogs) included.
  void check_tree(Widget w) {
    check_widget(w);
    if (XtIsWidget(w))  // gadgets have no popups
      for (Cardinal i = 0; i < w->core.num_popups; ++i) check_tree(w->core.popup_list[i]);
    for (Widget child : children(w)) check_tree(child);
  }

  void check_everything(int ms = 100) {
    gui_process(ms);
    check_tree(top_level);
  }
};

Widget dialog_button(Widget dialog, unsigned char which) { return XmMessageBoxGetChild(dialog, which); }

TEST_F(Translated, EveryShownTextComesFromTheCatalogues) {
  char root_name[] = "/tmp/setup-pseudo-XXXXXX";
  const std::string root = mkdtemp(root_name);
  ASSERT_TRUE(make_pseudo_catalogues(root));
  setenv("ZAMO_ROOT", root.c_str(), 1);
  setenv("LANGUAGE", "xx", 1);
  ASSERT_NE(setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
  ASSERT_NE(setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  init_message_catalogue("setup");
  ASSERT_STREQ(_("Help"), "⟦Help⟧");
  REQUIRE_DISPLAY();

  // A site that raises every start-up dialog: an old data-system version,
  // values out of range, an unreadable area; one output device of each
  // kind so that all their sections exist.
  FactorySite site([] {
    zel.iBaudRate1 = 1;  // below its minimum
    zamo.device.imaxdevcount = 2;
    zamo.device.idevcount = 1;
    zamo.device.def[1].idev_type = 99;  // matches no choice
  });
  site.set_zamo_file_version("9.55");
  site.corrupt(AREA_RTDISP);

  full_mode = 1;
  Widget main_window = XmCreateMainWindow(top_level, const_cast<char *>("setupmain"), nullptr, 0);
  Widget form = XmCreateForm(main_window, const_cast<char *>(""), nullptr, 0);
  XtManageChild(build_main_menus(main_window));
  XtManageChild(main_window);
  XtManageChild(form);
  build_main_panel(form);
  XtRealizeWidget(top_level);

  arm_start_timeouts(true);
  check_everything(150);  // the loading dialog
  check_everything(500);  // loaded: version notice, bounds errors, error status
  ASSERT_TRUE(XtIsManaged(bounds_dialog()));
  activate(dialog_button(bounds_dialog(), XmDIALOG_OK_BUTTON));
  check_everything();  // the repair lines
  hide_warning();

  for (int page = 0; page < PAGE_COUNT; ++page) open_page(page);
  update_page_titles();
  check_everything();

  // The output device warning, the save question, the saved notice and
  // the read-only question.
  Widget count = collect(page_window(PAGE_OUTPUT_DEVICE)->row_column, [](Widget w) {
    return XmIsTextField(w) && item_of(w)->id == (1u << 24 | 1u << 12);
  })[0];
  type_into(count, "7");
  check_everything();
  exit_command(nullptr, nullptr, nullptr);  // the repaired values are unsaved
  check_everything();
  convert_form(1);  // the question left the records in storage form
  save_command(nullptr, nullptr, nullptr);
  check_everything();
  hide_warning();
  arm_start_timeouts(false);
  check_everything(400);
  activate(dialog_button(gui_find(top_level, "warndiag"), XmDIALOG_OK_BUTTON));
  check_everything();

  for (const std::string &text : unwrapped) ADD_FAILURE() << "shown untranslated: " << text;
  std::filesystem::remove_all(root);
}

}  // namespace
