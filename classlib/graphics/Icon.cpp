#include "classlib/graphics/Icon.h"

#include <cstdlib>
#include <cstring>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/Scopes.h"
#include "classlib/graphics/Resources.h"

IMPLEMENT_CLASS(TIcon)

namespace {

#pragma pack(push, 1)
struct TIconDir {
  WORD Reserved;
  WORD Type;  // 1: icon
  WORD Count;
};
struct TIconDirEntry {
  BYTE Width;   // 0 means 256
  BYTE Height;  // 0 means 256
  BYTE ColorCount;
  BYTE Reserved;
  WORD Planes;
  WORD BitCount;
  DWORD BytesInRes;
  DWORD ImageOffset;
};
#pragma pack(pop)

const char kInvalidIcon[] = "Icon image is not valid";

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(kInvalidIcon); }

const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct TIconImage {
  const uint8_t* Bits = nullptr;
  size_t Size = 0;
  int Width = 0;
  int Height = 0;
  int Depth = 0;
};

// Checks one image of the directory: a PNG, or a BITMAPINFOHEADER whose
// colour table, colour bits and mask all lie inside the image's bytes, so
// that Win32 never reads past them.
bool CheckImage(const uint8_t* bits, size_t size, int& depth) {
  if (size >= sizeof kPngSignature && std::memcmp(bits, kPngSignature, sizeof kPngSignature) == 0) {
    depth = 32;
    return true;
  }
  BITMAPINFOHEADER h;
  if (size < sizeof h) return false;
  std::memcpy(&h, bits, sizeof h);
  if (h.biSize < sizeof h || h.biSize > size || h.biWidth <= 0 || h.biWidth > 4096 || h.biHeight <= 0 ||
      h.biHeight > 8192 || h.biPlanes != 1 || h.biCompression != BI_RGB)
    return false;
  switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  uint64_t colors = h.biClrUsed;
  if (colors == 0 && h.biBitCount <= 8) colors = uint64_t{1} << h.biBitCount;
  if (colors > 256) return false;
  uint64_t w = static_cast<uint64_t>(h.biWidth);
  uint64_t rows = static_cast<uint64_t>(h.biHeight) / 2;  // colour rows, then mask rows
  uint64_t colourStride = (w * h.biBitCount + 31) / 32 * 4;
  uint64_t maskStride = (w + 31) / 32 * 4;
  uint64_t needed = h.biSize + colors * 4 + (colourStride + maskStride) * rows;
  if (needed > size) return false;
  depth = h.biBitCount;
  return true;
}

// The image an .ico file shows: the one nearest to the system's icon size,
// the deepest of those. Raises EInvalidGraphic when the data are no icon.
TIconImage ChooseImage(const std::vector<uint8_t>& data) {
  TIconDir dir;
  if (data.size() < sizeof dir) InvalidIcon();
  std::memcpy(&dir, data.data(), sizeof dir);
  if (dir.Reserved != 0 || dir.Type != 1 || dir.Count == 0) InvalidIcon();
  if (sizeof dir + size_t{dir.Count} * sizeof(TIconDirEntry) > data.size()) InvalidIcon();
  int wantW = GetSystemMetrics(SM_CXICON), wantH = GetSystemMetrics(SM_CYICON);
  TIconImage best;
  int bestDistance = 0;
  for (size_t i = 0; i < dir.Count; ++i) {
    TIconDirEntry e;
    std::memcpy(&e, data.data() + sizeof dir + i * sizeof e, sizeof e);
    if (e.ImageOffset > data.size() || e.BytesInRes > data.size() - e.ImageOffset) InvalidIcon();
    TIconImage image;
    image.Bits = data.data() + e.ImageOffset;
    image.Size = e.BytesInRes;
    image.Width = e.Width ? e.Width : 256;
    image.Height = e.Height ? e.Height : 256;
    if (!CheckImage(image.Bits, image.Size, image.Depth)) InvalidIcon();
    int distance = std::abs(image.Width - wantW) + std::abs(image.Height - wantH);
    if (!best.Bits || distance < bestDistance || (distance == bestDistance && image.Depth > best.Depth)) {
      best = image;
      bestDistance = distance;
    }
  }
  return best;
}

