#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "classlib/Classes.h"

namespace {

// --- Test classes -------------------------------------------------------------

enum TFilerShape { fsNone, fsCircle, fsSquare };
DECLARE_ENUM_TYPE(TFilerShape);
DEFINE_ENUM_TYPE(TFilerShape, "fsNone", "fsCircle", "fsSquare")

enum TFilerStyle { fyBold, fyItalic, fyUnderline };
DECLARE_ENUM_TYPE(TFilerStyle);
DEFINE_ENUM_TYPE(TFilerStyle, "fyBold", "fyItalic", "fyUnderline")
using TFilerStyles = TSet<TFilerStyle>;

const TTypeInfo* FilerColorInfo() { return MakeIntegerTypeInfo("TFilerColor"); }
const TIdentMapEntry kFilerColors[] = {{0x0000FF, "fcRed"}, {0x00FF00, "fcGreen"}};

std::vector<std::string>* gLog = nullptr;
void Log(const std::string& s) {
  if (gLog) gLog->push_back(s);
}

class TFilerFont : public TPersistent {
  DECLARE_CLASS(TFilerFont, TPersistent)
  int GetSize() const { return size_; }
  void SetSize(int v) { size_ = v; }
  std::string GetName() const { return name_; }
  void SetName(const std::string& v) { name_ = v; }
  bool IsNameStored() const { return name_ != "Tahoma"; }
  TFilerStyles GetStyle() const { return style_; }
  void SetStyle(TFilerStyles v) { style_ = v; }
  int size_ = 8;
  std::string name_ = "Tahoma";
  TFilerStyles style_;
};
PUBLISHED(TFilerFont) {
  p.Prop("Size", &TFilerFont::GetSize, &TFilerFont::SetSize).Default(8);
  p.Prop("Name", &TFilerFont::GetName, &TFilerFont::SetName).Stored(&TFilerFont::IsNameStored);
  p.Prop("Style", &TFilerFont::GetStyle, &TFilerFont::SetStyle).Default(TFilerStyles{});
}

class TFilerItem : public TCollectionItem {
  DECLARE_CLASS(TFilerItem, TCollectionItem)
  explicit TFilerItem(TCollection* c = nullptr) : TCollectionItem(c) {}
  std::string GetCaption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  int GetValue() const { return value_; }
  void SetValue(int v) { value_ = v; }
  std::string caption_;
  int value_ = 0;
};
PUBLISHED(TFilerItem) {
  p.Prop("Caption", &TFilerItem::GetCaption, &TFilerItem::SetCaption);
  p.Prop("Value", &TFilerItem::GetValue, &TFilerItem::SetValue).Default(0);
}

// A component with a property of every kind, a parent and children (a
// parent frees its children, as a windowed control does), and a log of the
// order in which the reader reaches it.
class TFilerComp : public TComponent {
  DECLARE_CLASS(TFilerComp, TComponent)
  explicit TFilerComp(TComponent* owner) : TComponent(owner) {
    ++live;
    font_ = New<TFilerFont>();
    lines_ = New<TStringList>();
    items_ = New<TOwnedCollection>(this, TFilerItem::StaticClass());
  }
  ~TFilerComp() override { --live; }
  static inline int live = 0;

  int GetCount() const { return count_; }
  void SetCount(int v) { count_ = v; }
  TFilerShape GetShape() const { return shape_; }
  void SetShape(TFilerShape v) { shape_ = v; }
  TFilerStyles GetStyles() const { return styles_; }
  void SetStyles(TFilerStyles v) { styles_ = v; }
  char GetLetter() const { return letter_; }
  void SetLetter(char v) { letter_ = v; }
  int64_t GetBig() const { return big_; }
  void SetBig(int64_t v) { big_ = v; }
  double GetRatio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  float GetTiny() const { return tiny_; }
  void SetTiny(float v) { tiny_ = v; }
  bool GetFlag() const { return flag_; }
  void SetFlag(bool v) { flag_ = v; }
  int GetColor() const { return color_; }
  void SetColor(int v) { color_ = v; }
  std::string GetCaption() const { return caption_; }
  void SetCaption(const std::string& v) {
    caption_ = v;
    std::string state;
    if (GetComponentState().Contains(csLoading)) state += 'L';
    if (GetComponentState().Contains(csReading)) state += 'R';
    Log(GetName() + ".Caption " + state);
  }
  std::wstring GetWide() const { return wide_; }
  void SetWide(const std::wstring& v) { wide_ = v; }
  TFilerFont* GetFont() const { return font_; }
  TStrings* GetLines() const { return lines_; }
  TOwnedCollection* GetItems() const { return items_; }
  TComponent* GetBuddy() const { return buddy_; }
  void SetBuddy(TComponent* v) { Link(buddy_, v); }
  TComponent* GetOther() const { return other_; }
  void SetOther(TComponent* v) { Link(other_, v); }
  TNotifyEvent GetOnPing() const { return onPing_; }
  void SetOnPing(TNotifyEvent v) { onPing_ = v; }
  void Ping() {
    if (onPing_) onPing_(this);
  }

