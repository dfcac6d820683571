// Dragging an image form with real input: the mouse hook sees presses that
// SendInput makes, the form is activated explicitly (no window manager runs
// under Xvfb), and the suites are Serial (they need the desktop alone).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "classlib/Forms.h"
#include "skin/pkimageform.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin_test;

namespace {

void SendMouse(DWORD flags, POINT p) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// A press at from, moves through path, a release at the last point; all
// queued before anything is pumped, so the drag loop finds them in order.
void Press(POINT from, const std::vector<POINT>& path) {
  SendMouse(0, from);
  SendMouse(MOUSEEVENTF_LEFTDOWN, from);
  for (POINT p : path) SendMouse(0, p);
  SendMouse(MOUSEEVENTF_LEFTUP, path.empty() ? from : path.back());
}

// Lets go of the capture if a drag loop is still waiting after a while, so
// that a broken drag fails the test instead of hanging it.
class TCaptureGuard {
 public:
  TCaptureGuard() { timer_ = SetTimer(nullptr, 0, 5000, &TCaptureGuard::Expired); }
  ~TCaptureGuard() { KillTimer(nullptr, timer_); }
  TCaptureGuard(const TCaptureGuard&) = delete;
  TCaptureGuard& operator=(const TCaptureGuard&) = delete;

 private:
  static void CALLBACK Expired(HWND, UINT, UINT_PTR, DWORD) { ReleaseCapture(); }
  UINT_PTR timer_;
};

class TCountingImageForm : public TpkImageForm {
  DECLARE_CLASS(TCountingImageForm, TpkImageForm)
  using TpkImageForm::TpkImageForm;
  int Moves = 0;
  int Steps = 0;
  // Every outline drawn (drawing one again erases it: the frames are XOR).
  std::vector<TRect> Outlines;
  // Runs after each step of the drag loop.
  std::function<void()> AfterStep;
  void BeginMove(TMouseButton button, TShiftState shift, int x, int y) override {
    ++Moves;
    inherited::BeginMove(button, shift, x, y);
  }
  void DragStep(int x, int y, const TRect& s, TRect& t, bool& first, POINT c) override {
    ++Steps;
    inherited::DragStep(x, y, s, t, first, c);
    if (AfterStep) AfterStep();
  }
  void DrawDragOutline(HDC dc, const TRect& rect) override {
    Outlines.push_back(rect);
    inherited::DrawDragOutline(dc, rect);
  }
};
IMPLEMENT_CLASS(TCountingImageForm)

class TClickSpot : public TGraphicControl {
  DECLARE_CLASS(TClickSpot, TGraphicControl)
  using TGraphicControl::TGraphicControl;
  int Clicks = 0;
  void Clicked(TObject*) { ++Clicks; }
};
IMPLEMENT_CLASS(TClickSpot)

class SerialImageFormDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(New<TForm>(nullptr, 0));
    imageForm_ = New<TCountingImageForm>(form_.get());
    imageForm_->SetParent(form_.get());
    form_->SetBounds(100, 100, 200, 150);
    form_->Show();
    SetForegroundWindow(form_->GetHandle());
    SetActiveWindow(form_->GetHandle());
    Pump();
    ASSERT_NE(Screen->GetActiveControl(), nullptr) << "the form did not take the focus";
    ASSERT_EQ(GetParentForm(Screen->GetActiveControl()), form_.get());
  }
  void Pump() {
    TCaptureGuard guard;
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  }
  POINT At(int x, int y) { return form_->ClientToScreen(POINT{x, y}); }

  Owned<TForm> form_;
  TCountingImageForm* imageForm_ = nullptr;
};

