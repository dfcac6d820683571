// Wide property streaming: a component with a wide list and wide-string
// properties written to a stored form and read back, with and without an
// ancestor, with RuntimeUTFStreaming off and on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "tests/common/DamagedUtf8.h"
#include "tests/common/TestSupport.h"
#include "unicode/VoxClasses.h"

namespace {

class TVoxStreamed : public TComponent {
  DECLARE_CLASS(TVoxStreamed, TComponent)
  explicit TVoxStreamed(TComponent* owner) : TComponent(owner), lines_(New<TVoxStringList>()) {}

  std::wstring GetCaption() const { return caption_; }
  void SetCaption(const std::wstring& v) { caption_ = v; }
  std::wstring GetHint() const { return hint_; }
  void SetHint(const std::wstring& v) { hint_ = v; }
  std::string GetTitle() const { return title_; }
  void SetTitle(const std::string& v) { title_ = v; }
  TVoxStringList* GetLines() const { return lines_; }
  void SetLines(TVoxStringList* v) { lines_->Assign(v); }
  bool HintStored() const { return storeHint_; }
  bool storeHint_ = true;

  void DefineProperties(TFiler* filer) override {
    inherited::DefineProperties(filer);
    VoxPersistent_AfterInherited_DefineProperties(filer, this);
  }

 protected:
  void Destroy() override {
    FreeAndNil(lines_);
    inherited::Destroy();
  }