  std::string blob_;
  void DefineProperties(TFiler* filer) override {
    inherited::DefineProperties(filer);
    filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* s) {
          blob_.resize(static_cast<size_t>(s->GetSize()));
          if (!blob_.empty()) s->ReadBuffer(blob_.data(), static_cast<int>(blob_.size()));
        },
        [this](TStream* s) { s->WriteBuffer(blob_.data(), static_cast<int>(blob_.size())); }, !blob_.empty());
  }

  // Like an action, it has a parent only once it joined one.
  bool HasParent() override { return parent_ != nullptr; }
  TComponent* GetParentComponent() override { return parent_; }
  void SetParentComponent(TComponent* value) override {
    if (parent_) std::erase(parent_->children_, this);
    parent_ = dynamic_cast<TFilerComp*>(value);
    if (parent_) parent_->children_.push_back(this);
    Log(GetName() + " parent " + (value ? value->GetName() : "nil"));
  }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override {
    for (TFilerComp* c : std::vector<TFilerComp*>(children_))
      if (c->GetOwner() == root) proc(c);
    if (root == this)
      for (int i = 0; i < GetComponentCount(); ++i) {
        auto* c = dynamic_cast<TFilerComp*>(GetComponent(i));
        if (!c || !c->parent_) proc(GetComponent(i));
      }
  }
  void Loaded() override {
    inherited::Loaded();
    ++loadedCount;
    auto* buddy = dynamic_cast<TFilerComp*>(buddy_);
    Log(GetName() + " loaded" + (buddy ? " buddy " + buddy->GetName() : ""));
  }
  int loadedCount = 0;

  void Notification(TComponent* c, TOperation op) override {
    inherited::Notification(c, op);
    if (op != opRemove) return;
    if (c == buddy_) buddy_ = nullptr;
    if (c == other_) other_ = nullptr;
  }

  int count_ = 0;
  TFilerShape shape_ = fsNone;
  TFilerStyles styles_;
  char letter_ = 'A';
  int64_t big_ = 0;
  double ratio_ = 0;
  float tiny_ = 0;
  bool flag_ = true;
  int color_ = 0;
  std::string caption_;
  std::wstring wide_;
  TFilerFont* font_;
  TStringList* lines_;
  TOwnedCollection* items_;
  TComponent* buddy_ = nullptr;
  TComponent* other_ = nullptr;
  TNotifyEvent onPing_;
  TFilerComp* parent_ = nullptr;
  std::vector<TFilerComp*> children_;

 protected:
  void Destroy() override {
    while (!children_.empty()) children_.back()->Free();
    if (parent_) std::erase(parent_->children_, this);
    FreeAndNil(font_);
    FreeAndNil(lines_);
    FreeAndNil(items_);
    inherited::Destroy();
  }

 private:
  void Link(TComponent*& slot, TComponent* v) {
    slot = v;
    if (v) v->FreeNotification(this);
  }
};
PUBLISHED(TFilerComp) {
  p.Prop("Count", &TFilerComp::GetCount, &TFilerComp::SetCount).Default(0);
  p.Prop("Shape", &TFilerComp::GetShape, &TFilerComp::SetShape).Default(fsNone);
  p.Prop("Styles", &TFilerComp::GetStyles, &TFilerComp::SetStyles).Default(TFilerStyles{});
  p.Prop("Letter", &TFilerComp::GetLetter, &TFilerComp::SetLetter).Default('A');
  p.Prop("Big", &TFilerComp::GetBig, &TFilerComp::SetBig);
  p.Prop("Ratio", &TFilerComp::GetRatio, &TFilerComp::SetRatio);
  p.Prop("Tiny", &TFilerComp::GetTiny, &TFilerComp::SetTiny);
  p.Prop("Flag", &TFilerComp::GetFlag, &TFilerComp::SetFlag).Default(true);
  p.Prop("Color", &TFilerComp::GetColor, &TFilerComp::SetColor).Default(0).Type(FilerColorInfo());
  p.Prop("Caption", &TFilerComp::GetCaption, &TFilerComp::SetCaption);
  p.Prop("Wide", &TFilerComp::GetWide, &TFilerComp::SetWide);
  p.Prop("Font", &TFilerComp::GetFont, nullptr);
  p.Prop("Buddy", &TFilerComp::GetBuddy, &TFilerComp::SetBuddy);
  p.Prop("Other", &TFilerComp::GetOther, &TFilerComp::SetOther);
  p.Prop("OnPing", &TFilerComp::GetOnPing, &TFilerComp::SetOnPing);
  p.Prop("Lines", &TFilerComp::GetLines, nullptr);
  p.Prop("Items", &TFilerComp::GetItems, nullptr);
}

// Republishes Count with a new default.
class TFilerComp2 : public TFilerComp {
  DECLARE_CLASS(TFilerComp2, TFilerComp)
  explicit TFilerComp2(TComponent* owner) : TFilerComp(owner) { count_ = 5; }
};
PUBLISHED(TFilerComp2) { p.Prop("Count", &TFilerComp2::GetCount, &TFilerComp2::SetCount).Default(5); }

class TFilerForm : public TFilerComp {
  DECLARE_CLASS(TFilerForm, TFilerComp)
  using TFilerComp::TFilerComp;
  TFilerComp* Panel1 = nullptr;
  TFilerComp* Button1 = nullptr;
  TFilerComp* Label1 = nullptr;
  void FormPing(TObject* sender) { pinged = sender; }
  TObject* pinged = nullptr;
};
PUBLISHED(TFilerForm) {
  p.Field("Panel1", &TFilerForm::Panel1);
  p.Field("Button1", &TFilerForm::Button1);
  p.Field("Label1", &TFilerForm::Label1);
  p.Method("FormPing", &TFilerForm::FormPing);
}

