// The window-system layer over real user32 windows of this process: lookups as
// Windows does them (also where Wine 8's own FindWindowExA differs), texts in the
// ANSI code page, handle 0, and a window that stops answering.

#include "core/Text.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/wine/WineTest.h"

namespace loafix {
namespace {

using namespace winetest;
using win32::FromHwnd;
using win32::ToHwnd;

constexpr char kTreeClass[] = "LfxTreeTop";

void RegisterClasses() {
  for (const char* name : {kTreeClass, "_AOL_Edit", "RICHCNTL", "Deep"}) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
  }
}

HWND Make(HWND parent, const char* className, const char* ansiCaption = "") {
  return CreateWindowExA(0, className, ansiCaption, parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                         parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void LookupsFollowWindowsRules() {
  RegisterClasses();
  win32::Win32WindowSystem ws;
  // Hidden on purpose: lookups find hidden windows too.
  const HWND top = Make(nullptr, kTreeClass, "tree");
  const HWND e1 = Make(top, "_AOL_Edit"), e2 = Make(top, "_AOL_Edit"), e3 = Make(top, "_AOL_Edit");
  const HWND r1 = Make(top, "RICHCNTL");
  const HWND r2 = Make(top, "RICHCNTL", "\xAC room");  // "¬ room" in Windows-1252
  Make(e1, "Deep");
  const HWND other = Make(nullptr, kTreeClass, "other");
  const HWND stranger = Make(other, "RICHCNTL");
  const Hwnd t = FromHwnd(top);

  struct Row {
    const char* what;
    Hwnd parent, after;
    const char* className;
    const char* caption;  // nullptr: any caption
    HWND expected;
  };
  const Row rows[] = {
      {"first child, class in another letter case", t, 0, "_aol_edit", nullptr, e1},
      {"next of the same class", t, FromHwnd(e1), "_AOL_EDIT", nullptr, e2},
      // Wine 8's FindWindowExA returns 0 here; Windows goes on to the next RICHCNTL.
      {"after a window of another class", t, FromHwnd(e3), "RICHCNTL", nullptr, r1},
      {"after one RICHCNTL, the second", t, FromHwnd(r1), "RICHCNTL", nullptr, r2},
      {"nothing after the last", t, FromHwnd(r2), "RICHCNTL", nullptr, nullptr},
      {"caption given as UTF-8 matches ANSI bytes", t, 0, "RICHCNTL", "¬ room", r2},
      {"caption compared exactly", t, 0, "RICHCNTL", "¬ ROOM", nullptr},
      {"empty caption is a caption", t, 0, "RICHCNTL", "", r1},
      {"direct children only", t, 0, "Deep", nullptr, nullptr},
      {"after that is not a child", t, FromHwnd(stranger), "RICHCNTL", nullptr, nullptr},
      {"parent 0: top-level, hidden too", 0, 0, "lfxtreetop", "tree", top},
      {"parent 0: children are not top-level", 0, 0, "_AOL_Edit", nullptr, nullptr},
      // A new top-level window goes to the top of the Z order: "other" comes first.
      {"parent 0: after a top-level window", 0, FromHwnd(other), kTreeClass, "tree", top},
      {"no such class", t, 0, "Nope", nullptr, nullptr},
      {"parent that is not a window", 0x7FFFFFF0u, 0, "RICHCNTL", nullptr, nullptr},
  };
  for (const Row& row : rows) {
    const Hwnd found = row.caption ? ws.FindWindowExA(row.parent, row.after, row.className,
                                                      std::string_view(row.caption))
                                   : ws.FindWindowExA(row.parent, row.after, row.className);
    if (found != FromHwnd(row.expected)) Fail(__FILE__, __LINE__, row.what);
  }
  WT_CHECK_EQ(ws.FindWindowA("LFXTREETOP", std::string_view("tree")), t);
  WT_CHECK_EQ(ToHwnd(FromHwnd(r2)), r2);

  // A caption longer than the first read of it: compared whole, not its first 255.
  const std::string longCaption(300, 'x');
  const HWND long1 = Make(nullptr, kTreeClass, longCaption.c_str());
  WT_CHECK_EQ(ws.FindWindowA(kTreeClass, std::string_view(longCaption)), FromHwnd(long1));
  WT_CHECK_EQ(ws.FindWindowA(kTreeClass, std::string_view(longCaption).substr(0, 255)), Hwnd{0});

  DestroyWindow(long1);
  DestroyWindow(top);
  DestroyWindow(other);
}

void TextsCrossAsAnsiBytes() {
  RegisterClasses();
  win32::Win32WindowSystem ws;
  const HWND top = Make(nullptr, kTreeClass, "");
  const Hwnd t = FromHwnd(top);

  ws.SendMessageA(t, WM_SETTEXT, 0, "¬ lòàfíx¹ · zed²");
  char raw[64] = {};
  ::GetWindowTextA(top, raw, sizeof raw);
  WT_CHECK_EQ(std::string(raw), std::string("\xAC l\xF2\xE0"
                                            "f\xEDx\xB9 \xB7 zed\xB2"));
  WT_CHECK_EQ(ws.GetWindowTextLengthA(t), 16);
  WT_CHECK_EQ(ws.GetWindowTextA(t, 17), std::string("¬ lòàfíx¹ · zed²"));
  WT_CHECK_EQ(ws.GetWindowTextA(t, 4), std::string("¬ l"));  // at most maxCount - 1
  // A character outside the code page arrives as the system's default character.
  ws.SendMessageA(t, WM_SETTEXT, 0, "a\u4e2db");
  ::GetWindowTextA(top, raw, sizeof raw);
  WT_CHECK_EQ(std::string(raw), std::string("a?b"));

  WT_CHECK_EQ(ws.GetWindowTextLengthA(0), 0);
  WT_CHECK_EQ(ws.GetWindowTextA(0, 10), std::string());

  // The simulated desktop's conversion gives the client the same bytes as this one:
  // no best fit ("ā" is not "a"), one "?" for each character outside the code page.
  WT_CHECK_EQ(GetACP(), 1252u);
  for (const char* text : {"¬ lòàfíx¹ · zed²", "ā Łódź", "€ ™ Œ",
                           "日本 😀", "", "ÿ"}) {
    ws.SendMessageA(t, WM_SETTEXT, 0, text);
    ::GetWindowTextA(top, raw, sizeof raw);
    WT_CHECK_EQ(std::string(raw), Utf8ToAnsi(text));
  }
  DestroyWindow(top);
}

void HandleZeroReachesNothing() {
  win32::Win32WindowSystem ws;
  // user32's PostMessageA(NULL, ...) would queue a message to this very thread.
  ws.PostMessageA(0, WM_APP + 7, 1, 2);
  MSG msg;
  WT_CHECK(!PeekMessageA(&msg, nullptr, WM_APP + 7, WM_APP + 7, PM_REMOVE));
  WT_CHECK_EQ(ws.SendMessageA(0, WM_SETTEXT, 0, "x"), std::intptr_t{0});
  ws.ShowWindow(0, SW_SHOW);
  ws.EnableWindow(0, false);
  ws.SetWindowPos(0, -1, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// A window whose thread has stopped taking messages: the program must get its
// thread back within the layer's time-out instead of hanging with the client.
void HungWindowCannotFreezeTheCaller() {
  RegisterClasses();
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  Thread owner([&] {
    hung = Make(nullptr, kTreeClass, "hung");
    SetEvent(ready);
    WaitForSingleObject(release, 30000);  // takes no messages meanwhile
    DestroyWindow(hung);
  });
  WaitForSingleObject(ready, 10000);
  win32::Win32WindowSystem ws;

  // A window that is gone was never waited for: the operation goes on.
  const HWND gone = Make(nullptr, kTreeClass, "gone");
  DestroyWindow(gone);
  WT_CHECK_EQ(ws.SendMessageA(FromHwnd(gone), WM_SETTEXT, 0, "x"), std::intptr_t{0});
  ws.PostMessageA(FromHwnd(gone), WM_NULL, 0, 0);
  ws.EnableWindow(FromHwnd(gone), false);
  WT_CHECK(ws.operationStop() == ClientStop::None);

  double start = Now();
  ws.SendMessageA(FromHwnd(hung), WM_SETTEXT, 0, "x");
  const double first = Now() - start;
  WT_CHECK(first < win32::kSendTimeoutMs / 1000.0 + 1.5);
  WT_CHECK(ws.operationStop() == ClientStop::NotAnswering);

  // The operation has ended: nothing more waits on the hung window.
  start = Now();
  WT_CHECK_EQ(ws.GetWindowTextLengthA(FromHwnd(hung)), 0);
  ws.SendMessageA(FromHwnd(hung), WM_CHAR, 13, 0);
  ws.EnableWindow(FromHwnd(hung), true);
  WT_CHECK(Now() - start < 0.5);
  // Lookups never send messages, so they stay quick even on a hung window.
  start = Now();
  WT_CHECK_EQ(ws.FindWindowA(kTreeClass, std::string_view("hung")), FromHwnd(hung));
  WT_CHECK(Now() - start < 0.5);

  SetEvent(release);
  owner.join();
  CloseHandle(ready);
  CloseHandle(release);
}

}  // namespace
}  // namespace loafix

int main(int argc, char** argv) {
  return loafix::winetest::RunCases(argc, argv,
                                    {{"lookups", &loafix::LookupsFollowWindowsRules},
                                     {"texts", &loafix::TextsCrossAsAnsiBytes},
                                     {"handle-zero", &loafix::HandleZeroReachesNothing},
                                     {"hung-window", &loafix::HungWindowCannotFreezeTheCaller}});
}
