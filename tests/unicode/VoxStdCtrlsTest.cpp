// The wide standard controls: edits and labels.
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

// --- Edits --------------------------------------------------------------------------------------

class VoxEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    edit.reset(New<TVoxEdit>(nullptr));
    edit->SetBounds(2, 3, 160, 24);
  }
  void Show() { edit->SetParentWindow(host.Handle()); }
  // What the window itself draws for each character.
  wchar_t WindowPasswordChar() {
    return static_cast<wchar_t>(SendMessageW(edit->GetHandle(), EM_GETPASSWORDCHAR, 0, 0));
  }

  THostWindow host;
  Owned<TVoxEdit> edit;
};

TEST_F(VoxEditTest, TheTextIsWideInAUnicodeEditWindowAndItsAnsiFormStaysInStep) {
  edit->SetText(kChinese);  // kept until the window comes
  Show();
  ASSERT_TRUE(IsWindowUnicode(edit->GetHandle()));
  wchar_t className[80]{};
  GetClassNameW(edit->GetHandle(), className, 80);
  EXPECT_EQ(std::wstring(className), L"TVoxEdit.UnicodeClass");
  EXPECT_EQ(WideWindowText(edit->GetHandle()), kChinese);
  EXPECT_EQ(edit->GetText(), kChinese);
  EXPECT_EQ(edit->TControl::GetText(), "??");

  edit->TControl::SetText("plain");  // ANSI code still reaches the window
  EXPECT_EQ(edit->GetText(), L"plain");
}

TEST_F(VoxEditTest, TheSelectionCountsCharactersOfTheWideText) {
  Show();
  edit->SetText(L"a\u4E2D\u6587b");
  edit->SetSelStart(1);
  edit->SetSelLength(2);
  EXPECT_EQ(edit->GetSelText(), kChinese);
  edit->SetSelText(L"\u0416");
  EXPECT_EQ(edit->GetText(), L"a\u0416b");
  EXPECT_EQ(edit->GetSelStart(), 2) << "the caret after what replaced the selection";
  EXPECT_EQ(edit->GetSelLength(), 0);
}

TEST_F(VoxEditTest, ThePasswordCharacterIsWideOnTheWindowAndStandsInAnsiAsItselfOrAStar) {
  struct Case {
    const char* what;
    std::wstring set;
    std::wstring kept;   // what the wide property then reads
    char ansi;           // the class library's PasswordChar
    wchar_t window;      // what the window draws
  } cases[] = {
      {"a black circle", L"\u25CF", L"\u25CF", '*', L'\u25CF'},
      {"a character below 256", L"\u00B7", L"\u00B7", '\xB7', L'\u00B7'},
      {"only the first character counts", L"#x", L"#", '#', L'#'},
      {"none", L"", L"", '\0', L'\0'},
  };
  for (bool windowFirst : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (windowFirst ? ", set on the window" : ", set before the window"));
      edit.reset(New<TVoxEdit>(nullptr));
      if (windowFirst) Show();
      edit->SetPasswordChar(c.set);
      if (!windowFirst) Show();
      EXPECT_EQ(edit->GetPasswordChar(), c.kept);
      EXPECT_EQ(edit->TCustomEdit::GetPasswordChar(), c.ansi);
      EXPECT_EQ(WindowPasswordChar(), c.window);
      edit->RecreateWnd();
      edit->HandleNeeded();
      EXPECT_EQ(WindowPasswordChar(), c.window) << "a new window gets it too";
    }
  }
}

TEST_F(VoxEditTest, AnAnsiPasswordCharacterSetSinceWins) {
  Show();
  edit->SetPasswordChar(L"\u25CF");
  edit->TCustomEdit::SetPasswordChar('x');
  EXPECT_EQ(edit->GetPasswordChar(), L"x");
  EXPECT_EQ(WindowPasswordChar(), L'x');
  edit->TCustomEdit::SetPasswordChar('*');  // what the wide one stood as: no longer it
  EXPECT_EQ(edit->GetPasswordChar(), L"*");
}

