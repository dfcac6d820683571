// The logic the ANSI string lists (TStrings/TStringList) and the wide ones
// (TVoxStrings/TVoxStringList) share, written once over the list type and
// its string type. A list here is anything with GetCount, Get, GetObject,
// AddObject, InsertObject, Delete, Put, PutObject, BeginUpdate/EndUpdate
// and CompareStrings; the character-set work that differs (finding the
// separator, quoting) is handed in by the caller.
//
// Surface for component writers: include it directly; it changes only as
// the unit headers do.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "classlib/Scopes.h"
#include "classlib/classes/Lists.h"

class TObject;

namespace strings_core {

// Every item followed by CR LF.
template <class S, class List>
S JoinLines(const List& list) {
  const int count = list.GetCount();
  std::vector<S> items;
  items.reserve(count > 0 ? static_cast<size_t>(count) : 0);
  size_t size = 0;
  for (int i = 0; i < count; ++i) {
    items.push_back(list.Get(i));
    size += items.back().size() + 2;
  }
  S text;
  text.reserve(size);
  for (const S& s : items) {
    text += s;
    text += static_cast<typename S::value_type>('\r');
    text += static_cast<typename S::value_type>('\n');
  }
  return text;
}

// The items joined by delimiter, each quoted (quote(s, quoteChar)) when it
// holds a blank, the quote or the delimiter. A lone empty item reads back
// as one item only when quoted.
template <class S, class List, class Blank, class Quote>
S DelimitedText(const List& list, typename S::value_type delimiter, typename S::value_type quoteChar,
                const Blank& blank, const Quote& quote) {
  const int count = list.GetCount();
  if (count == 1 && list.Get(0).empty()) return S(2, quoteChar);
  S result;
  for (int i = 0; i < count; ++i) {
    S s = list.Get(i);
    bool quoted = false;
    for (auto c : s)
      if (blank(c) || c == quoteChar || c == delimiter) {
        quoted = true;
        break;
      }
    result += quoted ? quote(s, quoteChar) : s;
    result += delimiter;
  }
  if (!result.empty()) result.pop_back();
  return result;
}

// Clears the list and adds the items of the delimited text in [p, end):
// blanks around items are skipped, a quoted item is read by
// extract(p, quoteChar), which moves p past it.
template <class List, class Ch, class Blank, class Extract>
void ReadDelimitedText(List& list, const Ch* p, const Ch* end, Ch delimiter, Ch quoteChar, const Blank& blank,
                       const Extract& extract) {
  using S = std::basic_string<Ch>;
  TUpdateScope update(&list);
  list.Clear();
  while (p < end && blank(*p)) ++p;
  while (p < end) {
    S s;
    if (*p == quoteChar) {
      s = extract(p, quoteChar);
    } else {
      const Ch* start = p;
      while (p < end && !blank(*p) && *p != delimiter) ++p;
      s.assign(start, static_cast<size_t>(p - start));
    }
    list.Add(s);
    while (p < end && blank(*p)) ++p;
    if (p < end && *p == delimiter) {
      // A delimiter that ends the text opens one last, empty item.
      if (p + 1 == end) list.Add(S());
      do ++p;
      while (p < end && blank(*p));
    }
  }
}

// The index of the first item equal to s by the list's comparison, or -1.
template <class List, class S>
int IndexOf(const List& list, const S& s) {
  for (int i = 0; i < list.GetCount(); ++i)
    if (list.CompareStrings(list.Get(i), s) == 0) return i;
  return -1;
}

// The index of the first item whose name (the part before the separator,
// found by nameEnd(s): npos when none) equals name, or -1.
template <class List, class S, class NameEnd>
int IndexOfName(const List& list, const S& name, const NameEnd& nameEnd) {
  for (int i = 0; i < list.GetCount(); ++i) {
    S s = list.Get(i);
    size_t p = nameEnd(s);
    if (p != S::npos && list.CompareStrings(s.substr(0, p), name) == 0) return i;
  }
  return -1;
}

template <class List>
int IndexOfObject(const List& list, TObject* obj) {
  for (int i = 0; i < list.GetCount(); ++i)
    if (list.GetObject(i) == obj) return i;
  return -1;
}

// Same count and the same items, compared exactly.
template <class List>
bool Equal(const List& a, const List& b) {
  const int count = a.GetCount();
  if (count != b.GetCount()) return false;
  for (int i = 0; i < count; ++i)
    if (a.Get(i) != b.Get(i)) return false;
  return true;
}

// The items and objects of from added to list.
template <class List>
void AddAll(List& list, const List& from) {
  TUpdateScope update(&list);
  // The count is taken once: a list added to itself doubles, as on the
  // platform, instead of growing for ever.
  const int count = from.GetCount();
  for (int i = 0; i < count; ++i) list.AddObject(from.Get(i), from.GetObject(i));
}

template <class List>
void Exchange(List& list, int index1, int index2) {
  TUpdateScope update(&list);
  TObject* obj = list.GetObject(index1);
  auto s = list.Get(index1);
  list.Put(index1, list.Get(index2));
  list.PutObject(index1, list.GetObject(index2));
  list.Put(index2, s);
  list.PutObject(index2, obj);
}

// The item and its object taken out and put back at newIndex; indexError
// raises for a bad target before the item leaves its place, so nothing is
// lost.
template <class List, class IndexError>
void Move(List& list, int curIndex, int newIndex, const IndexError& indexError) {
  if (curIndex == newIndex) return;
  TUpdateScope update(&list);
  auto s = list.Get(curIndex);
  TObject* obj = list.GetObject(curIndex);
  if (newIndex < 0 || newIndex >= list.GetCount()) indexError(newIndex);
  list.Delete(curIndex);
  list.InsertObject(newIndex, s, obj);
}

// Binary search of count sorted items, compare(i) comparing item i with the
// target: true when found; index receives the item's place (with
// acceptDuplicates the first equal item), or the insertion place.
template <class Compare>
bool SortedFind(int count, const Compare& compare, bool acceptDuplicates, int& index) {
  bool found = false;
  int l = 0;
  int h = count - 1;
  while (l <= h) {
    int i = (l + h) >> 1;
    int c = compare(i);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        if (!acceptDuplicates) l = i;
      }
    }
  }
  index = l;
  return found;
}

// Sorts items, the list's own vector of items, by compare(&list, i, j)
// between the list's Changing and Changed; nothing for fewer than two items
// or no comparison.
template <class List, class Item, class Compare>
void SortItems(List& list, std::vector<Item>& items, const Compare& compare) {
  if (items.size() < 2 || !compare) return;
  list.Changing();
  ListQuickSort(
      0, static_cast<int>(items.size()) - 1, [&](int i, int p) { return compare(&list, i, p); },
      [&](int i, int j) { std::swap(items[static_cast<size_t>(i)], items[static_cast<size_t>(j)]); });
  list.Changed();
}

}  // namespace strings_core
