#include "settings/IniFile.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "core/Text.h"

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
bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return AnsiLower(x) == AnsiLower(y); });
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

// A name or value given by a caller, as the "A" functions receive it: in the ANSI code
// page, up to its first NUL. Nullopt when the code page cannot take it.
std::optional<std::u16string> FromCaller(std::string_view utf8, const CodePage& codePage) {
  const std::optional<std::string> bytes = codePage.FromUtf8(utf8);
  if (!bytes) return std::nullopt;
  return codePage.ToUtf16(CutAtNul(std::string_view(*bytes)));
}

// ---- the file as text ----

// The encoding a reader takes the file to be in, and the length of its byte-order mark.
std::pair<Encoding, std::size_t> DetectEncoding(std::string_view bytes) {
  auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
  if (starts("\xEF\xBB\xBF")) return {Encoding::kUtf8, 3};
  if (starts("\xFF\xFE")) return {Encoding::kUtf16Le, 2};
  if (starts("\xFE\xFF")) return {Encoding::kUtf16Be, 2};
  return {Encoding::kAnsi, 0};
}

// The file's bytes as the units a reader decodes them to, position by position, without
// decoding the file as a whole: a settings file that has grown to many megabytes costs
// one pass over its bytes, and no copy of them.
//
// In an ANSI or UTF-8 file a position is a byte offset. Everything the line structure
// depends on (line breaks, blanks, "[", "]", "=", NUL) is a single ASCII byte, and no
// byte of a multi-byte UTF-8 character is ever one of them, so the structure is read
// straight from the bytes; only names and values are decoded. A double-byte code page
// is the exception: the platform decodes a lead byte and whatever byte follows it as one
// character, so the second byte ("[", "]", even a blank or a line break) is marked as
// part of it first, one bit per byte. A UTF-16 file has one position per two bytes.
class View {
 public:
  View(std::string_view bytes, const CodePage& codePage) : bytes_(bytes), codePage_(codePage) {
    std::tie(encoding_, bom_) = DetectEncoding(bytes);
    // A system whose ANSI code page is UTF-8 reads a file without a mark as UTF-8.
    if (encoding_ == Encoding::kAnsi && codePage.IsUtf8()) encoding_ = Encoding::kUtf8;
    wide_ = encoding_ == Encoding::kUtf16Le || encoding_ == Encoding::kUtf16Be;
    if (wide_) {
      begin_ = 0;
      end_ = (bytes.size() - bom_) / 2;  // an odd last byte is ignored
    } else {
      begin_ = bom_;
      end_ = bytes.size();
    }
    opaque_ = end_;
    if (encoding_ == Encoding::kAnsi && HasLeadBytes(codePage)) {
      seconds_.assign(end_, false);
      for (std::size_t p = begin_; p + 1 < end_; ++p)
        if (codePage.IsLeadByte(static_cast<unsigned char>(bytes[p]))) seconds_[++p] = true;
    }
    if (encoding_ == Encoding::kUtf8) {
      // A multi-byte sequence cut off by the end of the file swallows the rest of it, line
      // breaks included, into one replacement character.
      for (std::size_t p = std::max(begin_, end_ >= 3 ? end_ - 3 : 0); p < end_; ++p) {
        const auto b = static_cast<unsigned char>(bytes[p]);
        const std::size_t length = b >= 0xF5 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 ? 1 : 0;
        if (length > 0 && p + 1 + length > end_) {
          opaque_ = p;
          break;
        }
      }
    }
  }

  Encoding encoding() const { return encoding_; }
  std::size_t begin() const { return begin_; }
  std::size_t end() const { return end_; }
  std::size_t Raw(std::size_t pos) const { return wide_ ? bom_ + 2 * pos : pos; }

  // The unit at a position as far as the line structure goes: exact for every unit the
  // structure depends on, some other non-blank unit for the rest.
  char16_t At(std::size_t pos) const {
    if (wide_) {
      const auto a = static_cast<unsigned char>(bytes_[bom_ + 2 * pos]);
      const auto b = static_cast<unsigned char>(bytes_[bom_ + 2 * pos + 1]);
      return static_cast<char16_t>(encoding_ == Encoding::kUtf16Le ? a | (b << 8) : (a << 8) | b);
    }
    if (pos >= opaque_ || (!seconds_.empty() && seconds_[pos])) return char16_t{0xFFFD};
    return static_cast<unsigned char>(bytes_[pos]);
  }