class TFilerBaseForm : public TFilerComp {
  DECLARE_CLASS(TFilerBaseForm, TFilerComp)
  using TFilerComp::TFilerComp;
  TFilerComp* Panel1 = nullptr;
  TFilerComp* Button1 = nullptr;
};
PUBLISHED(TFilerBaseForm) {
  p.Field("Panel1", &TFilerBaseForm::Panel1);
  p.Field("Button1", &TFilerBaseForm::Button1);
}

class TFilerDerivedForm : public TFilerBaseForm {
  DECLARE_CLASS(TFilerDerivedForm, TFilerBaseForm)
  using TFilerBaseForm::TFilerBaseForm;
  TFilerComp* Extra1 = nullptr;
};
PUBLISHED(TFilerDerivedForm) { p.Field("Extra1", &TFilerDerivedForm::Extra1); }

// --- Helpers ------------------------------------------------------------------

std::string Crlf(const std::string& text) {
  std::string r;
  for (char c : text) {
    if (c == '\n') r += '\r';
    r += c;
  }
  return r;
}

// Reads text into root (null: a new root of the class the text names).
TComponent* ReadText(const std::string& text, TComponent* root) {
  Owned<TStringStream> s(New<TStringStream>(text));
  return s->ReadComponent(root);
}

std::string WriteText(TComponent* root, TComponent* ancestor = nullptr) {
  Owned<TStringStream> s(New<TStringStream>());
  Owned<TWriter> w(New<TWriter>(s.get()));
  w->WriteDescendent(root, ancestor);
  return s->GetDataString();
}

// Roots that FindGlobalComponent sees while a test runs.
class GlobalRoots {
 public:
  GlobalRoots() {
    id_ = RegisterFindGlobalComponentProc([this](const std::string& name) -> TComponent* {
      for (TComponent* c : roots)
        if (SameName(c->GetName(), name)) return c;
      return nullptr;
    });
  }
  ~GlobalRoots() { UnregisterFindGlobalComponentProc(id_); }
  std::vector<TComponent*> roots;

 private:
  int id_;
};

class FilerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog = &log;
    RegisterClasses({TFilerComp::StaticClass(), TFilerComp2::StaticClass(), TFilerForm::StaticClass(),
                     TFilerBaseForm::StaticClass(), TFilerDerivedForm::StaticClass()});
    RegisterIntegerConsts(
        FilerColorInfo(),
        [](std::string_view id, int64_t& v) { return IdentToInt(id, v, kFilerColors, std::size(kFilerColors)); },
        [](int64_t v, std::string& id) { return IntToIdent(v, id, kFilerColors, std::size(kFilerColors)); });
  }
  void TearDown() override {
    gLog = nullptr;
    RemoveFixupReferences(nullptr, "");
    EXPECT_EQ(TFilerComp::live, 0);
  }
  std::vector<std::string> log;
};

// --- Every property kind, read, written and read again --------------------------

const char* const kEveryKind = R"(object Form1: TFilerForm
  Count = 3
  Shape = fsCircle
  Styles = [fyBold, fyUnderline]
  Letter = 'x'
  Big = 1099511627776
  Ratio = -2.5E-7
  Tiny = 0.1s
  Flag = False
  Color = fcRed
  Caption = 'it''s'#13#10'two lines'
  Wide = 'caf'#233' '#8364
  Font.Size = 10
  Font.Name = 'Verdana'
  Font.Style = [fyItalic]
  Buddy = Button1
  Other = Form2.Target
  OnPing = FormPing
  Lines.Strings = (
    'one'
    ''
    'three')
  Items = <
    item
      Caption = 'first'
    end
    item
      Caption = 'second'
      Value = 7
    end>
  Blob = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    202122}
  object Panel1: TFilerComp
    Caption = 'A long caption that goes on and on beyond the sixty-four charact' +
      'ers of a line'
    object Button1: TFilerComp2
      Count = 0
      Buddy = Form1
    end
  end
  object Label1: TFilerComp2
    Wide = #1076#1072
  end
end
)";

TEST_F(FilerTest, EveryPropertyKindReadsWritesAndReadsBackTheSame) {
  GlobalRoots globals;
  Owned<TFilerComp> form2(New<TFilerComp>(nullptr));
  form2->SetName("Form2");
  TFilerComp* target = New<TFilerComp>(form2.get());
  target->SetName("Target");
  globals.roots.push_back(form2.get());

  Owned<TFilerForm> form(New<TFilerForm>(nullptr));
  ReadText(kEveryKind, form.get());
  TFilerForm& f = *form;
  EXPECT_EQ(f.GetName(), "Form1");
  EXPECT_EQ(f.count_, 3);
  EXPECT_EQ(f.shape_, fsCircle);
  EXPECT_EQ(f.styles_, (TFilerStyles{fyBold, fyUnderline}));
  EXPECT_EQ(f.letter_, 'x');
  EXPECT_EQ(f.big_, int64_t{1} << 40);
  EXPECT_DOUBLE_EQ(f.ratio_, -2.5e-7);
  EXPECT_FLOAT_EQ(f.tiny_, 0.1f);
  EXPECT_FALSE(f.flag_);
  EXPECT_EQ(f.color_, 0x0000FF);
  EXPECT_EQ(f.caption_, "it's\r\ntwo lines");
  EXPECT_EQ(f.wide_, L"caf\x00E9 \x20AC");
  EXPECT_EQ(f.font_->size_, 10);
  EXPECT_EQ(f.font_->name_, "Verdana");
  EXPECT_EQ(f.font_->style_, TFilerStyles{fyItalic});
  EXPECT_EQ(f.buddy_, f.Button1);
  EXPECT_EQ(f.other_, target);
  EXPECT_EQ(f.lines_->GetText(), "one\r\n\r\nthree\r\n");
  ASSERT_EQ(f.items_->GetCount(), 2);
  EXPECT_EQ(static_cast<TFilerItem*>(f.items_->GetItem(1))->caption_, "second");
  EXPECT_EQ(static_cast<TFilerItem*>(f.items_->GetItem(1))->value_, 7);
  EXPECT_EQ(f.blob_.size(), 35u);
  EXPECT_EQ(f.blob_[34], '\x22');
  ASSERT_NE(f.Button1, nullptr);
  EXPECT_EQ(f.Button1->count_, 0);
  EXPECT_EQ(f.Button1->buddy_, &f);
  EXPECT_EQ(f.Panel1->caption_.size(), 77u);
  EXPECT_EQ(f.Label1->count_, 5);
  EXPECT_EQ(f.Label1->wide_, L"\x0434\x0430");
  f.Ping();
  EXPECT_EQ(f.pinged, &f);

  std::string written = WriteText(&f);
  EXPECT_EQ(written, Crlf(kEveryKind));

  // Read again into a new root: written again, the same text.
  Owned<TFilerForm> again(New<TFilerForm>(nullptr));
  ReadText(written, again.get());
  EXPECT_EQ(WriteText(again.get()), written);
  EXPECT_EQ(again->other_, target);
}

