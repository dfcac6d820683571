// The toolbar customisation dialog: placing, filling, drawing its items,
// reordering by buttons and by dragging, showing and hiding controls, and
// the text options.
#include "kx/controls/KxToolbarForm.h"

#include <algorithm>

#include "classlib/Scopes.h"
#include "kx/controls/KxButton.h"
#include "kx/controls/KxCmboBx.h"
#include "kx/controls/KxPanel.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxLabel.h"

PUBLISHED(TKxFrmCustomizeToolbar) {
  using F = TKxFrmCustomizeToolbar;
  p.Field("BtnSpacer", &F::BtnSpacer);
  p.Field("BtnGrooveSpacer", &F::BtnGrooveSpacer);
  p.Field("LblHint", &F::LblHint);
  p.Field("LblTextOptions", &F::LblTextOptions);
  p.Field("BtnClose", &F::BtnClose);
  p.Field("LstControls", &F::LstControls);
  p.Field("CbxTextOptions", &F::CbxTextOptions);
  p.Field("BtnMoveUp", &F::BtnMoveUp);
  p.Field("BtnMoveDown", &F::BtnMoveDown);
  p.Field("Timer1", &F::Timer1);
  p.Method("BtnMoveUpClick", &F::BtnMoveUpClick);
  p.Method("BtnMoveDownClick", &F::BtnMoveDownClick);
  p.Method("LstControlsClick", &F::LstControlsClick);
  p.Method("LstControlsDragDrop", &F::LstControlsDragDrop);
  p.Method("LstControlsDragOver", &F::LstControlsDragOver);
  p.Method("ListBoxDrawItem", &F::ListBoxDrawItem);
  p.Method("LstControlsEndDrag", &F::LstControlsEndDrag);
  p.Method("LstControlsMouseDown", &F::LstControlsMouseDown);
  p.Method("Timer1Timer", &F::Timer1Timer);
  p.Method("CbxTextOptionsClick", &F::CbxTextOptionsClick);
  p.Method("LstControlsChange", &F::LstControlsChange);
}

// --- placing and filling ---

void TKxFrmCustomizeToolbar::Reposition() {
  if (!toolbar_ || !ownerComponent_) return;
  const TRect b = toolbar_->GetBoundsRect();
  POINT p{b.left, b.bottom};
  switch (toolbar_->GetAlign()) {
    case alBottom: p = POINT{b.left, b.top - GetHeight() - 5}; break;
    case alLeft: p = POINT{b.right, b.top}; break;
    case alRight: p = POINT{b.left - GetWidth() - 5, b.top}; break;
    // Filling its parent, the toolbar has no side to stand beside: the
    // dialog covers its top left corner.
    case alClient: p = POINT{b.left, b.top}; break;
    default: break;
  }
  if (auto* owner = dynamic_cast<TControl*>(ownerComponent_)) p = owner->ClientToScreen(p);
  int x = std::max<int>(0, p.x + 15), y = std::max<int>(0, p.y + 25);
  const TRect desktop = GetDesktopClientRect();
  if (y + GetHeight() > desktop.bottom) y = desktop.bottom - GetHeight();
  if (x + GetWidth() > desktop.right) x = desktop.right - GetWidth();
  SetTop(y);
  SetLeft(x);
}

