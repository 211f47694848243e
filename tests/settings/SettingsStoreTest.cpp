// The settings store on a real file system: both spellings of the path, what a run leaves
// on disk, and writes that cannot be done.
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
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
using test::Put;
using test::Slurp;
using test::WithFileSizeLimit;

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
  WithFileSizeLimit(4096, [&] {
    store_.WriteToINI(kSection, "description", std::string(100000, 'd'), kIniUpper);
  });

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

// The platform's file layer where a folder takes no new files (a standard account in
// C:\ on current Windows) or a file is held against writing (another program has it
// open): neither can be brought about here, where the tests may run as root.
class ProbedFiles : public SettingsFiles {
 public:
  std::string uncreatable, held;

  bool canCreateIn(const std::string& folder) override {
    return folder != uncreatable && SettingsFiles::canCreateIn(folder);
  }
  bool canWrite(const std::string& path) override {
    return path != held && SettingsFiles::canWrite(path);
  }
};

TEST_F(SettingsStoreTest, TheFileInUseCanBeReadAndWrittenElseTheFallbackStartsFromIt) {
  enum What { kNothing, kPlain, kReadOnly, kFolder, kFifo, kDevice, kNoFolder };
  struct Row {
    const char* what;
    What preferred;
    bool creatable = true;  // new files may be made in the preferred folder
    bool held = false;      // another program holds the preferred file against writing
    What fallback = kNothing;
    bool fallsBack = false;
    bool seeded = false;  // the fallback starts from the preferred file
  };
  const Row rows[] = {
      {"both writable", kPlain, true, false, kPlain},
      {"no file yet, and one may be made", kNothing},
      {"a read-only file", kReadOnly, true, false, kNothing, true, true},
      {"a read-only file, and the fallback has a file of its own", kReadOnly, true, false, kPlain,
       true, false},
      {"no new files, but the file there may be written", kPlain, false},
      {"no new files, and a read-only file", kReadOnly, false, false, kNothing, true, true},
      {"no new files, and no file", kNothing, false, false, kNothing, true, false},
      {"a file held by another program", kPlain, true, true, kNothing, true, true},
      {"a folder where the file should be", kFolder, true, false, kNothing, true, false},
      {"a FIFO where the file should be", kFifo, true, false, kNothing, true, false},
      {"a device where the file should be", kDevice, true, false, kNothing, true, false},
      {"no drive C:", kNoFolder, false, false, kNothing, true, false},
      {"a read-only file, and the fallback cannot keep one either", kReadOnly, true, false,
       kNoFolder},
  };
  int serial = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const fs::path preferred = folder_ / ("c" + std::to_string(++serial));
    const fs::path fallback = folder_ / ("appdata" + std::to_string(serial));
    for (const auto& [where, what] :
         {std::pair{preferred, row.preferred}, {fallback, row.fallback}}) {
      if (what == kNoFolder) continue;
      fs::create_directory(where);
      const fs::path file = where / "loafix.ini";
      if (what == kPlain || what == kReadOnly) Put(file, "[idle info]\r\nREASON=lunch\r\n");
      if (what == kReadOnly) fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
      if (what == kFolder) fs::create_directory(file);
      if (what == kFifo) {
        ASSERT_EQ(::mkfifo(file.c_str(), 0666), 0);
      }
      if (what == kDevice) fs::create_symlink("/dev/null", file);
    }
    ProbedFiles files;
    if (!row.creatable) files.uncreatable = preferred.string();
    if (row.held) files.held = (preferred / "loafix.ini").string();
    const SettingsPlace place =
        PickSettingsPlace(preferred.string(), fallback.string(), "loafix.ini", files);
    EXPECT_EQ(place.folder, (row.fallsBack ? fallback : preferred).string());
    EXPECT_EQ(place.seedFolder, row.seeded ? preferred.string() : "");
    // Only probes: nothing was written, no probe is left.
    for (const auto& [where, what] :
         {std::pair{preferred, row.preferred}, {fallback, row.fallback}})
      EXPECT_EQ(fs::exists(where) ? std::distance(fs::directory_iterator(where), {}) : 0,
                what != kNothing && what != kNoFolder);
  }
  // With nowhere else to go, the preferred folder, whatever it holds.
  EXPECT_EQ(PickSettingsPlace((folder_ / "missing").string(), "").folder,
            (folder_ / "missing").string());
}

TEST_F(SettingsStoreTest, AFallbackStartsAsTheOldFileByteForByteOnceSomethingIsSaved) {
  const fs::path preferred = folder_ / "c";
  const fs::path fallback = folder_ / "appdata";
  fs::create_directory(preferred);
  fs::create_directory(fallback);
  const std::string old = "; mine\r\n\r\n[idle info]\r\nREASON=lunch\r\nAIM SN=sam\r\n";
  Put(preferred / "loafix.ini", old);
  fs::permissions(preferred / "loafix.ini", fs::perms::owner_read);
  SettingsStore store(PickSettingsPlace(preferred.string(), fallback.string()));

  // Until something is saved, the old file is read and nothing is made.
  EXPECT_EQ(store.GetFromINI(kSection, "reason", kIniLower), "lunch");
  EXPECT_EQ(store.Resolve(kIniUpper), (fallback / "loafix.ini").string());
  EXPECT_FALSE(fs::exists(fallback / "loafix.ini"));
  // The first write makes the new file: the old one's bytes with the change.
  EXPECT_TRUE(store.WriteToINI(kSection, "interval", "60", kIniUpper));
  EXPECT_EQ(Slurp(fallback / "loafix.ini"), old + "INTERVAL=60\r\n");
  EXPECT_EQ(Slurp(preferred / "loafix.ini"), old);
  // From now on the new file alone counts: a key removed there is gone.
  EXPECT_TRUE(store.WriteToINI(kSection, "reason", std::nullopt, kIniUpper));
  EXPECT_EQ(store.GetFromINI(kSection, "reason", kIniLower), "");
  EXPECT_EQ(store.GetFromINI(kSection, "aim sn", kIniLower), "sam");
  EXPECT_EQ(std::distance(fs::directory_iterator(fallback), {}), 1);
}

TEST_F(SettingsStoreTest, TemporaryFilesLeftBehindGoWithTheNextWrite) {
  // A scanner held them when their write was over, so they could not be removed then.
  // Two minutes old (or dated two minutes ahead) they go; one written 30 s ago may be
  // another program's write on its way and stays.
  const auto now = fs::file_time_type::clock::now();
  const std::pair<const char*, std::chrono::seconds> files[] = {
      {".loafix.ini.4242-17.tmp", -std::chrono::seconds(120)},
      {".loafix.ini.4242-18.tmp", std::chrono::seconds(120)},
      {".loafix.ini.4242-19.tmp", -std::chrono::seconds(30)},
      {".loafix-probe-4242-3.tmp", -std::chrono::seconds(120)},
      {".loafix.ini.keep", -std::chrono::seconds(120)},
      {"other.tmp", -std::chrono::seconds(120)},
      {"loafix.ini.tmp", -std::chrono::seconds(120)}};
  for (const auto& [name, offset] : files) {
    Put(folder_ / name, "x");
    fs::last_write_time(folder_ / name, now + offset);
  }
  store_.WriteToINI(kSection, "interval", "60", kIniUpper);
  EXPECT_EQ(Names(), (std::vector<std::string>{".loafix.ini.4242-19.tmp", ".loafix.ini.keep",
                                               "loafix.ini", "loafix.ini.tmp", "other.tmp"}));
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
