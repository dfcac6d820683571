#include <gtest/gtest.h>

#include "classlib/Graphics.h"

namespace {

TEST(Colors, ValuesOfThePlatform) {
  EXPECT_EQ(clNone, 0x1FFFFFFF);
  EXPECT_EQ(clDefault, 0x20000000);
  EXPECT_EQ(static_cast<uint32_t>(clScrollBar), 0x80000000u);
  EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
  EXPECT_EQ(static_cast<uint32_t>(clMenuBar), 0x8000001Eu);
  EXPECT_EQ(clRed, 0x0000FF);
  EXPECT_EQ(clMoneyGreen, 0xC0DCC0);
  EXPECT_EQ(clMedGray, 0xA4A0A0);
}

TEST(Colors, ColorToRGBResolvesSystemColoursOnly) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clInfoBk), static_cast<TColor>(GetSysColor(COLOR_INFOBK)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
}

TEST(Colors, StringsAndIdentifiers) {
  struct {
    TColor color;
    const char* text;
  } cases[] = {
      {clBlack, "clBlack"}, {clWhite, "clWhite"}, {clSilver, "clSilver"}, {clBtnFace, "clBtnFace"},
      {clNone, "clNone"}, {clDefault, "clDefault"}, {cl3DDkShadow, "cl3DDkShadow"}, {clWindowText, "clWindowText"},
      {clMenuHighlight, "clMenuHighlight"}, {0x123456, "$00123456"}, {static_cast<TColor>(0x8000FFFF), "$8000FFFF"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ColorToString(c.color), c.text);
    EXPECT_EQ(StringToColor(c.text), c.color);
  }
  EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor("255"), clRed);
  EXPECT_EQ(StringToColor("-2147483633"), clBtnFace);
  EXPECT_THROW(StringToColor("clNoSuch"), EConvertError);
  EXPECT_THROW(StringToColor("$"), EConvertError);
  int32_t c = 0;
  EXPECT_TRUE(IdentToColor("clAqua", c));
  EXPECT_EQ(c, clAqua);
  EXPECT_FALSE(IdentToColor("clLtGray", c));  // an alias, not an identifier
}

TEST(Colors, StoredFormsFindTheIdentMaps) {
  int64_t v = 0;
  auto toInt = FindIdentToInt(TColorTypeInfo());
  ASSERT_TRUE(toInt);
  EXPECT_TRUE(toInt("clHighlight", v));
  EXPECT_EQ(v, clHighlight);
  std::string ident;
  ASSERT_TRUE(FindIntToIdent(TColorTypeInfo()));
  EXPECT_TRUE(FindIntToIdent(TColorTypeInfo())(clBtnShadow, ident));
  EXPECT_EQ(ident, "clBtnShadow");
  ASSERT_TRUE(FindIntToIdent(TFontCharsetTypeInfo()));
  EXPECT_TRUE(FindIntToIdent(TFontCharsetTypeInfo())(DEFAULT_CHARSET, ident));
  EXPECT_EQ(ident, "DEFAULT_CHARSET");
  // The published colour properties carry the named type.
  Owned<TFont> f = MakeOwned<TFont>();
  EXPECT_EQ(GetPropInfo(f.get(), "Color")->PropType, TColorTypeInfo());
  EXPECT_EQ(GetPropInfo(f.get(), "Charset")->PropType, TFontCharsetTypeInfo());
}

TEST(Font, DefaultsOfThePlatform) {
  Owned<TFont> f = MakeOwned<TFont>();
  EXPECT_EQ(f->GetName(), "MS Sans Serif");
  EXPECT_EQ(f->GetSize(), 8);
  EXPECT_EQ(f->GetHeight(), -MulDiv(8, f->GetPixelsPerInch(), 72));
  EXPECT_EQ(f->GetColor(), clWindowText);
  EXPECT_EQ(f->GetCharset(), DEFAULT_CHARSET);
  EXPECT_TRUE(f->GetStyle().Empty());
  EXPECT_EQ(f->GetPitch(), fpDefault);
}

