#include "tests/common/LeakTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "classlib/Forms.h"
#include "tests/classlib/FormTestSupport.h"

namespace leak_test {

namespace {

// A GDI handle given by its table index alone (the generation in the high
// word left 0) names the live object at that index under Wine; the table's
// first entries are never handed out.
constexpr uintptr_t kFirstGdiIndex = 0x20;
constexpr uintptr_t kLastGdiIndex = 0xFFFF;

// How many DCs Wine's DC cache may add after a warm start (see the header).
constexpr int kDcCacheSlack = 2;

// Counts a window; EnumChildWindows already walks every descendant.
BOOL CALLBACK CountWindow(HWND, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  return TRUE;
}

BOOL CALLBACK CountWindowAndDescendants(HWND window, LPARAM data) {
  CountWindow(window, data);
  EnumChildWindows(window, CountWindow, data);
  return TRUE;
}

}  // namespace

// Wine keeps the process's GDI handle table where Windows keeps its own, so
// the table's entries in use are counted there: x64 offsets TEB+0x60 (the
// PEB) and PEB+0xF8 (GdiSharedHandleTable), 0x10000 entries of 24 bytes
// whose type byte (byte 14) is 0 while the entry is free.
int GdiObjectCount() {
  SetLastError(0);
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(n);
  // The PEB's address is at gs:[0x60] (the TEB's field), read by an
  // instruction of our own: an optimised GCC 12 build takes both offset 0x60
  // of NtCurrentTeb()'s struct (declared smaller than the TEB) and the fixed
  // address in mingw's __readgsqword for out-of-bounds accesses.
  uintptr_t pebAddress = 0;
  __asm__("movq %%gs:0x60, %0" : "=r"(pebAddress));
  const auto* peb = reinterpret_cast<const uint8_t*>(pebAddress);
  const uint8_t* table = nullptr;
  std::memcpy(&table, peb + 0xF8, sizeof table);
  if (!table) return -1;
  int count = 0;
  for (size_t i = 0; i < 0x10000; ++i) count += table[i * 24 + 14] != 0;
  return count;
}

int RegionCount() {
  int n = 0;
  for (uintptr_t i = kFirstGdiIndex; i <= kLastGdiIndex; ++i)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) == OBJ_REGION) ++n;
  return n;
}

int ThreadWindowCount() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindowAndDescendants, reinterpret_cast<LPARAM>(&n));
  return n;
}

// Menu handles are table indexes too, even ones only.
int MenuCount() {
  int n = 0;
  for (uintptr_t i = kFirstGdiIndex; i <= 0xFFEF; i += 2)
    if (IsMenu(reinterpret_cast<HMENU>(i))) ++n;
  return n;
}

