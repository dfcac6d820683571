// The theme services over the real uxtheme.dll of the Wine prefix, whose
// "Light" style is active (the programs carry the common controls 6
// manifest), and the classic paths with themes switched off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/StdCtrls.h"
#include "kx/foundation/KxThemeSrv.h"
#include "kx/foundation/KxTmSchema.h"
#include "kx/foundation/KxUxTheme.h"
#include "tests/kx/foundation/KxTestSupport.h"

namespace {

using kx_test::TPaintSurface;

struct TDetailsCase {
  TThemedElementDetails Got;
  TThemedElement Element;
  int Part, State;
};

// The don't-care, root, first and last values of every element, and the
// values the schema's numbers are easiest to get wrong for.
TEST(KxThemeSrvTest, ElementDetailsOfEveryElementsEnds) {
  TThemeServices& s = ThemeServices();
  auto GetElementDetails = [&s](auto v) { return s.GetElementDetails(v); };
  const std::vector<TDetailsCase> cases = {
      {GetElementDetails(tbButtonDontCare), teButton, 0, 1},
      {GetElementDetails(tbButtonRoot), teButton, 0, 2},
      {GetElementDetails(tbPushButtonNormal), teButton, 1, 1},
      {GetElementDetails(tbUserButton), teButton, 5, 1},
      {GetElementDetails(tcClockDontCare), teClock, 0, 1},
      {GetElementDetails(tcClockRoot), teClock, 0, 2},
      {GetElementDetails(tcTimeNormal), teClock, 1, 1},
      {GetElementDetails(tcTimeNormal), teClock, 1, 1},
      {GetElementDetails(tcComboBoxDontCare), teComboBox, 0, 1},
      {GetElementDetails(tcComboBoxRoot), teComboBox, 0, 2},
      {GetElementDetails(tcDropDownButtonNormal), teComboBox, 1, 1},
      {GetElementDetails(tcDropDownButtonDisabled), teComboBox, 1, 4},
      {GetElementDetails(teEditDontCare), teEdit, 0, 1},
      {GetElementDetails(teEditRoot), teEdit, 0, 2},
      {GetElementDetails(teEditTextNormal), teEdit, 1, 1},
      {GetElementDetails(teEditCaret), teEdit, 2, 1},
      {GetElementDetails(tebExplorerBarDontCare), teExplorerBar, 0, 1},
      {GetElementDetails(tebExplorerBarRoot), teExplorerBar, 0, 2},
      {GetElementDetails(tebHeaderBackgroundNormal), teExplorerBar, 1, 1},
      {GetElementDetails(tebSpecialGroupHead), teExplorerBar, 12, 1},
      {GetElementDetails(thHeaderDontCare), teHeader, 0, 1},
      {GetElementDetails(thHeaderRoot), teHeader, 0, 2},
      {GetElementDetails(thHeaderItemNormal), teHeader, 1, 1},
      {GetElementDetails(thHeaderSortArrowSortedDown), teHeader, 4, 2},
      {GetElementDetails(tlListviewDontCare), teListView, 0, 1},
      {GetElementDetails(tlListviewRoot), teListView, 0, 2},
      {GetElementDetails(tlListItemNormal), teListView, 1, 1},
      {GetElementDetails(tlEmptyText), teListView, 5, 1},
      {GetElementDetails(tmMenuDontCare), teMenu, 0, 1},
      {GetElementDetails(tmMenuRoot), teMenu, 0, 2},
      {GetElementDetails(tmMenuItemNormal), teMenu, 1, 1},
      {GetElementDetails(tmSeparator), teMenu, 6, 1},
      {GetElementDetails(tpPageDontCare), tePage, 0, 1},
      {GetElementDetails(tpPageRoot), tePage, 0, 2},
      {GetElementDetails(tpUpNormal), tePage, 1, 1},
      {GetElementDetails(tpDownHorzDisabled), tePage, 4, 4},
      {GetElementDetails(tpProgressDontCare), teProgress, 0, 1},
      {GetElementDetails(tpProgressRoot), teProgress, 0, 2},
      {GetElementDetails(tpBar), teProgress, 1, 1},
      {GetElementDetails(tpChunkVert), teProgress, 4, 1},
      {GetElementDetails(trRebarDontCare), teRebar, 0, 1},
      {GetElementDetails(trRebarRoot), teRebar, 0, 2},
      {GetElementDetails(trGripper), teRebar, 1, 1},
      {GetElementDetails(trChevronVertDisabled), teRebar, 5, 4},
      {GetElementDetails(tsScrollBarDontCare), teScrollBar, 0, 1},
      {GetElementDetails(tsScrollBarRoot), teScrollBar, 0, 2},
      {GetElementDetails(tsArrowBtnUpNormal), teScrollBar, 1, 1},
      {GetElementDetails(tsSizeBoxLeftAlign), teScrollBar, 10, 2},
      {GetElementDetails(tsSpinDontCare), teSpin, 0, 1},
      {GetElementDetails(tsSpinRoot), teSpin, 0, 2},
      {GetElementDetails(tsUpNormal), teSpin, 1, 1},
      {GetElementDetails(tsDownHorzDisabled), teSpin, 4, 4},
      {GetElementDetails(tspStartPanelDontCare), teStartPanel, 0, 1},
      {GetElementDetails(tspStartPanelRoot), teStartPanel, 0, 2},
      {GetElementDetails(tspUserPane), teStartPanel, 1, 1},
      {GetElementDetails(tspPreview), teStartPanel, 11, 1},
      {GetElementDetails(tsStatusDontCare), teStatus, 0, 1},
      {GetElementDetails(tsStatusRoot), teStatus, 0, 2},
      {GetElementDetails(tsPane), teStatus, 1, 1},
      {GetElementDetails(tsGripper), teStatus, 3, 1},
      {GetElementDetails(ttTabDontCare), teTab, 0, 1},
      {GetElementDetails(ttTabRoot), teTab, 0, 2},
      {GetElementDetails(ttTabItemNormal), teTab, 1, 1},
      {GetElementDetails(ttBody), teTab, 10, 1},
      {GetElementDetails(ttbTaskBandDontCare), teTaskBand, 0, 1},
      {GetElementDetails(ttbTaskBandRoot), teTaskBand, 0, 2},
      {GetElementDetails(ttbGroupCount), teTaskBand, 1, 1},
      {GetElementDetails(ttpFlashButtonGroupMenu), teTaskBand, 3, 1},
      {GetElementDetails(ttTaskBarDontCare), teTaskBar, 0, 1},
      {GetElementDetails(ttTaskBarRoot), teTaskBar, 0, 2},
      {GetElementDetails(ttbTimeNormal), teTaskBar, 1, 1},
      {GetElementDetails(ttbTimeNormal), teTaskBar, 1, 1},
      {GetElementDetails(ttbToolBarDontCare), teToolBar, 0, 1},
      {GetElementDetails(ttbToolBarRoot), teToolBar, 0, 2},
      {GetElementDetails(ttbButtonNormal), teToolBar, 1, 1},
      {GetElementDetails(ttbSeparatorVertCheckedHot), teToolBar, 6, 6},
      {GetElementDetails(tttToolTipDontCare), teToolTip, 0, 1},
      {GetElementDetails(tttToolTipRoot), teToolTip, 0, 2},
      {GetElementDetails(tttStandardNormal), teToolTip, 1, 1},
      {GetElementDetails(tttClosePressed), teToolTip, 5, 3},
      {GetElementDetails(ttbTrackBarDontCare), teTrackBar, 0, 1},
      {GetElementDetails(ttbTrackBarRoot), teTrackBar, 0, 2},
      {GetElementDetails(ttbTrack), teTrackBar, 1, 1},
      {GetElementDetails(ttbThumbTicsVert), teTrackBar, 10, 1},
      {GetElementDetails(ttnTrayNotifyDontCare), teTrayNotify, 0, 1},
      {GetElementDetails(ttnTrayNotifyRoot), teTrayNotify, 0, 2},
      {GetElementDetails(ttnBackground), teTrayNotify, 1, 1},
      {GetElementDetails(ttnAnimBackground), teTrayNotify, 2, 1},
      {GetElementDetails(ttTreeviewDontCare), teTreeview, 0, 1},
      {GetElementDetails(ttTreeviewRoot), teTreeview, 0, 2},
      {GetElementDetails(ttItemNormal), teTreeview, 1, 1},
      {GetElementDetails(ttBranch), teTreeview, 3, 1},
      {GetElementDetails(twWindowDontCare), teWindow, 0, 1},
      {GetElementDetails(twWindowRoot), teWindow, 0, 2},
      {GetElementDetails(twCaptionActive), teWindow, 1, 1},
      {GetElementDetails(twSmallFrameBottomSizingTemplate), teWindow, 37, 1},
      {GetElementDetails(tbCheckBoxMixedNormal), teButton, 3, 9},
      {GetElementDetails(tsArrowBtnRightDisabled), teScrollBar, 1, 16},
      {GetElementDetails(tebHeaderPinSelectedNormal), teExplorerBar, 3, 4},
      {GetElementDetails(tcDropDownButtonNormal), teComboBox, KxTmSchema::CP_DROPDOWNBUTTON,
       KxTmSchema::CBXS_NORMAL},
      {GetElementDetails(teEditTextReadOnly), teEdit, KxTmSchema::EP_EDITTEXT, KxTmSchema::ETS_READONLY},
      {GetElementDetails(tpChunkVert), teProgress, KxTmSchema::PP_CHUNKVERT, 1},
      {GetElementDetails(twSmallFrameBottomSizingTemplate), teWindow,
       KxTmSchema::WP_SMALLFRAMEBOTTOMSIZINGTEMPLATE, 1},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const TDetailsCase& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << " " << GetEnumName(TypeInfo<TThemedElement>(), c.Element));
    EXPECT_EQ(c.Got.Element, c.Element);
    EXPECT_EQ(c.Got.Part, c.Part);
    EXPECT_EQ(c.Got.State, c.State);
  }
}