TEST_F(VoxEditTest, OnTheAnsiRouteTheEditIsTheClassLibrarysEdit) {
  TAnsiRoute ansi;
  edit->SetPasswordChar(L"\u25CF");
  Show();
  EXPECT_FALSE(IsWindowUnicode(edit->GetHandle()));
  EXPECT_EQ(WindowPasswordChar(), L'*') << "a star where the system has no wide edit";
  edit->SetText(L"\u00E9t\u00E9");
  edit->SetSelStart(1);
  edit->SetSelLength(2);
  EXPECT_EQ(edit->GetSelText(), L"t\u00E9");
  EXPECT_EQ(edit->TControl::GetText(), "\xE9t\xE9");
}

TEST_F(VoxEditTest, TheStoredFormKeepsWideTextPasswordCharacterAndHint) {
  Owned<TForm> form, copy;
  auto* e = OnForm<TVoxEdit>(form, "Edit1");
  e->SetText(kChinese);
  e->SetPasswordChar(L"\u25CF");
  e->SetHint(L"\u0416|\u6587");
  TVoxEdit* read = StoredCopy(e, copy);
  ASSERT_NE(read, nullptr) << WriteForm(form.get());
  EXPECT_EQ(read->GetText(), kChinese);
  EXPECT_EQ(read->GetPasswordChar(), L"\u25CF");
  EXPECT_EQ(read->GetHint(), L"\u0416|\u6587");
}

// The user types into a wide edit on a form: wide characters arrive whole
// through the application's loop.
class SerialVoxEditTyping : public ::testing::Test {
 protected:
  TFreshApplication app;
};

TEST_F(SerialVoxEditTyping, TypedWideCharactersReachTheTextWhole) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(40, 40, 300, 120);
  auto* edit = New<TVoxEdit>(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 200, 24);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  edit->SetFocus();
  PumpApplication(3);
  TypeWideText(L"a\u4E2D\u0416");
  PumpApplication(5);
  EXPECT_EQ(edit->GetText(), L"a\u4E2D\u0416");
  EXPECT_EQ(edit->GetSelStart(), 3);
}

// --- Memos --------------------------------------------------------------------------------------

class VoxMemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    memo.reset(New<TVoxMemo>(nullptr));
    memo->SetBounds(0, 0, 300, 200);
    memo->SetParentWindow(host.Handle());
  }
  std::vector<std::wstring> Lines() {
    std::vector<std::wstring> lines;
    for (int i = 0; i < memo->GetLines()->GetCount(); ++i) lines.push_back(memo->GetLines()->Get(i));
    return lines;
  }

  THostWindow host;
  Owned<TVoxMemo> memo;
};

