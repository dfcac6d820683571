// The framed combo boxes against a baseline measured in the same run
// (bench/Bench.h):
//   font fill:    a visible TKxFontComboBox filled as a new window fills it
//                 (the prefix's font families enumerated, filtered and
//                 added) vs the class library's plain TComboBox (sorted, as
//                 the font combo box is) filled with the same names, known
//                 beforehand; goal <= 1.5x. Each fill starts from an empty
//                 list, as a new window's does: both lists are emptied
//                 between turns, untimed (emptying an owner-drawn list sends
//                 one WM_DELETEITEM per item, which a new window never pays)
//   reference:    the same, the plain combo box's names enumerated afresh
//                 with EnumFontFamiliesA on each fill (a note without a
//                 goal, for reading the first)
//   type-ahead:   in a list-style TKxComboBox of 10,000 items, 200 items
//                 found by typing their whole text (WM_CHAR, the search
//                 string cleared between them as the 1500 ms pause would)
//                 vs a plain CB_FINDSTRING loop over the same prefixes on a
//                 plain combo box of the same items; goal <= 2x
// Each result is checked: the same names in both font lists, the typed item
// selected.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/Bench.h"
#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/Units.h"
#include "kx/controls/KxCmboBx.h"
#include "kx/controls/KxControlsUnits.h"
#include "kx/foundation/KxUnits.h"

namespace {

const char* const kName = "kx_combos";

void Pump() {
  MSG msg;
  for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int CALLBACK AddName(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM data) {
  reinterpret_cast<std::vector<std::string>*>(data)->push_back(lf->lfFaceName);
  return 1;
}

// The font combo box's fill as its new window does it.
class TBenchFontCombo : public TKxFontComboBox {
 public:
  using TKxFontComboBox::TKxFontComboBox;
  void Fill() {
    TStrings* items = GetItems();
    items->BeginUpdate();
    LoadFonts();
    items->EndUpdate();
  }
};

void FillPlain(TCustomComboBox* combo, const std::vector<std::string>& names) {
  TStrings* items = combo->GetItems();
  items->BeginUpdate();
  for (const auto& n : names) items->Add(n);
  items->EndUpdate();
}

// The medians of ours and of the baseline, each timed on an empty list as a
// new window fills it: the lists are emptied before each turn, untimed.
std::pair<double, double> FillMedians(TCustomComboBox* oursCombo, const std::function<void()>& ours,
                                      TCustomComboBox* baseCombo, const std::function<void()>& baseline) {
  return bench::Medians(bench::TSide{ours, [oursCombo] { oursCombo->GetItems()->Clear(); }},
                        bench::TSide{baseline, [baseCombo] { baseCombo->GetItems()->Clear(); }}, 15);
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  for (const auto* library : {&KxFoundationUnits(), &KxControlsUnits()})
    units.insert(units.end(), library->begin(), library->end());
  InitializeUnits(units);
  int rc = 0;
  try {
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->SetBounds(50, 50, 400, 300);
    auto* fonts = New<TBenchFontCombo>(form.get());
    fonts->SetParent(form.get());
    fonts->SetBounds(10, 10, 200, 24);
    auto* plain = New<TComboBox>(form.get());
    plain->SetParent(form.get());
    plain->SetBounds(10, 50, 200, 24);
    plain->SetSorted(true);
    form->Show();
    Pump();

    // The same names on both sides.
    fonts->GetItems()->Clear();
    fonts->Fill();
    std::vector<std::string> names;
    for (int i = 0; i < fonts->GetItems()->GetCount(); ++i) names.push_back(fonts->GetItems()->Get(i));
    plain->GetItems()->Clear();
    FillPlain(plain, names);
    std::vector<std::string> plainNames;
    for (int i = 0; i < plain->GetItems()->GetCount(); ++i) plainNames.push_back(plain->GetItems()->Get(i));
    if (names.empty() || names != plainNames) {
      bench::Fail(kName, "the plain combo box does not list the font combo box's names");
      rc = 1;
    } else {
      auto [ours, base] = FillMedians(fonts, [&] { fonts->Fill(); }, plain, [&] { FillPlain(plain, names); });
      bench::Report(kName, "font fill (" + std::to_string(names.size()) + " families)", ours, base, 1.5);
      std::tie(ours, base) = FillMedians(fonts, [&] { fonts->Fill(); }, plain,
                                            [&] {
                                              std::vector<std::string> fresh;
                                              HDC dc = GetDC(nullptr);
                                              EnumFontFamiliesA(dc, nullptr, AddName,
                                                                reinterpret_cast<LPARAM>(&fresh));
                                              ReleaseDC(nullptr, dc);
                                              FillPlain(plain, fresh);
                                            });
      // For reading the first: what the enumeration itself costs.
      bench::Note(kName, "font fill vs the names enumerated each time", ours, base);
    }

    // Type-ahead over 10,000 items.
    auto* search = New<TKxComboBox>(form.get());
    search->SetParent(form.get());
    search->SetBounds(220, 10, 150, 24);
    search->SetStyle(csDropDownList);
    auto* findPlain = New<TComboBox>(form.get());
    findPlain->SetParent(form.get());
    findPlain->SetBounds(220, 50, 150, 24);
    findPlain->SetStyle(csDropDownList);
    std::vector<std::string> items;
    for (int i = 0; i < 10000; ++i) {
      char text[32];
      std::snprintf(text, sizeof text, "Item %05d", (i * 7919) % 10000);
      items.push_back(text);
    }
    for (TStrings* list : {search->GetItems(), findPlain->GetItems()}) {
      list->BeginUpdate();
      for (const auto& s : items) list->Add(s);
      list->EndUpdate();
    }
    Pump();
    std::vector<std::string> targets;
    for (int i = 0; i < 200; ++i) targets.push_back(items[static_cast<size_t>((i * 4999) % 10000)]);
    HWND searchWnd = search->GetHandle();
    HWND plainWnd = findPlain->GetHandle();
    bool found = true;
    auto typeAll = [&] {
      for (const auto& t : targets) {
        search->ClearSearchString();
        for (char c : t) SendMessageA(searchWnd, WM_CHAR, static_cast<unsigned char>(c), 1);
        found = found && search->GetItems()->Get(search->GetItemIndex()) == t;
      }
    };
    LRESULT sink = 0;
    auto findAll = [&] {
      for (const auto& t : targets)
        for (size_t n = 1; n <= t.size(); ++n) {
          std::string prefix = t.substr(0, n);
          sink += SendMessageA(plainWnd, CB_FINDSTRING, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(prefix.c_str()));
        }
    };
    auto [ours, base] = bench::Medians(typeAll, findAll, 7);
    if (!found) {
      bench::Fail(kName, "typing an item's text did not select it");
      rc = 1;
    } else {
      bench::Report(kName, "type-ahead, 200 items of 10,000 typed whole", ours, base, 2.0);
    }
    if (sink == 0) std::printf("(no prefix found)\n");
  } catch (const Exception& e) {
    bench::Fail(kName, e.GetMessage());
    rc = 1;
  }
  FinalizeUnits();
  return rc;
}
