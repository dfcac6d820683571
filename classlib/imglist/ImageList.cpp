#include "classlib/imglist/ImageList.h"

#include <algorithm>
#include <utility>

#include "classlib/Scopes.h"
#include "classlib/classes/Filer.h"
#include "classlib/graphics/Icon.h"

DEFINE_ENUM_TYPE(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
DEFINE_ENUM_TYPE(TImageType, "itImage", "itMask")
DEFINE_ENUM_TYPE(TColorDepth, "cdDeviceDependent", "cd4Bit", "cd8Bit", "cd16Bit", "cd24Bit", "cd32Bit")


namespace {

const char kInvalidImageSize[] = "Invalid image size";
const char kImageIndexError[] = "Invalid ImageList Index";
const char kReplaceImage[] = "Unable to replace image";
const char kInvalidImageList[] = "Invalid ImageList";

// clNone and clDefault have image-list values of their own.
COLORREF GetRGBColor(TColor value) {
  if (value == clNone) return CLR_NONE;
  if (value == clDefault) return CLR_DEFAULT;
  return static_cast<COLORREF>(ColorToRGB(value));
}

TColor GetColor(COLORREF value) {
  if (value == CLR_NONE) return clNone;
  if (value == CLR_DEFAULT) return clDefault;
  return static_cast<TColor>(value);
}

[[noreturn]] void OutOfResources() { throw EOutOfResources("Out of system resources"); }

using TBitmapHandle = TOwnedGdiObject<HBITMAP>;

TBitmapHandle CreateScreenBitmap(int width, int height) {
  TScreenDC screen;
  TBitmapHandle h(CreateCompatibleBitmap(screen.Get(), width, height));
  if (!h) OutOfResources();
  return h;
}

TBitmapHandle CreateMono(int width, int height) {
  TBitmapHandle h(CreateBitmap(width, height, 1, 1, nullptr));
  if (!h) OutOfResources();
  return h;
}

// A monochrome copy of what `source` shows: pixels of colour `key` become 1
// (transparent), all others 0.
TBitmapHandle MonoFrom(HDC source, int width, int height, COLORREF key) {
  TBitmapHandle mono = CreateMono(width, height);
  TMemoryDC dc(mono.get());
  COLORREF oldBk = SetBkColor(source, key);
  BitBlt(dc.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  SetBkColor(source, oldBk);
  return mono;
}

// What the list gets for one Add or Replace. The list selects the bitmaps it
// is given into DCs of its own, which fails for a bitmap that a canvas holds
// selected, and masking blackens the image; so it always gets private copies,
// made through the canvases, and the caller's bitmaps stay as they were.
struct TImagePair {
  TBitmapHandle Image;
  TBitmapHandle Mask;
};

// The mask comes from `mask` (white: transparent) or, without one, from the
// key colour unless it is CLR_NONE. Transparent pixels of the copy are made
// black, so that the list's masked drawing (AND the mask, OR the image)
// leaves them out.
TImagePair MakePair(TBitmap* image, TBitmap* mask, COLORREF key) {
  int w = image->GetWidth(), h = image->GetHeight();
  TImagePair pair{CreateScreenBitmap(w, h), nullptr};
  TMemoryDC colour(pair.Image.get());
  BitBlt(colour.Get(), 0, 0, w, h, CanvasDC(image->GetCanvas()), 0, 0, SRCCOPY);
  if (mask) pair.Mask = MonoFrom(CanvasDC(mask->GetCanvas()), w, h, RGB(255, 255, 255));
  else if (key != CLR_NONE) pair.Mask = MonoFrom(colour.Get(), w, h, key);
  if (pair.Mask.get()) {
    TMemoryDC monoDC(pair.Mask.get());
    // Mono to colour: 1 becomes the background colour (white), 0 the text
    // colour (black); "D and not S" then clears the transparent pixels.
    COLORREF oldText = SetTextColor(colour.Get(), RGB(0, 0, 0));
    COLORREF oldBk = SetBkColor(colour.Get(), RGB(255, 255, 255));
    BitBlt(colour.Get(), 0, 0, w, h, monoDC.Get(), 0, 0, 0x00220326 /* DSna */);
    SetTextColor(colour.Get(), oldText);
    SetBkColor(colour.Get(), oldBk);
  }
  return pair;
}

// The colour AddMasked and ReplaceMasked leave out: none when the list is
// not masked or the colour is -1 or clNone; for clDefault the image's
// bottom-left pixel, a bitmap's automatic transparent colour.
COLORREF MaskKey(TBitmap* image, TColor maskColor, bool masked) {
  if (!masked || maskColor == -1 || maskColor == clNone) return CLR_NONE;
  if (maskColor == clDefault) return GetPixel(CanvasDC(image->GetCanvas()), 0, image->GetHeight() - 1);
  return static_cast<COLORREF>(ColorToRGB(maskColor));
}

UINT ColorDepthFlag(TColorDepth depth) {
  switch (depth) {
    case cd4Bit: return ILC_COLOR4;
    case cd8Bit: return ILC_COLOR8;
    case cd16Bit: return ILC_COLOR16;
    case cd24Bit: return ILC_COLOR24;
    case cd32Bit: return ILC_COLOR32;
    case cdDeviceDependent: break;
  }
  return ILC_COLORDDB;
}

const UINT kDrawingStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
const UINT kImageTypes[] = {0, ILD_MASK};

}  // namespace

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TChangeLink)

void TChangeLink::Change() {
  if (onChange_) onChange_(sender_);
}

void TChangeLink::Destroy() {
  if (sender_) sender_->UnRegisterChanges(this);
  inherited::Destroy();
}

// ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomImageList)

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) { CreateImageList(); }

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(width), height_(height) {
  CreateImageList();
}

