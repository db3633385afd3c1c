// The GDI objects the program makes, counted where it makes and deletes them. Wine tells no
// process how many GDI objects it holds (GetGuiResources answers 0, even for the process
// itself), so this count is what the program reports when asked (ResourceCountsMessage): the
// fonts, brushes, bitmaps and memory DCs made by the program's own code, not those the system
// makes for it (window DCs, stock objects, the common controls' own).
#pragma once

#include <windows.h>

#include <atomic>

namespace ombrisk {

inline std::atomic<long> gdiObjectsMade{0};

// Counts object (made just now) unless it is null, and passes it on.
template <class Handle>
Handle countedGdi(Handle object) {
  if (object) ++gdiObjectsMade;
  return object;
}

// DeleteObject and DeleteDC of an object countedGdi counted.
inline BOOL deleteCountedGdi(HGDIOBJ object) {
  const BOOL deleted = DeleteObject(object);
  if (deleted) --gdiObjectsMade;
  return deleted;
}
inline BOOL deleteCountedDc(HDC dc) {
  const BOOL deleted = DeleteDC(dc);
  if (deleted) --gdiObjectsMade;
  return deleted;
}

}  // namespace ombrisk
