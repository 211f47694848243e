#include "client/Module1.h"

#include <algorithm>
#include <vector>

#include "client/clientkit.h"

namespace loafix {
namespace {

// Longest sleep between two passes, as in SendIM.
constexpr double kPollSeconds = 0.010;

// A click: button down and up, posted one right after the other.
void Click(WindowSystem& ws, Hwnd window) {
  ws.PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
  ws.PostMessageA(window, WM_LBUTTONUP, 0, 0);
}

// A lookup under a window that was not found finds nothing.
Hwnd FirstChild(WindowSystem& ws, Hwnd parent, std::string_view className) {
  return ChildOf(ws, parent, 0, className);
}

}  // namespace

Hwnd FindMDIClient(WindowSystem& ws) {
  const Hwnd frame = ws.FindWindowA(kFrameClass);
  return ws.FindWindowExA(frame, 0, kMdiClass);
}

Hwnd FindWriteMail(WindowSystem& ws) {
  const Hwnd frame = ws.FindWindowA(kFrameClass);
  const Hwnd mdi = ws.FindWindowExA(frame, 0, kMdiClass);
  Hwnd child = ws.FindWindowExA(mdi, 0, kChildClass);
  for (;;) {
    // The caption is tested before the handle: handle 0 has an empty caption.
    if (GetText(ws, child).find(kMailWindowCaption) != std::string::npos) return child;
    if (child == 0) return 0;
    child = ws.FindWindowExA(mdi, child, kChildClass);
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

// The first "Write Mail" window that was not open before our Write click.
Hwnd NewMailWindow(WindowSystem& ws, Hwnd mdi, const std::vector<Hwnd>& before) {
  for (Hwnd w : MailWindows(ws, mdi))
    if (std::find(before.begin(), before.end(), w) == before.end()) return w;
  return 0;
}

bool StillOpen(WindowSystem& ws, Hwnd window) {
  const Hwnd mdi = FindMDIClient(ws);
  if (mdi == 0 || window == 0) return false;
  for (Hwnd w = ws.FindWindowExA(mdi, 0, kChildClass); w != 0;
       w = ws.FindWindowExA(mdi, w, kChildClass))
    if (w == window) return true;
  return false;
}

}  // namespace

void SendMail(WindowSystem& ws, Host& host, std::string_view recipient, std::string_view subject,
              std::string_view body) {
  // A "Write Mail" window the person already has open is their own unsent mail: it is
  // never written into, sent or closed; only the window our Write click opens is.
  const std::vector<Hwnd> alreadyOpen = MailWindows(ws, FindMDIClient(ws));
  {
    const Hwnd frame = ws.FindWindowA(kFrameClass);
    const Hwnd toolbarHost = FirstChild(ws, frame, kToolbarHostClass);
    const Hwnd bar = FirstChild(ws, toolbarHost, kToolbarClass);
    const Hwnd write = NextInChain(ws, bar, FirstChild(ws, bar, kIconClass), kIconClass);
    Click(ws, write);
  }

  const double giveUp = host.now() + kMailWaitLimitSeconds;
  Hwnd mail = 0;
  for (;;) {
    mail = NewMailWindow(ws, FindMDIClient(ws), alreadyOpen);
    const Hwnd to = FirstChild(ws, mail, kClientEditClass);
    SetText(ws, to, recipient);
    const Hwnd second = NextInChain(ws, mail, to, kClientEditClass);
    const Hwnd subj = NextInChain(ws, mail, second, kClientEditClass);
    SetText(ws, subj, subject);
    const Hwnd bodyBox = NextInChain(ws, mail, subj, kRichClass);
    SetText(ws, bodyBox, body);
    Hwnd send = FirstChild(ws, mail, kIconClass);
    for (int i = 0; i < 15; ++i) send = NextInChain(ws, mail, send, kIconClass);
    const bool complete = mail != 0 && to != 0 && subj != 0 && bodyBox != 0 && send != 0;
    // Send is clicked only once every box holds its text: a click on a window whose
    // body box has not appeared yet would mail an empty comment.
    if (complete) Click(ws, send);
    Pause(host, 0);
    if (complete) break;
    // Given up: every window stays as it is.
    if (host.now() >= giveUp) return;
    host.waitForEvents(std::min(host.now() + kPollSeconds, giveUp));
    host.processEvents();
  }

  // The client normally closes the window once it has sent. If it has not (still
  // sending, or showing a problem), close it about a second later.
  if (StillOpen(ws, mail)) {
    Pause(host, 1);
    if (StillOpen(ws, mail)) CloseWin(ws, mail);
  }
}

bool MailSendGuard::send(WindowSystem& ws, Host& host, std::string_view recipient,
                         std::string_view subject, std::string_view body) {
  if (sending_) return false;
  sending_ = true;
  // Reset also when the program ends from inside the send (the host unwinds).
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{sending_};
  SendMail(ws, host, recipient, subject, body);
  return true;
}

}  // namespace loafix
