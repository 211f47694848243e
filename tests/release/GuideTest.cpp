// The guide for Windows users (docs/windows.md, shipped as README.txt) against the
// program itself. Its menu list is the program's menu tree: the same items in the same
// order, each submenu's items right after it and one level deeper, captions as the menu
// shows them, and "(checked at start)" on exactly the items a fresh run checks. Every
// settings key the program writes, found by using every command of it, is named as it
// stands in the file, and the values the start-up writes with it. Each part of the
// strip's tooltip is quoted. The settings file and its fallback are named, and the page
// is plain ASCII, so that README.txt reads the same in any Notepad.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/SimClient.h"
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

// From the heading to the next heading of the same level.
std::string Section(const std::string& guide, const std::string& heading) {
  const std::size_t start = guide.find("\n" + heading + "\n");
  if (start == std::string::npos) return {};
  const std::size_t end = guide.find("\n## ", start + 1);
  return guide.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// One menu item as a line: two blanks per submenu level, the caption as the menu shows
// it ("&idle on" reads "idle on"), and the start mark.
std::string Entry(int depth, std::string caption, bool checkedAtStart) {
  std::erase(caption, '&');
  return std::string(2 * depth, ' ') + caption + (checkedAtStart ? " (checked at start)" : "");
}

void TreeEntries(const MenuItem& item, int depth, std::vector<std::string>& out) {
  for (const MenuItem& child : item.children) {
    if (child.isSeparator()) continue;
    out.push_back(Entry(depth, child.caption, child.checked));
    TreeEntries(child, depth + 1, out);
  }
}

// The guide's list items that begin with a caption in bold: "  * **on** (checked at
// start): ..." is "  on (checked at start)".
std::vector<std::string> GuideEntries(const std::string& section) {
  static const std::regex item(R"(^( *)\* \*\*([^*]+)\*\*( \(checked at start\))?)");
  std::vector<std::string> out;
  std::istringstream lines(section);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_search(line, m, item)) continue;
    out.push_back(Entry(static_cast<int>(m[1].length()) / 2, m[2], m[3].matched));
  }
  return out;
}

// The program's settings store, noting every key written and the values of each write.
class RecordedSettings final : public Settings {
 public:
  explicit RecordedSettings(const std::string& folder) : store_(folder) {}

  std::string GetFromINI(std::string_view section, std::string_view key,
                         std::string_view file) const override {
    return store_.GetFromINI(section, key, file);
  }
  bool WriteToINI(std::string_view section, std::string_view key,
                  std::optional<std::string_view> value, std::string_view file) override {
    std::string onDisk(key);
    for (char& c : onDisk) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    writes.push_back({onDisk, value ? std::optional<std::string>(*value) : std::nullopt});
    return store_.WriteToINI(section, key, value, file);
  }
  std::string Resolve(std::string_view file) const override { return store_.Resolve(file); }

  struct Write {
    std::string key;  // as it stands in the file
    std::optional<std::string> value;
  };
  std::vector<Write> writes;

 private:
  SettingsStore store_;
};

class GuideAndProgram : public ::testing::Test {
 protected:
  GuideAndProgram() {
    std::filesystem::create_directories(folder);
    client.model().start();
    client.model().openRoom("Town Square");
  }
  ~GuideAndProgram() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // Every command of the menu in turn, each prompt answered "1", and in each window a
  // command shows every click area clicked (the link site's done and cancel, the
  // feedback's send and close).
  void useEveryCommand() {
    std::vector<std::string> commands;
    CommandsIn(program.menu(), commands);
    for (const std::string& name : commands) {
      host.answerPrompt("1");
      host.click(program.Form2(), "Label6");
      ASSERT_TRUE(host.choose(name)) << name;
      if (host.ended()) return;
      for (const Hwnd form : {program.Form4(), program.Form5()}) {
        if (!host.formVisible(form)) continue;
        for (const ControlSpec& control : host.layout(form)->controls)
          if (control.onClick) host.click(form, control.name);
      }
      host.runFor(5);
    }
  }

  static void CommandsIn(const MenuItem& item, std::vector<std::string>& out) {
    for (const MenuItem& child : item.children) {
      if (child.isSeparator()) continue;
      if (child.children.empty()) out.push_back(child.name);
      CommandsIn(child, out);
    }
  }

