// SendIM waiting its full 30 s for a client that never answers, on the real Win32
// backends: how much CPU the wait costs, and that the program's events keep running
// (a 100 ms timer ticks through it). Under Wine the wineserver does work for every
// window lookup, so its CPU is counted too when its Linux process id is given.
//
//   sendim_cpu.exe [wineserver-pid] [clock-ticks-per-second]
#include <cstdio>
#include <cstdlib>

#include "bench/CpuSampling_win.h"
#include "client/InstantMessages.h"
#include "client/clientkit.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32WindowSystem.h"

int main(int argc, char** argv) {
  const loafix::bench::Wineserver server{argc > 1 ? std::atol(argv[1]) : 0,
                                         argc > 2 ? std::atof(argv[2]) : 100};
  loafix::win32::Win32WindowSystem windows;
  loafix::win32::Win32Host host(GetModuleHandleA(nullptr), windows);
  loafix::win32::Win32WindowSystem ws;

  if (ws.FindWindowA(loafix::kFrameClass) != 0) {
    std::fprintf(stderr, "a client is running; this measures the wait for one that is not\n");
    return 1;
  }
  int ticks = 0;
  const loafix::TimerId timer = host.createTimer([&] { ++ticks; });
  host.setTimer(timer, true, 100);

  const loafix::bench::CpuSince used(server);
  const double wall0 = host.now();
  loafix::SendIM(ws, host, "nobody", "hello?");
  const double wall = host.now() - wall0;
  const double cpu = used.program();
  const double serverCpu = used.server();
  host.setTimer(timer, false, 0);

  std::printf("SendIM, no client: gave up after %.2f s; program CPU %.3f s (%.2f %% of a core)",
              wall, cpu, 100 * cpu / wall);
  if (serverCpu >= 0)
    std::printf("; wineserver CPU %.3f s (%.2f %%)", serverCpu, 100 * serverCpu / wall);
  std::printf("; %d timer ticks of 100 ms meanwhile\n", ticks);
  return 0;
}
