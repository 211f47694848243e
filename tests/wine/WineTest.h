// A small harness for the test programs that run under Wine: named cases, checks that
// report the place and go on, and the waiting and process helpers every end-to-end
// case needs. Every wait has a deadline; nothing sleeps a fixed time.
#pragma once

#include "platform/win32/Win32.h"

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace loafix::winetest {

void Fail(const char* file, int line, const std::string& what);

#define WT_CHECK(condition)                                                              \
  do {                                                                                   \
    if (!(condition)) ::loafix::winetest::Fail(__FILE__, __LINE__, "CHECK " #condition); \
  } while (0)

#define WT_CHECK_EQ(actual, expected)                                  \
  do {                                                                 \
    const auto& wtActual = (actual);                                   \
    const auto& wtExpected = (expected);                               \
    if (!(wtActual == wtExpected)) {                                   \
      std::ostringstream wtOut;                                        \
      wtOut << #actual " == " #expected "\n    actual:   " << wtActual \
            << "\n    expected: " << wtExpected;                       \
      ::loafix::winetest::Fail(__FILE__, __LINE__, wtOut.str());       \
    }                                                                  \
  } while (0)

// A failed precondition: the rest of the case cannot run.
#define WT_REQUIRE(condition)                                              \
  do {                                                                     \
    if (!(condition)) {                                                    \
      ::loafix::winetest::Fail(__FILE__, __LINE__, "REQUIRE " #condition); \
      return;                                                              \
    }                                                                      \
  } while (0)

struct Case {
  const char* name;
  void (*run)();
};

// Runs the cases named on the command line (all when none is named); the exit code is
// the number of failed cases.
int RunCases(int argc, char** argv, const std::vector<Case>& cases);

// Seconds on a monotonic clock.
double Now();

// Handles this process's own messages while waiting, so windows of the test itself
// keep answering; returns when `done` holds (true) or after `seconds` (false).
bool WaitUntil(const std::function<bool()>& done, double seconds);
// Waits `seconds`, handling messages; for measuring what happens meanwhile.
void Idle(double seconds);

// A thread of the test's own, running `body` from the start; joined by join() or, at
// the latest, when the object goes. The programs' runtime (the win32 thread model) has
// no std::thread.
class Thread {
 public:
  Thread() = default;
  explicit Thread(std::function<void()> body);
  ~Thread();
  Thread(Thread&& other) noexcept;
  // Joins the thread it held first.
  Thread& operator=(Thread&& other) noexcept;

  // Waits for the body to return; nothing when there is no thread (any more).
  void join();

 private:
  static DWORD WINAPI Run(void* body);
  std::unique_ptr<std::function<void()>> body_;  // the thread's, at a fixed address
  HANDLE handle_ = nullptr;
};

// A program started from the test, ended when the object goes.
class Process {
 public:
  // `program` is a file name beside the test's own executable.
  Process(const std::string& program, const std::vector<std::string>& args);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  bool running() const;
  // Waits for it to end by itself; false if it is still running after `seconds`.
  bool waitForExit(double seconds);
  DWORD exitCode() const;
  DWORD id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_{};
};

// A fresh file name in the temporary folder, deleted when the object goes.
class TempFile {
 public:
  explicit TempFile(const std::string& stem);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The lines of a text file ("\n" separated), empty when it does not exist.
std::vector<std::string> ReadLines(const std::string& path);

std::string Join(const std::vector<std::string>& lines);

}  // namespace loafix::winetest
