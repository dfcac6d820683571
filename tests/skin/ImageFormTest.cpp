#include <gtest/gtest.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/graphics/Icon.h"
#include "skin/pkBitmap.h"
#include "skin/pkimageform.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin_test;

namespace {

constexpr TColor kKey = clFuchsia;
constexpr TColor kInk = clNavy;

// A skin: a cross of ink on the key colour (the bottom-left pixel is key).
Owned<TBitmap> CrossSkin() {
  return BitmapFromText({"..##..", "..##..", "######", "######", "..##..", "..##.."}, {{'.', kKey}, {'#', kInk}});
}

// The image form with its drag operations recorded instead of run.
class TProbeImageForm : public TpkImageForm {
  DECLARE_CLASS(TProbeImageForm, TpkImageForm)
  using TpkImageForm::TpkImageForm;

  struct TMove {
    TMouseButton Button;
    TShiftState Shift;
    int X, Y;
  };
  std::vector<TMove> Moves;
  bool RunMoves = false;
  int Loops = 0;

  void BeginMove(TMouseButton button, TShiftState shift, int x, int y) override {
    Moves.push_back({button, shift, x, y});
    if (RunMoves) inherited::BeginMove(button, shift, x, y);
  }
  void DragLoop(int, int) override { ++Loops; }
};
IMPLEMENT_CLASS(TProbeImageForm)

// A windowless control that may carry click handlers.
class TSpot : public TGraphicControl {
  DECLARE_CLASS(TSpot, TGraphicControl)
  using TGraphicControl::TGraphicControl;
  void Clicked(TObject*) {}
};
IMPLEMENT_CLASS(TSpot)

// A class the stored-form reader finds by name while it lives.
class TRegisteredClass {
 public:
  explicit TRegisteredClass(TClass cls) : cls_(cls) { RegisterClass(cls); }
  ~TRegisteredClass() { UnRegisterClass(cls_); }
  TRegisteredClass(const TRegisteredClass&) = delete;
  TRegisteredClass& operator=(const TRegisteredClass&) = delete;

 private:
  TClass cls_;
};

class ImageFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(New<TForm>(nullptr, 0));
    form_->SetBounds(50, 50, 300, 200);
  }
  template <class T = TpkImageForm>
  T* AddImageForm() {
    auto* f = New<T>(form_.get());
    f->SetParent(form_.get());
    return f;
  }
  HRGN FormRegion() { return WindowRegion(form_->GetHandle()); }
  Owned<TForm> form_;
};

TEST_F(ImageFormTest, StartsAlignedToTheClientWithItsDefaults) {
  Owned<TpkImageForm> f(New<TpkImageForm>(nullptr));
  EXPECT_EQ(f->GetAlign(), alClient);
  EXPECT_EQ(f->GetDragTolerance(), 5);
  EXPECT_EQ(f->GetTransparentColor(), clNone);
  EXPECT_TRUE(f->GetOptions().Empty());
  EXPECT_FALSE(f->GetAutoSize());
  EXPECT_EQ(f->GetWidth(), 105);
  EXPECT_EQ(f->GetHeight(), 105);
  EXPECT_TRUE(f->GetControlStyle().Contains(csReplicatable));
  EXPECT_EQ(f->GetRegion(), nullptr);
}