// --- Nested children ----------------------------------------------------------------

TEST_F(FilerTest, ChildrenGetParentsBeforePropertiesAndLoadedOnceAfterTheWholeTree) {
  const char* text = R"(object Form1: TFilerForm
  Caption = 'root'
  object Panel1: TFilerComp
    Caption = 'panel'
    object Button1: TFilerComp
      Caption = 'button'
      Buddy = Label1
    end
  end
  object Label1: TFilerComp
    Caption = 'label'
  end
end
)";
  Owned<TFilerForm> form(New<TFilerForm>(nullptr));
  ReadText(text, form.get());
  std::vector<std::string> want = {
      "Form1.Caption LR",  "Panel1 parent Form1", "Panel1.Caption LR", "Button1 parent Panel1",
      "Button1.Caption LR", "Label1 parent Form1", "Label1.Caption LR", "Form1 loaded",
      "Panel1 loaded",     "Button1 loaded buddy Label1", "Label1 loaded"};
  EXPECT_EQ(log, want);
  EXPECT_EQ(form->Panel1, form->FindComponent("Panel1"));
  EXPECT_EQ(form->Button1, form->FindComponent("Button1"));
  EXPECT_EQ(form->Label1, form->FindComponent("Label1"));
  EXPECT_EQ(form->Button1->parent_, form->Panel1);
  for (TFilerComp* c : {static_cast<TFilerComp*>(form.get()), form->Panel1, form->Button1, form->Label1}) {
    SCOPED_TRACE(c->GetName());
    EXPECT_EQ(c->loadedCount, 1);
    EXPECT_FALSE(c->GetComponentState().Contains(csLoading));
    EXPECT_FALSE(c->GetComponentState().Contains(csReading));
  }
}

TEST_F(FilerTest, ReferencesToAnotherRootWaitUntilThatRootIsRead) {
  GlobalRoots globals;
  Owned<TFilerComp> form1(New<TFilerComp>(nullptr));
  ReadText("object Form1: TFilerComp\n  Other = Form2.Target\nend\n", form1.get());
  EXPECT_EQ(form1->other_, nullptr);
  Owned<TFilerComp> gone(New<TFilerComp>(nullptr));
  ReadText("object Gone: TFilerComp\n  Other = Form2\nend\n", gone.get());
  // A root freed with a pending reference takes the reference with it.
  gone.reset();

  Owned<TFilerComp> form2(New<TFilerComp>(nullptr));
  globals.roots.push_back(form2.get());
  ReadText("object Form2: TFilerComp\n  object Target: TFilerComp\n  end\nend\n", form2.get());
  EXPECT_EQ(form1->other_, form2->FindComponent("Target"));
  // The reference is written back qualified by its root.
  EXPECT_EQ(WriteText(form1.get()), Crlf("object Form1: TFilerComp\n  Other = Form2.Target\nend\n"));
}

TEST_F(FilerTest, ReadComponentsAddsEachObjectToTheOwnerAndParentGiven) {
  Owned<TFilerComp> root(New<TFilerComp>(nullptr));
  root->SetName("Root");
  TFilerComp* panel = New<TFilerComp>(root.get());
  panel->SetName("Panel");
  Owned<TStringStream> s(New<TStringStream>("object A: TFilerComp\n  Buddy = B\nend\nobject B: TFilerComp2\nend\n"));
  Owned<TReader> r(New<TReader>(s.get()));
  std::vector<TComponent*> read;
  r->ReadComponents(root.get(), panel, [&](TComponent* c) { read.push_back(c); });
  ASSERT_EQ(read.size(), 2u);
  auto* a = static_cast<TFilerComp*>(read[0]);
  EXPECT_EQ(a->GetOwner(), root.get());
  EXPECT_EQ(a->parent_, panel);
  EXPECT_EQ(a->buddy_, read[1]);
  EXPECT_EQ(a->loadedCount, 1);
  EXPECT_EQ(read[1]->ClassType(), TFilerComp2::StaticClass());
}

// --- Inherited forms ---------------------------------------------------------------

