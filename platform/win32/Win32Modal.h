// The modal parts of the user interface over Win32: the command menu as a real pop-up
// menu, and the input prompt as a real dialog built in memory. Both run the window
// system's own modal loop, in which timer ticks keep running.
#pragma once

#include "platform/win32/Win32.h"

#include <optional>
#include <string>
#include <string_view>

namespace loafix::win32 {

// Pops up `menu`'s children with their current captions, access keys, separators,
// submenus and check marks, its top-left corner at `screen`, left-aligned and chosen
// with the left button. Returns the chosen item once the menu has closed, nullptr
// when it was dismissed.
MenuItem* TrackMenu(HWND owner, MenuItem& menu, POINT screen);

// The input prompt: the message, an edit box pre-filled with `defaultText` (selected,
// with the keyboard), OK and Cancel. OK yields the text; Cancel, Escape or closing the
// box yields nullopt.
std::optional<std::string> RunInputBox(HINSTANCE instance, HWND owner, std::string_view message,
                                       std::string_view title, std::string_view defaultText);

// The id of the prompt's edit box, for drivers that fill it.
inline constexpr int kInputBoxEditId = 1000;
inline constexpr int kInputBoxMessageId = 1001;

}  // namespace loafix::win32
