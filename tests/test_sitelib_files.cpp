// Setup files: exact round trips, factory values for what a file leaves out,
// refusal of bad files with file and line, and saves that never lose the
// old file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "sitelib/change_log.h"
#include "sitelib/schema.h"
#include "sitelib/setup_file.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace {
bool contains(const char *text, const std::string &part) {
  return std::string(text).find(part) != std::string::npos;
}

// Random values in every field of the schema, through the schema, on a
// zeroed record so that padding matches.
void fill_random(const Schema &schema, void *record, std::mt19937 &rng) {
  std::memset(record, 0, schema.record_size);
  char *base = static_cast<char *>(record);
  for (const SchemaField &f : schema.fields) {
    char *at = base + f.offset;
    for (size_t i = 0; i < f.size; ++i) at[i] = static_cast<char>(rng());
    if (f.type == SchemaType::Text) {
      size_t end = rng() % (f.size + 1);  // an early terminator, or none
      if (end < f.size) at[end] = '\0';
    } else if ((f.type == SchemaType::Float || f.type == SchemaType::Double) &&
               (at[f.size - 1] & 0x7F) == 0x7F) {
      at[f.size - 1] ^= 1;  // an exponent of all ones would be NaN
    }
  }
}

template <class Record>
std::unique_ptr<Record> factory(const char *limits_name) {
  auto r = std::make_unique<Record>();
  std::memset(r.get(), 0, sizeof(Record));
  setup_limits(limits_name, r.get(), LIMITS_FACTORY, 0);
  return r;
}

// One record of each setup file, zeroed.
struct Records {
  std::unique_ptr<zel_setup> zel = std::make_unique<zel_setup>();
  std::unique_ptr<dsp_setup> dsp = std::make_unique<dsp_setup>();
  std::unique_ptr<rtdisp_setup> rtd = std::make_unique<rtdisp_setup>();
  std::unique_ptr<zamo_setup> zamo = std::make_unique<zamo_setup>();
};

void load_all(Records &r) {
  ASSERT_EQ(ant_load_setup(r.zel.get()), SITE_OK) << message_to_text(SITE_BAD_SETUP_FILE, 0, 0);
  ASSERT_EQ(lim_loadFile("setup_dsp.conf", "dsp_manual_setup", r.dsp.get(), setup_limits), SITE_OK);
  ASSERT_EQ(RtdispLoadSetup(r.rtd.get()), SITE_OK);
  ASSERT_EQ(zamoload(r.zamo.get()), SITE_OK);
}

void expect_same(const Records &a, const Records &b) {
  EXPECT_EQ(std::memcmp(a.zel.get(), b.zel.get(), sizeof *a.zel), 0);
  EXPECT_EQ(std::memcmp(a.dsp.get(), b.dsp.get(), sizeof *a.dsp), 0);
  EXPECT_EQ(std::memcmp(a.rtd.get(), b.rtd.get(), sizeof *a.rtd), 0);
  EXPECT_EQ(std::memcmp(a.zamo.get(), b.zamo.get(), sizeof *a.zamo), 0);
}

class SetupFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/setup-files-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir = name;
    setenv("ZAMO_CONFIG", dir.c_str(), 1);
  }
  void TearDown() override {
    if (mounted) umount2(dir.c_str(), MNT_DETACH);
    fs::remove_all(dir);
    unsetenv("ZAMO_CONFIG");
  }
  std::string path(const char *file) const { return dir + "/" + file; }
  // Files left in the directory other than the setup file and its backup.
  int strays() const {
    int n = 0;
    for (const auto &e : fs::directory_iterator(dir))
      if (e.path().filename().string().find(".setup-tmp-") != std::string::npos) ++n;
    return n;
  }
  // setup-site with `args` (after the shell commands `shell_before`); its
  // standard output and error in out and err.
  int site_tool(const std::string &args, const std::string &shell_before = "") {
    const std::string command =
        shell_before + SETUP_BINARY_DIR "/setup-site " + args + " >" + dir + ".out 2>" + dir + ".err";
    int status = std::system(command.c_str());
    out = read_file(dir + ".out");
    err = read_file(dir + ".err");
    fs::remove(dir + ".out");
    fs::remove(dir + ".err");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dir, out, err;
  bool mounted = false;
};
}  // namespace

