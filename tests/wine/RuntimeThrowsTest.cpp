// The shipped programs' own throw helpers (platform/win32/RuntimeThrows.cpp), reached
// through the library calls that use them: each throw must get to the caller's catch,
// of the type the library documents, with the library's message. A plain program
// without the harness: the harness's streams would bring the runtime's own helpers.
// Also the terminate handler (platform/win32/RuntimeImports.cpp): an uncaught exception
// ends the program with abort's exit code 3 and without the runtime's report of it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

int failures = 0;

// `call` must throw an E whose what() is `what`.
template <class E, class Call>
void ExpectThrow(const char* name, Call call, const char* what) {
  try {
    call();
    std::printf("  %s: threw nothing\n", name);
  } catch (const E& e) {
    if (std::strcmp(e.what(), what) == 0) return;
    std::printf("  %s: what() is \"%s\"\n", name, e.what());
  } catch (...) {
    std::printf("  %s: threw another type\n", name);
  }
  ++failures;
}

// Runs this program again with `uncaught`; its exit code and what it wrote.
DWORD RunUncaught(std::string& output) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return 0;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string command = std::string("\"") + self + "\" uncaught";
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = start.hStdError = writeEnd;
  PROCESS_INFORMATION child{};
  DWORD code = 0;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                     &child)) {
    CloseHandle(writeEnd);
    writeEnd = nullptr;
    char buffer[512];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) output.append(buffer, n);
    WaitForSingleObject(child.hProcess, 30000);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
  }
  if (writeEnd) CloseHandle(writeEnd);
  CloseHandle(readEnd);
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "uncaught") == 0) throw std::bad_alloc();
  std::vector<int> numbers(2);
  std::string text = "ab";
  // Runtime values, so that the compiler sees no call it could reject beforehand.
  const char* volatile none = nullptr;
  volatile std::size_t pastMaxSize = numbers.max_size() + 1;
  volatile std::size_t pastAddressSpace = SIZE_MAX / sizeof(int) + 1;
  std::function<void()> empty;
  std::allocator<int> allocator;

  ExpectThrow<std::exception>("vector at", [&] { (void)numbers.at(2); },
      "vector::_M_range_check: __n (which is %zu) >= this->size() (which is %zu)");
  ExpectThrow<std::exception>("string at", [&] { (void)text.at(2); },
      "basic_string::at: __n (which is %zu) >= this->size() (which is %zu)");
  ExpectThrow<std::exception>("vector reserve", [&] { numbers.reserve(pastMaxSize); },
      "vector::reserve");
  ExpectThrow<std::exception>("string reserve", [&] { text.reserve(text.max_size() + 1); },
      "basic_string::_M_create");
  ExpectThrow<std::exception>("string from null", [&] { std::string copy(none); },
      "basic_string: construction from null is not valid");
  ExpectThrow<std::exception>("empty function", [&] { empty(); }, "bad_function_call");
  ExpectThrow<std::bad_alloc>("allocate", [&] { (void)allocator.allocate(pastMaxSize); },
      "std::bad_alloc");
  ExpectThrow<std::bad_alloc>("allocate past the address space",
      [&] { (void)allocator.allocate(pastAddressSpace); }, "std::bad_alloc");

  std::string output;
  const DWORD code = RunUncaught(output);
  if (code != 3 || output.find("terminate called") != std::string::npos) {
    std::printf("  uncaught: exit code %lu, wrote \"%s\"\n", code, output.c_str());
    ++failures;
  }

  std::printf("%s\n", failures ? "FAIL" : "PASS");
  return failures;
}
