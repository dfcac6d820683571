// Docking with the real mouse: panels dragged onto a dock site are laid out
// by its dock tree, dragged off by their grabbers they float in a host of
// their own, and dragged back by that host's caption they dock again; the
// docking events come in the platform's order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

const char* StateName(TDragState s) {
  switch (s) {
    case dsDragEnter: return "enter";
    case dsDragLeave: return "leave";
    default: return "move";
  }
}

// The events of the site and the clients, consecutive repeats folded; the
// site is asked for its information on every move, which counts once a drag.
struct TDockLog {
  std::vector<std::string> Lines;
  bool askedThisDrag = false;
  void Add(const std::string& s) {
    if (s.rfind("start", 0) == 0) askedThisDrag = false;
    if (s == "siteinfo") {
      if (askedThisDrag) return;
      askedThisDrag = true;
    }
    if (Lines.empty() || Lines.back() != s) Lines.push_back(s);
  }
  static std::string NameOf(TObject* o) {
    auto* c = dynamic_cast<TComponent*>(o);
    return !o ? "nil" : c && !c->GetName().empty() ? c->GetName() : std::string(o->ClassName());
  }
  void StartDock(TObject* sender, TObject*&) { Add("start " + NameOf(sender)); }
  void EndDock(TObject* sender, TObject* target, int, int) { Add("end " + NameOf(sender) + " " + NameOf(target)); }
  void GetSiteInfo(TObject*, TControl*, RECT&, POINT, bool&) { Add("siteinfo"); }
  void DockOver(TObject*, TObject*, int, int, TDragState state, bool&) { Add(std::string("over ") + StateName(state)); }
  void DockDrop(TObject*, TObject* source, int, int) {
    Add("drop " + NameOf(static_cast<TDragDockObject*>(source)->GetControl()));
  }
  void UnDock(TObject*, TControl* client, TWinControl* newTarget, bool&) {
    Add("undock " + NameOf(client) + " to " + NameOf(newTarget));
  }
};

class SerialDockingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 500, 300);
    site = New<TPanel>(form.get());
    site->SetName("Site");
    site->SetCaption("");
    site->SetBounds(0, 0, 240, 300);
    site->SetParent(form.get());
    site->SetDockSite(true);
    site->OnGetSiteInfo = TGetSiteInfoEvent(&log, &TDockLog::GetSiteInfo);
    site->OnDockOver = TDockOverEvent(&log, &TDockLog::DockOver);
    site->OnDockDrop = TDockDropEvent(&log, &TDockLog::DockDrop);
    site->OnUnDock = TUnDockEvent(&log, &TDockLog::UnDock);
    one = MakeClient("One", 300, 20);
    two = MakeClient("Two", 300, 160);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(3);
  }
  TPanel* MakeClient(const char* name, int left, int top) {
    auto* p = New<TPanel>(form.get());
    p->SetName(name);
    p->SetCaption(name);
    p->SetBounds(left, top, 120, 80);
    p->SetParent(form.get());
    p->SetDragKind(dkDock);
    p->SetDragMode(dmAutomatic);
    p->OnStartDock = TStartDragEvent(&log, &TDockLog::StartDock);
    p->OnEndDock = TEndDragEvent(&log, &TDockLog::EndDock);
    return p;
  }
  // Press at from, move there in steps, release: as a user drags.
  void Drag(POINT from, POINT to) {
    MoveMouseTo(from);
    PumpApplication(3);
    LeftButton(true);
    PumpApplication(3);
    for (int i = 1; i <= 4; ++i) {
      MoveMouseTo(POINT{from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4});
      PumpApplication(3);
    }
    LeftButton(false);
    PumpApplication(5);
  }
  POINT Centre(TControl* c) { return c->ClientToScreen(POINT{c->GetWidth() / 2, c->GetHeight() / 2}); }
  RECT Zone(TControl* c) {
    RECT r{};
    site->GetDockManager()->GetControlBounds(c, r);
    return r;
  }

  TFreshApplication app;
  Owned<TForm> form;
  TPanel* site = nullptr;
  TPanel* one = nullptr;
  TPanel* two = nullptr;
  TDockLog log;
};

