// The font combo box and what it shares with the font list box: the family
// filter as a function of the enumerated data, the list it makes from the
// prefix's fonts, the type glyphs, the most recently used block (also
// across a new window), the preview's text and place, and the selected
// font.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "classlib/Printers.h"
#include "classlib/SysUtils.h"
#include "classlib/StdCtrls.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/controls/KxComboTestSupport.h"

using namespace kxc_test;

namespace {

// --- the filter and the glyphs as functions ---------------------------------------------------

struct TFilterCase {
  BYTE CharSet;
  BYTE Pitch;
  TKxFontType Type;
  bool ShowSymbol;
  bool Passes;
};

class KxFontFilterTest : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(KxFontFilterTest, AFamilyPassesByCharacterSetAndType) {
  const TFilterCase& c = GetParam();
  EXPECT_EQ(KxFontPassesFilter(c.CharSet, c.Pitch, c.Type, c.ShowSymbol), c.Passes);
}

constexpr BYTE kTT = TMPF_TRUETYPE;
constexpr BYTE kVar = TMPF_FIXED_PITCH;  // set: variable pitch

INSTANTIATE_TEST_SUITE_P(
    Families, KxFontFilterTest,
    ::testing::Values(TFilterCase{ANSI_CHARSET, kTT | kVar, ftAll, true, true},
                      TFilterCase{ANSI_CHARSET, kVar, ftAll, false, true},
                      TFilterCase{SYMBOL_CHARSET, kTT | kVar, ftAll, true, true},
                      TFilterCase{SYMBOL_CHARSET, kTT | kVar, ftAll, false, false},
                      TFilterCase{SYMBOL_CHARSET, kTT, ftTrueType, false, false},
                      TFilterCase{ANSI_CHARSET, kTT | kVar, ftTrueType, true, true},
                      TFilterCase{ANSI_CHARSET, kVar, ftTrueType, true, false},
                      TFilterCase{ANSI_CHARSET, kTT, ftFixedPitch, true, true},
                      TFilterCase{ANSI_CHARSET, 0, ftFixedPitch, true, true},
                      TFilterCase{ANSI_CHARSET, kTT | kVar, ftFixedPitch, true, false},
                      TFilterCase{ANSI_CHARSET, kTT | kVar, ftPrinter, true, false},
                      TFilterCase{ANSI_CHARSET, 0, ftPrinter, true, false}));

TEST(KxFontGlyphTest, TheGlyphFollowsThePitchByteAndTheDevice) {
  struct TCase {
    BYTE pitch;
    TKxFontDevice device;
    TKxFontGlyph glyph;
  };
  for (TCase c : {TCase{kTT, fdScreen, fgTrueTypeFixed}, TCase{kTT | kVar, fdScreen, fgTrueType},
                  TCase{0, fdScreen, fgFixedPitch}, TCase{kVar, fdScreen, fgDevice},
                  TCase{kVar, fdPrinter, fgPrinter}, TCase{kTT | kVar, fdPrinter, fgTrueType},
                  TCase{kVar | TMPF_DEVICE, fdScreen, fgDevice}}) {
    SCOPED_TRACE(testing::Message() << int(c.pitch) << " " << c.device);
    EXPECT_EQ(KxFontGlyphFor(c.pitch, c.device), c.glyph);
  }
}

// --- the list the prefix's fonts make -------------------------------------------------------------

struct TFamily {
  std::string Name;
  BYTE CharSet;
  BYTE Pitch;
};

int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD, LPARAM data) {
  reinterpret_cast<std::vector<TFamily>*>(data)->push_back(
      {std::string(font->lfFaceName), font->lfCharSet, metrics->tmPitchAndFamily});
  return 1;
}

std::vector<TFamily> ScreenFamilies() {
  std::vector<TFamily> families;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesA(dc, nullptr, CollectFamily, reinterpret_cast<LPARAM>(&families));
  ReleaseDC(nullptr, dc);
  return families;
}

