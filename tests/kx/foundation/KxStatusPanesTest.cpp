// Status panes: the shared polling timer ticked by the test, the clock's
// text, toggle keys from the thread's keyboard state, the resource figures,
// the marquee, glyph cells, auto size, blinking, drawing and stored forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/Seams.h"
#include "kx/foundation/KxStatus.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/foundation/KxListTestSupport.h"
#include "tests/kx/foundation/KxTestSupport.h"

using namespace kx_test;

namespace {

// A hidden host window with a windowed parent for the panes.
class TPaneHost {
 public:
  TPaneHost() {
    panel_.reset(New<TCustomControl>(nullptr));
    panel_->SetBounds(0, 0, 400, 60);
    panel_->SetColor(clBtnFace);
    panel_->SetParentWindow(window_.Handle());
  }
  ~TPaneHost() { panel_.reset(); }
  template <class T>
  T* Add(int left = 0, int top = 0) {
    T* c = New<T>(panel_.get());
    c->SetParent(panel_.get());
    c->SetLeft(left);
    c->SetTop(top);
    return c;
  }

 private:
  controls_test::THostWindow window_;
  Owned<TCustomControl> panel_;
};

// Counts the captions a pane is given (CM_TEXTCHANGED through its window
// procedure).
struct TTextChanges {
  explicit TTextChanges(TControl* c) : control(c), saved(c->GetWindowProc()) {
    c->SetWindowProc(TWndMethod(this, &TTextChanges::Proc));
  }
  ~TTextChanges() { control->SetWindowProc(saved); }
  void Proc(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) ++count;
    saved(m);
  }
  TControl* control;
  TWndMethod saved;
  int count = 0;
};

struct TCounter {
  int count = 0;
  void Fired(TObject*) { ++count; }
  TNotifyEvent Event() { return TNotifyEvent(this, &TCounter::Fired); }
};

// The thread's toggle bit of a key, set as the keyboard would leave it.
void SetToggle(int vk, bool on) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[vk] = on ? 1 : 0;
  SetKeyboardState(keys);
}

}  // namespace

TEST(KxPollingStatus, ThePanesShareOneTimerWhoseIntervalIsEveryonesAndGoesWithTheLast) {
  TFakeTimers timers;
  TPaneHost host;
  auto* a = host.Add<TKxClockStatus>();
  auto* b = host.Add<TKxClockStatus>();
  auto* key = host.Add<TKxKeyStatus>();
  ASSERT_NE(FindPollingList(), nullptr);
  EXPECT_EQ(FindPollingList()->GetCount(), 3);
  EXPECT_EQ(FindPollingList()->GetTimer()->GetInterval(), 500u);
  a->SetInterval(1000);
  EXPECT_EQ(b->GetInterval(), 1000);
  EXPECT_EQ(key->GetInterval(), 1000);
  EXPECT_TRUE(timers.Running(1000));
  key->SetActive(false);
  EXPECT_FALSE(a->GetActive());
  EXPECT_FALSE(timers.Running(1000));
  a->Free();
  b->Free();
  key->Free();
  EXPECT_EQ(FindPollingList(), nullptr) << "the last pane frees the list and its timer";
}

TEST(KxPollingStatus, OnlyVisiblePanesAreAskedToUpdate) {
  TFakeTimers timers;
  TPaneHost host;
  auto* shown = host.Add<TKxClockStatus>();
  auto* hidden = host.Add<TKxClockStatus>();
  hidden->SetVisible(false);
  TCounter s, h;
  shown->SetOnTimerExpired(s.Event());
  hidden->SetOnTimerExpired(h.Event());
  shown->SetInterval(700);  // apart from the blink timer's 500 ms
  EXPECT_EQ(timers.Fire(700), 1);
  EXPECT_EQ(s.count, 1);
  EXPECT_EQ(h.count, 0);
}

