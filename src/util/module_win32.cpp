#include "util/module_win32.h"

#include "util/module_path.h"
#include "util/wide_win32.h"

namespace ombrisk {

std::wstring modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring applicationName() { return widen(applicationNameFromPath(narrow(modulePath()))); }

}  // namespace ombrisk
