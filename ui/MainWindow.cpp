// The main window (the strip with the idle counters), the command menu, the two ways
// the program ends itself, and the parts of the program put together.
#include "client/clientkit.h"
#include "idle/IdleCommands.h"
#include "ui/UiCommands.h"

namespace loafix {
FormSpec MainWindowSpec(Program& p) {
  const Handler drag = [&p] { FormDrag(p.ws, p.Form2()); };
  return FormSpec{
      .name = "Form2",
      .caption = "lòàfíx¹ - zed²",
      .left = 0,
      .top = 0,
      .clientWidth = 2160,
      .clientHeight = 315,
      .background = "strip",
      // Earlier labels lie on top: the colons label covers the counters, and a press
      // on a counter drags the window as a press on the colons does. The labels take
      // the window's default font and colour.
      .controls =
          {
              {.name = "Label1", .left = 1935, .top = 105, .width = 165, .height = 150,
               .onClick = [&p] { EndProgram(p); }},
              {.name = "Label6", .left = 30, .top = 30, .width = 165, .height = 255,
               .onClick = [&p] { OpenCommandMenu(p); }},
              {.name = "Label5", .left = 1020, .top = 60, .width = 870, .height = 225,
               .text = "      :      :", .onMouseDown = drag},
              {.name = "Label4", .left = 1710, .top = 75, .width = 195, .height = 225, .text = "0",
               .onMouseDown = drag},
              {.name = "Label3", .left = 1380, .top = 75, .width = 180, .height = 195, .text = "0",
               .onMouseDown = drag},
              {.name = "Label2", .left = 1035, .top = 75, .width = 270, .height = 210, .text = "0",
               .onMouseDown = drag},
          },
      .onLoad =
          [&p] {
            StayOnTop(p.ws, p.Form2());
            p.host.setTooltip(p.Form2(), [&p] { return StripTooltip(p); });
          },
      .onMouseDown = drag,
      // Closed from outside (Alt+F4): the same as the close area.
      .onCloseRequest = [&p] { EndProgram(p); },
      // Brought back from its taskbar button: the strip above every window again.
      .onRestore = [&p] { StayOnTop(p.ws, p.Form2()); },
  };
}

MenuItem CommandMenu(Program& p) {
  const Handler nothing = [] {};
  return Submenu(
      items::file, "file",
      {
          Command(items::about, "&about", Runs(p, about)),
          Command(items::advertise, "&advertise", Runs(p, advertise)),
          Command(items::disclamer, "&disclamer", Runs(p, disclamer)),
          Separator("line1"),
          Submenu(items::aoloptions, "&aol opts.",
                  {
                      Command(items::upchat, "&upchat", Runs(p, ClientUpchat)),
                      Command(items::unupchat, "&unupchat", Runs(p, ClientUnupchat), true),
                      Separator("line13"),
                      Submenu(items::aol, "&visibility",
                              {
                                  Command(items::hideaol, "&hide aol", Runs(p, ClientHide)),
                                  Command(items::showaol, "&show aol", Runs(p, ClientShow)),
                              }),
                      Submenu(items::killwindows, "&kill windows",
                              {
                                  Command(items::killmodal, "&kill modals", nothing),
                                  Command(items::killglyph, "&kill glyph", nothing),
                                  Command(items::killwait, "&kill wait", nothing),
                              }),
                      Submenu(items::ims, "&instant msgs",
                              {
                                  Command(items::imoff, "&off", Runs(p, ClientImOff)),
                                  Command(items::imon, "&on", Runs(p, ClientImOn), true),
                              }),
                  }),
          Separator("line8"),
          IdleOptionsMenu(p),
          Separator("line9"),
          Command(items::mailme, "&email me", Runs(p, mailme)),
          Separator("line3"),
          Command(items::minimize, "&minimize", [&p] { p.host.minimizeForm(p.Form2()); }),
          Command(items::unload, "&unload", [&p] { EndProgram(p); }),
      });
}

void OpenCommandMenu(Program& p) {
  // Top-left corner at 1, 300 twips: the bottom-left corner of the strip.
  p.host.popupMenu(p.Form2(), p.menu(), 1, 300);
}

void EndProgram(Program& p) {
  Advertise(p.ws, p.host);
  p.host.endProgram();
}

const ProgramParts& LoafixParts() {
  static constexpr ProgramParts parts{
      .splash = SplashSpec,
      .mainWindow = MainWindowSpec,
      .linkSite = LinkSiteSpec,
      .feedback = FeedbackSpec,
      .commandMenu = CommandMenu,
      .idleClockTick = IdleClockTick,
      .idlePosterTick = IdlePosterTick,
      .autoIdleTick = AutoIdleTick,
  };
  return parts;
}

}  // namespace loafix
