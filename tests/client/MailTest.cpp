// The mail composer against the stand-in client, in virtual time.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/WindowsNumbers.h"
#include "core/Text.h"
#include "client/MailComposer.h"
#include "core/Product.h"
#include "tests/client/ClientDesk.h"

namespace loafix {
namespace {

using clienttest::ClientDesk;

constexpr std::string_view kSubject = "lòàfíx¹ - comments";
constexpr std::string_view kBody = "this idle owns, whens version 2.0 comming out?\r\n";

// The children of each mail window the client opens, noted as it opens.
struct MailWindowWatch {
  explicit MailWindowWatch(ClientDesk& d) {
    d.model().onLog = [this, &d](const std::string& line) {
      if (line.rfind("mail open", 0) != 0) return;
      Opened w;
      w.window = d.model().mailWindows().back();
      w.edits = d.kids(w.window, "_AOL_Edit");
      w.icons = d.kids(w.window, "_AOL_Icon");
      w.time = d.clock.now();
      opened.push_back(std::move(w));
    };
  }
  struct Opened {
    Hwnd window;
    std::vector<Hwnd> edits, icons;
    double time;
  };
  std::vector<Opened> opened;
};

int Count(ClientDesk& d, Hwnd window, std::uint32_t message) {
  int n = 0;
  for (const auto& c : d.spy.callsTo(window)) n += c.message == message;
  return n;
}

// Messages that reached a window (not handle 0).
int CountAll(ClientDesk& d, std::uint32_t message) {
  int n = 0;
  for (const auto& c : d.spy.calls) n += c.message == message && c.window != 0;
  return n;
}

TEST(SendMail, FillsRecipientSubjectAndBodyByteExactAndNeverTheSecondBox) {
  ClientDesk d;
  d.model().start();
  MailWindowWatch watch(d);
  SendMail(d.spy, d.host, kAuthorMail, kSubject, kBody);

  ASSERT_EQ(d.model().mails().size(), 1u);
  const auto& mail = d.model().mails()[0];
  EXPECT_EQ(mail.to, "zed2@loafix.net");
  EXPECT_EQ(mail.subject,
            "l\xf2\xe0"
            "f\xedx\xb9 - comments");
  EXPECT_EQ(mail.body, "this idle owns, whens version 2.0 comming out?\r\n");
  EXPECT_EQ(Count(d, d.model().writeIcon(), winnum::kLButtonUp), 1);

  ASSERT_EQ(watch.opened.size(), 1u);
  const auto& w = watch.opened[0];
  std::vector<Hwnd> written;
  for (const auto& c : d.spy.calls)
    if (c.message == winnum::kSetText && c.window != 0) written.push_back(c.window);
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(written[0], w.edits[0]);
  EXPECT_EQ(written[1], w.edits[2]);
  EXPECT_TRUE(d.spy.callsTo(w.edits[1]).empty());
  // The sixteenth icon is clicked, posted down then up.
  const auto send = d.spy.callsTo(w.icons[15]);
  ASSERT_EQ(send.size(), 2u);
  EXPECT_EQ(send[0].op, "post");
  EXPECT_EQ(send[0].message, winnum::kLButtonDown);
  EXPECT_EQ(send[1].message, winnum::kLButtonUp);
  // The client closed the window itself: nothing to close.
  EXPECT_TRUE(d.model().mailWindows().empty());
  EXPECT_EQ(CountAll(d, winnum::kClose), 0);
}

TEST(SendMail, AWindowThatOpensAfterAFewPassesIsFilledOnceAndSentOnce) {
  ClientDesk d;
  d.model().options.mailOpenDelayMs = 45;
  d.model().start();
  int ticks = 0;
  d.host.setTimer(d.host.createTimer([&] { ++ticks; }), true, 10);
  SendMail(d.spy, d.host, "a@b.c", "s", "b");
  EXPECT_EQ(d.model().mails().size(), 1u);
  EXPECT_EQ(CountAll(d, winnum::kSetText), 3);
  EXPECT_EQ(CountAll(d, winnum::kLButtonUp), 2);  // Write, then send
  EXPECT_GE(ticks, 4);                      // events ran between the passes
}

TEST(SendMail, NoExtraSecondWhenTheClientClosesTheWindowItself) {
  struct Row {
    bool staysOpen;
    double returnsAt;  // seconds after 10:00
    int closes;
  };
  // The window opens at 10:00:00.505, so the pass that fills it ends with a Pause(0)
  // that lets events run up to 10:00:01; the client handles the posted click then.
  for (const Row row : {Row{false, 1.0, 0}, Row{true, 2.0, 1}}) {
    SCOPED_TRACE(row.staysOpen);
    ClientDesk d(10 * 3600.0 + 0.495);
    d.model().options.mailOpenDelayMs = 10;
    d.model().options.mailStaysOpen = row.staysOpen;
    d.model().start();
    SendMail(d.spy, d.host, "a@b.c", "s", "b");
    EXPECT_NEAR(d.clock.timeOfDay(), 36000 + row.returnsAt, 1e-3);
    EXPECT_EQ(CountAll(d, winnum::kClose), row.closes);
    EXPECT_EQ(d.model().mails().size(), 1u);
    EXPECT_TRUE(d.model().mailWindows().empty());
  }
}

TEST(SendMail, OnlyTheExactCaptionIsFilledAndOnlyOurWindowIsClosed) {
  // The person's own mail windows: one whose caption goes on after "Write Mail" (the
  // first FindWriteMail finds), and one titled exactly "Write Mail". Neither is
  // written into or closed, whether the client closes ours or leaves it open (then
  // with the person's window brought above ours meanwhile).
  for (bool staysOpen : {false, true}) {
    SCOPED_TRACE(staysOpen);
    ClientDesk d;
    d.model().options.mailStaysOpen = staysOpen;
    d.model().start();
    const Hwnd longer = d.model().openMailWindow("Write Mail - to bob", true);
    const Hwnd own = d.model().openMailWindow("Write Mail", false);
    EXPECT_EQ(FindWriteMail(d.spy), longer);
    MailWindowWatch watch(d);
    auto onLog = d.model().onLog;
    d.model().onLog = [&](const std::string& line) {
      onLog(line);
      if (line.rfind("mail open", 0) == 0) d.desktop.bringToTop(longer);
    };
    SendMail(d.spy, d.host, "a@b.c", "s", "b");

    ASSERT_EQ(watch.opened.size(), 1u);
    const Hwnd ours = watch.opened[0].window;
    for (Hwnd h : {longer, own}) {
      EXPECT_TRUE(d.spy.callsTo(h).empty());
      for (Hwnd kid : d.desktop.children(h)) EXPECT_TRUE(d.spy.callsTo(kid).empty());
    }
    EXPECT_EQ(Count(d, ours, winnum::kClose), staysOpen ? 1 : 0);
    EXPECT_FALSE(d.desktop.exists(ours));
    EXPECT_TRUE(d.desktop.exists(longer));
    EXPECT_TRUE(d.desktop.exists(own));
    ASSERT_EQ(d.model().mails().size(), 1u);
    EXPECT_EQ(d.model().mails()[0].to, "a@b.c");
  }
}

TEST(SendMail, GivesUpAfterThirtySecondsLeavingEveryWindowAsItIs) {
  enum class Setup { NoClient, NeverOpens, CaptionGoesOn, OwnDraftOnly, OneEditBox, TenIcons };
  for (Setup setup : {Setup::NoClient, Setup::NeverOpens, Setup::CaptionGoesOn, Setup::OwnDraftOnly,
                      Setup::OneEditBox, Setup::TenIcons}) {
    SCOPED_TRACE(static_cast<int>(setup));
    ClientDesk d;
    auto& options = d.model().options;
    options.mailNeverOpens = setup == Setup::NeverOpens || setup == Setup::OwnDraftOnly;
    options.mailDraftAtStart = setup == Setup::OwnDraftOnly;
    if (setup == Setup::CaptionGoesOn) options.mailCaption = "Write Mail - 1";
    if (setup == Setup::OneEditBox) options.mailEditCount = 1;
    if (setup == Setup::TenIcons) options.mailIconCount = 10;
    if (setup != Setup::NoClient) d.model().start();
    const auto before = d.model().mailWindows();
    MailWindowWatch watch(d);
    int ticks = 0;
    d.host.setTimer(d.host.createTimer([&] { ++ticks; }), true, 100);

    SendMail(d.spy, d.host, "a@b.c", "the subject", "the body");
    EXPECT_GE(d.elapsed(), 30.0);
    EXPECT_LE(d.elapsed(), 30.5);
    EXPECT_GE(ticks, 299);
    EXPECT_TRUE(d.model().mails().empty());
    EXPECT_EQ(CountAll(d, winnum::kClose), 0);
    // Only the Write icon was clicked.
    for (const auto& c : d.spy.posts()) EXPECT_EQ(c.window, d.model().writeIcon());
    auto after = before;
    for (const auto& w : watch.opened) after.push_back(w.window);
    EXPECT_EQ(d.model().mailWindows(), after);
    // Nothing is written into a window that never has all its boxes.
    EXPECT_EQ(CountAll(d, winnum::kSetText), 0);
  }
}

TEST(SendMail, NeverWritesIntoOrSendsAWindowThatIsNotItsOwn) {
  // The client is slow: our mail window opens 3 s after the Write click. Meanwhile the
  // person opens a Write Mail window of their own and starts typing, or the client
  // ends, or ends and starts again with a draft restored.
  enum class Then { PersonTypes, ClientEnds, ClientRestartsWithDraft };
  struct Row {
    const char* what;
    Then then;
    int box;  // the person's box that holds text: 0 recipient, 1 copy to, 2 subject, 3 body
    bool oursIsSent;
  };
  const Row rows[] = {
      {"the person's window, text in the body", Then::PersonTypes, 3, true},
      {"the person's window, text in the recipient", Then::PersonTypes, 0, true},
      {"the person's window, text in the copy-to box", Then::PersonTypes, 1, true},
      {"the person's window, text in the subject", Then::PersonTypes, 2, true},
      {"the client ends", Then::ClientEnds, 0, false},
      {"the client restarts with an empty draft", Then::ClientRestartsWithDraft, -1, false},
      {"the client restarts with a draft", Then::ClientRestartsWithDraft, 3, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ClientDesk d;
    d.model().options.mailOpenDelayMs = 3000;
    d.model().start();
    Hwnd theirs = 0;
    std::vector<std::string> typed;
    // The person's window gets its text the way typing would, not through the program.
    auto typeInto = [&](Hwnd window) {
      theirs = window;
      auto boxes = d.kids(window, "_AOL_Edit");
      boxes.push_back(d.kids(window, "RICHCNTL").at(0));
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (static_cast<int>(i) == row.box) d.desktop.window(boxes[i])->caption = "dear bob,";
        typed.push_back(d.desktop.caption(boxes[i]));
      }
    };
    d.host.after(0.8, [&] {
      if (row.then == Then::PersonTypes) typeInto(d.model().openMailWindow("Write Mail", true));
      if (row.then == Then::ClientEnds) d.model().quit();
      if (row.then == Then::ClientRestartsWithDraft) {
        d.model().quit();
        d.model().options.mailDraftAtStart = true;
        d.model().start();
        typeInto(d.model().mailWindows().at(0));
      }
    });
    SendMail(d.spy, d.host, "a@b.c", "s", "b");

    if (row.oursIsSent) {
      ASSERT_EQ(d.model().mails().size(), 1u);
      EXPECT_EQ(d.model().mails()[0].to, "a@b.c");
      EXPECT_EQ(d.model().mails()[0].body, "b");
    } else {
      EXPECT_TRUE(d.model().mails().empty());
      EXPECT_LT(d.elapsed(), 1.0);  // it gives up at once, not after 30 s
    }
    if (theirs == 0) continue;
    EXPECT_TRUE(d.desktop.exists(theirs));
    EXPECT_TRUE(d.spy.callsTo(theirs).empty());
    std::vector<std::string> now;
    for (Hwnd kid : d.desktop.children(theirs)) {
      EXPECT_TRUE(d.spy.callsTo(kid).empty());
      const std::string& cls = d.desktop.window(kid)->className;
      if (cls == "_AOL_Edit" || cls == "RICHCNTL") now.push_back(d.desktop.caption(kid));
    }
    EXPECT_EQ(now, typed);
  }
}

TEST(SendMail, ABodyBoxThatComesLateIsWaitedForBeforeSend) {
  ClientDesk d;
  d.model().options.mailRichLateMs = 300;
  d.model().start();
  SendMail(d.spy, d.host, "a@b.c", "s", "line one\r\nline two");
  ASSERT_EQ(d.model().mails().size(), 1u);
  EXPECT_EQ(d.model().mails()[0].body, "line one\r\nline two");
}

TEST(SendMailOnce, ASecondSendWhileTheFirstRetriesIsIgnored) {
  ClientDesk d;
  d.model().options.mailOpenDelayMs = 2000;
  d.model().start();
  bool sending = false;
  std::vector<bool> nested;
  d.host.after(0.5, [&] {
    nested.push_back(SendMailOnce(sending, d.spy, d.host, "x@y.z", "2nd", "2nd"));
  });
  EXPECT_TRUE(SendMailOnce(sending, d.spy, d.host, "a@b.c", "1st", "1st"));
  EXPECT_EQ(nested, std::vector<bool>{false});
  EXPECT_FALSE(sending);
  EXPECT_EQ(Count(d, d.model().writeIcon(), winnum::kLButtonUp), 1);
  ASSERT_EQ(d.model().mails().size(), 1u);

  // Once the first has finished, the same text can be sent again.
  EXPECT_TRUE(SendMailOnce(sending, d.spy, d.host, "a@b.c", "1st", "1st"));
  ASSERT_EQ(d.model().mails().size(), 2u);
  EXPECT_EQ(d.model().mails()[1].body, d.model().mails()[0].body);
}

TEST(FindWriteMail, FirstCaptionContainingWriteMailInTheMdiOrder) {
  ClientDesk d;
  EXPECT_EQ(FindWriteMail(d.spy), 0u);
  d.model().start();
  d.model().openRoom("Write Mail fans");  // contains it, any window counts
  const Hwnd lower = d.model().openMailWindow("write mail", true);
  EXPECT_NE(FindWriteMail(d.spy), lower);  // exact letter case
  const Hwnd top = d.model().openMailWindow("Re: Write Mail", true);
  EXPECT_EQ(FindWriteMail(d.spy), top);
  EXPECT_EQ(FindMDIClient(d.spy), d.model().mdi());
}

}  // namespace
}  // namespace loafix
