// Start-up, the main window, the command menu, the information commands and the two
// ways the program ends.
#include "idle/ChatLines.h"
#include "idle/Product.h"
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
  // Both timers exist and are stopped.
  EXPECT_FALSE(host.timerEnabled(program.Timer1()));
  EXPECT_FALSE(host.timerEnabled(program.Timer2()));
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

TEST_F(StartUp, DragsStartOnTheBackgroundColonsAndCountersNotOnClickAreas) {
  startUp();
  const Hwnd strip = program.Form2();
  for (const char* where : {"", "Label5", "Label2", "Label3", "Label4"}) host.mouseDown(strip, where);
  EXPECT_EQ(desktop.window(strip)->drags, 5);
  host.mouseDown(strip, "Label1");
  host.mouseDown(strip, "Label6");
  EXPECT_EQ(desktop.window(strip)->drags, 5);
}

TEST_F(StartUp, InformationCommands) {
  startUp();
  newLines();
  choose("about");
  choose("disclamer");
  ASSERT_EQ(host.messageBoxes().size(), 2u);
  EXPECT_EQ(host.messageBoxes()[0].title, "about");
  EXPECT_EQ(host.messageBoxes()[0].text, kAboutText);
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

TEST_F(StartUp, MinimizeOnlyMinimizes) {
  startUp();
  choose("minimize");
  EXPECT_TRUE(desktop.window(program.Form2())->minimized);
  EXPECT_FALSE(host.ended());
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
