// The scope types: each takes what it names, gives it back when the scope
// ends (also by an exception), and nothing is left behind after many rounds.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Scopes.h"
#include "tests/classlib/GraphicsTestUtil.h"

using graphics_test::GdiObjectsLeftBy;

namespace {

// A shown top-level window with a frame and a caption, so that its client
// area, its whole window and the screen have three different origins.
class TFramedWindow {
 public:
  TFramedWindow()
      : window_(CreateWindowExA(0, "STATIC", "scopes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 70, 200, 150, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr)) {}
  ~TFramedWindow() { DestroyWindow(window_); }
  TFramedWindow(const TFramedWindow&) = delete;
  TFramedWindow& operator=(const TFramedWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

using TUseDC = std::function<void(HDC)>;

// Takes a DC through a scope of type S made of args, and hands it to use.
template <class S, class... A>
void WithDC(const TUseDC& use, A... args) {
  S dc(args...);
  use(dc.Get());
}

POINT DCOrigin(HDC dc) {
  POINT p{-1, -1};
  GetDCOrgEx(dc, &p);
  return p;
}

struct TThrown : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Counts a list's change events, and raises from them on demand.
struct TChangeCounter {
  void Change(TObject*) {
    ++changes;
    if (raise) throw TThrown("change");
  }
  int changes = 0;
  bool raise = false;
};

}  // namespace

TEST(Scopes, TheReleasedDCsAreTheirWindowsAndAreGivenBack) {
  TFramedWindow window;
  ASSERT_TRUE(window.Get());
  HWND w = window.Get();
  RECT frame{};
  GetWindowRect(w, &frame);
  POINT client{0, 0};
  ClientToScreen(w, &client);
  ASSERT_NE(client.y, frame.top) << "the caption puts the client area lower";
  const struct {
    const char* name;
    std::function<void(const TUseDC&)> use;
    POINT origin;
  } cases[] = {
      {"client", [w](const TUseDC& f) { WithDC<TClientDC>(f, w); }, client},
      {"window", [w](const TUseDC& f) { WithDC<TWindowDC>(f, w); }, POINT{frame.left, frame.top}},
      {"screen", [](const TUseDC& f) { WithDC<TScreenDC>(f); }, POINT{0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool used = false;
    c.use([&](HDC dc) {
      used = true;
      ASSERT_TRUE(dc);
      EXPECT_EQ(DCOrigin(dc).x, c.origin.x);
      EXPECT_EQ(DCOrigin(dc).y, c.origin.y);
    });
    EXPECT_TRUE(used);
    EXPECT_EQ(GdiObjectsLeftBy([&] { c.use([](HDC) {}); }), 0);
    // Given back when an exception leaves the scope, too.
    EXPECT_EQ(GdiObjectsLeftBy([&] {
                try {
                  c.use([](HDC) { throw TThrown("draw"); });
                } catch (const TThrown&) {
                }
              }),
              0);
  }
}

TEST(Scopes, APaintDCPaintsWhatWasInvalidAndEndsThePainting) {
  TFramedWindow window;
  HWND w = window.Get();
  UpdateWindow(w);
  RECT invalid{10, 20, 30, 40};
  InvalidateRect(w, &invalid, FALSE);
  {
    TPaintDC paint(w);
    ASSERT_TRUE(paint.Get());
    EXPECT_TRUE(EqualRect(&paint.Info().rcPaint, &invalid));
    EXPECT_EQ(paint.Info().hdc, paint.Get());
  }
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  EXPECT_EQ(GdiObjectsLeftBy([&] {
              InvalidateRect(w, nullptr, FALSE);
              try {
                TPaintDC paint(w);
                throw TThrown("paint");
              } catch (const TThrown&) {
              }
            }),
            0);
}

TEST(Scopes, AMemoryDCHoldsItsBitmapOnlyWhileItLives) {
  TOwnedGdiObject<HBITMAP> bitmap(CreateBitmap(8, 8, 1, 1, nullptr));
  ASSERT_TRUE(bitmap);
  TMemoryDC other;
  {
    TMemoryDC dc(bitmap.get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.get());
    // GDI lets a bitmap be selected into one DC at a time.
    EXPECT_FALSE(SelectObject(other.Get(), bitmap.get()));
  }
  HGDIOBJ before = SelectObject(other.Get(), bitmap.get());
  EXPECT_TRUE(before);
  SelectObject(other.Get(), before);
  EXPECT_EQ(GdiObjectsLeftBy([&] { TMemoryDC dc(bitmap.get()); }), 0);
}

TEST(Scopes, ASavedDCComesBackWithEverythingSetOrSavedSince) {
  TMemoryDC dc;
  SetTextColor(dc.Get(), RGB(1, 2, 3));
  const int level = SaveDC(dc.Get());
  RestoreDC(dc.Get(), level);
  try {
    TSavedDC saved(dc.Get());
    SetTextColor(dc.Get(), RGB(200, 100, 50));
    SaveDC(dc.Get());  // a state pushed inside and never popped
    SetViewportOrgEx(dc.Get(), 5, 6, nullptr);
    throw TThrown("draw");
  } catch (const TThrown&) {
  }
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(1, 2, 3));
  POINT origin{-1, -1};
  GetViewportOrgEx(dc.Get(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(SaveDC(dc.Get()), level) << "the stack is as deep as before";
}

TEST(Scopes, ASelectedObjectOrPaletteIsSelectedForTheScopeAndTheOneBeforeComesBack) {
  TMemoryDC dc;
  TOwnedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  HGDIOBJ firstPen = GetCurrentObject(dc.Get(), OBJ_PEN);
  {
    TSelectedObject selected(dc.Get(), pen.get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), pen.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), firstPen);
  {
    TSelectedObject none(dc.Get(), nullptr);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), firstPen);
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PEN), firstPen);

  struct {
    LOGPALETTE head;
    PALETTEENTRY more[1];
  } log{{0x300, 2, {{10, 20, 30, 0}}}, {{40, 50, 60, 0}}};
  TOwnedGdiObject<HPALETTE> palette(CreatePalette(&log.head));
  ASSERT_TRUE(palette);
  HGDIOBJ firstPalette = GetCurrentObject(dc.Get(), OBJ_PAL);
  for (bool background : {true, false}) {
    SCOPED_TRACE(background);
    {
      TSelectedPalette selected(dc.Get(), palette.get(), background);
      EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PAL), palette.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PAL), firstPalette);
  }
  {
    TSelectedPalette none(dc.Get(), nullptr);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_PAL), firstPalette);
  }
}

