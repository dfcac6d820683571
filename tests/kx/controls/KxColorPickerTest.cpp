// The colour picker: the colour-name table, selection by colour, the cells
// drawn and the cells a click selects (one geometry), the special rows,
// automatic size, the colour dialog, themes, hints.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Dialogs.h"
#include "classlib/graphics/Resources.h"
#include "kx/controls/KxColorPicker.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

TEST(KxColorNames, TheTableHoldsSeventyNamedColoursFromTheStringTable) {
  struct Case {
    int Index;
    uint32_t Value;
    const char* Name;
  };
  for (Case c : {Case{0, 0x00000000, "Black"}, Case{16, 0x000000FF, "Red"}, Case{39, 0x00FFFFFF, "White"},
                 Case{40, 0x80000000, "Scroll Bar"}, Case{53, 0x8000000D, "Highlight"},
                 Case{64, 0x80000018, "Info Background"}, Case{65, 0x8000001A, "Hot Light"},
                 Case{69, 0x8000001E, "Menu Bar"}}) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(static_cast<uint32_t>(KxColorNames(c.Index).Value), c.Value);
    EXPECT_EQ(KxColorNames(c.Index).Name, c.Name);
  }
  for (int i = 0; i < KxColorNameCount; ++i) {
    EXPECT_FALSE(KxColorNames(i).Name.empty()) << i;
    EXPECT_NE(static_cast<uint32_t>(KxColorNames(i).Value), 0x80000019u);
  }
  EXPECT_EQ(LoadStr(SKxDefaultColor), "Default");
  EXPECT_EQ(LoadStr(SKxNoColor), "None");
  EXPECT_EQ(LoadStr(SKxMoreColors), "More Colors...");
}

class KxColorPickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picker = host.Add<TKxColorPicker>(10, 10, 10, 10);
    picker->OnChange = changes.Event();
    picker->OnClick = clicks.Event();
  }
  void Click(POINT p) {
    host.Panel()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10 + p.x, 10 + p.y));
    host.Panel()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(10 + p.x, 10 + p.y));
  }
  static POINT Centre(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  TControlHost host;
  TKxColorPicker* picker = nullptr;
  TEventCounter changes, clicks;
};