TEST(KxThemeSrvTest, ElementClassNamesAndEnumerationNames) {
  EXPECT_EQ(std::wstring(ThemedElementClassName(teButton)), L"button");
  EXPECT_EQ(std::wstring(ThemedElementClassName(teExplorerBar)), L"explorerbar");
  EXPECT_EQ(std::wstring(ThemedElementClassName(teWindow)), L"window");
  EXPECT_EQ(GetEnumName(TypeInfo<TThemedElement>(), teWindow), "teWindow");
  EXPECT_EQ(GetEnumName(TypeInfo<TThemedButton>(), tbUserButton), "tbUserButton");
  EXPECT_EQ(GetEnumName(TypeInfo<TThemedWindow>(), twSmallFrameBottomSizingTemplate),
            "twSmallFrameBottomSizingTemplate");
}

// Each test runs in a process of its own and nothing has asked for the
// theme services yet, so this test holds every reference.
TEST(KxThemeSrvTest, LibraryStaysLoadedUntilTheLastReferenceAndThenForgetsEveryEntryPoint) {
  ASSERT_EQ(ThemeLibrary(), nullptr);
  auto bound = [] {
    int n = 0;
    for (int i = 0; i < KxUxTheme::EntryPointCount(); ++i) n += KxUxTheme::EntryPointBound(i);
    return n;
  };
  EXPECT_EQ(KxUxTheme::EntryPointCount(), 47);
  EXPECT_STREQ(KxUxTheme::EntryPointName(0), "OpenThemeData");
  EXPECT_STREQ(KxUxTheme::EntryPointName(46), "EnableTheming");
  EXPECT_EQ(bound(), 0);
  EXPECT_FALSE(UseThemes());

  EXPECT_TRUE(InitThemeLibrary());
  EXPECT_TRUE(InitThemeLibrary());
  EXPECT_EQ(bound(), 47);
  EXPECT_TRUE(UseThemes());
  FreeThemeLibrary();
  EXPECT_NE(ThemeLibrary(), nullptr);
  EXPECT_EQ(bound(), 47);
  FreeThemeLibrary();
  EXPECT_EQ(ThemeLibrary(), nullptr);
  EXPECT_EQ(bound(), 0);
  // Unloaded counts as missing: themes are off and nothing is reported.
  EXPECT_FALSE(UseThemes());
  FreeThemeLibrary();  // below zero it stays at zero
  EXPECT_TRUE(InitThemeLibrary());
  FreeThemeLibrary();
  EXPECT_EQ(ThemeLibrary(), nullptr);
}

