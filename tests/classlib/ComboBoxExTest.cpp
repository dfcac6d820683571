// The extended combo box over ComboBoxEx32: items with captions, images,
// indents and data kept across new windows and read back from the control,
// the string view of the items and the list-control operations, images,
// selection with the real keyboard and mouse, a stored form, and the action
// link class.
#include "ControlTestSupport.h"

#include <commctrl.h>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace controls_test;

namespace {

void* Data(intptr_t v) { return reinterpret_cast<void*>(v); }

// What the window holds for one item, read back with CBEM_GETITEM.
struct TRow {
  std::string caption;
  int image, selected, overlay, indent;
  void* data;
  bool operator==(const TRow&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TRow& r) {
  return os << "{" << r.caption << " " << r.image << "/" << r.selected << "/" << r.overlay << " indent " << r.indent
            << " data " << r.data << "}";
}

std::vector<TRow> WindowRows(TCustomComboBoxEx* combo) {
  std::vector<TRow> rows;
  HWND h = combo->GetHandle();
  int count = static_cast<int>(SendMessageA(h, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char buffer[64] = {};
    COMBOBOXEXITEMA row{};
    row.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_OVERLAY | CBEIF_INDENT | CBEIF_LPARAM;
    row.iItem = i;
    row.pszText = buffer;
    row.cchTextMax = sizeof buffer;
    EXPECT_TRUE(SendMessageA(h, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row)));
    rows.push_back({buffer, row.iImage, row.iSelectedImage, row.iOverlay, row.iIndent,
                    reinterpret_cast<void*>(row.lParam)});
  }
  return rows;
}

std::vector<TRow> ItemRows(TCustomComboBoxEx* combo) {
  std::vector<TRow> rows;
  for (int i = 0; i < combo->GetItemsEx()->GetCount(); ++i) {
    TComboExItem* item = combo->GetItemsEx()->GetComboItem(i);
    rows.push_back({item->GetCaption(), item->GetImageIndex(), item->GetSelectedImageIndex(),
                    item->GetOverlayImageIndex(), item->GetIndent(), item->GetData()});
  }
  return rows;
}

// What the events heard.
struct TComboLog : TObject {
  std::vector<std::string> events;
  TCustomComboBoxEx* combo = nullptr;
  void Change(TObject*) { events.push_back("change " + combo->GetText()); }
  void Select(TObject*) { events.push_back("select " + std::to_string(combo->GetItemIndex()) + " " + combo->GetText()); }
  void DropDown(TObject*) { events.push_back("drop down"); }
  void KeyDown(TObject*, WORD& key, TShiftState) { events.push_back("key down " + std::to_string(key)); }
  void KeyPress(TObject*, char& key) { events.push_back(std::string("key press ") + key); }
  void Hear(TCustomComboBoxEx* c) {
    combo = c;
    c->OnChange = TNotifyEvent(this, &TComboLog::Change);
    c->OnSelect = TNotifyEvent(this, &TComboLog::Select);
    c->OnDropDown = TNotifyEvent(this, &TComboLog::DropDown);
    c->OnKeyDown = TKeyEvent(this, &TComboLog::KeyDown);
    c->OnKeyPress = TKeyPressEvent(this, &TComboLog::KeyPress);
  }
};

class ComboBoxExTest : public ::testing::Test {
 public:
  void SetUp() override {
    EnsureControlsUnit();
    parent = New<TPanel>(nullptr);
    parent->SetBounds(0, 0, 400, 300);
    parent->SetParentWindow(host.Handle());
    combo = New<TComboBoxEx>(parent);
    combo->SetParent(parent);
  }
  void TearDown() override { parent->Free(); }
  void Fill() {
    combo->GetItemsEx()->AddItem("alpha", 0, 1, -1, 0, Data(0x10));
    combo->GetItemsEx()->AddItem("beta", 1, 2, 0, 1, Data(0x20));
    combo->GetItemsEx()->AddItem("gamma", 2, 0, -1, 2, Data(0x30));
  }

