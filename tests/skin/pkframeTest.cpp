#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "skin/pkBitmap.h"
#include "skin/pkframe.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace pkframe_test {

// An edit-like owner: the frame knows edits by their class name (the skin
// library does not link the standard controls) and reaches BorderStyle and
// AutoSize through their published properties.
class TCustomEdit : public TWinControl {
  DECLARE_CLASS(TCustomEdit, TWinControl)
  explicit TCustomEdit(TComponent* owner) : TWinControl(owner) {}
  int GetBorderStyle() const { return borderStyle; }
  void SetBorderStyle(int v) { borderStyle = v; }
  bool GetAutoSize() const override { return autoSize; }
  void SetAutoSize(bool v) override { autoSize = v; }
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_RECREATEWND) ++recreates;
    TWinControl::WndProc(m);
  }
  int borderStyle = 1;
  bool autoSize = true;
  int recreates = 0;
};

// The other component library's frame, seen only through its published
// properties.
class TjnEditFrame : public TpkEditFrame {
  DECLARE_CLASS(TjnEditFrame, TpkEditFrame)
  using TpkEditFrame::TpkEditFrame;
};

class TpkPanel : public TWinControl {
  DECLARE_CLASS(TpkPanel, TWinControl)
  explicit TpkPanel(TComponent* owner) : TWinControl(owner) {}
  bool GetTransparent() const { return transparent; }
  void SetTransparent(bool v) { transparent = v; }
  bool transparent = true;
};

class TCustomGrid : public TWinControl {
  DECLARE_CLASS(TCustomGrid, TWinControl)
  explicit TCustomGrid(TComponent* owner) : TWinControl(owner) {}
};

class TFrameHolder : public TComponent {
  DECLARE_CLASS(TFrameHolder, TComponent)
  explicit TFrameHolder(TComponent* owner) : TComponent(owner) {}
  ~TFrameHolder() override { FreeObject(frame_); }
  TpkEditFrame* GetFrame() const { return frame_; }
  void SetFrame(TpkEditFrame* v) { frame_->Assign(v); }

 private:
  TpkEditFrame* frame_ = New<TpkEditFrame>(nullptr);
};

PUBLISHED(TCustomEdit) {
  p.Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle);
  p.Prop("AutoSize", &TCustomEdit::GetAutoSize, &TCustomEdit::SetAutoSize);
}
IMPLEMENT_CLASS(TjnEditFrame)
PUBLISHED(TpkPanel) { p.Prop("Transparent", &TpkPanel::GetTransparent, &TpkPanel::SetTransparent); }
IMPLEMENT_CLASS(TCustomGrid)
PUBLISHED(TFrameHolder) { p.Prop("Frame", &TFrameHolder::GetFrame, &TFrameHolder::SetFrame); }

}  // namespace pkframe_test

using namespace pkframe_test;

namespace {

class THost {
 public:
  explicit THost(DWORD style = WS_CLIPCHILDREN, bool visible = false)
      : handle_(CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "host", WS_POPUP | style, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr)) {
    // Shown without taking the activation from other tests.
    if (visible) ShowWindow(handle_, SW_SHOWNOACTIVATE);
  }
  ~THost() { DestroyWindow(handle_); }
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

bool Invalid(HWND w) {
  RECT r;
  return GetUpdateRect(w, &r, FALSE) != FALSE;
}

}  // namespace