TEST_F(KxColorPickerTest, SelectingByColour) {
  struct Case {
    const char* Name;
    bool ShowDefault, ShowSystem;
    TColor Colour;
    int Index;
  };
  const Case cases[] = {
      {"none", false, false, clNone, cpiNoColor},
      {"highlight as the default", true, true, clHighlight, cpiDefaultColor},
      {"highlight as a system colour", false, true, clHighlight, 53},
      {"red", false, false, static_cast<TColor>(0x000000FF), 16},
      {"red named as the system's", false, false, static_cast<TColor>(0x0000FF), 16},
      {"in no list", false, false, static_cast<TColor>(RGB(1, 2, 3)), cpiCustomColor},
      {"a system colour without the system grid", false, false, clWindowText, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    picker->SetShowDefaultColor(c.ShowDefault);
    picker->SetShowSystemColors(c.ShowSystem);
    picker->SetSelectedColor(c.Colour);
    EXPECT_EQ(picker->GetSelColorIndex(), c.Index);
    if (c.Index == cpiCustomColor) {
      EXPECT_EQ(picker->GetCustomColor(), c.Colour);
      EXPECT_EQ(picker->GetSelectedColor(), c.Colour) << "reads back";
    }
  }
  picker->SetSelectedColor(clNone);
  EXPECT_EQ(picker->GetSelectedColor(), clNone);
}

TEST_F(KxColorPickerTest, TheCustomSwatchIsTakenEveryTimeAGridCellOnce) {
  picker->SetShowCustomColor(true);
  picker->SetSelColorIndex(cpiCustomColor);
  picker->SetSelColorIndex(cpiCustomColor);
  EXPECT_EQ(changes.Count, 2);
  EXPECT_EQ(clicks.Count, 2);
  picker->SetSelColorIndex(12);
  picker->SetSelColorIndex(12);
  EXPECT_EQ(changes.Count, 3);
  EXPECT_EQ(clicks.Count, 2);
}

TEST_F(KxColorPickerTest, AutomaticSizeGrowsWithEachRow) {
  TRect probe{0, 0, 100, 100};
  picker->AdjustClientRect(probe);
  int inset = probe.left;
  int m = picker->Margin();
  EXPECT_EQ(picker->GetWidth(), 144 + 2 * inset);
  EXPECT_EQ(picker->GetHeight(), 90 + 2 * inset);
  int h = picker->GetHeight();
  picker->SetShowSystemColors(true);
  EXPECT_EQ(picker->GetHeight(), h + 80);
  picker->SetShowNoColor(true);
  picker->SetShowDefaultColor(true);
  picker->SetShowCustomColor(true);
  EXPECT_EQ(picker->GetHeight(), h + 80 + 2 * (m + 1) + m);
  EXPECT_EQ(picker->GetWidth(), 144 + 2 * inset) << "the width stays";
}

// Every cell drawn is the cell a click there selects, in every arrangement
// of the rows, themed and classic.
TEST_F(KxColorPickerTest, AClickSelectsTheCellDrawnUnderIt) {
  picker->SetDefaultColor(static_cast<TColor>(RGB(10, 200, 30)));
  picker->SetCustomColor(static_cast<TColor>(RGB(200, 10, 30)));
  for (bool themed : {true, false}) {
    std::unique_ptr<TThemesOff> off;
    if (!themed) off = std::make_unique<TThemesOff>();
    for (int rows = 0; rows < 16; ++rows) {
      bool none = rows & 1, def = rows & 2, custom = rows & 4, system = rows & 8;
      SCOPED_TRACE(testing::Message() << (themed ? "themed" : "classic") << " none " << none << " default " << def
                                      << " custom " << custom << " system " << system);
      picker->SetShowNoColor(none);
      picker->SetShowDefaultColor(def);
      picker->SetShowCustomColor(custom);
      picker->SetShowSystemColors(system);
      picker->SetSelColorIndex(cpiNoColor);
      int w = picker->GetWidth(), h = picker->GetHeight();
      TDib dib(w, h, RGB(1, 2, 3));
      PaintControl(picker, dib);
      TKxColorPickerGeometry g = picker->Geometry();
      // The cells: the swatch's pixels show the cell's colour, and clicks on
      // its centre and its four corners select it.
      struct Target {
        int Index;
        TRect Swatch;
        COLORREF Colour;
      };
      std::vector<Target> targets;
      for (int i = 0; i < (system ? 70 : 40); ++i)
        targets.push_back({i, g.Cell(i), Shown(KxColorNames(i).Value)});
      if (def) targets.push_back({cpiDefaultColor, g.Part(cpiDefaultColor), Shown(picker->GetDefaultColor())});
      if (custom) targets.push_back({cpiCustomColor, g.Part(cpiCustomColor), Shown(picker->GetCustomColor())});
      for (const Target& t : targets) {
        SCOPED_TRACE(t.Index);
        TRect s = t.Swatch;
        InflateRect(&s, -4, -4);
        const POINT points[] = {Centre(s), {s.left, s.top}, {s.right - 1, s.top}, {s.left, s.bottom - 1},
                                {s.right - 1, s.bottom - 1}};
        for (POINT p : points) {
          ASSERT_EQ(dib.Pixel(p.x, p.y), t.Colour) << p.x << "," << p.y;
          EXPECT_EQ(picker->HitTest(p.x, p.y), t.Index) << p.x << "," << p.y;
        }
        if (t.Index >= 0) {
          Click(Centre(s));
          EXPECT_EQ(picker->GetSelColorIndex(), t.Index);
        }
      }
      if (none) {
        EXPECT_EQ(picker->HitTest(Centre(g.NoneRow).x, Centre(g.NoneRow).y), cpiNoColor);
      }
      if (custom) {
        POINT button = Centre(g.Part(cpiMoreColors));
        EXPECT_EQ(picker->HitTest(button.x, button.y), cpiMoreColors);
      }
      if (system) {
        // The separator line lies in the band, which takes no clicks.
        int line = g.BandTop + 4;
        EXPECT_EQ(dib.Pixel(g.Client.left + 10, line), Shown(clBtnShadow));
        picker->SetSelColorIndex(5);
        Click(POINT{g.Client.left + 10, line});
        EXPECT_EQ(picker->GetSelColorIndex(), 5);
        POINT empty = Centre(g.Cell(70));
        EXPECT_EQ(picker->HitTest(empty.x, empty.y), cpiSeparator) << "the last row holds 6";
      }
      // Outside the client area nothing is hit.
      EXPECT_EQ(picker->HitTest(0, 0), cpiNoColor);
    }
  }
}

TEST_F(KxColorPickerTest, TheSelectedCellIsMarked) {
  TThemesOff off;
  picker->SetSelColorIndex(9);
  TDib dib(picker->GetWidth(), picker->GetHeight(), RGB(1, 2, 3));
  PaintControl(picker, dib);
  TRect c = picker->GetCellRect(9);
  EXPECT_EQ(dib.Pixel(c.left, c.top), Shown(clHighlight)) << "a highlight bevel round the cell";
  EXPECT_EQ(dib.Pixel(c.left + 1, c.top + 1), Shown(clWindow));
  EXPECT_EQ(dib.Pixel((c.left + c.right) / 2, (c.top + c.bottom) / 2), Shown(KxColorNames(9).Value))
      << "the swatch on the mark";
  TRect other = picker->GetCellRect(10);
  EXPECT_EQ(dib.Pixel(other.left, other.top), Shown(picker->GetColor())) << "the gaps show Color";
}

TEST_F(KxColorPickerTest, DefaultAndCustomColoursAreKeptWhileTheirRowsAreHidden) {
  TColor green = static_cast<TColor>(RGB(10, 200, 30));
  picker->SetDefaultColor(green);
  picker->SetCustomColor(static_cast<TColor>(RGB(9, 9, 9)));
  EXPECT_EQ(picker->GetDefaultColor(), green);
  EXPECT_EQ(picker->GetCustomColor(), static_cast<TColor>(RGB(9, 9, 9)));
  picker->SetShowDefaultColor(true);
  picker->SetSelectedColor(green);
  EXPECT_EQ(picker->GetSelColorIndex(), cpiDefaultColor);
  TDib dib(picker->GetWidth(), picker->GetHeight(), RGB(1, 2, 3));
  PaintControl(picker, dib);
  POINT p = Centre(picker->Geometry().Part(cpiDefaultColor));
  EXPECT_EQ(dib.Pixel(p.x, p.y), Shown(green));
}

TEST_F(KxColorPickerTest, DraggingSelectsAndHoveringHighlights) {
  picker->SetShowSystemColors(true);
  TKxColorPickerGeometry g = picker->Geometry();
  POINT a = Centre(g.Cell(3)), b = Centre(g.Cell(20));
  picker->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(a.x, a.y));
  EXPECT_EQ(picker->GetHighlightColorIndex(), 3);
  EXPECT_EQ(picker->GetSelColorIndex(), cpiNoColor);
  picker->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
  EXPECT_EQ(picker->GetSelColorIndex(), 20);
  picker->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, g.BandTop + 2));
  EXPECT_EQ(picker->GetSelColorIndex(), cpiSeparator) << "the band is selected by a drag";
  EXPECT_EQ(picker->GetSelectedColor(), clNone);
  picker->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(picker->GetHighlightColorIndex(), cpiNothing);
}