  THostWindow host;
  TPanel* parent = nullptr;
  TComboBoxEx* combo = nullptr;
};

TEST_F(ComboBoxExTest, ItemsMadeBeforeTheWindowReachItAndSurviveNewWindows) {
  // A combo box on no parent yet: no window.
  combo->Free();
  combo = New<TComboBoxEx>(parent);
  Fill();
  combo->GetItems()->AddObject("delta", reinterpret_cast<TObject*>(0x40));
  combo->GetItemsEx()->GetComboItem(3)->SetIndent(3);
  ASSERT_FALSE(combo->HandleAllocated());
  combo->SetParent(parent);
  const std::vector<TRow> expected = {{"alpha", 0, 1, -1, 0, Data(0x10)},
                                      {"beta", 1, 2, 0, 1, Data(0x20)},
                                      {"gamma", 2, 0, -1, 2, Data(0x30)},
                                      {"delta", -1, -1, -1, 3, Data(0x40)}};
  EXPECT_EQ(WindowRows(combo), expected);
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->GetText(), "gamma");
  // Text typed over the selection stays with a new window of an edit style.
  combo->SetText("typed");
  struct Case {
    const char* name;
    std::function<void(TComboBoxEx*)> change;
    const char* text;
  };
  const Case cases[] = {{"same style", [](TComboBoxEx* c) { c->RecreateWnd(); }, "typed"},
                        {"list style", [](TComboBoxEx* c) { c->SetStyle(csExDropDownList); }, "gamma"},
                        {"edit style again", [](TComboBoxEx* c) { c->SetStyle(csExDropDown); }, "gamma"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND before = combo->GetHandle();
    c.change(combo);
    EXPECT_NE(combo->GetHandle(), before);
    EXPECT_EQ(WindowRows(combo), expected);
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), c.text);
  }
  // Changes made later reach the window: a caption, an image, a move.
  combo->GetItemsEx()->GetComboItem(0)->SetCaption("ALPHA");
  combo->GetItemsEx()->GetComboItem(1)->SetOverlayImageIndex(1);
  combo->GetItemsEx()->GetComboItem(3)->SetIndex(0);
  EXPECT_EQ(WindowRows(combo), ItemRows(combo));
  EXPECT_EQ(WindowRows(combo)[0].caption, "delta");
  EXPECT_EQ(WindowRows(combo)[1].caption, "ALPHA");
  EXPECT_EQ(WindowRows(combo)[2].overlay, 1);
}

