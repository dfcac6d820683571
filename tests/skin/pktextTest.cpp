#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/classes/Filer.h"
#include "skin/pkBitmap.h"
#include "skin/pkShared.h"
#include "skin/pktext.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

constexpr int kWhite = 0xFFFFFF;

// The owner's side: callbacks that count, an is-enabled answer.
struct TOwnerLog : TObject {
  int changes = 0, layouts = 0;
  bool enabled = true;
  void Change(TObject*) { ++changes; }
  void Layout(TObject*) { ++layouts; }
  bool IsEnabled() { return enabled; }
};

// Records each text drawn: its rectangle and colour.
class TLoggingText : public TpkCaptionText {
 public:
  using TpkCaptionText::TpkCaptionText;
  struct TDrawn {
    TRect rect;
    TColor color;
  };
  std::vector<TDrawn> drawn;
  bool draw = false;
  void DrawTextAt(const TRect& r) override {
    drawn.push_back({r, GetCanvas()->GetFont()->GetColor()});
    if (draw) TpkCaptionText::DrawTextAt(r);
  }
};

class PkText : public ::testing::Test {
 protected:
  void SetUp() override {
    surface = MakePk(240, 120, kWhite);
    font = MakeOwned<TFont>();
    font->SetName("Tahoma");
    font->SetHeight(-13);
    font->SetColor(clBlack);
    text.reset(New<TLoggingText>(surface->GetCanvas(), font.get(), TNotifyEvent(&owner, &TOwnerLog::Change),
                                 TNotifyEvent(&owner, &TOwnerLog::Layout),
                                 TpkEnabledQuery(&owner, &TOwnerLog::IsEnabled)));
    text->SetCaption("Caption");
    text->SetTextRect(Rect(20, 20, 220, 100));
  }

  // Offsets of the drawn texts from where the text itself went.
  std::vector<TPoint> Offsets() {
    std::vector<TPoint> r;
    for (auto& d : text->drawn)
      r.push_back(TPoint{d.rect.left - text->GetDrawingRect().left, d.rect.top - text->GetDrawingRect().top});
    return r;
  }
  std::vector<TColor> Colors() {
    std::vector<TColor> r;
    for (auto& d : text->drawn) r.push_back(d.color);
    return r;
  }
  // The bands of rows of the surface with any ink: [top, bottom) each.
  std::vector<std::pair<int, int>> InkBands() {
    GdiFlush();
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < surface->GetHeight(); ++y) {
      bool ink = false;
      for (int x = 0; x < surface->GetWidth() && !ink; ++x) ink = surface->GetPixel(x, y) != kWhite;
      if (!ink) continue;
      if (!bands.empty() && bands.back().second == y) bands.back().second = y + 1;
      else bands.push_back({y, y + 1});
    }
    return bands;
  }

  TOwnerLog owner;
  Owned<TpkBitmap> surface;
  Owned<TFont> font;
  Owned<TLoggingText> text;
};

}  // namespace

TEST_F(PkText, OrientationVectors) {
  EXPECT_EQ(OrientationVector(pkTopLeft), (TPoint{1, 1}));
  EXPECT_EQ(OrientationVector(pkBottomRight), (TPoint{-1, -1}));
  EXPECT_EQ(OrientationVector(pkBottom), (TPoint{0, -1}));
}

TEST_F(PkText, RotationIsNormalised) {
  struct {
    int in, out;
  } cases[] = {{-90, 270}, {370, 10}, {-360, 360}, {0, 0}, {360, 0}, {720, 0}, {-1, 359},
               {INT_MAX, 127}, {INT_MIN, 232}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.in);
    int layouts = owner.layouts, changes = owner.changes;
    text->SetRotation(c.in);
    EXPECT_EQ(text->GetRotation(), c.out);
    // Always a layout and a change, even for the same angle.
    EXPECT_EQ(owner.layouts, layouts + 1);
    EXPECT_EQ(owner.changes, changes + 1);
  }
}