THandleCounts CountHandles() {
  THandleCounts c;
  c.Gdi = GdiObjectCount() - RegionCount();
  SetLastError(0);
  c.User = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (c.User || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return c;
  c.User = ThreadWindowCount() + MenuCount();
  return c;
}

void ExpectNoHandleGrowth(const std::function<void()>& round) {
  round();
  round();
  const int gdi = GdiObjectCount(), windows = ThreadWindowCount();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_EQ(GdiObjectCount(), gdi) << "GDI objects";
  EXPECT_EQ(ThreadWindowCount(), windows) << "windows";
}

std::vector<TClass> RegisteredComponentClasses(std::string_view prefix) {
  std::vector<TClass> classes;
  for (TClass cls : RegisteredClasses())
    if (cls->ClassName().starts_with(prefix) && cls->InheritsFrom(TComponent::StaticClass()) && !cls->IsAbstract())
      classes.push_back(cls);
  return classes;
}

namespace {

// Runs a step for one class; what it raises fails the test with the class's name.
template <class F>
void Step(TClass cls, const char* what, F step) {
  try {
    step();
  } catch (const Exception& e) {
    ADD_FAILURE() << cls->ClassName() << ", " << what << ": " << e.GetMessage();
  }
}

// Paints the control now, its children with it.
void Paint(TControl* control) {
  control->Repaint();
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated())
    RedrawWindow(w->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A form class: shown, painted, enabled and disabled, made anew, freed.
void ChurnForm(TClass cls) {
  Owned<TCustomForm> form;
  Step(cls, "made", [&] { form.reset(CreateAs<TCustomForm>(cls, nullptr)); });
  if (!form) return;
  Step(cls, "shown and painted", [&] {
    form->SetBounds(60, 60, 320, 240);
    form->Show();
    Paint(form.get());
    form->SetEnabled(false);
    Paint(form.get());
    form->SetEnabled(true);
    form->RecreateWnd();
    form->HandleNeeded();
    Paint(form.get());
    forms_test::PumpApplication(2);
    form->Hide();
  });
}

}  // namespace

void ChurnComponents(const std::vector<TClass>& classes) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  form->SetBounds(20, 20, 760, 560);
  struct TMade {
    TClass Class;
    TControl* Control;
  };
  std::vector<TMade> controls;
  constexpr int kWidth = 100, kHeight = 44, kPerRow = 7;
  for (TClass cls : classes) {
    if (cls->InheritsFrom(TCustomForm::StaticClass())) {
      ChurnForm(cls);
    } else if (cls->InheritsFrom(TControl::StaticClass())) {
      Step(cls, "made on the form", [&] {
        auto* control = CreateAs<TControl>(cls, form.get());
        const int n = static_cast<int>(controls.size());
        control->SetBounds((n % kPerRow) * kWidth, (n / kPerRow) * kHeight, kWidth - 4, kHeight - 4);
        control->SetParent(form.get());
        controls.push_back({cls, control});
      });
    } else {
      Step(cls, "made and freed", [&] { Owned<TObject>(cls->Create(nullptr)); });
    }
  }
  form->Show();
  SetForegroundWindow(form->GetHandle());
  forms_test::PumpApplication(2);
  Paint(form.get());
  for (const TMade& m : controls) {
    Step(m.Class, "focused and painted", [&] {
      auto* w = dynamic_cast<TWinControl*>(m.Control);
      if (w && w->CanFocus()) w->SetFocus();
      Paint(m.Control);
    });
  }
  // Nothing of them focused.
  form->SetFocus();
  forms_test::PumpApplication(2);
  Paint(form.get());
  for (const TMade& m : controls) Step(m.Class, "disabled", [&] { m.Control->SetEnabled(false); });
  Paint(form.get());
  for (const TMade& m : controls) {
    Step(m.Class, "enabled and made anew", [&] {
      m.Control->SetEnabled(true);
      if (auto* w = dynamic_cast<TWinControl*>(m.Control); w && w->HandleAllocated()) {
        w->RecreateWnd();
        w->HandleNeeded();
      }
    });
  }
  Paint(form.get());
  forms_test::PumpApplication(2);
  form->Hide();
}

void ExpectChurnLeavesNoHandles(const std::vector<TClass>& classes, int rounds) {
  ASSERT_GT(rounds, kDcCacheSlack) << "too few rounds to tell a leak from the DC cache";
  forms_test::TFreshApplication app;
  ChurnComponents(classes);
  ChurnComponents(classes);
  forms_test::PumpApplication(2);
  const THandleCounts before = CountHandles();
  ASSERT_GT(before.Gdi, 0);
  ASSERT_GT(before.User, 0);
  for (int round = 0; round < rounds; ++round) {
    SCOPED_TRACE(round);
    ChurnComponents(classes);
  }
  forms_test::PumpApplication(2);
  const THandleCounts after = CountHandles();
  EXPECT_GE(after.Gdi, before.Gdi - kDcCacheSlack);
  EXPECT_LE(after.Gdi - before.Gdi, kDcCacheSlack) << "GDI objects";
  EXPECT_EQ(after.User, before.User) << "windows and menus";
}

}  // namespace leak_test
