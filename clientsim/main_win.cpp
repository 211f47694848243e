// clientsim.exe: the stand-in chat client as a real Win32 program. It builds the
// client's window tree, opens a chat room, shows what the room receives, and appends
// every line of its log to the file named on its command line, at once, so a test in
// another process can read it while the client runs. A panel of buttons beside it
// switches its scenarios.
//
//   clientsim.exe [--log FILE] [--room NAME] [--no-room] [--modal] [--message-box]
//                 [--mail-draft] [--slow-mail MS] [--slow-im MS] [--no-panel]
#include "clientsim/ScenarioPanel_win.h"
#include "clientsim/Win32Surface_win.h"

#include <string>
#include <vector>

#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

#include <shellapi.h>

namespace {

using namespace loafix::clientsim;
using loafix::win32::FromHwnd;

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

HMENU BuildMenu() {
  HMENU client = CreatePopupMenu();
  AppendMenuA(client, MF_STRING, kOpenRoom, "&Open a chat room");
  AppendMenuA(client, MF_STRING, kCloseRoom, "&Close the top room");
  AppendMenuA(client, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(client, MF_STRING, kRaiseModal, "Raise a &modal window");
  AppendMenuA(client, MF_STRING, kMessageBox, "Show a message &box");
  AppendMenuA(client, MF_STRING, kMailWindow, "Open a &Write Mail window");
  AppendMenuA(client, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(client, MF_STRING, kExit, "E&xit");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(client), "&Client");
  return bar;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const Options options = ParseCommandLine();
  LogFile log(options.logPath);

  Win32Surface surface(instance);
  ClientModel model(surface);
  surface.attach(model);
  model.options = options.client;
  model.onLog = [&log](const std::string& line) { log.append(line); };
  surface.frameMenu = BuildMenu();

  int roomsOpened = 0;
  auto command = [&](int id, bool checked) {
    switch (id) {
      case kOpenRoom:
        model.openRoom(roomsOpened++ == 0 ? options.roomName
                                          : "Room " + std::to_string(roomsOpened));
        break;
      case kCloseRoom:
        if (HWND mdi = surface.mdiClient()) {
          // The top of the MDI area's order: the room a lookup finds first.
          for (HWND w = GetWindow(mdi, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (model.room(FromHwnd(w))) {
              model.closeRoom(FromHwnd(w));
              break;
            }
          }
        }
        break;
      case kRaiseModal:
        model.raiseModal();
        break;
      case kDropModal:
        model.dropModal();
        break;
      case kMessageBox:
        model.showMessageBox("You have no new mail.");
        break;
      case kMailWindow:
        model.openMailWindow("Write Mail", true);
        break;
      case kSlowMail:
        model.options.mailOpenDelayMs = checked ? 3000 : 0;
        break;
      case kSlowIm:
        model.options.imOpenDelayMs = checked ? 2000 : 0;
        break;
      case kExit:
        PostQuitMessage(0);
        break;
      case kMailStaysOpen:
        model.options.mailStaysOpen = checked;
        break;
      case kHang:
        // Busy on the one thread that owns every window: no message is answered, sent
        // or posted, and Wine never marks the windows as hung.
        Sleep(kHangMs);
        break;
      default:
        break;
    }
  };
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
