// The whole command menu as a fresh run pops it up: every item in its order on screen,
// its caption with the access key, the separators, and the check marks at start.
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

// One line per item: a dot per submenu level below "file", the name, the caption in
// quotes, and "checked" for a check mark; a submenu's items follow it.
const char* const kFreshMenu = R"(file "file"
. about "&about"
. advertise "&advertise"
. disclamer "&disclamer"
. line1 "-"
. aoloptions "&aol opts."
. . upchat "&upchat"
. . unupchat "&unupchat" checked
. . line13 "-"
. . aol "&visibility"
. . . hideaol "&hide aol"
. . . showaol "&show aol"
. . killwindows "&kill windows"
. . . killmodal "&kill modals"
. . . killglyph "&kill glyph"
. . . killwait "&kill wait"
. . ims "&instant msgs"
. . . imoff "&off"
. . . imon "&on" checked
. line8 "-"
. idleoptions "&idle opts."
. . idleon "&idle on"
. . idleoff "&idle off" checked
. . line10 "-"
. . bragstats "&brag stats"
. . line6 "-"
. . aimsn "&aim sn"
. . line5 "-"
. . setascii "&set ascii"
. . line4 "-"
. . reason "&reason"
. . linksite "&link site"
. . line7 "-"
. . enablescrolling "enable scrolling" checked
. . scrollinginterval "scrolling interval"
. . line14 "-"
. . autoidle "auto idle..."
. . autoback "auto back"
. line9 "-"
. mailme "&email me"
. line3 "-"
. minimize "&minimize"
. unload "&unload"
)";

void Write(const MenuItem& item, int depth, std::string& out) {
  for (int i = 0; i < depth; ++i) out += ". ";
  out += item.name + " \"" + item.caption + "\"" + (item.checked ? " checked" : "") + "\n";
  for (const MenuItem& child : item.children) Write(child, depth + 1, out);
}

// Handlers name items only through the owning layer's constants: a bare string, which
// could be misspelt, does not compile.
template <typename Name>
concept NamesAnItem = requires(Program& p, Name name) {
  p.checked(name);
  p.check(name, true);
  p.item(name);
};
static_assert(!NamesAnItem<const char*>);
static_assert(!NamesAnItem<std::string_view>);
static_assert(NamesAnItem<ItemName>);

using MenuTree = ProgramTest;

TEST_F(MenuTree, AFreshRunPopsUpTheWholeTreeAsDesigned) {
  startUp();
  host.click(program.Form2(), "Label6");
  ASSERT_TRUE(host.menuOpen());
  std::string shown;
  Write(program.menu(), 0, shown);
  EXPECT_EQ(shown, kFreshMenu);
}

}  // namespace
}  // namespace loafix
