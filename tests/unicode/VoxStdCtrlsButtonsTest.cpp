// The wide static text, buttons, check boxes, radio buttons, group boxes and
// scroll bars: their Unicode windows, wide captions and accelerators.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/ActnList.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"
#include "tests/unicode/VoxStdCtrlsTestSupport.h"
#include "tests/unicode/VoxTestSupport.h"
#include "unicode/VoxStdCtrls.h"

using namespace controls_test;
using namespace forms_test;

namespace {

// One caption control class: how to make it and read its wide caption.
struct TCaptionKind {
  const char* className;
  std::function<TWinControl*(TComponent*)> make;
  std::function<std::wstring(TWinControl*)> caption;
  std::function<void(TWinControl*, const std::wstring&)> setCaption;
};

template <class T>
TCaptionKind Kind(const char* name) {
  return TCaptionKind{name, [](TComponent* owner) -> TWinControl* { return New<T>(owner); },
                      [](TWinControl* c) { return static_cast<T*>(c)->GetCaption(); },
                      [](TWinControl* c, const std::wstring& v) { static_cast<T*>(c)->SetCaption(v); }};
}

std::vector<TCaptionKind> CaptionKinds() {
  return {Kind<TVoxStaticText>("TVoxStaticText"), Kind<TVoxButton>("TVoxButton"),
          Kind<TVoxCheckBox>("TVoxCheckBox"), Kind<TVoxRadioButton>("TVoxRadioButton"),
          Kind<TVoxGroupBox>("TVoxGroupBox")};
}

class VoxCaptionControls : public ::testing::Test {
 protected:
  void SetUp() override { EnsureControlsUnit(); }
  THostWindow host;
};

TEST_F(VoxCaptionControls, TheCaptionIsWideInAUnicodeWindowAndSurvivesANewWindow) {
  for (const TCaptionKind& k : CaptionKinds()) {
    SCOPED_TRACE(k.className);
    Owned<TWinControl> c(k.make(nullptr));
    k.setCaption(c.get(), kChinese);
    c->SetParentWindow(host.Handle());
    HWND h = c->GetHandle();
    ASSERT_TRUE(IsWindowUnicode(h));
    wchar_t className[80]{};
    GetClassNameW(h, className, 80);
    EXPECT_EQ(std::wstring(className), AnsiToWide(k.className) + L".UnicodeClass");
    wchar_t text[16]{};
    GetWindowTextW(h, text, 16);
    EXPECT_EQ(std::wstring(text), kChinese);
    EXPECT_EQ(c->GetText(), "??");

    c->RecreateWnd();
    c->HandleNeeded();
    EXPECT_NE(c->GetHandle(), nullptr);
    EXPECT_EQ(k.caption(c.get()), kChinese);
  }
}

TEST_F(VoxCaptionControls, AutoSizedStaticTextTakesTheSizeOfItsWideCaption) {
  const std::wstring wide = L"\u0416\u0416\u0416\u0416";
  Owned<TVoxStaticText> text(New<TVoxStaticText>(nullptr));
  text->GetFont()->SetName("Tahoma");
  text->GetFont()->SetSize(10);
  auto measured = [&](const std::wstring& s) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, text->GetFont()->GetHandle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return r;
  };
  ASSERT_NE(measured(wide).right, measured(L"????").right) << "the fixture tells wide text from its ANSI form";
  text->SetParentWindow(host.Handle());
  for (const std::wstring& caption : {wide, kChinese, std::wstring()}) {
    text->SetCaption(caption);
    RECT want = measured(caption.empty() ? L" " : caption);
    EXPECT_EQ(text->GetWidth(), want.right);
    EXPECT_EQ(text->GetHeight(), want.bottom);
  }
}

TEST_F(VoxCaptionControls, TheScrollBarIsAUnicodeScrollBarWithAWideHint) {
  Owned<TVoxScrollBar> bar(New<TVoxScrollBar>(nullptr));
  bar->SetHint(kChinese);
  bar->SetParentWindow(host.Handle());
  EXPECT_TRUE(IsWindowUnicode(bar->GetHandle()));
  bar->SetPosition(40);
  EXPECT_EQ(GetScrollPos(bar->GetHandle(), SB_CTL), 40) << "the system's scroll bar under it";
  EXPECT_EQ(bar->GetHint(), kChinese);
}