// The first item from index on whose name the list holds once (the prefix
// lists some families once per character set).
int UniqueFrom(TKxCustomComboBox* combo, int index) {
  TStrings* items = combo->GetItems();
  for (; index < items->GetCount(); ++index) {
    int n = 0;
    for (int i = 0; i < items->GetCount(); ++i) n += items->Get(i) == items->Get(index);
    if (n == 1) return index;
  }
  return -1;
}

// The index of name below the recently used block.
int SortedPlace(TKxFontComboBox* combo, const std::string& name) {
  for (int i = combo->GetLastMRUIndex() + 1; i < combo->GetItems()->GetCount(); ++i)
    if (combo->GetItems()->Get(i) == name) return i;
  return -1;
}

class KxFontComboTest : public ::testing::Test {
 protected:
  TKxFontComboBox* MakeCombo() {
    auto* combo = host.Add<TKxFontComboBox>(10, 10, 200, 24);
    combo->HandleNeeded();
    return combo;
  }
  static void DrawItem(TKxCustomComboBox* combo, int index, const TDib& dib, UINT itemState) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_COMBOBOX;
    d.itemID = static_cast<UINT>(index);
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = itemState;
    d.hwndItem = combo->GetHandle();
    d.hDC = dib.DC();
    d.rcItem = RECT{0, 0, 200, combo->GetItemHeight()};
    combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  }
  // The list closes on an item as the system tells it.
  static void CloseOn(TKxCustomComboBox* combo, int index) {
    combo->SetItemIndex(index);
    HWND parent = combo->GetParent()->GetHandle();
    WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(combo->GetHandle()));
    LPARAM from = reinterpret_cast<LPARAM>(combo->GetHandle());
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), from);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), from);
  }
  TControlHost host;
};

TEST_F(KxFontComboTest, TheListIsTheEnumeratedFamiliesThatPassTheFilter) {
  std::vector<TFamily> families = ScreenFamilies();
  ASSERT_FALSE(families.empty()) << "the prefix has fonts";
  auto* combo = MakeCombo();
  struct TCase {
    TKxFontType type;
    bool symbols;
  };
  for (TCase c : {TCase{ftAll, true}, TCase{ftAll, false}, TCase{ftTrueType, true}, TCase{ftFixedPitch, true}}) {
    SCOPED_TRACE(testing::Message() << c.type << " " << c.symbols);
    combo->SetFontType(c.type);
    combo->SetShowSymbolFonts(c.symbols);
    combo->HandleNeeded();
    std::multiset<std::string> expected;
    for (const TFamily& f : families)
      if (KxFontPassesFilter(f.CharSet, f.Pitch, c.type, c.symbols)) expected.insert(f.Name);
    std::vector<std::string> listed = LinesOf(combo->GetItems());
    EXPECT_EQ(std::multiset<std::string>(listed.begin(), listed.end()), expected);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(),
                               [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; }));
    // Each item keeps its family's pitch-and-family byte.
    for (int i = 0; i < combo->Count(); ++i) {
      BYTE pitch = KxFontItemPitch(combo->GetItems()->GetObject(i));
      EXPECT_TRUE(KxFontPassesFilter(ANSI_CHARSET, pitch, c.type, true)) << listed[static_cast<size_t>(i)];
    }
  }
  combo->SetFontType(ftPrinter);
  combo->HandleNeeded();
  EXPECT_EQ(combo->Count(), 0) << "the printer type lists nothing";
}

TEST_F(KxFontComboTest, PrinterFontsWithoutAPrinterMakeAnEmptyListAndNoError) {
  auto* combo = MakeCombo();
  combo->SetFontDevice(fdPrinter);
  EXPECT_NO_THROW(combo->HandleNeeded());
  if (Printer()->GetPrinters()->GetCount() == 0) {
    EXPECT_EQ(combo->Count(), 0);
  }
}

