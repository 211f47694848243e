// Draws a chat room's transcript as the client shows it: each line's markup rendered
// (font face, colours, bold, links underlined), the newest line at the bottom.
#pragma once

#include "platform/win32/Win32.h"

#include <string>
#include <vector>

namespace loafix::clientsim {

// `lines` are the ANSI bytes the room received, oldest first; `speaker` is the
// screen name shown before each line.
void PaintTranscript(HDC dc, const RECT& area, const std::vector<std::string>& lines,
                     const std::string& speaker = "loafixfan");

}  // namespace loafix::clientsim