TEST_F(PkText, ShadowOffsetFollowsTheExtrusion) {
  struct {
    bool shadow;
    int x, y;
    bool extrude;
    TpkOrientation orientation;
    TPoint expected;
  } cases[] = {
      {false, 10, 10, false, pkBottomRight, {0, 0}},  {true, 10, 10, false, pkBottomRight, {10, 10}},
      {true, 10, 10, true, pkTopLeft, {10, 10}},      {true, 10, 10, true, pkBottomRight, {0, 0}},
      {true, -3, 4, true, pkTopRight, {-3, 4}},       {true, 5, 5, true, pkTop, {0, 5}},
      {true, 0, -2, true, pkRight, {0, 0}},           {true, 0, -2, true, pkBottom, {0, -2}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " " + std::to_string(c.orientation));
    text->GetShadow()->SetEnabled(c.shadow);
    text->GetShadow()->SetXOffset(c.x);
    text->GetShadow()->SetYOffset(c.y);
    text->GetExtrudeEffects()->SetEnabled(c.extrude);
    text->GetExtrudeEffects()->SetOrientation(c.orientation);
    EXPECT_EQ(text->ShadowOffset(), c.expected);
  }
}

TEST_F(PkText, ExtrudeOffset) {
  EXPECT_EQ(text->ExtrudeOffset(false), (TPoint{0, 0}));
  text->GetExtrudeEffects()->SetEnabled(true);
  text->GetExtrudeEffects()->SetDepth(6);
  struct {
    TpkOrientation orientation;
    TPoint full;
  } cases[] = {{pkTopLeft, {6, 6}}, {pkBottomRight, {6, 6}}, {pkTop, {0, 6}}, {pkLeft, {6, 0}}};
  for (auto& c : cases) {
    text->GetExtrudeEffects()->SetOrientation(c.orientation);
    EXPECT_EQ(text->ExtrudeOffset(false), (TPoint{6, 6}));
    EXPECT_EQ(text->ExtrudeOffset(true), c.full);
  }
}