TEST_F(FilerTest, InheritedFormReadsEachLevelFromItsResourceAndLoadsOnce) {
  Owned<TFilerDerivedForm> form(New<TFilerDerivedForm>(nullptr));
  ASSERT_TRUE(InitInheritedComponent(form.get(), TFilerComp::StaticClass()));
  TFilerDerivedForm& f = *form;
  EXPECT_EQ(f.GetName(), "FilerDerivedForm");
  EXPECT_EQ(f.caption_, "derived");
  EXPECT_EQ(f.count_, 1);  // from the ancestor's resource
  ASSERT_NE(f.Panel1, nullptr);
  ASSERT_NE(f.Button1, nullptr);
  ASSERT_NE(f.Extra1, nullptr);
  EXPECT_EQ(f.Button1->caption_, "changed");
  EXPECT_EQ(f.Extra1->parent_, f.Panel1);
  EXPECT_EQ(f.GetComponentCount(), 3);
  for (TFilerComp* c : {static_cast<TFilerComp*>(&f), f.Panel1, f.Button1, f.Extra1}) {
    SCOPED_TRACE(c->GetName());
    EXPECT_EQ(c->loadedCount, 1);
  }

  // Written against the ancestor: only the differences, as the resource has them.
  Owned<TFilerBaseForm> base(New<TFilerBaseForm>(nullptr));
  ASSERT_TRUE(InitInheritedComponent(base.get(), TFilerComp::StaticClass()));
  Owned<TResourceStream> res(New<TResourceStream>(GetModuleHandleA(nullptr), "TFILERDERIVEDFORM", RT_RCDATA));
  std::string resource(static_cast<const char*>(res->GetMemory()), static_cast<size_t>(res->GetSize()));
  EXPECT_EQ(WriteText(&f, base.get()), resource);
}

TEST_F(FilerTest, ComponentResourcesAreFoundByClassNameOrReported) {
  TComponent* c = ReadComponentResEx(GetModuleHandleA(nullptr), "TFilerBaseForm");
  Owned<TComponent> owned(c);
  ASSERT_EQ(c->ClassType(), TFilerBaseForm::StaticClass());
  EXPECT_EQ(static_cast<TFilerBaseForm*>(c)->Button1->caption_, "button");
  try {
    ReadComponentRes("TNOSUCHFORM", nullptr);
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.GetMessage(), "Resource TNOSUCHFORM not found");
  }
  Owned<TFilerComp> plain(New<TFilerComp>(nullptr));
  EXPECT_FALSE(InitInheritedComponent(plain.get(), TComponent::StaticClass()));
}

// --- Values -------------------------------------------------------------------------

// A reader over a text, with the stream it reads.
struct TTextReader {
  Owned<TStringStream> stream;
  Owned<TReader> reader;
  TReader* operator->() const { return reader.get(); }
};
TTextReader ReaderOn(const std::string& text) {
  TTextReader t;
  t.stream.reset(New<TStringStream>(text));
  t.reader.reset(New<TReader>(t.stream.get()));
  return t;
}

TEST_F(FilerTest, NextValueTellsEachKindApart) {
  struct Case {
    const char* text;
    TValueType kind;
  } cases[] = {
      {"127", vaInt8},          {"-128", vaInt8},      {"128", vaInt16},
      {"-32769", vaInt32},      {"$7FFFFFFF", vaInt32}, {"$80000005", vaInt32},
      {"3000000000", vaInt64},  {"1.5", vaExtended},   {"1E3", vaExtended},
      {"1.5s", vaSingle},       {"12.34c", vaCurrency}, {"36526.5d", vaDate},
      {"'abc'", vaString},      {"'caf'#233", vaString}, {"'caf'#0233", vaWString},
      {"#8364", vaWString},     {"fsCircle", vaIdent}, {"Form2.Button1", vaIdent},
      {"True", vaTrue},         {"false", vaFalse},    {"nil", vaNil},
      {"(1 2)", vaList},        {"[a, b]", vaSet},     {"<>", vaCollection},
      {"{00FF}", vaBinary},     {")", vaNull},         {"end", vaNull},
      {"", vaNull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ReaderOn(c.text)->NextValue(), c.kind);
  }
  EXPECT_EQ(ReaderOn("'" + std::string(255, 'x') + "'")->NextValue(), vaString);
  EXPECT_EQ(ReaderOn("'" + std::string(200, 'x') + "' +\n  '" + std::string(56, 'x') + "'")->NextValue(), vaLString);
}

TEST_F(FilerTest, ValuesReadAsTheirKindsAndConvertBetweenAnsiAndWide) {
  auto r = ReaderOn("$80000005 -5 'a'#39'b' + \r\n  'c' #1076'x' 'd' #0233 1.5s 7 [fyBold, fyUnderline] True x.y");
  EXPECT_EQ(r->ReadInteger(), static_cast<int>(0x80000005));
  EXPECT_EQ(r->ReadInt64(), -5);
  EXPECT_EQ(r->ReadString(), "a'bc");
  EXPECT_EQ(r->ReadWideString(), L"\x0434x");
  EXPECT_EQ(r->ReadWideString(), L"d");
  EXPECT_EQ(r->ReadWideChar(), L'\x00E9');
  EXPECT_FLOAT_EQ(r->ReadSingle(), 1.5f);
  EXPECT_DOUBLE_EQ(r->ReadFloat(), 7.0);
  EXPECT_EQ(r->ReadSet<TFilerStyle>(), (TFilerStyles{fyBold, fyUnderline}));
  EXPECT_TRUE(r->ReadBoolean());
  EXPECT_EQ(r->ReadIdent(), "x.y");
  EXPECT_TRUE(r->EndOfList());

  // A retired set property read the old way: the marker, then names until "".
  auto old = ReaderOn("[a, b] 'next'");
  EXPECT_EQ(old->ReadValue(), vaSet);
  EXPECT_EQ(old->ReadStr(), "a");
  EXPECT_EQ(old->ReadStr(), "b");
  EXPECT_EQ(old->ReadStr(), "");
  EXPECT_EQ(old->ReadString(), "next");

  // Skipping takes whole values, nested ones included.
  auto skip = ReaderOn("(1 (2 'x') [a]) <item [0] A = (1) end item end> {0102} 'last'");
  skip->SkipValue();
  skip->SkipValue();
  skip->SkipValue();
  EXPECT_EQ(skip->ReadString(), "last");
}

