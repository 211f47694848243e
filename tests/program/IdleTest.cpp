// Idling: the clock, the switch, the poster's rule table and bragging, in virtual time.
#include "idle/ChatLines.h"
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

using Idle = ProgramTest;

const std::string kGlyph = "\u00ac";

TEST_F(Idle, ClockRollsOverAtSixtyMinutesAndTwentyFourHours) {
  startUp();
  host.setTimer(program.Timer1(), true, 60000);
  struct Row {
    int minutes;
    const char* shows;
  };
  // Cumulative minutes since the clock started.
  const Row rows[] = {{59, "0:0:59"}, {60, "0:1:0"}, {61, "0:1:1"},
                      {1439, "0:23:59"}, {1440, "1:0:0"}, {100 * 1440, "100:0:0"}};
  const double start = host.now();
  for (const Row& row : rows) {
    host.runUntil(start + row.minutes * 60.0 + 0.5);
    EXPECT_EQ(counters(), row.shows) << row.minutes;
  }
}

TEST_F(Idle, ClockTreatsAnOddCaptionAsZero) {
  startUp();
  host.setControlText(program.Form2(), "Label4", "");
  host.setControlText(program.Form2(), "Label3", "23");
  host.setControlText(program.Form2(), "Label2", "7x");
  IdleClockTick(program);
  EXPECT_EQ(counters(), "7x:23:1");
  host.setControlText(program.Form2(), "Label4", "59");
  IdleClockTick(program);
  EXPECT_EQ(counters(), "8:0:0");
}

TEST_F(Idle, IdleOnAnnouncesAndArmsBothTimers) {
  startUp();
  newLines();
  choose("idleon");
  EXPECT_TRUE(checked("idleon"));
  EXPECT_FALSE(checked("idleoff"));
  EXPECT_EQ(newLines(), (std::vector<std::string>{StatsLine(kGlyph, "0", "0", "0")}));
  EXPECT_EQ(host.timerInterval(program.Timer1()), 60000);
  EXPECT_EQ(host.timerInterval(program.Timer2()), 1);
  EXPECT_TRUE(host.timerEnabled(program.Timer2()));

  // The first periodic line comes one interval (60 s) after the announcement.
  // (runFor returns once the tick running at its target has finished.)
  const double announced = times().back();
  host.runFor(1);
  ASSERT_EQ(newLines().size(), 1u);
  EXPECT_NEAR(times().back() - announced, 60, 0.5);
}

TEST_F(Idle, IdleOnWithAimSnAndNoStoredName) {
  startUp();
  newLines();
  program.check(ItemName("aimsn"), true);
  choose("idleon");
  EXPECT_EQ(newLines(), (std::vector<std::string>{AimStatsLine(kGlyph, "0", "0", "0", "")}));
}

TEST_F(Idle, IdleOnTwiceTenMinutesApartKeepsCounting) {
  startUp();
  choose("idleon");
  newLines();
  program.check(ItemName("enablescrolling"), false);  // keep the poster quiet
  chooseLater(10 * 60 + 30, "idleon");
  host.runFor(11 * 60);
  const auto lines = newLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), StatsLine(kGlyph, "0", "0", "10"));
  EXPECT_EQ(counters(), "0:0:10");
}

TEST_F(Idle, IdleOffDuringThePostersWait) {
  startUp();
  choose("idleon");
  host.runFor(3 * 60 + 30);  // a few ticks of both timers
  newLines();
  const double offAt = host.now() + 20;
  chooseLater(20, "idleoff");
  host.runFor(5 * 60);
  const auto lines = newLines();
  // The off line at once; the tick that was waiting still posts, with zeros; no more.
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], IdleOffLine(kGlyph));
  EXPECT_NEAR(times()[times().size() - 2], offAt, 1e-6);
  EXPECT_EQ(lines[1], StatsLine(kGlyph, "0", "0", "0"));
  EXPECT_EQ(counters(), "0:0:0");
  EXPECT_FALSE(host.timerEnabled(program.Timer1()));
  EXPECT_FALSE(host.timerEnabled(program.Timer2()));
  EXPECT_TRUE(checked("idleoff"));
}

