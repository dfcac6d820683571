#include "classlib/stdctrls/ItemTexts.h"

#include <algorithm>

#include "classlib/sysutils/StringRoutines.h"

namespace {

// The longest list item Wine's conversion of LB_GETTEXT carries: its buffer
// holds 512 characters, the terminating one included. An ANSI length counts
// at least as many bytes as the text has wide characters.
constexpr LRESULT kLongestConvertedItem = 511;

// The longest line EM_GETLINE can give: its buffer's size, in the buffer's
// first 16-bit word, counts the terminating character too.
constexpr LRESULT kLongestGetLine = 0xFFFE;

// A long item, with the wide messages where nothing converts them.
bool ReadLongListBoxItem(HWND list, WNDPROC listProc, WPARAM item, std::string& text) {
  const bool unicode = IsWindowUnicode(list);
  auto send = [&](UINT msg, LPARAM lParam) {
    return unicode ? SendMessageW(list, msg, item, lParam) : CallWindowProcW(listProc, list, msg, item, lParam);
  };
  const LRESULT length = send(LB_GETTEXTLEN, 0);
  if (length < 0) return false;
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = send(LB_GETTEXT, reinterpret_cast<LPARAM>(wide.data()));
  if (got < 0) return false;
  wide.resize(static_cast<size_t>(std::min(got, length)));
  text = WideToAnsi(wide);
  return true;
}

}  // namespace

bool ReadListBoxItem(HWND list, WNDPROC listProc, int index, std::string& text) {
  const auto item = static_cast<WPARAM>(index);
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, item, 0);
  if (length < 0) return false;
  if (length > kLongestConvertedItem) return ReadLongListBoxItem(list, listProc, item, text);
  std::string s(static_cast<size_t>(length) + 1, '\0');
  const LRESULT got = SendMessageA(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(s.data()));
  if (got < 0) return false;
  s.resize(static_cast<size_t>(std::min(got, length)));
  text = std::move(s);
  return true;
}

bool ReadEditLine(HWND edit, int index, std::string& text) {
  const LRESULT start = SendMessageA(edit, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
  if (start < 0) return false;
  const LRESULT length = std::max<LRESULT>(SendMessageA(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0), 0);
  if (length <= kLongestGetLine) {
    std::string s(static_cast<size_t>(std::max<LRESULT>(length, 1)) + 1, '\0');
    *reinterpret_cast<WORD*>(s.data()) = static_cast<WORD>(s.size());
    const LRESULT got = SendMessageA(edit, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    text = std::move(s);
    return true;
  }
  // Longer than EM_GETLINE can give: the line is cut from the whole text.
  const LRESULT all = std::max<LRESULT>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 0);
  std::string s(static_cast<size_t>(all) + 1, '\0');
  const LRESULT got = SendMessageA(edit, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, all)));
  text = s.substr(std::min(static_cast<size_t>(start), s.size()), static_cast<size_t>(length));
  return true;
}
