// Helpers of the wide standard control tests: wide texts that code page
// 1252 cannot hold, and wide text typed on the real keyboard.
#pragma once

#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "classlib/Win.h"
#include "tests/common/TestSupport.h"

namespace {

// U+4E2D U+6587: the ANSI form is "??".
const std::wstring kChinese = L"\u4E2D\u6587";

// Types each character on the real keyboard (SendInput with
// KEYEVENTF_UNICODE: the system posts the character itself as WM_CHAR).
inline void TypeWideText(const std::wstring& text) {
  std::vector<INPUT> in;
  for (wchar_t c : text) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    in.push_back(down);
    in.push_back(up);
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Writes a form holding the control and reads it into a new form; the
// copy of the control, or null.
template <class T>
T* StoredCopy(T* control, Owned<TForm>& copy) {
  std::string text = WriteForm(control->GetParent());
  copy.reset(New<TForm>(nullptr, 0));
  ReadForm(text, copy.get());
  return dynamic_cast<T*>(copy->FindComponent(control->GetName()));
}

// A control named name on a new form.
template <class T>
T* OnForm(Owned<TForm>& form, const char* name) {
  form.reset(New<TForm>(nullptr, 0));
  form->SetName("Stored");
  T* c = New<T>(form.get());
  c->SetName(name);
  c->SetParent(form.get());
  return c;
}

// Where an owner-drawn item's text landed: the first and last columns of
// black ink, and the width GDI gives the text in the font.
struct TItemInk {
  int First = -1, Last = -1, Width = 0;
};

// Runs draw (which draws one item into (0, 0, 200, 20)) with canvas on a
// white DIB, the font black.
template <class Draw>
TItemInk DrawItemInk(TCanvas* canvas, TFont* font, const std::wstring& text, Draw draw) {
  font->SetName("Tahoma");
  font->SetSize(10);
  font->SetColor(clBlack);
  controls_test::TDib dib(200, 20, RGB(255, 255, 255));
  canvas->SetHandle(dib.DC());
  canvas->SetFont(font);
  canvas->GetBrush()->SetColor(clWhite);
  draw();
  SIZE size{};
  GetTextExtentPoint32W(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &size);
  canvas->SetHandle(nullptr);
  TItemInk ink;
  ink.Width = size.cx;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 20; ++y)
      if (dib.Pixel(x, y) == RGB(0, 0, 0)) {
        if (ink.First < 0) ink.First = x;
        ink.Last = x;
      }
  return ink;
}

}  // namespace
