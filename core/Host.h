// The user-interface runtime the program's handlers run on: time, waiting, timers,
// the program's own windows, the pop-up menu, modal prompts and message boxes, and
// ending the program. Everything runs on one thread; every handler is called from
// inside processEvents() or from the backend's own event loop.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/FormSpec.h"
#include "core/WindowSystem.h"

namespace loafix {

using TimerId = int;

class Host {
 public:
  virtual ~Host() = default;

  // ---- time and waiting ----
  // Time of day in seconds since midnight, with fractions; restarts at 0 at midnight.
  virtual double timeOfDay() = 0;
  // A monotonic clock in seconds, the time base of waitForEvents().
  virtual double now() = 0;
  // Runs every event that is pending now (input, posted messages, due timer ticks,
  // due scheduled actions), each handler to its end, then returns.
  virtual void processEvents() = 0;
  // Blocks until an event is pending or now() reaches `deadline`, whichever comes
  // first, without running any handler. Never spins.
  virtual void waitForEvents(double deadline) = 0;

  // ---- timers ----
  // A user-interface timer, disabled with interval 0 until set. A tick never starts
  // while the previous tick of the same timer is still running.
  virtual TimerId createTimer(Handler onTick) = 0;
  // Enabling (or changing the interval of) a timer restarts its countdown; interval 0
  // stops it like disabling does.
  virtual void setTimer(TimerId timer, bool enabled, int intervalMs) = 0;

  // ---- the person ----
  // When the person last used the keyboard or mouse anywhere on the desktop, in
  // seconds of now(). Messages the program sends or posts are no input.
  virtual double lastInput() = 0;
  // When the program's own pop-up menu last closed (seconds of now(); 0 if never): the
  // input that chose from it is the person's business with the program.
  virtual double menuLastClosed() = 0;

  // ---- the program's windows ----
  // Creates the window hidden. It does not run layout.onLoad: the caller runs it once
  // it has stored the handle, since load handlers refer to their own window. The
  // returned handle is a window of the WindowSystem, so StayOnTop and FormDrag work
  // on it.
  virtual Hwnd createForm(const FormSpec& layout) = 0;
  virtual void showForm(Hwnd form) = 0;
  virtual void hideForm(Hwnd form) = 0;
  // Minimized, the form has a taskbar button and an Alt+Tab entry, by which the person
  // brings it back: then it is where it was, without the button, and its
  // layout.onRestore runs.
  virtual void minimizeForm(Hwnd form) = 0;
  // Brings a minimized form back as its taskbar button does; any other form stays as
  // it is.
  virtual void restoreForm(Hwnd form) = 0;
  // Caption of a label or content of a text box.
  virtual std::string controlText(Hwnd form, std::string_view control) = 0;
  virtual void setControlText(Hwnd form, std::string_view control, std::string_view text) = 0;
  // A standard tooltip over the whole form while the mouse rests on it; `text` gives
  // its one line each time it shows and again every second while it stays shown.
  virtual void setTooltip(Hwnd form, std::function<std::string()> text) = 0;

  // ---- menus and modal boxes ----
  // Shows `menu`'s children as a pop-up menu whose top-left corner is at (x, y) twips
  // in the form's client area, with their current captions, separators, submenus and
  // check marks; left-aligned, items chosen with the left button. A chosen item's
  // onClick runs after the menu has closed. Returns once the menu is closed (the
  // simulated backend may return at once and let the person choose later).
  virtual void popupMenu(Hwnd form, MenuItem& menu, int xTwips, int yTwips) = 0;
  // A modal input prompt: message, title, one line pre-filled with `defaultText`, OK
  // and Cancel. OK yields the edited text (possibly empty); Cancel yields nullopt.
  virtual std::optional<std::string> inputBox(std::string_view message, std::string_view title,
                                              std::string_view defaultText) = 0;
  // A modal message box with the text, the title and one OK button, no icon.
  virtual void messageBox(std::string_view text, std::string_view title) = 0;

  // Ends the program at once, from inside any handler, nested pauses included: no
  // further handler runs and nothing more is written.
  [[noreturn]] virtual void endProgram() = 0;
};

}  // namespace loafix
