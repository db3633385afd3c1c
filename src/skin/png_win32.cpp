#include "skin/png_win32.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>  // PROPID and IStream, left out by WIN32_LEAN_AND_MEAN
#include <gdiplus.h>

#include "skin/mem_dc_win32.h"
#include "skin/pixels.h"
#include "util/module_win32.h"
#include "util/resource_counts_win32.h"

namespace ombrisk {
namespace {

std::mutex decoderLock;
int decoderUsers = 0;
ULONG_PTR decoderToken = 0;

// Owns one GDI+ bitmap for the length of a decode.
class GdipBitmap {
 public:
  explicit GdipBitmap(const std::wstring& path) {
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap_) != Gdiplus::Ok)
      bitmap_ = nullptr;
  }
  ~GdipBitmap() {
    if (bitmap_) Gdiplus::DllExports::GdipDisposeImage(bitmap_);
  }
  GdipBitmap(const GdipBitmap&) = delete;
  GdipBitmap& operator=(const GdipBitmap&) = delete;
  Gdiplus::GpBitmap* get() const { return bitmap_; }

  // Width and height when both are within the skin image limits.
  bool size(UINT& width, UINT& height) const {
    if (!bitmap_) return false;
    if (Gdiplus::DllExports::GdipGetImageWidth(bitmap_, &width) != Gdiplus::Ok) return false;
    if (Gdiplus::DllExports::GdipGetImageHeight(bitmap_, &height) != Gdiplus::Ok) return false;
    return width > 0 && height > 0 && width <= kMaxSkinImageSide && height <= kMaxSkinImageSide;
  }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

// A top-down 32-bit DIB section holding pixels, selected into its own memory context.
class PixelSurface {
 public:
  PixelSurface(HDC compatible, const DecodedImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = countedGdi(CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_ || !bits) return;
    std::memcpy(bits, image.pixels.data(), image.pixels.size());
    dc_ = countedGdi(CreateCompatibleDC(compatible));
    if (dc_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~PixelSurface() {
    if (dc_) {
      SelectObject(dc_, previous_);
      deleteCountedDc(dc_);
    }
    if (bitmap_) deleteCountedGdi(bitmap_);
  }
  PixelSurface(const PixelSurface&) = delete;
  PixelSurface& operator=(const PixelSurface&) = delete;
  HDC dc() const { return dc_; }

 private:
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The file starts like a PNG image of a sensible size (checked before the decoder sees it).
bool plausiblePng(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::uint8_t start[kPngHeaderBytes] = {};
  DWORD read = 0;
  const bool got = ReadFile(file, start, sizeof start, &read, nullptr) && read == sizeof start;
  CloseHandle(file);
  return got && readPngHeader(start).has_value();
}

void reportLoadFailure() {
  MessageBoxW(nullptr, L"LoadPng---Load image failed.", applicationName().c_str(), MB_OK);
}

}  // namespace

ImageDecoderUse::ImageDecoderUse() {
  std::lock_guard<std::mutex> guard(decoderLock);
  if (decoderUsers == 0) {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&decoderToken, &input, nullptr) != Gdiplus::Ok) return;
  }
  ++decoderUsers;
  ok_ = true;
}

ImageDecoderUse::~ImageDecoderUse() {
  if (!ok_) return;
  std::lock_guard<std::mutex> guard(decoderLock);
  if (--decoderUsers == 0) Gdiplus::GdiplusShutdown(decoderToken);
}

std::optional<DecodedImage> decodePng(const std::wstring& path) {
  if (!plausiblePng(path)) return std::nullopt;
  ImageDecoderUse decoder;
  if (!decoder.ok()) return std::nullopt;
  GdipBitmap bitmap(path);
  UINT width = 0, height = 0;
  if (!bitmap.size(width, height)) return std::nullopt;
  Gdiplus::PixelFormat format = 0;
  if (Gdiplus::DllExports::GdipGetImagePixelFormat(bitmap.get(), &format) != Gdiplus::Ok)
    return std::nullopt;

  DecodedImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.hasAlpha = Gdiplus::IsAlphaPixelFormat(format);
  image.pixels.resize(std::size_t{width} * height * 4);

  // Lock into our own buffer: GDI+ converts to 32-bit BGRA with straight alpha.
  Gdiplus::BitmapData data{};
  data.Width = width;
  data.Height = height;
  data.Stride = static_cast<INT>(width * 4);
  data.PixelFormat = PixelFormat32bppARGB;
  data.Scan0 = image.pixels.data();
  const Gdiplus::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  if (Gdiplus::DllExports::GdipBitmapLockBits(
          bitmap.get(), &rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
          PixelFormat32bppARGB, &data) != Gdiplus::Ok)
    return std::nullopt;
  Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap.get(), &data);
  if (!image.hasAlpha)
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
  return image;
}