void TKxFrmCustomizeToolbar::UpdateControls(TKxCustomizeCaptions* captions, bool showTextOptions) {
  SetCaption(captions->GetCaption(1));
  LblHint->SetCaption(captions->GetCaption(2));
  BtnClose->SetCaption(captions->GetCaption(3));
  BtnMoveUp->SetCaption(captions->GetCaption(4));
  BtnMoveDown->SetCaption(captions->GetCaption(5));
  LblTextOptions->SetCaption(captions->GetCaption(6));
  CbxTextOptions->GetItems()->Clear();
  for (int i = 7; i <= 9; ++i) CbxTextOptions->GetItems()->Add(captions->GetCaption(i));
  if (toolbar_ && toolbar_->GetTextOptions() != ttoCustom) CbxTextOptions->SetItemIndex(toolbar_->GetTextOptions());
  if (!showTextOptions) {
    CbxTextOptions->SetVisible(false);
    LblTextOptions->SetVisible(false);
    SetClientHeight(LstControls->GetTop() + LstControls->GetHeight() + 8);
  }
  LstControls->GetItems()->Clear();
  if (toolbar_) {
    TKxToolbarControlList* list = toolbar_->GetToolbarControls();
    for (int i = 0; i < list->GetCount(); ++i) {
      TKxToolbarControl* entry = list->GetItem(i);
      TControl* c = entry->GetControl();
      std::string text;
      if (auto* tool = dynamic_cast<TKxToolButton*>(c)) text = tool->GetCaption();
      if (text.empty() && c) {
        if (dynamic_cast<TKxSpacer*>(c)) text = "Spacer";
        else if (!c->GetHint().empty()) text = c->GetHint();
        else text = c->GetName();
      }
      // An entry that has only a name keeps its place in the list.
      if (!c) text = entry->GetControlName();
      LstControls->AddEx(text, c && c->GetVisible(), true);
    }
  }
  const bool any = LstControls->GetItems()->GetCount() > 0;
  BtnMoveUp->SetEnabled(any);
  BtnMoveDown->SetEnabled(any);
  if (any) {
    LstControls->SetItemIndex(0);
    EnableMoveButtons(0);
  }
}

void TKxFrmCustomizeToolbar::EnableMoveButtons(int index) {
  BtnMoveUp->SetEnabled(index > 0);
  BtnMoveDown->SetEnabled(index < LstControls->GetItems()->GetCount() - 1);
}

// --- drawing ---

namespace {

// The cell of glyph at (0, 0) of size w x h drawn at (x, y) with the colour
// of transparentFrom's bottom-left pixel left out.
void DrawGlyphCell(TCanvas* canvas, int x, int y, TBitmap* glyph, int w, int h, TBitmap* transparentFrom) {
  if (w <= 0 || h <= 0 || transparentFrom->GetHeight() <= 0) return;
  TColor transparent = transparentFrom->GetCanvas()->GetPixels(0, transparentFrom->GetHeight() - 1);
  Owned<TBitmap> cell = MakeOwned<TBitmap>();
  cell->SetSize(w, h);
  TRect r{0, 0, w, h};
  cell->GetCanvas()->GetBrush()->Assign(canvas->GetBrush());
  cell->GetCanvas()->FillRect(r);
  cell->GetCanvas()->BrushCopy(r, glyph, r, transparent);
  canvas->Draw(x, y, cell.get());
}

}  // namespace

void TKxFrmCustomizeToolbar::ListBoxDrawItem(TWinControl*, int index, TRect rect, TOwnerDrawState) {
  TCanvas* canvas = LstControls->GetCanvas();
  canvas->FillRect(rect);
  if (!toolbar_ || index < 0 || index >= toolbar_->GetToolbarControls()->GetCount()) return;
  TControl* c = toolbar_->GetToolbarControls()->GetControl(index);
  const int x = rect.left + 2, y = rect.top + 2;
  if (auto* tool = dynamic_cast<TKxToolButton*>(c)) {
    if (TCustomImageList* images = tool->ImageList()) images->Draw(canvas, x, y, tool->GetImageIndex());
  } else if (auto* speed = dynamic_cast<TSpeedButton*>(c)) {
    TBitmap* glyph = speed->GetGlyph();
    int cells = std::max<int>(1, speed->GetNumGlyphs());
    DrawGlyphCell(canvas, x, y, glyph, glyph->GetWidth() / cells, glyph->GetHeight(), glyph);
  } else if (auto* spacer = dynamic_cast<TKxSpacer*>(c)) {
    TBitmap* glyph = (spacer->GetGrooved() ? BtnGrooveSpacer : BtnSpacer)->GetGlyph();
    DrawGlyphCell(canvas, x, y, glyph, std::min(16, glyph->GetWidth()), std::min(16, glyph->GetHeight()),
                  BtnSpacer->GetGlyph());
  }
  const std::string text = LstControls->GetItems()->Get(index);
  TRect textRect{rect.left + 28, rect.top, rect.right, rect.bottom};
  canvas->TextRect(textRect, rect.left + 30, rect.top + (LstControls->GetItemHeight() - canvas->TextHeight("Pp")) / 2,
                   text);
}

