// Pause in virtual time: where it ends, and that events keep running inside it.
#include <gtest/gtest.h>

#include <vector>

#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "ui/UiCommands.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimHost.h"

namespace loafix {
namespace {

using sim::SimClock;
using sim::SimDesktop;
using sim::SimHost;

struct Desk {
  explicit Desk(double timeOfDay) : clock(timeOfDay) {}
  SimClock clock;
  SimDesktop desktop{clock};
  SimHost host{clock, desktop};
};

TEST(Pause, EndsWhereTheRoundedStartSays) {
  struct Row {
    double start;  // time of day
    int seconds;
    double end;
  };
  const Row rows[] = {
      {10.2, 1, 11.0}, {10.7, 1, 12.0},                  // start rounds to 10, to 11
      {10.4, 0, 10.4}, {10.6, 0, 11.0},                  // Pause(0)
      {10.5, 1, 11.0}, {11.5, 1, 13.0},                  // halves go to the even second
      {86399.7, 1, 1.0},                                 // across midnight: 00:00:01
      {10.2, -1, 10.2}, {10.9, -5, 10.9},                // negative: at once
      {3600.0, 60, 3660.0},
  };
  for (const Row& row : rows) {
    Desk d(row.start);
    Pause(d.host, row.seconds);
    EXPECT_NEAR(d.host.timeOfDay(), row.end, 1e-6) << "start " << row.start << " + " << row.seconds;
  }
}

// Waits of twelve hours and more cross midnight with a time of day that has come round
// past its start; each still ends after its number of seconds.
TEST(Pause, LongPausesEndOnTimeAcrossAnyNumberOfMidnights) {
  struct Abandoned {};
  struct Row {
    double start;
    int seconds;
  };
  const Row rows[] = {{20 * 3600.0, 43300}, {0.0, 86400}, {10 * 3600.0, 100000},
                      {23 * 3600.0, 3 * 86400 + 7}, {12 * 3600.0, 2147483647}};
  for (const Row& row : rows) {
    Desk d(row.start);
    const double began = d.host.now();
    // A pause that never ends would keep this test waiting for ever.
    const double limit = static_cast<double>(row.seconds) + 3 * 86400.0;
    d.host.at(began + limit, [] { throw Abandoned{}; });
    try {
      Pause(d.host, row.seconds);
    } catch (const Abandoned&) {
      ADD_FAILURE() << "Pause(" << row.seconds << ") from " << row.start << " did not end";
      continue;
    }
    EXPECT_NEAR(d.host.now() - began, row.seconds, 1e-6) << row.start;
  }
}

// Two readings of the clock far apart: an event that lasts for hours (a box left up
// overnight, the machine asleep), or the clock set by hand. Each pause of 60 s ends as
// soon as the time of day says its 60 s are over, counting the whole days the steady
// clock saw.
TEST(Pause, ReadingsHoursApartEndItOnTime) {
  struct Row {
    double start;        // time of day
    double at;           // seconds into the pause, the event
    double lasts;        // seconds the event takes
    double clockChange;  // seconds by which the event sets the clock on
    double length;       // of the pause
  };
  const Row rows[] = {
      {20 * 3600.0, 0, 14 * 3600.0, 0, 14 * 3600.0},
      {23 * 3600.0, 0, 14 * 3600.0, 0, 14 * 3600.0},
      {20 * 3600.0, 10, 14 * 3600.0, 0, 10 + 14 * 3600.0},
      {23 * 3600.0, 10, 37 * 3600.0, 0, 10 + 37 * 3600.0},
      {20 * 3600.0, 10, 0, -3600, 3660},
      {1800.0, 10, 0, -3600, 3660},  // back to before midnight
      {20 * 3600.0, 10, 0, 7200, 10},
  };
  for (const Row& row : rows) {
    Desk d(row.start);
    const double began = d.host.now();
    d.host.at(began + row.at, [&] {
      d.clock.advanceTo(d.clock.nowUs() + sim::ToMicros(row.lasts));
      d.clock.setTimeOfDay(d.clock.timeOfDay() + row.clockChange);
    });
    Pause(d.host, 60);
    EXPECT_NEAR(d.host.now() - began, row.length, 1e-6) << row.start << " + " << row.at;
  }
}

TEST(Pause, ExpiredPauseProcessesNoEvents) {
  Desk d(10.4);
  bool ran = false;
  d.host.at(d.host.now(), [&] { ran = true; });
  Pause(d.host, 0);
  EXPECT_FALSE(ran);
  Pause(d.host, -1);
  EXPECT_FALSE(ran);
}

TEST(Pause, TimerTicksAndScheduledActionsRunBeforeItEnds) {
  Desk d(10.2);
  std::vector<double> seen;
  const TimerId timer = d.host.createTimer([&] { seen.push_back(d.host.timeOfDay()); });
  d.host.setTimer(timer, true, 250);
  d.host.at(d.host.now() + 0.7, [&] { seen.push_back(-d.host.timeOfDay()); });
  Pause(d.host, 1);  // ends at 11.0
  const std::vector<double> expected = {10.45, 10.7, -10.9, 10.95};
  ASSERT_EQ(seen.size(), expected.size());
  for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], expected[i], 1e-6);
  EXPECT_NEAR(d.host.timeOfDay(), 11.0, 1e-6);
}

TEST(Pause, ATickNeverStartsWhileTheSameTimersTickRuns) {
  Desk d(0.0);
  int depth = 0, maxDepth = 0, ticks = 0;
  const TimerId timer = d.host.createTimer([&] {
    ++ticks;
    maxDepth = std::max(maxDepth, ++depth);
    Pause(d.host, 5);  // the tick waits, as the idle poster does
    --depth;
  });
  d.host.setTimer(timer, true, 1);
  d.host.runFor(60);
  EXPECT_EQ(maxDepth, 1);
  EXPECT_GE(ticks, 11);
  EXPECT_LE(ticks, 13);
}

TEST(Pause, ThirtyVirtualDaysOfMinuteTicksInOrder) {
  Desk d(12 * 3600.0);
  long ticks = 0;
  double last = 0;
  bool ordered = true;
  const TimerId timer = d.host.createTimer([&] {
    ordered = ordered && d.host.now() > last;
    last = d.host.now();
    ++ticks;
  });
  d.host.setTimer(timer, true, 60000);
  d.host.runFor(30 * 86400.0 + 1);
  EXPECT_EQ(ticks, 30 * 1440);
  EXPECT_TRUE(ordered);
}

TEST(Advertise, BrandThenLinkWithinHalfToOneAndAHalfSeconds) {
  for (double start : {10.0, 10.49, 10.51, 10.99}) {
    Desk d(start);
    sim::SimClient client(d.clock, d.desktop);
    client.model().start();
    client.model().openRoom("room");
    std::vector<double> times;
    client.model().onLog = [&](const std::string& line) {
      if (line.rfind("chat ", 0) == 0) times.push_back(d.host.now());
    };
    Advertise(d.desktop, d.host);
    const auto lines = client.receivedUtf8();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], BrandLine);
    EXPECT_EQ(lines[1], AdLinkLine());
    const double gap = times[1] - times[0];
    EXPECT_GE(gap, 0.5) << start;
    EXPECT_LE(gap, 1.5) << start;
  }
}

}  // namespace
}  // namespace loafix