TEST_F(VoxCaptionControls, TheStoredFormKeepsWideCaptionsAndHints) {
  for (const TCaptionKind& k : CaptionKinds()) {
    SCOPED_TRACE(k.className);
    Owned<TForm> form(New<TForm>(nullptr, 0)), copy(New<TForm>(nullptr, 0));
    form->SetName("Stored");
    TWinControl* c = k.make(form.get());
    c->SetName("Control1");
    c->SetParent(form.get());
    k.setCaption(c, kChinese);
    std::string text = WriteForm(form.get());
    ReadForm(text, copy.get());
    auto* read = dynamic_cast<TWinControl*>(copy->FindComponent("Control1"));
    ASSERT_NE(read, nullptr) << text;
    EXPECT_STREQ(read->ClassName().c_str(), k.className);
    EXPECT_EQ(k.caption(read), kChinese);
  }
}

TEST_F(VoxCaptionControls, AWideActionGivesAButtonItsWideCaption) {
  Owned<TComponent> owner(New<TComponent>(nullptr));
  auto* action = New<TVoxAction>(owner.get());
  action->SetCaption(kChinese);
  auto* button = New<TVoxButton>(owner.get());
  button->SetParentWindow(host.Handle());
  button->SetAction(action);
  EXPECT_EQ(button->GetCaption(), kChinese);
  action->SetCaption(L"\u0416");
  EXPECT_EQ(button->GetCaption(), L"\u0416");
  button->SetParentWindow(nullptr);
}

TEST_F(VoxCaptionControls, TheGroupBoxPaintsItsWideCaption) {
  Owned<TVoxGroupBox> box(New<TVoxGroupBox>(nullptr));
  box->SetBounds(0, 0, 200, 80);
  box->GetFont()->SetName("Tahoma");
  box->GetFont()->SetSize(10);
  box->GetFont()->SetColor(clBlack);
  box->SetColor(clWhite);
  box->SetCaption(L"\u0416\u0416\u0416\u0416");
  box->SetParentWindow(host.Handle());
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, box->GetFont()->GetHandle());
  SIZE wide{}, ansi{};
  GetTextExtentPoint32W(screen, L"\u0416\u0416\u0416\u0416", 4, &wide);
  GetTextExtentPoint32W(screen, L"????", 4, &ansi);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(wide.cx, ansi.cx) << "the fixture tells the wide caption from its ANSI form";

  TDib dib(200, 80, RGB(255, 255, 255));
  box->GetCanvas()->SetHandle(dib.DC());
  box->Paint();
  box->GetCanvas()->SetHandle(nullptr);
  // The ink of the caption's row, right of the frame's left edge.
  int last = -1;
  for (int x = 2; x < 200; ++x)
    for (int y = 1; y < wide.cy - 1; ++y)
      if (dib.Pixel(x, y) == RGB(0, 0, 0)) last = x;
  ASSERT_GE(last, 8) << "the caption was drawn from x = 8";
  EXPECT_LT(last, 8 + wide.cx);
  EXPECT_GE(last, 8 + wide.cx - wide.cx / 4) << "all four characters";
}

// --- Accelerators ---------------------------------------------------------------------------------

// Focus is the desktop's: the suite runs alone.
class SerialVoxAccelerators : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBounds(40, 40, 420, 260);
    other = New<TEdit>(form.get());
    other->SetParent(form.get());
    other->SetBounds(300, 200, 80, 24);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    other->SetFocus();
    PumpApplication(3);
  }
  // The form hands CM_DIALOGCHAR to its controls in turn, as a typed
  // Alt+character reaches them.
  LRESULT DialogChar(wchar_t c) { return form->Perform(CM_DIALOGCHAR, c, 0); }
  template <class T>
  T* Make(const std::wstring& caption, int top) {
    T* c = New<T>(form.get());
    c->SetParent(form.get());
    c->SetBounds(10, top, 200, 24);
    c->SetCaption(caption);
    return c;
  }

  TFreshApplication app;
  Owned<TForm> form;
  TEdit* other = nullptr;
};

