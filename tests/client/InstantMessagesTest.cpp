// Keywords and instant messages against the stand-in client, in virtual time.
#include <gtest/gtest.h>

#include "client/InstantMessages.h"
#include "clientsim/Hex.h"
#include "tests/WindowsNumbers.h"
#include "tests/client/ClientDesk.h"
#include "ui/ClientChores.h"

namespace loafix {
namespace {

using clienttest::ClientDesk;

// The icons and text box of each IM window, noted as it opens.
struct ImWindowWatch {
  explicit ImWindowWatch(ClientDesk& d) {
    d.model().onLog = [this, &d](const std::string& line) {
      if (line.rfind("im open", 0) != 0) return;
      const Hwnd im = d.model().imWindows().back();
      icons = d.kids(im, "_AOL_Icon");
      const auto rich = d.kids(im, "RICHCNTL");
      textBox = rich.empty() ? 0 : rich.front();
    };
  }
  std::vector<Hwnd> icons;
  Hwnd textBox = 0;
};

TEST(SendIM, TypesThePrefixAndTheNameThenSpaceAndEnter) {
  ClientDesk d;
  d.model().options.online = {"abc"};
  d.model().start();
  SendIM(d.spy, d.host, "abc", "hi");

  const auto typed = d.spy.callsTo(d.model().keywordBox());
  ASSERT_EQ(typed.size(), 3u);
  EXPECT_EQ(typed[0].message, winnum::kSetText);
  EXPECT_EQ(typed[0].text, "aol://9293:abc");
  EXPECT_EQ(typed[1].message, winnum::kChar);
  EXPECT_EQ(typed[1].wParam, 32u);
  EXPECT_EQ(typed[2].message, winnum::kChar);
  EXPECT_EQ(typed[2].wParam, 13u);
  // The client ignores the trailing space and opens the IM window for abc.
  EXPECT_EQ(d.model().keywords(), std::vector<std::string>{"aol://9293:abc"});
  ASSERT_EQ(d.model().ims().size(), 1u);
  EXPECT_EQ(d.model().ims()[0].screenName, "abc");
  EXPECT_EQ(d.model().ims()[0].text, "hi");
}

TEST(SendIM, WithoutClientTheKeywordReachesNothing) {
  ClientDesk d;
  d.desktop.create(0, "Edit");  // a stray top-level edit box must not get the keyword
  d.desktop.recordDeliveries(true);
  EnterKeyword(d.spy, "aol://9293:abc");
  EXPECT_TRUE(d.desktop.deliveries().empty());
}

TEST(ImCommands, MarksMoveBeforeTheSmileyGoesToTheSpecialName) {
  ClientDesk d;
  d.model().start();
  MenuItem imoffItem{"imoff", "&off", false, {}, {}};
  MenuItem imonItem{"imon", "&on", true, {}, {}};
  // The marks as the client sees them when the IM arrives.
  std::vector<std::pair<bool, bool>> marksAtSend;
  d.model().onLog = [&](const std::string& line) {
    if (line.rfind("im ", 0) == 0 && line.rfind("im open", 0) != 0)
      marksAtSend.emplace_back(imoffItem.checked, imonItem.checked);
  };

  struct Step {
    bool off;  // imoff, else imon
    bool imsOnAfter;
  };
  // "&on" at start is already checked and still sends; "&off" twice sends twice.
  const Step steps[] = {{false, true}, {true, false}, {true, false}, {false, true}};
  std::size_t n = 0;
  for (const Step& s : steps) {
    if (s.off)
      imoff(d.spy, d.host, imoffItem, imonItem);
    else
      imon(d.spy, d.host, imoffItem, imonItem);
    ++n;
    SCOPED_TRACE(n);
    EXPECT_EQ(imoffItem.checked, s.off);
    EXPECT_EQ(imonItem.checked, !s.off);
    ASSERT_EQ(d.model().ims().size(), n);
    EXPECT_EQ(d.model().ims().back().screenName, s.off ? "$IM_OFF" : "$IM_ON");
    EXPECT_EQ(d.model().ims().back().text, "=)");
    EXPECT_EQ(d.model().imsOn(), s.imsOnAfter);
    ASSERT_EQ(marksAtSend.size(), n);
    EXPECT_EQ(marksAtSend.back(), std::make_pair(s.off, !s.off));
    EXPECT_TRUE(d.model().imWindows().empty());
  }
}

TEST(SendIM, WaitsForATextBoxCreatedAfterTheIcons) {
  ClientDesk d;
  d.model().options.online = {"abc"};
  d.model().options.imOpenDelayMs = 500;
  d.model().options.imRichLateMs = 2000;
  d.model().start();
  SendIM(d.spy, d.host, "abc", "are you there?");
  // One click, after the text box existed and got the text.
  ASSERT_EQ(d.model().ims().size(), 1u);
  EXPECT_EQ(d.model().ims()[0].text, "are you there?");
  int clicks = 0;
  for (const auto& c : d.spy.calls) {
    if (c.message != winnum::kLButtonDown) continue;
    ++clicks;
    EXPECT_GE(c.time, 2.5);
  }
  EXPECT_EQ(clicks, 1);
  EXPECT_LT(d.elapsed(), 2.6);
}

TEST(SendIM, NineLookupsOverFiveIconsGiveTheThirdAndOverEightGiveNone) {
  struct Row {
    int icons;
    int clicked;  // index of the clicked icon, -1 for none
  };
  for (const Row row : {Row{5, 2}, Row{8, -1}, Row{9, 8}, Row{12, 8}}) {
    SCOPED_TRACE(row.icons);
    ClientDesk d;
    d.model().options.online = {"abc"};
    d.model().options.imIconCount = row.icons;
    d.model().start();
    ImWindowWatch watch(d);
    SendIM(d.spy, d.host, "abc", "hi");
    const auto& icons = watch.icons;
    ASSERT_EQ(icons.size(), static_cast<std::size_t>(row.icons));
    for (int i = 0; i < row.icons; ++i) {
      const auto calls = d.spy.callsTo(icons[static_cast<std::size_t>(i)]);
      if (i != row.clicked) {
        EXPECT_TRUE(calls.empty()) << "icon " << i;
        continue;
      }
      ASSERT_EQ(calls.size(), 2u);
      EXPECT_EQ(calls[0].message, winnum::kLButtonDown);
      EXPECT_EQ(calls[1].message, winnum::kLButtonUp);
      EXPECT_EQ(calls[0].op, "send");
    }
    if (row.icons >= 9) {
      EXPECT_EQ(d.model().ims().size(), 1u);
      EXPECT_LT(d.elapsed(), 0.1);
      continue;
    }
    // The third icon is no send button: the IM window stays, and the wait for the
    // outcome gives up 30 s after the click, itself once the window held still for a
    // second (a wrapped chain must). With eight there is nothing to click and the wait
    // for the window gives up 30 s after the keyword.
    EXPECT_TRUE(d.model().ims().empty());
    EXPECT_EQ(d.model().imWindows().size(), 1u);
    EXPECT_NEAR(d.elapsed(), row.clicked >= 0 ? 31.0 : 30.0, 0.011);
    EXPECT_EQ(d.spy.callsTo(watch.textBox).size(), row.clicked >= 0 ? 1u : 0u);
  }
}

// The icons the client was clicked on, in order, by caption.
std::vector<std::string> Clicks(ClientDesk& d) {
  std::vector<std::string> out;
  for (const std::string& line : d.model().log())
    if (line.rfind("click ", 0) == 0) out.push_back(line.substr(6));
  return out;
}

TEST(SendIM, AWindowBuiltChildByChildIsTakenOnlyOnceFinished) {
  struct Row {
    int icons, gapMs;
    const char* clicked;
  };
  // Seen half-built, the chain of nine lookups wraps over the icons there so far and
  // lands on "Text Color" (one icon), "Italic" (four), "Bold" (five)...
  // 100 ms apart: a client that stalls between children, longer than the 50 ms a
  // finished window must hold still.
  const Row rows[] = {{9, 1, "Send"},  {9, 5, "Send"},   {9, 20, "Send"},
                      {9, 40, "Send"}, {9, 100, "Send"}, {5, 20, "Bold"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.icons << " icons, " << row.gapMs << " ms apart");
    ClientDesk d;
    d.model().options.imOpenDelayMs = 100;
    d.model().options.lateChildGapMs = row.gapMs;
    d.model().options.imIconCount = row.icons;
    d.model().start();
    SendIM(d.spy, d.host, "$IM_OFF", "=)");
    EXPECT_EQ(Clicks(d), std::vector<std::string>{Hex(row.clicked)});
    EXPECT_EQ(d.model().imsOn(), row.icons < 9);
  }
}

TEST(SendIM, ABoxAlreadyOpenIsDismissedWithItsFirstButtonAndTheImWindowClosed) {
  ClientDesk d;
  d.model().options.messageBoxAtStart = true;
  d.model().start();
  const Hwnd box = d.model().messageBox();
  const Hwnd ok = d.kids(box, "Button").front();
  const Hwnd cancel = d.desktop.create(box, "Button", "Cancel");
  SendIM(d.spy, d.host, "nobody", "hi");  // would be offline too, but not yet
  EXPECT_LT(d.elapsed(), 0.2);
  const Hwnd im = d.model().imWindows().front();

  const auto posts = d.spy.posts();
  ASSERT_EQ(posts.size(), 3u);
  EXPECT_EQ(posts[0].window, ok);
  EXPECT_EQ(posts[0].message, winnum::kKeyDown);
  EXPECT_EQ(posts[0].wParam, 0x20u);
  EXPECT_EQ(posts[1].window, ok);
  EXPECT_EQ(posts[1].message, winnum::kKeyUp);
  EXPECT_EQ(posts[1].wParam, 0x20u);
  EXPECT_EQ(posts[2].window, im);
  EXPECT_EQ(posts[2].message, winnum::kClose);
  EXPECT_TRUE(d.spy.callsTo(cancel).empty());

  d.host.runFor(1);
  EXPECT_FALSE(d.desktop.exists(box));
  EXPECT_FALSE(d.desktop.exists(im));
}

TEST(SendIM, AnOfflineNameBringsTheBoxLaterAndBothGo) {
  ClientDesk d;
  d.model().options.offlineReplyMs = 300;
  d.model().start();
  SendIM(d.spy, d.host, "nobody", "hi");
  // Clicked at 0.05 s, once the IM window held still; the box, up 300 ms later, is
  // taken once it has held still too.
  EXPECT_NEAR(d.elapsed(), 0.4, 0.011);
  d.host.runFor(1);
  EXPECT_EQ(d.model().messageBox(), 0u);
  EXPECT_TRUE(d.model().imWindows().empty());
  ASSERT_EQ(d.model().ims().size(), 1u);
}

TEST(SendIM, ABoxIsTheOutcomeOnceItHoldsStillWithOrWithoutAButton) {
  // The IM window is taken at 0.05 s and clicked; the box is up from the start, and its
  // button comes 30 ms into the outcome wait, or never.
  for (const double buttonAt : {0.08, -1.0}) {
    SCOPED_TRACE(buttonAt);
    ClientDesk d;
    d.model().options.offlineReplyMs = 60'000;  // the client's own box never comes
    d.model().start();
    const Hwnd box = d.desktop.create(0, "#32770", "America Online", true);
    Hwnd ok = 0;
    if (buttonAt >= 0) d.host.after(buttonAt, [&] { ok = d.desktop.create(box, "Button", "OK"); });
    SendIM(d.spy, d.host, "nobody", "hi");
    EXPECT_LT(d.elapsed(), 0.2);  // not the 30 s of a wait that gives up
    const Hwnd im = d.model().imWindows().front();
    const auto posts = d.spy.posts();
    ASSERT_EQ(posts.size(), 3u);
    // Without a button the space bar goes to no window.
    EXPECT_EQ(std::vector<Hwnd>({posts[0].window, posts[1].window, posts[2].window}),
              std::vector<Hwnd>({ok, ok, im}));
    EXPECT_EQ(posts[2].message, winnum::kClose);
  }
}

TEST(SendIM, ASuccessfulSendReturnsWithoutPostingAnythingNorTouchingAnotherProgramsDialog) {
  ClientDesk d;
  d.model().start();
  // Above everything, as a dialog the person just opened would be: no client box.
  const Hwnd saveAs = d.desktop.create(0, "#32770", "Save As", true);
  const Hwnd save = d.desktop.create(saveAs, "Button", "&Save");
  SendIM(d.spy, d.host, "LoafixBuddy", "back in 5");
  EXPECT_TRUE(d.spy.posts().empty());
  EXPECT_TRUE(d.spy.callsTo(saveAs).empty());
  EXPECT_TRUE(d.spy.callsTo(save).empty());
  EXPECT_EQ(d.clock.pending(), 0u);
  EXPECT_TRUE(d.model().imWindows().empty());
  ASSERT_EQ(d.model().ims().size(), 1u);
  EXPECT_EQ(d.model().ims()[0].text, "back in 5");
  EXPECT_LT(d.elapsed(), 0.1);
}

TEST(SendIM, GivesUpAfterThirtySecondsWhileEventsKeepRunning) {
  enum class Setup { NoClient, WindowNeverOpens };
  for (Setup setup : {Setup::NoClient, Setup::WindowNeverOpens}) {
    ClientDesk d;
    if (setup == Setup::WindowNeverOpens) {
      d.model().options.imNeverOpens = true;
      d.model().start();
    }
    int ticks = 0;
    const TimerId timer = d.host.createTimer([&] { ++ticks; });
    d.host.setTimer(timer, true, 100);
    SendIM(d.spy, d.host, "abc", "hi");
    EXPECT_GE(d.elapsed(), 30.0);
    EXPECT_LE(d.elapsed(), 30.011);
    EXPECT_GE(ticks, 299);
    // A look every 10 ms or at a tick, not a spin: 11 lookups a pass.
    EXPECT_LE(d.spy.lookups, (3000 + ticks + 10) * 11);
    EXPECT_TRUE(d.spy.posts().empty());
  }
}

}  // namespace
}  // namespace loafix
