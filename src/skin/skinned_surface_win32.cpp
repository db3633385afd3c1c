#include "skin/skinned_surface_win32.h"

#include "skin/text_win32.h"
#include "skin/skin_files.h"
#include "util/resource_counts_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {
namespace {

// The hover report comes after the pointer rests this long on a control.
constexpr UINT kHoverTimeMs = 10;

}  // namespace

Win32Painter::Win32Painter(PaintStep& step, const std::string& skinFolder, HFONT smallFont,
                           HFONT titleFont, PngFailure failure)
    : step_(step), skinFolder_(skinFolder), smallFont_(smallFont), titleFont_(titleFont), failure_(failure) {}

void Win32Painter::image(SkinImage image, int x, int y) {
  RECT rect{};
  if (LoadPng(step_.memDC(), widen(skinFolder_ + std::string(skinImageName(image))), x, y, failure_, &rect))
    UnionRect(&drawn_, &drawn_, &rect);
}

void Win32Painter::text(std::string_view utf8, const Region& region, TextPlacement placement,
                        TextColour colour, TextFont font) {
  FontSelection selected(step_.dc(), font == TextFont::Title ? titleFont_ : smallFont_);
  const std::string text(utf8);
  drawText(step_.dc(), text, region, colour == TextColour::White ? kWhiteText : skinState().textColour(), placement);
  const RECT bounds = textBounds(step_.dc(), text, region, placement);
  UnionRect(&drawn_, &drawn_, &bounds);
}

SkinnedSurface::SkinnedSurface(PngFailure failure, DWORD hoverTracking)
    : failure_(failure), hoverTracking_(hoverTracking) {}

SkinnedSurface::~SkinnedSurface() {
  if (background_) deleteCountedGdi(background_);
}

bool SkinnedSurface::attach(HWND window, const std::string& skinFolder, SkinImage background) {
  window_ = window;
  skinFolder_ = skinFolder;
  const auto loaded = loadBackgroundBitmap(widen(skinFolder + std::string(skinImageName(background))));
  if (!loaded) return false;
  if (background_) deleteCountedGdi(background_);
  background_ = loaded->bitmap;
  SetWindowPos(window, nullptr, 0, 0, loaded->size.cx, loaded->size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void SkinnedSurface::setFonts(HFONT smallFont, HFONT titleFont) {
  smallFont_ = smallFont;
  titleFont_ = titleFont;
}

void SkinnedSurface::paint(const Draw& draw) {
  if (!background_) return;
  const ImageBatch batch;
  PaintStep step(window_, background_);
  Win32Painter painter(step, skinFolder_, smallFont_, titleFont_, failure_);
  draw(painter);
  // The rest of the window shows the canvas already.
  step.presentOnly(painter.drawn());
}

void SkinnedSurface::paintOn(HDC dc, const Draw& draw) {
  if (!background_) return;
  const ImageBatch batch;
  PaintStep step(window_, dc, background_);
  Win32Painter painter(step, skinFolder_, smallFont_, titleFont_, failure_);
  draw(painter);
}

void SkinnedSurface::setHoverTargets(std::vector<HoverTarget> targets) {
  targets_ = std::move(targets);
  std::vector<HoverButtons::Button> buttons;
  for (const HoverTarget& target : targets_) buttons.push_back({target.region, target.group});
  hover_ = HoverButtons(std::move(buttons));
}

void SkinnedSurface::onMouseMove(int x, int y) {
  const HoverButtons::MoveOutcome outcome = hover_.onMouseMove(x, y);
  if (outcome.requestHover) {
    TRACKMOUSEEVENT track{sizeof track, hoverTracking_, window_, kHoverTimeMs};
    TrackMouseEvent(&track);
  }
  if (outcome.toNormal.empty()) return;
  paint([&](Painter& painter) {
    for (std::size_t index : outcome.toNormal) targets_[index].draw(painter, false);
  });
}

void SkinnedSurface::onMouseHover(int x, int y) {
  const HoverButtons::HoverOutcome outcome = hover_.onHover(x, y);
  if (!outcome.toOver) return;
  paint([&](Painter& painter) {
    targets_[*outcome.toOver].draw(painter, true);
    for (std::size_t index : outcome.toNormal) targets_[index].draw(painter, false);
  });
}

}  // namespace ombrisk
