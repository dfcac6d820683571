// The toolbar customisation dialog: its stored form, how it fills itself
// from a toolbar, where it stands, how it draws its items, and driven with
// the real mouse and keyboard: hiding and showing controls, moving them by
// button and by dragging, picking a text option, closing the modal dialog
// that Customize opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kx/controls/KxButton.h"
#include "kx/controls/KxCmboBx.h"
#include "kx/controls/KxPanel.h"
#include "kx/controls/KxToolbarForm.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxLabel.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;
using namespace forms_test;

namespace {

std::string StoredText() {
  Owned<TResourceStream> s(New<TResourceStream>(GetModuleHandleA(nullptr), "TKXFRMCUSTOMIZETOOLBAR", RT_RCDATA));
  return std::string(static_cast<const char*>(s->GetMemory()), static_cast<size_t>(s->GetSize()));
}

std::string Flat(const std::string& s) { return StringReplace(s, "\r", "", {rfReplaceAll}); }

// A toolbar on a form of its own with a tool button "Open", a tool button
// without caption but with a hint, a spacer, a panel with a hint and a
// panel with neither.
class KxToolbarFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.reset(New<TForm>(nullptr, 0));
    host->SetBounds(50, 60, 400, 200);
    toolbar = New<TKxToolbar>(host.get());
    toolbar->SetName("Bar");
    toolbar->SetParent(host.get());
    toolbar->HandleNeeded();
  }
  template <class T>
  T* Add(const char* name) {
    auto* c = New<T>(host.get());
    c->SetName(name);
    c->SetParent(toolbar);
    return c;
  }
  void AddFive() {
    Add<TKxToolButton>("Open")->SetCaption("Open");
    Add<TKxToolButton>("Save")->SetHint("Save it");
    Add<TKxSpacer>("Gap");
    Add<TPanel>("Box")->SetHint("A box");
    Add<TPanel>("Plain")->SetCaption("");
  }
  TKxFrmCustomizeToolbar* MakeDialog(bool showTextOptions = true) {
    dialog.reset(New<TKxFrmCustomizeToolbar>(Application));
    dialog->SetOwnerComponent(host.get());
    dialog->SetToolbar(toolbar);
    dialog->UpdateControls(toolbar->GetCustomizeCaptions(), showTextOptions);
    return dialog.get();
  }
  Lines Items() { return LinesOf(dialog->LstControls->GetItems()); }
  Lines Order() {
    Lines names;
    for (int i = 0; i < toolbar->GetToolbarControls()->GetCount(); ++i)
      names.push_back(toolbar->GetToolbarControls()->GetControl(i)->GetName());
    return names;
  }

  Owned<TForm> host;
  TKxToolbar* toolbar = nullptr;
  Owned<TKxFrmCustomizeToolbar> dialog;
};

TEST_F(KxToolbarFormTest, TheStoredFormIsReadWhole) {
  {
    // Written back as it was stored (before it is filled).
    Owned<TKxFrmCustomizeToolbar> fresh(New<TKxFrmCustomizeToolbar>(Application));
    // The drop-down's item height is its window's.
    fresh->CbxTextOptions->HandleNeeded();
    EXPECT_EQ(Flat(WriteForm(fresh.get())), Flat(StoredText()));
  }
  MakeDialog();
  ASSERT_NE(dialog->LstControls, nullptr);
  EXPECT_EQ(dialog->GetClientWidth(), 337);
  EXPECT_EQ(dialog->GetBorderStyle(), bsDialog);
  EXPECT_EQ(dialog->LstControls->GetItemHeight(), 20);
  EXPECT_EQ(dialog->LstControls->GetDragMode(), dmAutomatic);
  EXPECT_EQ(dialog->BtnClose->GetModalResult(), mrOk);
  EXPECT_FALSE(dialog->Timer1->GetEnabled());
  EXPECT_EQ(dialog->Timer1->GetInterval(), 100u);
  for (TSpeedButton* b : {dialog->BtnSpacer, dialog->BtnGrooveSpacer}) {
    EXPECT_EQ(b->GetGlyph()->GetWidth(), 32);
    EXPECT_EQ(b->GetGlyph()->GetHeight(), 16);
    EXPECT_EQ(b->GetNumGlyphs(), 2);
    EXPECT_FALSE(b->GetVisible());
  }
}

