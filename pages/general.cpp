// The data system's general page: time keeping and mode-change protocols,
// speech and signals, disk quotas, process priorities, window alerts and the
// list of radar site names and codes.
#include <cctype>
#include <cstddef>
#include <cstring>

#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

// Styles of zamo.misc.iWindowAlertStyle.
enum { ALERTS_DISABLED = 0 };

bool zel_mode_control() { return zamo.misc.lzel_mode_control != 0; }
bool status_mode_change() { return zamo.misc.lStatusModeChange != 0; }
bool window_alerts() { return zamo.misc.iWindowAlertStyle != ALERTS_DISABLED; }
bool stale_alerts() { return window_alerts() && zamo.misc.lWindowAlertOnStale != 0; }

// Whether the first byte among the first `count` that is printable or the
// terminator is printable; non-printable bytes before it are skipped. Looks
// at those bytes only: a stored text may fill its field without terminator.
bool holds_printable(const char *text, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\0') return false;
    if (std::isprint(c)) return true;
  }
  return false;
}

// A code of fewer than three characters gets "_" for each terminator among
// its first three bytes; the fourth byte becomes the terminator, so the code
// is three characters whatever that byte held.
void pad_short_code(char (&code)[4]) {
  const size_t characters = sizeof code - 1;
  if (strnlen(code, characters) == characters) return;
  for (size_t i = 0; i < characters; ++i)
    if (code[i] == '\0') code[i] = '_';
  code[characters] = '\0';
}

// A site is in use when its name or its code holds text (padding its code
// changes neither).
bool site_in_use(int isite) {
  const zamo_site_entry &site = zamo.Site.sites[isite];
  return holds_printable(site.sName, sizeof site.sName - 1) ||
         holds_printable(site.sCode, sizeof site.sCode - 1);
}

PageState page = page_state(PAGE_GENERAL);

void modes_and_protocols(PageWalk &w) {
  w.section(_("Modes and Protocols"), "modes_and_protocols");
  w.row();
  w.toggle(FIELD(zamo.misc.lRecordGmt), _("Timezone for data recording"), _("UTC"), _("Local Time"));
  w.toggle(FIELD(zamo.misc.lauto_time_set), _("Operating system's time"), _("Set from ZEL"),
           _("Unaffected by ZAMO"));
  w.toggle(FIELD(zamo.Site.lmmap_okay), _("Memory-mapped I/O"), _("Available in OS"), _("Unsupported"));
  w.toggle(FIELD(zamo.misc.lzel_mode_control), _("External ZEL mode change"), _("Enabled"), _("Disabled"));
  w.row(!zel_mode_control(), _("external ZEL mode change is disabled"));
  w.toggle(FIELD(zamo.misc.lsocket_mode_control), _("External socket mode change"), _("Enabled"),
           _("Disabled"));
  w.toggle(FIELD(zamo.misc.lStatusModeChange), _("Status product mode change"), _("Enabled"), _("Disabled"));
  w.row(!zel_mode_control() && status_mode_change(),
        _("external ZEL mode change is disabled and status product mode change is enabled"));
  w.text(TEXT(zamo.misc.sStatusSupplierCode), _("Supplied by (Site Code)"));
  w.row();
  w.toggle(FIELD(zamo.misc.lrestart_fatal), _("Response to fatal errors"), _("Restart Processes"),
           _("No Action"));
  w.number(FIELD(zamo.Site.imax_clients), _("Maximum number of ZAMO clients"), _("%.0f clients"), 1);
}

void speech_and_signaling(PageWalk &w) {
  w.section(_("Speech and Signaling"), "speech_and_signaling");
  w.row();
  w.number(FIELD(zamo.misc.ircv_beep_time), _("Signal network warnings <"), _("%.0f seconds old"), 1,
           {_("600 seconds old")});
  w.toggle(FIELD(zamo.misc.lsay_text_product), _("Speak/Beep text products"), _("Yes"), _("No"));
  w.toggle(FIELD(zamo.misc.lsay_mode_change), _("Speak/Beep mode changes"), _("Yes"), _("No"));
  w.toggle(FIELD(zamo.misc.lsay_fatal_errors), _("Speak/Beep fatal errors"), _("Yes"), _("No"));
  w.toggle(FIELD(zamo.misc.lsay_bite_faults), _("Speak/Beep BITE faults"), _("Yes"), _("No"));
}

void file_and_system_quotas(PageWalk &w) {
  w.section(_("File and System Quotas"), "file_and_system_quotas");
  w.row();
  w.number(FIELD(zamo.misc.ikbytes_ingest), _("Total space for INGEST files"), _("%.1f megabytes"), 1000);
  w.number(FIELD(zamo.misc.ikept_ingest_percent), _("Kept INGEST file space"), _("%.0f%% of total"), 1);
  w.number(FIELD(zamo.misc.ifkbytes_product_raw), _("Total space for RAW products"), _("%.1f megabytes"),
           1000);
  w.number(FIELD(zamo.misc.ikept_product_raw_percent), _("Kept RAW-Product file space"), _("%.0f%% of total"),
           1);
  w.number(FIELD(zamo.misc.ifkbytes_product), _("Total space for Other-Products"), _("%.1f megabytes"), 1000);
  w.number(FIELD(zamo.misc.ikept_product_percent), _("Kept Other-Product file space"), _("%.0f%% of total"),
           1);
  w.number(FIELD(zamo.misc.imax_disk_products), _("Maximum Products on Disk"), "%.0f", 1);
  w.number(FIELD(zamo.misc.imax_disk_product_cfg_names), _("Maximum Product Configurations"), "%.0f", 1);
  w.number(FIELD(zamo.misc.imax_archive_products), _("Maximum Products on Archive"), "%.0f", 1);
  w.number(FIELD(zamo.device.imaxdevcount), _("Maximum number of output devices"), "%.0f", 1);
}

