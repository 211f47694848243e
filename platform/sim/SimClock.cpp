#include "platform/sim/SimClock.h"

namespace loafix::sim {

SimClock::SimClock(double startTimeOfDay) : dayOffset_(ToMicros(startTimeOfDay)) {}

double SimClock::timeOfDay() const {
  Micros tod = (dayOffset_ + now_) % kDay;
  if (tod < 0) tod += kDay;
  return static_cast<double>(tod) / 1e6;
}

void SimClock::advanceTo(Micros time) {
  if (time > now_) now_ = time;
}

void SimClock::setTimeOfDay(double seconds) {
  dayOffset_ = ((ToMicros(seconds) - now_) % kDay + kDay) % kDay;
}

void SimClock::schedule(Micros due, std::function<void()> action) {
  queue_.push(Entry{due, seq_++, std::move(action)});
}

std::optional<Micros> SimClock::nextDue() const {
  if (queue_.empty()) return std::nullopt;
  return queue_.top().due;
}

std::function<void()> SimClock::takeDue() {
  if (queue_.empty() || queue_.top().due > now_) return {};
  auto action = std::move(const_cast<Entry&>(queue_.top()).action);
  queue_.pop();
  return action;
}

void SimClock::clear() {
  while (!queue_.empty()) queue_.pop();
}

}  // namespace loafix::sim
