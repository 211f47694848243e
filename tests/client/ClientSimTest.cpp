// What the stand-in client itself must get right for the end-to-end log to be read.
#include <gtest/gtest.h>

#include "clientsim/Hex.h"
#include "tests/WindowsNumbers.h"
#include "tests/client/ClientDesk.h"

namespace loafix {
namespace {

using clienttest::ClientDesk;

constexpr std::uint32_t kEnable = 0x000A;
constexpr std::uint32_t kShowWindow = 0x0018;

TEST(StandInClient, LogsStateChangesOnlyWhenSomeoneElseMakesThem) {
  ClientDesk d;
  d.model().start();
  const Hwnd frame = d.model().frame();
  d.model().raiseModal();  // disables the frame itself: not logged as an enable
  d.desktop.SendMessageA(frame, kEnable, 0, 0);
  d.desktop.SendMessageA(frame, kEnable, 1, 0);
  d.desktop.SendMessageA(frame, kEnable, 1, 0);  // no change
  d.desktop.SendMessageA(d.model().modal(), kEnable, 0, 0);
  d.desktop.SendMessageA(frame, kShowWindow, 0, 0);
  d.desktop.SendMessageA(frame, kShowWindow, 1, 0);
  const std::vector<std::string> tail(d.model().log().end() - 4, d.model().log().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"enable AOL Frame25 1", "enable _AOL_MODAL 0",
                                            "visible AOL Frame25 0", "visible AOL Frame25 1"}));
  EXPECT_EQ(d.model().log()[d.model().log().size() - 5], "modal up");
}

TEST(StandInClient, ButtonsAndIconsActOnAPressFollowedByARelease) {
  ClientDesk d;
  d.model().start();
  const Hwnd box = d.model().showMessageBox("hello");
  const Hwnd ok = d.kids(box, "Button").front();
  d.desktop.PostMessageA(ok, winnum::kKeyUp, 0x20, 0);  // a release alone does nothing
  d.host.runFor(0.1);
  EXPECT_TRUE(d.desktop.exists(box));
  d.desktop.PostMessageA(ok, winnum::kKeyDown, 0x20, 0);
  d.desktop.PostMessageA(ok, winnum::kKeyUp, 0x20, 0);
  d.host.runFor(0.1);
  EXPECT_FALSE(d.desktop.exists(box));

  const Hwnd write = d.model().writeIcon();
  d.desktop.PostMessageA(write, winnum::kLButtonUp, 0, 0);
  d.host.runFor(0.1);
  EXPECT_TRUE(d.model().mailWindows().empty());
  d.desktop.PostMessageA(write, winnum::kLButtonDown, 0, 0);
  d.desktop.PostMessageA(write, winnum::kLButtonUp, 0, 0);
  d.host.runFor(0.1);
  EXPECT_EQ(d.model().mailWindows().size(), 1u);
  EXPECT_EQ(d.model().log().back(), "mail open " + Hex("Write Mail"));
}

TEST(StandInClient, KeywordsAreTakenWithoutTheBlanksAroundThem) {
  ClientDesk d;
  d.model().start();
  const Hwnd box = d.model().keywordBox();
  d.desktop.SendMessageA(box, winnum::kSetText, 0, std::string_view("  aol://9293:Some One"));
  d.desktop.SendMessageA(box, winnum::kChar, 32, 0);
  d.desktop.SendMessageA(box, winnum::kChar, 13, 0);
  EXPECT_EQ(d.model().keywords(), std::vector<std::string>{"aol://9293:Some One"});
  EXPECT_EQ(d.desktop.caption(box), "");
  ASSERT_EQ(d.model().imWindows().size(), 1u);
  const Hwnd to = d.kids(d.model().imWindows()[0], "_AOL_Edit").front();
  EXPECT_EQ(d.desktop.caption(to), "Some One");
}

}  // namespace
}  // namespace loafix