void run_time_priorities(PageWalk &w) {
  w.section(_("Run-Time Priorities"), "run-time_priorities");
  w.row();
  w.number(FIELD(zamo.misc.ipri_ingest), _("INGEST process priority"), "%.0f", 1, {"-8"});
  w.number(FIELD(zamo.misc.ipri_ingfio), _("INGFIO process priority"), "%.0f", 1, {"-8"});
  w.number(FIELD(zamo.misc.ipri_input), _("INPUT process priority"), "%.0f", 1, {"4"});
  w.number(FIELD(zamo.misc.ipri_product), _("PRODUCT process priority"), "%.0f", 1, {"8"});
  w.number(FIELD(zamo.misc.ipri_reingest), _("REINGEST process priority"), "%.0f", 1, {"8"});
  w.number(FIELD(zamo.misc.ipri_network), _("NETWORK process priority"), "%.0f", 1, {"4"});
  w.number(FIELD(zamo.misc.ipri_output), _("OUTPUT process priority"), "%.0f", 1, {"4"});
  w.number(FIELD(zamo.misc.ipri_archive), _("ARCHIVE process priority"), "%.0f", 1, {"4"});
  w.number(FIELD(zamo.misc.ipri_server), _("SERVER process priority"), "%.0f", 1, {"0"});
  w.number(FIELD(zamo.misc.ipri_watchdog), _("WATCHDOG process priority"), "%.0f", 1, {"0"});
}

void window_alert_configuration(PageWalk &w) {
  w.section(_("Window Alert Configuration"), "window_alert_configuration");
  w.row();
  w.choice(FIELD(zamo.misc.iWindowFaultScheme), _("Multi-site fault rule"),
           {{_("FAULT on one"), 0}, {_("FAULT on all"), 1}});
  w.choice(FIELD(zamo.misc.iWindowAlertStyle), _("Alert Style"),
           {{_("Disabled"), ALERTS_DISABLED},
            {_("Red X and Text"), 1},
            {_("Red X Only"), 2},
            {_("Text Only"), 3}});
  w.row(window_alerts(), _("an alert style is chosen"));
  w.toggle(FIELD(zamo.misc.lWindowAlertOnFault), _("Display alert for site faults"), _("Yes"), _("No"));
  w.row(window_alerts(), _("an alert style is chosen"));
  w.toggle(FIELD(zamo.misc.lWindowAlertOnStale), _("Display alert for stale image"), _("Yes"), _("No"));
  w.row(stale_alerts(), _("an alert style is chosen and alerts for stale images are displayed"));
  w.number(FIELD(zamo.misc.iWindowStaleTime), _("Display timeout"), _("%.1f minutes"), 60,
           {_("6.0 minutes")});
}

// Site 0 (unknown) has a code and a fault flag but no name. Every name row
// is always shown, so a new site can be entered; a site's code row follows
// its name and shows while the site is in use. A site in use has a short
// code padded where its code row starts (record upkeep), so a name typed
// just before shows the padded code in that pass. The row after the last
// site's code stays empty.
void radar_site_names_and_codes(PageWalk &w) {
  w.section(_("List Of Radar Site Names and Site Codes"), "radar_site_names_and_site_codes");
  w.row();
  w.text(TEXT(zamo.Site.sites[0].sCode), _("Site #0 (Unknown) code"));
  w.toggle(FIELD(zamo.Site.sites[0].lChecked), _("Check for Fault"), _("Yes"), _("No"));
  w.text(TEXT(zamo.Site.sites[1].sName), w.label(_("Site #%d name"), 1));
  for (int isite = 1; isite < ZAMO_SITES; ++isite) {
    const bool in_use = site_in_use(isite);
    if (in_use) w.upkeep([isite] { pad_short_code(zamo.Site.sites[isite].sCode); });
    w.row(in_use, _("the site has a name or a code"));
    w.text(TEXT(zamo.Site.sites[isite].sCode), _("Code"), {}, TextUnderscored);
    w.toggle(FIELD(zamo.Site.sites[isite].lChecked), _("Check for Fault"), _("Yes"), _("No"));
    w.row();
    if (isite + 1 < ZAMO_SITES)
      w.text(TEXT(zamo.Site.sites[isite + 1].sName), w.label(_("Site #%d name"), isite + 1));
  }
}

}  // namespace

void general_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);
  modes_and_protocols(w);
  speech_and_signaling(w);
  file_and_system_quotas(w);
  run_time_priorities(w);
  window_alert_configuration(w);
  radar_site_names_and_codes(w);
}
