#include <gtest/gtest.h>

#include "classlib/Classes.h"
#include "classlib/TypInfo.h"

namespace {

enum TTestSide { sdLeft, sdTop, sdRight, sdBottom };
DECLARE_ENUM_TYPE(TTestSide);
DEFINE_ENUM_TYPE(TTestSide, "sdLeft", "sdTop", "sdRight", "sdBottom")
using TTestSides = TSet<TTestSide>;

class TProbe : public TComponent {
  DECLARE_CLASS(TProbe, TComponent)
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  int GetCount() const { return count_; }
  void SetCount(int v) { count_ = v; }
  TTestSide GetSide() const { return side_; }
  void SetSide(TTestSide v) { side_ = v; }
  TTestSides GetSides() const { return sides_; }
  void SetSides(TTestSides v) { sides_ = v; }
  std::string GetCaption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  std::wstring GetWide() const { return wide_; }
  void SetWide(const std::wstring& v) { wide_ = v; }
  double GetRatio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  int64_t GetBig() const { return big_; }
  void SetBig(int64_t v) { big_ = v; }
  bool GetFlag() const { return flag_; }
  void SetFlag(bool v) { flag_ = v; }
  int GetIndexed(int i) const { return indexed_[i]; }
  void SetIndexed(int i, int v) { indexed_[i] = v; }
  TComponent* GetBuddy() const { return buddy_; }
  void SetBuddy(TComponent* v) { buddy_ = v; }
  TNotifyEvent GetOnChange() const { return onChange_; }
  void SetOnChange(TNotifyEvent v) { onChange_ = v; }
  bool IsCaptionStored() const { return caption_ != "skip"; }
  void Fire() { if (onChange_) onChange_(this); }

