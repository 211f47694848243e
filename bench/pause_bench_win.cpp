// A long Pause on the real Win32 host: what it costs in CPU, with nothing else going
// on and with a 100 ms timer ticking through it. Under Wine the wineserver does work
// for every message call, so its CPU is counted too when its process id is given.
//
//   pause_bench.exe [seconds] [wineserver-pid] [clock-ticks-per-second]
#include "client/clientkit.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32WindowSystem.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

double ProcessCpu() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME f) {
    return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

// User plus system time of a Linux process, read through Wine's Z: drive; -1 when
// it cannot be read.
double LinuxProcessCpu(long pid, double ticksPerSecond) {
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

struct Run {
  double wall, cpu, server;
  int ticks;
};

Run Measure(loafix::win32::Win32Host& host, int seconds, bool withTimer, long serverPid,
            double ticksPerSecond) {
  int ticks = 0;
  const loafix::TimerId timer = host.createTimer([&] { ++ticks; });
  if (withTimer) host.setTimer(timer, true, 100);
  const double server0 = LinuxProcessCpu(serverPid, ticksPerSecond);
  const double cpu0 = ProcessCpu();
  const double wall0 = host.now();
  loafix::Pause(host, seconds);
  const Run run{host.now() - wall0, ProcessCpu() - cpu0,
                server0 < 0 ? -1 : LinuxProcessCpu(serverPid, ticksPerSecond) - server0, ticks};
  host.setTimer(timer, false, 0);
  return run;
}

void Report(const char* what, const Run& run) {
  std::printf("%-28s wall %6.2f s  program CPU %.3f s (%.2f %% of a core)", what, run.wall, run.cpu,
              100 * run.cpu / run.wall);
  if (run.server >= 0)
    std::printf("  wineserver CPU %.3f s (%.2f %%)", run.server, 100 * run.server / run.wall);
  if (run.ticks > 0) std::printf("  %d ticks", run.ticks);
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
  const long serverPid = argc > 2 ? std::atol(argv[2]) : 0;
  const double ticksPerSecond = argc > 3 ? std::atof(argv[3]) : 100;
  loafix::win32::Win32WindowSystem windows;
  loafix::win32::Win32Host host(GetModuleHandleA(nullptr), windows);

  Report(("pause " + std::to_string(seconds) + " s, idle:").c_str(),
         Measure(host, seconds, false, serverPid, ticksPerSecond));
  Report(("pause " + std::to_string(seconds) + " s, 100 ms timer:").c_str(),
         Measure(host, seconds, true, serverPid, ticksPerSecond));

  // For comparison, and as a check that the measurement sees CPU at all: the loop
  // the pause would be without waiting, for one second.
  const double server0 = LinuxProcessCpu(serverPid, ticksPerSecond);
  const double cpu0 = ProcessCpu(), wall0 = host.now();
  while (host.now() - wall0 < 1) host.processEvents();
  const Run busy{host.now() - wall0, ProcessCpu() - cpu0,
                 server0 < 0 ? -1 : LinuxProcessCpu(serverPid, ticksPerSecond) - server0, 0};
  Report("busy loop 1 s, for scale:", busy);
  return 0;
}
