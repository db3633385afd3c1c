// Our dialog base: every answer is given with setResult, whichever way the dialog manager
// takes it (DWLP_MSGRESULT, or the procedure's return value for WM_QUERYDRAGICON and the
// control-colour messages).
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/dialog_base_win32.h"

namespace ombrisk {
namespace {

struct DialogTemplate {
  DLGTEMPLATE header{WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, 100, 100};
  WORD menu = 0, windowClass = 0, title = 0;
};

class AnsweringDialog final : public DialogBase {
 public:
  static constexpr UINT kProbe = WM_APP + 1, kAnswer = WM_APP + 2;
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  LRESULT dragIcon = 0, colourBrush = 0, privateAnswer = 0;

  ~AnsweringDialog() override { DeleteObject(brush); }

 protected:
  INT_PTR handleMessage(UINT message, WPARAM, LPARAM) override {
    switch (message) {
      case WM_INITDIALOG:
        PostMessageW(window(), kProbe, 0, 0);
        return TRUE;
      case WM_QUERYDRAGICON:
        setResult(reinterpret_cast<LRESULT>(icon));
        return TRUE;
      case WM_CTLCOLORSTATIC:
        setResult(reinterpret_cast<LRESULT>(brush));
        return TRUE;
      case kAnswer:
        // A nested message while answering keeps each answer apart.
        SendMessageW(window(), WM_QUERYDRAGICON, 0, 0);
        setResult(42);
        return TRUE;
      case kProbe:
        dragIcon = SendMessageW(window(), WM_QUERYDRAGICON, 0, 0);
        colourBrush = SendMessageW(window(), WM_CTLCOLORSTATIC, 0, 0);
        privateAnswer = SendMessageW(window(), kAnswer, 0, 0);
        endDialog(IDOK);
        return TRUE;
      default:
        return FALSE;
    }
  }
};

TEST(DialogBase, AnswersGivenWithSetResultReachTheSender) {
  DialogTemplate dialogTemplate;
  AnsweringDialog dialog;
  EXPECT_EQ(dialog.runModal(&dialogTemplate.header, nullptr), IDOK);
  EXPECT_EQ(dialog.dragIcon, reinterpret_cast<LRESULT>(dialog.icon));
  EXPECT_EQ(dialog.colourBrush, reinterpret_cast<LRESULT>(dialog.brush));
  EXPECT_EQ(dialog.privateAnswer, 42);
}

}  // namespace
}  // namespace ombrisk
