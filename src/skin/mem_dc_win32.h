// Double-buffered drawing: CMemDC and the paint step every skinned surface repaints with.
#pragma once

#include <windows.h>

#include <optional>

namespace ombrisk {

// A memory context over rect of target; the destructor copies it to the target. On a printer
// context the target is drawn on directly.
class CMemDC {
 public:
  CMemDC(HDC target, const RECT& rect);
  // Draws into canvas from the start (no bitmap of its own is made): the picture stays in it.
  CMemDC(HDC target, const RECT& rect, HBITMAP canvas);
  ~CMemDC();
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;

  HDC dc() const { return memory_ ? memory_ : target_; }
  // Draw into canvas instead of the context's own bitmap: the picture stays in canvas.
  void selectCanvas(HBITMAP canvas);
  // Copies only part of the rectangle to the target at the end (none when part is empty):
  // the rest of the target already shows the canvas.
  void presentOnly(const RECT& part);

 private:
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  HDC target_ = nullptr;
  RECT rect_{};
  RECT presented_{};
  bool toMemory_ = false;
  HDC memory_ = nullptr;
};

// One repaint of a skinned window: a CMemDC over the client area with the window's canvas
// selected; what is drawn lands in the canvas and reaches the window when the step ends.
class PaintStep {
 public:
  // Draws on a context of its own (hover, click and page repaints).
  PaintStep(HWND window, HBITMAP canvas);
  // Draws on the given context (erase-background).
  PaintStep(HWND window, HDC given, HBITMAP canvas);
  ~PaintStep();
  PaintStep(const PaintStep&) = delete;
  PaintStep& operator=(const PaintStep&) = delete;

  CMemDC* memDC() { return &*memDC_; }
  void presentOnly(const RECT& part) { memDC_->presentOnly(part); }
  HDC dc() const { return memDC_->dc(); }
  const RECT& client() const { return client_; }

 private:
  static RECT clientOf(HWND window);
  HWND window_;
  HDC windowDC_;
  bool ownsDC_;
  RECT client_;
  std::optional<CMemDC> memDC_;
};

}  // namespace ombrisk