TEST(PkEditFrame, TextOffsets) {
  struct {
    TpkEditFrameEnabledSet borders;
    TpkEditFocusStyle style;
    int x, y;
  } cases[] = {
      {{}, efsFrameBox, 1, 2},
      {{efLeftBorder}, efsFrameBox, 2, 2},
      {{efLeftBorder}, efsFrameSingle, 2, 2},
      {{efLeftBorder}, efsFrameSunken, 3, 2},
      {{efTopBorder}, efsFrameRaised, 1, 3},
      {{efTopBorder}, efsFrameSingle, 1, 2},
      {kpkAllBorders, efsFrameEtched, 3, 3},
      {kpkAllBorders, efsFrameBump, 3, 3},
      {kpkAllBorders, efsFrameBox, 2, 2},
      {{efRightBorder, efBottomBorder}, efsFrameSunken, 1, 2},
  };
  Owned<TpkEditFrame> f(New<TpkEditFrame>(nullptr));
  for (auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.borders.Bits()) + " " + std::to_string(c.style));
    for (bool focused : {true, false}) {
      // The other state's settings must not matter.
      f->SetFocusBorders(focused ? c.borders : TpkEditFrameEnabledSet{});
      f->SetFocusStyle(focused ? c.style : efsFrameBump);
      f->SetNonFocusBorders(focused ? kpkAllBorders : c.borders);
      f->SetNonFocusStyle(focused ? efsFrameBox : c.style);
      int x = 0, y = 0;
      f->GetTextOffsets(focused, x, y);
      EXPECT_EQ(x, c.x);
      EXPECT_EQ(y, c.y);
    }
  }
  f->SetNonFocusTextOffsetX(4);
  f->SetNonFocusTextOffsetY(-1);
  f->SetNonFocusBorders({});
  int x = 0, y = 0;
  f->GetTextOffsets(false, x, y);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 1);
}

TEST(PkEditFrame, DrawFrameDrawsTheChosenBorders) {
  Owned<TControl> control(New<TControl>(nullptr));
  control->SetBounds(0, 0, 12, 8);
  struct {
    TpkEditFrameEnabledSet borders;
    bool transparent;
    bool left, top, right, bottom;
    int rightColumn;
  } cases[] = {
      {kpkAllBorders, false, true, true, true, true, 11},
      {{efBottomBorder}, false, false, false, false, true, 11},
      {{efLeftBorder, efTopBorder}, false, true, true, false, false, 11},
      // Without its right border a transparent frame stops 2 pixels short.
      {{efBottomBorder}, true, false, false, false, true, 9},
  };
  for (auto& c : cases) {
    for (TpkEditFocusStyle style : {efsFrameBox, efsFrameSunken, efsFrameRaised, efsFrameEtched, efsFrameBump,
                                    efsFrameSingle}) {
      SCOPED_TRACE(std::to_string(c.borders.Bits()) + " " + std::to_string(style) + " " +
                   std::to_string(c.transparent));
      Owned<TpkEditFrame> f(New<TpkEditFrame>(nullptr));
      f->SetNonFocusBorders(c.borders);
      f->SetNonFocusStyle(style);
      f->SetTransparent(c.transparent);
      constexpr int kMarker = 0x123456;
      Owned<TpkBitmap> canvas = MakePk(12, 8, kMarker);
      f->DrawFrame(control.get(), canvas->GetCanvas(), false);
      GdiFlush();
      EXPECT_EQ(canvas->GetPixel(0, 4) != kMarker, c.left);
      EXPECT_EQ(canvas->GetPixel(6, 0) != kMarker, c.top);
      EXPECT_EQ(canvas->GetPixel(11, 4) != kMarker, c.right);
      EXPECT_EQ(canvas->GetPixel(c.rightColumn - 1, 7) != kMarker, c.bottom);
      if (c.rightColumn < 11) {
        EXPECT_EQ(canvas->GetPixel(11, 7), kMarker);
      }
      EXPECT_EQ(canvas->GetPixel(5, 4), kMarker);
    }
  }
}

