// The images of a skin folder, by the names every surface loads them with, and the folder
// a skin lives in.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace ombrisk {

inline constexpr std::array<std::string_view, 33> kSkinImageNames = {
    "/main.png",
    "/BasicSet2.png",
    "/AdvancedSet2.png",
    "/button-min-normal.png",
    "/button-min-over.png",
    "/button-close-normal.png",
    "/button-close-over.png",
    "/button-Skins-normal.png",
    "/button-Skins-over.png",
    "/button-PrePage-normal.png",
    "/button-PrePage-over.png",
    "/button-NextPage-normal.png",
    "/button-NextPage-over.png",
    "/button-normal.png",
    "/button-over.png",
    "/DropdownBox-normal.png",
    "/DropdownBox-over.png",
    "/Pane.png",
    "/PaneMakingTick.png",
    "/slider-dark.png",
    "/slider-light.png",
    "/slider-DPI-dark.png",
    "/slider-DPI-light.png",
    "/slider-RP-dark.png",
    "/slider-RP-light.png",
    "/single-key.png",
    "/windows-key.png",
    "/media-key.png",
    "/fire-key.png",
    "/macro-key.png",
    "/combo-key.png",
    "/delay-time.png",
    "/skins.png",
};

// The folder of skin name beside the executable: the executable's folder (trailing
// separator kept) + "/Skins/" + name. The doubled separator is harmless to the system.
std::string skinFolderFor(std::string_view executableFolder, std::string_view skinName);

// The process-wide skin state: the folder every image is loaded from, the skin's name and
// the caption colour of skinned buttons.
struct SkinState {
  std::string folder;
  std::string name;
  unsigned char red = 0, green = 255, blue = 0;

  // As a Win32 COLORREF: red | green << 8 | blue << 16.
  unsigned textColour() const { return red | green << 8 | blue << 16; }
  std::string imagePath(std::string_view imageName) const {
    return folder + std::string(imageName);
  }
};

SkinState& skinState();

}  // namespace ombrisk