  int count_ = 0;
  TTestSide side_ = sdLeft;
  TTestSides sides_{sdLeft, sdTop};
  std::string caption_;
  std::wstring wide_;
  double ratio_ = 0;
  int64_t big_ = 0;
  bool flag_ = true;
  int indexed_[2] = {0, 0};
  TComponent* buddy_ = nullptr;
  TNotifyEvent onChange_;
};

PUBLISHED(TProbe) {
  p.Prop("Count", &TProbe::GetCount, &TProbe::SetCount).Default(0);
  p.Prop("Side", &TProbe::GetSide, &TProbe::SetSide).Default(sdLeft);
  p.Prop("Sides", &TProbe::GetSides, &TProbe::SetSides).Default(TTestSides{sdLeft, sdTop});
  p.Prop("Caption", &TProbe::GetCaption, &TProbe::SetCaption).Stored(&TProbe::IsCaptionStored);
  p.Prop("Wide", &TProbe::GetWide, &TProbe::SetWide);
  p.Prop("Ratio", &TProbe::GetRatio, &TProbe::SetRatio);
  p.Prop("Big", &TProbe::GetBig, &TProbe::SetBig);
  p.Prop("Flag", &TProbe::GetFlag, &TProbe::SetFlag).Default(true);
  p.IndexedProp("First", 0, &TProbe::GetIndexed, &TProbe::SetIndexed);
  p.IndexedProp("Second", 1, &TProbe::GetIndexed, &TProbe::SetIndexed);
  p.Prop("Buddy", &TProbe::GetBuddy, &TProbe::SetBuddy);
  p.Prop("OnChange", &TProbe::GetOnChange, &TProbe::SetOnChange);
}

// Republishes Count with a new default and Caption with a new type.
class TProbe2 : public TProbe {
  DECLARE_CLASS(TProbe2, TProbe)
  explicit TProbe2(TComponent* owner) : TProbe(owner) { count_ = 7; }
  int GetExtra() const { return 1; }
  void SetExtra(int) {}
  std::wstring GetWideCaption() const { return wideCaption_; }
  void SetWideCaption(const std::wstring& v) { wideCaption_ = v; }
  std::wstring wideCaption_;
};
PUBLISHED(TProbe2) {
  p.Prop("Count", &TProbe2::GetCount, &TProbe2::SetCount).Default(7);
  p.Prop("Extra", &TProbe2::GetExtra, &TProbe2::SetExtra);
  p.Prop("Caption", &TProbe2::GetWideCaption, &TProbe2::SetWideCaption);
}

class TListener : public TObject {
 public:
  void Changed(TObject* sender) { last = sender; ++calls; }
  void Other(TObject*) {}
  TObject* last = nullptr;
  int calls = 0;
};

TEST(TypInfo, TableIsChainedInDeclarationOrderWithRepublishingInPlace) {
  TPropList props = GetPropInfos(TProbe2::StaticClass());
  std::vector<std::string> names;
  for (PPropInfo p : props) names.push_back(p->Name);
  std::vector<std::string> want = {"Name", "Tag", "Count", "Side", "Sides", "Caption", "Wide",
                                   "Ratio", "Big", "Flag", "First", "Second", "Buddy",
                                   "OnChange", "Extra"};
  EXPECT_EQ(names, want);
  EXPECT_EQ(GetPropInfo(TProbe2::StaticClass(), "count")->Default, 7);
  EXPECT_EQ(GetPropInfo(TProbe::StaticClass(), "Count")->Default, 0);
  EXPECT_EQ(GetPropInfo(TProbe2::StaticClass(), "Count")->Owner, TProbe2::StaticClass());
  // A new type in the ancestor's place; the ancestor's own table keeps its entry.
  PPropInfo wide = GetPropInfo(TProbe2::StaticClass(), "Caption");
  PPropInfo ansi = GetPropInfo(TProbe::StaticClass(), "Caption");
  EXPECT_EQ(wide->PropType->Kind, tkWString);
  EXPECT_EQ(ansi->PropType->Kind, tkLString);
  EXPECT_EQ(wide->NameIndex, ansi->NameIndex);
  Owned<TProbe2> p2(New<TProbe2>(nullptr));
  SetStrProp(p2.get(), "Caption", "text");
  EXPECT_EQ(p2->wideCaption_, L"text");
  EXPECT_EQ(p2->caption_, "");
}

TEST(TypInfo, GetAndSetByNameForEveryKind) {
  Owned<TProbe> p(New<TProbe>(nullptr));
  SetOrdProp(p.get(), "Count", 42);
  EXPECT_EQ(p->count_, 42);
  SetEnumProp(p.get(), "Side", "sdRight");
  EXPECT_EQ(GetEnumProp(p.get(), "Side"), "sdRight");
  SetSetProp(p.get(), "Sides", "[sdTop, sdBottom]");
  EXPECT_EQ(GetSetProp(p.get(), "Sides", true), "[sdTop,sdBottom]");
  SetStrProp(p.get(), "Caption", "hello");
  EXPECT_EQ(p->caption_, "hello");
  SetWideStrProp(p.get(), "Wide", L"\x20AC");
  EXPECT_EQ(GetWideStrProp(p.get(), "Wide"), L"\x20AC");
  SetFloatProp(p.get(), "Ratio", 2.5);
  EXPECT_DOUBLE_EQ(p->ratio_, 2.5);
  SetInt64Prop(p.get(), "Big", int64_t{1} << 40);
  EXPECT_EQ(p->big_, int64_t{1} << 40);
  SetOrdProp(p.get(), "Second", 9);
  EXPECT_EQ(p->indexed_[1], 9);
  EXPECT_EQ(p->indexed_[0], 0);
  Owned<TComponent> buddy(New<TComponent>(nullptr));
  SetObjectProp(p.get(), "Buddy", buddy.get());
  EXPECT_EQ(GetObjectProp(p.get(), "Buddy"), buddy.get());
  EXPECT_THROW(GetOrdProp(p.get(), "Missing"), EPropertyError);
  EXPECT_THROW(SetSetProp(p.get(), "Sides", "[sdNowhere]"), EPropertyConvertError);
  // Sets as text: blanks and brackets optional, an empty item or a lone
  // bracket is an error.
  const struct {
    const char* text;
    TTestSides value;
    bool valid;
  } sets[] = {
      {" [ sdTop ,\tsdBottom ] ", {sdTop, sdBottom}, true}, {"sdLeft,sdRight", {sdLeft, sdRight}, true},
      {"[]", {}, true}, {"", {}, true}, {"[sdTop,,sdLeft]", {}, false}, {"[sdTop", {}, false},
  };
  for (const auto& c : sets) {
    SCOPED_TRACE(c.text);
    p->SetSides({sdRight});
    if (c.valid) {
      SetSetProp(p.get(), "Sides", c.text);
      EXPECT_EQ(p->GetSides(), c.value);
    } else {
      EXPECT_THROW(SetSetProp(p.get(), "Sides", c.text), EPropertyConvertError);
      EXPECT_EQ(p->GetSides(), TTestSides{sdRight});
    }
  }
}

TEST(TypInfo, MethodPropertiesCompareByIdentityAndCheckSignature) {
  Owned<TProbe> p(New<TProbe>(nullptr));
  TListener a, b;
  TNotifyEvent ev(&a, &TListener::Changed);
  SetMethodProp(p.get(), "OnChange", ev.Method());
  p->Fire();
  EXPECT_EQ(a.calls, 1);
  EXPECT_EQ(a.last, p.get());
  EXPECT_TRUE(p->GetOnChange() == ev);
  EXPECT_FALSE(p->GetOnChange() == TNotifyEvent(&b, &TListener::Changed));
  EXPECT_FALSE(p->GetOnChange() == TNotifyEvent(&a, &TListener::Other));
  TClosure<int(int)> wrong;
  EXPECT_TRUE(wrong == nullptr);
  struct TIntObj { int Twice(int x) { return 2 * x; } } io;
  TClosure<int(int)> twice(&io, &TIntObj::Twice);
  EXPECT_THROW(SetMethodProp(p.get(), "OnChange", twice.Method()), EPropertyError);
  SetMethodProp(p.get(), "OnChange", TMethod{});
  EXPECT_FALSE(p->GetOnChange());
}

TEST(TypInfo, DefaultsAndStoredPredicates) {
  Owned<TProbe> p(New<TProbe>(nullptr));
  auto info = [&](const char* n) { return GetPropInfo(p.get(), n); };
  EXPECT_TRUE(IsDefaultPropValue(p.get(), info("Count")));
  EXPECT_TRUE(IsDefaultPropValue(p.get(), info("Sides")));
  EXPECT_TRUE(IsDefaultPropValue(p.get(), info("Flag")));
  EXPECT_FALSE(IsDefaultPropValue(p.get(), info("First")));  // no default: always written
  p->SetCaption("skip");
  EXPECT_FALSE(IsStoredProp(p.get(), info("Caption")));
  p->SetCaption("keep");
  EXPECT_TRUE(IsStoredProp(p.get(), info("Caption")));
  EXPECT_FALSE(IsStoredProp(p.get(), info("Name")));
}

// A Char property (a password character) with a character above 127.
class TCharProbe : public TPersistent {
  DECLARE_CLASS(TCharProbe, TPersistent)
  char GetMark() const { return mark_; }
  void SetMark(char c) { mark_ = c; }
  char mark_ = '\x95';
};
PUBLISHED(TCharProbe) { p.Prop("Mark", &TCharProbe::GetMark, &TCharProbe::SetMark).Default('\x95'); }

TEST(TypInfo, CharPropertiesAreOrdinalsFrom0To255) {
  Owned<TCharProbe> c(New<TCharProbe>());
  PPropInfo info = GetPropInfo(c.get(), "Mark");
  ASSERT_EQ(info->PropType->Kind, tkChar);
  EXPECT_EQ(GetOrdProp(c.get(), info), 0x95);
  EXPECT_EQ(info->Default, 0x95);
  EXPECT_TRUE(IsDefaultPropValue(c.get(), info));
  SetOrdProp(c.get(), info, 0xE9);
  EXPECT_EQ(c->mark_, '\xE9');
  EXPECT_EQ(GetOrdProp(c.get(), info), 0xE9);
  EXPECT_FALSE(IsDefaultPropValue(c.get(), info));
}

TEST(TypInfo, ClassReferencesCreateThroughTheirClass) {
  TClass cls = TProbe2::StaticClass();
  EXPECT_EQ(cls->ClassName(), "TProbe2");
  EXPECT_TRUE(cls->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(TComponent::StaticClass()->InheritsFrom(cls));
  Owned<TComponent> owner(New<TComponent>(nullptr));
  TProbe* made = CreateAs<TProbe>(cls, owner.get());
  EXPECT_EQ(made->ClassType(), cls);
  EXPECT_EQ(made->GetCount(), 7);
  EXPECT_EQ(made->GetOwner(), owner.get());
  EXPECT_THROW(CreateAs<TProbe>(TComponent::StaticClass(), nullptr), EInvalidCast);
}

}  // namespace