TEST_F(SerialImageFormDrag, MovesWithinTheToleranceNeverMoveTheForm) {
  POINT p = At(50, 50);
  Press(p, {{p.x + 3, p.y}, {p.x + 5, p.y - 5}, {p.x - 5, p.y + 5}, {p.x, p.y}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 1);
  EXPECT_GE(imageForm_->Steps, 1);
  EXPECT_EQ(form_->GetLeft(), 100);
  EXPECT_EQ(form_->GetTop(), 100);
  EXPECT_NE(GetCapture(), form_->GetHandle());
}

TEST_F(SerialImageFormDrag, TheSixthPixelStartsTheDragAndTheReleaseMovesTheForm) {
  POINT p = At(50, 50);
  Press(p, {{p.x + 3, p.y}, {p.x + 6, p.y}, {p.x + 20, p.y + 10}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 1);
  EXPECT_EQ(form_->GetLeft(), 120);
  EXPECT_EQ(form_->GetTop(), 110);
  EXPECT_NE(GetCapture(), form_->GetHandle());
}

TEST_F(SerialImageFormDrag, APressOnAControlWithOnClickClicksInsteadOfDragging) {
  auto* spot = New<TClickSpot>(form_.get());
  spot->SetParent(form_.get());
  spot->SetBounds(10, 10, 30, 30);
  spot->OnClick = TNotifyEvent(spot, &TClickSpot::Clicked);
  POINT p = At(20, 20);
  Press(p, {{p.x + 15, p.y + 15}, {p.x, p.y}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 0);
  EXPECT_EQ(spot->Clicks, 1);
  EXPECT_EQ(form_->GetLeft(), 100);
}

// Without a caption bar only presses on the form itself drag: a windowed
// child (here one without any handler) keeps its presses.
TEST_F(SerialImageFormDrag, APressOnAWindowedChildDoesNotDragWithoutACaptionBar) {
  auto* child = New<TCustomControl>(form_.get());
  child->SetParent(form_.get());
  child->SetBounds(10, 10, 40, 40);
  Pump();
  POINT p = At(20, 20);
  Press(p, {{p.x + 30, p.y + 10}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 0);
  EXPECT_EQ(form_->GetLeft(), 100);
  EXPECT_EQ(form_->GetTop(), 100);
  // Beside the child the form still drags.
  POINT q = At(100, 100);
  Press(q, {{q.x + 30, q.y + 10}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 1);
  EXPECT_EQ(form_->GetLeft(), 130);
}

// Another window takes the capture while the outline is shown: the loop
// ends there, the outline goes and the form stays where it was.
TEST_F(SerialImageFormDrag, ALostCaptureErasesTheOutlineAndLeavesTheForm) {
  controls_test::THostWindow other;
  imageForm_->AfterStep = [&] {
    if (!imageForm_->Outlines.empty()) SetCapture(other.Handle());
  };
  POINT p = At(50, 50);
  Press(p, {{p.x + 20, p.y + 10}, {p.x + 40, p.y + 20}});
  Pump();
  ReleaseCapture();
  EXPECT_EQ(imageForm_->Moves, 1);
  ASSERT_FALSE(imageForm_->Outlines.empty()) << "the drag showed its outline";
  for (const TRect& r : imageForm_->Outlines) {
    int times = 0;
    for (const TRect& o : imageForm_->Outlines) times += EqualRect(&r, &o);
    EXPECT_EQ(times % 2, 0) << "an outline left on the screen at " << r.left << "," << r.top;
  }
  EXPECT_EQ(form_->GetLeft(), 100);
  EXPECT_EQ(form_->GetTop(), 100);
}

TEST_F(SerialImageFormDrag, WithACaptionBarOnlyPressesInItDrag) {
  auto* bar = New<TClickSpot>(form_.get());
  bar->SetParent(form_.get());
  bar->SetBounds(20, 10, 100, 20);
  imageForm_->SetCaptionBarControl(bar);
  // Outside the bar: nothing moves.
  POINT out = At(50, 80);
  Press(out, {{out.x + 30, out.y}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 0);
  EXPECT_EQ(form_->GetLeft(), 100);
  // Inside, near its top-left corner: the form moves.
  POINT in = At(25, 12);
  Press(in, {{in.x + 30, in.y + 4}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 1);
  EXPECT_EQ(form_->GetLeft(), 130);
  EXPECT_EQ(form_->GetTop(), 104);
  // Freed, the bar no longer limits anything.
  bar->Free();
  EXPECT_EQ(imageForm_->GetCaptionBarControl(), nullptr);
  POINT again = At(50, 80);
  Press(again, {{again.x + 10, again.y}});
  Pump();
  EXPECT_EQ(imageForm_->Moves, 2);
  EXPECT_EQ(form_->GetLeft(), 140);
}

TEST_F(SerialImageFormDrag, AModifiedPaletteGoesToTheActiveForm) {
  ASSERT_TRUE(form_->GetActive());
  struct TCase {
    const char* Name;
    TPixelFormat Format;
    bool Posted;
  };
  const TCase cases[] = {{"a palette picture", pf8bit, true}, {"no palette", pf24bit, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TBitmap> skin = BitmapFromText({"ab", "ba"}, {{'a', clRed}, {'b', clBlue}}, c.Format);
    imageForm_->GetPicture()->SetBitmap(skin.get());
    MSG msg;
    while (PeekMessageA(&msg, form_->GetHandle(), WM_QUERYNEWPALETTE, WM_QUERYNEWPALETTE, PM_REMOVE)) {
    }
    TGraphic* g = imageForm_->GetPicture()->GetGraphic();
    g->SetPaletteModified(true);
    imageForm_->PictureChanged(imageForm_);
    bool posted = PeekMessageA(&msg, form_->GetHandle(), WM_QUERYNEWPALETTE, WM_QUERYNEWPALETTE, PM_REMOVE) != 0;
    EXPECT_EQ(posted, c.Posted);
    EXPECT_FALSE(g->GetPaletteModified());
  }
}

TEST_F(SerialImageFormDrag, TheHookGoesWithTheLastImageForm) {
  int before = pk_detail::ImageFormHookCount();
  imageForm_->Free();
  imageForm_ = nullptr;
  EXPECT_EQ(pk_detail::ImageFormHookCount(), before - 1);
  if (before - 1 == 0) {
    EXPECT_EQ(pk_detail::ImageFormHook(), nullptr);
  }
  // A press now reaches the form itself and moves nothing.
  POINT p = At(50, 50);
  Press(p, {{p.x + 30, p.y}});
  Pump();
  EXPECT_EQ(form_->GetLeft(), 100);
}

}  // namespace
