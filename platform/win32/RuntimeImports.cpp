// The terminate handler, in place of the static C++ runtime's; linked into every
// executable.
//
// The runtime's default one prints the type of an uncaught
// exception to the standard error stream, which a Windows program has not got, and
// for that brings the whole C++ name demangler and a printf along: about 60 KB of the
// exe. Defining the handler here keeps the runtime's out; an uncaught exception still
// ends the program at once.
//
// Linked into every executable directly (not through a library archive): the linker
// must have seen this definition before it reaches the runtime's references.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
