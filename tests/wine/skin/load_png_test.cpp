// LoadPng, the background bitmap and CMemDC on the system's GDI and GDI+.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/mem_dc_win32.h"
#include "skin/png_win32.h"
#include "support/temp_folder.h"
#include "util/wide_win32.h"
#include "wine/skin/png_writer.h"

namespace ombrisk {
namespace {

using testing::Rgba;

// A 32-bit canvas filled with one colour, drawn into through a CMemDC as the paint step does.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    screen_ = GetDC(nullptr);
    bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    for (int i = 0; i < width * height; ++i)
      bits_[i] = GetBValue(fill) | GetGValue(fill) << 8 | GetRValue(fill) << 16;
  }
  ~Canvas() {
    DeleteObject(bitmap_);
    ReleaseDC(nullptr, screen_);
  }
  bool draw(const std::wstring& path, int x, int y) {
    CMemDC memDC(screen_, RECT{0, 0, width_, height_});
    memDC.selectCanvas(bitmap_);
    const bool drawn = LoadPng(&memDC, path, x, y);
    GdiFlush();
    return drawn;
  }
  COLORREF at(int x, int y) const {
    const std::uint32_t pixel = bits_[y * width_ + x];
    return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
  }

 private:
  int width_, height_;
  HDC screen_;
  HBITMAP bitmap_;
  std::uint32_t* bits_ = nullptr;
};

class LoadPngTest : public ::testing::Test {
 protected:
  std::wstring file(const char* name, const std::vector<std::uint8_t>& bytes) {
    const auto path = folder.path() / name;
    testing::writeFileBytes(path, bytes);
    return path.wstring();
  }
  ombrisk::testing::TempFolder folder;
  ImageDecoderUse decoder;
};

TEST_F(LoadPngTest, PerPixelAlphaOverTheCanvas) {
  // Three pixels: half-transparent (200, 100, 50), fully transparent, opaque.
  const auto path = file("three.png", testing::pngBytes(3, 1, {{200, 100, 50, 128}, {255, 255, 255, 0}, {9, 80, 255, 255}}, true));
  Canvas black(4, 2, RGB(0, 0, 0));
  ASSERT_TRUE(black.draw(path, 1, 1));
  EXPECT_EQ(black.at(1, 1), RGB(100, 50, 25));  // premultiplied source over black
  EXPECT_EQ(black.at(2, 1), RGB(0, 0, 0));      // alpha 0 draws nothing
  EXPECT_EQ(black.at(3, 1), RGB(9, 80, 255));   // alpha 255 replaces
  EXPECT_EQ(black.at(0, 0), RGB(0, 0, 0));      // outside the image

  Canvas white(3, 1, RGB(255, 255, 255));
  ASSERT_TRUE(white.draw(path, 0, 0));
  EXPECT_EQ(white.at(1, 0), RGB(255, 255, 255));
  const COLORREF blended = white.at(0, 0);  // 100 + 255 * 127 / 255 = 227 (and so on), +-1
  EXPECT_NEAR(GetRValue(blended), 227, 1);
  EXPECT_NEAR(GetGValue(blended), 177, 1);
  EXPECT_NEAR(GetBValue(blended), 152, 1);
}

TEST_F(LoadPngTest, ImagesWithoutAlphaAreDrawnOpaque) {
  const auto path = file("rgb.png", testing::solidPng(2, 2, {10, 20, 30, 0}, false));
  Canvas canvas(3, 3, RGB(200, 200, 200));
  ASSERT_TRUE(canvas.draw(path, 1, 1));
  EXPECT_EQ(canvas.at(1, 1), RGB(10, 20, 30));
  EXPECT_EQ(canvas.at(2, 2), RGB(10, 20, 30));
  EXPECT_EQ(canvas.at(0, 0), RGB(200, 200, 200));
}