TEST_F(SetupFiles, EveryRecordFilledAtRandomReadsBackByteForByte) {
  std::mt19937 rng(20261206);
  for (int round = 0; round < 3; ++round) {
    Records saved, back;
    fill_random(zel_schema(), saved.zel.get(), rng);
    fill_random(dsp_schema(), saved.dsp.get(), rng);
    fill_random(rtdisp_schema(), saved.rtd.get(), rng);
    fill_random(zamo_schema(), saved.zamo.get(), rng);
    ASSERT_EQ(ant_save_setup(saved.zel.get()), SITE_OK);
    ASSERT_EQ(dsp_save_setup(saved.dsp.get()), SITE_OK);
    ASSERT_EQ(RtdispSaveSetup(saved.rtd.get()), SITE_OK);
    ASSERT_EQ(zamosave(saved.zamo.get()), SITE_OK);
    EXPECT_STREQ(saved.zamo->sVersion, ZAMO_SETUP_VERSION) << "saving sets the current version";
    std::memset(back.dsp.get(), 0x5A, sizeof *back.dsp);
    load_all(back);
    expect_same(saved, back);
  }
}

// Every byte of a text, also after its terminator, is kept by the random
// round trip above; hand-edited files are read too.
TEST_F(SetupFiles, HandEditedFilesAreReadWithFactoryValuesForTheRest) {
  auto back = std::make_unique<zel_setup>();
  // A byte order mark, comments, blank lines, free spacing, a '+', CRLF line
  // ends, no final newline; everything unmentioned takes its factory value.
  write_file(path("setup_ant.conf"),
             "\xEF\xBB\xBF# hand edited\n\n   zel.iBaudRate1=+19200\r\n\tzel.sDevice1 =  \"/dev/ttyUSB0\"  "
             "\nzel.fazvelmax = "
             "12.5");
  ASSERT_EQ(ant_load_setup(back.get()), SITE_OK) << message_to_text(SITE_BAD_SETUP_FILE, 0, 0);
  auto expected = factory<zel_setup>("ant_manual_setup");
  expected->iBaudRate1 = 19200;
  std::memset(expected->sDevice1, 0, sizeof expected->sDevice1);
  std::strcpy(expected->sDevice1, "/dev/ttyUSB0");
  expected->fazvelmax = 12.5f;
  EXPECT_EQ(std::memcmp(back.get(), expected.get(), sizeof *back), 0);

  // Unmentioned device fields take the factory values of the type read.
  write_file(path("setup_zamo.conf"),
             "zamo.device.def[5].idev_type = 2\nzamo.device.def[6].iskip_time = 7\n");
  auto zamo = std::make_unique<zamo_setup>();
  ASSERT_EQ(zamoload(zamo.get()), SITE_OK) << message_to_text(SITE_BAD_SETUP_FILE, 0, 0);
  EXPECT_EQ(zamo->device.def[5].idev_type, DEVICE_PRINTER);
  EXPECT_EQ(zamo->device.def[5].iskip_time, 300);
  EXPECT_STREQ(zamo->device.def[5].sMenuAlias, "Printer");
  EXPECT_EQ(zamo->device.def[6].idev_type, DEVICE_UNUSED);
  EXPECT_EQ(zamo->device.def[6].iskip_time, 7);
  EXPECT_STREQ(zamo->sVersion, ZAMO_SETUP_VERSION);
}

