// TSpeedButton: a windowless button with a glyph and a caption, flat or
// raised, that can stay down as one of a group; and its action link.
#pragma once

#include "classlib/buttons/ButtonTypes.h"

class TSpeedButton : public TGraphicControl {
  DECLARE_CLASS(TSpeedButton, TGraphicControl)

  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override { DestroyUnfinished(); }

  // Setting Down needs a GroupIndex; a down button goes up only when
  // AllowAllUp is set. Going down releases the group's other buttons.
  bool GetDown() const { return down_; }
  virtual void SetDown(bool v);
  int GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  bool GetAllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  // A flat button shows its edge only under the mouse and while pressed.
  bool GetFlat() const { return flat_; }
  void SetFlat(bool v);
  // Up to four cells side by side (up, disabled, down, down in a group);
  // setting a glyph whose width is a multiple of its height (up to four
  // times) sets NumGlyphs.
  TBitmap* GetGlyph() const { return glyph_; }
  void SetGlyph(TBitmap* v);
  TNumGlyphs GetNumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(TNumGlyphs v);
  TButtonLayout GetLayout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  // Pixels from the edge to the glyph; -1 centres glyph and caption.
  int GetMargin() const { return margin_; }
  void SetMargin(int v);
  // Pixels between glyph and caption; -1 spreads them evenly.
  int GetSpacing() const { return spacing_; }
  void SetSpacing(int v);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool GetMouseInControl() const { return mouseInControl_; }
  TButtonState GetState() const { return state_; }

  // Where the glyph and the caption go in client (the caption rectangle
  // is returned in textBounds).
  void CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption,
                        TPoint& glyphPos, TRect& textBounds, UINT biDiFlags);
  // The glyph cell of a state onto canvas at pos (embossed when disabled
  // without a cell of its own).
  virtual void DrawButtonGlyph(TCanvas* canvas, TPoint pos, TButtonState state);
  virtual void DrawButtonText(TCanvas* canvas, const std::string& caption, TRect textBounds,
                              TButtonState state, UINT biDiFlags);
  void Paint() override;
  void Click() override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;

  void Dispatch(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  virtual void CMButtonPressed(TMessage& m);
  virtual void CMDialogChar(TMessage& m);
  virtual void CMTextChanged(TMessage& m);

 protected:
  void Destroy() override;
  void GlyphChanged(TObject* sender);
  // Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  // Enter or leave as the mouse now is (flat buttons).
  void UpdateTracking();

 private:
  TBitmap* glyph_ = nullptr;
  TNumGlyphs numGlyphs_ = 1;
  int groupIndex_ = 0;
  bool down_ = false;
  bool dragging_ = false;
  bool allowAllUp_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  int margin_ = -1;
  bool flat_ = false;
  bool transparent_ = true;
  bool mouseInControl_ = false;
  TButtonState state_ = bsUp;
};

// Checked follows the action while the button is a group's AllowAllUp
// button; the group index follows the action's.
class TSpeedButtonActionLink : public TControlActionLink {
  DECLARE_CLASS(TSpeedButtonActionLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;

  bool IsCheckedLinked() override;
  bool IsGroupIndexLinked() override;
  void SetChecked(bool v) override;
  void SetGroupIndex(int v) override;

 protected:
  void AssignClient(TObject* client) override;
  TSpeedButton* buttonClient_ = nullptr;
};
