// The two header controls: the older THeader that the class library paints
// and THeaderControl over the common control. Section widths as the tabbed
// list box reads them, and resizing by the user with the real mouse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

// A borderless form at a known place with the header on it, shown.
class HeaderFixture : public ::testing::Test {
 protected:
  void ShowForm() {
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void MoveTo(POINT p) {
    MoveMouseTo(p);
    PumpApplication(3);
  }
  // Presses at from, moves in two steps to to, releases.
  void DragBy(TControl* c, POINT from, int dx) {
    MoveTo(c->ClientToScreen(from));
    LeftButton(true);
    PumpApplication(3);
    MoveTo(c->ClientToScreen(POINT{from.x + dx / 2, from.y}));
    MoveTo(c->ClientToScreen(POINT{from.x + dx, from.y}));
    LeftButton(false);
    PumpApplication(3);
  }
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(120, 120, 400, 100);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(2);
  }

  TFreshApplication app;
  Owned<TForm> form;
};

TEST(HeaderTest, SectionWidthsAndTheLastSectionTakingTheRest) {
  controls_test::THostWindow host;
  Owned<THeader> h(New<THeader>(nullptr));
  h->SetParentWindow(host.Handle());
  h->SetBorderStyle(bsNone);
  h->SetBounds(0, 0, 300, 25);
  h->GetSections()->SetText("Name\nSize\nDate\n");
  struct Case {
    int index;
    int width;
  };
  // New sections are 64 wide; the last one fills the client area.
  for (Case c : {Case{0, 64}, Case{1, 64}, Case{2, 300 - 128}, Case{3, 0}, Case{-1, 0}}) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(h->GetSectionWidth(c.index), c.width);
  }
  h->SetSectionWidth(1, 100);
  h->SetSectionWidth(7, 50);  // no such section: nothing changes
  h->SetSectionWidth(0, -5);  // no negative width
  EXPECT_EQ(h->GetSectionWidth(0), 0);
  EXPECT_EQ(h->GetSectionWidth(1), 100);
  EXPECT_EQ(h->GetSectionWidth(2), 200);
  h->SetSectionWidth(0, 250);  // others wider than the control: the last is 0
  EXPECT_EQ(h->GetSectionWidth(2), 0);
  // Sections added later get the default width, dropped ones take theirs.
  h->GetSections()->Add("Kind");
  EXPECT_EQ(h->GetSectionWidth(2), 64);
  h->GetSections()->Delete(3);
  h->GetSections()->Delete(2);
  EXPECT_EQ(h->GetSectionWidth(1), 50);  // the last again: 300 - 250
}

TEST(HeaderTest, HeaderErrorIsAnException) {
  try {
    throw EHeaderError("Only headers");
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "EHeaderError");
    EXPECT_EQ(e.GetMessage(), "Only headers");
  }
}

TEST(HeaderTest, SectionsPaintAsRaisedButtonsAtTheirWidths) {
  controls_test::THostWindow host;
  Owned<THeader> h(New<THeader>(nullptr));
  h->SetParentWindow(host.Handle());
  h->SetBorderStyle(bsNone);
  h->SetBounds(0, 0, 200, 20);
  h->GetSections()->SetText("A\nB\n");
  h->SetSectionWidth(0, 80);
  controls_test::TDib dib(200, 20, RGB(1, 2, 3));
  h->HandleNeeded();
  h->PaintWindow(dib.DC());
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
  // Each section's raised edge: its inner ring light on the left, its outer
  // ring darkest on the right.
  EXPECT_EQ(dib.Pixel(1, 10), light);
  EXPECT_EQ(dib.Pixel(79, 10), dark);
  EXPECT_EQ(dib.Pixel(81, 10), light);
  EXPECT_EQ(dib.Pixel(199, 10), dark);
  EXPECT_EQ(dib.Pixel(40, 17), GetSysColor(COLOR_BTNFACE));
}

class SerialHeaderTest : public HeaderFixture {};

TEST_F(SerialHeaderTest, DraggingADividerResizesTheSectionOnItsLeft) {
  auto* h = New<THeader>(form.get());
  h->SetBorderStyle(bsNone);
  h->SetParent(form.get());
  h->SetBounds(0, 0, 400, 24);
  h->GetSections()->SetText("One\nTwo\nThree\n");
  std::vector<std::string> log;
  struct TSink {
    std::vector<std::string>* log;
    void Sizing(TObject*, int s, int w) { log->push_back("sizing " + std::to_string(s) + " " + std::to_string(w)); }
    void Sized(TObject*, int s, int w) { log->push_back("sized " + std::to_string(s) + " " + std::to_string(w)); }
  } sink{&log};
  h->OnSizing = TSectionEvent(&sink, &TSink::Sizing);
  h->OnSized = TSectionEvent(&sink, &TSink::Sized);
  ShowForm();
  // The second divider lies at 128; the cursor there is the split cursor.
  MoveTo(h->ClientToScreen(POINT{128, 10}));
  SendMessageA(h->GetHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(h->GetHandle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), CursorHandleOf(crHSplit));
  DragBy(h, POINT{128, 10}, 30);
  EXPECT_EQ(h->GetSectionWidth(0), 64);
  EXPECT_EQ(h->GetSectionWidth(1), 94);
  EXPECT_EQ(h->GetSectionWidth(2), 400 - 158);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "sized 1 94");
  EXPECT_EQ(log[log.size() - 2], "sizing 1 94");
  // With AllowResize off the same drag changes nothing.
  h->SetAllowResize(false);
  log.clear();
  DragBy(h, POINT{158, 10}, 20);
  EXPECT_EQ(h->GetSectionWidth(1), 94);
  EXPECT_TRUE(log.empty());
}

