// Windowless controls are painted by their parent, in Z-order, into the DC
// that WM_PAINT brings.
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

class TSwatch : public TGraphicControl {
  DECLARE_CLASS(TSwatch, TGraphicControl)
  explicit TSwatch(TComponent* owner) : TGraphicControl(owner) {}
  COLORREF Fill = RGB(0, 0, 0);
  int Paints = 0;
  bool SawPaintCopy = false;
  void Paint() override {
    ++Paints;
    SawPaintCopy = GetControlState().Contains(csPaintCopy);
    HDC dc = GetCanvas()->GetHandle();
    HBRUSH b = CreateSolidBrush(Fill);
    RECT r{0, 0, GetWidth() + 50, GetHeight() + 50};  // the clip keeps it inside
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
};
IMPLEMENT_CLASS(TSwatch)

class ControlPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    parent = MakeContainer(host.Handle(), 100, 50);
    parent->HandleNeeded();
  }
  void TearDown() override { parent->Free(); }
  TSwatch* AddSwatch(int left, int width, COLORREF fill) {
    auto* s = New<TSwatch>(parent);
    s->SetBounds(left, 10, width, 20);
    s->Fill = fill;
    s->SetParent(parent);
    return s;
  }
  THostWindow host;
  TProbeControl* parent = nullptr;
};

TEST_F(ControlPaintTest, ChildrenPaintInZOrderIntoTheGivenDC) {
  const COLORREF white = RGB(255, 255, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  TSwatch* a = AddSwatch(10, 30, red);   // 10..40
  TSwatch* b = AddSwatch(30, 30, blue);  // 30..60, above a
  TDib dib(100, 50, white);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_EQ(dib.Pixel(15, 15), red);
  EXPECT_EQ(dib.Pixel(35, 15), blue);   // overlap: the later one wins
  EXPECT_EQ(dib.Pixel(55, 15), blue);
  EXPECT_EQ(dib.Pixel(65, 15), white);  // clipped to each child's bounds
  EXPECT_EQ(dib.Pixel(15, 5), white);
  EXPECT_EQ(dib.Pixel(15, 35), white);

  a->BringToFront();
  TDib again(100, 50, white);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(again.DC()), 0);
  EXPECT_EQ(again.Pixel(35, 15), red);

  b->SetVisible(false);
  TDib hidden(100, 50, white);
  int before = b->Paints;
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(hidden.DC()), 0);
  EXPECT_EQ(b->Paints, before);
  EXPECT_EQ(hidden.Pixel(55, 15), white);
}

TEST_F(ControlPaintTest, PaintCopyReachesTheChildrenOnlyWhileTheParentPaintsACopy) {
  TSwatch* s = AddSwatch(0, 20, RGB(0, 255, 0));
  TDib dib(100, 50, RGB(255, 255, 255));
  parent->SetControlState(parent->GetControlState() + TControlState{csPaintCopy});
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_TRUE(s->SawPaintCopy);
  EXPECT_FALSE(s->GetControlState().Contains(csPaintCopy));
  parent->SetControlState(parent->GetControlState() - TControlState{csPaintCopy});
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_FALSE(s->SawPaintCopy);
}

