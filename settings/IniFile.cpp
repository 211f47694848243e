#include "settings/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

#include "client/Ansi.h"

// The rules below are those of the platform's private-profile functions as measured
// (see WINE.md in the shared notes): the file is decoded as a whole, split at every CR or
// LF, each line trimmed; a line that starts with "[" and holds a later "]" names a
// section (up to its last "]"), any other non-blank line is an entry split at its first
// "=". The first section of a name and the first entry of a name win.

namespace loafix::ini {
namespace {

enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// Blanks as the profile functions count them: the C white-space characters, and Ctrl-Z,
// which files from the DOS era carry at their end.
bool IsBlank(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}
bool IsBreak(char16_t c) {
  return c == u'\r' || c == u'\n';
}

// Names compare without regard to the case of the letters of the ANSI code page. (Wine
// folds ASCII letters only; Windows, and the callers' expectations, fold all of them.)
char16_t FoldCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  switch (c) {
    case 0x0160:
      return 0x0161;  // S with caron
    case 0x0152:
      return 0x0153;  // OE
    case 0x017D:
      return 0x017E;  // Z with caron
    case 0x0178:
      return 0x00FF;  // Y with diaeresis
    default:
      return c;
  }
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Text handed to a C string interface ends at its first NUL.
template <class View>
View CutAtNul(View s) {
  const auto nul = s.find(typename View::value_type{0});
  return nul == View::npos ? s : s.substr(0, nul);
}

// ---- code page conversions ----

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16 units as UTF-8, each unit on its own: the ANSI conversion of the "A" functions
// turns each half of a surrogate pair into its own "?".
std::string UnitsToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size());
  for (char16_t u : units) AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
  return out;
}

// What the "A" functions hand over: the text in the ANSI code page, "?" for anything
// outside it.
std::string UnitsToAnsi(std::u16string_view units) {
  return Utf8ToAnsi(UnitsToUtf8(units));
}

