// Bragging: the current idle time into the room on demand, always with the fixed glyph.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "idle/IdleCommands.h"

namespace loafix {

void bragstats(Program& p) {
  const Hwnd strip = p.Form2();
  ChatSend(p.ws, BragLine(p.text(strip, "Label2"), p.text(strip, "Label3"),
                          p.text(strip, "Label4")));
}

}  // namespace loafix
