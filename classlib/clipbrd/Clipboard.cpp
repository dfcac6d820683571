#include "classlib/clipbrd/Clipboard.h"

#include <cstring>

#include "classlib/graphics/Bitmap.h"
#include "classlib/graphics/Picture.h"

IMPLEMENT_CLASS(TClipboard)

namespace {
TClipboard*& TheClipboard() {
  static TClipboard* clipboard = nullptr;
  return clipboard;
}
}  // namespace

TClipboard* Clipboard() {
  TClipboard*& c = TheClipboard();
  if (!c) c = New<TClipboard>();
  return c;
}

TClipboard* SetClipboard(TClipboard* newClipboard) {
  TClipboard* old = TheClipboard();
  TheClipboard() = newClipboard;
  return old;
}

void FreeClipboard() { FreeAndNil(TheClipboard()); }

TClipboard::~TClipboard() {
  if (window_) DestroyWindow(window_);
}

void TClipboard::Destroy() {
  while (openRefCount_ > 0) Close();
  inherited::Destroy();
}

void TClipboard::Open() {
  if (openRefCount_ == 0) {
    window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    if (!window_ || !OpenClipboard(window_)) {
      if (window_) DestroyWindow(window_);
      window_ = nullptr;
      throw Exception("Cannot open clipboard");
    }
    emptied_ = false;
  }
  ++openRefCount_;
}

void TClipboard::Close() {
  if (openRefCount_ == 0) return;
  if (--openRefCount_ == 0) {
    CloseClipboard();
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  Close();
}

void TClipboard::Adding() {
  if (openRefCount_ != 0 && !emptied_) {
    EmptyClipboard();
    emptied_ = true;
  }
}

bool TClipboard::HasFormat(WORD format) { return IsClipboardFormatAvailable(format) != 0; }

int TClipboard::GetFormatCount() { return CountClipboardFormats(); }

WORD TClipboard::GetFormats(int index) {
  Open();
  UINT format = 0;
  while ((format = EnumClipboardFormats(format)) != 0 && index > 0) --index;
  Close();
  return static_cast<WORD>(format);
}

HANDLE TClipboard::GetAsHandle(WORD format) {
  Open();
  HANDLE h = GetClipboardData(format);
  Close();
  return h;
}

void TClipboard::SetAsHandle(WORD format, HANDLE value) {
  Open();
  try {
    Adding();
    SetClipboardData(format, value);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::SetBuffer(WORD format, const void* buffer, int size) {
  Open();
  HGLOBAL data = nullptr;
  try {
    data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(size));
    if (!data) throw EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(data), buffer, static_cast<size_t>(size));
    GlobalUnlock(data);
    Adding();
    if (!SetClipboardData(format, data)) throw Exception("Cannot set clipboard data");
  } catch (...) {
    if (data) GlobalFree(data);
    Close();
    throw;
  }
  Close();
}

std::string TClipboard::GetAsText() {
  Open();
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    // The block may be larger than the text; it ends at its NUL or its size.
    const char* p = static_cast<const char*>(GlobalLock(data));
    if (p) {
      text.assign(p, strnlen(p, GlobalSize(data)));
      GlobalUnlock(data);
    }
  }
  Close();
  return text;
}

void TClipboard::SetAsText(const std::string& value) {
  SetBuffer(CF_TEXT, value.c_str(), static_cast<int>(value.size() + 1));
}

void TClipboard::Assign(TPersistent* source) {
  TGraphic* graphic = nullptr;
  if (auto* p = dynamic_cast<TPicture*>(source)) graphic = p->GetGraphic();
  else graphic = dynamic_cast<TGraphic*>(source);
  if (!graphic) {
    inherited::Assign(source);
    return;
  }
  Open();
  try {
    Adding();
    WORD format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    graphic->SaveToClipboardFormat(format, data, palette);
    if (data) SetClipboardData(format, data);
    if (palette) SetClipboardData(CF_PALETTE, palette);
  } catch (...) {
    Close();
    throw;
  }
  Close();
}

void TClipboard::AssignTo(TPersistent* dest) {
  if (auto* picture = dynamic_cast<TPicture*>(dest)) {
    Open();
    try {
      for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!TPicture::SupportsClipboardFormat(static_cast<WORD>(format))) continue;
        picture->LoadFromClipboardFormat(static_cast<WORD>(format), GetClipboardData(format),
                                         static_cast<HPALETTE>(GetClipboardData(CF_PALETTE)));
        Close();
        return;
      }
    } catch (...) {
      Close();
      throw;
    }
    Close();
    throw Exception("Invalid clipboard format");
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    Open();
    try {
      bitmap->LoadFromClipboardFormat(CF_BITMAP, GetClipboardData(CF_BITMAP),
                                      static_cast<HPALETTE>(GetClipboardData(CF_PALETTE)));
    } catch (...) {
      Close();
      throw;
    }
    Close();
    return;
  }
  inherited::AssignTo(dest);
}
