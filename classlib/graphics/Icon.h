// TIcon: an icon graphic over a Win32 HICON, read from and written as .ico
// data.
//
// The icon keeps the .ico data it was loaded from, so that saving writes them
// back unchanged; an icon made from a handle is written as one 32-bit image
// with its mask. Of the images of an .ico file, the one nearest to the
// system's icon size is shown, the deepest of those first.
#pragma once

#include "classlib/Win.h"

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/graphics/Graphic.h"

class TIcon : public TGraphic {
  DECLARE_CLASS(TIcon, TGraphic)

  TIcon();

  void Assign(TPersistent* source) override;

  // Reads .ico data from the stream's position to its end. Damaged data raise
  // EInvalidGraphic "Icon image is not valid" and leave the icon unchanged.
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  // The icon resource of a module (null: the executable), by name or number;
  // EResNotFound when the module has none.
  void LoadFromResourceName(HINSTANCE instance, const std::string& name);
  void LoadFromResourceID(HINSTANCE instance, int id);

  // The clipboard has no icon format: EInvalidGraphic.
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;

  void Draw(TCanvas* canvas, const TRect& rect) override;
  bool GetEmpty() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  // An icon's size is fixed: EInvalidGraphicOperation.
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  // Icons carry their own mask.
  bool GetTransparent() const override { return true; }

  // The icon handle, made from the held data on first use.
  HICON GetHandle();
  // Takes the handle over (the icon destroys it); its data are forgotten.
  void SetHandle(HICON value);
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Gives the handle to the caller, who destroys it; the icon keeps its data
  // and makes a new handle when asked again.
  HICON ReleaseHandle();

 protected:
  void Destroy() override;

 private:
  void DestroyHandle();
  void SetHandleSize(HICON icon);

  std::vector<uint8_t> data_;
  HICON handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// Start-up: "ico" in the picture formats, the class in the class registry.
void InitializeIcon();
void FinalizeIcon();
