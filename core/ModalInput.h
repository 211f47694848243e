// While a prompt or message box is up it is the program's only input: every window of
// the program that takes input is disabled for that time and enabled again when the
// box has gone. Exactly those are enabled again, so a window that was already disabled
// (by an outer box, or by its own state) stays as it was, and a box opened from a tick
// inside another box gives nothing back early.
#pragma once

#include <functional>
#include <vector>

#include "core/WindowSystem.h"

namespace loafix {

class ModalInput {
 public:
  // How the backend reads and sets a window's enabled state.
  struct Windows {
    std::function<bool(Hwnd)> enabled;
    std::function<void(Hwnd, bool)> enable;
  };

  ModalInput(const std::vector<Hwnd>& forms, Windows windows);
  ~ModalInput();
  ModalInput(const ModalInput&) = delete;
  ModalInput& operator=(const ModalInput&) = delete;

 private:
  Windows windows_;
  std::vector<Hwnd> disabled_;
};

}  // namespace loafix
