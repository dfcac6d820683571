// A program that uses the class library without running its start-up list
// (this executable, like the environment checks, starts no unit) gets an
// error that names what to call, where it used to dereference a null
// Application or make windows that no message could find again.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Forms.h"

namespace {

TEST(WithoutStartUp, TheClassLibraryNamesTheStartUpList) {
  struct TUse {
    const char* Name;
    std::function<void()> Run;
  };
  const TUse uses[] = {
      {"Application->CreateForm",
       [] {
         TForm* form = nullptr;
         Application->CreateForm(TForm::StaticClass(), form);
       }},
      {"Application->Run", [] { Application->Run(); }},
      {"Screen", [] { Screen->GetActiveForm(); }},
      {"a form's window",
       [] {
         Owned<TForm> form(New<TForm>(nullptr, 0));
         form->HandleNeeded();
       }},
  };
  ASSERT_FALSE(Application);
  ASSERT_FALSE(Screen);
  for (const TUse& use : uses) {
    SCOPED_TRACE(use.Name);
    try {
      use.Run();
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
      EXPECT_NE(e.GetMessage().find("call InitializeUnits(ClasslibUnits()) first"), std::string::npos)
          << e.GetMessage();
    }
  }
}

}  // namespace