  // The first position of the ASCII unit `a` or `b` in [from, to), or `to`.
  std::size_t Seek(char16_t a, char16_t b, std::size_t from, std::size_t to) const {
    if (!wide_) {
      const std::size_t stop = std::min(to, opaque_);
      std::size_t hit = stop;
      while (from < stop) {
        hit = SeekByte(static_cast<char>(a), static_cast<char>(b), from, stop);
        if (hit == stop || seconds_.empty() || !seconds_[hit]) break;
        from = hit + 1;  // the second byte of a character
        hit = stop;
      }
      return hit < stop ? hit : to;
    }
    while (from < to && At(from) != a && At(from) != b) ++from;
    return from;
  }
  std::size_t Seek(char16_t c, std::size_t from, std::size_t to) const {
    return Seek(c, c, from, to);
  }

  // Where the line that holds `pos` ends: the next CR or LF, or the end.
  std::size_t LineEnd(std::size_t pos) const { return Seek(u'\r', u'\n', pos, end_); }

  // Whether [from, to) may decode to exactly `units` units: names of another length are
  // passed over without decoding them.
  bool MayHold(std::size_t from, std::size_t to, std::size_t units) const {
    const std::size_t n = to - from;
    // A UTF-8 unit takes one to three bytes (a four-byte sequence gives two units), a
    // unit of a double-byte code page one or two.
    if (encoding_ == Encoding::kUtf8) return units <= n && n <= 3 * units;
    return seconds_.empty() ? n == units : units <= n && n <= 2 * units;
  }

  // The units [from, to) decodes to. `from` is where a character starts, as every
  // position just after a unit of the line structure is.
  std::u16string Units(std::size_t from, std::size_t to) const {
    std::u16string out;
    switch (encoding_) {
      case Encoding::kAnsi:
        return codePage_.ToUtf16(bytes_.substr(from, to - from));
      case Encoding::kUtf8:
        // The last character may run past `to`: it decodes as in the whole file.
        return Utf8ToUtf16(bytes_.substr(from), to - from);
      default:
        out.reserve(to - from);
        for (std::size_t k = from; k < to; ++k) out += At(k);
        return out;
    }
  }

  // Nullopt when the code page's conversion fails.
  std::optional<std::string> Encode(std::u16string_view s) const {
    std::string out;
    switch (encoding_) {
      case Encoding::kAnsi:
        return codePage_.FromUtf16(s);
      case Encoding::kUtf8:
        return Utf16ToUtf8(s);
      case Encoding::kUtf16Le:
      case Encoding::kUtf16Be:
        for (char16_t u : s) {
          const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
          out += encoding_ == Encoding::kUtf16Le ? lo : hi;
          out += encoding_ == Encoding::kUtf16Le ? hi : lo;
        }
        return out;
    }
    return out;
  }

 private:
  // Eight bytes at a time: the C library's memchr is a plain byte loop on some systems
  // (Wine's msvcrt), and a large file is mostly this search.
  std::size_t SeekByte(char a, char b, std::size_t from, std::size_t to) const {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    const std::uint64_t wantA = kOnes * static_cast<unsigned char>(a);
    const std::uint64_t wantB = kOnes * static_cast<unsigned char>(b);
    const char* p = bytes_.data();
    for (; from + 8 <= to; from += 8) {
      std::uint64_t word;
      std::memcpy(&word, p + from, 8);
      const std::uint64_t x = word ^ wantA, y = word ^ wantB;
      if (((x - kOnes) & ~x & kHighs) | ((y - kOnes) & ~y & kHighs)) break;
    }
    while (from < to && p[from] != a && p[from] != b) ++from;
    return from;
  }

  static bool HasLeadBytes(const CodePage& codePage) {
    for (unsigned b = 0x80; b <= 0xFF; ++b)
      if (codePage.IsLeadByte(static_cast<unsigned char>(b))) return true;
    return false;
  }