TEST_F(ComboBoxExTest, TheStringViewAndListOperationsKeepItemsAndWindowInStep) {
  Fill();
  TStrings* items = combo->GetItems();
  items->Insert(1, "first b");
  combo->GetItemsEx()->Insert(0)->SetCaption("zero");
  items->Delete(4);
  EXPECT_EQ(LinesOf(items), (Lines{"zero", "alpha", "first b", "beta"}));
  EXPECT_EQ(items->IndexOf("BETA"), 3);
  EXPECT_EQ(items->IndexOf("none"), -1);
  EXPECT_EQ(items->GetObject(3), reinterpret_cast<TObject*>(0x20));
  EXPECT_EQ(WindowRows(combo), ItemRows(combo));
  // Bad indexes raise and change nothing.
  EXPECT_THROW(items->Get(4), EListError);
  EXPECT_THROW(combo->GetItemsEx()->Insert(5), EListError);
  EXPECT_THROW(combo->GetItemsEx()->Delete(-1), EListError);
  EXPECT_EQ(SendMessageA(combo->GetHandle(), CB_GETCOUNT, 0, 0), 4);
  // A whole list in one update: the rows are written when it ends.
  Owned<TStringList> source(New<TStringList>());
  for (const char* s : {"red", "green", "blue"}) source->Add(s);
  items->Assign(source.get());
  EXPECT_EQ(WindowRows(combo), (std::vector<TRow>{{"red", -1, -1, -1, 0, nullptr},
                                                  {"green", -1, -1, -1, 0, nullptr},
                                                  {"blue", -1, -1, -1, 0, nullptr}}));
  combo->GetItemsEx()->BeginUpdate();
  combo->GetItemsEx()->GetComboItem(0)->SetImageIndex(4);
  combo->GetItemsEx()->GetComboItem(2)->SetIndex(0);
  combo->GetItemsEx()->EndUpdate();
  EXPECT_EQ(WindowRows(combo), ItemRows(combo));
  // The list-control operations carry captions and data.
  combo->GetItemsEx()->GetComboItem(1)->SetData(Data(0x77));
  combo->SetItemIndex(1);
  auto* list = New<TListBox>(parent);
  list->SetParent(parent);
  combo->CopySelection(list);
  EXPECT_EQ(LinesOf(list->GetItems()), (Lines{"red"}));
  EXPECT_EQ(list->GetItems()->GetObject(0), reinterpret_cast<TObject*>(0x77));
  list->AddItem("from list", reinterpret_cast<TObject*>(0x88));
  list->SetItemIndex(1);
  list->CopySelection(combo);
  EXPECT_EQ(ItemRows(combo).back(), (TRow{"from list", -1, -1, -1, 0, Data(0x88)}));
  combo->DeleteSelected();
  EXPECT_EQ(LinesOf(items), (Lines{"blue", "green", "from list"}));
  combo->Clear();
  EXPECT_EQ(SendMessageA(combo->GetHandle(), CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(combo->GetText(), "");
}

TEST_F(ComboBoxExTest, TheImageListReachesTheControlAndLeavesWhenFreed) {
  auto* images = New<TImageList>(parent);
  combo->SetImages(images);
  auto shown = [this] {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(combo->GetHandle(), CBEM_GETIMAGELIST, 0, 0));
  };
  EXPECT_EQ(shown(), images->GetHandle());
  // A new size makes a new list handle; the control follows it.
  images->SetWidth(24);
  EXPECT_EQ(shown(), images->GetHandle());
  combo->SetStyle(csExDropDownList);
  EXPECT_EQ(shown(), images->GetHandle());
  images->Free();
  EXPECT_EQ(combo->GetImages(), nullptr);
  EXPECT_EQ(shown(), nullptr);
}

TEST_F(ComboBoxExTest, TheActionLinkClassIsTheComboBoxExsAndTheClassIsRegistered) {
  EXPECT_EQ(FindClass("TComboBoxEx"), TComboBoxEx::StaticClass());
  auto* action = New<TAction>(parent);
  action->SetCaption("Act");
  combo->SetAction(action);
  ASSERT_NE(combo->GetActionLink(), nullptr);
  EXPECT_EQ(combo->GetActionLink()->ClassType(), TComboBoxExActionLink::StaticClass());
  EXPECT_EQ(TComboBoxExActionLink::StaticClass()->ClassParent(), TWinControlActionLink::StaticClass());
  // The caption is the combo box's text, as for every control with one.
  EXPECT_EQ(combo->GetText(), "Act");
  action->SetCaption("Other");
  EXPECT_EQ(combo->GetText(), "Other");
}

// The root of the stored form: a panel placed in a host window.
class TComboExRoot : public TPanel {
  DECLARE_CLASS(TComboExRoot, TPanel)
  using TPanel::TPanel;
  TComboBoxEx* Combo1 = nullptr;
  TImageList* Images1 = nullptr;
};
PUBLISHED(TComboExRoot) {
  p.Field("Combo1", &TComboExRoot::Combo1);
  p.Field("Images1", &TComboExRoot::Images1);
}

TEST_F(ComboBoxExTest, AStoredFormKeepsItemsStyleAndImages) {
  if (!GetClass("TComboExRoot")) RegisterClass(TComboExRoot::StaticClass());
  auto newRoot = [this] {
    auto* root = New<TComboExRoot>(nullptr);
    root->SetBounds(0, 0, 300, 200);
    root->SetParentWindow(host.Handle());
    return root;
  };
  Owned<TComboExRoot> source(newRoot());
  source->SetName("Root");
  auto* images = New<TImageList>(source.get());
  images->SetName("Images1");
  auto* c = New<TComboBoxEx>(source.get());
  c->SetName("Combo1");
  c->SetParent(source.get());
  c->SetStyle(csExDropDownList);
  c->SetImages(images);
  c->GetItemsEx()->AddItem("Scanner 'A3'", 0, 1, -1, 0, nullptr);
  c->GetItemsEx()->AddItem("Printer", 2, -1, 1, 2, nullptr);
  std::string text = WriteForm(source.get());
  SCOPED_TRACE(text);
  for (const char* part : {"object Combo1: TComboBoxEx", "ItemsEx = <", "Caption = 'Scanner ''A3'''",
                           "SelectedImageIndex = 1", "Indent = 2", "OverlayImageIndex = 1",
                           "Style = csExDropDownList", "Images = Images1"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  // Defaults are not written.
  EXPECT_EQ(text.find("Indent = 0"), std::string::npos);

  // A panel stores its controls only: the image list the reference names
  // is the reading root's own.
  Owned<TComboExRoot> copy(newRoot());
  copy->Images1 = New<TImageList>(copy.get());
  copy->Images1->SetName("Images1");
  ReadForm(text, copy.get());
  ASSERT_NE(copy->Combo1, nullptr);
  EXPECT_EQ(copy->Combo1->GetStyle(), csExDropDownList);
  EXPECT_EQ(copy->Combo1->GetImages(), copy->Images1);
  EXPECT_EQ(ItemRows(copy->Combo1), ItemRows(c));
  EXPECT_EQ(WindowRows(copy->Combo1), ItemRows(c));
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(copy->Combo1->GetHandle(), CBEM_GETIMAGELIST, 0, 0)),
            copy->Images1->GetHandle());
}

// The real keyboard and mouse need the desktop to themselves.
class SerialComboBoxExTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 250);
    combo = New<TComboBoxEx>(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 200, 25);
    for (const char* s : {"alpha", "beta", "gamma"}) combo->GetItems()->Add(s);
    log.Hear(combo);
  }
  void TearDown() override {
    forms_test::LeftButton(false);
    forms_test::PumpApplication(2);
  }
  void Show() {
    form->Show();
    SetForegroundWindow(form->GetHandle());
    combo->SetFocus();
    forms_test::PumpApplication(3);
  }
  void ClickAt(POINT p) {
    forms_test::MoveMouseTo(p);
    forms_test::PumpApplication(3);
    forms_test::LeftButton(true);
    forms_test::PumpApplication(3);
    forms_test::LeftButton(false);
    forms_test::PumpApplication(3);
  }

  forms_test::TFreshApplication app;
  Owned<TForm> form;
  TComboBoxEx* combo = nullptr;
  TComboLog log;
};

