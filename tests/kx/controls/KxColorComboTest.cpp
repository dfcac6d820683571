// The colour combo box: its tables and their names, the selected colour and
// the custom one, renaming, the custom colours' text, the swatches it draws
// and what survives a new window; the colour dialog under a shown form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/IniFiles.h"
#include "classlib/SysUtils.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/controls/KxComboTestSupport.h"

using namespace kxc_test;

namespace {

class KxColorComboTest : public ::testing::Test {
 protected:
  TKxColorComboBox* MakeCombo() {
    auto* combo = host.Add<TKxColorComboBox>(10, 10, 200, 24);
    combo->HandleNeeded();
    return combo;
  }
  // The item drawn as the system asks for it (reflected WM_DRAWITEM).
  static void DrawItem(TKxCustomComboBox* combo, int index, const TDib& dib, UINT itemState, int width = 200) {
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_COMBOBOX;
    d.itemID = static_cast<UINT>(index);
    d.itemAction = ODA_DRAWENTIRE;
    d.itemState = itemState;
    d.hwndItem = combo->GetHandle();
    d.hDC = dib.DC();
    d.rcItem = RECT{0, 0, width, 18};
    combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
  }
  TControlHost host;
};

TEST_F(KxColorComboTest, AllTablesGiveFortyThreeItemsInOrder) {
  auto* combo = MakeCombo();
  TStrings* items = combo->GetItems();
  ASSERT_EQ(items->GetCount(), 43);
  EXPECT_EQ(items->Get(0), "Default");
  EXPECT_EQ(combo->GetColorFromItem(0), combo->GetDefaultColor());
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(items->Get(1 + i), StdColorItems[i].Name);
    EXPECT_EQ(combo->GetColorFromItem(1 + i), StdColorItems[i].Color);
  }
  for (int i = 0; i < 25; ++i) {
    EXPECT_EQ(items->Get(17 + i), SysColorItems[i].Name);
    EXPECT_EQ(combo->GetColorFromItem(17 + i), static_cast<TColor>(0x80000000u + static_cast<unsigned>(i)));
  }
  EXPECT_EQ(items->Get(42), "Custom");
  EXPECT_EQ(combo->GetItemIndex(), 0) << "the first window selects item 0";
  EXPECT_EQ(StdColorItems[9].Name, std::string("Red"));
  EXPECT_EQ(StdColorItems[9].Color, TColor(0x0000FF));
}

struct TShowCase {
  bool Default, Sys, Custom;
  int Count;
  const char* First;
  const char* Last;
};

class KxColorComboShowTest : public KxColorComboTest, public ::testing::WithParamInterface<TShowCase> {};

TEST_P(KxColorComboShowTest, TheShownTablesMakeTheList) {
  const TShowCase& c = GetParam();
  auto* combo = MakeCombo();
  combo->SetShowDefaultColor(c.Default);
  combo->SetShowSysColors(c.Sys);
  combo->SetShowCustomColor(c.Custom);
  combo->HandleNeeded();
  EXPECT_EQ(combo->GetItems()->GetCount(), c.Count);
  EXPECT_EQ(combo->GetItems()->Get(0), c.First);
  EXPECT_EQ(combo->GetItems()->Get(c.Count - 1), c.Last);
  EXPECT_EQ(combo->GetColorNames()->ShowDefaultColor, c.Default);
  EXPECT_EQ(combo->GetColorNames()->ShowSysColors, c.Sys);
  EXPECT_EQ(combo->GetColorNames()->ShowCustomColor, c.Custom);
}

INSTANTIATE_TEST_SUITE_P(Tables, KxColorComboShowTest,
                         ::testing::Values(TShowCase{true, true, true, 43, "Default", "Custom"},
                                           TShowCase{false, true, true, 42, "Black", "Custom"},
                                           TShowCase{true, false, true, 18, "Default", "Custom"},
                                           TShowCase{true, true, false, 42, "Default", "InfoBk"},
                                           TShowCase{false, false, false, 16, "Black", "White"}));

