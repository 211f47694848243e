#include "platform/win32/Win32OneProgram.h"

namespace loafix::win32 {
namespace {

constexpr wchar_t kName[] = L"Local\\loafix";
constexpr wchar_t kWindowClass[] = L"LoafixOneProgram";
constexpr UINT kAnotherStart = WM_APP;
// How long a later start waits for the first one's window: that one makes it right
// after taking the name, so only a start in that very moment waits at all.
constexpr DWORD kWaitForFirstMs = 5000;

}  // namespace

OneProgram::OneProgram(HINSTANCE instance) {
  name_ = CreateMutexW(nullptr, FALSE, kName);
  // Access denied: the name is held by a loafix run at a higher privilege in this
  // session. Any other failure leaves the name to nobody; loafix runs all the same.
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || (!name_ && error == ERROR_ACCESS_DENIED)) return;

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &OneProgram::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
  window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                            nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
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
