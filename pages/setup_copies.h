// The setup records the pages edit: each area's current copy and its
// minimum, maximum and factory copies (indexed COPY_MIN, COPY_MAX,
// COPY_FACTORY). They live for the whole run.
#pragma once

#include <cstdint>

#include "sitelib/sitelib.h"

// Values the pages edit in place of stored fields (editing form).
struct auxset_record {
  int32_t zel_ilat;  // 32-bit binary angle
  int32_t zel_ilon;
  int16_t lstatus_product_gen;
  int16_t lstatus_product_timeout;
  int16_t lnoise_az;
  int16_t lnoise_el;
  int16_t lingsim_radar;
  int16_t lingsim_shearline;
  int16_t lingsim_fallspeed;
  int16_t lingsim_windfield;
  int16_t lingsim_randomized;
};

extern zel_setup zel;
extern zel_setup zel_limits[3];
extern dsp_setup dsp;
extern dsp_setup dsp_limits[3];
extern rtdisp_setup Rtdisp;
extern rtdisp_setup Rtdisp_limits[3];
extern zamo_setup zamo;
extern zamo_setup zamo_limits[3];
extern auxset_record auxset;
extern auxset_record auxset_limits[3];
