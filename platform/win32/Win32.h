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
