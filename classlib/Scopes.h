// Scopes: what is taken for a while and must be given back -- device
// contexts, GDI objects and what is selected into a DC, a DC's saved state, a
// variable's value, an update bracket -- given back when the scope ends, also
// when an exception leaves it.
//
// For the class library's units and for the libraries built on it alike: a
// `catch (...) { undo; throw; }` written by hand is one of these. None of
// them can be copied. Where giving back runs code that may raise (EndUpdate
// runs change events, a TFinally runs what it was given), a raise while
// another exception unwinds is dropped and the first exception goes on, as a
// second one would end the program; otherwise the raise leaves the scope.
#pragma once

#include <exception>
#include <memory>
#include <type_traits>
#include <utility>

#include "classlib/Win.h"
#include "classlib/classes/Errors.h"

namespace scopes_detail {

// Runs undo from a destructor whose scope began when unwinding exceptions
// were in flight: it may raise, except while one more is unwinding.
template <class F>
void RunUndo(F& undo, int unwindingAtStart) {
  if (std::uncaught_exceptions() > unwindingAtStart) {
    try {
      undo();
    } catch (...) {
    }
  } else {
    undo();
  }
}

// A DC that ReleaseDC gives back: GetDC's and GetWindowDC's. Declare it
// before a canvas that attaches it, so that the canvas lets go first.
class TReleasedDC {
 public:
  ~TReleasedDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TReleasedDC(const TReleasedDC&) = delete;
  TReleasedDC& operator=(const TReleasedDC&) = delete;
  // Null when the system refused (a window that is gone).
  HDC Get() const { return dc_; }

