// The wide input box: laid out in the dialog units of its font, typed into
// on the real keyboard, accepted with Enter and cancelled with Escape as the
// user would.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "classlib/Buttons.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/unicode/VoxStdCtrlsTestSupport.h"
#include "unicode/VoxDialogs.h"
#include "unicode/VoxForms.h"
#include "unicode/VoxStdCtrls.h"

using namespace forms_test;

namespace {

// Runs act once on the input box when the modal loop first goes idle, and
// keeps the loop from waiting, so the real input it sends is taken as soon
// as it arrives.
class TInputBoxDriver {
 public:
  explicit TInputBoxDriver(std::function<void(TVoxForm*)> act) : saved_(Application->GetIdleHook()) {
    Application->SetIdleHook([this, act](bool& done) {
      done = false;
      if (acted_) return;
      auto* form = dynamic_cast<TVoxForm*>(Screen->GetActiveForm());
      if (!form || !form->GetFormState().Contains(fsModal)) return;
      acted_ = true;
      act(form);
    });
  }
  ~TInputBoxDriver() { Application->SetIdleHook(saved_); }
  TInputBoxDriver(const TInputBoxDriver&) = delete;
  TInputBoxDriver& operator=(const TInputBoxDriver&) = delete;

 private:
  std::function<void(bool&)> saved_;
  bool acted_ = false;
};

template <class T>
T* Find(TComponent* owner, int nth = 0) {
  for (int i = 0; i < owner->GetComponentCount(); ++i)
    if (auto* c = dynamic_cast<T*>(owner->GetComponent(i)); c && nth-- == 0) return c;
  return nullptr;
}

// The dialog units of a form's font, measured here on the screen.
TPoint UnitsOf(TFont* font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  std::wstring letters;
  for (wchar_t c = L'A'; c <= L'Z'; ++c) letters += c;
  for (wchar_t c = L'a'; c <= L'z'; ++c) letters += c;
  SIZE size{};
  GetTextExtentPoint32W(dc, letters.c_str(), 52, &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return TPoint(size.cx / 52, size.cy);
}

class SerialVoxInputQuery : public ::testing::Test {
 protected:
  // Activates the box and types keys on the real keyboard: text, then a key.
  static void Type(TVoxForm* form, const std::wstring& text, WORD key) {
    SetForegroundWindow(form->GetHandle());
    if (!text.empty()) TypeWideText(text);
    TypeKey(key);
  }
  TFreshApplication app;
};

TEST_F(SerialVoxInputQuery, TheBoxIsLaidOutInItsFontsDialogUnits) {
  struct TSeen {
    std::wstring caption, prompt, text;
    int selStart = -1, selLength = -1, maxLength = 0;
    TPoint units;
    int clientWidth = 0, clientHeight = 0;
    TRect label, edit, ok, cancel;
    std::string okCaption, cancelCaption;
    bool okDefault = false, cancelCancel = false;
    TFormBorderStyle border = bsNone;
  } seen;
  TInputBoxDriver driver([&](TVoxForm* form) {
    seen.caption = form->GetCaption();
    seen.units = UnitsOf(form->GetFont());
    seen.clientWidth = form->GetClientWidth();
    seen.clientHeight = form->GetClientHeight();
    seen.border = form->GetBorderStyle();
    auto* label = Find<TVoxLabel>(form);
    auto* edit = Find<TVoxEdit>(form);
    auto* ok = Find<TButton>(form, 0);
    auto* cancel = Find<TButton>(form, 1);
    ASSERT_TRUE(label && edit && ok && cancel);
    seen.prompt = label->GetCaption();
    seen.text = edit->GetText();
    seen.selStart = edit->GetSelStart();
    seen.selLength = edit->GetSelLength();
    seen.maxLength = edit->GetMaxLength();
    seen.label = label->GetBoundsRect();
    seen.edit = edit->GetBoundsRect();
    seen.ok = ok->GetBoundsRect();
    seen.cancel = cancel->GetBoundsRect();
    seen.okCaption = ok->GetCaption();
    seen.cancelCaption = cancel->GetCaption();
    seen.okDefault = ok->GetDefault() && ok->GetModalResult() == mrOk;
    seen.cancelCancel = cancel->GetCancel() && cancel->GetModalResult() == mrCancel;
    form->SetModalResult(mrCancel);
  });
  std::wstring value = L"v" + kChinese;
  EXPECT_FALSE(WideInputQuery(L"Title " + kChinese, L"Name " + kChinese + L":", value));
  const TPoint u = seen.units;
  ASSERT_GT(u.x, 0);
  EXPECT_EQ(seen.caption, L"Title " + kChinese);
  EXPECT_EQ(seen.border, bsDialog);
  EXPECT_EQ(seen.clientWidth, MulDiv(180, u.x, 4));
  EXPECT_EQ(seen.clientHeight, MulDiv(63, u.y, 8));
  EXPECT_EQ(seen.prompt, L"Name " + kChinese + L":");
  EXPECT_EQ(seen.label.left, MulDiv(8, u.x, 4));
  EXPECT_EQ(seen.label.top, MulDiv(8, u.y, 8));
  EXPECT_EQ(seen.text, L"v" + kChinese);
  EXPECT_EQ(seen.selStart, 0);
  EXPECT_EQ(seen.selLength, 3);
  EXPECT_EQ(seen.maxLength, 255);
  EXPECT_EQ(seen.edit.left, seen.label.left);
  EXPECT_EQ(seen.edit.top, MulDiv(19, u.y, 8));
  EXPECT_EQ(seen.edit.right - seen.edit.left, MulDiv(164, u.x, 4));
  for (const TRect& b : {seen.ok, seen.cancel}) {
    EXPECT_EQ(b.top, MulDiv(41, u.y, 8));
    EXPECT_EQ(b.right - b.left, MulDiv(50, u.x, 4));
    EXPECT_EQ(b.bottom - b.top, MulDiv(14, u.y, 8));
  }
  EXPECT_EQ(seen.ok.left, MulDiv(38, u.x, 4));
  EXPECT_EQ(seen.cancel.left, MulDiv(92, u.x, 4));
  EXPECT_EQ(seen.okCaption, BitBtnCaption(bkOK));
  EXPECT_EQ(seen.cancelCaption, BitBtnCaption(bkCancel));
  EXPECT_TRUE(seen.okDefault);
  EXPECT_TRUE(seen.cancelCancel);
  // Cancelled: the value is as it was.
  EXPECT_EQ(value, L"v" + kChinese);
}

TEST_F(SerialVoxInputQuery, TypedWideTextIsTakenWithEnterAndDroppedWithEscape) {
  struct TCase {
    const char* what;
    WORD key;
    bool accepted;
    std::wstring value;
  };
  const TCase cases[] = {
      {"Enter presses the default button", VK_RETURN, true, L"\u0416" + kChinese},
      {"Escape presses the cancel button", VK_ESCAPE, false, L"old"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    // The typed text replaces the selected old value.
    TInputBoxDriver driver([&](TVoxForm* form) { Type(form, L"\u0416" + kChinese, c.key); });
    std::wstring value = L"old";
    EXPECT_EQ(WideInputQuery(L"Ask", L"Value:", value), c.accepted);
    EXPECT_EQ(value, c.value);
    // The box is gone either way.
    EXPECT_EQ(Find<TVoxForm>(Application), nullptr);
  }
}

}  // namespace
