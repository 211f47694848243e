// The program's own windows and the commands that are neither idling nor options: the
// splash and start-up, the strip with its menu and its close area, the information
// commands, the feedback mail and the chores in the client. LoafixParts() puts the
// windows, the menu and the timers of every subsystem together for the program.
#pragma once

#include "core/FormSpec.h"
#include "core/Host.h"
#include "core/Program.h"
#include "core/WindowSystem.h"

namespace loafix {

// The items of the command menu outside the idle options.
namespace items {
inline constexpr ItemName file{"file"};
inline constexpr ItemName about{"about"};
inline constexpr ItemName advertise{"advertise"};
inline constexpr ItemName disclamer{"disclamer"};
inline constexpr ItemName aoloptions{"aoloptions"};
inline constexpr ItemName upchat{"upchat"};
inline constexpr ItemName unupchat{"unupchat"};
inline constexpr ItemName aol{"aol"};
inline constexpr ItemName hideaol{"hideaol"};
inline constexpr ItemName showaol{"showaol"};
inline constexpr ItemName killwindows{"killwindows"};
inline constexpr ItemName killmodal{"killmodal"};
inline constexpr ItemName killglyph{"killglyph"};
inline constexpr ItemName killwait{"killwait"};
inline constexpr ItemName ims{"ims"};
inline constexpr ItemName imoff{"imoff"};
inline constexpr ItemName imon{"imon"};
inline constexpr ItemName mailme{"mailme"};
inline constexpr ItemName minimize{"minimize"};
inline constexpr ItemName unload{"unload"};
}  // namespace items

// The parts of loafix: what Program needs to create its windows, menu and timers.
const ProgramParts& LoafixParts();

// ---- the windows' descriptions, each beside its handlers ----
FormSpec SplashSpec(Program& p);
FormSpec MainWindowSpec(Program& p);
MenuItem CommandMenu(Program& p);
FormSpec FeedbackSpec(Program& p);

// ---- handlers ----
void SplashClick(Program& p);
// loafix was started again in this session while this run goes on: its splash (not
// clicked yet) or its strip comes back and to the top; nothing else changes.
void AnotherStart(Program& p);
void OpenCommandMenu(Program& p);
void EndProgram(Program& p);  // unload and the close area: advertise, then end
// Posts BrandLine, pauses one second (events keep running), then posts AdLinkLine.
void Advertise(WindowSystem& ws, Host& host);
void about(Program& p);
void disclamer(Program& p);
void advertise(Program& p);
void mailme(Program& p);
// The chores in the client, through the client driver.
void ClientUpchat(Program& p);
void ClientUnupchat(Program& p);
void ClientHide(Program& p);
void ClientShow(Program& p);
void ClientImOff(Program& p);
void ClientImOn(Program& p);

}  // namespace loafix
