// The input device page: the number of input devices in use, then one
// section per device with its alias, pipe program, source directory, how
// the program is called and how arrivals are noticed.
#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

// Notification schemes of DEFDEV.iNotifyScheme.
enum { POLLING = 2, TCPIP_SOCKET = 4 };

const char *const topic = "zamo_input_setups";

PageState page = page_state(PAGE_INPUT_DEVICE);

bool device_in_use(int iDevice) { return zamo.Input.iInputCount > static_cast<uint32_t>(iDevice); }

}  // namespace

void input_device_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);

  w.section(_("Input Device Specifications"), topic);
  w.row();
  w.number(FIELD(zamo.Input.iInputCount), _("Number of input devices"), "%.0f", 1);
  w.count_seen();

  for (int iDevice = 0; iDevice < ZAMO_INPUT_DEVICES; ++iDevice) {
    input_device &device = zamo.Input.Def[iDevice];
    w.section(w.title(_("Input Device #%d"), iDevice + 1), topic, device_in_use(iDevice),
              _("the Number of input devices counts this device"));
    w.row();
    w.text(TEXT(device.sMenuAlias), _("Menu alias"));
    w.text(TEXT(device.sPipeProgram), _("Pipe program name"));
    w.text(TEXT(device.sSourceDirectory), _("Source directory"));
    w.choice(FIELD_AS(device.iCommandLineSyntax, "DEFDEV.iCommandLineSyntax"), _("Command line syntax"),
             {{_("Pipe"), 0}, {_("Pathnames"), 1}});
    w.choice(FIELD_AS(device.iNotifyScheme, "DEFDEV.iNotifyScheme"), _("Notification scheme"),
             {{_("Polling"), POLLING}, {_("TCP/IP Socket"), TCPIP_SOCKET}});
    w.row(device.iNotifyScheme == TCPIP_SOCKET, _("the notification scheme is TCP/IP Socket"));
    w.number(FIELD(zamo.Input.Def[iDevice].iSocketPort), _("Port number"), "%.0f", 1, {w.hint("%d", 30750)});
  }
  w.count_done();
}
