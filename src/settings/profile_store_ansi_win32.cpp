#include <windows.h>

#include "settings/profile_store.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// The program's ANSI code page, as the system's private-profile functions use it for files
// without a byte-order mark.
class Win32AnsiCodePage final : public AnsiCodePage {
 public:
  std::optional<std::string> toUtf8(std::string_view bytes) const override {
    if (bytes.empty()) return std::string();
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                           nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return narrow(wide);
  }

  std::optional<std::string> fromUtf8(std::string_view text) const override {
    if (text.empty()) return std::string();
    const std::wstring wide = widen(text);
    // No best fit ("é" for "e"): a character the code page lacks is not written at all.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL defaulted = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           nullptr, utf8 ? nullptr : &defaulted);
    if (length <= 0 || defaulted) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
  }
};

}  // namespace

std::shared_ptr<const AnsiCodePage> platformAnsiCodePage() {
  static const std::shared_ptr<const AnsiCodePage> codePage = std::make_shared<Win32AnsiCodePage>();
  return codePage;
}

}  // namespace ombrisk
