// Helpers of the Controls tests: the unit's start-up, a host window, message
// pumping and a DIB to paint into.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "classlib/Controls.h"

namespace controls_test {

// The test main has run the unit list: the atoms exist.
inline void EnsureControlsUnit() { ASSERT_NE(ControlAtom(), 0) << "the Controls unit did not start"; }

// A hidden top-level window that is not a control: the parent window of the
// controls under test.
class THostWindow {
 public:
  THostWindow() {
    handle_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  ~THostWindow() { DestroyWindow(handle_); }
  THostWindow(const THostWindow&) = delete;
  THostWindow& operator=(const THostWindow&) = delete;
  HWND Handle() const { return handle_; }
  // Shown windows get painted (owner-draw requests need that).
  void Show() { ShowWindow(handle_, SW_SHOWNOACTIVATE); }

 private:
  HWND handle_;
};

// Delivers what is queued for this thread, a bounded number of times.
inline void PumpMessages(int rounds = 50) {
  MSG msg;
  for (int i = 0; i < rounds && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A 32-bit top-down DIB section selected into a memory DC.
class TDib {
 public:
  TDib(int w, int h, COLORREF fill) : w_(w), h_(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  ~TDib() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  TDib(const TDib&) = delete;
  TDib& operator=(const TDib&) = delete;
  HDC DC() const { return dc_; }
  // The pixel as a COLORREF (0x00BBGGRR).
  COLORREF Pixel(int x, int y) const {
    GdiFlush();
    uint32_t v = bits_[static_cast<size_t>(y) * static_cast<size_t>(w_) + static_cast<size_t>(x)];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

// The smallest rectangle holding every pixel of colour within area; empty
// (all zero) when there is none.
inline RECT ColourBox(const TDib& dib, COLORREF colour, const RECT& area) {
  RECT box{0, 0, 0, 0};
  bool any = false;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      if (dib.Pixel(x, y) != colour) continue;
      if (!any) {
        box = RECT{x, y, x + 1, y + 1};
        any = true;
      } else {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
  return box;
}

// A pixel a painting must leave in a colour.
struct TPixelProbe {
  int x, y;
  COLORREF colour;
};
inline void ExpectPixels(const TDib& dib, const std::vector<TPixelProbe>& probes) {
  for (const TPixelProbe& p : probes) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_EQ(dib.Pixel(p.x, p.y), p.colour);
  }
}

// A window control that logs the messages it dispatches and lets a test
// react to one.
class TProbeControl : public TWinControl {
  DECLARE_CLASS(TProbeControl, TWinControl)
  explicit TProbeControl(TComponent* owner) : TWinControl(owner) {}

  std::vector<UINT> Seen;
  // Returns true when it handled the message (which then goes no further).
  std::function<bool(TProbeControl*, TMessage&)> OnMessage;

  void Dispatch(TMessage& m) override {
    Seen.push_back(m.Msg);
    if (OnMessage) {
      auto handler = OnMessage;  // the handler may free this control
      if (handler(this, m)) return;
    }
    inherited::Dispatch(m);
  }
  bool SawMessage(UINT msg) const {
    for (UINT m : Seen)
      if (m == msg) return true;
    return false;
  }
};

// A window control that holds others, at (0, 0) with the size given, on the
// host window.
inline TProbeControl* MakeContainer(HWND host, int width, int height) {
  auto* c = New<TProbeControl>(nullptr);
  c->SetControlStyle(c->GetControlStyle() + TControlStyle{csAcceptsControls});
  c->SetBounds(0, 0, width, height);
  c->SetParentWindow(host);
  return c;
}

// A window control standing in for a form on the host window, with a panel
// that holds an edit: ControlsHooks().AsForm answers for it, and for nothing
// else. The caller saves and restores the hooks, and frees Form.
struct TStandInForm {
  TProbeControl* Form = nullptr;
  TProbeControl* Panel = nullptr;
  TProbeControl* Edit = nullptr;
};
inline TStandInForm MakeStandInForm(HWND host) {
  TStandInForm f;
  f.Form = MakeContainer(host, 200, 100);
  TProbeControl* theForm = f.Form;
  ControlsHooks().AsForm = [theForm](TControl* c) {
    return c == theForm ? reinterpret_cast<TCustomForm*>(theForm) : nullptr;
  };
  f.Panel = New<TProbeControl>(f.Form);
  f.Panel->SetControlStyle(f.Panel->GetControlStyle() + TControlStyle{csAcceptsControls});
  f.Panel->SetParent(f.Form);
  f.Edit = New<TProbeControl>(f.Form);
  f.Edit->SetParent(f.Panel);
  return f;
}

// WS_VISIBLE of the window itself, whatever its parents show.
inline bool HasVisibleStyle(HWND w) { return (GetWindowLongPtrA(w, GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace controls_test
