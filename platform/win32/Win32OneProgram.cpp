#include "platform/win32/Win32OneProgram.h"

namespace loafix::win32 {
namespace {

constexpr wchar_t kName[] = L"Local\\loafix";
constexpr wchar_t kWindowClass[] = L"LoafixOneProgram";
constexpr UINT kAnotherStart = WM_APP;
// How long a later start waits for the first one's window: that one makes it right
// after taking the name, so only a start in that very moment waits at all.
constexpr DWORD kWaitForFirstMs = 5000;

// Windows Vista and later keep a program run as administrator from the messages of the
// person's ordinary programs (User Interface Privilege Isolation: a post of a message
// from WM_USER up to a window of a higher integrity level fails with access denied).
// A first loafix run as administrator would so never hear of a later, ordinary start,
// and the person would see nothing happen. Its window lets that one message in, and no
// other: Windows 7 and later per window (ChangeWindowMessageFilterEx, MSGFLT_ALLOW),
// Vista only for the whole process (ChangeWindowMessageFilter, MSGFLT_ADD). XP has no
// such rule and neither function; Wine has no integrity levels.
void LetOrdinaryStartsIn(HWND window) {
  constexpr DWORD kAllow = 1, kAdd = 1;  // MSGFLT_ALLOW, MSGFLT_ADD
  using PerWindow = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using PerProcess = BOOL(WINAPI*)(UINT, DWORD);
  if (auto perWindow = SystemFunction<PerWindow>(L"user32.dll", "ChangeWindowMessageFilterEx"))
    perWindow(window, kAnotherStart, kAllow, nullptr);
  else if (auto perProcess = SystemFunction<PerProcess>(L"user32.dll", "ChangeWindowMessageFilter"))
    perProcess(kAnotherStart, kAdd);
}

}  // namespace

OneProgram::OneProgram(HINSTANCE instance) {
  name_ = CreateMutexW(nullptr, FALSE, kName);
  // Access denied: the name is held by a loafix run at a higher privilege in this
  // session. Any other failure leaves the name to nobody; loafix runs all the same.
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || (!name_ && error == ERROR_ACCESS_DENIED)) return;

  window_ = MessageWindow(instance, kWindowClass, &OneProgram::WindowProc, this);
  if (window_) LetOrdinaryStartsIn(window_);
}

OneProgram::~OneProgram() {
  if (window_) DestroyWindow(window_);
  if (name_) CloseHandle(name_);
}

void OneProgram::tellTheFirst() const {
  const DWORD began = GetTickCount();
  HWND firstOne = nullptr;
  while (!(firstOne = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, nullptr))) {
    if (GetTickCount() - began > kWaitForFirstMs) return;
    Sleep(10);
  }
  // This start is the person's own, so it may bring a window to the front; the first
  // one may now do so with the window it restores.
  DWORD process = 0;
  GetWindowThreadProcessId(firstOne, &process);
  AllowSetForegroundWindow(process);
  // Posted, not sent: a first one busy with a client that does not answer must not
  // keep this start waiting.
  PostMessageW(firstOne, kAnotherStart, 0, 0);
}

LRESULT CALLBACK OneProgram::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kAnotherStart) {
    auto* self = reinterpret_cast<OneProgram*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->told_) self->told_();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace loafix::win32
