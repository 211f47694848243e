#include "tests/e2e/Session.h"

#include <cstdio>

namespace loafix::e2e {
namespace {

using winetest::WaitUntil;

// Starting a Wine program takes a second or two; the first one of a run longer.
constexpr double kStartSeconds = 30;

std::unique_ptr<winetest::Process> StartClient(const std::string& logPath) {
  return std::make_unique<winetest::Process>("clientsim.exe",
                                             std::vector<std::string>{"--log", logPath});
}

}  // namespace

std::string AppDataSettingsFile() {
  char folder[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("APPDATA", folder, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(folder, n) + "\\loafix.ini" : std::string();
}

std::string SettingsBytes(const std::string& path) {
  // Opened with every sharing right: the program replaces the file by renaming a new
  // one over it, which an open handle without FILE_SHARE_DELETE would make fail.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

Session::Session(bool withClient, const std::function<void()>& beforeStart)
    : logFile_("clientsim-log"), log_(logFile_.path()), person_(0) {
  EndLeftovers();
  // A fresh settings file: none at all until the program writes one, in either place
  // (an earlier case may have left the one on drive C: read-only).
  for (const std::string& file : {std::string(kSettingsFile), AppDataSettingsFile()}) {
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  }
  if (beforeStart) beforeStart();
  if (withClient && !startClient()) return;
  program_ = std::make_unique<winetest::Process>("loafix.exe", std::vector<std::string>{});
  if (!program_->started()) return;
  person_ = Person(program_->id());
  person_.lastChange = [this] {
    const std::vector<ClientLog::Entry>& seen = log_.entries();
    return seen.empty() ? 0.0 : seen.back().seen;
  };
  if (!person_.waitShown(kSplash, kStartSeconds)) {
    std::printf("  the splash window did not come up\n");
    return;
  }
  ready_ = true;
}

Session::~Session() {
  program_.reset();
  client_.reset();
}

bool Session::startClient() {
  client_ = StartClient(log_.path());
  if (!client_->started()) return false;
  const bool open = WaitUntil(
      [&] {
        for (const ClientLog::Entry& e : log_.entries())
          if (e.line.rfind("room open ", 0) == 0) return true;
        return false;
      },
      kStartSeconds);
  if (!open) std::printf("  the client's chat room did not open\n");
  return open;
}

HWND Session::clientFrame() const {
  if (!client_) return nullptr;
  HWND frame = nullptr;
  while ((frame = FindWindowExA(nullptr, frame, "AOL Frame25", nullptr))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(frame, &owner);
    if (owner == client_->id()) return frame;
  }
  return nullptr;
}

bool Session::pressClientButton(std::string_view caption) {
  if (!client_) return false;
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, "clientsim scenarios"); w;
       w = FindWindowExA(nullptr, w, nullptr, "clientsim scenarios")) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != client_->id()) continue;
    for (HWND button : Children(w, "Button")) {
      if (Text(button) != caption) continue;
      DWORD_PTR ignored = 0;
      return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
    }
  }
  std::printf("  the client has no button %.*s\n", static_cast<int>(caption.size()),
              caption.data());
  return false;
}

void Session::endClient() {
  // Ended as a crash or the task manager would end it: the program must not care how.
  client_.reset();
}

}  // namespace loafix::e2e
