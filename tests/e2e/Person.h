// A person at the desktop, using loafix the way its user does: clicks on the program's
// windows at the points a person aims for, the command menu by the keyboard (the
// menu's items cannot be read from another process, so the person knows its layout),
// prompts and message boxes through their buttons. Every wait polls every few
// milliseconds and gives up after a bounded time; nothing sleeps a fixed time.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loafix::e2e {

// The program's windows, by their captions (UTF-8; the windows carry them as
// Windows-1252 bytes).
inline constexpr std::string_view kSplash = "loafix by zed²";
inline constexpr std::string_view kStrip = "lòàfíx¹ - zed²";
inline constexpr std::string_view kLinkSite = "Form4";
inline constexpr std::string_view kFeedback = "Form5";

// A rectangle in twips, as the program's windows are laid out.
struct TwipsRect {
  int left, top, width, height;
};
// The click areas a person aims for, at their middle.
inline constexpr TwipsRect kMenuArea{30, 30, 165, 255};      // the strip's left end
inline constexpr TwipsRect kCloseArea{1935, 105, 165, 150};  // the strip's right end
inline constexpr TwipsRect kLinkDone{80 * 15, 70 * 15, 40 * 15, 15 * 15};
inline constexpr TwipsRect kLinkCancel{127 * 15, 72 * 15, 48 * 15, 13 * 15};
inline constexpr TwipsRect kFeedbackSend{795, 1860, 585, 225};
inline constexpr TwipsRect kFeedbackClose{1965, 30, 165, 195};

// Where a window's client area is on the screen, in pixels.
struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};
std::string ToString(const ScreenRect& r);
ScreenRect ClientOnScreen(HWND window);
ScreenRect WindowOnScreen(HWND window);  // frame included
ScreenRect Union(const ScreenRect& a, const ScreenRect& b);

// How the window presents itself: what a person would notice of its frame.
bool IsTopmost(HWND window);
bool HasFrame(HWND window);          // a title bar or border around the client area
bool HasTaskbarButton(HWND window);  // an unowned, visible, non-tool window

// The top-level windows of a process that are shown.
std::vector<HWND> ShownWindowsOf(DWORD process);

// Text of a window of another process, as the bytes of the ANSI code page and as the
// characters a person reads (UTF-8).
std::string AnsiText(HWND window);
std::string Text(HWND window);
// Its direct children of a class (any letter case), in order.
std::vector<HWND> Children(HWND parent, std::string_view className);

// The processes that own the two programs' windows left over from an earlier run
// are ended, so a lookup by caption finds only this run's windows.
void EndLeftovers();

struct Prompt {
  HWND window = nullptr;
  std::string message;   // UTF-8
  std::string text;      // the edit box's content when it came up, UTF-8
  std::string ansiText;  // the same, as the box's bytes
};

class Person {
 public:
  explicit Person(DWORD programId) : programId_(programId) {}

  // One of the program's top-level windows by caption, shown or not; nullptr if none.
  HWND window(std::string_view caption) const;
  // Waits until the window exists and is visible (true) or is gone or hidden (false).
  HWND waitShown(std::string_view caption, double seconds = 5) const;
  bool waitHidden(std::string_view caption, double seconds = 5) const;

  // A mouse click (button down, button up) at a point of the window's client area.
  void clickPixels(HWND window, int x, int y) const;
  void click(HWND window, const TwipsRect& area) const;

  // Opens the command menu from the strip and chooses the item with this name (the
  // program's own names: "idleon", "setascii", "unload"). True once the menu has
  // closed on the choice.
  bool choose(std::string_view item) const;
  // Opens the command menu and walks down to `item` (a submenu opens, a command is
  // only selected) and leaves it open, for a picture. dismissMenu() closes it.
  bool openMenuAt(std::string_view item) const;
  void dismissMenu() const;
  // Opens the command menu from the strip and closes it with Escape, each within
  // `seconds`; true when both happened.
  bool openAndEscapeMenu(double seconds) const;
  int openMenus() const;
  std::vector<HWND> menus() const;  // the open menu levels, the last opened first

  // The input prompt with this title, once it is up.
  std::optional<Prompt> waitForPrompt(std::string_view title, double seconds = 5) const;
  // Types `answer` (UTF-8) over the default and presses OK; nullopt presses Cancel.
  // True once the prompt has gone.
  bool answer(const Prompt& prompt, const std::optional<std::string>& answer) const;
  // A message box with this title: its text (UTF-8), once it is up.
  std::optional<std::string> waitForMessageBox(std::string_view title, double seconds = 5) const;
  // Presses the message box's OK button; true once it has gone.
  bool dismissMessageBox(std::string_view title) const;

  // Clicks the splash and waits for the strip to take its place.
  HWND start() const;
  // Starts loafix.exe again and waits up to `seconds` for that start to end by itself
  // (code 0, no window of its own shown meanwhile): the seconds it took, or -1.
  double startAgain(double seconds) const;
  // Clicks the taskbar button of a minimized window: the taskbar restores it with
  // WM_SYSCOMMAND SC_RESTORE.
  void restoreFromTaskbar(HWND window) const;
  // Returns once the program has finished the command it is running and takes messages
  // again (a message sent to it is answered then).
  void handled() const;

  // When the person last saw something new happen in the room (winetest::Now()).
  std::function<double()> lastChange;

 private:
  HWND dialog(std::string_view title) const;
  bool pressKey(HWND menu, UINT key) const;
  // A person takes in what just happened (a line in the room, a prompt that closed, a
  // window that came up) before the next click: a reaction time, never a wait for the
  // program. Posted clicks have no such time of their own; without it the driver
  // would click in the very millisecond a prompt closes, before the desktop has even
  // chosen the next active window, which no person can do.
  void react() const;
  void acted() const;
  void describeState(HWND strip) const;

  DWORD programId_;
  mutable double lastAction_ = 0;
};

}  // namespace loafix::e2e
