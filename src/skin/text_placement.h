// How a text sits in its rectangle on a skinned surface.
#pragma once

namespace ombrisk {

enum class TextPlacement {
  Centred,     // one line, centred both ways
  Left,        // one line, left-aligned, vertically centred
  LeftCut,     // the same, ending in "…" where it is wider than its rectangle (as the
               // editors' choice displays end a long text)
  Right,       // one line, right-aligned, vertically centred
  TopCentred,  // one line, centred horizontally, at the top
  Paragraph,   // word-wrapped, left-aligned, the block vertically centred
};

}  // namespace ombrisk
