#include "util/dll_search_win32.h"

#include <windows.h>

namespace ombrisk {

void limitDllSearchToSystemFolder() {
  // Looked up rather than imported, so that the programs still start where it is missing.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (!setDefaultDllDirectories || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    SetDllDirectoryW(L"");
}

}  // namespace ombrisk