TEST(PkEditFrame, AssignCopiesTheRestOnlyWhenEnabled) {
  for (bool enabled : {false, true}) {
    SCOPED_TRACE(enabled);
    for (bool fromJn : {false, true}) {
      Owned<TpkEditFrame> src(fromJn ? New<TjnEditFrame>(nullptr) : New<TpkEditFrame>(nullptr));
      src->SetEnabled(enabled);
      src->SetTransparent(true);
      src->SetFocusStyle(efsFrameEtched);
      src->SetNonFocusStyle(efsFrameBump);
      src->SetFocusBorders({efTopBorder});
      src->SetNonFocusBorders({efLeftBorder});
      src->SetAutoSizeHeightAdjust(3);
      src->SetNonFocusTextOffsetX(4);
      src->SetNonFocusTextOffsetY(5);
      src->SetNonFocusColor(clRed);
      src->SetNonFocusFontColor(clBlue);
      src->SetNonFocusTransparentFontColor(clLime);
      src->SetMouseEnterSameAsFocus(true);
      Owned<TpkEditFrame> dst(New<TpkEditFrame>(nullptr));
      dst->Assign(src.get());
      EXPECT_EQ(dst->GetEnabled(), enabled);
      EXPECT_TRUE(dst->GetTransparent());
      EXPECT_EQ(dst->GetFocusStyle(), efsFrameEtched);
      EXPECT_EQ(dst->GetNonFocusStyle() == efsFrameBump, enabled);
      EXPECT_EQ(dst->GetFocusBorders() == TpkEditFrameEnabledSet{efTopBorder}, enabled);
      EXPECT_EQ(dst->GetNonFocusBorders() == TpkEditFrameEnabledSet{efLeftBorder}, enabled);
      EXPECT_EQ(dst->GetAutoSizeHeightAdjust() == 3, enabled);
      EXPECT_EQ(dst->GetNonFocusTextOffsetX() == 4, enabled);
      EXPECT_EQ(dst->GetNonFocusTextOffsetY() == 5, enabled);
      EXPECT_EQ(dst->GetNonFocusColor() == clRed, enabled);
      EXPECT_EQ(dst->GetNonFocusFontColor() == clBlue, enabled);
      EXPECT_EQ(dst->GetNonFocusTransparentFontColor() == clLime, enabled);
      EXPECT_EQ(dst->GetMouseEnterSameAsFocus(), enabled);
    }
  }
  Owned<TpkEditFrame> dst(New<TpkEditFrame>(nullptr));
  Owned<TFont> font = MakeOwned<TFont>();
  EXPECT_THROW(dst->Assign(font.get()), EConvertError);
}

TEST(PkEditFrame, EnablingOnAnEditTakesOverItsBorderAndHeight) {
  Owned<TCustomEdit> edit(New<TCustomEdit>(nullptr));
  edit->SetBounds(0, 0, 80, 50);
  edit->GetFont()->SetName("Tahoma");
  edit->GetFont()->SetHeight(-13);
  Owned<TpkEditFrame> frame(New<TpkEditFrame>(edit.get()));
  EXPECT_EQ(frame->GetOwnerControl(), edit.get());
  frame->SetAutoSizeHeightAdjust(3);
  frame->SetEnabled(true);
  EXPECT_EQ(edit->borderStyle, 0);
  TEXTMETRICA tm{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, edit->GetFont()->GetHandle());
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_EQ(edit->GetHeight(), tm.tmHeight + 4 * GetSystemMetrics(SM_CYEDGE) + 3);
  // Not auto-sized: the height stays.
  edit->autoSize = false;
  edit->SetHeight(50);
  frame->SetEnabled(false);
  frame->SetEnabled(true);
  EXPECT_EQ(edit->GetHeight(), 50);

  // Any other owner is left alone.
  Owned<TWinControl> other(New<TWinControl>(nullptr));
  other->SetBounds(0, 0, 80, 50);
  Owned<TpkEditFrame> f2(New<TpkEditFrame>(other.get()));
  f2->SetEnabled(true);
  EXPECT_EQ(other->GetHeight(), 50);
}

