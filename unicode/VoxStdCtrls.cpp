#include "unicode/VoxStdCtrls.h"

void InitializeVoxStdCtrls() {
  RegisterClasses({TVoxEdit::StaticClass(), TVoxMemo::StaticClass(), TVoxLabel::StaticClass(),
                   TVoxStaticText::StaticClass(), TVoxButton::StaticClass(), TVoxCheckBox::StaticClass(),
                   TVoxRadioButton::StaticClass(), TVoxGroupBox::StaticClass(), TVoxScrollBar::StaticClass(),
                   TVoxListBox::StaticClass(), TVoxComboBox::StaticClass()});
}
