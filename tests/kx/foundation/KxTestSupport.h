// Helpers of the Kx foundation tests: a canvas over a 32-bit DIB whose
// pixels are read straight from memory, and scoped swaps of entries of the
// theme API table.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "classlib/Graphics.h"
#include "classlib/Forms.h"
#include "kx/foundation/KxThemeSrv.h"
#include "kx/foundation/KxUxTheme.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/GraphicsTestUtil.h"

namespace kx_test {

using controls_test::PumpMessages;
using controls_test::TDib;

// A TCanvas attached to a DIB section filled with a colour no frame uses.
inline constexpr COLORREF kPaper = RGB(1, 2, 3);

class TPaintSurface {
 public:
  TPaintSurface(int w, int h, COLORREF fill = kPaper) : dib_(w, h, fill), canvas_(MakeOwned<TCanvas>()) {
    canvas_->SetHandle(dib_.DC());
  }
  ~TPaintSurface() { canvas_->SetHandle(nullptr); }
  TPaintSurface(const TPaintSurface&) = delete;
  TPaintSurface& operator=(const TPaintSurface&) = delete;

  TCanvas* Canvas() const { return canvas_.get(); }
  const TDib& Dib() const { return dib_; }
  COLORREF Pixel(int x, int y) const { return dib_.Pixel(x, y); }

 private:
  TDib dib_;
  Owned<TCanvas> canvas_;
};

// The colour a pixel shows for a TColor (system colours resolved).
inline COLORREF Shown(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

// Swaps one theme API entry point (KxUxTheme::IsThemeActive...) for the
// life of the object.
template <class F>
class TThemeEntryOverride {
 public:
  TThemeEntryOverride(F& entry, F replacement) : entry_(entry), saved_(entry) { entry_ = replacement; }
  ~TThemeEntryOverride() { entry_ = saved_; }
  TThemeEntryOverride(const TThemeEntryOverride&) = delete;
  TThemeEntryOverride& operator=(const TThemeEntryOverride&) = delete;

 private:
  F& entry_;
  F saved_;
};

// Themes switched off as the system would: IsThemeActive answers false and
// the application window hears WM_THEMECHANGED; both are undone at the end.
class TThemesOff {
 public:
  TThemesOff() {
    ThemeServices();  // bound first, so that binding does not undo the swap
    saved_ = KxUxTheme::IsThemeActive;
    KxUxTheme::IsThemeActive = [] () -> BOOL { return FALSE; };
    SendMessageA(Application->GetHandle(), WM_THEMECHANGED, 0, 0);
  }
  ~TThemesOff() {
    KxUxTheme::IsThemeActive = saved_;
    SendMessageA(Application->GetHandle(), WM_THEMECHANGED, 0, 0);
  }
  TThemesOff(const TThemesOff&) = delete;
  TThemesOff& operator=(const TThemesOff&) = delete;

 private:
  KxUxTheme::IsThemeActiveProc saved_ = nullptr;
};

// Theme drawing of one element raises while the object lives (the other
// elements are drawn as usual): a failure in the middle of painting, after
// the painter took a DC.
class TThemeDrawingFails {
 public:
  explicit TThemeDrawingFails(TThemedElementDetails element) {
    TTarget& t = Target();
    t.Theme = ThemeServices().GetTheme(element.Element);  // bound first, as above
    t.Part = element.Part;
    t.Real = KxUxTheme::DrawThemeBackground;
    KxUxTheme::DrawThemeBackground = [](KxUxTheme::HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                        const RECT* clip) -> HRESULT {
      const TTarget& t = Target();
      if (theme == t.Theme && part == t.Part) throw Exception("theme drawing failed");
      return t.Real ? t.Real(theme, dc, part, state, rect, clip) : S_OK;
    };
  }
  ~TThemeDrawingFails() { KxUxTheme::DrawThemeBackground = Target().Real; }
  TThemeDrawingFails(const TThemeDrawingFails&) = delete;
  TThemeDrawingFails& operator=(const TThemeDrawingFails&) = delete;

 private:
  // Where the replacement, a plain function, finds what to fail.
  struct TTarget {
    KxUxTheme::HTHEME Theme = nullptr;
    int Part = 0;
    KxUxTheme::DrawThemeBackgroundProc Real = nullptr;
  };
  static TTarget& Target() {
    static TTarget target;
    return target;
  }
};

using graphics_test::GdiObjectsLeftBy;

}  // namespace kx_test
