#include "pages/window_surface.h"

#include <array>

namespace ombrisk {
namespace {

using Row = SurfaceRegion<WindowControl>;
using enum WindowControl;

constexpr std::array<Row, 9> kWindowRows = {{
    {Ok, 0, {562, 623, 667, 644}, SkinImage::ButtonNormal, SkinImage::ButtonOver, TextId::Ok, true},
    {Apply, 0, {666, 623, 771, 644}, SkinImage::ButtonNormal, SkinImage::ButtonOver, TextId::Apply, true},
    {Skins, 0, {701, 5, 719, 23}, SkinImage::SkinsNormal, SkinImage::SkinsOver, {}, true},
    {Minimise, 0, {825, 5, 843, 23}, SkinImage::MinimiseNormal, SkinImage::MinimiseOver, {}, true},
    {Close, 0, {850, 5, 868, 23}, SkinImage::CloseNormal, SkinImage::CloseOver, {}, true},
    {PreviousPage, 0, {14, 54, 54, 94}, SkinImage::PreviousPageNormal, SkinImage::PreviousPageOver, {}, true},
    {NextPage, 0, {60, 54, 100, 94}, SkinImage::NextPageNormal, SkinImage::NextPageOver, {}, true},
    {Cancel, 0, {770, 623, 875, 644}, SkinImage::ButtonNormal, SkinImage::ButtonOver, TextId::Cancel, true},
    // The link is text on the page picture.
    {WebLink, 0, {370, 626, 548, 640}, std::nullopt, std::nullopt, TextId::WebLink, false},
}};

}  // namespace

Surface<WindowControl> windowSurface() { return kWindowRows; }

SkinImage pageImage(Page page) {
  return page == Page::Advanced ? SkinImage::AdvancedPage : SkinImage::BasicPage;
}

TextId pageTitle(Page page) {
  return page == Page::Advanced ? TextId::AdvancedTitle : TextId::BasicTitle;
}

}  // namespace ombrisk