void TCustomImageList::Destroy() {
  while (!clients_.empty()) UnRegisterChanges(clients_.back());
  FreeHandle();
  inherited::Destroy();
}

void TCustomImageList::CreateImageList() {
  UINT flags = ColorDepthFlag(colorDepth_) | (masked_ ? ILC_MASK : 0);
  handle_ = ImageList_Create(width_, height_, flags, allocBy_, allocBy_);
  if (!handle_) throw EInvalidOperation(kInvalidImageList);
}

void TCustomImageList::FreeHandle() {
  if (handle_ && !shareImages_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

void TCustomImageList::HandleNeeded() {
  if (!handle_) CreateImageList();
}

HIMAGELIST TCustomImageList::GetHandle() {
  HandleNeeded();
  return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST value) {
  if (value == handle_) return;
  FreeHandle();
  handle_ = value;
  if (value) {
    int w = 0, h = 0;
    ImageList_GetIconSize(value, &w, &h);
    width_ = w;
    height_ = h;
  }
  Change();
}

int TCustomImageList::GetCount() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TCustomImageList::CheckImage(TBitmap* image) const {
  if (image && (image->GetWidth() < width_ || image->GetHeight() < height_))
    throw EInvalidOperation(kInvalidImageSize);
}

void TCustomImageList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) throw EInvalidOperation(kImageIndexError);
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image) return -1;
  CheckImage(image);
  HandleNeeded();
  TImagePair pair = MakePair(image, masked_ ? mask : nullptr, CLR_NONE);
  int result = ImageList_Add(handle_, pair.Image.get(), pair.Mask.get());
  Change();
  return result;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image) return -1;
  CheckImage(image);
  HandleNeeded();
  TImagePair pair = MakePair(image, nullptr, MaskKey(image, maskColor, masked_));
  int result = ImageList_Add(handle_, pair.Image.get(), pair.Mask.get());
  Change();
  return result;
}

