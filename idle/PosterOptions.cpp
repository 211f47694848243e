// The poster's options in the idle menu: each prompt shows the stored text as its
// default and writes the answer back at once, unchecked and untrimmed. A cancelled
// prompt yields the null string, which removes the key.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "idle/IdleCommands.h"

namespace loafix {

inline constexpr std::string_view kAimPrompt = "what is your aim screen name?";
inline constexpr std::string_view kAimTitle = "aim sn";
inline constexpr std::string_view kAsciiPrompt = "please enter the ascii that you would like to use";
inline constexpr std::string_view kAsciiTitle = "set ascii";
inline constexpr std::string_view kReasonPrompt = "please enter the reason for being idle";
inline constexpr std::string_view kReasonTitle = "reason";
inline constexpr std::string_view kIntervalPrompt = "please enter a interval for the idle (secounds)";
inline constexpr std::string_view kIntervalTitle = "set interval";

void aimsn(Program& p) {
  if (p.checked(items::aimsn)) {
    p.check(items::aimsn, false);  // the stored screen name stays for next time
    return;
  }
  p.check(items::aimsn, true);
  const std::string stored = p.read("aim sn", kIniLower);
  const auto answer = p.host.inputBox(kAimPrompt, kAimTitle, stored);
  p.write("aim sn", answer, kIniUpper);
}

void setascii(Program& p) {
  const std::string stored = p.read("ascii", kIniLower);
  const auto answer = p.host.inputBox(kAsciiPrompt, kAsciiTitle, stored);
  p.write("ascii", answer, kIniLower);
  // The line shows the glyph as the store gives it back, blanks around it dropped.
  ChatSend(p.ws, AsciiSetLine(p.read("ascii", kIniLower)));
}

void reason(Program& p) {
  const std::string stored = p.read("reason", kIniUpper);
  const auto answer = p.host.inputBox(kReasonPrompt, kReasonTitle, stored);
  p.write("reason", answer, kIniUpper);
  p.check(items::reason, true);
  p.check(items::linksite, false);
}

void scrollinginterval(Program& p) {
  const std::string stored = p.read("interval", kIniUpper);
  const auto answer = p.host.inputBox(kIntervalPrompt, kIntervalTitle, stored);
  // Cancel and an empty answer both store "." alone.
  p.write("interval", answer.value_or("") + ".", kIniUpper);
}

void enablescrolling(Program& p) {
  p.check(items::enablescrolling, !p.checked(items::enablescrolling));
}

}  // namespace loafix