std::u16string AnsiToUnits(std::string_view ansi) {
  const std::string utf8 = AnsiToUtf8(ansi);
  std::u16string out;
  out.reserve(ansi.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;  // AnsiToUtf8 stays in the BMP
    char32_t cp = extra == 2 ? lead & 0x0F : extra == 1 ? lead & 0x1F : lead;
    for (int k = 1; k <= extra; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out += static_cast<char16_t>(cp);
    i += 1 + extra;
  }
  return out;
}

// A name or value given by a caller, as the "A" functions receive it.
std::u16string FromCaller(std::string_view utf8) {
  return AnsiToUnits(CutAtNul(std::string_view(Utf8ToAnsi(utf8))));
}

// One UTF-8 character whose lead byte 0x80..0xFF was just read; `i` points past the lead
// and is moved past what the platform's decoder consumes. Returns -1 for a malformed
// sequence, which becomes one U+FFFD. Matches Wine byte for byte, including its choice of
// how many bytes a malformed sequence swallows.
long DecodeUtf8Tail(unsigned char lead, std::string_view bytes, std::size_t& i) {
  const unsigned length = lead >= 0xF5   ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC2 ? 1
                                         : 0;
  if (length == 0) return -1;
  const std::size_t end = i + length;  // `i` is already past the lead byte
  if (end > bytes.size()) {
    i = bytes.size();  // a sequence cut by the end of the file takes the rest with it
    return -1;
  }
  auto trail = [&](std::size_t pos) -> int {
    const unsigned c = static_cast<unsigned char>(bytes[pos]) ^ 0x80;
    return c < 0x40 ? static_cast<int>(c) : -1;
  };
  static constexpr unsigned char kMask[] = {0x7F, 0x1F, 0x0F, 0x07};
  unsigned long cp = lead & kMask[length];
  int c;
  switch (length) {
    case 3:
      if ((c = trail(end - 3)) < 0) return -1;
      cp = (cp << 6) | c;
      ++i;
      if (cp < 0x10) return -1;
      [[fallthrough]];
    case 2:
      if ((c = trail(end - 2)) < 0) return -1;
      cp = (cp << 6) | c;
      if (cp >= (0x110000 >> 6)) return -1;
      ++i;
      if (cp < 0x20) return -1;
      if (cp >= (0xD800 >> 6) && cp <= (0xDFFF >> 6)) return -1;
      [[fallthrough]];
    default:
      if ((c = trail(end - 1)) < 0) return -1;
      cp = (cp << 6) | c;
      ++i;
      if (cp < 0x80) return -1;
      return static_cast<long>(cp);
  }
}

// ---- the file as text ----

// The decoded file and, for every unit, where it came from, so an edit can splice the
// original bytes and leave every other byte as it was.
struct Text {
  Encoding encoding = Encoding::kAnsi;
  std::size_t bom = 0;
  std::u16string units;
  std::vector<std::size_t> utf8Offsets;  // UTF-8 only: offset of each unit, then the end
  std::size_t unitsEnd = 0;              // offset just past the last decoded unit

  std::size_t RawOffset(std::size_t unit) const {
    if (unit == units.size()) return unitsEnd;
    switch (encoding) {
      case Encoding::kAnsi:
        return unit;
      case Encoding::kUtf8:
        return utf8Offsets[unit];
      default:
        return bom + 2 * unit;
    }
  }

  std::string Encode(std::u16string_view s) const {
    std::string out;
    switch (encoding) {
      case Encoding::kAnsi:
        return UnitsToAnsi(s);
      case Encoding::kUtf8:
        return UnitsToUtf8(s);  // callers' text never holds surrogates
      case Encoding::kUtf16Le:
      case Encoding::kUtf16Be:
        for (char16_t u : s) {
          const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
          out += encoding == Encoding::kUtf16Le ? lo : hi;
          out += encoding == Encoding::kUtf16Le ? hi : lo;
        }
        return out;
    }
    return out;
  }
};

// The encoding a reader takes the file to be in, and the length of its byte-order mark.
std::pair<Encoding, std::size_t> DetectEncoding(std::string_view bytes) {
  auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
  if (starts("\xEF\xBB\xBF")) return {Encoding::kUtf8, 3};
  if (starts("\xFF\xFE")) return {Encoding::kUtf16Le, 2};
  if (starts("\xFE\xFF")) return {Encoding::kUtf16Be, 2};
  return {Encoding::kAnsi, 0};
}

Text Decode(std::string_view bytes) {
  Text t;
  std::tie(t.encoding, t.bom) = DetectEncoding(bytes);
  switch (t.encoding) {
    case Encoding::kAnsi:
      t.units = AnsiToUnits(bytes);
      t.unitsEnd = bytes.size();
      break;
    case Encoding::kUtf8:
      t.units.reserve(bytes.size());
      t.utf8Offsets.reserve(bytes.size() + 1);
      for (std::size_t i = t.bom; i < bytes.size();) {
        const std::size_t start = i;
        const auto lead = static_cast<unsigned char>(bytes[i++]);
        const long cp = lead < 0x80 ? lead : DecodeUtf8Tail(lead, bytes, i);
        if (cp < 0x10000) {
          t.units += static_cast<char16_t>(cp < 0 ? 0xFFFD : cp);
          t.utf8Offsets.push_back(start);
        } else {
          t.units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
          t.units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
          t.utf8Offsets.push_back(start);
          t.utf8Offsets.push_back(start);
        }
      }
      t.unitsEnd = bytes.size();
      t.utf8Offsets.push_back(bytes.size());
      break;
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be: {
      const std::size_t count = (bytes.size() - t.bom) / 2;  // an odd last byte is ignored
      t.units.resize(count);
      for (std::size_t k = 0; k < count; ++k) {
        const auto a = static_cast<unsigned char>(bytes[t.bom + 2 * k]);
        const auto b = static_cast<unsigned char>(bytes[t.bom + 2 * k + 1]);
        t.units[k] =
            static_cast<char16_t>(t.encoding == Encoding::kUtf16Le ? a | (b << 8) : (a << 8) | b);
      }
      t.unitsEnd = t.bom + 2 * count;
      break;
    }
  }
  return t;
}

// One line of the file, as positions in the decoded units. A line ends at its first CR
// LF, CR or LF; `next` is where the following line starts.
struct Line {
  enum Kind { kBlank, kSection, kEntry };
  Kind kind = kBlank;
  std::size_t begin = 0, end = 0, next = 0;
  std::size_t nameBegin = 0, nameLength = 0;  // trimmed, cut at a NUL
  std::size_t nameEnd = 0;                    // entries: just past the trimmed name
  bool hasValue = false;
  std::size_t valueBegin = 0, valueLength = 0;  // trimmed, cut at a NUL
};

struct Document {
  Text text;
  std::vector<Line> lines;

  std::u16string_view View(std::size_t pos, std::size_t length) const {
    return std::u16string_view(text.units).substr(pos, length);
  }
  std::u16string_view Name(const Line& l) const { return View(l.nameBegin, l.nameLength); }
  std::u16string_view Value(const Line& l) const { return View(l.valueBegin, l.valueLength); }
};

Line ClassifyLine(std::u16string_view all, std::size_t begin, std::size_t end) {
  Line l;
  l.begin = begin;
  l.end = end;
  std::size_t a = begin, b = end;
  while (a < b && IsBlank(all[a])) ++a;
  while (b > a && IsBlank(all[b - 1])) --b;
  if (a == b) return l;
  auto setName = [&](std::size_t from, std::size_t to) {
    while (from < to && IsBlank(all[from])) ++from;
    while (to > from && IsBlank(all[to - 1])) --to;
    l.nameBegin = from;
    l.nameLength = CutAtNul(all.substr(from, to - from)).size();
    return to;
  };
  if (all[a] == u'[') {
    std::size_t close = b - 1;
    while (close > a && all[close] != u']') --close;
    if (close > a) {
      l.kind = Line::kSection;
      setName(a + 1, close);
      return l;
    }
  }
  l.kind = Line::kEntry;
  const std::size_t eq = all.substr(a, b - a).find(u'=');
  if (eq == std::u16string_view::npos) {
    l.nameEnd = setName(a, b);
    return l;
  }
  l.nameEnd = setName(a, a + eq);
  l.hasValue = true;
  std::size_t v = a + eq + 1;
  while (v < b && IsBlank(all[v])) ++v;
  l.valueBegin = v;
  l.valueLength = CutAtNul(all.substr(v, b - v)).size();
  return l;
}

Document Load(std::string_view bytes) {
  Document d{Decode(bytes), {}};
  const std::u16string_view all = d.text.units;
  for (std::size_t pos = 0; pos < all.size();) {
    std::size_t end = pos;
    while (end < all.size() && !IsBreak(all[end])) ++end;
    std::size_t next = end;
    if (next < all.size())
      next += (all[next] == u'\r' && next + 1 < all.size() && all[next + 1] == u'\n') ? 2 : 1;
    Line line = ClassifyLine(all, pos, end);
    line.next = next;
    d.lines.push_back(line);
    pos = next;
  }
  return d;
}

// The lines [first, last) of the first section named `name`; first is the line after the
// section line (0 for the lines before any section line, which form the section "").
struct Region {
  std::size_t header = SIZE_MAX;  // SIZE_MAX for the section ""
  std::size_t first = 0, last = 0;
};

std::optional<Region> FindSection(const Document& d, std::u16string_view name) {
  Region r;
  std::size_t i = 0;
  if (!name.empty()) {
    while (i < d.lines.size() &&
           !(d.lines[i].kind == Line::kSection && SameName(d.Name(d.lines[i]), name)))
      ++i;
    if (i == d.lines.size()) return std::nullopt;
    r.header = i++;
  }
  r.first = i;
  while (i < d.lines.size() && d.lines[i].kind != Line::kSection) ++i;
  r.last = i;
  return r;
}

std::optional<std::size_t> FindEntry(const Document& d, const Region& r, std::u16string_view key) {
  for (std::size_t i = r.first; i < r.last; ++i)
    if (d.lines[i].kind == Line::kEntry && SameName(d.Name(d.lines[i]), key)) return i;
  return std::nullopt;
}

// A replacement of the bytes [at, at + length) of the file.
struct Splice {
  std::size_t at, length;
  std::string bytes;
};

std::string ApplySplices(std::string_view original, std::vector<Splice> splices) {
  std::sort(splices.begin(), splices.end(),
            [](const Splice& a, const Splice& b) { return a.at < b.at; });
  std::string out;
  std::size_t pos = 0;
  for (const Splice& s : splices) {
    out.append(original.substr(pos, s.at - pos));
    out += s.bytes;
    pos = s.at + s.length;
  }
  out.append(original.substr(pos));
  // An ANSI file whose first line went, or got a new line before it, may now begin with
  // bytes that read as a byte-order mark ("ï»¿" is the UTF-8 one), and every later read
  // would decode the whole file differently. A blank line first keeps it ANSI.
  if (DetectEncoding(original).first == Encoding::kAnsi &&
      DetectEncoding(out).first != Encoding::kAnsi)
    out.insert(0, "\r\n");
  return out;
}

// New lines go after the last non-blank line among [from, to), or at `fallback` when
// there is none; a last line without a line break gets one first.
Splice InsertLines(const Document& d, std::size_t from, std::size_t to, std::size_t fallbackUnit,
                   std::u16string_view lines) {
  std::size_t after = SIZE_MAX;
  for (std::size_t i = from; i < to; ++i)
    if (d.lines[i].kind != Line::kBlank) after = i;
  if (after == SIZE_MAX) return {d.text.RawOffset(fallbackUnit), 0, d.text.Encode(lines)};
  const Line& l = d.lines[after];
  std::u16string text = l.next == l.end ? u"\r\n" : u"";
  text += lines;
  return {d.text.RawOffset(l.next), 0, d.text.Encode(text)};
}

// A value as the file will hold it: what a read of a raw write would give back for this
// key (leading blanks and line breaks skipped, then the first line), without the stray
// lines that a raw write would leave behind.
std::u16string StoredValue(std::string_view utf8) {
  const std::u16string all = FromCaller(utf8);
  std::u16string_view v = all;
  while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
  const auto lineBreak = std::find_if(v.begin(), v.end(), IsBreak);
  v = v.substr(0, static_cast<std::size_t>(lineBreak - v.begin()));
  while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
  return std::u16string(v);
}

// A name that would not read back as itself once written, or would split the line.
bool UnsafeSectionName(std::u16string_view name) {
  return std::any_of(name.begin(), name.end(), IsBreak);
}
bool UnsafeKeyName(std::u16string_view key) {
  return std::any_of(key.begin(), key.end(), [](char16_t c) { return IsBreak(c) || c == u'='; }) ||
         (!key.empty() && key.front() == u'[');
}

std::string MapAnsiCase(std::string_view utf8, bool upper) {
  std::string ansi = Utf8ToAnsi(utf8);
  for (char& ch : ansi) {
    const auto c = static_cast<unsigned char>(ch);
    const bool small = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
                       c == 0x9A || c == 0x9C || c == 0x9E || c == 0xFF;
    const bool capital = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
                         c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F;
    if (upper && small)
      ch = static_cast<char>(c == 0xFF ? 0x9F : c >= 0x9A && c <= 0x9E ? c - 0x10 : c - 0x20);
    if (!upper && capital)
      ch = static_cast<char>(c == 0x9F ? 0xFF : c >= 0x8A && c <= 0x8E ? c + 0x10 : c + 0x20);
  }
  return AnsiToUtf8(ansi);
}

}  // namespace

