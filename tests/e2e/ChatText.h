// The lines the room should receive, spelled out here on their own rather than taken
// from the program's chat-line code, so a wrong segment there shows up as a wrong
// line here. UTF-8 in this file; the room receives them as Windows-1252 bytes.
#pragma once

#include <string>

#include "core/Text.h"

namespace loafix::e2e::chat {

inline const std::string kHead = "<font face=arial><font color=#ff8000><b>";
inline const std::string kBrandTail =
    "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> ";
inline const std::string kDay = "<font color=#ff8000><b>/</b><font color=#000000>d ";
inline const std::string kHour = "<font color=#ff8000><b>/</b><font color=#000000>h ";
inline const std::string kMinute = "<font color=#ff8000><b>/</b><font color=#000000>m";

inline const std::string kBrand =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> lòàfíx¹<font "
    "color=#ff8000> <b>·</b><font color=#000000> zed²";
inline const std::string kAdLink =
    "<font face=arial><font color=#ff8000><b>¬</b> </a>< a href=http://www.loafix.net><font "
    "color=#000000>gêt ìt hérè</a>";
inline const std::string kUpchatOn =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> ùpchát<font "
    "color=#ff8000> <b>·</b> [<font color=#000000>øn<font color=#ff8000>]";
inline const std::string kUpchatOff =
    "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> ùpchát<font "
    "color=#ff8000> <b>·</b> [<font color=#000000>øff<font color=#ff8000>]";

inline std::string Stats(const std::string& glyph, const std::string& d, const std::string& h,
                         const std::string& m) {
  return kHead + glyph + kBrandTail + d + kDay + h + kHour + m + kMinute;
}

inline std::string AimStats(const std::string& glyph, const std::string& d, const std::string& h,
                            const std::string& m, const std::string& screenName) {
  return kHead + glyph + kBrandTail + d + kDay + h + kHour + m +
         "<font color=#ff8000><b>/</b><font color=#000000>m <font color=#ff8000> <b>·</b><font "
         "color=#000000> aim<font color=#ff8000> <b>·</b><font color=#000000> " +
         screenName;
}

inline std::string Reason(const std::string& glyph, const std::string& reason) {
  return kHead + glyph +
         " </b><font color=#000000>réàson<font color=#ff8000> <b>·</b><font color=#000000> " +
         reason;
}

inline std::string Website(const std::string& glyph, const std::string& url,
                           const std::string& siteName, const std::string& description) {
  return kHead + glyph +
         " </b><font color=#000000>wêbsìté<font color=#ff8000> <b>·</b><font color=#000000> "
         "</a>< a href=" +
         url + ">" + siteName + "</a> <font color=#ff8000><b>·</b> <font color=#000000>" +
         description;
}

inline std::string IdleOff(const std::string& glyph) {
  return kHead + glyph +
         "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#ff8000> "
         "[<font color=#000000>øff<font color=#ff8000>] ";
}

inline std::string AsciiSet(const std::string& glyph) {
  return kHead + glyph +
         "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> "
         "àscíì sêt";
}

inline std::string Brag(const std::string& d, const std::string& h, const std::string& m) {
  return "<font face=arial><font color=#ff8000><b>¬</b><font color=#000000> lòàfíx¹<font "
         "color=#ff8000> <b>·</b><font color=#000000> zed²<font color=#ff8000> <b>·</b><font "
         "color=#000000> " +
         d + kDay + h + kHour + m + kMinute;
}

// The bytes the room receives for a line of this file.
inline std::string Ansi(const std::string& utf8) {
  return Utf8ToAnsi(utf8);
}

}  // namespace loafix::e2e::chat
