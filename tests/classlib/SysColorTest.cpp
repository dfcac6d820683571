// A change of the system's colours reaches every control of a form, with or
// without a window, once: from the system's own WM_SYSCOLORCHANGE to the
// form, and through the application window for a form inside a window that
// is no form's.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;
using controls_test::THostWindow;
using controls_test::TProbeControl;

namespace {

// A windowless control that counts the changes it hears.
class TColourLabel : public TGraphicControl {
  DECLARE_CLASS(TColourLabel, TGraphicControl)
  using TGraphicControl::TGraphicControl;
  int Heard = 0;
  void CMSysColorChange(TMessage& m) override {
    ++Heard;
    inherited::CMSysColorChange(m);
  }
};
IMPLEMENT_CLASS(TColourLabel)

int Count(const TProbeControl* c, UINT msg) {
  int n = 0;
  for (UINT m : c->Seen) n += m == msg;
  return n;
}

// A form with a panel that holds a windowed and a windowless control.
struct TColourForm {
  Owned<TForm> Form;
  TProbeControl* Panel = nullptr;
  TProbeControl* Edit = nullptr;
  TColourLabel* Label = nullptr;

  TColourForm() : Form(New<TForm>(nullptr, 0)) {
    Form->SetBounds(50, 50, 240, 160);
    Panel = New<TProbeControl>(Form.get());
    Panel->SetControlStyle(Panel->GetControlStyle() + TControlStyle{csAcceptsControls});
    Panel->SetBounds(5, 5, 200, 100);
    Panel->SetParent(Form.get());
    Edit = New<TProbeControl>(Form.get());
    Edit->SetBounds(5, 5, 80, 20);
    Edit->SetParent(Panel);
    Label = New<TColourLabel>(Form.get());
    Label->SetBounds(5, 40, 80, 20);
    Label->SetParent(Panel);
    Form->HandleNeeded();
    Edit->HandleNeeded();
  }
  void Forget() {
    Panel->Seen.clear();
    Edit->Seen.clear();
    Label->Heard = 0;
  }
  // How often each control heard a change: panel, edit, label.
  std::vector<int> Heard() const {
    return {Count(Panel, CM_SYSCOLORCHANGE), Count(Edit, CM_SYSCOLORCHANGE), Label->Heard};
  }
};

TEST(SysColorTest, TheFormTellsEveryControlOnce) {
  TFreshApplication app;
  TColourForm f;
  f.Forget();
  SendMessageA(f.Form->GetHandle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(f.Heard(), (std::vector<int>{1, 1, 1}));
}

TEST(SysColorTest, TheApplicationWindowTellsOnlyFormsTheSystemDoesNotReach) {
  TFreshApplication app;
  THostWindow host;
  TColourForm top;
  TColourForm inside;
  inside.Form->SetParentWindow(host.Handle());
  inside.Form->HandleNeeded();
  inside.Edit->HandleNeeded();
  top.Forget();
  inside.Forget();
  SendMessageA(Application->GetHandle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(inside.Heard(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(top.Heard(), (std::vector<int>{0, 0, 0}));  // told by the system itself
}

// The system's own broadcast, as a colour change sends it to every
// top-level window (desktop-wide, so alone).
TEST(SerialSysColorTest, AChangedSystemColourReachesTheControls) {
  TFreshApplication app;
  TColourForm f;
  f.Form->Show();
  PumpApplication(2);
  f.Forget();
  const int element = COLOR_INFOBK;
  const COLORREF colour = GetSysColor(element);  // set to itself: nothing looks different
  ASSERT_TRUE(SetSysColors(1, &element, &colour));
  PumpApplication(2);
  EXPECT_EQ(f.Heard(), (std::vector<int>{1, 1, 1}));
}

}  // namespace
