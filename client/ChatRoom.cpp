#include "client/ChatRoom.h"

namespace loafix {

Hwnd FindChatRoom(WindowSystem& ws) {
  const Hwnd mdi = ClientMdi(ws);
  for (Hwnd child = ChildOf(ws, mdi, 0, kChildClass); child != 0;
       child = ChildOf(ws, mdi, child, kChildClass)) {
    // All four lookups every time: only the presence of each class is tested.
    const Hwnd rich = ChildOf(ws, child, 0, kRichClass);
    const Hwnd list = ChildOf(ws, child, 0, kListboxClass);
    const Hwnd icon = ChildOf(ws, child, 0, kIconClass);
    const Hwnd label = ChildOf(ws, child, 0, kStaticClass);
    if (rich != 0 && list != 0 && icon != 0 && label != 0) return child;
  }
  return 0;
}

namespace {

// Where the line went, for whoever watches; a room without its input box took nothing.
void Tell(WindowSystem& ws, Hwnd room) {
  if (ws.onChatLine) ws.onChatLine(room, ws.operationStop());
}

}  // namespace

void ChatSend(WindowSystem& ws, std::string_view text) {
  const Hwnd room = FindChatRoom(ws);
  // With no room, the lookups below would run over the top-level windows, and two
  // stray "RICHCNTL" windows of another program would get the line and an Enter.
  if (room == 0) return Tell(ws, 0);
  const Hwnd first = ChildOf(ws, room, 0, kRichClass);
  const Hwnd box = ChildOf(ws, room, first, kRichClass);
  ws.SendMessageA(box, WM_SETTEXT, 0, text);
  ws.SendMessageA(box, WM_CHAR, 13, 0);
  Tell(ws, box == 0 ? 0 : room);
}

void SetText(WindowSystem& ws, Hwnd window, std::string_view text) {
  ws.SendMessageA(window, WM_SETTEXT, 0, text);
}

}  // namespace loafix
