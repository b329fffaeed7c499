// The real editor on a demo site: open the control processor page from the
// main panel, change the ground height in its field, save, and find the new
// value in the control processor's setup file.
#include "tests/support/e2e.h"

namespace e2e {
namespace {

using ControlProcessorEndToEnd = Test;

TEST_F(ControlProcessorEndToEnd, GroundHeightTypedIntoThePageIsSaved) {
  const std::string file = site + "/setup_ant.conf";
  // A ground height that no other field of the page shows.
  ASSERT_EQ(run("sed -i 's/^zel.ignd_hgt = .*/zel.ignd_hgt = 123/' " + file), 0);
  ASSERT_NE(read_file(file).find("zel.ignd_hgt = 123\n"), std::string::npos);
  start_editor();
  Window page = open_page(true, 260, 0);
  ASSERT_NE(page, 0u);
  screenshot("e2e_control_processor.png");

  // Fields scrolled out of sight are reached by paging down.
  Window ground = field_showing(page, 277, "123.0 meters", true);
  ASSERT_NE(ground, 0u) << "no field shows the loaded ground height";
  // The whole text is selected: typing replaces it.
  xdotool("type --delay 50 456");
  xdotool("key Return");
  click_centre(ground, 3);
  EXPECT_EQ(primary(), "456.0 meters");

  file_menu('s');
  eventually([&] { return read_file(file).find("zel.ignd_hgt = 456\n") != std::string::npos; }, 5000);
  screenshot("e2e_control_processor_saved.png");
  EXPECT_NE(read_file(file).find("zel.ignd_hgt = 456\n"), std::string::npos) << read_file(file);
}

}  // namespace
}  // namespace e2e
