// The client as a whole: its modal state ("upchat" makes the client's frame usable
// while one of its modal windows is up; the reverse puts the modal state back), and
// hiding and showing its frame.
#pragma once

#include "client/ClientWindows.h"
#include "core/WindowSystem.h"

namespace loafix {

// Only if the frame has a modal window: with `frameUsable` enables the frame, then
// disables the modal window; without, enables the modal window, then disables the
// frame. Returns whether there was a modal window.
bool SwitchModal(WindowSystem& ws, bool frameUsable);

// "&hide aol" and "&show aol": the frame, found also while hidden.
void hideaol(WindowSystem& ws);
void showaol(WindowSystem& ws);

}  // namespace loafix
