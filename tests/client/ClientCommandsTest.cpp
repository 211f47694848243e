// upchat, unupchat, hide and show against the stand-in client, in virtual time.
#include <gtest/gtest.h>

#include "core/Text.h"
#include "client/ClientCommands.h"
#include "ui/ClientChores.h"
#include "idle/ChatLines.h"
#include "tests/client/ClientDesk.h"

namespace loafix {
namespace {

using clienttest::ClientDesk;

struct Marks {
  MenuItem upchatItem{"upchat", "&upchat", false, {}, {}};
  MenuItem unupchatItem{"unupchat", "&unupchat", true, {}, {}};  // as at start
};

// The program's enable calls, as "frame 1", "modal 0", in order.
std::vector<std::string> Enables(ClientDesk& d, Hwnd modal) {
  std::vector<std::string> out;
  for (const auto& c : d.spy.calls) {
    if (c.op != "enable") continue;
    const char* who = c.window == d.model().frame() ? "frame" : c.window == modal ? "modal" : "?";
    out.push_back(std::string(who) + (c.message ? " 1" : " 0"));
  }
  return out;
}

TEST(Upchat, WithAModalWindowSwitchesItAndAnnouncesASecondApart) {
  ClientDesk d;
  d.model().options.modalAtStart = true;
  d.model().start();
  d.model().openRoom("lobby");
  const Hwnd frame = d.model().frame(), modal = d.model().modal();
  ASSERT_FALSE(d.desktop.window(frame)->enabled);
  Marks m;
  std::vector<double> lineTimes;
  d.model().onLog = [&](const std::string& line) {
    if (line.rfind("chat ", 0) == 0) lineTimes.push_back(d.clock.now());
  };
  int ticks = 0;
  d.host.setTimer(d.host.createTimer([&] { ++ticks; }), true, 100);

  upchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
  EXPECT_TRUE(m.upchatItem.checked);
  EXPECT_FALSE(m.unupchatItem.checked);
  EXPECT_EQ(Enables(d, modal), (std::vector<std::string>{"frame 1", "modal 0"}));
  EXPECT_TRUE(d.desktop.window(frame)->enabled);
  EXPECT_FALSE(d.desktop.window(modal)->enabled);
  ASSERT_EQ(d.client.receivedUtf8(),
            (std::vector<std::string>{std::string(BrandLine), std::string(UpchatOnLine)}));
  EXPECT_GE(lineTimes[1] - lineTimes[0], 0.5);
  EXPECT_LE(lineTimes[1] - lineTimes[0], 1.5);
  EXPECT_GT(ticks, 0);  // the pause between the lines lets events run

  // unupchat puts it back: modal first, then the frame.
  d.spy.calls.clear();
  unupchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
  EXPECT_FALSE(m.upchatItem.checked);
  EXPECT_TRUE(m.unupchatItem.checked);
  EXPECT_EQ(Enables(d, modal), (std::vector<std::string>{"modal 1", "frame 0"}));
  EXPECT_FALSE(d.desktop.window(frame)->enabled);
  EXPECT_TRUE(d.desktop.window(modal)->enabled);
  const auto lines = d.client.receivedUtf8();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2], BrandLine);
  EXPECT_EQ(lines[3], UpchatOffLine);
}

TEST(Upchat, UnupchatAlreadyCheckedAtStartRunsAgain) {
  ClientDesk d;
  d.model().options.modalAtStart = true;
  d.model().start();
  d.model().openRoom("lobby");
  Marks m;
  unupchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
  EXPECT_TRUE(m.unupchatItem.checked);
  EXPECT_EQ(Enables(d, d.model().modal()), (std::vector<std::string>{"modal 1", "frame 0"}));
  EXPECT_EQ(d.client.receivedUtf8(),
            (std::vector<std::string>{std::string(BrandLine), std::string(UpchatOffLine)}));
}

