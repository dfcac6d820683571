#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Seams.h"
#include "skin/pkBitmap.h"
#include "skin/pkButton.h"
#include "skin/pkShared.h"
#include "skin/pktext.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin_test;

namespace {

// The bit button with its layout, clicks and selection changes recorded.
class TProbeBitBtn : public TpkCustomBitBtn {
  DECLARE_CLASS(TProbeBitBtn, TpkCustomBitBtn)
  using TpkCustomBitBtn::TpkCustomBitBtn;

  int Clicks = 0;
  int SelChanges = 0;
  TRect LastGlyph{}, LastText{}, LastClient{};
  // Runs inside OnClick (while the button's in-click flag is set).
  std::function<void()> DuringClick;
  void Clicked(TObject*) {
    ++Clicks;
    if (DuringClick) DuringClick();
  }
  void SelChanged(TObject*) { ++SelChanges; }
  void CalcLayout(TCanvas* canvas, const TRect& bounds, TRect& client, TSize textSize, TRect& glyphRect,
                  TRect& textRect) override {
    inherited::CalcLayout(canvas, bounds, client, textSize, glyphRect, textRect);
    LastGlyph = glyphRect;
    LastText = textRect;
    LastClient = client;
  }
  bool PaintPressed() const { return GetPaintPressed(); }
};
IMPLEMENT_CLASS(TProbeBitBtn)

// A hidden host window (not a control) with a windowed panel in it: the
// buttons' parent, on no form.
class TButtonHost {
 public:
  TButtonHost() {
    panel_.reset(New<TCustomControl>(nullptr));
    panel_->SetBounds(0, 0, 400, 300);
    panel_->SetParentWindow(window_.Handle());
  }
  ~TButtonHost() { panel_.reset(); }
  TButtonHost(const TButtonHost&) = delete;
  TButtonHost& operator=(const TButtonHost&) = delete;

  TProbeBitBtn* Add(int left = 10, int top = 10) {
    auto* b = New<TProbeBitBtn>(panel_.get());
    b->SetParent(panel_.get());
    b->SetBounds(left, top, 75, 25);
    b->OnClick = TNotifyEvent(b, &TProbeBitBtn::Clicked);
    b->OnSelChange = TNotifyEvent(b, &TProbeBitBtn::SelChanged);
    return b;
  }
  TWinControl* Panel() const { return panel_.get(); }

