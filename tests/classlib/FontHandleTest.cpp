// A font handle taken over with SetHandle (a rotated font, which the
// description cannot say) is replaced by the next Assign, even from a font of
// the same description, and is deleted then.
#include <gtest/gtest.h>

#include "classlib/Graphics.h"

namespace {

int Escapement(HFONT font) {
  LOGFONTA lf{};
  GetObjectA(font, sizeof lf, &lf);
  return lf.lfEscapement;
}

TEST(FontHandle, AnAdoptedHandleGivesWayToTheNextAssign) {
  Owned<TFont> label = MakeOwned<TFont>();
  label->SetName("Tahoma");
  Owned<TFont> canvas = MakeOwned<TFont>();
  canvas->Assign(label.get());
  LOGFONTA lf{};
  GetObjectA(label->GetHandle(), sizeof lf, &lf);
  lf.lfEscapement = 900;
  HFONT rotated = CreateFontIndirectA(&lf);
  canvas->SetHandle(rotated);
  EXPECT_EQ(canvas->GetHandle(), rotated);
  EXPECT_EQ(canvas->GetName(), "Tahoma");

  canvas->Assign(label.get());
  EXPECT_NE(canvas->GetHandle(), rotated);
  EXPECT_EQ(GetObjectType(rotated), 0u) << "the adopted handle is deleted";
  EXPECT_EQ(Escapement(canvas->GetHandle()), 0);
  // A handle made from the description is kept by an Assign of the same.
  HFONT own = canvas->GetHandle();
  canvas->Assign(label.get());
  EXPECT_EQ(canvas->GetHandle(), own);
}

}  // namespace
