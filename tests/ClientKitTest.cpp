// The chat path and the window utilities on the simulated desktop.
#include <gtest/gtest.h>

#include "client/ClientWindows.h"
#include "client/MailComposer.h"
#include "client/clientkit.h"
#include "core/Text.h"
#include "idle/ChatLines.h"
#include "platform/sim/SimClient.h"
#include "platform/sim/SimHost.h"
#include "tests/WindowsNumbers.h"

namespace loafix {
namespace {

using sim::SimClient;
using sim::SimClock;
using sim::SimDesktop;

class ChatPath : public ::testing::Test {
 protected:
  // A client child window with the given children, last in the MDI area's order.
  Hwnd child(Hwnd mdi, std::initializer_list<const char*> classes) {
    const Hwnd w = desktop.create(mdi, "AOL Child", "room");
    for (const char* c : classes) desktop.create(w, c);
    return w;
  }

  SimClock clock;
  SimDesktop desktop{clock};
};

TEST_F(ChatPath, NoFrameMeansNoRoomAndNothingSent) {
  desktop.recordDeliveries(true);
  // Stray RICHCNTL windows of another program among the top-level windows must not
  // receive the line.
  desktop.create(0, "RICHCNTL");
  desktop.create(0, "RICHCNTL");
  EXPECT_EQ(FindChatRoom(desktop), 0u);
  ChatSend(desktop, "hello");
  EXPECT_TRUE(desktop.deliveries().empty());
}

TEST_F(ChatPath, RoomTestNeedsAllFourClassesAndFirstInOrderWins) {
  const Hwnd frame = desktop.create(0, "AOL Frame25");
  const Hwnd mdi = desktop.create(frame, "MDIClient");
  child(mdi, {"RICHCNTL", "RICHCNTL", "_AOL_Icon", "_AOL_Static"});  // no listbox
  const Hwnd first = child(mdi, {"_AOL_Static", "_AOL_Icon", "_AOL_Listbox", "RICHCNTL"});
  child(mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"});
  EXPECT_EQ(FindChatRoom(desktop), first);

  // A room brought to the top of the Z order wins.
  const Hwnd later = child(mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"});
  desktop.bringToTop(later);
  EXPECT_EQ(FindChatRoom(desktop), later);
}

TEST_F(ChatPath, ClassesMatchInAnyLetterCaseCaptionsExactly) {
  const Hwnd frame = desktop.create(0, "aol frame25");
  const Hwnd mdi = desktop.create(frame, "mdiclient");
  const Hwnd room = child(mdi, {"richcntl", "_aol_listbox", "_AOL_ICON", "_aol_static"});
  EXPECT_EQ(FindChatRoom(desktop), room);
  EXPECT_EQ(ClientFrame(desktop), frame);
  EXPECT_EQ(FindMDIClient(desktop), mdi);
  // A window titled in another letter case is not the client's mail window.
  desktop.create(mdi, "AOL Child", "write mail");
  EXPECT_EQ(FindWriteMail(desktop), 0u);
  const Hwnd mail = desktop.create(mdi, "aol child", "Write Mail");
  EXPECT_EQ(FindWriteMail(desktop), mail);
}

TEST_F(ChatPath, LookupsUnderNoWindowOrAfterNoWindowFindNothing) {
  // Top-level windows of another program match every class below, but a lookup under
  // a parent that is not there, or a chain that has run out, must not reach them.
  desktop.create(0, "MDIClient");
  desktop.create(0, "RICHCNTL");
  EXPECT_EQ(ClientMdi(desktop), 0u);
  EXPECT_EQ(ChildOf(desktop, 0, 0, "RICHCNTL"), 0u);
  const Hwnd mail = desktop.create(0, "AOL Child");
  desktop.create(mail, "RICHCNTL");
  EXPECT_EQ(NextInChain(desktop, mail, 0, "RICHCNTL"), 0u);
}

TEST_F(ChatPath, ChatSendReachesTheStandInClientByteExact) {
  SimClient client(clock, desktop);
  client.model().start();
  client.model().openRoom("Town Square");
  ChatSend(desktop, StatsLine("\u00ac", "0", "2", "15"));
  ASSERT_EQ(client.model().received().size(), 1u);
  // Windows-1252: \xac the glyph, \xb7 the middle dot, the name's accented letters.
  EXPECT_EQ(client.model().received()[0],
            "<font face=arial><font color=#ff8000><b>\xac</b><font color=#000000> l\xf2\xe0"
            "f\xedx\xb9<font color=#ff8000> <b>\xb7</b><font color=#000000> 0<font "
            "color=#ff8000><b>/</b><font color=#000000>d 2<font color=#ff8000><b>/</b><font "
            "color=#000000>h 15<font color=#ff8000><b>/</b><font color=#000000>m");
}

// A code page whose conversion fails, as Windows fails one given flags its code page
// does not take.
class RefusingCodePage final : public CodePage {
 public:
  unsigned number() const override { return 65001; }
  std::u16string ToUtf16(std::string_view bytes) const override { return Utf8ToUtf16(bytes); }
  std::optional<std::string> FromUtf16(std::u16string_view) const override { return std::nullopt; }
  bool IsLeadByte(unsigned char) const override { return false; }
};

TEST(ChatPathInACodePage, ALineThatCannotBeConvertedIsNotSentAndGetsNoEnter) {
  SimClock clock;
  const RefusingCodePage refusing;
  SimDesktop desktop(clock, refusing);
  SimClient client(clock, desktop);
  client.model().start();
  const Hwnd input = client.model().openRoom("Town Square").inputBox;
  desktop.window(input)->caption = "typed by the person";
  desktop.recordDeliveries(true);
  {
    WindowSystem::Operation operation(desktop);
    ChatSend(desktop, "lunch");
  }
  // Sent as "", the box would have been emptied and the Enter would have posted it.
  EXPECT_TRUE(desktop.deliveries().empty());
  EXPECT_TRUE(client.model().received().empty());
  EXPECT_EQ(desktop.window(input)->caption, "typed by the person");
}

TEST_F(ChatPath, TypedTextIsReplacedAndEmptyTextStillPressesEnter) {
  SimClient client(clock, desktop);
  client.model().start();
  const auto& room = client.model().openRoom("lobby");
  const Hwnd input = room.inputBox;
  desktop.window(input)->caption = "half a sentence the user typ";
  desktop.recordDeliveries(true);
  ChatSend(desktop, "brb");
  EXPECT_EQ(client.model().received().back(), "brb");

  ChatSend(desktop, "");
  ASSERT_EQ(desktop.deliveries().size(), 4u);
  EXPECT_EQ(desktop.deliveries()[2].message.message, winnum::kSetText);
  EXPECT_EQ(desktop.deliveries()[2].message.text, "");
  EXPECT_EQ(desktop.deliveries()[3].message.message, winnum::kChar);
  EXPECT_EQ(desktop.deliveries()[3].message.wParam, 13u);
  EXPECT_EQ(client.model().received().size(), 1u);  // the client posts no empty line
}

TEST_F(ChatPath, ARoomWithOneRichEditGetsNothing) {
  const Hwnd frame = desktop.create(0, "AOL Frame25");
  const Hwnd mdi = desktop.create(frame, "MDIClient");
  const Hwnd room = child(mdi, {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon", "_AOL_Static"});
  EXPECT_EQ(FindChatRoom(desktop), room);
  desktop.recordDeliveries(true);
  ChatSend(desktop, "lost");
  EXPECT_TRUE(desktop.deliveries().empty());
  EXPECT_EQ(desktop.caption(desktop.children(room)[0]), "");
}

TEST_F(ChatPath, ClosedRoomIsSeenAtTheNextCall) {
  SimClient client(clock, desktop);
  client.model().start();
  const Hwnd a = client.model().openRoom("a").window;
  const Hwnd b = client.model().openRoom("b").window;
  EXPECT_EQ(FindChatRoom(desktop), a);
  client.model().closeRoom(a);
  EXPECT_EQ(FindChatRoom(desktop), b);
  ChatSend(desktop, "x");
  EXPECT_EQ(client.model().room(b)->lines.size(), 1u);
}

TEST(WindowUtilities, StayOnTopDragHideShowAndGetText) {
  SimClock clock;
  SimDesktop desktop(clock);
  const Hwnd other = desktop.create(0, "Other");
  const Hwnd form = desktop.create(0, "LoafixForm",
                                   "l\xf2\xe0"
                                   "f\xedx\xb9 - zed\xb2");
  StayOnTop(desktop, form);
  EXPECT_TRUE(desktop.window(form)->topmost);
  EXPECT_EQ(desktop.children(0).front(), form);
  EXPECT_FALSE(desktop.window(other)->topmost);

  desktop.recordDeliveries(true);
  FormDrag(desktop, form);
  EXPECT_EQ(desktop.window(form)->drags, 1);
  EXPECT_EQ(desktop.captureReleases(), 1);
  // The move command with the caption's hit-test code: SC_MOVE (0xF010) | HTCAPTION (2).
  ASSERT_EQ(desktop.deliveries().size(), 1u);
  EXPECT_EQ(desktop.deliveries()[0].message.message, winnum::kSysCommand);
  EXPECT_EQ(desktop.deliveries()[0].message.wParam, 0xF012u);

  WindowHide(desktop, form);
  EXPECT_FALSE(desktop.window(form)->visible);
  WindowShow(desktop, form);
  EXPECT_TRUE(desktop.window(form)->visible);

  EXPECT_EQ(GetText(desktop, form), "l\u00f2\u00e0f\u00edx\u00b9 - zed\u00b2");
  EXPECT_EQ(GetText(desktop, other), "");
  EXPECT_EQ(GetText(desktop, 0), "");
  // Handle 0 and vanished windows reach nothing: no message, no window changed.
  desktop.clearDeliveries();
  StayOnTop(desktop, 0);
  FormDrag(desktop, 0);
  WindowHide(desktop, 0xdead);
  WindowHide(desktop, 0);
  EXPECT_TRUE(desktop.deliveries().empty());
  EXPECT_FALSE(desktop.window(other)->topmost);
  EXPECT_TRUE(desktop.window(other)->visible && desktop.window(form)->visible);
  EXPECT_EQ(desktop.children(0).front(), form);
}

}  // namespace
}  // namespace loafix