TEST_F(SetupFiles, BadLinesAndMissingFilesAreReportedWithFileLineAndReason) {
  struct Case {
    const char *line;
    const char *what;
  };
  const Case cases[] = {
      {"zel.iBaudRate3 = 9600", "unknown field \"zel.iBaudRate3\""},
      {"zel.iBaudRate1 9600", "PATH = VALUE"},
      {"zel.iBaudRate2 =", "has no value"},
      {"zel.iBaudRate1 = 2400", "given twice (first on line 2)"},
      {"zel.iParity1 = 128", "outside the range"},
      {"zel.iBaudRate2 = 99999999999999999999", "outside the range"},
      {"zel.fazvelmax = 1e39", "outside the range"},
      {"zel.iBaudRate2 = 1.5", "not a whole number"},
      {"zel.fazvelmax = 12,5", "not a number"},
      {"zel.sSiteCodeDpA = \"ABCDE\"", "5 bytes long, the field holds 4"},
      {"zel.sNetInterface = eth0", "double quotes"},
      {"zel.sNetInterface = \"eth0", "no closing quote"},
      {"zel.sNetInterface = \"eth0\" x", "after the closing quote"},
      {"zel.sNetInterface = \"e\\q\"", "unknown escape \\q"},
      {"zel.sNetInterface = \"e\\x4\"", "two hexadecimal digits"},
      {"zel.iplatform_offset[3] = 1", "beyond the capacity"},
  };
  const std::string file = path("setup_ant.conf");
  auto expected = factory<zel_setup>("ant_manual_setup");
  expected->iBaudRate1 = 4800;
  expected->iBaudRate2 = 600;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.line);
    write_file(file, "# site\nzel.iBaudRate1 = 4800\n\n" + std::string(c.line) + "\nzel.iBaudRate2 = 600\n");
    auto zel = std::make_unique<zel_setup>();
    std::memset(zel.get(), 0x33, sizeof *zel);
    ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);
    const char *text = message_to_text(SITE_BAD_SETUP_FILE, 0, 0);
    EXPECT_TRUE(contains(text, file + ", line 4: ")) << text;
    EXPECT_TRUE(contains(text, c.what)) << text;
    if (std::strstr(c.line, "iBaudRate2")) continue;  // the later good line gives it
    EXPECT_EQ(std::memcmp(zel.get(), expected.get(), sizeof *zel), 0)
        << "good lines loaded, the bad line's field at its factory value";
  }

  // Several bad lines: each one reported, with its bytes shown escaped
  // (a NUL byte no longer cuts the reason off).
  write_file(file, std::string("zel.iBaudRate1 = 4800\nzel.iParity1 = \"x\0y\"\nzel.fazvelmax = nan?\n", 63));
  auto zel = std::make_unique<zel_setup>();
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);
  std::string text = message_to_text(SITE_BAD_SETUP_FILE, 0, 0);
  EXPECT_TRUE(contains(text.c_str(), "line 2: \"zel.iParity1\": \"\"x\\x00y\"\" is not a whole number\n"))
      << text;
  EXPECT_TRUE(contains(text.c_str(), "line 3: \"zel.fazvelmax\": \"nan?\" is not a number")) << text;
  EXPECT_EQ(zel->iBaudRate1, 4800);

  // An empty file is said to be empty, not taken silently as factory values.
  write_file(file, " \n\n");
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);
  EXPECT_TRUE(contains(message_to_text(SITE_BAD_SETUP_FILE, 0, 0), file + " is empty"));
  EXPECT_EQ(std::memcmp(zel.get(), factory<zel_setup>("ant_manual_setup").get(), sizeof *zel), 0);

  // A missing file names file and reason; each status keeps its own detail.
  auto rtd = std::make_unique<rtdisp_setup>();
  ASSERT_EQ(RtdispLoadSetup(rtd.get()), SITE_READ_FAILED);
  EXPECT_EQ(std::memcmp(rtd.get(), factory<rtdisp_setup>("rtdisp_setup").get(), sizeof *rtd), 0);
  write_file(path("setup_ant.conf"), "zel.bogus = 1\n");
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);

  text = message_to_text(SITE_READ_FAILED, 0, 0);
  EXPECT_TRUE(contains(text.c_str(), path("setup_rtdisp.conf"))) << text;
  EXPECT_TRUE(contains(text.c_str(), std::strerror(ENOENT))) << text;
  EXPECT_TRUE(contains(message_to_text(SITE_BAD_SETUP_FILE, 0, 0), "zel.bogus"));
  EXPECT_NE(message_to_text(0x12345, 0, 0), nullptr) << "an unknown status still has a text";
  EXPECT_EQ(lim_loadFile("setup_dsp.conf", "no_such_limits", zel.get(), setup_limits), SITE_BAD_LIMITS);
}

TEST_F(SetupFiles, FifosDevicesAndHugeFilesAreRefusedWithoutBlocking) {
  const std::string file = path("setup_ant.conf");
  auto zel = std::make_unique<zel_setup>();
  ASSERT_EQ(mkfifo(file.c_str(), 0644), 0);
  EXPECT_EQ(ant_load_setup(zel.get()), SITE_READ_FAILED) << "and did not hang in open()";
  EXPECT_TRUE(contains(message_to_text(SITE_READ_FAILED, 0, 0), file + ": not a regular file"));
  EXPECT_EQ(site_regular_file(file.c_str(), 1 << 20), 0) << "for files that Xlib opens";
  ASSERT_EQ(mkfifo(path("operators").c_str(), 0644), 0);
  EXPECT_EQ(lzamo_operator("root"), 0);
  fs::remove(file);
  fs::remove(path("operators"));

  fs::create_symlink("/dev/zero", file);
  fs::create_symlink("/dev/zero", path("operators"));
  EXPECT_EQ(ant_load_setup(zel.get()), SITE_READ_FAILED);
  EXPECT_EQ(lzamo_operator("root"), 0) << "and did not read without end";
  fs::remove(file);
  fs::remove(path("operators"));

  write_file(file, "");
  ASSERT_EQ(truncate(file.c_str(), (64 << 20) + 1), 0);
  EXPECT_EQ(ant_load_setup(zel.get()), SITE_READ_FAILED);
  EXPECT_TRUE(contains(message_to_text(SITE_READ_FAILED, 0, 0), "larger than 64 MB"));
  write_file(path("operators"), "root\n");
  ASSERT_EQ(truncate(path("operators").c_str(), (1 << 20) + 1), 0);
  EXPECT_EQ(lzamo_operator("root"), 0);
  ASSERT_EQ(truncate(path("operators").c_str(), 5), 0);
  EXPECT_EQ(lzamo_operator("root"), 1);
}

