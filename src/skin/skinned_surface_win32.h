// What every skinned window does, in one piece: its background bitmap is its canvas (the
// window is sized to it), every repaint is a paint step that draws through a Painter into
// that canvas and copies it to the window, and its hoverable controls show their over image
// while the pointer rests on them. The main window and the editor dialogs' frame both use it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/hover_buttons.h"
#include "skin/mem_dc_win32.h"
#include "skin/png_win32.h"
#include "skin/surface.h"

namespace ombrisk {

// Draws skin images with LoadPng and texts with the surface's fonts into one paint step.
class Win32Painter final : public Painter {
 public:
  Win32Painter(PaintStep& step, const std::string& skinFolder, HFONT smallFont, HFONT titleFont,
               PngFailure failure);
  void image(SkinImage image, int x, int y) override;
  void text(std::string_view utf8, const Region& region, TextPlacement placement, TextColour colour,
            TextFont font) override;
  HDC dc() const { return step_.dc(); }
  // Everything drawn so far.
  const RECT& drawn() const { return drawn_; }

 private:
  PaintStep& step_;
  RECT drawn_{};
  const std::string& skinFolder_;
  HFONT smallFont_, titleFont_;
  PngFailure failure_;
};

class SkinnedSurface {
 public:
  using Draw = std::function<void(Painter&)>;

  // A hoverable control: where it is, which other controls a hover over it turns back to
  // normal (those of the same group), and how it draws itself normal or over.
  struct HoverTarget {
    Region region;
    int group = 0;
    std::function<void(Painter&, bool over)> draw;
  };

  // The editor dialogs report an image that cannot be drawn; the main window stays silent.
  // The main window also asks to hear when the pointer leaves it.
  SkinnedSurface(PngFailure failure, DWORD hoverTracking);
  ~SkinnedSurface();
  SkinnedSurface(const SkinnedSurface&) = delete;
  SkinnedSurface& operator=(const SkinnedSurface&) = delete;

  // Loads background from skinFolder as the canvas and sizes window to it (position and
  // stacking order kept). False when it cannot be loaded: the surface then paints nothing.
  bool attach(HWND window, const std::string& skinFolder, SkinImage background);
  bool skinned() const { return background_ != nullptr; }
  HBITMAP background() const { return background_; }
  // Images are loaded from this folder from now on (the canvas keeps its picture).
  void setSkinFolder(const std::string& folder) { skinFolder_ = folder; }
  const std::string& skinFolder() const { return skinFolder_; }
  void setFonts(HFONT smallFont, HFONT titleFont);

  // One paint step on a context of the surface's own; what draw draws reaches the window.
  void paint(const Draw& draw);
  // The erase-background paint step, on the context the system gives.
  void paintOn(HDC dc, const Draw& draw);

  // The hoverable controls (none hovered).
  void setHoverTargets(std::vector<HoverTarget> targets);
  // After a repaint of the whole surface: nothing shows its over image any more.
  void forgetHover() { hover_.clear(); }
  void onMouseMove(int x, int y);
  void onMouseHover(int x, int y);

 private:
  HWND window_ = nullptr;
  HBITMAP background_ = nullptr;
  std::string skinFolder_;
  HFONT smallFont_ = nullptr, titleFont_ = nullptr;
  PngFailure failure_;
  DWORD hoverTracking_;
  std::vector<HoverTarget> targets_;
  HoverButtons hover_{{}};
};

// The hover targets of a surface table's hoverable rows: each draws its row.
template <typename Control>
std::vector<SkinnedSurface::HoverTarget> hoverTargetsOf(Surface<Control> surface, const InterfaceTexts& texts,
                                                        int group = 0) {
  std::vector<SkinnedSurface::HoverTarget> targets;
  for (const SurfaceRegion<Control>& row : surface)
    if (row.hoverable)
      targets.push_back({row.rect, group, [&row, &texts](Painter& painter, bool over) {
                           paintRegion(painter, row, over, texts);
                         }});
  return targets;
}

}  // namespace ombrisk