TEST_F(ControlPaintTest, MouseMessagesGoToTheWindowlessChildUnderThePoint) {
  TSwatch* s = AddSwatch(20, 30, RGB(0, 0, 0));
  std::vector<POINT> downs;
  struct TSink {
    std::vector<POINT>* Downs;
    int Clicks = 0;
    void Down(TObject*, TMouseButton, TShiftState, int x, int y) { Downs->push_back(POINT{x, y}); }
    void Click(TObject*) { ++Clicks; }
  } sink{&downs};
  s->OnMouseDown = TMouseEvent(&sink, &TSink::Down);
  s->OnClick = TNotifyEvent(&sink, &TSink::Click);
  SendMessageA(parent->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 15));
  // The child holds the capture through its parent's window.
  EXPECT_EQ(GetCapture(), parent->GetHandle());
  EXPECT_EQ(GetCaptureControl(), s);
  SendMessageA(parent->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(25, 15));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(sink.Clicks, 1);
  // Released outside the child: no click.
  SendMessageA(parent->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 15));
  SendMessageA(parent->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(90, 45));
  EXPECT_EQ(sink.Clicks, 1);
  SendMessageA(parent->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // not on it
  SendMessageA(parent->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(downs.size(), 2u);  // the two presses on it, none beside it
  EXPECT_EQ(downs[0].x, 5);  // in the child's own coordinates
  EXPECT_EQ(downs[0].y, 5);
  EXPECT_EQ(parent->ControlAtPos(POINT{25, 15}, false), s);
  EXPECT_EQ(parent->ControlAtPos(POINT{5, 5}, false), nullptr);
}

TEST_F(ControlPaintTest, ADCTakenOutsidePaintingIsGivenBackAfterTheMessage) {
  TSwatch* s = AddSwatch(20, 30, RGB(0, 0, 0));
  HDC dc = s->GetCanvas()->GetHandle();  // outside painting: the parent's window DC
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(WindowFromDC(dc), parent->GetHandle());
  POINT org;
  GetViewportOrgEx(dc, &org);
  EXPECT_EQ(org.x, 20);  // moved onto the control
  EXPECT_EQ(org.y, 10);
  SendMessageA(parent->GetHandle(), WM_NULL, 0, 0);
  EXPECT_FALSE(s->GetCanvas()->HandleAllocated());
}

class TPainted : public TCustomControl {
  DECLARE_CLASS(TPainted, TCustomControl)
  explicit TPainted(TComponent* owner) : TCustomControl(owner) {}
  void Paint() override {
    HBRUSH b = CreateSolidBrush(RGB(0, 128, 0));
    RECT r{0, 0, 10, 10};
    FillRect(GetCanvas()->GetHandle(), &r, b);
    DeleteObject(b);
  }
};
IMPLEMENT_CLASS(TPainted)

TEST_F(ControlPaintTest, ACustomControlPaintsThroughItsCanvasIntoTheGivenDC) {
  auto* c = New<TPainted>(parent);
  c->SetBounds(0, 0, 40, 20);
  c->SetParent(parent);
  TSwatch* inside = New<TSwatch>(parent);
  inside->Fill = RGB(0, 0, 255);
  c->SetControlStyle(c->GetControlStyle() + TControlStyle{csAcceptsControls});
  inside->SetBounds(20, 0, 10, 10);
  inside->SetParent(c);
  TDib dib(40, 20, RGB(255, 255, 255));
  c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_EQ(dib.Pixel(5, 5), RGB(0, 128, 0));
  EXPECT_EQ(dib.Pixel(25, 5), RGB(0, 0, 255));  // its own windowless child, after Paint
  EXPECT_EQ(dib.Pixel(35, 15), RGB(255, 255, 255));
  EXPECT_FALSE(c->GetCanvas()->HandleAllocated());
}


// A windowless control that frames what it painted: its WMPaint override
// runs when the parent paints it, around the inherited painting.
class TFramedSwatch : public TSwatch {
  DECLARE_CLASS(TFramedSwatch, TSwatch)
  using TSwatch::TSwatch;
  void WMPaint(TMessage& m) override {
    inherited::WMPaint(m);
    HBRUSH b = CreateSolidBrush(RGB(0, 255, 0));
    RECT r{0, 0, GetWidth(), GetHeight()};
    FrameRect(reinterpret_cast<HDC>(m.WParam), &r, b);
    DeleteObject(b);
  }
};
IMPLEMENT_CLASS(TFramedSwatch)

TEST_F(ControlPaintTest, AWindowlessControlsPaintHandlerIsItsOwnToOverride) {
  auto* s = New<TFramedSwatch>(parent);
  s->SetBounds(10, 10, 30, 20);
  s->Fill = RGB(255, 0, 0);
  s->SetParent(parent);
  TDib dib(100, 50, RGB(255, 255, 255));
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_EQ(s->Paints, 1);
  ExpectPixels(dib, {{20, 20, RGB(255, 0, 0)}, {10, 10, RGB(0, 255, 0)}, {39, 29, RGB(0, 255, 0)},
                     {41, 20, RGB(255, 255, 255)}});
}

// A double-buffered control paints into a memory bitmap and copies it to
// the window; when no bitmap of its size can be had (4 GB for 32000 x
// 32000 pixels) it paints straight into the window instead of into
// nothing.
class TBufferedProbe : public TCustomControl {
  DECLARE_CLASS(TBufferedProbe, TCustomControl)
  explicit TBufferedProbe(TComponent* owner) : TCustomControl(owner) { SetDoubleBuffered(true); }
  std::vector<DWORD> PaintedOn;  // the object type of each DC painted on
  void Paint() override { PaintedOn.push_back(GetObjectType(GetCanvas()->GetHandle())); }
};
IMPLEMENT_CLASS(TBufferedProbe)

TEST_F(ControlPaintTest, ADoubleBufferedControlPaintsOnceThroughABitmapOrElseStraight) {
  host.Show();
  parent->Show();
  struct TCase {
    int size;
    DWORD dcType;
  };
  for (TCase c : {TCase{60, OBJ_MEMDC}, TCase{32000, OBJ_DC}}) {
    SCOPED_TRACE(c.size);
    auto* control = New<TBufferedProbe>(parent);
    control->SetBounds(0, 0, c.size, c.size);
    control->SetParent(parent);
    HWND w = control->GetHandle();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(control->PaintedOn, std::vector<DWORD>{c.dcType});
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));  // the paint was taken
    control->Free();
  }
}

}  // namespace
