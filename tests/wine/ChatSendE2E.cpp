// The chat path end to end: the real ChatSend over user32 in this process, the
// stand-in client in another, and the client's log as the witness of what arrived.
#include "core/Text.h"
#include "client/clientkit.h"
#include "clientsim/Hex.h"
#include "idle/ChatLines.h"
#include "platform/win32/Win32WindowSystem.h"
#include "tests/wine/WineTest.h"

namespace loafix {
namespace {

using namespace winetest;

constexpr double kStartTimeout = 30;

// The log lines after the client's own start-up ("start", "room open ...").
std::vector<std::string> LinesAfterStartup(const std::vector<std::string>& log) {
  std::vector<std::string> rest;
  for (const std::string& line : log)
    if (line != "start" && line.rfind("room open ", 0) != 0) rest.push_back(line);
  return rest;
}

void StatsLineArrivesByteForByte() {
  WT_REQUIRE(GetACP() == 1252);
  TempFile log("clientsim-log");
  Process client("clientsim.exe", {"--log", log.path(), "--room", "Lobby"});
  WT_REQUIRE(client.started());
  win32::Win32WindowSystem ws;
  WT_REQUIRE(WaitUntil([&] { return FindChatRoom(ws) != 0; }, kStartTimeout));

  const std::string line = StatsLine("¬", "0", "2", "15");
  ChatSend(ws, line);

  // SendMessageA is synchronous and the client writes its log at once, so the line is
  // in the file when ChatSend returns.
  const std::vector<std::string> expected = {"enter " + Hex("Lobby"),
                                             "chat " + Hex(Utf8ToAnsi(line))};
  WT_CHECK_EQ(Join(LinesAfterStartup(ReadLines(log.path()))), Join(expected));
  // The glyph reached the client as the one byte 0xAC, right after the opening tags.
  const std::string glyphAt = Hex(Utf8ToAnsi(HeadOpen)) + "ac" + Hex(Utf8ToAnsi(BrandTail));
  WT_CHECK(expected[1].find(glyphAt) != std::string::npos);

  // A second line replaces what the box held: the room receives exactly the new text.
  ChatSend(ws, "");
  ChatSend(ws, IdleOffLine("¬"));
  const std::vector<std::string> after = LinesAfterStartup(ReadLines(log.path()));
  WT_REQUIRE(after.size() == 5);
  WT_CHECK_EQ(after[2], "enter " + Hex("Lobby"));  // empty text: Enter only, nothing posted
  WT_CHECK_EQ(after[4], "chat " + Hex(Utf8ToAnsi(IdleOffLine("¬"))));
}

void NoRoomOpenMeansNothingArrives() {
  TempFile log("clientsim-log");
  Process client("clientsim.exe", {"--log", log.path(), "--no-room"});
  WT_REQUIRE(client.started());
  win32::Win32WindowSystem ws;
  WT_REQUIRE(WaitUntil([&] { return ws.FindWindowA("AOL Frame25") != 0; }, kStartTimeout));
  WT_REQUIRE(WaitUntil([&] { return !ReadLines(log.path()).empty(); }, kStartTimeout));

  WT_CHECK_EQ(FindChatRoom(ws), Hwnd{0});
  ChatSend(ws, StatsLine("¬", "0", "2", "15"));

  // A round trip through the client's queue: anything sent before has been handled.
  const Hwnd frame = ws.FindWindowA("AOL Frame25");
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(win32::ToHwnd(frame), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
  WT_CHECK_EQ(Join(ReadLines(log.path())), Join({"start"}));
}

}  // namespace
}  // namespace loafix

int main(int argc, char** argv) {
  return loafix::winetest::RunCases(argc, argv,
                                    {{"chatsend", &loafix::StatsLineArrivesByteForByte},
                                     {"no-room", &loafix::NoRoomOpenMeansNothingArrives}});
}