TEST_F(LoadPngTest, NormalOverOverReplacesOnlyWhereOpaque) {
  const auto over = file("over.png", testing::solidPng(2, 1, {255, 0, 0, 255}));
  const auto normal = file("normal.png", testing::pngBytes(2, 1, {{0, 0, 255, 255}, {0, 255, 0, 0}}, true));
  Canvas canvas(2, 1, RGB(0, 0, 0));
  ASSERT_TRUE(canvas.draw(over, 0, 0));
  ASSERT_TRUE(canvas.draw(normal, 0, 0));
  EXPECT_EQ(canvas.at(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(1, 0), RGB(255, 0, 0));  // the over image stays where normal is clear
}

TEST_F(LoadPngTest, BrokenFilesDrawNothingAndReportFalse) {
  const auto good = testing::solidPng(4, 4, {1, 2, 3, 255});
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 40);
  std::vector<std::uint8_t> corrupt = good;
  for (std::size_t i = 41; i < corrupt.size() - 12; ++i) corrupt[i] ^= 0x5A;
  auto absurd = testing::solidPng(1, 1, {1, 2, 3, 255});
  absurd[16] = 0x7F;  // width 0x7F000001 in the header, one pixel of data
  const std::wstring files[] = {
      (folder.path() / "missing.png").wstring(),
      file("empty.png", {}),
      file("truncated.png", truncated),
      file("corrupt.png", corrupt),
      file("absurd.png", absurd),
      file("text.png", {'h', 'e', 'l', 'l', 'o'}),
  };
  for (const std::wstring& path : files) {
    Canvas canvas(4, 4, RGB(7, 7, 7));
    EXPECT_FALSE(canvas.draw(path, 0, 0)) << narrow(path);
    EXPECT_EQ(canvas.at(0, 0), RGB(7, 7, 7));
    EXPECT_FALSE(loadBackgroundBitmap(path)) << narrow(path);
  }
  EXPECT_FALSE(LoadPng(nullptr, file("good.png", good), 0, 0));
}

TEST_F(LoadPngTest, AFileChangedOrRemovedOnDiskShowsAtTheNextDraw) {
  const auto path = file("swatch.png", testing::solidPng(2, 2, {200, 0, 0, 255}));
  Canvas canvas(3, 3, RGB(0, 0, 0));
  {
    // One repaint looks at a file once: a change in its middle shows at the next one.
    const ImageBatch repaint;
    ASSERT_TRUE(canvas.draw(path, 0, 0));
    EXPECT_EQ(canvas.at(1, 1), RGB(200, 0, 0));
    file("swatch.png", testing::solidPng(3, 3, {0, 0, 200, 255}));
    ASSERT_TRUE(canvas.draw(path, 0, 0));
    EXPECT_EQ(canvas.at(2, 2), RGB(0, 0, 0));
  }
  ASSERT_TRUE(canvas.draw(path, 0, 0));
  EXPECT_EQ(canvas.at(2, 2), RGB(0, 0, 200));
  std::filesystem::remove(path);
  Canvas clean(3, 3, RGB(7, 7, 7));
  EXPECT_FALSE(clean.draw(path, 0, 0));
  EXPECT_EQ(clean.at(0, 0), RGB(7, 7, 7));
}

TEST_F(LoadPngTest, BackgroundBitmapHasTheImageSize) {
  const auto path = file("back.png", testing::solidPng(400, 300, {5, 6, 7, 255}, false));
  const auto background = loadBackgroundBitmap(path);
  ASSERT_TRUE(background);
  EXPECT_EQ(background->size.cx, 400);
  EXPECT_EQ(background->size.cy, 300);
  BITMAP info{};
  GetObjectW(background->bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 400);
  EXPECT_EQ(info.bmHeight, 300);
  DeleteObject(background->bitmap);
}

TEST(CMemDCTest, PresentsTheRectangleToTheTargetAtItsPlace) {
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP targetBitmap = CreateCompatibleBitmap(screen, 20, 20);
  HGDIOBJ previous = SelectObject(target, targetBitmap);
  const RECT all{0, 0, 20, 20};
  FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  {
    CMemDC memDC(target, RECT{5, 5, 15, 15});
    const RECT inside{5, 5, 15, 15};
    FillRect(memDC.dc(), &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetPixel(target, 10, 10), RGB(0, 0, 0));  // nothing reaches the target yet
  }
  EXPECT_EQ(GetPixel(target, 5, 5) & 0xFFFFFF, RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(target, 14, 14) & 0xFFFFFF, RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(target, 4, 4) & 0xFFFFFF, RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(target, 15, 15) & 0xFFFFFF, RGB(0, 0, 0));
  SelectObject(target, previous);
  DeleteObject(targetBitmap);
  DeleteDC(target);
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace ombrisk