TEST(KxThemeSrvTest, ThemesAreEnabledForRealAndAPushButtonIsDrawn) {
  TThemeServices& s = ThemeServices();
  ASSERT_TRUE(s.GetThemesEnabled());
  TThemedElementDetails details = s.GetElementDetails(tbPushButtonNormal);
  ASSERT_NE(s.GetTheme(teButton), nullptr);
  EXPECT_EQ(s.GetTheme(teButton), s.GetTheme(teButton));  // cached

  TPaintSurface surface(60, 30);
  TRect r{5, 5, 55, 25};
  s.DrawElement(surface.Canvas()->GetHandle(), details, r);
  // The button covers its middle and nothing outside its rectangle.
  EXPECT_NE(surface.Pixel(30, 15), kx_test::kPaper);
  EXPECT_EQ(surface.Pixel(2, 2), kx_test::kPaper);
  EXPECT_EQ(surface.Pixel(57, 27), kx_test::kPaper);
  // Its content lies strictly inside its border.
  TRect content = s.ContentRect(surface.Canvas()->GetHandle(), details, r);
  EXPECT_GT(content.left, r.left);
  EXPECT_GT(content.top, r.top);
  EXPECT_LT(content.right, r.right);
  EXPECT_LT(content.bottom, r.bottom);

  // A clip rectangle keeps the drawing inside it.
  TPaintSurface clipped(60, 30);
  TRect clip{5, 5, 20, 25};
  s.DrawElement(clipped.Canvas()->GetHandle(), details, r, &clip);
  EXPECT_NE(clipped.Pixel(10, 15), kx_test::kPaper);
  EXPECT_EQ(clipped.Pixel(30, 15), kx_test::kPaper);
}

