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
#include <vector>

#include "classlib/Buttons.h"
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
  // A dock site with UseDockManager gets the library's dock manager, and
  // paints double-buffered from then on.
  IDockManager* CreateDockManager() override;

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

// ---------------------------------------------------------------------------
// Dock manager

// The dock tree of a framed panel: each docked control under a caption bar
// (a strip on the left for a panel aligned to the top or bottom) with its
// text and a close glyph, in the caption colours of whether it has the focus.
class TKxPanelDockManager : public TDockTree {
  DECLARE_CLASS(TKxPanelDockManager, TDockTree)

  explicit TKxPanelDockManager(TWinControl* dockSite);

  TKxCustomPanel* GetPanel() const { return panel_; }
  TFont* GetCaptionFont() const { return captionFont_; }
  TFont* GetCloseFont() const { return closeFont_; }

  void AdjustDockRect(TControl* control, RECT& rect) override;
  void PaintDockFrame(TCanvas* canvas, TControl* control, const RECT& rect) override;
  void PaintSite(HDC dc) override;
  // text turned by 90 degrees, read upwards from the bottom of rect.
  void DrawVertTitle(TCanvas* canvas, const std::string& text, const RECT& rect);

 protected:
  void Destroy() override;

 private:
  // Put in front of the dock site's WindowProc.
  void SiteWindowProc(TMessage& message);

  TKxCustomPanel* panel_;
  TFont* captionFont_ = nullptr;
  TFont* closeFont_ = nullptr;
  TWndMethod oldWindowProc_;
  bool hooked_ = false;
};

// ---------------------------------------------------------------------------
// Toolbar

class TKxToolbar;

// One listed control of a toolbar, with the name it had when listed.
class TKxToolbarControl : public TObject {
  DECLARE_CLASS(TKxToolbarControl, TObject)

  TControl* GetControl() const { return control_; }
  void SetControl(TControl* value) { control_ = value; }
  const std::string& GetControlName() const { return controlName_; }
  void SetControlName(const std::string& value) { controlName_ = value; }
  // A hook for descendants: a stored entry (source) was matched to this
  // live one.
  virtual void AssignElements(TKxToolbarControl*) {}

 private:
  TControl* control_ = nullptr;
  std::string controlName_;
};

// The toolbar's controls in layout order; owns its entries. Stored with the
// form as "ToolbarControls", the controls' names.
class TKxToolbarControlList : public TObject {
  DECLARE_CLASS(TKxToolbarControlList, TObject)

  explicit TKxToolbarControlList(TKxToolbar* toolbar) : toolbar_(toolbar) {}
  ~TKxToolbarControlList() override { DestroyUnfinished(); }

  TKxToolbar* GetToolbar() const { return toolbar_; }
  int GetCount() const { return static_cast<int>(items_.size()); }
  TKxToolbarControl* GetItem(int index) const;
  // The control of entry index (null for an entry that has only a name).
  TControl* GetControl(int index) const { return GetItem(index)->GetControl(); }
  // The entry's index; a control not listed yet is appended.
  int AddControl(TControl* control);
  // The index of the entry of that name (without regard to case); else a
  // new entry with only the name.
  int AddControlName(const std::string& name);
  // Remove and free the entry; -1 when there is none.
  int RemoveControl(TControl* control);
  int RemoveControlName(const std::string& name);
  int IndexOf(TControl* control) const;
  int IndexOfName(const std::string& name) const;
  void Move(int curIndex, int newIndex);
  void Delete(int index);
  void Clear();
  void ReadControls(TReader* reader);
  void WriteControls(TWriter* writer);
  // Matches the names read to the owner's controls (see KxToolbar.cpp).
  void ControlsAreLoaded(TComponent* owner);

  // --- introduced virtual operations ---------------------------------------------------
  virtual void ReadControl(TReader* reader);
  virtual void WriteControl(int index, TWriter* writer);
  virtual TKxToolbarControl* CreateToolBarControl();

 protected:
  void Destroy() override;

 private:
  int Append(TKxToolbarControl* entry);

  TKxToolbar* toolbar_;
  std::vector<TKxToolbarControl*> items_;
  TKxToolbarControlList* readList_ = nullptr;
  int lastRead_ = -1;
};

// The customisation dialog's default texts, the nine captions in order
// (resource strings of the library).
inline constexpr int SKxCustomizeTitle = 65280;

// The texts of the customisation dialog.
class TKxCustomizeCaptions : public TPersistent {
  DECLARE_CLASS(TKxCustomizeCaptions, TPersistent)

  TKxCustomizeCaptions();

  // 1 Title, 2 Hint, 3 Close, 4 MoveUp, 5 MoveDown, 6 TextOptions,
  // 7 NoTextLabels, 8 ShowTextLabels, 9 SelectiveTextOnRight; "" outside.
  std::string GetCaption(int index);
  // Any set marks the captions as changed (stored from then on).
  void SetCaption(int index, const std::string& value);
  bool GetChanged() const { return changed_; }
  void Assign(TPersistent* source) override;

 private:
  std::string captions_[9];
  bool changed_ = false;
};

class TKxToolbar : public TKxCustomPanel {
  DECLARE_CLASS(TKxToolbar, TKxCustomPanel)

  explicit TKxToolbar(TComponent* owner);
  ~TKxToolbar() override { DestroyUnfinished(); }

