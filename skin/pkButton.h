// TpkCustomBitBtn: the base of the skin library's windowed buttons.
//
// An owner-drawn BUTTON window that paints its face, glyph and caption into
// an off-screen TpkBitmap, behaves as a push button or as a sticky group
// button (GroupIndex, AllowAllUp, Down: one Down button per group and
// parent), supports the standard kinds (OK, Cancel ...) with their captions,
// modal results and glyphs, and can carry a window region per state (up and
// pressed) that travels with the stored form as "RegionData" and
// "DownRegionData". The base class never shapes its window itself: the image
// button (pkImgBtn) switches on region use, the face and the state-dependent
// shape through the virtual operations below.
//
// The mouse never reaches the BUTTON class: presses, moves and releases are
// the button's own (it captures the mouse itself), and Space is handled the
// same way, so the class's own pushed state and BN_CLICKED never happen.
#pragma once

#include <string>
#include <vector>

#include "classlib/Buttons.h"
#include "classlib/Controls.h"
#include "skin/pkRegion.h"

class TpkBitmap;
class TpkCaptionText;
class TpkChangeLink;
class TpkCustomBitBtn;

// Library-private message of the bit buttons' groups: CM_BUTTONPRESSED with
// WParam the group and LParam the button that went down.

// Glyph and caption offsets; the owning button repaints when the first four
// change. TextDownX/Y shift both while the button is pressed.
class TpkOffsets : public TPersistent {
  DECLARE_CLASS(TpkOffsets, TPersistent)

  explicit TpkOffsets(TpkCustomBitBtn* button = nullptr) : button_(button) {}

  int GetGlyphX() const { return glyphX_; }
  void SetGlyphX(int v) { Set(glyphX_, v); }
  int GetGlyphY() const { return glyphY_; }
  void SetGlyphY(int v) { Set(glyphY_, v); }
  int GetTextX() const { return textX_; }
  void SetTextX(int v) { Set(textX_, v); }
  int GetTextY() const { return textY_; }
  void SetTextY(int v) { Set(textY_, v); }
  int GetTextDownX() const { return textDownX_; }
  void SetTextDownX(int v) { textDownX_ = v; }
  int GetTextDownY() const { return textDownY_; }
  void SetTextDownY(int v) { textDownY_ = v; }

  TpkCustomBitBtn* GetButton() const { return button_; }
  void AssignTo(TPersistent* dest) override;

 private:
  // Stores a changed value and repaints the button.
  void Set(int& field, int v);

  TpkCustomBitBtn* button_;
  int glyphX_ = 0;
  int glyphY_ = 0;
  int textX_ = 0;
  int textY_ = 0;
  int textDownX_ = 1;
  int textDownY_ = 1;
};

// The colours of the 3-D edges and of the background behind a face.
class TpkShadeColors : public TPersistent {
  DECLARE_CLASS(TpkShadeColors, TPersistent)

  explicit TpkShadeColors(TpkCustomBitBtn* button = nullptr) : button_(button) {}

  TColor GetBtnHighlight() const { return btnHighlight_; }
  void SetBtnHighlight(TColor v) { Set(btnHighlight_, v); }
  TColor GetBtn3DLight() const { return btn3DLight_; }
  void SetBtn3DLight(TColor v) { Set(btn3DLight_, v); }
  TColor GetBtnShadow() const { return btnShadow_; }
  void SetBtnShadow(TColor v) { Set(btnShadow_, v); }
  TColor GetBtnBlack() const { return btnBlack_; }
  void SetBtnBlack(TColor v) { Set(btnBlack_, v); }
  TColor GetBtnFocus() const { return btnFocus_; }
  void SetBtnFocus(TColor v) { Set(btnFocus_, v); }
  TColor GetShadow() const { return shadow_; }
  void SetShadow(TColor v) { Set(shadow_, v); }

  void AssignTo(TPersistent* dest) override;

 private:
  void Set(TColor& field, TColor v);

  TpkCustomBitBtn* button_;
  TColor btnHighlight_ = clBtnHighlight;
  TColor btn3DLight_ = cl3DLight;
  TColor btnShadow_ = clBtnShadow;
  TColor btnBlack_ = clBlack;
  TColor btnFocus_ = clBlack;
  TColor shadow_ = clBlack;
};

enum TpkShadeStyle { fbsNormal, fbsRaised, fbsHighlight, fbsFlat };
DECLARE_ENUM_TYPE(TpkShadeStyle);

enum TpkButtonOption { boFocusable, boOverrideActionGlyph, boToggleOnUp, boFocusRect, boAutoBold };
DECLARE_ENUM_TYPE(TpkButtonOption);
using TpkButtonOptions = TSet<TpkButtonOption>;

