// The idle clock: three counters kept as the captions of the main window's labels
// (days Label2, hours Label3, minutes Label4), advanced once a minute by Timer1.
#include <charconv>

#include "idle/IdleCommands.h"

namespace loafix {
namespace {

// The caption's leading decimal number plus one; an empty or non-numeric caption
// counts as 0.
void Increment(Program& p, std::string_view label) {
  const std::string caption = p.text(p.Form2(), label);
  long long value = 0;
  const auto [end, error] = std::from_chars(caption.data(), caption.data() + caption.size(), value);
  if (error != std::errc()) value = 0;
  (void)end;
  p.setText(p.Form2(), label, std::to_string(value + 1));
}

}  // namespace

void IdleClockTick(Program& p) {
  Increment(p, "Label4");
  if (p.text(p.Form2(), "Label4") == "60") {
    p.setText(p.Form2(), "Label4", "0");
    Increment(p, "Label3");
    if (p.text(p.Form2(), "Label3") == "24") {
      p.setText(p.Form2(), "Label3", "0");
      Increment(p, "Label2");
    }
  }
}

}  // namespace loafix