TEST_F(KxColorComboTest, AnUnlistedColourIsTheCustomOneAndAListedOneIsSelected) {
  auto* combo = MakeCombo();
  TEventCounter changes;
  combo->SetOnChange(changes.Event());
  combo->SetSelectedColor(clTeal);
  EXPECT_EQ(combo->GetItemIndex(), 7);
  EXPECT_EQ(combo->GetSelectedColor(), clTeal);
  combo->SetSelectedColor(clBtnFace);
  EXPECT_EQ(combo->GetItemIndex(), 17 + 15);
  combo->SetSelectedColor(TColor(0x123456));
  EXPECT_EQ(combo->GetItemIndex(), 42);
  EXPECT_EQ(combo->GetCustomColor(), TColor(0x123456));
  EXPECT_EQ(combo->GetSelectedColor(), TColor(0x123456));
  EXPECT_EQ(changes.Count, 3);
  // Nothing selected reads the default colour.
  combo->SetDefaultColor(clMaroon);
  combo->SetItemIndex(-1);
  EXPECT_EQ(combo->GetSelectedColor(), clMaroon);
  // The default item carries the default colour, so it is found first.
  combo->SetSelectedColor(clMaroon);
  EXPECT_EQ(combo->GetItemIndex(), 0);
  // Without the custom item an unlisted colour selects nothing.
  combo->SetShowCustomColor(false);
  combo->HandleNeeded();
  combo->SetSelectedColor(TColor(0x654321));
  EXPECT_EQ(combo->GetItemIndex(), -1);
  EXPECT_EQ(combo->GetCustomColor(), TColor(0x654321));
}

TEST_F(KxColorComboTest, RenamingChangesTheItemThatShowsTheName) {
  auto* combo = MakeCombo();
  TKxColorNames* names = combo->GetColorNames();
  EXPECT_FALSE(combo->IsColorNamesStored());
  combo->SetItemIndex(5);
  names->SetStdColor(0, "Schwarz");
  EXPECT_EQ(combo->GetItems()->Get(1), "Schwarz");
  EXPECT_EQ(combo->GetItemIndex(), 5) << "the selection stays";
  EXPECT_TRUE(combo->IsColorNamesStored());
  names->SetSysColor(13, "Auswahl");
  EXPECT_EQ(combo->GetItems()->Get(17 + 13), "Auswahl");
  names->SetCustom("Eigene");
  EXPECT_EQ(combo->GetItems()->Get(42), "Eigene");
  names->SetDefault("Vorgabe");
  EXPECT_EQ(combo->GetItems()->Get(0), "Vorgabe");

  combo->SetShowDefaultColor(false);
  combo->HandleNeeded();
  EXPECT_EQ(combo->GetItems()->Get(0), "Schwarz") << "the names outlive the window";
  names->SetStdColor(0, "Noir");
  EXPECT_EQ(combo->GetItems()->Get(0), "Noir");
  combo->SetShowSysColors(false);
  combo->HandleNeeded();
  names->SetSysColor(0, "Leiste");
  EXPECT_EQ(combo->GetItems()->GetCount(), 17);
  EXPECT_EQ(combo->GetItems()->Get(16), "Eigene");
}

TEST_F(KxColorComboTest, AssigningNamesTakesOnlyWhatTheTargetShows) {
  Owned<TKxColorNames> source(New<TKxColorNames>());
  source->SetDefault("D");
  source->SetStdColor(3, "O");
  source->SetSysColor(0, "S");
  source->SetCustom("C");
  Owned<TKxColorNames> target(New<TKxColorNames>());
  target->ShowDefaultColor = false;
  target->ShowSysColors = false;
  target->Assign(source.get());
  EXPECT_EQ(target->GetStdColor(3), "O");
  EXPECT_EQ(target->GetDefault(), "Default");
  EXPECT_EQ(target->GetSysColor(0), "ScrollBar");
  EXPECT_EQ(target->GetCustom(), "C");
  Owned<TStringList> other(New<TStringList>());
  EXPECT_THROW(target->Assign(other.get()), EConvertError);
}