int TCustomImageList::AddIcon(TIcon* image) {
  if (!image) return -1;
  HandleNeeded();
  int result = ImageList_AddIcon(handle_, image->GetHandle());
  Change();
  return result;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
  CheckIndex(index);
  if (!image) throw EInvalidOperation(kReplaceImage);
  CheckImage(image);
  TImagePair pair = MakePair(image, masked_ ? mask : nullptr, CLR_NONE);
  if (!ImageList_Replace(handle_, index, pair.Image.get(), pair.Mask.get())) throw EInvalidOperation(kReplaceImage);
  Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* newImage, TColor maskColor) {
  CheckIndex(index);
  if (!newImage) throw EInvalidOperation(kReplaceImage);
  CheckImage(newImage);
  TImagePair pair = MakePair(newImage, nullptr, MaskKey(newImage, maskColor, masked_));
  if (!ImageList_Replace(handle_, index, pair.Image.get(), pair.Mask.get())) throw EInvalidOperation(kReplaceImage);
  Change();
}

void TCustomImageList::ReplaceIcon(int index, TIcon* image) {
  CheckIndex(index);
  if (!image || ImageList_ReplaceIcon(handle_, index, image->GetHandle()) == -1)
    throw EInvalidOperation(kReplaceImage);
  Change();
}

void TCustomImageList::Delete(int index) {
  if (index < -1 || index >= GetCount()) throw EInvalidOperation(kImageIndexError);
  if (handle_) ImageList_Remove(handle_, index);
  Change();
}

void TCustomImageList::Clear() { Delete(-1); }

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  Draw(canvas, x, y, index, drawingStyle_, imageType_, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle drawingStyle,
                            TImageType imageType, bool enabled) {
  if (!handle_) return;
  DoDraw(index, canvas, x, y, kDrawingStyles[drawingStyle] | kImageTypes[imageType], enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* canvas, int x, int y, int imageIndex, TOverlay overlay, bool enabled) {
  DrawOverlay(canvas, x, y, imageIndex, overlay, drawingStyle_, imageType_, enabled);
}

void TCustomImageList::DrawOverlay(TCanvas* canvas, int x, int y, int imageIndex, TOverlay overlay,
                                   TDrawingStyle drawingStyle, TImageType imageType, bool enabled) {
  if (!handle_ || overlay < 0 || overlay > 3) return;
  UINT style = kDrawingStyles[drawingStyle] | kImageTypes[imageType] | INDEXTOOVERLAYMASK(overlay + 1);
  DoDraw(imageIndex, canvas, x, y, style, enabled);
}

bool TCustomImageList::Overlay(int imageIndex, TOverlay overlay) {
  if (!handle_ || overlay < 0 || overlay > 3) return false;
  return ImageList_SetOverlayImage(handle_, imageIndex, overlay + 1) != FALSE;
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled) {
  HDC dc = canvas->GetHandle();
  if (enabled) {
    ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, GetRGBColor(GetBkColor()), GetRGBColor(blendColor_), style);
    return;
  }
  // Disabled: the image drawn into a monochrome bitmap gives its shape (the
  // bitmap's white background and the image's white pixels stay 1, the rest
  // becomes 0); the shape is then painted with a brush where it is 0, once in
  // the highlight colour one pixel down and right, once in the shadow colour.
  TBitmapHandle mono = CreateMono(width_, height_);
  TMemoryDC monoDC(mono.get());
  PatBlt(monoDC.Get(), 0, 0, width_, height_, WHITENESS);
  ImageList_DrawEx(handle_, index, monoDC.Get(), 0, 0, 0, 0, CLR_DEFAULT, 0, ILD_NORMAL);

  // The brushes outlive the DC state that selects them.
  TOwnedGdiObject<HBRUSH> highlight(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnHighlight))));
  TOwnedGdiObject<HBRUSH> shadow(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(clBtnShadow))));
  TSavedDC saved(dc);
  SetTextColor(dc, RGB(255, 255, 255));
  ::SetBkColor(dc, RGB(0, 0, 0));
  SelectObject(dc, highlight.get());
  // DSPDxax: where the source is white (after mono-to-colour: the shape) the
  // brush, elsewhere the destination.
  const DWORD kDSPDxax = 0x00E20746;
  BitBlt(dc, x + 1, y + 1, width_, height_, monoDC.Get(), 0, 0, kDSPDxax);
  SelectObject(dc, shadow.get());
  BitBlt(dc, x, y, width_, height_, monoDC.Get(), 0, 0, kDSPDxax);
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) {
  if (!image || !handle_) return false;
  image->SetHeight(height_);
  image->SetWidth(width_);
  Draw(image->GetCanvas(), 0, 0, index);
  return true;
}

