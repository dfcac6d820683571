#include "classlib/graphics/GraphicsUnit.h"

#include "classlib/Clipbrd.h"

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Colors.h"
#include "classlib/graphics/PatternBitmap.h"
#include "classlib/graphics/Picture.h"

void InitializeGraphics() {
  graphics_detail::RegisterColorIdents();
  TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  TPicture::RegisterClipboardFormat(CF_BITMAP, TBitmap::StaticClass());
}

void FinalizeGraphics() {
  graphics_detail::FreePatternBitmaps();
  FreeClipboard();
  TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
}