TEST_F(KxColorComboTest, CustomColoursBecomeSixHexDigitsAndGoThroughTheStore) {
  auto* combo = MakeCombo();
  Owned<TStringList> lines(New<TStringList>());
  lines->Add("ColorA=FFFFFF");
  lines->Add("ColorB=1234567");
  lines->Add("ColorC=ab");
  combo->SetCustomColors(lines.get());
  EXPECT_EQ(LinesOf(combo->GetCustomColors()),
            (std::vector<std::string>{"ColorA=FFFFFF", "ColorB=234567", "ColorC=0000AB"}));
  EXPECT_EQ(combo->GetCustomColorName(1), "ColorB");
  lines->Add("ColorD=nothex");
  EXPECT_THROW(combo->SetCustomColors(lines.get()), EConvertError);

  try {
    combo->LoadCustomColors("Colors");
    ADD_FAILURE() << "no store";
  } catch (const Exception& e) {
    EXPECT_EQ(e.GetMessage(), "Cannot load Custom Colors--No TKxRegIniFile component specified");
  }
  try {
    combo->SaveCustomColors("Colors");
    ADD_FAILURE() << "no store";
  } catch (const Exception& e) {
    EXPECT_EQ(e.GetMessage(), "Cannot save Custom Colors--No TKxRegIniFile component specified");
  }

  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "KxColors" + IntToStr(static_cast<int>(GetCurrentProcessId())) + ".ini";
  DeleteFileA(path.c_str());
  Owned<TKxRegIniFile> store(New<TKxRegIniFile>(nullptr));
  store->SetPath(path);
  combo->SetRegIniFile(store.get());
  lines->Delete(3);
  combo->SetCustomColors(lines.get());
  combo->SaveCustomColors("Colors");
  auto* reader = MakeCombo();
  reader->SetRegIniFile(store.get());
  {
    Owned<TIniFile> ini(New<TIniFile>(path));
    ini->WriteString("Colors", "ColorE", "1ffffff");
  }
  reader->LoadCustomColors("Colors");
  EXPECT_EQ(LinesOf(reader->GetCustomColors()),
            (std::vector<std::string>{"ColorA=FFFFFF", "ColorB=234567", "ColorC=0000AB", "ColorE=FFFFFF"}));
  combo->SetRegIniFile(nullptr);
  reader->SetRegIniFile(nullptr);
  DeleteFileA(path.c_str());
}

struct TSwatchCase {
  const char* Name;
  bool ShowNames;
  int Index;
  UINT State;
  int Left, Right;  // the swatch's outline, in the item
  COLORREF Outline;
};

void PrintTo(const TSwatchCase& c, std::ostream* os) { *os << c.Name; }

class KxColorSwatchTest : public KxColorComboTest, public ::testing::WithParamInterface<TSwatchCase> {};

TEST_P(KxColorSwatchTest, TheSwatchSitsWhereTheNamesLeaveRoom) {
  const TSwatchCase& c = GetParam();
  TThemesOff themesOff;
  auto* combo = MakeCombo();
  combo->SetShowColorNames(c.ShowNames);
  TDib dib(210, 18, RGB(1, 2, 3));
  DrawItem(combo, c.Index, dib, c.State);
  COLORREF fill = kx_test::Shown(combo->GetColorFromItem(c.Index));
  // The outline's corners and a pixel of the fill inside.
  EXPECT_EQ(dib.Pixel(c.Left, 2), c.Outline);
  EXPECT_EQ(dib.Pixel(c.Right - 1, 15), c.Outline);
  EXPECT_EQ(dib.Pixel(c.Left + 1, 8), fill);
  EXPECT_EQ(dib.Pixel(c.Right - 2, 8), fill);
  EXPECT_NE(dib.Pixel(c.Right, 8), fill);
}

