// The single-key editor: shows the name of the key the user presses; OK returns it.
#pragma once

#include "keys/captured_keys.h"
#include "keys/key_capture_dialog_win32.h"

namespace ombrisk {

class CSingleDialog final : public CKeyCaptureDialog {
 public:
  CSingleDialog();
  // After OK: the last key's name, empty when none was pressed.
  SingleKeyChoice result() const { return {key_.name}; }

 protected:
  void initContent() override;
  void drawContent(Painter& painter, TextColour labelColour) override;
  void keyCaptured(const std::string& name) override;

 private:
  CapturedKey key_;
  HWND nameText_ = nullptr;
};

}  // namespace ombrisk
