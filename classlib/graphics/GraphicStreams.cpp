// The stream and file paths of the graphics: TGraphic's files and stored
// data, the bitmap's BMP stream, and the picture's stored "Data".
#include <algorithm>
#include <cstring>
#include <vector>

#include "classlib/classes/Streams.h"
#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/DibCodec.h"
#include "classlib/graphics/Graphic.h"
#include "classlib/graphics/Picture.h"

namespace {
std::vector<uint8_t> SavedBytes(TGraphic* g) {
  TMemoryStream* s = New<TMemoryStream>();
  Owned<TMemoryStream> hold(s);
  g->SaveToStream(s);
  std::vector<uint8_t> bytes(static_cast<size_t>(s->GetSize()));
  if (!bytes.empty()) std::memcpy(bytes.data(), s->GetMemory(), bytes.size());
  return bytes;
}
}  // namespace

namespace graphics_detail {
std::vector<uint8_t> ReadToEnd(TStream* stream) {
  int64_t count = stream->GetSize() - stream->GetPosition();
  if (count > INT32_MAX) throw EReadError(SReadError);
  std::vector<uint8_t> data(static_cast<size_t>(count > 0 ? count : 0));
  if (!data.empty()) stream->ReadBuffer(data.data(), static_cast<int>(data.size()));
  return data;
}

bool ReadCountedBytes(TStream* stream, std::vector<uint8_t>& bytes) {
  int32_t size = 0;
  stream->ReadBuffer(&size, sizeof size);
  if (size < 0 || size > stream->GetSize() - stream->GetPosition()) return false;
  bytes.resize(static_cast<size_t>(size));
  if (size) stream->ReadBuffer(bytes.data(), size);
  return true;
}
}  // namespace graphics_detail

void TGraphic::LoadFromFile(const std::string& fileName) {
  Owned<TFileStream> s = MakeOwned<TFileStream>(fileName, static_cast<WORD>(fmOpenRead | fmShareDenyWrite));
  LoadFromStream(s.get());
}

void TGraphic::SaveToFile(const std::string& fileName) {
  Owned<TFileStream> s = MakeOwned<TFileStream>(fileName, fmCreate);
  SaveToStream(s.get());
}

void TGraphic::ReadData(TStream* stream) { LoadFromStream(stream); }

void TGraphic::WriteData(TStream* stream) { SaveToStream(stream); }

bool TGraphic::Equals(TGraphic* graphic) {
  if (!graphic || graphic->ClassType() != ClassType()) return false;
  if (GetEmpty() || graphic->GetEmpty()) return GetEmpty() && graphic->GetEmpty();
  return SavedBytes(this) == SavedBytes(graphic);
}

// ---------------------------------------------------------------------------

// The headers are read and checked first; the pixels then go from the stream
// straight into the new section (one read for bottom-up rows).
void TBitmap::LoadFromStream(TStream* stream) {
  using namespace graphics_detail;
  const int64_t start = stream->GetPosition();
  const int64_t left = stream->GetSize() - start;
  if (left <= 0) {
    LoadFromBytes(nullptr, 0);
    return;
  }
  std::vector<uint8_t> head(static_cast<size_t>(std::min<int64_t>(left, kBmpHeadersMax)));
  stream->ReadBuffer(head.data(), static_cast<int>(head.size()));
  if (head.size() < sizeof(BITMAPFILEHEADER) || head[0] != 'B' || head[1] != 'M') {
    // Too short or not a BMP file: the byte reader says why.
    LoadFromBytes(head.data(), head.size());
    return;
  }
  uint32_t offBits;
  std::memcpy(&offBits, head.data() + 10, 4);
  if (offBits && offBits < sizeof(BITMAPFILEHEADER))
    throw EInvalidGraphic("Bitmap image is not valid: the pixel data overlaps the header");
  const size_t fileHeader = sizeof(BITMAPFILEHEADER);
  TBmpLayout layout = ParseDibHeader(head.data() + fileHeader, head.size() - fileHeader,
                                     static_cast<size_t>(left) - fileHeader, offBits ? offBits - fileHeader : 0);
  stream->SetPosition(start + static_cast<int64_t>(fileHeader + layout.BitsPos));
  TDib dib = ReadDibBits(layout, [stream](void* to, size_t count) {
    stream->ReadBuffer(to, static_cast<int>(count));
  });
  NewImage(std::move(dib), false);
  SetPaletteModified(IsPaletteFormatOf(image_));
  Changed(this);
}

void TBitmap::SaveToStream(TStream* stream) {
  std::vector<uint8_t> bytes = SaveToBytes();
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

// A BITMAP resource is a packed DIB: no file header, the table right after
// the header.
void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
  Owned<TResourceStream> s = MakeOwned<TResourceStream>(instance, name, RT_BITMAP);
  auto dib = graphics_detail::ReadPackedDib(static_cast<const uint8_t*>(s->GetMemory()),
                                            static_cast<size_t>(s->GetSize()));
  NewImage(std::move(dib), false);
  Changed(this);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
  Owned<TResourceStream> s = MakeOwned<TResourceStream>(instance, id, RT_BITMAP);
  auto dib = graphics_detail::ReadPackedDib(static_cast<const uint8_t*>(s->GetMemory()),
                                            static_cast<size_t>(s->GetSize()));
  NewImage(std::move(dib), false);
  Changed(this);
}

void TBitmap::ReadData(TStream* stream) {
  std::vector<uint8_t> bytes;
  if (!graphics_detail::ReadCountedBytes(stream, bytes))
    throw EInvalidGraphic("Bitmap image is not valid: the stored size does not fit the data");
  LoadFromBytes(bytes.data(), bytes.size());
}

void TBitmap::WriteData(TStream* stream) {
  std::vector<uint8_t> bytes = SaveToBytes();
  int32_t size = static_cast<int32_t>(bytes.size());
  stream->WriteBuffer(&size, sizeof size);
  if (size) stream->WriteBuffer(bytes.data(), size);
}

// ---------------------------------------------------------------------------

void TPicture::ReadData(TStream* stream) {
  uint8_t length = 0;
  stream->ReadBuffer(&length, 1);
  std::string name(length, '\0');
  if (length) stream->ReadBuffer(name.data(), length);
  // A class no linked library registered leaves the picture empty, as the
  // platform does: the rest of the form still loads.
  TGraphicClass cls = name.empty() ? nullptr : FindGraphicClassByName(name);
  TGraphic* fresh = nullptr;
  if (cls) {
    fresh = CreateAs<TGraphic>(cls);
    try {
      fresh->ReadData(stream);
    } catch (...) {
      fresh->Free();
      throw;
    }
  }
  TakeGraphic(fresh);
}

void TPicture::WriteData(TStream* stream) {
  std::string name = graphic_ ? graphic_->ClassName() : std::string();
  if (name.size() > 63) name.resize(63);
  uint8_t length = static_cast<uint8_t>(name.size());
  stream->WriteBuffer(&length, 1);
  if (length) stream->WriteBuffer(name.data(), length);
  if (graphic_) graphic_->WriteData(stream);
}
