// Our small dialog base: one static procedure finds the object of a window and forwards
// every message to its one virtual handler. Dialogs run modally in a message loop of our
// own, so that each dialog can look at messages before they are dispatched.
#pragma once

#include <windows.h>

#include <optional>

namespace ombrisk {

class DialogBase {
 public:
  DialogBase() = default;
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // Creates the dialog from template templateId of instance (or from an in-memory template),
  // disables owner while it runs, and returns the code given to endDialog (-1 when the
  // dialog could not be created).
  INT_PTR runModal(HINSTANCE instance, int templateId, HWND owner);
  INT_PTR runModal(const DLGTEMPLATE* dialogTemplate, HWND owner);

  HWND window() const { return window_; }

 protected:
  // The dialog procedure of this window: TRUE when the message was handled. A message whose
  // answer is not a BOOL sets it with setResult (the few messages whose answer a dialog
  // procedure returns itself, such as WM_QUERYDRAGICON, are answered with it too).
  virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Every message the modal loop retrieves, before dispatch: true consumes it.
  virtual bool preTranslateMessage(MSG& message);

  // Ends the modal loop with code; the window is destroyed when the loop ends.
  void endDialog(INT_PTR code);
  void setResult(LRESULT result);

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR runLoop(HWND owner);

  HWND window_ = nullptr;
  std::optional<LRESULT> result_;  // set by setResult during the message being handled
  bool ended_ = false;
  INT_PTR code_ = 0;
};

}  // namespace ombrisk