  TKxToolbarControlList* GetToolbarControls() const { return controls_; }
  bool GetAutoResize() const { return autoResize_; }
  bool GetAutoStyle() const { return autoStyle_; }
  void SetAutoStyle(bool value) { autoStyle_ = value; }
  bool GetShowDivider() const { return showDivider_; }
  bool GetWrapControls() const { return wrapControls_; }
  TBitmap* GetBackground() const { return background_; }
  TCustomImageList* GetImages() const { return images_; }
  int GetMargin() const { return margin_; }
  int GetTopMargin() const { return topMargin_; }
  int GetRowHeight() const { return rowHeight_; }
  TOrientation GetOrientation() const { return orientation_; }
  TButtonLayout GetButtonLayout() const { return buttonLayout_; }
  int GetButtonWidth() const { return buttonWidth_; }
  int GetButtonHeight() const { return buttonHeight_; }
  bool GetShowButtonCaptions() const { return showButtonCaptions_; }
  TKxToolbarTextOptions GetTextOptions() const { return textOptions_; }
  TKxCustomizeCaptions* GetCustomizeCaptions() const { return customizeCaptions_; }
  TKxRegIniFile* GetRegIniFile() const { return regIniFile_; }

  TNotifyEvent OnVisibleChanged;
  TNotifyEvent GetOnVisibleChanged() const { return OnVisibleChanged; }
  void SetOnVisibleChanged(TNotifyEvent e) { OnVisibleChanged = e; }

  // Opens the customisation dialog (modal), with or without the text
  // options; every change in it applies at once.
  void Customize(bool showTextOptions);
  // The order and visibility of the controls, and TextOptions, in the
  // section named after the toolbar.
  void SaveLayout();
  void RestoreLayout();

  // --- introduced virtual operations, in the library's order --------------------------
  virtual int CalculateRowHeight(int row);
  virtual void PositionControl(int index, int row, int& offset);
  virtual TKxToolbarControlList* CreateToolbarControlList();
  // The border for an alignment: the divider on the side away from the
  // form's edge (the fields only: AutoStyle stays on).
  virtual void AdjustStyle(TAlign align);
  virtual TAlign GetAlign() const { return TControl::GetAlign(); }
  virtual void SetAlign(TAlign value);
  virtual void SetAutoResize(bool value);
  virtual void SetBackground(TBitmap* value);
  virtual void SetImages(TCustomImageList* value);
  virtual void SetMargin(int value);
  virtual void SetTopMargin(int value);
  virtual void SetOrientation(TOrientation value);
  virtual void SetRowHeight(int value);
  virtual void SetShowButtonCaptions(bool value);
  virtual void SetButtonLayout(TButtonLayout value);
  virtual void SetButtonWidth(int value);
  virtual void SetButtonHeight(int value);
  virtual void SetShowDivider(bool value);
  virtual void SetTextOptions(TKxToolbarTextOptions value);
  virtual void SetWrapControls(bool value);
  virtual void SetCustomizeCaptions(TKxCustomizeCaptions* value);
  virtual void SetRegIniFile(TKxRegIniFile* value);
  // A parent that sizes its toolbars itself turns AutoResize off.
  virtual void CheckAutoResize(bool& value);
  virtual void PositionControls();
  virtual void UpdateButtonSize(int width, int height, bool showCaptions);
  // Dynamic.
  virtual void VisibleChanged();

  void DefineProperties(TFiler* filer) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetParent(TWinControl* parent) override;
  void AlignControls(TControl* control, RECT& rect) override;
  void Paint() override;
  void DrawCaption(const TRect&) override {}
  void SetBorderInner(TFrameStyleEx value) override;
  void SetBorderOuter(TFrameStyleEx value) override;
  void SetBorderSides(TSides value) override;
  void CMVisibleChanged(TMessage& m) override;
  void CMBiDiModeChanged(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void ImagesChange(TObject* sender);
  void BackgroundChange(TObject* sender);
  // Tells every child control: a tool button takes the setting again.
  void NotifyButtons(UINT msg);
  // A button setting set from outside SetTextOptions: the options are custom.
  void ButtonSettingChanged();
  // Resizes to the rows laid out, and tells the parent.
  void AutoResizeTo(int rows, int widest);
  TComponent* OwnerComponent() const { return TComponent::GetOwner(); }

  TKxToolbarControlList* controls_ = nullptr;
  bool autoResize_ = true;
  bool autoStyle_ = true;
  bool showDivider_ = true;
  bool wrapControls_ = true;
  TBitmap* background_ = nullptr;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imageChangeLink_ = nullptr;
  int margin_ = 4;
  int topMargin_ = 2;
  int rowHeight_ = 25;
  TOrientation orientation_ = orHorizontal;
  TButtonLayout buttonLayout_ = blGlyphLeft;
  int buttonWidth_ = 25;
  int buttonHeight_ = 25;
  bool showButtonCaptions_ = false;
  TKxToolbarTextOptions textOptions_ = ttoNoTextLabels;
  TKxCustomizeCaptions* customizeCaptions_ = nullptr;
  TKxRegIniFile* regIniFile_ = nullptr;
  int rowPitch_ = 25;
  bool settingTextOptions_ = false;
  bool positioning_ = false;
};

void InitializeKxPanel();
void FinalizeKxPanel();