TEST_F(ImageFormTest, TakesTheFormOfItsParentAndMakesItBorderless) {
  auto* panel = New<TCustomControl>(form_.get());
  panel->SetParent(form_.get());
  auto* f = New<TpkImageForm>(form_.get());
  f->SetParent(panel);
  EXPECT_EQ(f->GetParent(), form_.get());
  EXPECT_EQ(form_->GetBorderStyle(), bsNone);
  EXPECT_EQ(GetWindowLongPtrA(form_->GetHandle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
}

TEST_F(ImageFormTest, APictureSizesTheFormsClientArea) {
  auto* f = AddImageForm();
  Owned<TBitmap> skin = BitmapFromText({"........", "........", "........"}, {{'.', kKey}});
  Owned<TPicture> picture = MakeOwned<TPicture>();
  picture->SetBitmap(skin.get());
  f->SetPicture(picture.get());
  EXPECT_EQ(form_->GetClientWidth(), 8);
  EXPECT_EQ(form_->GetClientHeight(), 3);
}

TEST_F(ImageFormTest, AutoSizeFollowsThePictureAndTheFormFollowsTheControl) {
  auto* f = AddImageForm();
  f->SetAlign(alNone);
  f->SetAutoSize(true);
  Owned<TBitmap> skin = BitmapFromText({"..........", ".........."}, {{'.', kKey}});
  f->GetPicture()->SetBitmap(skin.get());
  EXPECT_EQ(f->GetWidth(), 10);
  EXPECT_EQ(f->GetHeight(), 2);
  EXPECT_EQ(form_->GetClientWidth(), 10);
  EXPECT_EQ(form_->GetClientHeight(), 2);
  f->SetBounds(0, 0, 40, 30);
  EXPECT_EQ(form_->GetClientWidth(), 40);
  EXPECT_EQ(form_->GetClientHeight(), 30);
}

TEST_F(ImageFormTest, AutoSizeAlignedToTheClientReshapesTheFormToEveryPicture) {
  // As the menu's stored forms have it: aligned to the client, AutoSize on,
  // the skin loaded into the picture afterwards.
  auto* f = AddImageForm();
  f->SetAutoSize(true);
  using TRows = std::vector<std::string>;
  for (const TRows& rows : {TRows(12, std::string(20, '.')), TRows(3, std::string(5, '.'))}) {
    Owned<TBitmap> skin = BitmapFromText(rows, {{'.', kKey}});
    f->GetPicture()->SetBitmap(skin.get());
    SCOPED_TRACE(rows.size());
    EXPECT_EQ(form_->GetClientWidth(), skin->GetWidth());
    EXPECT_EQ(form_->GetClientHeight(), skin->GetHeight());
    EXPECT_EQ(f->GetWidth(), skin->GetWidth());
    EXPECT_EQ(f->GetHeight(), skin->GetHeight());
  }
}

TEST_F(ImageFormTest, OpaqueOnlyWhileAnOpaquePictureCoversIt) {
  auto* f = AddImageForm();
  f->SetAlign(alNone);
  f->SetBounds(0, 0, 4, 3);
  struct TCase {
    const char* Name;
    int W, H;  // 0: no graphic
    bool Opaque;
  };
  const TCase cases[] = {
      {"as large", 4, 3, true}, {"larger", 6, 5, true}, {"narrower", 3, 3, false},
      {"lower", 4, 2, false},   {"no graphic", 0, 0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (c.W) {
      std::vector<std::string> rows(static_cast<size_t>(c.H), std::string(static_cast<size_t>(c.W), '.'));
      Owned<TBitmap> b = BitmapFromText(rows, {{'.', kInk}});
      b->SetTransparent(true);
      f->GetPicture()->SetBitmap(b.get());
      EXPECT_FALSE(f->GetPicture()->GetGraphic()->GetTransparent()) << "the control's own flag (off) wins";
    } else {
      f->GetPicture()->SetGraphic(nullptr);
    }
    EXPECT_EQ(f->GetControlStyle().Contains(csOpaque), c.Opaque);
  }
}

TEST_F(ImageFormTest, PaintsThePictureAtItsTopLeft) {
  auto* f = AddImageForm();
  f->SetAlign(alNone);
  f->SetBounds(0, 0, 20, 20);
  Owned<TBitmap> skin = CrossSkin();
  f->GetPicture()->SetBitmap(skin.get());
  TDib dib(20, 20, clWhite);
  form_->PaintControls(dib.DC(), nullptr);
  EXPECT_EQ(dib.Pixel(0, 0), static_cast<COLORREF>(kKey));
  EXPECT_EQ(dib.Pixel(2, 0), static_cast<COLORREF>(kInk));
  EXPECT_EQ(dib.Pixel(5, 5), static_cast<COLORREF>(kKey));
  EXPECT_EQ(dib.Pixel(6, 6), static_cast<COLORREF>(clWhite)) << "nothing beyond the picture";
}

// A 16 x 16 icon: its left half transparent (mask set), its right half ink.
HICON HalfIcon() {
  HDC screen = GetDC(nullptr);
  HBITMAP color = CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, color);
  RECT all{0, 0, 16, 16}, left{0, 0, 8, 16};
  HBRUSH ink = CreateSolidBrush(static_cast<COLORREF>(kInk));
  FillRect(dc, &all, ink);
  FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(ink);
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(color);
  return icon;
}

TEST_F(ImageFormTest, OnAPaletteDisplayThePictureIsDrawnThroughAPaletteBitmap) {
  // The picture itself draws with its transparency (an icon's mask keeps
  // what lies under it); the palette path first makes a 24-bit copy of it,
  // drawn on white, and draws that: the transparent half comes out white.
  // A deep display, or the no-dither option, takes the first path.
  struct TPathCase {
    const char* Name;
    int Depth;
    bool NoDither;
    COLORREF UnderTheMask;
  };
  const TPathCase cases[] = {
      {"palette display", 8, false, RGB(255, 255, 255)},
      {"palette display, no dither", 8, true, static_cast<COLORREF>(clLime)},
      {"true-colour display", 32, false, static_cast<COLORREF>(clLime)},
  };
  for (const TPathCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSeamOverride<std::function<int()>> depth(Seams().DisplayBitsPerPixel, [&c] { return c.Depth; });
    auto* f = AddImageForm();
    f->SetAlign(alNone);
    f->SetBounds(0, 0, 20, 20);
    if (c.NoDither) f->SetOptions(TpkImageFormOptions{ifNoPaletteDither});
    Owned<TIcon> icon = MakeOwned<TIcon>();
    icon->SetHandle(HalfIcon());
    f->GetPicture()->SetGraphic(icon.get());
    TDib dib(20, 20, static_cast<COLORREF>(clLime));
    form_->PaintControls(dib.DC(), nullptr);
    EXPECT_EQ(f->GetNoPaletteDither(), c.NoDither) << "the switch is turned on by the first paint";
    EXPECT_EQ(dib.Pixel(3, 8), c.UnderTheMask);
    EXPECT_EQ(dib.Pixel(12, 8), static_cast<COLORREF>(kInk));
    EXPECT_EQ(dib.Pixel(18, 18), static_cast<COLORREF>(clLime)) << "nothing beyond the picture";
    f->Free();
  }
}

TEST_F(ImageFormTest, StoredFormRoundTripKeepsEveryProperty) {
  TRegisteredClass spotClass(TSpot::StaticClass());
  auto* f = AddImageForm();
  f->SetName("pkImageForm1");
  auto* bar = New<TSpot>(form_.get());
  bar->SetName("Bar");
  bar->SetParent(form_.get());
  f->SetDragTolerance(9);
  f->SetOptions(TpkImageFormOptions{ifUseWindowsDrag});
  f->SetTransparentColor(clRed);
  f->SetCaptionBarControl(bar);
  std::string text = WriteForm(form_.get());
  EXPECT_NE(text.find("RegionData = {"), std::string::npos) << text;
  EXPECT_NE(text.find("DragTolerance = 9"), std::string::npos) << text;

  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* g = dynamic_cast<TpkImageForm*>(copy->FindComponent("pkImageForm1"));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetDragTolerance(), 9);
  EXPECT_EQ(g->GetOptions(), TpkImageFormOptions{ifUseWindowsDrag});
  EXPECT_EQ(g->GetTransparentColor(), clRed);
  EXPECT_EQ(g->GetCaptionBarControl(), copy->FindComponent("Bar"));
  EXPECT_EQ(g->GetAlign(), alClient);
}

TEST_F(ImageFormTest, DefaultsAreLeftOutButDragToleranceIsAlwaysWritten) {
  auto* f = AddImageForm();
  f->SetName("pkImageForm1");
  std::string text = WriteForm(form_.get());
  EXPECT_NE(text.find("DragTolerance = 5"), std::string::npos) << text;
  EXPECT_NE(text.find("Align = alClient"), std::string::npos) << text;
  EXPECT_EQ(text.find("TransparentColor"), std::string::npos) << text;
  EXPECT_EQ(text.find("Options"), std::string::npos) << text;
  EXPECT_EQ(text.find("AutoSize"), std::string::npos) << text;
  // Without a picture the region written is the empty blob.
  EXPECT_NE(text.find("RegionData = {\r\n      00000000}"), std::string::npos) << text;
}

TEST_F(ImageFormTest, RegionIsBuiltFromThePictureWhenTheStoredCountIsZero) {
  auto* f = AddImageForm();
  f->SetName("pkImageForm1");
  Owned<TBitmap> skin = CrossSkin();
  f->GetPicture()->SetBitmap(skin.get());
  std::string text = WriteForm(form_.get());
  // Writing rebuilt the region (from the bottom-left pixel) and stored it.
  TpkRegion expected(BuildRegionFromGraphic(skin.get(), kKey));
  ASSERT_TRUE(expected);
  TpkRegion written(FormRegion());
  EXPECT_TRUE(SameRegion(written.get(), expected.get()));

  // A stored region is set as it is; an empty blob rebuilds from the picture.
  for (bool emptyBlob : {false, true}) {
    SCOPED_TRACE(emptyBlob);
    std::string t = text;
    if (emptyBlob) {
      size_t a = t.find("RegionData = {");
      size_t b = t.find('}', a);
      t.replace(a, b - a + 1, "RegionData = {00000000}");
    }
    Owned<TForm> copy(New<TForm>(nullptr, 0));
    ReadForm(t, copy.get());
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(copy->GetHandle(), r), ERROR);
    TpkRegion read(r);
    EXPECT_TRUE(SameRegion(read.get(), expected.get()));
  }
}