namespace {

// A skin file as it was when it was decoded: its time of last writing and its size.
struct FileStamp {
  FILETIME written{};
  ULONGLONG size = 0;
  bool operator==(const FileStamp& other) const {
    return written.dwLowDateTime == other.written.dwLowDateTime &&
           written.dwHighDateTime == other.written.dwHighDateTime && size == other.size;
  }
};

std::optional<FileStamp> stampOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return FileStamp{data.ftLastWriteTime, (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

// A decoded image ready to draw: premultiplied when it has alpha, in a context of its own.
struct PreparedImage {
  FileStamp stamp;
  DecodedImage image;  // its pixels as drawn; the surface holds a copy
  std::unique_ptr<PixelSurface> surface;
};

// The images drawn so far, by path. A file is decoded again only when its stamp changes, so
// a skin edited or replaced on disk shows at the next draw and a file that goes is skipped,
// but drawing a control does not decode its file every time.
class PreparedImages {
 public:
  void beginBatch() {
    std::lock_guard<std::mutex> guard(lock_);
    ++batches_;
  }
  void endBatch() {
    std::lock_guard<std::mutex> guard(lock_);
    if (--batches_ == 0) checked_.clear();
  }

  const PreparedImage* find(const std::wstring& path) {
    std::lock_guard<std::mutex> guard(lock_);
    const auto known = images_.find(path);
    if (batches_ > 0 && known != images_.end() && checked_.count(path)) return &known->second;
    if (batches_ > 0) checked_.insert(path);
    const std::optional<FileStamp> stamp = stampOf(path);
    if (!stamp) {
      if (known != images_.end()) images_.erase(known);
      return nullptr;
    }
    if (known != images_.end() && known->second.stamp == *stamp) return &known->second;
    std::optional<DecodedImage> image = decodePng(path);
    if (!image) {
      if (known != images_.end()) images_.erase(known);
      return nullptr;
    }
    if (image->hasAlpha) premultiplyBgra(image->pixels);
    PreparedImage prepared{*stamp, std::move(*image), nullptr};
    HDC screen = GetDC(nullptr);
    prepared.surface = std::make_unique<PixelSurface>(screen, prepared.image);
    ReleaseDC(nullptr, screen);
    if (!prepared.surface->dc()) return nullptr;
    prepared.image.pixels.clear();
    prepared.image.pixels.shrink_to_fit();
    return &(images_[path] = std::move(prepared));
  }

 private:
  std::mutex lock_;
  std::map<std::wstring, PreparedImage> images_;
  int batches_ = 0;
  std::set<std::wstring> checked_;  // in the batch that is open
};

PreparedImages& preparedImages() {
  // Never destroyed: the contexts it holds go with the process.
  static auto* images = new PreparedImages;
  return *images;
}

}  // namespace

ImageBatch::ImageBatch() { preparedImages().beginBatch(); }
ImageBatch::~ImageBatch() { preparedImages().endBatch(); }

bool LoadPng(CMemDC* target, const std::wstring& path, int x, int y, PngFailure failure, RECT* drawn) {
  if (!target || !target->dc()) return false;
  const PreparedImage* prepared = preparedImages().find(path);
  if (!prepared) {
    if (failure == PngFailure::ShowMessage) reportLoadFailure();
    return false;
  }
  const DecodedImage& image = prepared->image;
  if (drawn) *drawn = {x, y, x + image.width, y + image.height};
  if (image.hasAlpha) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(target->dc(), x, y, image.width, image.height, prepared->surface->dc(), 0, 0, image.width,
                      image.height, blend) != FALSE;
  }
  return BitBlt(target->dc(), x, y, image.width, image.height, prepared->surface->dc(), 0, 0, SRCCOPY) != FALSE;
}

std::optional<BackgroundBitmap> loadBackgroundBitmap(const std::wstring& path) {
  if (!plausiblePng(path)) return std::nullopt;
  ImageDecoderUse decoder;
  if (!decoder.ok()) return std::nullopt;
  GdipBitmap bitmap(path);
  UINT width = 0, height = 0;
  if (!bitmap.size(width, height)) return std::nullopt;
  HBITMAP handle = nullptr;
  if (Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(bitmap.get(), &handle, 0) != Gdiplus::Ok ||
      !handle)
    return std::nullopt;
  return BackgroundBitmap{countedGdi(handle), SIZE{static_cast<LONG>(width), static_cast<LONG>(height)}};
}


}  // namespace ombrisk