TEST(Scopes, AnOwnedGdiObjectIsDeletedUnlessHandedOver) {
  LOGFONTA font{};
  font.lfHeight = -12;
  const struct {
    const char* name;
    std::function<HGDIOBJ()> make;
  } kinds[] = {
      {"brush", [] { return CreateSolidBrush(RGB(1, 2, 3)); }},
      {"pen", [] { return CreatePen(PS_SOLID, 1, 0); }},
      {"font", [&] { return CreateFontIndirectA(&font); }},
      {"bitmap", [] { return CreateBitmap(4, 4, 1, 1, nullptr); }},
      {"region", [] { return CreateRectRgn(0, 0, 4, 4); }},
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.name);
    HGDIOBJ made = nullptr;
    {
      TOwnedGdiObject<HGDIOBJ> owned(k.make());
      made = owned.get();
      ASSERT_TRUE(made);
    }
    EXPECT_EQ(GetObjectType(made), 0u);
    HGDIOBJ kept = nullptr;
    {
      TOwnedGdiObject<HGDIOBJ> owned(k.make());
      kept = owned.release();
    }
    EXPECT_NE(GetObjectType(kept), 0u);
    DeleteObject(kept);
    EXPECT_EQ(GdiObjectsLeftBy([&] { TOwnedGdiObject<HGDIOBJ> owned(k.make()); }), 0);
  }
}