INSTANTIATE_TEST_SUITE_P(
    Items, KxColorSwatchTest,
    ::testing::Values(
        // Item 10 is red (light: a grey outline), item 5 navy (dark: black).
        TSwatchCase{"namedList", true, 10, 0, 4, 20, RGB(128, 128, 128)},
        TSwatchCase{"namedEditPart", true, 10, ODS_COMBOBOXEDIT, 2, 18, RGB(128, 128, 128)},
        TSwatchCase{"namedDark", true, 5, 0, 4, 20, RGB(0, 0, 0)},
        TSwatchCase{"unnamed", false, 10, 0, 4, 200 - 2 + 2, RGB(128, 128, 128)},
        TSwatchCase{"unnamedCustom", false, 42, 0, 4, 200 - 2 + 2 - 20, RGB(0, 0, 0)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KxColorComboTest, TheCustomItemShowsThreeDotsAndTheNamesTheirText) {
  TThemesOff themesOff;
  auto* combo = MakeCombo();
  combo->SetShowColorNames(false);
  TDib dib(200, 18, RGB(1, 2, 3));
  DrawItem(combo, 42, dib, 0);
  COLORREF text = kx_test::Shown(clWindowText);
  for (int right : {16, 12, 8}) {
    SCOPED_TRACE(right);
    EXPECT_EQ(dib.Pixel(200 - right, 18 - 7), text);
    EXPECT_EQ(dib.Pixel(200 - right + 1, 18 - 5), text);
  }
  combo->SetShowColorNames(true);
  TDib named(200, 18, RGB(1, 2, 3));
  DrawItem(combo, 3, named, 0);
  TRect ink = ColourBox(named, text, TRect{24, 0, 200, 18});
  EXPECT_GE(ink.left, 24 + 2);
  combo->GetCanvas()->GetFont()->Assign(combo->GetFont());
  EXPECT_LE(ink.right, 24 + 2 + combo->GetCanvas()->TextWidth("Green") + 1);
}

TEST_F(KxColorComboTest, ANewWindowKeepsTheSelectionTheNamesAndTheColours) {
  auto* combo = MakeCombo();
  combo->SetSelectedColor(TColor(0x0A0B0C));
  combo->SetDefaultColor(clGreen);
  combo->GetColorNames()->SetStdColor(15, "Weiss");
  combo->GetFont()->SetSize(13);  // a new window
  combo->HandleNeeded();
  EXPECT_EQ(combo->GetItemIndex(), 42);
  EXPECT_EQ(combo->GetSelectedColor(), TColor(0x0A0B0C));
  EXPECT_EQ(combo->GetColorFromItem(0), clGreen);
  EXPECT_EQ(combo->GetItems()->Get(16), "Weiss");
  combo->SetFrameVisible(true);
  combo->HandleNeeded();
  EXPECT_EQ(combo->GetSelectedColor(), TColor(0x0A0B0C));
}

class TColorRoot : public TPanel {
  DECLARE_CLASS(TColorRoot, TPanel)
  using TPanel::TPanel;
  TKxColorComboBox* Colors = nullptr;
};
PUBLISHED(TColorRoot) { p.Field("Colors", &TColorRoot::Colors); }

TEST_F(KxColorComboTest, StoredNamesAndColoursComeBack) {
  if (!GetClass("TColorRoot")) RegisterClass(TColorRoot::StaticClass());
  Owned<TColorRoot> root(New<TColorRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Panel());
  auto* combo = New<TKxColorComboBox>(root.get());
  combo->SetName("Colors");
  combo->SetParent(root.get());
  auto write = [&] {
    Owned<TStringStream> out(New<TStringStream>());
    out->WriteComponent(root.get());
    return out->GetDataString();
  };
  EXPECT_EQ(write().find("ColorNames"), std::string::npos);
  combo->SetShowSysColors(false);
  combo->GetColorNames()->SetStdColor(2, "Gruen");
  combo->SetSelectedColor(TColor(0x00AA00));
  std::string text = write();
  SCOPED_TRACE(text);
  EXPECT_NE(text.find("ColorNames.Green = 'Gruen'"), std::string::npos);
  EXPECT_EQ(text.find("Items"), std::string::npos) << "the list is made, not stored";
  Owned<TColorRoot> copy(New<TColorRoot>(nullptr));
  copy->SetParent(host.Panel());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(copy.get());
  ASSERT_NE(copy->Colors, nullptr);
  EXPECT_EQ(copy->Colors->GetItems()->GetCount(), 18);
  EXPECT_EQ(copy->Colors->GetItems()->Get(3), "Gruen");
  EXPECT_EQ(copy->Colors->GetSelectedColor(), TColor(0x00AA00));
  EXPECT_EQ(copy->Colors->GetCustomColor(), TColor(0x00AA00));
}

// --- the colour dialog, for real ---------------------------------------------------------------

// The colour dialog answered as a user would: a hook of this thread sees it
// become active, reads the colour it shows, types the red, green and blue
// values into its edits and presses OK, or presses Cancel.
class TColorDialogScript {
 public:
  TColorDialogScript() {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, &TColorDialogScript::Hook, nullptr, GetCurrentThreadId());
  }
  ~TColorDialogScript() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  TColorDialogScript(const TColorDialogScript&) = delete;
  TColorDialogScript& operator=(const TColorDialogScript&) = delete;

  int Opened = 0;
  TColor Shown = clNone;
  bool Accept = true;
  int Red = 0, Green = 0, Blue = 0;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      HWND h = reinterpret_cast<HWND>(wParam);
      char cls[16] = {};
      GetClassNameA(h, cls, sizeof cls);
      if (std::string(cls) == "#32770") current_->Answer(h);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  void Answer(HWND h) {
    ++Opened;
    Shown = static_cast<TColor>(RGB(GetDlgItemInt(h, 706, nullptr, FALSE), GetDlgItemInt(h, 707, nullptr, FALSE),
                                    GetDlgItemInt(h, 708, nullptr, FALSE)));
    if (Accept) {
      SetDlgItemInt(h, 706, static_cast<UINT>(Red), FALSE);
      SetDlgItemInt(h, 707, static_cast<UINT>(Green), FALSE);
      SetDlgItemInt(h, 708, static_cast<UINT>(Blue), FALSE);
      PostMessageA(h, WM_COMMAND, IDOK, 0);
    } else {
      PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    }
  }

  static inline TColorDialogScript* current_ = nullptr;
  HHOOK hook_ = nullptr;
};

class SerialKxColorDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    combo = form.Add<TKxColorComboBox>(10, 10, 200, 24);
    form.Show();
  }
  // The list closes on an item as the system tells it: the selection ends
  // (accepted or cancelled), then the list closes up.
  void CloseOn(int index, bool accepted) {
    combo->SetItemIndex(index);
    HWND parent = combo->GetParent()->GetHandle();
    WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(combo->GetHandle()));
    LPARAM from = reinterpret_cast<LPARAM>(combo->GetHandle());
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, accepted ? CBN_SELENDOK : CBN_SELENDCANCEL), from);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), from);
  }
  TShownForm form;
  TKxColorComboBox* combo = nullptr;
  TColorDialogScript script;
};