void TCustomImageList::GetIcon(int index, TIcon* image) {
  if (!image || !handle_) return;
  CheckIndex(index);
  HICON icon = ImageList_GetIcon(handle_, index, ILD_NORMAL);
  if (!icon) throw EInvalidOperation(kImageIndexError);
  image->SetHandle(icon);
}

void TCustomImageList::RegisterChanges(TChangeLink* value) {
  if (!value) return;
  value->SetSender(this);
  if (std::find(clients_.begin(), clients_.end(), value) == clients_.end()) clients_.push_back(value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* value) {
  auto it = std::find(clients_.begin(), clients_.end(), value);
  if (it == clients_.end()) return;
  (*it)->SetSender(nullptr);
  clients_.erase(it);
}

void TCustomImageList::Change() {
  // A link may unregister itself while it is told: walk a copy.
  std::vector<TChangeLink*> links = clients_;
  for (TChangeLink* link : links)
    if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->Change();
  if (onChange_) onChange_(this);
}

TColor TCustomImageList::GetBkColor() const { return handle_ ? GetColor(ImageList_GetBkColor(handle_)) : clNone; }

void TCustomImageList::SetBkColor(TColor value) {
  HandleNeeded();
  ImageList_SetBkColor(handle_, GetRGBColor(value));
  Change();
}

void TCustomImageList::SetColorDepth(TColorDepth value) {
  if (value == colorDepth_) return;
  colorDepth_ = value;
  FreeHandle();
  CreateImageList();
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle value) {
  if (value == drawingStyle_) return;
  drawingStyle_ = value;
  Change();
}

void TCustomImageList::SetImageType(TImageType value) {
  if (value == imageType_) return;
  imageType_ = value;
  Change();
}

void TCustomImageList::SetWidth(int value) {
  if (value == width_) return;
  if (value < 1) throw EInvalidOperation(kInvalidImageSize);
  width_ = value;
  // Setting the size removes every image.
  if (handle_) ImageList_SetIconSize(handle_, width_, height_);
  Change();
}

void TCustomImageList::SetHeight(int value) {
  if (value == height_) return;
  if (value < 1) throw EInvalidOperation(kInvalidImageSize);
  height_ = value;
  if (handle_) ImageList_SetIconSize(handle_, width_, height_);
  Change();
}

void TCustomImageList::SetMasked(bool value) {
  if (value == masked_) return;
  masked_ = value;
  COLORREF bk = handle_ ? ImageList_GetBkColor(handle_) : CLR_NONE;
  FreeHandle();
  CreateImageList();
  ImageList_SetBkColor(handle_, bk);
  Change();
}

void TCustomImageList::Assign(TPersistent* source) {
  if (!source) {
    Clear();
    return;
  }
  auto* list = dynamic_cast<TCustomImageList*>(source);
  if (!list) {
    inherited::Assign(source);
    return;
  }
  if (list == this) return;
  HIMAGELIST copy = list->handle_ ? ImageList_Duplicate(list->handle_) : nullptr;
  if (list->handle_ && !copy) throw EInvalidOperation(kInvalidImageList);
  FreeHandle();
  // The copy belongs to this list.
  shareImages_ = false;
  masked_ = list->masked_;
  colorDepth_ = list->colorDepth_;
  imageType_ = list->imageType_;
  drawingStyle_ = list->drawingStyle_;
  blendColor_ = list->blendColor_;
  allocBy_ = list->allocBy_;
  width_ = list->width_;
  height_ = list->height_;
  handle_ = copy;
  HandleNeeded();
  Change();
}

namespace {
std::vector<uint8_t> StoredBytes(TCustomImageList* list) {
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  list->WriteData(s.get());
  auto* p = static_cast<const uint8_t*>(s->GetMemory());
  return std::vector<uint8_t>(p, p + s->GetSize());
}
}  // namespace

void TCustomImageList::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Written when there are images, or, below an ancestor, when they differ
  // from the ancestor's.
  bool hasData = GetCount() > 0;
  if (auto* ancestor = dynamic_cast<TCustomImageList*>(filer->GetAncestor()))
    hasData = StoredBytes(ancestor) != StoredBytes(this);
  filer->DefineBinaryProperty(
      "Bitmap", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, hasData);
}

