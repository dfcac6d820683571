// A label sizes itself to its text and draws it through DrawText.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

using namespace controls_test;

namespace {

// The text's extent in the font, on a screen DC.
SIZE TextSize(TFont* font, const std::string& text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  SIZE s{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &s);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return s;
}

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    label = New<TLabel>(nullptr);
    label->GetFont()->SetName("MS Sans Serif");
    label->GetFont()->SetHeight(-11);
  }
  void TearDown() override { label->Free(); }
  TLabel* label = nullptr;
};

TEST_F(LabelTest, AutoSizeTakesTheTextExtent) {
  label->SetBounds(100, 5, 10, 10);
  label->SetCaption("Product list");
  SIZE s = TextSize(label->GetFont(), "Product list");
  EXPECT_EQ(label->GetWidth(), s.cx);
  EXPECT_EQ(label->GetHeight(), s.cy);
  EXPECT_EQ(label->GetLeft(), 100);

  // A bigger font grows the label.
  label->GetFont()->SetHeight(-24);
  SIZE big = TextSize(label->GetFont(), "Product list");
  EXPECT_EQ(label->GetWidth(), big.cx);
  EXPECT_EQ(label->GetHeight(), big.cy);
}

TEST_F(LabelTest, RightAlignedLabelKeepsItsRightEdge) {
  label->SetAlignment(taRightJustify);
  label->SetCaption("ab");
  label->SetBounds(100, 5, label->GetWidth(), label->GetHeight());
  int right = label->GetLeft() + label->GetWidth();
  label->SetCaption("a much longer caption");
  EXPECT_EQ(label->GetLeft() + label->GetWidth(), right);
  EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), "a much longer caption").cx);
}

TEST_F(LabelTest, EmptyCaptionStillMeasuresOneLineAndAccelMarkIsNotCounted) {
  label->SetCaption("x");
  label->SetCaption("");
  EXPECT_EQ(label->GetHeight(), TextSize(label->GetFont(), " ").cy);
  EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), " ").cx);
  label->SetCaption("&Open");
  EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), "Open").cx);
  label->SetShowAccelChar(false);
  label->SetCaption("&Open ");  // a change of text measures again
  EXPECT_EQ(label->GetWidth(), TextSize(label->GetFont(), "&Open ").cx);
}

TEST_F(LabelTest, WithoutAutoSizeTheBoundsStay) {
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 33, 44);
  label->SetCaption("a caption wider than the label");
  EXPECT_EQ(label->GetWidth(), 33);
  EXPECT_EQ(label->GetHeight(), 44);
}

TEST_F(LabelTest, OpaqueLabelFillsWithItsColourTransparentOneDoesNot) {
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 40, 20);
  label->SetCaption("");
  label->SetColor(clRed);
  {
    TDib dib(40, 20, RGB(1, 2, 3));
    label->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    EXPECT_EQ(dib.Pixel(39, 19), RGB(255, 0, 0));
  }
  label->SetTransparent(true);
  EXPECT_FALSE(label->GetControlStyle().Contains(csOpaque));
  {
    TDib dib(40, 20, RGB(1, 2, 3));
    label->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    EXPECT_EQ(dib.Pixel(39, 19), RGB(1, 2, 3));
  }
}

// The focus moves on a shown form: the suite runs alone.
TEST(SerialLabelTest, AcceleratorFocusesTheFocusControl) {
  EnsureControlsUnit();
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 200, 120);
  auto* edit = New<TEdit>(form.get());
  edit->SetParent(form.get());
  auto* other = New<TEdit>(form.get());
  other->SetParent(form.get());
  other->SetTop(40);
  auto* label = New<TLabel>(form.get());
  label->SetParent(form.get());
  label->SetCaption("&Name:");
  label->SetFocusControl(edit);
  form->Show();
  other->SetFocus();
  PumpMessages();
  struct Case {
    WORD key;
    bool enabled;
    LRESULT result;
    TWinControl* focused;
  };
  const Case cases[] = {{'x', true, 0, other}, {'n', false, 0, other}, {'N', true, 1, edit}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    label->SetEnabled(c.enabled);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, c.key, 0), c.result);
    PumpMessages();
    EXPECT_EQ(form->GetActiveControl(), c.focused);
  }
  // The focus control's removal clears the reference.
  edit->Free();
  EXPECT_EQ(label->GetFocusControl(), nullptr);
}

}  // namespace
