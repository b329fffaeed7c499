#include "tests/support/test_page.h"

#include <cstring>

#include "items/i18n.h"

test_setup testrec;
test_setup testrec_limits[3];
int test_page_device_slots = 4;

PageState test_page_state = PAGE_STATE(test_page, N_("Test Page Setups, %s"), "test_page_setups");

namespace {
const bool registered = [] {
  register_setup_record(&testrec, testrec_limits, sizeof testrec);
  return true;
}();

bool fast_mode() { return testrec.iMode == 0; }
bool network_device(int d) { return testrec.device[d].iType == 1; }
}  // namespace

void test_page(uint32_t pass, SetupItem *item, void *arg) {
  PageWalk w(test_page_state, pass, item, arg);

  w.section(_("General Settings"), "test_general");
  w.row();
  w.toggle(FIELD(testrec.lFeature), _("Feature enabled"), _("Yes"), _("No"));
  w.choice(FIELD(testrec.iMode), _("Operating mode"), {{_("Fast"), 0}, {_("Slow"), 1}, {_("Off"), 2}});
  w.row(testrec.lFeature != 0);
  w.number(FIELD(testrec.iRange), _("Range limit"), _("%.2f m"), 100, {"10.00", w.hint("%d", 40)});
  for (int i = 0; i < 2; ++i)
    w.number(FIELD_AT(testrec.iThreshold, i), w.label(_("Threshold %d"), i + 1), _("%.0f dB"), 1);

  w.section(_("Mode Details"), "test_mode_details");
  w.row(fast_mode());
  w.number(FIELD(testrec.fRatio), _("Fast ratio"), _("%.1f %%"), 1);
  w.row(!fast_mode());
  w.text(TEXT(testrec.sHost), _("Slow host"), {"localhost", "10.0.0.2"});
  w.number(FIELD(testrec.iPort), _("Slow port"), "%.0f", 1, {w.hint("%d", 30745)});

  w.section(_("Texts"), "test_texts", testrec.lFeature != 0);
  w.row();
  w.text(TEXT(testrec.sPassword), _("Password"), {}, TextPlain | TextMasked);
  w.text(TEXT(testrec.sCode), _("Site code"), {}, TextUnderscored);
  w.row();
  w.text(TEXT(testrec.sPadded), _("Padded name"), {}, TextBlankPadded);
  w.text(TEXT(testrec.sNote), _("Note"));

  w.section(_("Devices"), "test_devices");
  w.row();
  w.number(FIELD(testrec.iDeviceCount), _("Number of devices"), "%.0f", 1);
  w.count_seen();

  for (int d = 0; d < test_page_device_slots && d < TEST_DEVICE_CAPACITY; ++d) {
    w.section(w.title(_("Device #%d"), d + 1), "test_device", d < testrec.iDeviceCount);
    w.row();
    w.choice(FIELD_AS(testrec.device[d].iType, "DEV.iType"), w.label(_("Device %d type"), d + 1),
             {{_("Serial"), 0}, {_("Network"), 1}});
    w.number(FIELD_AS(testrec.device[d].iPort, "DEV.iPort"), _("Port"), "%.0f", 1, {w.hint("%d", 4000 + d)});
    w.toggle(FIELD_AS(testrec.device[d].lEnabled, "DEV.lEnabled"), _("Enabled"), _("On"), _("Off"));
    w.number(FIELD_AS(testrec.device[d].iTimeout, "DEV.iTimeout"), _("Timeout"), _("%.1f min"), 60);
    w.row(network_device(d));
    w.text(TEXT(testrec.device[d].sAddress), _("Address"), {"10.0.0.1"});
    w.number(FIELD_AS(testrec.device[d].dRate, "DEV.dRate"), _("Rate"), "%.3f kHz", 1000);
  }
  w.count_done();

  w.section(_("Trailer"), "test_trailer");
  w.row();
  w.toggle(FIELD(testrec.lTrailer), _("Trailer flag"), _("Set"), _("Clear"));
}

namespace {
template <typename T>
void set_limits(T &field, double minimum, double maximum, double factory) {
  size_t offset = reinterpret_cast<char *>(&field) - reinterpret_cast<char *>(&testrec);
  const double values[3] = {minimum, maximum, factory};
  for (int copy = 0; copy < 3; ++copy) {
    T value = static_cast<T>(values[copy]);
    std::memcpy(reinterpret_cast<char *>(&testrec_limits[copy]) + offset, &value, sizeof value);
  }
  field = static_cast<T>(factory);
}
}  // namespace

void test_page_reset(void) {
  std::memset(&testrec, 0, sizeof testrec);
  std::memset(testrec_limits, 0, sizeof testrec_limits);
  set_limits(testrec.lFeature, 0, 1, 1);
  set_limits(testrec.iMode, 0, 2, 0);
  set_limits(testrec.iRange, 0, 5000, 1250);
  for (int16_t &t : testrec.iThreshold) set_limits(t, -20, 20, 3);
  set_limits(testrec.fRatio, 0, 100, 12.5);
  set_limits(testrec.iPort, 1, 65535, 30745);
  set_limits(testrec.iDeviceCount, 0, TEST_DEVICE_CAPACITY, 2);
  for (test_device &d : testrec.device) {
    set_limits(d.iType, 0, 1, 0);
    set_limits(d.lEnabled, 0, 1, 1);
    set_limits(d.iPort, 1024, 9999, 4000);
    set_limits(d.iTimeout, 0, 3600, 90);
    set_limits(d.dRate, 1000, 100000, 9600);
  }
  set_limits(testrec.lTrailer, 0, 1, 0);
  std::strcpy(testrec.sHost, "radar-host");
  std::strcpy(testrec.sPassword, "secret");
  std::strcpy(testrec.sCode, "AB");
  std::memcpy(testrec.sPadded, "PADDED      ", sizeof testrec.sPadded);
  std::strcpy(testrec.sNote, "first note");
  for (test_device &d : testrec.device) std::strcpy(d.sAddress, "10.0.0.9");
}
