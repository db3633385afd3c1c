// What the program reports of itself when the soak asks (kResourceCountsMessageName): the GDI
// objects it makes, counted where it makes and deletes them, and its heaps' live bytes. Wine
// tells no process how many GDI objects it holds (GetGuiResources answers 0, even for the
// process itself); the count covers the fonts, brushes, bitmaps and memory DCs made by the
// program's own code, not those the system makes for it (window DCs, stock objects, the
// common controls' own).
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

// The bytes of the live blocks in all the process's heaps (the C runtime's among them),
// walked one heap at a time under its lock.
inline unsigned long long heapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  unsigned long long used = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return used;
}

}  // namespace ombrisk