TEST_F(PkText, SettersTellTheOwner) {
  struct TCase {
    const char* name;
    std::function<void(TpkText*)> set;
    int layouts, changes;
  } cases[] = {
      {"Alignment", [](TpkText* t) { t->SetAlignment(taCenter); }, 0, 1},
      {"HighlightColor", [](TpkText* t) { t->SetHighlightColor(clRed); }, 0, 1},
      {"OutlineColor", [](TpkText* t) { t->SetOutlineColor(clRed); }, 0, 1},
      {"ShadeColor", [](TpkText* t) { t->SetShadeColor(clRed); }, 0, 1},
      {"VAlignment", [](TpkText* t) { t->SetVAlignment(vaBottom); }, 0, 1},
      {"LineSpacing", [](TpkText* t) { t->SetLineSpacing(9); }, 1, 1},
      {"Style", [](TpkText* t) { t->SetStyle(pklsRaised); }, 1, 1},
      {"Options", [](TpkText* t) { t->SetOptions({toShowEllipsis}); }, 1, 1},
      {"WordWrap", [](TpkText* t) { t->SetWordWrap(true); }, 0, 1},
      {"Shadow.Color", [](TpkText* t) { t->GetShadow()->SetColor(clRed); }, 0, 1},
      {"Shadow.Enabled", [](TpkText* t) { t->GetShadow()->SetEnabled(true); }, 1, 1},
      {"Shadow.XOffset", [](TpkText* t) { t->GetShadow()->SetXOffset(3); }, 1, 1},
      {"Shadow.YOffset", [](TpkText* t) { t->GetShadow()->SetYOffset(3); }, 1, 1},
      {"Extrude.Depth", [](TpkText* t) { t->GetExtrudeEffects()->SetDepth(3); }, 1, 1},
      {"Extrude.Enabled", [](TpkText* t) { t->GetExtrudeEffects()->SetEnabled(true); }, 1, 1},
      {"Extrude.Orientation", [](TpkText* t) { t->GetExtrudeEffects()->SetOrientation(pkTop); }, 1, 1},
      {"Extrude.FarColor", [](TpkText* t) { t->GetExtrudeEffects()->SetFarColor(clRed); }, 0, 1},
      {"Extrude.NearColor", [](TpkText* t) { t->GetExtrudeEffects()->SetNearColor(clRed); }, 0, 1},
      {"Extrude.Striated", [](TpkText* t) { t->GetExtrudeEffects()->SetStriated(true); }, 0, 1},
      {"Disabled.HighlightColor", [](TpkText* t) { t->GetDisabledColors()->SetHighlightColor(clRed); }, 0, 1},
      {"Disabled.ShadeColor", [](TpkText* t) { t->GetDisabledColors()->SetShadeColor(clRed); }, 0, 1},
      {"DoubleBuffered", [](TpkText* t) { t->SetDoubleBuffered(true); }, 0, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    owner.layouts = owner.changes = 0;
    c.set(text.get());
    EXPECT_EQ(owner.layouts, c.layouts);
    EXPECT_EQ(owner.changes, c.changes);
    // The same value again changes nothing.
    c.set(text.get());
    EXPECT_EQ(owner.changes, c.changes);
  }
}

TEST_F(PkText, DrawFlags) {
  struct TCase {
    TpkTextOptions options;
    bool wordWrap;
    UINT expected;
  } cases[] = {
      {{toShowAccel}, false, DT_NOCLIP},
      {{}, false, DT_NOCLIP | DT_NOPREFIX},
      {{toShowAccel, toShowEllipsis}, false, DT_NOCLIP | DT_END_ELLIPSIS},
      {{toShowEllipsis, toFullJustify}, true, DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS | DT_WORDBREAK},
      {{toShowAccel}, true, DT_NOCLIP | DT_WORDBREAK},
  };
  for (auto& c : cases) {
    text->SetOptions(c.options);
    text->SetWordWrap(c.wordWrap);
    EXPECT_EQ(text->GetFlags(), c.expected);
  }
  // Alignment flags are set by Draw, and only without a rotation.
  struct {
    TAlignment alignment;
    int rotation;
    UINT flags;
  } align[] = {{taLeftJustify, 0, 0}, {taCenter, 0, DT_CENTER}, {taRightJustify, 0, DT_RIGHT},
               {taCenter, 90, 0},     {taRightJustify, 360, DT_RIGHT}};
  for (auto& a : align) {
    text->SetAlignment(a.alignment);
    text->SetRotation(a.rotation);
    text->Draw();
    EXPECT_EQ(text->GetFlags() & (DT_CENTER | DT_RIGHT), a.flags) << a.alignment << " " << a.rotation;
  }
}

TEST_F(PkText, LogFont) {
  font->SetStyle({fsBold, fsUnderline});
  font->SetCharset(DEFAULT_CHARSET);
  LOGFONTA lf;
  text->GetLogFont(lf);
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfEscapement, 0);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_FALSE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfCharSet, 0);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_PRECIS);
  EXPECT_EQ(lf.lfClipPrecision, 0);
  EXPECT_EQ(lf.lfQuality, 2);
  EXPECT_EQ(lf.lfPitchAndFamily, 2);
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");

  font->SetStyle({fsItalic, fsStrikeOut});
  font->SetCharset(SYMBOL_CHARSET);
  text->SetRotation(-90);
  text->GetLogFont(lf);
  EXPECT_EQ(lf.lfEscapement, 2700);
  EXPECT_EQ(lf.lfOrientation, 2700);
  EXPECT_EQ(lf.lfWeight, 400);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_TRUE(lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, SYMBOL_CHARSET);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_ONLY_PRECIS);

  // Scaled by pixels per inch / 96, rounded down.
  text->SetScaleFont(true);
  text->GetLogFont(lf);
  double scaled = -13.0 * ScreenLogPixels() / 96;
  EXPECT_EQ(lf.lfHeight, Round(scaled - 0.4999));
}

