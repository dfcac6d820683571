// The colour edit: the swatch it paints (a hatched box for no colour), the
// keyboard that types nothing, the colour picker dropped in a pop-up panel
// and a colour chosen there with the real mouse, and the stored form.
#include <gtest/gtest.h>

#include <string>

#include "kx/controls/KxColorPicker.h"
#include "kx/controls/KxEdit.h"
#include "tests/kx/controls/KxControlsTestSupport.h"
#include "tests/kx/controls/KxPopupsTestSupport.h"

using namespace kxc_test;
using namespace kxp_test;

namespace {

// The client area as WM_PAINT draws it, over a background of its own
// (nothing is erased first), and the box the swatch fills: the client
// rectangle less 2 on every side.
struct TSwatchShot {
  TSwatchShot(TKxColorEdit* edit) : Dib(edit->GetClientWidth(), edit->GetClientHeight(), Background) {
    edit->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Dib.DC()), 0);
    Box = TRect{2, 2, edit->GetClientWidth() - 2, edit->GetClientHeight() - 2};
  }
  static constexpr COLORREF Background = RGB(1, 2, 3);
  TDib Dib;
  TRect Box;
};

TEST(KxColorEdit, NoColourIsABoxHatchedUpwardInTheFaceColourOrTheShadowWhileFocused) {
  TControlHost host;
  host.Show();
  auto* edit = host.Add<TKxColorEdit>(10, 10, 80, 24);
  edit->HandleNeeded();
  ASSERT_EQ(edit->GetSelectedColor(), clNone);
  for (bool focused : {false, true}) {
    SCOPED_TRACE(focused ? "focused" : "not focused");
    if (focused) edit->SetFocus();
    ASSERT_EQ(edit->Focused(), focused);
    TSwatchShot shot(edit);
    const COLORREF ink = ColorToRGB(focused ? clBtnShadow : clBtnFace);
    const TRect box = shot.Box;
    TRect inside = box;
    InflateRect(&inside, -1, -1);
    // The ring around the box keeps what was there.
    EXPECT_EQ(shot.Dib.Pixel(box.left - 1, box.top + 5), TSwatchShot::Background);
    EXPECT_EQ(shot.Dib.Pixel(box.right, box.top + 5), TSwatchShot::Background);
    // The outline in the ink (the focus rectangle, drawn over it while
    // focused, is checked apart).
    if (!focused) {
      EXPECT_EQ(CountColour(shot.Dib, ink, TRect{box.left, box.top, box.right, box.top + 1}), box.right - box.left);
      EXPECT_EQ(CountColour(shot.Dib, ink, TRect{box.left, box.top, box.left + 1, box.bottom}), box.bottom - box.top);
    }
    // Inside: lines of the ink over the background, each running up to
    // the right.
    TRect hatchArea = inside;
    InflateRect(&hatchArea, -1, -1);
    int hatch = CountColour(shot.Dib, ink, hatchArea);
    int clear = CountColour(shot.Dib, TSwatchShot::Background, hatchArea);
    int area = (hatchArea.right - hatchArea.left) * (hatchArea.bottom - hatchArea.top);
    EXPECT_GT(hatch, area / 16);
    EXPECT_GT(clear, area / 2);
    EXPECT_EQ(hatch + clear, area) << "only the ink and the background";
    int upward = 0, downward = 0;
    for (int y = hatchArea.top + 1; y < hatchArea.bottom; ++y)
      for (int x = hatchArea.left; x + 1 < hatchArea.right; ++x) {
        if (shot.Dib.Pixel(x, y) != ink) continue;
        upward += shot.Dib.Pixel(x + 1, y - 1) == ink;
        downward += shot.Dib.Pixel(x + 1, y + 1) == ink && y + 1 < hatchArea.bottom;
      }
    EXPECT_GT(upward, hatch / 2);
    EXPECT_EQ(downward, 0);
    if (focused) {
      // The dotted focus rectangle over the box's outline.
      int dots = 0;
      for (int x = box.left; x < box.right; ++x) dots += shot.Dib.Pixel(x, box.top) != ink;
      EXPECT_GT(dots, (box.right - box.left) / 4);
    }
  }
}

