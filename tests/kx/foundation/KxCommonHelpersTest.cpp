// The string, component, font, image-list, version and placement helpers of
// KxCommon, and the dialog component base.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/SysUtils.h"
#include "kx/foundation/KxCommon.h"
#include "tests/kx/foundation/KxTestSupport.h"

namespace {

TEST(KxCommonHelpersTest, StringHelpers) {
  struct TIdent {
    std::string In, Out;
  };
  for (const TIdent& c : std::vector<TIdent>{{"9ab-c", "abc"}, {"", "X"}, {"Good_1", "Good_1"}, {"-+", "X"},
                                             {"_a b", "_ab"}, {"a9", "a9"}}) {
    SCOPED_TRACE(c.In);
    EXPECT_EQ(CreateValidIdent(c.In, "X"), c.Out);
  }
  EXPECT_EQ(CountChar(',', "a,b,,c"), 3);
  EXPECT_EQ(LastChar("abc"), 'c');
  std::string s = "a-b-c";
  EXPECT_TRUE(RemoveChar(s, '-'));
  EXPECT_EQ(s, "ab-c");
  EXPECT_FALSE(RemoveChar(s, '+'));
  // CopyEx counts the end position from the start of the text.
  EXPECT_EQ(CopyEx("a,b,c,d", 1, ',', 2), "a,b,");
  EXPECT_EQ(CopyEx("a,b,c,d", 3, ',', 1), "b,c,");
  EXPECT_EQ(CopyEx("a,b,c,d", 1, ',', 4), "a,b,c,d");
  EXPECT_EQ(CopyEx("a,b", 9, ',', 1), "a,b");
  int a = 1, b = 2;
  Swap(a, b);
  EXPECT_EQ(a, 2);
  uint16_t c = 3, d = 4;
  Swap(c, d);
  EXPECT_EQ(c, 4);
  EXPECT_EQ(Min(-3, 2), -3);
  EXPECT_EQ(Max(-3, 2), 2);
}

TEST(KxCommonHelpersTest, CenterRectRoundsTowardsZero) {
  TRect r = CenterRect(TRect{0, 0, 11, 11}, 4, 4);
  EXPECT_EQ(r.left, 3);
  EXPECT_EQ(r.right, 7);
  r = CenterRect(TRect{-11, -11, 0, 0}, 4, 4);
  EXPECT_EQ(r.left, -7);  // -15 / 2
  EXPECT_EQ(r.bottom, -3);
}

TEST(KxCommonHelpersTest, NewComponentNames) {
  Owned<TComponent> owner(New<TComponent>(nullptr));
  EXPECT_EQ(GetNewComponentName(owner.get(), "Label", true), "Label");
  EXPECT_EQ(GetNewComponentName(owner.get(), "Label", false), "Label1");
  TComponent* one = New<TComponent>(owner.get());
  one->SetName("Label1");
  TComponent* bare = New<TComponent>(owner.get());
  bare->SetName("Label");
  EXPECT_EQ(GetNewComponentName(owner.get(), "Label", true), "Label2");
  EXPECT_EQ(GetNewComponentName(owner.get(), "Label", false), "Label2");
}

TEST(KxCommonHelpersTest, RunningUnderTellsEachVersionExactly) {
  struct TCase {
    int Platform, Major, Minor;
    TKxWindowsVersion Yes;
  };
  const std::vector<TCase> cases = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, Win95}, {VER_PLATFORM_WIN32_WINDOWS, 4, 10, Win98},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, WinMe}, {VER_PLATFORM_WIN32_NT, 4, 0, WinNT},
      {VER_PLATFORM_WIN32_NT, 5, 0, Win2000},     {VER_PLATFORM_WIN32_NT, 5, 1, WinXP},
      {VER_PLATFORM_WIN32_NT, 5, 2, WinServer2003},
  };
  int platform = Win32Platform, major = Win32MajorVersion, minor = Win32MinorVersion;
  for (const TCase& c : cases) {
    Win32Platform = c.Platform;
    Win32MajorVersion = c.Major;
    Win32MinorVersion = c.Minor;
    for (int v = Win95; v <= WinServer2003; ++v) {
      SCOPED_TRACE(testing::Message() << c.Platform << " " << c.Major << "." << c.Minor << " asks " << v);
      EXPECT_EQ(RunningUnder(static_cast<TKxWindowsVersion>(v)), v == c.Yes);
    }
  }
  Win32Platform = platform;
  Win32MajorVersion = major;
  Win32MinorVersion = minor;
}

