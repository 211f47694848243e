// loafix.exe: the program on the real Win32 backends. No console window; no command
// line, no environment, no registry: the settings file is the only configuration.
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32OneProgram.h"
#include "platform/win32/Win32SettingsFolder.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32WindowSystem.h"
#include "settings/SettingsStore.h"
#include "ui/UiCommands.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything else: a second start in the session ends here, having shown,
  // written and posted nothing.
  loafix::win32::OneProgram session(instance);
  if (!session.first()) {
    session.tellTheFirst();
    return 0;
  }
  loafix::win32::Win32WindowSystem windows;
  loafix::win32::Win32Host host(instance, windows);
  // The file's bytes are in the system's ANSI code page, as the platform's own profile
  // functions would write them.
  loafix::SettingsStore settings(loafix::win32::ChooseSettingsPlace(),
                                 loafix::win32::SystemCodePage());
  loafix::Program program(windows, host, settings, loafix::LoafixParts());
  session.onAnotherStart([&] { host.runEvent([&] { loafix::AnotherStart(program); }); });
  program.start();
  return host.run();
}
