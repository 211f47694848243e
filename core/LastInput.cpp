#include "core/LastInput.h"

#include <algorithm>

namespace loafix {

InputReading NextInputReading(const InputReading& previous, std::optional<std::uint32_t> stampMs,
                              std::uint32_t tickMs, double now, double watchStart) {
  const bool seen = previous.at >= 0;
  if (!stampMs) return seen ? previous : InputReading{0, watchStart};
  // The same stamp is the same input: recomputed from the coarse tick count against the
  // precise clock it would jitter by a tick, and look like new input.
  if (seen && *stampMs == previous.stampMs) return previous;
  // Both count milliseconds modulo 2^32, so the difference is right across the wrap
  // (every 49.7 days) for any stamp that lies before the tick count.
  const std::uint32_t ago = tickMs - *stampMs;
  // A stamp after the tick count cannot say when its input came; it came by now.
  double at = ago > 0x7FFFFFFFu ? now : now - static_cast<double>(ago) / 1000.0;
  // Quiet before the program watched is not its to count: a start is not an absence.
  at = std::max(at, watchStart);
  // A new stamp is new input; one before the input already seen came by now as well.
  if (seen && at < previous.at) at = now;
  return {*stampMs, std::min(at, now)};
}

}  // namespace loafix
