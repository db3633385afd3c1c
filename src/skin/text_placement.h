// How a text sits in its rectangle on a skinned surface.
#pragma once

namespace ombrisk {

enum class TextPlacement {
  Centred,     // one line, centred both ways
  Left,        // one line, left-aligned, vertically centred
  Right,       // one line, right-aligned, vertically centred
  TopCentred,  // one line, centred horizontally, at the top
  Paragraph,   // word-wrapped, left-aligned, the block vertically centred
};

}  // namespace ombrisk
