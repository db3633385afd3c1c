// The main window's fixed layout: the window-wide buttons tested on every page and the
// fixed texts of the Basic and Advanced pages, in client pixels of the skin's "/main.png".
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "skin/region.h"
#include "skin/text_placement.h"

namespace ombrisk {

enum class Page { None = 0, Basic = 1, Advanced = 2 };

enum class WindowControl { Ok, Apply, Skins, Minimise, Close, PreviousPage, NextPage, Cancel, WebLink };

struct WindowControlRow {
  WindowControl control;
  Region region;
  std::string_view normalImage;  // empty: drawn by the page picture
  std::string_view overImage;
  std::optional<TextId> caption;
};

// In the order a click tests them.
inline constexpr std::array<WindowControlRow, 9> kWindowControls = {{
    {WindowControl::Ok, {562, 623, 667, 644}, "/button-normal.png", "/button-over.png", TextId::Ok},
    {WindowControl::Apply, {666, 623, 771, 644}, "/button-normal.png", "/button-over.png", TextId::Apply},
    {WindowControl::Skins, {701, 5, 719, 23}, "/button-Skins-normal.png", "/button-Skins-over.png", std::nullopt},
    {WindowControl::Minimise, {825, 5, 843, 23}, "/button-min-normal.png", "/button-min-over.png", std::nullopt},
    {WindowControl::Close, {850, 5, 868, 23}, "/button-close-normal.png", "/button-close-over.png", std::nullopt},
    {WindowControl::PreviousPage, {14, 54, 54, 94}, "/button-PrePage-normal.png", "/button-PrePage-over.png", std::nullopt},
    {WindowControl::NextPage, {60, 54, 100, 94}, "/button-NextPage-normal.png", "/button-NextPage-over.png", std::nullopt},
    {WindowControl::Cancel, {770, 623, 875, 644}, "/button-normal.png", "/button-over.png", TextId::Cancel},
    {WindowControl::WebLink, {370, 626, 548, 640}, "", "", TextId::WebLink},
}};

inline constexpr Region kPageTitleRegion{105, 51, 320, 99};
inline constexpr std::string_view kBasicPageImage = "/BasicSet2.png";
inline constexpr std::string_view kAdvancedPageImage = "/AdvancedSet2.png";

// A fixed text of a page: an interface text (by id) or a literal.
struct PageText {
  std::string text;
  Region region;
  TextPlacement placement;
};

// The fixed labels of a page in the given texts (the page controls draw their own).
std::vector<PageText> pageTexts(Page page, const InterfaceTexts& texts);

}  // namespace ombrisk