// Answers the colour dialog that opens on this thread, as a user would.
class TDialogAnswer {
 public:
  explicit TDialogAnswer(std::function<void(HWND)> answer) {
    answer_ = std::move(answer);
    hook_ = SetWindowsHookExA(WH_CBT, &TDialogAnswer::Hook, nullptr, GetCurrentThreadId());
  }
  ~TDialogAnswer() {
    UnhookWindowsHookEx(hook_);
    answer_ = nullptr;
  }
  static int Shown() { return shown_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
      char cls[16] = {};
      auto window = reinterpret_cast<HWND>(wParam);
      GetClassNameA(window, cls, sizeof cls);
      if (std::string(cls) == "#32770" && answer_) {
        ++shown_;
        answer_(window);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline std::function<void(HWND)> answer_;
  static inline int shown_ = 0;
  HHOOK hook_ = nullptr;
};

TEST_F(KxColorPickerTest, MoreColorsOpensTheDialogAndCancellingChangesNothing) {
  auto* colors = New<TKxCustomColors>(host.Panel());
  picker->SetCustomColors(colors);
  picker->SetShowCustomColor(true);
  picker->SetSelColorIndex(7);
  TColor before = picker->GetCustomColor();
  int changed = changes.Count;
  POINT button = Centre(picker->Geometry().Part(cpiMoreColors));
  {
    TDialogAnswer cancel([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    int shown = TDialogAnswer::Shown();
    Click(button);
    EXPECT_EQ(TDialogAnswer::Shown(), shown + 1) << "the dialog opened";
  }
  EXPECT_EQ(picker->GetSelColorIndex(), 7);
  EXPECT_EQ(picker->GetCustomColor(), before);
  EXPECT_EQ(changes.Count, changed);
  {
    // Accepted with a colour typed in: it becomes the custom colour, and the
    // dialog's custom colours go back to the component.
    TDialogAnswer ok([](HWND d) {
      SetDlgItemInt(d, 706, 12, FALSE);
      SetDlgItemInt(d, 707, 34, FALSE);
      SetDlgItemInt(d, 708, 56, FALSE);
      PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    Click(button);
  }
  EXPECT_EQ(picker->GetCustomColor(), static_cast<TColor>(RGB(12, 34, 56)));
  EXPECT_EQ(picker->GetSelColorIndex(), cpiCustomColor);
  EXPECT_EQ(picker->GetSelectedColor(), static_cast<TColor>(RGB(12, 34, 56)));
  EXPECT_EQ(colors->GetColors()->GetCount(), 16);
  colors->Free();
  EXPECT_EQ(picker->GetCustomColors(), nullptr) << "a freed component is let go";
}

TEST(KxColorPickerTheme, TheBorderFollowsTheVisualStyle) {
  TControlHost host;
  auto* themed = host.Add<TKxColorPicker>(0, 0, 10, 10);
  EXPECT_EQ(themed->GetBorderOuter(), fsFlat);
  EXPECT_EQ(themed->GetFlatColorAdjustment(), 0);
  EXPECT_NE(themed->GetFlatColor(), clBtnShadow) << "the edit theme's border colour";
  TThemesOff off;
  auto* classic = host.Add<TKxColorPicker>(0, 0, 10, 10);
  EXPECT_EQ(classic->GetBorderOuter(), fsLowered);
  EXPECT_GT(classic->GetWidth(), themed->GetWidth()) << "the lowered frame is wider";
}

TEST(KxColorPickerStored, WhatAPickerStores) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* p = New<TKxColorPicker>(form.get());
  p->SetParent(form.get());
  p->SetName("Picker1");
  std::string plain = WriteForm(form.get());
  EXPECT_EQ(plain.find("SelectedColor"), std::string::npos) << plain;
  p->SetShowCustomColor(true);
  p->SetSelectedColor(static_cast<TColor>(RGB(1, 2, 3)));
  p->SetNoColorCaption("Nothing");
  std::string text = WriteForm(form.get());
  for (const char* always : {"ShowCustomColor = True", "SelectedColor = ", "NoColorCaption = 'Nothing'"})
    EXPECT_NE(text.find(always), std::string::npos) << always << "\n" << text;
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* c = dynamic_cast<TKxColorPicker*>(copy->FindComponent("Picker1"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetSelectedColor(), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(c->GetHeight(), p->GetHeight());
}

// The real mouse to a point of a control, pumped until the control has heard
// it move there while it is the control under the mouse. Under load the
// system may hand on a pointer position of its own after the test's move (a
// late event from the X server); the move is then sent again, from one pixel
// aside so that it is a move, a bounded number of times. What the test checks
// next is then what the control made of the point the test moved to.
void RestMouseAt(TControl* c, POINT at) {
  struct TSeen {
    POINT At{-100000, -100000};
    void Moved(TObject*, TShiftState, int x, int y) { At = POINT{x, y}; }
  } seen;
  TMouseMoveEvent saved = c->GetOnMouseMove();
  c->SetOnMouseMove(TMouseMoveEvent(&seen, &TSeen::Moved));
  auto heard = [&] { return seen.At.x == at.x && seen.At.y == at.y && Application->GetMouseControl() == c; };
  for (int attempt = 0; attempt < 10 && !heard(); ++attempt) {
    POINT now{};
    GetCursorPos(&now);
    POINT target = c->ClientToScreen(at);
    if (attempt > 0 || (now.x == target.x && now.y == target.y)) TShownForm::MoveTo(c, POINT{at.x + 1, at.y});
    TShownForm::MoveTo(c, at);
  }
  c->SetOnMouseMove(saved);
  EXPECT_TRUE(heard()) << "the mouse never rested at " << at.x << "," << at.y;
}

TEST(SerialKxColorPickerHints, TheColoursNameShowsUnderTheCellItPointsAt) {
  TShownForm form(300, 250);
  auto* p = form.Add<TKxColorPicker>(20, 20, 10, 10);
  form.Show();
  auto centre = [p](int index) {
    TRect r = p->GetCellRect(index);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  TRect cell = p->GetCellRect(16);
  // From elsewhere on the form first: the mouse may rest where an earlier
  // test left it, over a cell whose hint, shown as the form appears, covers
  // the cell below. Under Wine a move onto a hint window goes to no window
  // (its HTTRANSPARENT passes nothing through to the window beneath), so
  // that hint must have gone before the mouse comes back. Then into the
  // picker on the next cell of the row, whose hint lies below the row, and
  // onto the cell.
  RestMouseAt(form.Form(), POINT{5, 5});
  RestMouseAt(p, centre(17));
  RestMouseAt(p, centre(16));
  THintWindow* hint = p->GetHintWindow();
  ASSERT_NE(hint, nullptr);
  ASSERT_TRUE(hint->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(hint->GetHandle()));
  EXPECT_EQ(hint->GetCaption(), "Red");
  RECT r;
  GetWindowRect(hint->GetHandle(), &r);
  POINT corner = p->ClientToScreen(POINT{cell.left, cell.bottom});
  EXPECT_EQ(r.left, corner.x + 4);
  EXPECT_EQ(r.top, corner.y + 12);
  // Off the cells the hint goes.
  RestMouseAt(form.Form(), POINT{5, 5});
  EXPECT_FALSE(IsWindowVisible(hint->GetHandle()));
}

}  // namespace