std::vector<Section> Parse(std::string_view fileBytes) {
  const Document d = Load(fileBytes);
  std::vector<Section> sections(1);
  for (const Line& l : d.lines) {
    if (l.kind == Line::kSection) {
      sections.push_back({UnitsToUtf8(d.Name(l)), {}});
    } else if (l.kind == Line::kEntry) {
      Entry e{UnitsToUtf8(d.Name(l)), std::nullopt};
      if (l.hasValue) e.value = UnitsToUtf8(d.Value(l));
      sections.back().entries.push_back(std::move(e));
    }
  }
  return sections;
}

std::string ReadValue(std::string_view fileBytes, std::string_view section, std::string_view key) {
  const Document d = Load(fileBytes);
  const std::optional<Region> region = FindSection(d, Trim(FromCaller(section)));
  if (!region) return {};
  const std::optional<std::size_t> entry = FindEntry(d, *region, Trim(FromCaller(key)));
  if (!entry || !d.lines[*entry].hasValue) return {};
  std::u16string_view value = d.Value(d.lines[*entry]);
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return AnsiToUtf8(UnitsToAnsi(value.substr(0, kMaxValueLength)));
}

std::optional<std::string> WriteValue(std::string_view fileBytes, std::string_view section,
                                      std::string_view key, std::optional<std::string_view> value) {
  const std::u16string sectionName(Trim(FromCaller(section)));
  const std::u16string keyName(Trim(FromCaller(key)));
  if (UnsafeSectionName(sectionName) || UnsafeKeyName(keyName)) return std::nullopt;

  const Document d = Load(fileBytes);
  const std::optional<Region> region = FindSection(d, sectionName);
  std::vector<Splice> splices;

  if (!value) {
    if (!region) return std::nullopt;
    // Every entry of the name goes, not only the first: with only the first removed, a
    // duplicate further down (a hand-edited file) would become the value read.
    for (std::size_t i = region->first; i < region->last; ++i) {
      const Line& l = d.lines[i];
      if (l.kind == Line::kEntry && SameName(d.Name(l), keyName)) {
        const std::size_t from = d.text.RawOffset(l.begin);
        splices.push_back({from, d.text.RawOffset(l.next) - from, {}});
      }
    }
    if (splices.empty()) return std::nullopt;
    return ApplySplices(fileBytes, std::move(splices));
  }

  const std::u16string stored = StoredValue(*value);
  if (!region) {
    const std::u16string lines = u"[" + sectionName + u"]\r\n" + keyName + u"=" + stored + u"\r\n";
    splices.push_back(InsertLines(d, 0, d.lines.size(), 0, lines));
  } else if (const std::optional<std::size_t> entry = FindEntry(d, *region, keyName)) {
    // The name keeps the spelling it has on disk; only "=" and the value are new.
    const Line& l = d.lines[*entry];
    if (l.hasValue && d.Value(l) == stored) return std::nullopt;
    const std::size_t from = d.text.RawOffset(l.nameEnd);
    splices.push_back({from, d.text.RawOffset(l.end) - from, d.text.Encode(u"=" + stored)});
  } else {
    const std::size_t from = region->header == SIZE_MAX ? region->first : region->header;
    splices.push_back(InsertLines(d, from, region->last, d.lines.empty() ? 0 : d.lines[from].begin,
                                  keyName + u"=" + stored + u"\r\n"));
  }
  return ApplySplices(fileBytes, std::move(splices));
}

std::string UpperCase(std::string_view utf8) {
  return MapAnsiCase(utf8, true);
}
std::string LowerCase(std::string_view utf8) {
  return MapAnsiCase(utf8, false);
}

}  // namespace loafix::ini
