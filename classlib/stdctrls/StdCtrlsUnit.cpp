#include "classlib/stdctrls/StdCtrlsUnit.h"

#include "classlib/StdCtrls.h"

DEFINE_ENUM_TYPE(TTextLayout, "tlTop", "tlCenter", "tlBottom")
DEFINE_ENUM_TYPE(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
DEFINE_ENUM_TYPE(TScrollStyle, "ssNone", "ssHorizontal", "ssVertical", "ssBoth")
DEFINE_ENUM_TYPE(TEditCharCase, "ecNormal", "ecUpperCase", "ecLowerCase")
DEFINE_ENUM_TYPE(TScrollCode, "scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack", "scTop",
                 "scBottom", "scEndScroll")
DEFINE_ENUM_TYPE(TStaticBorderStyle, "sbsNone", "sbsSingle", "sbsSunken")
DEFINE_ENUM_TYPE(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                 "csOwnerDrawVariable")
DEFINE_ENUM_TYPE(TListBoxStyle, "lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual",
                 "lbVirtualOwnerDraw")

void InitializeStdCtrls() {
  RegisterClasses({TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TEdit::StaticClass(), TMemo::StaticClass(), TComboBox::StaticClass(), TListBox::StaticClass(),
                   TGroupBox::StaticClass(), TScrollBar::StaticClass(), TLabel::StaticClass(),
                   TStaticText::StaticClass()});
}