TEST_F(PkText, AcceleratorsAreStrippedOnlyWhenShown) {
  text->SetCaption("&W&&");
  TSize size;
  text->GetTextExtent(size);
  EXPECT_EQ(size.cx, surface->GetCanvas()->TextWidth("W&") + 1);
  text->SetOptions({});
  text->GetTextExtent(size);
  EXPECT_EQ(size.cx, surface->GetCanvas()->TextWidth("&W&&") + 1);
  // Drawn with DT_NOPREFIX, the ampersands print.
  EXPECT_TRUE(text->GetFlags() & DT_NOPREFIX);
}

TEST_F(PkText, RotatedSizeAndDrawRect) {
  TSize ext;
  text->GetTextExtent(ext);
  TSize size;
  text->GetRotatedSize(true, size);
  EXPECT_EQ(size.cx, ext.cx);
  EXPECT_EQ(size.cy, ext.cy);
  // Centred in the text rectangle.
  TRect r;
  text->GetDrawRect(true, r);
  EXPECT_EQ(r.left, 120 - ext.cx / 2);
  EXPECT_EQ(r.top, 60 - ext.cy / 2);
  EXPECT_EQ(RectWidth(r), ext.cx);

  text->SetRotation(90);
  text->GetRotatedSize(true, size);
  EXPECT_EQ(size.cx, ext.cy);
  EXPECT_EQ(size.cy, ext.cx);
  // Turned upwards: the origin lies below the centre by half the width.
  text->GetDrawRect(true, r);
  EXPECT_EQ(r.left, 120 - ext.cy / 2);
  EXPECT_EQ(r.top, 60 + ext.cx / 2);

  // Without clipping the size is limited to the text rectangle, and the
  // rectangle never starts left of or above it.
  text->SetRotation(0);
  text->SetCaption("A caption much wider than the rectangle");
  text->SetTextRect(Rect(20, 20, 60, 30));
  text->GetRotatedSize(false, size);
  EXPECT_EQ(size.cx, 40);
  EXPECT_EQ(size.cy, 10);
  text->GetDrawRect(true, r);
  EXPECT_EQ(r.left, 20);
  EXPECT_EQ(r.top, 20);
}

TEST_F(PkText, AlignmentPlacesTheText) {
  struct {
    TAlignment alignment;
    TpkVAlignment vAlignment;
  } cases[] = {{taLeftJustify, vaTop}, {taRightJustify, vaBottom}, {taCenter, vaVCenter}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.alignment);
    text->drawn.clear();
    text->SetAlignment(c.alignment);
    text->SetVAlignment(c.vAlignment);
    text->Draw();
    ASSERT_EQ(text->drawn.size(), 1u);
    const TRect& r = text->drawn[0].rect;
    if (c.alignment == taLeftJustify) {
      EXPECT_EQ(r.left, 20);
      EXPECT_EQ(r.top, 20);
    } else if (c.alignment == taRightJustify) {
      EXPECT_EQ(r.right, 220);
      EXPECT_EQ(r.bottom, 100);
    } else {
      EXPECT_LE(std::abs((r.left + r.right) - 240), 1);
      EXPECT_LE(std::abs((r.top + r.bottom) - 120), 1);
    }
    // The text rectangle is the owner's again after the draw.
    EXPECT_EQ(text->GetTextRect().right, 220);
  }
}

// ---------------------------------------------------------------------------
// Styles

