// The framed list boxes against a baseline measured in the same run:
//   load:  100,000 lines in the check list's item line format read into a
//          check list's items (TKxCheckListStrings, on a hidden window)
//          vs TStringList::LoadFromFile of the same file (goal <= 2x)
//   add:   10,000 items added to a visible TKxListBox inside
//          BeginUpdate/EndUpdate vs the same on the class library's
//          TListBox (goal <= 1.5x)
//   inert: the same file into a TKxCheckListStrings that belongs to no check
//          list, so has no window at all: the reading and the line format
//          alone (the literal "no window" case; the list stays empty)
//   floor: the same 100,000 texts sent straight to a bare LISTBOX window
//          (LB_ADDSTRING with storage set aside, redraw off) vs the same
//          baseline: what any list whose items live in a list box window
//          pays before any code of ours runs (a note without a goal, for
//          reading "load")
// The line file is made in the temp directory and removed at the end. Each
// case takes medians of interleaved runs (bench/Bench.h); emptying the lists
// before each run is not timed.
#include <cstdio>
#include <functional>
#include <string>

#include "bench/Bench.h"
#include "classlib/Classes.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "classlib/Units.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxLstBox.h"
#include "kx/foundation/KxUnits.h"

namespace {

const char* const kName = "kx lists";

void Pump() {
  MSG msg;
  for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace

int main() {
  std::vector<TUnitEntry> units = ClasslibUnits();
  units.insert(units.end(), KxFoundationUnits().begin(), KxFoundationUnits().end());
  InitializeUnits(units);
  char tempPath[MAX_PATH];
  GetTempPathA(MAX_PATH, tempPath);
  std::string file = std::string(tempPath) + "kx_lists_" + std::to_string(GetCurrentProcessId()) + ".txt";
  {
    std::string text;
    for (int i = 0; i < 100000; ++i)
      text += "&" + std::to_string(i % 2) + " " + std::to_string(i % 3) + " Language number " + std::to_string(i) +
              " \r\n";
    Owned<TFileStream> out = MakeOwned<TFileStream>(file, fmCreate);
    out->WriteBuffer(text.data(), static_cast<int>(text.size()));
  }

  // A hidden window holds the check list: the items live in its list box.
  HWND host = CreateWindowExA(0, "STATIC", "host", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  Owned<TKxCheckList> checks(New<TKxCheckList>(nullptr));
  checks->SetBounds(0, 0, 200, 200);
  checks->SetParentWindow(host);
  Owned<TStringList> plain = MakeOwned<TStringList>();
  const bench::TSide plainLoad{[&] { plain->LoadFromFile(file); }, [&] { plain->Clear(); }};
  auto [ours, base] =
      bench::Medians(bench::TSide{[&] { checks->LoadFromFile(file); }, [&] { checks->GetItems()->Clear(); }},
                     plainLoad, 5);
  if (checks->GetItems()->GetCount() != 100000 || checks->GetItemState(5) != cbGrayed) {
    bench::Fail(kName, "load: wrong result");
    return 1;
  }
  bench::Report(kName, "load 100,000 lines: check list vs TStringList", ours, base, 2.0);
  {
    Owned<TKxCheckListStrings> inert = MakeOwned<TKxCheckListStrings>();
    auto [alone, plainMs] = bench::Medians(bench::TSide{[&] { inert->LoadFromFile(file); }}, plainLoad, 5);
    bench::Report(kName, "load: strings without a window vs TStringList", alone, plainMs, 2.0);
  }
  {
    HWND bare = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, 0, 0, 100, 100,
                                host, nullptr, GetModuleHandleA(nullptr), nullptr);
    auto [floor, plainMs] = bench::Medians(
        bench::TSide{[&] {
                       SendMessageA(bare, LB_INITSTORAGE, 100000, 4000000);
                       SendMessageA(bare, WM_SETREDRAW, FALSE, 0);
                       for (int i = 0; i < plain->GetCount(); ++i)
                         SendMessageA(bare, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(plain->Get(i).c_str()));
                       SendMessageA(bare, WM_SETREDRAW, TRUE, 0);
                     },
                     [&] { SendMessageA(bare, LB_RESETCONTENT, 0, 0); }},
        plainLoad, 5);
    bench::Note(kName, "floor: a bare LISTBOX vs TStringList", floor, plainMs);
    DestroyWindow(bare);
  }
  checks.reset();
  DeleteFileA(file.c_str());

  // A visible form with both list boxes side by side.
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 500, 400);
  auto* kx = New<TKxListBox>(form.get());
  kx->SetParent(form.get());
  kx->SetBounds(0, 0, 240, 380);
  auto* lb = New<TListBox>(form.get());
  lb->SetParent(form.get());
  lb->SetBounds(250, 0, 240, 380);
  form->Show();
  Pump();
  auto fill = [](TStrings* items) {
    items->BeginUpdate();
    for (int i = 0; i < 10000; ++i) items->Add("Product " + std::to_string(i));
    items->EndUpdate();
  };
  auto [kxAdd, lbAdd] = bench::Medians(bench::TSide{[&] { fill(kx->GetItems()); Pump(); }, [&] { kx->Clear(); Pump(); }},
                                       bench::TSide{[&] { fill(lb->GetItems()); Pump(); }, [&] { lb->Clear(); Pump(); }});
  if (kx->GetItems()->GetCount() != 10000 || lb->GetItems()->GetCount() != 10000) {
    bench::Fail(kName, "add: wrong result");
    return 1;
  }
  bench::Report(kName, "add 10,000 items to a TKxListBox vs TListBox", kxAdd, lbAdd, 1.5);
  form.reset();
  DestroyWindow(host);
  FinalizeUnits();
  return 0;
}
