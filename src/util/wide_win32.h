// UTF-8 (the core's texts) to and from the wide strings of the Win32 API.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "util/utf.h"

namespace ombrisk {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline std::wstring widen(std::string_view text) {
  const std::u16string units = utf8ToUtf16(text);
  return std::wstring(units.begin(), units.end());
}

inline std::string narrow(std::wstring_view text) {
  return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// A window's text (an edit's, a static's) as UTF-8.
inline std::string windowTextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return narrow(text);
}

}  // namespace ombrisk
