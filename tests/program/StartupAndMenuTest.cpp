// Start-up, the main window, the command menu, the information commands and the two
// ways the program ends.
#include "idle/ChatLines.h"
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

using StartUp = ProgramTest;

TEST_F(StartUp, NothingHappensUntilTheSplashIsClicked) {
  writeFile("[idle info]\r\nINTERVAL=120\r\nASCII=*\r\nREASON=lunch\r\n");
  program.start();
  const Hwnd splash = program.Form1();
  EXPECT_TRUE(host.formVisible(splash));
  EXPECT_TRUE(desktop.window(splash)->topmost);
  EXPECT_EQ(host.findForm("Form2"), 0u);
  host.runFor(600);
  EXPECT_TRUE(newLines().empty());
  EXPECT_EQ(fileBytes(), "[idle info]\r\nINTERVAL=120\r\nASCII=*\r\nREASON=lunch\r\n");

  host.click(splash, "");
  EXPECT_FALSE(host.formVisible(splash));
  EXPECT_TRUE(host.formVisible(program.Form2()));
  EXPECT_TRUE(desktop.window(program.Form2())->topmost);
  EXPECT_EQ(setting("interval"), "60");
  EXPECT_EQ(setting("ascii"), "\u00ac");
  EXPECT_EQ(setting("reason"), "lunch");
  EXPECT_NE(fileBytes().find("ASCII=\xac\r\n"), std::string::npos);
  EXPECT_EQ(newLines(), (std::vector<std::string>{std::string(BrandLine), AdLinkLine()}));
  const double gap = times()[1] - times()[0];
  EXPECT_GE(gap, 0.5);
  EXPECT_LE(gap, 1.5);
}

TEST_F(StartUp, NoSettingsFileAndNoClientStillStart) {
  client.model().quit();
  startUp();
  EXPECT_TRUE(host.formVisible(program.Form2()));
  EXPECT_EQ(fileBytes(), "[idle info]\r\nINTERVAL=60\r\nASCII=\xac\r\n");
  EXPECT_TRUE(newLines().empty());
}

TEST_F(StartUp, AFreshRunChecksExactlyFourItems) {
  startUp();
  std::vector<std::string> marked;
  std::function<void(const MenuItem&)> walk = [&](const MenuItem& item) {
    if (item.checked) marked.push_back(item.name);
    for (const MenuItem& child : item.children) walk(child);
  };
  walk(program.menu());
  EXPECT_EQ(marked, (std::vector<std::string>{"unupchat", "imon", "idleoff", "enablescrolling"}));
  // The timers exist and are stopped; idling by itself is off.
  EXPECT_FALSE(host.timerEnabled(program.Timer1()));
  EXPECT_FALSE(host.timerEnabled(program.Timer2()));
  EXPECT_FALSE(host.timerEnabled(program.Timer3()));
}

TEST_F(StartUp, MenuOpensAtTheStripsBottomLeftAndOnlyCommandsRun) {
  startUp();
  host.click(program.Form2(), "Label6");
  EXPECT_TRUE(host.menuOpen());
  EXPECT_EQ(host.menuForm(), program.Form2());
  EXPECT_EQ(host.menuPoint(), std::make_pair(1, 300));
  // Submenus and separators cannot be chosen as commands.
  for (const char* item : {"aoloptions", "aol", "killwindows", "ims", "idleoptions", "line8"})
    EXPECT_FALSE(host.choose(item)) << item;
  for (const char* item : {"killmodal", "killglyph", "killwait"}) {
    choose(item);
    EXPECT_FALSE(host.menuOpen());
  }
  EXPECT_TRUE(newLines().size() == 2);  // the start-up advertisement only
}