TEST_F(ImageFormTest, APictureLoadedAfterTheStoredFormDoesNotReshapeTheForm) {
  auto* f = AddImageForm();
  f->SetName("pkImageForm1");
  std::string text = WriteForm(form_.get());
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* g = dynamic_cast<TpkImageForm*>(copy->FindComponent("pkImageForm1"));
  ASSERT_NE(g, nullptr);
  Owned<TBitmap> skin = CrossSkin();
  g->GetPicture()->SetBitmap(skin.get());
  g->SetTransparentColor(kKey);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(copy->GetHandle(), r), ERROR) << "the form stays rectangular";
  DeleteObject(r);
  EXPECT_EQ(g->GetRegion(), nullptr);
  // Until the form writes its region again.
  WriteForm(copy.get());
  EXPECT_NE(g->GetRegion(), nullptr);
}

TEST_F(ImageFormTest, ADamagedStoredBlobLeavesTheFormRectangular) {
  auto* f = AddImageForm();
  f->SetName("pkImageForm1");
  std::string text = WriteForm(form_.get());
  size_t a = text.find("RegionData = {");
  size_t b = text.find('}', a);
  // A count of 64 bytes, then a header that claims more rectangles than follow.
  text.replace(a, b - a + 1,
               "RegionData = {40000000200000000100000009000000100000000000000000000000040000000400000000000000}");
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* g = dynamic_cast<TpkImageForm*>(copy->FindComponent("pkImageForm1"));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetRegion(), nullptr);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(copy->GetHandle(), r), ERROR);
  DeleteObject(r);
}

