#include <gtest/gtest.h>

#include "classlib/System.h"

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

TEST(System, RandomIsTheSeededGenerator) {
  SetRandSeed(0);
  EXPECT_EQ(Random(0), 0);
  // RandSeed 1 after one step from 0; the next is 1 * 0x08088405 + 1.
  EXPECT_EQ(GetRandSeed(), 1u);
  int r = Random(100);
  EXPECT_EQ(GetRandSeed(), 0x08088406u);
  EXPECT_EQ(r, static_cast<int>((uint64_t{0x08088406u} * 100) >> 32));
  SetRandSeed(12345);
  int first[5], again[5];
  for (int& x : first) x = Random(10);
  SetRandSeed(12345);
  for (int& x : again) x = Random(10);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(first[i], again[i]);
    EXPECT_GE(first[i], 0);
    EXPECT_LT(first[i], 10);
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

}  // namespace
