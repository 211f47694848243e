// Virtual time for the simulated desktop: a clock that only moves when the program
// waits, and a queue of actions due at given moments (posted messages, the stand-in
// client's delayed reactions, a scripted person's clicks). Microseconds in 64 bits,
// so 30 virtual days count exactly.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <vector>

namespace loafix::sim {

using Micros = std::int64_t;
inline constexpr Micros kSecond = 1'000'000;
inline constexpr Micros kDay = 86'400 * kSecond;

inline Micros ToMicros(double seconds) { return static_cast<Micros>(seconds * 1e6 + 0.5); }

class SimClock {
 public:
  // The clock starts at this time of day (seconds since midnight).
  explicit SimClock(double startTimeOfDay = 10 * 3600.0);

  Micros nowUs() const { return now_; }
  double now() const { return static_cast<double>(now_) / 1e6; }
  double timeOfDay() const;
  // Moves the clock forward to `time` (never back).
  void advanceTo(Micros time);
  // Sets the time of day the clock shows now, keeping it monotonic.
  void setTimeOfDay(double seconds);

  // Runs `action` once the clock reaches `due` and the program processes events.
  void schedule(Micros due, std::function<void()> action);
  void post(std::function<void()> action) { schedule(now_, std::move(action)); }
  std::optional<Micros> nextDue() const;
  std::size_t pending() const { return queue_.size(); }
  // Takes the earliest action due by now out of the queue; empty when none is due.
  std::function<void()> takeDue();
  void clear();

 private:
  struct Entry {
    Micros due;
    std::uint64_t seq;
    std::function<void()> action;
  };
  struct Later {
    bool operator()(const Entry& a, const Entry& b) const {
      return a.due != b.due ? a.due > b.due : a.seq > b.seq;
    }
  };

  Micros now_ = 0;
  Micros dayOffset_;  // time of day at now_ == 0
  std::uint64_t seq_ = 0;
  std::priority_queue<Entry, std::vector<Entry>, Later> queue_;
};

}  // namespace loafix::sim
