// TToolBar and TToolButton: the system's tool bar common control
// ("ToolbarWindow32") with the class library's buttons on it. Each
// TToolButton child is one item of the control (its command id is the
// button's index); the control draws and presses the items itself, so
// mouse messages over a tool button go to the control, not to the
// windowless button; the control's WM_COMMAND (reflected as CN_COMMAND)
// clicks the button. The buttons take the bounds the control gives their
// items. Other controls on a tool bar are laid out by alignment as on any
// container.
#pragma once

#include <vector>

#include "classlib/Controls.h"
#include "classlib/ImgList.h"
#include "classlib/controls/ControlActionLink.h"

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
DECLARE_ENUM_TYPE(TToolButtonStyle);

class TToolButton : public TGraphicControl {
  DECLARE_CLASS(TToolButton, TGraphicControl)

  explicit TToolButton(TComponent* owner);

  // Pressed (checked) for tbsCheck buttons.
  bool GetDown() const { return down_; }
  void SetDown(bool v);
  // Checked buttons side by side with Grouped form a group: one down at a
  // time (none with AllowAllUp).
  bool GetGrouped() const { return grouped_; }
  void SetGrouped(bool v);
  bool GetAllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  int GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  TToolButtonStyle GetStyle() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  // A new row starts after this button.
  bool GetWrap() const { return wrap_; }
  void SetWrap(bool v);
  // The button's place among the tool bar's buttons, -1 when on none.
  int GetIndex() const;
  TToolBar* GetToolBar() const;

  void Click() override;
  void ActionChange(TObject* sender, bool checkDefaults) override;
  TClass GetActionLinkClass() override;
  void SetParent(TWinControl* parent) override;
  void Dispatch(TMessage& m) override;

 private:
  friend class TToolBar;
  // The tool bar's item for this button changed.
  void RefreshItem();

  bool down_ = false;
  bool grouped_ = false;
  bool allowAllUp_ = false;
  int imageIndex_ = -1;
  TToolButtonStyle style_ = tbsButton;
  bool wrap_ = false;
};

// The link of a tool button: the action's checked state and image index
// follow into Down and ImageIndex while they agree.
class TToolButtonActionLink : public TControlActionLink {
  DECLARE_CLASS(TToolButtonActionLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;

  bool IsCheckedLinked() override;
  bool IsImageIndexLinked() override;
  void SetChecked(bool v) override;
  void SetImageIndex(int v) override;

 protected:
  void AssignClient(TObject* client) override;

 private:
  TToolButton* button_ = nullptr;
};

class TToolBar : public TWinControl {
  DECLARE_CLASS(TToolBar, TWinControl)

  explicit TToolBar(TComponent* owner);

  int GetButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* GetButton(int index) const;
  int GetButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int v);
  int GetButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int v);
  bool GetShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool v);
  bool GetFlat() const { return flat_; }
  void SetFlat(bool v);
  bool GetWrapable() const { return wrapable_; }
  void SetWrapable(bool v);
  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* v);

  // Writes the buttons into the control's items again and gives each
  // button the bounds of its item.
  void RecreateButtons();
  void UpdateButtonBounds();

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void CNCommand(TMessage& m);
  virtual void CMControlChange(TMessage& m);

 protected:
  void Destroy() override;

 private:
  friend class TToolButton;
  void ImageListChange(TObject* sender);
  void ButtonDownChanged(TToolButton* button);

  std::vector<TToolButton*> buttons_;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
  bool showCaptions_ = false;
  bool flat_ = false;
  bool wrapable_ = true;
  TCustomImageList* images_ = nullptr;
  TChangeLink* imageChangeLink_ = nullptr;
  bool updatingBounds_ = false;
};