// A kind's caption and modal result are the class library's (BitBtnCaption,
// BitBtnModalResult). Its two-cell glyph ("JNOK" ...) is loaded on first use
// and kept until the unit's finalisation; null for bkCustom.
TBitmap* BitBtnKindGlyph(TBitBtnKind kind);

class TpkCustomBitBtn : public TWinControl {
  DECLARE_CLASS(TpkCustomBitBtn, TWinControl)

  explicit TpkCustomBitBtn(TComponent* owner);

  // --- properties -------------------------------------------------------------------
  bool GetAllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value);
  bool GetCancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool GetDefault() const { return default_; }
  void SetDefault(bool value);
  bool GetDown() const { return down_; }
  // True only with a GroupIndex or while loading; SelChange when it took.
  void SetDown(bool value);
  TBitmap* GetGlyph() const { return glyph_; }
  void SetGlyph(TBitmap* value);
  int GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  // bkCustom once Default, Cancel or ModalResult left the kind's values or
  // the glyph was replaced (the kind is then forgotten).
  TBitBtnKind GetKind();
  void SetKind(TBitBtnKind value);
  TButtonLayout GetLayout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  // -1 is automatic (4 pixels); values below -1 are ignored.
  int GetMargin() const { return margin_; }
  void SetMargin(int value);
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  // 1..4 (clamped).
  int GetNumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  TpkOffsets* GetOffsets() const { return offsets_; }
  void SetOffsets(TpkOffsets* value);
  TpkButtonOptions GetOptions() const { return options_; }
  void SetOptions(TpkButtonOptions value);
  TpkShadeColors* GetShadeColors() const { return shadeColors_; }
  void SetShadeColors(TpkShadeColors* value) { shadeColors_->Assign(value); }
  TpkShadeStyle GetShadeStyle() const { return shadeStyle_; }
  virtual void SetShadeStyle(TpkShadeStyle value);
  bool GetSmoothFont() const { return smoothFont_; }
  void SetSmoothFont(bool value) { smoothFont_ = value; }
  TButtonStyle GetStyle() const { return style_; }
  void SetStyle(TButtonStyle value);
  int GetSpacing() const { return spacing_; }
  void SetSpacing(int value);
  TpkCaptionText* GetTextOptions() const { return textOptions_; }
  void SetTextOptions(TpkCaptionText* value);
  bool GetMouseInControl() const { return mouseInControl_; }
  bool GetInClick() const { return inClick_; }
  // The button Enter clicks (Default, or the focused button).
  bool GetActiveDefault() const { return activeDefault_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnSelChange;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }
  TNotifyEvent GetOnSelChange() const { return OnSelChange; }
  void SetOnSelChange(TNotifyEvent e) { OnSelChange = e; }

  // The blobs of the two states (empty: none held).
  const TpkRegionBlob& GetRegionBlob(bool pressed) const { return pressed ? downRegion_ : upRegion_; }
  // The stored-form predicates of Caption and Glyph.
  bool CaptionStored() const { return const_cast<TpkCustomBitBtn*>(this)->IsCaptionStored(); }
  bool GlyphStored() const { return const_cast<TpkCustomBitBtn*>(this)->IsGlyphStored(); }
  // The region last set on the window (the window owns it) and this
  // button's own copy of it.
  HRGN GetAppliedRegion() const { return appliedRegion_; }
  HRGN GetAppliedRegionCopy() const { return appliedCopy_.get(); }

  // --- virtual operations, in the library's order ---------------------------------------
  virtual TpkOffsets* CreateOffsets();
  // The region of a state from its blob (the caller owns it), or null.
  virtual HRGN GetStateRegion(bool createIfMissing, bool pressed);
  // Lays glyph and caption out in bounds (see the source for the rules).
  virtual void CalcLayout(TCanvas* canvas, const TRect& bounds, TRect& client, TSize textSize, TRect& glyphRect,
                          TRect& textRect);
  // Glyph.Width div NumGlyphs (the whole width when NumGlyphs is 0).
  virtual int GlyphWidth();
  virtual bool IsGlyphStored();
  virtual bool IsCaptionStored();
  // Whether "RegionData" and "DownRegionData" are written.
  virtual bool StoresRegionData() { return false; }
  virtual void ApplyRegionIfShaped();
  virtual void ClearRegions();
  virtual void FreeRegionBlob(TpkRegionBlob& blob);
  virtual void DrawGlyph(TCanvas* canvas, const TRect& glyphRect);
  virtual void DrawCaption(TCanvas* canvas, const TRect& textRect);
  virtual void PaintOnDC(const DRAWITEMSTRUCT& drawItem);
  // Paints the face of a state into bitmap (nothing in the base class).
  virtual void PaintFace(TpkBitmap* bitmap, bool shapeOnly, bool pressed, TpkShadeStyle shadeStyle);
  virtual void GlyphChanged(TObject* sender);
  virtual void NotifyLinksChanged();
  virtual void NotifyLinksChanging();
  virtual void NotifyLinksLoaded();
  virtual void PaintButton();
  virtual void RepaintNow();
  virtual void ReadRegionData(TStream* stream);
  virtual void ReadDownRegionData(TStream* stream);
  // Captures region (not taken over) into the blob of the state.
  virtual void StoreRegionData(HRGN region, bool pressed);
  virtual void SelChange();
  virtual void WriteRegionData(TStream* stream);
  virtual void WriteDownRegionData(TStream* stream);
  virtual void BroadcastPressed();
  virtual bool UseRegion() { return false; }
  virtual void ApplyRegion();
  virtual void InvalidateOutsideRegion(bool erase);
  virtual void PaintContents(TCanvas* canvas, const TRect& rect);
  virtual bool StateShapesDiffer() { return false; }
  virtual void SizeToImage() {}
  virtual void SetShadeColorsFrom(TColor color);
  virtual void AddChangeLink(TpkChangeLink* link);
  virtual void RemoveChangeLink(TpkChangeLink* link);
  // Asked by the caption renderer.
  virtual bool TextEnabled() { return GetEnabled(); }
  virtual void Reserved() {}

  // Whether the point (client coordinates; the cursor when omitted) is in
  // the button, as its presses and releases judge it.
  bool IsPointInButton(const POINT* clientPoint = nullptr);
  // The internal Down: no group rule; broadcast and repaint as asked.
  void SetDownState(bool value, bool broadcast, bool repaint);

  // --- overrides -----------------------------------------------------------------------
  void AfterConstruction() override;
  void Click() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void DefineProperties(TFiler* filer) override;
  HPALETTE GetPalette() override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyUp(WORD& key, TShiftState shift) override;
  void Dispatch(TMessage& m) override;

  void WMPaint(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override;
  void WMLButtonDown(TMessage& m) override;
  void WMLButtonDblClk(TMessage& m) override;
  void WMSize(TMessage& m) override;
  void WMCancelMode(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void CMFocusChanged(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  virtual void WMMouseActivate(TMessage& m);
  virtual void CNDrawItem(TMessage& m);
  virtual void CNMeasureItem(TMessage& m);
  virtual void CMButtonPressed(TMessage& m);

 protected:
  void Destroy() override;
  // The canvas PaintButton draws on (a DC set by PaintOnDC or RepaintNow).
  TCanvas* GetPaintCanvas() const { return canvas_; }
  // Pressed as the layout and the glyph see it: Down, except while a copy
  // of the button is painted.
  bool GetPaintPressed() const { return paintPressed_; }
  // Turned on by the image button for its paint bitmaps.
  void SetPaintHalftone(bool value) { paintHalftone_ = value; }
  // The caption's extent as the renderer measures it on canvas.
  TSize MeasureCaption(TCanvas* canvas);
  TpkRegionBlob& RegionBlob(bool pressed) { return pressed ? downRegion_ : upRegion_; }
  // Invalidates the button's bounds in its parent (erasing or not).
  void InvalidateInParent(bool erase);

 private:
  bool IsShaped();
  void PressDown();
  void Release(bool inside);
  void DialogClick(TMessage& m);
  void DoSetKind(TBitBtnKind kind);
  void CaptionRendererChanged(TObject*);

  TBitmap* glyph_ = nullptr;
  int numGlyphs_ = 1;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  TButtonStyle style_ = bsAutoDetect;
  TpkShadeStyle shadeStyle_ = fbsNormal;
  TpkShadeColors* shadeColors_ = nullptr;
  TpkOffsets* offsets_ = nullptr;
  TpkCaptionText* textOptions_ = nullptr;
  TpkButtonOptions options_;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  bool smoothFont_ = false;

  TCanvas* canvas_ = nullptr;
  std::vector<TpkChangeLink*> links_;
  TpkRegionBlob upRegion_;
  TpkRegionBlob downRegion_;
  HRGN appliedRegion_ = nullptr;
  TpkRegion appliedCopy_;
  // A state has been applied since the window was made: the next one
  // repaints what changed (no copy then means the whole rectangle).
  bool regionApplied_ = false;
  bool mousePressed_ = false;
  bool spacePressed_ = false;
  bool downAtPress_ = false;
  bool downAtSelChange_ = false;
  bool activeDefault_ = false;
  bool glyphDiffersFromKind_ = false;
  bool settingKind_ = false;
  bool inClick_ = false;
  bool resending_ = false;
  bool mouseInControl_ = false;
  bool paintPressed_ = false;
  bool paintHalftone_ = false;
};

// Start-up of the unit: nothing at start; the kind glyphs go at finalisation.
void FinalizePkButton();
