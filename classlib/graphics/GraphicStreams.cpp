// Placeholder until the streams and the stored-form filer land: every stream,
// file and stored-form path of the graphics raises.
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Graphic.h"
#include "classlib/graphics/Picture.h"

namespace {
[[noreturn]] void NoStreams() { throw EInvalidGraphicOperation("Streams are not available"); }
}  // namespace

void TGraphic::LoadFromFile(const std::string&) { NoStreams(); }
void TGraphic::SaveToFile(const std::string&) { NoStreams(); }
void TGraphic::ReadData(TStream*) { NoStreams(); }
void TGraphic::WriteData(TStream*) { NoStreams(); }
bool TGraphic::Equals(TGraphic*) { NoStreams(); }
void TGraphic::DefineProperties(TFiler*) {}
void TBitmap::LoadFromStream(TStream*) { NoStreams(); }
void TBitmap::SaveToStream(TStream*) { NoStreams(); }
void TBitmap::ReadData(TStream*) { NoStreams(); }
void TBitmap::WriteData(TStream*) { NoStreams(); }
void TPicture::ReadData(TStream*) { NoStreams(); }
void TPicture::WriteData(TStream*) { NoStreams(); }
void TPicture::DefineProperties(TFiler*) {}
