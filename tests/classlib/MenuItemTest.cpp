// Menu items: the tree and its errors, the native menu built from it, radio
// groups, actions and the commands that reach an item.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Menus.h"

namespace {

std::string NativeText(HMENU menu, int pos) {
  char buf[256] = {};
  GetMenuStringA(menu, static_cast<UINT>(pos), buf, sizeof buf, MF_BYPOSITION);
  return buf;
}

MENUITEMINFOA NativeInfo(HMENU menu, int pos) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
  GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &info);
  return info;
}

// An owner of menus and items, freed with everything it owns.
class MenuItemTest : public ::testing::Test {
 protected:
  void TearDown() override { owner->Free(); }
  TMenuItem* Item(const std::string& caption, TMenuItem* parent = nullptr) {
    TMenuItem* item = New<TMenuItem>(owner);
    item->SetCaption(caption);
    if (parent) parent->Add(item);
    return item;
  }

 public:
  // Records the sender of OnClick.
  void Clicked(TObject* sender) { clicks.push_back(sender); }

 protected:

  TComponent* owner = New<TComponent>(nullptr);
  std::vector<TObject*> clicks;
};

TEST_F(MenuItemTest, BadIndexesAndMisplacedItemsRaiseMenuErrors) {
  TPopupMenu* menu = New<TPopupMenu>(owner);
  TMenuItem* file = Item("&File", menu->GetItems());
  TMenuItem* open = Item("&Open", file);
  TMenuItem* loose = Item("Loose");
  struct Case {
    const char* what;
    std::function<void()> act;
    const char* message;
  };
  const Case cases[] = {
      {"GetItem(1)", [&] { file->GetItem(1); }, "Menu index out of range"},
      {"GetItem(-1)", [&] { file->GetItem(-1); }, "Menu index out of range"},
      {"Insert(2)", [&] { file->Insert(2, loose); }, "Menu index out of range"},
      {"Insert(-1)", [&] { file->Insert(-1, loose); }, "Menu index out of range"},
      {"Delete(1)", [&] { file->Delete(1); }, "Menu index out of range"},
      {"Add twice", [&] { menu->GetItems()->Add(open); }, "Menu inserted twice"},
      {"Add an ancestor", [&] { open->Add(file); }, "Menu inserted twice"},
      {"Add itself", [&] { loose->Add(loose); }, "Menu inserted twice"},
      {"Add a menu's root", [&] { loose->Add(menu->GetItems()); }, "Menu inserted twice"},
      {"Remove a stranger", [&] { file->Remove(loose); }, "Sub-menu is not in menu"},
      {"Add nothing", [&] { file->Add(static_cast<TMenuItem*>(nullptr)); }, "Sub-menu is not in menu"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.act();
      ADD_FAILURE() << "no exception";
    } catch (const EMenuError& e) {
      EXPECT_EQ(e.GetMessage(), c.message);
    }
  }
  // Nothing moved.
  EXPECT_EQ(menu->GetItems()->GetCount(), 1);
  ASSERT_EQ(file->GetCount(), 1);
  EXPECT_EQ(file->GetItem(0), open);
  EXPECT_EQ(loose->GetParent(), nullptr);
}

TEST_F(MenuItemTest, TreeOperationsKeepParentsAndOrder) {
  TMenuItem* root = Item("root");
  TMenuItem* a = Item("&Alpha", root);
  TMenuItem* b = Item("Beta", root);
  TMenuItem* c = Item("Gamma");
  root->Insert(1, c);
  EXPECT_EQ(root->IndexOf(c), 1);
  EXPECT_EQ(c->GetParent(), root);
  EXPECT_EQ(root->Find("alpha"), a);
  EXPECT_EQ(root->Find("&Beta"), b);
  EXPECT_EQ(root->Find("Delta"), nullptr);
  a->SetMenuIndex(99);  // clipped to the last place
  EXPECT_EQ(root->IndexOf(a), 2);
  EXPECT_EQ(a->GetMenuIndex(), 2);
  root->Remove(b);
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(root->GetCount(), 2);
  // Freeing an item takes it out of its parent; Clear frees the rest.
  c->Free();
  EXPECT_EQ(root->GetCount(), 1);
  root->Clear();
  EXPECT_EQ(root->GetCount(), 0);
  EXPECT_EQ(owner->GetComponentCount(), 2);  // root and b
}