TEST(Font, HandleIsCachedUntilTheFontChanges) {
  Owned<TFont> f = MakeOwned<TFont>();
  int changes = 0;
  struct TCounter {
    int* n;
    void OnChange(TObject*) { ++*n; }
  } counter{&changes};
  f->SetOnChange(TNotifyEvent(&counter, &TCounter::OnChange));
  HFONT h = f->GetHandle();
  EXPECT_EQ(f->GetHandle(), h);
  f->SetColor(clRed);  // not part of the GDI font
  EXPECT_EQ(f->GetHandle(), h);
  f->SetStyle({fsBold, fsUnderline});
  EXPECT_EQ(GetObjectType(h), 0u);  // the old handle is gone
  LOGFONTA lf{};
  GetObjectA(f->GetHandle(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(lf.lfHeight, f->GetHeight());
  EXPECT_EQ(changes, 2);
  f->SetStyle({fsBold, fsUnderline});  // no change, no event
  EXPECT_EQ(changes, 2);
}

TEST(Font, AssignKeepsThePointSizeAcrossResolutions) {
  Owned<TFont> a = MakeOwned<TFont>(), b = MakeOwned<TFont>();
  a->SetName("Tahoma");
  a->SetSize(12);
  a->SetColor(clBlue);
  a->SetStyle({fsItalic});
  b->SetPixelsPerInch(a->GetPixelsPerInch() * 2);
  b->Assign(a.get());
  EXPECT_EQ(b->GetName(), "Tahoma");
  EXPECT_EQ(b->GetSize(), 12);
  EXPECT_EQ(b->GetHeight(), 2 * a->GetHeight());
  EXPECT_EQ(b->GetColor(), clBlue);
  EXPECT_TRUE(b->GetStyle().Contains(fsItalic));
}

TEST(PenAndBrush, HandlesFollowTheirDescription) {
  Owned<TPen> p = MakeOwned<TPen>();
  EXPECT_EQ(p->GetColor(), clBlack);
  EXPECT_EQ(p->GetWidth(), 1);
  EXPECT_EQ(p->GetMode(), pmCopy);
  struct {
    TPenStyle style;
    UINT gdi;
  } pens[] = {{psSolid, PS_SOLID}, {psDash, PS_DASH}, {psDot, PS_DOT}, {psClear, PS_NULL},
              {psInsideFrame, PS_INSIDEFRAME}};
  for (auto& c : pens) {
    SCOPED_TRACE(c.style);
    p->SetStyle(c.style);
    LOGPEN lp{};
    GetObjectA(p->GetHandle(), sizeof lp, &lp);
    EXPECT_EQ(lp.lopnStyle, c.gdi);
  }
  EXPECT_EQ(PenModeToROP2(pmBlack), R2_BLACK);
  EXPECT_EQ(PenModeToROP2(pmNotXor), R2_NOTXORPEN);

  Owned<TBrush> b = MakeOwned<TBrush>();
  EXPECT_EQ(b->GetColor(), clWhite);
  struct {
    TBrushStyle style;
    UINT gdiStyle;
    ULONG_PTR hatch;
  } brushes[] = {{bsSolid, BS_SOLID, 0}, {bsClear, BS_HOLLOW, 0}, {bsHorizontal, BS_HATCHED, HS_HORIZONTAL},
                 {bsDiagCross, BS_HATCHED, HS_DIAGCROSS}};
  for (auto& c : brushes) {
    SCOPED_TRACE(c.style);
    b->SetStyle(c.style);
    LOGBRUSH lb{};
    GetObjectA(b->GetHandle(), sizeof lb, &lb);
    EXPECT_EQ(lb.lbStyle, c.gdiStyle);
    if (c.gdiStyle == BS_HATCHED) {
      EXPECT_EQ(lb.lbHatch, c.hatch);
    }
  }
  // A colour makes a clear brush solid again.
  b->SetStyle(bsClear);
  b->SetColor(clRed);
  EXPECT_EQ(b->GetStyle(), bsSolid);
}

TEST(PenAndBrush, ABrushChangesAsTheDescriptionTheyShare) {
  Owned<TBrush> b = MakeOwned<TBrush>();
  int changes = 0;
  struct TCounter {
    int* n;
    void OnChange(TObject*) { ++*n; }
  } counter{&changes};
  b->SetOnChange(TNotifyEvent(&counter, &TCounter::OnChange));
  auto style = [&b] {
    LOGBRUSH lb{};
    GetObjectA(b->GetHandle(), sizeof lb, &lb);
    return lb.lbStyle;
  };
  // The clear style makes the colour white: a solid style then paints white.
  b->SetColor(clRed);
  b->SetStyle(bsClear);
  EXPECT_EQ(b->GetColor(), clWhite);
  b->SetStyle(bsSolid);
  EXPECT_EQ(b->GetColor(), clWhite);
  EXPECT_EQ(changes, 3);
  b->SetStyle(bsSolid);  // the same description: no event
  b->SetColor(clWhite);
  EXPECT_EQ(changes, 3);

  // A pattern starts from a white solid brush and wins over any style.
  Owned<TBitmap> pattern = MakeOwned<TBitmap>();
  pattern->SetSize(8, 8);
  b->SetColor(clBlue);
  b->SetStyle(bsCross);
  b->SetBitmap(pattern.get());
  EXPECT_EQ(b->GetColor(), clWhite);
  EXPECT_EQ(b->GetStyle(), bsSolid);
  EXPECT_EQ(style(), static_cast<UINT>(BS_PATTERN));
  b->SetStyle(bsDiagCross);
  EXPECT_EQ(b->GetBitmap(), pattern.get());
  EXPECT_EQ(style(), static_cast<UINT>(BS_PATTERN));
  b->SetBitmap(nullptr);
  EXPECT_EQ(style(), static_cast<UINT>(BS_SOLID));
}

// Assigning an equal font, pen or brush changes nothing and says nothing; a
// colour or mode alone keeps the GDI handle.
TEST(PenAndBrush, AssignAnnouncesOnlyADifference) {
  struct TCounter {
    int n = 0;
    void OnChange(TObject*) { ++n; }
  };
  Owned<TFont> font = MakeOwned<TFont>(), otherFont = MakeOwned<TFont>();
  Owned<TPen> pen = MakeOwned<TPen>(), otherPen = MakeOwned<TPen>();
  Owned<TBrush> brush = MakeOwned<TBrush>(), otherBrush = MakeOwned<TBrush>();
  TCounter fontChanges, penChanges, brushChanges;
  font->SetOnChange(TNotifyEvent(&fontChanges, &TCounter::OnChange));
  pen->SetOnChange(TNotifyEvent(&penChanges, &TCounter::OnChange));
  brush->SetOnChange(TNotifyEvent(&brushChanges, &TCounter::OnChange));
  HFONT fontHandle = font->GetHandle();
  HPEN penHandle = pen->GetHandle();
  font->Assign(otherFont.get());
  pen->Assign(otherPen.get());
  brush->Assign(otherBrush.get());
  EXPECT_EQ(fontChanges.n, 0);
  EXPECT_EQ(penChanges.n, 0);
  EXPECT_EQ(brushChanges.n, 0);
  EXPECT_EQ(font->GetHandle(), fontHandle);

  otherFont->SetColor(clRed);
  otherPen->SetMode(pmXor);
  font->Assign(otherFont.get());
  pen->Assign(otherPen.get());
  EXPECT_EQ(fontChanges.n, 1);
  EXPECT_EQ(penChanges.n, 1);
  EXPECT_EQ(font->GetColor(), clRed);
  EXPECT_EQ(pen->GetMode(), pmXor);
  EXPECT_EQ(font->GetHandle(), fontHandle);
  EXPECT_EQ(pen->GetHandle(), penHandle);

  otherFont->SetStyle({fsItalic});
  otherPen->SetWidth(3);
  otherBrush->SetStyle(bsCross);
  font->Assign(otherFont.get());
  pen->Assign(otherPen.get());
  brush->Assign(otherBrush.get());
  EXPECT_EQ(fontChanges.n, 2);
  EXPECT_EQ(penChanges.n, 2);
  EXPECT_EQ(brushChanges.n, 1);
  EXPECT_TRUE(font->GetStyle().Contains(fsItalic));
  EXPECT_EQ(pen->GetWidth(), 3);
  EXPECT_EQ(brush->GetStyle(), bsCross);
  EXPECT_EQ(GetObjectType(fontHandle), 0u);  // the old handles are gone
  EXPECT_EQ(GetObjectType(penHandle), 0u);
}

}  // namespace