TEST(KxClockStatus, TheCaptionChangesOnlyWhenTheFormattedTextDoes) {
  TFakeTimers timers;
  SYSTEMTIME now{2024, 3, 0, 15, 10, 0, 5, 0};
  TSeamOverride<decltype(Seams().LocalTime)> clock(Seams().LocalTime, [&](SYSTEMTIME& st) { st = now; });
  TPaneHost host;
  auto* pane = host.Add<TKxClockStatus>();
  pane->SetFormat("hh:nn");
  EXPECT_EQ(pane->GetCaption(), "10:00");
  TTextChanges changes(pane);
  now.wSecond = 35;
  timers.Fire(500);
  EXPECT_EQ(changes.count, 0) << "a format without seconds changes once a minute";
  now.wMinute = 1;
  timers.Fire(500);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(pane->GetCaption(), "10:01");
  // The handler may give another time.
  struct THandler {
    void Get(TObject*, TDateTime& value) { value = EncodeDate(2000, 1, 2) + EncodeTime(23, 59, 0, 0); }
  } handler;
  pane->SetOnGetDateTime(TKxGetDateTimeEvent(&handler, &THandler::Get));
  timers.Fire(500);
  EXPECT_EQ(pane->GetCaption(), "23:59");
}

TEST(KxKeyStatus, ToggleKeysShowTheirTextWhileOnAndInsertFlipsFromItsBaseState) {
  TFakeTimers timers;
  BYTE saved[256];
  GetKeyboardState(saved);
  TPaneHost host;
  struct Case {
    TKxToggleKey key;
    int vk;
    const char* text;
  } const cases[] = {{tkCapsLock, VK_CAPITAL, "CAPS"}, {tkNumLock, VK_NUMLOCK, "NUM"}, {tkScrollLock, VK_SCROLL, "SCR"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    auto* pane = host.Add<TKxKeyStatus>();
    pane->SetKey(c.key);
    SetToggle(c.vk, true);
    timers.Fire(500);
    EXPECT_EQ(pane->GetState(), tsOn);
    controls_test::TDib dib(45, 20, RGB(1, 2, 3));
    pane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    EXPECT_EQ(pane->GetCaption(), c.text);
    SetToggle(c.vk, false);
    timers.Fire(500);
    EXPECT_EQ(pane->GetState(), tsOff);
    pane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
    EXPECT_EQ(pane->GetCaption(), "");
    pane->Free();
  }
  SetToggle(VK_INSERT, false);
  auto* insert = host.Add<TKxKeyStatus>();
  insert->SetKey(tkInsert);
  insert->SetInsertState(isOverwrite);
  timers.Fire(500);
  EXPECT_EQ(insert->GetInsertState(), isOverwrite) << "the toggle is as it was at creation";
  SetToggle(VK_INSERT, true);
  timers.Fire(500);
  EXPECT_EQ(insert->GetInsertState(), isInsert);
  controls_test::TDib dib(45, 20, RGB(1, 2, 3));
  insert->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_EQ(insert->GetCaption(), "Insert");
  SetKeyboardState(saved);
}

TEST(KxResourceStatus, OnWindowsNTThePaneShowsThePageFileUnderTheMemoryText) {
  TFakeTimers timers;
  TPaneHost host;
  auto* pane = host.Add<TKxResourceStatus>();
  EXPECT_EQ(pane->GetResourceType(), rtMemory);
  timers.Fire(500);
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  int expected = static_cast<int>(
      std::nearbyint(100.0 * (status.dwAvailPageFile / 1024) / static_cast<double>(status.dwTotalPageFile / 1024)));
  EXPECT_NEAR(pane->GetPercent(), expected, 1);
  EXPECT_EQ(pane->GetHint(), Format("Memory: %d%%", {pane->GetPercent()}));
  pane->GetResourceStrings()->SetString(1, "Speicher");
  EXPECT_EQ(pane->GetHint().rfind("Speicher: ", 0), 0u);
  pane->SetShowPercent(true);
  pane->SetBarStyle(bsLED);
  EXPECT_FALSE(pane->GetShowPercent());
  pane->SetDisplayStyle(dsText);
  controls_test::TDib dib(100, 20, RGB(1, 2, 3));
  pane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_EQ(pane->GetCaption(), FormatFloat("#,##0", static_cast<double>(pane->GetKilobytes())) + " KB");
}

TEST(KxMarqueeStatus, TheCaptionScrollsBySizeAndStopsWithoutADirection) {
  TFakeTimers timers;
  TPaneHost host;
  auto* pane = host.Add<TKxMarqueeStatus>();
  pane->SetCaption("News");
  pane->SetScrollSize(0);
  EXPECT_EQ(pane->GetScrollSize(), 1);
  pane->SetScrollSize(5);
  EXPECT_TRUE(timers.Running(100));
  timers.Fire(100);
  timers.Fire(100);
  EXPECT_EQ(pane->GetPosition(), 10);
  EXPECT_GT(pane->GetCycleLength(), pane->GetWidth());
  int ticks = pane->GetCycleLength() / 5 + 1;
  for (int i = 0; i < ticks; ++i) timers.Fire(100);
  EXPECT_LT(pane->GetPosition(), pane->GetCycleLength()) << "it starts over";
  pane->SetScrollType(stNone);
  EXPECT_FALSE(timers.Running(100));
  pane->SetScrollType(stLeftToRight);
  pane->SetScrolling(false);
  EXPECT_FALSE(timers.Running(100));
  EXPECT_EQ(pane->GetPosition(), 0);
  pane->SetScrollType(stRightToLeft);
  EXPECT_FALSE(timers.Running(100)) << "a direction alone does not start a stopped marquee";
}

TEST(KxGlyphStatus, AGlyphStripGivesItsCellCount) {
  const struct {
    int width, height, cells;
  } cases[] = {{64, 16, 4}, {80, 16, 1}, {32, 16, 2}, {20, 16, 2}};
  TPaneHost host;
  auto* pane = host.Add<TKxGlyphStatus>();
  pane->SetNumGlyphs(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    Owned<TBitmap> glyph = MakeOwned<TBitmap>();
    glyph->SetSize(c.width, c.height);
    pane->SetGlyph(glyph.get());
    EXPECT_EQ(pane->GetNumGlyphs(), c.cells) << "20 x 16 leaves the count as it was";
  }
}

TEST(KxGlyphStatus, TheGlyphSitsBesideTheCaptionWithItsKeyColourShowingTheFill) {
  TThemesOff off;
  TPaneHost host;
  auto* pane = host.Add<TKxGlyphStatus>();
  pane->SetFillColor(clYellow);
  Owned<TBitmap> glyph = MakeOwned<TBitmap>();
  glyph->SetPixelFormat(pf24bit);
  glyph->SetSize(20, 10);  // two 10 x 10 cells: red, then blue
  glyph->GetCanvas()->GetBrush()->SetColor(clRed);
  glyph->GetCanvas()->FillRect(TRect{0, 0, 10, 10});
  glyph->GetCanvas()->GetBrush()->SetColor(clBlue);
  glyph->GetCanvas()->FillRect(TRect{10, 0, 20, 10});
  glyph->GetCanvas()->SetPixels(0, 9, clLime);
  glyph->GetCanvas()->SetPixels(5, 5, clLime);
  pane->SetGlyph(glyph.get());
  ASSERT_EQ(pane->GetNumGlyphs(), 2);
  TRect caption = pane->GetCaptionRect();
  EXPECT_EQ(caption.left, 1 + 1 + 10 + 2) << "border, frame, image and offset";
  controls_test::TDib dib(100, 20, RGB(1, 2, 3));
  pane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  // x = GlyphOffset + BorderWidth + allowance = 4; y = 1 + |20 - 10 - 2| div 2 = 5.
  EXPECT_EQ(dib.Pixel(4, 5), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(13, 14), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(9, 10), RGB(255, 255, 0)) << "the key colour shows the fill";
  pane->SetEnabled(false);
  controls_test::TDib disabled(100, 20, RGB(1, 2, 3));
  pane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(disabled.DC()), 0);
  EXPECT_EQ(disabled.Pixel(4, 5), RGB(0, 0, 255)) << "the second cell";
}