TEST_F(SerialVoxAccelerators, TheMarkedWideCharacterInAnyCaseReachesItsControl) {
  struct Case {
    const char* what;
    std::wstring caption;
    wchar_t typed;
    bool match;
  } cases[] = {
      {"a Cyrillic mark, typed small", L"&\u0416\u0443\u043A", L'\u0436', true},
      {"a Cyrillic mark, typed capital", L"x&\u0436", L'\u0416', true},
      {"a Latin-1 character through its ANSI code", L"&\u00E9t\u00E9", L'\u00C9', true},
      {"an escaped ampersand marks nothing", L"&&\u0416", L'\u0416', false},
      {"the last mark wins", L"&a&\u0416", L'a', false},
      {"another character", L"&\u0416", L'\u0443', false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int clicks = 0;
    struct TCounter {
      int* n;
      void OnClick(TObject*) { ++*n; }
    } counter{&clicks};
    Owned<TVoxButton> button(Make<TVoxButton>(c.caption, 10));
    button->OnClick = TNotifyEvent(&counter, &TCounter::OnClick);
    EXPECT_EQ(DialogChar(c.typed), c.match ? 1 : 0);
    EXPECT_EQ(clicks, c.match ? 1 : 0);
  }
}

TEST_F(SerialVoxAccelerators, EachKindOfControlDoesWhatItsAcceleratorMeans) {
  auto* check = Make<TVoxCheckBox>(L"&\u0416", 10);
  auto* radio = Make<TVoxRadioButton>(L"&\u0443", 40);
  auto* box = Make<TVoxGroupBox>(L"&\u043A", 70);
  box->SetHeight(80);
  auto* inside = New<TEdit>(form.get());
  inside->SetParent(box);
  inside->SetBounds(10, 30, 80, 24);
  auto* target = New<TEdit>(form.get());
  target->SetParent(form.get());
  target->SetBounds(250, 10, 80, 24);
  auto* label = New<TVoxLabel>(form.get());
  label->SetParent(form.get());
  label->SetBounds(250, 50, 80, 20);
  label->SetCaption(L"&\u6587");
  label->SetFocusControl(target);
  PumpApplication(2);

  EXPECT_EQ(DialogChar(L'\u0436'), 1);
  EXPECT_TRUE(check->Focused());
  EXPECT_TRUE(check->GetChecked()) << "toggled once focused";
  EXPECT_EQ(DialogChar(L'\u0423'), 1);
  EXPECT_TRUE(radio->Focused());
  EXPECT_EQ(DialogChar(L'\u041A'), 1);
  EXPECT_EQ(form->GetActiveControl(), inside) << "the group box selects its first control";
  EXPECT_EQ(DialogChar(L'\u6587'), 1);
  EXPECT_TRUE(target->Focused()) << "the label focuses its focus control";

  label->SetShowAccelChar(false);
  other->SetFocus();
  EXPECT_EQ(DialogChar(L'\u6587'), 0) << "no accelerator while the mark is shown as text";
  EXPECT_TRUE(other->Focused());
}

TEST_F(SerialVoxAccelerators, AControlThatCannotTakeFocusPassesTheCharacterOn) {
  auto* disabled = Make<TVoxButton>(L"&\u0416", 10);
  disabled->SetEnabled(false);
  auto* box = Make<TVoxGroupBox>(L"box", 40);
  box->SetHeight(80);
  auto* inner = New<TVoxButton>(form.get());
  inner->SetParent(box);
  inner->SetBounds(10, 30, 80, 24);
  inner->SetCaption(L"&\u0443");
  int clicks = 0;
  struct TCounter {
    int* n;
    void OnClick(TObject*) { ++*n; }
  } counter{&clicks};
  inner->OnClick = TNotifyEvent(&counter, &TCounter::OnClick);
  disabled->OnClick = TNotifyEvent(&counter, &TCounter::OnClick);

  EXPECT_EQ(DialogChar(L'\u0416'), 0) << "a disabled button does not click";
  EXPECT_EQ(DialogChar(L'\u0443'), 1) << "the group box passed it to the button inside";
  EXPECT_EQ(clicks, 1);
}

}  // namespace
