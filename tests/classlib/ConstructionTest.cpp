// A constructor that throws after its base part was built: nothing the
// built part registered stays behind (the owner's list, free notifications,
// the parent's controls, the screen's forms, the pop-up list, windows with
// their thunks and properties, GDI objects), and the owner is freed as if
// the component had never been.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/classlib/GraphicsTestUtil.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;
using controls_test::THostWindow;
using controls_test::TProbeControl;

namespace {

// What the failing constructors reach: a component that watches them and
// the window control they put themselves on.
TComponent* gWatcher = nullptr;
TWinControl* gParent = nullptr;
HWND gWindowMade = nullptr;

void Refuse() { throw EComponentError("refused"); }

// Each class throws from its own constructor, after its base registered.
class TFailingComponent : public TComponent {
  DECLARE_CLASS(TFailingComponent, TComponent)
  explicit TFailingComponent(TComponent* owner) : TComponent(owner) {
    New<TComponent>(this);  // owned by the half-made component
    FreeNotification(gWatcher);
    Refuse();
  }
};
IMPLEMENT_CLASS(TFailingComponent)

class TFailingWinControl : public TWinControl {
  DECLARE_CLASS(TFailingWinControl, TWinControl)
  explicit TFailingWinControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 40, 20);
    SetParent(gParent);
    gWindowMade = GetHandle();  // a window, its thunk and its properties
    GetFont()->GetHandle();     // GDI objects of its own
    GetBrush()->GetHandle();
    gWatcher->FreeNotification(this);
    Refuse();
  }
};
IMPLEMENT_CLASS(TFailingWinControl)

class TFailingForm : public TForm {
  DECLARE_CLASS(TFailingForm, TForm)
  explicit TFailingForm(TComponent* owner) : TForm(owner, 0) {
    gWindowMade = GetHandle();
    Refuse();
  }
};
IMPLEMENT_CLASS(TFailingForm)

class TFailingPopupMenu : public TPopupMenu {
  DECLARE_CLASS(TFailingPopupMenu, TPopupMenu)
  explicit TFailingPopupMenu(TComponent* owner) : TPopupMenu(owner) {
    GetItems()->Add(New<TMenuItem>(this));
    GetHandle();
    Refuse();
  }
};
IMPLEMENT_CLASS(TFailingPopupMenu)

// Hears the removals it asked for.
class TWatcher : public TComponent {
  DECLARE_CLASS(TWatcher, TComponent)
  using TComponent::TComponent;
  int Removals = 0;
  void Notification(TComponent* c, TOperation op) override {
    inherited::Notification(c, op);
    if (op == opRemove) ++Removals;
  }
};
IMPLEMENT_CLASS(TWatcher)

BOOL CALLBACK CountWindow(HWND window, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  EnumChildWindows(window, CountWindow, data);
  return TRUE;
}

// What a component can be registered in or hold.
struct TRegistrations {
  int Owned = 0;
  int ParentControls = 0;
  int Forms = 0;
  int PopupMenus = 0;
  int Windows = 0;
  int GdiObjects = 0;
  bool operator==(const TRegistrations&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TRegistrations& r) {
  return os << "{owned " << r.Owned << ", parent's controls " << r.ParentControls << ", forms " << r.Forms
            << ", pop-up menus " << r.PopupMenus << ", windows " << r.Windows << ", GDI " << r.GdiObjects << "}";
}

TEST(ConstructionTest, AConstructorThatThrowsAfterItsBaseLeavesNothingBehind) {
  TFreshApplication app;
  THostWindow host;
  Owned<TComponent> owner(New<TComponent>(nullptr));
  Owned<TWatcher> watcher(New<TWatcher>(nullptr));
  gWatcher = watcher.get();
  TProbeControl* parent = controls_test::MakeContainer(host.Handle(), 200, 100);
  gParent = parent;
  parent->HandleNeeded();
  PopupList()->GetWindow();  // made on the first pop-up menu, and kept

  auto snapshot = [&] {
    TRegistrations r;
    r.Owned = owner->GetComponentCount();
    r.ParentControls = parent->GetControlCount();
    r.Forms = Screen->GetCustomFormCount();
    r.PopupMenus = PopupList()->GetCount();
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&r.Windows));
    r.GdiObjects = graphics_test::GdiObjectCount();
    return r;
  };
  struct TCase {
    const char* name;
    TClass cls;
    int removalsHeard;  // by the watcher, of the half-made component
  };
  const TCase cases[] = {
      {"a component", TFailingComponent::StaticClass(), 1},
      {"a window control", TFailingWinControl::StaticClass(), 1},
      {"a form", TFailingForm::StaticClass(), 0},
      {"a pop-up menu", TFailingPopupMenu::StaticClass(), 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    gWindowMade = nullptr;
    watcher->Removals = 0;
    const TRegistrations before = snapshot();
    EXPECT_EQ(MessageOf<EComponentError>([&] { c.cls->Create(owner.get()); }), "refused");
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(watcher->Removals, c.removalsHeard);
    if (gWindowMade) {
      EXPECT_FALSE(IsWindow(gWindowMade));
      EXPECT_EQ(FindControl(gWindowMade), nullptr);
    }
  }
  // Nothing of them is left for the owner, the watcher or the parent to
  // free or to tell.
  owner.reset();
  watcher.reset();
  parent->Free();
  gWatcher = nullptr;
  gParent = nullptr;
}

}  // namespace
