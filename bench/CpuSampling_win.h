// CPU time under Wine, for the benchmarks and the test that a pause waits rather than
// spins: this process's own, from the platform, and the wineserver's, which does work
// for every message call and window lookup, read from Linux's /proc through Wine's Z:
// drive.
#pragma once

#include "platform/win32/Win32.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace loafix::bench {

// Kernel plus user time of this process, in seconds.
inline double ProcessCpu() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

// User plus system time of a Linux process, in seconds; -1 when it cannot be read.
inline double LinuxProcessCpu(long pid, double ticksPerSecond) {
  if (pid <= 0) return -1;
  std::ifstream in("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  std::string stat;
  if (!std::getline(in, stat)) return -1;
  // Fields after the command name (which may hold blanks): state is field 3, utime
  // and stime are fields 14 and 15.
  std::istringstream rest(stat.substr(stat.rfind(')') + 2));
  std::string field;
  double utime = 0, stime = 0;
  for (int index = 3; index <= 15 && rest >> field; ++index) {
    if (index == 14) utime = std::atof(field.c_str());
    if (index == 15) stime = std::atof(field.c_str());
  }
  return (utime + stime) / ticksPerSecond;
}

// The wineserver's Linux process id (0 when it is not counted) and the clock ticks a
// second in which /proc gives its times.
struct Wineserver {
  long pid = 0;
  double ticksPerSecond = 100;
};

// The CPU used from the moment it is made. The wineserver is read outside the program's
// span (first here, and after program() by the callers), so that reading /proc does not
// count as the program's CPU.
class CpuSince {
 public:
  explicit CpuSince(Wineserver server)
      : server_(server), server0_(serverCpu()), program0_(ProcessCpu()) {}

  double program() const { return ProcessCpu() - program0_; }
  // -1 when the wineserver's times cannot be read.
  double server() const { return server0_ < 0 ? -1 : serverCpu() - server0_; }

 private:
  double serverCpu() const { return LinuxProcessCpu(server_.pid, server_.ticksPerSecond); }

  Wineserver server_;
  double server0_, program0_;
};

}  // namespace loafix::bench
