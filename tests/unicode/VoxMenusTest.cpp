// Wide menus: hotkeys and shortcut texts, the wide text of native menus read
// back with GetMenuStringW, owner-drawn wide captions measured and drawn in
// the menu font, stored forms, and a real click on a wide menu bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxActnList.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxMenusPrivate.h"

using controls_test::TDib;

namespace {

// U+4E2D U+6587: its ANSI form (code page 1252) is "??".
const std::wstring kChinese = L"\u4E2D\u6587";
// Two Cyrillic captions that share their ANSI form "???".
const std::wstring kBeetle = L"\u0416\u0443\u043A";
const std::wstring kShield = L"\u0429\u0438\u0442";

// --- Hotkeys ---------------------------------------------------------------------------

TEST(VoxHotkeys, TheCharacterAfterTheLastSingleMarkIsTheHotkey) {
  struct Case {
    std::wstring caption, hotkey;
  } cases[] = {
      {L"&&", L""},           // only an escaped ampersand
      {L"a&&b", L""},
      {L"&a&b", L"b"},        // the last mark wins
      {L"&&&x", L"x"},
      {L"Save &As", L"A"},
      {L"\u0416&\u0443\u043A", L"\u0443"},
      {L"trailing&", L""},
      {L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.caption));
    EXPECT_EQ(WideGetHotkey(c.caption), c.hotkey);
  }
}

TEST(VoxHotkeys, StrippingRemovesEveryMarkAndOnFarEastSystemsTheParenthesisedForm) {
  struct Case {
    std::wstring caption;
    bool farEast;
    std::wstring stripped;
  } cases[] = {
      {L"&File", false, L"File"},
      {L"Fish && &Chips", false, L"Fish & Chips"},
      {L"&&&&", false, L"&&"},
      {L"\u30D5\u30A1\u30A4\u30EB(&F)", true, L"\u30D5\u30A1\u30A4\u30EB"},
      {L"\u30D5\u30A1\u30A4\u30EB(&F)", false, L"\u30D5\u30A1\u30A4\u30EB(F)"},
      {L"(&F", true, L"(F"},  // no closing parenthesis: a plain mark
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.caption));
    TRestore<bool> farEast(SysLocale.FarEast, c.farEast);
    EXPECT_EQ(WideStripHotkey(c.caption), c.stripped);
  }
  EXPECT_TRUE(WideSameCaption(L"&\u0416\u0443\u043A", L"\u0436\u0423&\u043A")) << "marks and case ignored";
  EXPECT_FALSE(WideSameCaption(kBeetle, kShield));
}

TEST(VoxHotkeys, AKeyIsTheAcceleratorOfACaptionWhoseHotkeyIsItsCharacter) {
  struct Case {
    uint16_t charCode;
    std::wstring caption;
    bool accel;
  } cases[] = {
      {'s', L"&Save", true},           // case ignored
      {'S', L"Sa&ve", false},
      {0x0436, L"&\u0416\u0443\u043A", true},  // a UTF-16 unit, case ignored
      {0x0416, L"\u0416&\u0443\u043A", false},
      {'&', L"a&&b", false},           // no hotkey at all
      {'b', L"&a&b", true},            // the last mark
      {0, L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.charCode << " " << WideToAnsi(c.caption));
    EXPECT_EQ(IsWideCharAccel(c.charCode, c.caption), c.accel);
  }
  // A code up to 255 is the key's ANSI character, read in the keyboard's code page.
  const wchar_t high = KeyUnicode(static_cast<char>(0xC9));
  EXPECT_TRUE(IsWideCharAccel(0xC9, L"&" + std::wstring(1, high) + L"t\u00E9"));
  EXPECT_FALSE(IsWideCharAccel(0xC9, L"&Et\u00E9"));
}

// --- Shortcuts -----------------------------------------------------------------------------

TEST(VoxShortCuts, EveryTextConvertsBackToAShortCutOfTheSameText) {
  // Key names depend on the keyboard the system detects: the texts are
  // checked by round trip, not by name.
  const TShortCut modifiers[] = {0, scShift, scCtrl, scAlt, scShift | scCtrl | scAlt};
  int named = 0;
  for (TShortCut key = 8; key <= 255; ++key) {
    for (TShortCut modifier : modifiers) {
      TShortCut shortCut = key | modifier;
      std::wstring text = WideShortCutToText(shortCut);
      if (text.empty()) continue;
      ++named;
      SCOPED_TRACE(testing::Message() << "shortcut " << shortCut << " " << WideToAnsi(text));
      TShortCut back = WideTextToShortCut(text);
      EXPECT_EQ(back & (scShift | scCtrl | scAlt), modifier);
      EXPECT_TRUE(WideSameText(WideShortCutToText(back), text));
    }
  }
  EXPECT_GT(named, 5 * 80) << "the keyboard names most keys";
  // "^" is another way to write "Ctrl+".
  std::wstring name = WideShortCutToText('K');
  EXPECT_EQ(WideTextToShortCut(L"^" + name), scCtrl | 'K');
  EXPECT_EQ(WideTextToShortCut(L"Shift+^" + name), scShift | scCtrl | 'K');
}

