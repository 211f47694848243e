// The guide for Windows users (docs/windows.md, shipped as README.txt) against the
// program itself: every command of the menu is in it under the caption the menu shows,
// the settings file is named as the program names it, and the page is plain ASCII, so
// that README.txt reads the same in any Notepad.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/SimClock.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimHost.h"
#include "settings/SettingsStore.h"
#include "ui/UiCommands.h"

namespace loafix {
namespace {

std::string Guide() {
  std::ifstream in(LOAFIX_GUIDE, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The caption as the menu shows it: "&idle on" reads "idle on".
std::string Shown(std::string caption) {
  std::erase(caption, '&');
  return caption;
}

void CommandsBelow(const MenuItem& item, std::vector<std::string>& captions) {
  for (const MenuItem& child : item.children) {
    if (child.isSeparator()) continue;
    captions.push_back(Shown(child.caption));
    CommandsBelow(child, captions);
  }
}

TEST(Guide, NamesEveryMenuItemInBoldAsTheMenuShowsIt) {
  sim::SimClock clock{0};
  sim::SimDesktop desktop{clock};
  sim::SimHost host{clock, desktop};
  SettingsStore store{std::string(::testing::TempDir())};
  Program program{desktop, host, store, LoafixParts()};
  std::vector<std::string> captions;
  CommandsBelow(program.menu(), captions);
  ASSERT_GE(captions.size(), 29u) << "the whole tree, submenus included";

  const std::string guide = Guide();
  std::vector<std::string> missing;
  for (const std::string& caption : captions) {
    if (guide.find("**" + caption + "**") == std::string::npos) missing.push_back(caption);
  }
  EXPECT_TRUE(missing.empty()) << "not in the guide: " << ::testing::PrintToString(missing);
}

TEST(Guide, NamesTheSettingsFileAndItsFallback) {
  const std::string guide = Guide();
  EXPECT_NE(guide.find(std::string(kIniUpper)), std::string::npos);
  EXPECT_NE(guide.find("%APPDATA%\\loafix.ini"), std::string::npos);
}

TEST(Guide, IsPlainAscii) {
  const std::string guide = Guide();
  ASSERT_FALSE(guide.empty());
  for (std::size_t i = 0; i < guide.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(guide[i]);
    ASSERT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7f)) << "byte " << int(c) << " at offset " << i;
  }
}

}  // namespace
}  // namespace loafix