 private:
  controls_test::THostWindow window_;
  Owned<TCustomControl> panel_;
};

Owned<TBitmap> Glyph(int w, int h) {
  Owned<TBitmap> g = MakeOwned<TBitmap>();
  g->SetPixelFormat(pf24bit);
  g->SetSize(w, h);
  return g;
}

// --- CalcLayout ---------------------------------------------------------------

struct TLayoutCase {
  const char* Name;
  TButtonLayout Layout;
  TAlignment Alignment;
  bool HasGlyph;
  bool HasCaption;
  TRect Glyph;
  TRect Text;
};

// A 75 x 25 button, a 16 x 16 glyph, a caption measured 30 x 13, Margin -1,
// Spacing 4: the rectangles worked out by hand.
const TLayoutCase kLayouts[] = {
    {"left, centred", blGlyphLeft, taCenter, true, true, {12, 4, 28, 20}, {32, 6, 62, 19}},
    {"right, centred", blGlyphRight, taCenter, true, true, {46, 4, 62, 20}, {12, 6, 42, 19}},
    {"top, centred", blGlyphTop, taCenter, true, true, {29, -5, 45, 11}, {22, 15, 52, 28}},
    {"bottom, centred", blGlyphBottom, taCenter, true, true, {29, 12, 45, 28}, {22, -5, 52, 8}},
    {"left, left-justified", blGlyphLeft, taLeftJustify, true, true, {4, 4, 20, 20}, {24, 6, 54, 19}},
    {"left, right-justified", blGlyphLeft, taRightJustify, true, true, {21, 4, 37, 20}, {41, 6, 71, 19}},
    {"top, left-justified", blGlyphTop, taLeftJustify, true, true, {21, -5, 37, 11}, {14, 15, 44, 28}},
    {"caption only, left", blGlyphLeft, taCenter, false, true, {24, 12, 24, 12}, {21, 6, 51, 19}},
    {"caption only, right", blGlyphRight, taCenter, false, true, {51, 12, 51, 12}, {24, 6, 54, 19}},
    {"caption only, top", blGlyphTop, taCenter, false, true, {37, 7, 37, 7}, {22, 4, 52, 17}},
    {"caption only, bottom", blGlyphBottom, taCenter, false, true, {37, 17, 37, 17}, {22, 7, 52, 20}},
    {"glyph only, left", blGlyphLeft, taCenter, true, false, {29, 4, 45, 20}, {45, 12, 45, 12}},
    {"glyph only, right", blGlyphRight, taCenter, true, false, {29, 4, 45, 20}, {29, 12, 29, 12}},
    {"glyph only, top", blGlyphTop, taCenter, true, false, {29, 4, 45, 20}, {37, 20, 37, 20}},
    {"glyph only, bottom", blGlyphBottom, taCenter, true, false, {29, 4, 45, 20}, {37, 4, 37, 4}},
};

TEST(BitBtnLayout, RectanglesForEveryLayoutAlignmentAndContent) {
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  b->SetBounds(0, 0, 75, 25);
  Owned<TBitmap> glyph = Glyph(16, 16);
  for (const TLayoutCase& c : kLayouts) {
    SCOPED_TRACE(c.Name);
    b->SetLayout(c.Layout);
    b->GetTextOptions()->SetAlignment(c.Alignment);
    if (c.HasGlyph)
      b->SetGlyph(glyph.get());
    else
      b->SetGlyph(nullptr);
    b->SetCaption(c.HasCaption ? "Caption" : "");
    TSize text = c.HasCaption ? TSize{30, 13} : TSize{0, 0};
    TRect client, g, t;
    b->CalcLayout(nullptr, Rect(2, 2, 73, 23), client, text, g, t);
    EXPECT_TRUE(EqualRect(&g, &c.Glyph)) << g.left << "," << g.top << "," << g.right << "," << g.bottom;
    EXPECT_TRUE(EqualRect(&t, &c.Text)) << t.left << "," << t.top << "," << t.right << "," << t.bottom;
  }
}

TEST(BitBtnLayout, MarginAndOffsetsMoveTheRectangles) {
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  b->SetBounds(0, 0, 75, 25);
  Owned<TBitmap> glyph = Glyph(16, 16);
  b->SetGlyph(glyph.get());
  b->SetCaption("Caption");
  b->GetTextOptions()->SetAlignment(taLeftJustify);
  TRect client, g, t;
  // Margin -1 enlarges the client area by one and lays out as 4.
  b->CalcLayout(nullptr, Rect(2, 2, 73, 23), client, TSize{30, 13}, g, t);
  EXPECT_EQ(client.left, 1);
  EXPECT_EQ(client.bottom, 24);
  EXPECT_EQ(g.left, 4);
  b->SetMargin(0);
  b->CalcLayout(nullptr, Rect(2, 2, 73, 23), client, TSize{30, 13}, g, t);
  EXPECT_EQ(client.left, 2);
  EXPECT_EQ(g.left, 0);
  b->SetMargin(-2);
  EXPECT_EQ(b->GetMargin(), 0) << "below -1 is refused";
  b->SetMargin(-1);
  b->GetOffsets()->SetGlyphX(3);
  b->GetOffsets()->SetGlyphY(-2);
  b->GetOffsets()->SetTextX(-1);
  b->GetOffsets()->SetTextY(5);
  b->CalcLayout(nullptr, Rect(2, 2, 73, 23), client, TSize{30, 13}, g, t);
  EXPECT_EQ(g.left, 7);
  EXPECT_EQ(g.top, 2);
  EXPECT_EQ(t.left, 23);
  EXPECT_EQ(t.top, 11);
}

TEST(BitBtnLayout, APressedButtonShiftsGlyphAndCaptionByTextDown) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  Owned<TBitmap> glyph = Glyph(16, 16);
  b->SetGlyph(glyph.get());
  b->SetCaption("Caption");
  b->SetGroupIndex(1);
  TRect client, up, upText, down, downText;
  b->CalcLayout(nullptr, Rect(2, 2, 73, 23), client, TSize{30, 13}, up, upText);
  b->SetDown(true);
  EXPECT_TRUE(b->PaintPressed());
  b->CalcLayout(nullptr, Rect(2, 2, 73, 23), client, TSize{30, 13}, down, downText);
  EXPECT_EQ(down.left - up.left, 1);
  EXPECT_EQ(down.top - up.top, 1);
  EXPECT_EQ(downText.left - upText.left, 1);
  EXPECT_EQ(downText.top - upText.top, 1);
}

