// KxStatus: status panes, the version information of a file and the pane
// that shows it.
//
// A pane is a small graphic control meant for a TKxStatusBar (or any
// container) that draws its own frame and caption, with the status bar's
// visual style when its parent is a theme-aware status bar (found by class
// name: the bar belongs to the controls' half of the library). Polling panes
// (clock, toggle key, free resources) share one 500 ms timer; the marquee
// scrolls on its own; the field pane puts a fixed label before its text.
//
// TKxVersionInfo reads the string table of a file's version resource once
// (the program's own file when no path is given) and keeps its ten standard
// values; the version-info panes linked to it show one of them each and are
// refreshed whenever it reads again.
//
// The version block is read with the ANSI API (GetFileVersionInfoA and
// VerQueryValueA): the strings come back in the ANSI code page, as the
// rest of the library's text. The string table is found through the first
// entry of "\VarFileInfo\Translation", so a resource whose table is not
// named after that entry shows empty values, as on the platform.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Graphics.h"
#include "classlib/ImgList.h"
#include "kx/foundation/KxCommon.h"

// The index of each standard value in the field list (stored as one byte).
enum TKxVersionInfoField : uint8_t {
  vifCompanyName,
  vifFileDescription,
  vifFileVersion,
  vifInternalName,
  vifCopyright,
  vifTrademarks,
  vifOriginalFilename,
  vifProductName,
  vifProductVersion,
  vifComments
};
DECLARE_ENUM_TYPE(TKxVersionInfoField);

// The key of each field in the version resource's string table, by ordinal.
const char* KxVersionInfoKey(TKxVersionInfoField field);

// What every field holds when the file has no version resource.
inline constexpr const char* SKxValueNotAvailable = "Value Not Available";

class TKxVersionInfoStatus;

class TKxVersionInfo : public TComponent {
  DECLARE_CLASS(TKxVersionInfo, TComponent)

  // Reads at once, except at design time.
  explicit TKxVersionInfo(TComponent* owner);

  // The file whose resource is read; empty means the program's own, and the
  // first read fills in that path.
  const std::string& GetFilePath() const { return filePath_; }
  virtual void SetFilePath(const std::string& value);

  // Reads the ten values afresh.
  void GetVersionInfo();
  // The value at index (0..9, in the order of TKxVersionInfoField); an index
  // outside the list raises the string list's index error.
  std::string GetField(int index) const;
  std::string GetVerField(TKxVersionInfoField field) const;
  // One key of the string table, read afresh and not kept; "Value Not
  // Available" when the file has no version resource or no such key.
  std::string GetCustomKeyValue(const std::string& key);
  // True when the last read found a version resource.
  bool GetAvailable() const { return available_; }

  // The linked panes: each appears once, in linking order. The list exists
  // only while a pane is linked; the component does not own the panes.
  void UpdateStatusControls();
  int AddStatus(TKxVersionInfoStatus* status);
  void RemoveStatus(TKxVersionInfoStatus* status);
  int GetStatusCount() const { return statusList_ ? statusList_->GetCount() : 0; }

  void Loaded() override;

 protected:
  void Destroy() override;

 private:
  class TVersionBlock;
  // The version block of FilePath (filling in the program's own path when it
  // is empty) and its string-table prefix; sets the availability flag.
  TVersionBlock ReadBlock();

  std::string filePath_;
  TStringList* fields_ = nullptr;
  bool available_ = false;
  TList* statusList_ = nullptr;
};

// ---------------------------------------------------------------------------
// Status panes

enum TGlyphAlignment : uint8_t { gaLeft, gaRight };
DECLARE_ENUM_TYPE(TGlyphAlignment);
enum TKxToggleKey : uint8_t { tkCapsLock, tkNumLock, tkScrollLock, tkInsert };
DECLARE_ENUM_TYPE(TKxToggleKey);
enum TKxToggleState : uint8_t { tsOn, tsOff };
DECLARE_ENUM_TYPE(TKxToggleState);
enum TKxInsertState : uint8_t { isInsert, isOverwrite };
DECLARE_ENUM_TYPE(TKxInsertState);
enum TResourceType : uint8_t { rtSystem, rtMemory };
DECLARE_ENUM_TYPE(TResourceType);
enum TDisplayStyle : uint8_t { dsBar, dsText };
DECLARE_ENUM_TYPE(TDisplayStyle);
using TSegmentRange = int;  // 1..100

