// Drawing paths give back every GDI object they make: the process's GDI
// object count is the same after a loop of draws as after the first one.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "classlib/Graphics.h"
#include "classlib/Seams.h"
#include "skin/pkBitmap.h"
#include "skin/pkShared.h"
#include "skin/pktext.h"
#include "tests/classlib/GraphicsTestUtil.h"
#include "tests/skin/SkinTestUtil.h"

using namespace skin_test;

namespace {

// The process's GDI objects, counted where Wine keeps them.
int GdiObjects() { return graphics_test::GdiObjectCount(); }

struct TEnabled : TObject {
  bool enabled = true;
  bool IsEnabled() { return enabled; }
};

}  // namespace

TEST(PkGdi, DrawingLeavesNoObjectBehind) {
  Owned<TpkBitmap> surface = MakePk(64, 48, 0xFFFFFF);
  Owned<TpkBitmap> src = MakeRamp(7, 5);
  Owned<TFont> font = MakeOwned<TFont>();
  font->SetName("Tahoma");
  font->SetHeight(-13);
  TEnabled owner;
  Owned<TpkCaptionText> text(New<TpkCaptionText>(surface->GetCanvas(), font.get(), TNotifyEvent(), TNotifyEvent(),
                                                 TpkEnabledQuery(&owner, &TEnabled::IsEnabled)));
  text->SetCaption("A &caption\r\nof two lines");
  text->SetTextRect(Rect(2, 2, 60, 46));
  Owned<TBitmap> glyph = MakeOwned<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(6, 6);
  glyph->GetCanvas()->SetPixels(2, 2, clBlack);
  Owned<TBitmap> disabled = MakeOwned<TBitmap>();
  struct TCase {
    const char* name;
    std::function<void()> run;
  } cases[] = {
      {"Draw", [&] { surface->GetCanvas()->Draw(1, 1, src.get()); }},
      {"StretchDraw", [&] { surface->GetCanvas()->StretchDraw(Rect(0, 0, 30, 20), src.get()); }},
      {"SmoothStretchDraw", [&] { src->SmoothStretchDraw(surface->GetCanvas(), Rect(0, 0, 30, 20)); }},
      {"transparent Draw",
       [&] {
         src->SetTransparent(true);
         surface->GetCanvas()->Draw(1, 1, src.get());
         surface->GetCanvas()->StretchDraw(Rect(0, 0, 30, 20), src.get());
         src->SetTransparent(false);
       }},
      {"TileDraw", [&] { src->TileDraw(surface->GetCanvas(), Rect(0, 0, 30, 20)); }},
      {"palette TileDraw",
       [&] {
         TSeamOverride<std::function<int()>> depth(Seams().DisplayBitsPerPixel, [] { return 8; });
         src->SetHalftonePalette(true);
         src->TileDraw(surface->GetCanvas(), Rect(0, 0, 30, 20));
         surface->GetCanvas()->Draw(0, 0, src.get());
         src->SetHalftonePalette(false);
       }},
      {"DrawMasked", [&] { DrawMasked(surface->GetCanvas(), Rect(0, 0, 7, 5), src.get(), clNone); }},
      {"FillChecker", [&] { FillChecker(surface->GetCanvas(), Rect(0, 0, 9, 9), clRed, clBlue); }},
      {"FillChecker clNone", [&] { FillChecker(surface->GetCanvas(), Rect(0, 0, 9, 9), clNone, clBlue); }},
      {"TileGraphic", [&] { TileGraphic(src.get(), surface->GetCanvas(), Rect(0, 0, 20, 20)); }},
      {"DrawDisabledGlyph", [&] { DrawDisabledGlyph(glyph.get(), disabled.get()); }},
      {"FillOutsideRegion",
       [&] {
         pk_detail::TGdiObject<HRGN> r(CreateRectRgn(1, 1, 3, 3));
         FillOutsideRegion(src.get(), r.get());
       }},
      {"effects through temporaries",
       [&] {
         src->Rotate(TPoint{-1, -1}, 30);
         src->Wave(true, 2, 2, 1);
         Owned<TpkBitmap> other = MakeRamp(3, 3);
         src->AlphaBlend(other.get(), 100, true);
         src->Resize(8, 6);
         src->Resize(7, 5);
       }},
      {"park", [&] {
         src->ParkPixels();
         src->UnparkPixels();
       }},
      {"caption styles",
       [&] {
         for (TpkTextStyle style : {pklsDefault, pklsLowered, pklsRaised, pklsOutline}) {
           text->SetStyle(style);
           text->Draw();
         }
       }},
      {"caption effects",
       [&] {
         text->GetShadow()->SetEnabled(true);
         text->GetExtrudeEffects()->SetEnabled(true);
         text->GetExtrudeEffects()->SetDepth(3);
         text->SetRotation(30);
         text->SetDoubleBuffered(true);
         text->Draw();
         owner.enabled = false;
         text->Draw();
         owner.enabled = true;
         text->SetWordWrap(true);
         text->SetOptions({toFullJustify});
         text->Draw();
         TRect r;
         text->CalcRect(true, r);
       }},
  };
  ASSERT_GT(GdiObjects(), 0);
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.run();
    const int before = GdiObjects();
    for (int i = 0; i < 20; ++i) c.run();
    EXPECT_EQ(GdiObjects(), before);
  }
}
