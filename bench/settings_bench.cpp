// The settings store on a large settings file (a person's or a tool's junk appended over
// years): the time of one read and one write, and the memory they take at most. Natively
// and, built for Windows, under Wine, where "a command" is what an option prompt costs
// the person beyond their typing: the read of its default and the write of the answer.
//   settings_bench [megabytes]   (20 when not given)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#endif

namespace {

namespace fs = std::filesystem;
using loafix::kIniLower;
using loafix::kIniUpper;
using loafix::kSection;
using loafix::SettingsStore;

// Resident memory now and at most since the last reset, in MB.
struct Memory {
  double now = 0, peak = 0;
};

#ifdef _WIN32
Memory Measure() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return {counters.WorkingSetSize / 1048576.0, counters.PeakWorkingSetSize / 1048576.0};
}
// Windows keeps no resettable peak: phases are measured in the order reads, then writes,
// and each figure is the peak so far.
void ResetPeak() {}
#else
Memory Measure() {
  std::ifstream status("/proc/self/status");
  Memory m;
  std::string line;
  while (std::getline(status, line)) {
    const double kb = std::atof(line.c_str() + line.find(':') + 1);
    if (line.rfind("VmRSS:", 0) == 0) m.now = kb / 1024;
    if (line.rfind("VmHWM:", 0) == 0) m.peak = kb / 1024;
  }
  return m;
}
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}
#endif

// About `bytes` of a tool's entries, under section lines of its own if `sections`.
void Junk(std::ostream& out, std::size_t bytes, bool sections) {
  std::mt19937 random(7);
  std::string line;
  for (std::size_t written = 0; written < bytes; written += line.size()) {
    line.clear();
    if (sections && random() % 50 == 0) line += "[cache " + std::to_string(random()) + "]\r\n";
    line += "key" + std::to_string(random()) + "=" + std::string(random() % 80, 'v') + "\r\n";
    out << line;
  }
}

double Millis(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

template <class Call>
std::vector<double> Time(int runs, Call call) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    call(i);
    ms.push_back(Millis(std::chrono::steady_clock::now() - start));
  }
  std::sort(ms.begin(), ms.end());
  return ms;
}

void Report(const char* what, const std::vector<double>& ms) {
  std::printf("  %-44s median %7.1f ms   slowest %7.1f ms\n", what, ms[ms.size() / 2], ms.back());
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 20;
  const fs::path folder = fs::temp_directory_path() /
                          ("loafix-settings-bench-" + std::to_string(std::random_device{}()));
  fs::create_directories(folder);
  const fs::path file = folder / "loafix.ini";
  const std::string ours = "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\nREASON=lunch\r\n";
  const std::size_t size = megabytes << 20;
  struct Layout {
    const char* what;
    void (*write)(std::ostream& out, const std::string& ours, std::size_t size);
  };
  // Written straight to the file: only the file holds the bytes while the store is measured.
  const Layout layouts[] = {
      {"our section first, junk after it",
       [](std::ostream& out, const std::string& ours, std::size_t size) {
         out << ours << "[junk]\r\n";
         Junk(out, size, true);
       }},
      {"junk first, our section last",
       [](std::ostream& out, const std::string& ours, std::size_t size) {
         Junk(out, size, true);
         out << ours;
       }},
      {"junk appended inside our section",
       [](std::ostream& out, const std::string& ours, std::size_t size) {
         out << ours;
         Junk(out, size, false);
       }},
  };
  SettingsStore store(folder.string());
  std::printf("settings file of %zu MB; resident at start %.1f MB\n", megabytes, Measure().now);
  for (const Layout& layout : layouts) {
    {
      std::ofstream out(file, std::ios::binary);
      layout.write(out, ours, size);
    }
    std::printf("%s (%.1f MB)\n", layout.what, fs::file_size(file) / 1048576.0);
    ResetPeak();
    const Memory before = Measure();
    Report("read one key", Time(9, [&](int) {
             if (store.GetFromINI(kSection, "reason", kIniLower) != "lunch") std::abort();
           }));
    Report("read a key that is not there", Time(9, [&](int) {
             if (!store.GetFromINI(kSection, "aim sn", kIniLower).empty()) std::abort();
           }));
    const Memory afterReads = Measure();
    ResetPeak();
    Report("write one key", Time(9, [&](int i) {
             store.WriteToINI(kSection, "reason", "lunch " + std::to_string(i), kIniUpper);
           }));
    const Memory afterWrites = Measure();
    Report("a command: read its default, write the answer", Time(9, [&](int i) {
             const std::string old = store.GetFromINI(kSection, "reason", kIniUpper);
             store.WriteToINI(kSection, "reason", old.substr(0, 5) + std::to_string(i), kIniUpper);
           }));
    Report("start-up: write interval and glyph", Time(6, [&](int i) {
             store.WriteToINI(kSection, "interval", i % 2 ? "60" : "45.", kIniUpper);
             store.WriteToINI(kSection, "ascii", i % 2 ? "\xC2\xAC" : "*", kIniUpper);
           }));
    std::printf("  peak resident: reads %.1f MB, writes %.1f MB (%.1f MB before them)\n",
                afterReads.peak, afterWrites.peak, before.now);
  }
  fs::remove_all(folder);
  return 0;
}
