#include "tests/e2e/ClientLog.h"

#include "clientsim/Hex.h"
#include "platform/win32/Win32Text.h"
#include "tests/wine/WineTest.h"

namespace loafix::e2e {

std::string Readable(const std::string& line) {
  // Every word after the first that is all hex digits is shown decoded.
  std::string out;
  std::size_t start = 0;
  bool first = true;
  while (start <= line.size()) {
    std::size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    const std::string word = line.substr(start, end - start);
    bool hex = !first && !word.empty() && word.size() % 2 == 0;
    for (char c : word) hex = hex && HexDigit(c) >= 0;
    if (!out.empty()) out += ' ';
    if (hex) {
      out += '"';
      out += win32::SystemCodePageToUtf8(Unhex(word));  // the client's code page is ours
      out += '"';
    } else {
      out += word;
    }
    first = false;
    start = end + 1;
  }
  return out;
}

std::string ChatEntry(std::string_view ansiLine) {
  return "chat " + Hex(ansiLine);
}

void ClientLog::poll() {
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(offset_);
  SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  char buffer[8192];
  DWORD got = 0;
  const double now = winetest::Now();
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    offset_ += got;
    partial_.append(buffer, got);
  }
  CloseHandle(file);
  std::size_t newline;
  while ((newline = partial_.find('\n')) != std::string::npos) {
    std::string line = partial_.substr(0, newline);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    entries_.push_back({std::move(line), now});
    partial_.erase(0, newline + 1);
  }
}

std::vector<ClientLog::Entry> ClientLog::since(std::size_t mark) {
  poll();
  if (mark >= entries_.size()) return {};
  return {entries_.begin() + static_cast<std::ptrdiff_t>(mark), entries_.end()};
}

std::vector<std::string> ClientLog::linesSince(std::size_t mark) {
  std::vector<std::string> lines;
  for (const Entry& e : since(mark)) lines.push_back(e.line);
  return lines;
}

bool ClientLog::waitForLines(std::size_t mark, std::size_t count, double seconds) {
  return winetest::WaitUntil([&] { return since(mark).size() >= count; }, seconds);
}

bool ClientLog::waitFor(std::size_t mark, const std::string& line, double seconds) {
  return winetest::WaitUntil(
      [&] {
        for (const Entry& e : since(mark))
          if (e.line == line) return true;
        return false;
      },
      seconds);
}

std::vector<ClientLog::Entry> ClientLog::chatSince(std::size_t mark) {
  std::vector<Entry> chat;
  for (const Entry& e : since(mark))
    if (e.line.rfind("chat ", 0) == 0) chat.push_back({Unhex(e.line.substr(5)), e.seen});
  return chat;
}

}  // namespace loafix::e2e
