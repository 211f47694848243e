// The window-system layer over user32. Texts are converted to the ANSI code page at
// this boundary; a message to a client that has stopped responding gives up after a
// few seconds instead of freezing the program.
#pragma once

#include "platform/win32/Win32.h"

namespace loafix::win32 {

// Window handles are 32-bit values on every Windows, also in 64-bit processes: the
// upper half of a 64-bit HWND is the sign extension of the lower half.
inline Hwnd FromHwnd(HWND window) {
  return static_cast<Hwnd>(reinterpret_cast<std::uintptr_t>(window));
}
inline HWND ToHwnd(Hwnd window) {
  return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(window)));
}

// How long a sent message waits for a client that does not answer.
inline constexpr UINT kSendTimeoutMs = 5000;

class Win32WindowSystem : public WindowSystem {
 public:
  Hwnd FindWindowA(std::string_view className,
                   std::optional<std::string_view> caption = std::nullopt) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, std::string_view className,
                     std::optional<std::string_view> caption = std::nullopt) override;
  std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  std::intptr_t SendMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                             std::string_view text) override;
  void PostMessageA(Hwnd window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) override;
  void ShowWindow(Hwnd window, int command) override;
  void EnableWindow(Hwnd window, bool enable) override;
  void SetWindowPos(Hwnd window, std::intptr_t insertAfter, int x, int y, int cx, int cy,
                    unsigned flags) override;
  void ReleaseCapture() override;
  int GetWindowTextLengthA(Hwnd window) override;
  std::string GetWindowTextA(Hwnd window, int maxCount) override;

 private:
  // A call to `window` failed with `error`: the operation ends as refused or as not
  // answered, or goes on if the window is simply gone.
  void gaveUpOn(Hwnd window, DWORD error);
  // Whether the window's thread takes a message within the send's bound; if not, the
  // operation has ended.
  bool answers(Hwnd window);
};

}  // namespace loafix::win32
