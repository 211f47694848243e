#include "core/EventCore.h"

#include <algorithm>
#include <cassert>

namespace loafix {

TimerId EventCore::createTimer(Handler onTick) {
  Timer t;
  t.onTick = std::move(onTick);
  timers_.push_back(std::move(t));
  return static_cast<TimerId>(timers_.size() - 1);
}

void EventCore::setTimer(TimerId id, bool enabled, int intervalMs, Micros now) {
  Timer& t = timers_.at(static_cast<std::size_t>(id));
  t.enabled = enabled && intervalMs > 0;
  t.interval = intervalMs;
  t.due = now + static_cast<Micros>(std::max(intervalMs, 0)) * 1000;
  changed();
}

std::optional<Micros> EventCore::nextDue() const {
  std::optional<Micros> next;
  for (const Timer& t : timers_)
    if (mayStart(t) && (!next || t.due < *next)) next = t.due;
  return next;
}

void EventCore::tick(std::size_t index, Micros now) {
  Timer& t = timers_[index];
  // Periodic from the moment it came due; a tick held back for longer than one
  // interval starts a fresh countdown instead of making up what it missed.
  const Micros interval = static_cast<Micros>(t.interval) * 1000;
  t.due = t.due + interval > now ? t.due + interval : now + interval;
  t.running = true;
  ++t.started;
  t.mostActive = std::max(t.mostActive, ++t.active);
  changed();
  // A copy: the tick may create timers (the vector may move) or re-arm this one.
  const Handler onTick = t.onTick;
  struct Done {
    EventCore& core;
    std::size_t index;
    ~Done() {
      Timer& t = core.timers_[index];
      t.running = false;
      --t.active;
      core.changed();
    }
  } done{*this, index};
  run(onTick);
}

bool EventCore::runOneDue(Micros dueBy, Micros now) {
  std::size_t best = timers_.size();
  for (std::size_t i = 0; i < timers_.size(); ++i) {
    const Timer& t = timers_[i];
    if (!mayStart(t) || t.due > dueBy) continue;
    if (best == timers_.size() || t.due < timers_[best].due) best = i;
  }
  if (best == timers_.size()) return false;
  tick(best, now);
  return true;
}

int EventCore::runDue(Micros now) {
  // Only what was due when the call began: a tick longer than its interval is due
  // again when it returns, and must wait for the next call.
  int ran = 0;
  while (runOneDue(now, now)) ++ran;
  return ran;
}

void EventCore::menuOpened() {
  assert(!menuOpen_ && "only one pop-up menu is open at a time");
  menuOpen_ = true;
  changed();
}

void EventCore::menuClosed(Micros now) {
  menuOpen_ = false;
  menuClosedAt_ = now;
  changed();
}

void EventCore::run(const Handler& handler) {
  if (!handler) return;
  WindowSystem::Operation operation(ws_);
  handler();
  operation.finish();
}

bool EventCore::timerEnabled(TimerId id) const { return timer(id).enabled; }

int EventCore::timerInterval(TimerId id) const { return timer(id).interval; }

bool EventCore::tickRunning(TimerId id) const { return timer(id).running; }

int EventCore::ticksStarted(TimerId id) const { return timer(id).started; }

int EventCore::mostTicksAtOnce(TimerId id) const { return timer(id).mostActive; }

}  // namespace loafix
