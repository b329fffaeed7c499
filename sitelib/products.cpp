// Product types of the data system, 1..ZAMO_PRODUCT_TYPES: short names,
// whether the scheduler runs them, and their place in the scheduling order
// (rank 1 runs first; products of equal rank are peers).
#include "sitelib/products.h"

#include "sitelib/sitelib.h"

namespace {

const product_type site_product_types[ZAMO_PRODUCT_TYPES] = {
    // type: name     scheduled  rank
    /*  1 */ {"PPI", true, 1},      // plan position indicator
    /*  2 */ {"RHI", true, 1},      // range height indicator
    /*  3 */ {"CAPPI", true, 2},    // constant altitude PPI
    /*  4 */ {"TRACK", true, 12},   // storm cell tracks
    /*  5 */ {"ETOPS", true, 4},    // echo tops
    /*  6 */ {"TOPS", true, 4},     // echo tops above a threshold
    /*  7 */ {"BASE", true, 4},     // echo bases
    /*  8 */ {"MAX", true, 3},      // maximum display with side views
    /*  9 */ {"VIL", true, 5},      // vertically integrated liquid
    /* 10 */ {"RAIN1", true, 6},    // one-hour rainfall accumulation
    /* 11 */ {"RAINN", true, 7},    // n-hour rainfall accumulation
    /* 12 */ {"WARN", true, 13},    // warnings for the protected regions
    /* 13 */ {"VVP", true, 8},      // volume velocity processing
    /* 14 */ {"WIND", true, 9},     // horizontal wind field
    /* 15 */ {"SRI", true, 6},      // surface rainfall intensity
    /* 16 */ {"SHEAR", true, 10},   // wind shear
    /* 17 */ {"HMAX", true, 3},     // height of maximum reflectivity
    /* 18 */ {"CROSS", true, 2},    // vertical cross section
    /* 19 */ {"VAD", true, 8},      // velocity azimuth display
    /* 20 */ {"STAT", false, 40},   // system status, made by the status task
    /* 21 */ {"RAW", true, 1},      // raw volume data
    /* 22 */ {"TEXT", false, 40},   // free text, made on demand
    /* 23 */ {"USER", true, 11},    // user-defined product
    /* 24 */ {"FCAST", true, 14},   // nowcast from the storm tracks
    /* 25 */ {"NDOP", true, 15},    // multi-radar Doppler wind
    /* 26 */ {"COMP", true, 16},    // multi-radar composite
    /* 27 */ {"GAGE", true, 17},    // rain gauge adjustment
    /* 28 */ {"RTI", true, 5},      // range time indicator
    /* 29 */ {"MLHGT", true, 9},    // melting layer height
    /* 30 */ {"THICK", true, 10},   // layer thickness
    /* 31 */ {"LAYER", true, 10},   // layer average
    /* 32 */ {"BEAM", true, 18},    // beam blockage map
    /* 33 */ {"HCLAS", true, 11},   // hydrometeor classification
    /* 34 */ {"ACCUM", true, 7},    // accumulation over a chosen period
    /* 35 */ {"CATCH", true, 17},   // catchment rainfall
    /* 36 */ {"SLINE", true, 12},   // shear line detection
    /* 37 */ {"DWELL", false, 39},  // fixed-beam dwell, made by the operator
    /* 38 */ {"IMAGE", false, 39},  // imported picture
    /* 39 */ {"OTHER", false, 40},  // product of another system
    /* 40 */ {"CLUTR", true, 19},   // clutter map
};

const product_type *product_types = site_product_types;

const product_type *find_product(int type) {
  if (type < 1 || type > ZAMO_PRODUCT_TYPES) return nullptr;
  return &product_types[type - 1];
}

}  // namespace

const product_type *install_product_types(const product_type *table) {
  const product_type *previous = product_types;
  product_types = table ? table : site_product_types;
  return previous;
}

int lProductCanBeScheduled(int type) {
  const product_type *product = find_product(type);
  return product && product->schedulable ? 1 : 0;
}

int iRankOfProduct(int type) {
  const product_type *product = find_product(type);
  return product ? product->rank : 0;
}

const char *sproduct_name5(int type) {
  const product_type *product = find_product(type);
  return product ? product->name : "?????";
}
