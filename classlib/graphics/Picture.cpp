#include "classlib/graphics/Picture.h"

#include <vector>

#include "classlib/graphics/Bitmap.h"

namespace {

struct TFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
  TGraphicClass GraphicClass;
};
struct TClipboardFormat {
  WORD Format;
  TGraphicClass GraphicClass;
};

// The registries, newest last; lookups run from the newest, so a library may
// take over an extension the class library registered.
std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> list;
  return list;
}
std::vector<TClipboardFormat>& ClipboardFormats() {
  static std::vector<TClipboardFormat> list;
  return list;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The extension of a path without its dot ("" when there is none).
std::string ExtensionOf(const std::string& fileName) {
  size_t i = fileName.find_last_of(".\\/:");
  if (i == std::string::npos || fileName[i] != '.') return {};
  return fileName.substr(i + 1);
}

TGraphic* NewGraphic(TGraphicClass cls) { return CreateAs<TGraphic>(cls); }

}  // namespace

IMPLEMENT_CLASS(TPicture)

TGraphicClass FindGraphicClassByExtension(const std::string& extension) {
  std::string ext = Lower(extension);
  auto& list = FileFormats();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (it->Extension == ext) return it->GraphicClass;
  return nullptr;
}

TGraphicClass FindGraphicClassByName(const std::string& name) {
  for (auto& f : FileFormats())
    if (f.GraphicClass->ClassNameIs(name)) return f.GraphicClass;
  for (auto& f : ClipboardFormats())
    if (f.GraphicClass->ClassNameIs(name)) return f.GraphicClass;
  TClass cls = GetClass(name);
  return IsGraphicClass(cls) ? cls : nullptr;
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicClass graphicClass) {
  if (!IsGraphicClass(graphicClass)) throw EInvalidGraphicOperation("Not a graphic class");
  FileFormats().push_back(TFileFormat{Lower(extension), description, graphicClass});
}

void TPicture::RegisterClipboardFormat(WORD format, TGraphicClass graphicClass) {
  if (!IsGraphicClass(graphicClass)) throw EInvalidGraphicOperation("Not a graphic class");
  ClipboardFormats().push_back(TClipboardFormat{format, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass) {
  std::erase_if(FileFormats(), [&](const TFileFormat& f) { return f.GraphicClass->InheritsFrom(graphicClass); });
  std::erase_if(ClipboardFormats(),
                [&](const TClipboardFormat& f) { return f.GraphicClass->InheritsFrom(graphicClass); });
}

bool TPicture::SupportsClipboardFormat(WORD format) {
  for (auto& f : ClipboardFormats())
    if (f.Format == format) return true;
  return false;
}

std::string GraphicFileMask(TGraphicClass graphicClass) {
  std::string masks;
  auto& list = FileFormats();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (!it->GraphicClass->InheritsFrom(graphicClass) || it->Extension.empty()) continue;
    if (!masks.empty()) masks += ';';
    masks += "*." + it->Extension;
  }
  return masks;
}

std::string GraphicFilter(TGraphicClass graphicClass) {
  std::string descriptions;
  int count = 0;
  auto& list = FileFormats();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if (!it->GraphicClass->InheritsFrom(graphicClass) || it->Extension.empty()) continue;
    if (count++) descriptions += '|';
    descriptions += it->Description + " (*." + it->Extension + ")|*." + it->Extension;
  }
  if (count > 1) {
    std::string masks = GraphicFileMask(graphicClass);
    descriptions = "All (" + masks + ")|" + masks + "|" + descriptions;
  }
  return descriptions;
}

std::string GraphicExtension(TGraphicClass graphicClass) {
  auto& list = FileFormats();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (it->GraphicClass == graphicClass) return it->Extension;
  return {};
}

// ---------------------------------------------------------------------------

void TPicture::Destroy() {
  FreeAndNil(graphic_);
  inherited::Destroy();
}

void TPicture::Changed(TObject*) {
  if (onChange_) onChange_(this);
}

void TPicture::Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                        const std::string& msg) {
  if (onProgress_) onProgress_(sender, stage, percentDone, redrawNow, r, msg);
}

void TPicture::TakeGraphic(TGraphic* graphic) {
  TGraphic* old = graphic_;
  graphic_ = graphic;
  if (graphic_) {
    graphic_->SetOnChange(TNotifyEvent(this, &TPicture::Changed));
    graphic_->SetOnProgress(TProgressEvent(this, &TPicture::Progress));
  }
  FreeObject(old);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == graphic_ && value) return;
  TGraphic* fresh = nullptr;
  if (value) {
    fresh = NewGraphic(value->ClassType());
    try {
      fresh->Assign(value);
    } catch (...) {
      fresh->Free();
      throw;
    }
  }
  TakeGraphic(fresh);
}

void TPicture::ForceType(TGraphicClass graphicType) {
  if (graphic_ && graphic_->InheritsFrom(graphicType)) return;
  TakeGraphic(NewGraphic(graphicType));
}

TBitmap* TPicture::GetBitmap() {
  ForceType(TBitmap::StaticClass());
  return static_cast<TBitmap*>(graphic_);
}

void TPicture::SetBitmap(TBitmap* value) { SetGraphic(value); }

int TPicture::GetWidth() const { return graphic_ ? graphic_->GetWidth() : 0; }
int TPicture::GetHeight() const { return graphic_ ? graphic_->GetHeight() : 0; }

void TPicture::LoadFromFile(const std::string& fileName) {
  std::string ext = ExtensionOf(fileName);
  TGraphicClass cls = FindGraphicClassByExtension(ext);
  if (!cls) throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
  TGraphic* fresh = NewGraphic(cls);
  try {
    fresh->SetOnProgress(TProgressEvent(this, &TPicture::Progress));
    fresh->LoadFromFile(fileName);
  } catch (...) {
    fresh->Free();
    throw;
  }
  TakeGraphic(fresh);
}

void TPicture::SaveToFile(const std::string& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) {
  TGraphicClass cls = nullptr;
  auto& list = ClipboardFormats();
  for (auto it = list.rbegin(); it != list.rend() && !cls; ++it)
    if (it->Format == format) cls = it->GraphicClass;
  if (!cls) throw EInvalidGraphic("Unsupported clipboard format");
  TGraphic* fresh = NewGraphic(cls);
  try {
    fresh->LoadFromClipboardFormat(format, data, palette);
  } catch (...) {
    fresh->Free();
    throw;
  }
  TakeGraphic(fresh);
}

void TPicture::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  if (graphic_) graphic_->SaveToClipboardFormat(format, data, palette);
}

void TPicture::Assign(TPersistent* source) {
  if (!source) SetGraphic(nullptr);
  else if (auto* p = dynamic_cast<TPicture*>(source)) SetGraphic(p->graphic_);
  else if (auto* g = dynamic_cast<TGraphic*>(source)) SetGraphic(g);
  else inherited::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) {
  if (graphic_ && dynamic_cast<TGraphic*>(dest)) {
    dest->Assign(graphic_);
    return;
  }
  inherited::AssignTo(dest);
}