TEST(VoxShortCuts, LettersAreTheKeyboardsCharactersAndFixedNamesTheClassLibrarys) {
  wchar_t a = static_cast<wchar_t>(MapVirtualKeyW('A', MAPVK_VK_TO_CHAR));
  EXPECT_EQ(WideShortCutToText(scCtrl | 'A'), std::wstring(L"Ctrl+") + a);
  for (TShortCut shortCut : {TShortCut(scCtrl | VK_F5), TShortCut(scShift | VK_DELETE), TShortCut(VK_RETURN)}) {
    SCOPED_TRACE(shortCut);
    EXPECT_EQ(WideShortCutToText(shortCut), AnsiToWide(ShortCutToText(shortCut)));
  }
  // Where the wide API is missing, every key has the class library's text.
  TAnsiRoute ansi;
  EXPECT_EQ(WideShortCutToText(scAlt | 'Q'), AnsiToWide(ShortCutToText(scAlt | 'Q')));
}

TEST(VoxShortCuts, TextsThatNameNoKeyGiveZero) {
  for (const wchar_t* text : {L"", L"Ctrl+", L"Shift+Alt+", L"no such key", L"Ctrl+no such key",
                              L"ctrl+F5" /* the prefixes count their case */}) {
    SCOPED_TRACE(WideToAnsi(text));
    EXPECT_EQ(WideTextToShortCut(text), 0);
  }
}

TEST(VoxShortCuts, NoTextNamesAKeyCodeBeyondTheVirtualKeys) {
  // Codes above 255 are no keys, yet a keyboard driver may map them by their
  // low byte and so name them ("BackSpace" for 0x108, where the key 8 reads
  // "BkSp"): such a name must never come back as a code above 255.
  auto& map = Seams().MapVirtualKeyW;
  TSeamOverride<std::decay_t<decltype(map)>> lowByte(
      map, [real = map](UINT code, UINT mapType) { return real(code & 0xFF, mapType); });
  int named = 0;
  for (TShortCut code = 256; code <= 597; ++code) {
    std::wstring text = WideShortCutToText(code);
    if (text.empty()) continue;
    ++named;
    SCOPED_TRACE(testing::Message() << code << " " << WideToAnsi(text));
    EXPECT_LE(WideTextToShortCut(text) & ~(scShift | scCtrl | scAlt), 255);
  }
  EXPECT_GT(named, 0) << "the keyboard names some of them";
}

TEST(VoxShortCuts, AKeyMessageGivesItsKeyWithTheShiftStateOfItsKeyData) {
  TMessage m{};
  m.Msg = WM_SYSKEYDOWN;
  m.WParam = 'S';
  m.LParam = 0x20000000;  // the Alt bit
  EXPECT_EQ(MessageToShortCut(m), scAlt | 'S');
  m.LParam = 0;
  EXPECT_EQ(MessageToShortCut(m), 'S');
}

// --- Native menu strings ----------------------------------------------------------------------