TEST(KxColorEdit, AColourFillsTheSwatchInsideAFlatEdge) {
  TControlHost host;
  auto* edit = host.Add<TKxColorEdit>(10, 10, 80, 24);
  edit->HandleNeeded();
  edit->SetSelectedColor(clRed);
  TSwatchShot shot(edit);
  TRect inside = shot.Box;
  InflateRect(&inside, -1, -1);
  int area = (inside.right - inside.left) * (inside.bottom - inside.top);
  EXPECT_EQ(CountColour(shot.Dib, RGB(255, 0, 0), inside), area);
  EXPECT_EQ(CountColour(shot.Dib, RGB(255, 0, 0), shot.Box), area) << "the edge is not the colour";
  EXPECT_EQ(shot.Dib.Pixel(1, 5), TSwatchShot::Background);
}

TEST(KxColorEdit, TheKeyboardTypesNothingAndWithoutAFormNothingDrops) {
  TControlHost host;
  auto* edit = host.Add<TKxColorEdit>(10, 10, 80, 24);
  edit->HandleNeeded();
  edit->SetSelectedColor(clBlue);
  TEventCounter changes, drops;
  edit->OnChange = changes.Event();
  edit->SetOnDropDown(drops.Event());
  HWND w = edit->GetHandle();
  for (char c : std::string("abc1")) SendMessageA(w, WM_CHAR, static_cast<unsigned char>(c), 1);
  SendMessageA(w, WM_KEYDOWN, VK_DELETE, 1);
  SendMessageA(w, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(edit->GetText(), "");
  EXPECT_EQ(edit->GetSelectedColor(), clBlue);
  EXPECT_EQ(changes.Count, 0);
  EXPECT_EQ(drops.Count, 0) << "Down alone does not drop";
  // Alt+Down drops; on no form there is no picker to show.
  SendMessageA(w, WM_SYSKEYDOWN, VK_DOWN, 1 | (1 << 29));
  EXPECT_EQ(drops.Count, 1);
  EXPECT_EQ(edit->GetSelectedColor(), clBlue);
  EXPECT_FALSE(edit->GetButtonDown());
}

class TColorRoot : public TPanel {
  DECLARE_CLASS(TColorRoot, TPanel)
  using TPanel::TPanel;
  TKxColorEdit* Swatch = nullptr;
};
PUBLISHED(TColorRoot) { p.Field("Swatch", &TColorRoot::Swatch); }

TEST(KxColorEdit, TheStoredFormKeepsTheColoursAndForgetsAFreedColourStore) {
  if (!GetClass("TColorRoot")) RegisterClass(TColorRoot::StaticClass());
  TControlHost host;
  Owned<TColorRoot> root(New<TColorRoot>(nullptr));
  root->SetName("Root");
  root->SetParent(host.Panel());
  auto* edit = New<TKxColorEdit>(root.get());
  edit->SetName("Swatch");
  edit->SetParent(root.get());
  auto* store = New<TKxCustomColors>(root.get());
  store->SetName("Store");
  edit->SetSelectedColor(clTeal);
  edit->SetShowDefaultColor(true);
  edit->SetCustomColors(store);
  std::string text = WriteForm(root.get());
  for (const char* line : {"SelectedColor = clTeal", "ShowDefaultColor = True", "CustomColors = Store"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  for (const char* name : {"CustomColor =", " DefaultColor =", "ShowColorHints", "ColorDlgOptions", "Text"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << "\n" << text;
  Owned<TColorRoot> copy(New<TColorRoot>(nullptr));
  copy->SetParent(host.Panel());
  ReadForm(text, copy.get());
  ASSERT_NE(copy->Swatch, nullptr);
  EXPECT_EQ(copy->Swatch->GetSelectedColor(), clTeal);
  store->Free();
  EXPECT_EQ(edit->GetCustomColors(), nullptr);
}

// --- the picker in its pop-up, with the real mouse and keyboard -------------------------------

// A key of the real keyboard pressed or released, without pumping (a step
// inside a pop-up's loop).
void KeyInput(WORD vk, bool down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

class SerialKxColorEdit : public ::testing::Test {
 protected:
  SerialKxColorEdit() {
    edit = shown.Add<TKxColorEdit>(20, 20, 80, 22);
    edit->SetSelectedColor(clBlue);
    edit->SetShowColorHints(false);
    edit->OnChange = changes.Event();
    edit->SetOnDropDown(drops.Event());
    edit->SetOnCloseUp(closes.Event());
    shown.Show();
    windows = ThreadWindows();
  }
  ~SerialKxColorEdit() override { forms_test::LeftButton(false); }

  // What the picker showed while it was up.
  std::function<void()> Record() {
    return [this] {
      TKxPopup* popup = ShownPopup();
      if (!popup) return;
      GetWindowRect(popup->GetHandle(), &popupRect);
      for (TControl* c : popup->Controls())
        if (auto* p = dynamic_cast<TKxColorPicker*>(c)) picker = p;
      if (!picker) return;
      shownColor = picker->GetSelectedColor();
      pickerBorder = picker->GetBorderOuter();
      pickerFlatColor = picker->GetFlatColor();
    };
  }
  std::function<void()> PressOnCell(int index) {
    return [this, index] {
      if (!picker) return;
      TRect cell = picker->GetCellRect(index);
      forms_test::MoveMouseTo(picker->ClientToScreen(POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}));
      forms_test::LeftButton(true);
    };
  }
  void ExpectGone() {
    EXPECT_EQ(ShownPopup(), nullptr);
    EXPECT_EQ(ThreadWindows(), windows) << "a window was left behind";
    EXPECT_EQ(GetFocus(), edit->GetHandle()) << "the focus is back";
    EXPECT_FALSE(edit->GetButtonDown());
    EXPECT_FALSE(edit->GetDroppedDown());
  }

  TShownForm shown{400, 300};
  TKxColorEdit* edit = nullptr;
  TEventCounter changes, drops, closes;
  int windows = 0;
  TKxColorPicker* picker = nullptr;
  RECT popupRect{};
  TColor shownColor = clNone;
  TFrameStyleEx pickerBorder = fsNone;
  TColor pickerFlatColor = clNone;
};

TEST_F(SerialKxColorEdit, AClickDropsThePickerUnderTheEditAndAColourClickedThereIsTaken) {
  TPopupScript script(nullptr, {[] { forms_test::LeftButton(false); }, Record(), PressOnCell(16),
                                [] { forms_test::LeftButton(false); }});
  RealClick(edit->ClientToScreen(POINT{10, 10}));
  EXPECT_FALSE(script.Stuck());
  EXPECT_EQ(script.StepsRun(), 4u);
  ASSERT_NE(picker, nullptr) << "no picker showed";
  EXPECT_EQ(shownColor, clBlue) << "the picker opened on the edit's colour";
  RECT at{};
  GetWindowRect(edit->GetHandle(), &at);
  EXPECT_EQ(popupRect.top, at.bottom);
  EXPECT_EQ(popupRect.right, at.right);
  EXPECT_EQ(edit->GetSelectedColor(), clRed);
  EXPECT_EQ(changes.Count, 1);
  EXPECT_EQ(drops.Count, 1);
  EXPECT_EQ(closes.Count, 1);
  ExpectGone();
}

TEST_F(SerialKxColorEdit, AltDownDropsItWithTheEditsFlatFrameAndEscapeKeepsTheColour) {
  edit->SetFrameStyle(fsFlatBold);
  edit->SetFrameColor(clLime);
  edit->SetFocus();
  forms_test::PumpApplication(3);
  TPopupScript script(nullptr, {[] { KeyInput(VK_MENU, false); }, Record(),
                                [] { forms_test::TypeKey(VK_ESCAPE); }});
  TShownForm::Key(VK_MENU, true);
  TShownForm::Type(VK_DOWN);
  EXPECT_FALSE(script.Stuck());
  ASSERT_NE(picker, nullptr) << "no picker showed";
  EXPECT_EQ(pickerBorder, fsFlat);
  EXPECT_EQ(pickerFlatColor, clLime);
  EXPECT_EQ(edit->GetSelectedColor(), clBlue);
  EXPECT_EQ(changes.Count, 0);
  ExpectGone();
}

}  // namespace
