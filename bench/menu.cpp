// The menu program timed from outside, as a user sees it, beside a floor
// measured in the same run: an empty program of ours that opens one window,
// once on plain Win32 and once as a form of the class library.
//   start:    process start to the main window shown and painted, less the
//             splash's fixed hold of 1500 ms; the floor's start to its
//             window shown and painted
//   product:  a click on a product in the dropped list to the menu idle
//             again with everything painted; the floor: a click on its
//             window that shows a child window, to the same
//   language: the same for a language (its captions burnt into the images)
// Goal: each within 300 ms of the floor, printed as the ratio that allows
// (floor + 300) / floor. Medians of several runs, the menu's and the floors'
// in turn; the sample disc beside the build's bench folder (build/disc, or
// build-release/disc) is used as it stands (the menu writes nothing).
//
//   bench_menu.exe                 the measures (scripts/bench menu)
//   bench_menu.exe --floor-win32   the plain floor program
//   bench_menu.exe --floor-form    the class library's floor program
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/perivane.h"
#include "bench/Bench.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "classlib/Units.h"
#include "disc/MenuDriver.h"

using namespace menu_driver;

namespace {

// --- the floor programs ----------------------------------------------------------------------

constexpr const char* kFloorClass = "PerivaneFloor";

LRESULT CALLBACK FloorProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONUP: {
      HWND child = GetWindow(window, GW_CHILD);
      ShowWindow(child, IsWindowVisible(child) ? SW_HIDE : SW_SHOW);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

int FloorWin32() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFloorClass;
  RegisterClassA(&wc);
  const int w = 640, h = 480;
  HWND window = CreateWindowExA(0, kFloorClass, "Floor", WS_POPUP, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExA(0, "STATIC", "child", WS_CHILD, 10, 10, 100, 20, window, nullptr, wc.hInstance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

struct TFloorForm {
  TPanel* Panel = nullptr;
  void Click(TObject*) { Panel->SetVisible(!Panel->GetVisible()); }
};

int FloorForm() {
  InitializeUnits(ClasslibUnits());
  {
    Application->Initialize();
    TForm* form = nullptr;
    Application->CreateForm(TForm::StaticClass(), form);
    form->SetBorderStyle(bsNone);
    form->SetClientWidth(640);
    form->SetClientHeight(480);
    form->SetPosition(poScreenCenter);
    TFloorForm floor;
    floor.Panel = New<TPanel>(form);
    floor.Panel->SetBounds(10, 10, 100, 20);
    floor.Panel->SetVisible(false);
    floor.Panel->SetParent(form);
    // Clicks in quick succession arrive as double clicks on a form.
    form->OnClick = TNotifyEvent(&floor, &TFloorForm::Click);
    form->OnDblClick = TNotifyEvent(&floor, &TFloorForm::Click);
    Application->Run();
  }
  FinalizeUnits();
  return 0;
}

// --- the measures ------------------------------------------------------------------------------

// Polls every millisecond until the condition holds; false when the process
// ended or 30 s passed first.
bool Poll(const std::function<bool()>& condition, HANDLE process) {
  const double end = bench::Now() + 30;
  while (!condition()) {
    if (bench::Now() > end || WaitForSingleObject(process, 1) == WAIT_OBJECT_0) return false;
  }
  return true;
}

// The window's thread has answered a message (so the handler that ran
// before it is done) and has painted what was invalid.
void Settled(HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The median; a measure that timed out (negative) fails the run.
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  if (v.empty() || v.front() < 0) {
    bench::Fail("menu", "a step did not happen within 30 s");
    std::exit(1);
  }
  return v[v.size() / 2];
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string Self() {
  char name[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, name, MAX_PATH);
  return name;
}

struct TFloor {
  const char* Name;
  const char* Argument;
  const char* WindowClass;
  const char* ChildClass;
};
const TFloor kFloors[] = {{"win32", "--floor-win32", kFloorClass, "Static"},
                          {"form", "--floor-form", "TForm", "TPanel"}};

// Start to shown, in ms, and the window, for a started process.
double TimeStart(TProcess& process, double t0, const std::function<HWND()>& shown, HWND& window) {
  if (!Poll([&] { return (window = shown()) != nullptr; }, process.Handle())) return -1;
  Settled(window);
  return (bench::Now() - t0) * 1000;
}

// A click and the wait for its effect, in ms.
double TimeClick(POINT at, HWND settle, const std::function<bool()>& done, HANDLE process) {
  const double t0 = bench::Now();
  Click(at.x, at.y);
  if (!Poll(done, process)) return -1;
  Settled(settle);
  return (bench::Now() - t0) * 1000;
}

// Ends a program through its window, as its own close would.
void Close(TProcess& process, HWND window) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code;
  if (!process.WaitExit(10000, code)) std::fprintf(stderr, "a program did not end when its window closed\n");
}

struct TTimes {
  std::vector<double> Start, Product, Language;  // the floors' clicks go in Product
};

constexpr int kPicks = 8;

// One start of the menu; on the first run also the picks: products and
// languages in turn, each a different one from the last (the same product
// is not applied again).
bool RunMenu(const std::string& disc, bool picks, TTimes& times) {
  const double t0 = bench::Now();
  TProcess menu(disc + "\\perivane.exe", disc);
  HWND main = nullptr;
  const double shown = TimeStart(
      menu, t0,
      [&]() -> HWND {
        HWND m = FindProcessWindow(menu.Pid(), "TFormMain");
        return m && !FindProcessWindow(menu.Pid(), "TFormLoadwait") ? m : nullptr;
      },
      main);
  if (shown < 0) return false;
  times.Start.push_back(shown - SplashHoldMs);
  auto pick = [&](POINT selector, const char* listClass, int index) {
    HWND list = DropList(main, selector, listClass, 30000, menu.Handle());
    if (!list) return -1.0;
    Settled(main);
    return TimeClick(ListRow(list, index), main, [&] { return !IsWindowVisible(list); }, menu.Handle());
  };
  for (int i = 0; picks && i < kPicks; ++i) {
    // Products 4, 1, 4, 1...: both offer the first two languages.
    times.Product.push_back(pick({56 + 75, 154 + 10}, "TKxListBox", i % 2 == 0 ? 3 : 0));
    times.Language.push_back(pick({56 + 75, 218 + 10}, "TKxCheckList", i % 2));
  }
  Close(menu, main);
  return true;
}

// One start of a floor program; on the first run also clicks that show and
// hide its child window in turn.
bool RunFloor(const TFloor& floor, bool clicks, TTimes& times) {
  const double t0 = bench::Now();
  TProcess process(Self(), Folder(Self()), {}, floor.Argument);
  HWND window = nullptr;
  const double shown =
      TimeStart(process, t0, [&] { return FindProcessWindow(process.Pid(), floor.WindowClass); }, window);
  if (shown < 0) return false;
  times.Start.push_back(shown);
  const RECT r = ScreenRect(window);
  const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (clicks) Activate(window);
  for (int i = 0; clicks && i < 2 * kPicks; ++i) {
    const bool wanted = i % 2 == 0;
    times.Product.push_back(TimeClick(
        at, window,
        [&] {
          HWND child = FindChild(window, floor.ChildClass);
          return child && (IsWindowVisible(child) != FALSE) == wanted;
        },
        process.Handle()));
  }
  Close(process, window);
  return true;
}

int Measure() {
  const std::string disc = Folder(Folder(Self())) + "\\disc";
  if (GetFileAttributesA((disc + "\\perivane.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
    bench::Fail("menu", "no sample disc at " + disc);
    return 1;
  }
  // The runs of the menu and the floors take turns, so that a machine
  // busy with something else weighs on all of them alike.
  constexpr int kStarts = 7;
  TTimes menu;
  TTimes floors[std::size(kFloors)];
  for (int run = 0; run < kStarts; ++run) {
    if (!RunMenu(disc, run == 0, menu)) {
      bench::Fail("menu", "the menu's main window did not appear");
      return 1;
    }
    for (size_t f = 0; f < std::size(kFloors); ++f)
      if (!RunFloor(kFloors[f], run == 0, floors[f])) {
        bench::Fail("menu", std::string("the ") + kFloors[f].Name + " floor's window did not appear");
        return 1;
      }
  }
  const struct {
    const char* Name;
    double Ours;
    bool Start;
  } cases[] = {{"start (less the 1500 ms hold)", Median(menu.Start), true},
               {"product pick", Median(menu.Product), false},
               {"language pick", Median(menu.Language), false}};
  for (const auto& c : cases)
    for (size_t f = 0; f < std::size(kFloors); ++f) {
      const double floor = Median(c.Start ? floors[f].Start : floors[f].Product);
      bench::Report("menu", std::string(c.Name) + " vs " + kFloors[f].Name + " floor", c.Ours, floor,
                    (floor + 300) / floor);
    }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--floor-win32") == 0) return FloorWin32();
  if (argc > 1 && std::strcmp(argv[1], "--floor-form") == 0) return FloorForm();
  return Measure();
}
