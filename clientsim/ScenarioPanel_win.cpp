#include "clientsim/ScenarioPanel_win.h"

#include <string>

#include "clientsim/Scenarios_win.h"

namespace loafix::clientsim {
namespace {

constexpr char kPanelClass[] = "ClientsimPanel";

// A button shows its caption's "&" as an underline; the panel's buttons have no access
// keys.
std::string WithoutAccessKey(const char* caption) {
  std::string text;
  for (const char* c = caption; *c; ++c) {
    if (*c != '&') text += *c;
  }
  return text;
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* onCommand =
      reinterpret_cast<std::function<void(int, bool)>*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      if (onCommand && HIWORD(wParam) == BN_CLICKED) {
        const bool checked =
            SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0) == BST_CHECKED;
        (*onCommand)(LOWORD(wParam), checked);
      }
      return 0;
    case WM_CLOSE:
      // Closing the panel ends the client, as closing its frame does.
      if (onCommand) (*onCommand)(kExit, false);
      return 0;
    case WM_NCDESTROY:
      delete onCommand;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreateScenarioPanel(HINSTANCE instance, HWND frame,
                         std::function<void(int command, bool checked)> onCommand) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &PanelProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kPanelClass;
  RegisterClassExA(&wc);

  constexpr int kWidth = 190, kRow = 30;
  int count = 0;
  for (const Scenario& s : ScenarioTable()) count += (s.where & Scenario::kPanel) ? 1 : 0;
  RECT client{0, 0, kWidth, 8 + count * kRow};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  AdjustWindowRectEx(&client, style, FALSE, WS_EX_TOOLWINDOW);
  RECT at{0, 0, 0, 0};
  if (frame) GetWindowRect(frame, &at);
  HWND panel = CreateWindowExA(WS_EX_TOOLWINDOW, kPanelClass, "clientsim scenarios", style,
                               at.right + 8, at.top, client.right - client.left,
                               client.bottom - client.top, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrA(
      panel, GWLP_USERDATA,
      reinterpret_cast<LONG_PTR>(new std::function<void(int, bool)>(std::move(onCommand))));
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  int row = 0;
  for (const Scenario& s : ScenarioTable()) {
    if (!(s.where & Scenario::kPanel)) continue;
    HWND button = CreateWindowExA(
        0, "Button", WithoutAccessKey(s.caption).c_str(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (s.checkBox ? BS_AUTOCHECKBOX : BS_PUSHBUTTON), 8,
        6 + row++ * kRow, kWidth - 16, kRow - 6, panel,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.command)), instance, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  return panel;
}

}  // namespace loafix::clientsim
