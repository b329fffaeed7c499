// setup-site init: a complete factory site, and no overwriting by accident.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "sitelib/schema.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {
const char *const kFiles[] = {"setup_ant.conf", "setup_dsp.conf", "setup_rtdisp.conf", "setup_zamo.conf"};

class SetupSite : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/setup-site-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    base = name;
    site = base + "/new/site";
  }
  void TearDown() override {
    fs::remove_all(base);
    unsetenv("ZAMO_CONFIG");
  }
  // Runs the tool; its standard error ends up in `errors`.
  int run(const std::string &args) {
    std::string command =
        std::string(SETUP_BINARY_DIR) + "/setup-site " + args + " >/dev/null 2>" + base + "/err";
    int status = std::system(command.c_str());
    errors = read_file(base + "/err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string base, site, errors;
};

template <class Record>
bool equals_factory(const Record &loaded, const char *limits_name) {
  auto expected = std::make_unique<Record>();
  std::memset(expected.get(), 0, sizeof(Record));
  setup_limits(limits_name, expected.get(), LIMITS_FACTORY, 0);
  return std::memcmp(&loaded, expected.get(), sizeof(Record)) == 0;
}
}  // namespace

TEST_F(SetupSite, InitWritesAFactorySiteWithTheUserAsOperator) {
  ASSERT_EQ(run("init " + site), 0) << errors;
  setenv("ZAMO_CONFIG", site.c_str(), 1);
  auto zel = std::make_unique<zel_setup>();
  auto dsp = std::make_unique<dsp_setup>();
  auto rtd = std::make_unique<rtdisp_setup>();
  auto zamo = std::make_unique<zamo_setup>();
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_OK);
  ASSERT_EQ(lim_loadFile("setup_dsp.conf", "dsp_manual_setup", dsp.get(), setup_limits), SITE_OK);
  ASSERT_EQ(RtdispLoadSetup(rtd.get()), SITE_OK);
  ASSERT_EQ(zamoload(zamo.get()), SITE_OK);
  EXPECT_TRUE(equals_factory(*zel, "ant_manual_setup"));
  EXPECT_TRUE(equals_factory(*dsp, "dsp_manual_setup"));
  EXPECT_TRUE(equals_factory(*rtd, "rtdisp_setup"));
  EXPECT_TRUE(equals_factory(*zamo, "zamo_setup"));

  const passwd *pw = getpwuid(getuid());
  ASSERT_NE(pw, nullptr);
  EXPECT_NE(read_file(site + "/operators").find(std::string("\n") + pw->pw_name + "\n"), std::string::npos);
}

TEST_F(SetupSite, InitRefusesToOverwriteWithoutForce) {
  ASSERT_EQ(run("init " + site), 0) << errors;
  std::ofstream(site + "/setup_dsp.conf", std::ios::app) << "dsp.iwidcnt = 2\n";
  std::string edited = read_file(site + "/setup_dsp.conf");

  // Without a directory: the one the editor reads, here $ZAMO_CONFIG.
  setenv("ZAMO_CONFIG", site.c_str(), 1);
  EXPECT_NE(run("init"), 0);
  EXPECT_NE(errors.find(site + "/setup_dsp.conf exists"), std::string::npos) << errors;
  EXPECT_NE(errors.find("--force"), std::string::npos) << errors;
  EXPECT_EQ(read_file(site + "/setup_dsp.conf"), edited);

  ASSERT_EQ(run("init --force"), 0) << errors;
  EXPECT_EQ(read_file(site + "/setup_dsp.conf.bak"), edited);
  for (const char *file : kFiles) EXPECT_TRUE(fs::exists(site + "/" + file)) << file;
  std::string operators = read_file(site + "/operators");
  const passwd *pw = getpwuid(getuid());
  EXPECT_EQ(operators.find(pw->pw_name), operators.rfind(pw->pw_name)) << "the user is listed once";
}

TEST_F(SetupSite, UsageErrorsFail) {
  EXPECT_NE(run(""), 0);
  EXPECT_NE(run("create " + site), 0);
  EXPECT_NE(run("init " + site + " extra"), 0);
  EXPECT_FALSE(fs::exists(site));
}
