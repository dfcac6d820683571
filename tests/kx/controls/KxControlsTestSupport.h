// Helpers of the Kx control tests: a host for controls, painting a control
// into a DIB as its window would be painted, the boxes of the pixels of one
// colour, bitmaps drawn from text, and a shown form for real input.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/Registry.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/foundation/KxTestSupport.h"

// Rectangles and sizes compared and printed as tests read them.
inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const SIZE& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }

namespace kxc_test {

using controls_test::ColourBox;
using controls_test::PumpMessages;
using controls_test::TDib;
using kx_test::Shown;
using kx_test::GdiObjectsLeftBy;
using kx_test::TThemeDrawingFails;
using kx_test::TThemesOff;

// A hidden host window with a windowed panel in it: the controls' parent,
// on no form.
class TControlHost {
 public:
  explicit TControlHost(TColor panelColor = clBtnFace, int width = 400, int height = 300) {
    panel_.reset(New<TCustomControl>(nullptr));
    panel_->SetBounds(0, 0, width, height);
    panel_->SetColor(panelColor);
    panel_->SetParentWindow(window_.Handle());
  }
  ~TControlHost() { panel_.reset(); }
  TControlHost(const TControlHost&) = delete;
  TControlHost& operator=(const TControlHost&) = delete;

  template <class T>
  T* Add(int left, int top, int width, int height) {
    T* c = New<T>(panel_.get());
    c->SetParent(panel_.get());
    c->SetBounds(left, top, width, height);
    return c;
  }
  TCustomControl* Panel() const { return panel_.get(); }
  // Shown without activation: its controls can take the focus.
  void Show() { window_.Show(); }

 private:
  controls_test::THostWindow window_;
  Owned<TCustomControl> panel_;
};

// Paints a control into dib as its window would be painted: the erase,
// then the paint (a window-less control: the paint only).
inline void PaintControl(TControl* control, const TDib& dib) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win) {
    win->HandleNeeded();
    win->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0);
  }
  control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
}

inline int CountColour(const TDib& dib, COLORREF colour, const TRect& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (dib.Pixel(x, y) == colour) ++n;
  return n;
}

inline bool SameImage(const TDib& a, const TDib& b, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

inline bool Inside(const TRect& inner, const TRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

inline bool Overlap(const TRect& a, const TRect& b) {
  TRect r;
  return IntersectRect(&r, &a, &b) != 0;
}

// A picture written as text rows: each character one pixel, its colour from
// the (character, colour) pairs.
struct TPaint {
  char Ch;
  TColor Color;
};

inline Owned<TBitmap> BitmapFromText(const std::vector<std::string>& rows, std::initializer_list<TPaint> paints) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  int h = static_cast<int>(rows.size());
  int w = h ? static_cast<int>(rows[0].size()) : 0;
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b->GetScanLine(y));
    for (int x = 0; x < w; ++x) {
      TColor c = clWhite;
      for (const TPaint& p : paints)
        if (p.Ch == rows[static_cast<size_t>(y)][static_cast<size_t>(x)]) c = p.Color;
      row[3 * x + 0] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  b->Changed(b.get());
  return b;
}

// A w x h bitmap in one colour, but for its bottom-left pixel in key (the
// transparent colour a glyph names there).
inline Owned<TBitmap> SolidGlyph(int w, int h, TColor colour, TColor key = clOlive) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  b->GetCanvas()->GetBrush()->SetColor(colour);
  b->GetCanvas()->FillRect(TRect{0, 0, w, h});
  b->GetCanvas()->SetPixels(0, h - 1, key);
  return b;
}

// A borderless form at a fixed place, shown and in the foreground, for real
// mouse and keyboard input (Serial suites only).
class TShownForm {
 public:
  TShownForm(int width = 320, int height = 200) {
    form_.reset(New<TForm>(nullptr, 0));
    form_->SetBorderStyle(bsNone);
    form_->SetBounds(120, 120, width, height);
  }
  ~TShownForm() {
    forms_test::LeftButton(false);
    forms_test::PumpApplication(2);
  }
  TShownForm(const TShownForm&) = delete;
  TShownForm& operator=(const TShownForm&) = delete;

