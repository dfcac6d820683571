// Labels: TCustomLabel/TLabel (windowless text drawn by its parent) and
// TCustomStaticText/TStaticText (text on the system STATIC class).
#pragma once

#include "classlib/stdctrls/StdCtrlsTypes.h"

class TCustomLabel : public TGraphicControl {
  DECLARE_CLASS(TCustomLabel, TGraphicControl)

  explicit TCustomLabel(TComponent* owner);

  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  // With AutoSize the label takes its text's size (a right-aligned label
  // keeps its right edge).
  void SetAutoSize(bool v) override;
  // The control whose focus an accelerator of the caption moves to.
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* v);
  TTextLayout GetLayout() const { return layout_; }
  void SetLayout(TTextLayout v);
  // "&" marks an accelerator (shown underlined) while this is on.
  bool GetShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  // The parent shows through where no text is drawn.
  bool GetTransparent() const;
  void SetTransparent(bool v);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

  // The text drawn (the caption; descendants may show another).
  virtual std::string GetLabelText();
  // Draws (or with DT_CALCRECT measures) the label's text into rect on the
  // canvas; a disabled label draws it embossed.
  virtual void DoDrawText(TRect& rect, UINT flags);
  // Sizes the label to its text when AutoSize is on (not while reading).
  virtual void AdjustBounds();
  void Paint() override;

  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);
  virtual void CMDialogChar(TMessage& m);

 private:
  TAlignment alignment_ = taLeftJustify;
  TWinControl* focusControl_ = nullptr;
  TTextLayout layout_ = tlTop;
  bool showAccelChar_ = true;
  bool wordWrap_ = false;
};

class TLabel : public TCustomLabel {
  DECLARE_CLASS(TLabel, TCustomLabel)
  using TCustomLabel::TCustomLabel;
};

class TCustomStaticText : public TWinControl {
  DECLARE_CLASS(TCustomStaticText, TWinControl)

  explicit TCustomStaticText(TComponent* owner);

  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  void SetAutoSize(bool v) override;
  TStaticBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TStaticBorderStyle v);
  TWinControl* GetFocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* v);
  bool GetShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);

  // The size of the text (and border) when AutoSize is on.
  virtual void AdjustBounds();
  // The text's extent (DrawText with DT_CALCRECT in flags) on dc, which has
  // the font selected; an empty text measures as one space.
  virtual void MeasureText(HDC dc, RECT& rect, UINT flags);
  void CreateParams(TCreateParams& params) override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Dispatch(TMessage& m) override;
  void CMDialogChar(TMessage& m) override;
  void CMFontChanged(TMessage& m) override;
  virtual void CMTextChanged(TMessage& m);

 private:
  TAlignment alignment_ = taLeftJustify;
  TStaticBorderStyle borderStyle_ = sbsNone;
  TWinControl* focusControl_ = nullptr;
  bool showAccelChar_ = true;
};

class TStaticText : public TCustomStaticText {
  DECLARE_CLASS(TStaticText, TCustomStaticText)
  using TCustomStaticText::TCustomStaticText;
};
