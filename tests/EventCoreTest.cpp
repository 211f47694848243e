// The rules of events and time that both hosts take from the event core: when a timer
// comes due, what holds a tick back, and each handler as one client operation.
#include <gtest/gtest.h>

#include <vector>

#include "core/EventCore.h"
#include "platform/sim/SimDesktop.h"

namespace loafix {
namespace {

constexpr Micros kMs = 1000;

struct Core {
  sim::SimClock clock;
  sim::SimDesktop desktop{clock};
  EventCore core{desktop};
  std::vector<std::pair<int, Micros>> ticks;  // timer, moment

  TimerId timer(int name, std::function<void(Micros)> body = nullptr) {
    return core.createTimer([this, name, body]() {
      ticks.emplace_back(name, now);
      if (body) body(now);
    });
  }
  // Runs what is due at each moment from `from` to `to`, one millisecond at a time.
  void runMs(Micros from, Micros to) {
    for (now = from; now <= to; now += kMs) core.runDue(now);
  }
  Micros now = 0;
};

TEST(EventCore, CountdownsRestartAtTheSetCallAndKeepTheirPhase) {
  Core c;
  const TimerId a = c.timer(1);
  c.core.setTimer(a, true, 100, 0);
  c.core.setTimer(a, true, 100, 50 * kMs);  // set again: counts from here
  c.runMs(0, 400 * kMs);
  EXPECT_EQ(c.ticks, (std::vector<std::pair<int, Micros>>{
                         {1, 150 * kMs}, {1, 250 * kMs}, {1, 350 * kMs}}));
  c.core.setTimer(a, false, 100, 400 * kMs);
  EXPECT_FALSE(c.core.nextDue());
  c.core.setTimer(a, true, 0, 400 * kMs);  // interval 0 stops it as disabling does
  EXPECT_FALSE(c.core.nextDue());
}

TEST(EventCore, NextDueIsTheEarliestOverEveryTimerThatMayStart) {
  Core c;
  const TimerId a = c.timer(1), b = c.timer(2);
  EXPECT_FALSE(c.core.nextDue());
  c.core.setTimer(a, true, 60000, 0);
  c.core.setTimer(b, true, 7, 3 * kMs);
  EXPECT_EQ(c.core.nextDue(), 10 * kMs);
  c.core.menuOpened();
  EXPECT_FALSE(c.core.nextDue());  // nothing wakes while the menu is open
  c.core.menuClosed(5 * kMs);
  EXPECT_EQ(c.core.nextDue(), 10 * kMs);
}

TEST(EventCore, ATimerReArmedInsideItsOwnTickWakesNothingUntilTheTickReturns) {
  Core c;
  std::vector<std::optional<Micros>> seenInside;
  TimerId poster = -1;
  const TimerId clock = c.timer(1);
  poster = c.timer(2, [&](Micros now) {
    // "idle on" chosen again inside the poster's wait re-arms the 1 ms timer.
    c.core.setTimer(poster, true, 1, now + 5 * kMs);
    seenInside.push_back(c.core.nextDue());
  });
  c.core.setTimer(clock, true, 60000, 0);
  c.core.setTimer(poster, true, 1, 0);
  c.now = 1 * kMs;
  EXPECT_EQ(c.core.runDue(c.now), 1);
  ASSERT_EQ(seenInside.size(), 1u);
  // Inside the tick only the minute timer may wake the wait.
  EXPECT_EQ(seenInside[0], 60000 * kMs);
  // Once returned, the re-armed timer is due again 1 ms after it was set.
  EXPECT_EQ(c.core.nextDue(), 7 * kMs);
  EXPECT_EQ(c.core.mostTicksAtOnce(poster), 1);
}

TEST(EventCore, TheMenuHoldsTicksBackAndTheyStartOnceItHasClosed) {
  Core c;
  const TimerId minute = c.timer(1);
  c.core.setTimer(minute, true, 60000, 0);
  c.core.menuOpened();
  c.runMs(59990 * kMs, 60010 * kMs);
  EXPECT_TRUE(c.ticks.empty());
  // Held open for three more minutes: one tick when it closes, not three.
  EXPECT_EQ(c.core.runDue(240000 * kMs), 0);
  c.core.menuClosed(240000 * kMs);
  EXPECT_EQ(c.core.runDue(240000 * kMs), 1);
  EXPECT_EQ(c.core.runDue(240000 * kMs), 0);
  // A tick held back longer than an interval starts a fresh countdown.
  EXPECT_EQ(c.core.nextDue(), 300000 * kMs);
}

TEST(EventCore, ASendThatGivesUpEndsOnlyItsOwnHandlersConversation) {
  Core c;
  const Hwnd client = c.desktop.create(0, "AOL Frame25");
  const Hwnd box = c.desktop.create(client, "RICHCNTL");
  c.desktop.recordDeliveries(true);
  c.desktop.hang(client, 20);
  std::vector<std::intptr_t> nested;
  c.core.run([&] {
    c.desktop.SendMessageA(box, 0x000C, 0, "line");  // WM_SETTEXT: waits 5 s, gives up
    EXPECT_TRUE(c.desktop.operationAbandoned());
    // A handler nested in this one's pause is an operation of its own.
    c.core.run([&] { EXPECT_FALSE(c.desktop.operationAbandoned()); });
    c.desktop.SendMessageA(box, 0x0102, 13, 0);  // WM_CHAR Enter: not sent
    c.desktop.PostMessageA(box, 0x0201, 1, 0);   // nor anything posted
  });
  EXPECT_EQ(c.clock.nowUs(), 5 * sim::kSecond);
  EXPECT_FALSE(c.desktop.operationAbandoned());
  EXPECT_EQ(c.clock.pending(), 0u);
  EXPECT_TRUE(c.desktop.deliveries().empty());
  // The next operation tries again, and a client that answers within the wait gets it.
  c.clock.advanceTo(17 * sim::kSecond);
  c.core.run([&] { c.desktop.SendMessageA(box, 0x000C, 0, "later"); });
  EXPECT_EQ(c.clock.nowUs(), 20 * sim::kSecond);
  ASSERT_EQ(c.desktop.deliveries().size(), 1u);
  EXPECT_EQ(c.desktop.deliveries()[0].message.text, "later");
}

}  // namespace
}  // namespace loafix
