// A control made at run time as programs commonly make one: sized first,
// given its parent afterwards, then shown and painted. The framed and the
// wide libraries' tests run every control class they register through it,
// beside a twin placed parent first.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Controls.h"
#include "classlib/Forms.h"

namespace place_test {

// The size call made before (or after) the parent is set.
enum class TSizeCall { Bounds, Width, Height };

inline const char* SizeCallName(TSizeCall call) {
  switch (call) {
    case TSizeCall::Bounds: return "SetBounds";
    case TSizeCall::Width: return "SetWidth";
    default: return "SetHeight";
  }
}

// What came of a placement: the control's bounds once it is shown and
// painted, and what it raised (directly, or reported to the application
// from a window procedure), "" for nothing.
struct TPlaced {
  RECT Bounds{};
  bool AutoSize = false;
  bool Shown = false;
  std::string Raised;
};

// Makes a control of class cls owned by and placed on parent (a window
// that is shown), the size call made before the parent when sizeFirst is
// set, else after it; shows it, makes its window and paints it; frees it.
inline TPlaced PlaceControl(TClass cls, TWinControl* parent, TSizeCall call, bool sizeFirst) {
  struct TCatcher {
    std::string* Raised;
    void Handle(TObject*, Exception& e) {
      if (Raised->empty()) *Raised = e.GetMessage();
    }
  };
  TPlaced placed;
  TCatcher catcher{&placed.Raised};
  TExceptionEvent savedHandler = Application->OnException;
  Application->OnException = TExceptionEvent(&catcher, &TCatcher::Handle);
  TControl* control = nullptr;
  try {
    control = CreateAs<TControl>(cls, parent);
    auto size = [&] {
      switch (call) {
        case TSizeCall::Bounds: control->SetBounds(7, 5, 150, 60); break;
        case TSizeCall::Width: control->SetWidth(150); break;
        case TSizeCall::Height: control->SetHeight(60); break;
      }
    };
    if (sizeFirst) size();
    control->SetParent(parent);
    if (!sizeFirst) size();
    control->SetVisible(true);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
      win->HandleNeeded();
      UpdateWindow(win->GetHandle());
    }
    UpdateWindow(parent->GetHandle());
    MSG msg;
    for (int i = 0; i < 50 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    placed.Bounds = control->GetBoundsRect();
    placed.AutoSize = control->GetAutoSize();
    auto* win = dynamic_cast<TWinControl*>(control);
    placed.Shown = win ? IsWindowVisible(win->GetHandle()) != FALSE : control->GetVisible();
  } catch (const Exception& e) {
    if (placed.Raised.empty()) placed.Raised = e.GetMessage();
  }
  if (control) control->Free();
  Application->OnException = savedHandler;
  return placed;
}

// Every size call for every class named: nothing raised either way, the
// control shown where it was put, and the same bounds as its twin placed
// parent first. An auto-sized control may differ in size: it takes its
// automatic size when its window is made (an edit's height follows its
// font then), so a size set before that is replaced, one set after it kept.
inline void ExpectEachPlacesSizeFirst(const std::vector<std::string>& classNames, TWinControl* parent) {
  auto text = [](const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
  };
  for (const std::string& name : classNames) {
    TClass cls = GetClass(name);
    ASSERT_NE(cls, nullptr) << name << " is registered";
    ASSERT_TRUE(cls->InheritsFrom(TControl::StaticClass())) << name;
    for (TSizeCall call : {TSizeCall::Bounds, TSizeCall::Width, TSizeCall::Height}) {
      SCOPED_TRACE(name + " " + SizeCallName(call));
      TPlaced sizeFirst = PlaceControl(cls, parent, call, true);
      TPlaced parentFirst = PlaceControl(cls, parent, call, false);
      EXPECT_EQ(sizeFirst.Raised, "");
      EXPECT_EQ(parentFirst.Raised, "");
      EXPECT_TRUE(sizeFirst.Shown);
      const RECT& a = sizeFirst.Bounds;
      const RECT& b = parentFirst.Bounds;
      if (sizeFirst.AutoSize)
        EXPECT_TRUE(a.left == b.left && a.top == b.top) << "size first " << text(a) << ", parent first " << text(b);
      else
        EXPECT_TRUE(EqualRect(&a, &b)) << "size first " << text(a) << ", parent first " << text(b);
    }
  }
}

}  // namespace place_test
