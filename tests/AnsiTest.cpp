#include <gtest/gtest.h>

#include "core/Text.h"

namespace loafix {
namespace {

TEST(Ansi, Windows1252RoundTrip) {
  struct Row {
    const char* utf8;
    const char* ansi;
  };
  const Row rows[] = {
      {"\u00ac", "\xac"},
      {"l\u00f2\u00e0f\u00edx\u00b9", "l\xf2\xe0" "f\xedx\xb9"},
      {"\u20ac \u2122 \u0178", "\x80 \x99 \x9f"},  // the 0x80..0x9F block
      {"plain ascii <b>", "plain ascii <b>"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Utf8ToAnsi(row.utf8), row.ansi) << row.utf8;
    EXPECT_EQ(AnsiToUtf8(row.ansi), row.utf8) << row.utf8;
  }
}

TEST(Ansi, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

TEST(Ansi, OutsideTheCodePageAndBrokenUtf8) {
  EXPECT_EQ(Utf8ToAnsi("\u4e2d"), "?");
  EXPECT_EQ(Utf8ToAnsi("a\xc3"), "a\xc3");      // a cut sequence keeps its byte
  EXPECT_EQ(Utf8ToAnsi("\xe9t\xe9"), "\xe9t\xe9");  // Latin-1 given as is
}

TEST(Ansi, CaseInsensitiveComparisonIsAsciiOnly) {
  EXPECT_TRUE(EqualsIgnoreAsciiCase("aol frame25", "AOL Frame25"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("AOL Frame2", "AOL Frame25"));
  EXPECT_EQ(AsciiUpper("aim sn"), "AIM SN");
  EXPECT_EQ(Utf8Length("\u00ac\u00b7x"), 3u);
}

}  // namespace
}  // namespace loafix
