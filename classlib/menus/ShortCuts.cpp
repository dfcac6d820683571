#include "classlib/menus/ShortCuts.h"

#include <cctype>

#include "classlib/SysUtils.h"

namespace {

// The names of the keys with fixed names, in the order of their codes:
// 0x08-0x09, 0x20-0x28, 0x2D-0x2E, and Enter and Esc on their own.
const char* const kNamesBkSp[] = {"BkSp", "Tab"};
const char* const kNamesSpace[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
const char* const kNamesIns[] = {"Ins", "Del"};
const char* const kShift = "Shift+";
const char* const kCtrl = "Ctrl+";
const char* const kAlt = "Alt+";

// What the keyboard driver calls a key that has no fixed name.
std::string SpecialName(BYTE key) {
  UINT scanCode = MapVirtualKeyA(key, 0) << 16;
  if (scanCode == 0) return std::string();
  char name[256] = {};
  int n = GetKeyNameTextA(static_cast<LONG>(scanCode), name, sizeof name);
  return n > 0 ? std::string(name, static_cast<size_t>(n)) : std::string();
}

// True (and text loses it) when text starts with front, case ignored.
bool CompareFront(std::string& text, const std::string& front) {
  if (text.size() < front.size()) return false;
  for (size_t i = 0; i < front.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(front[i])))
      return false;
  text.erase(0, front.size());
  return true;
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  if (key > 0xFF) return 0;
  TShortCut result = key;
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
  key = shortCut & ~(scShift | scCtrl | scAlt);
  shift = TShiftState();
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
  BYTE key = LOBYTE(shortCut);
  std::string name;
  if (key >= 0x08 && key <= 0x09) name = kNamesBkSp[key - 0x08];
  else if (key == 0x0D) name = "Enter";
  else if (key == 0x1B) name = "Esc";
  else if (key >= 0x20 && key <= 0x28) name = kNamesSpace[key - 0x20];
  else if (key >= 0x2D && key <= 0x2E) name = kNamesIns[key - 0x2D];
  else if (key >= 0x30 && key <= 0x39) name = std::string(1, static_cast<char>(key));
  else if (key >= 0x41 && key <= 0x5A) name = std::string(1, static_cast<char>(key));
  else if (key >= 0x60 && key <= 0x69) name = std::string(1, static_cast<char>('0' + key - 0x60));
  else if (key >= 0x70 && key <= 0x87) name = "F" + std::to_string(key - 0x6F);
  else name = SpecialName(key);
  if (name.empty()) return std::string();
  std::string result;
  if (shortCut & scShift) result += kShift;
  if (shortCut & scCtrl) result += kCtrl;
  if (shortCut & scAlt) result += kAlt;
  return result + name;
}

TShortCut TextToShortCut(const std::string& text) {
  std::string rest = text;
  TShortCut shift = 0;
  for (;;) {
    if (CompareFront(rest, kShift)) shift |= scShift;
    else if (CompareFront(rest, "^")) shift |= scCtrl;
    else if (CompareFront(rest, kCtrl)) shift |= scCtrl;
    else if (CompareFront(rest, kAlt)) shift |= scAlt;
    else break;
  }
  if (rest.empty()) return 0;
  // Every key code the text could name; the first whose text matches wins
  // (so "0" is the main keyboard's digit, not the numeric pad's).
  for (TShortCut key = 0x08; key <= 0xFF; ++key)
    if (AnsiCompareText(rest, ShortCutToText(key)) == 0) return key | shift;
  return 0;
}

std::string StripHotkey(const std::string& text) {
  std::string result = text;
  size_t i = 0;
  while (i < result.size()) {
    unsigned char c = static_cast<unsigned char>(result[i]);
    if (SysLocale.FarEast && IsDBCSLeadByte(c)) {
      i += 2;  // the trail byte can be any byte, "&" included
      continue;
    }
    if (result[i] == cHotkeyPrefix) {
      if (SysLocale.FarEast && i > 0 && result.size() - i >= 3 && result[i - 1] == '(' && result[i + 2] == ')') {
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
