#include "tests/wine/WineTest.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

namespace loafix::winetest {
namespace {

int failures = 0;

std::string Quote(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string OwnFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// Handles pending messages for at most 20 ms, so that a timer that is always due
// cannot keep a wait from looking at its deadline.
void PumpMessages() {
  const double start = Now();
  MSG msg;
  while (Now() - start < 0.02 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

void Fail(const char* file, int line, const std::string& what) {
  ++failures;
  std::printf("  %s:%d: failed: %s\n", file, line, what.c_str());
  std::fflush(stdout);
}

int RunCases(int argc, char** argv, const std::vector<Case>& cases) {
  int failedCases = 0, ran = 0;
  for (const Case& c : cases) {
    bool wanted = argc < 2;
    for (int i = 1; i < argc; ++i) wanted |= std::strcmp(argv[i], c.name) == 0;
    if (!wanted) continue;
    ++ran;
    const int before = failures;
    std::printf("[ RUN  ] %s\n", c.name);
    std::fflush(stdout);
    const double start = Now();
    c.run();
    const bool ok = failures == before;
    failedCases += ok ? 0 : 1;
    std::printf("[ %s ] %s (%.0f ms)\n", ok ? " OK " : "FAIL", c.name, (Now() - start) * 1000);
    std::fflush(stdout);
  }
  if (ran == 0) {
    std::printf("no case matched\n");
    return 1;
  }
  return failedCases;
}

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WaitUntil(const std::function<bool()>& done, double seconds) {
  const double deadline = Now() + seconds;
  for (;;) {
    PumpMessages();
    if (done()) return true;
    const double left = deadline - Now();
    if (left <= 0) return false;
    // Poll every 5 ms, waking at once for our own messages.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left < 0.005 ? 1 : 5), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void Idle(double seconds) {
  WaitUntil([] { return false; }, seconds);
}

Thread::Thread(std::function<void()> body)
    : body_(std::make_unique<std::function<void()>>(std::move(body))),
      handle_(CreateThread(nullptr, 0, &Thread::Run, body_.get(), 0, nullptr)) {
  if (!handle_) std::printf("  could not start a thread (error %lu)\n", GetLastError());
}

Thread::~Thread() {
  join();
}

Thread::Thread(Thread&& other) noexcept
    : body_(std::move(other.body_)), handle_(std::exchange(other.handle_, nullptr)) {}

Thread& Thread::operator=(Thread&& other) noexcept {
  if (this != &other) {
    join();
    body_ = std::move(other.body_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void Thread::join() {
  if (!handle_) return;
  WaitForSingleObject(handle_, INFINITE);
  CloseHandle(handle_);
  handle_ = nullptr;
  body_.reset();
}

DWORD WINAPI Thread::Run(void* body) {
  (*static_cast<std::function<void()>*>(body))();
  return 0;
}

Process::Process(const std::string& program, const std::vector<std::string>& args) {
  std::string command = Quote(OwnFolder() + program);
  for (const std::string& arg : args) {
    command += ' ';
    command += Quote(arg);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info_)) {
    info_ = PROCESS_INFORMATION{};
    std::printf("  could not start %s (error %lu)\n", command.c_str(), GetLastError());
  }
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::waitForExit(double seconds) {
  return WaitUntil([this] { return !running(); }, seconds);
}

DWORD Process::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

TempFile::TempFile(const std::string& stem) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  static int serial = 0;
  path_ = std::string(folder) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++serial) + ".txt";
  DeleteFileA(path_.c_str());
}

TempFile::~TempFile() {
  DeleteFileA(path_.c_str());
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += "\n      " + line;
  return all;
}

}  // namespace loafix::winetest
