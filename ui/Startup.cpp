// Start-up: the splash window, and the click on it that really starts the program.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "ui/Program.h"

namespace loafix {

FormSpec SplashSpec(Program& p) {
  FormSpec layout;
  layout.name = "Form1";
  layout.caption = "loafix by zed²";
  layout.left = 5505;
  layout.top = 3165;
  layout.clientWidth = 4305;
  layout.clientHeight = 2655;
  layout.background = "splash";
  layout.hasIcon = true;
  layout.onLoad = [&p] { StayOnTop(p.ws, p.Form1()); };
  layout.onClick = [&p] { SplashClick(p); };
  // Closed before its click (Alt+F4): the person does not want the program; without
  // this the splash would only hide and leave a process with no window at all.
  layout.onCloseRequest = [&p] { p.host.endProgram(); };
  return layout;
}

void SplashClick(Program& p) {
  p.host.hideForm(p.Form1());
  // The main window is on screen before any setting is written or line posted.
  p.host.showForm(p.Form2());
  p.write({{"interval", "60"}, {"ascii", "¬"}});
  AutoIdleAtStart(p);
  Advertise(p.ws, p.host);
}

}  // namespace loafix