TEST_F(Idle, IdleOffDuringIdleOnsPauseLeavesThePosterDisarmed) {
  startUp();
  newLines();
  chooseLater(0.3, "idleoff");
  choose("idleon");
  EXPECT_EQ(newLines(), (std::vector<std::string>{IdleOffLine(kGlyph)}));
  EXPECT_FALSE(host.timerEnabled(program.Timer2()));
  host.runFor(600);
  EXPECT_TRUE(newLines().empty());
}

TEST_F(Idle, IdleOffWhenAlreadyOffPostsAgain) {
  startUp();
  newLines();
  choose("idleoff");
  choose("idleoff");
  EXPECT_EQ(newLines(), (std::vector<std::string>{IdleOffLine(kGlyph), IdleOffLine(kGlyph)}));
}

TEST_F(Idle, ReasonChosenDuringTheWaitAppliesToTheSameTick) {
  startUp();
  store.WriteToINI(kSection, "reason", "lunch", kIniUpper);
  choose("idleon");
  newLines();
  host.answerPrompt("at lunch");
  chooseLater(30, "reason");
  host.runFor(1);
  EXPECT_EQ(newLines(), (std::vector<std::string>{StatsLine(kGlyph, "0", "0", "1"),
                                                  ReasonLine(kGlyph, "at lunch")}));
  ASSERT_GE(times().size(), 2u);
  EXPECT_NEAR(times()[times().size() - 1] - times()[times().size() - 2], 1.0, 0.5);
}

// The client stops answering (threads suspended, or busy) from 50 s to 70 s after
// idling began, across the moment the first periodic line goes out.
TEST_F(Idle, AHungClientCostsOneWaitAndThatTicksLinesOnly) {
  startUp();
  program.write("reason", "lunch");
  program.check(ItemName("reason"), true);
  choose("idleon");
  newLines();
  const double began = host.now();
  host.at(began + 50, [&] { desktop.hang(client.model().frame(), 20); });
  double menuAt = 0;
  host.at(began + 61, [&] {
    host.click(program.Form2(), "Label6");
    menuAt = host.now();
    host.dismissMenu();
  });
  host.runFor(100);  // returns once the next tick, 60 s after this one, has posted
  // The first line's text gave up after 5 s: no Enter, no reason line, no retry; the
  // next tick posts both as usual.
  EXPECT_EQ(newLines(), (std::vector<std::string>{StatsLine(kGlyph, "0", "0", "2"),
                                                  ReasonLine(kGlyph, "lunch")}));
  ASSERT_EQ(times().size(), 5u);
  EXPECT_NEAR(times()[3] - began, 126, 0.01);
  // The person's click waited only for that one send.
  EXPECT_NEAR(menuAt - began, 65, 0.01);
}

// The client runs as administrator and loafix does not: the window system refuses
// every message. Nothing reaches the client, nothing waits, and one box, once per run,
// says what to do.
TEST_F(Idle, ARefusingClientGetsNothingAndThePersonIsToldOnce) {
  desktop.refuse(client.model().frame());
  startUp();
  EXPECT_EQ(host.messageBoxes().size(), 1u);  // once the advertisement's click has ended
  choose("idleon");
  const double bragAt = host.now();
  choose("bragstats");
  EXPECT_EQ(host.now(), bragAt);  // no wait
  host.runFor(130);
  choose("idleoff");
  EXPECT_TRUE(newLines().empty());
  EXPECT_EQ(program.ws.operationStop(), ClientStop::None);  // each command stopped alone
  ASSERT_EQ(host.messageBoxes().size(), 1u);
  EXPECT_EQ(host.messageBoxes()[0].title, "loafix");
  EXPECT_EQ(host.messageBoxes()[0].text,
            "the chat client refused loafix's messages: it runs as administrator and loafix "
            "does not (or the other way round), so no line, keyword or click reaches it. start "
            "loafix the same way as the chat client: both as administrator, or neither.");
}

