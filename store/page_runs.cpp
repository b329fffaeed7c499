// The orders in which the start-up load, the repair run and List all visit
// the pages. Each order starts with the two processor pages, which are the
// only ones in processor-only mode.
#include "items/state.h"
#include "pages/pages.h"
#include "store/areas.h"

const int measure_order[7] = {PAGE_CONTROL_PROCESSOR, PAGE_SIGNAL_PROCESSOR, PAGE_OUTPUT_DEVICE,
                              PAGE_PRODUCT,           PAGE_INGEST,           PAGE_GENERAL,
                              PAGE_INPUT_DEVICE};
const int check_order[7] = {PAGE_SIGNAL_PROCESSOR, PAGE_CONTROL_PROCESSOR, PAGE_GENERAL,     PAGE_INGEST,
                            PAGE_PRODUCT,          PAGE_OUTPUT_DEVICE,     PAGE_INPUT_DEVICE};
const int repair_order[7] = {
    PAGE_CONTROL_PROCESSOR, PAGE_SIGNAL_PROCESSOR, PAGE_INPUT_DEVICE, PAGE_OUTPUT_DEVICE,
    PAGE_PRODUCT,           PAGE_INGEST,           PAGE_GENERAL};
const int list_order[7] = {PAGE_SIGNAL_PROCESSOR, PAGE_CONTROL_PROCESSOR, PAGE_INPUT_DEVICE, PAGE_INGEST,
                           PAGE_GENERAL,          PAGE_PRODUCT,           PAGE_OUTPUT_DEVICE};

std::vector<PageFunction> pages_in_order(const int order[7]) {
  int count = full_mode ? 7 : 2;
  std::vector<PageFunction> functions;
  for (int i = 0; i < count; ++i)
    if (PageFunction page = page_info(order[i]).function) functions.push_back(page);
  return functions;
}

void run_pass(const int order[7], uint32_t pass, void *arg) {
  for (PageFunction page : pages_in_order(order)) page(pass, nullptr, arg);
}
