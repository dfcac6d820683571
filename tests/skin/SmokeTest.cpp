#include <gtest/gtest.h>
#include "skin/pkBitmap.h"
TEST(PkSmoke, Builds) { auto b = MakeOwned<TpkBitmap>(); b->SetSize(3, 2); EXPECT_EQ(b->GetPixel(0, 0), 0xFFFFFF); }
