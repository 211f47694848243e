// Start-up: the splash window, and the click on it that really starts the program.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "ui/Program.h"

namespace loafix {

FormSpec SplashSpec(Program& p) {
  FormSpec spec;
  spec.name = "Form1";
  spec.caption = "loafix by zed²";
  spec.left = 5505;
  spec.top = 3165;
  spec.clientWidth = 4305;
  spec.clientHeight = 2655;
  spec.background = "splash";
  spec.hasIcon = true;
  spec.onLoad = [&p] { StayOnTop(p.ws, p.Form1()); };
  spec.onClick = [&p] { SplashClick(p); };
  return spec;
}

void SplashClick(Program& p) {
  p.host.hideForm(p.Form1());
  // The main window is on screen before any setting is written or line posted.
  p.host.showForm(p.Form2());
  p.write("interval", "60");
  p.write("ascii", "¬");
  Advertise(p.ws, p.host);
}

}  // namespace loafix
