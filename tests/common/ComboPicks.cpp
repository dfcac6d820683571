#include "tests/common/ComboPicks.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/common/TestSupport.h"

namespace combo_test {

namespace {

// The window a key reaches: the edit part, or the combo box itself.
HWND KeyWindow(TCustomComboBox* combo) {
  combo->HandleNeeded();
  return combo->GetEditHandle() ? combo->GetEditHandle() : combo->GetHandle();
}

void PressKey(HWND window, WORD vk, char ch = 0) {
  SendMessageA(window, WM_KEYDOWN, vk, 1);
  if (ch) SendMessageA(window, WM_CHAR, static_cast<unsigned char>(ch), 1);
  SendMessageA(window, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
}

// A click of the dropped list on item index, where the list, which holds
// the mouse while it is dropped, sees it.
void ClickListItem(TCustomComboBox* combo, int index) {
  HWND list = combo->GetListHandle();
  RECT item{};
  ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)), LB_ERR);
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageA(list, WM_MOUSEMOVE, 0, at);
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list, WM_LBUTTONUP, 0, at);
}

// The combo box paints its face into a bitmap of its size, as WM_PAINT
// would: the list styles draw the selected item there.
void PaintFace(TCustomComboBox* combo) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max(combo->GetWidth(), 1), std::max(combo->GetHeight(), 1));
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageA(combo->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace

const char* PickName(TPick pick) {
  switch (pick) {
    case TPick::ItemIndex: return "ItemIndex";
    case TPick::ArrowKey: return "arrow key";
    case TPick::DropAndEnter: return "dropped list, arrow key and Enter";
    case TPick::DropAndClick: return "dropped list and a click";
    case TPick::TypedPrefix: return "typed beginning";
  }
  return "?";
}

void PickItem(TCustomComboBox* combo, int index, TPick pick, const std::string& prefix) {
  HWND keys = KeyWindow(combo);
  switch (pick) {
    case TPick::ItemIndex:
      combo->SetItemIndex(index);
      return;
    case TPick::ArrowKey:
      combo->SetItemIndex(index - 1);
      PressKey(keys, VK_DOWN);
      return;
    case TPick::DropAndEnter:
      combo->SetItemIndex(index - 1);
      combo->SetDroppedDown(true);
      PressKey(keys, VK_DOWN);
      PressKey(keys, VK_RETURN, '\r');
      EXPECT_FALSE(combo->GetDroppedDown()) << "Enter closes the list";
      return;
    case TPick::DropAndClick:
      combo->SetDroppedDown(true);
      ClickListItem(combo, index);
      EXPECT_FALSE(combo->GetDroppedDown()) << "the click closes the list";
      return;
    case TPick::TypedPrefix:
      for (char c : prefix) SendMessageA(keys, WM_CHAR, static_cast<unsigned char>(c), 1);
      return;
  }
}

void ExpectLongItemsPickedWhole(const TMakeCombo& make, std::initializer_list<TComboBoxStyle> styles,
                                TEnter enter) {
  for (int n : kLongTextLengths) {
    SCOPED_TRACE(n);
    const std::string text = LongText(static_cast<size_t>(n));
    for (TComboBoxStyle style : styles) {
      SCOPED_TRACE(style == csDropDown ? "drop-down" : style == csDropDownList ? "drop-down list" : "other style");
      for (TPick pick : kPicks) {
        SCOPED_TRACE(PickName(pick));
        Owned<TCustomComboBox> combo(make(style));
        for (const std::string& s : {std::string("apple"), text, std::string("zucchini")})
          combo->GetItems()->Add(s);
        PickItem(combo.get(), 1, pick, text.substr(0, 3));
        const bool movedFirst = pick == TPick::DropAndEnter && enter == TEnter::MovesTheTextFirst;
        const Lines expected = movedFirst ? Lines{text, "apple", "zucchini"} : Lines{"apple", text, "zucchini"};
        if (!movedFirst) {
          EXPECT_EQ(combo->GetItemIndex(), 1);
        }
        const std::string shown = combo->GetText();
        EXPECT_EQ(shown.size(), text.size());
        EXPECT_TRUE(shown == text) << "the text differs";
        EXPECT_TRUE(LinesOf(combo->GetItems()) == expected) << "the items differ";
        PaintFace(combo.get());
      }
    }
  }
}

}  // namespace combo_test
