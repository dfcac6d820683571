// A parent hands the notifications of its child windows back to them as CN_*.
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

class WinControlReflectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    parent = MakeContainer(host.Handle(), 200, 100);
    child = New<TProbeControl>(parent);
    child->SetBounds(10, 10, 50, 30);
    child->SetParent(parent);
  }
  void TearDown() override { parent->Free(); }
  THostWindow host;
  TProbeControl* parent = nullptr;
  TProbeControl* child = nullptr;
};

TEST_F(WinControlReflectionTest, NotificationsReachTheChildAsCNMessages) {
  HWND ch = child->GetHandle();
  UINT id = static_cast<UINT>(GetWindowLongPtrA(ch, GWLP_ID));
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_BUTTON;
  draw.hwndItem = ch;
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_LISTBOX;
  measure.CtlID = id;
  DELETEITEMSTRUCT del{};
  del.hwndItem = ch;
  COMPAREITEMSTRUCT cmp{};
  cmp.hwndItem = ch;
  NMHDR hdr{};
  hdr.hwndFrom = ch;
  LPARAM chl = reinterpret_cast<LPARAM>(ch);
  struct Case {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), chl},
      {WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr)},
      {WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)},
      {WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)},
      {WM_DELETEITEM, 0, reinterpret_cast<LPARAM>(&del)},
      {WM_COMPAREITEM, 0, reinterpret_cast<LPARAM>(&cmp)},
      {WM_HSCROLL, SB_LINEDOWN, chl},
      {WM_VSCROLL, SB_LINEUP, chl},
      {WM_CHARTOITEM, 'a', chl},
      {WM_VKEYTOITEM, VK_DOWN, chl},
      {WM_CTLCOLORMSGBOX, 0, chl},
      {WM_CTLCOLOREDIT, 0, chl},
      {WM_CTLCOLORLISTBOX, 0, chl},
      {WM_CTLCOLORBTN, 0, chl},
      {WM_CTLCOLORDLG, 0, chl},
      {WM_CTLCOLORSCROLLBAR, 0, chl},
      {WM_CTLCOLORSTATIC, 0, chl},
  };
  child->OnMessage = [](TProbeControl*, TMessage& m) {
    if (m.Msg < CN_BASE || m.Msg >= CN_BASE + 0x400) return false;
    m.Result = static_cast<LRESULT>(m.Msg);  // echo, to see the result travel back
    return true;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.msg);
    child->Seen.clear();
    LRESULT r = SendMessageA(parent->GetHandle(), c.msg, c.wParam, c.lParam);
    EXPECT_TRUE(child->SawMessage(CN_BASE + c.msg));
    EXPECT_EQ(r, static_cast<LRESULT>(CN_BASE + c.msg));
  }
}

// A real owner-drawn BUTTON asks its parent to draw it; the request reaches
// the button as CN_DRAWITEM with the button's DC.
class TOwnerDrawButton : public TProbeControl {
  DECLARE_CLASS(TOwnerDrawButton, TProbeControl)
  explicit TOwnerDrawButton(TComponent* owner) : TProbeControl(owner) {}
  void CreateParams(TCreateParams& p) override {
    inherited::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= BS_OWNERDRAW;
  }
};
IMPLEMENT_CLASS(TOwnerDrawButton)

TEST_F(WinControlReflectionTest, AnOwnerDrawnButtonDrawsItselfThroughCNDrawItem) {
  auto* button = New<TOwnerDrawButton>(parent);
  button->SetBounds(70, 10, 60, 25);
  HWND seenItem = nullptr;
  button->OnMessage = [&](TProbeControl* self, TMessage& m) {
    if (m.Msg != CN_DRAWITEM) return false;
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    seenItem = d->hwndItem;
    EXPECT_EQ(WindowFromDC(d->hDC), self->GetWindowHandle());
    m.Result = TRUE;
    return true;
  };
  host.Show();
  button->SetParent(parent);
  HWND h = button->GetHandle();
  EXPECT_NE(button->GetDefWndProc(), &DefWindowProcA);  // the BUTTON class's procedure
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  EXPECT_EQ(seenItem, h);
  EXPECT_FALSE(parent->SawMessage(CN_DRAWITEM));
}

}  // namespace
