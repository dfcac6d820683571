#include <gtest/gtest.h>

#include <limits>

#include "classlib/System.h"
#include "tests/common/DamagedUtf8.h"

namespace {

TEST(System, RoundTiesToEven) {
  struct { double in; int64_t out; } cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {1e10 + 0.5, 10000000000},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(Round(c.in), c.out);
  }
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
}

TEST(System, RoundAndTruncRaiseBeyondInt64) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {9223372036854775808.0, -9223372036854777856.0, 1e30, -1e300, inf, -inf,
                   std::numeric_limits<double>::quiet_NaN()}) {
    SCOPED_TRACE(x);
    EXPECT_THROW(Round(x), EInvalidOp);
    EXPECT_THROW(Trunc(x), EInvalidOp);
  }
  // The ends of the range itself still convert.
  EXPECT_EQ(Trunc(-9223372036854775808.0), INT64_MIN);
  EXPECT_EQ(Round(9223372036854774784.0), 9223372036854774784);
}

TEST(System, RandomIsTheSeededGenerator) {
  // The platform's sequence: RandSeed = RandSeed * $08088405 + 1, and
  // Random(n) is the high half of RandSeed * n.
  SetRandSeed(0);
  EXPECT_EQ(Random(0), 0);  // steps the generator all the same
  EXPECT_EQ(GetRandSeed(), 1u);
  EXPECT_EQ(Random(100), 3);
  EXPECT_EQ(GetRandSeed(), 134775814u);
  EXPECT_DOUBLE_EQ(Random(), 3698175007.0 / 4294967296.0);
  SetRandSeed(12345);
  const struct {
    int value;
    uint32_t seed;
  } sequence[] = {{3, 1655067934u}, {2, 1242767767u}, {0, 342459380u},
                  {5, 2377737157u}, {6, 2721613530u}, {3, 1467157059u}};
  for (const auto& step : sequence) {
    EXPECT_EQ(Random(10), step.value);
    EXPECT_EQ(GetRandSeed(), step.seed);
  }
}

TEST(System, OneBasedStringRoutines) {
  std::string s = "Hello";
  EXPECT_EQ(Copy(s, 2, 3), "ell");
  EXPECT_EQ(Copy(s, 0, 2), "He");
  EXPECT_EQ(Copy(s, 4, 100), "lo");
  EXPECT_EQ(Copy(s, 6, 1), "");
  EXPECT_EQ(Copy(s, 2, -1), "");
  EXPECT_EQ(Pos(std::string("ll"), s), 3);
  EXPECT_EQ(Pos(std::string("x"), s), 0);
  EXPECT_EQ(Pos(std::string(""), s), 0);
  std::string d = s;
  Delete(d, 2, 2);
  EXPECT_EQ(d, "Hlo");
  Delete(d, 10, 1);
  EXPECT_EQ(d, "Hlo");
  Delete(d, 3, 10);
  EXPECT_EQ(d, "Hl");
  std::string i = "ac";
  Insert(std::string("b"), i, 2);
  EXPECT_EQ(i, "abc");
  Insert(std::string("!"), i, 99);
  EXPECT_EQ(i, "abc!");
  Insert(std::string(">"), i, -3);
  EXPECT_EQ(i, ">abc!");
  std::wstring w = L"wide";
  EXPECT_EQ(Copy(w, 2, 2), L"id");
}

TEST(System, Utf8EncodesAndDecodesUtf16) {
  const struct {
    std::wstring wide;
    std::string utf8;
  } cases[] = {
      {L"", ""},
      {L"A\x00E9\x20AC", "A\xC3\xA9\xE2\x82\xAC"},
      {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},  // beyond the BMP: a surrogate pair
      {std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(UTF8Encode(c.wide), c.utf8);
    EXPECT_EQ(UTF8Decode(c.utf8), c.wide);
  }
}

// One bad byte costs only itself: each maximal ill-formed subpart becomes one
// U+FFFD and everything well-formed around it is kept.
TEST(System, Utf8DecodeReplacesEachIllFormedSubpart) {
  for (const TDamagedUtf8& c : DamagedUtf8()) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(UTF8Decode(c.Bytes), c.Text);
  }
}

TEST(System, SetOperations) {
  enum E { a, b, c };
  TSet<E> s{a, c};
  EXPECT_TRUE(s.Contains(a));
  EXPECT_FALSE(s.Contains(b));
  EXPECT_EQ(s + TSet<E>{b}, (TSet<E>{a, b, c}));
  EXPECT_EQ(s - TSet<E>{a}, TSet<E>{c});
  EXPECT_TRUE(TSet<E>{a} <= s);
  EXPECT_FALSE(TSet<E>{b} <= s);
}

TEST(System, SetElementsBeyondBit63AreInNoSet) {
  enum E : int { first = 0, top = 63, beyond = 64, large = 200, negative = -1 };
  TSet<E> s{first, top};
  EXPECT_EQ(s.Bits(), 0x8000000000000001u);
  for (E e : {beyond, large, negative}) {
    SCOPED_TRACE(static_cast<int>(e));
    TSet<E> all = TSet<E>::FromBits(~uint64_t{0});
    EXPECT_FALSE(all.Contains(e));
    EXPECT_EQ(all.Exclude(e).Bits(), ~uint64_t{0});
    EXPECT_THROW(s.Include(e), ERangeError);
    EXPECT_THROW((TSet<E>{first, e}), ERangeError);
    EXPECT_EQ(s.Bits(), 0x8000000000000001u);
  }
}

class TBase : public TObject {
 public:
  virtual void Click(TObject*) {}
  void Plain(TObject*) {}
  void Other(TObject*) {}
  int Constant() const { return 1; }
};
class TDerived : public TBase {
 public:
  void Click(TObject*) override {}
};

TEST(System, ClosuresCompareByObjectAndFunction) {
  TDerived d, e;
  TBase* asBase = &d;
  struct Case {
    const char* what;
    TNotifyEvent a, b;
    bool equal;
  } cases[] = {
      {"virtual through base and override", {asBase, &TBase::Click}, {&d, &TDerived::Click}, true},
      {"inherited method through either class", {asBase, &TBase::Plain}, {&d, &TBase::Plain}, true},
      {"other object", {&d, &TBase::Plain}, {&e, &TBase::Plain}, false},
      {"other method", {&d, &TBase::Plain}, {&d, &TBase::Other}, false},
      {"null and bound", {}, {&d, &TBase::Plain}, false},
      {"null and null", {}, nullptr, true},
      {"no object is null", {static_cast<TBase*>(nullptr), &TBase::Plain}, nullptr, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.a == c.b, c.equal);
    EXPECT_EQ(c.b == c.a, c.equal);
  }
  const TDerived& constant = d;
  TClosure<int()> k(&constant, &TBase::Constant);
  EXPECT_EQ(k(), 1);
}

}  // namespace
