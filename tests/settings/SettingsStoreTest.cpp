// The settings store on a real file system: both spellings of the path, what a run leaves
// on disk, and writes that cannot be done.
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <random>

#include "settings/SettingsFolder.h"

namespace loafix {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class SettingsStoreTest : public testing::Test {
 protected:
  static fs::path FreshFolder() {
    fs::path folder =
        fs::temp_directory_path() / ("loafix-settings-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    return folder;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder_, ignored);
  }
  // Every name in the folder: a failed write must not leave a temporary file behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  const fs::path folder_ = FreshFolder();
  SettingsStore store_{folder_};
};

TEST_F(SettingsStoreTest, BothSpellingsOfThePathAreOneFile) {
  EXPECT_EQ(store_.Resolve(kIniUpper), store_.Resolve(kIniLower));
  EXPECT_EQ(store_.Resolve(kIniUpper), folder_ / "loafix.ini");

  // The aimsn command reads with one spelling and writes with the other.
  store_.WriteToINI(kSection, "aim sn", "Alice", kIniUpper);
  EXPECT_EQ(store_.GetFromINI(kSection, "aim sn", kIniLower), "Alice");
  store_.WriteToINI(kSection, "aim sn", "Bob", kIniLower);
  EXPECT_EQ(store_.GetFromINI(kSection, "AIM SN", kIniUpper), "Bob");
  EXPECT_EQ(Names(), std::vector<std::string>{"loafix.ini"});
}

TEST_F(SettingsStoreTest, AStartAndAFewPromptsLeaveTheFileAsWindowsWould) {
  EXPECT_EQ(store_.GetFromINI(kSection, "aim sn", kIniLower), "");  // nothing saved yet
  store_.WriteToINI(kSection, "interval", "60", kIniUpper);
  store_.WriteToINI(kSection, "ascii", "\xC2\xAC", kIniUpper);
  EXPECT_EQ(Slurp(folder_ / "loafix.ini"), "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\n");

  store_.WriteToINI(kSection, "reason", " lunch ", kIniUpper);
  store_.WriteToINI(kSection, "aim sn", "", kIniUpper);
  store_.WriteToINI(kSection, "description", std::string(760, 'd'), kIniUpper);
  struct Row {
    const char* key;
    std::string read;
  };
  const Row rows[] = {
      {"interval", "60"}, {"ascii", "\xC2\xAC"}, {"reason", "lunch"},
      {"aim sn", ""},     {"web url", ""},       {"description", std::string(749, 'd')},
  };
  for (const Row& row : rows) EXPECT_EQ(store_.GetFromINI(kSection, row.key, kIniLower), row.read);

  // A cancelled prompt removes its key; it reads "" exactly as after an empty entry.
  store_.WriteToINI(kSection, "reason", std::nullopt, kIniUpper);
  EXPECT_EQ(store_.GetFromINI(kSection, "reason", kIniLower), "");
  EXPECT_EQ(Slurp(folder_ / "loafix.ini"),
            "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\nAIM SN=\r\nDESCRIPTION=" +
                std::string(760, 'd') + "\r\n");
}

TEST_F(SettingsStoreTest, AReadOnlyFileKeepsEveryByte) {
  const fs::path file = folder_ / "loafix.ini";
  const std::string bytes = "[idle info]\nAIM SN=Alice\n; mine\n";
  Put(file, bytes);
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  store_.WriteToINI(kSection, "aim sn", "Bob", kIniUpper);
  store_.WriteToINI(kSection, "reason", "lunch", kIniUpper);
  store_.WriteToINI(kSection, "aim sn", std::nullopt, kIniUpper);

  EXPECT_EQ(Slurp(file), bytes);
  EXPECT_EQ(Names(), std::vector<std::string>{"loafix.ini"});
  EXPECT_EQ(store_.GetFromINI(kSection, "aim sn", kIniLower), "Alice");
  EXPECT_EQ(store_.GetFromINI(kSection, "reason", kIniLower), "");
}

TEST_F(SettingsStoreTest, AMissingFolderFailsSilently) {
  SettingsStore nowhere(folder_ / "no drive C");
  nowhere.WriteToINI(kSection, "interval", "60", kIniUpper);
  nowhere.WriteToINI(kSection, "interval", std::nullopt, kIniUpper);
  EXPECT_FALSE(fs::exists(folder_ / "no drive C"));
  EXPECT_EQ(nowhere.GetFromINI(kSection, "interval", kIniLower), "");
}

TEST_F(SettingsStoreTest, AFullDiskLeavesTheOldFile) {
  const fs::path file = folder_ / "loafix.ini";
  const std::string bytes = "[idle info]\r\nREASON=lunch\r\n";
  Put(file, bytes);

  // A file-size limit makes the write fail part way, as a full disk would.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  store_.WriteToINI(kSection, "description", std::string(100000, 'd'), kIniUpper);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);

  EXPECT_EQ(Slurp(file), bytes);
  EXPECT_EQ(Names(), std::vector<std::string>{"loafix.ini"});
  EXPECT_EQ(store_.GetFromINI(kSection, "reason", kIniLower), "lunch");
}

TEST_F(SettingsStoreTest, OddThingsWhereTheFileShouldBe) {
  const fs::path file = folder_ / "loafix.ini";

  fs::create_directory(file);  // a folder of that name
  store_.WriteToINI(kSection, "interval", "60", kIniUpper);
  EXPECT_TRUE(fs::is_directory(file));
  EXPECT_EQ(store_.GetFromINI(kSection, "interval", kIniLower), "");
  fs::remove(file);

  // A private file stays private, and a link stays a link to the file it names.
  Put(folder_ / "real.ini", "[idle info]\r\nINTERVAL=60\r\n");
  fs::permissions(folder_ / "real.ini", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.ini", file);
  store_.WriteToINI(kSection, "interval", "30", kIniUpper);
  EXPECT_TRUE(fs::is_symlink(file));
  EXPECT_EQ(Slurp(folder_ / "real.ini"), "[idle info]\r\nINTERVAL=30\r\n");
  EXPECT_EQ(fs::status(folder_ / "real.ini").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsStoreTest, TheFolderFallsBackWhenNoFileCanBeCreated) {
  const fs::path fallback = folder_ / "appdata";
  fs::create_directory(fallback);
  Put(folder_ / "a file", "");
  struct Row {
    fs::path preferred;
    fs::path fallback;
    fs::path chosen;
  };
  const Row rows[] = {
      {folder_, fallback, folder_},
      {folder_ / "missing", fallback, fallback},               // no drive C:
      {folder_ / "a file", fallback, fallback},                // not a folder
      {folder_ / "missing", fs::path(), folder_ / "missing"},  // nowhere else to go
  };
  for (const Row& row : rows)
    EXPECT_EQ(PickSettingsFolder(row.preferred, row.fallback), row.chosen) << row.preferred;
  EXPECT_EQ(Names(), (std::vector<std::string>{"a file", "appdata"}));  // the probe is gone
}

}  // namespace
}  // namespace loafix
