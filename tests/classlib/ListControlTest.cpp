// What every list control offers (AddItem, CopySelection) across list boxes
// and combo boxes; virtual list boxes answering from their events; the
// static text; the combo box's edit character step.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "classlib/StdCtrls.h"

using namespace controls_test;

namespace {

TObject* Data(intptr_t v) { return reinterpret_cast<TObject*>(v); }

class ListControlTest : public ::testing::Test {
 public:
  void SetUp() override {
    EnsureControlsUnit();
    parent = New<TPanel>(nullptr);
    parent->SetBounds(0, 0, 300, 250);
    parent->SetParentWindow(host.Handle());
  }
  void TearDown() override { parent->Free(); }
  template <class T>
  T* Add() {
    auto* c = New<T>(parent);
    c->SetParent(parent);
    return c;
  }
  static std::vector<std::string> Texts(TStrings* items) {
    std::vector<std::string> v;
    for (int i = 0; i < items->GetCount(); ++i) v.push_back(items->Get(i));
    return v;
  }
  THostWindow host;
  TPanel* parent = nullptr;
};

TEST_F(ListControlTest, CopySelectionAddsTheSelectedItemsWithTheirObjects) {
  struct Case {
    const char* name;
    std::function<TCustomListControl*(ListControlTest*)> source;
    std::vector<std::string> copied;
    std::vector<TObject*> objects;
  };
  auto filledList = [](ListControlTest* t, bool multi) {
    auto* list = t->Add<TListBox>();
    list->SetMultiSelect(multi);
    for (intptr_t i = 0; i < 4; ++i) list->AddItem("item " + std::to_string(i), Data(0x100 + i));
    return list;
  };
  const Case cases[] = {
      {"list box: the item index",
       [&](ListControlTest* t) {
         auto* l = filledList(t, false);
         l->SetItemIndex(2);
         return l;
       },
       {"item 2"},
       {Data(0x102)}},
      {"list box without a selection",
       [&](ListControlTest* t) { return filledList(t, false); }, {}, {}},
      {"multi-select list box: every selected item in order",
       [&](ListControlTest* t) {
         auto* l = filledList(t, true);
         l->SetSelected(3, true);
         l->SetSelected(1, true);
         return l;
       },
       {"item 1", "item 3"},
       {Data(0x101), Data(0x103)}},
      {"combo box: the item index",
       [](ListControlTest* t) {
         auto* c = t->Add<TComboBox>();
         c->AddItem("red", Data(7));
         c->AddItem("green", Data(8));
         c->SetItemIndex(1);
         return c;
       },
       {"green"},
       {Data(8)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCustomListControl* source = c.source(this);
    // Both kinds of destination, each with an item of its own first.
    auto* toList = Add<TListBox>();
    toList->AddItem("kept", nullptr);
    auto* toCombo = Add<TComboBox>();
    toCombo->AddItem("kept", nullptr);
    source->CopySelection(toList);
    source->CopySelection(toCombo);
    std::vector<std::string> expected{"kept"};
    expected.insert(expected.end(), c.copied.begin(), c.copied.end());
    EXPECT_EQ(Texts(toList->GetItems()), expected);
    EXPECT_EQ(Texts(toCombo->GetItems()), expected);
    for (size_t i = 0; i < c.objects.size(); ++i) {
      EXPECT_EQ(toList->GetItems()->GetObject(static_cast<int>(i) + 1), c.objects[i]);
      EXPECT_EQ(toCombo->GetItems()->GetObject(static_cast<int>(i) + 1), c.objects[i]);
    }
    source->CopySelection(nullptr);  // no destination: nothing happens
  }
}

// A virtual list box's data source: texts by index, objects, a finder.
struct TDataSource : TObject {
  std::vector<std::string> texts;
  int dataCalls = 0;
  std::vector<std::string> finds;
  void Data(TWinControl*, int index, std::string& data) {
    ++dataCalls;
    data = texts.at(static_cast<size_t>(index));
  }
  void DataObject(TWinControl*, int index, TObject*& object) { object = ::Data(0x500 + index); }
  int DataFind(TWinControl*, std::string findString) {
    finds.push_back(findString);
    for (size_t i = 0; i < texts.size(); ++i)
      if (texts[i].compare(0, findString.size(), findString) == 0) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(ListControlTest, VirtualListBoxAnswersTheWindowsTextRequestsFromOnData) {
  TDataSource source;
  source.texts = {"Amsterdam", "Berlin", "Cairo"};
  auto* list = Add<TListBox>();
  list->SetStyle(lbVirtual);
  HWND h = list->GetHandle();
  list->SetCount(3);
  EXPECT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 3);
  // Without OnData the window has no text to give.
  EXPECT_EQ(SendMessageA(h, LB_GETTEXTLEN, 1, 0), LB_ERR);
  list->OnData = TLBGetDataEvent(&source, &TDataSource::Data);
  struct Case {
    WPARAM index;
    LRESULT length;
    const char* text;
  };
  const Case cases[] = {{0, 9, "Amsterdam"}, {2, 5, "Cairo"}, {3, LB_ERR, ""}, {static_cast<WPARAM>(-1), LB_ERR, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.index));
    EXPECT_EQ(SendMessageA(h, LB_GETTEXTLEN, c.index, 0), c.length);
    char buffer[32] = "untouched";
    EXPECT_EQ(SendMessageA(h, LB_GETTEXT, c.index, reinterpret_cast<LPARAM>(buffer)), c.length);
    if (c.length != LB_ERR) EXPECT_STREQ(buffer, c.text);
    else EXPECT_STREQ(buffer, "untouched");
  }
  // Items and Objects read through the events; the window stores nothing.
  EXPECT_EQ(list->GetItems()->Get(1), "Berlin");
  EXPECT_EQ(list->GetItems()->GetObject(1), nullptr);
  list->OnDataObject = TLBGetDataObjectEvent(&source, &TDataSource::DataObject);
  EXPECT_EQ(list->GetItems()->GetObject(2), Data(0x502));
  EXPECT_THROW(list->GetItems()->Get(3), EStringListError);
  EXPECT_EQ(list->GetItems()->Add("stored?"), -1);
  EXPECT_EQ(list->GetCount(), 3);
  // A new window keeps the count and the selection.
  list->SetItemIndex(2);
  list->SetBorderStyle(bsNone);
  EXPECT_NE(list->GetHandle(), h);
  EXPECT_EQ(SendMessageA(list->GetHandle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(list->GetItemIndex(), 2);
  // Only a virtual list box has a count of its own.
  auto* plain = Add<TListBox>();
  EXPECT_THROW(plain->SetCount(5), EListError);
}

TEST_F(ListControlTest, VirtualListBoxFindsThroughOnDataFind) {
  TDataSource source;
  source.texts = {"Amsterdam", "Berlin", "Bern", "Cairo"};
  auto* list = Add<TListBox>();
  list->SetStyle(lbVirtualOwnerDraw);
  list->SetCount(4);
  list->OnData = TLBGetDataEvent(&source, &TDataSource::Data);
  EXPECT_EQ(list->GetItems()->IndexOf("Cairo"), -1);  // no finder: nothing found
  list->OnDataFind = TLBFindDataEvent(&source, &TDataSource::DataFind);
  EXPECT_EQ(list->GetItems()->IndexOf("Cairo"), 3);
  // Typing searches through the finder too.
  TSeamOverride clock(Seams().TickCount, std::function<DWORD()>([] { return DWORD{1000}; }));
  source.finds.clear();
  SendMessageA(list->GetHandle(), WM_CHAR, 'B', 1);
  SendMessageA(list->GetHandle(), WM_CHAR, 'e', 1);
  SendMessageA(list->GetHandle(), WM_CHAR, 'r', 1);
  SendMessageA(list->GetHandle(), WM_CHAR, 'n', 1);
  EXPECT_EQ(source.finds, (std::vector<std::string>{"B", "Be", "Ber", "Bern"}));
  EXPECT_EQ(list->GetItemIndex(), 2);
}

TEST_F(ListControlTest, VirtualOwnerDrawnItemsShowTheirOnDataText) {
  TDataSource source;
  source.texts = {"", "MMMM"};
  auto* list = Add<TListBox>();
  list->SetStyle(lbVirtualOwnerDraw);
  list->SetCount(2);
  list->OnData = TLBGetDataEvent(&source, &TDataSource::Data);
  auto darkPixels = [&](UINT item) {
    TDib dib(100, 20, RGB(1, 2, 3));
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_LISTBOX;
    d.itemID = item;
    d.itemAction = ODA_DRAWENTIRE;
    d.hwndItem = list->GetHandle();
    d.hDC = dib.DC();
    d.rcItem = RECT{0, 0, 100, 20};
    SendMessageA(parent->GetHandle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    int dark = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 100; ++x) {
        COLORREF p = dib.Pixel(x, y);
        if (GetRValue(p) + GetGValue(p) + GetBValue(p) < 3 * 0x80) ++dark;
      }
    // Everything not text is the window colour: the whole item was filled.
    EXPECT_NE(dib.Pixel(99, 19), RGB(1, 2, 3));
    return dark;
  };
  EXPECT_EQ(darkPixels(0), 0);
  EXPECT_GT(darkPixels(1), 20);  // the text, in the window text colour
}

TEST_F(ListControlTest, StaticTextSizesToItsTextAndBorderAndKeepsItInANewWindow) {
  auto* text = Add<TStaticText>();
  text->GetFont()->SetName("MS Sans Serif");
  text->GetFont()->SetHeight(-11);
  text->SetCaption("Hello world");
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, text->GetFont()->GetHandle());
  SIZE size{};
  GetTextExtentPoint32A(dc, "Hello world", 11, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  struct Case {
    TStaticBorderStyle border;
    int extra;
    LONG_PTR styleBits;
  };
  const Case cases[] = {{sbsSingle, 2, WS_BORDER}, {sbsSunken, 4, SS_SUNKEN}, {sbsNone, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.border);
    HWND before = text->GetHandle();
    text->SetBorderStyle(c.border);
    HWND h = text->GetHandle();
    EXPECT_NE(h, before);  // the border is a window style: a new window
    EXPECT_EQ(text->GetWidth(), size.cx + c.extra);
    EXPECT_EQ(text->GetHeight(), size.cy + c.extra);
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & (WS_BORDER | SS_SUNKEN), c.styleBits);
    char buffer[32] = {};
    GetWindowTextA(h, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Hello world");
  }
}

// The focus moves on a shown form: the suite runs alone.
TEST(SerialStaticTextTest, AcceleratorFocusesTheFocusControl) {
  EnsureControlsUnit();
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 200, 120);
  auto* edit = New<TEdit>(form.get());
  edit->SetParent(form.get());
  auto* other = New<TEdit>(form.get());
  other->SetParent(form.get());
  other->SetTop(40);
  auto* text = New<TStaticText>(form.get());
  text->SetParent(form.get());
  text->SetTop(80);
  text->SetCaption("&Name:");
  text->SetFocusControl(edit);
  form->Show();
  other->SetFocus();
  PumpMessages();
  struct Case {
    WORD key;
    bool enabled;
    bool showAccelChar;
    LRESULT result;
    TWinControl* focused;
  };
  const Case cases[] = {{'x', true, true, 0, other},
                        {'n', false, true, 0, other},
                        {'n', true, false, 0, other},
                        {'N', true, true, 1, edit}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    text->SetEnabled(c.enabled);
    text->SetShowAccelChar(c.showAccelChar);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, c.key, 0), c.result);
    PumpMessages();
    EXPECT_EQ(form->GetActiveControl(), c.focused);
  }
  edit->Free();
  EXPECT_EQ(text->GetFocusControl(), nullptr);
}

// A combo box whose edit step takes digits and lets the rest through.
class TDigitEatingCombo : public TComboBox {
  DECLARE_CLASS(TDigitEatingCombo, TComboBox)
  using TComboBox::TComboBox;
  std::vector<WORD> seen;
  void DoEditCharMsg(TMessage& m) override {
    WORD c = TWMKey(m).CharCode();
    seen.push_back(c);
    if (c >= '0' && c <= '9') TWMKey(m).SetCharCode(0);
    else inherited::DoEditCharMsg(m);
  }
};
IMPLEMENT_CLASS(TDigitEatingCombo)

struct TKeyLog : TObject {
  std::vector<char> keys;
  void KeyPress(TObject*, char& key) {
    keys.push_back(key);
    if (key == '!') key = 0;  // OnKeyPress takes it: the edit step never sees it
  }
};

TEST_F(ListControlTest, TheEditsCharactersPassTheEditStepAfterOnKeyPress) {
  TKeyLog log;
  auto* combo = Add<TDigitEatingCombo>();
  combo->OnKeyPress = TKeyPressEvent(&log, &TKeyLog::KeyPress);
  for (const char* s : {"Germany", "Greece"}) combo->GetItems()->Add(s);
  HWND edit = combo->GetEditHandle();
  for (char c : std::string("a1!G")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_EQ(log.keys, (std::vector<char>{'a', '1', '!', 'G'}));
  EXPECT_EQ(combo->seen, (std::vector<WORD>{'a', '1', 'G'}));
  // The digit and '!' never reached the edit; the base step completed "aG"
  // to nothing (no item begins so) and let the letters through.
  EXPECT_EQ(combo->GetText(), "aG");
  // The list style has no edit step: its search is the key press's.
  auto* list = Add<TDigitEatingCombo>();
  list->SetStyle(csDropDownList);
  for (const char* s : {"Germany", "Greece"}) list->GetItems()->Add(s);
  SendMessageA(list->GetListHandle(), WM_CHAR, 'g', 1);
  EXPECT_TRUE(list->seen.empty());
  EXPECT_EQ(list->GetItemIndex(), 0);
}

}  // namespace
