#include "idle/ChatLines.h"

#include <initializer_list>

#include "core/Product.h"

namespace loafix {
namespace {

std::string Join(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (auto part : parts) size += part.size();
  std::string line;
  line.reserve(size);
  for (auto part : parts) line += part;
  return line;
}

}  // namespace

std::string AdLinkLine() {
  return Join({"<font face=arial><font color=#ff8000><b>¬</b> </a>< a href=", kProductUrl,
               "><font color=#000000>gêt ìt hérè</a>"});
}

std::string StatsLine(std::string_view glyph, std::string_view days, std::string_view hours,
                      std::string_view minutes) {
  return Join({HeadOpen, glyph, BrandTail, days, DayMark, hours, HourMark, minutes, MinuteMark});
}

std::string AimStatsLine(std::string_view glyph, std::string_view days, std::string_view hours,
                         std::string_view minutes, std::string_view screenName) {
  return Join(
      {HeadOpen, glyph, BrandTail, days, DayMark, hours, HourMark, minutes, AimMark, screenName});
}

std::string ReasonLine(std::string_view glyph, std::string_view reason) {
  return Join({HeadOpen, glyph, ReasonTail, reason});
}

std::string WebsiteLine(std::string_view glyph, std::string_view url, std::string_view siteName,
                        std::string_view description) {
  return Join({HeadOpen, glyph, WebsiteTail, url, ">", siteName, LinkClose, description});
}

std::string IdleOffLine(std::string_view glyph) { return Join({HeadOpen, glyph, OffTail}); }

std::string AsciiSetLine(std::string_view glyph) { return Join({HeadOpen, glyph, AsciiSetTail}); }

std::string BragLine(std::string_view days, std::string_view hours, std::string_view minutes) {
  return Join({BragHead, days, DayMark, hours, HourMark, minutes, MinuteMark});
}

}  // namespace loafix
