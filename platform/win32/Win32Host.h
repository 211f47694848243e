// The user-interface runtime over real Win32: the time of day, the message queue as
// the program's event source, user-interface timers on a message-only window, and
// the program's own skin windows, pop-up menu and modal boxes.
#pragma once

#include "platform/win32/Win32.h"

#include <memory>

#include "core/EventCore.h"
#include "core/LastInput.h"
#include <vector>

#include "platform/win32/Win32SkinForm.h"

namespace loafix::win32 {

class Win32Host : public Host {
 public:
  // `ws`: the window system the program drives the client through; each handler's
  // client operation covers its sends.
  Win32Host(HINSTANCE instance, WindowSystem& ws);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // ---- Host ----
  double timeOfDay() override;
  double now() override;
  void processEvents() override;
  void waitForEvents(double deadline) override;
  TimerId createTimer(Handler onTick) override;
  void setTimer(TimerId timer, bool enabled, int intervalMs) override;
  Hwnd createForm(const FormSpec& layout) override;
  void showForm(Hwnd form) override;
  void hideForm(Hwnd form) override;
  void minimizeForm(Hwnd form) override;
  void restoreForm(Hwnd form) override;
  std::string controlText(Hwnd form, std::string_view control) override;
  void setControlText(Hwnd form, std::string_view control, std::string_view text) override;
  void setTooltip(Hwnd form, std::function<std::string()> text) override;
  double lastInput() override;
  double menuLastClosed() override { return static_cast<double>(core_.menuClosedAt()) / 1e6; }
  void popupMenu(Hwnd form, MenuItem& menu, int xTwips, int yTwips) override;
  std::optional<std::string> inputBox(std::string_view message, std::string_view title,
                                      std::string_view defaultText) override;
  void messageBox(std::string_view text, std::string_view title) override;
  [[noreturn]] void endProgram() override;

  // The event loop while no handler runs: returns when the thread's queue receives
  // WM_QUIT, with its exit code.
  int run();
  // Runs the handler of an event that comes from outside the program's windows (a
  // second start of the program) as one client operation, as their handlers run.
  void runEvent(const Handler& handler) { core_.run(handler); }

 private:
  static LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  Micros nowUs();
  // Points the one window-system timer at the core's next due moment.
  void aim();
  void dispatch(MSG& msg);
  SkinForm* form(Hwnd handle) const;
  // Runs a modal box as the program's only input: its own windows take no clicks or
  // keys meanwhile (timers go on).
  template <typename Box>
  auto modal(Box box);

  HINSTANCE instance_;
  HWND timerWindow_ = nullptr;
  double counterPeriod_ = 0;
  EventCore core_;
  InputReading input_;
  double watchStart_ = 0;  // now() when the host began to watch the person's input
  std::vector<std::unique_ptr<SkinForm>> forms_;
};

}  // namespace loafix::win32
