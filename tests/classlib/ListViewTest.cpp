// The list view over SysListView32: items with captions, sub-items and data
// kept across new windows, selection from the keyboard, the list-control
// operations, in-place editing, and the action link class.
#include "ControlTestSupport.h"

#include <commctrl.h>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

using namespace controls_test;

namespace {

TObject* Data(intptr_t v) { return reinterpret_cast<TObject*>(v); }

struct TViewLog : TObject {
  std::vector<std::string> events;
  void SelectItem(TObject*, TListItem* item, bool selected) {
    events.push_back((selected ? "select " : "unselect ") + item->GetCaption());
  }
  void Deletion(TObject*, TListItem* item) { events.push_back("delete " + item->GetCaption()); }
  void Edited(TObject*, TListItem* item, std::string& s) {
    events.push_back("edited " + item->GetCaption() + " -> " + s);
    s += "!";
  }
};

class ListViewTest : public ::testing::Test {
 public:
  void SetUp() override {
    EnsureControlsUnit();
    parent = New<TPanel>(nullptr);
    parent->SetBounds(0, 0, 400, 300);
    parent->SetParentWindow(host.Handle());
    view = New<TListView>(parent);
    view->SetParent(parent);
  }
  void TearDown() override { parent->Free(); }

  // The rows the window shows: caption, then each sub-item's text.
  std::vector<std::vector<std::string>> WindowRows(int columns) {
    std::vector<std::vector<std::string>> rows;
    HWND h = view->GetHandle();
    int count = static_cast<int>(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::vector<std::string> row;
      for (int k = 0; k < std::max(columns, 1); ++k) {
        char buffer[64] = {};
        LVITEMA item{};
        item.iSubItem = k;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessageA(h, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        row.push_back(buffer);
      }
      rows.push_back(row);
    }
    return rows;
  }
  void Fill(std::initializer_list<const char*> captions) {
    intptr_t n = 1;
    for (const char* c : captions) view->AddItem(c, Data(0x10 * n++));
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> v;
    for (int i = 0; i < view->GetItems()->GetCount(); ++i) v.push_back(view->GetItems()->GetItem(i)->GetCaption());
    return v;
  }

  THostWindow host;
  TPanel* parent = nullptr;
  TListView* view = nullptr;
};

TEST_F(ListViewTest, ItemsMadeBeforeTheWindowReachItAndSurviveNewWindows) {
  // A list view on no parent yet: no window.
  view->Free();
  view = New<TListView>(parent);
  view->SetViewStyle(vsReport);
  view->GetColumns()->Add()->SetCaption("Name");
  view->GetColumns()->Add()->SetCaption("Size");
  view->SetMultiSelect(true);
  ASSERT_FALSE(view->HandleAllocated());
  Fill({"alpha", "beta", "gamma"});
  view->GetItems()->GetItem(1)->GetSubItems()->Add("2 KB");
  view->GetItems()->GetItem(2)->SetSelected(true);
  EXPECT_EQ(view->GetSelCount(), 1);
  view->SetParent(parent);
  EXPECT_EQ(WindowRows(2), (std::vector<std::vector<std::string>>{{"alpha", ""}, {"beta", "2 KB"}, {"gamma", ""}}));
  // The row holds its item: the window's lParam is the item object.
  LVITEMA row{};
  row.mask = LVIF_PARAM;
  row.iItem = 1;
  SendMessageA(view->GetHandle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(reinterpret_cast<TListItem*>(row.lParam), view->GetItems()->GetItem(1));
  // Selection made in the window, then new windows: a style, the view.
  ListView_SetItemState(view->GetHandle(), 0, LVIS_SELECTED, LVIS_SELECTED);
  view->GetColumns()->GetItem(0)->SetWidth(120);
  struct Case {
    const char* name;
    std::function<void(TListView*)> change;
  };
  const Case cases[] = {{"read only", [](TListView* v) { v->SetReadOnly(true); }},
                        {"list view style", [](TListView* v) { v->SetViewStyle(vsList); }},
                        {"back to report", [](TListView* v) { v->SetViewStyle(vsReport); }}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND before = view->GetHandle();
    c.change(view);
    EXPECT_NE(view->GetHandle(), before);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_EQ(view->GetItems()->GetItem(1)->GetData(), Data(0x20));
    EXPECT_EQ(view->GetSelCount(), 2);
    EXPECT_TRUE(view->GetItems()->GetItem(0)->GetSelected());
    EXPECT_TRUE(view->GetItems()->GetItem(2)->GetSelected());
  }
  EXPECT_EQ(WindowRows(2), (std::vector<std::vector<std::string>>{{"alpha", ""}, {"beta", "2 KB"}, {"gamma", ""}}));
  EXPECT_EQ(SendMessageA(view->GetHandle(), LVM_GETCOLUMNWIDTH, 0, 0), 120);
  // Captions and sub-items changed later reach the window.
  view->GetItems()->GetItem(0)->SetCaption("ALPHA");
  view->GetItems()->GetItem(2)->GetSubItems()->Add("9 KB");
  EXPECT_EQ(WindowRows(2), (std::vector<std::vector<std::string>>{{"ALPHA", ""}, {"beta", "2 KB"}, {"gamma", "9 KB"}}));
}

TEST_F(ListViewTest, InsertDeleteAndClearKeepTheWindowInStep) {
  TViewLog log;
  view->OnDeletion = TLVDeletedEvent(&log, &TViewLog::Deletion);
  Fill({"a", "c"});
  view->GetItems()->Insert(1)->SetCaption("b");
  view->GetItems()->Insert(0)->SetCaption("first");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"first", "a", "b", "c"}));
  EXPECT_EQ(WindowRows(1), (std::vector<std::vector<std::string>>{{"first"}, {"a"}, {"b"}, {"c"}}));
  view->GetItems()->GetItem(2)->Delete();
  view->GetItems()->Delete(0);
  EXPECT_EQ(WindowRows(1), (std::vector<std::vector<std::string>>{{"a"}, {"c"}}));
  EXPECT_EQ(view->GetItems()->GetItem(1)->GetIndex(), 1);
  // Bad indexes raise and change nothing.
  EXPECT_THROW(view->GetItems()->GetItem(2), EListError);
  EXPECT_THROW(view->GetItems()->Delete(-1), EListError);
  EXPECT_THROW(view->GetItems()->Insert(3), EListError);
  EXPECT_THROW(view->SetItemIndex(5), EListError);
  EXPECT_EQ(view->GetItems()->GetCount(), 2);
  view->Clear();
  EXPECT_EQ(SendMessageA(view->GetHandle(), LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"delete b", "delete first", "delete c", "delete a"}));
}

