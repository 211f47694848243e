// The rules of events and time, decided once for every backend: the program's timers,
// when their ticks may start, the pop-up menu that holds them back, and each handler
// run as one client operation. Time is an input: the core never reads a clock. The
// Win32 host aims one window-system timer at nextDue() and turns its wake-up into
// runDue(); the simulated host drives the same core from its virtual clock.
//
// Timer rules:
//  * Setting a timer (enabling it or changing its interval) restarts its countdown at
//    the moment of the call, as Win32's SetTimer does; interval 0 stops it.
//  * After that it comes due every interval from the moment it last came due.
//  * A tick never starts while a tick of the same timer runs (inside its pauses), and
//    never inside the pop-up menu's own loop. A tick held back that way starts as
//    soon as it may; the ticks it missed meanwhile are not made up.
//  * A timer re-armed inside its own running tick wakes nothing until the tick has
//    returned: nextDue() leaves out every timer whose tick runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/FormSpec.h"
#include "core/WindowSystem.h"

namespace loafix {

using TimerId = int;
// Moments and spans in microseconds of the host's monotonic clock.
using Micros = std::int64_t;

class EventCore {
 public:
  // `ws`: the window system whose sends each handler's client operation covers.
  explicit EventCore(WindowSystem& ws) : ws_(ws) {}

  // ---- timers ----
  TimerId createTimer(Handler onTick);
  void setTimer(TimerId timer, bool enabled, int intervalMs, Micros now);
  // The earliest moment at which a tick may start; nothing while no timer can tick
  // (all stopped, all running, or the menu open).
  std::optional<Micros> nextDue() const;
  // Starts every tick due at `now`, earliest first, each run to its end (events nested
  // in its pauses included). Only what is due at the call: a tick that outlasts its
  // interval does not keep this from returning. Returns how many ticks ran.
  int runDue(Micros now);
  // Starts the one tick due by `dueBy` that came due first, if any; `now` is the
  // moment it starts. Returns whether one ran.
  bool runOneDue(Micros dueBy, Micros now);

  // ---- the pop-up menu ----
  // While the menu is open no tick starts; what comes due waits for it to close.
  void menuOpened();
  void menuClosed(Micros now);
  bool menuOpen() const { return menuOpen_; }
  // When the menu last closed; 0 if it never opened.
  Micros menuClosedAt() const { return menuClosedAt_; }

  // ---- handlers ----
  // Runs an event's handler as one client operation (see WindowSystem::Operation),
  // finished once the handler has returned.
  void run(const Handler& handler);

  // Told whenever nextDue() may have changed, so a backend can re-aim its wake-up.
  std::function<void()> onScheduleChanged;

  // ---- what a test or a benchmark looks at ----
  bool timerEnabled(TimerId timer) const;
  int timerInterval(TimerId timer) const;
  bool tickRunning(TimerId timer) const;
  int ticksStarted(TimerId timer) const;
  // The most ticks of one timer ever running at once; the rules keep it at 1.
  int mostTicksAtOnce(TimerId timer) const;

 private:
  struct Timer {
    Handler onTick;
    bool enabled = false;
    int interval = 0;
    Micros due = 0;
    bool running = false;
    int started = 0;
    int active = 0;
    int mostActive = 0;
  };

  const Timer& timer(TimerId id) const { return timers_.at(static_cast<std::size_t>(id)); }
  bool mayStart(const Timer& t) const { return t.enabled && !t.running && !menuOpen_; }
  void changed() {
    if (onScheduleChanged) onScheduleChanged();
  }
  void tick(std::size_t index, Micros now);

  WindowSystem& ws_;
  std::vector<Timer> timers_;
  bool menuOpen_ = false;
  Micros menuClosedAt_ = 0;
};

}  // namespace loafix