TEST_F(KxFontComboTest, ATrueTypeItemShowsItsGlyphOnTheControlsColour) {
  TThemesOff themesOff;
  auto* combo = MakeCombo();
  combo->SetFontType(ftTrueType);
  combo->SetColor(clWhite);
  combo->HandleNeeded();
  ASSERT_GT(combo->Count(), 0);
  TKxFontGlyphs glyphs;
  glyphs.Load();
  for (int i = 0; i < std::min(combo->Count(), 3); ++i) {
    TKxFontGlyph kind = KxFontGlyphFor(KxFontItemPitch(combo->GetItems()->GetObject(i)), fdScreen);
    ASSERT_TRUE(kind == fgTrueType || kind == fgTrueTypeFixed);
    TDib dib(200, combo->GetItemHeight(), RGB(1, 2, 3));
    DrawItem(combo, i, dib, 0);
    TBitmap* glyph = glyphs.Glyph(kind);
    int top = (combo->GetItemHeight() - 12) / 2;
    int left = 24 - 20;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        TColor c = glyph->GetCanvas()->GetPixels(x, y);
        COLORREF want = c == clOlive ? RGB(255, 255, 255) : static_cast<COLORREF>(c);
        ASSERT_EQ(dib.Pixel(left + x, top + y), want) << x << "," << y;
      }
  }
}

TEST_F(KxFontComboTest, ChoosingAFontPutsItOnceOnTopWithALineUnderTheBlock) {
  TThemesOff themesOff;
  auto* combo = MakeCombo();
  int at = UniqueFrom(combo, 1);
  ASSERT_GE(at, 0);
  std::string third = combo->GetItems()->Get(at);
  CloseOn(combo, at);
  EXPECT_EQ(combo->GetItems()->Get(0), third);
  EXPECT_EQ(combo->GetItemIndex(), 0);
  EXPECT_EQ(combo->GetLastMRUIndex(), 0);
  int count = combo->Count();
  // The same font again, from its sorted place (one further down now).
  CloseOn(combo, SortedPlace(combo, third));
  std::vector<std::string> items = LinesOf(combo->GetItems());
  int copies = static_cast<int>(std::count(items.begin(), items.begin() + combo->GetLastMRUIndex() + 1, third));
  EXPECT_EQ(copies, 1) << "once in the block";
  EXPECT_EQ(combo->GetLastMRUIndex(), 0);
  EXPECT_EQ(combo->Count(), count);
  // A second font: the block grows, the newest on top.
  std::string other = combo->GetItems()->Get(UniqueFrom(combo, SortedPlace(combo, third) + 1));
  CloseOn(combo, SortedPlace(combo, other));
  EXPECT_EQ(combo->GetItems()->Get(0), other);
  EXPECT_EQ(combo->GetItems()->Get(1), third);
  EXPECT_EQ(combo->GetLastMRUIndex(), 1);
  // The last item of the block has the line across its bottom row.
  COLORREF line = kx_test::Shown(clBtnShadow);
  int h = combo->GetItemHeight();
  for (int index : {0, 1, 2}) {
    TDib dib(200, h, RGB(1, 2, 3));
    DrawItem(combo, index, dib, 0);
    EXPECT_EQ(dib.Pixel(100, h - 1) == line, index == 1) << index;
  }
  TDib edit(200, h, RGB(1, 2, 3));
  DrawItem(combo, 1, edit, ODS_COMBOBOXEDIT);
  EXPECT_NE(edit.Pixel(100, h - 1), line) << "not in the edit part";
}