// The caption is measured where it is drawn: through the renderer, in the
// button's own font. Drawn for real (CN_DRAWITEM into a DIB) with fonts
// other than the default, the caption's pixels stay inside the text
// rectangle the layout computed, and glyph and caption do not overlap.
TEST(BitBtnLayout, TheCaptionIsMeasuredInTheFontItIsDrawnIn) {
  struct TFontCase {
    const char* Name;
    const char* Face;
    int Height;
    TFontStyles Style;
  };
  const TFontCase fonts[] = {
      {"large TrueType", "Tahoma", -30, TFontStyles{fsBold}},
      {"bold default face", nullptr, 0, TFontStyles{fsBold}},
  };
  const TButtonLayout layouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};
  const int w = 320, h = 140;
  // A red square whose bottom-left pixel (the bitmap's transparent colour)
  // is white, so that every other pixel of it is drawn.
  Owned<TBitmap> glyph = Glyph(32, 32);
  glyph->GetCanvas()->GetBrush()->SetColor(clRed);
  glyph->GetCanvas()->FillRect(Rect(0, 0, 32, 32));
  glyph->GetCanvas()->SetPixels(0, 31, clWhite);
  for (const TFontCase& f : fonts)
    for (TButtonLayout layout : layouts)
      for (bool withGlyph : {true, false}) {
        SCOPED_TRACE(testing::Message() << f.Name << ", layout " << static_cast<int>(layout)
                                        << (withGlyph ? ", with glyph" : ", without glyph"));
        TButtonHost host;
        TProbeBitBtn* b = host.Add(0, 0);
        b->SetBounds(0, 0, w, h);
        if (f.Face) b->GetFont()->SetName(f.Face);
        if (f.Height) b->GetFont()->SetHeight(f.Height);
        b->GetFont()->SetStyle(f.Style);
        b->GetFont()->SetColor(clBlue);
        b->SetCaption("Caption");
        b->SetLayout(layout);
        b->SetGlyph(withGlyph ? glyph.get() : nullptr);
        b->HandleNeeded();
        TDib dib(w, h, RGB(0, 255, 0));
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.hwndItem = b->GetHandle();
        dis.hDC = dib.DC();
        dis.rcItem = Rect(0, 0, w, h);
        b->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        TRect g = b->LastGlyph, t = b->LastText, overlap;
        ASSERT_FALSE(IsRectEmpty(&t));
        if (withGlyph) {
          EXPECT_FALSE(IntersectRect(&overlap, &g, &t)) << "glyph and caption overlap";
        }
        int text = 0, glyphPixels = 0, strayText = 0, strayGlyph = 0;
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            COLORREF c = dib.Pixel(x, y);
            POINT p{x, y};
            if (c == RGB(255, 255, 255)) continue;  // the face (the base button paints none)
            if (c == RGB(255, 0, 0)) {
              ++glyphPixels;
              strayGlyph += !PtInRect(&g, p);
            } else {
              ++text;
              strayText += !PtInRect(&t, p);
            }
          }
        EXPECT_GT(text, 0);
        EXPECT_EQ(strayText, 0) << "caption pixels outside (" << t.left << "," << t.top << "," << t.right << ","
                                << t.bottom << ")";
        EXPECT_EQ(glyphPixels, withGlyph ? 32 * 32 - 1 : 0);
        EXPECT_EQ(strayGlyph, 0);
      }
}

// --- properties ----------------------------------------------------------------

TEST(BitBtnProps, ConstructionValues) {
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  EXPECT_EQ(b->GetWidth(), 75);
  EXPECT_EQ(b->GetHeight(), 25);
  EXPECT_EQ(b->GetColor(), clBtnFace);
  EXPECT_TRUE(b->GetTabStop());
  EXPECT_EQ(b->GetControlStyle(), (TControlStyle{csSetCaption, csOpaque, csReflector}));
  EXPECT_EQ(b->GetNumGlyphs(), 1);
  EXPECT_EQ(b->GetKind(), bkCustom);
  EXPECT_EQ(b->GetLayout(), blGlyphLeft);
  EXPECT_EQ(b->GetMargin(), -1);
  EXPECT_EQ(b->GetSpacing(), 4);
  EXPECT_EQ(b->GetShadeStyle(), fbsNormal);
  EXPECT_EQ(b->GetOffsets()->GetTextDownX(), 1);
  EXPECT_EQ(b->GetShadeColors()->GetBtnHighlight(), clBtnHighlight);
  EXPECT_EQ(b->GetShadeColors()->GetShadow(), clBlack);
  EXPECT_EQ(b->GetTextOptions()->GetAlignment(), taCenter);
  EXPECT_EQ(b->GetTextOptions()->GetVAlignment(), vaVCenter);
  EXPECT_FALSE(b->StoresRegionData());
}

TEST(BitBtnProps, NumGlyphsIsClampedToOneToFour) {
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {3, 3}, {4, 4}, {7, 4}, {-5, 1}};
  for (auto [in, out] : cases) {
    b->SetNumGlyphs(in);
    EXPECT_EQ(b->GetNumGlyphs(), out) << in;
  }
  Owned<TBitmap> glyph = Glyph(40, 10);
  b->SetGlyph(glyph.get());
  b->SetNumGlyphs(4);
  EXPECT_EQ(b->GlyphWidth(), 10);
}

TEST(BitBtnProps, DownNeedsAGroupExceptWhileLoading) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  b->SetDown(true);
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(b->SelChanges, 0);
  b->IncludeState(csLoading);
  b->SetDown(true);
  b->ExcludeState(csLoading);
  EXPECT_TRUE(b->GetDown());
  b->SetDown(false);
  b->SetGroupIndex(3);
  b->SetDown(true);
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(b->SelChanges, 3);
}

TEST(BitBtnProps, ShadeColoursFromOneColour) {
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  // Teal (0, 128, 128): each step halves a channel, or halves its distance
  // to 255; the second step starts from the first.
  b->SetShadeColorsFrom(clTeal);
  TpkShadeColors* s = b->GetShadeColors();
  EXPECT_EQ(s->GetBtnShadow(), static_cast<TColor>(RGB(0, 64, 64)));
  EXPECT_EQ(s->GetBtnBlack(), static_cast<TColor>(RGB(0, 32, 32)));
  EXPECT_EQ(s->GetBtn3DLight(), static_cast<TColor>(RGB(127, 191, 191)));
  EXPECT_EQ(s->GetBtnHighlight(), static_cast<TColor>(RGB(191, 223, 223)));
}

