// The chat-line markup: every line the program posts into a room is one fragment of
// the client's HTML-like markup, composed by plain concatenation of the fixed
// segments below and its inputs. Nothing is escaped or trimmed: markup typed into a
// setting becomes markup in the line. All texts are UTF-8; every character lies in
// Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace loafix {

// ---- fixed segments ----
inline constexpr std::string_view HeadOpen = "<font face=arial><font color=#ff8000><b>";
inline constexpr std::string_view BrandTail =
    "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> ";
inline constexpr std::string_view DayMark = "<font color=#ff8000><b>/</b><font color=#000000>d ";
inline constexpr std::string_view HourMark = "<font color=#ff8000><b>/</b><font color=#000000>h ";
inline constexpr std::string_view MinuteMark = "<font color=#ff8000><b>/</b><font color=#000000>m";
inline constexpr std::string_view AimMark =
    "<font color=#ff8000><b>/</b><font color=#000000>m <font color=#ff8000> <b>·</b><font "
    "color=#000000> aim<font color=#ff8000> <b>·</b><font color=#000000> ";
inline constexpr std::string_view ReasonTail =
    " </b><font color=#000000>réàson<font color=#ff8000> <b>·</b><font color=#000000> ";
inline constexpr std::string_view WebsiteTail =
    " </b><font color=#000000>wêbsìté<font color=#ff8000> <b>·</b><font color=#000000> </a>< a "
    "href=";
inline constexpr std::string_view LinkClose = "</a> <font color=#ff8000><b>·</b> <font color=#000000>";
inline constexpr std::string_view OffTail =
    "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#ff8000> [<font "
    "color=#000000>øff<font color=#ff8000>] ";
inline constexpr std::string_view AsciiSetTail =
    "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> àscíì sêt";
inline constexpr std::string_view BragHead =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> lòàfíx¹<font "
    "color=#ff8000> <b>·</b><font color=#000000> zed²<font color=#ff8000> <b>·</b><font "
    "color=#000000> ";

// ---- fixed whole lines ----
inline constexpr std::string_view BrandLine =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> lòàfíx¹<font "
    "color=#ff8000> <b>·</b><font color=#000000> zed²";
inline constexpr std::string_view UpchatOnLine =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> ùpchát<font "
    "color=#ff8000> <b>·</b> [<font color=#000000>øn<font color=#ff8000>]";
inline constexpr std::string_view UpchatOffLine =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> ùpchát<font "
    "color=#ff8000> <b>·</b> [<font color=#000000>øff<font color=#ff8000>]";
// The advertisement's link line, with the product's web address.
std::string AdLinkLine();

// ---- composed lines ----
std::string StatsLine(std::string_view glyph, std::string_view days, std::string_view hours,
                      std::string_view minutes);
std::string AimStatsLine(std::string_view glyph, std::string_view days, std::string_view hours,
                         std::string_view minutes, std::string_view screenName);
std::string ReasonLine(std::string_view glyph, std::string_view reason);
std::string WebsiteLine(std::string_view glyph, std::string_view url, std::string_view siteName,
                        std::string_view description);
std::string IdleOffLine(std::string_view glyph);
std::string AsciiSetLine(std::string_view glyph);
std::string BragLine(std::string_view days, std::string_view hours, std::string_view minutes);

}  // namespace loafix
