// Skinned surfaces as data. Every control of a skinned window is a row of its surface's
// table: which control, its rectangle in client pixels, the images it is drawn with, its
// caption and whether the pointer hovering over it shows its over image. A click is
// resolved by walking the table in order; painting a control draws its row. The windows
// only carry out what the tables and the decisions built on them say.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "skin/region.h"
#include "skin/skin_images.h"
#include "skin/text_placement.h"

namespace ombrisk {

// A caption: an interface text of the current language, or a text that is the same in every
// language ("Mode A", "1").
class Caption {
 public:
  constexpr Caption() noexcept {}
  constexpr Caption(TextId id) : id_(id) {}
  constexpr Caption(std::string_view literal) : literal_(literal) {}
  constexpr Caption(const char* literal) : literal_(literal) {}

  constexpr bool empty() const { return !id_ && literal_.empty(); }
  constexpr std::optional<TextId> id() const { return id_; }
  std::string in(const InterfaceTexts& texts) const {
    return id_ ? texts[*id_] : std::string(literal_);
  }

 private:
  std::optional<TextId> id_;
  std::string_view literal_;
};

// One control of a surface. A control that appears several times (the seven key boxes, the
// cells of a slider) has one row per instance, told apart by index (0-based).
template <typename Control>
struct SurfaceRegion {
  Control control;
  int index = 0;
  Region rect;
  // Drawn at the rectangle's top-left corner: the normal image, and the image of the over
  // state (the pointer hovers over a hoverable control) or of the on state (a lit cell, a
  // ticked box). None: the control is part of the page picture.
  std::optional<SkinImage> normal{};
  std::optional<SkinImage> over{};
  Caption caption;  // centred on one line, in the small font and the skin text colour
  bool hoverable = false;
};

template <typename Control>
using Surface = std::span<const SurfaceRegion<Control>>;

// The first row whose rectangle holds the point, in table order; null when none does.
template <typename Control>
const SurfaceRegion<Control>* hitTest(Surface<Control> surface, int x, int y) {
  for (const SurfaceRegion<Control>& row : surface)
    if (row.rect.contains(x, y)) return &row;
  return nullptr;
}

// The row of a control; a table without it is a programming error.
template <typename Control>
const SurfaceRegion<Control>& regionOf(Surface<Control> surface, Control control, int index = 0) {
  for (const SurfaceRegion<Control>& row : surface)
    if (row.control == control && row.index == index) return row;
  throw std::logic_error("control missing from its surface table");
}

// Appends count rows: first, then first moved by (dx, dy) once per further instance.
template <typename Control>
void addRepeated(std::vector<SurfaceRegion<Control>>& rows, SurfaceRegion<Control> first, int count,
                 int dx, int dy) {
  for (int i = 0; i < count; ++i) {
    SurfaceRegion<Control> row = first;
    row.index = first.index + i;
    row.rect = {first.rect.left + dx * i, first.rect.top + dy * i, first.rect.right + dx * i,
                first.rect.bottom + dy * i};
    rows.push_back(row);
  }
}

// A child window of a surface (a list box, an edit, a static text) at a fixed rectangle
// under a fixed control identifier. Presses on it go to the child, not to the surface.
enum class ChildKind { Static, List, Edit };

template <typename Control>
struct ChildControl {
  Control control;
  int index = 0;
  int id = 0;
  Region rect;
  ChildKind kind = ChildKind::Static;
};

template <typename Control>
const ChildControl<Control>& childOf(std::span<const ChildControl<Control>> children, Control control,
                                     int index = 0) {
  for (const ChildControl<Control>& child : children)
    if (child.control == control && child.index == index) return child;
  throw std::logic_error("control missing from its child table");
}

// Where text goes: the small font for labels, values and captions, the title font for page
// titles; the skin text colour or white.
enum class TextFont { Small, Title };
enum class TextColour { Skin, White };

// What a surface draws on: images of the current skin and texts. The Win32 painter draws
// into the window's canvas; tests record the calls.
class Painter {
 public:
  virtual ~Painter() = default;
  virtual void image(SkinImage image, int x, int y) = 0;
  virtual void text(std::string_view utf8, const Region& region, TextPlacement placement,
                    TextColour colour = TextColour::Skin, TextFont font = TextFont::Small) = 0;
};

// Draws a control's row: its normal or over (on) image, then its caption.
template <typename Control>
void paintRegion(Painter& painter, const SurfaceRegion<Control>& row, bool over,
                 const InterfaceTexts& texts) {
  if (const auto image = over ? row.over : row.normal) painter.image(*image, row.rect.left, row.rect.top);
  if (!row.caption.empty())
    painter.text(row.caption.in(texts), row.rect, TextPlacement::Centred);
}

// A drop-down box: pressing the box opens or closes a list under it; the list is a child
// list box that exists only while open. A press anywhere else (outside box and list) closes
// it without a choice.
struct DropDownBox {
  int listId = 0;
  Region box;
  Region list;

  constexpr bool pressClosesList(int x, int y) const {
    return !box.contains(x, y) && !list.contains(x, y);
  }
};

}  // namespace ombrisk

namespace ombrisk {

// A surface whose controls include child windows: the regions a press tests and the
// children's rectangles.
template <typename Control>
struct SurfaceTables {
  Surface<Control> regions;
  std::span<const ChildControl<Control>> children;

  // The drop-down box whose press region is box and whose list is the child list.
  DropDownBox dropDown(Control box, Control list) const {
    const ChildControl<Control>& child = childOf(children, list);
    return {child.id, regionOf(regions, box).rect, child.rect};
  }
};

}  // namespace ombrisk