 private:
  std::wstring caption_, hint_;
  std::string title_;
  TVoxStringList* lines_;
};

PUBLISHED(TVoxStreamed) {
  p.Prop("Caption", &TVoxStreamed::GetCaption, &TVoxStreamed::SetCaption);
  p.Prop("Hint", &TVoxStreamed::GetHint, &TVoxStreamed::SetHint).Stored(&TVoxStreamed::HintStored);
  p.Prop("Title", &TVoxStreamed::GetTitle, &TVoxStreamed::SetTitle);
  p.Prop("Lines", &TVoxStreamed::GetLines, &TVoxStreamed::SetLines);
}

std::string WriteText(TComponent* root, TComponent* ancestor = nullptr) {
  Owned<TStringStream> s(New<TStringStream>());
  Owned<TWriter> w(New<TWriter>(s.get()));
  w->WriteDescendent(root, ancestor);
  return s->GetDataString();
}

void ReadText(const std::string& text, TComponent* root) {
  Owned<TStringStream> s(New<TStringStream>(text));
  s->ReadComponent(root);
}

std::vector<std::wstring> ItemsOf(const TVoxStrings* s) {
  std::vector<std::wstring> out;
  for (int i = 0; i < s->GetCount(); ++i) out.push_back(s->Get(i));
  return out;
}

bool Has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

class VoxStreaming : public testing::Test {
 protected:
  void SetUp() override {
    RegisterClass(TVoxStreamed::StaticClass());
    saved_ = RuntimeUTFStreaming;
  }
  void TearDown() override { RuntimeUTFStreaming = saved_; }
  Owned<TVoxStreamed> Make(const std::wstring& caption, const std::vector<std::wstring>& lines) {
    Owned<TVoxStreamed> c(New<TVoxStreamed>(nullptr));
    c->SetName("Streamed");
    c->SetCaption(caption);
    for (const std::wstring& s : lines) c->GetLines()->Add(s);
    return c;
  }
  bool saved_ = false;
};

TEST_F(VoxStreaming, WhatIsWrittenForAsciiNonAsciiAndEmptyValues) {
  struct Case {
    const char* Name;
    std::wstring Caption;
    std::vector<std::wstring> Lines;
    bool WideStrings, WideStringsUtf7, CaptionUtf7;
  };
  const Case cases[] = {
      {"ASCII", L"plain", {L"one", L"two"}, true, false, false},
      {"non-ASCII", L"\u0416", {L"one", L"caf\u00E9"}, true, true, true},
      {"surrogate pair", L"\U0001F600", {L"\U0001F600"}, true, true, true},
      {"empty", L"", {}, false, false, false},
      {"one empty item", L"", {L""}, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TVoxStreamed> comp = Make(c.Caption, c.Lines);
    std::string text = WriteText(comp.get());
    EXPECT_EQ(c.WideStrings, Has(text, "Lines.WideStrings = (")) << text;
    EXPECT_EQ(c.WideStringsUtf7, Has(text, "Lines.WideStrings_UTF7 = (")) << text;
    EXPECT_EQ(c.CaptionUtf7, Has(text, "Caption_UTF7 = ")) << text;
    EXPECT_FALSE(Has(text, "Lines.Strings")) << "read only";
    EXPECT_FALSE(Has(text, "WideStringsW")) << "read only";
    EXPECT_FALSE(Has(text, "CaptionW")) << "read only";
    EXPECT_FALSE(Has(text, "Title_UTF7")) << "ANSI properties have no companions";
    EXPECT_FALSE(Has(text, "AnsiStrings")) << "never stored";
  }
}

TEST_F(VoxStreaming, CompanionsHoldUtf7) {
  Owned<TVoxStreamed> comp = Make(L"\u0416a", {L"\u00A3"});
  std::string text = WriteText(comp.get());
  EXPECT_TRUE(Has(text, "Caption_UTF7 = '+BBY-a'")) << text;
  EXPECT_TRUE(Has(text, "Lines.WideStrings_UTF7 = (\r\n    '+AKM')")) << text;
}

TEST_F(VoxStreaming, ValuesReadBackWithTheSwitchOffAndOn) {
  const std::wstring caption = L"\u0416 \U0001F600 caf\u00E9";
  const std::vector<std::wstring> lines = {L"ascii", L"\u00E9t\u00E9", L"\U0001F600\u4E2D", L""};
  for (bool runtimeUtf : {false, true}) {
    SCOPED_TRACE(runtimeUtf);
    RuntimeUTFStreaming = runtimeUtf;
    Owned<TVoxStreamed> comp = Make(caption, lines);
    std::string text = WriteText(comp.get());
    Owned<TVoxStreamed> back(New<TVoxStreamed>(nullptr));
    ReadText(text, back.get());
    EXPECT_EQ(caption, back->GetCaption());
    EXPECT_EQ(lines, ItemsOf(back->GetLines()));
  }
}

TEST_F(VoxStreaming, AgainstAnAncestorOnlyDifferencesAreWritten) {
  Owned<TVoxStreamed> ancestor = Make(L"\u0416", {L"\u00E9", L"x"});
  Owned<TVoxStreamed> same = Make(L"\u0416", {L"\u00E9", L"x"});
  std::string text = WriteText(same.get(), ancestor.get());
  EXPECT_FALSE(Has(text, "Caption")) << text;
  EXPECT_FALSE(Has(text, "WideStrings")) << text;

  Owned<TVoxStreamed> differs = Make(L"\u0417", {L"\u00E9"});
  text = WriteText(differs.get(), ancestor.get());
  EXPECT_TRUE(Has(text, "Caption_UTF7 = '+BBc'")) << text;
  EXPECT_TRUE(Has(text, "Lines.WideStrings = (")) << text;
  EXPECT_TRUE(Has(text, "Lines.WideStrings_UTF7 = (")) << text;

  // An emptied list differs from its ancestor: an empty list is written.
  Owned<TVoxStreamed> emptied = Make(L"\u0416", {});
  text = WriteText(emptied.get(), ancestor.get());
  EXPECT_TRUE(Has(text, "Lines.WideStrings = ()")) << text;
  EXPECT_FALSE(Has(text, "WideStrings_UTF7")) << text;
  Owned<TVoxStreamed> back = Make(L"", {L"old"});
  ReadText(text, back.get());
  EXPECT_TRUE(ItemsOf(back->GetLines()).empty());
}

TEST_F(VoxStreaming, AStoredFalsePropertyWritesNoCompanion) {
  Owned<TVoxStreamed> comp = Make(L"", {});
  comp->SetHint(L"\u0416");
  EXPECT_TRUE(Has(WriteText(comp.get()), "Hint_UTF7 = ")) << WriteText(comp.get());
  comp->storeHint_ = false;
  EXPECT_FALSE(Has(WriteText(comp.get()), "Hint")) << WriteText(comp.get());
}

// A form written by an older writer: the ANSI value and its companions.
const char* kOldForm =
    "object Streamed: TVoxStreamed\r\n"
    "  Caption = 'old'\r\n"
    "  Caption_UTF7 = '+BBY-'\r\n"
    "  HintW = #208#150\r\n"
    "  Lines.Strings = (\r\n"
    "    'a'\r\n"
    "    'b')\r\n"
    "  Lines.WideStrings_UTF7 = (\r\n"
    "    '+BBY-')\r\n"
    "end\r\n";

TEST_F(VoxStreaming, CompanionsAreIgnoredAtRunTimeUnlessSwitchedOn) {
  // HintW holds the UTF-8 bytes of U+0416 as codes.
  const std::string form = kOldForm;
  {
    RuntimeUTFStreaming = false;
    Owned<TVoxStreamed> comp(New<TVoxStreamed>(nullptr));
    ReadText(form, comp.get());
    EXPECT_EQ(std::wstring(L"old"), comp->GetCaption());
    EXPECT_EQ(std::wstring(), comp->GetHint());
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), ItemsOf(comp->GetLines()));
  }
  {
    RuntimeUTFStreaming = true;
    Owned<TVoxStreamed> comp(New<TVoxStreamed>(nullptr));
    ReadText(form, comp.get());
    EXPECT_EQ(std::wstring(L"\u0416"), comp->GetCaption());
    EXPECT_EQ(std::wstring(L"\u0416"), comp->GetHint());
    EXPECT_EQ((std::vector<std::wstring>{L"\u0416"}), ItemsOf(comp->GetLines()));
  }
  {
    // While designing, always.
    RuntimeUTFStreaming = false;
    Owned<TVoxStreamed> comp(New<TVoxStreamed>(nullptr));
    comp->SetDesigning(true);
    ReadText(form, comp.get());
    EXPECT_EQ(std::wstring(L"\u0416"), comp->GetCaption());
    EXPECT_EQ((std::vector<std::wstring>{L"\u0416"}), ItemsOf(comp->GetLines()));
  }
}