TEST_F(SerialKxColorDialog, ChoosingCustomOpensTheDialogWithTheSelectedColour) {
  combo->SetCustomColor(TColor(0x102030));
  script.Red = 1;
  script.Green = 2;
  script.Blue = 3;
  CloseOn(42, true);
  EXPECT_EQ(script.Opened, 1);
  EXPECT_EQ(script.Shown, TColor(0x102030));
  EXPECT_EQ(combo->GetCustomColor(), TColor(RGB(1, 2, 3)));
  EXPECT_EQ(combo->GetSelectedColor(), TColor(RGB(1, 2, 3)));
  EXPECT_EQ(combo->GetCustomColors()->GetCount(), 16) << "the dialog's custom colours come back";
}

TEST_F(SerialKxColorDialog, CancellingKeepsTheCustomColourAndEscapeOpensNothing) {
  combo->SetCustomColor(TColor(0x102030));
  script.Accept = false;
  CloseOn(42, true);
  EXPECT_EQ(script.Opened, 1);
  EXPECT_EQ(combo->GetCustomColor(), TColor(0x102030));
  CloseOn(42, false);
  EXPECT_EQ(script.Opened, 1) << "a cancelled selection opens no dialog";
  CloseOn(3, true);
  EXPECT_EQ(script.Opened, 1) << "another item opens none either";
}

}  // namespace