TEST(KxThemeSrvTest, ColorToRGBTranslatesOnlySystemColoursWithDetails) {
  TThemeServices& s = ThemeServices();
  TThemedElementDetails details = s.GetElementDetails(tbPushButtonNormal);
  EXPECT_EQ(s.ColorToRGB(clRed, &details), clRed);
  EXPECT_EQ(s.ColorToRGB(clBtnFace, nullptr), clBtnFace);
  TColor face = s.ColorToRGB(clBtnFace, &details);
  EXPECT_GE(face, 0);
  EXPECT_EQ(face, static_cast<TColor>(KxUxTheme::GetThemeSysColor(s.GetTheme(teButton), COLOR_BTNFACE)));
}

TEST(KxThemeSrvTest, SwitchingThemesOffWhileRunningIsSeenAtTheNextQuestion) {
  TThemeServices& s = ThemeServices();
  ASSERT_TRUE(s.GetThemesEnabled());
  int changes = 0;
  struct TCounter : TObject {
    int* Count = nullptr;
    void Changed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &changes;
  s.SetOnThemeChange(TNotifyEvent(&counter, &TCounter::Changed));
  {
    kx_test::TThemesOff off;
    EXPECT_FALSE(s.GetThemesEnabled());
    EXPECT_EQ(s.GetTheme(teButton), nullptr);
    // Drawing does nothing while themes are off.
    TPaintSurface surface(20, 20);
    s.DrawElement(surface.Canvas()->GetHandle(), s.GetElementDetails(tbPushButtonNormal), TRect{0, 0, 20, 20});
    EXPECT_EQ(surface.Pixel(10, 10), kx_test::kPaper);
  }
  EXPECT_TRUE(s.GetThemesEnabled());
  EXPECT_NE(s.GetTheme(teButton), nullptr);
  EXPECT_EQ(changes, 2);
  s.SetOnThemeChange(nullptr);
}

LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_APP) return 42;
  return DefWindowProcA(w, m, wp, lp);
}

