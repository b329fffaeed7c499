#include "pages/setup_copies.h"

#include "items/field.h"

zel_setup zel;
zel_setup zel_limits[3];
dsp_setup dsp;
dsp_setup dsp_limits[3];
rtdisp_setup Rtdisp;
rtdisp_setup Rtdisp_limits[3];
zamo_setup zamo;
zamo_setup zamo_limits[3];
auxset_record auxset;
auxset_record auxset_limits[3];

namespace {
// Lets bound fields find their limits in these copies.
const bool registered = [] {
  register_setup_record(&zel, zel_limits, sizeof zel);
  register_setup_record(&dsp, dsp_limits, sizeof dsp);
  register_setup_record(&Rtdisp, Rtdisp_limits, sizeof Rtdisp);
  register_setup_record(&zamo, zamo_limits, sizeof zamo);
  register_setup_record(&auxset, auxset_limits, sizeof auxset);
  return true;
}();
}  // namespace
