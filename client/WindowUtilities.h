// The program's small window services: the one wait (Pause), keeping its own windows
// on top, dragging them, hiding and showing a window, and reading a caption.
#pragma once

#include <string>

#include "core/Host.h"
#include "core/WindowSystem.h"

namespace loafix {

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