TEST_F(KxFontComboTest, ANewWindowKeepsTheRecentlyUsedBlockAndTheSelection) {
  auto* combo = MakeCombo();
  int first = UniqueFrom(combo, 1);
  int second = UniqueFrom(combo, first + 1);
  int third = UniqueFrom(combo, second + 1);
  ASSERT_GE(third, 0);
  std::string a = combo->GetItems()->Get(first), b = combo->GetItems()->Get(second);
  std::string c = combo->GetItems()->Get(third);
  CloseOn(combo, SortedPlace(combo, a));
  CloseOn(combo, SortedPlace(combo, b));
  ASSERT_EQ(combo->GetLastMRUIndex(), 1);
  int count = combo->Count();
  combo->GetFont()->SetSize(12);  // a new window
  combo->HandleNeeded();
  EXPECT_EQ(combo->Count(), count);
  EXPECT_EQ(combo->GetItems()->Get(0), b);
  EXPECT_EQ(combo->GetItems()->Get(1), a);
  EXPECT_EQ(combo->GetLastMRUIndex(), 1);
  EXPECT_EQ(combo->GetFontName(), b);
  // The next choice acts on the right block.
  CloseOn(combo, SortedPlace(combo, c));
  EXPECT_EQ(LinesOf(combo->GetItems())[0], c);
  EXPECT_EQ(combo->GetLastMRUIndex(), 2);
  EXPECT_EQ(combo->Count(), count + 1);
}

TEST_F(KxFontComboTest, TheSelectedFontAndFontName) {
  auto* combo = MakeCombo();
  combo->SetMaintainMRUFonts(false);
  EXPECT_EQ(combo->GetSelectedFont(), nullptr);
  EXPECT_EQ(combo->GetFontName(), "");
  std::string name = combo->GetItems()->Get(2);
  combo->SetFontName(name);
  combo->SetFontSize(14);
  combo->SetFontStyle(TFontStyles{fsBold});
  TFont* font = combo->GetSelectedFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetName(), name);
  EXPECT_EQ(font->GetSize(), 14);
  EXPECT_EQ(font->GetStyle(), TFontStyles{fsBold});
  // A name the list holds once (the prefix may list a family twice).
  int unique = 4;
  while (combo->GetItems()->IndexOf(combo->GetItems()->Get(unique)) != unique) ++unique;
  Owned<TFont> other(New<TFont>());
  other->SetName(combo->GetItems()->Get(unique));
  combo->SetSelectedFont(other.get());
  EXPECT_EQ(combo->GetItemIndex(), unique);
  combo->SetFontName("No Such Font Here");
  EXPECT_EQ(combo->GetItemIndex(), -1);
}

// --- the preview ------------------------------------------------------------------------------------

struct TPreviewCase {
  const char* Name;
  const char* PreviewText;
  int Width;  // 0: as wide as the sample needs plus one
  const char* Expected;
};

void PrintTo(const TPreviewCase& c, std::ostream* os) { *os << c.Name; }

class KxFontPreviewTextTest : public KxFontComboTest, public ::testing::WithParamInterface<TPreviewCase> {};

// The width of a text in the panel's font, measured as the panel draws it.
int PanelTextWidth(TKxPreviewFontPanel* panel, const std::string& text) {
  Owned<TBitmap> b(New<TBitmap>());
  b->GetCanvas()->GetFont()->Assign(panel->GetFont());
  return b->GetCanvas()->TextWidth(text);
}