  TForm* Form() const { return form_.get(); }
  template <class T>
  T* Add(int left, int top, int width, int height) {
    T* c = New<T>(form_.get());
    c->SetParent(form_.get());
    c->SetBounds(left, top, width, height);
    return c;
  }
  void Show() {
    form_->Show();
    SetForegroundWindow(form_->GetHandle());
    forms_test::PumpApplication(3);
  }
  // The real mouse to a point of the control (client coordinates).
  static void MoveTo(TControl* c, POINT p) {
    forms_test::MoveMouseTo(c->ClientToScreen(p));
    forms_test::PumpApplication(3);
  }
  static void Button(bool down) {
    forms_test::LeftButton(down);
    forms_test::PumpApplication(3);
  }
  static void Key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    forms_test::PumpApplication(3);
  }
  static void Type(WORD vk) {
    Key(vk, true);
    Key(vk, false);
  }

 private:
  forms_test::TFreshApplication app_;
  Owned<TForm> form_;
};

// Counts the beeps the program asks for while it lives: the program's
// import of MessageBeep (the one slot every call of ours goes through) is
// pointed at a counter, and put back at the end. The code under test calls
// the system as it always does; the beep itself is not made.
class TBeepCounter {
 public:
  TBeepCounter() : slot_(ImportSlot("user32.dll", "MessageBeep")) {
    EXPECT_NE(slot_, nullptr) << "the program imports no MessageBeep";
    if (!slot_) return;
    Current() = this;
    saved_ = Swap(reinterpret_cast<void*>(&Counted));
  }
  ~TBeepCounter() {
    if (!slot_) return;
    Swap(saved_);
    Current() = nullptr;
  }
  TBeepCounter(const TBeepCounter&) = delete;
  TBeepCounter& operator=(const TBeepCounter&) = delete;

  int Count = 0;
  // The beeps since the last call.
  int Take() {
    int n = Count;
    Count = 0;
    return n;
  }

 private:
  static TBeepCounter*& Current() {
    static TBeepCounter* current = nullptr;
    return current;
  }
  static BOOL WINAPI Counted(UINT) {
    if (Current()) ++Current()->Count;
    return TRUE;
  }
  void* Swap(void* value) {
    DWORD old = 0;
    VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old);
    void* before = *slot_;
    *slot_ = value;
    VirtualProtect(slot_, sizeof(void*), old, &old);
    return before;
  }
  // The import address slot of dll!name in the program's import table.
  static void** ImportSlot(const char* dll, const char* name) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
      if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), dll) != 0 || !d->OriginalFirstThunk) continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::string(reinterpret_cast<char*>(byName->Name)) == name)
          return reinterpret_cast<void**>(&slots->u1.Function);
      }
    }
    return nullptr;
  }

  void** slot_;
  void* saved_ = nullptr;
};

// Counts the events a control fires.
struct TEventCounter {
  int Count = 0;
  TObject* Sender = nullptr;
  void Fired(TObject* sender) {
    ++Count;
    Sender = sender;
  }
  TNotifyEvent Event() { return TNotifyEvent(this, &TEventCounter::Fired); }
};

// A click of the real left button at p (screen coordinates), the
// application pumped between the steps.
inline void RealClick(POINT p) {
  forms_test::MoveMouseTo(p);
  forms_test::PumpApplication(2);
  forms_test::LeftButton(true);
  forms_test::PumpApplication(2);
  forms_test::LeftButton(false);
  forms_test::PumpApplication(3);
}

// As a user drags with the real mouse: a press at from, four moves to to,
// a release.
inline void RealDrag(POINT from, POINT to) {
  forms_test::MoveMouseTo(from);
  forms_test::PumpApplication(3);
  forms_test::LeftButton(true);
  forms_test::PumpApplication(3);
  for (int i = 1; i <= 4; ++i) {
    forms_test::MoveMouseTo(POINT{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
    forms_test::PumpApplication(3);
  }
  forms_test::LeftButton(false);
  forms_test::PumpApplication(5);
}

// A key of HKEY_CURRENT_USER of the test's own (named after tag and the
// process), removed with everything below it at the end.
class TScratchRegistryKey {
 public:
  explicit TScratchRegistryKey(const std::string& tag)
      : key_("\\Software\\PerivaneTest\\" + tag + std::to_string(GetCurrentProcessId())) {}
  ~TScratchRegistryKey() {
    Owned<TRegistry> reg(New<TRegistry>());
    reg->SetRootKey(HKEY_CURRENT_USER);
    reg->DeleteKey(key_);
  }
  TScratchRegistryKey(const TScratchRegistryKey&) = delete;
  TScratchRegistryKey& operator=(const TScratchRegistryKey&) = delete;
  const std::string& Key() const { return key_; }

 private:
  std::string key_;
};

}  // namespace kxc_test