TEST_F(KxToolbarFormTest, ItFillsItselfFromTheToolbar) {
  AddFive();
  toolbar->GetToolbarControls()->Move(4, 0);
  host->FindComponent("Gap")->Free();
  dynamic_cast<TControl*>(host->FindComponent("Box"))->SetVisible(false);
  toolbar->SetTextOptions(ttoSelectiveTextOnRight);
  toolbar->GetCustomizeCaptions()->SetCaption(7, "Icons only");
  MakeDialog();
  EXPECT_EQ(Items(), (Lines{"Plain", "Open", "Save it", "A box"}));
  std::vector<bool> checked;
  for (int i = 0; i < 4; ++i) checked.push_back(dialog->LstControls->GetItemChecked(i));
  EXPECT_EQ(checked, (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(dialog->LstControls->GetItemIndex(), 0);
  EXPECT_FALSE(dialog->BtnMoveUp->GetEnabled());
  EXPECT_TRUE(dialog->BtnMoveDown->GetEnabled());
  EXPECT_EQ(LinesOf(dialog->CbxTextOptions->GetItems()),
            (Lines{"Icons only", "Show text labels", "Selective text on right"}));
  EXPECT_EQ(dialog->CbxTextOptions->GetItemIndex(), 2);
  EXPECT_EQ(dialog->GetCaption(), "Customize Toolbar");
  EXPECT_EQ(dialog->LblHint->GetCaption(), "Uncheck to hide control");

  Add<TKxSpacer>("Gap2");
  toolbar->SetButtonWidth(33);
  MakeDialog(false);
  EXPECT_EQ(Items().back(), "Spacer");
  EXPECT_EQ(dialog->CbxTextOptions->GetItemIndex(), -1) << "custom options select nothing";
  EXPECT_FALSE(dialog->CbxTextOptions->GetVisible());
  EXPECT_FALSE(dialog->LblTextOptions->GetVisible());
  EXPECT_EQ(dialog->GetClientHeight(), 24 + 205 + 8);
}

TEST_F(KxToolbarFormTest, AnEmptyToolbarGivesAnEmptyListAndNoMoves) {
  MakeDialog();
  EXPECT_EQ(dialog->LstControls->GetItems()->GetCount(), 0);
  EXPECT_FALSE(dialog->BtnMoveUp->GetEnabled());
  EXPECT_FALSE(dialog->BtnMoveDown->GetEnabled());
  dialog->BtnMoveUpClick(nullptr);
  dialog->BtnMoveDownClick(nullptr);
}

TEST_F(KxToolbarFormTest, ItStandsBesideTheToolbarInsideTheWorkArea) {
  MakeDialog();
  const int w = dialog->GetWidth(), h = dialog->GetHeight();
  // The corner beside the toolbar by its alignment, 15 right and 25 down,
  // in the host's client coordinates turned to the screen.
  struct Case {
    TAlign Align;
    int Left, Top, Width, Height;
  } cases[] = {{alNone, 10, 20, 100, 30}, {alTop, 0, 0, 0, 0}, {alBottom, 0, 0, 0, 0},
               {alLeft, 0, 0, 0, 0}, {alRight, 0, 0, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Align);
    toolbar->SetAlign(c.Align);
    if (c.Align == alNone) toolbar->SetBounds(c.Left, c.Top, c.Width, c.Height);
    dialog->Reposition();
    const TRect b = toolbar->GetBoundsRect();
    POINT corner{b.left, b.bottom};
    if (c.Align == alBottom) corner = POINT{b.left, b.top - h - 5};
    if (c.Align == alLeft) corner = POINT{b.right, b.top};
    if (c.Align == alRight) corner = POINT{b.left - w - 5, b.top};
    POINT screen = host->ClientToScreen(corner);
    EXPECT_EQ(dialog->GetLeft(), std::max<int>(0, screen.x + 15));
    EXPECT_EQ(dialog->GetTop(), std::max<int>(0, screen.y + 25));
  }
  // Near the screen's right and bottom edges it is pulled back inside.
  toolbar->SetAlign(alNone);
  host->SetBounds(GetSystemMetrics(SM_CXSCREEN) - 100, GetSystemMetrics(SM_CYSCREEN) - 80, 400, 200);
  toolbar->SetBounds(10, 10, 100, 30);
  dialog->Reposition();
  const TRect desktop = GetDesktopClientRect();
  EXPECT_EQ(dialog->GetLeft() + w, desktop.right);
  EXPECT_EQ(dialog->GetTop() + h, desktop.bottom);
  // Without a toolbar or owner nothing moves.
  dialog->SetLeft(7);
  dialog->SetOwnerComponent(nullptr);
  dialog->Reposition();
  EXPECT_EQ(dialog->GetLeft(), 7);
}

TEST_F(KxToolbarFormTest, ItemsShowTheControlsImageAndTextAtTheirPlaces) {
  auto* images = New<TCustomImageList>(host.get(), 16, 16);
  images->Add(SolidGlyph(16, 16, clBlue, clBlue).get(), nullptr);
  toolbar->SetImages(images);
  auto* open = Add<TKxToolButton>("Open");
  open->SetCaption("Open");
  open->SetImageIndex(0);
  Add<TKxSpacer>("Gap")->SetGrooved(true);
  MakeDialog();
  TKxCheckList* lst = dialog->LstControls;
  lst->HandleNeeded();
  TDib dib(lst->GetWidth(), lst->GetHeight(), 0x00FF00);
  lst->SetItemIndex(-1);
  PaintControl(lst, dib);
  TRect item0 = lst->ItemRect(0);
  TRect blue = ColourBox(dib, ColorToRGB(clBlue), TRect{0, 0, lst->GetWidth(), 20});
  ASSERT_FALSE(IsRectEmpty(&blue));
  EXPECT_EQ(blue.top, item0.top + 2);
  EXPECT_EQ(blue.bottom - blue.top, 16);
  // Text from 30 pixels into the item's drawing area onwards.
  TRect ink = ColourBox(dib, ColorToRGB(clWindowText), TRect{blue.right, item0.top, lst->GetWidth(), item0.bottom});
  ASSERT_FALSE(IsRectEmpty(&ink));
  EXPECT_GE(ink.left, blue.left - 2 + 30);
  EXPECT_LE(ink.left, blue.left - 2 + 32);
  // The grooved spacer's first cell: its groove's light column.
  const TRect second{0, 20, lst->GetWidth(), 40};
  EXPECT_GT(CountColour(dib, RGB(128, 128, 128), TRect{blue.left + 7, 22, blue.left + 8, 36}), 0) << "the groove";
  EXPECT_EQ(CountColour(dib, RGB(128, 128, 0), second), 0) << "the olive background left out";
}

TEST_F(KxToolbarFormTest, DraggingNearAnEdgeScrollsAStepPerTickUntilTheFirstItem) {
  for (int i = 0; i < 15; ++i) Add<TPanel>(("P" + IntToStr(i)).c_str());
  MakeDialog();
  TKxCheckList* lst = dialog->LstControls;
  lst->HandleNeeded();
  const int h = lst->GetHeight();
  bool accept = false;
  dialog->LstControlsDragOver(lst, lst, 50, h - 10, dsDragMove, accept);
  EXPECT_TRUE(accept);
  EXPECT_TRUE(dialog->Timer1->GetEnabled());
  EXPECT_EQ(lst->GetItemIndex(), lst->ItemAtPos(TPoint{50, h - 10}, true)) << "the target is selected";
  dialog->Timer1Timer(nullptr);
  dialog->Timer1Timer(nullptr);
  EXPECT_EQ(lst->GetTopIndex(), 2);
  dialog->LstControlsDragOver(lst, lst, 50, h / 2, dsDragMove, accept);
  EXPECT_FALSE(dialog->Timer1->GetEnabled()) << "away from the edges";
  dialog->LstControlsDragOver(lst, lst, 50, 5, dsDragMove, accept);
  EXPECT_TRUE(dialog->Timer1->GetEnabled());
  for (int tick = 0; tick < 3; ++tick) dialog->Timer1Timer(nullptr);
  EXPECT_EQ(lst->GetTopIndex(), 0);
  EXPECT_FALSE(dialog->Timer1->GetEnabled()) << "stopped at the first item";
  // Only the list's own items are taken.
  dialog->LstControlsDragOver(lst, dialog->BtnClose, 50, 30, dsDragMove, accept);
  EXPECT_FALSE(accept);
}

// --- with the real mouse and keyboard -----------------------------------------------------

class SerialKxToolbarForm : public KxToolbarFormTest {
 protected:
  void SetUp() override {
    KxToolbarFormTest::SetUp();
    for (const char* name : {"Open", "Save", "Print"}) Add<TKxToolButton>(name)->SetCaption(name);
    Add<TKxSpacer>("Gap");
    host->Show();
    MakeDialog();
    dialog->SetBounds(300, 100, dialog->GetWidth(), dialog->GetHeight());
    dialog->Show();
    SetForegroundWindow(dialog->GetHandle());
    dialog->LstControls->SetFocus();
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(3);
    // Before the fresh application (the dialog's owner) goes.
    dialog.reset();
    host.reset();
  }
  POINT InList(int x, int y) { return dialog->LstControls->ClientToScreen(POINT{x, y}); }
  POINT Centre(TControl* c) { return c->ClientToScreen(POINT{c->GetWidth() / 2, c->GetHeight() / 2}); }
  void Key(WORD vk) {
    TypeKey(vk);
    PumpApplication(3);
  }
  TControl* Control(const char* name) { return dynamic_cast<TControl*>(host->FindComponent(name)); }

  TFreshApplication app;
};

TEST_F(SerialKxToolbarForm, TheMouseHidesShowsAndReordersTheControls) {
  TKxCheckList* lst = dialog->LstControls;
  // The box of item 1: in front of the text, a glyph's width and 4 pixels.
  TRect item1 = lst->ItemRect(1);
  POINT box = InList(item1.left + 10, item1.top + 10);
  const int printLeft = Control("Print")->GetLeft();
  RealClick(box);
  EXPECT_FALSE(Control("Save")->GetVisible());
  EXPECT_FALSE(lst->GetItemChecked(1));
  EXPECT_LT(Control("Print")->GetLeft(), printLeft) << "the rest move up";
  RealClick(box);
  EXPECT_TRUE(Control("Save")->GetVisible());
  EXPECT_EQ(Control("Print")->GetLeft(), printLeft);

  // The last item selected: only Move Up; Move Up swaps it with the spacer.
  RealClick(InList(120, lst->ItemRect(3).top + 10));
  EXPECT_EQ(lst->GetItemIndex(), 3);
  EXPECT_TRUE(dialog->BtnMoveUp->GetEnabled());
  EXPECT_FALSE(dialog->BtnMoveDown->GetEnabled());
  RealClick(Centre(dialog->BtnMoveUp));
  EXPECT_EQ(Order(), (Lines{"Open", "Save", "Gap", "Print"}));
  EXPECT_EQ(Items(), (Lines{"Open", "Save", "Spacer", "Print"}));
  EXPECT_EQ(lst->GetItemIndex(), 2);
  EXPECT_TRUE(dialog->BtnMoveDown->GetEnabled());
  EXPECT_LT(Control("Gap")->GetLeft(), Control("Print")->GetLeft()) << "laid out again";

  // Open dragged onto the third item goes there.
  RealDrag(InList(120, lst->ItemRect(0).top + 10), InList(120, lst->ItemRect(2).top + 10));
  EXPECT_EQ(Order(), (Lines{"Save", "Gap", "Open", "Print"}));
  EXPECT_EQ(Items(), (Lines{"Save", "Spacer", "Open", "Print"}));
  EXPECT_EQ(lst->GetItemIndex(), 2);
  EXPECT_LT(Control("Gap")->GetLeft(), Control("Open")->GetLeft());
  EXPECT_TRUE(lst->GetItemChecked(2)) << "the check state travels with the item";

  // Dropped below the last item: refused, nothing moves.
  RealDrag(InList(120, lst->ItemRect(0).top + 10), InList(120, lst->ItemRect(3).bottom + 30));
  EXPECT_EQ(Order(), (Lines{"Save", "Gap", "Open", "Print"}));
  EXPECT_FALSE(dialog->Timer1->GetEnabled()) << "the drag's scrolling ends with it";
}

TEST_F(SerialKxToolbarForm, TheKeyboardHidesMovesAndPicksATextOption) {
  TKxCheckList* lst = dialog->LstControls;
  ASSERT_TRUE(lst->Focused());
  Key(VK_DOWN);
  EXPECT_EQ(lst->GetItemIndex(), 1);
  EXPECT_TRUE(dialog->BtnMoveUp->GetEnabled());
  Key(VK_SPACE);
  EXPECT_FALSE(Control("Save")->GetVisible());
  EXPECT_FALSE(lst->GetItemChecked(1));

  // Tab order: list, text options, Close, Move Up. The next text option
  // applies at once.
  Key(VK_TAB);
  ASSERT_TRUE(dialog->CbxTextOptions->Focused());
  EXPECT_EQ(dialog->CbxTextOptions->GetItemIndex(), 0);
  Key(VK_DOWN);
  EXPECT_EQ(toolbar->GetTextOptions(), ttoShowTextLabels);
  EXPECT_EQ(dynamic_cast<TKxToolButton*>(Control("Open"))->GetHeight(), 40);

  Key(VK_TAB);
  Key(VK_TAB);
  ASSERT_TRUE(dialog->BtnMoveUp->Focused());
  Key(VK_SPACE);
  EXPECT_EQ(Order(), (Lines{"Save", "Open", "Print", "Gap"}));
  EXPECT_FALSE(lst->GetItemChecked(0)) << "hidden, and still so in its new place";
  EXPECT_FALSE(dialog->BtnMoveUp->GetEnabled()) << "at the top";
  EXPECT_TRUE(dialog->BtnMoveDown->GetEnabled());
}

TEST_F(SerialKxToolbarForm, CustomizeOpensTheDialogModallyAndCloseEndsIt) {
  dialog.reset();
  toolbar->SetAlign(alTop);
  int idles = 0;
  bool clicked = false;
  POINT at{-1, -1};
  Lines seen;
  Application->SetIdleHook([&](bool& done) {
    done = false;
    auto* shown = dynamic_cast<TKxFrmCustomizeToolbar*>(Screen->GetActiveForm());
    if (++idles > 300) {
      // A safety net: the click never arrived.
      if (shown) shown->SetModalResult(mrCancel);
      return;
    }
    if (!shown || clicked || !IsWindowVisible(shown->GetHandle())) return;
    at = POINT{shown->GetLeft(), shown->GetTop()};
    seen = LinesOf(shown->LstControls->GetItems());
    POINT p = shown->BtnClose->ClientToScreen(POINT{20, 12});
    MoveMouseTo(p);
    LeftButton(true);
    LeftButton(false);
    clicked = true;
  });
  toolbar->Customize(true);
  Application->SetIdleHook(nullptr);
  EXPECT_TRUE(clicked);
  EXPECT_LE(idles, 300) << "closed by its Close button";
  EXPECT_EQ(seen, (Lines{"Open", "Save", "Print", "Spacer"}));
  POINT corner = host->ClientToScreen(POINT{0, toolbar->GetHeight()});
  EXPECT_EQ(at.x, corner.x + 15);
  EXPECT_EQ(at.y, corner.y + 25);
}

}  // namespace
