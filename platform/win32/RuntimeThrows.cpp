// The helpers the standard containers, strings and std::function call to throw (a
// length past max_size(), at() out of range, an empty function called, no memory),
// for the two shipped programs.
//
// The static C++ runtime keeps all of these helpers in one object, whose exception
// classes carry reference-counted strings; that object brings both of the runtime's
// string implementations, its random-number sources and its number formatting along:
// about 85 KB of loafix.exe. The ones here throw std::bad_alloc where memory ran out
// and, for the others, an exception whose what() is the library's message (for at(),
// its format string as it stands). The programs catch only with catch (...),
// so what they catch is the same to them, and an uncaught one still ends the program
// through the terminate handler.
//
// The set is exactly what the programs' code calls. A call to one more (the streams
// call the bad_cast and runtime_error ones, for instance) brings the runtime's object
// back, and its definitions then clash with these at the link: that is why the test
// programs, which use the streams, link the runtime's own. Compiled into loafix.exe
// and clientsim.exe directly, like RuntimeImports.cpp, so that the linker has seen
// these definitions before it reaches the runtime's references.
#include <exception>
#include <new>

namespace {

// What the helpers below throw instead of the runtime's exception classes; `what` is
// one of the library's string literals.
class LibraryError final : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

namespace std {

[[noreturn]] void __throw_bad_alloc() { throw bad_alloc(); }
[[noreturn]] void __throw_bad_array_new_length() { throw bad_alloc(); }
[[noreturn]] void __throw_length_error(const char* what) { throw LibraryError(what); }
[[noreturn]] void __throw_logic_error(const char* what) { throw LibraryError(what); }
[[noreturn]] void __throw_out_of_range_fmt(const char* format, ...) {
  throw LibraryError(format);
}
[[noreturn]] void __throw_bad_function_call() { throw LibraryError("bad_function_call"); }

}  // namespace std
