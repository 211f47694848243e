// The user-interface runtime on the simulated desktop. Time is virtual: waiting jumps
// the clock to the earliest of the deadline, the next timer due and the next
// scheduled action, so a test can idle for 30 days in milliseconds and still see
// every tick in order. A test acts as a person through the methods under "person";
// each can be scheduled at a virtual time with at().
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/EventCore.h"
#include "core/Host.h"
#include "core/ModalInput.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimDesktop.h"

namespace loafix::sim {

// Thrown by endProgram() to unwind every running handler at once.
struct ProgramEnded {};

// Class of the program's own windows on the simulated desktop.
inline constexpr std::string_view kFormClass = "LoafixForm";

class SimHost : public Host {
 public:
  SimHost(SimClock& clock, SimDesktop& desktop);

  // ---- Host ----
  double timeOfDay() override { return clock_.timeOfDay(); }
  double now() override { return clock_.now(); }
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
  double lastInput() override { return static_cast<double>(lastInput_) / 1e6; }
  double menuLastClosed() override { return static_cast<double>(core_.menuClosedAt()) / 1e6; }
  void popupMenu(Hwnd form, MenuItem& menu, int xTwips, int yTwips) override;
  std::optional<std::string> inputBox(std::string_view message, std::string_view title,
                                      std::string_view defaultText) override;
  void messageBox(std::string_view text, std::string_view title) override;
  [[noreturn]] void endProgram() override;

  // ---- running the program ----
  // The platform's event loop while nothing else runs: processes events and waits
  // until the clock reaches `time` (seconds of now()) or the program ends. Returns
  // false once the program has ended.
  bool runUntil(double time);
  bool runFor(double seconds) { return runUntil(now() + seconds); }
  bool ended() const { return ended_; }
  // Runs `action` as an event at virtual time `time` (seconds of now()).
  void at(double time, std::function<void()> action);
  void after(double seconds, std::function<void()> action) { at(now() + seconds, std::move(action)); }

  // ---- person ----
  // Every action below is the person's keyboard or mouse input at that moment; input()
  // is input anywhere else on the desktop (typing in the chat room, say). While a
  // prompt or message box is up the program's forms are disabled and take none of it.
  void input() { lastInput_ = clock_.nowUs(); }
  void click(Hwnd form, std::string_view control);  // control "" is the background
  void mouseDown(Hwnd form, std::string_view control);
  // The same at a point of the form's client area (twips), hit-tested as the Win32
  // skin window does: the left button goes down there (a press), then comes up at
  // the same point (a click, unless the press dragged the window).
  void clickAt(Hwnd form, int xTwips, int yTwips);
  void closeFromOutside(Hwnd form);    // Alt+F4
  void restoreFromTaskbar(Hwnd form);  // a click on a minimized form's taskbar button
  void type(Hwnd form, std::string_view control, std::string_view text);
  // Chooses an item of the open pop-up menu by name (submenus open on the way). The
  // menu closes, then the item's handler runs. False if no menu is open or the item
  // is a separator, a submenu or not in the menu.
  bool choose(std::string_view item);
  void dismissMenu();
  bool menuOpen() const { return openMenu_ != nullptr; }
  // Answers for prompts, used in order as prompts open. A prompt that finds no answer
  // waits (events keep running) until one is given.
  void answerPrompt(std::optional<std::string> answer);
  // Message boxes are dismissed at once unless held; a held box waits for dismiss().
  void holdMessageBoxes(bool hold) { holdBoxes_ = hold; }
  void dismissMessageBox();

  // ---- what a person sees ----
  struct Prompt {
    std::string message, title, defaultText;
  };
  struct Box {
    std::string text, title;
  };
  const std::vector<Prompt>& prompts() const { return prompts_; }
  const std::vector<Box>& messageBoxes() const { return boxes_; }
  bool timerEnabled(TimerId timer) const;
  int timerInterval(TimerId timer) const;
  int ticksStarted(TimerId timer) const;
  // The most ticks of this timer ever running at once (nested in pauses).
  int mostTicksAtOnce(TimerId timer) const;
  Hwnd findForm(std::string_view name) const;
  bool formVisible(Hwnd form);
  // The form's tooltip as it would show now; nullopt when it has none.
  std::optional<std::string> tooltip(Hwnd form) const;
  const FormSpec* layout(Hwnd form) const;
  // Where the last pop-up menu opened (twips in the form).
  std::pair<int, int> menuPoint() const { return menuPoint_; }
  Hwnd menuForm() const { return menuForm_; }

 private:
  struct Form {
    Hwnd hwnd;
    FormSpec layout;
    std::vector<std::string> texts;  // per control, in layout order
    std::function<std::string()> tooltip;
  };

  bool runOneDue(Micros horizon);
  void closeMenu();
  Micros nextEvent() const;
  Form* form(Hwnd hwnd);
  const ControlSpec* control(Form& f, std::string_view name, std::size_t* index = nullptr);
  void runModal(const std::function<bool()>& done, const char* what);
  // Disables the program's forms while a prompt or box is up, for its lifetime.
  ModalInput onlyInput();
  // A disabled form, as on Win32, takes no clicks, presses or typing.
  bool takesInput(Hwnd form);
  void asEvent(const std::function<void()>& action);

  SimClock& clock_;
  SimDesktop& desktop_;
  EventCore core_;
  std::vector<Form> forms_;
  bool ended_ = false;
  MenuItem* openMenu_ = nullptr;
  Hwnd menuForm_ = 0;
  std::pair<int, int> menuPoint_{0, 0};
  std::deque<std::optional<std::string>> answers_;
  std::vector<Prompt> prompts_;
  std::vector<Box> boxes_;
  bool holdBoxes_ = false;
  int boxesOpen_ = 0;
  int boxesDismissed_ = 0;
  int depth_ = 0;
  Micros lastInput_ = 0;  // events running; person actions at depth 0 end at ProgramEnded
};

}  // namespace loafix::sim
