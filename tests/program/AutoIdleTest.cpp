// Idling by itself, in virtual time: a quiet spell of the person's keyboard and mouse
// starts idling, the first input afterwards ends it, and the strip's tooltip tells.
#include "idle/ChatLines.h"
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

using AutoIdle = ProgramTest;

const std::string kGlyph = "\u00ac";

TEST(AutoIdleMinutes, ReadsLeadingDigitsAndCountsTheRestAsOff) {
  const std::pair<const char*, int> rows[] = {
      {"10", 10},  {" 5 min", 5}, {"0", 0},    {"", 0},   {"abc", 0},
      {"-3", 0},   {"2.5", 2},    {"007", 7},  {"99999999999", 527040}};
  for (const auto& [text, minutes] : rows) EXPECT_EQ(AutoIdleMinutes(text), minutes) << text;
}

TEST_F(AutoIdle, ThePromptStoresMinutesAndOffIsNoKey) {
  startUp();
  const std::pair<std::optional<std::string>, const char*> rows[] = {
      {"10", "10"}, {" 5 min", "5"}, {"0", ""}, {"soon", ""}, {std::nullopt, ""}};
  for (const auto& [answer, stored] : rows) {
    host.answerPrompt("10");  // first on, so that each row has something to turn off
    choose("autoidle");
    host.answerPrompt(answer);
    choose("autoidle");
    EXPECT_EQ(host.prompts().back().defaultText, "10");
    EXPECT_EQ(setting("auto idle"), stored) << answer.value_or("(cancel)");
    EXPECT_EQ(host.timerEnabled(program.Timer3()), *stored != '\0');
  }
  EXPECT_EQ(fileBytes().find("AUTO IDLE"), std::string::npos);
  choose("autoback");
  EXPECT_TRUE(checked("autoback"));
  EXPECT_NE(fileBytes().find("AUTO BACK=1\r\n"), std::string::npos);
  choose("autoback");
  EXPECT_EQ(fileBytes().find("AUTO BACK"), std::string::npos);
  EXPECT_FALSE(host.timerEnabled(program.Timer3()));
}

TEST_F(AutoIdle, AQuietSpellOfExactlyTheMinutesStartsIdlingAndInputRestartsIt) {
  startUp();
  host.answerPrompt("3");
  choose("autoidle");  // the person's last input
  newLines();
  const double quietFrom = host.now();
  bool idleJustBefore = true;
  std::vector<std::string> lines;
  host.at(quietFrom + 179.9, [&] { idleJustBefore = checked("idleon"); });
  host.at(quietFrom + 184, [&] { lines = newLines(); });
  host.runFor(185);
  EXPECT_FALSE(idleJustBefore);
  EXPECT_TRUE(checked("idleon"));
  // Exactly what "&idle on" does: the announcement after its one-second pause.
  ASSERT_EQ(lines, (std::vector<std::string>{StatsLine(kGlyph, "0", "0", "0")}));
  EXPECT_GE(times()[times().size() - 2] - quietFrom, 181);
  EXPECT_LE(times()[times().size() - 2] - quietFrom, 183);

  // Again, with the person typing in the chat room two minutes into the spell, and
  // auto back on: the spell that started idling counts as its quiet minute, so the
  // first input afterwards ends it.
  choose("idleoff");
  choose("autoback");
  const double offAt = host.now();
  bool idleEarly = true, idleLate = false, backAgain = false;
  host.at(offAt + 120, [&] { host.input(); });
  host.at(offAt + 120 + 179.9, [&] { idleEarly = checked("idleon"); });
  host.at(offAt + 120 + 184, [&] { idleLate = checked("idleon"); });
  host.at(offAt + 120 + 190, [&] { host.input(); });
  host.at(offAt + 120 + 193, [&] { backAgain = checked("idleoff"); });
  host.runFor(320);
  EXPECT_FALSE(idleEarly);
  EXPECT_TRUE(idleLate);
  EXPECT_TRUE(backAgain);
}

