#include "pages/pages.h"

#include <algorithm>

#include "items/i18n.h"
#include "items/state.h"
#include "items/walk.h"

namespace {
constexpr PageInfo pages[] = {
#define PAGE(number, function, name, width, title, clock_title, help_topic, measure, check, repair, list, \
             processor)                                                                                   \
  {function, name, width, title, clock_title, help_topic, {measure, check, repair, list}, processor},
#include "pages/page_table.def"
#undef PAGE
};
}  // namespace

const PageInfo &page_info(int page_number) { return pages[page_number]; }

bool page_in_mode(int page_number) { return full_mode || pages[page_number].processor; }

std::vector<int> page_order(PageOrder order) {
  std::vector<int> numbers;
  for (int page = 0; page < PAGE_COUNT; ++page)
    if (page_in_mode(page)) numbers.push_back(page);
  std::stable_sort(numbers.begin(), numbers.end(),
                   [order](int a, int b) { return pages[a].rank[order] < pages[b].rank[order]; });
  return numbers;
}

PageState page_state(int page_number) {
  const PageInfo &row = pages[page_number];
  return PAGE_STATE(row.function, row.title, row.help_topic);
}