TEST_F(PkText, StylesDrawTheirLayers) {
  const TColor font = clBlack;
  struct TCase {
    const char* name;
    TpkTextStyle style;
    bool enabled;
    std::vector<TPoint> offsets;
    std::vector<TColor> colors;
  } cases[] = {
      {"default", pklsDefault, true, {{0, 0}}, {font}},
      {"raised", pklsRaised, true, {{-1, -1}, {1, 1}, {0, 0}}, {clYellow, clNavy, font}},
      {"lowered", pklsLowered, true, {{-1, -1}, {1, 1}, {0, 0}}, {clNavy, clYellow, font}},
      // Disabled default looks lowered with the disabled colours.
      {"default disabled", pklsDefault, false, {{1, 1}, {0, 0}}, {clAqua, clMaroon}},
      {"raised disabled", pklsRaised, false, {{1, 1}, {0, 0}}, {clMaroon, clMaroon}},
      {"outline", pklsOutline, true,
       {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {0, 1}, {-1, 0}, {1, 0}, {0, -1}, {0, 0}},
       {clLime, clLime, clLime, clLime, clLime, clLime, clLime, clLime, font}},
      {"outline disabled", pklsOutline, false,
       {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}, {0, 1}, {-1, 0}, {1, 0}, {0, -1}, {0, 0}},
       {clMaroon, clMaroon, clMaroon, clMaroon, clMaroon, clMaroon, clMaroon, clMaroon, clAqua}},
  };
  text->SetHighlightColor(clYellow);
  text->SetShadeColor(clNavy);
  text->SetOutlineColor(clLime);
  text->GetDisabledColors()->SetHighlightColor(clAqua);
  text->GetDisabledColors()->SetShadeColor(clMaroon);
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    text->drawn.clear();
    text->SetStyle(c.style);
    owner.enabled = c.enabled;
    text->Draw();
    EXPECT_EQ(Offsets(), c.offsets);
    EXPECT_EQ(Colors(), c.colors);
  }
}

TEST_F(PkText, EmbossingSkipsClNoneLayers) {
  struct TCase {
    bool raised;
    TColor h, s;
    std::vector<TPoint> offsets;
  } cases[] = {
      {false, clNone, clNavy, {{-1, -1}, {0, 0}}},
      {false, clYellow, clNone, {{1, 1}, {0, 0}}},
      {true, clNone, clNavy, {{1, 1}, {0, 0}}},
      {true, clYellow, clNone, {{-1, -1}, {0, 0}}},
  };
  for (auto& c : cases) {
    text->drawn.clear();
    text->SetHighlightColor(c.h);
    text->SetShadeColor(c.s);
    text->SetStyle(c.raised ? pklsRaised : pklsLowered);
    text->Draw();
    EXPECT_EQ(Offsets(), c.offsets);
  }
}

TEST_F(PkText, ShadowAndExtrusion) {
  text->GetShadow()->SetEnabled(true);
  text->GetShadow()->SetXOffset(4);
  text->GetShadow()->SetYOffset(3);
  text->GetShadow()->SetColor(clGray);
  text->Draw();
  EXPECT_EQ(Offsets(), (std::vector<TPoint>{{4, 3}, {0, 0}}));
  EXPECT_EQ(Colors(), (std::vector<TColor>{clGray, clBlack}));

  // Extrusion: Depth steps along the vector, the last one under the text,
  // the colour ramping from FarColor to NearColor.
  text->GetShadow()->SetEnabled(false);
  auto* e = text->GetExtrudeEffects();
  e->SetEnabled(true);
  e->SetDepth(4);
  e->SetOrientation(pkBottomRight);
  e->SetFarColor(clBlack);
  e->SetNearColor(clWhite);
  text->drawn.clear();
  text->Draw();
  EXPECT_EQ(Offsets(), (std::vector<TPoint>{{3, 3}, {2, 2}, {1, 1}, {0, 0}, {0, 0}}));
  EXPECT_EQ(Colors(), (std::vector<TColor>{static_cast<TColor>(RGB(63, 63, 63)), static_cast<TColor>(RGB(127, 127, 127)),
                                           static_cast<TColor>(RGB(191, 191, 191)), clWhite, clBlack}));
  e->SetStriated(true);
  text->drawn.clear();
  text->Draw();
  EXPECT_EQ(Colors(), (std::vector<TColor>{static_cast<TColor>(RGB(63, 63, 63)), static_cast<TColor>(RGB(31, 31, 31)),
                                           static_cast<TColor>(RGB(191, 191, 191)), static_cast<TColor>(RGB(63, 63, 63)),
                                           clBlack}));
  // Towards the top-left the steps come from behind the other way.
  e->SetOrientation(pkTopLeft);
  text->drawn.clear();
  text->Draw();
  EXPECT_EQ(Offsets(), (std::vector<TPoint>{{-3, -3}, {-2, -2}, {-1, -1}, {0, 0}, {0, 0}}));
}

