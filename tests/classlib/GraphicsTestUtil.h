// Helpers of the graphics tests: bitmaps of a known format and pixel reads
// straight from their scan lines (never through GDI).
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/Graphics.h"
#include "classlib/classes/Streams.h"

namespace graphics_test {

inline Owned<TBitmap> MakeBitmap(int w, int h, TPixelFormat pf = pf24bit, TColor fill = clWhite) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf);
  b->SetSize(w, h);
  if (fill != clWhite) {
    b->GetCanvas()->GetBrush()->SetColor(fill);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
  }
  return b;
}

// The colour of one pixel of a 24- or 32-bit bitmap, as a TColor.
inline TColor PixelAt(TBitmap* b, int x, int y) {
  const uint8_t* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  int bpp = b->GetPixelFormat() == pf24bit ? 3 : 4;
  const uint8_t* p = row + x * bpp;
  return static_cast<TColor>(RGB(p[2], p[1], p[0]));
}

// The bit of a 1-bit bitmap, most significant bit first.
inline int BitAt(TBitmap* b, int x, int y) {
  const uint8_t* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// The GDI objects this process holds: GetGuiResources where it counts.
// Wine's is a stub that answers 0 (ERROR_CALL_NOT_IMPLEMENTED); Wine keeps
// the process's GDI handle table where Windows keeps its own, so there the
// table's entries in use are counted: x64 offsets TEB+0x60 (the PEB) and
// PEB+0xF8 (GdiSharedHandleTable), 0x10000 entries of 24 bytes whose type
// byte (byte 14) is 0 while the entry is free.
inline int GdiObjectCount() {
  SetLastError(0);
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  // The PEB's address is at gs:[0x60] (the TEB's field), read by an
  // instruction of our own: an optimised GCC 12 build takes both offset 0x60
  // of NtCurrentTeb()'s struct (declared smaller than the TEB) and the fixed
  // address in mingw's __readgsqword for out-of-bounds accesses.
  uintptr_t pebAddress = 0;
  __asm__("movq %%gs:0x60, %0" : "=r"(pebAddress));
  const auto* peb = reinterpret_cast<const uint8_t*>(pebAddress);
  const uint8_t* table = nullptr;
  std::memcpy(&table, peb + 0xF8, sizeof table);
  if (!table) return -1;
  int count = 0;
  for (size_t i = 0; i < 0x10000; ++i) count += table[i * 24 + 14] != 0;
  return count;
}

// The GDI objects (DCs among them) that rounds of work leave behind: a DC
// taken and never given back keeps its handle, and the next GetDC makes a
// new one. One round goes first, for the caches the system fills on first
// use.
template <class F>
int GdiObjectsLeftBy(F work, int rounds = 16) {
  work();
  const int before = GdiObjectCount();
  for (int i = 0; i < rounds; ++i) work();
  return GdiObjectCount() - before;
}

// A memory stream holding the bytes, positioned at its start.
inline Owned<TMemoryStream> StreamOf(const std::vector<uint8_t>& data) {
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  if (!data.empty()) s->WriteBuffer(data.data(), static_cast<int>(data.size()));
  s->SetPosition(0);
  return s;
}

inline std::vector<uint8_t> BytesOf(TMemoryStream* s) {
  auto* p = static_cast<const uint8_t*>(s->GetMemory());
  return std::vector<uint8_t>(p, p + s->GetSize());
}

// What the graphic's SaveToStream writes.
inline std::vector<uint8_t> SavedBytes(TGraphic* g) {
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  g->SaveToStream(s.get());
  return BytesOf(s.get());
}

// An enhanced metafile of a red width x height rectangle.
inline Owned<TMetafile> MakeRedMetafile(int width, int height) {
  HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{0, 0, width, height};
  FillRect(dc, &r, red);
  DeleteObject(red);
  Owned<TMetafile> m = MakeOwned<TMetafile>();
  m->SetHandle(CloseEnhMetaFile(dc));
  return m;
}

// What the graphic draws at (0, 0) over size x size pixels of navy, as the
// bytes of the BMP file.
inline std::vector<uint8_t> DrawnOnNavy(TGraphic* g, int size) {
  auto target = MakeBitmap(size, size, pf24bit, clNavy);
  target->GetCanvas()->Draw(0, 0, g);
  return SavedBytes(target.get());
}

}  // namespace graphics_test