// Points of the strip in twips, hit-tested by the rule the Win32 skin window uses.
TEST_F(StartUp, APressOnTheStripDragsOrClicksByWhatLiesOnTop) {
  startUp();
  const Hwnd strip = program.Form2();
  struct Row {
    int x, y;
    bool drags;
    bool opensMenu;
  };
  const Row rows[] = {
      {10, 10, true, false},      // the background
      {100, 100, false, true},    // the menu area
      {194, 284, false, true},    // its last twip
      {195, 100, true, false},    // just right of it: background again
      {1400, 150, true, false},   // the colons lie over the hours counter
      {1100, 80, true, false},    // colons over days
      {1900, 280, true, false},   // minutes counter where the colons end
      {2110, 150, true, false},   // right of the close area
  };
  for (const Row& row : rows) {
    const int before = desktop.window(strip)->drags;
    host.clickAt(strip, row.x, row.y);
    EXPECT_EQ(desktop.window(strip)->drags - before, row.drags ? 1 : 0) << row.x << "," << row.y;
    EXPECT_EQ(host.menuOpen(), row.opensMenu) << row.x << "," << row.y;
    host.dismissMenu();
  }
  EXPECT_FALSE(host.ended());
  host.clickAt(strip, 2000, 150);  // the close area
  EXPECT_TRUE(host.ended());
}

TEST_F(StartUp, ClosingTheSplashBeforeItsClickEndsTheProgram) {
  program.start();
  host.closeFromOutside(program.Form1());
  EXPECT_TRUE(host.ended());
  host.runFor(60);
  EXPECT_TRUE(newLines().empty());
  EXPECT_EQ(fileBytes(), "");
}

// The menu opened the moment idling starts: the poster's first tick is due 1 ms later.
TEST_F(StartUp, NoTickStartsWhileTheMenuIsOpenAndOneStartsOnceItCloses) {
  startUp();
  choose("idleon");
  newLines();
  host.click(program.Form2(), "Label6");
  host.runFor(130);
  EXPECT_EQ(host.ticksStarted(program.Timer1()), 0);
  EXPECT_EQ(host.ticksStarted(program.Timer2()), 0);
  EXPECT_TRUE(newLines().empty());
  // Chosen at last: the command runs first, then each held-back tick starts once.
  ASSERT_TRUE(host.choose("bragstats"));
  EXPECT_EQ(newLines(), (std::vector<std::string>{BragLine("0", "0", "0")}));
  std::string seen;
  host.after(0.5, [&] {
    seen = counters() + " " + std::to_string(host.ticksStarted(program.Timer1())) + "," +
           std::to_string(host.ticksStarted(program.Timer2()));
  });
  host.runFor(0.5);  // returns once the poster's tick has posted, 60 s later
  EXPECT_EQ(seen, "0:0:1 1,1");
  // With the menu open again, "idle off" can be chosen at any moment.
  host.click(program.Form2(), "Label6");
  ASSERT_TRUE(host.choose("idleoff"));
  EXPECT_TRUE(checked("idleoff"));
}

TEST_F(StartUp, InformationCommands) {
  startUp();
  newLines();
  choose("about");
  choose("disclamer");
  ASSERT_EQ(host.messageBoxes().size(), 2u);
  EXPECT_EQ(host.messageBoxes()[0].title, "about");
  EXPECT_EQ(host.messageBoxes()[0].text,
            "l\u00f2\u00e0f\u00edx\u00b9 by zed\u00b2 - an idle counter for the chat rooms. "
            "thanks for using it!");
  EXPECT_EQ(host.messageBoxes()[1].title, "disclamer");
  EXPECT_EQ(host.messageBoxes()[1].text,
            "hey, l\u00f2\u00e0f\u00edx\u00b9 was made for educational purposes only, this means "
            "that i take no responsibility for what you do with this program/idle.");
  EXPECT_TRUE(newLines().empty());

  choose("advertise");
  choose("advertise");
  EXPECT_EQ(newLines(), (std::vector<std::string>{std::string(BrandLine), AdLinkLine(),
                                                  std::string(BrandLine), AdLinkLine()}));
}

