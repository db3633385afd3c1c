#include "keys/key_name_hook_win32.h"

#include <algorithm>

#include "keys/captured_keys.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

constexpr int kCapturedNameChars = 32;

struct HookRecord {
  HHOOK hook = nullptr;
  HWND dialog = nullptr;
  UINT message = 0;
  KeyCapture capture;
  wchar_t name[kCapturedNameChars] = {};
  unsigned key = 0;  // scan code and extended bit of the last key taken
};

HookRecord records[2];

HookRecord& recordOf(KeyNameHookOwner owner) { return records[static_cast<int>(owner)]; }

template <KeyNameHookOwner owner>
LRESULT CALLBACK hookProcedure(int code, WPARAM wParam, LPARAM lParam) {
  HookRecord& record = recordOf(owner);
  // Only events of keys pressed while the editor is up, and only while its window exists.
  const KeyStroke stroke = KeyStroke::fromFlags(static_cast<std::uint32_t>(lParam));
  if (code != HC_ACTION || !record.dialog || !IsWindow(record.dialog) || !record.capture.take(stroke))
    return CallNextHookEx(record.hook, code, wParam, lParam);
  record.key = stroke.key;
  const int length = GetKeyNameTextW(static_cast<LONG>(lParam), record.name, kCapturedNameChars);
  record.name[std::clamp(length, 0, kCapturedNameChars - 1)] = L'\0';
  SendMessageW(record.dialog, record.message, 0, 0);
  return 0;
}

HOOKPROC procedureOf(KeyNameHookOwner owner) {
  return owner == KeyNameHookOwner::Single ? hookProcedure<KeyNameHookOwner::Single>
                                           : hookProcedure<KeyNameHookOwner::Combo>;
}

void remove(HookRecord& record) {
  record.dialog = nullptr;
  if (record.hook) UnhookWindowsHookEx(record.hook);
  record.hook = nullptr;
}

}  // namespace

KeyNameHook::KeyNameHook(KeyNameHookOwner owner, HWND dialog, UINT message) : owner_(owner) {
  HookRecord& record = recordOf(owner);
  remove(record);
  record.capture = KeyCapture{};
  record.name[0] = L'\0';
  record.key = 0;
  record.message = message;
  record.dialog = dialog;
  record.hook = SetWindowsHookExW(WH_KEYBOARD, procedureOf(owner), nullptr, GetCurrentThreadId());
  installed_ = record.hook != nullptr;
  if (!installed_) {
    error_ = GetLastError();
    record.dialog = nullptr;
  }
}

KeyNameHook::~KeyNameHook() {
  if (installed_) remove(recordOf(owner_));
}

std::string KeyNameHook::capturedName(KeyNameHookOwner owner) {
  const HookRecord& record = recordOf(owner);
  return keptKeyName(narrow(record.name), record.key);
}

}  // namespace ombrisk