  static std::filesystem::path FreshFolder() {
    std::random_device random;
    return std::filesystem::temp_directory_path() /
           ("loafix-guide-" + std::to_string(random()) + std::to_string(random()));
  }

  std::filesystem::path folder = FreshFolder();
  sim::SimClock clock{10 * 3600.0};
  sim::SimDesktop desktop{clock};
  sim::SimHost host{clock, desktop};
  sim::SimClient client{clock, desktop};
  RecordedSettings settings{folder.string()};
  Program program{desktop, host, settings, LoafixParts()};
};

TEST_F(GuideAndProgram, ListsTheMenuTreeInItsOrderWithTheStartMarks) {
  std::vector<std::string> tree;
  TreeEntries(program.menu(), 0, tree);
  ASSERT_GE(tree.size(), 31u) << "the whole tree, submenus included";

  const std::string section = Section(Guide(), "## The command menu");
  ASSERT_FALSE(section.empty()) << "the guide has a section \"The command menu\"";
  EXPECT_EQ(GuideEntries(section), tree);
}

TEST_F(GuideAndProgram, NamesEverySettingTheProgramWritesAsTheFileHoldsIt) {
  program.start();
  host.click(program.Form1(), "");
  const std::vector<RecordedSettings::Write> atStart = settings.writes;
  ASSERT_FALSE(atStart.empty()) << "the splash click writes the per-run defaults";
  useEveryCommand();

  std::set<std::string> keys;
  for (const auto& write : settings.writes) keys.insert(write.key);
  // The seven of the file format, "auto idle" and "auto back": fewer means a command
  // above was not reached.
  ASSERT_GE(keys.size(), 9u) << ::testing::PrintToString(keys);

  const std::string guide = Guide();
  for (const std::string& key : keys) {
    EXPECT_TRUE(guide.find("`" + key + "`") != std::string::npos ||
                guide.find("`" + key + "=") != std::string::npos)
        << "the guide does not name the key " << key << " as the file holds it";
  }
  // What every start writes, as the file then holds it; a value Notepad of any code
  // page cannot show in ASCII is named by its key alone.
  for (const auto& write : atStart) {
    ASSERT_TRUE(write.value.has_value());
    const bool ascii = std::all_of(write.value->begin(), write.value->end(),
                                   [](char c) { return c >= 0x20 && c < 0x7f; });
    const std::string shown = "`" + write.key + "=" + (ascii ? *write.value + "`" : "");
    EXPECT_NE(guide.find(shown), std::string::npos) << "the start-up's " << shown;
  }
}

// Every part of the strip's tooltip the program shows while not idle, idling, after a
// line and with scrolling off is quoted in the guide, its numbers as an example.
TEST_F(GuideAndProgram, QuotesEveryPartOfTheStripsTooltip) {
  program.start();
  host.click(program.Form1(), "");
  const Hwnd strip = program.Form2();
  std::vector<std::string> shown{host.tooltip(strip).value_or("")};
  host.click(strip, "Label6");
  ASSERT_TRUE(host.choose("idleon"));
  host.runFor(90);  // past the first line of the poster
  shown.push_back(host.tooltip(strip).value_or(""));
  host.click(strip, "Label6");
  ASSERT_TRUE(host.choose("enablescrolling"));
  shown.push_back(host.tooltip(strip).value_or(""));

  const std::string guide = Guide();
  static const std::regex number("[0-9]+");
  static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
  for (const std::string& tooltip : shown) {
    ASSERT_FALSE(tooltip.empty());
    // The parts are joined by a middle dot, which the ASCII guide names in words.
    std::size_t from = 0;
    for (;;) {
      const std::size_t dot = tooltip.find(" \u00b7 ", from);
      const std::string part = tooltip.substr(from, dot - from);
      const std::string escaped = std::regex_replace(part, special, "\\$&");
      const std::regex quoted("\"" + std::regex_replace(escaped, number, "[0-9]+") + "\"");
      EXPECT_TRUE(std::regex_search(guide, quoted)) << "not quoted in the guide: " << part;
      if (dot == std::string::npos) break;
      from = dot + std::string(" \u00b7 ").size();
    }
  }
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
