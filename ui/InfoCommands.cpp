// The information commands at the head of the menu, and the advertisement.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "core/Product.h"
#include "ui/UiCommands.h"

namespace loafix {

inline constexpr std::string_view kDisclaimer =
    "hey, lòàfíx¹ was made for educational purposes only, this means that i take no "
    "responsibility for what you do with this program/idle.";

void about(Program& p) { p.host.messageBox(kAboutText, "about"); }

void disclamer(Program& p) { p.host.messageBox(kDisclaimer, "disclamer"); }

void Advertise(WindowSystem& ws, Host& host) {
  ChatSend(ws, BrandLine);
  Pause(host, 1);
  ChatSend(ws, AdLinkLine());
}

void advertise(Program& p) { Advertise(p.ws, p.host); }

}  // namespace loafix