HICON CreateIconFromImage(const TIconImage& image) {
  HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(image.Bits), static_cast<DWORD>(image.Size), TRUE,
                                        0x00030000, image.Width, image.Height, LR_DEFAULTCOLOR);
  if (!icon) InvalidIcon();
  return icon;
}

// The bitmaps GetIconInfo hands out belong to the caller.
struct TIconBitmaps {
  ICONINFO Info{};
  explicit TIconBitmaps(HICON icon) {
    if (!GetIconInfo(icon, &Info)) InvalidIcon();
  }
  ~TIconBitmaps() {
    if (Info.hbmColor) DeleteObject(Info.hbmColor);
    if (Info.hbmMask) DeleteObject(Info.hbmMask);
  }
  TIconBitmaps(const TIconBitmaps&) = delete;
  TIconBitmaps& operator=(const TIconBitmaps&) = delete;
};

struct TBitsInfo {
  BITMAPINFOHEADER Header{};
  RGBQUAD Colors[2]{};
};

TBitsInfo MakeBitsInfo(int width, int height, WORD bitCount) {
  TBitsInfo bi;
  bi.Header.biSize = sizeof bi.Header;
  bi.Header.biWidth = width;
  bi.Header.biHeight = height;
  bi.Header.biPlanes = 1;
  bi.Header.biBitCount = bitCount;
  bi.Header.biCompression = BI_RGB;
  bi.Colors[1] = RGBQUAD{255, 255, 255, 0};
  return bi;
}

void Append(std::vector<uint8_t>& out, const void* p, size_t n) {
  const auto* b = static_cast<const uint8_t*>(p);
  out.insert(out.end(), b, b + n);
}

// .ico data of one 32-bit image with its mask, made from a handle.
std::vector<uint8_t> IconToData(HICON icon) {
  TIconBitmaps bitmaps(icon);
  BITMAP mask{};
  if (!GetObjectA(bitmaps.Info.hbmMask, sizeof mask, &mask)) InvalidIcon();
  int w = mask.bmWidth;
  // A monochrome icon has no colour bitmap: its mask is twice as high, the
  // AND mask above the XOR image.
  bool mono = bitmaps.Info.hbmColor == nullptr;
  int h = mono ? mask.bmHeight / 2 : mask.bmHeight;
  if (w <= 0 || h <= 0 || w > 256 || h > 256) InvalidIcon();

  // GetDIBits wants a DC the bitmaps are not selected in.
  TMemoryDC dc(nullptr);
  size_t colourBytes = size_t(w) * 4 * size_t(h);
  size_t maskStride = size_t((w + 31) / 32 * 4);
  std::vector<uint8_t> colour(colourBytes), andMask(maskStride * size_t(mono ? 2 * h : h));
  TBitsInfo maskInfo = MakeBitsInfo(w, mono ? 2 * h : h, 1);
  if (!GetDIBits(dc.Get(), bitmaps.Info.hbmMask, 0, UINT(mono ? 2 * h : h), andMask.data(),
                 reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS))
    InvalidIcon();
  if (mono) {
    // Bottom-up rows: rows 0..h-1 are the XOR image, h..2h-1 the AND mask.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool set = (andMask[size_t(y) * maskStride + size_t(x / 8)] >> (7 - x % 8)) & 1;
        std::memset(&colour[(size_t(y) * size_t(w) + size_t(x)) * 4], set ? 0xFF : 0, 3);
      }
    andMask.erase(andMask.begin(), andMask.begin() + static_cast<ptrdiff_t>(maskStride * size_t(h)));
  } else {
    TBitsInfo colourInfo = MakeBitsInfo(w, h, 32);
    if (!GetDIBits(dc.Get(), bitmaps.Info.hbmColor, 0, UINT(h), colour.data(),
                   reinterpret_cast<BITMAPINFO*>(&colourInfo), DIB_RGB_COLORS))
      InvalidIcon();
  }

  BITMAPINFOHEADER header = MakeBitsInfo(w, 2 * h, 32).Header;
  header.biSizeImage = DWORD(colour.size() + andMask.size());
  TIconDir dir{0, 1, 1};
  TIconDirEntry entry{};
  entry.Width = BYTE(w == 256 ? 0 : w);
  entry.Height = BYTE(h == 256 ? 0 : h);
  entry.Planes = 1;
  entry.BitCount = 32;
  entry.BytesInRes = DWORD(sizeof header + header.biSizeImage);
  entry.ImageOffset = DWORD(sizeof dir + sizeof entry);
  std::vector<uint8_t> out;
  Append(out, &dir, sizeof dir);
  Append(out, &entry, sizeof entry);
  Append(out, &header, sizeof header);
  Append(out, colour.data(), colour.size());
  Append(out, andMask.data(), andMask.size());
  return out;
}

}  // namespace

