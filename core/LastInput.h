// When the person last used the keyboard or mouse, from the system's millisecond tick
// counts. The system's stamp of the last input is not to be trusted alone: input that
// another program injects carries a tick count of its own choosing (the stamp "is not
// guaranteed to be incremental"), so a stamp may lie after the tick count of the moment,
// which the 32-bit difference turns into seven weeks of quiet, or before the input seen
// last. Decided here, once, so that the native tests see the rule; the Win32 host only
// feeds it its readings.
#pragma once

#include <cstdint>
#include <optional>

namespace loafix {

struct InputReading {
  std::uint32_t stampMs = 0;  // the system's stamp of the last input
  double at = -1;             // the answer given for it, in seconds of Host::now(); -1: none
};

// The next answer of Host::lastInput. `stampMs`: the system's stamp of the last input,
// nullopt when it could not say; `tickMs`: its tick count read just after, at `now`
// (seconds of Host::now()); `watchStart`: now() when the program began to watch. The
// answer never goes back, never lies before `watchStart` nor after `now`, and is the
// same for the same stamp.
InputReading NextInputReading(const InputReading& previous, std::optional<std::uint32_t> stampMs,
                              std::uint32_t tickMs, double now, double watchStart);

}  // namespace loafix