// A prompt or a message box is the program's only input while it is up: a click on
// the strip's menu opens nothing, and the strip takes clicks again once it has gone.
TEST_F(StartUp, ABoxIsTheOnlyInputWhileUp) {
  startUp();
  host.holdMessageBoxes(true);
  const Hwnd strip = program.Form2();
  for (const std::string command : {"reason", "about"}) {
    bool menuDuring = true, enabledDuring = true;
    host.after(1, [&] {
      host.click(strip, "Label6");
      menuDuring = host.menuOpen();
      enabledDuring = desktop.window(strip)->enabled;
    });
    host.after(2, [&] {
      if (command == "reason") host.answerPrompt(std::nullopt);
      else host.dismissMessageBox();
    });
    choose(command);
    EXPECT_FALSE(menuDuring) << command;
    EXPECT_FALSE(enabledDuring) << command;
    EXPECT_TRUE(desktop.window(strip)->enabled) << command;
    host.click(strip, "Label6");
    EXPECT_TRUE(host.menuOpen()) << command;
    host.dismissMenu();
  }
}

// Minimized, the strip is still there and idling goes on: its next line comes on time.
TEST_F(StartUp, MinimizeLeavesIdlingAlone) {
  startUp();
  choose("idleon");
  newLines();
  choose("minimize");
  EXPECT_TRUE(desktop.window(program.Form2())->minimized);
  EXPECT_TRUE(host.formVisible(program.Form2()));
  EXPECT_TRUE(checked("idleon"));
  EXPECT_TRUE(newLines().empty());
  host.runFor(61);
  const std::vector<std::string> lines = newLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], StatsLine("\u00ac", "0", "0", "1"));
  EXPECT_FALSE(host.ended());
}

// Minimized, the strip comes back by its taskbar button or by a second start of loafix,
// each time above a topmost window that another program put on top meanwhile; nothing
// is posted or written on the way.
TEST_F(StartUp, AMinimizedStripComesBackOnTopByItsButtonOrASecondStart) {
  startUp();
  newLines();
  const std::string file = fileBytes();
  const Hwnd strip = program.Form2();
  for (const bool byButton : {true, false}) {
    choose("minimize");
    ASSERT_TRUE(desktop.window(strip)->minimized);
    const Hwnd other = desktop.create(0, "Other", "", true);
    desktop.window(other)->topmost = true;
    if (byButton)
      host.restoreFromTaskbar(strip);
    else
      host.after(0, [&] { AnotherStart(program); });
    host.runFor(1);
    EXPECT_FALSE(desktop.window(strip)->minimized) << byButton;
    EXPECT_TRUE(host.formVisible(strip)) << byButton;
    EXPECT_TRUE(desktop.window(strip)->topmost) << byButton;
    EXPECT_EQ(desktop.children(0).front(), strip) << byButton;
  }
  EXPECT_FALSE(host.ended());
  EXPECT_TRUE(newLines().empty());
  EXPECT_EQ(fileBytes(), file);
}

class Ending : public ProgramTest, public ::testing::WithParamInterface<int> {};

TEST_P(Ending, AdvertisesThenEndsWithNothingRunningAfterwards) {
  startUp();
  host.setTimer(program.Timer1(), true, 60000);  // the clock runs, as while idling
  newLines();
  const double before = host.now();
  switch (GetParam()) {
    case 0: choose("unload"); break;
    case 1: host.click(program.Form2(), "Label1"); break;
    case 2: host.closeFromOutside(program.Form2()); break;
  }
  EXPECT_TRUE(host.ended());
  EXPECT_EQ(newLines(), (std::vector<std::string>{std::string(BrandLine), AdLinkLine()}));
  EXPECT_GE(host.now() - before, 0.5);
  // Neither timer nor anything scheduled runs after the end.
  host.runFor(3600);
  EXPECT_TRUE(newLines().empty());
}

INSTANTIATE_TEST_SUITE_P(UnloadCloseAreaAndAltF4, Ending, ::testing::Values(0, 1, 2));

TEST_F(StartUp, EndingInsideAPosterWaitUnwindsEverything) {
  startUp();
  choose("idleon");
  newLines();
  // The poster's tick is waiting its 60 s; unload runs nested inside that wait.
  chooseLater(20, "unload");
  EXPECT_FALSE(host.runFor(600));
  EXPECT_EQ(newLines(), (std::vector<std::string>{std::string(BrandLine), AdLinkLine()}));
}

}  // namespace
}  // namespace loafix
