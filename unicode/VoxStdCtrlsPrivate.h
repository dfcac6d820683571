// What the VoxStdCtrls files share among themselves.
#pragma once

#include <algorithm>
#include <string>

#include "unicode/VoxStdCtrls.h"
#include "unicode/VoxSysUtils.h"

namespace vox_stdctrls {

// The selection of an edit or a combo box's edit (C is the class library's
// TCustomEdit or TCustomComboBox, whose SelStart and SelLength count what
// the window counts) in characters of the wide text. On the Unicode
// platform the window counts UTF-16 units already; on 9x it counts ANSI
// bytes, translated through the ANSI text and its wide form.
template <class C>
std::wstring GetSelText(C* c) {
  if (!Win32PlatformIsUnicode) return AnsiToWide(c->GetSelText());
  std::wstring text = VoxControl_GetText(c);
  size_t start = std::min(static_cast<size_t>(std::max(0, c->GetSelStart())), text.size());
  return text.substr(start, static_cast<size_t>(std::max(0, c->GetSelLength())));
}

template <class C>
int GetSelStart(C* c) {
  if (Win32PlatformIsUnicode) return c->GetSelStart();
  std::string text = c->GetText();
  size_t bytes = std::min(static_cast<size_t>(std::max(0, c->GetSelStart())), text.size());
  return static_cast<int>(AnsiToWide(text.substr(0, bytes)).size());
}

template <class C>
int GetSelLength(C* c) {
  if (Win32PlatformIsUnicode) return c->GetSelLength();
  return static_cast<int>(GetSelText(c).size());
}

// The ANSI length of count wide characters of wide from start.
inline int AnsiLength(const std::wstring& wide, int start, int count) {
  size_t from = std::min(static_cast<size_t>(std::max(0, start)), wide.size());
  return static_cast<int>(WideToAnsi(wide.substr(from, static_cast<size_t>(std::max(0, count)))).size());
}

template <class C>
void SetSelStart(C* c, int value) {
  if (Win32PlatformIsUnicode) c->SetSelStart(value);
  else c->SetSelStart(AnsiLength(AnsiToWide(c->GetText()), 0, value));
}

template <class C>
void SetSelLength(C* c, int value) {
  if (Win32PlatformIsUnicode) c->SetSelLength(value);
  else c->SetSelLength(AnsiLength(AnsiToWide(c->GetText()), GetSelStart(c), value));
}

}  // namespace vox_stdctrls