std::wstring NativeText(TMenu* menu, TMenuItem* item) {
  HMENU handle = menu->GetHandle();
  int n = GetMenuStringW(handle, item->GetCommand(), nullptr, 0, MF_BYCOMMAND);
  std::wstring text(static_cast<size_t>(std::max(n, 0)) + 1, L'\0');
  int got = GetMenuStringW(handle, item->GetCommand(), text.data(), n + 1, MF_BYCOMMAND);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

class VoxMenuStrings : public testing::Test {
 protected:
  void SetUp() override {
    popup.reset(New<TVoxPopupMenu>(nullptr));
    open = WideNewItem(kChinese, scCtrl | 'O', false, true, TNotifyEvent(), 0, "Open1");
    save = WideNewItem(L"&Save", scCtrl | VK_F5, false, true, TNotifyEvent(), 0, "Save1");
    line = New<TVoxMenuItem>(nullptr);
    line->SetCaption(L"-");
    recent = WideNewSubMenu(kBeetle, 0, "Recent1", {WideNewItem(L"one", 0, false, true, TNotifyEvent(), 0, "")});
    recent->SetShortCut(scCtrl | 'R');
    popup->GetItems()->Add({open, save, line, recent});
  }
  std::wstring Native(TMenuItem* item) { return NativeText(popup.get(), item); }
  static std::wstring Tab(TShortCut shortCut) {
    return shortCut ? L"\t" + WideShortCutToText(shortCut) : std::wstring();
  }

  Owned<TVoxPopupMenu> popup;
  TVoxMenuItem* open = nullptr;
  TVoxMenuItem* save = nullptr;
  TVoxMenuItem* line = nullptr;
  TVoxMenuItem* recent = nullptr;
};

TEST_F(VoxMenuStrings, NativeItemsShowTheWideCaptionAndShortCutOfItemsWithoutSubItems) {
  EXPECT_EQ(Native(open), kChinese + Tab(scCtrl | 'O'));
  EXPECT_EQ(Native(save), L"&Save" + Tab(scCtrl | VK_F5));
  EXPECT_EQ(Native(recent), kBeetle) << "an item with sub-items shows no shortcut";
  EXPECT_EQ(Native(line), L"") << "a separator has no text";
  EXPECT_EQ(open->TMenuItem::GetCaption(), "??") << "the class library sees the ANSI form";
}

TEST_F(VoxMenuStrings, EveryCaptionChangeReachesTheNativeItemAndItsSiblingsKeepTheirs) {
  struct Step {
    const char* name;
    std::function<void()> change;
    std::wstring openText;
  } steps[] = {
      {"a wide caption", [&] { open->SetCaption(kBeetle); }, kBeetle},
      {"another with the same ANSI form", [&] { open->SetCaption(kShield); }, kShield},
      {"an ANSI caption wins", [&] { open->TMenuItem::SetCaption("plain"); }, L"plain"},
      {"wide again", [&] { open->SetCaption(kChinese); }, kChinese},
      {"a new shortcut", [&] { open->SetShortCut(scAlt | VK_F5); }, kChinese},
      {"hidden and shown", [&] { open->SetVisible(false); open->SetVisible(true); }, kChinese},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.change();
    EXPECT_EQ(open->GetCaption(), s.openText);
    EXPECT_EQ(Native(open), s.openText + Tab(open->GetShortCut()));
    // The change rebuilt the parent's native menu from ANSI captions.
    EXPECT_EQ(Native(recent), kBeetle);
  }
}

TEST_F(VoxMenuStrings, WithoutTheWideApiTheNativeItemShowsTheAnsiForm) {
  TAnsiRoute ansi;
  open->SetCaption(kShield);
  EXPECT_EQ(open->GetCaption(), kShield) << "the item keeps its wide caption";
  EXPECT_EQ(Native(open), L"???" + AnsiToWide("\t" + ShortCutToText(scCtrl | 'O')));
}

TEST_F(VoxMenuStrings, FindComparesWideCaptionsWithoutMarksOrCase) {
  EXPECT_EQ(popup->GetItems()->Find("save"), save) << "the class library's ANSI find";
  auto* wide = WideNewSubMenu(L"&Root", 0, "", {WideNewItem(L"&\u0416\u0443\u043A", 0, false, true, TNotifyEvent(), 0, "A"),
                                                WideNewItem(kShield, 0, false, true, TNotifyEvent(), 0, "B")});
  Owned<TVoxMenuItem> owner(wide);
  EXPECT_EQ(wide->Find(L"\u0436\u0423\u041A"), wide->GetItem(0));
  EXPECT_EQ(wide->Find(L"&" + kShield), wide->GetItem(1));
  EXPECT_EQ(wide->Find(L"???"), nullptr) << "the ANSI form names no item";
}

TEST(VoxMainMenuStrings, ItemsOnTheBarNeverShowTheirShortCut) {
  Owned<TVoxMainMenu> menu(New<TVoxMainMenu>(nullptr));
  auto* bar = WideNewItem(kChinese, scCtrl | 'B', false, true, TNotifyEvent(), 0, "Bar1");
  auto* sub = WideNewItem(kBeetle, scCtrl | 'S', false, true, TNotifyEvent(), 0, "Sub1");
  menu->GetItems()->Add({bar, WideNewSubMenu(L"&File", 0, "File1", {sub})});
  EXPECT_EQ(NativeText(menu.get(), bar), kChinese);
  EXPECT_EQ(NativeText(menu.get(), sub), kBeetle + L"\t" + WideShortCutToText(scCtrl | 'S'));
}

TEST(VoxMainMenuStrings, OwnerDrawnBarItemsWithoutDrawingOfTheirOwnBecomeWideTextItems) {
  Owned<TVoxMainMenu> menu(New<TVoxMainMenu>(nullptr));
  menu->SetOwnerDraw(true);
  auto* plain = WideNewSubMenu(kChinese, 0, "Plain1", {WideNewItem(kBeetle, 0, false, true, TNotifyEvent(), 0, "")});
  auto* drawn = WideNewItem(kShield, 0, false, true, TNotifyEvent(), 0, "Drawn1");
  struct TPainter {
    void Draw(TObject*, TCanvas*, TRect, bool) {}
  } painter;
  drawn->SetOnDrawItem(TMenuDrawItemEvent(&painter, &TPainter::Draw));
  menu->GetItems()->Add({plain, drawn});
  auto type = [&](TMenuItem* item) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu->GetHandle(), item->GetCommand(), FALSE, &info);
    return info.fType;
  };
  ASSERT_TRUE(type(plain) & MFT_OWNERDRAW);
  NoOwnerDrawTopLevelItems(menu.get());
  EXPECT_FALSE(type(plain) & MFT_OWNERDRAW);
  EXPECT_EQ(NativeText(menu.get(), plain), kChinese);
  EXPECT_TRUE(type(drawn) & MFT_OWNERDRAW) << "it draws itself";
  EXPECT_TRUE(type(plain->GetItem(0)) & MFT_OWNERDRAW) << "only the bar's items change";
}

