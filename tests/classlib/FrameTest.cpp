// Frames: a frame's stored form read into it, the frame placed twice on one
// form, a frame inside a frame, a frame class that inherits another's
// stored form, and a frame made at run time.
#include <gtest/gtest.h>

#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/common/TestSupport.h"

namespace {

class TTestFrame : public TFrame {
  DECLARE_CLASS(TTestFrame, TFrame)
  explicit TTestFrame(TComponent* owner) : TFrame(owner) {}

  TLabel* Label1 = nullptr;
  TButton* Button1 = nullptr;
  TEdit* Edit1 = nullptr;
  TTimer* Timer1 = nullptr;
  int Clicks = 0;
  void Button1Click(TObject*) { ++Clicks; }
};
PUBLISHED(TTestFrame) {
  p.Field("Label1", &TTestFrame::Label1);
  p.Field("Button1", &TTestFrame::Button1);
  p.Field("Edit1", &TTestFrame::Edit1);
  p.Field("Timer1", &TTestFrame::Timer1);
  p.Method("Button1Click", &TTestFrame::Button1Click);
}

// Inherits TTestFrame's stored form and changes it in its own.
class TTestDerivedFrame : public TTestFrame {
  DECLARE_CLASS(TTestDerivedFrame, TTestFrame)
  explicit TTestDerivedFrame(TComponent* owner) : TTestFrame(owner) {}
  TEdit* Edit2 = nullptr;
};
PUBLISHED(TTestDerivedFrame) { p.Field("Edit2", &TTestDerivedFrame::Edit2); }

class TTestOuterFrame : public TFrame {
  DECLARE_CLASS(TTestOuterFrame, TFrame)
  explicit TTestOuterFrame(TComponent* owner) : TFrame(owner) {}
  TPanel* Panel1 = nullptr;
  TTestFrame* Inner = nullptr;
};
PUBLISHED(TTestOuterFrame) {
  p.Field("Panel1", &TTestOuterFrame::Panel1);
  p.Field("Inner", &TTestOuterFrame::Inner);
}

class TTestFrameForm : public TForm {
  DECLARE_CLASS(TTestFrameForm, TForm)
  explicit TTestFrameForm(TComponent* owner) : TForm(owner) {}
  TTestFrameForm(TComponent* owner, int dummy) : TForm(owner, dummy) {}
  TTestFrame* TestFrame1 = nullptr;
  TTestFrame* TestFrame2 = nullptr;
  TTestOuterFrame* Outer = nullptr;
  int SecondClicks = 0;
  void SecondClick(TObject*) { ++SecondClicks; }
};
PUBLISHED(TTestFrameForm) {
  p.Field("TestFrame1", &TTestFrameForm::TestFrame1);
  p.Field("TestFrame2", &TTestFrameForm::TestFrame2);
  p.Field("Outer", &TTestFrameForm::Outer);
  p.Method("SecondClick", &TTestFrameForm::SecondClick);
}

class TTestNoResourceFrame : public TFrame {
  DECLARE_CLASS(TTestNoResourceFrame, TFrame)
  explicit TTestNoResourceFrame(TComponent* owner) : TFrame(owner) {}
};
IMPLEMENT_CLASS(TTestNoResourceFrame)

// The frame's own components, each owned by the frame and placed on it.
void ExpectWholeFrame(TTestFrame* frame) {
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->Button1, nullptr);
  ASSERT_NE(frame->Edit1, nullptr);
  ASSERT_NE(frame->Label1, nullptr);
  ASSERT_NE(frame->Timer1, nullptr);
  for (TComponent* c : {static_cast<TComponent*>(frame->Button1), static_cast<TComponent*>(frame->Edit1),
                        static_cast<TComponent*>(frame->Label1), static_cast<TComponent*>(frame->Timer1)})
    EXPECT_EQ(c->GetOwner(), frame) << c->GetName();
  EXPECT_EQ(frame->Button1->GetParent(), frame);
  EXPECT_EQ(frame->Timer1->GetInterval(), 300u);
  // A reference within the frame names the frame's own edit.
  EXPECT_EQ(frame->Label1->GetFocusControl(), frame->Edit1);
  EXPECT_FALSE(frame->Button1->IsLoading()) << "Loaded ran";
}

TEST(FrameTest, AFrameTwiceOnOneFormEachWithItsOwnComponentsAndEvents) {
  Owned<TTestFrameForm> form(New<TTestFrameForm>(nullptr));
  TTestFrame* first = form->TestFrame1;
  TTestFrame* second = form->TestFrame2;
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_NE(first, second);
  ExpectWholeFrame(first);
  ExpectWholeFrame(second);
  EXPECT_EQ(first->GetName(), "TestFrame1");
  EXPECT_EQ(second->GetName(), "TestFrame2");
  EXPECT_EQ(first->GetOwner(), form.get());
  EXPECT_EQ(first->GetParent(), form.get());
  EXPECT_EQ(second->GetTop(), 100);
  EXPECT_EQ(form->FindComponent("Button1"), nullptr) << "the frames' components are theirs";

  // The form's values over the second frame's stored ones.
  EXPECT_EQ(first->Button1->GetCaption(), "Frame");
  EXPECT_EQ(second->Button1->GetCaption(), "Second");
  EXPECT_EQ(second->Label1->GetCaption(), "&Second");
  EXPECT_EQ(second->Edit1->GetLeft(), 48);

  // Events: the frame's handler where the form left it, the form's where
  // the form set one.
  first->Button1->Click();
  second->Button1->Click();
  EXPECT_EQ(first->Clicks, 1);
  EXPECT_EQ(second->Clicks, 0);
  EXPECT_EQ(form->SecondClicks, 1);
}