 protected:
  TReleasedDC(HWND window, HDC dc) : window_(window), dc_(dc) {}

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace scopes_detail

// --- device contexts ------------------------------------------------------------------------

// The DC of a window's client area (GetDC).
class TClientDC : public scopes_detail::TReleasedDC {
 public:
  explicit TClientDC(HWND window) : TReleasedDC(window, GetDC(window)) {}
};

// The screen's DC (GetDC of no window).
class TScreenDC : public scopes_detail::TReleasedDC {
 public:
  TScreenDC() : TReleasedDC(nullptr, GetDC(nullptr)) {}
};

// The DC of a whole window, frame and caption included (GetWindowDC): what
// non-client painting draws on.
class TWindowDC : public scopes_detail::TReleasedDC {
 public:
  explicit TWindowDC(HWND window) : TReleasedDC(window, GetWindowDC(window)) {}
};

// The paint DC of a window between BeginPaint and EndPaint; EndPaint also
// shows the caret again, so it runs whatever happened in between.
class TPaintDC {
 public:
  explicit TPaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~TPaintDC() { EndPaint(window_, &ps_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  HDC Get() const { return dc_; }
  // What BeginPaint reported: the rectangle to paint, whether to erase.
  const PAINTSTRUCT& Info() const { return ps_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A memory DC compatible with the screen, with a bitmap selected for its life
// (or none, for the calls that want a DC the bitmap is not selected in).
// Deleting it puts the DC's own bitmap back first, as GDI asks, so the bitmap
// may be selected elsewhere or deleted afterwards. A null DC stands for the
// screen without fetching (and releasing) the screen's own DC, which costs a
// round trip to the display under Wine.
class TMemoryDC {
 public:
  explicit TMemoryDC(HBITMAP bitmap = nullptr) : dc_(CreateCompatibleDC(nullptr)) {
    if (!dc_) throw EOutOfResources("Out of system resources");
    if (bitmap) old_ = SelectObject(dc_, bitmap);
  }
  ~TMemoryDC() {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// A DC's state (objects, colours, clip, origin, modes) saved, and restored
// when the scope ends: SaveDC/RestoreDC.
class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~TSavedDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// --- GDI objects ------------------------------------------------------------------------------

struct TGdiObjectDeleter {
  void operator()(void* object) const {
    if (object) DeleteObject(static_cast<HGDIOBJ>(object));
  }
};
// A pen, brush, font, bitmap, region or palette of one's own, deleted with
// DeleteObject. It must not be selected into a DC by then: declare it before
// the TSelectedObject that selects it. release() hands it over (to
// SetWindowRgn, say, which owns the region from then on).
template <class H>
using TOwnedGdiObject = std::unique_ptr<std::remove_pointer_t<H>, TGdiObjectDeleter>;

// A pen, brush, font or bitmap selected into a DC for the life of the object,
// and what was selected before put back. A null object selects nothing.
// Regions are not selected this way: SelectObject answers a region's kind
// for them, not the one before.
class TSelectedObject {
 public:
  TSelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~TSelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  TSelectedObject(const TSelectedObject&) = delete;
  TSelectedObject& operator=(const TSelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A palette selected into a DC and realised, the one before put back when the
// scope ends. A background palette leaves the system palette to the active
// window. A null palette selects nothing.
class TSelectedPalette {
 public:
  TSelectedPalette(HDC dc, HPALETTE palette, bool background = true) : dc_(dc), background_(background) {
    if (!palette) return;
    old_ = SelectPalette(dc, palette, background ? TRUE : FALSE);
    RealizePalette(dc);
  }
  ~TSelectedPalette() {
    if (old_) SelectPalette(dc_, old_, background_ ? TRUE : FALSE);
  }
  TSelectedPalette(const TSelectedPalette&) = delete;
  TSelectedPalette& operator=(const TSelectedPalette&) = delete;

 private:
  HDC dc_;
  bool background_;
  HPALETTE old_ = nullptr;
};

// --- values, brackets and undoing -------------------------------------------------------------

// A variable given a value for the life of the object (or only saved), and
// the value it had put back when the scope ends: a flag that keeps a handler
// from running again, a nesting count, a setting changed for one call.
template <class T>
class TRestore {
 public:
  explicit TRestore(T& variable) : variable_(variable), saved_(variable) {}
  TRestore(T& variable, std::type_identity_t<T> value) : variable_(variable), saved_(variable) {
    variable_ = std::move(value);
  }
  ~TRestore() { variable_ = std::move(saved_); }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;
  // The value the variable had when the scope began.
  const T& Saved() const { return saved_; }

 private:
  T& variable_;
  T saved_;
};

// Runs an action when the scope ends, however it ends: the try/finally of the
// platform, for an undo that is a call (EnableAlign, setting the cursor back).
template <class F>
class TFinally {
 public:
  explicit TFinally(F action) : action_(std::move(action)) {}
  ~TFinally() noexcept(false) { scopes_detail::RunUndo(action_, unwinding_); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

 private:
  F action_;
  int unwinding_ = std::uncaught_exceptions();
};

// Runs an undo when the scope ends before Commit: what must be taken back
// only when the work that follows fails (an item added to a list, a file
// made for a save).
template <class F>
class TRollback {
 public:
  explicit TRollback(F undo) : undo_(std::move(undo)) {}
  ~TRollback() noexcept(false) {
    if (!committed_) scopes_detail::RunUndo(undo_, unwinding_);
  }
  TRollback(const TRollback&) = delete;
  TRollback& operator=(const TRollback&) = delete;
  void Commit() { committed_ = true; }

 private:
  F undo_;
  int unwinding_ = std::uncaught_exceptions();
  bool committed_ = false;
};

// BeginUpdate for the life of the object and EndUpdate after, for anything
// with the pair (string lists, collections, the frame controller). EndUpdate
// runs the change events, which may raise.
template <class T>
class TUpdateScope {
 public:
  explicit TUpdateScope(T* target) : target_(target) { target_->BeginUpdate(); }
  ~TUpdateScope() noexcept(false) {
    auto end = [this] { target_->EndUpdate(); };
    scopes_detail::RunUndo(end, unwinding_);
  }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  T* target_;
  int unwinding_ = std::uncaught_exceptions();
};
