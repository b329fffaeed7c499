// The real editor in processor-only mode on a fresh site: both processor
// pages open from the main panel, a value typed into the signal processor
// page is listed and saved, and Exit then ends the program as unchanged.
#include <dirent.h>

#include "tests/support/e2e.h"

namespace e2e {
namespace {

// Listing files ("YYYYMMDDhhmm.setup") in the directory.
std::vector<std::string> listings(const std::string &directory) {
  std::vector<std::string> found;
  if (DIR *dir = opendir(directory.c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() == 18 && name.compare(12, 6, ".setup") == 0) found.push_back(directory + "/" + name);
    }
    closedir(dir);
  }
  return found;
}

using ProcessorOnly = Test;

TEST_F(ProcessorOnly, BothPagesOpenListSaveAndExit) {
  const std::string dsp_file = site + "/setup_dsp.conf";
  // A major mode name that no other field shows, to find its field by.
  ASSERT_EQ(
      run("sed -i 's/^dsp.sMajorModeNames\\[0\\] = .*/dsp.sMajorModeNames[0] = \"alpha\"/' " + dsp_file), 0);
  ASSERT_NE(read_file(dsp_file).find("dsp.sMajorModeNames[0] = \"alpha\"\n"), std::string::npos);
  start_editor();
  ASSERT_NE(open_page(true, 640, 0), 0u) << "control processor page";
  Window dsp_page = open_page(false, 0, 260);
  ASSERT_NE(dsp_page, 0u) << "signal processor page";
  screenshot("e2e_processor_only.png");

  // The label column is wider here: 35 characters of 8 pixels.
  ASSERT_EQ(retype(dsp_page, 293, "alpha", "Storm"), "Storm");

  // File > List: both processor pages and nothing of the data system.
  file_menu('l');
  ASSERT_TRUE(eventually([&] { return !listings(site).empty(); })) << "no listing file";
  std::string listing;
  eventually([&] {
    return (listing = read_file(listings(site)[0])).find("Radar Control Processor Setups") !=
           std::string::npos;
  });
  EXPECT_NE(listing.find("Radar Video Processor Setups"), std::string::npos);
  EXPECT_LT(listing.find("Radar Video Processor Setups"), listing.find("Radar Control Processor Setups"));
  EXPECT_NE(listing.find("  Major mode 'USER1' custom name     : Storm\n"), std::string::npos) << listing;
  EXPECT_EQ(listing.find("ZAMO"), std::string::npos);

  // File > Save writes the signal processor's file only.
  const std::string control_file = read_file(site + "/setup_ant.conf");
  file_menu('s');
  EXPECT_TRUE(eventually([&] {
    return read_file(dsp_file).find("dsp.sMajorModeNames[0] = \"Storm\"\n") != std::string::npos;
  })) << read_file(dsp_file);
  EXPECT_EQ(read_file(site + "/setup_ant.conf"), control_file);
  EXPECT_TRUE(eventually([] { return titled("Warning") == 0; }, 6000));

  // Nothing changed since the save: Exit asks nothing and ends with 1.
  file_menu('e');
  EXPECT_EQ(editor->exit_status(), 1);
}

}  // namespace
}  // namespace e2e
