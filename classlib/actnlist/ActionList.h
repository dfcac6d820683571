// Action lists and the actions they hold: TContainedAction, TCustomAction,
// TAction, TActionLink, TCustomActionList, TActionList.
#pragma once

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/classes/Action.h"

class TCustomActionList;
class TCustomImageList;

class TContainedAction : public TBasicAction {
  DECLARE_CLASS(TContainedAction, TBasicAction)

  explicit TContainedAction(TComponent* owner);

  // The list's handler, then the application's, then OnExecute, then
  // CM_ACTIONEXECUTE to the application window: true when one took it.
  bool Execute() override;
  bool Update() override;

  TCustomActionList* GetActionList() const { return actionList_; }
  void SetActionList(TCustomActionList* list);
  int GetIndex() const;
  void SetIndex(int v);
  const std::string& GetCategory() const { return category_; }
  void SetCategory(const std::string& v);

  bool HasParent() override { return actionList_ != nullptr; }
  TComponent* GetParentComponent() override;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void Destroy() override;

 private:
  friend class TCustomActionList;
  TCustomActionList* actionList_ = nullptr;
  std::string category_;
};

using THintEvent = TClosure<void(std::string& HintStr, bool& CanShow)>;

class TCustomAction : public TContainedAction {
  DECLARE_CLASS(TCustomAction, TContainedAction)

  explicit TCustomAction(TComponent* owner);

  bool Execute() override;
  // OnHint may change the text or forbid the hint.
  virtual bool DoHint(std::string& hintStr);
  bool Suspended() const;
  void AssignTo(TPersistent* dest) override;

  const std::string& GetCaption() const { return caption_; }
  virtual void SetCaption(const std::string& v);
  bool GetChecked() const { return checked_; }
  void SetChecked(bool v);
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool v);
  int GetGroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  int GetHelpContext() const { return helpContext_; }
  void SetHelpContext(int v);
  const std::string& GetHint() const { return hint_; }
  virtual void SetHint(const std::string& v);
  int GetImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  TShortCut GetShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool v);
  // The list's images.
  TCustomImageList* GetImages() const;
  bool GetDisableIfNoHandler() const { return disableIfNoHandler_; }
  void SetDisableIfNoHandler(bool v) { disableIfNoHandler_ = v; }
  THintEvent OnHint;
  THintEvent GetOnHint() const { return OnHint; }
  void SetOnHint(THintEvent e) { OnHint = e; }

 private:
  template <class F>
  void ForLinks(F f);

  std::string caption_;
  bool checked_ = false;
  bool checking_ = false;
  bool enabled_ = true;
  int groupIndex_ = 0;
  int helpContext_ = 0;
  std::string hint_;
  int imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  bool visible_ = true;
  bool disableIfNoHandler_ = true;
};

class TAction : public TCustomAction {
  DECLARE_CLASS(TAction, TCustomAction)
  explicit TAction(TComponent* owner);
};

// The link from an action to a client: each property is "linked" while the
// client still shows the action's value, and only then follows it.
class TActionLink : public TBasicActionLink {
  DECLARE_CLASS(TActionLink, TBasicActionLink)
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsGroupIndexLinked();
  virtual bool IsHelpContextLinked();
  virtual bool IsHintLinked();
  virtual bool IsImageIndexLinked();
  virtual bool IsShortCutLinked();
  virtual bool IsVisibleLinked();
  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetGroupIndex(int) {}
  virtual void SetHelpContext(int) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  // The hint the client shows for the action: OnHint, then the shortcut in
  // brackets when the application shows shortcuts in hints.
  virtual bool DoShowHint(std::string& hintStr);

 protected:
  TCustomAction* CustomAction() const;
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };
DECLARE_ENUM_TYPE(TActionListState);

using TActionEvent = TClosure<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
  DECLARE_CLASS(TCustomActionList, TComponent)

  explicit TCustomActionList(TComponent* owner);

  int GetActionCount() const { return static_cast<int>(actions_.size()); }
  // Raises EListError "List index out of bounds (%d)" for a bad index.
  TContainedAction* GetAction(int index) const {
    if (index < 0 || index >= static_cast<int>(actions_.size())) TList::Error(SListIndexError, index);
    return actions_[static_cast<size_t>(index)];
  }
  void AddAction(TContainedAction* action);
  void RemoveAction(TContainedAction* action);
  // OnExecute / OnUpdate of the list: true when the handler took the action.
  virtual bool ExecuteAction(TBasicAction* action) override;
  virtual bool UpdateAction(TBasicAction* action) override;
  bool IsShortCut(TShortCut shortCut);

  TActionListState GetState() const { return state_; }
  void SetState(TActionListState v);
  TCustomImageList* GetImages() const { return images_; }
  void SetImages(TCustomImageList* v);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;
  TActionEvent GetOnExecute() const { return OnExecute; }
  void SetOnExecute(TActionEvent e) { OnExecute = e; }
  TActionEvent GetOnUpdate() const { return OnUpdate; }
  void SetOnUpdate(TActionEvent e) { OnUpdate = e; }
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent e) { OnChange = e; }

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  virtual void Change();
  void Destroy() override;

 private:
  friend class TContainedAction;
  std::vector<TContainedAction*> actions_;
  TActionListState state_ = asNormal;
  TCustomImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
  DECLARE_CLASS(TActionList, TCustomActionList)
  explicit TActionList(TComponent* owner);
};

// Sends a message to the application window (0 when there is none).
LRESULT SendAppMessage(UINT msg, WPARAM wParam, LPARAM lParam);
