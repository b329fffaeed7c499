// Find through real keys: Ctrl+F in the main window, a few words, Enter,
// and the item's field has the keyboard focus in its page window.
#include "tests/support/e2e.h"

namespace e2e {
namespace {

using ReviewEndToEnd = Test;

TEST_F(ReviewEndToEnd, FindOpensTheItemWithTheFocusInItsField) {
  start_editor();
  click(box(main_window), 100, 100);
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
  const std::string listing = list_all(1000);
  const size_t line = listing.find("Antenna height above the ground");
  ASSERT_NE(line, std::string::npos);
  EXPECT_EQ(listing.substr(line, listing.find('\n', line) - line),
            "Antenna height above the ground  : 42.0 meters");
}

}  // namespace
}  // namespace e2e
