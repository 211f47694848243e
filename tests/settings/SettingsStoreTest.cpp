// The settings store on a real file system: both spellings of the path, what a run leaves
// on disk, and writes that cannot be done.
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "settings/SettingsFolder.h"
#include "tests/settings/TestFiles.h"

namespace loafix {
namespace {

namespace fs = std::filesystem;
using test::Slurp;
using test::Put;

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
  SettingsStore store_{folder_.string()};
};

TEST_F(SettingsStoreTest, BothSpellingsOfThePathAreOneFile) {
  EXPECT_EQ(store_.Resolve(kIniUpper), store_.Resolve(kIniLower));
  EXPECT_EQ(store_.Resolve(kIniUpper), (folder_ / "loafix.ini").string());

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
  SettingsStore nowhere((folder_ / "no drive C").string());
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

  // Nothing can be kept in a folder, a FIFO or a device of that name: reads give "" at
  // once (a FIFO nobody writes to is not waited on), writes say they failed.
  struct Odd {
    const char* what;
    void (*make)(const fs::path&);
    fs::file_type stays;
  };
  const Odd odds[] = {
      {"a folder", [](const fs::path& f) { fs::create_directory(f); }, fs::file_type::directory},
      {"a FIFO", [](const fs::path& f) { ASSERT_EQ(::mkfifo(f.c_str(), 0666), 0); },
       fs::file_type::fifo},
      {"a device", [](const fs::path& f) { fs::create_symlink("/dev/null", f); },
       fs::file_type::character},
  };
  for (const Odd& odd : odds) {
    odd.make(file);
    EXPECT_FALSE(store_.WriteToINI(kSection, "interval", "60", kIniUpper)) << odd.what;
    EXPECT_FALSE(store_.WriteToINI(kSection, "interval", std::nullopt, kIniUpper)) << odd.what;
    EXPECT_EQ(store_.GetFromINI(kSection, "interval", kIniLower), "") << odd.what;
    EXPECT_EQ(fs::status(file).type(), odd.stays) << odd.what;
    EXPECT_EQ(Names(), std::vector<std::string>{"loafix.ini"}) << odd.what;
    fs::remove(file);
  }

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
  // Where the settings file should be, something that can never hold it.
  fs::create_directories(folder_ / "folder" / "loafix.ini");
  fs::create_directory(folder_ / "fifo");
  ASSERT_EQ(::mkfifo((folder_ / "fifo" / "loafix.ini").c_str(), 0666), 0);
  fs::create_directory(folder_ / "device");
  fs::create_symlink("/dev/null", folder_ / "device" / "loafix.ini");
  fs::create_directory(folder_ / "plain");
  Put(folder_ / "plain" / "loafix.ini", "[idle info]\r\n");
  const Row rows[] = {
      {folder_, fallback, folder_},
      {folder_ / "missing", fallback, fallback},               // no drive C:
      {folder_ / "a file", fallback, fallback},                // not a folder
      {folder_ / "missing", fs::path(), folder_ / "missing"},  // nowhere else to go
      {folder_ / "folder", fallback, fallback},
      {folder_ / "fifo", fallback, fallback},
      {folder_ / "device", fallback, fallback},
      {folder_ / "plain", fallback, folder_ / "plain"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(PickSettingsFolder(row.preferred.string(), row.fallback.string()), row.chosen.string())
        << row.preferred;
  // The probes are gone.
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"a file", "appdata", "device", "fifo", "folder", "plain"}));
  EXPECT_EQ(fs::directory_iterator(folder_ / "plain")->path().filename(), "loafix.ini");
}

TEST_F(SettingsStoreTest, TemporaryFilesLeftBehindGoWithTheNextWrite) {
  // A scanner held them when their write was over, so they could not be removed then.
  for (const char* name : {".loafix.ini.4242-17.tmp", ".loafix-probe-4242-3.tmp",
                           ".loafix.ini.keep", "other.tmp", "loafix.ini.tmp"})
    Put(folder_ / name, "x");
  store_.WriteToINI(kSection, "interval", "60", kIniUpper);
  EXPECT_EQ(Names(), (std::vector<std::string>{".loafix.ini.keep", "loafix.ini", "loafix.ini.tmp",
                                               "other.tmp"}));
}

// The platform's file layer with a rename that another program's handle refuses, which a
// test cannot bring about on this system, and optionally a write in place that fails.
class HeldFiles : public SettingsFiles {
 public:
  WriteOutcome replaceGives = WriteOutcome::kRefused;
  bool overwriteFails = false;
  int overwrites = 0;

  WriteOutcome replace(const std::string&, std::string_view) override { return replaceGives; }
  WriteOutcome overwrite(const std::string& path, std::string_view bytes) override {
    ++overwrites;
    return overwriteFails ? WriteOutcome::kFailed : SettingsFiles::overwrite(path, bytes);
  }
};

TEST_F(SettingsStoreTest, AWriteTheFileIsHeldAgainstGoesIntoTheFileItself) {
  const std::string start = "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\n";
  const std::string withReason = start + "REASON=out to lunch, back at two\r\n";
  struct Row {
    const char* what;
    std::optional<std::string> before;  // no file
    WriteOutcome replace;
    bool overwriteFails;
    const char* key;
    std::optional<std::string> value;
    bool written;
    int overwrites;
    std::optional<std::string> after;
  };
  const Row rows[] = {
      {"longer text, in place", start, WriteOutcome::kRefused, false, "reason",
       "out to lunch, back at two", true, 1, withReason},
      {"shorter text, in place: the old end is cut", withReason, WriteOutcome::kRefused, false,
       "ascii", std::nullopt, true, 1,
       "[idle info]\r\nINTERVAL=60\r\nREASON=out to lunch, back at two\r\n"},
      {"held, and the file refuses writing too", start, WriteOutcome::kRefused, true, "reason",
       "lunch", false, 1, start},
      {"read-only or a full disk: no second way", start, WriteOutcome::kFailed, false, "reason",
       "lunch", false, 0, start},
      {"no file yet, and none may be made", std::nullopt, WriteOutcome::kRefused, false, "reason",
       "lunch", false, 0, std::nullopt},
  };
  const fs::path file = folder_ / "loafix.ini";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove(file);
    if (row.before) Put(file, *row.before);
    HeldFiles files;
    files.replaceGives = row.replace;
    files.overwriteFails = row.overwriteFails;
    SettingsStore store(folder_.string(), files);
    const auto value = row.value ? std::optional<std::string_view>(*row.value) : std::nullopt;
    EXPECT_EQ(store.WriteToINI(kSection, row.key, value, kIniUpper), row.written);
    EXPECT_EQ(files.overwrites, row.overwrites);
    EXPECT_EQ(fs::exists(file), row.after.has_value());
    EXPECT_EQ(row.after ? Slurp(file) : "", row.after.value_or(""));
  }
}

}  // namespace
}  // namespace loafix