// --- kinds -------------------------------------------------------------------------

struct TKindCase {
  TBitBtnKind Kind;
  const char* Caption;
  TModalResult Result;
  bool Default;
  bool Cancel;
};

const TKindCase kKinds[] = {
    {bkOK, "OK", mrOk, true, false},         {bkCancel, "Cancel", mrCancel, false, true},
    {bkHelp, "&Help", mrNone, false, false}, {bkYes, "&Yes", mrYes, true, false},
    {bkNo, "&No", mrNo, false, true},        {bkClose, "&Close", mrNone, false, false},
    {bkAbort, "Abort", mrAbort, false, false}, {bkRetry, "&Retry", mrRetry, false, false},
    {bkIgnore, "&Ignore", mrIgnore, false, false}, {bkAll, "&All", mrAll, false, false},
};

TEST(BitBtnKind, EachKindSetsItsCaptionResultGlyphAndKeys) {
  for (const TKindCase& c : kKinds) {
    SCOPED_TRACE(c.Caption);
    Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
    b->SetKind(c.Kind);
    EXPECT_EQ(b->GetKind(), c.Kind);
    EXPECT_EQ(b->GetCaption(), c.Caption);
    EXPECT_EQ(b->GetModalResult(), c.Result);
    EXPECT_EQ(b->GetDefault(), c.Default);
    EXPECT_EQ(b->GetCancel(), c.Cancel);
    EXPECT_EQ(b->GetNumGlyphs(), 2);
    EXPECT_EQ(b->GetGlyph()->GetWidth(), 36);
    EXPECT_EQ(b->GetGlyph()->GetHeight(), 18);
    EXPECT_FALSE(b->CaptionStored());
    EXPECT_FALSE(b->GlyphStored());
    b->SetCaption("Other");
    EXPECT_TRUE(b->CaptionStored());
  }
}

TEST(BitBtnKind, LeavingTheKindsValuesForgetsTheKind) {
  struct TChange {
    const char* Name;
    void (*Apply)(TProbeBitBtn*);
  };
  const TChange changes[] = {
      {"modal result", [](TProbeBitBtn* b) { b->SetModalResult(mrYes); }},
      {"default", [](TProbeBitBtn* b) { b->SetDefault(false); }},
      {"cancel", [](TProbeBitBtn* b) { b->SetCancel(true); }},
      {"glyph", [](TProbeBitBtn* b) {
         Owned<TBitmap> g = Glyph(8, 8);
         b->SetGlyph(g.get());
       }},
  };
  for (const TChange& c : changes) {
    SCOPED_TRACE(c.Name);
    Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
    b->SetKind(bkOK);
    c.Apply(b.get());
    EXPECT_EQ(b->GetKind(), bkCustom);
    EXPECT_TRUE(b->GlyphStored());
    b->SetDefault(true);
    b->SetCancel(false);
    b->SetModalResult(mrOk);
    EXPECT_EQ(b->GetKind(), bkCustom) << "a forgotten kind stays forgotten";
  }
}

TEST(BitBtnKind, WhileLoadingAStoredCaptionStays) {
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  b->IncludeState(csLoading);
  b->SetCaption("Go on");
  b->SetKind(bkOK);
  EXPECT_EQ(b->GetCaption(), "Go on");
  b->SetCaption("");
  b->SetKind(bkCancel);
  EXPECT_EQ(b->GetCaption(), "Cancel");
  b->ExcludeState(csLoading);
}

TEST(BitBtnKind, GlyphsAreTwoCellResourcesKeptForTheProcess) {
  EXPECT_EQ(BitBtnKindGlyph(bkCustom), nullptr);
  const TBitBtnKind kinds[] = {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll};
  for (TBitBtnKind k : kinds) {
    SCOPED_TRACE(k);
    TBitmap* g = BitBtnKindGlyph(k);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetWidth(), 36);
    EXPECT_EQ(g->GetHeight(), 18);
    EXPECT_EQ(BitBtnKindGlyph(k), g) << "loaded once";
    // The bottom-left pixel (the transparent colour) is olive, and each
    // cell draws something.
    EXPECT_EQ(g->GetTransparentColor(), clOlive);
  }
}

// --- groups and presses -------------------------------------------------------------

TEST(BitBtnGroup, OneButtonOfAGroupIsDown) {
  TButtonHost host;
  TProbeBitBtn* a = host.Add(0);
  TProbeBitBtn* b = host.Add(80);
  TProbeBitBtn* other = host.Add(160);
  for (TProbeBitBtn* x : {a, b}) x->SetGroupIndex(1);
  other->SetGroupIndex(2);
  a->SetDown(true);
  other->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->GetDown());
  EXPECT_TRUE(b->GetDown());
  EXPECT_TRUE(other->GetDown()) << "another group is left alone";
  EXPECT_EQ(a->SelChanges, 2) << "down, then up";
}