TEST(VoxMenuHints, TheWideHintKeepsInStepWithTheAnsiHint) {
  Owned<TVoxMenuItem> item(New<TVoxMenuItem>(nullptr));
  item->SetHint(kChinese + L"|" + kBeetle);
  EXPECT_EQ(WideGetMenuItemHint(item.get()), kChinese + L"|" + kBeetle);
  EXPECT_EQ(item->TMenuItem::GetHint(), "??|???");
  item->TMenuItem::SetHint("ansi");
  EXPECT_EQ(item->GetHint(), L"ansi");
  Owned<TMenuItem> plain(New<TMenuItem>(nullptr));
  plain->SetHint("plain|long");
  EXPECT_EQ(WideGetMenuItemHint(plain.get()), L"plain|long");
}

TEST_F(VoxMenuStrings, TheItemSelectedInAWidePopupGivesTheApplicationItsWideLongHint) {
  ASSERT_NE(VoxApplication, nullptr);
  open->SetHint(kShield + L"|" + kChinese);
  recent->SetHint(L"short|" + kBeetle);
  HMENU native = popup->GetHandle();
  struct Case {
    const char* what;
    WPARAM wParam;
    HMENU menu;
    std::wstring hint;
  } cases[] = {
      {"item", MAKEWPARAM(open->GetCommand(), MF_HILITE), native, kChinese},
      {"sub-menu by position", MAKEWPARAM(3, MF_POPUP | MF_HILITE), native, kBeetle},
      {"an item of no listed menu", MAKEWPARAM(0xFFF0, MF_HILITE), native, L""},
      {"closed", MAKEWPARAM(0, 0xFFFF), nullptr, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VoxApplication->SetHint(L"before");
    SendMessageW(VoxPopupList->GetWindow(), WM_MENUSELECT, c.wParam, reinterpret_cast<LPARAM>(c.menu));
    EXPECT_EQ(VoxApplication->GetHint(), c.hint);
  }
}

// --- Actions -------------------------------------------------------------------------------------

TEST_F(VoxMenuStrings, AWideActionsCaptionAndHintReachTheItemAndItsNativeText) {
  Owned<TVoxAction> action(New<TVoxAction>(nullptr));
  action->SetCaption(kShield);
  action->SetHint(kChinese + L"|" + kBeetle);
  save->SetAction(action.get());
  EXPECT_TRUE(dynamic_cast<TVoxMenuActionLink*>(save->GetActionLink()));
  EXPECT_EQ(save->GetCaption(), kShield);
  EXPECT_EQ(save->GetHint(), kChinese + L"|" + kBeetle);
  EXPECT_EQ(Native(save), kShield + Tab(save->GetShortCut()));
  EXPECT_FALSE(save->IsCaptionStored()) << "the action supplies it";

  // A new caption with the same ANSI form still reaches the item.
  action->SetCaption(kBeetle);
  EXPECT_EQ(save->GetCaption(), kBeetle);
  EXPECT_EQ(Native(save), kBeetle + Tab(save->GetShortCut()));
  // Once the item has a caption of its own, the action's no longer reaches it.
  save->SetCaption(L"own");
  EXPECT_TRUE(save->IsCaptionStored());
  action->SetCaption(kChinese);
  EXPECT_EQ(save->GetCaption(), L"own");
}

TEST_F(VoxMenuStrings, AnItemWithACaptionKeepsItWhenTheActionComesFromAStoredForm) {
  Owned<TVoxAction> action(New<TVoxAction>(nullptr));
  action->SetCaption(kShield);
  action->SetHint(kChinese);
  // ActionChange with CheckDefaults, as for an action read from a stored form.
  open->ActionChange(action.get(), true);
  EXPECT_EQ(open->GetCaption(), kChinese) << "its own caption stays";
  EXPECT_EQ(open->GetHint(), kChinese) << "the empty hint takes the action's";
  open->ActionChange(action.get(), false);
  EXPECT_EQ(open->GetCaption(), kShield);
}

// --- Stored forms ------------------------------------------------------------------------------

class TVoxMenuForm : public TComponent {
  DECLARE_CLASS(TVoxMenuForm, TComponent)
  using TComponent::TComponent;

  TVoxMainMenu* MainMenu1 = nullptr;
  TVoxMenuItem* File1 = nullptr;
  TVoxMenuItem* Open1 = nullptr;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    if (root != this) return;
    for (int i = 0; i < GetComponentCount(); ++i)
      if (!GetComponent(i)->HasParent()) proc(GetComponent(i));
  }
};
PUBLISHED(TVoxMenuForm) {
  p.Field("MainMenu1", &TVoxMenuForm::MainMenu1);
  p.Field("File1", &TVoxMenuForm::File1);
  p.Field("Open1", &TVoxMenuForm::Open1);
}