TEST_F(FilerTest, WrittenValuesKeepWideAndAnsiStringsApart) {
  struct Case {
    std::function<void(TWriter*)> write;
    const char* text;
  } cases[] = {
      {[](TWriter* w) { w->WriteString("it's\r\n"); }, "'it''s'#13#10"},
      {[](TWriter* w) { w->WriteString("caf\xE9"); }, "'caf'#233"},
      {[](TWriter* w) { w->WriteString(""); }, "''"},
      {[](TWriter* w) { w->WriteWideString(L"abc"); }, "'abc'"},
      {[](TWriter* w) { w->WriteWideString(L"caf\x00E9"); }, "'caf'#0233"},
      {[](TWriter* w) { w->WriteWideString(L"\x00E9\x20AC"); }, "#233#8364"},
      {[](TWriter* w) { w->WriteInteger(-40000); }, "-40000"},
      {[](TWriter* w) { w->WriteFloat(1000); }, "1000.0"},
      {[](TWriter* w) { w->WriteFloat(1e300); }, "1E300"},
      {[](TWriter* w) { w->WriteCurrency(12.5); }, "12.5c"},
      {[](TWriter* w) { w->WriteBoolean(false); }, "False"},
      {[](TWriter* w) { w->WriteChar('\0'); }, "#0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Owned<TWriter> w(New<TWriter>(nullptr));
    c.write(w.get());
    EXPECT_EQ(w->GetText(), c.text);
    // And the reader gives the value back.
    auto r = ReaderOn(w->GetText());
    Owned<TWriter> again(New<TWriter>(nullptr));
    switch (r->NextValue()) {
      case vaString: again->WriteString(r->ReadString()); break;
      case vaWString: again->WriteWideString(r->ReadWideString()); break;
      case vaCurrency: again->WriteCurrency(r->ReadCurrency()); break;
      case vaExtended: again->WriteFloat(r->ReadFloat()); break;
      case vaFalse: again->WriteBoolean(r->ReadBoolean()); break;
      default: again->WriteInteger(r->ReadInt64()); break;
    }
    EXPECT_EQ(again->GetText(), c.text);
  }
  Owned<TWriter> w(New<TWriter>(nullptr));
  EXPECT_THROW(w->WriteFloat(std::numeric_limits<double>::infinity()), EWriteError);
}

// --- Errors --------------------------------------------------------------------------

TEST_F(FilerTest, MalformedFormsNameTheLineAndLeaveNothingBehind) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"object Form1: TFilerForm\n  Lines.Strings = (\n    'a'\n    'b'\nend\n",
       "Line 5: ')' expected but 'end' found"},
      {"object Form1: TFilerForm\n  Lines.Strings = (\n    'a'\n", "Line 3: ')' expected but end of file found"},
      {"object Form1: TFilerForm\n  Count = 'abc'\nend\n",
       "Line 2: Error reading Form1.Count: Invalid property value"},
      {"object Form1: TFilerForm\n  Shape = fsHexagon\nend\n",
       "Line 2: Error reading Form1.Shape: Invalid property value"},
      {"object Form1: TFilerForm\n  Styles = [fyBold, fyNope]\nend\n",
       "Line 2: Error reading Form1.Styles: Invalid property value"},
      {"object Form1: TFilerForm\n  Caption = 12\nend\n",
       "Line 2: Error reading Form1.Caption: Invalid property value"},
      {"object Form1: TFilerForm\n  Big = 1.5\nend\n", "Line 2: Error reading Form1.Big: Invalid property value"},
      {"object Form1: TFilerForm\n  Ratio = x\nend\n", "Line 2: Error reading Form1.Ratio: Invalid property value"},
      {"object Form1: TFilerForm\n  Buddy = 5\nend\n", "Line 2: Error reading Form1.Buddy: Invalid property value"},
      {"object Form1: TFilerForm\n  OnPing = NoSuchMethod\nend\n",
       "Line 2: Error reading Form1.OnPing: Method NoSuchMethod not found"},
      {"object Form1: TFilerForm\n  Foo = 1\nend\n", "Line 2: Error reading Form1.Foo: Property Foo does not exist"},
      {"object Form1: TFilerForm\n  Font.Foo = 1\nend\n",
       "Line 2: Error reading Form1.Font.Foo: Property Foo does not exist"},
      {"object Form1: TFilerForm\n  Items = <\n    item\n      Bogus = 1\n    end>\nend\n",
       "Line 4: Error reading Form1.Items[0].Bogus: Property Bogus does not exist"},
      {"object Form1: TFilerForm\n  Items = <\n    item\n    end\nend\n", "Line 5: '>' expected but 'end' found"},
      {"object Form1: TFilerForm\n  Lines.Strings = (\n    1)\nend\n",
       "Line 3: Error reading Form1.Lines.Strings: Invalid property value"},
      {"object Form1: TFilerForm\n  object Panel1: TFilerComp\n  end\n  object X: TNoSuchClass\n  end\nend\n",
       "Line 4: Class TNoSuchClass not found"},
      {"object Form1: TFilerForm\n  Caption = 'abc\nend\n", "Line 2: Unterminated string"},
      {"object Form1: TFilerForm\n  Caption = 'abc' +\nend\n", "Line 3: String constant expected but 'end' found"},
      {"object Form1: TFilerForm\n  Styles = [fyBold\n  Count = 1\nend\n", "Line 3: ']' expected but 'Count' found"},
      {"object Form1: TFilerForm\n  Blob = {\n    0102\n", "Line 2: Unterminated binary value"},
      {"object Form1: TFilerForm\n  Blob = {012}\nend\n", "Line 2: Odd number of hex digits in binary value"},
      {"object Form1: TFilerForm\n  Blob = {01 0G}\nend\n", "Line 2: '}' expected but 'G' found"},
      {"object Form1: TFilerForm\n  Count = 12abc\nend\n", "Line 2: Invalid number 12abc"},
      {"object Form1: TFilerForm\n  Count = @\nend\n", "Line 2: Invalid character '@'"},
      {"object Form1: TFilerForm\n  Wide = #70000\nend\n", "Line 2: Invalid character code #70000"},
      {"object Form1: TFilerForm\n  Count 5\nend\n", "Line 2: '=' expected but '5' found"},
      {"object Form1: TFilerForm\n  object : TFilerComp\n  end\nend\n", "Line 2: Identifier expected but ':' found"},
      {"object Form1: TFilerForm\n  object Panel1: TFilerComp\n  end\n", "Line 3: 'end' expected but end of file found"},
      {"object Form1: TFilerForm\nend\njunk\n", "Line 3: End of file expected but 'junk' found"},
      {"form Form1: TFilerForm\nend\n", "Line 1: 'object' expected but 'form' found"},
      {"", "Line 1: 'object' expected but end of file found"},
      {"object Form1: TFilerForm\n  object Panel1: TFilerComp\n  end\n  object Panel1: TFilerComp\n  end\nend\n",
       "Line 4: A component named Panel1 already exists"},
      {"object Form1: TFilerForm\n  inherited Nope: TFilerComp\n  end\nend\n", "Line 2: Ancestor for 'Nope' not found"},
      // Half-read children (and their fields) go with the error.
      {"object Form1: TFilerForm\n  object Panel1: TFilerComp\n    object Button1: TFilerComp2\n"
       "      Buddy = Label1\n    end\n    object Label1: TFilerComp\n      Count = x\n    end\n  end\nend\n",
       "Line 7: Error reading Label1.Count: Invalid property value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    // Into a form that keeps its own object.
    Owned<TFilerForm> form(New<TFilerForm>(nullptr));
    try {
      ReadText(c.text, form.get());
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.GetMessage(), c.message);
      EXPECT_STREQ(e.ClassName(), "EReadError");
    }
    EXPECT_EQ(form->GetComponentCount(), 0);
    EXPECT_EQ(form->Panel1, nullptr);
    EXPECT_EQ(form->Button1, nullptr);
    EXPECT_EQ(form->Label1, nullptr);
    EXPECT_FALSE(form->GetComponentState().Contains(csLoading));
    EXPECT_EQ(TFilerComp::live, 1);
    form.reset();
    // And into a root the reader makes itself.
    EXPECT_THROW(ReadText(c.text, nullptr), EReadError);
    EXPECT_EQ(TFilerComp::live, 0);
  }
}

