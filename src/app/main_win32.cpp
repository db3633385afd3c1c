// Ombrisk.exe: the configuration utility of the gaming mouse.
#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "app/command_line.h"
#include "app/corvane_app_win32.h"
#include "util/dll_search_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ombrisk::limitDllSearchToSystemFolder();
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::u16string> list;
  for (int i = 1; arguments && i < count; ++i)
    list.emplace_back(reinterpret_cast<const char16_t*>(arguments[i]));
  if (arguments) LocalFree(arguments);
  const ombrisk::CommandLine line = ombrisk::parseCommandLine(list);
  const std::wstring device(line.deviceOption.begin(), line.deviceOption.end());
  return ombrisk::CCorvaneApp().run(instance, device);
}