TEST_F(VoxMemoTest, TheLinesAreReadAndWrittenWideInTheWindow) {
  using Wide = std::vector<std::wstring>;
  struct Case {
    const char* what;
    std::function<void(TVoxStrings*)> change;
    Wide lines;
    std::wstring text;
  } cases[] = {
      {"as set", [](TVoxStrings*) {}, {L"a", kChinese, L"\u0416"}, L"a\r\n\u4E2D\u6587\r\n\u0416"},
      {"a line replaced", [](TVoxStrings* l) { l->Put(1, L"\u0443\u043A"); }, {L"a", L"\u0443\u043A", L"\u0416"},
       L"a\r\n\u0443\u043A\r\n\u0416"},
      {"an empty line replaced", [](TVoxStrings* l) { l->Put(0, L""); }, {L"", kChinese, L"\u0416"},
       L"\r\n\u4E2D\u6587\r\n\u0416"},
      {"inserted first", [](TVoxStrings* l) { l->Insert(0, L"\u6587"); }, {L"\u6587", L"a", kChinese, L"\u0416"},
       L"\u6587\r\na\r\n\u4E2D\u6587\r\n\u0416"},
      {"added after the last line", [](TVoxStrings* l) { l->Add(L"\u6587"); }, {L"a", kChinese, L"\u0416", L"\u6587"},
       L"a\r\n\u4E2D\u6587\r\n\u0416\r\n\u6587"},
      {"deleted", [](TVoxStrings* l) { l->Delete(1); }, {L"a", L"\u0416"}, L"a\r\n\u0416"},
      {"cleared", [](TVoxStrings* l) { l->Clear(); }, {}, L""},
      {"text with lone line feeds", [](TVoxStrings* l) { l->SetText(L"\u4E2D\n\u6587\r"); }, {L"\u4E2D", L"\u6587"},
       L"\u4E2D\r\n\u6587\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    memo->SetText(L"a\r\n\u4E2D\u6587\r\n\u0416");
    c.change(memo->GetLines());
    EXPECT_EQ(Lines(), c.lines);
    EXPECT_EQ(WideWindowText(memo->GetHandle()), c.text);
    EXPECT_EQ(memo->GetLines()->GetText(), c.text);
  }
}

TEST_F(VoxMemoTest, AVeryLongLineIsReadWhole) {
  memo->SetWordWrap(false);  // one line of the window, however wide
  std::wstring line(5000, L'\u0416');
  line += L"\u4E2D";
  memo->GetLines()->SetText(line);
  std::wstring read = memo->GetLines()->Get(0);
  EXPECT_EQ(read.size(), line.size());
  EXPECT_TRUE(read == line);
}

TEST_F(VoxMemoTest, OnTheAnsiRouteTheLinesGoThroughTheClassLibrarysLines) {
  TAnsiRoute ansi;
  Owned<TVoxMemo> old(New<TVoxMemo>(nullptr));
  old->SetParentWindow(host.Handle());
  old->GetLines()->Add(L"\u00E9t\u00E9");
  old->GetLines()->Add(kChinese);
  EXPECT_FALSE(IsWindowUnicode(old->GetHandle()));
  EXPECT_EQ(old->GetLines()->Get(0), L"\u00E9t\u00E9");
  EXPECT_EQ(old->GetLines()->Get(1), L"??");
  EXPECT_EQ(old->TControl::GetText(), "\xE9t\xE9\r\n??\r\n");
}

TEST_F(VoxMemoTest, TheStoredFormKeepsTheWideLines) {
  Owned<TForm> form, copy;
  auto* m = OnForm<TVoxMemo>(form, "Memo1");
  m->GetLines()->Add(kChinese);
  m->GetLines()->Add(L"\u0416");
  TVoxMemo* read = StoredCopy(m, copy);
  ASSERT_NE(read, nullptr) << WriteForm(form.get());
  EXPECT_EQ(read->GetLines()->GetText(), L"\u4E2D\u6587\r\n\u0416\r\n");
}

// --- Labels --------------------------------------------------------------------------------------

class VoxLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    parent.reset(New<TPanel>(nullptr));
    parent->SetBounds(0, 0, 300, 100);
    parent->SetParentWindow(host.Handle());
    label = New<TVoxLabel>(parent.get());
    label->SetParent(parent.get());
    label->SetLeft(10);
    label->GetFont()->SetName("Tahoma");
    label->GetFont()->SetSize(10);
  }
  // The size DrawTextW gives the text in the label's font.
  SIZE Measured(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->GetFont()->GetHandle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{r.right, r.bottom};
  }
  // Paints the label into a DIB of its size filled with white.
  void PaintInto(TDib& dib) {
    label->GetCanvas()->SetHandle(dib.DC());
    label->Paint();
    label->GetCanvas()->SetHandle(nullptr);
  }
  // The columns of the DIB where a pixel has the colour.
  static std::vector<int> ColumnsOf(const TDib& dib, int width, int height, COLORREF colour) {
    std::vector<int> columns;
    for (int x = 0; x < width; ++x)
      for (int y = 0; y < height; ++y)
        if (dib.Pixel(x, y) == colour) {
          columns.push_back(x);
          break;
        }
    return columns;
  }

  THostWindow host;
  Owned<TPanel> parent;
  TVoxLabel* label = nullptr;
};

