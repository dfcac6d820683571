// The indexed lists of controls, forms, actions and pop-up menus refuse an
// index outside them with the platform's EListError, as TList does.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/ActnList.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

TEST(BadIndexTest, IndexesOutsideTheListRaiseListIndexOutOfBounds) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* child = New<TForm>(form.get(), 0);
  child->SetParent(form.get());
  auto* list = New<TActionList>(form.get());
  New<TAction>(form.get())->SetActionList(list);
  auto* popup = New<TPopupMenu>(form.get());
  TPopupList* popups = PopupList();
  ASSERT_NE(popups, nullptr);
  struct Case {
    const char* name;
    int count;
    std::function<void(int)> get;
  };
  const Case cases[] = {
      {"controls", form->GetControlCount(), [&](int i) { form->GetControl(i); }},
      {"actions", list->GetActionCount(), [&](int i) { list->GetAction(i); }},
      {"custom forms", Screen->GetCustomFormCount(), [&](int i) { Screen->GetCustomForms(i); }},
      {"forms", Screen->GetFormCount(), [&](int i) { Screen->GetForms(i); }},
      {"monitors", Screen->GetMonitorCount(), [&](int i) { Screen->GetMonitors(i); }},
      {"pop-up menus", popups->GetCount(), [&](int i) { popups->GetItem(i); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(c.count, 0);
    EXPECT_NO_THROW(c.get(c.count - 1));
    for (int bad : {-1, c.count}) {
      SCOPED_TRACE(bad);
      try {
        c.get(bad);
        ADD_FAILURE() << "no exception";
      } catch (const EListError& e) {
        EXPECT_EQ(e.GetMessage(), "List index out of bounds (" + std::to_string(bad) + ")");
      }
    }
  }
  (void)popup;
}

}  // namespace
