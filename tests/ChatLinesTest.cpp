// Every line kind, byte for byte in Windows-1252 as the client receives it.
#include <gtest/gtest.h>

#include <string>

#include "core/Text.h"
#include "idle/ChatLines.h"

namespace loafix {
namespace {

// The expected texts are spelled out in full here, independently of the constants,
// so a typo in a segment cannot hide behind the same typo in the test.
struct Case {
  const char* name;
  std::string line;
  std::string expected;
};

class ChatLineBytes : public ::testing::TestWithParam<Case> {};

// Windows-1252 of a text whose characters all lie below U+0100, where that code page
// and Unicode agree (the format uses none of 0x80 to 0x9f); decoded here by hand so
// that a fault of the program's codec cannot hide on both sides.
std::string Latin1(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += utf8[i];
    } else {
      out +=
          static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3f));
    }
  }
  return out;
}

TEST_P(ChatLineBytes, ComposeExactly) {
  EXPECT_EQ(GetParam().line, GetParam().expected);
  EXPECT_EQ(Utf8ToAnsi(GetParam().line), Latin1(GetParam().expected));
}

const std::string kHead = "<font face=arial><font color=#ff8000><b>";
const std::string kBrand =
    "</b><font color=#000000> l\u00f2\u00e0f\u00edx\u00b9<font color=#ff8000> "
    "<b>\u00b7</b><font color=#000000> ";
const std::string kDhm =
    "0<font color=#ff8000><b>/</b><font color=#000000>d 2<font color=#ff8000><b>/</b><font "
    "color=#000000>h 15";

