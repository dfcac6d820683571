// Internal to the skin library: owners of the GDI handles its units make, so
// that every object, DC and selection is given back on every path. The class
// library's scope types under the names the skin's units use, and two of the
// skin's own: a memory DC that comes and goes with the bitmap's section, and
// the colours of a monochrome blit.
#pragma once

#include "classlib/Classes.h"
#include "classlib/Scopes.h"
#include "classlib/Win.h"

namespace pk_detail {

// A pen, brush, bitmap, region or palette deleted with DeleteObject.
template <class H>
using TGdiObject = TOwnedGdiObject<H>;

// The screen's DC for the life of the object.
using TScreenDC = ::TScreenDC;

// A memory DC compatible with the screen, with one bitmap selected while it
// lives; deleting it puts the DC's own bitmap back first, as GDI asks.
class TMemoryDC {
 public:
  TMemoryDC() = default;
  explicit TMemoryDC(HBITMAP bmp) { Select(bmp); }
  ~TMemoryDC() { Reset(); }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;

  void Select(HBITMAP bmp) {
    Reset();
    // A null DC stands for the screen, without fetching (and releasing) the
    // screen's own DC, which costs a round trip to the display under Wine.
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) throw EOutOfResources("Out of system resources");
    old_ = SelectObject(dc_, bmp);
  }
  void Reset() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
    dc_ = nullptr;
    old_ = nullptr;
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Text and background colours of a DC set for a blit that expands a
// monochrome source, put back when the scope ends.
class TDCColors {
 public:
  TDCColors(HDC dc, COLORREF text, COLORREF back)
      : dc_(dc), text_(SetTextColor(dc, text)), back_(SetBkColor(dc, back)) {}
  ~TDCColors() {
    SetTextColor(dc_, text_);
    SetBkColor(dc_, back_);
  }
  TDCColors(const TDCColors&) = delete;
  TDCColors& operator=(const TDCColors&) = delete;

 private:
  HDC dc_;
  COLORREF text_;
  COLORREF back_;
};

}  // namespace pk_detail

namespace pk_detail {

// Runs a cleanup when the scope ends, also on an exception.
template <class F>
using TScopeExit = TFinally<F>;

}  // namespace pk_detail
