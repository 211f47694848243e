// The client driver: finds the chat client's windows by class and caption and drives
// them with window messages, as a person's typing and clicking would. No handle is
// kept between calls: every routine walks the tree from the client's frame again.
#pragma once

#include <string>
#include <string_view>

#include "client/ClientWindows.h"
#include "client/Host.h"
#include "client/WindowSystem.h"

namespace loafix {

// ---- chat room ----

// The first client child window, in the MDI area's order, that has at least one
// direct child of each chat-room class; 0 when none is open.
Hwnd FindChatRoom(WindowSystem& ws);

// Puts `text` into the chat room's input box (replacing what was typed there) and
// presses Enter. With no room open nothing reaches any window; nothing is reported.
void ChatSend(WindowSystem& ws, std::string_view text);

// WM_SETTEXT of `text` to `window`; no lookup, no check of the handle.
void SetText(WindowSystem& ws, Hwnd window, std::string_view text);

// ---- window utilities ----

// Rounds to the nearest whole number, a half going to the even neighbour.
double RoundHalfEven(double value);

// Waits `seconds` measured from the current time of day rounded to the nearest whole
// second, processing the program's events meanwhile: Pause(1) lasts 0.5 to 1.5 s,
// Pause(0) at most half a second, Pause(n <= -1) returns at once. A pause across
// midnight lasts as long as any other.
void Pause(Host& host, int seconds);

// Makes one of the program's own windows topmost without moving or resizing it.
void StayOnTop(WindowSystem& ws, Hwnd form);
// Lets the window follow the mouse until the button is released.
void FormDrag(WindowSystem& ws, Hwnd form);
void WindowHide(WindowSystem& ws, Hwnd window);
void WindowShow(WindowSystem& ws, Hwnd window);
// The window's caption; "" for handle 0 or a window without caption.
std::string GetText(WindowSystem& ws, Hwnd window);

}  // namespace loafix