TEST_F(VoxLabelTest, AutoSizeMeasuresTheWideCaptionAndAnEmptyOneStillTakesALine) {
  struct Case {
    const char* what;
    std::wstring caption, measured;
  } cases[] = {
      {"wide text", L"\u4E2D\u6587\u4E2D\u6587", L"\u4E2D\u6587\u4E2D\u6587"},
      {"empty", L"", L" "},
      {"a lone accelerator mark", L"&", L" "},
      {"an accelerator", L"&\u0416\u0443\u043A", L"\u0416\u0443\u043A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    label->SetCaption(c.caption);
    SIZE want = Measured(c.measured);
    EXPECT_EQ(label->GetWidth(), want.cx);
    EXPECT_EQ(label->GetHeight(), want.cy);
    EXPECT_GT(label->GetHeight(), 0);
  }
  EXPECT_NE(Measured(kChinese).cx, Measured(L"??").cx) << "the fixture tells wide text from its ANSI form";
}

TEST_F(VoxLabelTest, WithoutShowAccelCharTheMarkIsDrawnAsText) {
  label->SetShowAccelChar(false);
  label->SetCaption(L"&\u0416");
  EXPECT_EQ(label->GetWidth(), Measured(L"&&\u0416").cx);
}

TEST_F(VoxLabelTest, TheCaptionIsPaintedWideAndADisabledOneEmbossed) {
  label->SetCaption(L"\u0416\u0416");
  label->SetColor(clWhite);
  label->GetFont()->SetColor(clBlack);
  int w = label->GetWidth(), h = label->GetHeight();
  {
    TDib dib(w + 4, h + 4, RGB(255, 255, 255));
    PaintInto(dib);
    std::vector<int> ink = ColumnsOf(dib, w + 4, h + 4, RGB(0, 0, 0));
    ASSERT_FALSE(ink.empty()) << "the text was drawn";
    EXPECT_LT(ink.back(), w) << "within the measured width";
    EXPECT_GE(ink.back(), w / 2) << "both characters, not one question mark";
  }
  {
    label->SetEnabled(false);
    TDib dib(w + 4, h + 4, RGB(255, 255, 255));
    PaintInto(dib);
    COLORREF highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    std::vector<int> light = ColumnsOf(dib, w + 4, h + 4, highlight);
    std::vector<int> dark = ColumnsOf(dib, w + 4, h + 4, shadow);
    ASSERT_FALSE(dark.empty());
    EXPECT_TRUE(ColumnsOf(dib, w + 4, h + 4, RGB(0, 0, 0)).empty()) << "no enabled ink";
    if (highlight != RGB(255, 255, 255)) {
      ASSERT_FALSE(light.empty());
      EXPECT_EQ(light.back(), dark.back() + 1) << "the highlight one pixel to the right";
    }
  }
}

TEST_F(VoxLabelTest, AWideActionGivesTheLabelItsWideCaptionAndHint) {
  auto* action = New<TVoxAction>(parent.get());
  action->SetCaption(kChinese);
  action->SetHint(L"\u0416");
  label->SetAction(action);
  EXPECT_EQ(label->GetCaption(), kChinese);
  EXPECT_EQ(label->GetHint(), L"\u0416");
  EXPECT_FALSE(label->IsCaptionStored()) << "the action supplies it";
  action->SetCaption(L"\u6587");
  EXPECT_EQ(label->GetCaption(), L"\u6587");
}

TEST_F(VoxLabelTest, TheStoredFormKeepsTheWideCaption) {
  Owned<TForm> form, copy;
  auto* l = OnForm<TVoxLabel>(form, "Label1");
  l->SetCaption(kChinese);
  TVoxLabel* read = StoredCopy(l, copy);
  ASSERT_NE(read, nullptr) << WriteForm(form.get());
  EXPECT_EQ(read->GetCaption(), kChinese);
}

}  // namespace