TEST_F(ImageFormTest, ADamagedBlobReadOverAShapedFormMakesItRectangular) {
  // An inherited form reads the ancestor's region first, then its own.
  auto* f = AddImageForm();
  f->SetName("pkImageForm1");
  Owned<TBitmap> skin = CrossSkin();
  f->GetPicture()->SetBitmap(skin.get());
  form_->SetName("Shaped");
  std::string text = WriteForm(form_.get());
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(copy->GetHandle(), r), ERROR) << "shaped by the ancestor";
  DeleteObject(r);
  ReadForm("inherited Shaped: TForm\r\n  inherited pkImageForm1: TpkImageForm\r\n"
           "    RegionData = {1000000001000000}\r\n  end\r\nend\r\n",
           copy.get());
  auto* g = dynamic_cast<TpkImageForm*>(copy->FindComponent("pkImageForm1"));
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->GetRegion(), nullptr);
  r = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(copy->GetHandle(), r), ERROR) << "the damaged blob leaves no shape";
  DeleteObject(r);
}

TEST_F(ImageFormTest, KeyColourComesFromTheBottomLeftPixelOfAnyGraphic) {
  auto* f = AddImageForm();
  EXPECT_EQ(f->RegionColor(), clNone) << "no picture";
  Owned<TBitmap> skin = BitmapFromText({"ab", "cd"}, {{'a', clRed}, {'b', clLime}, {'c', clBlue}, {'d', clYellow}});
  f->GetPicture()->SetBitmap(skin.get());
  EXPECT_EQ(f->RegionColor(), clBlue);
  // A graphic that is not a TBitmap: its drawing's bottom-left pixel.
  Owned<TpkBitmap> pk = MakeOwned<TpkBitmap>();
  pk->Assign(skin.get());
  f->GetPicture()->SetGraphic(pk.get());
  EXPECT_EQ(f->RegionColor(), clBlue);
  f->SetTransparentColor(clLime);
  EXPECT_EQ(f->RegionColor(), clLime);
  f->RebuildRegion();
  TpkRegion expected(BuildRegionFromGraphic(skin.get(), clLime));
  TpkRegion actual(FormRegion());
  EXPECT_TRUE(SameRegion(actual.get(), expected.get()));
}

