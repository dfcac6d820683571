#include <gtest/gtest.h>

#include <string>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/Resources.h"

// The resources come from ResourceTest.rc, linked into this executable.
namespace {

TEST(ResourceTest, StringsByNumberGrowTheBufferAndAMissingOneIsEmpty) {
  EXPECT_EQ(LoadStr(100), "Hello from the string table");
  std::string longer = LoadStr(101);
  ASSERT_EQ(longer.size(), 300u);  // longer than the first buffer
  EXPECT_EQ(longer.substr(0, 3), "ABC");
  EXPECT_EQ(longer.substr(296), "KLMN");
  EXPECT_EQ(LoadStr(65000), "A string near the top of the identifier range");
  EXPECT_EQ(LoadStr(102), "");

  const TResStringRec byId{nullptr, 100};
  EXPECT_EQ(LoadResString(&byId), "Hello from the string table");
  static const char text[] = "held in the record";
  const TResStringRec byText{nullptr, reinterpret_cast<uintptr_t>(text)};
  EXPECT_EQ(LoadResString(&byText), text);
}

COLORREF PixelAt(TBitmap* b, int x, int y) {
  b->SetPixelFormat(pf24bit);
  auto* row = static_cast<const uint8_t*>(b->GetScanLine(y));
  return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
}

TEST(ResourceTest, BitmapsByNameAndByNumber) {
  Owned<TBitmap> byName = MakeOwned<TBitmap>();
  byName->LoadFromResourceName(MainInstance(), "RESOURCETEST_BITMAP");
  Owned<TBitmap> byId = MakeOwned<TBitmap>();
  byId->LoadFromResourceID(MainInstance(), 200);
  for (TBitmap* b : {byName.get(), byId.get()}) {
    EXPECT_EQ(b->GetWidth(), 8);
    EXPECT_EQ(b->GetHeight(), 8);
    EXPECT_EQ(PixelAt(b, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(b, 6, 6), RGB(0, 255, 0));
  }
  EXPECT_THROW(byName->LoadFromResourceName(MainInstance(), "NO_SUCH_BITMAP"), EResNotFound);
}

TEST(ResourceTest, MappedBitmapReplacesColours) {
  const TColor from[] = {clRed, clBlack};
  const TColor to[] = {clBlue, clWhite};
  // The colour table of a palette bitmap, the pixels of a true-colour one.
  struct {
    const char* Name;
    int X, Y;
    COLORREF Expected;
  } cases[] = {
      {"RESOURCETEST_BITMAP", 1, 1, RGB(0, 0, 255)},    // red, mapped
      {"RESOURCETEST_BITMAP", 6, 6, RGB(0, 255, 0)},    // green, kept
      {"RESOURCETEST_TRUECOLOR", 0, 0, RGB(0, 0, 255)},
      {"RESOURCETEST_TRUECOLOR", 1, 0, RGB(0, 255, 0)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Name << " " << c.X << "," << c.Y);
    HBITMAP mapped = CreateMappedRes(nullptr, c.Name, from, to);
    DIBSECTION ds{};
    EXPECT_NE(GetObjectA(mapped, sizeof ds, &ds), static_cast<int>(sizeof ds));  // a device bitmap
    Owned<TBitmap> b = MakeOwned<TBitmap>();
    b->SetHandle(mapped);
    EXPECT_EQ(PixelAt(b.get(), c.X, c.Y), c.Expected);
  }
  EXPECT_THROW(CreateMappedRes(nullptr, 999, from, to), EResNotFound);
}

TEST(ResourceTest, IconsAndCursorsByNameAndByNumber) {
  Owned<TIcon> icon = MakeOwned<TIcon>();
  icon->LoadFromResourceName(nullptr, "RESOURCETEST_ICON");
  EXPECT_NE(icon->GetHandle(), nullptr);
  icon->LoadFromResourceID(nullptr, 201);
  EXPECT_NE(icon->GetHandle(), nullptr);
  EXPECT_THROW(icon->LoadFromResourceID(nullptr, 777), EResNotFound);
  EXPECT_NE(LoadIconResource(201), nullptr);

  HCURSOR cursor = LoadCursorResource("RESOURCETEST_CURSOR");
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 4u);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  EXPECT_EQ(LoadCursorResource("NO_SUCH_CURSOR"), nullptr);
  EXPECT_TRUE(ResourceExists(200, MAKEINTRESOURCEA(2)));
  EXPECT_FALSE(ResourceExists(200, MAKEINTRESOURCEA(14)));
}

}  // namespace