// Services watching a window of their own: every message still reaches the
// window's procedure, and the window's death unhooks them, so freeing them
// later touches nothing of it.
TEST(KxThemeSrvTest, WatchedWindowKeepsItsProcedureAndItsDeathUnhooksTheServices) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KxThemeSrvWatched";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
  ASSERT_NE(w, nullptr);
  TThemeServices* s = New<TThemeServices>(w);
  EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(CountingProc));
  EXPECT_EQ(SendMessageA(w, WM_APP, 0, 0), 42);
  EXPECT_TRUE(s->GetThemesEnabled());
  DestroyWindow(w);
  s->Free();
  HWND again = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
  TThemeServices* t = New<TThemeServices>(again);
  t->Free();
  EXPECT_EQ(GetWindowLongPtrA(again, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(CountingProc));
  DestroyWindow(again);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

std::vector<UINT> gRecorded;
LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_THEMECHANGED || m == WM_APP) gRecorded.push_back(m);
  if (m == WM_APP) return 42;
  return DefWindowProcA(w, m, wp, lp);
}

// A theme-change handler that throws: the application reports it, the
// caller of SendMessage never sees it, the watched window's own procedure
// still hears the message, and the loop goes on.
TEST(KxThemeSrvTest, AThrowingThemeChangeHandlerIsReportedAndTheWindowStillHearsTheMessage) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = RecordingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KxThemeSrvThrowing";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                           nullptr);
  ASSERT_NE(w, nullptr);
  gRecorded.clear();
  TThemeServices* s = New<TThemeServices>(w);
  struct TFailing {
    int Calls = 0;
    void Changed(TObject*) {
      ++Calls;
      throw EInvalidOperation("theme change failed");
    }
  } failing;
  s->SetOnThemeChange(TNotifyEvent(&failing, &TFailing::Changed));
  struct TLog {
    std::vector<std::string> Messages;
    void OnException(TObject*, Exception& e) { Messages.push_back(e.GetMessage()); }
  } log;
  TExceptionEvent savedHandler = Application->OnException;
  Application->OnException = TExceptionEvent(&log, &TLog::OnException);

  EXPECT_NO_THROW(SendMessageA(w, WM_THEMECHANGED, 0, 0));
  EXPECT_EQ(log.Messages, std::vector<std::string>{"theme change failed"});
  EXPECT_EQ(gRecorded, std::vector<UINT>{WM_THEMECHANGED});

  PostMessageA(w, WM_THEMECHANGED, 0, 0);
  PostMessageA(w, WM_APP, 0, 0);
  EXPECT_NO_THROW(Application->ProcessMessages());
  EXPECT_EQ(failing.Calls, 2);
  EXPECT_EQ(log.Messages.size(), 2u);
  EXPECT_EQ(gRecorded, (std::vector<UINT>{WM_THEMECHANGED, WM_THEMECHANGED, WM_APP}));
  EXPECT_TRUE(s->GetThemesEnabled());

  Application->OnException = savedHandler;
  DestroyWindow(w);
  s->Free();
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

// The themed border of an edit is drawn on the window's whole DC, taken for
// it: a drawing that fails gives the DC back all the same.
TEST(KxThemeSrvTest, ABorderThatFailsToDrawGivesItsDCBack) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* edit = New<TEdit>(form.get());
  edit->SetParent(form.get());
  edit->HandleNeeded();
  ASSERT_TRUE(GetWindowLongPtrA(edit->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  kx_test::TThemeDrawingFails failing(ThemeServices().GetElementDetails(teEditTextNormal));
  EXPECT_EQ(kx_test::GdiObjectsLeftBy([&] { EXPECT_THROW(ThemeServices().PaintBorder(edit, true), Exception); }), 0);
}

}  // namespace