TEST_F(FilerTest, OnErrorMayPassOverAPropertyAndReadingGoesOn) {
  const char* text = R"(object Form1: TFilerForm
  Retired = (1 (2 'x') [a, b])
  Shape = fsHexagon
  Items = <
    item [0]
      Gone = <item end>
      Value = 3
    end>
  Count = 5
end
)";
  Owned<TStringStream> s(New<TStringStream>(text));
  Owned<TReader> r(New<TReader>(s.get()));
  std::vector<std::string> errors;
  r->OnError = [&](TReader*, const std::string& message, bool& handled) {
    errors.push_back(message);
    handled = true;
  };
  Owned<TFilerForm> form(New<TFilerForm>(nullptr));
  r->ReadRootComponent(form.get());
  std::vector<std::string> want = {"Error reading Form1.Retired: Property Retired does not exist",
                                   "Error reading Form1.Shape: Invalid property value",
                                   "Error reading Form1.Items[0].Gone: Property Gone does not exist"};
  EXPECT_EQ(errors, want);
  EXPECT_EQ(form->count_, 5);
  ASSERT_EQ(form->items_->GetCount(), 1);
  EXPECT_EQ(static_cast<TFilerItem*>(form->items_->GetItem(0))->value_, 3);
}

TEST_F(FilerTest, AFailedWriteWritesNothing) {
  Owned<TFilerComp> c(New<TFilerComp>(nullptr));
  c->SetName("C");
  c->ratio_ = std::numeric_limits<double>::quiet_NaN();
  Owned<TStringStream> s(New<TStringStream>("before"));
  s->SetPosition(6);
  EXPECT_THROW(s->WriteComponent(c.get()), EWriteError);
  EXPECT_EQ(s->GetDataString(), "before");
}

