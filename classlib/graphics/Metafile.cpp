#include "classlib/graphics/Metafile.h"

#include <cstring>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"

IMPLEMENT_CLASS(TMetafile)

namespace {

const char kInvalidMetafile[] = "Metafile is not valid";
[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(kInvalidMetafile); }

const DWORD kPlaceableKey = 0x9AC6CDD7;
const int kHundredthMMPerInch = 2540;

#pragma pack(push, 1)
// The header Aldus put before a WMF: its size in units per inch.
struct TPlaceableHeader {
  DWORD Key;
  WORD Handle;
  SHORT Left, Top, Right, Bottom;
  WORD Inch;
  DWORD Reserved;
  WORD Checksum;
};
#pragma pack(pop)
static_assert(sizeof(TPlaceableHeader) == 22);

WORD PlaceableChecksum(const TPlaceableHeader& h) {
  WORD words[10];
  std::memcpy(words, &h, sizeof words);
  WORD sum = 0;
  for (WORD w : words) sum ^= w;
  return sum;
}

int ScreenPixelsPerInch(int index) {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, index);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

// The size of an enhanced metafile in hundredths of a millimetre: its frame,
// or, when it has none, its bounds on its reference device.
void FrameSize(HENHMETAFILE emf, int& mmWidth, int& mmHeight) {
  ENHMETAHEADER h{};
  if (!GetEnhMetaFileHeader(emf, sizeof h, &h)) InvalidMetafile();
  mmWidth = h.rclFrame.right - h.rclFrame.left;
  mmHeight = h.rclFrame.bottom - h.rclFrame.top;
  if (mmWidth <= 0 && h.szlDevice.cx > 0)
    mmWidth = MulDiv(h.rclBounds.right - h.rclBounds.left, h.szlMillimeters.cx * 100, h.szlDevice.cx);
  if (mmHeight <= 0 && h.szlDevice.cy > 0)
    mmHeight = MulDiv(h.rclBounds.bottom - h.rclBounds.top, h.szlMillimeters.cy * 100, h.szlDevice.cy);
  if (mmWidth < 0) mmWidth = 0;
  if (mmHeight < 0) mmHeight = 0;
}

// The bytes of a WMF that starts at data: its METAHEADER must be sound and
// its recorded size must fit.
size_t WmfSize(const uint8_t* data, size_t size) {
  METAHEADER h;
  if (size < sizeof h) InvalidMetafile();
  std::memcpy(&h, data, sizeof h);
  if ((h.mtType != 1 && h.mtType != 2) || h.mtHeaderSize != sizeof h / 2 ||
      (h.mtVersion != 0x100 && h.mtVersion != 0x300))
    InvalidMetafile();
  uint64_t bytes = uint64_t{h.mtSize} * 2;
  if (bytes < sizeof h || bytes > size) InvalidMetafile();
  return static_cast<size_t>(bytes);
}

}  // namespace

TMetafile::TMetafile() = default;

void TMetafile::Destroy() {
  DeleteHandle();
  inherited::Destroy();
}

void TMetafile::DeleteHandle() {
  if (handle_) DeleteEnhMetaFile(handle_);
  handle_ = nullptr;
}

void TMetafile::Clear() {
  DeleteHandle();
  mmWidth_ = mmHeight_ = 0;
  inch_ = 0;
  Changed(this);
}

void TMetafile::LoadFromStream(TStream* stream) {
  std::vector<uint8_t> data = graphics_detail::ReadToEnd(stream);

  HENHMETAFILE emf = nullptr;
  int mmWidth = 0, mmHeight = 0, inch = 0;
  bool enhanced = false;
  ENHMETAHEADER eh{};
  TPlaceableHeader ph{};
  if (data.size() >= sizeof eh && (std::memcpy(&eh, data.data(), sizeof eh), true) && eh.iType == EMR_HEADER &&
      eh.dSignature == ENHMETA_SIGNATURE) {
    if (eh.nBytes < eh.nSize || eh.nBytes > data.size()) InvalidMetafile();
    emf = SetEnhMetaFileBits(eh.nBytes, data.data());
    if (!emf) InvalidMetafile();
    enhanced = true;
    FrameSize(emf, mmWidth, mmHeight);
  } else if (data.size() >= sizeof ph && (std::memcpy(&ph, data.data(), sizeof ph), ph.Key == kPlaceableKey)) {
    int width = ph.Right - ph.Left, height = ph.Bottom - ph.Top;
    if (ph.Inch == 0 || width <= 0 || height <= 0 || ph.Checksum != PlaceableChecksum(ph)) InvalidMetafile();
    size_t bytes = WmfSize(data.data() + sizeof ph, data.size() - sizeof ph);
    inch = ph.Inch;
    mmWidth = MulDiv(width, kHundredthMMPerInch, inch);
    mmHeight = MulDiv(height, kHundredthMMPerInch, inch);
    METAFILEPICT pict{MM_ANISOTROPIC, mmWidth, mmHeight, nullptr};
    emf = SetWinMetaFileBits(static_cast<UINT>(bytes), data.data() + sizeof ph, nullptr, &pict);
    if (!emf) InvalidMetafile();
  } else {
    size_t bytes = WmfSize(data.data(), data.size());
    emf = SetWinMetaFileBits(static_cast<UINT>(bytes), data.data(), nullptr, nullptr);
    if (!emf) InvalidMetafile();
    FrameSize(emf, mmWidth, mmHeight);
  }
  DeleteHandle();
  handle_ = emf;
  mmWidth_ = mmWidth;
  mmHeight_ = mmHeight;
  inch_ = inch;
  enhanced_ = enhanced;
  Changed(this);
}