  std::string_view bytes_;
  const CodePage& codePage_;
  std::vector<bool> seconds_;  // double-byte code pages: the second bytes of characters
  Encoding encoding_ = Encoding::kAnsi;
  std::size_t bom_ = 0;
  bool wide_ = false;
  std::size_t begin_ = 0, end_ = 0;
  std::size_t opaque_ = 0;  // UTF-8: from here to the end is one replacement character
};

// One line of the file, as positions. A line ends at its first CR LF, CR or LF; `next`
// is where the following line starts.
struct Line {
  enum Kind { kBlank, kSection, kEntry };
  Kind kind = kBlank;
  std::size_t begin = 0, end = 0, next = 0;
  std::size_t first = 0, last = 0;            // the line without blanks around it
  std::size_t nameBegin = 0, nameLength = 0;  // trimmed, cut at a NUL
  std::size_t nameEnd = 0;                    // entries: just past the trimmed name
  bool hasValue = false;
  std::size_t valueBegin = 0;  // trimmed; the value runs to `last` or a NUL (Value)
};

// The line that starts at `pos`, with its bounds only; Classify tells what it is.
Line ScanLine(const View& v, std::size_t pos) {
  Line l;
  l.begin = pos;
  l.end = v.LineEnd(pos);
  l.next = l.end;
  if (l.next < v.end())
    l.next += (v.At(l.next) == u'\r' && l.next + 1 < v.end() && v.At(l.next + 1) == u'\n') ? 2 : 1;
  std::size_t a = l.begin, b = l.end;
  while (a < b && IsBlank(v.At(a))) ++a;
  while (b > a && IsBlank(v.At(b - 1))) --b;
  l.first = a;
  l.last = b;
  l.kind = a == b ? Line::kBlank : Line::kEntry;
  return l;
}

// Only a line that starts with "[" can be a section line.
bool MaySection(const View& v, const Line& l) {
  return l.kind != Line::kBlank && v.At(l.first) == u'[';
}

std::size_t NulCut(const View& v, std::size_t from, std::size_t to) {
  return v.Seek(0, from, to) - from;
}

void Classify(const View& v, Line& l) {
  if (l.kind == Line::kBlank) return;
  const std::size_t a = l.first, b = l.last;
  auto setName = [&](std::size_t from, std::size_t to) {
    while (from < to && IsBlank(v.At(from))) ++from;
    while (to > from && IsBlank(v.At(to - 1))) --to;
    l.nameBegin = from;
    l.nameLength = NulCut(v, from, to);
    return to;
  };
  if (v.At(a) == u'[') {
    std::size_t close = b - 1;
    while (close > a && v.At(close) != u']') --close;
    if (close > a) {
      l.kind = Line::kSection;
      setName(a + 1, close);
      return;
    }
  }
  l.kind = Line::kEntry;
  const std::size_t eq = v.Seek(u'=', a, b);
  if (eq == b) {
    l.nameEnd = setName(a, b);
    return;
  }
  l.nameEnd = setName(a, eq);
  l.hasValue = true;
  std::size_t value = eq + 1;
  while (value < b && IsBlank(v.At(value))) ++value;
  l.valueBegin = value;
}

// The value's units; only the value asked for is ever decoded, or even searched for NUL.
std::u16string Value(const View& v, const Line& l) {
  return v.Units(l.valueBegin, l.valueBegin + NulCut(v, l.valueBegin, l.last));
}

bool NameIs(const View& v, const Line& l, std::u16string_view name) {
  const std::size_t end = l.nameBegin + l.nameLength;
  return v.MayHold(l.nameBegin, end, name.size()) && SameName(v.Units(l.nameBegin, end), name);
}

// What one pass over the file finds for a section and a key: the first section of the
// name (the only one a reader searches), the key's entries in it, and where new lines
// would go. The pass stops at the section's end, or at the key's first entry unless
// every entry is wanted: where the key is found, no line is added.
struct Search {
  bool sectionFound = false;
  std::vector<Line> entries;  // of the key, in the section, in file order
  // The last non-blank line of the section (its section line included), or of the whole
  // file when the section is missing.
  std::optional<Line> lastLine;
};