TEST(VoxMenuStoredForm, WideCaptionsAndHintsComeBackIntoTheNativeMenu) {
  RegisterClass(TVoxMenuForm::StaticClass());
  std::string text;
  {
    Owned<TVoxMenuForm> form(New<TVoxMenuForm>(nullptr));
    form->SetName("MenuForm");
    auto* menu = New<TVoxMainMenu>(form.get());
    menu->SetName("MainMenu1");
    auto* file = New<TVoxMenuItem>(form.get());
    file->SetName("File1");
    file->SetCaption(L"&" + kBeetle);
    auto* open = New<TVoxMenuItem>(form.get());
    open->SetName("Open1");
    open->SetCaption(kChinese);
    open->SetHint(kShield);
    open->SetShortCut(scCtrl | 'O');
    file->Add(open);
    menu->GetItems()->Add(file);
    text = WriteForm(form.get());
  }
  Owned<TVoxMenuForm> read(New<TVoxMenuForm>(nullptr));
  ReadForm(text, read.get());
  ASSERT_NE(read->Open1, nullptr) << text;
  EXPECT_EQ(read->File1->GetCaption(), L"&" + kBeetle) << text;
  EXPECT_EQ(read->Open1->GetCaption(), kChinese);
  EXPECT_EQ(read->Open1->GetHint(), kShield);
  EXPECT_EQ(NativeText(read->MainMenu1, read->File1), L"&" + kBeetle);
  EXPECT_EQ(NativeText(read->MainMenu1, read->Open1), kChinese + L"\t" + WideShortCutToText(scCtrl | 'O'));
}

// --- Owner drawing -------------------------------------------------------------------------------

// The columns of a band of rows that hold any pixel other than background.
struct TInk {
  int left = -1, right = -1;
};
TInk InkColumns(const TDib& dib, int width, int top, int bottom, COLORREF background, int fromX = 0) {
  TInk ink;
  for (int x = fromX; x < width; ++x)
    for (int y = top; y < bottom; ++y)
      if (dib.Pixel(x, y) != background) {
        if (ink.left < 0) ink.left = x;
        ink.right = x;
        break;
      }
  return ink;
}

class VoxMenuOwnerDraw : public testing::Test {
 protected:
  void SetUp() override {
    popup.reset(New<TVoxPopupMenu>(nullptr));
    popup->SetOwnerDraw(true);
    wide = WideNewItem(kCaption, 0, false, true, TNotifyEvent(), 0, "Wide1");
    popup->GetItems()->Add(wide);
  }
  TSize TextSize(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont()->GetHandle());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return TSize{size.cx, size.cy};
  }
  LRESULT SendToList(UINT msg, void* data) {
    return SendMessageW(VoxPopupList->GetWindow(), msg, 0, reinterpret_cast<LPARAM>(data));
  }
  // The wide item drawn into dib at (0, 0) in the state (ODS_ flags).
  LRESULT Draw(const TDib& dib, UINT state, int width, int height) {
    DRAWITEMSTRUCT ds{};
    ds.CtlType = ODT_MENU;
    ds.itemID = wide->GetCommand();
    ds.itemState = state;
    ds.hDC = dib.DC();
    ds.rcItem = RECT{0, 0, width, height};
    return SendToList(WM_DRAWITEM, &ds);
  }
  MEASUREITEMSTRUCT Measure(TMenuItem* item) {
    MEASUREITEMSTRUCT ms{};
    ms.CtlType = ODT_MENU;
    ms.itemID = item->GetCommand();
    ms.itemHeight = 18;
    EXPECT_EQ(SendToList(WM_MEASUREITEM, &ms), TRUE);
    return ms;
  }

  // Six wide Cyrillic letters: far wider than their ANSI form "??????".
  const std::wstring kCaption = L"\u0416\u0416\u0416\u0416\u0416\u0416";
  Owned<TVoxPopupMenu> popup;
  TVoxMenuItem* wide = nullptr;
};

TEST_F(VoxMenuOwnerDraw, TheItemIsMeasuredWithItsWideCaptionAndShortCut) {
  int wideWidth = TextSize(kCaption).cx, ansiWidth = TextSize(L"??????").cx;
  ASSERT_GT(std::abs(wideWidth - ansiWidth), 10) << "the fonts must tell the two apart";
  // The same item with only the ANSI caption, measured by the class library.
  Owned<TPopupMenu> ansiMenu(New<TPopupMenu>(nullptr));
  ansiMenu->SetOwnerDraw(true);
  TMenuItem* ansi = NewItem("??????", 0, false, true, TNotifyEvent(), 0, "");
  ansiMenu->GetItems()->Add(ansi);
  MEASUREITEMSTRUCT ansiSize{};
  ansiSize.CtlType = ODT_MENU;
  ansiSize.itemID = ansi->GetCommand();
  ansiSize.itemHeight = 18;
  ASSERT_EQ(SendMessageW(PopupList()->GetWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ansiSize)), TRUE);

  MEASUREITEMSTRUCT wideSize = Measure(wide);
  EXPECT_EQ(static_cast<int>(wideSize.itemWidth) - static_cast<int>(ansiSize.itemWidth), wideWidth - ansiWidth);
  EXPECT_EQ(wideSize.itemHeight, ansiSize.itemHeight);

  // The event hears the wide size.
  struct TLog {
    int width = 0;
    void Measured(TObject*, TCanvas*, int& width, int&) { this->width = width; }
  } log;
  wide->SetOnMeasureItem(TMenuMeasureItemEvent(&log, &TLog::Measured));
  Measure(wide);
  EXPECT_EQ(log.width, static_cast<int>(wideSize.itemWidth));
}