TEST_F(SerialDockingTest, DockLayOutFloatAndDockAgain) {
  ASSERT_NE(site->GetDockManager(), nullptr);
  auto* tree = dynamic_cast<TDockTree*>(site->GetDockManager());
  ASSERT_NE(tree, nullptr);
  int grabber = tree->GetGrabberSize();
  RECT siteClient = site->GetClientRect();
  site->AdjustClientRect(siteClient);

  // 1. One dragged onto the site docks there and fills it under a grabber.
  Drag(Centre(one), site->ClientToScreen(POINT{120, 150}));
  EXPECT_EQ(one->GetParent(), site);
  EXPECT_EQ(one->GetHostDockSite(), site);
  ASSERT_EQ(site->GetDockClientCount(), 1);
  RECT oneZone = Zone(one);
  EXPECT_TRUE(EqualRect(&siteClient, &oneZone));
  EXPECT_EQ(one->GetLeft(), siteClient.left);
  EXPECT_EQ(one->GetTop(), siteClient.top + grabber);
  EXPECT_EQ(one->GetWidth(), siteClient.right - siteClient.left);
  EXPECT_EQ(one->GetHeight(), siteClient.bottom - siteClient.top - grabber);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"start One", "siteinfo", "over enter", "over move", "over leave",
                                                 "drop One", "end One Site"}));
  log.Lines.clear();

  // 2. Two dropped near One's right edge docks beside it, on the right.
  Drag(Centre(two), one->ClientToScreen(POINT{one->GetWidth() - 10, one->GetHeight() / 2}));
  ASSERT_EQ(two->GetHostDockSite(), site);
  EXPECT_EQ(site->GetDockClientCount(), 2);
  int half = siteClient.left + (siteClient.right - siteClient.left) / 2;
  EXPECT_EQ(one->GetLeft(), siteClient.left);
  EXPECT_EQ(one->GetLeft() + one->GetWidth(), half);
  EXPECT_EQ(two->GetLeft(), half);
  EXPECT_EQ(two->GetLeft() + two->GetWidth(), siteClient.right);
  EXPECT_EQ(two->GetTop(), one->GetTop());
  log.Lines.clear();

  // 3. One dragged off by its grabber floats in a host of its own; Two
  //    takes the whole site.
  int formsBefore = Screen->GetCustomFormCount();
  RECT zone = Zone(one);
  POINT grab = site->ClientToScreen(POINT{zone.left + 20, zone.top + grabber / 2});
  Drag(grab, form->ClientToScreen(POINT{400, 250}));
  ASSERT_NE(one->GetParent(), site);
  auto* host = dynamic_cast<TCustomDockForm*>(one->GetParent());
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(one->GetFloating());
  EXPECT_EQ(one->GetHostDockSite(), host);
  EXPECT_TRUE(IsWindowVisible(host->GetHandle()));
  EXPECT_EQ(one->GetAlign(), alClient);
  EXPECT_EQ(host->GetClientWidth(), 120);  // the size One had before it docked
  EXPECT_EQ(host->GetClientHeight(), 80);
  EXPECT_EQ(Screen->GetCustomFormCount(), formsBefore + 1);
  EXPECT_EQ(site->GetDockClientCount(), 1);
  EXPECT_EQ(two->GetLeft(), siteClient.left);
  EXPECT_EQ(two->GetWidth(), siteClient.right - siteClient.left);
  EXPECT_EQ(log.Lines, (std::vector<std::string>{"start One", "siteinfo", "over enter", "over move", "over leave",
                                                 "undock One to nil", "end One nil"}));
  log.Lines.clear();

  // 4. The host's caption dragged onto the site's left edge docks One again,
  //    left of Two; the empty host goes.
  RECT window{};
  GetWindowRect(host->GetHandle(), &window);
  POINT caption{(window.left + window.right) / 2, window.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1};
  Drag(caption, two->ClientToScreen(POINT{8, two->GetHeight() / 2}));
  EXPECT_EQ(one->GetParent(), site);
  EXPECT_EQ(one->GetHostDockSite(), site);
  EXPECT_FALSE(one->GetFloating());
  EXPECT_EQ(one->GetAlign(), alNone);
  EXPECT_EQ(one->GetLeft(), siteClient.left);
  EXPECT_EQ(two->GetLeft(), one->GetLeft() + one->GetWidth());
  PumpApplication(5);
  EXPECT_EQ(Screen->GetCustomFormCount(), formsBefore);
  ASSERT_FALSE(log.Lines.empty());
  EXPECT_EQ(log.Lines.front(), "start One");
  EXPECT_EQ(log.Lines.back(), "end One Site");
  EXPECT_NE(std::find(log.Lines.begin(), log.Lines.end(), "drop One"), log.Lines.end());
}

