// Every command chosen inside every kind of pause: the program stays consistent, no
// timer tick overlaps itself, and every line posted is one of the line kinds.
#include <regex>

#include "idle/ChatLines.h"
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

// Every line kind the room may receive, spelled out as the chat shows its markup;
// "(.*)" stands for a setting, "[0-9]+" for a counter.
bool IsALineKind(const std::string& line) {
  static const std::vector<std::regex> kinds = [] {
    const std::string head = "<font face=arial><font color=#ff8000><b>";
    const std::string brand =
        "</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> ";
    const std::string counters =
        "[0-9]+<font color=#ff8000><b>/</b><font color=#000000>d [0-9]+<font "
        "color=#ff8000><b>/</b><font color=#000000>h [0-9]+<font color=#ff8000><b>/</b><font "
        "color=#000000>m";
    const std::string fixedGlyph = head + "¬</b><font color=#000000> ";
    std::vector<std::regex> list;
    for (const std::string& kind : {
             head + "(.*)" + brand + counters,
             head + "(.*)" + brand + counters +
                 " <font color=#ff8000> <b>·</b><font color=#000000> aim<font color=#ff8000> "
                 "<b>·</b><font color=#000000> (.*)",
             head + "(.*) </b><font color=#000000>réàson<font color=#ff8000> <b>·</b><font "
                    "color=#000000> (.*)",
             head + "(.*) </b><font color=#000000>wêbsìté<font color=#ff8000> <b>·</b><font "
                    "color=#000000> </a>< a href=(.*)>(.*)</a> <font color=#ff8000><b>·</b> "
                    "<font color=#000000>(.*)",
             head + "(.*)</b><font color=#000000> lòàfíx¹<font color=#ff8000> <b>·</b><font "
                    "color=#ff8000> \\[<font color=#000000>øff<font color=#ff8000>\\] ",
             head + "(.*)" + brand + "àscíì sêt",
             fixedGlyph +
                 "lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> zed²<font "
                 "color=#ff8000> <b>·</b><font color=#000000> " +
                 counters,
             fixedGlyph + "lòàfíx¹<font color=#ff8000> <b>·</b><font color=#000000> zed²",
             head + "¬</b> </a>< a href=http://www\\.loafix\\.net><font color=#000000>gêt ìt "
                    "hérè</a>",
             fixedGlyph + "ùpchát<font color=#ff8000> <b>·</b> \\[<font "
                          "color=#000000>øn<font color=#ff8000>\\]",
             fixedGlyph + "ùpchát<font color=#ff8000> <b>·</b> \\[<font "
                          "color=#000000>øff<font color=#ff8000>\\]",
         })
      list.emplace_back(kind);
    return list;
  }();
  for (const std::regex& kind : kinds)
    if (std::regex_match(line, kind)) return true;
  return false;
}

TEST(LineKinds, TheValidatorKnowsTheKindsAndNothingElse) {
  EXPECT_TRUE(IsALineKind(StatsLine("\u00ac", "1", "22", "333")));
  EXPECT_TRUE(IsALineKind(WebsiteLine("", "u", "", "d")));
  EXPECT_FALSE(IsALineKind(StatsLine("\u00ac", "1", "x", "3")));
  EXPECT_FALSE(IsALineKind(std::string(BrandLine) + std::string(BrandLine)));
  EXPECT_FALSE(IsALineKind("hello"));
}

enum class PauseKind { PosterWait, BetweenLines, IdleOn, Advertise };

const char* const kCommands[] = {
    "about",    "advertise", "disclamer", "upchat",  "unupchat",         "hideaol",
    "showaol",  "killmodal", "killglyph", "killwait", "imoff",           "imon",
    "idleon",   "idleoff",   "bragstats", "aimsn",   "setascii",         "reason",
    "linksite", "mailme",    "minimize",  "enablescrolling", "scrollinginterval",
    "autoidle", "autoback"};

std::string CaseName(const ::testing::TestParamInfo<std::tuple<PauseKind, const char*>>& info) {
  static const char* const kKinds[] = {"PosterWait", "BetweenLines", "IdleOn", "Advertise"};
  return std::string(kKinds[static_cast<int>(std::get<0>(info.param))]) + "_" +
         std::get<1>(info.param);
}

class Reentrancy : public ProgramTest,
                   public ::testing::WithParamInterface<std::tuple<PauseKind, const char*>> {};

TEST_P(Reentrancy, CommandInsideAPauseLeavesTheProgramConsistent) {
  const auto [kind, command] = GetParam();
  startUp();
  store.WriteToINI(kSection, "reason", "lunch", kIniUpper);
  store.WriteToINI(kSection, "interval", "10", kIniUpper);
  for (int i = 0; i < 4; ++i) host.answerPrompt("7");
  switch (kind) {
    case PauseKind::PosterWait:  // the poster's tick is inside its 10 s wait
      choose("idleon");
      chooseLater(4, command);
      break;
    case PauseKind::BetweenLines:  // stats line posted, reason line one second away
      program.check(ItemName("reason"), true);
      choose("idleon");
      chooseLater(10.4, command);
      break;
    case PauseKind::IdleOn:
      chooseLater(0.3, command);
      choose("idleon");
      break;
    case PauseKind::Advertise:
      chooseLater(0.3, command);
      choose("advertise");
      break;
  }
  host.runFor(120);
  ASSERT_FALSE(host.ended());

  for (const std::string& line : client.receivedUtf8())
    EXPECT_TRUE(IsALineKind(line)) << line;
  EXPECT_LE(host.mostTicksAtOnce(program.Timer1()), 1);
  EXPECT_LE(host.mostTicksAtOnce(program.Timer2()), 1);
  EXPECT_LE(host.mostTicksAtOnce(program.Timer3()), 1);
  // The idle marks and the timers agree: idle on means both timers run.
  EXPECT_NE(checked("idleon"), checked("idleoff"));
  EXPECT_EQ(host.timerEnabled(program.Timer1()), checked("idleon"));
  EXPECT_EQ(host.timerEnabled(program.Timer2()), checked("idleon"));
  EXPECT_FALSE(checked("reason") && checked("linksite"));
  EXPECT_NE(checked("upchat"), checked("unupchat"));
  EXPECT_NE(checked("imon"), checked("imoff"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryPauseEveryCommand, Reentrancy,
    ::testing::Combine(::testing::Values(PauseKind::PosterWait, PauseKind::BetweenLines,
                                         PauseKind::IdleOn, PauseKind::Advertise),
                       ::testing::ValuesIn(kCommands)),
    CaseName);

}  // namespace
}  // namespace loafix
