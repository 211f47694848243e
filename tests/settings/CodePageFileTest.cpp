// The settings store in a code page other than Windows-1252: a single-byte one (1251)
// and a double-byte one (932), whose second bytes may be "[", "]", "\" or even a line
// break. Files and bytes are literal values of the code pages' tables; what a file reads
// as is what the platform's profile functions read (checked under Wine).
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/sim/SimCodePages.h"
#include "tests/settings/TestFiles.h"

namespace loafix {
namespace {

namespace fs = std::filesystem;

class CodePageFile : public testing::Test {
 protected:
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  fs::path file() const { return folder_ / "loafix.ini"; }

  const fs::path folder_ =
      fs::temp_directory_path() / ("loafix-codepage-" + std::to_string(std::random_device{}()));
  const bool made_ = fs::create_directories(folder_);
};

struct ReadRow {
  unsigned codePage;
  std::string file;
  const char* key;
  const char* read;  // UTF-8
};

TEST_F(CodePageFile, ReadsEachFileAsItsCodePageDecodesIt) {
  const ReadRow rows[] = {
      {1251, "[idle info]\r\nREASON=\xEE\xE1\xE5\xE4\r\n", "reason", "обед"},
      {1251, "[idle info]\r\nASCII=\xAC\xB7\r\n", "ascii", "¬·"},
      {932, "[idle info]\r\nREASON=\x92\x8B\x90\x48\r\n", "reason", "昼食"},
      {932, "[idle info]\r\nREASON=\x83\x5C\x95\x5C\r\n", "reason", "ソ表"},
      // The line is "[idle info]ゾ": the section's name ends at the last "]" of the
      // text, not at the second byte of ゾ.
      {932, "[idle info]\x83\x5D\r\nREASON=x\r\n", "reason", "x"},
      // "[ゼ" and "[ゾ" are no section lines: nothing closes them, so the key after them
      // is still in "idle info".
      {932, "[idle info]\r\n[\x83\x5D\r\n[\x83\x5B\r\nREASON=y\r\n", "reason", "y"},
      // A lead byte takes the byte after it, here a CR: the LF alone ends the line.
      {932, "[idle info]\r\nREASON=a\x81\r\nAIM SN=b\r\n", "reason", "a・"},
      {932, "[idle info]\r\nREASON=a\x81\r\nAIM SN=b\r\n", "aim sn", "b"},
      // Half-width katakana are single bytes.
      {932, "[idle info]\r\nREASON=\xBA\xDD\r\n", "reason", "ｺﾝ"},
      // A file with a byte-order mark is read in its own encoding, then handed over in
      // the code page: 昼食 survives in 932, not in 1251.
      {932, "\xEF\xBB\xBF[idle info]\r\nREASON=\xE6\x98\xBC\xE9\xA3\x9F\r\n", "reason", "昼食"},
      {1251, "\xEF\xBB\xBF[idle info]\r\nREASON=\xE6\x98\xBC\xE9\xA3\x9F\r\n", "reason", "??"},
      // Where the code page is UTF-8, a file without a mark is UTF-8.
      {65001, "[idle info]\r\nREASON=\xD0\xBE\xD0\xB1\xD0\xB5\xD0\xB4\r\n", "reason", "обед"},
  };
  for (const ReadRow& row : rows) {
    test::Put(file(), row.file);
    SettingsStore store(folder_.string(), sim::SimCodePage(row.codePage));
    EXPECT_EQ(store.GetFromINI(kSection, row.key, kIniUpper), row.read)
        << row.codePage << ": " << row.file;
  }
}

struct WriteRow {
  unsigned codePage;
  std::string before;
  const char* key;
  const char* value;  // UTF-8
  std::string after;
};

TEST_F(CodePageFile, WritesTheBytesOfTheCodePageAndKeepsEveryOtherByte) {
  const WriteRow rows[] = {
      {1251, "", "reason", "обед", "[idle info]\r\nREASON=\xEE\xE1\xE5\xE4\r\n"},
      {1251, "", "ascii", "¬", "[idle info]\r\nASCII=\xAC\r\n"},
      {1251, "", "reason", "昼食", "[idle info]\r\nREASON=??\r\n"},
      {932, "", "reason", "昼食", "[idle info]\r\nREASON=\x92\x8B\x90\x48\r\n"},
      {932, "", "reason", "обед", "[idle info]\r\nREASON=\x84\x80\x84\x71\x84\x75\x84\x74\r\n"},
      // No best fit: 932's own "￢" (81 CA) is another character.
      {932, "", "ascii", "¬", "[idle info]\r\nASCII=?\r\n"},
      {65001, "", "ascii", "¬", "[idle info]\r\nASCII=\xC2\xAC\r\n"},
      // The section line "[idle info]ゾ" is found, and ゾ and ソ stay as they were.
      {932, "[idle info]\x83\x5D\r\nREASON=\x83\x5C\r\n", "aim sn", "ゼ",
       "[idle info]\x83\x5D\r\nREASON=\x83\x5C\r\nAIM SN=\x83\x5B\r\n"},
      {932, "[idle info]\x83\x5D\r\nREASON=\x83\x5C\r\n", "reason", "表",
       "[idle info]\x83\x5D\r\nREASON=\x95\x5C\r\n"},
      // "[ゾ" opens no section: the key goes after it, into "idle info".
      {932, "[idle info]\r\n[\x83\x5D\r\n", "reason", "x",
       "[idle info]\r\n[\x83\x5D\r\nREASON=x\r\n"},
  };
  for (const WriteRow& row : rows) {
    test::Put(file(), row.before);
    SettingsStore store(folder_.string(), sim::SimCodePage(row.codePage));
    EXPECT_TRUE(store.WriteToINI(kSection, row.key, row.value, kIniUpper));
    EXPECT_EQ(test::Slurp(file()), row.after) << row.codePage << ": " << row.value;
  }
}

// A code page whose conversion the system refuses, as Windows refuses flags that UTF-8
// does not take.
class RefusingCodePage final : public CodePage {
 public:
  unsigned number() const override { return 65001; }
  std::u16string ToUtf16(std::string_view bytes) const override {
    return sim::SimCodePage(65001).ToUtf16(bytes);
  }
  std::optional<std::string> FromUtf16(std::u16string_view text) const override {
    if (text.empty()) return std::string();
    return std::nullopt;
  }
  bool IsLeadByte(unsigned char) const override { return false; }
};

TEST_F(CodePageFile, AConversionThatFailsWritesNothing) {
  const std::string before = "[idle info]\r\nREASON=lunch\r\n";
  test::Put(file(), before);
  const RefusingCodePage refusing;
  SettingsStore store(folder_.string(), refusing);
  EXPECT_FALSE(store.WriteToINI(kSection, "reason", "nap", kIniUpper));
  EXPECT_EQ(test::Slurp(file()), before);
}

}  // namespace
}  // namespace loafix