enum class Want { kFirstEntry, kEveryEntry };

Search Find(const View& v, std::u16string_view section, std::u16string_view key, Want want) {
  Search s;
  // Lines before the first section line form the section "".
  bool inside = section.empty();
  s.sectionFound = inside;
  for (std::size_t pos = v.begin(); pos < v.end();) {
    Line l = ScanLine(v, pos);
    pos = l.next;
    if (MaySection(v, l)) Classify(v, l);
    if (inside) {
      if (l.kind == Line::kSection) break;
      if (l.kind == Line::kBlank) continue;
      s.lastLine = l;
      Classify(v, l);
      if (!NameIs(v, l, key)) continue;
      s.entries.push_back(l);
      if (want == Want::kFirstEntry) break;
    } else if (l.kind == Line::kSection && NameIs(v, l, section)) {
      inside = s.sectionFound = true;
      s.lastLine = l;
    } else if (l.kind != Line::kBlank) {
      s.lastLine = l;
    }
  }
  return s;
}

// A replacement of the bytes [at, at + length) of the file; no bytes when the code page
// could not encode them.
struct Splice {
  std::size_t at, length;
  std::optional<std::string> bytes;
};

// New lines go after `after`, the last non-blank line of where they belong, or at the
// start of the file's text when there is none; a last line without a line break gets
// one first.
Splice InsertLines(const View& v, const std::optional<Line>& after, std::u16string_view lines) {
  if (!after) return {v.Raw(v.begin()), 0, v.Encode(lines)};
  std::u16string text = after->next == after->end ? u"\r\n" : u"";
  text += lines;
  return {v.Raw(after->next), 0, v.Encode(text)};
}

// Makes the splices inside the file's own buffer, from the last to the first, so that
// each one's offsets still hold.
void ApplySplices(std::string& bytes, std::vector<Splice> splices) {
  const bool wasAnsi = DetectEncoding(bytes).first == Encoding::kAnsi;
  std::sort(splices.begin(), splices.end(),
            [](const Splice& a, const Splice& b) { return a.at > b.at; });
  for (const Splice& s : splices) bytes.replace(s.at, s.length, s.bytes.value_or(""));
  // An ANSI file whose first line went, or got a new line before it, may now begin with
  // bytes that read as a byte-order mark ("ï»¿" is the UTF-8 one), and every later read
  // would decode the whole file differently. A blank line first keeps it ANSI.
  if (wasAnsi && DetectEncoding(bytes).first != Encoding::kAnsi) bytes.insert(0, "\r\n");
}

// A value as the file will hold it: what a read of a raw write would give back for this
// key (leading blanks and line breaks skipped, then the first line), without the stray
// lines that a raw write would leave behind.
std::u16string StoredValue(std::u16string_view v) {
  while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
  const auto lineBreak = std::find_if(v.begin(), v.end(), IsBreak);
  v = v.substr(0, static_cast<std::size_t>(lineBreak - v.begin()));
  while (!v.empty() && IsBlank(v.back())) v.remove_suffix(1);
  return std::u16string(v);
}

// The longest start of `bytes` that is whole characters of the code page and no longer
// than `most` bytes.
std::string_view CutBytes(std::string_view bytes, std::size_t most, const CodePage& codePage) {
  if (bytes.size() <= most) return bytes;
  std::size_t end = 0;  // below `most`, so inside `bytes`
  for (;;) {
    const auto b = static_cast<unsigned char>(bytes[end]);
    const std::size_t length = codePage.IsUtf8()        ? (b >= 0xF0   ? 4
                                                           : b >= 0xE0 ? 3
                                                           : b >= 0xC0 ? 2
                                                                       : 1)
                               : codePage.IsLeadByte(b) ? 2
                                                        : 1;
    if (end + length > most) return bytes.substr(0, end);
    end += length;
  }
}

// A name that would not read back as itself once written, or would split the line.
bool UnsafeSectionName(std::u16string_view name) {
  return std::any_of(name.begin(), name.end(), IsBreak);
}
bool UnsafeKeyName(std::u16string_view key) {
  return std::any_of(key.begin(), key.end(), [](char16_t c) { return IsBreak(c) || c == u'='; }) ||
         (!key.empty() && key.front() == u'[');
}

}  // namespace