void TMetafile::SaveToStream(TStream* stream) {
  if (!handle_) return;
  if (enhanced_) {
    UINT size = GetEnhMetaFileBits(handle_, 0, nullptr);
    std::vector<uint8_t> bits(size);
    if (!size || GetEnhMetaFileBits(handle_, size, bits.data()) != size) InvalidMetafile();
    stream->WriteBuffer(bits.data(), static_cast<int>(size));
    return;
  }
  HDC ref = GetDC(nullptr);
  UINT size = GetWinMetaFileBits(handle_, 0, nullptr, MM_ANISOTROPIC, ref);
  std::vector<uint8_t> bits(size);
  UINT got = size ? GetWinMetaFileBits(handle_, size, bits.data(), MM_ANISOTROPIC, ref) : 0;
  ReleaseDC(nullptr, ref);
  if (!got) InvalidMetafile();
  TPlaceableHeader ph{};
  ph.Key = kPlaceableKey;
  ph.Inch = static_cast<WORD>(inch_ > 0 ? inch_ : 96);
  ph.Right = static_cast<SHORT>(MulDiv(mmWidth_, ph.Inch, kHundredthMMPerInch));
  ph.Bottom = static_cast<SHORT>(MulDiv(mmHeight_, ph.Inch, kHundredthMMPerInch));
  ph.Checksum = PlaceableChecksum(ph);
  stream->WriteBuffer(&ph, sizeof ph);
  stream->WriteBuffer(bits.data(), static_cast<int>(got));
}

void TMetafile::SetHandle(HENHMETAFILE value) {
  if (value == handle_) return;
  int mmWidth = 0, mmHeight = 0;
  if (value) FrameSize(value, mmWidth, mmHeight);
  DeleteHandle();
  handle_ = value;
  mmWidth_ = mmWidth;
  mmHeight_ = mmHeight;
  inch_ = 0;
  Changed(this);
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE h = handle_;
  handle_ = nullptr;
  mmWidth_ = mmHeight_ = 0;
  Changed(this);
  return h;
}

void TMetafile::Assign(TPersistent* source) {
  if (!source) {
    Clear();
    return;
  }
  if (auto* meta = dynamic_cast<TMetafile*>(source)) {
    if (meta == this) return;
    HENHMETAFILE copy = nullptr;
    if (meta->handle_) {
      copy = CopyEnhMetaFileA(meta->handle_, nullptr);
      if (!copy) throw EOutOfResources("Out of system resources");
    }
    DeleteHandle();
    handle_ = copy;
    mmWidth_ = meta->mmWidth_;
    mmHeight_ = meta->mmHeight_;
    inch_ = meta->inch_;
    enhanced_ = meta->enhanced_;
    Changed(this);
    return;
  }
  inherited::Assign(source);
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
  if (!handle_) return;
  PlayEnhMetaFile(canvas->GetHandle(), handle_, &rect);
}

int TMetafile::GetWidth() const { return MulDiv(mmWidth_, ScreenPixelsPerInch(LOGPIXELSX), kHundredthMMPerInch); }
int TMetafile::GetHeight() const { return MulDiv(mmHeight_, ScreenPixelsPerInch(LOGPIXELSY), kHundredthMMPerInch); }

void TMetafile::SetWidth(int value) {
  SetMMWidth(MulDiv(value, kHundredthMMPerInch, ScreenPixelsPerInch(LOGPIXELSX)));
}
void TMetafile::SetHeight(int value) {
  SetMMHeight(MulDiv(value, kHundredthMMPerInch, ScreenPixelsPerInch(LOGPIXELSY)));
}

void TMetafile::SetMMWidth(int value) {
  if (value == mmWidth_) return;
  mmWidth_ = value;
  Changed(this);
}

void TMetafile::SetMMHeight(int value) {
  if (value == mmHeight_) return;
  mmHeight_ = value;
  Changed(this);
}

void TMetafile::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE) {
  if (format != CF_ENHMETAFILE || !data) throw EInvalidGraphic("Unsupported clipboard format");
  HENHMETAFILE copy = CopyEnhMetaFileA(static_cast<HENHMETAFILE>(data), nullptr);
  if (!copy) InvalidMetafile();
  SetHandle(copy);
  enhanced_ = true;
}

void TMetafile::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  format = CF_ENHMETAFILE;
  data = handle_ ? CopyEnhMetaFileA(handle_, nullptr) : nullptr;
  palette = nullptr;
}

void InitializeMetafile() {
  TPicture::RegisterFileFormat("emf", "Enhanced Metafiles", TMetafile::StaticClass());
  TPicture::RegisterFileFormat("wmf", "Metafiles", TMetafile::StaticClass());
  TPicture::RegisterClipboardFormat(CF_ENHMETAFILE, TMetafile::StaticClass());
  RegisterClass(TMetafile::StaticClass());
}

void FinalizeMetafile() { TPicture::UnregisterGraphicClass(TMetafile::StaticClass()); }