TEST(Scopes, ARestoredValueComesBackHoweverTheScopeEnds) {
  bool busy = false;
  int depth = 3;
  std::string text = "before";
  {
    TRestore flag(busy, true);
    TRestore nested(depth, depth + 1);
    TRestore saved(text);
    EXPECT_TRUE(busy);
    EXPECT_EQ(depth, 4);
    EXPECT_EQ(saved.Saved(), "before");
    text = "changed inside";
  }
  EXPECT_FALSE(busy);
  EXPECT_EQ(depth, 3);
  EXPECT_EQ(text, "before");
  try {
    TRestore flag(busy, true);
    TRestore inner(busy, false);  // the inner one puts back the outer one's value
    throw TThrown("handler");
  } catch (const TThrown&) {
  }
  EXPECT_FALSE(busy);
  int other = 0;
  int* pointer = nullptr;
  {
    TRestore set(pointer, &other);
    EXPECT_EQ(pointer, &other);
  }
  EXPECT_EQ(pointer, nullptr);
}

TEST(Scopes, FinallyRunsOnEveryWayOutAndTheFirstExceptionWins) {
  int runs = 0;
  { TFinally f([&] { ++runs; }); }
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(
      {
        TFinally f([&] { ++runs; });
        throw TThrown("work");
      },
      TThrown);
  EXPECT_EQ(runs, 2);
  // An action that raises on a normal way out raises out of the scope...
  try {
    TFinally f([] { throw TThrown("undo"); });
  } catch (const TThrown& e) {
    EXPECT_STREQ(e.what(), "undo");
    ++runs;
  }
  EXPECT_EQ(runs, 3);
  // ...and while another exception unwinds, that one goes on.
  try {
    TFinally f([] { throw TThrown("undo"); });
    throw TThrown("work");
  } catch (const TThrown& e) {
    EXPECT_STREQ(e.what(), "work");
    ++runs;
  }
  EXPECT_EQ(runs, 4);
  // A scope begun while an exception already unwinds (in a destructor)
  // raises its own action's exception to its own handler.
  struct TCleanup {
    bool& seen;
    ~TCleanup() {
      try {
        TFinally f([] { throw TThrown("cleanup"); });
      } catch (const TThrown&) {
        seen = true;
      }
    }
  };
  bool seen = false;
  try {
    TCleanup cleanup{seen};
    throw TThrown("work");
  } catch (const TThrown&) {
  }
  EXPECT_TRUE(seen);
}

TEST(Scopes, ARollbackRunsOnlyWhenTheScopeEndsUncommitted) {
  int undone = 0;
  auto work = [&](bool fail, bool commit) {
    TRollback rollback([&] { ++undone; });
    if (fail) throw TThrown("work");
    if (commit) rollback.Commit();
  };
  work(false, true);
  EXPECT_EQ(undone, 0);
  EXPECT_THROW(work(true, false), TThrown);
  EXPECT_EQ(undone, 1);
  work(false, false);  // left early, never committed
  EXPECT_EQ(undone, 2);
}

TEST(Scopes, AnUpdateScopeBracketsTheChangesAndTheFirstExceptionWins) {
  Owned<TStringList> list = MakeOwned<TStringList>();
  TChangeCounter counter;
  int& changes = counter.changes;
  list->SetOnChange(TNotifyEvent(&counter, &TChangeCounter::Change));
  {
    TUpdateScope update(list.get());
    EXPECT_EQ(list->GetUpdateCount(), 1);
    list->Add("a");
    list->Add("b");
    EXPECT_EQ(changes, 0);
  }
  EXPECT_EQ(list->GetUpdateCount(), 0);
  EXPECT_EQ(changes, 1);
  counter.raise = true;
  try {
    TUpdateScope update(list.get());
    list->Add("c");
  } catch (const TThrown& e) {
    EXPECT_STREQ(e.what(), "change");
  }
  EXPECT_EQ(changes, 2);
  try {
    TUpdateScope update(list.get());
    list->Add("d");
    throw TThrown("work");
  } catch (const TThrown& e) {
    EXPECT_STREQ(e.what(), "work");
  }
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(list->GetUpdateCount(), 0);
}
