// The output device page: the device count and its warning, rows and
// limits that follow each device's type, stored counts beyond the record,
// and windows built anew.
#include <gtest/gtest.h>
// gtest before the X headers: their macros (None, Bool) break it.
#include <X11/IntrinsicP.h>
#include <Xm/MessageB.h>

#include "tests/support/catalogue.h"
#include "tests/support/page_test.h"

namespace {

const char warning_format[] =
    "The \"Number of output devices\" entered has exceeded the \"Maximum number of output devices\" %d.\nIf "
    "you need more than %d output devices, please close this menu and then modify in the \n\"General\" Menu "
    "under the section \"File and System Quotas\" the field \"Maximum number of output devices\"";

output_device &device(int dev) { return zamo.device.def[dev]; }

// The values behind tests/data/output_device_four_types.txt: a window, a
// network, an archive and a printer device in use, two more records unused.
void load_demo_values() {
  std::memset(&zamo, 0, sizeof zamo);
  zamo.device.idevcount = 4;
  zamo.device.imaxdevcount = 6;
  const int types[] = {DEVICE_WINDOW,  DEVICE_NETWORK, DEVICE_ARCHIVE,
                       DEVICE_PRINTER, DEVICE_WINDOW,  DEVICE_UNUSED};
  for (int dev = 0; dev < 6; ++dev) device(dev).idev_type = types[dev];
  std::strcpy(device(0).sMenuAlias, "Main display");
  device(0).dsi.window = {720, 480, 10, -20, 12, 0, ":0.0"};
  std::strcpy(device(1).sMenuAlias, "Web server");
  device(1).iskip_time = 60;
  device(1).dsi.network = {
      800, 600, 10, 2, 2, 4, 30800, "web.example", 3, "/var/www/radar", 0, "", "push.sh", "radar", "secret"};
  std::strcpy(device(2).sMenuAlias, "DVD archive");
  device(2).dsi.archive.isub_type = 4;
  device(2).dsi.archive.asi.Dvd = {"/mnt/dvd", "/dev/scd0", 200};
  std::strcpy(device(3).sMenuAlias, "Office printer");
  device(3).iskip_time = 300;
  device(3).dsi.printer = {880, 720, 3, "lp0"};
  for (int copy : {COPY_MIN, COPY_MAX, COPY_FACTORY}) {
    zamo_limits[copy] = zamo;
    setup_limits("zamo_setup", &zamo_limits[copy], copy, 0);
  }
}

// The device-count warnings open over a page window.
std::vector<Widget> warnings(const PageWindow *window) {
  std::vector<Widget> found;
  Widget form = window->form_dialog;
  for (Cardinal i = 0; i < form->core.num_popups; ++i) {
    Widget shell = form->core.popup_list[i];
    if (shell->core.being_destroyed) continue;
    for (Widget box : children(shell))
      if (XmIsMessageBox(box)) found.push_back(box);
  }
  return found;
}

class OutputDevicePage : public PageTest {
 protected:
  OutputDevicePage() : PageTest(PAGE_OUTPUT_DEVICE, output_device_page) {}
  void SetUp() override {
    std::memset(&zamo, 0, sizeof zamo);  // measured as at start-up, before the setups are read
    PageTest::SetUp();
    load_demo_values();
  }
  Widget count_field() const { return item("Number of output devices"); }
  // The item of the second device (every device section has every row).
  Widget second(const char *label) const { return item(label, 1); }
};

TEST_F(OutputDevicePage, ListsAndChecksOnlyDevicesInUseAndStoredCountsStopAtTheLastRecord) {
  device(4).iskip_time = 60000;
  device(4).idev_type = 9;  // no such type
  std::memset(&zamo_limits[COPY_MAX].device.def[4], 0, sizeof(output_device));
  EXPECT_EQ(listing(), data_file("output_device_four_types.txt"));
  EXPECT_EQ(zamo_limits[COPY_MAX].device.def[4].iskip_time, 43200) << "limits of an unused device";
  EXPECT_FALSE(mentions(lines_after(PassCheck), "Min time between output"));
  lines_after(PassRepair);
  EXPECT_EQ(device(4).iskip_time, 60000);
  EXPECT_EQ(device(4).idev_type, 9);

  // Run under AddressSanitizer too: no pass walks past the last record.
  zamo.device.idevcount = zamo.device.imaxdevcount = 100;
  build();
  EXPECT_TRUE(section_shown("Output Device #32"));
  EXPECT_EQ(window.section("Output Device #33"), nullptr);
  std::string text = listing();
  EXPECT_NE(text.find("Output Device #32\n"), std::string::npos);
  EXPECT_EQ(text.find("Output Device #33"), std::string::npos);
  EXPECT_TRUE(mentions(lines_after(PassCheck), "Number of output devices:  100"));
  lines_after(PassRepair);
  EXPECT_EQ(zamo.device.imaxdevcount, 100) << "left for the general page to report";
  EXPECT_EQ(zamo.device.idevcount, 4);
}

TEST_F(OutputDevicePage, CountAboveTheMaximumBecomesTheMaximumWithOneWarning) {
  zamo.device.imaxdevcount = 4;
  build();
  type_into(count_field(), "6");
  EXPECT_EQ(field_text(count_field()), "4");
  EXPECT_EQ(window.section("Output Device #5"), nullptr);
  ASSERT_EQ(warnings(window.record).size(), 1u);
  Widget warning = warnings(window.record)[0];
  char expected[1024];
  std::snprintf(expected, sizeof expected, warning_format, 4, 4);
  EXPECT_EQ(message_text(warning), expected);
  EXPECT_FALSE(XtIsManaged(XmMessageBoxGetChild(warning, XmDIALOG_CANCEL_BUTTON)));
  type_into(count_field(), "6");
  EXPECT_EQ(warnings(window.record).size(), 1u) << "no second warning while one is open";
  EXPECT_EQ(zamo.device.idevcount, 4);

  activate(XmMessageBoxGetChild(warning, XmDIALOG_OK_BUTTON));
  gui_process(20);
  type_into(count_field(), "5");
  EXPECT_EQ(warnings(window.record).size(), 1u) << "closed, the next excess warns again";
}

TEST_F(OutputDevicePage, WarningFormatIsTranslatedBeforeItIsFilledIn) {
  zamo.device.imaxdevcount = 3;
  {
    MessageCatalogue xx(
        "xx", "msgid " + po_string(warning_format) + "\nmsgstr \"Nur %d Geraete, nicht mehr als %d.\"\n");
    ASSERT_TRUE(xx.ok);
    build();
    type_into(count_field(), "9");
  }
  ASSERT_EQ(warnings(window.record).size(), 1u);
  EXPECT_EQ(message_text(warnings(window.record)[0]), "Nur 3 Geraete, nicht mehr als 3.");
}

TEST_F(OutputDevicePage, RowsFollowTypeFileFormatCopyAndNotificationSchemes) {
  device(0).idev_type = DEVICE_UNUSED;
  build();
  EXPECT_FALSE(shown("Device movie length"));
  choose(item("Device type"), "Window");
  EXPECT_TRUE(shown("Device movie length"));

  Widget pipe = second("Pipe program name");
  Widget width = item("Width of image", 2);  // a network and a printer row in each section
  choose(second("File format"), "ZAMO (Def)");
  EXPECT_FALSE(window.shown(width));
  choose(second("File format"), "Pipe");
  EXPECT_TRUE(window.shown(pipe) && window.shown(width));

  Widget user = second("User name"), password = second("Password"), script = second("Copy script name");
  choose(second("Copy scheme"), "SCP");
  EXPECT_TRUE(window.shown(user));
  EXPECT_FALSE(window.shown(password) || window.shown(script));
  choose(second("Copy scheme"), "Script");
  EXPECT_TRUE(window.shown(password) && window.shown(script));
  EXPECT_EQ(field_text(password), std::string(15, '*'));

  Widget port = second("Notification port number");
  choose(second("Notification scheme"), "Rename");
  EXPECT_FALSE(window.shown(port));
  choose(second("Notification scheme"), "TCPIP");
  EXPECT_TRUE(window.shown(port));
  pick_hint(port, "30725");
  EXPECT_EQ(device(1).dsi.network.itcpip_port, 30725u);
}

TEST_F(OutputDevicePage, LimitsFollowTheTypeFromTheStoreThatChangesIt) {
  device(0).iskip_time = 3000;          // a window allows up to 3600 s, a printer from 60 s
  device(0).dsi.printer.iwidth = 9000;  // above the printer maximum
  build();
  EXPECT_FALSE(mentions(lines_after(PassCheck), "Min time between output"));
  std::memset(&zamo_limits[COPY_MAX].device.def[0], 0, sizeof(output_device));
  device(0).iskip_time = 30;
  choose(item("Device type"), "Printer");
  EXPECT_FALSE(shown("Device movie length"));
  EXPECT_TRUE(shown("Paper Size"));
  std::string complaints = check_complaints();
  EXPECT_EQ(complaints.find("Internal Error"), std::string::npos) << "no limits missing";
  EXPECT_TRUE(mentions(bounds_lines(), "Min time between output:  30 sec   (range 60 sec to 43200 sec)"));
  EXPECT_TRUE(mentions(bounds_lines(), "Width of image:  9000 pixels   (range 100 pixels to 8192 pixels)"));
}

// A rebuild makes the new window before the old one is gone: the page must
// keep none of the old window's frames and rows, or raising the maximum
// afterwards reaches them (destroyed widgets, in the editor).
TEST_F(OutputDevicePage, NoWidgetOfAnEarlierWindowIsTouchedAfterARebuild) {
  build();
  zamo.device.imaxdevcount = 2;
  PageView later;
  later.build(PAGE_OUTPUT_DEVICE, output_device_page);
  zamo.device.imaxdevcount = 6;
  type_into(later.item("Number of output devices"), "5");
  EXPECT_EQ(zamo.device.idevcount, 5);
  EXPECT_FALSE(window.shown(window.section("Output Device #5")));
  later.destroy();
}

TEST_F(OutputDevicePage, OpeningAfterTheMaximumChangedBuildsANewWindowAndClosesItsWarning) {
  zamo.device.imaxdevcount = 4;
  open_page(PAGE_OUTPUT_DEVICE);
  PageView view{page_window(PAGE_OUTPUT_DEVICE)};
  type_into(view.item("Number of output devices"), "6");
  ASSERT_EQ(warnings(view.record).size(), 1u);

  zamo.device.imaxdevcount = 6;  // raised on the general page
  open_page(PAGE_OUTPUT_DEVICE);
  view.record = page_window(PAGE_OUTPUT_DEVICE);
  EXPECT_TRUE(warnings(view.record).empty());
  type_into(view.item("Number of output devices"), "6");
  EXPECT_TRUE(view.shown(view.section("Output Device #6")));

  zamo.device.imaxdevcount = 2;  // lowered
  open_page(PAGE_OUTPUT_DEVICE);
  view.record = page_window(PAGE_OUTPUT_DEVICE);
  EXPECT_EQ(view.section("Output Device #3"), nullptr);
  type_into(view.item("Number of output devices"), "7");
  EXPECT_EQ(warnings(view.record).size(), 1u);
  XtUnmanageChild(view.record->form_dialog);
}

}  // namespace
