// TGraphic: the abstract picture (bitmap, icon, metafile, JPEG, and the
// graphic classes of other libraries), drawn through a canvas, loaded and
// saved through streams, files and the clipboard, and stored in forms as the
// binary "Data" property.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Types.h"
#include "classlib/Win.h"
#include "classlib/classes/Persistent.h"

class TCanvas;
class TStream;
class TFiler;

DECLARE_EXCEPTION(EInvalidGraphic, Exception);
DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

enum TProgressStage { psStarting, psRunning, psEnding };
DECLARE_ENUM_TYPE(TProgressStage);
using TProgressEvent = TClosure<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone,
                                     bool RedrawNow, const TRect& R, const std::string& Msg)>;

// A class reference to a TGraphic descendant.
using TGraphicClass = TClass;

class TGraphic : public TPersistent {
  DECLARE_CLASS(TGraphic, TPersistent)

  TGraphic() = default;

  // The overridable members are public: canvases, pictures and the graphic
  // classes of other libraries call them as the platform's units do.
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
  virtual bool GetEmpty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  virtual HPALETTE GetPalette();
  virtual void SetPalette(HPALETTE value);
  virtual bool GetTransparent() const { return transparent_; }
  // Fires Changed when the value changes.
  virtual void SetTransparent(bool value);

  virtual void LoadFromStream(TStream* stream) = 0;
  virtual void SaveToStream(TStream* stream) = 0;
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName);
  virtual void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) = 0;
  virtual void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) = 0;
  // The stored-form "Data" property: by default the stream format itself.
  virtual void ReadData(TStream* stream);
  virtual void WriteData(TStream* stream);
  // Same saved bytes (the stored-form writer compares with the ancestor).
  virtual bool Equals(TGraphic* graphic);

  // Sets Modified and fires OnChange.
  virtual void Changed(TObject* sender);
  // Reports progress of a long load (OnProgress).
  virtual void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                        const TRect& r, const std::string& msg);

  void DefineProperties(TFiler* filer) override;
  // Any other TGraphic that cannot take this one draws it into a TBitmap.
  void AssignTo(TPersistent* dest) override;

  bool GetModified() const { return modified_; }
  void SetModified(bool value);
  bool GetPaletteModified() const { return paletteModified_; }
  void SetPaletteModified(bool value) { paletteModified_ = value; }

  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
  const TProgressEvent& GetOnProgress() const { return onProgress_; }
  void SetOnProgress(const TProgressEvent& e) { onProgress_ = e; }

 private:
  TNotifyEvent onChange_;
  TProgressEvent onProgress_;
  bool modified_ = false;
  bool transparent_ = false;
  bool paletteModified_ = false;
};

// True when cls is TGraphic or a descendant.
bool IsGraphicClass(TClass cls);

namespace graphics_detail {
// The bytes from the stream's position to its end: what the graphics whose
// data run to the end of their stream (icons, metafiles, JPEG) read.
std::vector<uint8_t> ReadToEnd(TStream* stream);
// The stored "Data" of bitmaps and JPEG images: a 32-bit count, then that
// many bytes. False, with nothing read past the count, when the count does
// not fit the stream.
bool ReadCountedBytes(TStream* stream, std::vector<uint8_t>& bytes);
}  // namespace graphics_detail
