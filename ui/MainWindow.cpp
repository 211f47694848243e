// The main window (the strip with the idle counters), the menu holder with the
// command menu, and the two ways the program ends itself.
#include "client/clientkit.h"
#include "idle/ChatLines.h"
#include "ui/Program.h"

namespace loafix {
namespace {

MenuItem Command(std::string name, std::string caption, Handler onClick, bool checked = false) {
  MenuItem item;
  item.name = std::move(name);
  item.caption = std::move(caption);
  item.checked = checked;
  item.onClick = std::move(onClick);
  return item;
}

MenuItem Submenu(std::string name, std::string caption, std::vector<MenuItem> children) {
  MenuItem item;
  item.name = std::move(name);
  item.caption = std::move(caption);
  item.children = std::move(children);
  return item;
}

MenuItem Separator(std::string name) { return Command(std::move(name), "-", nullptr); }

// A label drawn over the strip's picture; the counters and colons take the window's
// default font.
ControlSpec Label(std::string name, std::string caption, int left, int top, int width,
                  int height, Handler onClick, Handler onMouseDown) {
  ControlSpec c;
  c.name = std::move(name);
  c.text = std::move(caption);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.onClick = std::move(onClick);
  c.onMouseDown = std::move(onMouseDown);
  return c;
}

}  // namespace

FormSpec MainWindowSpec(Program& p) {
  const Handler drag = [&p] { FormDrag(p.ws, p.Form2()); };
  FormSpec spec;
  spec.name = "Form2";
  spec.caption = "lòàfíx¹ - zed²";
  spec.left = 0;
  spec.top = 0;
  spec.clientWidth = 2160;
  spec.clientHeight = 315;
  spec.background = "strip";
  // Earlier labels lie on top: the colons label covers the counters, and a press on
  // a counter drags the window as a press on the colons does.
  spec.controls = {
      Label("Label1", "", 1935, 105, 165, 150, [&p] { EndProgram(p); }, nullptr),
      Label("Label6", "", 30, 30, 165, 255, [&p] { OpenCommandMenu(p); }, nullptr),
      Label("Label5", "      :      :", 1020, 60, 870, 225, nullptr, drag),
      Label("Label4", "0", 1710, 75, 195, 225, nullptr, drag),
      Label("Label3", "0", 1380, 75, 180, 195, nullptr, drag),
      Label("Label2", "0", 1035, 75, 270, 210, nullptr, drag),
  };
  spec.onLoad = [&p] { StayOnTop(p.ws, p.Form2()); };
  spec.onMouseDown = drag;
  // Closed from outside (Alt+F4): the same as the close area.
  spec.onCloseRequest = [&p] { EndProgram(p); };
  return spec;
}

FormSpec MenuHolderSpec() {
  FormSpec spec;
  spec.name = "Form3";
  spec.caption = "Form3";
  spec.placement = Placement::Default;
  return spec;
}

MenuItem CommandMenu(Program& p) {
  auto run = [&p](void (*handler)(Program&)) -> Handler { return [&p, handler] { handler(p); }; };
  const Handler nothing = [] {};
  return Submenu(
      "file", "file",
      {
          Command("about", "&about", run(about)),
          Command("advertise", "&advertise", run(advertise)),
          Command("disclamer", "&disclamer", run(disclamer)),
          Separator("line1"),
          Submenu("aoloptions", "&aol opts.",
                  {
                      Command("upchat", "&upchat", run(ClientUpchat)),
                      Command("unupchat", "&unupchat", run(ClientUnupchat), true),
                      Separator("line13"),
                      Submenu("aol", "&visibility",
                              {
                                  Command("hideaol", "&hide aol", run(ClientHide)),
                                  Command("showaol", "&show aol", run(ClientShow)),
                              }),
                      Submenu("killwindows", "&kill windows",
                              {
                                  Command("killmodal", "&kill modals", nothing),
                                  Command("killglyph", "&kill glyph", nothing),
                                  Command("killwait", "&kill wait", nothing),
                              }),
                      Submenu("ims", "&instant msgs",
                              {
                                  Command("imoff", "&off", run(ClientImOff)),
                                  Command("imon", "&on", run(ClientImOn), true),
                              }),
                  }),
          Separator("line8"),
          Submenu("idleoptions", "&idle opts.",
                  {
                      Command("idleon", "&idle on", run(idleon)),
                      Command("idleoff", "&idle off", run(idleoff), true),
                      Separator("line10"),
                      Command("bragstats", "&brag stats", run(bragstats)),
                      Separator("line6"),
                      Command("aimsn", "&aim sn", run(aimsn)),
                      Separator("line5"),
                      Command("setascii", "&set ascii", run(setascii)),
                      Separator("line4"),
                      Command("reason", "&reason", run(reason)),
                      Command("linksite", "&link site", run(linksite)),
                      Separator("line7"),
                      Command("enablescrolling", "enable scrolling", run(enablescrolling), true),
                      Command("scrollinginterval", "scrolling interval", run(scrollinginterval)),
                  }),
          Separator("line9"),
          Command("mailme", "&email me", run(mailme)),
          Separator("line3"),
          Command("minimize", "&minimize", [&p] { p.host.minimizeForm(p.Form2()); }),
          Command("unload", "&unload", [&p] { EndProgram(p); }),
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

}  // namespace loafix
