// The settings store's Windows half, run under Wine by the "wine" tests: replacing the file
// with MoveFileExW, the read-only attribute, a file another program holds open (beside the
// platform's own profile writer in the same spot), a missing folder, and the choice of
// folder. Prints each broken expectation; exits with their count.
//   store_check_win <fresh folder>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/win32/Win32SettingsFolder.h"
#include "settings/SettingsFolder.h"
#include "settings/SettingsStore.h"
#include "tests/settings/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace loafix;
using test::Put;
using test::Slurp;

int failures = 0;

void Expect(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
  }
}

int Count(const fs::path& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

HANDLE Hold(const fs::path& file, DWORD access, DWORD share) {
  return CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Another program holds the file open: an editor, a backup or search indexer, a virus
// scanner. A write of ours lands exactly where the platform's own profile writer lands
// one (tried on a twin file held the same way), leaves the file exactly its new text, and
// says so when it cannot land.
void HeldFiles(const fs::path& folder) {
  const DWORD kReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
  struct Row {
    const char* holder;
    DWORD access, share;
    bool lands;
  };
  const Row rows[] = {
      {"a reader sharing read and write", GENERIC_READ, kReadWrite, true},
      {"an editor sharing read and write", GENERIC_READ | GENERIC_WRITE, kReadWrite, true},
      {"a reader sharing everything", GENERIC_READ, kReadWrite | FILE_SHARE_DELETE, true},
      {"a reader sharing read only", GENERIC_READ, FILE_SHARE_READ, false},
      {"a reader sharing nothing", GENERIC_READ, 0, false},
  };
  const std::string start = "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\n";
  const std::string longer = start + "REASON=out to lunch, back at two\r\n";
  const std::string shorter = "[idle info]\r\nINTERVAL=60\r\nREASON=out to lunch, back at two\r\n";
  int serial = 0;
  for (const Row& row : rows) {
    const std::string what = std::string(" (") + row.holder + ")";
    const fs::path sub = folder / ("held" + std::to_string(++serial));
    fs::create_directories(sub);
    const fs::path file = sub / "loafix.ini";
    SettingsStore store(sub.string());
    // One write while the file is held; the bytes are looked at once it is let go.
    auto whileHeld = [&](auto write) {
      const HANDLE h = Hold(file, row.access, row.share);
      Expect(h != INVALID_HANDLE_VALUE, "held" + what);
      const bool wrote = write();
      CloseHandle(h);
      return wrote;
    };
    Put(file, start);
    Expect(whileHeld([&] {
             return store.WriteToINI(kSection, "reason", "out to lunch, back at two", kIniUpper);
           }) == row.lands,
           "a longer text reports what became of it" + what);
    Expect(Slurp(file) == (row.lands ? longer : start), "the longer text, byte for byte" + what);
    Put(file, longer);
    // Shorter than the file it goes into: the end is set after the text.
    Expect(whileHeld([&] {
             return store.WriteToINI(kSection, "ascii", std::nullopt, kIniLower);
           }) == row.lands,
           "a shorter text reports what became of it" + what);
    Expect(Slurp(file) == (row.lands ? shorter : longer), "the shorter text, byte for byte" + what);
    Expect(Count(sub) == 1, "no temporary file left" + what);

    const fs::path twin = folder / ("twin" + std::to_string(serial) + ".ini");
    Put(twin, start);
    const HANDLE t = Hold(twin, row.access, row.share);
    WritePrivateProfileStringA("idle info", "REASON", "x", twin.string().c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, twin.string().c_str());
    CloseHandle(t);
    Expect((Slurp(twin).find("REASON=x") != std::string::npos) == row.lands,
           "the platform's writer lands it alike" + what);
  }
}

// Lets go after the first try of a write or a probe, well before its last retry (75 ms
// on): letting go early only makes the first try succeed, late would fail the case, so
// the slack is on the late side for a loaded machine.
DWORD WINAPI LetGoSoon(LPVOID held) {
  Sleep(10);
  CloseHandle(held);
  return 0;
}

// Which file a path names: a replacement by rename is another file, a write in place
// the same one.
ULONGLONG FileIndex(const fs::path& file) {
  const HANDLE h =
      CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

// A reader that does not share deletion keeps the file from being replaced by rename. One
// that lets go within a moment is waited out, and the file is replaced after all; one that
// stays is written in place.
void RenameWaitsOutABriefHold(const fs::path& folder) {
  const fs::path sub = folder / "brief";
  fs::create_directories(sub);
  const fs::path file = sub / "loafix.ini";
  SettingsStore store(sub.string());
  Put(file, "[idle info]\r\nINTERVAL=60\r\n");
  const DWORD kReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

  ULONGLONG before = FileIndex(file);
  const HANDLE stays = Hold(file, GENERIC_READ, kReadWrite);
  Expect(store.WriteToINI(kSection, "interval", "30", kIniUpper), "written beside a reader");
  CloseHandle(stays);
  Expect(FileIndex(file) == before, "a reader that stays: written in place");

  before = FileIndex(file);
  const HANDLE brief = Hold(file, GENERIC_READ, kReadWrite);
  const HANDLE letGo = CreateThread(nullptr, 0, &LetGoSoon, brief, 0, nullptr);
  Expect(store.WriteToINI(kSection, "interval", "90", kIniUpper), "written past a brief reader");
  WaitForSingleObject(letGo, INFINITE);
  CloseHandle(letGo);
  Expect(FileIndex(file) != before, "a reader that lets go: replaced by rename");
  Expect(Slurp(file) == "[idle info]\r\nINTERVAL=90\r\n", "the replaced file's bytes");
  Expect(Count(sub) == 1, "no temporary file left past a brief reader");
}

// What stands where the settings file should be: a file that can be written, none, a
// folder, a device, a read-only file, one another program holds against writing.
void FolderChoice(const fs::path& folder) {
  const fs::path preferred = folder / "preferred";
  const fs::path fallback = folder / "appdata";
  fs::create_directories(preferred / "folder.ini");
  fs::create_directories(fallback);
  for (const char* name : {"plain.ini", "readonly.ini", "held.ini"})
    Put(preferred / name, "[idle info]\r\nREASON=lunch\r\n");
  SetFileAttributesW((preferred / "readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  const HANDLE held = Hold(preferred / "held.ini", GENERIC_READ, FILE_SHARE_READ);
  struct Row {
    const char* name;
    bool falls;
    bool seeded;
  };
  const Row rows[] = {
      {"plain.ini", false, false},
      {"missing.ini", false, false},
      {"folder.ini", true, false},
      {"readonly.ini", true, true},
      {"held.ini", true, true},
      // A device's name is that device in every folder: the fallback is no better.
      {"NUL", false, false},
      {"CON", false, false},
  };
  for (const Row& row : rows) {
    const SettingsPlace place = PickSettingsPlace(preferred.string(), fallback.string(), row.name);
    Expect(place.folder == (row.falls ? fallback : preferred).string(),
           std::string("folder chosen for a settings file named ") + row.name);
    Expect(place.seedFolder == (row.seeded ? preferred.string() : ""),
           std::string("what the fallback starts from, for ") + row.name);
  }
  CloseHandle(held);
  // A hold that ends within a moment (a scanner looking at the file) sends nothing away.
  const HANDLE brief = Hold(preferred / "plain.ini", GENERIC_READ, FILE_SHARE_READ);
  const HANDLE letGo = CreateThread(nullptr, 0, &LetGoSoon, brief, 0, nullptr);
  Expect(PickSettingsPlace(preferred.string(), fallback.string(), "plain.ini").folder ==
             preferred.string(),
         "folder chosen for a file held for a moment");
  WaitForSingleObject(letGo, INFINITE);
  CloseHandle(letGo);
  Expect(Count(fallback) == 0, "the choice writes nothing");
  SetFileAttributesW((preferred / "readonly.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A temporary file a scanner held when its write was over could not be removed then; it
// goes with the next write that finds it free, once it is a minute old. One written 30 s
// ago may be another program's write on its way, and stays.
void Leftovers(const fs::path& folder) {
  const fs::path sub = folder / "leftovers";
  fs::create_directories(sub);
  SettingsStore store(sub.string());
  const auto now = fs::file_time_type::clock::now();
  for (const char* name : {"~loafix.ini.4242-17.tmp", "~loafix.ini.4242-18.tmp",
                           "~loafix.ini.4242-19.tmp", "~loafix.ini.keep"}) {
    Put(sub / name, "x");
    fs::last_write_time(sub / name, now - std::chrono::seconds(120));
  }
  fs::last_write_time(sub / "~loafix.ini.4242-19.tmp", now - std::chrono::seconds(30));
  const HANDLE scanner = Hold(sub / "~loafix.ini.4242-18.tmp", GENERIC_READ, FILE_SHARE_READ);
  store.WriteToINI(kSection, "interval", "60", kIniUpper);
  Expect(!fs::exists(sub / "~loafix.ini.4242-17.tmp"), "a free leftover goes with the next write");
  CloseHandle(scanner);
  store.WriteToINI(kSection, "interval", "30", kIniUpper);
  Expect(!fs::exists(sub / "~loafix.ini.4242-18.tmp"), "a held one with the write after");
  Expect(fs::exists(sub / "~loafix.ini.4242-19.tmp"), "a young one stays");
  Expect(Count(sub) == 3, "the settings file, the young and the unrelated file stay");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 100;
  const fs::path folder = argv[1];
  const fs::path file = folder / "loafix.ini";
  SettingsStore store(folder.string());

  store.WriteToINI(kSection, "interval", "60", kIniUpper);
  store.WriteToINI(kSection, "ascii", "\xC2\xAC", kIniLower);  // replaces the file just made
  Expect(Slurp(file) == "[idle info]\r\nINTERVAL=60\r\nASCII=\xAC\r\n", "first-run file bytes");
  Expect(store.GetFromINI(kSection, "ascii", kIniUpper) == "\xC2\xAC",
         "read through the other spelling");
  Expect(Count(folder) == 1, "no temporary file left");

  const std::string before = Slurp(file);
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
  Expect(!store.WriteToINI(kSection, "interval", "30", kIniUpper), "a read-only file is refused");
  store.WriteToINI(kSection, "interval", std::nullopt, kIniUpper);
  Expect(Slurp(file) == before, "a read-only file keeps its bytes");
  Expect(Count(folder) == 1, "no temporary file left after a refused write");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  store.WriteToINI(kSection, "interval", "30", kIniUpper);
  Expect(store.GetFromINI(kSection, "interval", kIniLower) == "30", "a hidden file is written");
  Expect((GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN) != 0, "and stays hidden");
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

  HeldFiles(folder);

  SettingsStore nowhere((folder / "missing").string());
  Expect(!nowhere.WriteToINI(kSection, "interval", "60", kIniUpper), "no folder, no write");
  Expect(!fs::exists(folder / "missing"), "a missing folder stays missing");

  Expect(win32::ChooseSettingsPlace().folder == "C:\\", "C:\\ where files can be created there");
  Expect(PickSettingsPlace("Q:\\", folder.string()).folder == folder.string(),
         "the fallback where there is no drive");
  FolderChoice(folder);
  RenameWaitsOutABriefHold(folder);
  Leftovers(folder);
  std::printf("%d failures\n", failures);
  return failures;
}
