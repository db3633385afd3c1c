// Decoding skin PNG files with GDI+ and drawing them with per-pixel alpha.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ombrisk {

class CMemDC;

// A decoded image: blue, green, red, alpha per pixel, top row first, straight alpha.
struct DecodedImage {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  std::vector<std::uint8_t> pixels;
};

// Nothing for a missing, broken or absurdly large file.
std::optional<DecodedImage> decodePng(const std::wstring& path);

// How LoadPng reports a file it cannot decode: the main window stays silent, the editor
// dialogs show "LoadPng---Load image failed.".
enum class PngFailure { Silent, ShowMessage };

// Draws the file at (x, y) in its own size into target, with per-pixel alpha when the image
// has an alpha channel, plainly copied otherwise. Decodes the file on every call.
bool LoadPng(CMemDC* target, const std::wstring& path, int x, int y,
             PngFailure failure = PngFailure::Silent);

// A window's background: the decoded image as a device bitmap and its size.
struct BackgroundBitmap {
  HBITMAP bitmap = nullptr;
  SIZE size{};
};
std::optional<BackgroundBitmap> loadBackgroundBitmap(const std::wstring& path);

// The image decoder service: started on first use, shut down when its last user is gone.
// The application holds one reference for its whole run.
class ImageDecoderUse {
 public:
  ImageDecoderUse();
  ~ImageDecoderUse();
  ImageDecoderUse(const ImageDecoderUse&) = delete;
  ImageDecoderUse& operator=(const ImageDecoderUse&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

}  // namespace ombrisk
