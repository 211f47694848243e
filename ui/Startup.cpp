// Start-up: the splash window, and the click on it that really starts the program.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "idle/IdleCommands.h"
#include "ui/UiCommands.h"

namespace loafix {

FormSpec SplashSpec(Program& p) {
  return FormSpec{
      .name = "Form1",
      .caption = "loafix by zed²",
      .left = 5505,
      .top = 3165,
      .clientWidth = 4305,
      .clientHeight = 2655,
      .background = "splash",
      .hasIcon = true,
      .onLoad = [&p] { StayOnTop(p.ws, p.Form1()); },
      .onClick = [&p] { SplashClick(p); },
      // Closed before its click (Alt+F4): the person does not want the program;
      // without this the splash would only hide and leave a process with no window.
      .onCloseRequest = [&p] { p.host.endProgram(); },
  };
}

void SplashClick(Program& p) {
  p.host.hideForm(p.Form1());
  // The main window is on screen before any setting is written or line posted.
  p.host.showForm(p.Form2());
  p.write({{"interval", "60"}, {"ascii", "¬"}});
  AutoIdleAtStart(p);
  Advertise(p.ws, p.host);
}

void AnotherStart(Program& p) {
  // The person is looking for the program: the window they last saw of it. The second
  // process has ended by now, having shown, written and posted nothing of its own.
  const Hwnd window = p.mainWindowLoaded() ? p.Form2() : p.Form1();
  p.host.restoreForm(window);
  StayOnTop(p.ws, window);
}

}  // namespace loafix
