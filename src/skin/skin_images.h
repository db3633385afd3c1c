// The images of a skin folder, named once. Every surface draws an image by its SkinImage, so
// a misspelt file name cannot be drawn silently: there is no other way to name one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace ombrisk {

enum class SkinImage : std::uint8_t {
  Main,
  BasicPage,
  AdvancedPage,
  MinimiseNormal,
  MinimiseOver,
  CloseNormal,
  CloseOver,
  SkinsNormal,
  SkinsOver,
  PreviousPageNormal,
  PreviousPageOver,
  NextPageNormal,
  NextPageOver,
  ButtonNormal,
  ButtonOver,
  DropdownBoxNormal,
  DropdownBoxOver,
  Pane,
  PaneTick,
  SliderDark,
  SliderLight,
  SliderDpiDark,
  SliderDpiLight,
  SliderRateDark,
  SliderRateLight,
  SingleKeyDialog,
  WindowsKeyDialog,
  MediaKeyDialog,
  FireKeyDialog,
  MacroKeyDialog,
  ComboKeyDialog,
  DelayTimeDialog,
  SkinsDialog,
  Count
};

inline constexpr std::size_t kSkinImageCount = static_cast<std::size_t>(SkinImage::Count);

// The file names, in SkinImage order, each with its leading slash.
inline constexpr std::array<std::string_view, kSkinImageCount> kSkinImageNames = {
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

constexpr std::string_view skinImageName(SkinImage image) {
  return kSkinImageNames[static_cast<std::size_t>(image)];
}

}  // namespace ombrisk
