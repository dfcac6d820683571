// A form's menu bar: commands, sub-menus, hints, owner drawing and the
// start of the menu loop reach the main menu's items, from messages sent to
// the form and from real clicks on a shown form's bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;
using controls_test::TDib;
using controls_test::TProbeControl;

namespace {

// What the items and the application told.
struct TMenuLog {
  std::vector<std::string> Clicks;
  std::vector<std::string> Hints;
  int Updates = 0;
  void Click(TObject* sender) { Clicks.push_back(static_cast<TComponent*>(sender)->GetName()); }
  void Update(TObject*) { ++Updates; }
  void Hint(TObject*) { Hints.push_back(Application->GetHint()); }
};

class MenuBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(100, 100, 320, 200);
    TNotifyEvent click(&log, &TMenuLog::Click);
    open = NewItem("&Open", 0, false, true, click, 0, "Open1");
    open->SetHint("Open|Opens a file");
    file = NewSubMenu("&File", 0, "File1", {open, NewItem("&Save", 0, false, true, click, 0, "Save1")});
    file->OnClick = click;
    file->SetHint("File|The file commands");
    help = NewItem("&Help", 0, false, true, click, 0, "Help1");
    menu = NewMenu(form.get(), "MainMenu1", {file, help});
    form->SetMenu(menu);
    Application->OnHint = TNotifyEvent(&log, &TMenuLog::Hint);
  }
  LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(form->GetHandle(), msg, wParam, lParam);
  }

  TFreshApplication app;
  Owned<TForm> form;
  TMainMenu* menu = nullptr;
  TMenuItem* file = nullptr;
  TMenuItem* open = nullptr;
  TMenuItem* help = nullptr;
  TMenuLog log;
};

TEST_F(MenuBarTest, CommandsOfTheBarClickTheirItemsAndControlsKeepTheirs) {
  auto* child = New<TProbeControl>(form.get());
  child->SetParent(form.get());
  struct TCase {
    const char* name;
    WPARAM wParam;
    LPARAM lParam;
    std::vector<std::string> clicks;
  };
  const TCase cases[] = {
      {"an item of a sub-menu", MAKEWPARAM(open->GetCommand(), 0), 0, {"Open1"}},
      {"an item on the bar", MAKEWPARAM(help->GetCommand(), 0), 0, {"Help1"}},
      {"an accelerator", MAKEWPARAM(open->GetCommand(), 1), 0, {"Open1"}},
      // A control's notification with the same number is the control's.
      {"a control's notification", MAKEWPARAM(open->GetCommand(), BN_CLICKED),
       reinterpret_cast<LPARAM>(child->GetHandle()), {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    log.Clicks.clear();
    child->Seen.clear();
    Send(WM_COMMAND, c.wParam, c.lParam);
    EXPECT_EQ(log.Clicks, c.clicks);
    EXPECT_EQ(child->SawMessage(CN_COMMAND), c.lParam != 0);
  }
}

TEST_F(MenuBarTest, ASubMenuAboutToOpenUpdatesItsItemsAndClicksItsItem) {
  auto* action = New<TAction>(form.get());
  action->SetCaption("&Open");
  action->SetOnUpdate(TNotifyEvent(&log, &TMenuLog::Update));
  open->SetAction(action);
  log.Updates = 0;
  Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file->GetHandle()), MAKELPARAM(0, FALSE));
  EXPECT_EQ(log.Clicks, std::vector<std::string>{"File1"});
  EXPECT_EQ(log.Updates, 1);
  // The system menu is no item's.
  log.Clicks.clear();
  Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSystemMenu(form->GetHandle(), FALSE)), MAKELPARAM(0, TRUE));
  EXPECT_TRUE(log.Clicks.empty());
}