TEST(HeaderControlTest, SectionsAreTheControlsItems) {
  controls_test::THostWindow host;
  Owned<THeaderControl> h(New<THeaderControl>(nullptr));
  h->SetParentWindow(host.Handle());
  h->SetBounds(0, 0, 300, 20);
  for (auto [text, width] : {std::pair{"Name", 120}, std::pair{"Size", 60}}) {
    THeaderSection* s = h->GetSections()->Add();
    s->SetText(text);
    s->SetWidth(width);
  }
  HWND w = h->GetHandle();
  ASSERT_EQ(SendMessageA(w, HDM_GETITEMCOUNT, 0, 0), 2);
  auto itemWidth = [&h](int i) {
    RECT r{};
    SendMessageA(h->GetHandle(), HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r.right - r.left;
  };
  EXPECT_EQ(itemWidth(0), 120);
  EXPECT_EQ(itemWidth(1), 60);
  char buf[32] = {};
  HDITEMA item{};
  item.mask = HDI_TEXT;
  item.pszText = buf;
  item.cchTextMax = sizeof buf;
  SendMessageA(w, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buf, "Size");
  // Width limits hold for the program too; the left edges follow.
  THeaderSection* first = h->GetSections()->GetItem(0);
  first->SetMaxWidth(100);
  EXPECT_EQ(first->GetWidth(), 100);
  first->SetMinWidth(30);
  first->SetWidth(10);
  EXPECT_EQ(first->GetWidth(), 30);
  EXPECT_EQ(itemWidth(0), 30);
  EXPECT_EQ(h->GetSections()->GetItem(1)->GetLeft(), 30);
  EXPECT_EQ(h->GetSections()->GetItem(1)->GetRight(), 90);
  // A section dropped from the collection leaves the control; a window made
  // again gets the sections back.
  h->GetSections()->Delete(0);
  EXPECT_EQ(SendMessageA(w, HDM_GETITEMCOUNT, 0, 0), 1);
  h->SetHotTrack(true);
  EXPECT_NE(h->GetHandle(), nullptr);
  EXPECT_EQ(SendMessageA(h->GetHandle(), HDM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_EQ(itemWidth(0), 60);
}

class SerialHeaderControlTest : public HeaderFixture {};

TEST_F(SerialHeaderControlTest, TheUsersDragResizesWithinTheLimitsAndAClickIsReported) {
  auto* h = New<THeaderControl>(form.get());
  h->SetParent(form.get());
  for (int i = 0; i < 3; ++i) {
    THeaderSection* s = h->GetSections()->Add();
    s->SetText("S" + std::to_string(i));
    s->SetWidth(100);
  }
  h->GetSections()->GetItem(1)->SetMaxWidth(130);
  std::vector<std::string> log;
  struct TSink {
    std::vector<std::string>* log;
    void Click(THeaderControl*, THeaderSection* s) { log->push_back("click " + s->GetText()); }
    void Resize(THeaderControl*, THeaderSection* s) {
      log->push_back("resize " + s->GetText() + " " + std::to_string(s->GetWidth()));
    }
  } sink{&log};
  h->OnSectionClick = TSectionNotifyEvent(&sink, &TSink::Click);
  h->OnSectionResize = TSectionNotifyEvent(&sink, &TSink::Resize);
  ShowForm();
  EXPECT_EQ(h->GetAlign(), alTop);
  EXPECT_EQ(h->GetWidth(), form->GetClientWidth());
  int y = h->GetHeight() / 2;
  // The divider at the right of the first section, dragged 20 to the right.
  DragBy(h, POINT{99, y}, 20);
  EXPECT_EQ(h->GetSections()->GetItem(0)->GetWidth(), 120);
  EXPECT_EQ(h->GetSections()->GetItem(1)->GetLeft(), 120);
  // The second one may not grow past 130.
  DragBy(h, POINT{219, y}, 60);
  EXPECT_EQ(h->GetSections()->GetItem(1)->GetWidth(), 130);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back(), "resize S1 130");
  log.clear();
  // A click in the middle of the third section.
  MoveTo(h->ClientToScreen(POINT{300, y}));
  LeftButton(true);
  PumpApplication(3);
  LeftButton(false);
  PumpApplication(3);
  EXPECT_EQ(log, (std::vector<std::string>{"click S2"}));
}

}  // namespace
