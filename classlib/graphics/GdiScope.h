// Internal to the class library's units (Graphics, ImgList, Controls): RAII
// for the short-lived memory DCs that blits and colour-table reads need.
#pragma once

#include "classlib/Win.h"
#include "classlib/classes/Errors.h"

namespace graphics_detail {

// A memory DC with a bitmap selected for the life of the object (or none,
// for the calls that want a DC the bitmap is not selected in).
class TSelectDC {
 public:
  explicit TSelectDC(HBITMAP bmp) : dc_(CreateCompatibleDC(nullptr)) {
    if (!dc_) throw EOutOfResources("Out of system resources");
    if (bmp) old_ = SelectObject(dc_, bmp);
  }
  ~TSelectDC() {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  TSelectDC(const TSelectDC&) = delete;
  TSelectDC& operator=(const TSelectDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// A palette selected into a DC (as a background palette) and realised, put
// back when the scope ends.
class TPaletteScope {
 public:
  TPaletteScope(HDC dc, HPALETTE pal) : dc_(dc) {
    if (pal) {
      old_ = SelectPalette(dc, pal, TRUE);
      RealizePalette(dc);
    }
  }
  ~TPaletteScope() {
    if (old_) SelectPalette(dc_, old_, TRUE);
  }
  TPaletteScope(const TPaletteScope&) = delete;
  TPaletteScope& operator=(const TPaletteScope&) = delete;

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

}  // namespace graphics_detail
