// The Unicode layer against baselines measured in the same run:
//   UTF-7: WideStringToUTF7 / UTF7ToWideString of 8 MB of mixed UTF-16 text
//          against the platform's WideCharToMultiByte / MultiByteToWideChar
//          with code page 65000 (a sizing call and a converting call each,
//          as every caller makes them). Goal: at most 2x.
//   Sort:  TVoxStringList.Sort of 200,000 items against TStringList.Sort of
//          the same items converted to ANSI. Goal: at most 1.5x.
// Each case takes medians of interleaved runs (bench/Bench.h); the results
// are checked against each other first.
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/Bench.h"
#include "classlib/Classes.h"
#include "classlib/SysUtils.h"
#include "classlib/Units.h"
#include "unicode/VoxClasses.h"
#include "unicode/VoxSystem.h"
#include "unicode/VoxUnits.h"

namespace {

const char* const kName = "vox";

// Words of several scripts, as a mixed document has them: ASCII prose with
// punctuation and plus signs, accented Latin, Cyrillic, CJK and emoji.
std::wstring MixedText(size_t units) {
  const wchar_t* words[] = {L"The",     L"quick",   L"brown",  L"fox",   L"jumps,", L"(over)", L"1+1=2",
                            L"caf\u00E9", L"na\u00EFve", L"\u00DCber", L"\u0416\u0443\u0440\u043D\u0430\u043B",
                            L"\u65E5\u672C\u8A9E", L"\u4E2D\u6587", L"\U0001F600", L"line\r\n", L"-dash-"};
  std::mt19937 rng(8);
  std::uniform_int_distribution<size_t> pick(0, std::size(words) - 1);
  std::wstring s;
  s.reserve(units + 16);
  while (s.size() < units) {
    s += words[pick(rng)];
    s += L' ';
  }
  s.resize(units);
  if (IS_HIGH_SURROGATE(s.back())) s.back() = L'.';
  return s;
}

std::string PlatformUTF7(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF7, 0, s.data(), int(s.size()), nullptr, 0, nullptr, nullptr);
  std::string r(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF7, 0, s.data(), int(s.size()), r.data(), n, nullptr, nullptr);
  return r;
}

std::wstring PlatformFromUTF7(const std::string& s) {
  int n = MultiByteToWideChar(CP_UTF7, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring r(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF7, 0, s.data(), int(s.size()), r.data(), n);
  return r;
}

int RunUTF7() {
  const std::wstring text = MixedText(4 * 1024 * 1024);  // 8 MB of UTF-16
  const std::string ours = WideStringToUTF7(text), theirs = PlatformUTF7(text);
  if (UTF7ToWideString(ours) != text || PlatformFromUTF7(ours) != text || UTF7ToWideString(theirs) != text) {
    bench::Fail(kName, "UTF-7 results disagree");
    return 1;
  }
  std::string sink;
  std::wstring wsink;
  auto [encOurs, encBase] =
      bench::Medians([&] { sink = WideStringToUTF7(text); }, [&] { sink = PlatformUTF7(text); }, 5);
  auto [decOurs, decBase] =
      bench::Medians([&] { wsink = UTF7ToWideString(ours); }, [&] { wsink = PlatformFromUTF7(ours); }, 5);
  bench::Report(kName, "UTF-7 encode 8 MB vs code page 65000", encOurs, encBase, 2.0);
  bench::Report(kName, "UTF-7 decode 8 MB vs code page 65000", decOurs, decBase, 2.0);
  return 0;
}

int RunSort() {
  const int kItems = 200000;
  std::mt19937 rng(15);
  const wchar_t letters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ\u00E9\u00E8\u00FC\u00F6\u00C9 -";
  std::uniform_int_distribution<size_t> letter(0, std::size(letters) - 2);
  std::uniform_int_distribution<int> length(4, 14);
  std::vector<std::wstring> items(kItems);
  for (std::wstring& s : items)
    for (int n = length(rng); n > 0; --n) s += letters[letter(rng)];

  // Each sort is of a freshly filled list; only the sort is timed.
  Owned<TVoxStringList> wide;
  Owned<TStringList> ansi;
  auto [voxMs, ansiMs] = bench::Medians(bench::TSide{[&] { wide->Sort(); },
                                                     [&] {
                                                       wide = MakeOwned<TVoxStringList>();
                                                       wide->SetCapacity(kItems);
                                                       for (const std::wstring& s : items) wide->Add(s);
                                                     }},
                                        bench::TSide{[&] { ansi->Sort(); },
                                                     [&] {
                                                       ansi = MakeOwned<TStringList>();
                                                       ansi->SetCapacity(kItems);
                                                       for (const std::wstring& s : items) ansi->Add(WideToAnsi(s));
                                                     }},
                                        5);

  if (wide->GetCount() != kItems || ansi->GetCount() != kItems) {
    bench::Fail(kName, "the sorted lists lost items");
    return 1;
  }
  for (int i = 1; i < wide->GetCount(); ++i)
    if (WideCompareText(wide->Get(i - 1), wide->Get(i)) > 0) {
      bench::Fail(kName, "wide sort out of order at " + std::to_string(i));
      return 1;
    }
  bench::Report(kName, "sort 200,000: TVoxStringList vs TStringList", voxMs, ansiMs, 1.5);
  return 0;
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  units.insert(units.end(), VoxUnits().begin(), VoxUnits().end());
  InitializeUnits(units);
  int rc = RunUTF7() | RunSort();
  FinalizeUnits();
  return rc;
}
