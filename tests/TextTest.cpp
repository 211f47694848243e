#include <gtest/gtest.h>

#include "core/Text.h"

namespace loafix {
namespace {

TEST(Text, Windows1252Utf8AndUtf16) {
  struct Row {
    const char* utf8;
    const char* ansi;
    std::u16string utf16;
  };
  const Row rows[] = {
      {"\u00ac", "\xac", u"\u00ac"},
      {"caf\xC3\xA9", "caf\xE9", u"caf\u00e9"},
      {"l\u00f2\u00e0f\u00edx\u00b9",
       "l\xf2\xe0"
       "f\xedx\xb9",
       u"l\u00f2\u00e0f\u00edx\u00b9"},
      {"\u20ac \u2122 \u0178", "\x80 \x99 \x9f", u"\u20ac \u2122 \u0178"},  // the 0x80..0x9F block
      {"\xC2\x81\xC2\x9D", "\x81\x9D", u"\u0081\u009d"},  // undefined bytes: C1 controls
      {"plain ascii <b>", "plain ascii <b>", u"plain ascii <b>"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Utf8ToAnsi(row.utf8), row.ansi) << row.utf8;
    EXPECT_EQ(AnsiToUtf8(row.ansi), row.utf8) << row.utf8;
    EXPECT_EQ(AnsiToUtf16(row.ansi), row.utf16) << row.utf8;
    EXPECT_EQ(Utf16ToAnsi(row.utf16), row.ansi) << row.utf8;
    EXPECT_EQ(Utf16ToUtf8(row.utf16), row.utf8) << row.utf8;
    EXPECT_EQ(Utf8ToUtf16(row.utf8), row.utf16) << row.utf8;
  }
}

TEST(Text, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
}

TEST(Text, OutsideTheCodePageAndBrokenUtf8) {
  EXPECT_EQ(Utf8ToAnsi("\u4e2d"), "?");
  EXPECT_EQ(Utf8ToAnsi("\U0001F600"), "??");        // one "?" per UTF-16 unit
  EXPECT_EQ(Utf8ToAnsi("a\xc3"), "a\xc3");          // a cut sequence keeps its byte
  EXPECT_EQ(Utf8ToAnsi("\xe9t\xe9"), "\xe9t\xe9");  // Latin-1 given as is
  EXPECT_EQ(Utf16ToAnsi(u"\u4e2d\U0001F600"), "???");
  // A lone surrogate as WideCharToMultiByte(CP_UTF8) writes it; a pair as one character.
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

// What MultiByteToWideChar(CP_UTF8) gives under Wine, where the settings file is checked.
TEST(Text, Utf8DecodesAsThePlatformDecodesIt) {
  struct Row {
    const char* utf8;
    std::u16string utf16;
  };
  const Row rows[] = {
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xE4\xB8x", u"\uFFFDx"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},
      {"\xED\xA0\x80", u"\uFFFD\uFFFD"},  // a surrogate in UTF-8
      {"\xF0\x80\x80=", u"\uFFFD\uFFFD="},
      {"\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},  // U+FFFF in four bytes
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xF5x", u"\uFFFDx"},
      {"a\xE4\xB8", u"a\uFFFD"},  // cut by the end: one character
  };
  for (const Row& row : rows) EXPECT_EQ(Utf8ToUtf16(row.utf8), row.utf16) << row.utf8;
  // Only what starts before the stop, the last character read whole.
  EXPECT_EQ(Utf8ToUtf16("ab\xC3\xA9z", 3), u"ab\u00e9");
}

TEST(Text, LettersOfTheCodePageInBothCases) {
  struct Row {
    const char* utf8;
    const char* upper;
    const char* lower;
  };
  const Row rows[] = {
      {"aim sn", "AIM SN", "aim sn"},
      {"Web URL", "WEB URL", "web url"},
      {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"},  // été
      {"\xC3\xBF \xC5\xB8", "\xC5\xB8 \xC5\xB8", "\xC3\xBF \xC3\xBF"},  // ÿ Ÿ
      {"\xC5\xA1\xC5\x92\xC5\xBE", "\xC5\xA0\xC5\x92\xC5\xBD", "\xC5\xA1\xC5\x93\xC5\xBE"},  // šŒž
      {"\xC3\x9F\xC2\xB5\xC3\x97\xC3\xB7", "\xC3\x9F\xC2\xB5\xC3\x97\xC3\xB7",
       "\xC3\x9F\xC2\xB5\xC3\x97\xC3\xB7"},  // ßµ×÷: no other case
      {"\xD0\x96\xE4\xB8\xAD", "??", "??"},  // outside the code page
  };
  for (const Row& row : rows) {
    EXPECT_EQ(AnsiUpper(row.utf8), row.upper) << row.utf8;
    EXPECT_EQ(AnsiLower(row.utf8), row.lower) << row.utf8;
  }
  EXPECT_EQ(AnsiLower(u'\u0178'), u'\u00ff');
  EXPECT_EQ(AnsiLower(u'\u0416'), u'\u0416');  // a letter outside the code page stays
}

TEST(Text, CaseInsensitiveComparisonIsAsciiOnly) {
  EXPECT_TRUE(EqualsIgnoreAsciiCase("aol frame25", "AOL Frame25"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("AOL Frame2", "AOL Frame25"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\xC3\xA9", "\xC3\x89"));
  EXPECT_EQ(AsciiLower("AOL Frame25 \xC3\x89"), "aol frame25 \xC3\x89");
  EXPECT_EQ(Utf8Length("\u00ac\u00b7x"), 3u);
}

}  // namespace
}  // namespace loafix
