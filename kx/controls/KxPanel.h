// KxPanel: the framed library's containers and bars.
//
// TKxCustomPanel draws its own outer and inner frame styles on chosen sides
// (the class library's bevels are never drawn), a design grid, a caption
// placed in both directions, and can be transparent; while it is disabled
// it keeps which of its children were disabled on their own, so enabling it
// again gives each child back its own state. TKxCustomGroupBox draws the
// four group-box styles; TKxSpacer is a gap or groove between toolbar
// controls. TKxStatusBar holds status panes, draws a size grip that sizes
// its form and can show one simple caption instead of its panes.
// TKxToolbar lays its controls out in rows in an order of its own, switches
// its tool buttons between text-label modes and keeps its layout in a
// TKxRegIniFile. TKxPanelDockManager draws the grabbers of the controls
// docked on a panel.
//
// The unit has one header; its code is split by family: KxPanel.cpp (panel,
// group box, spacer), KxStatusBar.cpp, KxToolbar.cpp, KxPanelDock.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "kx/foundation/KxCommon.h"

enum TKxGridStyle { gsDots, gsDottedLines, gsSolidLines };
DECLARE_ENUM_TYPE(TKxGridStyle);
enum TKxGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat };
DECLARE_ENUM_TYPE(TKxGroupBoxStyle);
enum TKxToolbarTextOptions { ttoNoTextLabels, ttoShowTextLabels, ttoSelectiveTextOnRight, ttoCustom };
DECLARE_ENUM_TYPE(TKxToolbarTextOptions);

// The band a frame style takes on each side it is drawn on (fsStatus and
// fsPopup: the bevel width).
int KxFrameBand(TFrameStyleEx style, int bevelWidth);

// The height of text in font, measured as a control canvas would.
int KxTextHeight(TFont* font, const std::string& text);
int KxTextWidth(TFont* font, const std::string& text);

// ---------------------------------------------------------------------------
// TKxCustomPanel

class TKxCustomPanel : public TCustomPanel, public IKxCustomFramingNotification {
  DECLARE_CLASS(TKxCustomPanel, TCustomPanel)

  explicit TKxCustomPanel(TComponent* owner);

  TAlignmentVertical GetAlignmentVertical() const { return alignmentVertical_; }
  TFrameStyleEx GetBorderInner() const { return borderInner_; }
  TFrameStyleEx GetBorderOuter() const { return borderOuter_; }
  TSides GetBorderSides() const { return borderSides_; }
  TColor GetBorderColor() const { return borderColor_; }
  TColor GetBorderHighlight() const { return borderHighlight_; }
  TColor GetBorderShadow() const { return borderShadow_; }
  TColor GetFlatColor() const { return flatColor_; }
  int GetFlatColorAdjustment() const { return flatColorAdjustment_; }
  TKxFrameController* GetFrameController() const { return frameController_; }
  TColor GetGridColor() const { return gridColor_; }
  TKxGridStyle GetGridStyle() const { return gridStyle_; }
  uint16_t GetGridXSize() const { return gridXSize_; }
  uint16_t GetGridYSize() const { return gridYSize_; }
  bool GetShowGrid() const { return showGrid_; }
  bool GetTransparent() const { return transparent_; }
  bool GetThemeAware() const { return themeAware_; }
  bool GetShowDockClientCaptions() const { return showDockClientCaptions_; }
  void SetShowDockClientCaptions(bool value) { showDockClientCaptions_ = value; }
  void SetGridSize(uint16_t x, uint16_t y);
  // ThemeAware and the visual style in use.
  bool DrawsThemed() const;
  // The saved child states while the panel is disabled: "1" or "0" with the
  // child as object.
  TStrings* GetSavedStates() const { return savedStates_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnPaint;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }
  TNotifyEvent GetOnPaint() const { return OnPaint; }
  void SetOnPaint(TNotifyEvent e) { OnPaint = e; }

  // --- introduced virtual operations, in the library's order --------------------------
  // The mouse position in client coordinates.
  virtual TPoint CursorPosition();
  // rect less BorderWidth (when asked) and the outer and inner bands.
  virtual TRect FixClientRect(const TRect& rect, bool withBorderWidth);
  virtual TRect GetControlRect();
  virtual void DrawCaption(const TRect& rect);
  virtual void DrawGrid(const TRect& rect);
  void CustomFramingChanged() override;
  virtual void SetAlignmentVertical(TAlignmentVertical value);
  virtual void SetBorderColor(TColor value);
  virtual void SetBorderInner(TFrameStyleEx value);
  virtual void SetBorderOuter(TFrameStyleEx value);
  virtual void SetBorderSides(TSides value);
  virtual void SetBorderHighlight(TColor value);
  virtual void SetBorderShadow(TColor value);
  virtual void SetFlatColor(TColor value);
  virtual void SetFlatColorAdjustment(int value);
  virtual void SetFrameController(TKxFrameController* value);
  virtual void SetGridColor(TColor value);
  virtual void SetGridStyle(TKxGridStyle value);
  virtual void SetGridXSize(uint16_t value);
  virtual void SetGridYSize(uint16_t value);
  virtual void SetShowGrid(bool value);
  virtual void SetTransparent(bool value);
  virtual void SetThemeAware(bool value);
  // Dynamic.
  virtual void MouseEnter();
  virtual void MouseLeave();