TEST_F(AutoIdle, WelcomeBackEndsIdlingOnceAtTheFirstInputAfterAQuietMinute) {
  writeFile("[idle info]\r\nAUTO BACK=1\r\n");
  startUp();
  EXPECT_TRUE(checked("autoback"));  // kept from the last run
  choose("idleon");
  const double on = host.now();
  // The hand still on the mouse after choosing: no return yet.
  host.at(on + 5, [&] { host.input(); });
  // The poster's lines are the program's own doing: no return either.
  host.runFor(100);
  EXPECT_TRUE(checked("idleon"));
  // A choice from the program's own menu is not a return.
  choose("bragstats");
  host.runFor(10);
  EXPECT_TRUE(checked("idleon"));
  newLines();
  host.at(host.now() + 20, [&] { host.input(); });
  host.at(host.now() + 25, [&] { host.input(); });
  host.runFor(40);
  EXPECT_TRUE(checked("idleoff"));
  const auto lines = newLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), IdleOffLine(kGlyph)), 1);
  EXPECT_FALSE(host.timerEnabled(program.Timer2()));
}

TEST_F(AutoIdle, TheStripsTooltipTellsWhatComesNext) {
  clock.setTimeOfDay(14 * 3600 + 5 * 60 + 10);
  const Hwnd strip = program.Form2();
  EXPECT_EQ(host.tooltip(strip), "not idle");  // no line yet
  startUp();
  const std::string posted = " \u00b7 last line 14:05 in Town Square";  // the advertisement
  EXPECT_EQ(host.tooltip(strip), "not idle" + posted);
  choose("idleon");  // the poster is armed after its one-second pause, its wait 60 s
  host.at(host.now() + 18, [&] {
    EXPECT_EQ(host.tooltip(strip),
              "idle since 14:05 \u00b7 next line in 43 s \u00b7 every 60 s" + posted);
    program.check(ItemName("enablescrolling"), false);
    EXPECT_EQ(host.tooltip(strip), "idle since 14:05 \u00b7 scrolling off" + posted);
  });
  host.runFor(20);  // returns once the poster's first line has gone, at 14:06:12
  choose("idleoff");
  EXPECT_EQ(host.tooltip(strip), "not idle \u00b7 last line 14:06 in Town Square");
}

// The brag line at 14:06 into a client in each state; the tooltip tells what became of
// it, and nothing else tells anyone.
TEST_F(AutoIdle, TheStripsTooltipTellsWhereTheLastLineWent) {
  enum class Client { Room, NoRoom, Hung, Refusing };
  const std::pair<Client, const char*> rows[] = {
      {Client::Room, "not idle \u00b7 last line 14:06 in Town Square"},
      {Client::NoRoom, "not idle \u00b7 last line 14:06: no chat room open"},
      {Client::Hung, "not idle \u00b7 last line 14:06: the client did not answer"},
      {Client::Refusing,
       "not idle \u00b7 last line 14:06: the client refused it (it runs as administrator)"},
  };
  clock.setTimeOfDay(14 * 3600 + 5 * 60 + 50);
  startUp();
  const Hwnd frame = client.model().frame();
  for (const auto& [state, tooltip] : rows) {
    clock.setTimeOfDay(14 * 3600 + 6 * 60);
    desktop.refuse(frame, state == Client::Refusing);
    if (state == Client::NoRoom) client.model().closeRoom(client.model().rooms().front().window);
    if (state == Client::Hung) desktop.hang(frame, 20);
    choose("bragstats");
    EXPECT_EQ(host.tooltip(program.Form2()), tooltip);
    if (state == Client::NoRoom) client.model().openRoom("Town Square");
    host.runFor(30);
  }
  EXPECT_EQ(newLines().size(), 3u);  // the advertisement's two, and the first brag
}

}  // namespace
}  // namespace loafix
