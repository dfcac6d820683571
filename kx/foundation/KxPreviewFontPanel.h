// TKxPreviewFontPanel: the borderless pop-up that shows a font's sample
// for the control it serves, the font combo box or the font list box. It
// lives with the font list box in the foundation so that the foundation
// needs nothing of the controls; the combo boxes' header offers it too.
#pragma once

#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

// The library's message that asks the control a font preview serves to hide
// the preview.
inline constexpr UINT CM_HIDEPREVIEWPANEL = CM_BASE + 1005;

// The panel asks the control it serves to hide it with CM_HIDEPREVIEWPANEL.
class TKxPreviewFontPanel : public TCustomPanel {
  DECLARE_CLASS(TKxPreviewFontPanel, TCustomPanel)

  explicit TKxPreviewFontPanel(TComponent* owner);
  // The preview of a font list: owned by the list (it never joins a stored
  // form), floating over the list's owner, asking the list to hide it.
  static TKxPreviewFontPanel* CreateFor(TWinControl* list, TComponent* owner);

  TWinControl* GetServed() const { return served_; }
  void SetServed(TWinControl* c) { served_ = c; }
  // Shown at a screen point without activation, at its own size; hidden.
  void ShowAt(int x, int y);
  void HidePanel();
  bool GetPanelShown() const { return shown_; }
  // The caption and its alignment: the sample KxPreviewText gives for the
  // list's PreviewText and PreviewEdit in the panel's font and width.
  void UpdateSample(const std::string& previewText, TCustomEdit* edit);

  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& m) override;

 private:
  void AskToHide();

  TWinControl* served_ = nullptr;
  bool shown_ = false;
};
