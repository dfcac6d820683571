#include "kx/foundation/KxGrafx.h"

#include <algorithm>
#include <cstring>

void FlipBitmap(TBitmap* bitmap) {
  if (!bitmap || bitmap->GetEmpty()) return;
  int w = bitmap->GetWidth(), h = bitmap->GetHeight();
  Owned<TBitmap> copy = MakeOwned<TBitmap>();
  copy->SetPixelFormat(bitmap->GetPixelFormat());
  copy->SetSize(w, h);
  // Row r of the copy is row h - 1 - r of the bitmap (StretchBlt with a
  // negative height mirrors the same way).
  copy->GetCanvas()->CopyRect(TRect{0, 0, w, h}, bitmap->GetCanvas(), TRect{0, h - 1, w, -1});
  bitmap->Assign(copy.get());
}
