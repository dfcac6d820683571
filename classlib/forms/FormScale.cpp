// A form's scaling: by its client area, in place.
#include "classlib/forms/Form.h"

void TCustomForm::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  // The client area as it is without scroll bars: while the controls are
  // scaled the form's scroll range lags behind, and a bar that comes and
  // goes meanwhile must not count.
  int frameWidth = GetWidth() - GetClientWidth();
  int frameHeight = GetHeight() - GetClientHeight();
  if (HandleAllocated()) {
    RECT frame{0, 0, 0, 0};
    auto style = static_cast<DWORD>(GetWindowLongPtrA(GetHandle(), GWL_STYLE)) & ~DWORD{WS_HSCROLL | WS_VSCROLL};
    auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(GetHandle(), GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, ::GetMenu(GetHandle()) != nullptr, exStyle);
    frameWidth = frame.right - frame.left;
    frameHeight = frame.bottom - frame.top;
  }
  int clientWidth = GetWidth() - frameWidth;
  int clientHeight = GetHeight() - frameHeight;
  DisableAlign();
  try {
    ScaleControls(m, d);
    ScaleConstraints(m, d);
    SetBounds(GetLeft(), GetTop(), MulDiv(clientWidth, m, d) + frameWidth, MulDiv(clientHeight, m, d) + frameHeight);
    GetFont()->SetSize(MulDiv(GetFont()->GetSize(), m, d));
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}
