#include "skin/mem_dc_win32.h"
#include "util/resource_counts_win32.h"

namespace ombrisk {

CMemDC::CMemDC(HDC target, const RECT& rect) : CMemDC(target, rect, nullptr) {}

CMemDC::CMemDC(HDC target, const RECT& rect, HBITMAP canvas) : target_(target), rect_(rect) {
  if (!target || GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) return;
  memory_ = countedGdi(CreateCompatibleDC(target));
  if (!memory_) return;
  toMemory_ = true;
  if (rect_.left == 0 && rect_.top == 0 && rect_.right == 0 && rect_.bottom == 0)
    GetClipBox(target, &rect_);
  presented_ = rect_;
  if (canvas) {
    selectCanvas(canvas);
  } else {
    bitmap_ = countedGdi(CreateCompatibleBitmap(target, rect_.right - rect_.left, rect_.bottom - rect_.top));
    if (bitmap_) previousBitmap_ = SelectObject(memory_, bitmap_);
  }
  SetWindowOrgEx(memory_, rect_.left, rect_.top, nullptr);
}

void CMemDC::selectCanvas(HBITMAP canvas) {
  if (!memory_ || !canvas) return;
  const HGDIOBJ replaced = SelectObject(memory_, canvas);
  if (!previousBitmap_) previousBitmap_ = replaced;
}

void CMemDC::presentOnly(const RECT& part) {
  if (!IntersectRect(&presented_, &rect_, &part)) presented_ = {};
}

CMemDC::~CMemDC() {
  if (!toMemory_) return;
  if (!IsRectEmpty(&presented_))
    BitBlt(target_, presented_.left, presented_.top, presented_.right - presented_.left,
           presented_.bottom - presented_.top, memory_, presented_.left, presented_.top, SRCCOPY);
  if (previousBitmap_) SelectObject(memory_, previousBitmap_);
  if (bitmap_) deleteCountedGdi(bitmap_);
  deleteCountedDc(memory_);
}

RECT PaintStep::clientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

PaintStep::PaintStep(HWND window, HBITMAP canvas)
    : window_(window), windowDC_(GetDC(window)), ownsDC_(true), client_(clientOf(window)) {
  memDC_.emplace(windowDC_, client_, canvas);
}

PaintStep::PaintStep(HWND window, HDC given, HBITMAP canvas)
    : window_(window), windowDC_(given), ownsDC_(false), client_(clientOf(window)) {
  memDC_.emplace(windowDC_, client_, canvas);
}

PaintStep::~PaintStep() {
  memDC_.reset();  // presents the picture to the window
  if (ownsDC_) ReleaseDC(window_, windowDC_);
}

}  // namespace ombrisk