TEST_P(KxFontPreviewTextTest, ASampleTooWideForThePanelIsShortened) {
  const TPreviewCase& c = GetParam();
  auto* combo = MakeCombo();
  TKxPreviewFontPanel* panel = combo->GetPreviewPanel();
  combo->SetPreviewText(c.PreviewText);
  int full = PanelTextWidth(panel, "AaBbYyZz");
  int seven = PanelTextWidth(panel, "AaBbYyZ");
  int width = c.Width == 0 ? full + 1 : c.Width == 1 ? seven + 1 : c.Width == 2 ? seven : c.Width;
  combo->SetPreviewWidth(width);
  combo->UpdatePreviewText();
  EXPECT_EQ(panel->GetCaption(), c.Expected);
  EXPECT_EQ(panel->GetAlignment(), taCenter);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, KxFontPreviewTextTest,
    ::testing::Values(TPreviewCase{"fits", "", 0, "AaBbYyZz"}, TPreviewCase{"sevenFit", "", 1, "AaBbYyZ"},
                      TPreviewCase{"sixFit", "", 2, "AaBbYy"},
                      TPreviewCase{"ownTextFits", "Hi", 0, "Hi"},
                      TPreviewCase{"ownTextTooWide", "A much longer sample than the panel holds", 1, "AaBbYyZ"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KxFontComboTest, APreviewEditGivesItsSelectionOrItsFirstTenCharacters) {
  auto* combo = MakeCombo();
  auto* edit = host.Add<TEdit>(10, 50, 200, 22);
  combo->SetPreviewEdit(edit);
  edit->SetText("The quick brown fox");
  combo->UpdatePreviewText();
  EXPECT_EQ(combo->GetPreviewPanel()->GetCaption(), "The quick ");
  EXPECT_EQ(combo->GetPreviewPanel()->GetAlignment(), taLeftJustify);
  edit->SetSelStart(4);
  edit->SetSelLength(5);
  combo->UpdatePreviewText();
  EXPECT_EQ(combo->GetPreviewPanel()->GetCaption(), "quick");
  edit->Free();
  EXPECT_EQ(combo->GetPreviewEdit(), nullptr);
}

TEST_F(KxFontComboTest, ThePreviewShowsBesideTheDroppedListAndHidesWhenAsked) {
  host.Show();
  auto* combo = MakeCombo();
  TKxPreviewFontPanel* panel = combo->GetPreviewPanel();
  EXPECT_EQ(panel->GetServed(), combo);
  EXPECT_EQ(panel->GetWidth(), 260);
  EXPECT_EQ(panel->GetHeight(), 65);
  EXPECT_EQ(panel->GetFont()->GetSize(), 36);
  combo->SetShowStyle(ssFontPreview);
  combo->SetDropDownWidth(300);
  combo->DropDown();
  ASSERT_TRUE(panel->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(panel->GetHandle()));
  EXPECT_NE(GetWindowLongPtrA(panel->GetHandle(), GWL_STYLE) & WS_POPUP, 0);
  RECT r{};
  GetWindowRect(panel->GetHandle(), &r);
  POINT origin = combo->ClientToScreen(POINT{0, 0});
  EXPECT_EQ(r.left, origin.x + 300 - 1);
  EXPECT_EQ(r.top, origin.y);
  EXPECT_EQ(r.right - r.left, 260);
  // The panel asks the combo box to hide it (its focus went elsewhere).
  panel->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(combo));
  EXPECT_FALSE(IsWindowVisible(panel->GetHandle()));
  EXPECT_FALSE(panel->GetPanelShown());
  // A focused item of the open list names the preview's face.
  std::string name = combo->GetItems()->Get(1);
  TDib dib(200, combo->GetItemHeight(), RGB(1, 2, 3));
  DrawItem(combo, 1, dib, ODS_FOCUS | ODS_SELECTED);
  EXPECT_EQ(panel->GetFont()->GetName(), name);
  combo->DropDown();
  combo->CloseUp();
  EXPECT_FALSE(IsWindowVisible(panel->GetHandle()));
}

TEST_F(KxFontComboTest, APreviewPanelFreedByHandLeavesTheDefaultSizesAndTheListWorking) {
  host.Show();
  auto* combo = MakeCombo();
  combo->SetShowStyle(ssFontPreview);
  combo->GetPreviewPanel()->Free();
  EXPECT_EQ(combo->GetPreviewPanel(), nullptr);
  EXPECT_EQ(combo->GetPreviewFontSize(), 36);
  EXPECT_EQ(combo->GetPreviewHeight(), 65);
  EXPECT_EQ(combo->GetPreviewWidth(), 260);
  // A focused item of the open list would name the preview's face.
  TDib dib(200, combo->GetItemHeight(), RGB(1, 2, 3));
  DrawItem(combo, 1, dib, ODS_FOCUS | ODS_SELECTED);
  std::string chosen = combo->GetItems()->Get(3);
  combo->DropDown();
  CloseOn(combo, 3);
  EXPECT_EQ(combo->GetItemIndex(), 0) << "the chosen font still goes on top of the recently used block";
  EXPECT_EQ(combo->GetItems()->Get(0), chosen);
}

}  // namespace