TEST_F(VoxMenuOwnerDraw, TheWideCaptionAndShortCutAreDrawnInTheMenuFont) {
  const int width = 260, height = 22;
  struct Case {
    const char* name;
    UINT state;
    TColor background;
  } cases[] = {{"normal", 0, clMenu}, {"selected", ODS_SELECTED, clHighlight}};
  wide->SetShortCut(scCtrl | VK_F5);
  std::wstring shortCutText = WideShortCutToText(scCtrl | VK_F5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    COLORREF background = static_cast<COLORREF>(ColorToRGB(c.background));
    TDib dib(width, height, RGB(1, 2, 3));
    ASSERT_EQ(Draw(dib, c.state, width, height), TRUE);
    EXPECT_EQ(dib.Pixel(width - 2, 1), background);
    // The caption: from the text column (6 pixels in) over the wide width.
    TInk caption = InkColumns(dib, width / 2, 0, height, background);
    int captionWidth = TextSize(kCaption).cx;
    EXPECT_NEAR(caption.left, 6, 2);
    EXPECT_NEAR(caption.right, 6 + captionWidth, 3);
    // The shortcut: right-aligned 11 pixels before the item's right edge.
    TInk shortCut = InkColumns(dib, width, 0, height, background, 6 + captionWidth + 4);
    EXPECT_LE(shortCut.right, width - 11);
    EXPECT_GE(shortCut.right, width - 11 - 5) << "no more than a glyph's bearing short of it";
    EXPECT_NEAR(shortCut.right - shortCut.left, TextSize(shortCutText).cx, 4);
  }
}

TEST_F(VoxMenuOwnerDraw, ADisabledItemIsEmbossedUnlessSelected) {
  const int width = 260, height = 22;
  const COLORREF light = static_cast<COLORREF>(ColorToRGB(clBtnHighlight));
  const COLORREF shadow = static_cast<COLORREF>(ColorToRGB(clBtnShadow));
  // Drawn as the menu draws it, on a background of the test's own (the
  // menu's may be the highlight colour itself).
  const COLORREF back = RGB(40, 90, 40);
  ASSERT_NE(static_cast<COLORREF>(ColorToRGB(clHighlight)), shadow) << "selected, the text stays in the shadow";
  wide->SetEnabled(false);
  struct Case {
    const char* name;
    bool selected;
    bool copy;  // the highlight copy one pixel down and right
  } cases[] = {{"normal", false, true}, {"selected", true, false}};
  const int captionWidth = TextSize(kCaption).cx;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TDib dib(width, height, back);
    Owned<TCanvas> canvas = MakeOwned<TCanvas>();
    canvas->SetHandle(dib.DC());
    canvas->SetFont(MenuFont());
    canvas->GetFont()->SetColor(clMenuText);
    canvas->GetBrush()->SetColor(static_cast<TColor>(back));
    TOwnerDrawState state = c.selected ? TOwnerDrawState{odSelected} : TOwnerDrawState{};
    wide->AdvancedDrawItem(canvas.get(), TRect{0, 0, width, height}, state, false);
    canvas->SetHandle(nullptr);
    TRect all{0, 0, width, height};
    TRect ink = controls_test::ColourBox(dib, shadow, all);
    ASSERT_FALSE(IsRectEmpty(&ink)) << "the text is in the shadow colour";
    EXPECT_NEAR(ink.right - ink.left, captionWidth, 3) << "the wide caption, not its ANSI form";
    TRect copy = controls_test::ColourBox(dib, light, all);
    if (c.copy) {
      ASSERT_FALSE(IsRectEmpty(&copy));
      EXPECT_EQ(copy.right, ink.right + 1);
      EXPECT_EQ(copy.bottom, ink.bottom + 1);
    } else {
      EXPECT_TRUE(IsRectEmpty(&copy)) << "no highlight copy on a selected item";
    }
  }
}

// In a right-to-left menu (a Middle-East system) the caption ends at the
// item's right and the shortcut starts 10 pixels in from its left.
TEST_F(VoxMenuOwnerDraw, InARightToLeftMenuTheCaptionEndsRightAndTheShortCutStartsLeft) {
  const int width = 260, height = 22;
  TRestore<bool> middleEast(SysLocale.MiddleEast, true);
  popup->SetBiDiMode(bdRightToLeft);
  ASSERT_TRUE(popup->IsRightToLeft());
  wide->SetShortCut(scCtrl | VK_F5);
  const int captionWidth = TextSize(kCaption).cx;
  const int shortCutWidth = TextSize(WideShortCutToText(scCtrl | VK_F5)).cx;
  COLORREF background = static_cast<COLORREF>(ColorToRGB(clMenu));
  TDib dib(width, height, RGB(1, 2, 3));
  ASSERT_EQ(Draw(dib, 0, width, height), TRUE);
  TInk shortCut = InkColumns(dib, width / 2, 0, height, background);
  EXPECT_NEAR(shortCut.left, 12, 2);
  EXPECT_NEAR(shortCut.right - shortCut.left, shortCutWidth, 4);
  TInk caption = InkColumns(dib, width, 0, height, background, width / 2);
  EXPECT_NEAR(caption.right, width - 4, 3);
  EXPECT_NEAR(caption.right - caption.left, captionWidth, 4);
}

// --- A real click ----------------------------------------------------------------------------------