TEST(PkEditFrame, TransparencyRecreatesAClippedOwnersWindow) {
  struct {
    const char* name;
    bool enabled;
    DWORD hostStyle;
    bool inGrid;
    int recreates;
  } cases[] = {
      {"enabled, clipping parent", true, WS_CLIPCHILDREN, false, 1},
      {"disabled", false, WS_CLIPCHILDREN, false, 0},
      {"parent does not clip", true, 0, false, 0},
      {"in a grid", true, WS_CLIPCHILDREN, true, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    THost host(c.hostStyle);
    Owned<TCustomGrid> grid(New<TCustomGrid>(nullptr));
    Owned<TCustomEdit> edit(New<TCustomEdit>(nullptr));
    edit->SetBounds(0, 0, 80, 20);
    if (c.inGrid) {
      grid->SetBounds(0, 0, 100, 100);
      grid->SetParentWindow(host.Handle());
      edit->SetParent(grid.get());
    } else {
      edit->SetParentWindow(host.Handle());
    }
    edit->HandleNeeded();
    Owned<TpkEditFrame> frame(New<TpkEditFrame>(edit.get()));
    if (c.enabled) frame->SetEnabled(true);
    frame->SetTransparent(true);
    EXPECT_EQ(edit->recreates, c.recreates);
    edit->SetParent(nullptr);
  }
}

TEST(PkEditFrame, InvalidateTransparentClimbsTransparentPanels) {
  // Only visible windows collect update regions.
  THost host(0, true);
  Owned<TWinControl> root(New<TWinControl>(nullptr));
  root->SetBounds(0, 0, 280, 180);
  root->SetParentWindow(host.Handle());
  TpkPanel* outer = New<TpkPanel>(root.get());
  outer->SetBounds(5, 5, 200, 150);
  outer->SetParent(root.get());
  TpkPanel* inner = New<TpkPanel>(root.get());
  inner->SetBounds(20, 20, 150, 100);
  inner->SetParent(outer);
  TWinControl* owner = New<TWinControl>(root.get());
  owner->SetBounds(10, 10, 40, 20);
  owner->SetParent(inner);
  owner->HandleNeeded();
  // See-through parents do not clip their children (the panel removes the
  // style), so the owner's area is part of their update regions.
  for (TWinControl* w : {root.get(), static_cast<TWinControl*>(outer), static_cast<TWinControl*>(inner)})
    SetWindowLongPtrA(w->GetHandle(), GWL_STYLE, GetWindowLongPtrA(w->GetHandle(), GWL_STYLE) & ~WS_CLIPCHILDREN);
  Owned<TpkEditFrame> frame(New<TpkEditFrame>(owner));
  for (bool outerTransparent : {false, true}) {
    SCOPED_TRACE(outerTransparent);
    outer->transparent = outerTransparent;
    RedrawWindow(host.Handle(), nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN | RDW_NOERASE | RDW_NOFRAME);
    ASSERT_FALSE(Invalid(inner->GetHandle()));
    ASSERT_FALSE(Invalid(root->GetHandle()));
    frame->InvalidateTransparent();
    RECT r;
    ASSERT_TRUE(GetUpdateRect(inner->GetHandle(), &r, FALSE));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    // The transparent inner panel passes it on, moved by its position.
    ASSERT_TRUE(GetUpdateRect(outer->GetHandle(), &r, FALSE));
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 30);
    // Past a panel that is not transparent nothing more is invalidated.
    EXPECT_EQ(GetUpdateRect(root->GetHandle(), &r, FALSE) != FALSE, outerTransparent);
    if (outerTransparent) {
      EXPECT_EQ(r.left, 35);
      EXPECT_EQ(r.top, 35);
    }
  }
}

TEST(PkEditFrame, StoredDefaults) {
  Owned<TFrameHolder> a(New<TFrameHolder>(nullptr));
  a->SetName("Holder");
  Owned<TStringStream> s(New<TStringStream>());
  s->WriteComponent(a.get());
  EXPECT_EQ(s->GetDataString().find("Frame."), std::string::npos) << s->GetDataString();
  a->GetFrame()->SetEnabled(true);
  a->GetFrame()->SetNonFocusBorders({efLeftBorder, efBottomBorder});
  a->GetFrame()->SetFocusStyle(efsFrameBump);
  a->GetFrame()->SetNonFocusColor(clRed);
  Owned<TStringStream> s2(New<TStringStream>());
  s2->WriteComponent(a.get());
  std::string text = s2->GetDataString();
  for (const char* line : {"Frame.Enabled = True", "Frame.NonFocusBorders = [efLeftBorder, efBottomBorder]",
                           "Frame.FocusStyle = efsFrameBump", "Frame.NonFocusColor = clRed"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  Owned<TFrameHolder> b(New<TFrameHolder>(nullptr));
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(b.get());
  EXPECT_TRUE(b->GetFrame()->GetEnabled());
  EXPECT_EQ(b->GetFrame()->GetNonFocusBorders(), (TpkEditFrameEnabledSet{efLeftBorder, efBottomBorder}));
  EXPECT_EQ(b->GetFrame()->GetFocusStyle(), efsFrameBump);
  EXPECT_EQ(b->GetFrame()->GetNonFocusColor(), clRed);
  EXPECT_EQ(b->GetFrame()->GetFocusBorders(), kpkAllBorders);
}
