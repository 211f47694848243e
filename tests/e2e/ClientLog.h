// What the stand-in client received, read from its log file while it runs. Each line
// is stamped with the moment this process first saw it (the log is polled every few
// milliseconds), which is close enough to tell "a second apart" from "at once".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace loafix::e2e {

// A log line as a person would read it in a failure report: the hex of a chat line
// or keyword shown as its text (UTF-8), with the markup left in.
std::string Readable(const std::string& line);

class ClientLog {
 public:
  struct Entry {
    std::string line;
    double seen = 0;  // winetest::Now() when it was first read
  };

  explicit ClientLog(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // Reads what the client appended since the last look.
  void poll();
  // Everything read so far; the position after it is a mark for since().
  const std::vector<Entry>& entries() {
    poll();
    return entries_;
  }
  std::size_t mark() { return entries().size(); }
  std::vector<Entry> since(std::size_t mark);
  std::vector<std::string> linesSince(std::size_t mark);

  // Waits until at least `count` lines follow `mark`; false after `seconds`.
  bool waitForLines(std::size_t mark, std::size_t count, double seconds);
  // Waits until a line equal to `line` follows `mark`.
  bool waitFor(std::size_t mark, const std::string& line, double seconds);
  // Only the lines the room received ("chat ..."), as bytes, after `mark`.
  std::vector<Entry> chatSince(std::size_t mark);

 private:
  std::string path_;
  std::string partial_;  // an unfinished last line
  unsigned long long offset_ = 0;
  std::vector<Entry> entries_;
};

// "chat <hex>" for a line in the room's bytes.
std::string ChatEntry(std::string_view ansiLine);

}  // namespace loafix::e2e
