// Two replacements for parts of the static C++ runtime, linked into every executable.
//
// An import slot that keeps the shipped 32-bit programs startable on Windows XP.
//
// The static C++ runtime brings winpthreads along, and winpthreads calls
// GetTickCount64, which kernel32 has only from Vista on. A program that imports it does
// not start on XP at all ("entry point not found"). The runtime calls it through the
// import slot __imp__GetTickCount64@0; this file defines that slot itself, so the linker
// takes it instead of kernel32's and the program imports nothing XP lacks. The slot
// leads to the system's own GetTickCount64 where there is one, else to a 64-bit count
// built from GetTickCount.
//
// The terminate handler. The runtime's default one prints the type of an uncaught
// exception to the standard error stream, which a Windows program has not got, and
// for that brings the whole C++ name demangler and a printf along: about 60 KB of the
// exe. Defining the handler here keeps the runtime's out; an uncaught exception still
// ends the program at once.
//
// Linked into every executable directly (not through a library archive): the linker
// must have seen these definitions before it reaches the runtime's references.
#include <windows.h>

#include <cstdlib>

#if defined(__i386__)

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// GetTickCount wraps after 49.7 days; each wrap seen adds 2^32. The program has one
// user-interface thread, and the runtime's threads only compare nearby times, so a
// race on the wrap count costs at most one stale reading.
ULONGLONG WINAPI TickCount64FromTickCount() {
  static DWORD last = 0;
  static ULONGLONG wraps = 0;
  const DWORD now = GetTickCount();
  if (now < last) wraps += 1ULL << 32;
  last = now;
  return wraps + now;
}

ULONGLONG WINAPI TickCount64() {
  static const TickCount64Function function = [] {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC system = kernel ? GetProcAddress(kernel, "GetTickCount64") : nullptr;
    return system ? reinterpret_cast<TickCount64Function>(reinterpret_cast<void*>(system))
                  : &TickCount64FromTickCount;
  }();
  return function();
}

}  // namespace

extern "C" {
// The name the 32-bit runtime's call goes through, spelled as the assembler sees it.
extern const TickCount64Function loafixTickCount64Slot __asm__("__imp__GetTickCount64@0");
const TickCount64Function loafixTickCount64Slot = &TickCount64;
}

#endif

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