TEST_F(Idle, EnableScrollingOffPostsNothingWhileTheClockCounts) {
  startUp();
  choose("enablescrolling");
  EXPECT_FALSE(checked("enablescrolling"));
  choose("idleon");
  newLines();
  host.runFor(3600);
  EXPECT_TRUE(newLines().empty());
  EXPECT_EQ(counters(), "0:1:0");
  choose("enablescrolling");
  host.runFor(1);
  EXPECT_EQ(newLines().size(), 1u);
}

TEST_F(Idle, BragShowsTheCountersWithTheFixedGlyph) {
  startUp();
  newLines();
  choose("bragstats");
  store.WriteToINI(kSection, "ascii", "*", kIniUpper);
  host.setControlText(program.Form2(), "Label2", "1");
  host.setControlText(program.Form2(), "Label3", "3");
  host.setControlText(program.Form2(), "Label4", "7");
  choose("bragstats");
  EXPECT_EQ(newLines(), (std::vector<std::string>{BragLine("0", "0", "0"), BragLine("1", "3", "7")}));
  // Bragging reads the counters and leaves them and the settings as they were.
  EXPECT_EQ(counters(), "1:3:7");
  EXPECT_EQ(setting("ascii"), "*");
}

// One tick of the poster for every combination of the four check marks.
struct RuleCase {
  bool aimsn, reason, linksite, scrolling;
  std::vector<std::string> expected;
};

class PosterRules : public ProgramTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(PosterRules, OneTickPostsWhatTheRuleSays) {
  const RuleCase& c = GetParam();
  startUp();
  store.WriteToINI(kSection, "aim sn", "sam", kIniUpper);
  store.WriteToINI(kSection, "reason", "lunch", kIniUpper);
  store.WriteToINI(kSection, "web url", "http://x.org", kIniUpper);
  store.WriteToINI(kSection, "site name", "home", kIniUpper);
  store.WriteToINI(kSection, "description", "mypage", kIniUpper);
  store.WriteToINI(kSection, "interval", "5", kIniUpper);
  host.setControlText(program.Form2(), "Label3", "1");
  host.setControlText(program.Form2(), "Label4", "5");
  program.check(ItemName("aimsn"), c.aimsn);
  program.check(ItemName("reason"), c.reason);
  program.check(ItemName("linksite"), c.linksite);
  program.check(ItemName("enablescrolling"), c.scrolling);
  program.check(ItemName("idleon"), true);
  host.setTimer(program.Timer2(), true, 1);
  host.runFor(5.0);  // exactly one tick: 5 s wait plus at most one second
  host.setTimer(program.Timer2(), false, 0);
  host.runFor(10);
  const auto all = client.receivedUtf8();
  const std::vector<std::string> tick(all.begin() + 2, all.end());
  EXPECT_EQ(tick, c.expected);
}

const std::string kStats = StatsLine("\u00ac", "0", "1", "5");
const std::string kAim = AimStatsLine("\u00ac", "0", "1", "5", "sam");
const std::string kReason = ReasonLine("\u00ac", "lunch");
const std::string kSite = WebsiteLine("\u00ac", "http://x.org", "home", "mypage");

INSTANTIATE_TEST_SUITE_P(
    Table, PosterRules,
    ::testing::Values(RuleCase{false, false, false, true, {kStats}},
                      RuleCase{true, false, false, true, {kAim}},
                      RuleCase{false, true, false, true, {kStats, kReason}},
                      RuleCase{true, true, false, true, {kAim, kReason}},
                      RuleCase{false, false, true, true, {kStats, kSite}},
                      RuleCase{true, false, true, true, {kAim, kSite}},
                      // Both marks (only reachable by hand): rules 3 and 5 both hold.
                      RuleCase{false, true, true, true, {kStats, kReason, kStats, kSite}},
                      RuleCase{true, true, true, false, {}},
                      RuleCase{false, false, false, false, {}}));

}  // namespace
}  // namespace loafix
