// Find through real keys: Ctrl+F in the main window or a page window, Esc,
// a few words, Down and Up into the list, Enter: the item's field has the
// keyboard focus in its page window, and what is typed next lands there.
#include "tests/support/e2e.h"

namespace e2e {
namespace {

using ReviewEndToEnd = Test;

TEST_F(ReviewEndToEnd, FindOpensTheItemWithTheFocusInItsField) {
  start_editor();
  click(box(main_window), 100, 100);
  xdotool("key ctrl+f");
  ASSERT_NE(wait_titled("SETUP: Find", 5000), 0u);
  xdotool("key Escape");
  ASSERT_TRUE(eventually([] { return titled("SETUP: Find") == 0; }, 3000)) << "Esc closes it";
  xdotool("key ctrl+f");
  Window find = wait_titled("SETUP: Find", 5000);
  ASSERT_NE(find, 0u);
  xdotool("windowmove " + std::to_string(find) + " 700 500");
  pause_ms(300);
  // "antenna" is in the section title too: the first match by label opens.
  xdotool("type --delay 30 'antenna height'");
  xdotool("key Return");
  ASSERT_NE(wait_page("Radar Control Processor Setups", 0, 0), 0u);
  xdotool("type --delay 50 '42'");
  xdotool("key Return");
  pause_ms(300);

  // Ctrl+F in the page window; Down goes from the text into the list, and
  // Up there to the match before the one selected.
  xdotool("key ctrl+f");
  pause_ms(500);
  xdotool("key Down Up Return");
  pause_ms(500);
  xdotool("type --delay 50 '7'");
  xdotool("key Return");
  pause_ms(300);
  const std::string listing = list_all(1000);
  for (const std::string line :
       {"Antenna height above the ground  : 42.0 meters", "Ground height above sea level    : 7.0 meters"})
    EXPECT_NE(listing.find(line), std::string::npos) << line << " in\n" << listing;
}

}  // namespace
}  // namespace e2e