// --- Nesting -------------------------------------------------------------------------

// An item that holds a collection of its own kind: collections inside
// collections, as a stored tree of items has them.
class TFilerTreeItem : public TCollectionItem {
  DECLARE_CLASS(TFilerTreeItem, TCollectionItem)
  explicit TFilerTreeItem(TCollection* c = nullptr)
      : TCollectionItem(c), items_(New<TOwnedCollection>(this, TFilerTreeItem::StaticClass())) {}
  TOwnedCollection* GetItems() const { return items_; }
  TOwnedCollection* items_;

 protected:
  void Destroy() override {
    FreeAndNil(items_);
    inherited::Destroy();
  }
};
PUBLISHED(TFilerTreeItem) { p.Prop("Items", &TFilerTreeItem::GetItems, nullptr); }

class TFilerTreeForm : public TFilerComp {
  DECLARE_CLASS(TFilerTreeForm, TFilerComp)
  explicit TFilerTreeForm(TComponent* owner)
      : TFilerComp(owner), tree_(New<TOwnedCollection>(this, TFilerTreeItem::StaticClass())) {}
  TOwnedCollection* GetTree() const { return tree_; }
  TOwnedCollection* tree_;

 protected:
  void Destroy() override {
    FreeAndNil(tree_);
    inherited::Destroy();
  }
};
PUBLISHED(TFilerTreeForm) { p.Prop("Tree", &TFilerTreeForm::GetTree, nullptr); }

// A form whose objects, lists or collections nest depth deep, each level
// opened on a line of its own (line 2 opens the first level), then
// "Count = 5" after the nesting.
struct TNestingKind {
  const char* Name;
  std::function<std::string(int depth)> Text;
  bool PassOver;        // OnError passes over the unknown property
  bool IgnoreChildren;  // the reader skips the objects
};
std::vector<TNestingKind> NestingKinds() {
  auto objects = [](int depth) {
    std::string t = "object Form1: TFilerTreeForm Count = 5\n";
    for (int i = 1; i <= depth; ++i) t += "object C" + std::to_string(i) + ": TFilerComp\n";
    for (int i = 0; i < depth; ++i) t += "end\n";
    return t + "end\n";
  };
  auto lists = [](int depth) {
    std::string t = "object Form1: TFilerTreeForm\nRetired = (1\n";
    for (int i = 1; i < depth; ++i) t += "(1\n";
    return t + std::string(static_cast<size_t>(depth), ')') + "\nCount = 5\nend\n";
  };
  auto collections = [](const char* name) {
    return [name](int depth) {
      std::string t = "object Form1: TFilerTreeForm\n";
      t += std::string(name) + " = <\n";
      for (int i = 1; i < depth; ++i) t += "item Items = <\n";
      t += ">";
      for (int i = 1; i < depth; ++i) t += "end>";
      return t + "\nCount = 5\nend\n";
    };
  };
  return {{"objects", objects, false, false},
          {"skipped objects", objects, false, true},
          {"skipped lists", lists, true, false},
          {"collections", collections("Tree"), false, false},
          {"skipped collections", collections("Gone"), true, false}};
}

void ReadNested(const TNestingKind& kind, int depth, TFilerTreeForm* form) {
  Owned<TStringStream> s(New<TStringStream>(kind.Text(depth)));
  Owned<TReader> r(New<TReader>(s.get()));
  if (kind.PassOver) r->OnError = [](TReader*, const std::string&, bool& handled) { handled = true; };
  r->SetIgnoreChildren(kind.IgnoreChildren);
  r->ReadRootComponent(form);
}

// The reader follows objects, lists and collections as deep as its limit
// (256 levels), on the main thread's stack; deeper, it raises a clear error,
// never overflows the stack, and leaves nothing of the objects it made.
TEST_F(FilerTest, NestingUpToTheLimitReadsAndDeeperRaises) {
  const int kLimit = 256;
  for (const TNestingKind& kind : NestingKinds()) {
    SCOPED_TRACE(kind.Name);
    {
      Owned<TFilerTreeForm> form(New<TFilerTreeForm>(nullptr));
      ASSERT_NO_THROW(ReadNested(kind, kLimit, form.get()));
      EXPECT_EQ(form->count_, 5);
      if (kind.Name == std::string("objects")) {
        ASSERT_NE(form->FindComponent("C" + std::to_string(kLimit)), nullptr);
        EXPECT_EQ(form->GetComponentCount(), kLimit);
      }
      if (kind.Name == std::string("collections")) {
        int levels = 0;
        for (TCollection* c = form->tree_; c->GetCount() == 1; ++levels)
          c = static_cast<TFilerTreeItem*>(c->GetItem(0))->items_;
        EXPECT_EQ(levels, kLimit - 1);
      }
    }
    Owned<TFilerTreeForm> form(New<TFilerTreeForm>(nullptr));
    try {
      ReadNested(kind, 100000, form.get());
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.GetMessage(), "Line " + std::to_string(kLimit + 2) +
                                    ": Objects, lists and collections nested more than " +
                                    std::to_string(kLimit) + " deep");
    }
    EXPECT_EQ(form->GetComponentCount(), 0);
    EXPECT_FALSE(form->GetComponentState().Contains(csLoading));
    EXPECT_EQ(TFilerComp::live, 1);
  }
}

}  // namespace
