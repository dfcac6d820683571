// The masked edit: a table of masks and keystrokes, delivered as the message
// loop delivers them, with the edit text, Text and caret they leave; the
// conversions a program uses (Text, FormatMaskText); validation and paste.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Clipbrd.h"
#include "classlib/Forms.h"
#include "classlib/Mask.h"
#include "tests/classlib/ControlTestSupport.h"
#include "tests/classlib/FormTestSupport.h"
#include "tests/common/TestSupport.h"

using namespace forms_test;

namespace {

// Keys as a user types them: characters go as WM_CHAR; {L} {R} {H} {E} are
// Left, Right, Home, End, {D} Delete, {B} Backspace and {X} Escape, as
// WM_KEYDOWN (the loop's TranslateMessage makes the character of
// Backspace and Escape).
void Type(TWinControl* c, const std::string& keys) {
  HWND w = c->GetHandle();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == '{' && i + 2 < keys.size() && keys[i + 2] == '}') {
      WPARAM vk = 0;
      switch (keys[i + 1]) {
        case 'L': vk = VK_LEFT; break;
        case 'R': vk = VK_RIGHT; break;
        case 'H': vk = VK_HOME; break;
        case 'E': vk = VK_END; break;
        case 'D': vk = VK_DELETE; break;
        case 'B': vk = VK_BACK; break;
        case 'X': vk = VK_ESCAPE; break;
      }
      UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
      PostMessageA(w, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | (scan << 16)));
      PostMessageA(w, WM_KEYUP, vk, static_cast<LPARAM>(1 | (scan << 16) | 0xC0000000u));
      i += 2;
    } else {
      PostMessageA(w, WM_CHAR, static_cast<unsigned char>(keys[i]), 1);
    }
    PumpApplication(2);
  }
}

int SelStart(TCustomEdit* e) { return e->GetSelStart(); }

class MaskEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit = New<TMaskEdit>(nullptr);
    edit->SetParentWindow(host.Handle());
    edit->SetBounds(0, 0, 150, 24);
  }
  void TearDown() override { edit->Free(); }

  TFreshApplication app;
  controls_test::THostWindow host;
  TMaskEdit* edit = nullptr;
};

TEST_F(MaskEditTest, MasksAndKeystrokes) {
  struct Case {
    const char* mask;
    const char* keys;
    const char* editText;
    const char* text;
    int caret;
  };
  const Case cases[] = {
      // Digits, with the literals kept in Text or not.
      {"000-0000;1;_", "5551234", "555-1234", "555-1234", 8},
      {"000-0000;0;_", "5551234", "555-1234", "5551234", 8},
      // A refused character changes nothing; the rest of Text is spaces.
      {"000-0000;1;_", "55x", "55_-____", "55 -    ", 2},
      // The literal typed where the caret has just stepped over it.
      {"000-0000;1;_", "555-1234", "555-1234", "555-1234", 8},
      // Upper and lower case from the mask, then no conversion.
      {">LL<ll<>L;0;_", "abCDe", "ABcde", "ABcde", 5},
      // Letters, letters or digits, any character.
      {"lac;0;_", "1", "___", "", 0},
      {"lac;0;_", "a1!", "a1!", "a1!", 3},
      // '#' takes a sign; the locale's time separator; an escaped mask
      // character and '_' are literals; the blank of the third field.
      {"#9:\\A_C;1;*", "-5x", "-5:A x", "-5:A x", 6},
      // Backspace blanks the input before the caret, stepping over literals.
      {"000-0000;1;_", "5551{B}{B}", "55_-____", "55 -    ", 2},
      // Home, Delete: the position is blanked, nothing moves.
      {"000-0000;1;_", "5551234{H}{D}", "_55-1234", " 55-1234", 0},
      // Right steps over the literal, Left back over it.
      {"000-0000;1;_", "5551234{H}{R}{R}{R}9", "555-9234", "555-9234", 5},
      {"000-0000;1;_", "5551234{H}{R}{R}{R}{L}7", "557-1234", "557-1234", 4},
      // End, then typing past the last position is refused.
      {"00;1;_", "12{E}3", "12", "12", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " / " + c.keys);
    edit->SetEditMask("");
    edit->SetText("");
    edit->SetEditMask(c.mask);
    edit->SetSelStart(0);
    edit->SetSelLength(0);
    Type(edit, c.keys);
    EXPECT_EQ(edit->GetEditText(), c.editText);
    EXPECT_EQ(edit->GetText(), c.text);
    EXPECT_EQ(SelStart(edit), c.caret);
  }
}

TEST_F(MaskEditTest, TheCaretIsOneSelectedCharacter) {
  edit->SetEditMask("000-0000;1;_");
  Type(edit, "55");
  EXPECT_EQ(edit->GetSelStart(), 2);
  EXPECT_EQ(edit->GetSelLength(), 1);
  // A wider selection is blanked by the next character, which lands at its
  // start.
  Type(edit, "51234");
  edit->SetSelStart(1);
  edit->SetSelLength(5);
  Type(edit, "9");
  EXPECT_EQ(edit->GetEditText(), "59_-__34");
  EXPECT_EQ(edit->GetSelStart(), 2);
}