TIcon::TIcon() = default;

void TIcon::Destroy() {
  DestroyHandle();
  inherited::Destroy();
}

void TIcon::DestroyHandle() {
  if (handle_) DestroyIcon(handle_);
  handle_ = nullptr;
}

void TIcon::SetHandleSize(HICON icon) {
  TIconBitmaps bitmaps(icon);
  BITMAP mask{};
  GetObjectA(bitmaps.Info.hbmMask, sizeof mask, &mask);
  width_ = mask.bmWidth;
  height_ = bitmaps.Info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
}

void TIcon::LoadFromStream(TStream* stream) {
  std::vector<uint8_t> data = graphics_detail::ReadToEnd(stream);
  // Everything is checked and the handle made before the icon changes.
  TIconImage image = ChooseImage(data);
  HICON icon = CreateIconFromImage(image);
  DestroyHandle();
  handle_ = icon;
  width_ = image.Width;
  height_ = image.Height;
  data_ = std::move(data);
  Changed(this);
}

void TIcon::SaveToStream(TStream* stream) {
  if (data_.empty() && handle_) data_ = IconToData(handle_);
  if (!data_.empty()) stream->WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

namespace {
HICON LoadIconImage(HINSTANCE instance, const TResourceName& name) {
  HINSTANCE module = FindResourceHInstance(instance);
  // RT_GROUP_ICON: the icon's directory in the module.
  if (!FindResourceA(module, name.Get(), MAKEINTRESOURCEA(14)))
    throw EResNotFound("Resource " + name.ToString() + " not found");
  HANDLE icon = LoadImageA(module, name.Get(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
  if (!icon) InvalidIcon();
  return static_cast<HICON>(icon);
}
}  // namespace

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
  SetHandle(LoadIconImage(instance, name));
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) { SetHandle(LoadIconImage(instance, id)); }

HICON TIcon::GetHandle() {
  if (!handle_ && !data_.empty()) handle_ = CreateIconFromImage(ChooseImage(data_));
  return handle_;
}

void TIcon::SetHandle(HICON value) {
  if (value == handle_) return;
  if (value) SetHandleSize(value);
  else width_ = height_ = 0;
  DestroyHandle();
  handle_ = value;
  data_.clear();
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON h = handle_;
  handle_ = nullptr;
  // Without data the icon would be empty now: it keeps its size only while it
  // can make the handle again.
  if (data_.empty()) width_ = height_ = 0;
  Changed(this);
  return h;
}

void TIcon::Assign(TPersistent* source) {
  if (!source) {
    DestroyHandle();
    data_.clear();
    width_ = height_ = 0;
    Changed(this);
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(source)) {
    if (icon == this) return;
    HICON copy = nullptr;
    if (icon->data_.empty() && icon->handle_) {
      copy = CopyIcon(icon->handle_);
      if (!copy) throw EOutOfResources("Out of system resources");
    }
    DestroyHandle();
    data_ = icon->data_;
    handle_ = copy;
    width_ = icon->width_;
    height_ = icon->height_;
    Changed(this);
    return;
  }
  inherited::Assign(source);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
  HICON icon = GetHandle();
  if (!icon) return;
  DrawIconEx(canvas->GetHandle(), rect.left, rect.top, icon, rect.right - rect.left, rect.bottom - rect.top, 0,
             nullptr, DI_NORMAL);
}

bool TIcon::GetEmpty() const { return !handle_ && data_.empty(); }
int TIcon::GetWidth() const { return width_; }
int TIcon::GetHeight() const { return height_; }

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of an icon"); }

void TIcon::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {
  throw EInvalidGraphic("Clipboard does not support Icons");
}

void TIcon::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic("Clipboard does not support Icons");
}

void InitializeIcon() {
  TPicture::RegisterFileFormat("ico", "Icons", TIcon::StaticClass());
  RegisterClass(TIcon::StaticClass());
}

void FinalizeIcon() { TPicture::UnregisterGraphicClass(TIcon::StaticClass()); }