TEST(KxCommonHelpersTest, FontHelpersMeasureRealFonts) {
  Owned<TFont> sans(New<TFont>());
  sans->SetName("MS Sans Serif");
  sans->SetHeight(-13);
  EXPECT_FALSE(IsTrueTypeFont(sans.get()));  // the bitmap face of Wine's fonts
  EXPECT_EQ(GetMinFontHeight(sans.get()), 16 + 2);
  Owned<TFont> tahoma(New<TFont>());
  tahoma->SetName("Tahoma");
  EXPECT_TRUE(IsTrueTypeFont(tahoma.get()));
  int avg = GetAvgCharWidth(sans.get());
  EXPECT_GT(avg, 3);
  EXPECT_LT(avg, 12);

  tahoma->SetStyle({fsBold, fsItalic});
  tahoma->SetPitch(fpFixed);
  HFONT turned = RotateFont(tahoma.get(), 90);
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(turned, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfOrientation, 0);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_FALSE(lf.lfUnderline);
  EXPECT_EQ(lf.lfHeight, tahoma->GetHeight());
  EXPECT_EQ(lf.lfPitchAndFamily, FIXED_PITCH);
  EXPECT_STREQ(lf.lfFaceName, "Tahoma");
  DeleteObject(turned);
}

// A bitmap whose first column holds the mask colour at the row the helper
// reads; the image list then leaves those pixels transparent.
Owned<TBitmap> Glyph(int w, int h, TColor key, TColor ink) {
  Owned<TBitmap> b = MakeOwned<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  b->GetCanvas()->GetBrush()->SetColor(key);
  b->GetCanvas()->FillRect(TRect{0, 0, w, h});
  b->GetCanvas()->GetBrush()->SetColor(ink);
  b->GetCanvas()->FillRect(TRect{w / 4, h / 4, w / 2, h / 2});
  return b;
}

TEST(KxCommonHelpersTest, AddImageToImageListByShape) {
  Owned<TImageList> list(New<TImageList>(nullptr));
  list->SetWidth(16);
  list->SetHeight(16);
  int index = 0, second = 0;
  AddImageToImageList(list.get(), nullptr, false, index, second);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(second, -1);

  Owned<TBitmap> square = Glyph(16, 16, clFuchsia, clBlue);
  AddImageToImageList(list.get(), square.get(), false, index, second);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(second, -1);
  Owned<TBitmap> wide = Glyph(32, 16, clFuchsia, clBlue);
  AddImageToImageList(list.get(), wide.get(), true, index, second);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(second, 2);
  AddImageToImageList(list.get(), wide.get(), false, index, second);
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list->GetCount(), 4);
}

