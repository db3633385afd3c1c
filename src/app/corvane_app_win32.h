// CCorvaneApp: registers the main window's class, holds the image decoder for the run and
// runs the main window; the process ends when the main window's loop ends.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

inline constexpr wchar_t kMainWindowClass[] = L"TarvokQ77GMClass";

class CCorvaneApp {
 public:
  // Returns the process exit code.
  int run(HINSTANCE instance, const std::wstring& deviceOption);
};

}  // namespace ombrisk
