// The feedback window and the chores in the client, through the menu, including a
// run with no client at all.
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

using Chores = ProgramTest;

const std::string kDefaultComment = "this idle owns, whens version 2.0 comming out?\r\n";

TEST_F(Chores, EmailMeThenSendMailsTheDefaultText) {
  startUp();
  choose("mailme");
  const Hwnd form = program.Form5();
  EXPECT_TRUE(host.formVisible(form));
  EXPECT_TRUE(desktop.window(form)->topmost);
  host.click(form, "Label2");
  host.click(form, "Label2");  // a second send after the first has finished
  const auto& mails = client.model().mails();
  ASSERT_EQ(mails.size(), 2u);
  EXPECT_EQ(mails[0].to, "zed2@loafix.net");
  EXPECT_EQ(mails[0].subject, "l\xf2\xe0" "f\xedx\xb9 - comments");
  EXPECT_EQ(mails[0].body, kDefaultComment);
  EXPECT_EQ(mails[1].body, kDefaultComment);
  EXPECT_TRUE(host.formVisible(form));  // the window stays, its text too
  EXPECT_EQ(host.controlText(form, "Text1"), kDefaultComment);
}

TEST_F(Chores, EditsSurviveCloseAndReopen) {
  startUp();
  choose("mailme");
  const Hwnd form = program.Form5();
  host.type(form, "Text1", "great idle\r\nthanks");
  host.click(form, "Label1");
  EXPECT_FALSE(host.formVisible(form));
  choose("mailme");
  EXPECT_TRUE(host.formVisible(form));
  EXPECT_EQ(program.Form5(), form);
  choose("mailme");  // already shown: nothing changes
  EXPECT_EQ(host.controlText(form, "Text1"), "great idle\r\nthanks");
  host.click(form, "Label2");
  ASSERT_EQ(client.model().mails().size(), 1u);
  EXPECT_EQ(client.model().mails()[0].body, "great idle\r\nthanks");
  host.mouseDown(form, "");
  EXPECT_EQ(desktop.window(form)->drags, 1);
}

TEST_F(Chores, ASecondSendWhileTheFirstRetriesIsIgnored) {
  startUp();
  client.model().options.mailOpenDelayMs = 3000;
  choose("mailme");
  const Hwnd form = program.Form5();
  host.after(1, [&] { host.click(form, "Label2"); });
  host.click(form, "Label2");
  host.runFor(10);
  EXPECT_EQ(client.model().mails().size(), 1u);
}

TEST_F(Chores, MenuMovesTheClientMarks) {
  startUp();
  client.model().raiseModal();
  choose("upchat");
  EXPECT_TRUE(checked("upchat"));
  EXPECT_TRUE(desktop.window(client.model().frame())->enabled);
  choose("unupchat");
  EXPECT_FALSE(desktop.window(client.model().frame())->enabled);
  choose("imoff");
  EXPECT_TRUE(checked("imoff"));
  EXPECT_FALSE(checked("imon"));
  choose("hideaol");
  EXPECT_FALSE(desktop.window(client.model().frame())->visible);
  choose("showaol");
  EXPECT_TRUE(desktop.window(client.model().frame())->visible);
}

TEST_F(Chores, WithNoClientEveryCommandReturnsWithinItsBoundAndTheClockKeepsCounting) {
  client.model().quit();
  startUp();
  // The clock runs; the poster stays off so that its own waits do not nest in the
  // commands' and blur their bounds.
  host.setTimer(program.Timer1(), true, 60000);
  for (int i = 0; i < 8; ++i) host.answerPrompt("x");
  const char* const commands[] = {
      "about",  "advertise", "disclamer", "upchat",   "unupchat",  "hideaol",  "showaol",
      "killmodal", "killglyph", "killwait", "imoff", "imon",     "bragstats", "aimsn",
      "setascii", "reason",  "linksite",  "enablescrolling", "enablescrolling",
      "scrollinginterval", "mailme", "minimize", "idleoff", "idleon"};
  for (const char* command : commands) {
    const double before = host.now();
    choose(command);
    EXPECT_LE(host.now() - before, 31.0) << command;
  }
  // The instant-message and mail waits let the clock's ticks run meanwhile: idle on
  // was the last command, and the mail wait that follows lasts beyond a minute.
  const double idleSince = host.now();
  host.click(program.Form5(), "Label2");
  EXPECT_FALSE(host.ended());
  EXPECT_GT(host.ticksStarted(program.Timer1()), 0);
  const int minutes = static_cast<int>((host.now() - idleSince) / 60);
  EXPECT_GE(minutes, 1);
  EXPECT_EQ(counters(), "0:0:" + std::to_string(minutes));
  choose("unload");
  EXPECT_TRUE(host.ended());
}

}  // namespace
}  // namespace loafix