TEST_F(ImageFormTest, ScaleRegionScalesTheFormsRegion) {
  auto* f = AddImageForm();
  Owned<TBitmap> skin = CrossSkin();
  f->GetPicture()->SetBitmap(skin.get());
  f->RebuildRegion();
  f->ScaleRegion(2.0f, 3.0f);
  TpkRegion r(FormRegion());
  RECT box = RegionBox(r.get());
  EXPECT_EQ(box.right, 12);
  EXPECT_EQ(box.bottom, 18);
  EXPECT_TRUE(PtInRegion(r.get(), 5, 1));   // (2, 0) scaled
  EXPECT_FALSE(PtInRegion(r.get(), 1, 1));  // (0, 0) is key
}

TEST_F(ImageFormTest, ShapingPaintingWritingAndFreeingLeaveNoHandlesBehind) {
  int hooks = pk_detail::ImageFormHookCount();
  ExpectNoHandleGrowth([this] {
    auto* f = AddImageForm();
    f->SetName("pkImageForm1");
    Owned<TBitmap> skin = CrossSkin();
    f->GetPicture()->SetBitmap(skin.get());
    f->RebuildRegion();
    f->ScaleRegion(2.0f, 2.0f);
    TDib dib(20, 20, clWhite);
    form_->PaintControls(dib.DC(), nullptr);
    WriteForm(form_.get());
    f->Free();
  });
  EXPECT_EQ(pk_detail::ImageFormHookCount(), hooks);
}

TEST_F(ImageFormTest, TheMouseHookIsSharedAndCounted) {
  int before = pk_detail::ImageFormHookCount();
  {
    Owned<TpkImageForm> a(New<TpkImageForm>(nullptr));
    EXPECT_EQ(pk_detail::ImageFormHookCount(), before + 1);
    EXPECT_NE(pk_detail::ImageFormHook(), nullptr);
    HHOOK hook = pk_detail::ImageFormHook();
    Owned<TpkImageForm> b(New<TpkImageForm>(nullptr));
    EXPECT_EQ(pk_detail::ImageFormHookCount(), before + 2);
    EXPECT_EQ(pk_detail::ImageFormHook(), hook) << "one hook per thread";
  }
  EXPECT_EQ(pk_detail::ImageFormHookCount(), before);
  if (before == 0) {
    EXPECT_EQ(pk_detail::ImageFormHook(), nullptr);
  }
}

TEST_F(ImageFormTest, FreeingTheCaptionBarControlClearsIt) {
  auto* f = AddImageForm();
  auto* bar = New<TSpot>(form_.get());
  bar->SetParent(form_.get());
  f->SetCaptionBarControl(bar);
  bar->Free();
  EXPECT_EQ(f->GetCaptionBarControl(), nullptr);
}

TEST_F(ImageFormTest, DragOutlineIsThreeNestedXorFrames) {
  auto* f = AddImageForm();
  TDib dib(20, 20, clWhite);
  f->DrawDragOutline(dib.DC(), Rect(2, 2, 18, 18));
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    // DrawFocusRect's dotted frame: every other pixel of the top edge.
    bool changed = dib.Pixel(2 + i, 2 + i) != clWhite || dib.Pixel(3 + i, 2 + i) != clWhite;
    EXPECT_TRUE(changed);
  }
  EXPECT_EQ(dib.Pixel(10, 10), static_cast<COLORREF>(clWhite));
  f->DrawDragOutline(dib.DC(), Rect(2, 2, 18, 18));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(dib.Pixel(x, y), static_cast<COLORREF>(clWhite)) << x << "," << y;
}