TEST(Upchat, WithoutAModalWindowOnlyTheMarksMove) {
  enum class Setup { NoModal, NoClient, ModalDeeperDown };
  for (Setup setup : {Setup::NoModal, Setup::NoClient, Setup::ModalDeeperDown}) {
    for (bool up : {true, false}) {
      SCOPED_TRACE(static_cast<int>(setup) * 2 + up);
      ClientDesk d;
      if (setup != Setup::NoClient) {
        d.model().start();
        d.model().openRoom("lobby");
      }
      // Only a direct child of the frame counts as the modal window; without a frame
      // a stray top-level one is no modal window either.
      if (setup == Setup::ModalDeeperDown) d.desktop.create(d.model().mdi(), "_AOL_MODAL");
      if (setup == Setup::NoClient) d.desktop.create(0, "_AOL_MODAL");
      Marks m;
      m.upchatItem.checked = !up;
      m.unupchatItem.checked = up;
      const double start = d.clock.now();
      if (up)
        upchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
      else
        unupchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
      EXPECT_EQ(m.upchatItem.checked, up);
      EXPECT_EQ(m.unupchatItem.checked, !up);
      for (const auto& c : d.spy.calls) EXPECT_NE(c.op, "enable");
      EXPECT_TRUE(d.model().received().empty());
      EXPECT_EQ(d.clock.now(), start);
    }
  }
}

TEST(Visibility, HideThenShowBringsTheFrameBack) {
  ClientDesk d;
  d.model().start();
  const Hwnd frame = d.model().frame();
  hideaol(d.spy);
  EXPECT_FALSE(d.desktop.window(frame)->visible);
  showaol(d.spy);  // found while hidden
  EXPECT_TRUE(d.desktop.window(frame)->visible);
  showaol(d.spy);
  EXPECT_TRUE(d.desktop.window(frame)->visible);
  EXPECT_EQ(d.desktop.children(0).front(), frame);  // still in its place

  ClientDesk none;
  hideaol(none.spy);
  showaol(none.spy);
  for (const auto& c : none.spy.calls) EXPECT_EQ(c.window, 0u);
}

// A client that does not answer for 20 s, or that runs as administrator: each command
// waits at most once for 5 s, and only enabling waits at all; the person's next click
// (0.1 s after the command) runs then. Hiding and showing take effect once a hung
// client answers again; a refusing client gets nothing, ever.
TEST(ClientCommands, AHungOrRefusingClientCostsAtMostOneWait) {
  enum class Command { Hide, Show, Upchat, Unupchat };
  struct Row {
    Command command;
    bool refusing;
    double clickRanAt;
    bool visibleDuring, visibleAfter, frameEnabled, modalEnabled;
  };
  const Row rows[] = {
      {Command::Hide, false, 0.1, true, false, false, true},
      {Command::Show, false, 0.1, false, true, false, true},
      {Command::Upchat, false, 5.0, true, true, false, true},
      {Command::Unupchat, false, 5.0, true, true, true, false},
      {Command::Hide, true, 0.1, true, true, false, true},
      {Command::Show, true, 0.1, false, false, false, true},
      {Command::Upchat, true, 0.1, true, true, false, true},
      {Command::Unupchat, true, 0.1, true, true, true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.command) + (row.refusing ? 4 : 0));
    ClientDesk d;
    d.model().options.modalAtStart = true;
    d.model().start();
    d.model().openRoom("lobby");
    const Hwnd frame = d.model().frame(), modal = d.model().modal();
    if (row.command == Command::Show) d.desktop.setShown(frame, 0);  // SW_HIDE
    // Unupchat starts from the state upchat leaves.
    if (row.command == Command::Unupchat) {
      d.desktop.window(frame)->enabled = true;
      d.desktop.window(modal)->enabled = false;
    }
    if (row.refusing)
      d.desktop.refuse(frame);
    else
      d.desktop.hang(frame, 20);
    Marks m;
    d.host.at(0, [&] {
      if (row.command == Command::Hide) hideaol(d.spy);
      if (row.command == Command::Show) showaol(d.spy);
      if (row.command == Command::Upchat) upchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
      if (row.command == Command::Unupchat) unupchat(d.spy, d.host, m.upchatItem, m.unupchatItem);
    });
    double clickRanAt = -1;
    d.host.at(0.1, [&] { clickRanAt = d.clock.now(); });
    bool visibleDuring = false;
    d.host.at(19, [&] { visibleDuring = d.desktop.window(frame)->visible; });
    d.host.runFor(30);
    EXPECT_NEAR(clickRanAt, row.clickRanAt, 1e-6);
    EXPECT_EQ(visibleDuring, row.visibleDuring);
    EXPECT_EQ(d.desktop.window(frame)->visible, row.visibleAfter);
    EXPECT_EQ(d.desktop.window(frame)->enabled, row.frameEnabled);
    EXPECT_EQ(d.desktop.window(modal)->enabled, row.modalEnabled);
    EXPECT_TRUE(d.model().received().empty());
  }
}

}  // namespace
}  // namespace loafix
