// One loafix per session. The first start of a session takes the session's name for
// loafix (a mutex in the Local\ namespace: each session of fast user switching or of a
// terminal server has its own) and leaves a message-only window by which later starts
// find it. A later start tells that window and ends before it has a window, a setting
// or a chat line of its own; what the first one then does is the program's business.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>

namespace loafix::win32 {

class OneProgram {
 public:
  explicit OneProgram(HINSTANCE instance);
  ~OneProgram();
  OneProgram(const OneProgram&) = delete;
  OneProgram& operator=(const OneProgram&) = delete;

  // False when another loafix of this session holds the name.
  bool first() const { return window_ != nullptr; }
  // A later start: tells the first one that the person started loafix again. Returns
  // at once; waits only for a first one that is itself still starting (a few seconds
  // at most).
  void tellTheFirst() const;
  // The first one: what it does each time it is told, on its own thread, from its
  // message loop.
  void onAnotherStart(std::function<void()> told) { told_ = std::move(told); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HANDLE name_ = nullptr;
  HWND window_ = nullptr;
  std::function<void()> told_;
};

}  // namespace loafix::win32
