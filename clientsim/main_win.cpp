// clientsim.exe: the stand-in chat client as a real Win32 program. It builds the
// client's window tree, opens a chat room, shows what the room receives, and appends
// every line of its log to the file named on its command line, at once, so a test in
// another process can read it while the client runs. A panel of buttons beside it
// switches its scenarios.
//
//   clientsim.exe [--log FILE] [--room NAME] [--no-room] [--modal] [--message-box]
//                 [--mail-draft] [--slow-mail MS] [--slow-im MS] [--no-panel]
#include "clientsim/ScenarioPanel_win.h"
#include "clientsim/Scenarios_win.h"
#include "clientsim/Win32Surface_win.h"

#include <string>
#include <vector>

#include "platform/win32/Win32Text.h"

#include <shellapi.h>

namespace {

using namespace loafix::clientsim;

struct Options {
  std::wstring logPath;
  std::string roomName = "Town Square";
  bool openRoom = true;
  bool panel = true;
  ClientOptions client;
};

Options ParseCommandLine() {
  Options options;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    const std::wstring arg = args[i];
    const bool hasValue = i + 1 < count;
    if (arg == L"--log" && hasValue) {
      options.logPath = args[++i];
    } else if (arg == L"--room" && hasValue) {
      options.roomName = loafix::win32::WideToSystemCodePage(args[++i]).value_or(options.roomName);
    } else if (arg == L"--no-room") {
      options.openRoom = false;
    } else if (arg == L"--modal") {
      options.client.modalAtStart = true;
    } else if (arg == L"--message-box") {
      options.client.messageBoxAtStart = true;
    } else if (arg == L"--mail-draft") {
      options.client.mailDraftAtStart = true;
    } else if (arg == L"--slow-mail" && hasValue) {
      options.client.mailOpenDelayMs = _wtoi(args[++i]);
    } else if (arg == L"--slow-im" && hasValue) {
      options.client.imOpenDelayMs = _wtoi(args[++i]);
    } else if (arg == L"--no-panel") {
      options.panel = false;
    }
  }
  LocalFree(args);
  return options;
}

// The log: one line per entry, written straight through to the file.
class LogFile {
 public:
  explicit LogFile(const std::wstring& path) {
    if (path.empty()) return;
    file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~LogFile() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  void append(const std::string& line) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    const std::string record = line + "\n";
    DWORD written = 0;
    WriteFile(file_, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    FlushFileBuffers(file_);
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const Options options = ParseCommandLine();
  LogFile log(options.logPath);

  Win32Surface surface(instance);
  ClientModel model(surface);
  surface.attach(model);
  model.options = options.client;
  model.onLog = [&log](const std::string& line) { log.append(line); };
  surface.frameMenu = BuildScenarioMenu();

  Scenarios scenarios{model, surface, options.roomName};
  auto command = [&](int id, bool checked) { RunScenario(scenarios, id, checked); };
  surface.onCommand = [&](int id) { command(id, false); };

  model.start();
  if (options.openRoom) command(kOpenRoom, false);
  if (options.panel) CreateScenarioPanel(instance, surface.frame(), command);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (surface.mdiClient() && TranslateMDISysAccel(surface.mdiClient(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
