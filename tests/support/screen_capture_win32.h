// Pictures of what a window or the screen shows, for the Wine and end-to-end tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace ombrisk::testing {

// Pixels blue, green, red, unused; top row first.
struct Capture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;

  // RGB(), or CLR_INVALID outside.
  COLORREF at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return RGB(pixels[i + 2], pixels[i + 1], pixels[i]);
  }

  // Whether some pixel of rect is within tolerance of colour (summed over red, green, blue;
  // anti-aliased text has few exact pixels).
  bool hasColour(RECT rect, COLORREF colour, int tolerance = 40) const {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) {
        const COLORREF pixel = at(x, y);
        if (pixel == CLR_INVALID) continue;
        if (std::abs(GetRValue(pixel) - GetRValue(colour)) + std::abs(GetGValue(pixel) - GetGValue(colour)) +
                std::abs(GetBValue(pixel) - GetBValue(colour)) <= tolerance)
          return true;
      }
    return false;
  }

  // The same size and colours; the fourth byte, which a copy from the screen leaves
  // undefined where child windows are, is not compared.
  bool samePicture(const Capture& other) const {
    if (width != other.width || height != other.height || pixels.size() != other.pixels.size()) return false;
    for (std::size_t i = 0; i < pixels.size(); ++i)
      if (i % 4 != 3 && pixels[i] != other.pixels[i]) return false;
    return true;
  }

  // A .bmp, for looking at failures and screenshots; opaque, since the fourth byte of a
  // capture is not an alpha value.
  bool saveBitmap(const std::filesystem::path& file) const {
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::vector<std::uint8_t> opaque = pixels;
    for (std::size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 0xFF;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(opaque.data()), static_cast<std::streamsize>(opaque.size()));
    return static_cast<bool>(out);
  }
};

// A rectangle of window's device context (of the screen's when window is null: child
// windows included).
inline Capture captureWindowDC(HWND window, int left, int top, int width, int height) {
  Capture capture;
  capture.width = width;
  capture.height = height;
  HDC windowDC = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDC);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, windowDC, left, top, SRCCOPY);
    GdiFlush();
    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    capture.pixels.assign(bytes, bytes + static_cast<std::size_t>(width) * height * 4);
    SelectObject(memory, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, windowDC);
  return capture;
}

}  // namespace ombrisk::testing