INSTANTIATE_TEST_SUITE_P(
    AllKinds, ChatLineBytes,
    ::testing::Values(
        Case{
            "stats", StatsLine("\u00ac", "0", "2", "15"),
            kHead + "\u00ac" + kBrand + kDhm + "<font color=#ff8000><b>/</b><font color=#000000>m"},
        Case{"aimStats", AimStatsLine("\u00ac", "0", "2", "15", "sam"),
             kHead + "\u00ac" + kBrand + kDhm +
                 "<font color=#ff8000><b>/</b><font color=#000000>m <font color=#ff8000> "
                 "<b>\u00b7</b><font color=#000000> aim<font color=#ff8000> <b>\u00b7</b><font "
                 "color=#000000> sam"},
        Case{"aimStatsEmptyName", AimStatsLine("\u00ac", "0", "2", "15", ""),
             kHead + "\u00ac" + kBrand + kDhm +
                 "<font color=#ff8000><b>/</b><font color=#000000>m <font color=#ff8000> "
                 "<b>\u00b7</b><font color=#000000> aim<font color=#ff8000> <b>\u00b7</b><font "
                 "color=#000000> "},
        Case{"reason", ReasonLine("\u00ac", "lunch"),
             kHead + "\u00ac </b><font color=#000000>r\u00e9\u00e0son<font color=#ff8000> "
                     "<b>\u00b7</b><font color=#000000> lunch"},
        Case{"emptyReason", ReasonLine("\u00ac", ""),
             kHead + "\u00ac </b><font color=#000000>r\u00e9\u00e0son<font color=#ff8000> "
                     "<b>\u00b7</b><font color=#000000> "},
        Case{"website", WebsiteLine("\u00ac", "http://x.org", "home", "mypage"),
             kHead + "\u00ac </b><font color=#000000>w\u00eabs\u00ect\u00e9<font "
                     "color=#ff8000> <b>\u00b7</b><font color=#000000> </a>< a "
                     "href=http://x.org>home</a> <font color=#ff8000><b>\u00b7</b> <font "
                     "color=#000000>mypage"},
        Case{"websiteEmptyUrl", WebsiteLine("\u00ac", "", "", ""),
             kHead + "\u00ac </b><font color=#000000>w\u00eabs\u00ect\u00e9<font "
                     "color=#ff8000> <b>\u00b7</b><font color=#000000> </a>< a href=></a> "
                     "<font color=#ff8000><b>\u00b7</b> <font color=#000000>"},
        Case{"idleOff", IdleOffLine("\u00ac"),
             kHead + "\u00ac</b><font color=#000000> l\u00f2\u00e0f\u00edx\u00b9<font "
                     "color=#ff8000> <b>\u00b7</b><font color=#ff8000> [<font "
                     "color=#000000>\u00f8ff<font color=#ff8000>] "},
        Case{"asciiSet", AsciiSetLine("*"),
             kHead + "*</b><font color=#000000> l\u00f2\u00e0f\u00edx\u00b9<font color=#ff8000> "
                     "<b>\u00b7</b><font color=#000000> \u00e0sc\u00ed\u00ec s\u00eat"},
        Case{"emptyGlyph", StatsLine("", "1", "3", "7"),
             kHead + kBrand +
                 "1<font color=#ff8000><b>/</b><font color=#000000>d 3<font "
                 "color=#ff8000><b>/</b><font color=#000000>h 7<font "
                 "color=#ff8000><b>/</b><font color=#000000>m"},
        Case{"markupInGlyph", ReasonLine("<i>x</i>", "<b>away</b>"),
             kHead + "<i>x</i> </b><font color=#000000>r\u00e9\u00e0son<font color=#ff8000> "
                     "<b>\u00b7</b><font color=#000000> <b>away</b>"},
        Case{"brag", BragLine("1", "3", "7"),
             "<font face=arial><font color=#ff8000><b>\u00ac</b><font color=#000000> "
             "l\u00f2\u00e0f\u00edx\u00b9<font color=#ff8000> <b>\u00b7</b><font "
             "color=#000000> zed\u00b2<font color=#ff8000> <b>\u00b7</b><font color=#000000> "
             "1<font color=#ff8000><b>/</b><font color=#000000>d 3<font "
             "color=#ff8000><b>/</b><font color=#000000>h 7<font "
             "color=#ff8000><b>/</b><font color=#000000>m"},
        Case{"brand", std::string(BrandLine),
             "<font face=arial><font color=#ff8000><b>\u00ac</b><font color=#000000> "
             "l\u00f2\u00e0f\u00edx\u00b9<font color=#ff8000> <b>\u00b7</b><font "
             "color=#000000> zed\u00b2"},
        Case{"adLink", AdLinkLine(),
             "<font face=arial><font color=#ff8000><b>\u00ac</b> </a>< a "
             "href=http://www.loafix.net><font color=#000000>g\u00eat \u00ect h\u00e9r\u00e8</a>"},
        Case{"upchatOn", std::string(UpchatOnLine),
             "<font face=arial><font color=#ff8000><b>\u00ac</b><font color=#000000> "
             "\u00f9pch\u00e1t<font color=#ff8000> <b>\u00b7</b> [<font "
             "color=#000000>\u00f8n<font color=#ff8000>]"},
        Case{"upchatOff", std::string(UpchatOffLine),
             "<font face=arial><font color=#ff8000><b>\u00ac</b><font color=#000000> "
             "\u00f9pch\u00e1t<font color=#ff8000> <b>\u00b7</b> [<font "
             "color=#000000>\u00f8ff<font color=#ff8000>]"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ChatLines, DecoratedCharactersAreSingleWindows1252Bytes) {
  const std::string bytes = Utf8ToAnsi(BragLine("0", "0", "0"));
  EXPECT_EQ(bytes.substr(40, 1), "\xac");  // the glyph right after HeadOpen
  EXPECT_NE(bytes.find("l\xf2\xe0" "f\xedx\xb9"), std::string::npos);
  EXPECT_NE(bytes.find("zed\xb2"), std::string::npos);
  for (unsigned char c : Utf8ToAnsi(AdLinkLine())) EXPECT_NE(c, '?');
}

}  // namespace
}  // namespace loafix
