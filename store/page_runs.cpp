// The runs over all pages: the start-up load, its check, the repair and
// List all, each in the order the page table ranks the mode's pages.
#include "pages/pages.h"
#include "store/areas.h"

std::vector<PageFunction> pages_in_order(PageOrder order) {
  std::vector<PageFunction> functions;
  for (int page : page_order(order)) functions.push_back(page_info(page).function);
  return functions;
}

void run_pass(PageOrder order, uint32_t pass, void *arg) {
  for (PageFunction page : pages_in_order(order)) page(pass, nullptr, arg);
}
