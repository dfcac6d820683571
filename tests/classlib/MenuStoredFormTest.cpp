// Menus in stored forms: items nest under their menu and under each other,
// read into the right tree and write back the same text.
#include <gtest/gtest.h>

#include "classlib/Classes.h"
#include "classlib/Menus.h"

namespace {

// A root like a form: it writes the components it owns that have no parent
// (the menus); the menus write their items.
class TMenuTestForm : public TComponent {
  DECLARE_CLASS(TMenuTestForm, TComponent)
  using TComponent::TComponent;

  TMainMenu* MainMenu1 = nullptr;
  TMenuItem* File1 = nullptr;
  TMenuItem* Open1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* Help1 = nullptr;
  TMenuItem* About1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* Copy1 = nullptr;
  void Open1Click(TObject* sender) { opened = sender; }
  TObject* opened = nullptr;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    if (root != this) return;
    for (int i = 0; i < GetComponentCount(); ++i)
      if (!GetComponent(i)->HasParent()) proc(GetComponent(i));
  }
};
PUBLISHED(TMenuTestForm) {
  using F = TMenuTestForm;
  p.Field("MainMenu1", &F::MainMenu1);
  p.Field("File1", &F::File1);
  p.Field("Open1", &F::Open1);
  p.Field("N1", &F::N1);
  p.Field("Exit1", &F::Exit1);
  p.Field("Help1", &F::Help1);
  p.Field("About1", &F::About1);
  p.Field("PopupMenu1", &F::PopupMenu1);
  p.Field("Copy1", &F::Copy1);
  p.Method("Open1Click", &F::Open1Click);
}

std::string Crlf(const std::string& text) {
  std::string r;
  for (char c : text) {
    if (c == '\n') r += '\r';
    r += c;
  }
  return r;
}

const char* const kForm = R"(object MenuForm: TMenuTestForm
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = Open1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Exit1: TMenuItem
        Caption = 'E&xit'
        Enabled = False
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object About1: TMenuItem
        Caption = '&About'
        Checked = True
        GroupIndex = 2
        RadioItem = True
      end
    end
  end
  object PopupMenu1: TPopupMenu
    Alignment = paRight
    AutoPopup = False
    object Copy1: TMenuItem
      Caption = 'Copy'
      Visible = False
    end
  end
end
)";

TEST(MenuStoredFormTest, NestedItemsReadIntoTheirTreeAndWriteBack) {
  RegisterClass(TMenuTestForm::StaticClass());
  Owned<TMenuTestForm> form(New<TMenuTestForm>(nullptr));
  {
    Owned<TStringStream> s(New<TStringStream>(kForm));
    s->ReadComponent(form.get());
  }
  ASSERT_NE(form->MainMenu1, nullptr);
  TMenuItem* bar = form->MainMenu1->GetItems();
  ASSERT_EQ(bar->GetCount(), 2);
  EXPECT_EQ(bar->GetItem(0), form->File1);
  EXPECT_EQ(bar->GetItem(1), form->Help1);
  ASSERT_EQ(form->File1->GetCount(), 3);
  EXPECT_EQ(form->File1->GetItem(0), form->Open1);
  EXPECT_EQ(form->File1->GetItem(1), form->N1);
  EXPECT_EQ(form->File1->GetItem(2), form->Exit1);
  EXPECT_TRUE(form->N1->IsLine());
  EXPECT_FALSE(form->Exit1->GetEnabled());
  EXPECT_EQ(form->Open1->GetShortCut(), ShortCut('O', {ssCtrl}));
  EXPECT_EQ(form->Open1->GetOwner(), form.get());
  EXPECT_EQ(form->Open1->GetParentComponent(), form->File1);
  EXPECT_EQ(form->File1->GetParentComponent(), form->MainMenu1);
  EXPECT_TRUE(form->About1->GetChecked());
  EXPECT_TRUE(form->About1->GetRadioItem());
  EXPECT_EQ(form->About1->GetGroupIndex(), 2);
  EXPECT_EQ(form->PopupMenu1->GetAlignment(), paRight);
  EXPECT_FALSE(form->PopupMenu1->GetAutoPopup());
  ASSERT_EQ(form->PopupMenu1->GetItems()->GetCount(), 1);
  EXPECT_FALSE(form->Copy1->GetVisible());

  // The event is bound to the form's method.
  EXPECT_TRUE(form->MainMenu1->DispatchCommand(form->Open1->GetCommand()));
  EXPECT_EQ(form->opened, form->Open1);

  // The native menu of what was read.
  HMENU fileMenu = form->File1->GetHandle();
  ASSERT_EQ(GetMenuItemCount(fileMenu), 3);
  char text[64] = {};
  GetMenuStringA(fileMenu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Open...\tCtrl+O");

  Owned<TStringStream> out(New<TStringStream>());
  {
    Owned<TWriter> w(New<TWriter>(out.get()));
    w->WriteDescendent(form.get(), nullptr);
  }
  EXPECT_EQ(out->GetDataString(), Crlf(kForm));
  UnRegisterClass(TMenuTestForm::StaticClass());
}

TEST(MenuStoredFormTest, ReorderingChildrenMovesTheItems) {
  Owned<TComponent> owner(New<TComponent>(nullptr));
  TPopupMenu* menu = New<TPopupMenu>(owner.get());
  TMenuItem* a = New<TMenuItem>(owner.get());
  TMenuItem* b = New<TMenuItem>(owner.get());
  a->SetParentComponent(menu);
  b->SetParentComponent(menu);
  EXPECT_EQ(a->GetParentComponent(), menu);
  menu->SetChildOrder(b, 0);
  EXPECT_EQ(menu->GetItems()->GetItem(0), b);
  std::vector<TComponent*> children;
  menu->GetChildren([&](TComponent* c) { children.push_back(c); }, owner.get());
  EXPECT_EQ(children, (std::vector<TComponent*>{b, a}));
  // Giving an item another parent takes it out of the first one.
  b->SetParentComponent(a);
  EXPECT_EQ(menu->GetItems()->GetCount(), 1);
  EXPECT_EQ(b->GetParentComponent(), a);
}

}  // namespace