TEST(KxStatusPane, AutoSizeFitsTheCaptionOrTakesTheDefaultWidth) {
  TPaneHost host;
  auto* pane = host.Add<TKxStatusPane>();
  pane->SetAutoSize(true);
  EXPECT_EQ(pane->GetWidth(), 40);
  pane->SetCaption("Ready");
  int text = 0;
  {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, pane->GetFont()->GetHandle());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, "Ready", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
    text = r.right;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  EXPECT_EQ(pane->GetWidth(), text + 2 * 1 + 2 + 6);
  auto* field = host.Add<TKxFieldStatus>();
  field->SetFieldLabel("Row:");
  field->SetCaption("12");
  field->SetAutoSize(true);
  EXPECT_GT(field->GetWidth(), pane->GetWidth() - text);
  EXPECT_GT(field->GetCaptionRect().left, 2 + 2 * 2);
}

TEST(KxStatusPane, TheFlatFrameLeavesItsCornersAndTheCaptionSitsOnTheFill) {
  TThemesOff off;
  TPaneHost host;
  auto* pane = host.Add<TKxStatusPane>();
  pane->SetColor(clWhite);
  pane->SetFillColor(clYellow);
  pane->SetFlatColor(clRed);
  pane->SetFlatColorAdjustment(0);
  pane->GetFont()->SetColor(clBlack);
  pane->SetCaption("Hi");
  controls_test::TDib dib(100, 20, RGB(1, 2, 3));
  pane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dib.DC()), 0);
  EXPECT_EQ(dib.Pixel(0, 0), RGB(255, 255, 255)) << "BorderWidth shows Color";
  EXPECT_EQ(dib.Pixel(1, 1), RGB(255, 255, 255)) << "corner left undrawn";
  EXPECT_EQ(dib.Pixel(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(98, 10), RGB(255, 0, 0));
  EXPECT_EQ(dib.Pixel(50, 10), RGB(255, 255, 0));
  int left = 100;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x)
      if (dib.Pixel(x, y) == RGB(0, 0, 0)) left = std::min(left, x);
  EXPECT_LT(left, 100) << "the caption is drawn";
  EXPECT_GE(left, 2 + 2 + 1);
}

