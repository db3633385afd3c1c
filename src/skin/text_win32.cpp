#include "skin/text_win32.h"

#include <algorithm>

#include "util/resource_counts_win32.h"
#include "util/wide_win32.h"

namespace ombrisk {

HFONT createWindowFont(const FontSpec& spec) {
  LOGFONTW font{};
  font.lfHeight = spec.height;
  font.lfWeight = spec.weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = FF_SWISS;
  const std::wstring face = widen(spec.face);
  lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  return countedGdi(CreateFontIndirectW(&font));
}

SystemVersion reportedSystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return {};
#pragma GCC diagnostic pop
  return {info.dwMajorVersion, info.dwMinorVersion};
}

namespace {

int textWidth(HDC dc, HFONT font, const std::wstring& text) {
  const HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  return size.cx;
}

}  // namespace

HFONT createFittingFont(HFONT font, const std::string& text, int width) {
  if (!font || width <= 0) return nullptr;
  const std::wstring wide = widen(text);
  HDC dc = GetDC(nullptr);
  HFONT fitting = nullptr;
  const int natural = textWidth(dc, font, wide);
  LOGFONTW shape{};
  TEXTMETRICW metrics{};
  const HGDIOBJ previous = SelectObject(dc, font);
  const bool measured = GetTextMetricsW(dc, &metrics) && GetObjectW(font, sizeof shape, &shape);
  SelectObject(dc, previous);
  if (natural > width && measured) {
    // Characters as much narrower as the text is too wide; a pixel less while it still is.
    for (int average = std::max<int>(1, metrics.tmAveCharWidth * width / natural); average >= 1; --average) {
      if (fitting) deleteCountedGdi(fitting);
      shape.lfWidth = average;
      fitting = countedGdi(CreateFontIndirectW(&shape));
      if (!fitting || textWidth(dc, fitting, wide) <= width) break;
    }
  }
  ReleaseDC(nullptr, dc);
  return fitting;
}

RECT textBounds(HDC dc, const std::string& text, const Region& region, TextPlacement placement) {
  RECT bounds{region.left, region.top, region.right, region.bottom};
  // These never leave their rectangle.
  if (placement == TextPlacement::Paragraph || placement == TextPlacement::LeftCut) return bounds;
  const std::wstring wide = widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  const int middleX = (region.left + region.right) / 2, middleY = (region.top + region.bottom) / 2;
  RECT drawn{};
  switch (placement) {
    case TextPlacement::Left: drawn.left = region.left; break;
    case TextPlacement::Right: drawn.left = region.right - size.cx; break;
    default: drawn.left = middleX - size.cx / 2; break;
  }
  drawn.top = placement == TextPlacement::TopCentred ? region.top : middleY - size.cy / 2;
  drawn.right = drawn.left + size.cx;
  drawn.bottom = drawn.top + size.cy;
  InflateRect(&drawn, 2, 2);  // overhangs of anti-aliased glyphs
  UnionRect(&bounds, &bounds, &drawn);
  return bounds;
}

void drawText(HDC dc, const std::string& text, const Region& region, COLORREF colour,
              TextPlacement placement) {
  const std::wstring wide = widen(text);
  RECT rect{region.left, region.top, region.right, region.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  // One-line texts are not cut at their rectangle: a caption a little wider than its box
  // spills evenly over both edges rather than losing its ends.
  UINT format = DT_NOPREFIX | (placement == TextPlacement::Paragraph ? 0 : DT_NOCLIP);
  switch (placement) {
    case TextPlacement::Centred: format |= DT_CENTER | DT_VCENTER | DT_SINGLELINE; break;
    case TextPlacement::Left: format |= DT_LEFT | DT_VCENTER | DT_SINGLELINE; break;
    case TextPlacement::LeftCut: format |= DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS; break;
    case TextPlacement::Right: format |= DT_RIGHT | DT_VCENTER | DT_SINGLELINE; break;
    case TextPlacement::TopCentred: format |= DT_CENTER | DT_TOP | DT_SINGLELINE; break;
    case TextPlacement::Paragraph: {
      RECT measured = rect;
      const int textHeight = DrawTextW(dc, wide.c_str(), -1, &measured, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
      const int shrink = (region.height() - textHeight) / 2;
      if (shrink > 0) {
        rect.top += shrink;
        rect.bottom -= shrink;
      }
      format |= DT_WORDBREAK | DT_LEFT;
      break;
    }
  }
  DrawTextW(dc, wide.c_str(), -1, &rect, format);
}

}  // namespace ombrisk
