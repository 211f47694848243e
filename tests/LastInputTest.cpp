// When the person last used the keyboard or mouse, from the system's stamp of the last
// input and its tick count: stamps that another program's injected input makes up must
// not turn into weeks of quiet, nor make the answer go back.
#include "core/LastInput.h"

#include <gtest/gtest.h>

#include <optional>

namespace loafix {
namespace {

TEST(LastInput, StampsOutOfOrderNeverMakeQuietThatWasNot) {
  // The program began to watch at 100 s.
  constexpr double kStart = 100;
  const InputReading none;
  const InputReading seen108{58'000, 108};  // the input stamped 58,000 ms, answered as 108 s
  struct Row {
    const char* what;
    InputReading previous;
    std::optional<std::uint32_t> stamp;
    std::uint32_t tick;
    double now;
    double expected;
  };
  const Row rows[] = {
      {"input 2 s ago", none, 78'000, 80'000, 130, 128},
      {"the last input came before the program started", none, 10'000, 80'000, 130, 100},
      {"a stamp 5 s after the tick count is input now, not 49.7 days ago", none, 85'000, 80'000,
       130, 130},
      {"the same stamp later gives the same answer", seen108, 58'000, 90'000, 140, 108},
      {"a new stamp before the last one is new input, now", seen108, 57'000, 90'000, 140, 140},
      {"a new stamp far before it, wrapping the count, likewise", seen108, 4'000'000'000u, 90'000,
       140, 140},
      {"a new stamp between the last input and now", seen108, 85'000, 90'000, 140, 135},
      {"across the tick count's wrap", none, 0xFFFFF000u, 0x00000800u, 130, 123.856},
      {"the system cannot say: the last answer", seen108, std::nullopt, 90'000, 140, 108},
      {"the system cannot say, and nothing seen yet: the start", none, std::nullopt, 80'000, 130,
       100},
      {"after that, input from before the start is no new input",
       {0, 100},
       40'000,
       80'000,
       130,
       100},
  };
  for (const Row& row : rows) {
    const InputReading next = NextInputReading(row.previous, row.stamp, row.tick, row.now, kStart);
    EXPECT_DOUBLE_EQ(next.at, row.expected) << row.what;
  }
}

}  // namespace
}  // namespace loafix
