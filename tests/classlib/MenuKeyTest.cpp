// Shortcut keys: a key of a control goes to the pop-up menus of the control
// and its parents, then to the form's menu, which clicks the item.
#include "ControlTestSupport.h"

#include "classlib/Menus.h"

using namespace controls_test;

namespace {

// The Ctrl key held down for the thread (GetKeyState reads it) while alive.
class TCtrlDown {
 public:
  TCtrlDown() {
    GetKeyboardState(saved_);
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
  }
  ~TCtrlDown() { SetKeyboardState(saved_); }
  TCtrlDown(const TCtrlDown&) = delete;
  TCtrlDown& operator=(const TCtrlDown&) = delete;

 private:
  BYTE saved_[256];
};

// A window control standing in for a form, with a main menu whose shortcuts
// the form hands to the menu (as the form's IsShortCut does).
class MenuKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    savedControls = ControlsHooks();
    savedMenus = MenusHooks();
    TStandInForm stand = MakeStandInForm(host.Handle());
    form = stand.Form;
    panel = stand.Panel;
    edit = stand.Edit;
    TProbeControl* theForm = form;

    menu = New<TMainMenu>(form);
    file = AddItem(menu->GetItems(), "&File", 0);
    refresh = AddItem(file, "&Refresh", ShortCut(VK_F5, {}));
    save = AddItem(file, "&Save", ShortCut('S', {ssCtrl}));
    exit = AddItem(file, "E&xit", ShortCut('X', {ssAlt}));
    menu->SetWindowHandle(form->GetHandle());
    TMainMenu* theMenu = menu;
    formCalls = 0;
    MenusHooks().FormIsShortCut = [this, theMenu, theForm](TCustomForm* f, TMessage& m) {
      ++formCalls;
      EXPECT_EQ(reinterpret_cast<TProbeControl*>(f), theForm);
      return theMenu->GetWindowHandle() && theMenu->IsShortCut(m);
    };
  }
  void TearDown() override {
    form->Free();
    ControlsHooks() = savedControls;
    MenusHooks() = savedMenus;
  }
  TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut) {
    TMenuItem* item = New<TMenuItem>(form);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->OnClick = TNotifyEvent(static_cast<MenuKeyTest*>(this), &MenuKeyTest::Clicked);
    parent->Add(item);
    return item;
  }

 public:
  void Clicked(TObject* sender) { clicks.push_back(sender); }

 protected:
  TControlsHooks savedControls;
  TMenusHooks savedMenus;
  THostWindow host;
  TProbeControl* form = nullptr;
  TProbeControl* panel = nullptr;
  TProbeControl* edit = nullptr;
  TMainMenu* menu = nullptr;
  TMenuItem* file = nullptr;
  TMenuItem* refresh = nullptr;
  TMenuItem* save = nullptr;
  TMenuItem* exit = nullptr;
  std::vector<TObject*> clicks;
  int formCalls = 0;
};

TEST_F(MenuKeyTest, FormMenuShortCutsClickTheItemAndItsParents) {
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F5, 0), 1);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0], file);  // the parents first, as opening the menu would
  EXPECT_EQ(clicks[1], refresh);

  clicks.clear();
  EXPECT_EQ(edit->Perform(CN_SYSKEYDOWN, 'X', 0x20000000), 1);  // Alt from the key data
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1], exit);

  clicks.clear();
  {
    TCtrlDown ctrl;
    EXPECT_EQ(edit->Perform(CN_KEYDOWN, 'S', 0), 1);
  }
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1], save);

  // S without Ctrl is no shortcut.
  clicks.clear();
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, 'S', 0), 0);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuKeyTest, DisabledItemTakesItsKeyWithoutClicking) {
  refresh->SetEnabled(false);
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F5, 0), 1);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], file);
  // A disabled parent stops the whole chain.
  clicks.clear();
  refresh->SetEnabled(true);
  file->SetEnabled(false);
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F5, 0), 1);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuKeyTest, PopupMenusOfTheControlAndItsParentsComeFirst) {
  TPopupMenu* popup = New<TPopupMenu>(form);
  TMenuItem* reload = AddItem(popup->GetItems(), "Reload", ShortCut(VK_F5, {}));
  panel->SetPopupMenu(popup);
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F5, 0), 1);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], reload);
  EXPECT_EQ(formCalls, 0);
  // Keys the pop-up menu does not have still reach the form's menu.
  clicks.clear();
  EXPECT_EQ(edit->Perform(CN_SYSKEYDOWN, 'X', 0x20000000), 1);
  EXPECT_EQ(formCalls, 1);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1], exit);
}

// An action that turns itself off when it is updated.
class TDisablingAction : public TAction {
 public:
  explicit TDisablingAction(TComponent* owner) : TAction(owner) {
    SetOnUpdate(TNotifyEvent(this, &TDisablingAction::Check));
    SetOnExecute(TNotifyEvent(this, &TDisablingAction::Run));
  }
  void Check(TObject*) { SetEnabled(false); }
  void Run(TObject*) { ++executed; }
  int executed = 0;
};

TEST_F(MenuKeyTest, ActionsAreUpdatedBeforeTheClick) {
  auto* action = New<TDisablingAction>(form);
  action->SetShortCut(ShortCut(VK_F5, {}));
  refresh->SetAction(action);
  // A handler of its own: the item's click would run it, not the action.
  refresh->OnClick = TNotifyEvent(static_cast<MenuKeyTest*>(this), &MenuKeyTest::Clicked);
  EXPECT_EQ(edit->Perform(CN_KEYDOWN, VK_F5, 0), 1);
  EXPECT_FALSE(refresh->GetEnabled());
  EXPECT_EQ(action->executed, 0);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], file);
}

}  // namespace
