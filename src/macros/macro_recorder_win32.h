// The macro recorder's keyboard hook: a hook of the user-interface thread that hands every
// key it records to the main window as WM_RECORDED_KEY (sent, so the key's name is still the
// current one when the window appends it). The recorder's state is process-wide: it outlives
// the Advanced page, whose teardown only removes the hook.
#pragma once

#include <windows.h>

#include <string>

#include "macros/macro_recorder.h"

namespace ombrisk {

class MacroRecordingHook {
 public:
  static MacroRecordingHook& instance();

  MacroRecorder& recorder() { return recorder_; }
  bool installed() const { return hook_ != nullptr; }
  // Installs the hook on the calling thread, sending to window; false leaves GetLastError.
  bool install(HWND window);
  void remove();
  // The name of the key of the message being handled, as the recorder records it.
  const std::string& currentKeyName() const { return recorder_.keyName(); }

 private:
  MacroRecordingHook() = default;
  static LRESULT CALLBACK procedure(int code, WPARAM wParam, LPARAM lParam);

  HHOOK hook_ = nullptr;
  HWND window_ = nullptr;
  MacroRecorder recorder_;
};

}  // namespace ombrisk
