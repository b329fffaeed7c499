// The configuration pages by page number, as the page table
// (pages/page_table.def) lists them.
#pragma once

#include <vector>

#include "items/item.h"

struct PageState;

enum PageNumber {
#define PAGE(number, ...) PAGE_##number,
#include "pages/page_table.def"
#undef PAGE
  PAGE_COUNT
};

#define PAGE(number, function, ...) void function(uint32_t pass, SetupItem *item, void *arg);
#include "pages/page_table.def"
#undef PAGE

// The runs over all pages, each in an order of its own.
enum PageOrder { ORDER_MEASURE, ORDER_CHECK, ORDER_REPAIR, ORDER_LIST, ORDER_COUNT };

// A row of the page table.
struct PageInfo {
  PageFunction function;
  const char *name;         // on setup-site's command line
  int width;                // page window width
  const char *title;        // catalogue key: title format, host name
  const char *clock_title;  // catalogue key: title format, host name, time
  const char *help_topic;
  int rank[ORDER_COUNT];  // place in each run, lower first
  bool processor;         // shown in processor-only mode too
};

const PageInfo &page_info(int page_number);
// Whether the page takes part in the mode: every page in full mode, the
// processor pages alone in processor-only mode.
bool page_in_mode(int page_number);
// The mode's page numbers by their rank in the order.
std::vector<int> page_order(PageOrder order);
// A page's walk state, with the title format and help topic of its row.
PageState page_state(int page_number);

struct output_device;
// The limit copy `copy` (COPY_MIN, COPY_MAX or COPY_FACTORY) that an output
// device record gets from its current type, into every field of `out`: the
// type's limits ("device_def"); a network device takes its type-specific
// part from the current record with the network limits over it.
void device_limits(const output_device &current, int copy, output_device &out);