TEST_F(ListViewTest, TheKeyboardSelectsAndOnSelectItemHearsIt) {
  TViewLog log;
  view->SetViewStyle(vsReport);
  view->GetColumns()->Add()->SetWidth(100);
  Fill({"one", "two", "three"});
  view->OnSelectItem = TLVSelectItemEvent(&log, &TViewLog::SelectItem);
  view->SetItemIndex(0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"select one"}));
  log.events.clear();
  SendMessageA(view->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"unselect one", "select two"}));
  EXPECT_EQ(view->GetItemIndex(), 1);
  EXPECT_EQ(view->GetSelected(), view->GetItems()->GetItem(1));
  EXPECT_EQ(view->GetItemFocused(), view->GetItems()->GetItem(1));
  view->SetItemIndex(-1);
  EXPECT_EQ(view->GetSelected(), nullptr);
  EXPECT_EQ(view->GetItemIndex(), -1);
}

TEST_F(ListViewTest, ListControlOperationsCarryCaptionsAndData) {
  view->SetMultiSelect(true);
  Fill({"red", "green", "blue", "cyan"});
  view->GetItems()->GetItem(3)->SetSelected(true);
  view->GetItems()->GetItem(1)->SetSelected(true);
  // To a list box and to another list view: the selected items in order.
  auto* list = New<TListBox>(parent);
  list->SetParent(parent);
  auto* other = New<TListView>(parent);
  other->SetParent(parent);
  view->CopySelection(list);
  view->CopySelection(other);
  std::vector<std::string> texts;
  for (int i = 0; i < list->GetItems()->GetCount(); ++i) texts.push_back(list->GetItems()->Get(i));
  EXPECT_EQ(texts, (std::vector<std::string>{"green", "cyan"}));
  EXPECT_EQ(list->GetItems()->GetObject(1), Data(0x40));
  ASSERT_EQ(other->GetItems()->GetCount(), 2);
  EXPECT_EQ(other->GetItems()->GetItem(0)->GetCaption(), "green");
  EXPECT_EQ(other->GetItems()->GetItem(0)->GetData(), Data(0x20));
  // And from a list box into the view.
  list->SetItemIndex(1);
  list->CopySelection(view);
  EXPECT_EQ(view->GetItems()->GetItem(4)->GetCaption(), "cyan");
  view->DeleteSelected();
  EXPECT_EQ(Captions(), (std::vector<std::string>{"red", "blue", "cyan"}));
  view->SelectAll();
  EXPECT_EQ(view->GetSelCount(), 3);
  view->ClearSelection();
  EXPECT_EQ(view->GetSelCount(), 0);
  EXPECT_EQ(view->FindCaption(0, "CY", true, true, false), view->GetItems()->GetItem(2));
  EXPECT_EQ(view->FindCaption(0, "CY", false, true, false), nullptr);
  EXPECT_EQ(view->FindCaption(1, "red", false, false, true), view->GetItems()->GetItem(0));
  EXPECT_EQ(view->FindCaption(1, "red", false, false, false), nullptr);
}

