// The option prompts and the link-site window: what is stored, what the poster then
// does with it, and the check marks.
#include <functional>

#include "idle/ChatLines.h"
#include "tests/program/ProgramFixture.h"
#include "tests/settings/TestFiles.h"

namespace loafix {
namespace {

using Options = ProgramTest;

class IntervalRow : public ProgramTest,
                    public ::testing::WithParamInterface<std::tuple<const char*, const char*, double>> {};

TEST_P(IntervalRow, StoredAndWaited) {
  const auto [answer, stored, wait] = GetParam();
  startUp();
  if (std::string(answer) == "<cancel>") {
    host.answerPrompt(std::nullopt);
  } else {
    host.answerPrompt(std::string(answer));
  }
  choose("scrollinginterval");
  const auto& prompt = host.prompts().back();
  EXPECT_EQ(prompt.message, "please enter a interval for the idle (secounds)");
  EXPECT_EQ(prompt.title, "set interval");
  EXPECT_EQ(prompt.defaultText, "60");
  EXPECT_EQ(setting("interval"), stored);
  if (wait < 0) return;
  choose("idleon");
  const std::size_t before = times().size();
  host.runFor(wait < 1 ? 3 : 200);
  ASSERT_GE(times().size(), before + 2);
  const double gap = times()[before + 1] - times()[before];
  if (wait < 1) {
    EXPECT_LE(gap, 0.5 + 1e-6);
  } else {
    EXPECT_NEAR(gap, wait, 0.5 + 1e-6);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, IntervalRow,
    ::testing::Values(std::make_tuple("30", "30.", 30.0), std::make_tuple("<cancel>", ".", 60.0),
                      std::make_tuple("", ".", 60.0), std::make_tuple("soon", "soon.", 60.0),
                      std::make_tuple("0", "0.", 0.0), std::make_tuple("-3", "-3.", 0.0),
                      std::make_tuple("2.5", "2.5.", 2.0),
                      std::make_tuple("99999999999", "99999999999.", -1.0)));

TEST_F(Options, AcceptingTheStoredIntervalAppendsASecondPoint) {
  startUp();
  host.answerPrompt("30");
  choose("scrollinginterval");
  host.answerPrompt("30.");  // the default, accepted unchanged
  choose("scrollinginterval");
  EXPECT_EQ(host.prompts().back().defaultText, "30.");
  EXPECT_EQ(setting("interval"), "30..");
  EXPECT_EQ(IntervalSeconds("30.."), 30);
}

TEST(IntervalReading, Table) {
  const std::pair<const char*, int> rows[] = {
      {"60", 60},   {"60.", 60},   {"45..", 45}, {"2.5.", 2},  {"3.5.", 4},   {"0", 0},
      {"-7.", -7},  {"", 60},      {".", 60},    {"..", 60},   {"abc", 60},   {"12abc", 12},
      {"+8", 8},    {"1e3", 1},    {"0x10", 0},  {"inf", 60},  {"nan", 60},   {"-", 60},
      {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
      // Rounded from the digits themselves, half to even, the sign kept aside.
      {"2.50000", 2}, {"2.500001", 3}, {"2.49999999999999999999", 2}, {"-2.5", -2},
      {"-3.5", -4},   {".5", 0},       {"1.5", 2},   {"-0.4", 0},  {"2147483646.5", 2147483646},
  };
  for (const auto& [text, seconds] : rows) EXPECT_EQ(IntervalSeconds(text), seconds) << text;
}

TEST_F(Options, AimSnTogglesAndItsPromptCanBeCancelled) {
  startUp();
  store.WriteToINI(kSection, "aim sn", "sam", kIniUpper);
  host.answerPrompt("alice");
  choose("aimsn");
  EXPECT_TRUE(checked("aimsn"));
  EXPECT_EQ(host.prompts().back().message, "what is your aim screen name?");
  EXPECT_EQ(host.prompts().back().title, "aim sn");
  EXPECT_EQ(host.prompts().back().defaultText, "sam");
  EXPECT_NE(fileBytes().find("AIM SN=alice\r\n"), std::string::npos);

  choose("aimsn");  // unchecks, no prompt, the name stays
  EXPECT_FALSE(checked("aimsn"));
  EXPECT_EQ(host.prompts().size(), 1u);
  EXPECT_EQ(setting("aim sn"), "alice");

  host.answerPrompt(std::nullopt);
  choose("aimsn");
  EXPECT_EQ(host.prompts().back().defaultText, "alice");
  EXPECT_TRUE(checked("aimsn"));
  EXPECT_EQ(setting("aim sn"), "");
  EXPECT_EQ(fileBytes().find("AIM SN"), std::string::npos);
}

TEST_F(Options, GlyphConfirmationReadsTheGlyphBackFromTheFile) {
  startUp();
  newLines();
  struct Row {
    std::optional<std::string> answer;
    std::string glyph;  // as it comes back from the file
  };
  const Row rows[] = {{"*", "*"}, {" ", ""}, {" \u00ac ", "\u00ac"}, {std::nullopt, ""},
                      {"<b>x", "<b>x"}};
  for (const Row& row : rows) {
    host.answerPrompt(row.answer);
    choose("setascii");
    EXPECT_EQ(host.prompts().back().title, "set ascii");
    EXPECT_EQ(host.prompts().back().message, "please enter the ascii that you would like to use");
    EXPECT_EQ(newLines(), (std::vector<std::string>{AsciiSetLine(row.glyph)}));
  }
  // After a cancelled glyph prompt every line has an empty glyph until the next entry.
  host.answerPrompt(std::nullopt);
  choose("setascii");
  newLines();
  choose("idleoff");
  EXPECT_EQ(newLines(), (std::vector<std::string>{IdleOffLine("")}));
}

TEST_F(Options, ReasonAndLinkSiteExcludeEachOther) {
  startUp();
  host.answerPrompt("lunch");
  choose("linksite");
  EXPECT_TRUE(checked("linksite"));
  choose("reason");
  EXPECT_TRUE(checked("reason"));
  EXPECT_FALSE(checked("linksite"));
  EXPECT_EQ(host.prompts().back().message, "please enter the reason for being idle");
  EXPECT_EQ(host.prompts().back().title, "reason");
  // Cancelled with the link site checked: the key goes, the marks move all the same.
  choose("linksite");
  ASSERT_FALSE(checked("reason"));
  host.answerPrompt(std::nullopt);
  choose("reason");
  EXPECT_EQ(host.prompts().back().defaultText, "lunch");
  EXPECT_TRUE(checked("reason"));
  EXPECT_FALSE(checked("linksite"));
  EXPECT_EQ(setting("reason"), "");
  // The link site while reason is checked, then cancel: neither is checked.
  choose("linksite");
  host.click(program.Form4(), "Label5");
  EXPECT_FALSE(checked("reason"));
  EXPECT_FALSE(checked("linksite"));
}

TEST_F(Options, LinkSiteWindowStartsFromDefaultsAndKeepsEdits) {
  writeFile("[idle info]\r\nWEB URL=http://old\r\nSITE NAME=old\r\nDESCRIPTION=old\r\n");
  startUp();
  choose("linksite");
  const Hwnd form = program.Form4();
  EXPECT_TRUE(host.formVisible(form));
  EXPECT_TRUE(desktop.window(form)->topmost);
  EXPECT_EQ(host.controlText(form, "Text1"), "http://www.loafix.net");
  EXPECT_EQ(host.controlText(form, "Text2"), "loafix");
  EXPECT_EQ(host.controlText(form, "Text3"), "download it here..");

  host.type(form, "Text2", "my site");
  host.click(form, "Label5");  // cancel keeps the edits, saves nothing
  EXPECT_FALSE(host.formVisible(form));
  EXPECT_EQ(setting("site name"), "old");
  choose("linksite");
  EXPECT_EQ(host.controlText(form, "Text2"), "my site");

  host.type(form, "Text3", "  <i>spaced</i>  ");
  host.click(form, "Label4");  // done
  EXPECT_FALSE(host.formVisible(form));
  EXPECT_TRUE(checked("linksite"));
  EXPECT_EQ(setting("web url"), "http://www.loafix.net");
  EXPECT_EQ(setting("site name"), "my site");
  EXPECT_EQ(setting("description"), "<i>spaced</i>");

  for (const char* where : {"", "Label1", "Label2", "Label3"}) host.mouseDown(form, where);
  EXPECT_EQ(desktop.window(form)->drags, 4);
}

TEST_F(Options, ReasonDuringAnOpenLinkSiteWindow) {
  startUp();
  choose("linksite");
  host.answerPrompt("brb");
  choose("reason");
  EXPECT_TRUE(host.formVisible(program.Form4()));  // the window stays open
  EXPECT_TRUE(checked("reason"));
  EXPECT_FALSE(checked("linksite"));
  host.click(program.Form4(), "Label4");
  EXPECT_TRUE(checked("reason"));  // done touches no mark
  EXPECT_FALSE(checked("linksite"));
}

TEST_F(Options, SettingsThatCannotBeSavedAreNamedOncePerCommand) {
  // Nothing can write the settings file: a folder stands where it should be.
  std::filesystem::create_directory(folder / "loafix.ini");
  const std::string file = (folder / "loafix.ini").string();
  struct Row {
    const char* what;
    std::function<void()> command;
    std::vector<std::string> named;
  };
  const Row rows[] = {
      {"start-up", [&] { startUp(); }, {"\"interval\"", "\"ascii\""}},
      {"aim sn", [&] { host.answerPrompt("alice"); choose("aimsn"); }, {"\"aim sn\""}},
      {"set ascii", [&] { host.answerPrompt("*"); choose("setascii"); }, {"\"ascii\""}},
      {"reason", [&] { host.answerPrompt("lunch"); choose("reason"); }, {"\"reason\""}},
      {"interval", [&] { host.answerPrompt("30"); choose("scrollinginterval"); },
       {"\"interval\""}},
      {"link site",
       [&] {
         choose("linksite");
         host.click(program.Form4(), "Label4");
       },
       {"\"web url\"", "\"site name\"", "\"description\""}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const std::size_t before = host.messageBoxes().size();
    row.command();
    ASSERT_EQ(host.messageBoxes().size(), before + 1);
    const std::string& text = host.messageBoxes().back().text;
    for (const std::string& name : row.named) EXPECT_NE(text.find(name), std::string::npos) << text;
    EXPECT_NE(text.find(file), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 27), " nothing in it was changed.") << text;
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "loafix.ini"));

  // Once the file can be written again, nothing is shown.
  std::filesystem::remove(folder / "loafix.ini");
  const std::size_t before = host.messageBoxes().size();
  host.answerPrompt("lunch");
  choose("reason");
  EXPECT_EQ(host.messageBoxes().size(), before);
  EXPECT_EQ(setting("reason"), "lunch");
}

TEST_F(Options, TheSaveMessageSaysWhichSettingsWereSavedAndWhichWereNot) {
  startUp();
  // Done in the link-site window with a site name too long for the room left on the disk
  // (a file-size limit stands in for a full disk): the keys before and after it land.
  choose("linksite");
  program.setText(program.Form4(), "Text2", std::string(8000, 'n'));
  test::WithFileSizeLimit(4096, [&] { host.click(program.Form4(), "Label4"); });
  ASSERT_EQ(host.messageBoxes().size(), 1u);
  EXPECT_EQ(host.messageBoxes().back().title, "loafix");
  EXPECT_EQ(host.messageBoxes().back().text,
            "could not save \"site name\" in " + (folder / "loafix.ini").string() +
                ": the file is read-only, held open by another program or cannot be created, or "
                "the disk is full. \"web url\" and \"description\" were saved; \"site name\" "
                "keeps its old value.");
  EXPECT_EQ(setting("web url"), "http://www.loafix.net");
  EXPECT_EQ(setting("site name"), "");
  EXPECT_EQ(setting("description"), "download it here..");
}

}  // namespace
}  // namespace loafix
