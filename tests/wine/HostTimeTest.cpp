// The Win32 host's time and events: the clock the pause runs on, waiting that wakes
// for a message, timers whose tick never starts inside itself, and Pause on the real
// clock.
#include <algorithm>

#include "bench/CpuSampling_win.h"
#include "client/clientkit.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/wine/WineTest.h"

namespace loafix {
namespace {

using namespace winetest;

double LocalTimeOfDay() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

void ClockIsTheLocalTimeOfDay() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(GetModuleHandleA(nullptr), windows);
  double a = LocalTimeOfDay(), b = host.timeOfDay();
  double diff = b - a;
  if (diff > 43200) diff -= 86400;  // read on both sides of midnight
  if (diff < -43200) diff += 86400;
  WT_CHECK(diff > -0.05 && diff < 0.05);
  WT_CHECK(b >= 0 && b < 86400);

  // Finer than the millisecond clock and never going back between two readings.
  double previous = host.now(), smallestStep = 1;
  for (int i = 0; i < 10000; ++i) {
    const double t = host.now();
    WT_REQUIRE(t >= previous);
    if (t > previous && t - previous < smallestStep) smallestStep = t - previous;
    previous = t;
  }
  WT_CHECK(smallestStep < 0.001);
}

void WaitingWakesForAMessageAndOnlyThen() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(GetModuleHandleA(nullptr), windows);
  double start = host.now();
  host.waitForEvents(start + 0.2);
  const double quiet = host.now() - start;
  WT_CHECK(quiet >= 0.19 && quiet < 0.6);

  // A message posted from another thread ends the wait at once.
  const DWORD self = GetCurrentThreadId();
  Thread poster([self] {
    Sleep(50);
    PostThreadMessageA(self, WM_NULL, 0, 0);
  });
  start = host.now();
  host.waitForEvents(start + 5);
  const double woken = host.now() - start;
  poster.join();
  WT_CHECK(woken > 0.03 && woken < 1.0);
}

void TimerTickNeverReentersItself() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(GetModuleHandleA(nullptr), windows);
  int slowTicks = 0, depth = 0, deepest = 0, fastTicks = 0;
  TimerId slow = 0;
  slow = host.createTimer([&] {
    ++slowTicks;
    deepest = std::max(deepest, ++depth);
    if (slowTicks == 1) {
      // Like a tick that pauses: events keep running for 300 ms inside it, long
      // enough for this timer to come due many times over.
      const double end = host.now() + 0.3;
      while (host.now() < end) {
        host.processEvents();
        host.waitForEvents(end);
      }
    }
    --depth;
  });
  const TimerId fast = host.createTimer([&] { ++fastTicks; });
  host.setTimer(slow, true, 20);
  host.setTimer(fast, true, 25);

  const double end = host.now() + 0.6;
  while (host.now() < end) {
    host.processEvents();
    host.waitForEvents(end);
  }
  WT_CHECK_EQ(deepest, 1);
  WT_CHECK(slowTicks >= 3);   // it goes on ticking once the long tick has returned
  WT_CHECK(fastTicks >= 10);  // other timers tick meanwhile

  // Disabled, and interval 0, both stop it.
  host.setTimer(slow, false, 20);
  host.setTimer(fast, true, 0);
  const int slowBefore = slowTicks, fastBefore = fastTicks;
  const double quiet = host.now() + 0.2;
  while (host.now() < quiet) {
    host.processEvents();
    host.waitForEvents(quiet);
  }
  WT_CHECK_EQ(slowTicks, slowBefore);
  WT_CHECK_EQ(fastTicks, fastBefore);
}

void ProcessEventsReturnsUnderABusyTimer() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(GetModuleHandleA(nullptr), windows);
  int ticks = 0;
  // Each tick lasts longer than the interval, so a tick is always due again.
  const TimerId busy = host.createTimer([&] {
    ++ticks;
    const double end = host.now() + 0.03;
    while (host.now() < end) {
    }
  });
  host.setTimer(busy, true, 10);
  Idle(0.05);
  const double start = host.now();
  host.processEvents();
  WT_CHECK(host.now() - start < 0.5);
  host.setTimer(busy, false, 0);
}

void PauseEndsOnTheWholeSecond() {
  win32::Win32WindowSystem windows;
  win32::Win32Host host(GetModuleHandleA(nullptr), windows);
  int ticks = 0;
  const TimerId timer = host.createTimer([&] { ++ticks; });
  host.setTimer(timer, true, 100);
  const double startOfDay = host.timeOfDay();
  const double start = host.now();
  const double cpu0 = bench::ProcessCpu();
  Pause(host, 1);
  const double cpu = bench::ProcessCpu() - cpu0;
  const double lasted = host.now() - start;
  const double endOfDay = host.timeOfDay();

  // It ends 1 s after the start rounded to the whole second: between 0.5 and 1.5 s.
  const double target = RoundHalfEven(startOfDay) + 1;
  double late = endOfDay - target;
  if (late < -43200) late += 86400;
  WT_CHECK(late >= 0 && late < 0.1);
  WT_CHECK(lasted > 0.45 && lasted < 1.6);
  WT_CHECK(ticks >= 3);  // the timer ticked during the pause
  WT_CHECK(cpu < 0.2 * lasted);  // waits, does not spin
}

}  // namespace
}  // namespace loafix

int main(int argc, char** argv) {
  return loafix::winetest::RunCases(argc, argv,
                                    {{"clock", &loafix::ClockIsTheLocalTimeOfDay},
                                     {"wait", &loafix::WaitingWakesForAMessageAndOnlyThen},
                                     {"timer-reentry", &loafix::TimerTickNeverReentersItself},
                                     {"busy-timer", &loafix::ProcessEventsReturnsUnderABusyTimer},
                                     {"pause", &loafix::PauseEndsOnTheWholeSecond}});
}
