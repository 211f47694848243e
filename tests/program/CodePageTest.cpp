// The program on a desktop whose ANSI code page is not Windows-1252: what the person
// types reaches the file and the room as the bytes of their code page and comes back
// unchanged; the program's own texts lose only the characters the code page lacks. The
// bytes are those of the code pages' tables (Microsoft's, as Wine converts them).
#include <algorithm>

#include "platform/sim/SimCodePages.h"
#include "tests/program/ProgramFixture.h"

namespace loafix {
namespace {

struct CodePageRow {
  unsigned codePage;
  const char* reason;  // typed by the person, UTF-8
  std::string reasonBytes;
  std::string glyphBytes;  // the start-up glyph "¬" as stored, and posted after reading
  std::string reasonLine;  // the poster's second line, as the room receives it
};

class PersonsCodePage : public ProgramTest, public ::testing::WithParamInterface<CodePageRow> {
 protected:
  PersonsCodePage() : ProgramTest(sim::SimCodePage(GetParam().codePage)) {}
};

TEST_P(PersonsCodePage, ReasonReachesFileAndRoomAsItsBytes) {
  const CodePageRow& row = GetParam();
  startUp();
  EXPECT_EQ(fileBytes(), "[idle info]\r\nINTERVAL=60\r\nASCII=" + row.glyphBytes + "\r\n");
  host.answerPrompt(std::string(row.reason));
  choose("reason");
  host.answerPrompt("2");
  choose("scrollinginterval");
  EXPECT_EQ(fileBytes(), "[idle info]\r\nINTERVAL=2.\r\nASCII=" + row.glyphBytes +
                             "\r\nREASON=" + row.reasonBytes + "\r\n");
  EXPECT_EQ(setting("reason"), row.reason);

  choose("idleon");
  host.runFor(4);
  const std::vector<std::string>& room = client.model().received();
  EXPECT_NE(std::find(room.begin(), room.end(), row.reasonLine), room.end())
      << "no reason line; the last line was " << (room.empty() ? "" : room.back());
  // Asked again, the prompt offers what the person typed.
  host.answerPrompt(std::nullopt);
  choose("reason");
  EXPECT_EQ(host.prompts().back().defaultText, row.reason);
}

const std::string kHead = "<font face=arial><font color=#ff8000><b>";

INSTANTIATE_TEST_SUITE_P(
    CodePages, PersonsCodePage,
    ::testing::Values(
        // Cyrillic has "¬" and "·", not "é" or "à".
        CodePageRow{1251, "обед", "\xEE\xE1\xE5\xE4", "\xAC",
                    kHead + "\xAC </b><font color=#000000>r??son<font color=#ff8000> "
                            "<b>\xB7</b><font color=#000000> \xEE\xE1\xE5\xE4"},
        // Japanese has none of them: "¬" is stored as "?", and "?" is the glyph read back.
        CodePageRow{932, "昼食", "\x92\x8B\x90\x48", "?",
                    kHead + "? </b><font color=#000000>r??son<font color=#ff8000> "
                            "<b>?</b><font color=#000000> \x92\x8B\x90\x48"},
        // UTF-8 has every character.
        CodePageRow{65001, "обед 昼食", "\xD0\xBE\xD0\xB1\xD0\xB5\xD0\xB4 \xE6\x98\xBC\xE9\xA3\x9F",
                    "\xC2\xAC",
                    kHead + "\xC2\xAC </b><font color=#000000>r\xC3\xA9\xC3\xA0son<font "
                            "color=#ff8000> <b>\xC2\xB7</b><font color=#000000> "
                            "\xD0\xBE\xD0\xB1\xD0\xB5\xD0\xB4 \xE6\x98\xBC\xE9\xA3\x9F"}),
    [](const auto& info) {
      return "Cp" + std::to_string(info.param.codePage) + "_" + std::to_string(info.index);
    });

}  // namespace
}  // namespace loafix
