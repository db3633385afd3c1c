// The folder a skin lives in and the process-wide skin state.
#pragma once

#include <string>
#include <string_view>

#include "skin/skin_images.h"

namespace ombrisk {

// The folder of skin name beside the executable: the executable's folder (trailing
// separator kept) + "/Skins/" + name. The doubled separator is harmless to the system. The
// name comes from str.ini, which anyone may edit: one that is not a plain folder name ("..",
// separators, a drive) counts as none, so the folder always lies inside Skins.
bool isPlainFolderName(std::string_view name);
std::string skinFolderFor(std::string_view executableFolder, std::string_view skinName);

// The process-wide skin state: the folder every image is loaded from, the skin's name and
// the caption colour of skinned buttons.
struct SkinState {
  std::string folder;
  std::string name;
  unsigned char red = 0, green = 255, blue = 0;

  // As a Win32 COLORREF: red | green << 8 | blue << 16.
  unsigned textColour() const { return red | green << 8 | blue << 16; }
  std::string imagePath(SkinImage image) const { return folder + std::string(skinImageName(image)); }
};

SkinState& skinState();

}  // namespace ombrisk
