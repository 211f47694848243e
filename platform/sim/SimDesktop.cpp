#include "platform/sim/SimDesktop.h"

#include <algorithm>

#include "core/Text.h"  // EqualsIgnoreAsciiCase

namespace loafix::sim {

SimDesktop::SimDesktop(SimClock& clock, const CodePage& codePage)
    : clock_(clock), codePage_(codePage) {}

Hwnd SimDesktop::create(Hwnd parent, std::string_view className, std::string_view ansiCaption,
                        bool onTop) {
  const Hwnd handle = nextHandle_;
  nextHandle_ += 2;
  SimWindow w;
  w.parent = parent;
  w.className = className;
  w.caption = ansiCaption;
  windows_.emplace(handle, std::move(w));
  std::vector<Hwnd>& siblings = parent == 0 ? topLevel_ : windows_.at(parent).children;
  if (onTop) {
    siblings.insert(siblings.begin(), handle);
  } else {
    siblings.push_back(handle);
  }
  return handle;
}

void SimDesktop::destroy(Hwnd handle) {
  auto it = windows_.find(handle);
  if (it == windows_.end()) return;
  const std::vector<Hwnd> kids = it->second.children;
  for (Hwnd kid : kids) destroy(kid);
  it = windows_.find(handle);
  if (it == windows_.end()) return;
  std::vector<Hwnd>& siblings =
      it->second.parent == 0 ? topLevel_ : windows_.at(it->second.parent).children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  windows_.erase(it);
  if (onDestroyed) onDestroyed(handle);
}

void SimDesktop::setHandler(Hwnd handle, SimHandler handler) {
  if (auto* w = window(handle)) w->handler = std::move(handler);
}

SimWindow* SimDesktop::window(Hwnd handle) {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

const std::vector<Hwnd>& SimDesktop::children(Hwnd parent) {
  if (parent == 0) return topLevel_;
  static const std::vector<Hwnd> kNone;
  SimWindow* w = window(parent);
  return w ? w->children : kNone;
}

std::string SimDesktop::caption(Hwnd handle) {
  SimWindow* w = window(handle);
  return w ? codePage_.ToUtf8(w->caption) : std::string();
}

void SimDesktop::bringToTop(Hwnd handle) {
  SimWindow* w = window(handle);
  if (!w) return;
  std::vector<Hwnd>& siblings = w->parent == 0 ? topLevel_ : windows_.at(w->parent).children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
  siblings.insert(siblings.begin(), handle);
}

Hwnd SimDesktop::FindWindowA(std::string_view className, std::optional<std::string_view> caption) {
  return FindWindowExA(0, 0, className, caption);
}

Hwnd SimDesktop::FindWindowExA(Hwnd parent, Hwnd after, std::string_view className,
                               std::optional<std::string_view> caption) {
  if (parent != 0 && !exists(parent)) return 0;
  const std::vector<Hwnd>& list = children(parent);
  auto it = list.begin();
  if (after != 0) {
    it = std::find(list.begin(), list.end(), after);
    if (it == list.end()) return 0;  // not a child of this parent
    ++it;
  }
  const std::optional<std::string> ansiCaption =
      caption ? codePage_.FromUtf8(*caption) : std::string();
  if (!ansiCaption) return 0;
  for (; it != list.end(); ++it) {
    const SimWindow& w = windows_.at(*it);
    if (!EqualsIgnoreAsciiCase(w.className, className)) continue;
    if (caption && w.caption != *ansiCaption) continue;
    return *it;
  }
  return 0;
}

std::intptr_t SimDesktop::deliver(Hwnd handle, SimMessage message) {
  SimWindow* w = window(handle);
  if (!w) return 0;
  if (recording_) deliveries_.push_back({handle, message});
  if (w->handler) {
    // Copy: the handler may destroy its own window.
    SimHandler handler = w->handler;
    if (auto result = handler(handle, message)) return *result;
    w = window(handle);
    if (!w) return 0;
  }
  switch (message.message) {
    case WM_SETTEXT:
      w->caption = message.text;
      return 1;
    case WM_CLOSE:
      destroy(handle);
      return 0;
    case WM_SYSCOMMAND:
      if ((message.wParam & 0xFFFF) == SC_DRAGMOVE) ++w->drags;
      return 0;
    default:
      return 0;
  }
}

SimWindow* SimDesktop::topLevelOf(Hwnd handle) {
  Hwnd top = handle;
  while (SimWindow* w = window(top)) {
    if (w->parent == 0) return w;
    top = w->parent;
  }
  return nullptr;
}

Micros SimDesktop::hungUntil(Hwnd handle) {
  const SimWindow* top = topLevelOf(handle);
  return top ? top->hungUntil : 0;
}

bool SimDesktop::answers(Hwnd handle) {
  if (const SimWindow* top = topLevelOf(handle); top && top->refuses) {
    abandonOperation(ClientStop::Refused);
    return false;
  }
  // A sender waits for a window that does not answer, and gives up after the same
  // time as the Win32 backend; a window that answers sooner gets the message then.
  const Micros until = hungUntil(handle);
  if (until > clock_.nowUs()) {
    if (until - clock_.nowUs() > kSendTimeout) {
      clock_.advanceTo(clock_.nowUs() + kSendTimeout);
      abandonOperation(ClientStop::NotAnswering);
      return false;
    }
    clock_.advanceTo(until);
  }
  return true;
}

std::intptr_t SimDesktop::send(Hwnd handle, SimMessage message) {
  if (operationAbandoned() || !exists(handle) || !answers(handle)) return 0;
  return deliver(handle, std::move(message));
}

std::intptr_t SimDesktop::SendMessageA(Hwnd handle, std::uint32_t message, std::uintptr_t wParam,
                                       std::intptr_t lParam) {
  return send(handle, SimMessage{message, wParam, lParam, {}, false});
}

std::intptr_t SimDesktop::SendMessageA(Hwnd handle, std::uint32_t message, std::uintptr_t wParam,
                                       std::string_view text) {
  std::optional<std::string> ansi = codePage_.FromUtf8(text);
  if (!ansi) {
    // Sent as "" it would empty the box and leave the Enter after it something to post.
    abandonOperation(ClientStop::Unconvertible);
    return 0;
  }
  return send(handle, SimMessage{message, wParam, 0, std::move(*ansi), false});
}

void SimDesktop::PostMessageA(Hwnd handle, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
  if (operationAbandoned() || !exists(handle)) return;
  if (topLevelOf(handle)->refuses) {
    abandonOperation(ClientStop::Refused);
    return;
  }
  // A busy window takes its posted messages once it answers again.
  clock_.schedule(std::max(clock_.nowUs(), hungUntil(handle)),
                  [this, handle, message, wParam, lParam] {
                    deliver(handle, SimMessage{message, wParam, lParam, {}, true});
                  });
}

void SimDesktop::hang(Hwnd topLevel, double seconds) {
  if (SimWindow* w = window(topLevel))
    w->hungUntil = clock_.nowUs() + static_cast<Micros>(seconds * 1e6);
}

void SimDesktop::refuse(Hwnd topLevel, bool refusing) {
  if (SimWindow* w = window(topLevel)) w->refuses = refusing;
}

void SimDesktop::setShown(Hwnd handle, int command) {
  SimWindow* w = window(handle);
  if (!w) return;
  if (command == SW_HIDE) {
    w->visible = false;
  } else if (command == SW_MINIMIZE) {
    w->visible = true;
    w->minimized = true;
  } else {
    w->visible = true;
  }
}

void SimDesktop::ShowWindow(Hwnd handle, int command) {
  if (operationAbandoned() || !exists(handle)) return;
  if (topLevelOf(handle)->refuses) {
    abandonOperation(ClientStop::Refused);
    return;
  }
  // As the Win32 backend's ShowWindowAsync: never waits; a busy window changes once
  // its process answers again.
  const Micros until = hungUntil(handle);
  if (until <= clock_.nowUs()) {
    setShown(handle, command);
    return;
  }
  clock_.schedule(until, [this, handle, command] { setShown(handle, command); });
}

void SimDesktop::EnableWindow(Hwnd handle, bool enable) {
  if (operationAbandoned() || !exists(handle) || !answers(handle)) return;
  window(handle)->enabled = enable;
}

void SimDesktop::SetWindowPos(Hwnd handle, std::intptr_t insertAfter, int, int, int, int,
                              unsigned) {
  SimWindow* w = window(handle);
  if (!w) return;
  if (insertAfter == HWND_TOPMOST) {
    w->topmost = true;
    bringToTop(handle);
  }
}

int SimDesktop::GetWindowTextLengthA(Hwnd handle) {
  // A message to the window's process, as on Win32 (WM_GETTEXTLENGTH).
  if (operationAbandoned() || !exists(handle) || !answers(handle)) return 0;
  return static_cast<int>(window(handle)->caption.size());
}

std::string SimDesktop::GetWindowTextA(Hwnd handle, int maxCount) {
  SimWindow* w = window(handle);
  if (!w || maxCount <= 0) return {};
  const std::size_t n = std::min<std::size_t>(w->caption.size(), maxCount - 1);
  return codePage_.ToUtf8(std::string_view(w->caption).substr(0, n));
}

}  // namespace loafix::sim