namespace {
// A COM stream over movable memory, released with its memory.
class THGlobalStream {
 public:
  explicit THGlobalStream(HGLOBAL memory) {
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream_))) {
      if (memory) GlobalFree(memory);
      throw EOutOfMemory("Out of memory");
    }
  }
  ~THGlobalStream() { stream_->Release(); }
  THGlobalStream(const THGlobalStream&) = delete;
  THGlobalStream& operator=(const THGlobalStream&) = delete;
  IStream* Get() const { return stream_; }

 private:
  IStream* stream_ = nullptr;
};
}  // namespace

// The stored "Bitmap" data are the image list's own stream format
// (ImageList_Write), which keeps images, masks, size and background colour.
void TCustomImageList::ReadData(TStream* stream) {
  int64_t size = stream->GetSize() - stream->GetPosition();
  if (size <= 0 || size > INT32_MAX) throw EReadError("Failed to read ImageList data from stream");
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size));
  if (!memory) throw EOutOfMemory("Out of memory");
  void* p = GlobalLock(memory);
  try {
    stream->ReadBuffer(p, static_cast<int>(size));
  } catch (...) {
    GlobalUnlock(memory);
    GlobalFree(memory);
    throw;
  }
  GlobalUnlock(memory);
  THGlobalStream source(memory);
  HIMAGELIST list = ImageList_Read(source.Get());
  if (!list) throw EReadError("Failed to read ImageList data from stream");
  SetHandle(list);
}

void TCustomImageList::WriteData(TStream* stream) {
  HandleNeeded();
  THGlobalStream target(nullptr);
  HGLOBAL memory = nullptr;
  STATSTG stat{};
  if (!ImageList_Write(handle_, target.Get()) || FAILED(GetHGlobalFromStream(target.Get(), &memory)) ||
      FAILED(target.Get()->Stat(&stat, STATFLAG_NONAME)))
    throw EWriteError("Failed to write ImageList data to stream");
  const void* p = GlobalLock(memory);
  try {
    stream->WriteBuffer(p, static_cast<int>(stat.cbSize.QuadPart));
  } catch (...) {
    GlobalUnlock(memory);
    throw;
  }
  GlobalUnlock(memory);
}

// ---------------------------------------------------------------------------

PUBLISHED(TImageList) {
  p.Prop("AllocBy", &TImageList::GetAllocBy, &TImageList::SetAllocBy).Default(4);
  p.Prop("BlendColor", &TImageList::GetBlendColor, &TImageList::SetBlendColor).Default(clNone).Type(TColorTypeInfo());
  p.Prop("BkColor", &TImageList::GetBkColor, &TImageList::SetBkColor).Default(clNone).Type(TColorTypeInfo());
  p.Prop("ColorDepth", &TImageList::GetColorDepth, &TImageList::SetColorDepth).Default(cdDeviceDependent);
  p.Prop("DrawingStyle", &TImageList::GetDrawingStyle, &TImageList::SetDrawingStyle).Default(dsNormal);
  p.Prop("Height", &TImageList::GetHeight, &TImageList::SetHeight).Default(16);
  p.Prop("ImageType", &TImageList::GetImageType, &TImageList::SetImageType).Default(itImage);
  p.Prop("Masked", &TImageList::GetMasked, &TImageList::SetMasked).Default(true);
  p.Prop("OnChange", &TImageList::GetOnChange, &TImageList::SetOnChange);
  p.Prop("ShareImages", &TImageList::GetShareImages, &TImageList::SetShareImages).Default(false);
  p.Prop("Width", &TImageList::GetWidth, &TImageList::SetWidth).Default(16);
}

void InitializeImgList() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterClass(TImageList::StaticClass());
}