TEST(BitBtnGroup, ChangeLinksHearGoingDownSelectionChangesAndLoading) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  struct TLog {
    std::string Text;
    TObject* Sender = nullptr;
    TpkChangeLink* Link = nullptr;
    void Change(TObject*) { Note('c'); }
    void Changing(TObject*) { Note('g'); }
    void Loaded(TObject*) { Note('l'); }
    void Note(char c) {
      Text += c;
      Sender = Link->GetSender();
    }
  } log;
  Owned<TpkChangeLink> link = MakeOwned<TpkChangeLink>();
  log.Link = link.get();
  link->SetOnChange(TNotifyEvent(&log, &TLog::Change));
  link->SetOnChanging(TNotifyEvent(&log, &TLog::Changing));
  link->SetOnLoaded(TNotifyEvent(&log, &TLog::Loaded));
  b->AddChangeLink(link.get());
  b->AddChangeLink(link.get());  // once is enough
  b->SetGroupIndex(1);
  b->SetDown(true);
  EXPECT_EQ(log.Text, "gc") << "going down, then the selection change";
  EXPECT_EQ(log.Sender, b);
  b->SetAllowAllUp(true);
  b->SetDown(false);
  EXPECT_EQ(log.Text, "gcc");
  b->Loaded();
  EXPECT_EQ(log.Text, "gccl");
  b->RemoveChangeLink(link.get());
  b->SetDown(true);
  EXPECT_EQ(log.Text, "gccl");
}

void Click(TProbeBitBtn* b, int x = 10, int y = 10) {
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST(BitBtnGroup, ClicksFollowAllowAllUp) {
  TButtonHost host;
  TProbeBitBtn* a = host.Add(0);
  TProbeBitBtn* b = host.Add(80);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  Click(a);
  EXPECT_TRUE(a->GetDown());
  EXPECT_EQ(a->Clicks, 1);
  Click(a);
  EXPECT_TRUE(a->GetDown()) << "without AllowAllUp the down button stays down";
  EXPECT_EQ(a->Clicks, 2);
  Click(b);
  EXPECT_TRUE(b->GetDown());
  EXPECT_FALSE(a->GetDown());
  b->SetAllowAllUp(true);
  Click(b);
  EXPECT_FALSE(b->GetDown()) << "with AllowAllUp it goes up";
  EXPECT_FALSE(a->GetDown());
}

TEST(BitBtnPress, APlainButtonIsDownOnlyWhilePressed) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(GetCapture(), b->GetHandle());
  // Dragged out of the button, it comes up; back in, down again.
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
  EXPECT_FALSE(b->GetDown());
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
  EXPECT_TRUE(b->GetDown());
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_NE(GetCapture(), b->GetHandle());
  // Released outside: no click.
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_FALSE(b->GetDown());
}

TEST(BitBtnPress, TheButtonClassNeverSeesThePress) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  SendMessageA(b->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(SendMessageA(b->GetHandle(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  SendMessageA(b->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(b->Clicks, 1);
}

TEST(BitBtnPress, SpacePressesAndClicksOnce) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  b->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(b->GetDown());
  b->Perform(WM_KEYDOWN, VK_SPACE, 0x40000000);  // auto-repeat
  b->Perform(WM_KEYUP, VK_SPACE, 0xC0000000);
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(b->Clicks, 1);
  PumpMessages();
  EXPECT_EQ(b->Clicks, 1) << "no BN_CLICKED of the button class";
}

TEST(BitBtnPress, ToggleOnUpActsOnTheReleaseWhereverItIs) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  b->SetGroupIndex(1);
  b->SetOptions(TpkButtonOptions{boToggleOnUp});
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(b->GetDown()) << "nothing on the press";
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 5));
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
  EXPECT_TRUE(b->GetDown()) << "released outside, it still toggles";
  EXPECT_EQ(b->Clicks, 1);
}

TEST(BitBtnProps, AutoBoldAndFocusableOptions) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  b->SetGroupIndex(1);
  b->SetOptions(TpkButtonOptions{boAutoBold, boFocusable});
  b->SetDown(true);
  EXPECT_TRUE(b->GetFont()->GetStyle().Contains(fsBold));
  b->SetAllowAllUp(true);
  b->SetDown(false);
  EXPECT_FALSE(b->GetFont()->GetStyle().Contains(fsBold));
  b->SetDown(true);
  b->SetOptions(TpkButtonOptions{boFocusable});
  EXPECT_TRUE(b->GetFont()->GetStyle().Contains(fsBold)) << "turning AutoBold off leaves the font";
  b->SetOptions(TpkButtonOptions{boAutoBold, boFocusable});
  b->SetDown(false);
  EXPECT_FALSE(b->GetFont()->GetStyle().Contains(fsBold));
  b->SetTabStop(true);
  b->SetOptions(TpkButtonOptions{});
  EXPECT_FALSE(b->GetTabStop()) << "not focusable: no tab stop";
}

TEST(BitBtnPress, CancelModeReleasesWithoutAClick) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(b->GetDown());
  EXPECT_EQ(b->Clicks, 0);
}

