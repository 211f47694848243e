#include "platform/win32/Win32WindowSystem.h"

#include <vector>

#include "platform/win32/Win32Text.h"

namespace loafix::win32 {
namespace {

// A name as an ANSI program would pass it, widened the way the A functions widen it,
// so that a character outside the code page matches what FindWindowA would match.
// Nullopt when the code page's conversion fails.
std::optional<std::wstring> AsAnsiProgramSees(std::string_view utf8) {
  const std::optional<std::string> ansi = Utf8ToSystemCodePage(utf8);
  if (!ansi) return std::nullopt;
  return SystemCodePageToWide(*ansi);
}

bool ClassIs(HWND window, const std::wstring& className) {
  wchar_t buffer[257];
  const int n = GetClassNameW(window, buffer, 257);
  if (n <= 0) return false;
  // Class names are atoms: compared without regard to letter case, upper-cased as the
  // atom table does (CompareStringOrdinal would do the same but needs Vista).
  if (n != static_cast<int>(className.size())) return false;
  std::wstring wanted = className;
  CharUpperBuffW(buffer, n);
  CharUpperBuffW(wanted.data(), n);
  return wanted.compare(0, n, buffer, n) == 0;
}

// The caption the window system keeps for the window. Unlike GetWindowText this never
// sends a message, so a lookup cannot block on a window of a hung process.
std::wstring StoredCaption(HWND window) {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const int n = InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
    if (n < static_cast<int>(buffer.size()) - 1) return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

// The one place that tells a refusal from a client that does not answer. Under User
// Interface Privilege Isolation (Windows Vista and later) a program may not send or
// post messages to a window of a higher integrity level, such as a client started as
// administrator while loafix was not: SendMessage, SendMessageTimeout and PostMessage
// then fail with last error 5, ERROR_ACCESS_DENIED, though every lookup still finds
// the window. Wine has no integrity levels, so only Windows ever takes that branch.
void Win32WindowSystem::gaveUpOn(Hwnd window, DWORD error) {
  if (error == ERROR_ACCESS_DENIED) {
    abandonOperation(ClientStop::Refused);
    return;
  }
  // A window that is gone was never waited for; one that still exists did not answer
  // in time (or was marked hung): that ends the operation.
  if (IsWindow(ToHwnd(window))) abandonOperation(ClientStop::NotAnswering);
}

bool Win32WindowSystem::answers(Hwnd window) {
  DWORD_PTR ignored = 0;
  if (SendMessageTimeoutA(ToHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          &ignored)) {
    return true;
  }
  gaveUpOn(window, GetLastError());
  return false;
}

Hwnd Win32WindowSystem::FindWindowA(std::string_view className,
                                    std::optional<std::string_view> caption) {
  return FindWindowExA(0, 0, className, caption);
}

// Walks the children itself instead of calling user32's FindWindowExA: Wine 8 gives up
// when `after` is of another class than the one searched for, where Windows goes on
// with the next sibling.
Hwnd Win32WindowSystem::FindWindowExA(Hwnd parent, Hwnd after, std::string_view className,
                                      std::optional<std::string_view> caption) {
  HWND parentWindow = parent == 0 ? GetDesktopWindow() : ToHwnd(parent);
  if (parent != 0 && !IsWindow(parentWindow)) return 0;
  HWND child;
  if (after == 0) {
    child = GetWindow(parentWindow, GW_CHILD);
  } else {
    const HWND afterWindow = ToHwnd(after);
    if (!IsWindow(afterWindow) || GetAncestor(afterWindow, GA_PARENT) != parentWindow) return 0;
    child = GetWindow(afterWindow, GW_HWNDNEXT);
  }
  const std::optional<std::wstring> wantedClass = AsAnsiProgramSees(className);
  const std::optional<std::wstring> wantedCaption =
      caption ? AsAnsiProgramSees(*caption) : std::wstring();
  // A name that cannot be spelled in the code page names no window ("" would name some).
  if (!wantedClass || !wantedCaption) return 0;
  // A window destroyed during the walk ends it (GetWindow yields null); the bound only
  // guards against a sibling list changing under our feet forever.
  for (int steps = 0; child != nullptr && steps < 1'000'000; ++steps) {
    if (ClassIs(child, *wantedClass) && (!caption || StoredCaption(child) == *wantedCaption))
      return FromHwnd(child);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  return 0;
}

std::intptr_t Win32WindowSystem::SendMessageA(Hwnd window, std::uint32_t message,
                                              std::uintptr_t wParam, std::intptr_t lParam) {
  if (window == 0 || operationAbandoned()) return 0;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(ToHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &result)) {
    gaveUpOn(window, GetLastError());
    return 0;
  }
  return static_cast<std::intptr_t>(result);
}

std::intptr_t Win32WindowSystem::SendMessageA(Hwnd window, std::uint32_t message,
                                              std::uintptr_t wParam, std::string_view text) {
  const std::optional<std::string> ansi = Utf8ToSystemCodePage(text);
  if (!ansi) {
    // Sent as "" it would empty the box and leave the Enter after it something to post.
    if (window != 0) abandonOperation(ClientStop::Unconvertible);
    return 0;
  }
  return SendMessageA(window, message, wParam, reinterpret_cast<std::intptr_t>(ansi->c_str()));
}

void Win32WindowSystem::PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  // user32 would post a message for handle 0 to our own thread's queue; for the
  // program a message to no window reaches nothing.
  if (window == 0 || operationAbandoned()) return;
  if (!::PostMessageA(ToHwnd(window), message, wParam, lParam)) gaveUpOn(window, GetLastError());
}

void Win32WindowSystem::ShowWindow(Hwnd window, int command) {
  if (window == 0 || operationAbandoned()) return;
  // ShowWindow on another thread's window waits without limit for that thread to carry
  // it out; ShowWindowAsync hands the change to the thread and returns at once, so a
  // hung client's frame hides or shows once it answers again. Its result is the old
  // visibility for a window of our own thread, so only the last error tells a failure.
  SetLastError(ERROR_SUCCESS);
  if (!::ShowWindowAsync(ToHwnd(window), command) && GetLastError() != ERROR_SUCCESS)
    gaveUpOn(window, GetLastError());
}

void Win32WindowSystem::EnableWindow(Hwnd window, bool enable) {
  if (window == 0 || operationAbandoned()) return;
  // EnableWindow sends WM_ENABLE (and, on disabling, the focus messages) to the window's
  // thread and waits without limit. A message that does nothing, sent with a send's
  // bound first, stops the operation on a client that does not answer or refuses us;
  // one that stops answering between the two can still hold us, a far smaller window.
  if (!answers(window)) return;
  ::EnableWindow(ToHwnd(window), enable ? TRUE : FALSE);
}

void Win32WindowSystem::SetWindowPos(Hwnd window, std::intptr_t insertAfter, int x, int y, int cx,
                                     int cy, unsigned flags) {
  if (window == 0) return;
  ::SetWindowPos(ToHwnd(window), reinterpret_cast<HWND>(insertAfter), x, y, cx, cy, flags);
}

void Win32WindowSystem::ReleaseCapture() {
  ::ReleaseCapture();
}

int Win32WindowSystem::GetWindowTextLengthA(Hwnd window) {
  if (window == 0 || operationAbandoned()) return 0;
  // GetWindowTextLengthA sends WM_GETTEXTLENGTH even across processes; send it with
  // the same patience as any other message so a hung client cannot freeze us here.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    gaveUpOn(window, GetLastError());
    return 0;
  }
  return static_cast<int>(length);
}

std::string Win32WindowSystem::GetWindowTextA(Hwnd window, int maxCount) {
  if (window == 0 || maxCount <= 0) return {};
  std::string buffer(static_cast<std::size_t>(maxCount), '\0');
  const int n = ::GetWindowTextA(ToHwnd(window), buffer.data(), maxCount);
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return SystemCodePageToUtf8(buffer);
}

}  // namespace loafix::win32
