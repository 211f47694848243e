// The INI text layer: what a read gives back from a file, and what a write leaves in it.
#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/settings/IniReference.h"

namespace loafix::ini {
namespace {

using namespace std::string_literals;

constexpr const char* kSection = "idle info";

std::string Utf16Le(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

std::string Utf16Be(std::u16string_view text) {
  std::string out = "\xFE\xFF";
  for (char16_t c : text) {
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

// Writes into `file` and returns the new bytes; the write must change the file.
std::string Written(const std::string& file, const char* key, std::optional<std::string> value,
                    const char* section = kSection) {
  const auto out = WriteValue(file, section, key,
                              value ? std::optional<std::string_view>(*value) : std::nullopt);
  EXPECT_TRUE(out.has_value()) << "no change for key " << key;
  return out.value_or(file);
}

TEST(IniRead, WrittenValuesReadBackByThePlatformsRules) {
  struct Row {
    std::string written;
    std::string read;
  };
  const Row rows[] = {
      {"Alice", "Alice"},
      {" ", ""},                     // a glyph saved as one blank
      {" lunch ", "lunch"},          // a reason with blanks around it
      {"\t lunch \t\x0B", "lunch"},  // every C blank counts, Ctrl-Z too
      {"\x1Alunch\x1A", "lunch"},
      {"\xC2\xA0x\xC2\xA0", "\xC2\xA0x\xC2\xA0"},  // a no-break space is not a blank
      {"\"x\"", "x"},
      {"'x'", "x"},
      {"  \"x\"  ", "x"},  // blanks go before the quotes do
      {"\" x \"", " x "},  // the one way to keep blanks
      {"\"'x'\"", "'x'"},  // one pair only
      {"\"\"", ""},
      {"\"abc'", "\"abc'"},  // quotes that do not match stay
      {"\"", "\""},          // a lone quote stays
      {"a=b", "a=b"},        // the line splits at the first "="
      {"[x]", "[x]"},
      {";x", ";x"},
      {"\xC2\xAC", "\xC2\xAC"},  // the default glyph
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
      {"\xE4\xB8\xAD", "?"},  // outside the ANSI code page
      {"x\0y"s, "x"},         // the platform call sees a C string
      {std::string(760, 'd'), std::string(749, 'd')},
      {std::string(749, 'd'), std::string(749, 'd')},
      {"\"" + std::string(800, 'q') + "\"", std::string(749, 'q')},
      // Wine gives 748 characters here (it drops the last one with the closing quote);
      // the rule is 749 at most, and 749 fit.
      {"\"" + std::string(749, 'q') + "\"", std::string(749, 'q')},
      {"'" + std::string(748, 'q') + "'", std::string(748, 'q')},
  };
  for (const Row& row : rows) {
    const std::string file = Written("", "DESCRIPTION", row.written);
    EXPECT_EQ(ReadValue(file, kSection, "description"), row.read) << "written: " << row.written;
  }
}

TEST(IniRead, NamesMatchInAnyLetterCaseWithBlanksIgnored) {
  const std::string file = "[idle info]\r\nAIM SN=Alice\r\n[\xC9T\xC9]\r\nX=1\r\n";
  struct Row {
    const char* section;
    const char* key;
    const char* read;
  };
  const Row rows[] = {
      {"idle info", "aim sn", "Alice"},
      {"IDLE INFO", "AIM SN", "Alice"},
      {"Idle Info", " aim sn ", "Alice"},
      {" idle info\t", "Aim Sn", "Alice"},
      {"idle  info", "aim sn", ""},  // inner blanks are part of the name
      {"idle info", "aimsn", ""},
      {"\xC3\xA9t\xC3\xA9", "x", "1"},  // letters of the code page beyond ASCII
      {"idle info", "", ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ReadValue(file, row.section, row.key), row.read) << row.section << "/" << row.key;
}

TEST(IniRead, HandEditedAndDamagedFilesReadAsThePlatformReadsThem) {
  std::mt19937 random(7);
  std::string noise(64 * 1024, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string hugeValue(100 * 1024, 'v');
  struct Row {
    const char* what;
    std::string file;
    std::string read;
  };
  const Row rows[] = {
      {"missing file or empty file", "", ""},
      {"no section line", "AIM SN=x\r\n", ""},
      {"section line without ]", "[idle info\r\nAIM SN=x\r\n", ""},
      {"key without =", "[idle info]\r\nAIM SN\r\n", ""},
      {"key without = comes first", "[idle info]\r\nAIM SN\r\nAIM SN=x\r\n", ""},
      {"other section only", "[other]\r\nAIM SN=x\r\n", ""},
      {"junk, blanks and a comment before the key",
       "[idle info]\r\n\r\n  \r\n; saved by hand\r\n#@!junk\r\nAIM SN=x\r\n", "x"},
      {"blanks around names", "  [ idle info ]  \r\n  AIM SN  =   foo bar   \r\n", "foo bar"},
      {"comment after the section line", "[idle info] ; note\r\nAIM SN=x\r\n", "x"},
      {"= inside the value", "[idle info]\r\nAIM SN = a = b\r\n", "a = b"},
      {"the same key twice", "[idle info]\r\nAIM SN=1\r\nAIM SN=2\r\n", "1"},
      {"the same section twice", "[idle info]\r\nX=1\r\n[idle info]\r\nAIM SN=2\r\n", ""},
      {"LF-only line ends", "[idle info]\nX=1\nAIM SN=x\n", "x"},
      {"CR-only line ends", "[idle info]\rX=1\rAIM SN=x\r", "x"},
      {"CR CR LF line ends", "[idle info]\r\r\nAIM SN=x\r\r\n", "x"},
      {"no final line break", "[idle info]\r\nAIM SN=x", "x"},
      {"trailing Ctrl-Z", "[idle info]\r\nAIM SN=x\r\n\x1A", "x"},
      {"Ctrl-Z right after the value", "[idle info]\r\nAIM SN=x\x1A", "x"},
      {"NUL inside the value", "[idle info]\r\nAIM SN=x\0y\r\n"s, "x"},
      {"NUL inside the key", "[idle info]\r\nAIM SN\0junk=x\r\n"s, "x"},
      {"binary bytes in the value", "[idle info]\r\nAIM SN=\x80\x81\xAC\xFF\r\n",
       "\xE2\x82\xAC\xC2\x81\xC2\xAC\xC3\xBF"},
      {"UTF-8 bytes without a mark are ANSI bytes", "[idle info]\r\nAIM SN=\xC3\xA9\r\n",
       "\xC3\x83\xC2\xA9"},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[idle info]\r\nAIM SN=\xC3\xA9\xE4\xB8\xAD\r\n",
       "\xC3\xA9?"},
      {"UTF-8 mark, broken sequences", "\xEF\xBB\xBF[idle info]\r\nAIM SN=\xE4\xB8x\xC0\x80\r\n",
       "?x??"},
      {"UTF-16LE with a byte-order mark", Utf16Le(u"[idle info]\r\nAIM SN=\u00e9\u20ac\r\n"),
       "\xC3\xA9\xE2\x82\xAC"},
      {"UTF-16LE, odd last byte", Utf16Le(u"[idle info]\r\nAIM SN=x\r\n") + "A", "x"},
      {"UTF-16BE with a byte-order mark", Utf16Be(u"[idle info]\r\nAIM SN=x\r\n"), "x"},
      {"100 KB value, then the next key", "[idle info]\r\nREASON=" + hugeValue + "\r\nAIM SN=x\r\n",
       "x"},
      {"1 MB line of junk", "[idle info]\r\n" + std::string(1 << 20, 'j') + "\r\nAIM SN=x\r\n",
       "x"},
      {"64 KB of random bytes", noise, ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ReadValue(row.file, kSection, "aim sn"), row.read) << row.what;

  EXPECT_EQ(ReadValue("[idle info]\r\nREASON=" + hugeValue + "\r\n", kSection, "reason"),
            std::string(kMaxValueLength, 'v'));
}

TEST(IniWrite, NewFileHoldsExactlyWhatWindowsWrites) {
  std::string file = Written("", "INTERVAL", "60");
  file = Written(file, "ASCII", "\xC2\xAC");
  EXPECT_EQ(file, "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\n");
  EXPECT_EQ(Written(file, "INTERVAL", "45."), "[idle info]\r\nINTERVAL=45.\r\nASCII=\xAC\r\n");
  EXPECT_EQ(Written(file, "AIM SN", ""), "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\nAIM SN=\r\n");
  EXPECT_EQ(Written(file, "INTERVAL", std::nullopt), "[idle info]\r\nASCII=\xAC\r\n");
}

TEST(IniWrite, EverythingElseInTheFileKeepsItsBytes) {
  const std::string file =
      "; my settings\r\n"
      "[other]\r\nAIM SN=not ours\r\n\r\n"
      "[Idle Info]   ; the program's\n"
      "  aim sn  =  old  \n"
      "junk line\n"
      "REASON=lunch\n"
      "\n"
      "[last]\r\nX=1";
  struct Row {
    const char* what;
    const char* section;
    const char* key;
    std::optional<std::string> value;
    std::string expected;
  };
  const Row rows[] = {
      {"an existing key keeps its spelling and line end", kSection, "AIM SN", "new",
       "; my settings\r\n[other]\r\nAIM SN=not ours\r\n\r\n[Idle Info]   ; the program's\n"
       "  aim sn=new\njunk line\nREASON=lunch\n\n[last]\r\nX=1"},
      {"a new key goes after the section's last line", kSection, "WEB URL", "http://x",
       "; my settings\r\n[other]\r\nAIM SN=not ours\r\n\r\n[Idle Info]   ; the program's\n"
       "  aim sn  =  old  \njunk line\nREASON=lunch\nWEB URL=http://x\r\n\n[last]\r\nX=1"},
      {"a removed key takes only its own line", kSection, "AIM SN", std::nullopt,
       "; my settings\r\n[other]\r\nAIM SN=not ours\r\n\r\n[Idle Info]   ; the program's\n"
       "junk line\nREASON=lunch\n\n[last]\r\nX=1"},
      {"a new section goes at the end", "new", "X", "2",
       "; my settings\r\n[other]\r\nAIM SN=not ours\r\n\r\n[Idle Info]   ; the program's\n"
       "  aim sn  =  old  \njunk line\nREASON=lunch\n\n[last]\r\nX=1\r\n[new]\r\nX=2\r\n"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Written(file, row.key, row.value, row.section), row.expected) << row.what;
}

TEST(IniWrite, KeepsTheEncodingOfTheFile) {
  EXPECT_EQ(Written("\xEF\xBB\xBF[idle info]\r\n", "ASCII", "\xC2\xAC"),
            "\xEF\xBB\xBF[idle info]\r\nASCII=\xC2\xAC\r\n");
  EXPECT_EQ(Written(Utf16Le(u"[idle info]\r\n"), "ASCII", "\xC2\xAC"),
            Utf16Le(u"[idle info]\r\nASCII=\u00ac\r\n"));
  EXPECT_EQ(Written(Utf16Be(u"[x]\r\n"), "A", "1"), Utf16Be(u"[x]\r\n[idle info]\r\nA=1\r\n"));
  // A first section that is not ours, and a file with nothing but blank lines.
  EXPECT_EQ(Written("A=1\r\n\r\n", "B", "2", ""), "A=1\r\nB=2\r\n\r\n");
  EXPECT_EQ(Written("\r\n\x1A", "B", "2"), "[idle info]\r\nB=2\r\n\r\n\x1A");
  // An ANSI file whose first line goes must not start to read as UTF-8 ("ï»¿" is its mark).
  const std::string marked = Written(
      "A=1\r\n\xEF\xBB\xBF"
      "B=2\r\n",
      "A", std::nullopt, "");
  EXPECT_EQ(marked,
            "\r\n\xEF\xBB\xBF"
            "B=2\r\n");
  EXPECT_EQ(ReadValue(marked, "",
                      "\xC3\xAF\xC2\xBB\xC2\xBF"
                      "b"),
            "2");
}

TEST(IniWrite, ChangesNothingWhenNothingChanges) {
  const std::string file = "[idle info]\r\nINTERVAL = 60\r\n";
  EXPECT_EQ(WriteValue(file, kSection, "INTERVAL", "60"), std::nullopt);
  EXPECT_EQ(WriteValue(file, kSection, "REASON", std::nullopt), std::nullopt);
  EXPECT_EQ(WriteValue("", kSection, "REASON", std::nullopt), std::nullopt);  // no file made
  EXPECT_EQ(WriteValue(file, "other", "REASON", std::nullopt), std::nullopt);
}

TEST(IniWrite, ANullValueRemovesTheKeySoItReadsEmpty) {
  // Wine removes only the first of two entries, and the second then reads; the key must
  // read "" after a cancelled prompt.
  const std::string file =
      "[idle info]\r\nAIM SN=1\r\nX=y\r\naim sn=2\r\n[idle info]\r\nAIM SN=3\r\n";
  const std::string after = Written(file, "AIM SN", std::nullopt);
  EXPECT_EQ(after, "[idle info]\r\nX=y\r\n[idle info]\r\nAIM SN=3\r\n");
  EXPECT_EQ(ReadValue(after, kSection, "aim sn"), "");
}

TEST(IniWrite, ALineBreakInAValueCannotTouchAnyOtherKeyOrSection) {
  const std::string file = "[idle info]\r\nAIM SN=a\r\nREASON=r\r\n[other]\r\nK=1\r\n";
  struct Row {
    std::string value;
    std::string stored;  // the value on disk: the first line, as a read of a raw write gives
    std::string read;
  };
  const Row rows[] = {
      {"x\r\n[other]\r\nK=evil", "x", "x"},
      {"x\r\nREASON=evil", "x", "x"},
      {"x\n[idle info]\nAIM SN=evil", "x", "x"},
      {"x \rREASON", "x", "x"},
      {"\r\nREASON=evil", "REASON=evil", "REASON=evil"},  // breaks before the value are blanks
      {" \r\n \r\n", "", ""},
      {"\"x\r\ny\"", "\"x", "\"x"},
  };
  for (const Row& row : rows) {
    const std::string after = Written(file, "AIM SN", row.value);
    std::vector<reference::Section> expected = reference::Sections(file);
    expected[1].entries[0].value = row.stored;
    EXPECT_EQ(reference::Sections(after), expected) << row.value;
    EXPECT_EQ(ReadValue(after, kSection, "aim sn"), row.read) << row.value;
  }
}

TEST(IniWrite, RefusesNamesThatWouldBreakTheLines) {
  const std::string file = "[idle info]\r\nA=1\r\n";
  for (const char* key : {"A=B", "A\r\nB", "[other]", "X\nY"})
    EXPECT_EQ(WriteValue(file, kSection, key, "v"), std::nullopt) << key;
  EXPECT_EQ(WriteValue(file, "idle info]\r\n[x", "A", "v"), std::nullopt);
  // A "]" inside a section name is fine: the name runs to the last "]".
  EXPECT_EQ(ReadValue(Written(file, "A", "2", "a]b"), "a]b", "a"), "2");
}

}  // namespace
}  // namespace loafix::ini