// A wide menu bar on a shown form, clicked with the real mouse: the bar's
// item opens its sub-menu inside the system's menu loop, and a click on the
// sub-menu's item runs OnClick.
class SerialVoxMenuBar : public testing::Test {
 public:
  void Spy(TMessage& m) {
    if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU) OnIdle();
    saved(m);
  }

 protected:
  void SetUp() override {
    form.reset(MakeForm());
    form->SetBounds(100, 100, 320, 200);
    open = WideNewItem(kChinese, 0, false, true, TNotifyEvent(this, &SerialVoxMenuBar::Clicked), 0, "Open1");
    file = WideNewSubMenu(L"&" + kBeetle, 0, "File1", {open});
    menu = New<TVoxMainMenu>(form.get());
    menu->GetItems()->Add(file);
    form->SetMenu(menu);
  }
  void TearDown() override {
    forms_test::LeftButton(false);
    forms_test::PumpApplication(2);
  }
  virtual TForm* MakeForm() { return New<TForm>(nullptr, 0); }
  void Clicked(TObject* sender) { clicks.push_back(sender); }
  void Click(POINT p) {
    forms_test::MoveMouseTo(p);
    forms_test::LeftButton(true);
    forms_test::LeftButton(false);
  }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  void OnIdle() {
    if (onIdle) {
      onIdle();
      return;
    }
    ++idles;
    RECT r{};
    if (idles == 1 && GetMenuItemRect(nullptr, file->GetHandle(), 0, &r)) {
      subMenuText = NativeText(menu, open);
      Click(Centre(r));
      return;
    }
    if (idles > 6) EndMenu();  // a click that missed ends the menu
  }

  forms_test::TFreshApplication app;
  Owned<TForm> form;
  TVoxMainMenu* menu = nullptr;
  TVoxMenuItem* file = nullptr;
  TVoxMenuItem* open = nullptr;
  TWndMethod saved;
  int idles = 0;
  std::wstring subMenuText;
  std::vector<TObject*> clicks;
  // What the menu loop's idle does instead of clicking the sub-menu's item.
  std::function<void()> onIdle;
  std::vector<std::wstring> hints;
};

TEST_F(SerialVoxMenuBar, AClickOnTheWideItemRunsItsOnClick) {
  saved = form->GetWindowProc();
  form->SetWindowProc(TWndMethod(this, &SerialVoxMenuBar::Spy));
  form->Show();
  SetForegroundWindow(form->GetHandle());
  forms_test::PumpApplication(3);
  EXPECT_EQ(NativeText(menu, file), L"&" + kBeetle);

  RECT r{};
  ASSERT_TRUE(GetMenuItemRect(form->GetHandle(), menu->GetHandle(), 0, &r));
  Click(Centre(r));
  forms_test::PumpApplication(5);
  EXPECT_GE(idles, 1);
  EXPECT_EQ(subMenuText, kChinese);
  EXPECT_EQ(clicks, std::vector<TObject*>{open});
  form->SetWindowProc(saved);
}

// A wide form hears the menu loop of its bar: each item the real mouse
// selects gives the application its wide long hint; the loop's end clears it.
class SerialVoxFormMenuBar : public SerialVoxMenuBar {
 protected:
  TForm* MakeForm() override { return New<TVoxForm>(nullptr, 0); }
};

TEST_F(SerialVoxFormMenuBar, TheSelectedItemsWideLongHintIsTheApplicationsHint) {
  ASSERT_NE(VoxApplication, nullptr);
  file->SetHint(L"short|" + kBeetle);
  open->SetHint(kShield + L"|" + kChinese);
  onIdle = [this] {
    hints.push_back(VoxApplication->GetHint());
    RECT r{};
    if (hints.size() == 1 && GetMenuItemRect(nullptr, file->GetHandle(), 0, &r)) forms_test::MoveMouseTo(Centre(r));
    else if (hints.back() == kChinese || hints.size() > 6) EndMenu();
  };
  saved = form->GetWindowProc();
  form->SetWindowProc(TWndMethod(this, &SerialVoxMenuBar::Spy));
  form->Show();
  SetForegroundWindow(form->GetHandle());
  forms_test::PumpApplication(3);
  VoxApplication->SetHint(L"before");

  RECT r{};
  ASSERT_TRUE(GetMenuItemRect(form->GetHandle(), menu->GetHandle(), 0, &r));
  Click(Centre(r));
  forms_test::PumpApplication(5);
  ASSERT_GE(hints.size(), 2u);
  EXPECT_EQ(hints.front(), kBeetle) << "the bar's item, named by its sub-menu";
  EXPECT_EQ(hints.back(), kChinese) << "the sub-menu's item, named by its command";
  EXPECT_EQ(Application->GetHint(), "") << "the loop ended";
  EXPECT_EQ(VoxApplication->GetHint(), L"");
  EXPECT_TRUE(clicks.empty());
  form->SetWindowProc(saved);
}

