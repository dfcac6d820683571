// THeaderControl, THeaderSection and THeaderSections: the ComCtrls unit's
// header over the system's header common control ("SysHeader32"). The
// sections are a collection kept in step with the control's items; the
// user's resizing comes back through the header's notifications (reflected
// as CN_NOTIFY), which keep each section's Width within its MinWidth and
// MaxWidth and fire OnSectionTrack and OnSectionResize.
#pragma once

#include "classlib/Controls.h"

class THeaderControl;

enum THeaderSectionStyle { hsText, hsOwnerDraw };
DECLARE_ENUM_TYPE(THeaderSectionStyle);
enum THeaderStyle { hsButtons, hsFlat };
DECLARE_ENUM_TYPE(THeaderStyle);
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };
DECLARE_ENUM_TYPE(TSectionTrackState);

class THeaderSection : public TCollectionItem {
  DECLARE_CLASS(THeaderSection, TCollectionItem)

  explicit THeaderSection(TCollection* collection = nullptr);

  const std::string& GetText() const { return text_; }
  void SetText(const std::string& v);
  int GetWidth() const { return width_; }
  // Kept within MinWidth and MaxWidth.
  void SetWidth(int v);
  int GetMinWidth() const { return minWidth_; }
  void SetMinWidth(int v);
  int GetMaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int v);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool GetAllowClick() const { return allowClick_; }
  void SetAllowClick(bool v);
  THeaderSectionStyle GetStyle() const { return style_; }
  void SetStyle(THeaderSectionStyle v);
  // The section's left and right edges in the header's client area.
  int GetLeft() const;
  int GetRight() const { return GetLeft() + width_; }
  THeaderControl* HeaderControl() const;

  std::string GetDisplayName() const override;
  void AssignTo(TPersistent* dest) override;

 private:
  friend class THeaderControl;
  std::string text_;
  int width_ = 50;
  int minWidth_ = 0;
  int maxWidth_ = 10000;
  TAlignment alignment_ = taLeftJustify;
  bool allowClick_ = true;
  THeaderSectionStyle style_ = hsText;
};

class THeaderSections : public TCollection {
  DECLARE_CLASS(THeaderSections, TCollection)

  explicit THeaderSections(THeaderControl* header);

  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* GetItem(int index) const { return static_cast<THeaderSection*>(TCollection::GetItem(index)); }
  THeaderSection* operator[](int index) const { return GetItem(index); }
  THeaderControl* HeaderControl() const { return header_; }

  TPersistent* GetOwner() override;
  void Update(TCollectionItem* item) override;

 private:
  THeaderControl* header_;
};

using TSectionNotifyEvent = TClosure<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TSectionTrackEvent = TClosure<void(THeaderControl* HeaderControl, THeaderSection* Section, int Width,
                                         TSectionTrackState State)>;
using TDrawSectionEvent =
    TClosure<void(THeaderControl* HeaderControl, THeaderSection* Section, const RECT& Rect, bool Pressed)>;

class THeaderControl : public TWinControl {
  DECLARE_CLASS(THeaderControl, TWinControl)

  explicit THeaderControl(TComponent* owner);

  THeaderSections* GetSections() const { return sections_; }
  void SetSections(THeaderSections* v) { sections_->Assign(v); }
  bool GetHotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v);
  THeaderStyle GetStyle() const { return style_; }
  void SetStyle(THeaderStyle v);
  // While false, a dragged divider moves only when the button is released.
  bool GetFullDrag() const { return fullDrag_; }
  void SetFullDrag(bool v);

  TSectionNotifyEvent OnSectionClick;
  TSectionNotifyEvent OnSectionResize;
  TSectionTrackEvent OnSectionTrack;
  TDrawSectionEvent OnDrawSection;
  TSectionNotifyEvent GetOnSectionClick() const { return OnSectionClick; }
  void SetOnSectionClick(TSectionNotifyEvent e) { OnSectionClick = e; }
  TSectionNotifyEvent GetOnSectionResize() const { return OnSectionResize; }
  void SetOnSectionResize(TSectionNotifyEvent e) { OnSectionResize = e; }
  TSectionTrackEvent GetOnSectionTrack() const { return OnSectionTrack; }
  void SetOnSectionTrack(TSectionTrackEvent e) { OnSectionTrack = e; }
  TDrawSectionEvent GetOnDrawSection() const { return OnDrawSection; }
  void SetOnDrawSection(TDrawSectionEvent e) { OnDrawSection = e; }

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& m) override;
  virtual void CNNotify(TMessage& m);
  virtual void CNDrawItem(TMessage& m);

  // Writes one section into the control's items (or all of them).
  void UpdateSection(int index);
  void UpdateSections();

 protected:
  void Destroy() override;
  virtual void SectionClick(THeaderSection* section);
  virtual void SectionResize(THeaderSection* section);
  virtual void SectionTrack(THeaderSection* section, int width, TSectionTrackState state);
  virtual void DrawSection(THeaderSection* section, const RECT& rect, bool pressed);

 private:
  THeaderSections* sections_ = nullptr;
  bool hotTrack_ = false;
  THeaderStyle style_ = hsButtons;
  bool fullDrag_ = true;
  TCanvas* canvas_ = nullptr;
};