TEST_F(ListViewTest, ActionLinkClassIsTheListViews) {
  EXPECT_EQ(TListView::StaticClass(), FindClass("TListView"));
  auto* action = New<TAction>(parent);
  action->SetCaption("Act");
  view->SetAction(action);
  ASSERT_NE(view->GetActionLink(), nullptr);
  EXPECT_EQ(view->GetActionLink()->ClassType(), TListViewActionLink::StaticClass());
  EXPECT_EQ(TListViewActionLink::StaticClass()->ClassParent(), TWinControlActionLink::StaticClass());
}

// In-place editing takes the focus: the suite runs alone.
TEST(SerialListViewTest, EditingACaptionInPlaceGoesThroughOnEditingAndOnEdited) {
  EnsureControlsUnit();
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 300, 200);
  auto* view = New<TListView>(form.get());
  view->SetParent(form.get());
  view->SetViewStyle(vsList);
  view->AddItem("old", nullptr);
  view->AddItem("fixed", nullptr);
  TViewLog log;
  view->OnEdited = TLVEditedEvent(&log, &TViewLog::Edited);
  struct TRefuse : TObject {
    void Editing(TObject*, TListItem* item, bool& allow) { allow = item->GetCaption() != "fixed"; }
  } refuse;
  view->OnEditing = TLVEditingEvent(&refuse, &TRefuse::Editing);
  form->Show();
  view->SetFocus();
  PumpMessages();
  // The refused item gets no editor.
  EXPECT_EQ(SendMessageA(view->GetHandle(), LVM_EDITLABELA, 1, 0), 0);
  auto edit = reinterpret_cast<HWND>(SendMessageA(view->GetHandle(), LVM_EDITLABELA, 0, 0));
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "new");
  SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  PumpMessages();
  EXPECT_EQ(log.events, (std::vector<std::string>{"edited old -> new"}));
  EXPECT_EQ(view->GetItems()->GetItem(0)->GetCaption(), "new!");
  char buffer[16] = {};
  ListView_GetItemText(view->GetHandle(), 0, 0, buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "new!");
}

}  // namespace