TEST_F(VoxStreaming, Utf8ListFillsAnEmptyListEvenAtRunTime) {
  RuntimeUTFStreaming = false;
  const char* onlyUtf8 =
      "object Streamed: TVoxStreamed\r\n"
      "  Lines.WideStringsW = (\r\n"
      "    #208#150\r\n"
      "    'x')\r\n"
      "end\r\n";
  Owned<TVoxStreamed> comp(New<TVoxStreamed>(nullptr));
  ReadText(onlyUtf8, comp.get());
  EXPECT_EQ((std::vector<std::wstring>{L"\u0416", L"x"}), ItemsOf(comp->GetLines()));

  const char* afterWide =
      "object Streamed: TVoxStreamed\r\n"
      "  Lines.WideStrings = (\r\n"
      "    'kept')\r\n"
      "  Lines.WideStringsW = (\r\n"
      "    #208#150)\r\n"
      "end\r\n";
  Owned<TVoxStreamed> other(New<TVoxStreamed>(nullptr));
  ReadText(afterWide, other.get());
  EXPECT_EQ((std::vector<std::wstring>{L"kept"}), ItemsOf(other->GetLines()));
}

TEST_F(VoxStreaming, StringsAsOneTextOrAList) {
  struct Case {
    const char* Value;
    std::vector<std::wstring> Items;
  };
  const Case cases[] = {
      {"'a'#13#10'b'", {L"a", L"b"}},
      {"#1046' wide'", {L"\u0416 wide"}},
      {"(\r\n    'caf'#233\r\n    #1046)", {L"caf\u00E9", L"\u0416"}},
      {"()", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Value);
    std::string form = std::string("object Streamed: TVoxStreamed\r\n  Lines.Strings = ") + c.Value + "\r\nend\r\n";
    Owned<TVoxStreamed> comp = Make(L"", {L"old"});
    ReadText(form, comp.get());
    EXPECT_EQ(c.Items, ItemsOf(comp->GetLines()));
  }
}

// Bytes as a stored form's string value, each one as a #nnn code.
std::string AsCodes(const std::string& bytes) {
  std::string out;
  for (unsigned char b : bytes) out += "#" + std::to_string(b);
  return out;
}

// A damaged UTF-8 companion keeps every good sequence and replaces each bad
// one, instead of blanking the caption or the list it carries.
TEST_F(VoxStreaming, DamagedUtf8CompanionsKeepTheirGoodText) {
  RuntimeUTFStreaming = true;
  for (const TDamagedUtf8& c : DamagedUtf8()) {
    SCOPED_TRACE(c.What);
    const std::string form = "object Streamed: TVoxStreamed\r\n"
                             "  Caption = 'abc'\r\n"
                             "  CaptionW = " + AsCodes("abc" + c.Bytes) + "\r\n"
                             "  Lines.WideStringsW = (\r\n"
                             "    " + AsCodes(c.Bytes) + "\r\n"
                             "    'x')\r\n"
                             "end\r\n";
    Owned<TVoxStreamed> comp = Make(L"", {});
    ReadText(form, comp.get());
    EXPECT_EQ(L"abc" + c.Text, comp->GetCaption());
    EXPECT_EQ((std::vector<std::wstring>{c.Text, L"x"}), ItemsOf(comp->GetLines()));
  }
}

TEST_F(VoxStreaming, IllegalUtf7IsAReadErrorThatLeavesTheListAlone) {
  RuntimeUTFStreaming = true;
  const char* bad =
      "object Streamed: TVoxStreamed\r\n"
      "  Lines.WideStrings_UTF7 = (\r\n"
      "    '+BBY-'\r\n"
      "    '+')\r\n"
      "end\r\n";
  Owned<TVoxStreamed> comp = Make(L"", {L"old"});
  std::string message = MessageOf<Exception>([&] { ReadText(bad, comp.get()); });
  EXPECT_TRUE(Has(message, "Invalid UTF7")) << message;
  EXPECT_EQ((std::vector<std::wstring>{L"old"}), ItemsOf(comp->GetLines()));
}

}  // namespace
