// clientsim.exe: the stand-in chat client as a real Win32 program. It builds the
// client's window tree, opens a chat room, shows what the room receives, and appends
// every line of its log to the file named on its command line, at once, so a test in
// another process can read it while the client runs.
//
//   clientsim.exe [--log FILE] [--room NAME] [--no-room]
#include "clientsim/Win32Surface_win.h"

#include <string>
#include <vector>

#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"

#include <shellapi.h>

namespace {

using loafix::clientsim::ClientModel;
using loafix::clientsim::Win32Surface;

enum Command { kOpenRoom = 101, kCloseRoom, kExit };

struct Options {
  std::wstring logPath;
  std::string roomName = "Town Square";
  bool openRoom = true;
};

Options ParseCommandLine() {
  Options options;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; args && i < count; ++i) {
    const std::wstring arg = args[i];
    if (arg == L"--log" && i + 1 < count) {
      options.logPath = args[++i];
    } else if (arg == L"--room" && i + 1 < count) {
      options.roomName = loafix::win32::WideToAnsi(args[++i]);
    } else if (arg == L"--no-room") {
      options.openRoom = false;
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
    file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
  HMENU room = CreatePopupMenu();
  AppendMenuA(room, MF_STRING, kOpenRoom, "&Open a chat room");
  AppendMenuA(room, MF_STRING, kCloseRoom, "&Close the top chat room");
  AppendMenuA(room, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(room, MF_STRING, kExit, "E&xit");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(room), "&Client");
  return bar;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const Options options = ParseCommandLine();
  LogFile log(options.logPath);

  Win32Surface surface(instance);
  ClientModel model(surface);
  surface.attach(model);
  model.onLog = [&log](const std::string& line) { log.append(line); };
  surface.frameMenu = BuildMenu();

  int roomsOpened = 0;
  surface.onCommand = [&](int command) {
    switch (command) {
      case kOpenRoom:
        model.openRoom(roomsOpened++ == 0 ? options.roomName
                                          : "Room " + std::to_string(roomsOpened));
        break;
      case kCloseRoom:
        if (HWND mdi = surface.mdiClient()) {
          // The top of the MDI area's order: the room a lookup would find first.
          for (HWND w = GetWindow(mdi, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (model.room(loafix::win32::FromHwnd(w))) {
              model.closeRoom(loafix::win32::FromHwnd(w));
              break;
            }
          }
        }
        break;
      case kExit:
        PostQuitMessage(0);
        break;
      default:
        break;
    }
  };

  model.start();
  if (options.openRoom) surface.onCommand(kOpenRoom);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (surface.mdiClient() && TranslateMDISysAccel(surface.mdiClient(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
