// The product page: generation defaults, the reflectivity profile and
// default wind, status products, transmission limits and display labels,
// the scheduling priority of each schedulable product type and the warning
// regions around the radar.
#include "items/i18n.h"
#include "items/walk.h"
#include "pages/pages.h"
#include "pages/setup_copies.h"

namespace {

constexpr double ANGLE16 = 65536.0 / 360.0;  // 16-bit binary angle per degree
constexpr int SCHEDULING_RANKS = 40;         // ranks the scheduler knows, 1 first
enum { TRACK_PRODUCT = 4, WARN_PRODUCT = 12 };

PageState page = page_state(PAGE_PRODUCT);

// Whether the product type has a priority item at this rank.
bool scheduled_at(int iprod, int rank) {
  return lProductCanBeScheduled(iprod) && iRankOfProduct(iprod) == rank;
}

const char *priority_hint(int iprod) {
  return iprod == TRACK_PRODUCT ? "30" : iprod == WARN_PRODUCT ? "40" : "20";
}

// A region whose name begins with a blank is unused; the name is a
// blank-padded field, so only its first byte is looked at.
bool region_named(int iwarn) { return zamo.protect.protected_regions[iwarn].sName[0] != ' '; }

}  // namespace

void product_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(page, pass, item, arg);

  w.section(_("Product Generation"), "product_generation");
  w.row();
  w.toggle(FIELD(zamo.misc.luse_partial_ingest), _("Products from partial INGEST scans"), _("Yes"), _("No"));
  w.number(FIELD(zamo.misc.fzr_const), _("Default Z/R relationship constant"), "%.2f", 1,
           {w.hint("%.2f", 200.0)});
  w.number(FIELD(zamo.misc.fzr_exp), _("Default Z/R relationship exponent"), "%.2f", 1,
           {w.hint("%.2f", 1.6)});
  w.number(FIELD(zamo.misc.iNetworkWait), _("Product arrival wait time"), _("%.1f minutes"), 60,
           {_("1.0 minute")});
  w.number(FIELD(zamo.misc.iRainGageWait), _("Raingage data arrival wait time"), _("%.1f minutes"), 60,
           {_("5.0 minutes")});
  w.number(FIELD(zamo.misc.iProductBusyTime), _("Signal if busy more than"), _("%.1f minutes"), 60,
           {_("0.0 minutes")});
  w.toggle(FIELD(zamo.misc.lprod_alt_pol), _("Dual polarization features"), _("Enabled"), _("Disabled"));
  w.row();
  w.number(FIELD(zamo.misc.iprod_cache_size), _("Read cache size"), _("%.1f megabytes"), 1000000,
           {_("0.0 megabytes")});
  w.number(FIELD(zamo.misc.iReferenceHeight), _("Zero reference height"), _("%.0f meters"), 1,
           {_("0 meters")});

  w.section(_("Reflectivity Profile and Wind"), "reflectivity_profile_and_wind");
  w.row();
  w.toggle(FIELD(zamo.misc.lApplyGradient), _("Use Gradient in CAPPI & XSECT"), _("Yes"), _("No"));
  w.number(FIELD(zamo.misc.iMinVerticalGradient), _("Gradient Above Melting"), _("%.1f dB/km"), 100,
           {_("7.0 dB/km")});
  w.number(FIELD(zamo.misc.iLowVerticalGradient), _("Gradient Below Melting"), _("%.1f dB/km"), 100,
           {_("1.0 dB/km")});
  w.number(FIELD(zamo.misc.fMeltingThickness), _("Melting Layer Thickness"), _("%.2f km"), 1, {_("1.00 km")});
  w.number(FIELD(zamo.misc.fMeltingIntensity), _("Melting Layer Intensity"), _("%.1f dB"), 1, {_("7.0 dB")});
  w.toggle(FIELD(zamo.misc.lWindSpeedValid), _("Default Wind"), _("Enabled"), _("Disabled"));
  w.row(zamo.misc.lWindSpeedValid != 0, _("the default wind is enabled"));
  w.number(FIELD(zamo.misc.fWindDirection), _("Default Wind Direction"), _("%.0f deg."), 1);
  w.number(FIELD(zamo.misc.fWindSpeed), _("Default Wind Speed"), _("%.1f m/s"), 1);
  w.row();
  w.toggle(FIELD(zamo.misc.lDetectOverhangingStorms), _("Detect Overhanging Storms in SRI"), _("Yes"),
           _("No"));

  w.section(_("Status Products"), "configuring_zamo_status_products");
  w.row();
  w.toggle(FIELD(auxset.lstatus_product_gen), _("STATUS product generation"), _("Enabled"), _("Disabled"));
  w.row(auxset.lstatus_product_gen != 0, _("STATUS product generation is enabled"));
  w.number(FIELD(zamo.misc.istatus_product_gen), _("Time between status products"), _("%.1f minutes"), 60,
           {_("10.0 minutes")});
  w.toggle(FIELD(zamo.misc.lStatusEachTask), _("Make product for each task"), _("Yes"), _("No"));
  w.row();
  w.number(FIELD(zamo.misc.istatus_product_quota), _("STATUS Prod maximum file count"), _("%.0f files"), 1,
           {_("25 files")});
  w.toggle(FIELD(auxset.lstatus_product_timeout), _("STATUS product receive timeout"), _("Enabled"),
           _("Disabled"));
  w.row(auxset.lstatus_product_timeout != 0, _("the STATUS product receive timeout is enabled"));
  w.number(FIELD(zamo.misc.istatus_product_timeout), _("Timeout after"), _("%.1f minutes"), 60,
           {_("11.0 minutes")});

  w.section(_("Product Transmission and Display"), "product_transmission_and_display");
  w.row();
  w.number(FIELD(zamo.misc.iMaxWarnDiff), _("WARN max time difference"), _("%.1f minutes"), 60,
           {_("15.0 minutes")});
  w.number(FIELD(zamo.misc.iMaxTrackDiff), _("TRACK max time difference"), _("%.2f hours"), 3600,
           {_("0.5 hours")});
  w.number(FIELD(zamo.misc.iMaxFcastDiff), _("FCAST max time difference"), _("%.1f minutes"), 60,
           {_("15.0 minutes")});
  w.number(FIELD(zamo.misc.iMaxDefaultDiff), _("Default max time difference"), _("%.1f minutes"), 60,
           {_("15.0 minutes")});
  w.number(FIELD(zamo.misc.iNetworkSendTimeout), _("Network send timeout"), _("%.1f minutes"), 60,
           {_("2.0 minutes")});
  w.number(FIELD(zamo.misc.imax_send_queue), _("Maximum files queued for send"), _("%.0f files"), 1,
           {_(" 3 realtime systems"), _("50 archive systems")});
  w.choice(FIELD(zamo.misc.icentroid_label), _("Centroid value signal"),
           {{_("Maximum"), 1}, {_("Average"), 2}});
  w.toggle(FIELD(zamo.misc.bLabelBottomCatch), _("Label bottom of CATCH display"), _("Enabled"),
           _("Disabled"));
  w.toggle(FIELD(zamo.misc.lLabelBottomSline), _("Label bottom of SLINE display"), _("Enabled"),
           _("Disabled"));
  w.toggle(FIELD(zamo.misc.lLabelBottomTdwr), _("Label bottom of TDWR display"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(zamo.misc.lLabelBottomTrack), _("Label bottom of TRACK display"), _("Enabled"),
           _("Disabled"));
  w.toggle(FIELD(zamo.misc.lLabelBottomWarn), _("Label bottom of WARN display"), _("Enabled"), _("Disabled"));
  w.toggle(FIELD(zamo.misc.bEnableWebDisplayOptions), _("Display options menu for Web display"), _("Enabled"),
           _("Disabled"));

  // Sorted by rank, ties by product type; the site library is asked on
  // every pass, so the ids follow whatever it reports.
  w.section(_("Product Scheduling"), "product_scheduling_priority");
  w.row();
  for (int rank = 1; rank <= SCHEDULING_RANKS; ++rank)
    for (int iprod = 1; iprod <= ZAMO_PRODUCT_TYPES; ++iprod)
      if (scheduled_at(iprod, rank))
        w.number(FIELD_AS(zamo.misc.iprod_priorities[iprod - 1], "zamo.misc.iprod_priorities[iprod-1]"),
                 w.label(_("%s Product Priority"), sproduct_name5(iprod)), "%.0f", 1, {priority_hint(iprod)});

  for (int iwarn = 0; iwarn < ZAMO_WARNING_REGIONS; ++iwarn) {
    w.section(w.title(_("Warning Region #%d"), iwarn + 1), "protected_areas");
    w.row();
    w.text(TEXT(zamo.protect.protected_regions[iwarn].sName), _("Name"), {}, TextBlankPadded);
    w.row(region_named(iwarn), _("the region has a name"));
    w.number(FIELD(zamo.protect.protected_regions[iwarn].ixcenter), _("Center East of the radar"),
             _("%.3f km"), 100000);
    w.number(FIELD(zamo.protect.protected_regions[iwarn].iycenter), _("Center North of the radar"),
             _("%.3f km"), 100000);
    w.number(FIELD(zamo.protect.protected_regions[iwarn].ixsize), _("Width East-West"), _("%.3f km"), 100000);
    w.number(FIELD(zamo.protect.protected_regions[iwarn].iysize), _("Height North-South"), _("%.3f km"),
             100000);
    w.number(FIELD(zamo.protect.protected_regions[iwarn].iangle), _("Orientation"), _("%.2f degrees"),
             ANGLE16);
  }
}