TEST_F(SerialComboBoxExTest, TheKeyboardAndTheMouseSelectItemsOfTheListStyle) {
  combo->SetStyle(csExDropDownList);
  Show();
  ASSERT_TRUE(combo->Focused());
  forms_test::TypeKey(VK_DOWN);
  forms_test::PumpApplication(3);
  EXPECT_EQ(combo->GetItemIndex(), 0);
  forms_test::TypeKey(VK_DOWN);
  forms_test::PumpApplication(3);
  EXPECT_EQ(combo->GetItemIndex(), 1);
  EXPECT_EQ(log.events, (std::vector<std::string>{"key down 40", "select 0 alpha", "key down 40", "select 1 beta"}));
  log.events.clear();
  // A click on the control drops the list; a click on an item takes it.
  TRect bounds = combo->GetClientRect();
  ClickAt(combo->ClientToScreen(POINT{bounds.right - 8, bounds.bottom / 2}));
  ASSERT_TRUE(combo->GetDroppedDown());
  RECT item{};
  ASSERT_NE(SendMessageA(combo->GetListHandle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(combo->GetListHandle(), &p);
  ClickAt(p);
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_EQ(combo->GetItemIndex(), 2);
  EXPECT_EQ(combo->GetText(), "gamma");
  EXPECT_EQ(log.events, (std::vector<std::string>{"drop down", "select 2 gamma"}));
}

TEST_F(SerialComboBoxExTest, TypingIntoTheEditStyleGoesThroughTheKeyEvents) {
  Show();
  ASSERT_NE(combo->GetEditHandle(), nullptr);
  EXPECT_EQ(GetFocus(), combo->GetEditHandle());
  forms_test::TypeKey('B');
  forms_test::PumpApplication(3);
  EXPECT_EQ(combo->GetText(), "b");
  EXPECT_EQ(combo->GetSelStart(), 1);
  EXPECT_EQ(log.events, (std::vector<std::string>{"key down 66", "key press b", "change b"}));
}

}  // namespace