// A wide pop-up menu opened with Popup and worked with the real mouse: its
// messages come to the wide pop-up list's window, which gives the item the
// mouse selects its wide long hint; once the menu loop runs, and after it,
// the class library's list is in place again.
class SerialVoxPopupMenu : public testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(100, 100, 320, 200);
    popup = New<TVoxPopupMenu>(form.get());
    first = WideNewItem(kBeetle, 0, false, true, TNotifyEvent(), 0, "First1");
    second = WideNewItem(kShield, 0, false, true, TNotifyEvent(), 0, "Second1");
    second->SetHint(L"short|" + kChinese);
    popup->GetItems()->Add({first, second});
    popup->SetOnPopup(TNotifyEvent(this, &SerialVoxPopupMenu::Popped));
    form->Show();
    SetForegroundWindow(form->GetHandle());
    forms_test::PumpApplication(3);
    // The menu loop's idle moments reach the owner, the wide list's window.
    current = this;
    listWindow = VoxPopupList->GetWindow();
    savedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(listWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SerialVoxPopupMenu::ListProc)));
  }
  void TearDown() override {
    SetWindowLongPtrA(listWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc));
    current = nullptr;
    forms_test::PumpApplication(2);
  }
  static LRESULT CALLBACK ListProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && current) current->OnIdle();
    return CallWindowProcA(current ? current->savedProc : DefWindowProcA, w, msg, wParam, lParam);
  }
  void Popped(TObject*) { listWhilePopping = PopupList(); }
  void OnIdle() {
    if (++idles == 1) {
      listInLoop = PopupList();
      RECT r{};
      if (GetMenuItemRect(nullptr, popup->GetHandle(), 1, &r))
        forms_test::MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      return;
    }
    hints.push_back(VoxApplication->GetHint());
    if (hints.back() == kChinese || idles > 8) EndMenu();
  }

  static inline SerialVoxPopupMenu* current = nullptr;
  forms_test::TFreshApplication app;
  Owned<TForm> form;
  TVoxPopupMenu* popup = nullptr;
  TVoxMenuItem* first = nullptr;
  TVoxMenuItem* second = nullptr;
  HWND listWindow = nullptr;
  WNDPROC savedProc = nullptr;
  int idles = 0;
  TPopupList* listWhilePopping = nullptr;
  TPopupList* listInLoop = nullptr;
  std::vector<std::wstring> hints;
};

TEST_F(SerialVoxPopupMenu, TheItemTheMouseSelectsGivesItsWideLongHint) {
  ASSERT_NE(VoxApplication, nullptr);
  TPopupList* classLibrarys = PopupList();
  ASSERT_NE(classLibrarys, VoxPopupList);
  VoxApplication->SetHint(L"before");
  popup->Popup(form->GetLeft() + 40, form->GetTop() + 40);
  EXPECT_EQ(listWhilePopping, VoxPopupList) << "the menu opens on the wide list's window";
  EXPECT_EQ(listInLoop, classLibrarys) << "the loop began: the class library's list is back";
  EXPECT_EQ(PopupList(), classLibrarys);
  ASSERT_FALSE(hints.empty());
  EXPECT_EQ(hints.back(), kChinese);
  EXPECT_EQ(VoxApplication->GetHint(), L"") << "the menu closed";
}

// On a Middle-East system the first item of a wide form's menus is written
// again when the form's direction changes (every menu it owns) and when its
// window moves (its bar).
TEST(VoxFormMenus, TheFirstItemsAreWrittenAgainOnAMiddleEastSystem) {
  struct Case {
    const char* what;
    bool middleEast;
    std::function<void(TVoxForm*)> change;
    bool bar, popup;
  } cases[] = {
      {"direction", true, [](TVoxForm* f) { f->SetBiDiMode(bdRightToLeft); }, true, true},
      {"moved", true, [](TVoxForm* f) { f->SetBounds(40, 50, 300, 200); }, true, false},
      {"direction elsewhere", false, [](TVoxForm* f) { f->SetBiDiMode(bdRightToLeft); }, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Owned<TVoxForm> form(New<TVoxForm>(nullptr, 0));
    form->SetBounds(10, 10, 300, 200);
    auto* bar = New<TVoxMainMenu>(form.get());
    TVoxMenuItem* barFirst = WideNewItem(kBeetle, 0, false, true, TNotifyEvent(), 0, "");
    bar->GetItems()->Add(barFirst);
    form->SetMenu(bar);
    auto* popup = New<TVoxPopupMenu>(form.get());
    TVoxMenuItem* popupFirst = WideNewItem(kShield, 0, false, true, TNotifyEvent(), 0, "");
    popup->GetItems()->Add(popupFirst);
    form->HandleNeeded();
    // Native texts the system lost, as it may in right-to-left menus.
    auto scramble = [](TMenu* m, TMenuItem* item) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_TYPE;
      info.fType = MFT_STRING;
      wchar_t text[] = L"lost";
      info.dwTypeData = text;
      ASSERT_TRUE(SetMenuItemInfoW(m->GetHandle(), item->GetCommand(), FALSE, &info));
    };
    scramble(bar, barFirst);
    scramble(popup, popupFirst);
    TRestore<bool> middleEast(SysLocale.MiddleEast, c.middleEast);
    c.change(form.get());
    EXPECT_EQ(NativeText(bar, barFirst), c.bar ? kBeetle : L"lost");
    EXPECT_EQ(NativeText(popup, popupFirst), c.popup ? kShield : L"lost");
  }
}

}  // namespace
