// The ANSI code pages a simulated desktop can declare, converted as the platform
// converts them (Wine and Windows byte for byte, without best fit) for the characters
// they hold: Windows-1252 (core/CodePage), Cyrillic 1251 in full, Japanese 932 in part,
// and UTF-8 (65001).
#pragma once

#include "core/CodePage.h"

namespace loafix::sim {

// Windows-1252, 1251, 932 or 65001; any other number is a test's mistake.
const CodePage& SimCodePage(unsigned number);

}  // namespace loafix::sim
