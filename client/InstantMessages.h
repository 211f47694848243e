// Keywords and instant messages: the client opens a keyword typed into its toolbar's
// keyword box, and an instant message goes out through the client's own "Send
// Instant Message" window. Two special screen names switch the user's own instant
// messages off and on.
#pragma once

#include <string_view>

#include "client/ClientWindows.h"
#include "core/Host.h"
#include "core/WindowSystem.h"

namespace loafix {

inline constexpr std::string_view kImKeywordPrefix = "aol://9293:";
inline constexpr std::string_view kImsOffName = "$IM_OFF";
inline constexpr std::string_view kImsOnName = "$IM_ON";
inline constexpr std::string_view kImsSwitchText = "=)";

// How long SendIM waits for the client, per wait, before it gives up silently.
inline constexpr double kImWaitLimitSeconds = 30.0;

// Types `keyword` into the client's keyword box, then a space and Enter, on which the
// client opens it. With no client or no keyword box nothing reaches any window.
void EnterKeyword(WindowSystem& ws, std::string_view keyword);

// Sends `text` to `screenName` through the client's instant-message window. Returns
// once the client has closed that window (taken as sent) or has answered with its
// message box (dismissed, and the IM window closed), or after 30 s of either wait.
// Each window is taken once it has held still (50 ms; a second if the icon lookups
// wrap), so one the client is still building is never clicked into. Events keep
// running throughout, so other commands and timer ticks can run inside.
void SendIM(WindowSystem& ws, Host& host, std::string_view screenName, std::string_view text);

// SendIM of "=)" to "$IM_OFF": the client stops delivering the user's IMs.
void IMsOff(WindowSystem& ws, Host& host);
// SendIM of "=)" to "$IM_ON": the client delivers them again.
void IMsOn(WindowSystem& ws, Host& host);

}  // namespace loafix
