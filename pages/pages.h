// The configuration pages by page number.
#pragma once

#include "items/item.h"

enum PageNumber {
  PAGE_SIGNAL_PROCESSOR = 0,
  PAGE_CONTROL_PROCESSOR = 1,
  PAGE_GENERAL = 2,
  PAGE_INGEST = 3,
  PAGE_PRODUCT = 4,
  PAGE_OUTPUT_DEVICE = 5,
  PAGE_INPUT_DEVICE = 6,
  PAGE_COUNT = 7,
};

struct PageInfo {
  PageFunction function;    // nullptr while the page does not exist yet
  int width;                // page window width
  const char *clock_title;  // catalogue key: title format, host name, time
  const char *help_topic;
};

const PageInfo &page_info(int page_number);

void signal_processor_page(uint32_t pass, SetupItem *item, void *arg);
void control_processor_page(uint32_t pass, SetupItem *item, void *arg);
void general_page(uint32_t pass, SetupItem *item, void *arg);
void input_device_page(uint32_t pass, SetupItem *item, void *arg);
void product_page(uint32_t pass, SetupItem *item, void *arg);
void ingest_page(uint32_t pass, SetupItem *item, void *arg);
void output_device_page(uint32_t pass, SetupItem *item, void *arg);

struct output_device;
// The limit copy `copy` (COPY_MIN, COPY_MAX or COPY_FACTORY) that an output
// device record gets from its current type, into every field of `out`: the
// type's limits ("device_def"); a network device takes its type-specific
// part from the current record with the network limits over it.
void device_limits(const output_device &current, int copy, output_device &out);
