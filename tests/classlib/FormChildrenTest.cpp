// A form's stored form holds its non-visual components too: after its
// controls, those it owns that no parent writes.
#include <gtest/gtest.h>

#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/common/TestSupport.h"

namespace {

TEST(FormChildren, NonVisualComponentsAreWrittenAfterTheControlsAndReadBack) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* timer = New<TTimer>(form.get());
  timer->SetName("Timer1");
  timer->SetInterval(250);
  auto* button = New<TButton>(form.get());
  button->SetName("Button1");
  button->SetParent(form.get());
  // A control owned by the form but parented elsewhere is its parent's to write.
  auto* panel = New<TPanel>(form.get());
  panel->SetName("Panel1");
  panel->SetParent(form.get());
  auto* inner = New<TButton>(form.get());
  inner->SetName("Inner1");
  inner->SetParent(panel);

  std::string text = WriteForm(form.get());
  size_t buttonAt = text.find("object Button1: TButton");
  size_t timerAt = text.find("object Timer1: TTimer");
  ASSERT_NE(buttonAt, std::string::npos) << text;
  ASSERT_NE(timerAt, std::string::npos) << text;
  EXPECT_LT(buttonAt, timerAt);
  EXPECT_EQ(text.find("object Inner1"), text.rfind("object Inner1")) << "written once";

  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  auto* read = dynamic_cast<TTimer*>(copy->FindComponent("Timer1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetInterval(), 250u);
  EXPECT_EQ(WriteForm(copy.get()), text);
}

}  // namespace
