// The chat room path: the client's open chat room, found afresh at every call, and a
// line put into its input box and sent with Enter, as a person's typing would.
#pragma once

#include <string_view>

#include "client/ClientWindows.h"
#include "core/WindowSystem.h"

namespace loafix {

// The first client child window, in the MDI area's order, that has at least one
// direct child of each chat-room class; 0 when none is open.
Hwnd FindChatRoom(WindowSystem& ws);

// Puts `text` into the chat room's input box (replacing what was typed there) and
// presses Enter. With no room open nothing reaches any window. Nothing is returned:
// where the line went is only told to the window system's onChatLine.
void ChatSend(WindowSystem& ws, std::string_view text);

// WM_SETTEXT of `text` to `window`; no lookup, no check of the handle.
void SetText(WindowSystem& ws, Hwnd window, std::string_view text);

}  // namespace loafix