// The extent of text in font, as a control canvas measures it.
SIZE KxTextExtent(TFont* font, const std::string& text);
// A one-pixel frame on the four sides of rect with its corner pixels left
// out: the flat frame of panes and of the status bar's simple caption.
void KxDrawCutCornerFrame(TCanvas* canvas, const TRect& rect, TColor color);

// The frame a pane's caption keeps clear of, inside BorderWidth.
int KxPaneFrameAllowance(TFrameStyleEx style);
// The parent when it is a TKxStatusBar (or a descendant), else null.
TWinControl* KxStatusBarParent(const TControl* control);
// The parent is a theme-aware status bar and the visual style is in use.
bool KxStatusBarThemed(const TControl* control);

class TKxCustomStatusPane : public TGraphicControl, public IKxCustomFramingNotification {
  DECLARE_CLASS(TKxCustomStatusPane, TGraphicControl)

  explicit TKxCustomStatusPane(TComponent* owner);

  int GetBorderWidth() const { return borderWidth_; }
  TColor GetFillColor() const { return fillColor_; }
  bool GetParentFillColor() const { return parentFillColor_; }
  bool IsFillColorStored() const { return !parentFillColor_; }
  TColor GetFlatColor() const { return flatColor_; }
  int GetFlatColorAdjustment() const { return flatColorAdjustment_; }
  TFrameStyle GetFrameStyle() const { return frameStyle_; }
  TKxFrameController* GetFrameController() const { return frameController_; }
  TAlignment GetAlignment() const { return alignment_; }
  bool GetBlinking() const { return blinking_; }
  TColor GetBlinkColor() const { return blinkColor_; }
  int GetCaptionOffset() const { return captionOffset_; }
  int GetDefaultWidth() const { return defaultWidth_; }
  // The colour the caption is drawn in now (the font's, or BlinkColor in a
  // blink's off phase).
  TColor GetTextColor() const { return textColor_; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = e; }
  TNotifyEvent GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = e; }

  // --- introduced virtual operations, in the library's order --------------------------
  virtual int GetMinWidth(HDC dc);
  virtual TRect GetCaptionRect();
  virtual void DrawCaption(const std::string& text);
  virtual void DrawStatusBorder();
  void CustomFramingChanged() override;
  virtual void Blink(TBlinkState state);
  virtual void SetAlignment(TAlignment value);
  virtual void SetDefaultWidth(int value);
  virtual void SetBlinking(bool value);
  virtual void SetBlinkColor(TColor value);
  virtual uint16_t GetBlinkIntervalOff();
  virtual void SetBlinkIntervalOff(uint16_t value);
  virtual uint16_t GetBlinkIntervalOn();
  virtual void SetBlinkIntervalOn(uint16_t value);
  virtual void SetBorderWidth(int value);
  virtual void SetCaptionOffset(int value);
  virtual void SetFillColor(TColor value);
  virtual void SetParentFillColor(bool value);
  virtual void SetFlatColor(TColor value);
  virtual void SetFlatColorAdjustment(int value);
  virtual void SetFrameStyle(TFrameStyle value);
  virtual void SetFrameController(TKxFrameController* value);
  // The right edge of rect (pane coordinates) reaches the right edge of a
  // status bar's client area.
  virtual bool UnderSizeGrip(const TRect& rect);
  // Dynamic.
  virtual void AdjustBounds();
  virtual void MouseEnter();
  virtual void MouseLeave();

  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetAutoSize(bool value) override;

  void Dispatch(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  void CMHitTest(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void CMParentColorChanged(TMessage& m) override;
  void CMColorChanged(TMessage& m) override;

 protected:
  void Destroy() override;
  template <class V>
  void Store(V& field, V value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  // The caption's text position (x by Alignment, y centred on "Pp").
  TPoint CaptionOrigin(TCanvas* canvas, const TRect& rect);
  // The status bar's background behind rect (pane coordinates) on canvas.
  void DrawStatusBackground(TCanvas* canvas, const TRect& rect, const TPoint& at);

 private:
  int borderWidth_ = 1;
  TColor fillColor_ = clBtnFace;
  bool parentFillColor_ = true;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TFrameStyle frameStyle_ = fsFlat;
  TKxFrameController* frameController_ = nullptr;
  TAlignment alignment_ = taLeftJustify;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  int captionOffset_ = 2;
  int defaultWidth_ = 40;
  TColor textColor_ = clWindowText;
  TColor normalTextColor_ = clWindowText;
};

class TKxStatusPane : public TKxCustomStatusPane {
  DECLARE_CLASS(TKxStatusPane, TKxCustomStatusPane)
  using TKxCustomStatusPane::TKxCustomStatusPane;
};

// A glyph (or an image-list image) beside the caption.
class TKxCustomGlyphStatus : public TKxCustomStatusPane {
  DECLARE_CLASS(TKxCustomGlyphStatus, TKxCustomStatusPane)

  explicit TKxCustomGlyphStatus(TComponent* owner);

  TBitmap* GetGlyph() const { return glyph_; }
  TGlyphAlignment GetGlyphAlignment() const { return glyphAlignment_; }
  int GetGlyphOffset() const { return glyphOffset_; }
  int GetImageIndex() const { return imageIndex_; }
  int GetDisabledIndex() const { return disabledIndex_; }
  TCustomImageList* GetImages() const { return images_; }
  int GetNumGlyphs() const { return numGlyphs_; }
  bool GetShowGlyph() const { return showGlyph_; }
  void SetGlyph(TBitmap* value);
  void SetGlyphAlignment(TGlyphAlignment value);
  void SetGlyphOffset(int value);
  void SetImageIndex(int value);
  void SetDisabledIndex(int value);
  void SetImages(TCustomImageList* value);
  void SetNumGlyphs(int value);
  void SetShowGlyph(bool value);
  // The image's size: the list's when one is chosen, else one glyph cell.
  SIZE ImageSize();

  int GetMinWidth(HDC dc) override;
  TRect GetCaptionRect() override;
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  void GlyphChanged(TObject* sender);
  void ImagesChanged(TObject* sender);

  TBitmap* glyph_ = nullptr;
  TGlyphAlignment glyphAlignment_ = gaLeft;
  int glyphOffset_ = 2;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imagesLink_ = nullptr;
  int numGlyphs_ = 1;
  bool showGlyph_ = true;
};

class TKxGlyphStatus : public TKxCustomGlyphStatus {
  DECLARE_CLASS(TKxGlyphStatus, TKxCustomGlyphStatus)
  using TKxCustomGlyphStatus::TKxCustomGlyphStatus;
};

class TKxPollingStatus;

// The one polling timer of the process and the panes it serves.
class TKxPollingList : public TObject {
  DECLARE_CLASS(TKxPollingList, TObject)

  TKxPollingList();

  void Add(TKxPollingStatus* pane);
  void Remove(TKxPollingStatus* pane);
  int GetCount() const;
  bool GetActive() const;
  void SetActive(bool value);
  uint16_t GetInterval() const;
  void SetInterval(uint16_t value);
  TTimer* GetTimer() const { return timer_; }
  // Every visible pane, first to last, gets its TimerExpired; a pane may
  // free panes meanwhile, and the last one this list.
  void TimerFired(TObject* sender);

 protected:
  void Destroy() override;

 private:
  TKxTickMembers<TKxPollingStatus> panes_;
  TTimer* timer_;
};

// The process's polling list while a polling pane exists, else null.
TKxPollingList* FindPollingList();

class TKxPollingStatus : public TKxCustomStatusPane {
  DECLARE_CLASS(TKxPollingStatus, TKxCustomStatusPane)

  explicit TKxPollingStatus(TComponent* owner);

  // Both are the shared timer's: a change reaches every polling pane.
  bool GetActive() const;
  void SetActive(bool value);
  uint16_t GetInterval() const;
  void SetInterval(uint16_t value);

  TNotifyEvent OnTimerExpired;
  TNotifyEvent GetOnTimerExpired() const { return OnTimerExpired; }
  void SetOnTimerExpired(TNotifyEvent e) { OnTimerExpired = e; }

  // Dynamic: a descendant does its work, then this fires OnTimerExpired.
  virtual void TimerExpired();

 protected:
  void Destroy() override;
};

using TKxGetDateTimeEvent = TClosure<void(TObject* sender, TDateTime& value)>;

class TKxClockStatus : public TKxPollingStatus {
  DECLARE_CLASS(TKxClockStatus, TKxPollingStatus)

  explicit TKxClockStatus(TComponent* owner);

  const std::string& GetFormat() const { return format_; }
  void SetFormat(const std::string& value);

  TKxGetDateTimeEvent OnGetDateTime;
  TKxGetDateTimeEvent GetOnGetDateTime() const { return OnGetDateTime; }
  void SetOnGetDateTime(TKxGetDateTimeEvent e) { OnGetDateTime = e; }

  // Reads the time and shows it when its text changed.
  void UpdateTime();

  TRect GetCaptionRect() override;
  void TimerExpired() override;
  void Loaded() override;
  void Paint() override;

 private:
  std::string format_;
  std::string text_;
};

class TKxKeyStrings : public TPersistent {
  DECLARE_CLASS(TKxKeyStrings, TPersistent)

  explicit TKxKeyStrings(TControl* pane = nullptr) : pane_(pane) {}

  // By index: 0 CapsLock, 1 NumLock, 2 ScrollLock, 3 Insert, 4 Overwrite.
  std::string GetString(int index) const { return strings_[static_cast<size_t>(index)]; }
  void SetString(int index, std::string value);
  bool GetChanged() const { return changed_; }
  bool IsStored() const { return changed_; }
  void Assign(TPersistent* source) override;

 private:
  TControl* pane_;
  std::string strings_[5] = {"CAPS", "NUM", "SCR", "Insert", "Overwrite"};
  bool changed_ = false;
};

class TKxKeyStatus : public TKxPollingStatus {
  DECLARE_CLASS(TKxKeyStatus, TKxPollingStatus)

  explicit TKxKeyStatus(TComponent* owner);

  TKxToggleKey GetKey() const { return key_; }
  void SetKey(TKxToggleKey value);
  TKxKeyStrings* GetKeyStrings() const { return keyStrings_; }
  void SetKeyStrings(TKxKeyStrings* value) { keyStrings_->Assign(value); }
  bool IsKeyStringsStored() const { return keyStrings_->GetChanged(); }
  TKxInsertState GetInsertState() const { return insertState_; }
  void SetInsertState(TKxInsertState value);
  TKxToggleState GetState() const { return state_; }

  void TimerExpired() override;
  void Loaded() override;
  void Paint() override;

 protected:
  void Destroy() override;

 private:
  TKxToggleKey key_ = tkCapsLock;
  TKxKeyStrings* keyStrings_;
  TKxInsertState insertState_ = isInsert;
  TKxInsertState baseInsertState_ = isInsert;
  bool insertToggle_ = false;
  TKxToggleState state_ = tsOff;
};

class TKxResourceStrings : public TPersistent {
  DECLARE_CLASS(TKxResourceStrings, TPersistent)

  explicit TKxResourceStrings(TControl* pane = nullptr) : pane_(pane) {}

  // By index: 0 System, 1 Memory.
  std::string GetString(int index) const { return strings_[static_cast<size_t>(index)]; }
  void SetString(int index, std::string value);
  bool GetChanged() const { return changed_; }
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;

 private:
  TControl* pane_;
  std::string strings_[2] = {"System", "Memory"};
  bool changed_ = false;
};

class TKxResourceStatus : public TKxPollingStatus {
  DECLARE_CLASS(TKxResourceStatus, TKxPollingStatus)

  explicit TKxResourceStatus(TComponent* owner);

  TColor GetBackColor() const { return backColor_; }
  void SetBackColor(TColor value) { Store(backColor_, value); }
  TColor GetBarColor() const { return barColor_; }
  void SetBarColor(TColor value) { Store(barColor_, value); }
  TBarStyle GetBarStyle() const { return barStyle_; }
  // Turns ShowPercent off.
  void SetBarStyle(TBarStyle value);
  TDisplayStyle GetDisplayStyle() const { return displayStyle_; }
  void SetDisplayStyle(TDisplayStyle value) { Store(displayStyle_, value); }
  TSegmentRange GetNumSegments() const { return numSegments_; }
  void SetNumSegments(TSegmentRange value) { Store(numSegments_, value); }
  TOrientation GetOrientation() const { return orientation_; }
  void SetOrientation(TOrientation value) { Store(orientation_, value); }
  bool GetShowPercent() const { return showPercent_; }
  void SetShowPercent(bool value) { Store(showPercent_, value); }
  TKxResourceStrings* GetResourceStrings() const { return resourceStrings_; }
  void SetResourceStrings(TKxResourceStrings* value) { resourceStrings_->Assign(value); }
  bool IsResourceStringsStored() const { return resourceStrings_->GetChanged(); }
  TResourceType GetResourceType() const { return resourceType_; }
  int GetPercent() const { return percent_; }
  // The free kilobytes of the last reading (memory only).
  uint64_t GetKilobytes() const { return kilobytes_; }
  // The hint from the type text and the percentage.
  void UpdateHint();

  void TimerExpired() override;
  void Paint() override;
  void DefineProperties(TFiler* filer) override;

 protected:
  void Destroy() override;

 private:
  TColor backColor_ = clBtnFace;
  TColor barColor_ = clHighlight;
  TBarStyle barStyle_ = bsTraditional;
  TDisplayStyle displayStyle_ = dsBar;
  TSegmentRange numSegments_ = 15;
  TOrientation orientation_ = orHorizontal;
  bool showPercent_ = false;
  TKxResourceStrings* resourceStrings_;
  TResourceType resourceType_ = rtSystem;
  int percent_ = -1;
  uint64_t kilobytes_ = 0;
};

class TKxMarqueeStatus : public TKxStatusPane {
  DECLARE_CLASS(TKxMarqueeStatus, TKxStatusPane)

  explicit TKxMarqueeStatus(TComponent* owner);

  TKxScrollType GetScrollType() const { return scrollType_; }
  void SetScrollType(TKxScrollType value);
  bool GetScrolling() const { return scrolling_; }
  void SetScrolling(bool value);
  uint16_t GetScrollSize() const { return scrollSize_; }
  void SetScrollSize(uint16_t value);
  uint16_t GetScrollDelay() const { return scrollDelay_; }
  void SetScrollDelay(uint16_t value);
  int GetPosition() const { return position_; }
  int GetCycleLength() const { return cycleLength_; }
  TTimer* GetTimer() const { return timer_; }

  void DrawCaption(const std::string& text) override;
  void SetBounds(int left, int top, int width, int height) override;
  void CMFontChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;

 protected:
  void Destroy() override;

 private:
  void TimerTick(TObject* sender);
  void UpdateCycle();

  TKxScrollType scrollType_ = stRightToLeft;
  bool scrolling_ = true;
  uint16_t scrollSize_ = 1;
  uint16_t scrollDelay_ = 100;
  int position_ = 0;
  int cycleLength_ = 0;
  TBitmap* scratch_ = nullptr;
  TTimer* timer_ = nullptr;
};

class TKxCustomFieldStatus : public TKxCustomStatusPane {
  DECLARE_CLASS(TKxCustomFieldStatus, TKxCustomStatusPane)

  explicit TKxCustomFieldStatus(TComponent* owner);

  const std::string& GetFieldLabel() const { return fieldLabel_; }
  void SetFieldLabel(const std::string& value);
  TColor GetFieldLabelColor() const { return fieldLabelColor_; }
  void SetFieldLabelColor(TColor value) { Store(fieldLabelColor_, value); }

  int GetMinWidth(HDC dc) override;
  TRect GetCaptionRect() override;
  void DrawCaption(const std::string& text) override;

 private:
  int LabelWidth();

  std::string fieldLabel_;
  TColor fieldLabelColor_ = clHighlight;
};

class TKxFieldStatus : public TKxCustomFieldStatus {
  DECLARE_CLASS(TKxFieldStatus, TKxCustomFieldStatus)
  using TKxCustomFieldStatus::TKxCustomFieldStatus;
};

// A field pane that shows one value of a TKxVersionInfo.
class TKxVersionInfoStatus : public TKxCustomFieldStatus {
  DECLARE_CLASS(TKxVersionInfoStatus, TKxCustomFieldStatus)

  explicit TKxVersionInfoStatus(TComponent* owner);

  TKxVersionInfo* GetVersionInfo() const { return versionInfo_; }
  TKxVersionInfoField GetField() const { return field_; }

  // --- virtual operations, in the library's order ---------------------------------------
  virtual void SetVersionInfo(TKxVersionInfo* value);
  virtual void SetField(TKxVersionInfoField value);

  // Shows the component's value of Field (not at design time).
  void UpdateCaption();
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Destroy() override;

 private:
  TKxVersionInfo* versionInfo_ = nullptr;
  TKxVersionInfoField field_ = vifCompanyName;
};

// Start-up: the unit's classes join the class registry; the polling list
// goes at finalisation.
void InitializeKxStatus();
void FinalizeKxStatus();
void InitializeKxStatusPanes();
void FinalizeKxStatusPanes();
