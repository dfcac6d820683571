// Pop-up menus: shown by WM_CONTEXTMENU, the pop-up list's window and what
// it does with the menu messages, owner-drawn items.
#include "ControlTestSupport.h"

#include "classlib/ImgList.h"
#include "classlib/Menus.h"

using namespace controls_test;

namespace {

class MenuPopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    control = New<TProbeControl>(nullptr);
    control->SetBounds(10, 10, 100, 50);
    control->SetParentWindow(host.Handle());
    control->HandleNeeded();
    menu = New<TPopupMenu>(control);
    item = New<TMenuItem>(control);
    item->SetCaption("&Undo");
    menu->GetItems()->Add(item);
    control->SetPopupMenu(menu);
  }
  void TearDown() override { control->Free(); }


 public:
  // OnPopup: counts, and ends the menu loop that follows at once (the
  // posted WM_CANCELMODE reaches the owner window inside TrackPopupMenu).
  void Popped(TObject* sender) {
    popups.push_back(sender);
    PostMessageA(PopupList()->GetWindow(), WM_CANCELMODE, 0, 0);
  }
 protected:
  LRESULT ContextMenuAt(POINT client) {
    POINT screen = control->ClientToScreen(client);
    return control->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control->GetHandle()),
                            MAKELPARAM(screen.x, screen.y));
  }

  THostWindow host;
  TProbeControl* control = nullptr;
  TPopupMenu* menu = nullptr;
  TMenuItem* item = nullptr;
  std::vector<TObject*> popups;
  int measured = -1;

 public:
  void Measured(TObject*, TCanvas*, int& width, int&) { measured = width; }
};

TEST_F(MenuPopupTest, ContextMenuShowsThePopupMenuForTheControl) {
  menu->OnPopup = TNotifyEvent(static_cast<MenuPopupTest*>(this), &MenuPopupTest::Popped);
  EXPECT_EQ(ContextMenuAt(POINT{5, 6}), 1);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(popups[0], menu);
  EXPECT_EQ(menu->GetPopupComponent(), control);
  POINT expected = control->ClientToScreen(POINT{5, 6});
  EXPECT_EQ(menu->GetPopupPoint().x, expected.x);
  EXPECT_EQ(menu->GetPopupPoint().y, expected.y);
  // From the keyboard (no point) the menu opens at the control's corner.
  EXPECT_EQ(control->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)), 1);
  ASSERT_EQ(popups.size(), 2u);
  POINT corner = control->ClientToScreen(POINT{0, 0});
  EXPECT_EQ(menu->GetPopupPoint().x, corner.x);
  EXPECT_EQ(menu->GetPopupPoint().y, corner.y);
}

TEST_F(MenuPopupTest, WithoutAutoPopupTheMenuStaysClosed) {
  menu->OnPopup = TNotifyEvent(static_cast<MenuPopupTest*>(this), &MenuPopupTest::Popped);
  menu->SetAutoPopup(false);
  EXPECT_FALSE(ControlsHooks().PopupMenuPopup(menu, control, POINT{0, 0}));
  EXPECT_EQ(ContextMenuAt(POINT{5, 6}), 0);
  EXPECT_TRUE(popups.empty());
  EXPECT_EQ(menu->GetPopupComponent(), nullptr);
}

TEST_F(MenuPopupTest, PopupComponentIsForgottenWhenItGoes) {
  TComponent* other = New<TComponent>(nullptr);
  menu->SetPopupComponent(other);
  other->Free();
  EXPECT_EQ(menu->GetPopupComponent(), nullptr);
}

TEST_F(MenuPopupTest, TrackFlagsFollowAlignmentButtonAndAnimation) {
  EXPECT_EQ(menu->GetTrackFlags(), UINT(TPM_LEFTALIGN | TPM_RIGHTBUTTON));
  menu->SetAlignment(paRight);
  menu->SetTrackButton(tbLeftButton);
  menu->SetMenuAnimation({maTopToBottom, maNone});
  EXPECT_EQ(menu->GetTrackFlags(), UINT(TPM_RIGHTALIGN | TPM_LEFTBUTTON | TPM_VERPOSANIMATION | TPM_NOANIMATION));
}

TEST_F(MenuPopupTest, MenuSelectSetsTheApplicationHint) {
  std::vector<std::string> hints;
  auto saved = MenusHooks().SetApplicationHint;
  MenusHooks().SetApplicationHint = [&](const std::string& h) { hints.push_back(h); };
  item->SetHint("Undo|Takes back the last change");
  TMenuItem* sub = New<TMenuItem>(control);
  sub->SetCaption("More");
  sub->SetHint("More things");
  menu->GetItems()->Add(sub);
  sub->Add(New<TMenuItem>(control));
  HWND w = PopupList()->GetWindow();
  HMENU h = menu->GetHandle();
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(item->GetCommand(), MF_STRING), reinterpret_cast<LPARAM>(h));
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(1, MF_POPUP), reinterpret_cast<LPARAM>(h));  // "More" by position
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);                                // the menu closed
  MenusHooks().SetApplicationHint = saved;
  ASSERT_EQ(hints.size(), 3u);
  EXPECT_EQ(hints[0], "Takes back the last change");
  EXPECT_EQ(hints[1], "More things");
  EXPECT_EQ(hints[2], "");
}

// Owner drawing through the pop-up list's window, as TrackPopupMenu asks for
// it: WM_MEASUREITEM and WM_DRAWITEM of ODT_MENU items.
TEST_F(MenuPopupTest, OwnerDrawnItemsAreMeasuredAndDrawn) {
  menu->SetOwnerDraw(true);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(menu->GetHandle(), 0, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);

  HWND w = PopupList()->GetWindow();
  MEASUREITEMSTRUCT ms{};
  ms.CtlType = ODT_MENU;
  ms.itemID = item->GetCommand();
  ms.itemHeight = 18;
  item->OnMeasureItem = TMenuMeasureItemEvent(static_cast<MenuPopupTest*>(this), &MenuPopupTest::Measured);
  EXPECT_EQ(SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&ms)), TRUE);
  // The caption's width plus the item's margins, handed to OnMeasureItem.
  EXPECT_GT(measured, 0);
  EXPECT_EQ(static_cast<int>(ms.itemWidth), measured);
  EXPECT_EQ(ms.itemHeight, 18u + 3u);

  // A selected item is filled with the highlight colour, another with the
  // menu colour.
  TDib dib(120, 22, RGB(1, 2, 3));
  DRAWITEMSTRUCT ds{};
  ds.CtlType = ODT_MENU;
  ds.itemID = item->GetCommand();
  ds.itemState = ODS_SELECTED;
  ds.hDC = dib.DC();
  ds.rcItem = RECT{0, 0, 120, 22};
  EXPECT_EQ(SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&ds)), TRUE);
  EXPECT_EQ(dib.Pixel(118, 1), static_cast<COLORREF>(ColorToRGB(clHighlight)));
  ds.itemState = 0;
  SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&ds));
  EXPECT_EQ(dib.Pixel(118, 1), static_cast<COLORREF>(ColorToRGB(clMenu)));
}

}  // namespace