// --- glyph cells ----------------------------------------------------------------------

TEST(BitBtnGlyph, TheCellFollowsTheState) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  // Four 4 x 4 cells, every pixel of the strip its own colour, on an olive
  // key (the bottom-left pixel, in the first cell).
  auto colourAt = [](int x, int y) -> TColor {
    return x == 0 && y == 3 ? clOlive : static_cast<TColor>(RGB(15 * x + 10, 60 * y + 10, 200 - 10 * x));
  };
  Owned<TBitmap> g = Glyph(16, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) g->GetCanvas()->SetPixels(x, y, colourAt(x, y));
  b->SetGlyph(g.get());
  b->SetNumGlyphs(4);
  b->SetGroupIndex(1);
  struct TCellCase {
    const char* Name;
    bool Enabled, Down, Over;
    int Cell;
  };
  const TCellCase cases[] = {
      {"up", true, false, false, 0},      {"disabled", false, false, false, 1},
      {"down", true, true, false, 2},     {"mouse over", true, false, true, 3},
      {"disabled wins", false, true, true, 1},
  };
  for (const TCellCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetEnabled(c.Enabled);
    b->SetDown(c.Down);
    b->Perform(c.Over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
    TDib dib(8, 8, clWhite);
    Owned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(dib.DC());
    b->DrawGlyph(canvas.get(), Rect(2, 2, 6, 6));
    canvas->SetHandle(nullptr);
    // Each pixel of the cell lands where it belongs; the key colour leaves
    // the white under it; nothing is drawn outside the cell.
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
        TColor want = inside ? colourAt(c.Cell * 4 + x - 2, y - 2) : clWhite;
        if (want == clOlive) want = clWhite;
        EXPECT_EQ(dib.Pixel(x, y), static_cast<COLORREF>(want)) << x << "," << y;
      }
  }
}

TEST(BitBtnGlyph, ADisabledSingleCellIsEmbossed) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  Owned<TBitmap> g = BitmapFromText({"......", ".##...", ".##...", "......"}, {{'.', clOlive}, {'#', clRed}});
  b->SetGlyph(g.get());
  b->SetEnabled(false);
  TDib dib(10, 10, clWhite);
  Owned<TCanvas> canvas = MakeOwned<TCanvas>();
  canvas->SetHandle(dib.DC());
  b->DrawGlyph(canvas.get(), Rect(0, 0, 6, 4));
  canvas->SetHandle(nullptr);
  EXPECT_EQ(dib.Pixel(1, 1), static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(dib.Pixel(3, 3), static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(dib.Pixel(0, 0), static_cast<COLORREF>(clWhite));
  EXPECT_EQ(dib.Pixel(5, 0), static_cast<COLORREF>(clWhite));
}

TEST(BitBtnGlyph, AnEmptyGlyphTakesTheActionsImage) {
  Owned<TComponent> owner(New<TComponent>(nullptr));
  auto* images = New<TImageList>(owner.get());
  images->SetWidth(8);
  images->SetHeight(8);
  Owned<TBitmap> picture = BitmapFromText(std::vector<std::string>(8, std::string(8, 'g')), {{'g', clGreen}});
  images->Add(picture.get(), nullptr);
  auto* list = New<TActionList>(owner.get());
  list->SetImages(images);
  auto* action = New<TAction>(owner.get());
  action->SetActionList(list);
  action->SetImageIndex(0);
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  b->SetAction(action);
  ASSERT_EQ(b->GetGlyph()->GetWidth(), 8);
  EXPECT_EQ(b->GetGlyph()->GetCanvas()->GetPixels(3, 3), clGreen);
  // A glyph of its own stays.
  Owned<TProbeBitBtn> c(New<TProbeBitBtn>(nullptr));
  Owned<TBitmap> own = Glyph(5, 5);
  c->SetGlyph(own.get());
  c->SetAction(action);
  EXPECT_EQ(c->GetGlyph()->GetWidth(), 5);
  b->SetAction(nullptr);
  c->SetAction(nullptr);
}

TEST(BitBtnProps, MouseEnterAndLeaveEvents) {
  struct TLog {
    std::string Text;
    void Enter(TObject*) { Text += "e"; }
    void Leave(TObject*) { Text += "l"; }
  } log;
  Owned<TProbeBitBtn> b(New<TProbeBitBtn>(nullptr));
  b->OnMouseEnter = TNotifyEvent(&log, &TLog::Enter);
  b->OnMouseLeave = TNotifyEvent(&log, &TLog::Leave);
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(b->GetMouseInControl());
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(b->GetMouseInControl());
  EXPECT_EQ(log.Text, "el");
}

// --- keys and clicks on a form ------------------------------------------------------------

class BitBtnFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_.reset(New<TForm>(nullptr, 0));
    form_->SetBounds(0, 0, 300, 200);
  }
  TProbeBitBtn* Add(int left) {
    auto* b = New<TProbeBitBtn>(form_.get());
    b->SetParent(form_.get());
    b->SetLeft(left);
    b->OnClick = TNotifyEvent(b, &TProbeBitBtn::Clicked);
    b->HandleNeeded();
    return b;
  }
  LRESULT DialogKey(TProbeBitBtn* b, WORD key) { return b->Perform(CM_DIALOGKEY, key, 0); }
  Owned<TForm> form_;
};