// ---------------------------------------------------------------------------
// Pixels

TEST_F(PkText, LinesGoDownBySpacing) {
  text->draw = true;
  text->SetCaption("First\r\nSecond");
  text->SetLineSpacing(20);
  text->Draw();
  // Two bands of ink with a gap of at least the spacing between them.
  std::vector<std::pair<int, int>> bands = InkBands();
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_GE(bands[1].first - bands[0].second, 20);
}

TEST_F(PkText, FullJustificationEndsWithAWordWiderThanTheRectangle) {
  text->draw = true;
  text->SetWordWrap(true);
  text->SetOptions({toFullJustify});
  text->SetLineSpacing(0);
  text->SetCaption("a Extraordinarilylongword b");
  text->SetTextRect(Rect(10, 0, 50, 120));
  text->SetVAlignment(vaVCenter);
  text->SetAlignment(taCenter);
  text->Draw();
  ASSERT_EQ(text->drawn.size(), 1u);
  // Three lines: each word on one of its own.
  EXPECT_EQ(InkBands().size(), 3u);
}

TEST_F(PkText, JustifiedLinesFillTheWidth) {
  text->draw = true;
  text->SetWordWrap(true);
  text->SetOptions({toFullJustify});
  text->SetCaption("aa bb cc dd ee ff gg hh");
  text->SetTextRect(Rect(0, 0, 100, 120));
  text->SetAlignment(taCenter);
  text->SetVAlignment(vaVCenter);
  text->Draw();
  GdiFlush();
  const TRect r = text->GetDrawingRect();
  // The first line is stretched to the drawing rectangle's width: ink near
  // both of its ends.
  int first = -1, last = -1;
  for (int y = r.top; y < r.top + 12; ++y)
    for (int x = 0; x < surface->GetWidth(); ++x)
      if (surface->GetPixel(x, y) != kWhite) {
        if (first < 0 || x < first) first = x;
        last = std::max(last, x);
      }
  EXPECT_LE(first, r.left + 2);
  EXPECT_GE(last, r.left + RectWidth(r) - 6);
}

TEST_F(PkText, DoubleBufferingGivesTheSamePixels) {
  text->draw = true;
  text->GetShadow()->SetEnabled(true);
  text->SetStyle(pklsRaised);
  text->Draw();
  GdiFlush();
  TPixels direct = PixelsOf(surface.get());
  Owned<TpkBitmap> other = MakePk(240, 120, kWhite);
  text->SetOwnerCanvas(other->GetCanvas());
  text->SetDoubleBuffered(true);
  text->Draw();
  GdiFlush();
  EXPECT_EQ(PixelsOf(other.get()), direct);
  EXPECT_NE(direct, TPixels(120, std::vector<int>(240, kWhite)));
}

TEST_F(PkText, CalcRectLeavesTheCanvasFont) {
  text->SetRotation(45);
  TRect r;
  text->CalcRect(true, r);
  EXPECT_GT(RectWidth(r), 0);
  LOGFONTA lf{};
  GetObjectA(surface->GetCanvas()->GetFont()->GetHandle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfEscapement, 0);
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");
}

// ---------------------------------------------------------------------------
// Stored forms and assignment

