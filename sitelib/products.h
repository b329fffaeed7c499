// The product type table behind lProductCanBeScheduled, iRankOfProduct and
// sproduct_name5. Inner working of the site library: the program does not
// include this; tests install tables of their own.
#pragma once

struct product_type {
  const char *name;  // at most five characters
  bool schedulable;
  int rank;  // place in the scheduling order, 1 runs first
};

// Makes `table` (ZAMO_PRODUCT_TYPES entries, type 1 first) the one the
// product functions read, or the site's own table again for nullptr.
// Returns the table that was in use.
const product_type *install_product_types(const product_type *table);