TEST_F(SetupFiles, OlderDataSystemVersionsAreReadKeptAndSavedAsCurrent) {
  write_file(path("setup_zamo.conf"),
             "zamo.sVersion = \"9.2\"\nzamo.misc.lRetiredSwitch = 1\nzamo.misc.ipri_ingest = -5\n");
  auto zamo = std::make_unique<zamo_setup>();
  ASSERT_EQ(zamoload(zamo.get()), SITE_OK) << message_to_text(SITE_BAD_SETUP_FILE, 0, 0);
  EXPECT_STREQ(zamo->sVersion, "9.2");
  EXPECT_EQ(zamo->misc.ipri_ingest, -5);
  ASSERT_EQ(zamosave(zamo.get()), SITE_OK);
  EXPECT_STREQ(zamo->sVersion, ZAMO_SETUP_VERSION);
  EXPECT_TRUE(contains(read_file(path("setup_zamo.conf")).c_str(), "zamo.sVersion = \"10.0\"\n"));

  EXPECT_TRUE(contains(setup_file_warnings(), "line 2: unknown field \"zamo.misc.lRetiredSwitch\""))
      << "an older version's unknown field is a warning";

  // The current version knows all its fields: an unknown one is an error.
  write_file(path("setup_zamo.conf"), "zamo.sVersion = \"10.0\"\nzamo.misc.lRetiredSwitch = 1\n");
  EXPECT_EQ(zamoload(zamo.get()), SITE_BAD_SETUP_FILE);
  EXPECT_TRUE(contains(message_to_text(SITE_BAD_SETUP_FILE, 0, 0), "line 2: unknown field"));
  EXPECT_STREQ(setup_file_warnings(), "");

  // In any version an index beyond a record's capacity is a bad line.
  write_file(path("setup_zamo.conf"), "zamo.sVersion = \"9.2\"\nzamo.device.def[999].idev_type = 2\n");
  EXPECT_EQ(zamoload(zamo.get()), SITE_BAD_SETUP_FILE);
  EXPECT_TRUE(
      contains(message_to_text(SITE_BAD_SETUP_FILE, 0, 0), "line 2: \"zamo.device.def[999].idev_type\""));
}

