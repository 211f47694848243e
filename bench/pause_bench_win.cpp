// A long Pause on the real Win32 host: what it costs in CPU, with nothing else going
// on and with a 100 ms timer ticking through it. Under Wine the wineserver does work
// for every message call, so its CPU is counted too when its process id is given.
//
//   pause_bench.exe [seconds] [wineserver-pid] [clock-ticks-per-second]
#include "bench/CpuSampling_win.h"
#include "client/clientkit.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32WindowSystem.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using loafix::bench::CpuSince;
using loafix::bench::Wineserver;

struct Run {
  double wall, cpu, server;
  int ticks;
};

Run Measure(loafix::win32::Win32Host& host, int seconds, bool withTimer, Wineserver server) {
  int ticks = 0;
  const loafix::TimerId timer = host.createTimer([&] { ++ticks; });
  if (withTimer) host.setTimer(timer, true, 100);
  const CpuSince cpu(server);
  const double wall0 = host.now();
  loafix::Pause(host, seconds);
  const Run run{host.now() - wall0, cpu.program(), cpu.server(), ticks};
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
  const Wineserver server{argc > 2 ? std::atol(argv[2]) : 0, argc > 3 ? std::atof(argv[3]) : 100};
  loafix::win32::Win32WindowSystem windows;
  loafix::win32::Win32Host host(GetModuleHandleA(nullptr), windows);

  Report(("pause " + std::to_string(seconds) + " s, idle:").c_str(),
         Measure(host, seconds, false, server));
  Report(("pause " + std::to_string(seconds) + " s, 100 ms timer:").c_str(),
         Measure(host, seconds, true, server));

  // For comparison, and as a check that the measurement sees CPU at all: the loop
  // the pause would be without waiting, for one second.
  const CpuSince cpu(server);
  const double wall0 = host.now();
  while (host.now() - wall0 < 1) host.processEvents();
  const Run busy{host.now() - wall0, cpu.program(), cpu.server(), 0};
  Report("busy loop 1 s, for scale:", busy);
  return 0;
}