TEST_F(MaskEditTest, TextSetByAProgram) {
  struct Case {
    const char* mask;
    const char* text;
    const char* editText;
    const char* readBack;
  };
  const Case cases[] = {
      {"000-0000;1;_", "555-12", "555-12__", "555-12  "},
      {"000-0000;0;_", "55512", "555-12__", "55512"},
      // '!': a short value fills the last positions, and Text keeps the
      // blanks in front.
      {"!999;0;_", "12", "_12", "12"},
      {"!99/99;1;_", "  /12", "__/12", "  /12"},
      {"(999) 000;0; ", "12", "(12 )    ", "12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    edit->SetEditMask(c.mask);
    edit->SetText(c.text);
    EXPECT_EQ(edit->GetEditText(), c.editText);
    EXPECT_EQ(edit->GetText(), c.readBack);
    EXPECT_EQ(edit->GetMaxLength(), static_cast<int>(std::string(c.editText).size()));
    edit->SetEditMask("");
  }
  // A new mask takes the value across without the old literals; no mask
  // shows the value itself.
  edit->SetEditMask("000-0000;1;_");
  edit->SetText("555-1234");
  edit->SetEditMask("00.00.000;0;_");
  EXPECT_EQ(edit->GetEditText(), "55.51.234");
  edit->SetEditMask("");
  EXPECT_EQ(edit->GetText(), "5551234");
  EXPECT_FALSE(edit->IsMasked());
}

TEST(MaskTest, FormatMaskText) {
  struct Case {
    const char* mask;
    const char* value;
    const char* formatted;
  };
  const Case cases[] = {
      {"(999)000-0000;0;_", "5551234567", "(555)123-4567"},
      {"!99/99/00;0;_", "123199", "12/31/99"},
      {"!999;0;_", "7", "  7"},
      {"000-0000;1;_", "555-12", "555-12  "},
      {"", "as is", "as is"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    EXPECT_EQ(FormatMaskText(c.mask, c.value), c.formatted);
  }
}

TEST_F(MaskEditTest, ValidationPointsAtTheFirstWrongPositionAndEscapeAbandons) {
  edit->SetEditMask("000-0000;1;_");
  edit->SetText("555-1234");
  // Not changed by the user: nothing to validate.
  EXPECT_NO_THROW(edit->ValidateEdit());
  SendMessageA(edit->GetHandle(), WM_SETFOCUS, 0, 0);
  edit->Perform(CM_ENTER, 0, 0);
  Type(edit, "{H}{R}{R}{R}{D}");
  EXPECT_EQ(edit->GetEditText(), "555-_234");
  EXPECT_TRUE(edit->GetModified());
  EXPECT_EQ(MessageOf<EDBEditError>([&] { edit->ValidateEdit(); }),
            "Invalid input value.  Use escape key to abandon changes");
  EXPECT_EQ(edit->GetSelStart(), 4);
  // A wrong character set by a program is found as well.
  edit->SetText("55a-1234");
  edit->SetModified(true);
  EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
  EXPECT_EQ(edit->GetSelStart(), 2);
  // Escape puts back what the edit held when it was entered.
  EXPECT_EQ(edit->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
  Type(edit, "{X}");
  EXPECT_EQ(edit->GetEditText(), "555-1234");
  EXPECT_FALSE(edit->GetModified());
  EXPECT_EQ(edit->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
}

// The clipboard is the desktop's: these run alone.
class SerialMaskEditClipboardTest : public MaskEditTest {};

TEST_F(SerialMaskEditClipboardTest, PasteStopsAtTheFirstRefusedCharacterAndCutBlanks) {
  edit->SetEditMask("000-0000;1;_");
  Clipboard()->SetAsText("555-12x4");
  edit->SetSelStart(0);
  edit->SetSelLength(0);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->GetEditText(), "555-12__");
  EXPECT_EQ(edit->GetSelStart(), 6);
  edit->SetSelStart(1);
  edit->SetSelLength(4);
  edit->CutToClipboard();
  EXPECT_EQ(Clipboard()->GetAsText(), "55-1");
  EXPECT_EQ(edit->GetEditText(), "5__-_2__");
  // Ctrl+V typed reaches the same paste.
  Clipboard()->SetAsText("0");
  edit->SetSelStart(1);
  edit->SetSelLength(0);
  Type(edit, "\x16");
  EXPECT_EQ(edit->GetEditText(), "50_-_2__");
}

}  // namespace

namespace {

// Leaving a half-filled masked edit with Tab: the application hears the
// validation error and the focus stays in the edit, on the first gap.
TEST(SerialMaskEditFocusTest, LeavingAnIncompleteEditKeepsTheFocus) {
  TFreshApplication app;
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBorderStyle(bsNone);
  form->SetBounds(100, 100, 300, 100);
  auto* masked = New<TMaskEdit>(form.get());
  masked->SetParent(form.get());
  masked->SetBounds(10, 10, 120, 24);
  masked->SetEditMask("00:00;1;_");
  auto* other = New<TEdit>(form.get());
  other->SetParent(form.get());
  other->SetBounds(10, 50, 120, 24);
  std::string reported;
  struct TCatcher {
    std::string* reported;
    void Handle(TObject*, Exception& e) { *reported = e.ClassName(); }
  } catcher{&reported};
  Application->OnException = TExceptionEvent(&catcher, &TCatcher::Handle);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  masked->SetFocus();
  PumpApplication(3);
  for (WORD vk : {WORD{'1'}, WORD{'2'}, WORD{'3'}}) {
    TypeKey(vk);
    PumpApplication(2);
  }
  EXPECT_EQ(masked->GetEditText(), "12:3_");
  TypeKey(VK_TAB);
  PumpApplication(5);
  EXPECT_EQ(reported, "EDBEditError");
  EXPECT_TRUE(masked->Focused());
  EXPECT_EQ(masked->GetSelStart(), 4);
  // Completed, it lets the focus go.
  reported.clear();
  TypeKey('4');
  PumpApplication(2);
  TypeKey(VK_TAB);
  PumpApplication(5);
  EXPECT_EQ(reported, "");
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(masked->GetText(), "12:34");
}

}  // namespace