TEST_F(MenuItemTest, CommandsAreUniqueAndFindTheirItems) {
  TPopupMenu* menu = New<TPopupMenu>(owner);
  TMenuItem* file = Item("File", menu->GetItems());
  TMenuItem* open = Item("Open", file);
  TMenuItem* save = Item("Save", file);
  save->SetShortCut(ShortCut('S', {ssCtrl}));
  EXPECT_NE(open->GetCommand(), 0);
  EXPECT_NE(open->GetCommand(), save->GetCommand());
  EXPECT_NE(open->GetCommand(), file->GetCommand());
  EXPECT_EQ(menu->FindItem(save->GetCommand(), fkCommand), save);
  EXPECT_EQ(menu->FindItem(ShortCut('S', {ssCtrl}), fkShortCut), save);
  EXPECT_EQ(menu->FindItem(0, fkShortCut), nullptr);  // items without shortcuts are not found by 0
  EXPECT_EQ(menu->FindItem(0, fkHandle), nullptr);
  HMENU fileMenu = file->GetHandle();
  EXPECT_EQ(menu->FindItem(reinterpret_cast<intptr_t>(fileMenu), fkHandle), file);
  EXPECT_EQ(menu->FindItem(reinterpret_cast<intptr_t>(menu->GetHandle()), fkHandle), menu->GetItems());
  // A freed item's command is free again: the next item takes the lowest
  // free one.
  WORD freed = open->GetCommand();
  open->Free();
  EXPECT_EQ(menu->FindItem(freed, fkCommand), nullptr);
  TMenuItem* again = Item("Again");
  EXPECT_LE(again->GetCommand(), freed);
}

TEST_F(MenuItemTest, NativeMenuFollowsTheItems) {
  TPopupMenu* menu = New<TPopupMenu>(owner);
  TMenuItem* open = Item("&Open", menu->GetItems());
  open->SetShortCut(ShortCut('O', {ssCtrl}));
  TMenuItem* line = Item("-", menu->GetItems());
  TMenuItem* hidden = Item("Hidden", menu->GetItems());
  hidden->SetVisible(false);
  TMenuItem* recent = Item("&Recent", menu->GetItems());
  TMenuItem* first = Item("First", recent);
  first->SetShortCut(ShortCut(VK_F2, {}));

  HMENU h = menu->GetHandle();
  ASSERT_EQ(GetMenuItemCount(h), 3);  // the hidden item has no entry
  EXPECT_EQ(NativeText(h, 0), "&Open\tCtrl+O");
  EXPECT_EQ(NativeInfo(h, 0).wID, open->GetCommand());
  EXPECT_TRUE(NativeInfo(h, 1).fType & MFT_SEPARATOR);
  MENUITEMINFOA sub = NativeInfo(h, 2);
  EXPECT_EQ(sub.hSubMenu, recent->GetHandle());
  EXPECT_EQ(NativeText(sub.hSubMenu, 0), "First\tF2");
  (void)line;

  // A caption change rebuilds the parent's menu; Checked and Enabled change
  // the entry in place.
  open->SetCaption("&Open...");
  EXPECT_EQ(NativeText(h, 0), "&Open...\tCtrl+O");
  open->SetChecked(true);
  open->SetEnabled(false);
  EXPECT_TRUE(NativeInfo(h, 0).fState & MFS_CHECKED);
  EXPECT_TRUE(NativeInfo(h, 0).fState & MFS_DISABLED);
  hidden->SetVisible(true);
  ASSERT_EQ(GetMenuItemCount(h), 4);
  EXPECT_EQ(NativeText(h, 2), "Hidden");
  // Deleting the last sub-item turns the entry back into a plain item.
  recent->Delete(0);
  EXPECT_EQ(NativeInfo(h, 3).hSubMenu, nullptr);
  first->Free();
}

