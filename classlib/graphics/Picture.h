// TPicture: holds any graphic, chooses the graphic class by file extension
// when loading a file, forwards its graphic's OnChange, and stores the graphic
// in forms as "Data" (the class name, then the graphic's own data).
//
// The file-format registry is shared by every library: the class library
// registers "bmp" (and its icon, metafile and JPEG units their extensions);
// other libraries add their own graphic classes the same way.
#pragma once

#include <string>

#include "classlib/classes/Persistent.h"
#include "classlib/graphics/Graphic.h"

class TBitmap;

class TPicture : public TPersistent {
  DECLARE_CLASS(TPicture, TPersistent)

  TPicture() = default;

  // The held graphic (may be null); setting copies it into a new graphic of
  // the same class.
  TGraphic* GetGraphic() const { return graphic_; }
  void SetGraphic(TGraphic* value);
  // The graphic as a TBitmap, replacing any other kind by an empty bitmap.
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* value);
  // Replaces the graphic by an empty one of the class unless it is one.
  void ForceType(TGraphicClass graphicType);

  int GetWidth() const;
  int GetHeight() const;

  // The class is the one registered for the file's extension; an unknown
  // extension raises EInvalidGraphic "Unknown picture file extension (.ext)".
  // The picture is unchanged when loading fails.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette);
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette);
  static bool SupportsClipboardFormat(WORD format);

  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;
  // The stored "Data": a length byte and the class name, then the graphic's
  // ReadData/WriteData.
  void ReadData(TStream* stream);
  void WriteData(TStream* stream);

  static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                 TGraphicClass graphicClass);
  static void RegisterClipboardFormat(WORD format, TGraphicClass graphicClass);
  // Removes every file and clipboard format of the class and its descendants.
  static void UnregisterGraphicClass(TGraphicClass graphicClass);

  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& e) { onChange_ = e; }
  const TProgressEvent& GetOnProgress() const { return onProgress_; }
  void SetOnProgress(const TProgressEvent& e) { onProgress_ = e; }

  virtual void Changed(TObject* sender);

 protected:
  void Destroy() override;
  void AssignTo(TPersistent* dest) override;

 private:
  void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& r,
                const std::string& msg);
  void TakeGraphic(TGraphic* graphic);

  TGraphic* graphic_ = nullptr;
  TNotifyEvent onChange_;
  TProgressEvent onProgress_;
};

// The open-dialog filter of the registered formats whose class inherits from
// graphicClass: "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|...".
std::string GraphicFilter(TGraphicClass graphicClass);
// The extension registered for exactly that class ("bmp"), or "".
std::string GraphicExtension(TGraphicClass graphicClass);
// The masks of GraphicFilter alone: "*.bmp;*.ico".
std::string GraphicFileMask(TGraphicClass graphicClass);
// The class registered for an extension (without the dot), or null.
TGraphicClass FindGraphicClassByExtension(const std::string& extension);
// A graphic class by name: the registered formats first, then the class
// registry (for graphic classes registered only with RegisterClass).
TGraphicClass FindGraphicClassByName(const std::string& name);
