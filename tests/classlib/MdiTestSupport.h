// An MDI main form with children, for the MDI and window action tests: a
// fresh application whose main form (made by CreateForm) is an MDI form,
// shown, with a strip aligned to its top.
#pragma once

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/FormTestSupport.h"

namespace mdi_test {

class MdiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->CreateForm(TForm::StaticClass(), main_);
    main_->SetFormStyle(fsMDIForm);
    main_->SetBounds(20, 20, 640, 480);
    top_ = New<TPanel>(main_);
    top_->SetHeight(30);
    top_->SetAlign(alTop);
    top_->SetParent(main_);
    main_->Show();
    forms_test::PumpApplication(2);
  }

  // A new MDI child, owned by the application; it shows at once.
  TForm* AddChild(const std::string& caption) {
    auto* child = New<TForm>(Application, 0);
    child->SetCaption(caption);
    child->SetBounds(0, 0, 200, 150);
    child->SetFormStyle(fsMDIChild);
    forms_test::PumpApplication(2);
    return child;
  }

  // The child's window rectangle in the client window's coordinates.
  RECT InClient(TForm* child) {
    RECT r;
    GetWindowRect(child->GetHandle(), &r);
    MapWindowPoints(nullptr, main_->GetClientHandle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  RECT ClientArea() {
    RECT r;
    GetClientRect(main_->GetClientHandle(), &r);
    return r;
  }

  forms_test::TFreshApplication app_;
  TForm* main_ = nullptr;
  TPanel* top_ = nullptr;
};

}  // namespace mdi_test
