#include "client/MailComposer.h"

#include <algorithm>
#include <vector>

#include "client/clientkit.h"

namespace loafix {
namespace {

// A click: button down and up, posted one right after the other.
void Click(WindowSystem& ws, Hwnd window) {
  ws.PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  ws.PostMessageA(window, WM_LBUTTONUP, 0, 0);
}

}  // namespace

Hwnd FindMDIClient(WindowSystem& ws) { return ClientMdi(ws); }

Hwnd FindWriteMail(WindowSystem& ws) {
  const Hwnd mdi = ClientMdi(ws);
  Hwnd child = ChildOf(ws, mdi, 0, kChildClass);
  for (;;) {
    // The caption is tested before the handle: handle 0 has an empty caption.
    if (GetText(ws, child).find(kMailWindowCaption) != std::string::npos) return child;
    if (child == 0) return 0;
    child = ChildOf(ws, mdi, child, kChildClass);
  }
}

std::intptr_t CloseWin(WindowSystem& ws, Hwnd window) {
  return ws.SendMessageA(window, WM_CLOSE, 0, 0);
}

namespace {

// The client's mail windows titled exactly "Write Mail", in the MDI area's order.
std::vector<Hwnd> MailWindows(WindowSystem& ws, Hwnd mdi) {
  std::vector<Hwnd> out;
  if (mdi == 0) return out;
  for (Hwnd w = ws.FindWindowExA(mdi, 0, kChildClass, kMailWindowCaption); w != 0;
       w = ws.FindWindowExA(mdi, w, kChildClass, kMailWindowCaption))
    out.push_back(w);
  return out;
}

// The boxes of a mail window and its send icon, 0 where not (yet) there.
struct MailBoxes {
  Hwnd to = 0, copyTo = 0, subject = 0, body = 0, send = 0;

  bool complete() const { return to != 0 && subject != 0 && body != 0 && send != 0; }
  // Someone has typed into it: the person's own mail, never ours to write over or send.
  bool holdsText(WindowSystem& ws) const {
    for (Hwnd box : {to, copyTo, subject, body})
      if (box != 0 && ws.GetWindowTextLengthA(box) > 0) return true;
    return false;
  }
};

// Unlike the IM window's wrapping chain, every chain here stops at 0, and the client adds
// a window's children after those it already has: a window caught half-built lacks boxes
// (incomplete, so not yet filled) but never offers a wrong one, and needs no wait for it
// to hold still.
MailBoxes FindBoxes(WindowSystem& ws, Hwnd mail) {
  MailBoxes b;
  b.to = ChildOf(ws, mail, 0, kClientEditClass);
  b.copyTo = NextInChain(ws, mail, b.to, kClientEditClass);
  b.subject = NextInChain(ws, mail, b.copyTo, kClientEditClass);
  b.body = NextInChain(ws, mail, b.subject, kRichClass);
  b.send = ChildOf(ws, mail, 0, kIconClass);
  for (int i = 0; i < 15; ++i) b.send = NextInChain(ws, mail, b.send, kIconClass);
  return b;
}

bool StillOpen(WindowSystem& ws, Hwnd frame, Hwnd window) {
  if (ClientFrame(ws) != frame) return false;
  const Hwnd mdi = FindMDIClient(ws);
  if (mdi == 0 || window == 0) return false;
  for (Hwnd w = ChildOf(ws, mdi, 0, kChildClass); w != 0; w = ChildOf(ws, mdi, w, kChildClass))
    if (w == window) return true;
  return false;
}

}  // namespace

void SendMail(WindowSystem& ws, Host& host, std::string_view recipient, std::string_view subject,
              std::string_view body) {
  // Mail windows that are not ours: those open before our Write click (the person's own
  // unsent mail), and any seen holding text. None is ever written into, sent or closed.
  std::vector<Hwnd> notOurs = MailWindows(ws, FindMDIClient(ws));
  // The client our click went to. Once its main window is another (the client ended, or
  // ended and started afresh with a draft open), no mail window there is ours.
  const Hwnd frame = ClientFrame(ws);
  {
    const Hwnd toolbarHost = ChildOf(ws, frame, 0, kToolbarHostClass);
    const Hwnd bar = ChildOf(ws, toolbarHost, 0, kToolbarClass);
    const Hwnd write = NextInChain(ws, bar, ChildOf(ws, bar, 0, kIconClass), kIconClass);
    Click(ws, write);
  }

  Hwnd mail = 0;
  bool clientGone = false;
  const bool sent = PollUntil(host, host.now() + kMailWaitLimitSeconds, [&] {
    if (ClientFrame(ws) != frame) return clientGone = true;
    // The first new mail window is taken to be ours, unless it holds text.
    MailBoxes boxes;
    mail = 0;
    for (Hwnd w : MailWindows(ws, FindMDIClient(ws))) {
      if (std::find(notOurs.begin(), notOurs.end(), w) != notOurs.end()) continue;
      boxes = FindBoxes(ws, w);
      if (!boxes.holdsText(ws)) {
        mail = w;
        break;
      }
      notOurs.push_back(w);
    }
    // Filled only once every box is there and all in one go, then sent at once: a window
    // half filled in an earlier pass would hold text and no longer pass as ours, and a
    // click before the body box appears would mail an empty comment.
    if (mail == 0 || !boxes.complete()) return false;
    SetText(ws, boxes.to, recipient);
    SetText(ws, boxes.subject, subject);
    SetText(ws, boxes.body, body);
    Click(ws, boxes.send);
    Pause(host, 0);
    return true;
  });
  // Given up, or the client is another: every window stays as it is.
  if (!sent || clientGone) return;

  // The client normally closes the window once it has sent. If it has not (still
  // sending, or showing a problem), close it about a second later.
  if (StillOpen(ws, frame, mail)) {
    Pause(host, 1);
    if (StillOpen(ws, frame, mail)) CloseWin(ws, mail);
  }
}

bool SendMailOnce(bool& sending, WindowSystem& ws, Host& host, std::string_view recipient,
                  std::string_view subject, std::string_view body) {
  if (sending) return false;
  sending = true;
  // Reset also when the program ends from inside the send (the host unwinds).
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{sending};
  SendMail(ws, host, recipient, subject, body);
  return true;
}

}  // namespace loafix