// Intercepts the form's window messages of one kind.
class TSysCommandSpy {
 public:
  explicit TSysCommandSpy(TWinControl* form) : form_(form), saved_(form->GetWindowProc()) {
    form->SetWindowProc(TWndMethod(this, &TSysCommandSpy::Proc));
  }
  ~TSysCommandSpy() { form_->SetWindowProc(saved_); }
  TSysCommandSpy(const TSysCommandSpy&) = delete;
  TSysCommandSpy& operator=(const TSysCommandSpy&) = delete;
  std::vector<WPARAM> Commands;

 private:
  void Proc(TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) {
      Commands.push_back(m.WParam);
      return;  // no menu, no move loop
    }
    saved_(m);
  }
  TWinControl* form_;
  TWndMethod saved_;
};

TEST_F(ImageFormTest, ARightButtonOpensTheKeyboardMenuInsteadOfDragging) {
  auto* f = AddImageForm<TProbeImageForm>();
  f->RunMoves = true;
  TSysCommandSpy spy(form_.get());
  f->BeginMove(mbRight, TShiftState{ssRight}, 3, 3);
  EXPECT_EQ(spy.Commands, std::vector<WPARAM>{SC_KEYMENU});
  EXPECT_EQ(f->Loops, 0);
}

// Full-window dragging is a setting of the whole desktop: alone.
class SerialImageFormSystemDrag : public ImageFormTest {};

TEST_F(SerialImageFormSystemDrag, WindowsDragRunsOnlyWithTheOptionAndFullWindowDragging) {
  BOOL saved = FALSE;
  SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &saved, 0);
  struct TRestore {
    BOOL v;
    ~TRestore() { SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, v, nullptr, 0); }
  } restore{saved};
  auto* f = AddImageForm<TProbeImageForm>();
  f->RunMoves = true;
  HWND w = form_->GetHandle();
  for (bool option : {false, true})
    for (BOOL full : {FALSE, TRUE}) {
      SCOPED_TRACE(std::to_string(option) + " " + std::to_string(full));
      SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, full, nullptr, 0);
      f->SetOptions(option ? TpkImageFormOptions{ifUseWindowsDrag} : TpkImageFormOptions{});
      f->Loops = 0;
      f->BeginMove(mbLeft, TShiftState{ssLeft}, 4, 4);
      MSG msg;
      bool posted = PeekMessageA(&msg, w, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE) != 0;
      bool system = option && full;
      EXPECT_EQ(f->UseSystemDrag(), system);
      EXPECT_EQ(posted, system);
      if (posted) {
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_MOVE | HTCAPTION));
      }
      EXPECT_EQ(f->Loops, system ? 0 : 1);
    }
}

struct TFilterCase {
  const char* Name;
  bool Bar;           // a caption bar (the spot at 0..20) is set
  bool SpotClick;     // the spot has an OnClick
  POINT At;           // the press, in form coordinates
  bool Moves;
};

TEST_F(ImageFormTest, FilterMouseMessageStartsAMoveAsTheTableSays) {
  const TFilterCase cases[] = {
      {"image form, no bar", false, false, {150, 150}, true},
      {"plain spot, no bar", false, false, {10, 10}, false},
      {"clickable spot, no bar", false, true, {10, 10}, false},
      {"outside every control, no bar", false, false, {250, 150}, true},
      {"on the bar", true, false, {10, 10}, true},
      {"on the clickable bar", true, true, {10, 10}, true},
      {"image form, bar set", true, false, {150, 150}, true},
      {"outside every control, bar set", true, false, {250, 150}, true},
  };
  for (const TFilterCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->SetBounds(0, 0, 300, 200);
    auto* f = New<TProbeImageForm>(form.get());
    f->SetParent(form.get());
    f->SetAlign(alNone);
    f->SetBounds(0, 0, 200, 200);
    auto* spot = New<TSpot>(form.get());
    spot->SetParent(form.get());
    spot->SetBounds(0, 0, 20, 20);
    if (c.SpotClick) spot->OnClick = TNotifyEvent(spot, &TSpot::Clicked);
    if (c.Bar) f->SetCaptionBarControl(spot);
    TMessage m{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.At.x, c.At.y), 0};
    f->FilterMouseMessage(m);
    EXPECT_EQ(f->Moves.size(), c.Moves ? 1u : 0u);
    if (!f->Moves.empty()) {
      EXPECT_EQ(f->Moves[0].X, c.At.x);
      EXPECT_TRUE(f->Moves[0].Shift.Contains(ssLeft));
    }
  }
}

}  // namespace
