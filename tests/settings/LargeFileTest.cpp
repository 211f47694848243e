// A settings file that has grown large (years of a tool's junk appended to it): a read or
// a write keeps the file in memory once, whatever the layout, and every byte that is not
// the setting's own stays as it was. The memory a call takes is counted at the allocator.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <random>

#include "settings/SettingsStore.h"
#include "tests/settings/TestFiles.h"

namespace {

std::atomic<std::size_t> liveBytes{0}, peakBytes{0};

void* Take(std::size_t size) {
  auto* block = static_cast<std::size_t*>(std::malloc(size + 16));
  if (!block) throw std::bad_alloc();
  *block = size;
  const std::size_t now = liveBytes += size;
  std::size_t peak = peakBytes;
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
  return reinterpret_cast<char*>(block) + 16;
}

void Give(void* p) noexcept {
  if (!p) return;
  auto* block = reinterpret_cast<std::size_t*>(static_cast<char*>(p) - 16);
  liveBytes -= *block;
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
  return Take(size);
}
void* operator new[](std::size_t size) {
  return Take(size);
}
void operator delete(void* p) noexcept {
  Give(p);
}
void operator delete[](void* p) noexcept {
  Give(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Give(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Give(p);
}

namespace loafix {
namespace {

namespace fs = std::filesystem;
using test::Slurp;

// Most bytes the call had allocated at once.
template <class Call>
std::size_t PeakOf(Call call) {
  const std::size_t before = liveBytes;
  peakBytes = before;
  call();
  return peakBytes - before;
}

// About `bytes` of what tools leave behind: entries, comments, blank lines, binary
// bytes, and section lines of their own if `sections`.
std::string Junk(std::size_t bytes, bool sections) {
  std::mt19937 random(11);
  std::string junk;
  junk.reserve(bytes + 200);
  while (junk.size() < bytes) {
    switch (random() % 8) {
      case 0:
        if (sections) junk += "[cache " + std::to_string(random()) + "]\r\n";
        break;
      case 1:
        junk += "; written by a tool\r\n\r\n";
        break;
      case 2:
        junk += std::string(1 + random() % 60, static_cast<char>(0x80 + random() % 0x7F)) + "\n";
        break;
      default:
        junk += "key" + std::to_string(random()) + "=" + std::string(random() % 80, 'v') + "\r\n";
    }
  }
  return junk + "last=1\r\n";
}

TEST(LargeSettingsFile, AReadAndAWriteKeepTheFileInMemoryOnce) {
  const fs::path folder =
      fs::temp_directory_path() / ("loafix-large-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  const fs::path file = folder / "loafix.ini";
  const std::string ours = "[idle info]\r\nINTERVAL=60\r\nAIM SN=Alice\r\n";
  const std::string junk = "[cache]\r\n" + Junk(8 << 20, true);
  const std::string entries = Junk(8 << 20, false);
  struct Row {
    const char* what;
    std::string before;
    std::string after;  // once "reason" is written
  };
  const Row rows[] = {
      {"junk after our section, under other sections", ours + junk,
       ours + "REASON=lunch\r\n" + junk},
      {"our section after the junk", junk + ours, junk + ours + "REASON=lunch\r\n"},
      {"junk appended inside our section", ours + entries, ours + entries + "REASON=lunch\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::ofstream(file, std::ios::binary) << row.before;
    const std::size_t size = row.before.size();
    SettingsStore store(folder.string());
    std::string read;
    EXPECT_LE(PeakOf([&] { read = store.GetFromINI(kSection, "aim sn", kIniLower); }),
              size + size / 10);
    EXPECT_EQ(read, "Alice");
    bool written = false;
    EXPECT_LE(PeakOf([&] { written = store.WriteToINI(kSection, "reason", "lunch", kIniUpper); }),
              size + size / 10);
    EXPECT_TRUE(written);
    EXPECT_TRUE(Slurp(file) == row.after);
    EXPECT_EQ(store.GetFromINI(kSection, "reason", kIniLower), "lunch");
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace loafix
