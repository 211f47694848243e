#include "clientsim/ChatView_win.h"

#include <map>
#include <tuple>

#include "clientsim/Hex.h"
#include "platform/win32/Win32Text.h"

namespace loafix::clientsim {
namespace {

struct Style {
  std::wstring face = L"Arial";
  COLORREF color = RGB(0, 0, 0);
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool link = false;
};

struct Run {
  std::wstring text;
  Style style;
};

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return text;
}

// The value of `name=` inside a tag, without quotes; empty when absent.
std::wstring Attribute(const std::wstring& tag, const std::wstring& name) {
  const std::wstring lower = Lower(tag);
  std::size_t at = lower.find(name + L"=");
  if (at == std::wstring::npos) return {};
  at += name.size() + 1;
  std::size_t end = at;
  if (at < tag.size() && (tag[at] == L'"' || tag[at] == L'\'')) {
    const wchar_t quote = tag[at++];
    end = tag.find(quote, at);
    if (end == std::wstring::npos) end = tag.size();
  } else {
    while (end < tag.size() && tag[end] != L' ') ++end;
  }
  return tag.substr(at, end - at);
}

COLORREF ParseColor(const std::wstring& value, COLORREF fallback) {
  std::wstring hex = value;
  if (!hex.empty() && hex[0] == L'#') hex.erase(0, 1);
  if (hex.size() != 6) return fallback;
  unsigned rgb = 0;
  for (wchar_t c : hex) {
    const int digit = c < 0x80 ? HexDigit(static_cast<char>(c)) : -1;
    if (digit < 0) return fallback;
    rgb = rgb << 4 | static_cast<unsigned>(digit);
  }
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Applies one tag. The client is lenient, as the program's lines need: "< a href=..."
// with a blank after "<" still opens a link, and a stray "</a>" is ignored.
void ApplyTag(const std::wstring& inner, Style& style) {
  std::size_t start = inner.find_first_not_of(L' ');
  if (start == std::wstring::npos) return;
  const bool closing = inner[start] == L'/';
  if (closing) ++start;
  std::size_t end = inner.find(L' ', start);
  const std::wstring name =
      Lower(inner.substr(start, end == std::wstring::npos ? end : end - start));
  if (name == L"b")
    style.bold = !closing;
  else if (name == L"i")
    style.italic = !closing;
  else if (name == L"u")
    style.underline = !closing;
  else if (name == L"a")
    style.link = !closing;
  else if (name == L"font" && !closing) {
    const std::wstring face = Attribute(inner, L"face");
    if (!face.empty()) style.face = face;
    style.color = ParseColor(Attribute(inner, L"color"), style.color);
  }
}

std::vector<Run> Parse(const std::wstring& line) {
  std::vector<Run> runs;
  Style style;
  std::wstring text;
  auto flush = [&] {
    if (!text.empty()) runs.push_back(Run{text, style});
    text.clear();
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == L'<') {
      const std::size_t close = line.find(L'>', i + 1);
      if (close != std::wstring::npos) {
        flush();
        ApplyTag(line.substr(i + 1, close - i - 1), style);
        i = close;
        continue;
      }
    }
    text += line[i];
  }
  flush();
  return runs;
}

class Fonts {
 public:
  explicit Fonts(int height) : height_(height) {}
  ~Fonts() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
  }
  HFONT get(const Style& s) {
    const auto key = std::make_tuple(Lower(s.face), s.bold, s.italic, s.underline || s.link);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    HFONT font = CreateFontW(-height_, 0, 0, 0, s.bold ? FW_BOLD : FW_NORMAL, s.italic,
                             s.underline || s.link, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                             s.face.c_str());
    fonts_.emplace(key, font);
    return font;
  }

 private:
  int height_;
  std::map<std::tuple<std::wstring, bool, bool, bool>, HFONT> fonts_;
};

struct Piece {
  std::wstring text;
  Style style;
  int x, y;
};

}  // namespace

void PaintTranscript(HDC dc, const RECT& area, const std::vector<std::string>& lines,
                     const std::string& speaker) {
  constexpr int kTextHeight = 14;
  constexpr int kLineHeight = 18;
  Fonts fonts(kTextHeight);
  // Restored before the fonts go, so that none of them is still selected then.
  const int saved = SaveDC(dc);
  const int left = area.left + 6, right = area.right - 6;

  Style speakerStyle;
  speakerStyle.bold = true;
  speakerStyle.color = RGB(0, 0, 128);
  const std::wstring speakerText = win32::SystemCodePageToWide(speaker) + L":";
  SelectObject(dc, fonts.get(speakerStyle));
  SIZE speakerSize;
  GetTextExtentPoint32W(dc, speakerText.c_str(), static_cast<int>(speakerText.size()),
                        &speakerSize);
  const int indent = left + speakerSize.cx + 8;

  // Lay every line out from the top, then shift so that the newest line sits at the
  // bottom of the box.
  std::vector<Piece> pieces;
  int y = 0;
  for (const std::string& line : lines) {
    pieces.push_back(Piece{speakerText, speakerStyle, left, y});
    int x = indent;
    for (const Run& run : Parse(win32::SystemCodePageToWide(line))) {
      SelectObject(dc, fonts.get(run.style));
      std::size_t at = 0;
      while (at < run.text.size()) {
        // One word and the blanks after it.
        std::size_t end = run.text.find(L' ', at);
        end = end == std::wstring::npos ? run.text.size() : run.text.find_first_not_of(L' ', end);
        if (end == std::wstring::npos) end = run.text.size();
        const std::wstring word = run.text.substr(at, end - at);
        SIZE size;
        GetTextExtentPoint32W(dc, word.c_str(), static_cast<int>(word.size()), &size);
        if (x + size.cx > right && x > indent) {
          x = indent;
          y += kLineHeight;
        }
        pieces.push_back(Piece{word, run.style, x, y});
        x += size.cx;
        at = end;
      }
    }
    y += kLineHeight;
  }
  const int height = area.bottom - area.top - 4;
  const int shift = y > height ? y - height : 0;

  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  SetBkMode(dc, TRANSPARENT);
  for (const Piece& p : pieces) {
    const int top = area.top + 2 + p.y - shift;
    if (top + kLineHeight < area.top || top > area.bottom) continue;
    SelectObject(dc, fonts.get(p.style));
    SetTextColor(dc, p.style.color);
    TextOutW(dc, p.x, top, p.text.c_str(), static_cast<int>(p.text.size()));
  }
  RestoreDC(dc, saved);
}

}  // namespace loafix::clientsim
