// Standard controls go through a stored form and come back the same: a
// panel holding a label and a list box with items.
#include "ControlTestSupport.h"

#include "classlib/ExtCtrls.h"
#include "classlib/StdCtrls.h"

using namespace controls_test;

namespace {

// The root of the stored forms here: a panel placed in a host window, so
// that the list box can have its window while it is read.
class TStoredRoot : public TPanel {
  DECLARE_CLASS(TStoredRoot, TPanel)
  using TPanel::TPanel;
  TPanel* Panel1 = nullptr;
  TLabel* Label1 = nullptr;
  TListBox* ListBox1 = nullptr;
};
PUBLISHED(TStoredRoot) {
  p.Field("Panel1", &TStoredRoot::Panel1);
  p.Field("Label1", &TStoredRoot::Label1);
  p.Field("ListBox1", &TStoredRoot::ListBox1);
}

std::string WriteText(TComponent* root) {
  Owned<TStringStream> s(New<TStringStream>());
  s->WriteComponent(root);
  return s->GetDataString();
}

class StdCtrlsStoredFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    if (!GetClass("TStoredRoot")) RegisterClass(TStoredRoot::StaticClass());
  }
  TStoredRoot* NewRoot() {
    auto* root = New<TStoredRoot>(nullptr);
    root->SetName("Root");
    root->SetBounds(0, 0, 300, 200);
    root->SetParentWindow(host.Handle());
    return root;
  }
  THostWindow host;
};

TEST_F(StdCtrlsStoredFormTest, PanelWithLabelAndListBoxRoundTrips) {
  Owned<TStoredRoot> source(NewRoot());
  auto* panel = New<TPanel>(source.get());
  panel->SetName("Panel1");
  panel->SetParent(source.get());
  panel->SetBounds(8, 8, 200, 150);
  panel->SetBevelOuter(bvLowered);
  panel->SetBorderWidth(2);
  panel->SetCaption("Products");
  auto* label = New<TLabel>(source.get());
  label->SetName("Label1");
  label->SetParent(panel);
  label->SetCaption("&Choose:");
  label->SetLeft(4);
  label->SetTop(6);
  auto* list = New<TListBox>(source.get());
  list->SetName("ListBox1");
  list->SetParent(panel);
  list->SetBounds(4, 24, 150, 100);
  list->SetSorted(true);
  list->GetItems()->Add("Scanner");
  list->GetItems()->Add("Printer 'A3'");
  list->GetItems()->Add("Camera");
  list->SetImeMode(imClose);
  list->SetImeName("Pinyin");
  label->SetFocusControl(list);

  std::string text = WriteText(source.get());
  SCOPED_TRACE(text);
  EXPECT_NE(text.find("object ListBox1: TListBox"), std::string::npos);
  EXPECT_NE(text.find("Items.Strings = ("), std::string::npos);
  EXPECT_NE(text.find("BevelOuter = bvLowered"), std::string::npos);
  EXPECT_EQ(text.find("BevelInner"), std::string::npos);  // a default is not written
  EXPECT_NE(text.find("ImeMode = imClose"), std::string::npos);

  Owned<TStoredRoot> copy(NewRoot());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(copy.get());
  ASSERT_NE(copy->Panel1, nullptr);
  ASSERT_NE(copy->Label1, nullptr);
  ASSERT_NE(copy->ListBox1, nullptr);
  EXPECT_EQ(copy->Panel1->GetBevelOuter(), bvLowered);
  EXPECT_EQ(copy->Panel1->GetBorderWidth(), 2);
  EXPECT_EQ(copy->Panel1->GetCaption(), "Products");
  EXPECT_EQ(copy->Label1->GetParent(), copy->Panel1);
  EXPECT_EQ(copy->Label1->GetCaption(), "&Choose:");
  EXPECT_EQ(copy->Label1->GetFocusControl(), copy->ListBox1);
  EXPECT_EQ(copy->ListBox1->GetParent(), copy->Panel1);
  EXPECT_TRUE(copy->ListBox1->GetSorted());
  EXPECT_EQ(copy->ListBox1->GetImeMode(), imClose);
  EXPECT_EQ(copy->ListBox1->GetImeName(), "Pinyin");
  TStrings* items = copy->ListBox1->GetItems();
  ASSERT_EQ(items->GetCount(), 3);
  EXPECT_EQ(items->Get(0), "Camera");
  EXPECT_EQ(items->Get(1), "Printer 'A3'");
  EXPECT_EQ(items->Get(2), "Scanner");
  TRect bounds = copy->ListBox1->GetBoundsRect();
  EXPECT_EQ(bounds.left, 4);
  EXPECT_EQ(bounds.top, 24);
  // Written again, the copy gives the same text.
  EXPECT_EQ(WriteText(copy.get()), text);
}

}  // namespace