TEST(KxStatusPane, BlinkingSwapsTheTextColourAndStoppingRestoresIt) {
  TPaneHost host;
  auto* pane = host.Add<TKxStatusPane>();
  pane->GetFont()->SetColor(clBlack);
  EXPECT_EQ(pane->Perform(CM_GETBLINKING, 0, 0), 0);
  pane->Perform(CM_BLINK, bsOff, 0);
  EXPECT_EQ(pane->GetTextColor(), clBlack) << "not blinking: ignored";
  pane->SetBlinking(true);
  EXPECT_EQ(pane->Perform(CM_GETBLINKING, 0, 0), 1);
  pane->Perform(CM_BLINK, bsOff, 0);
  EXPECT_EQ(pane->GetTextColor(), clHighlight);
  pane->SetBlinking(false);
  EXPECT_EQ(pane->GetTextColor(), clBlack);
  pane->SetBlinkIntervalOn(300);
  auto* other = host.Add<TKxFieldStatus>();
  EXPECT_EQ(other->GetBlinkIntervalOn(), 300) << "the shared blink list's";
  pane->SetBlinkIntervalOn(500);
}

TEST(KxStatusPane, StoredFormsReadRetiredNamesAndWriteBackTheSame) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto add = [&](TControl* c, const char* name) {
    c->SetParent(form.get());
    c->SetName(name);
  };
  auto* key = New<TKxKeyStatus>(form.get());
  add(key, "Key1");
  key->SetKey(tkNumLock);
  key->GetKeyStrings()->SetString(1, "Num");
  auto* res = New<TKxResourceStatus>(form.get());
  add(res, "Res1");
  res->SetBarStyle(bsLED);
  auto* clock = New<TKxClockStatus>(form.get());
  add(clock, "Clock1");
  clock->SetFormat("hh:nn");
  auto* marquee = New<TKxMarqueeStatus>(form.get());
  add(marquee, "Marquee1");
  marquee->SetScrollType(stLeftToRight);
  auto* field = New<TKxFieldStatus>(form.get());
  add(field, "Field1");
  field->SetFieldLabel("Row:");
  field->SetFillColor(clYellow);
  auto* plain = New<TKxKeyStatus>(form.get());
  add(plain, "Key2");
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("KeyStrings.NumLock = 'Num'"), std::string::npos) << text;
  EXPECT_EQ(text.find("ResourceStrings"), std::string::npos) << "unchanged strings are not stored";
  EXPECT_EQ(text.find(" Hint ="), std::string::npos);
  EXPECT_NE(text.find("FillColor = clYellow"), std::string::npos);

  std::string old = text;
  old.insert(old.find("BarStyle"), "ResourceType = rtSystem\n    ResourceStrings.User = 'U'\n    ");
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(old, copy.get());
  EXPECT_EQ(WriteForm(copy.get()), text);
}

// --- members leaving the shared timers' lists during a tick -----------------------------

