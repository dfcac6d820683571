#include "classlib/stdctrls/OwnerDraw.h"

#include <algorithm>

void DrawOwnerDrawnItem(TCanvas* canvas, TWinControl* control, const DRAWITEMSTRUCT& d, const TDrawItemProc& draw) {
  TOwnerDrawState state = OwnerDrawStateOf(d.itemState);
  int index = static_cast<int>(d.itemID);
  canvas->SetHandle(d.hDC);
  try {
    canvas->GetFont()->Assign(control->GetFont());
    canvas->GetBrush()->Assign(control->GetBrush());
    if (index >= 0 && state.Contains(odSelected)) {
      canvas->GetBrush()->SetColor(clHighlight);
      canvas->GetFont()->SetColor(clHighlightText);
    }
    if (index >= 0) draw(index, d.rcItem, state);
    else canvas->FillRect(d.rcItem);
    if (state.Contains(odFocused)) DrawFocusRect(d.hDC, &d.rcItem);
  } catch (...) {
    canvas->SetHandle(nullptr);
    throw;
  }
  canvas->SetHandle(nullptr);
}

void MeasureOwnerDrawnItem(MEASUREITEMSTRUCT& mi, int itemHeight, bool variable, const TMeasureItemProc& measure) {
  int height = itemHeight;
  if (variable) measure(static_cast<int>(mi.itemID), height);
  mi.itemHeight = static_cast<UINT>(std::max(height, 0));
}