// Written, a form names what it changed on its frames, which read back over
// the frames' own stored forms.
TEST(FrameTest, AFormWithFramesIsWrittenWithWhatItChangedAndReadBack) {
  Owned<TTestFrameForm> form(New<TTestFrameForm>(nullptr));
  form->TestFrame1->Edit1->SetText("typed");
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("inline TestFrame1: TTestFrame"), std::string::npos) << text;
  EXPECT_NE(text.find("inline Outer: TTestOuterFrame"), std::string::npos) << text;
  EXPECT_NE(text.find("OnClick = SecondClick"), std::string::npos) << text;
  EXPECT_EQ(text.find("object "), 0u) << "only the form is a new object\n" << text;
  EXPECT_EQ(text.find("object ", 1), std::string::npos) << text;
  EXPECT_EQ(text.find("Timer1"), std::string::npos) << "unchanged\n" << text;

  Owned<TTestFrameForm> copy(New<TTestFrameForm>(nullptr, 0));
  ReadForm(text, copy.get());
  ExpectWholeFrame(copy->TestFrame1);
  ExpectWholeFrame(copy->TestFrame2);
  EXPECT_EQ(copy->TestFrame1->Edit1->GetText(), "typed");
  EXPECT_EQ(copy->TestFrame2->Button1->GetCaption(), "Second");
  ASSERT_NE(copy->Outer, nullptr);
  EXPECT_EQ(copy->Outer->Inner->Button1->GetCaption(), "Deepest");
  copy->TestFrame2->Button1->Click();
  EXPECT_EQ(copy->SecondClicks, 1);
  auto body = [](const std::string& t) { return t.substr(t.find('\n')); };
  EXPECT_EQ(body(WriteForm(copy.get())), body(text)) << "the same again";
}

TEST(FrameTest, AFrameInsideAFrameTakesTheValuesOfEveryLevel) {
  Owned<TTestFrameForm> form(New<TTestFrameForm>(nullptr));
  TTestOuterFrame* outer = form->Outer;
  ASSERT_NE(outer, nullptr);
  ASSERT_NE(outer->Panel1, nullptr);
  TTestFrame* inner = outer->Inner;
  ExpectWholeFrame(inner);
  EXPECT_EQ(inner->GetOwner(), outer);
  EXPECT_EQ(inner->GetParent(), outer);
  EXPECT_EQ(inner->GetLeft(), 10);
  EXPECT_EQ(inner->GetTop(), 90);
  EXPECT_EQ(outer->GetTop(), 200);
  // The form's value wins over the outer frame's, which wins over the
  // inner frame's own.
  EXPECT_EQ(inner->Button1->GetCaption(), "Deepest");
}

TEST(FrameTest, AnInheritedFrameReadsItsAncestorsStoredFormFirst) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* frame = New<TTestDerivedFrame>(form.get());
  ExpectWholeFrame(frame);
  ASSERT_NE(frame->Edit2, nullptr);
  EXPECT_EQ(frame->Edit2->GetOwner(), frame);
  EXPECT_EQ(frame->GetWidth(), 260);
  EXPECT_EQ(frame->GetHeight(), 80);
  EXPECT_EQ(frame->Button1->GetCaption(), "Derived");
  frame->Button1->Click();
  EXPECT_EQ(frame->Clicks, 1) << "the ancestor's event stays bound";
}

TEST(FrameTest, FramesMadeAtRunTimeOnOneOwnerTakeUniqueNames) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* a = New<TTestFrame>(form.get());
  auto* b = New<TTestFrame>(form.get());
  auto* c = New<TTestFrame>(form.get());
  EXPECT_EQ(a->GetName(), "TestFrame");
  EXPECT_EQ(b->GetName(), "TestFrame_1");
  EXPECT_EQ(c->GetName(), "TestFrame_2");
  for (TTestFrame* f : {a, b, c}) {
    SCOPED_TRACE(f->GetName());
    ExpectWholeFrame(f);
    f->SetParent(form.get());
  }
  b->SetTop(100);
  form->HandleNeeded();
  EXPECT_EQ(GetParent(b->GetHandle()), form->GetHandle());
  EXPECT_EQ(GetParent(b->Button1->GetHandle()), b->GetHandle());
}

TEST(FrameTest, TheFrameClassItselfNeedsNoStoredFormOthersDo) {
  Owned<TFrame> plain(New<TFrame>(nullptr));
  EXPECT_EQ(plain->GetWidth(), 320);
  EXPECT_EQ(plain->GetHeight(), 240);
  EXPECT_EQ(MessageOf<EResNotFound>([] { New<TTestNoResourceFrame>(nullptr); }),
            "Resource TTestNoResourceFrame not found");
}

// A frame made without a parent belongs to the application window; placed
// on a form, its window is made again as the form's child.
TEST(FrameTest, AFrameShownAloneThenPlacedOnAForm) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  Owned<TTestFrame> frame(New<TTestFrame>(nullptr));
  frame->HandleNeeded();
  EXPECT_EQ(GetParent(frame->GetHandle()), Application->GetHandle());
  frame->SetParent(form.get());
  EXPECT_EQ(GetParent(frame->GetHandle()), form->GetHandle());
  frame->SetParent(nullptr);
}

}  // namespace