TEST_F(BitBtnFormTest, EnterClicksTheDefaultButtonAndEscapeTheCancelOne) {
  TProbeBitBtn* ok = Add(0);
  TProbeBitBtn* cancel = Add(80);
  ok->SetKind(bkOK);
  cancel->SetKind(bkCancel);
  form_->Show();
  EXPECT_EQ(DialogKey(ok, VK_RETURN), 1);
  EXPECT_EQ(ok->Clicks, 1);
  EXPECT_EQ(form_->GetModalResult(), mrOk);
  EXPECT_EQ(DialogKey(cancel, VK_RETURN), 0);
  EXPECT_EQ(DialogKey(cancel, VK_ESCAPE), 1);
  EXPECT_EQ(cancel->Clicks, 1);
  EXPECT_EQ(form_->GetModalResult(), mrCancel);
  EXPECT_EQ(DialogKey(ok, VK_ESCAPE), 0);
  // Another bit button with the focus takes Enter from the default one.
  ok->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(static_cast<TWinControl*>(cancel)));
  EXPECT_FALSE(ok->GetActiveDefault());
  EXPECT_EQ(DialogKey(ok, VK_RETURN), 0);
  ok->Perform(CM_FOCUSCHANGED, 0, 0);
  EXPECT_TRUE(ok->GetActiveDefault());
}

TEST_F(BitBtnFormTest, TheAcceleratorClicksAndPutsAGroupButtonDown) {
  TProbeBitBtn* b = Add(0);
  b->SetCaption("&Go");
  b->SetGroupIndex(4);
  form_->Show();
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'G', 0), 1);
  EXPECT_EQ(b->Clicks, 1);
  EXPECT_TRUE(b->GetDown());
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'X', 0), 0);
}

TEST_F(BitBtnFormTest, CloseKindClosesTheFormInsteadOfClicking) {
  TProbeBitBtn* b = Add(0);
  b->SetKind(bkClose);
  form_->Show();
  b->Click();
  EXPECT_EQ(b->Clicks, 0);
  EXPECT_FALSE(form_->GetVisible());
}

TEST_F(BitBtnFormTest, HelpKindAsksForTheFirstHelpContextUpTheParents) {
  struct THelp {
    std::vector<intptr_t> Contexts;
    bool Help(WORD command, intptr_t data, bool&) {
      if (command == HELP_CONTEXT) Contexts.push_back(data);
      return true;
    }
  } help;
  TProbeBitBtn* b = Add(0);
  b->SetKind(bkHelp);
  THelpEvent saved = Application->OnHelp;
  Application->OnHelp = THelpEvent(&help, &THelp::Help);
  b->Click();
  EXPECT_TRUE(help.Contexts.empty()) << "no context anywhere: a plain click";
  EXPECT_EQ(b->Clicks, 1);
  form_->SetHelpContext(70);
  b->Click();
  b->SetHelpContext(12);
  b->Click();
  Application->OnHelp = saved;
  EXPECT_EQ(help.Contexts, (std::vector<intptr_t>{70, 12}));
  EXPECT_EQ(b->Clicks, 1) << "help instead of OnClick";
}

// A press that activates a window while the button is clicking: eaten, the
// form comes to the front, and the press goes to the button itself.
TEST_F(BitBtnFormTest, AMouseActivationDuringAClickIsEatenAndThePressResent) {
  TProbeBitBtn* b = Add(20);
  b->SetTop(30);
  form_->Show();
  struct TPress {
    int Count = 0;
    int X = 0, Y = 0;
    void Down(TObject*, TMouseButton, TShiftState, int x, int y) {
      ++Count;
      X = x;
      Y = y;
    }
  } press;
  b->OnMouseDown = TMouseEvent(&press, &TPress::Down);
  struct TActivateCase {
    const char* Name;
    bool InClick;
    bool Focusable;
    POINT Cursor;  // in the button's client coordinates
    UINT Press;
    bool Eaten;
    bool Resent;
    bool PostedRight;
  };
  const TActivateCase cases[] = {
      {"outside a click", false, false, {5, 6}, WM_LBUTTONDOWN, false, false, false},
      {"a focusable button", true, true, {5, 6}, WM_LBUTTONDOWN, false, false, false},
      {"a left press", true, false, {5, 6}, WM_LBUTTONDOWN, true, true, false},
      {"a right press", true, false, {7, 3}, WM_RBUTTONDOWN, true, false, true},
      {"the cursor left of the button", true, false, {-1, 6}, WM_LBUTTONDOWN, true, false, false},
  };
  for (const TActivateCase& c : cases) {
    SCOPED_TRACE(c.Name);
    b->SetOptions(c.Focusable ? TpkButtonOptions{boFocusable} : TpkButtonOptions{});
    POINT screen = b->ClientToScreen(c.Cursor);
    TSeamOverride<std::function<BOOL(POINT&)>> cursor(Seams().GetCursorPos, [screen](POINT& p) {
      p = screen;
      return TRUE;
    });
    press = TPress{};
    LRESULT result = -1;
    auto activate = [&] {
      result = SendMessageA(b->GetHandle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form_->GetHandle()),
                            MAKELPARAM(HTCLIENT, c.Press));
    };
    if (c.InClick) {
      b->DuringClick = activate;
      b->Click();
      b->DuringClick = nullptr;
    } else {
      activate();
    }
    if (c.Eaten) {
      EXPECT_EQ(result, MA_NOACTIVATEANDEAT);
    } else {
      EXPECT_NE(result, MA_NOACTIVATEANDEAT);
    }
    EXPECT_EQ(press.Count, c.Resent ? 1 : 0);
    if (c.Resent) {
      EXPECT_EQ(press.X, c.Cursor.x);
      EXPECT_EQ(press.Y, c.Cursor.y);
    }
    MSG msg;
    bool posted = PeekMessageA(&msg, b->GetHandle(), WM_RBUTTONDOWN, WM_RBUTTONDOWN, PM_REMOVE) != 0;
    EXPECT_EQ(posted, c.PostedRight);
    if (posted) {
      EXPECT_EQ(msg.lParam, MAKELPARAM(c.Cursor.x, c.Cursor.y));
      EXPECT_NE(msg.wParam & MK_RBUTTON, 0u);
    }
    b->Perform(WM_CANCELMODE, 0, 0);
  }
}