TEST_F(MenuItemTest, MainMenuBarShowsNoShortCutsAndLeavesItsWindowWithoutAMenuWhenFreed) {
  TMainMenu* menu = New<TMainMenu>(owner);
  TMenuItem* file = Item("&File", menu->GetItems());
  file->SetShortCut(ShortCut('F', {ssAlt}));
  TMenuItem* exit = Item("E&xit", file);
  exit->SetShortCut(ShortCut(VK_F4, {ssAlt}));
  HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(SetMenu(window, menu->GetHandle()));
  menu->SetWindowHandle(window);
  EXPECT_EQ(NativeText(menu->GetHandle(), 0), "&File");
  EXPECT_EQ(NativeText(file->GetHandle(), 0), "E&xit\tAlt+F4");
  file->SetCaption("&Document");
  EXPECT_EQ(NativeText(GetMenu(window), 0), "&Document");
  menu->Free();
  EXPECT_EQ(GetMenu(window), nullptr);
  DestroyWindow(window);
}

TEST_F(MenuItemTest, RadioItemsOfAGroupExcludeEachOther) {
  TMenuItem* root = Item("root");
  TMenuItem* items[4];
  const uint8_t groups[] = {1, 1, 1, 2};
  for (int i = 0; i < 4; ++i) {
    items[i] = Item("Item" + std::to_string(i), root);
    items[i]->SetRadioItem(true);
    items[i]->SetGroupIndex(groups[i]);
  }
  items[0]->SetChecked(true);
  items[3]->SetChecked(true);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->GetChecked());
  EXPECT_TRUE(items[1]->GetChecked());
  EXPECT_FALSE(items[2]->GetChecked());
  EXPECT_TRUE(items[3]->GetChecked());  // another group
  // One default item per sub-menu.
  items[0]->SetDefault(true);
  items[2]->SetDefault(true);
  EXPECT_FALSE(items[0]->GetDefault());
  EXPECT_TRUE(items[2]->GetDefault());
}

TEST_F(MenuItemTest, DispatchCommandClicksTheItemAndAutoCheckToggles) {
  TPopupMenu* menu = New<TPopupMenu>(owner);
  TMenuItem* view = Item("View", menu->GetItems());
  TMenuItem* status = Item("Status bar", view);
  status->OnClick = TNotifyEvent(static_cast<MenuItemTest*>(this), &MenuItemTest::Clicked);
  status->SetAutoCheck(true);
  EXPECT_TRUE(menu->DispatchCommand(status->GetCommand()));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], status);
  EXPECT_TRUE(status->GetChecked());
  EXPECT_FALSE(menu->DispatchCommand(0xFFFF));
  // A disabled item is found but does nothing.
  status->SetEnabled(false);
  EXPECT_TRUE(menu->DispatchCommand(status->GetCommand()));
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_TRUE(status->GetChecked());
  // The command reaches the item through the pop-up list's window as well.
  status->SetEnabled(true);
  SendMessageA(PopupList()->GetWindow(), WM_COMMAND, status->GetCommand(), 0);
  EXPECT_EQ(clicks.size(), 2u);
  EXPECT_FALSE(status->GetChecked());
}