namespace {

// Which member's tick frees which member, and the ticks each member hears
// in that tick.
struct TLeaveCase {
  const char* Name;
  int Members;
  std::vector<std::pair<int, int>> Frees;
  std::vector<int> Ticks;
};

void PrintTo(const TLeaveCase& c, std::ostream* os) { *os << c.Name; }

// The two lists a pane ticks in: the polling panes' timer (OnTimerExpired)
// and the blink timer (CM_BLINK to a blinking pane).
enum TTickListKind { lkPolling, lkBlinking };

class KxTickListLeave : public ::testing::TestWithParam<std::tuple<TTickListKind, TLeaveCase>> {
 protected:
  struct TMember {
    KxTickListLeave* Test = nullptr;
    int Index = 0;
    TKxCustomStatusPane* Pane = nullptr;
    TWndMethod Saved;
    int Ticks = 0;
    bool Alive = true;
    void Expired(TObject*) { Ticked(); }
    void Proc(TMessage& m) {
      Saved(m);
      if (m.Msg == CM_BLINK) Ticked();
    }
    void Ticked() {
      ++Ticks;
      Test->Act(Index);
    }
  };

  TTickListKind Kind() const { return std::get<0>(GetParam()); }
  const TLeaveCase& Case() const { return std::get<1>(GetParam()); }

  void SetUp() override {
    members.resize(static_cast<size_t>(Case().Members));
    for (int i = 0; i < Case().Members; ++i) {
      TMember& m = members[static_cast<size_t>(i)];
      m.Test = this;
      m.Index = i;
      if (Kind() == lkPolling) {
        auto* pane = host.Add<TKxClockStatus>(i * 100);
        pane->SetOnTimerExpired(TNotifyEvent(&m, &TMember::Expired));
        pane->SetInterval(700);  // apart from the blink timer's 500 ms
        m.Pane = pane;
      } else {
        auto* pane = host.Add<TKxStatusPane>(i * 100);
        pane->SetBlinking(true);
        m.Saved = pane->GetWindowProc();
        pane->SetWindowProc(TWndMethod(&m, &TMember::Proc));
        m.Pane = pane;
      }
    }
  }
  // The member's tick frees whatever the case says it frees.
  void Act(int index) {
    if (!acting) return;
    for (const auto& [actor, freed] : Case().Frees) {
      if (actor != index) continue;
      TMember& m = members[static_cast<size_t>(freed)];
      m.Alive = false;
      m.Pane->Free();
    }
  }
  void Tick() {
    int fired = timers.Fire(Kind() == lkPolling ? 700 : 500);
    EXPECT_EQ(fired, 1) << "one shared timer";
  }
  // The list the panes tick in, and how many it holds.
  bool ListExists() const { return Kind() == lkPolling ? FindPollingList() != nullptr : FindBlinkingControlsList() != nullptr; }
  int ListCount() const {
    return Kind() == lkPolling ? FindPollingList()->GetCount() : FindBlinkingControlsList()->GetCount();
  }
  std::vector<int> Ticks() const {
    std::vector<int> ticks;
    for (const TMember& m : members) ticks.push_back(m.Ticks);
    return ticks;
  }

  // The panes go before the members that hear their messages.
  TFakeTimers timers;
  std::vector<TMember> members;
  TPaneHost host;
  bool acting = true;
};

// A member freed in the tick is not called after it goes; every other one
// ticks once; a list freed with its last member is not touched again, and
// the list that stays ticks its members on.
TEST_P(KxTickListLeave, EveryMemberThatStaysTicksOnceAndNoFreedOneIsCalled) {
  Tick();
  EXPECT_EQ(Ticks(), Case().Ticks);
  int alive = 0;
  for (const TMember& m : members) alive += m.Alive ? 1 : 0;
  ASSERT_EQ(ListExists(), alive > 0);
  if (alive == 0) return;
  EXPECT_EQ(ListCount(), alive);
  acting = false;
  Tick();
  for (const TMember& m : members) {
    SCOPED_TRACE(m.Index);
    int before = Case().Ticks[static_cast<size_t>(m.Index)];
    EXPECT_EQ(m.Ticks, m.Alive ? before + 1 : before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, KxTickListLeave,
    ::testing::Combine(
        ::testing::Values(lkPolling, lkBlinking),
        ::testing::Values(TLeaveCase{"itself", 3, {{1, 1}}, {1, 1, 1}},
                          TLeaveCase{"oneBeforeIt", 3, {{1, 0}}, {1, 1, 1}},
                          TLeaveCase{"oneAfterIt", 3, {{0, 2}}, {1, 1, 0}},
                          TLeaveCase{"eachItselfTheLastFreeingTheList", 3, {{0, 0}, {1, 1}, {2, 2}}, {1, 1, 1}},
                          TLeaveCase{"theOnlyOneItself", 1, {{0, 0}}, {1}})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param) == lkPolling ? "polling_" : "blinking_") +
             std::get<1>(info.param).Name;
    });

}  // namespace
