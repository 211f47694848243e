// Window messages and commands as <windows.h> numbers them, written out here so that
// the native tests compare what the program sends with the platform's numbers and
// never with the program's own constants.
#pragma once

#include <cstdint>

namespace loafix::winnum {

inline constexpr std::uint32_t kSetText = 0x000C;
inline constexpr std::uint32_t kClose = 0x0010;
inline constexpr std::uint32_t kKeyDown = 0x0100;
inline constexpr std::uint32_t kKeyUp = 0x0101;
inline constexpr std::uint32_t kChar = 0x0102;
inline constexpr std::uint32_t kSysCommand = 0x0112;
inline constexpr std::uint32_t kLButtonDown = 0x0201;
inline constexpr std::uint32_t kLButtonUp = 0x0202;

}  // namespace loafix::winnum