TEST_F(MenuItemTest, MenusBuiltInCode) {
  TNotifyEvent click(static_cast<MenuItemTest*>(this), &MenuItemTest::Clicked);
  TPopupMenu* menu = NewPopupMenu(owner, "Popup1", paCenter, false,
                                  {NewItem("&Cut", ShortCut('X', {ssCtrl}), false, true, click, 0, "Cut1"), NewLine(),
                                   NewSubMenu("&More", 7, "More1", {NewItem("&Zoom", 0, true, false, nullptr, 0, "Zoom1")})});
  EXPECT_EQ(menu->GetName(), "Popup1");
  EXPECT_EQ(menu->GetAlignment(), paCenter);
  EXPECT_FALSE(menu->GetAutoPopup());
  TMenuItem* items = menu->GetItems();
  ASSERT_EQ(items->GetCount(), 3);
  EXPECT_EQ(items->GetItem(0)->GetName(), "Cut1");
  EXPECT_EQ(items->GetItem(0)->GetShortCut(), ShortCut('X', {ssCtrl}));
  EXPECT_TRUE(items->GetItem(1)->IsLine());
  TMenuItem* more = items->GetItem(2);
  EXPECT_EQ(more->GetHelpContext(), 7);
  ASSERT_EQ(more->GetCount(), 1);
  EXPECT_TRUE(more->GetItem(0)->GetChecked());
  EXPECT_FALSE(more->GetItem(0)->GetEnabled());
  menu->DispatchCommand(items->GetItem(0)->GetCommand());
  EXPECT_EQ(clicks.size(), 1u);
  // The items have no owner: the menu frees them with itself.
  EXPECT_EQ(items->GetItem(0)->GetOwner(), nullptr);
}

// An action with handlers that count.
class CountingAction : public TAction {
 public:
  explicit CountingAction(TComponent* owner) : TAction(owner) {
    SetOnExecute(TNotifyEvent(this, &CountingAction::Run));
    SetOnUpdate(TNotifyEvent(this, &CountingAction::Check));
  }
  void Run(TObject*) { ++executed; }
  void Check(TObject*) { ++updated; }
  int executed = 0;
  int updated = 0;
};

TEST_F(MenuItemTest, LinkedActionDrivesTheItem) {
  TPopupMenu* menu = New<TPopupMenu>(owner);
  TMenuItem* edit = Item("Edit", menu->GetItems());
  TMenuItem* copy = Item("", edit);
  auto* action = New<CountingAction>(owner);
  action->SetCaption("&Copy");
  action->SetShortCut(ShortCut('C', {ssCtrl}));
  action->SetHint("Copy|Copies the selection");
  copy->SetAction(action);
  EXPECT_EQ(copy->GetCaption(), "&Copy");
  EXPECT_EQ(copy->GetShortCut(), ShortCut('C', {ssCtrl}));
  EXPECT_EQ(copy->GetHint(), "Copy|Copies the selection");
  EXPECT_FALSE(copy->IsCaptionStored());
  EXPECT_FALSE(copy->IsOnClickStored());

  action->SetCaption("Copy &All");
  action->SetEnabled(false);
  action->SetChecked(true);
  EXPECT_EQ(copy->GetCaption(), "Copy &All");
  EXPECT_FALSE(copy->GetEnabled());
  EXPECT_TRUE(copy->GetChecked());
  EXPECT_EQ(NativeText(edit->GetHandle(), 0), "Copy &All\tCtrl+C");

  // A caption of its own unlinks the caption only.
  copy->SetCaption("Mine");
  EXPECT_TRUE(copy->IsCaptionStored());
  action->SetCaption("Theirs");
  EXPECT_EQ(copy->GetCaption(), "Mine");
  action->SetEnabled(true);
  EXPECT_TRUE(copy->GetEnabled());

  // Opening the sub-menu updates its items' actions; the click executes.
  action->updated = 0;
  EXPECT_TRUE(menu->DispatchPopup(edit->GetHandle()));
  EXPECT_EQ(action->updated, 1);
  EXPECT_TRUE(menu->DispatchCommand(copy->GetCommand()));
  EXPECT_EQ(action->executed, 1);

  // The action goes; the item keeps what it shows.
  action->Free();
  EXPECT_EQ(copy->GetAction(), nullptr);
  EXPECT_EQ(copy->GetCaption(), "Mine");
}

}  // namespace
