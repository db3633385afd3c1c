// The keyboard hook of the single-key and combination editors: a WH_KEYBOARD hook of the
// user-interface thread that asks the keyboard layout for the name of each key event it takes
// and sends the editor its private message. A hook procedure has no object, so each editor
// class has one process-wide record (its window, its hook, the captured name) that the hook
// reaches; the record forgets the window when the hook is removed, which the editors do
// before their window goes.
#pragma once

#include <windows.h>

#include <string>

namespace ombrisk {

enum class KeyNameHookOwner { Single, Combo };

class KeyNameHook {
 public:
  // Installs the owner's hook for this thread, reaching dialog with message.
  KeyNameHook(KeyNameHookOwner owner, HWND dialog, UINT message);
  ~KeyNameHook();
  KeyNameHook(const KeyNameHook&) = delete;
  KeyNameHook& operator=(const KeyNameHook&) = delete;

  bool installed() const { return installed_; }
  // The system's error code when the hook could not be installed.
  DWORD installError() const { return error_; }

  // The name of the last key event the owner's hook took, as the editors keep it (UTF-8;
  // empty for a key without a name).
  static std::string capturedName(KeyNameHookOwner owner);

 private:
  KeyNameHookOwner owner_;
  bool installed_ = false;
  DWORD error_ = 0;
};

}  // namespace ombrisk
