// SendIM waiting its full 30 s for a client that never answers, on the real Win32
// backends: how much CPU the wait costs, and that the program's events keep running
// (a 100 ms timer ticks through it). Under Wine the wineserver does work for every
// window lookup, so its CPU is counted too when its Linux process id is given.
//
//   sendim_cpu.exe [wineserver-pid] [clock-ticks-per-second]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "client/InstantMessages.h"
#include "client/clientkit.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32WindowSystem.h"

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

// User plus system time of a Linux process, read through Wine's Z: drive; -1 when it
// cannot be read.
double LinuxProcessCpu(long pid, double ticksPerSecond) {
  if (pid <= 0) return -1;
  std::ifstream in("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  std::string stat;
  if (!std::getline(in, stat)) return -1;
  // After the command name (which may hold blanks): utime and stime are fields 14, 15.
  std::istringstream rest(stat.substr(stat.rfind(')') + 2));
  std::string field;
  double utime = 0, stime = 0;
  for (int index = 3; index <= 15 && rest >> field; ++index) {
    if (index == 14) utime = std::atof(field.c_str());
    if (index == 15) stime = std::atof(field.c_str());
  }
  return (utime + stime) / ticksPerSecond;
}

}  // namespace

int main(int argc, char** argv) {
  const long serverPid = argc > 1 ? std::atol(argv[1]) : 0;
  const double ticksPerSecond = argc > 2 ? std::atof(argv[2]) : 100;
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

  const double server0 = LinuxProcessCpu(serverPid, ticksPerSecond);
  const double cpu0 = ProcessCpu();
  const double wall0 = host.now();
  loafix::SendIM(ws, host, "nobody", "hello?");
  const double wall = host.now() - wall0;
  const double cpu = ProcessCpu() - cpu0;
  const double server = server0 < 0 ? -1 : LinuxProcessCpu(serverPid, ticksPerSecond) - server0;
  host.setTimer(timer, false, 0);

  std::printf("SendIM, no client: gave up after %.2f s; program CPU %.3f s (%.2f %% of a core)",
              wall, cpu, 100 * cpu / wall);
  if (server >= 0) std::printf("; wineserver CPU %.3f s (%.2f %%)", server, 100 * server / wall);
  std::printf("; %d timer ticks of 100 ms meanwhile\n", ticks);
  return 0;
}