namespace {

class TPkTextHolder : public TComponent {
  DECLARE_CLASS(TPkTextHolder, TComponent)
  explicit TPkTextHolder(TComponent* owner) : TComponent(owner) {
    text_ = New<TpkCaptionText>(surface_->GetCanvas(), font_, TNotifyEvent(), TNotifyEvent(), TpkEnabledQuery());
  }
  ~TPkTextHolder() override {
    FreeObject(text_);
    FreeObject(font_);
    FreeObject(surface_);
  }
  TpkCaptionText* GetTextOptions() const { return text_; }
  void SetTextOptions(TpkCaptionText* v) { text_->Assign(v); }

 private:
  TpkBitmap* surface_ = New<TpkBitmap>();
  TFont* font_ = New<TFont>();
  TpkCaptionText* text_;
};

}  // namespace

PUBLISHED(TPkTextHolder) { p.Prop("TextOptions", &TPkTextHolder::GetTextOptions, &TPkTextHolder::SetTextOptions); }

TEST(PkTextStored, OnlyWhatDiffersIsWritten) {
  Owned<TPkTextHolder> a(New<TPkTextHolder>(nullptr));
  a->SetName("Holder");
  Owned<TStringStream> s(New<TStringStream>());
  s->WriteComponent(a.get());
  std::string defaults = s->GetDataString();
  // Alignment and VAlignment have no default: always written.
  EXPECT_NE(defaults.find("TextOptions.Alignment = taLeftJustify"), std::string::npos) << defaults;
  EXPECT_NE(defaults.find("TextOptions.VAlignment = vaTop"), std::string::npos) << defaults;
  for (const char* absent : {"Rotation", "LineSpacing", "Options", "Shadow.", "ExtrudeEffects.", "DisabledColors.",
                             "Style", "WordWrap", "HighlightColor", "ShadeColor", "OutlineColor", "DoubleBuffered"})
    EXPECT_EQ(defaults.find(std::string("TextOptions.") + absent), std::string::npos) << absent << "\n" << defaults;

  auto* t = a->GetTextOptions();
  t->SetAlignment(taCenter);
  t->SetRotation(-90);
  t->SetOptions({toShowEllipsis, toFullJustify});
  t->SetHighlightColor(clRed);
  t->GetShadow()->SetEnabled(true);
  t->GetExtrudeEffects()->SetOrientation(pkTop);
  t->GetDisabledColors()->SetShadeColor(clGreen);
  t->SetStyle(pklsOutline);
  Owned<TStringStream> s2(New<TStringStream>());
  s2->WriteComponent(a.get());
  std::string text = s2->GetDataString();
  for (const char* line : {"TextOptions.Rotation = 270", "TextOptions.Options = [toShowEllipsis, toFullJustify]",
                           "TextOptions.HighlightColor = clRed", "TextOptions.Shadow.Enabled = True",
                           "TextOptions.ExtrudeEffects.Orientation = pkTop",
                           "TextOptions.DisabledColors.ShadeColor = clGreen", "TextOptions.Style = pklsOutline"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

  Owned<TPkTextHolder> b(New<TPkTextHolder>(nullptr));
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(b.get());
  auto* u = b->GetTextOptions();
  EXPECT_EQ(u->GetAlignment(), taCenter);
  EXPECT_EQ(u->GetRotation(), 270);
  EXPECT_EQ(u->GetOptions(), (TpkTextOptions{toShowEllipsis, toFullJustify}));
  EXPECT_EQ(u->GetFlags(), static_cast<UINT>(DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS));
  EXPECT_TRUE(u->GetShadow()->GetEnabled());
  EXPECT_EQ(u->GetExtrudeEffects()->GetOrientation(), pkTop);
  EXPECT_EQ(u->GetDisabledColors()->GetShadeColor(), clGreen);
  EXPECT_EQ(u->GetStyle(), pklsOutline);

  // Assign copies every property.
  Owned<TPkTextHolder> c(New<TPkTextHolder>(nullptr));
  c->GetTextOptions()->Assign(u);
  Owned<TStringStream> s3(New<TStringStream>());
  c->SetName("Holder");
  s3->WriteComponent(c.get());
  EXPECT_EQ(s3->GetDataString(), text);
}
