// TKxRankListBox: items reordered by dragging or with Shift and the keys.
#include <algorithm>

#include "kx/foundation/KxLstBox.h"

DEFINE_ENUM_TYPE(TKxModifierKey, "mkShift", "mkNone")

namespace {
constexpr const char* SMoveOnDragWhileMoving = "MoveOnDrag property cannot be changed while moving an item";
}  // namespace

TKxRankListBox::TKxRankListBox(TComponent* owner) : TKxListBox(owner) {
  SetColumns(0);
  SetDragCursor(crDrag);
  SetDragMode(dmManual);
  SetExtendedSelect(false);
  SetMultiSelect(false);
  SetSorted(false);
}

void TKxRankListBox::SetMoveOnDrag(bool value) {
  if (moving_) throw Exception(SMoveOnDragWhileMoving);
  moveOnDrag_ = value;
}

void TKxRankListBox::MoveItem(int oldIndex, int newIndex) {
  GetItems()->Move(oldIndex, newIndex);
  SetItemIndex(newIndex);
  if (OnMoveItem) OnMoveItem(this, oldIndex, newIndex);
}

void TKxRankListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  if (modifierKey_ == mkShift && !shift.Contains(ssShift)) return;
  movingIndex_ = ItemAtPos(TPoint{x, y}, true);
  if (movingIndex_ < 0) return;
  savedCursor_ = ::SetCursor(Screen->GetCursors(GetDragCursor()));
  moving_ = true;
}

int TKxRankListBox::TargetAt(POINT p, bool above) {
  int target = ItemAtPos(p, true);
  if (target >= 0) return target;
  return above ? 0 : GetItems()->GetCount() - 1;
}

void TKxRankListBox::MouseMove(TShiftState shift, int x, int y) {
  inherited::MouseMove(shift, x, y);
  if (!moving_) return;
  TRect client = GetClientRect();
  POINT p{x, y};
  bool above = false;
  bool outside = !PtInRect(&client, p);
  if (outside) {
    p.x = std::clamp<LONG>(p.x, client.left, client.right - 1);
    if (p.y < client.top) {
      p.y = client.top;
      above = true;
    } else {
      p.y = std::min<LONG>(p.y, client.bottom - 1);
    }
    Mouse().SetCursorPos(ClientToScreen(p));
  }
  if (!moveOnDrag_) return;
  int target = TargetAt(p, above);
  if (target >= 0 && target != movingIndex_) {
    MoveItem(movingIndex_, target);
    movingIndex_ = GetItemIndex();
  }
}

void TKxRankListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  inherited::MouseUp(button, shift, x, y);
  if (!moving_) return;
  if (!moveOnDrag_) {
    int target = TargetAt(POINT{x, y}, y < GetClientRect().top);
    if (target >= 0 && target != movingIndex_) MoveItem(movingIndex_, target);
  }
  ::SetCursor(savedCursor_);
  moving_ = false;
  movingIndex_ = -1;
}

void TKxRankListBox::KeyDown(WORD& key, TShiftState shift) {
  inherited::KeyDown(key, shift);
  if (!shift.Contains(ssShift) || moving_) return;
  int index = GetItemIndex();
  int last = GetItems()->GetCount() - 1;
  if (index < 0) return;
  int target = -1;
  switch (key) {
    case VK_END: target = last; break;
    case VK_HOME: target = 0; break;
    case VK_UP: target = index - 1; break;
    case VK_DOWN: target = index + 1; break;
    default: return;
  }
  if (target < 0 || target > last || target == index) return;
  MoveItem(index, target);
  key = 0;
}

PUBLISHED(TKxRankListBox) {
  using T = TKxRankListBox;
  PublishKxListBoxProps(p);
  p.Prop("ExtendedSelect", &T::GetExtendedSelect, &T::SetExtendedSelect).Default(false);
  p.Prop("ModifierKey", &T::GetModifierKey, &T::SetModifierKey).Default(mkShift);
  p.Prop("MoveOnDrag", &T::GetMoveOnDrag, &T::SetMoveOnDrag).Default(true);
  p.Prop("OnMoveItem", &T::GetOnMoveItem, &T::SetOnMoveItem);
}