TEST_F(SetupFiles, SavingKeepsABackupAndThePermissions) {
  auto zel = factory<zel_setup>("ant_manual_setup");
  auto zamo = factory<zamo_setup>("zamo_setup");
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  ASSERT_EQ(zamosave(zamo.get()), SITE_OK);
  struct stat st;
  ASSERT_EQ(stat(path("setup_ant.conf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  ASSERT_EQ(stat(path("setup_zamo.conf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u) << "the data-system setup holds passwords";
  // Nor is it, or its backup, ever saved wider than owner and group.
  ASSERT_EQ(chmod(path("setup_zamo.conf").c_str(), 0666), 0);
  ASSERT_EQ(chown(path("setup_zamo.conf").c_str(), static_cast<uid_t>(-1), 4321), 0);
  ASSERT_EQ(zamosave(zamo.get()), SITE_OK);
  ASSERT_EQ(stat(path("setup_zamo.conf.bak").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  ASSERT_EQ(stat(path("setup_zamo.conf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_gid, 4321u) << "the data system's readers keep reading it";

  std::string first = read_file(path("setup_ant.conf"));
  chmod(path("setup_ant.conf").c_str(), 0640);
  zel->iBaudRate1 = 38400;
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  ASSERT_EQ(stat(path("setup_ant.conf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(read_file(path("setup_ant.conf.bak")), first);
  EXPECT_TRUE(contains(read_file(path("setup_ant.conf")).c_str(), "zel.iBaudRate1 = 38400\n"));
  EXPECT_EQ(strays(), 0);

  // A setup file kept elsewhere through a symbolic link stays linked.
  fs::create_directory(path("shared"));
  fs::rename(path("setup_ant.conf"), path("shared/ant.conf"));
  fs::create_symlink("shared/ant.conf", path("setup_ant.conf"));
  zel->iBaudRate1 = 1200;
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  EXPECT_TRUE(fs::is_symlink(path("setup_ant.conf")));
  EXPECT_TRUE(contains(read_file(path("shared/ant.conf")).c_str(), "zel.iBaudRate1 = 1200\n"));
}

TEST_F(SetupFiles, AFailedSaveLeavesTheOldFileIntact) {
  auto zel = factory<zel_setup>("ant_manual_setup");
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  const std::string old = read_file(path("setup_ant.conf"));
  zel->iBaudRate1 = 300;
  // The backup's place is taken by a directory that cannot be removed.
  fs::create_directories(path("setup_ant.conf.bak") + "/keep");
  EXPECT_EQ(ant_save_setup(zel.get()), SITE_WRITE_FAILED);
  EXPECT_TRUE(contains(message_to_text(SITE_WRITE_FAILED, 0, 0), path("setup_ant.conf")));
  EXPECT_EQ(read_file(path("setup_ant.conf")), old);
  EXPECT_EQ(strays(), 0);
}

// A full and a read-only file system, where this test may mount one.
TEST_F(SetupFiles, AFailedSaveOnAFullOrReadOnlyFileSystemLeavesTheOldFileIntact) {
  if (mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=256k,mode=0755") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  mounted = true;
  auto zamo = factory<zamo_setup>("zamo_setup");
  ASSERT_EQ(zamosave(zamo.get()), SITE_OK);
  const std::string old = read_file(path("setup_zamo.conf"));
  {
    std::ofstream filler(path("filler"), std::ios::binary);
    std::string block(4096, 'x');
    while (filler.write(block.data(), block.size()) && filler.flush()) {
    }
  }
  zamo->misc.ipri_ingest = -3;
  EXPECT_EQ(zamosave(zamo.get()), SITE_WRITE_FAILED);
  EXPECT_TRUE(contains(message_to_text(SITE_WRITE_FAILED, 0, 0), std::strerror(ENOSPC)));
  EXPECT_EQ(read_file(path("setup_zamo.conf")), old);
  EXPECT_EQ(strays(), 0);

  fs::remove(path("filler"));
  ASSERT_EQ(mount("tmpfs", dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
  EXPECT_EQ(zamosave(zamo.get()), SITE_WRITE_FAILED);
  EXPECT_TRUE(contains(message_to_text(SITE_WRITE_FAILED, 0, 0), std::strerror(EROFS)));
  EXPECT_EQ(read_file(path("setup_zamo.conf")), old);
}

TEST(SetupDirectory, ConfigThenRootThenTheCompiledDefault) {
  setenv("ZAMO_CONFIG", "/site/config", 1);
  setenv("ZAMO_ROOT", "/site/root", 1);
  EXPECT_STREQ(setup_directory(), "/site/config");
  unsetenv("ZAMO_CONFIG");
  EXPECT_STREQ(setup_directory(), "/site/root/config");
  unsetenv("ZAMO_ROOT");
  EXPECT_STRNE(setup_directory(), "");
  EXPECT_STRNE(setup_directory(), "/site/root/config");
}

TEST_F(SetupFiles, AFileReadWithBadLinesIsKeptAsRejectedByTheFirstSaveOverIt) {
  const std::string file = path("setup_ant.conf");
  const std::string operators_file = "zel.iBaudRate1 = 4800\nzel.iParity1 = odd\n";
  write_file(file, operators_file);
  auto zel = std::make_unique<zel_setup>();
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);
  // The bad line's field changes on disk: logged with its value as written.
  const std::vector<std::string> logged = describe_save("ant_manual_setup", zel.get(), zel.get());
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0], "file setup_ant.conf " + content_hash(operators_file) + " -> " +
                           content_hash(setup_file_content("ant_manual_setup", zel.get())));
  EXPECT_EQ(logged[1].rfind("zel.iParity1: odd -> ", 0), 0u) << logged[1];
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  EXPECT_EQ(read_file(file + ".rejected"), operators_file);
  EXPECT_EQ(read_file(file + ".bak"), operators_file);
  const std::string first_save = read_file(file);
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  EXPECT_EQ(read_file(file + ".bak"), first_save) << "a clean file is not rejected";
  EXPECT_FALSE(fs::exists(file + ".rejected.1"));

  // A later bad file never replaces an earlier rejected one.
  write_file(file, "zel.iBaudRate1 = fast\n");
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  EXPECT_EQ(read_file(file + ".rejected"), operators_file);
  EXPECT_EQ(read_file(file + ".rejected.1"), "zel.iBaudRate1 = fast\n");

  // However many there are: the next number after the highest.
  for (int n = 2; n < 1000; ++n) write_file(file + ".rejected." + std::to_string(n), "");
  write_file(file, "zel.iBaudRate1 = slow\n");
  ASSERT_EQ(ant_load_setup(zel.get()), SITE_BAD_SETUP_FILE);
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK) << message_to_text(SITE_WRITE_FAILED, 0, 0);
  EXPECT_EQ(read_file(file + ".rejected.1000"), "zel.iBaudRate1 = slow\n");
}

TEST_F(SetupFiles, OnlyStaleTemporariesOfTheWritersOwnPatternAreRemoved) {
  auto zel = factory<zel_setup>("ant_manual_setup");
  const std::string stale = path(".setup_ant.conf.setup-tmp-AbC123"), stale_old = stale + ".old";
  const std::string orphan_old = path(".setup_dsp.conf.setup-tmp-Zz9Zz9.old");
  const std::string live = path(".setup_zamo.conf.setup-tmp-Live01");
  // Operators' files that merely look alike, older writers' names included.
  const std::vector<std::string> others = {
      path("notes.new-draft1"),          path("operators.new-abcdef"),   path("report.new-2024ab.old"),
      path("setup_ant.conf.new-AbC123"), path(".notes.setup-tmp-AbC12"), path(".x.setup-tmp-AbC1_3"),
      path("x.setup-tmp-AbC123"),        path(".setup-tmp-AbC123"),      path("setup_ant.conf.old")};
  for (const std::string &f : {stale, stale_old, orphan_old, live}) write_file(f, "x");
  for (const std::string &f : others) write_file(f, "x");
  fs::create_symlink("/etc/hostname", path(".x.setup-tmp-Link01"));
  // A writer that is still at work holds the lock on its temporary.
  int held = open(live.c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);

  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_FALSE(fs::exists(stale_old));
  EXPECT_FALSE(fs::exists(orphan_old));
  EXPECT_TRUE(fs::exists(live)) << "a live writer's file stays";
  for (const std::string &f : others) EXPECT_TRUE(fs::exists(f)) << f;
  EXPECT_TRUE(fs::is_symlink(path(".x.setup-tmp-Link01")));
  close(held);
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  EXPECT_FALSE(fs::exists(live)) << "stale once its writer is gone";
}

// The library never writes over what another program saved, removed or
// created: the caller must read the file again (and merge) first.
TEST_F(SetupFiles, ASaveOverAFileChangedOnDiskIsRefusedUntilItIsReadAgain) {
  auto zel = factory<zel_setup>("ant_manual_setup");
  const std::string file = path("setup_ant.conf");
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK);
  const std::string theirs = read_file(file) + "# another editor was here\n";
  write_file(file, theirs);
  EXPECT_EQ(setup_file_changed("setup_ant.conf"), 1);
  for (int again = 0; again < 2; ++again) EXPECT_EQ(ant_save_setup(zel.get()), SITE_CHANGED_ON_DISK);
  EXPECT_EQ(message_to_text(SITE_CHANGED_ON_DISK, 0, 0),
            "Setup file " + file + " was changed on disk since it was read; not saved");
  EXPECT_EQ(read_file(file), theirs) << "nothing written";
  ASSERT_EQ(ant_load_setup(factory<zel_setup>("ant_manual_setup").get()), SITE_OK);
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK) << "written over what was read";
  fs::remove(file);
  EXPECT_EQ(ant_save_setup(zel.get()), SITE_CHANGED_ON_DISK);
}

TEST_F(SetupFiles, ALinkIsWrittenThroughOnlyWhenRootOrTheTargetsOwnerMadeIt) {
  auto zel = factory<zel_setup>("ant_manual_setup");
  write_file(path("target.conf"), "precious\n");
  fs::create_symlink("target.conf", path("setup_ant.conf"));
  ASSERT_EQ(lchown(path("setup_ant.conf").c_str(), 4242, 4242), 0);
  EXPECT_EQ(ant_save_setup(zel.get()), SITE_WRITE_FAILED);
  EXPECT_TRUE(contains(message_to_text(SITE_WRITE_FAILED, 0, 0), "symbolic link made by user 4242"));
  EXPECT_EQ(read_file(path("target.conf")), "precious\n");
  EXPECT_EQ(strays(), 0);

  ASSERT_EQ(chown(path("target.conf").c_str(), 4242, 4242), 0);
  ASSERT_EQ(ant_save_setup(zel.get()), SITE_OK) << "the target's owner linked it";
  EXPECT_TRUE(fs::is_symlink(path("setup_ant.conf")));
  EXPECT_NE(read_file(path("target.conf")), "precious\n");
}

// setup-site init, under umask 000: a factory site with the user as
// operator and each file with its own mode; no overwriting without --force.
TEST_F(SetupFiles, InitWritesAFactorySiteWithItsModesAndOverwritesOnlyWithForce) {
  const std::string site = dir + "/new/site";
  auto init = [&](const std::string &args, const std::string &mask = "000") {
    return site_tool("init " + args, "umask " + mask + " && ");
  };
  auto mode = [&](const char *name) {
    struct stat st;
    return stat((site + "/" + name).c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
  };
  ASSERT_EQ(init(site), 0) << err;
  EXPECT_EQ(mode("operators"), 0644u) << "nobody else may make themselves an operator";
  for (const char *name : {"setup_ant.conf", "setup_dsp.conf", "setup_rtdisp.conf"})
    EXPECT_EQ(mode(name), 0644u) << name;
  EXPECT_EQ(mode("setup_zamo.conf"), 0640u);

  setenv("ZAMO_CONFIG", site.c_str(), 1);
  Records loaded, factories;
  load_all(loaded);
  setup_limits("ant_manual_setup", factories.zel.get(), LIMITS_FACTORY, 0);
  setup_limits("dsp_manual_setup", factories.dsp.get(), LIMITS_FACTORY, 0);
  setup_limits("rtdisp_setup", factories.rtd.get(), LIMITS_FACTORY, 0);
  setup_limits("zamo_setup", factories.zamo.get(), LIMITS_FACTORY, 0);
  expect_same(loaded, factories);
  const std::string user = std::string("\n") + tolvek_username() + "\n";
  EXPECT_TRUE(contains(read_file(site + "/operators").c_str(), user));

  // Without a directory: the one the editor reads, here $ZAMO_CONFIG.
  write_file(site + "/setup_dsp.conf", read_file(site + "/setup_dsp.conf") + "dsp.iwidcnt = 2\n");
  const std::string edited = read_file(site + "/setup_dsp.conf");
  EXPECT_NE(init(""), 0);
  EXPECT_TRUE(contains(err.c_str(), site + "/setup_dsp.conf exists")) << err;
  EXPECT_TRUE(contains(err.c_str(), "--force")) << err;
  EXPECT_EQ(read_file(site + "/setup_dsp.conf"), edited);
  EXPECT_FALSE(fs::exists(site + "/changes.log")) << "a new site has no log";
  ASSERT_EQ(init("--force"), 0) << err;
  EXPECT_EQ(read_file(site + "/setup_dsp.conf.bak"), edited);
  EXPECT_TRUE(
      contains(read_file(site + "/changes.log").c_str(), "  file setup_dsp.conf " + content_hash(edited)))
      << "a site set back is logged";
  const std::string operators = read_file(site + "/operators");
  EXPECT_EQ(operators.find(user), operators.rfind(user)) << "the user is listed once";
  EXPECT_NE(init(dir + "/other extra"), 0);
  EXPECT_FALSE(fs::exists(dir + "/other"));

  // The directory and the parents made for it are 0755 whatever the umask.
  for (const std::string mask : {"077", "777"}) {
    ASSERT_EQ(init(site + "/" + mask + "/s", mask), 0) << err;
    EXPECT_EQ(mode(mask.c_str()), 0755u);
    EXPECT_EQ(mode((mask + "/s").c_str()), 0755u);
  }
}

// The change log is written only to a regular file of its own, never
// blocking; whoever saves, every operator may append to it after; and a
// log that cannot be written costs the entry, never the save.
TEST_F(SetupFiles, TheChangeLogGoesOnlyToARegularFileAndNeverHoldsUpTheSave) {
  const std::string log = path("changes.log");
  const std::vector<std::string> change = {"zel.iBaudRate1: 9600 -> 4800"};
  ASSERT_EQ(chown(dir.c_str(), static_cast<uid_t>(-1), 4242), 0);
  mode_t old_mask = umask(077);
  EXPECT_EQ(append_change_log("setup", change), SITE_OK);
  umask(old_mask);
  struct stat st;
  ASSERT_EQ(stat(log.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  EXPECT_EQ(st.st_gid, 4242u) << "the setup directory's group";
  // One an older version made 0644 is widened by its owner.
  ASSERT_EQ(chmod(log.c_str(), 0644), 0);
  ASSERT_EQ(chown(log.c_str(), static_cast<uid_t>(-1), 0), 0);
  EXPECT_EQ(append_change_log("setup", change), SITE_OK);
  ASSERT_EQ(stat(log.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0664u);
  EXPECT_EQ(st.st_gid, 4242u);
  fs::remove(log);

  write_file(path("roots_file"), "precious\n");
  auto refused = [&](const char *why) {
    EXPECT_EQ(append_change_log("setup", change), SITE_WRITE_FAILED) << why;
    EXPECT_TRUE(contains(message_to_text(SITE_WRITE_FAILED, 0, 0),
                         "Cannot add to the change log " + log + ": " + why))
        << message_to_text(SITE_WRITE_FAILED, 0, 0);
    fs::remove(log);
  };
  fs::create_symlink(path("roots_file"), log);
  refused("a symbolic link");
  ASSERT_EQ(link(path("roots_file").c_str(), log.c_str()), 0);
  refused("a file with more than one name");
  EXPECT_EQ(read_file(path("roots_file")), "precious\n");
  ASSERT_EQ(mkfifo(log.c_str(), 0666), 0);
  int reader = open(log.c_str(), O_RDONLY | O_NONBLOCK);
  refused("not a regular file");  // and did not write into the FIFO
  close(reader);

  // A lock that is never given back: the entry is lost after a while.
  write_file(log, "");
  int holder = open(log.c_str(), O_RDONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  refused("locked by another program");
  close(holder);

  // Through the whole save: the file is written, the lost entry reported.
  ASSERT_EQ(site_tool("init " + dir + "/site"), 0) << err;
  ASSERT_EQ(mkfifo((dir + "/site/changes.log").c_str(), 0666), 0);
  EXPECT_EQ(site_tool("-C " + dir + "/site --rda set zel.iBaudRate1 4800"), 0) << err;
  EXPECT_TRUE(contains(err.c_str(), "Cannot add to the change log")) << err;
  EXPECT_TRUE(contains(read_file(dir + "/site/setup_ant.conf").c_str(), "zel.iBaudRate1 = 4800\n"));
  EXPECT_EQ(site_tool("-C " + dir + "/site log"), 3);
  EXPECT_TRUE(contains(err.c_str(), "not a regular file")) << err;
}

// A host name may hold any byte: written escaped, it can neither forge a
// second entry nor reach a terminal. `log` escapes whatever the file holds
// and reads it within a bound, however long its lines.
TEST_F(SetupFiles, TheChangeLogShowsEveryByteEscapedAndIsReadWithinABound) {
  const std::string forged = "evil\n2026-01-01T00:00:00+00:00 root x setup\n  zel.x: 1 -> 2\x1b[2J";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWUTS) != 0 || sethostname(forged.data(), forged.size()) != 0) _exit(77);
    _exit(append_change_log("set up", {"zel.iBaudRate1: 9600 -> 4800"}) == SITE_OK ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (WEXITSTATUS(status) != 77) {
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const std::string written = read_file(path("changes.log"));
    const std::string header = written.substr(0, written.find('\n'));
    EXPECT_EQ(written.substr(header.size()), "\n  zel.iBaudRate1: 9600 -> 4800\n");
    EXPECT_TRUE(contains(header.c_str(),
                         " evil\\x0A2026-01-01T00:00:00+00:00\\x20root\\x20x\\x20setup\\x0A"
                         "\\x20\\x20zel.x:\\x201\\x20->\\x202\\x1B[2J set\\x20up"))
        << header;
  }

  // 300 MB of NUL bytes and no newline, read in little memory: one line
  // cut at the bound, and how much was left out.
  ASSERT_EQ(site_tool("init --force " + dir), 0) << err;
  write_file(path("changes.log"), "");
  ASSERT_EQ(truncate(path("changes.log").c_str(), 300 << 20), 0);
  // AddressSanitizer reserves far more address space than any bound.
#ifdef __SANITIZE_ADDRESS__
  const char *const bound = "";
#else
  const char *const bound = "ulimit -v 200000; ";
#endif
  ASSERT_EQ(site_tool("-C " + dir + " log", bound), 0) << err;
  const std::string note = " [" + std::to_string((300u << 20) - kChangeLogLineMax) + " more bytes]\n";
  EXPECT_EQ(out.size(), 4 * kChangeLogLineMax + note.size());
  EXPECT_EQ(out.substr(0, 8), "\\x00\\x00");
  EXPECT_EQ(out.substr(out.size() - note.size()), note);

  fs::remove(path("changes.log"));
  fs::create_symlink("/dev/zero", path("changes.log"));
  EXPECT_EQ(site_tool("-C " + dir + " log"), 3);
  EXPECT_TRUE(contains(err.c_str(), "a symbolic link")) << err;
}
