// clientsim.exe seen from another process, as the program sees the real client: its
// window tree by class and caption, the scenario windows it starts with, and the
// messages a program sends reaching the client's model (its log tells).
#include "core/Text.h"
#include "clientsim/Hex.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/wine/WineTest.h"

namespace loafix {
namespace {

using namespace winetest;

bool Logged(const std::string& path, const std::string& line) {
  for (const std::string& l : ReadLines(path))
    if (l == line) return true;
  return false;
}

void TreeAndScenarioWindows() {
  TempFile log("clientsim-log");
  Process client("clientsim.exe", {"--log", log.path(), "--modal", "--message-box", "--no-panel"});
  WT_REQUIRE(client.started());
  win32::Win32WindowSystem ws;
  WT_REQUIRE(WaitUntil([&] { return Logged(log.path(), "room open " + Hex("Town Square")); }, 30));

  // The tree a program walks: frame, toolbar with the keyword box, MDI area, room.
  const Hwnd frame = ws.FindWindowA("aol frame25");
  WT_REQUIRE(frame != 0);
  const Hwnd toolbar =
      ws.FindWindowExA(ws.FindWindowExA(frame, 0, "AOL Toolbar"), 0, "_AOL_Toolbar");
  const Hwnd keyword = ws.FindWindowExA(ws.FindWindowExA(toolbar, 0, "_AOL_Combobox"), 0, "Edit");
  WT_CHECK(keyword != 0);
  const Hwnd mdi = ws.FindWindowExA(frame, 0, "MDIClient");
  const Hwnd room = ws.FindWindowExA(mdi, 0, "AOL Child");
  WT_REQUIRE(room != 0);
  WT_CHECK_EQ(ws.GetWindowTextA(room, 64), std::string("Town Square"));
  const Hwnd first = ws.FindWindowExA(room, 0, "RICHCNTL");
  WT_CHECK(ws.FindWindowExA(room, first, "RICHCNTL") != 0);
  for (const char* c : {"_AOL_Listbox", "_AOL_Icon", "_AOL_Static"})
    WT_CHECK(ws.FindWindowExA(room, 0, c) != 0);

  // The modal window is up and the frame takes no input meanwhile.
  const Hwnd modal = ws.FindWindowExA(frame, 0, "_AOL_MODAL");
  WT_CHECK(modal != 0);
  WT_CHECK(!IsWindowEnabled(win32::ToHwnd(frame)));
  // Enabling the frame from outside reaches the client (WM_ENABLE), as upchat does.
  ws.EnableWindow(frame, true);
  WT_CHECK(WaitUntil([&] { return Logged(log.path(), "enable AOL Frame25 1"); }, 5));
  ws.ShowWindow(modal, SW_HIDE);
  WT_CHECK(WaitUntil([&] { return Logged(log.path(), "visible _AOL_MODAL 0"); }, 5));

  // The client's message box goes with the space bar on its first button.
  const Hwnd box = ws.FindWindowA("#32770", std::string_view("America Online"));
  WT_REQUIRE(box != 0);
  const Hwnd button = ws.FindWindowExA(box, 0, "Button");
  WT_REQUIRE(button != 0);
  ws.PostMessageA(button, WM_KEYDOWN, 0x20, 0);
  ws.PostMessageA(button, WM_KEYUP, 0x20, 0);
  WT_CHECK(WaitUntil(
      [&] { return ws.FindWindowA("#32770", std::string_view("America Online")) == 0; }, 5));
  WT_CHECK(Logged(log.path(), "box dismissed"));

  // A keyword typed into the box and entered is logged as a keyword.
  ws.SendMessageA(keyword, WM_SETTEXT, 0, "aol://9293:");
  ws.SendMessageA(keyword, WM_CHAR, 13, 0);
  WT_CHECK(WaitUntil([&] { return Logged(log.path(), "keyword " + Hex("aol://9293:")); }, 5));

  // WM_CLOSE from outside closes a client window, and the client notices.
  ws.SendMessageA(room, WM_CLOSE, 0, 0);
  WT_CHECK(WaitUntil([&] { return Logged(log.path(), "room closed " + Hex("Town Square")); }, 5));
  WT_CHECK_EQ(ws.FindWindowExA(mdi, 0, "AOL Child", std::string_view("Town Square")), Hwnd{0});
}

}  // namespace
}  // namespace loafix

int main(int argc, char** argv) {
  return loafix::winetest::RunCases(argc, argv,
                                    {{"tree-and-scenarios", &loafix::TreeAndScenarioWindows}});
}