  void DefineProperties(TFiler* filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetBounds(int left, int top, int width, int height) override;
  void AdjustClientRect(RECT& rect) override;
  void AlignControls(TControl* control, RECT& rect) override;
  void Paint() override;

  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMEnabledChanged(TMessage& m) override;
  void WMWindowPosChanged(TMessage& m) override;
  void WMEraseBkgnd(TMessage& m) override;

 protected:
  void Destroy() override;
  // The frame fields without the setters' side effects (styles that set a
  // whole look at once).
  void SetFrameFields(TFrameStyleEx inner, TFrameStyleEx outer, TSides sides) {
    borderInner_ = inner;
    borderOuter_ = outer;
    borderSides_ = sides;
  }
  template <class V>
  void Store(V& field, V value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }

 private:
  TAlignmentVertical alignmentVertical_ = avCenter;
  TFrameStyleEx borderInner_ = fsNone;
  TFrameStyleEx borderOuter_ = fsRaised;
  TSides borderSides_ = sdAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TKxFrameController* frameController_ = nullptr;
  TColor gridColor_ = clBtnShadow;
  TKxGridStyle gridStyle_ = gsDots;
  uint16_t gridXSize_ = 8;
  uint16_t gridYSize_ = 8;
  bool showGrid_ = false;
  bool transparent_ = false;
  bool themeAware_ = true;
  bool showDockClientCaptions_ = true;
  TStringList* savedStates_ = nullptr;
  bool aligning_ = false;
};

class TKxPanel : public TKxCustomPanel {
  DECLARE_CLASS(TKxPanel, TKxCustomPanel)
  using TKxCustomPanel::TKxCustomPanel;
};

// ---------------------------------------------------------------------------
// Group boxes

class TKxCustomGroupBox : public TKxCustomPanel {
  DECLARE_CLASS(TKxCustomGroupBox, TKxCustomPanel)

  explicit TKxCustomGroupBox(TComponent* owner);

  TKxGroupBoxStyle GetGroupStyle() const { return groupStyle_; }
  // Where the caption is drawn (empty without one, and for gsCustom).
  TRect CaptionRect();

  // --- introduced virtual operation ----------------------------------------------------
  // gsTopLine and gsCustom turn ThemeAware off.
  virtual void SetGroupBoxStyle(TKxGroupBoxStyle value);

  void AdjustClientRect(RECT& rect) override;
  void Paint() override;

  void CMDialogChar(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;

 private:
  TKxGroupBoxStyle groupStyle_ = gsFlat;
};

class TKxGroupBox : public TKxCustomGroupBox {
  DECLARE_CLASS(TKxGroupBox, TKxCustomGroupBox)
  using TKxCustomGroupBox::TKxCustomGroupBox;
};

// ---------------------------------------------------------------------------
// TKxSpacer

class TKxSpacer : public TGraphicControl {
  DECLARE_CLASS(TKxSpacer, TGraphicControl)

  explicit TKxSpacer(TComponent* owner);

  bool GetGrooved() const { return grooved_; }
  TOrientation GetOrientation() const { return orientation_; }

  virtual void SetGrooved(bool value);
  // A new orientation exchanges width and height (not while loading).
  virtual void SetOrientation(TOrientation value);

  void Paint() override;

 private:
  bool grooved_ = false;
  TOrientation orientation_ = orHorizontal;
};

// ---------------------------------------------------------------------------
// TKxStatusBar

class TKxStatusBar : public TKxCustomPanel {
  DECLARE_CLASS(TKxStatusBar, TKxCustomPanel)

  explicit TKxStatusBar(TComponent* owner);

  bool GetAutoStyle() const { return autoStyle_; }
  void SetAutoStyle(bool value) { autoStyle_ = value; }
  bool GetShowSizeGrip() const { return showSizeGrip_; }
  bool GetSimpleStatus() const { return simpleStatus_; }
  TFrameStyle GetSimpleFrameStyle() const { return simpleFrameStyle_; }
  const std::string& GetSimpleCaption() const { return simpleCaption_; }
  bool GetAutoScalePanes() const { return autoScalePanes_; }
  void SetAutoScalePanes(bool value) { autoScalePanes_ = value; }
  // Whether the parent form lets a grip size it (last validated).
  bool GetSizeGripAllowed() const { return sizeGripAllowed_; }
  void ValidateSizeGrip();
  TRect SizeGripRect();
  // A grip shows and works: ShowSizeGrip on and allowed.
  bool SizeGripActive() const { return showSizeGrip_ && sizeGripAllowed_; }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual void DrawSimpleStatusBorder(const TRect& rect);
  virtual void AdjustStyle();
  virtual void SetShowSizeGrip(bool value);
  virtual void SetSimpleCaption(const std::string& value);
  // The panes hide while it is on; switching it off shows every one.
  virtual void SetSimpleStatus(bool value);
  virtual void SetSimpleFrameStyle(TFrameStyle value);

  void SetBorderInner(TFrameStyleEx value) override;
  void SetBorderOuter(TFrameStyleEx value) override;
  void SetBorderSides(TSides value) override;
  void Loaded() override;
  RECT GetClientRect() override;
  void WndProc(TMessage& m) override;
  void CreateWnd() override;
  void Paint() override;
  void Resize() override;
  void WMSetCursor(TMessage& m) override;
  void WMPaint(TMessage& m) override;

 private:
  // The grip's six squares twice: light, then shadow one pixel up and left.
  void DrawSizeGrip(HDC dc);

  bool autoStyle_ = true;
  bool showSizeGrip_ = true;
  bool simpleStatus_ = false;
  TFrameStyle simpleFrameStyle_ = fsFlat;
  std::string simpleCaption_;
  bool autoScalePanes_ = false;
  bool sizeGripAllowed_ = false;
  int previousWidth_ = 0;
  int lastDelta_ = 0;
  bool firstResize_ = true;
};

void InitializeKxPanel();
void FinalizeKxPanel();