TEST_F(SerialDockingTest, AnUnDockHandlerKeepsTheControlAndEscapeCancels) {
  one->ManualDock(site);
  ASSERT_EQ(one->GetHostDockSite(), site);
  struct TKeep {
    void UnDock(TObject*, TControl*, TWinControl*, bool& allow) { allow = false; }
  } keep;
  site->OnUnDock = TUnDockEvent(&keep, &TKeep::UnDock);
  RECT zone = Zone(one);
  POINT grab = site->ClientToScreen(POINT{zone.left + 20, zone.top + 4});
  Drag(grab, form->ClientToScreen(POINT{420, 250}));
  EXPECT_EQ(one->GetParent(), site);
  EXPECT_EQ(one->GetHostDockSite(), site);
  // Escape during a drag: nothing moves.
  site->OnUnDock = nullptr;
  log.Lines.clear();
  MoveMouseTo(Centre(two));
  PumpApplication(3);
  LeftButton(true);
  PumpApplication(3);
  MoveMouseTo(site->ClientToScreen(POINT{100, 100}));
  PumpApplication(3);
  TypeKey(VK_ESCAPE);
  PumpApplication(3);
  LeftButton(false);
  PumpApplication(3);
  EXPECT_EQ(two->GetParent(), form.get());
  EXPECT_EQ(two->GetHostDockSite(), nullptr);
  ASSERT_FALSE(log.Lines.empty());
  EXPECT_EQ(log.Lines.back(), "end Two nil");
}

}  // namespace

namespace {

TEST(DockTreeTest, ManualDocksStackSplitAndCloseButtonsHide) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 400, 300);
  auto* site = New<TPanel>(form.get());
  site->SetBevelOuter(bvNone);
  site->SetBounds(0, 0, 200, 200);
  site->SetParent(form.get());
  site->SetDockSite(true);
  site->HandleNeeded();
  std::vector<TPanel*> p;
  for (int i = 0; i < 3; ++i) {
    p.push_back(New<TPanel>(form.get()));
    p[static_cast<size_t>(i)]->SetBounds(0, 0, 50, 50);
    p[static_cast<size_t>(i)]->SetParent(form.get());
  }
  ASSERT_TRUE(p[0]->ManualDock(site));
  ASSERT_TRUE(p[1]->ManualDock(site, p[0], alBottom));  // below
  ASSERT_TRUE(p[2]->ManualDock(site, p[1], alRight));   // beside the lower one
  auto* tree = static_cast<TDockTree*>(site->GetDockManager());
  int g = tree->GetGrabberSize();
  struct Case {
    int index;
    RECT zone;
  };
  for (Case c : {Case{0, {0, 0, 200, 100}}, Case{1, {0, 100, 100, 200}}, Case{2, {100, 100, 200, 200}}}) {
    SCOPED_TRACE(c.index);
    RECT z{};
    tree->GetControlBounds(p[static_cast<size_t>(c.index)], z);
    EXPECT_TRUE(EqualRect(&z, &c.zone));
    TPanel* panel = p[static_cast<size_t>(c.index)];
    EXPECT_EQ(panel->GetBoundsRect().top, c.zone.top + g);
    EXPECT_EQ(panel->GetBoundsRect().left, c.zone.left);
  }
  // The grabbers are painted over the zones: the close button's frame.
  controls_test::TDib dib(200, 200, RGB(1, 2, 3));
  tree->PaintSite(dib.DC());
  RECT close = tree->CloseButtonRect(RECT{0, 0, 200, 100});
  EXPECT_NE(dib.Pixel(close.left + 1, close.top + 1), RGB(1, 2, 3));
  EXPECT_EQ(dib.Pixel(100, 50), RGB(1, 2, 3));  // the control's area is not the manager's
  // A press on the lower left close button hides that control; its
  // neighbour takes the row.
  RECT lowClose = tree->CloseButtonRect(RECT{0, 100, 100, 200});
  SendMessageA(site->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(lowClose.left + 2, lowClose.top + 2));
  EXPECT_FALSE(p[1]->GetVisible());
  EXPECT_EQ(p[2]->GetLeft(), 0);
  EXPECT_EQ(p[2]->GetWidth(), 200);
  // A docked control freed leaves the tree; the site closes up.
  p[0]->Free();
  EXPECT_EQ(site->GetDockClientCount(), 2);
  EXPECT_EQ(p[2]->GetTop(), g);
  EXPECT_EQ(p[2]->GetHeight(), 200 - g);
}

}  // namespace