// --- reordering ---

void TKxFrmCustomizeToolbar::MoveItem(int from, int to) {
  TStrings* items = LstControls->GetItems();
  if (from < 0 || to < 0 || from >= items->GetCount() || to >= items->GetCount()) return;
  {
    TUpdateScope update(items);
    items->Move(from, to);
  }
  if (toolbar_) {
    toolbar_->GetToolbarControls()->Move(from, to);
    toolbar_->PositionControls();
  }
  LstControls->SetItemIndex(to);
  LstControls->Invalidate();
  EnableMoveButtons(to);
}

void TKxFrmCustomizeToolbar::BtnMoveUpClick(TObject*) {
  int i = LstControls->GetItemIndex();
  // The first item has nowhere to go (the button is off there).
  if (i > 0) MoveItem(i, i - 1);
}

void TKxFrmCustomizeToolbar::BtnMoveDownClick(TObject*) {
  int i = LstControls->GetItemIndex();
  if (i >= 0 && i < LstControls->GetItems()->GetCount() - 1) MoveItem(i, i + 1);
}

void TKxFrmCustomizeToolbar::LstControlsMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  dragSource_ = LstControls->GetItemIndex();
}

void TKxFrmCustomizeToolbar::LstControlsDragOver(TObject*, TObject* source, int x, int y, TDragState, bool& accept) {
  dragTarget_ = LstControls->ItemAtPos(TPoint{x, y}, true);
  accept = source == LstControls && dragTarget_ != -1;
  if (!accept) return;
  // Near the top or bottom edge the list scrolls while the drag waits.
  const int itemHeight = LstControls->GetItemHeight();
  if (y > LstControls->GetHeight() - itemHeight) {
    scrollDown_ = true;
    Timer1->SetEnabled(true);
  } else if (y < itemHeight) {
    scrollDown_ = false;
    Timer1->SetEnabled(true);
  } else {
    Timer1->SetEnabled(false);
  }
  LstControls->SetItemIndex(dragTarget_);
}

void TKxFrmCustomizeToolbar::LstControlsDragDrop(TObject*, TObject*, int, int) {
  if (dragTarget_ == -1) return;
  MoveItem(dragSource_, dragTarget_);
}

void TKxFrmCustomizeToolbar::LstControlsEndDrag(TObject*, TObject*, int, int) { Timer1->SetEnabled(false); }

void TKxFrmCustomizeToolbar::Timer1Timer(TObject*) {
  int top = LstControls->GetTopIndex();
  if (!scrollDown_) {
    if (top <= 0) Timer1->SetEnabled(false);
    else LstControls->SetTopIndex(top - 1);
  } else {
    if (top >= LstControls->GetItems()->GetCount() - 1) Timer1->SetEnabled(false);
    else LstControls->SetTopIndex(top + 1);
  }
}

// --- showing, hiding, text options ---

void TKxFrmCustomizeToolbar::LstControlsClick(TObject*) { EnableMoveButtons(LstControls->GetItemIndex()); }

void TKxFrmCustomizeToolbar::LstControlsChange(TObject*, int index, TCheckBoxState newState) {
  if (!toolbar_ || index < 0 || index >= toolbar_->GetToolbarControls()->GetCount()) return;
  if (TControl* c = toolbar_->GetToolbarControls()->GetControl(index)) c->SetVisible(newState == cbChecked);
  toolbar_->PositionControls();
}

void TKxFrmCustomizeToolbar::CbxTextOptionsClick(TObject*) {
  if (!toolbar_) return;
  int i = CbxTextOptions->GetItemIndex();
  if (i >= 0 && i <= ttoSelectiveTextOnRight) toolbar_->SetTextOptions(static_cast<TKxToolbarTextOptions>(i));
}
