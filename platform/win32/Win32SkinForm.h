// One of the program's own windows over Win32: a borderless, captionless popup with
// no taskbar button (except while minimized), its picture drawn unscaled from the top-left
// corner, labels drawn on it as captions (they are not windows: a label is a rectangle
// of its form, hit-tested from each mouse message's own coordinates, since a posted
// click has no real cursor position), and text boxes as real edit controls in tab order.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>
#include <string>
#include <vector>

#include "core/EventCore.h"

namespace loafix::win32 {

class SkinForm {
 public:
  // Creates the window hidden; the load handler is the caller's to run.
  // `events` runs every handler the form's mouse and close messages call.
  SkinForm(HINSTANCE instance, const FormSpec& layout, EventCore& events);
  ~SkinForm();
  SkinForm(const SkinForm&) = delete;
  SkinForm& operator=(const SkinForm&) = delete;

  HWND window() const { return window_; }
  const FormSpec& layout() const { return layout_; }
  // True when `control` names a control of this form; `text` its caption or content.
  bool text(std::string_view control, std::string& text) const;
  void setText(std::string_view control, std::string_view text);
  // Shows the window, gives it the keyboard (the first text box gets it), as showing a
  // window of one's own program does.
  void show();
  // A tooltip over the whole window; `text` is asked when it shows and every second
  // while it stays shown.
  void setTooltip(std::function<std::string()> text);
  // Minimizes the window with a taskbar button, its caption and the program icon, and
  // an Alt+Tab entry, so that the person can bring it back. Brought back by any way
  // (the button, Alt+Tab, restore()), it is the skin again at the place it had, and
  // the layout's onRestore runs.
  void minimize();
  void restore();

  // The form of a window of this class, or nullptr.
  static SkinForm* Of(HWND window);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  RECT pixels(const ControlSpec& control) const;
  void onButtonDown(bool left, LPARAM at);
  void onButtonUp(LPARAM at);
  void run(const Handler& handler);
  void takeTipText();  // asks the text anew into tipShown_
  void refreshTip(bool shown);
  void unminimized();

  FormSpec layout_;
  SkinPointer pointer_{layout_};
  EventCore& events_;
  HWND window_ = nullptr;
  HBITMAP picture_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<std::string> captions_;  // per control; labels only
  std::vector<HWND> boxes_;            // per control; text boxes only
  HWND lastFocus_ = nullptr;
  HWND tip_ = nullptr;
  std::function<std::string()> tipText_;
  std::wstring tipShown_;   // the text the tooltip shows, alive while it shows it
  bool minimized_ = false;  // by minimize(), until it is the skin again
  POINT place_{};           // where it was then
  HICON bigIcon_ = nullptr, smallIcon_ = nullptr;  // its taskbar button's, once minimized
};

}  // namespace loafix::win32