// A glyph shorter than 16 rows takes its mask colour from its last row.
TEST(KxCommonHelpersTest, ShortGlyphTakesItsMaskFromItsLastRow) {
  Owned<TImageList> list(New<TImageList>(nullptr));
  list->SetWidth(10);
  list->SetHeight(10);
  Owned<TBitmap> glyph = Glyph(10, 10, clFuchsia, clBlue);
  int index = 0, second = 0;
  AddImageToImageList(list.get(), glyph.get(), false, index, second);
  ASSERT_EQ(index, 0);
  kx_test::TPaintSurface s(10, 10, RGB(0, 255, 0));
  ImageList_Draw(list->GetHandle(), 0, s.Canvas()->GetHandle(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(s.Pixel(0, 0), RGB(0, 255, 0));  // fuchsia left out
  EXPECT_EQ(s.Pixel(3, 3), RGB(0, 0, 255));
}

TEST(KxCommonHelpersTest, DialogComponentDefaults) {
  Owned<TKxDialogComponent> d(New<TKxDialogComponent>(nullptr));
  EXPECT_EQ(d->GetFont()->GetName(), "MS Sans Serif");
  EXPECT_EQ(d->GetFont()->GetSize(), 8);
  EXPECT_EQ(d->GetCaptionOK(), "OK");
  EXPECT_EQ(d->GetCaptionCancel(), "Cancel");
  EXPECT_EQ(d->GetCaptionHelp(), "&Help");
  EXPECT_EQ(d->GetOriginLeft(), 100);
  EXPECT_EQ(d->GetWidth(), 350);
  EXPECT_EQ(d->GetHeight(), 300);
  EXPECT_EQ(d->GetPosition(), poScreenCenter);
  d->SetCenterToParent(true);
  EXPECT_EQ(d->GetPosition(), poOwnerFormCenter);
  d->SetPosition(poDesigned);
  d->SetCenterToParent(true);  // unchanged: Position stays
  EXPECT_EQ(d->GetPosition(), poDesigned);
  d->SetCenterToParent(false);
  EXPECT_EQ(d->GetPosition(), poScreenCenter);

  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->GetFont()->SetName("Tahoma");
  TKxDialogComponent* owned = New<TKxDialogComponent>(form.get());
  EXPECT_EQ(owned->GetFont()->GetName(), "Tahoma");
  owned->CenterForm(form.get());
  EXPECT_EQ(form->GetPosition(), poScreenCenter);
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// A task bar along each edge of the 1024 x 768 test screen. Wine's desktop
// has a task bar window of its own; a topmost one made later is found first.
TEST(KxCommonHelpersTest, DesktopClientRectLeavesTheTaskBarOut) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "Shell_TrayWnd";
  ASSERT_NE(RegisterClassA(&wc), 0);
  struct TCase {
    TRect Bar, Expected;
  };
  const std::vector<TCase> cases = {
      {{0, 738, 1024, 768}, {0, 0, 1024, 738}},
      {{0, 0, 1024, 30}, {0, 30, 1024, 768}},
      {{0, 0, 60, 768}, {60, 0, 1024, 768}},
      {{964, 0, 1024, 768}, {0, 0, 964, 768}},
  };
  for (const TCase& c : cases) {
    HWND bar = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "Shell_TrayWnd", "", WS_POPUP, c.Bar.left, c.Bar.top,
                               c.Bar.right - c.Bar.left, c.Bar.bottom - c.Bar.top, nullptr, nullptr, wc.hInstance,
                               nullptr);
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", ""), bar);
    TRect got = GetDesktopClientRect();
    EXPECT_TRUE(EqualRect(&got, &c.Expected)) << got.left << "," << got.top << "," << got.right << ","
                                              << got.bottom;
    DestroyWindow(bar);
  }
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(KxCommonHelpersTest, CentringOverAFormStaysOnTheWorkArea) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(100, 100, 300, 200);
  Owned<TForm> dialog(New<TForm>(nullptr, 0));
  dialog->SetBounds(0, 0, 100, 50);
  int left = 0, top = 0;
  CenterToForm(dialog.get(), form.get(), left, top);
  EXPECT_EQ(left, 200);
  EXPECT_EQ(top, 175);
  TRect work = GetActiveWorkArea(form.get());
  EXPECT_EQ(GetActiveWorkAreaWidth(form.get()), work.right - work.left);
  form->SetBounds(work.right - 50, work.bottom - 20, 300, 200);
  CenterToForm(dialog.get(), form.get(), left, top);
  EXPECT_EQ(left, work.right - 100);
  EXPECT_EQ(top, work.bottom - 50);
  form->SetBounds(-400, -300, 300, 200);
  CenterToWindow(dialog.get(), form.get(), left, top);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(top, 0);
}

}  // namespace
