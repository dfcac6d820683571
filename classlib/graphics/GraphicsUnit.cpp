#include "classlib/graphics/GraphicsUnit.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Colors.h"
#include "classlib/graphics/Picture.h"

namespace {
bool initialized = false;
}  // namespace

void InitializeGraphics() {
  // Idempotent: a test executable may run it before the list does.
  if (initialized) return;
  initialized = true;
  graphics_detail::RegisterColorIdents();
  TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  TPicture::RegisterClipboardFormat(CF_BITMAP, TBitmap::StaticClass());
}

void FinalizeGraphics() {
  if (!initialized) return;
  initialized = false;
  TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
}
