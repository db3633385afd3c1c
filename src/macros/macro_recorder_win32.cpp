#include "macros/macro_recorder_win32.h"

#include "app/window_messages.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr int kKeyNameChars = 32;

}  // namespace

MacroRecordingHook& MacroRecordingHook::instance() {
  static MacroRecordingHook hook;
  return hook;
}

bool MacroRecordingHook::install(HWND window) {
  remove();
  window_ = window;
  hook_ = SetWindowsHookExW(WH_KEYBOARD, &MacroRecordingHook::procedure, nullptr, GetCurrentThreadId());
  return hook_ != nullptr;
}

void MacroRecordingHook::remove() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
}

LRESULT CALLBACK MacroRecordingHook::procedure(int code, WPARAM wParam, LPARAM lParam) {
  MacroRecordingHook& self = instance();
  if (code != HC_ACTION) return CallNextHookEx(self.hook_, code, wParam, lParam);
  const auto flags = static_cast<DWORD>(lParam);
  wchar_t name[kKeyNameChars + 1] = {};
  GetKeyNameTextW(static_cast<LONG>(flags), name, kKeyNameChars);
  const bool wasDown = (flags >> 30) & 1;
  if (const auto key = self.recorder_.take(narrow(name), static_cast<std::uint32_t>(flags)))
    SendMessageW(self.window_, WM_RECORDED_KEY, static_cast<WPARAM>(*key), wasDown ? 0 : 1);
  // The key goes on to the window (whose pre-translation drops the key-downs).
  return 0;
}

}  // namespace ombrisk