std::string ReadValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                      const CodePage& codePage) {
  const std::optional<std::u16string> sectionName = FromCaller(section, codePage);
  const std::optional<std::u16string> keyName = FromCaller(key, codePage);
  if (!sectionName || !keyName) return {};
  const View v(fileBytes, codePage);
  const Search s = Find(v, Trim(*sectionName), Trim(*keyName), Want::kFirstEntry);
  if (s.entries.empty() || !s.entries[0].hasValue) return {};
  const Line& l = s.entries[0];
  const std::u16string all = Value(v, l);
  std::u16string_view value = all;
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  // What the caller gets is what the "A" function would hand over: the value in the ANSI
  // code page, at most kMaxValueLength characters and as many bytes.
  const std::optional<std::string> bytes = codePage.FromUtf16(value.substr(0, kMaxValueLength));
  if (!bytes) return {};
  return codePage.ToUtf8(CutBytes(*bytes, kMaxValueLength, codePage));
}

std::size_t EditRoom(std::string_view section, std::string_view key, std::string_view value) {
  // Names and values come out of the ANSI code page no longer than the caller's UTF-8, or
  // twice that in a UTF-16 file; the rest is brackets, "=" and line breaks.
  return 2 * (section.size() + key.size() + value.size()) + 32;
}

EditResult EditValue(std::string& fileBytes, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value, const CodePage& codePage) {
  const std::optional<std::u16string> sectionGiven = FromCaller(section, codePage);
  const std::optional<std::u16string> keyGiven = FromCaller(key, codePage);
  const std::optional<std::u16string> valueGiven =
      value ? FromCaller(*value, codePage) : std::u16string();
  if (!sectionGiven || !keyGiven || !valueGiven) return EditResult::kNotEncodable;
  const std::u16string sectionName(Trim(*sectionGiven));
  const std::u16string keyName(Trim(*keyGiven));
  if (UnsafeSectionName(sectionName) || UnsafeKeyName(keyName)) return EditResult::kNoChange;

  std::vector<Splice> splices;
  {
    const View v(fileBytes, codePage);
    if (!value) {
      const Search s = Find(v, sectionName, keyName, Want::kEveryEntry);
      // Every entry of the name goes, not only the first: with only the first removed, a
      // duplicate further down (a hand-edited file) would become the value read.
      for (const Line& l : s.entries)
        splices.push_back({v.Raw(l.begin), v.Raw(l.next) - v.Raw(l.begin), std::string()});
      if (splices.empty()) return EditResult::kNoChange;
    } else {
      const std::u16string stored = StoredValue(*valueGiven);
      const Search s = Find(v, sectionName, keyName, Want::kFirstEntry);
      if (!s.sectionFound) {
        splices.push_back(InsertLines(
            v, s.lastLine, u"[" + sectionName + u"]\r\n" + keyName + u"=" + stored + u"\r\n"));
      } else if (!s.entries.empty()) {
        // The name keeps the spelling it has on disk; only "=" and the value are new.
        const Line& l = s.entries[0];
        if (l.hasValue && Value(v, l) == stored) return EditResult::kNoChange;
        splices.push_back(
            {v.Raw(l.nameEnd), v.Raw(l.end) - v.Raw(l.nameEnd), v.Encode(u"=" + stored)});
      } else {
        splices.push_back(InsertLines(v, s.lastLine, keyName + u"=" + stored + u"\r\n"));
      }
    }
  }
  for (const Splice& s : splices)
    if (!s.bytes) return EditResult::kNotEncodable;
  ApplySplices(fileBytes, std::move(splices));
  return EditResult::kChanged;
}

std::optional<std::string> WriteValue(std::string_view fileBytes, std::string_view section,
                                      std::string_view key, std::optional<std::string_view> value,
                                      const CodePage& codePage) {
  std::string bytes(fileBytes);
  if (EditValue(bytes, section, key, value, codePage) != EditResult::kChanged) return std::nullopt;
  return bytes;
}

}  // namespace loafix::ini
