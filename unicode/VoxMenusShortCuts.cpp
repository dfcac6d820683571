// The wide shortcut texts and the accelerator marks of wide captions.
#include <string_view>

#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "unicode/VoxMenus.h"
#include "unicode/VoxSysUtils.h"

namespace {

// The keys whose names the class library fixes ("BkSp", "Tab", "Enter",
// "Esc", "Space" and the navigation keys, "Ins", "Del", "F1".."F24").
bool HasFixedName(WORD key) {
  return key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ||
         (key >= VK_SPACE && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
         (key >= VK_F1 && key <= VK_F24);
}

bool IsCharKey(WORD key) {
  return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9);
}

// The character the keyboard types for a digit or letter key.
std::wstring KeyCharName(WORD key) {
  VoxAssert(Win32PlatformIsUnicode, "Assertion failure", "VoxMenus", 176);
  // The high bit marks a dead key; the character is the low word.
  UINT c = Seams().MapVirtualKeyW(key, MAPVK_VK_TO_CHAR) & 0xFFFF;
  return c ? std::wstring(1, static_cast<wchar_t>(c)) : std::wstring();
}

// The keyboard driver's name of the key's scan code.
std::wstring KeyNameText(WORD key) {
  VoxAssert(Win32PlatformIsUnicode, "Assertion failure", "VoxMenus", 188);
  wchar_t name[256] = {};
  LONG scanCode = static_cast<LONG>(Seams().MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16);
  int n = GetKeyNameTextW(scanCode, name, 256);
  return n > 0 ? std::wstring(name, static_cast<size_t>(n)) : std::wstring();
}

// True (and text loses it) when text starts with front, case counting.
bool TakeFront(std::wstring& text, std::wstring_view front) {
  if (text.compare(0, front.size(), front) != 0) return false;
  text.erase(0, front.size());
  return true;
}

}  // namespace

TShortCut MessageToShortCut(const TMessage& keyMessage) {
  return ShortCut(LOWORD(keyMessage.WParam), KeyDataToShiftState(static_cast<LONG>(keyMessage.LParam)));
}

std::wstring WideShortCutToText(TShortCut shortCut) {
  WORD key = shortCut & ~(scShift | scCtrl | scAlt);
  if (!Win32PlatformIsUnicode || HasFixedName(key)) return AnsiToWide(ShortCutToText(shortCut));
  std::wstring name = IsCharKey(key) ? KeyCharName(key) : KeyNameText(key);
  if (name.empty()) return name;
  std::wstring result;
  if (shortCut & scShift) result += L"Shift+";
  if (shortCut & scCtrl) result += L"Ctrl+";
  if (shortCut & scAlt) result += L"Alt+";
  return result + name;
}

TShortCut WideTextToShortCut(const std::wstring& text) {
  std::wstring rest = text;
  TShortCut shift = 0;
  for (;;) {
    if (TakeFront(rest, L"Shift+")) shift |= scShift;
    else if (TakeFront(rest, L"^") || TakeFront(rest, L"Ctrl+")) shift |= scCtrl;
    else if (TakeFront(rest, L"Alt+")) shift |= scAlt;
    else break;
  }
  if (rest.empty()) return 0;
  // Only the virtual keys: a code above 255 is no key, and would share its
  // low byte (and so its shortcut) with a real one.
  for (WORD key = VK_BACK; key <= 0xFF; ++key)
    if (WideSameText(WideShortCutToText(key), rest)) return static_cast<TShortCut>(key | shift);
  return 0;
}

namespace {

// The index of the character the last single "&" marks, or npos.
size_t HotkeyIndex(const std::wstring& caption) {
  size_t found = std::wstring::npos;
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != cHotkeyPrefix) continue;
    if (caption[i + 1] != cHotkeyPrefix) found = i + 1;
    ++i;  // "&&" is one literal ampersand; a marked character is no mark
  }
  return found;
}

}  // namespace

std::wstring WideGetHotkey(const std::wstring& caption) {
  size_t i = HotkeyIndex(caption);
  return i == std::wstring::npos ? std::wstring() : caption.substr(i, 1);
}

std::wstring WideStripHotkey(const std::wstring& caption) {
  std::wstring result = caption;
  size_t i = 0;
  while (i < result.size()) {
    if (result[i] == cHotkeyPrefix) {
      if (SysLocale.FarEast && i > 0 && result.size() - i >= 3 && result[i - 1] == L'(' &&
          result[i + 2] == L')') {
        result.erase(i - 1, 4);  // "(&X)" goes whole
        --i;
        continue;
      }
      result.erase(i, 1);  // of "&&" the second stays, and is stepped over
    }
    ++i;
  }
  return result;
}

bool WideSameCaption(const std::wstring& a, const std::wstring& b) {
  return WideSameText(WideStripHotkey(a), WideStripHotkey(b));
}