TEST_F(MenuBarTest, ASelectedItemsLongHintBecomesTheApplicationsHint) {
  HMENU bar = menu->GetHandle();
  Send(WM_MENUSELECT, MAKEWPARAM(open->GetCommand(), MF_STRING), reinterpret_cast<LPARAM>(file->GetHandle()));
  EXPECT_EQ(Application->GetHint(), "Opens a file");
  Send(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(bar));  // "File", by position
  EXPECT_EQ(Application->GetHint(), "The file commands");
  Send(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closed
  EXPECT_EQ(Application->GetHint(), "");
  EXPECT_EQ(log.Hints, (std::vector<std::string>{"Opens a file", "The file commands", ""}));
}

TEST_F(MenuBarTest, OwnerDrawnItemsOfTheBarsMenusAreMeasuredAndDrawn) {
  menu->SetOwnerDraw(true);
  MEASUREITEMSTRUCT ms{};
  ms.CtlType = ODT_MENU;
  ms.itemID = open->GetCommand();
  ms.itemHeight = 18;
  EXPECT_EQ(Send(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ms)), TRUE);
  EXPECT_GT(ms.itemWidth, 0u);
  EXPECT_GT(ms.itemHeight, 18u);

  struct TCase {
    const char* name;
    UINT state;
    TColor colour;
  };
  for (TCase c : {TCase{"selected", ODS_SELECTED, clHighlight}, TCase{"not selected", 0, clMenu}}) {
    SCOPED_TRACE(c.name);
    TDib dib(120, 22, RGB(1, 2, 3));
    DRAWITEMSTRUCT ds{};
    ds.CtlType = ODT_MENU;
    ds.itemID = open->GetCommand();
    ds.itemState = c.state;
    ds.hDC = dib.DC();
    ds.rcItem = RECT{0, 0, 120, 22};
    EXPECT_EQ(Send(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&ds)), TRUE);
    EXPECT_EQ(dib.Pixel(118, 1), static_cast<COLORREF>(ColorToRGB(c.colour)));
  }
}

// Real clicks: the bar's item opens its sub-menu inside the system's menu
// loop, and a click on an item of it runs the item.
class SerialMenuBarTest : public MenuBarTest {
 public:
  // Spies on the form's messages: the menu loop tells the form when it
  // waits for input (WM_ENTERIDLE), which is when the next click goes in.
  void Spy(TMessage& m) {
    if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU) OnIdle();
    saved(m);
  }

 protected:
  void OnIdle() {
    ++idles;
    if (idles == 1) {
      hintWhenOpened = Application->GetHint();
      RECT r{};
      // The sub-menu is on screen now, so its item has a place.
      if (GetMenuItemRect(nullptr, file->GetHandle(), 0, &r)) {
        MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        LeftButton(true);
        LeftButton(false);
        return;
      }
    }
    // Never wait for ever: a click that missed ends the menu.
    if (idles > 6) EndMenu();
  }
  void ClickBarItem(int index) {
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(form->GetHandle(), menu->GetHandle(), static_cast<UINT>(index), &r));
    MoveMouseTo(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    LeftButton(true);
    LeftButton(false);
    PumpApplication(5);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(2);
  }

  TWndMethod saved;
  int idles = 0;
  std::string hintWhenOpened;
};

TEST_F(SerialMenuBarTest, ClicksOnTheBarOpenTheSubMenuAndRunTheChosenItem) {
  auto* active = New<TProbeControl>(form.get());
  active->SetBounds(10, 10, 50, 20);
  active->SetParent(form.get());
  saved = form->GetWindowProc();
  form->SetWindowProc(TWndMethod(this, &SerialMenuBarTest::Spy));
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);
  active->SetFocus();
  ASSERT_EQ(form->GetActiveControl(), active);
  active->Seen.clear();

  ClickBarItem(0);
  EXPECT_GE(idles, 1);
  // The sub-menu opening clicked "File", the click on "Open" ran it.
  EXPECT_EQ(log.Clicks, (std::vector<std::string>{"File1", "Open1"}));
  EXPECT_EQ(hintWhenOpened, "The file commands");
  EXPECT_NE(std::find(log.Hints.begin(), log.Hints.end(), "Opens a file"), log.Hints.end());
  // The menu loop ended the active control's modes before it began.
  EXPECT_TRUE(active->SawMessage(CM_CANCELMODE));
  form->SetWindowProc(saved);
}

}  // namespace
