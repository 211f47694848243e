// The one way platform code includes <windows.h>. The portable headers name the
// messages and flags they use (WM_SETTEXT, SW_HIDE, HWND_TOPMOST, ...) as constants,
// and <windows.h> defines the same names as macros; so the portable headers must be
// read first, after which the macros expand to the same numbers.
#pragma once

#include "core/Host.h"
#include "core/WindowSystem.h"

namespace loafix::win32::portable {
// The portable layer's numbers, taken before the macros hide their names.
inline constexpr auto kSetText = WM_SETTEXT, kClose = WM_CLOSE, kKeyDown = WM_KEYDOWN,
                      kKeyUp = WM_KEYUP, kChar = WM_CHAR, kSysCommand = WM_SYSCOMMAND,
                      kButtonDown = WM_LBUTTONDOWN, kButtonUp = WM_LBUTTONUP;
inline constexpr auto kHide = SW_HIDE, kShow = SW_SHOW, kMinimize = SW_MINIMIZE;
inline constexpr auto kTopmost = HWND_TOPMOST;
inline constexpr auto kNoSize = SWP_NOSIZE, kNoMove = SWP_NOMOVE;
inline constexpr auto kDragMove = SC_DRAGMOVE;
}  // namespace loafix::win32::portable

#include <windows.h>

// The portable layer sends these numbers to real windows: each must be the system's.
namespace loafix::win32::portable {
static_assert(kSetText == WM_SETTEXT && kClose == WM_CLOSE && kKeyDown == WM_KEYDOWN &&
              kKeyUp == WM_KEYUP && kChar == WM_CHAR && kSysCommand == WM_SYSCOMMAND &&
              kButtonDown == WM_LBUTTONDOWN && kButtonUp == WM_LBUTTONUP);
static_assert(kHide == SW_HIDE && kShow == SW_SHOW && kMinimize == SW_MINIMIZE);
// <windows.h> defines HWND_TOPMOST as ((HWND)-1), which is no constant expression.
static_assert(kTopmost == -1);
static_assert(kNoSize == SWP_NOSIZE && kNoMove == SWP_NOMOVE);
// The move command with the caption hit-test code in its low bits.
static_assert(kDragMove == (SC_MOVE | HTCAPTION));
}  // namespace loafix::win32::portable

namespace loafix::win32 {

// A function of a system DLL that not every Windows the programs run on has, looked up
// by name (nullptr where it is missing): the programs import only what XP has.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  const HMODULE module = GetModuleHandleW(dll);
  const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

// A message-only window of a class of its own, its user data `self`: it takes the
// program's own messages and timers and is never seen by a lookup of visible windows.
inline HWND MessageWindow(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                          void* self) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
  const HWND window =
      CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  return window;
}

}  // namespace loafix::win32
