// The toolbar customisation dialog that TKxToolbar::Customize opens: the
// toolbar's controls in layout order in a check list (unchecking hides a
// control), moved with Move Up / Move Down or by dragging, and the three
// text-label modes in a drop-down. Every change reaches the toolbar at
// once; the dialog only closes. Built from its stored form
// "TKXFRMCUSTOMIZETOOLBAR".
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TKxToolbar;
class TKxCustomizeCaptions;
class TKxLabel;
class TKxCheckList;
class TKxComboBox;

class TKxFrmCustomizeToolbar : public TForm {
  DECLARE_CLASS(TKxFrmCustomizeToolbar, TForm)

  explicit TKxFrmCustomizeToolbar(TComponent* owner) : TForm(owner) {}

  // The stored components.
  TSpeedButton* BtnSpacer = nullptr;
  TSpeedButton* BtnGrooveSpacer = nullptr;
  TKxLabel* LblHint = nullptr;
  TKxLabel* LblTextOptions = nullptr;
  TButton* BtnClose = nullptr;
  TKxCheckList* LstControls = nullptr;
  TKxComboBox* CbxTextOptions = nullptr;
  TButton* BtnMoveUp = nullptr;
  TButton* BtnMoveDown = nullptr;
  TTimer* Timer1 = nullptr;

  // The component whose client coordinates place the dialog (the
  // toolbar's owner) and the toolbar it customises.
  TComponent* GetOwnerComponent() const { return ownerComponent_; }
  void SetOwnerComponent(TComponent* value) { ownerComponent_ = value; }
  TKxToolbar* GetToolbar() const { return toolbar_; }
  void SetToolbar(TKxToolbar* value) { toolbar_ = value; }

  // Next to the toolbar, by its alignment, inside the desktop's work area.
  void Reposition();
  // The texts, the text option shown, and one item per listed control.
  void UpdateControls(TKxCustomizeCaptions* captions, bool showTextOptions);
  void EnableMoveButtons(int index);

  // --- published handlers ------------------------------------------------------------
  void BtnMoveUpClick(TObject* sender);
  void BtnMoveDownClick(TObject* sender);
  void LstControlsClick(TObject* sender);
  void LstControlsDragDrop(TObject* sender, TObject* source, int x, int y);
  void LstControlsDragOver(TObject* sender, TObject* source, int x, int y, TDragState state, bool& accept);
  void ListBoxDrawItem(TWinControl* control, int index, TRect rect, TOwnerDrawState state);
  void LstControlsEndDrag(TObject* sender, TObject* target, int x, int y);
  void LstControlsMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void Timer1Timer(TObject* sender);
  void CbxTextOptionsClick(TObject* sender);
  void LstControlsChange(TObject* sender, int index, TCheckBoxState newState);

 private:
  // The item and the toolbar's entry at from go to to, both lists alike.
  void MoveItem(int from, int to);

  TComponent* ownerComponent_ = nullptr;
  TKxToolbar* toolbar_ = nullptr;
  int dragSource_ = -1;
  int dragTarget_ = -1;
  bool scrollDown_ = false;
};