// A grid paints copies of a control on its own DC (csPaintCopy): the button
// paints itself up, in the DC's text colour when the grid is its parent.
class TCustomGrid : public TCustomControl {
  DECLARE_CLASS(TCustomGrid, TCustomControl)
  using TCustomControl::TCustomControl;
};
IMPLEMENT_CLASS(TCustomGrid)

TEST(BitBtnPaint, ACopyIsPaintedUpOnTheGivenDCInTheGridsTextColour) {
  for (bool grid : {false, true}) {
    SCOPED_TRACE(grid ? "in a grid" : "in a panel");
    controls_test::THostWindow host;
    Owned<TCustomControl> parent(grid ? New<TCustomGrid>(nullptr) : New<TCustomControl>(nullptr));
    parent->SetBounds(0, 0, 200, 100);
    parent->SetParentWindow(host.Handle());
    auto* b = New<TProbeBitBtn>(parent.get());
    b->SetParent(parent.get());
    b->SetBounds(0, 0, 75, 25);
    b->SetCaption("WWWW");
    b->GetFont()->SetColor(clBlue);
    b->SetGroupIndex(1);
    b->SetDown(true);
    b->HandleNeeded();
    b->SetDown(false);
    b->RepaintNow();
    TRect upText = b->LastText;
    b->SetDown(true);
    b->RepaintNow();
    ASSERT_FALSE(EqualRect(&b->LastText, &upText)) << "pressed, the caption moves";
    bool parentFont = b->GetParentFont();
    TDib dib(75, 25, clWhite);
    SetTextColor(dib.DC(), RGB(255, 0, 0));
    b->SetControlState(b->GetControlState() + TControlState{csPaintCopy});
    b->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    b->SetControlState(b->GetControlState() - TControlState{csPaintCopy});
    EXPECT_TRUE(EqualRect(&b->LastText, &upText)) << "laid out up";
    int red = 0, blue = 0;
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 75; ++x) {
        red += dib.Pixel(x, y) == RGB(255, 0, 0);
        blue += dib.Pixel(x, y) == static_cast<COLORREF>(clBlue);
      }
    EXPECT_EQ(red > 0, grid);
    EXPECT_EQ(blue > 0, !grid);
    EXPECT_EQ(b->GetFont()->GetColor(), clBlue) << "the button's own font is kept";
    EXPECT_EQ(b->GetParentFont(), parentFont);
    parent.reset();
  }
}

// --- region blobs -------------------------------------------------------------------------

TEST(BitBtnRegion, BlobsAreReadButNotWrittenByTheBaseAndGoOnResize) {
  TButtonHost host;
  TProbeBitBtn* b = host.Add();
  TpkRegion r(CreateRectRgn(0, 0, 10, 10));
  TpkRegionBlob blob = CaptureRegionBlob(r.get());
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  WriteRegionBlob(s.get(), blob);
  s->SetPosition(0);
  b->ReadRegionData(s.get());
  s->SetPosition(0);
  b->ReadDownRegionData(s.get());
  EXPECT_FALSE(b->GetRegionBlob(false).IsEmpty());
  EXPECT_FALSE(b->GetRegionBlob(true).IsEmpty());
  TpkRegion back(b->GetStateRegion(false, true));
  EXPECT_TRUE(SameRegion(back.get(), r.get()));
  b->SetBounds(b->GetLeft(), b->GetTop(), 60, 20);
  EXPECT_TRUE(b->GetRegionBlob(false).IsEmpty());
  EXPECT_TRUE(b->GetRegionBlob(true).IsEmpty());
}

}  // namespace
