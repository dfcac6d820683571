// The wide scroll box and frames: their Unicode windows, wide hints kept
// over new windows and in stored forms, the frames' stored forms, the
// scroll box's nested resizes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/classlib/ControlTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxStdCtrls.h"

using namespace controls_test;

namespace {

const std::wstring kChinese = L"\u4E2D\u6587";

// A wide frame with a stored form of its own ("TVOXTESTFRAME").
class TVoxTestFrame : public TVoxFrame {
  DECLARE_CLASS(TVoxTestFrame, TVoxFrame)
  using TVoxFrame::TVoxFrame;
  TVoxEdit* Edit1 = nullptr;
};
PUBLISHED(TVoxTestFrame) { p.Field("Edit1", &TVoxTestFrame::Edit1); }

// A class below the wide frame without a stored form.
class TVoxBareFrame : public TVoxFrame {
  DECLARE_CLASS(TVoxBareFrame, TVoxFrame)
  using TVoxFrame::TVoxFrame;
};
IMPLEMENT_CLASS(TVoxBareFrame)

struct TWideContainerCase {
  const char* name;
  std::function<TWinControl*()> make;
  std::function<void(TWinControl*, const std::wstring&)> setHint;
  std::function<std::wstring(TWinControl*)> hint;
};

template <class T>
TWideContainerCase Case(const char* name) {
  return {name, [] { return static_cast<TWinControl*>(New<T>(nullptr)); },
          [](TWinControl* c, const std::wstring& v) { static_cast<T*>(c)->SetHint(v); },
          [](TWinControl* c) { return static_cast<T*>(c)->GetHint(); }};
}

const TWideContainerCase kContainers[] = {Case<TVoxScrollBox>("scroll box"), Case<TVoxFrame>("frame")};

class VoxFramesTest : public ::testing::Test {
 protected:
  THostWindow host;
};

TEST_F(VoxFramesTest, TheWindowIsWideAndTheWideHintOutlivesANewWindowAndIsStored) {
  for (const TWideContainerCase& c : kContainers) {
    SCOPED_TRACE(c.name);
    Owned<TWinControl> box(c.make());
    box->SetParentWindow(host.Handle());
    box->SetName("Box");
    c.setHint(box.get(), kChinese);
    box->HandleNeeded();
    HWND first = box->GetHandle();
    EXPECT_TRUE(IsWindowUnicode(first));
    EXPECT_EQ(box->TControl::GetHint(), "??");

    box->RecreateWnd();
    box->HandleNeeded();
    EXPECT_NE(box->GetHandle(), first);
    EXPECT_TRUE(IsWindowUnicode(box->GetHandle()));
    EXPECT_EQ(c.hint(box.get()), kChinese);

    std::string text = WriteForm(box.get());
    Owned<TWinControl> copy(c.make());
    ReadForm(text, copy.get());
    EXPECT_EQ(c.hint(copy.get()), kChinese);

    // An ANSI hint set through the class library wins over the old wide one.
    box->TControl::SetHint("plain");
    EXPECT_EQ(c.hint(box.get()), L"plain");
  }
}

TEST_F(VoxFramesTest, TheAnsiRouteMakesTheClassLibrarysWindows) {
  TAnsiRoute ansi;
  for (const TWideContainerCase& c : kContainers) {
    SCOPED_TRACE(c.name);
    Owned<TWinControl> box(c.make());
    box->SetParentWindow(host.Handle());
    box->HandleNeeded();
    EXPECT_FALSE(IsWindowUnicode(box->GetHandle()));
  }
}

TEST_F(VoxFramesTest, TheFramesPublishTheFramesPropertiesWithTheWideHint) {
  for (TClass cls : {TVoxFrame::StaticClass(), TVoxScrollBox::StaticClass()}) {
    SCOPED_TRACE(cls->ClassName());
    for (const char* name : {"Align", "AutoScroll", "HorzScrollBar", "VertScrollBar", "TabOrder", "OnResize"})
      EXPECT_NE(GetPropInfo(cls, name), nullptr) << name;
    EXPECT_EQ(GetPropInfo(cls, "Hint")->PropType->Kind, tkWString);
  }
  EXPECT_NE(GetPropInfo(TVoxScrollBox::StaticClass(), "BorderStyle"), nullptr);
  EXPECT_EQ(GetPropInfo(TVoxCustomFrame::StaticClass(), "Hint")->PropType->Kind, tkWString);
}

TEST_F(VoxFramesTest, AWideFrameIsTheRootOfItsStoredForms) {
  // The wide frame itself reads none, as the class library's frame.
  Owned<TVoxFrame> plain(New<TVoxFrame>(nullptr));
  EXPECT_EQ(plain->GetWidth(), 320);
  EXPECT_EQ(plain->GetHeight(), 240);

  Owned<TVoxTestFrame> frame(New<TVoxTestFrame>(nullptr));
  ASSERT_NE(frame->Edit1, nullptr);
  EXPECT_EQ(frame->GetWidth(), 200);
  EXPECT_EQ(frame->GetHint(), kChinese);
  EXPECT_EQ(frame->Edit1->GetText(), kChinese);
  frame->SetParentWindow(host.Handle());
  frame->Edit1->HandleNeeded();
  EXPECT_EQ(WideWindowText(frame->Edit1->GetHandle()), kChinese);

  EXPECT_EQ(MessageOf<EResNotFound>([] { New<TVoxBareFrame>(nullptr); }), "Resource TVoxBareFrame not found");
}

TEST_F(VoxFramesTest, TheThirtySecondNestedSizeOfAScrollBoxIsNotHandled) {
  // Each handled WM_SIZE sends another from inside its handler, as a
  // scroll bar coming and going would.
  struct TSink : TObject {
    TVoxScrollBox* box = nullptr;
    int resized = 0;
    void Resize(TObject*) {
      ++resized;
      SendMessageW(box->GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 50));
    }
  };
  Owned<TSink> sink(New<TSink>());
  Owned<TVoxScrollBox> box(New<TVoxScrollBox>(nullptr));
  sink->box = box.get();
  box->SetParentWindow(host.Handle());
  box->HandleNeeded();
  box->SetOnResize(TNotifyEvent(sink.get(), &TSink::Resize));
  for (int round = 0; round < 2; ++round) {
    sink->resized = 0;
    SendMessageW(box->GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 50));
    // The depth went back to 0: the second chain is as long as the first.
    EXPECT_EQ(sink->resized, 31) << round;
  }
}

}  // namespace
