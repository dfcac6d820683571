// A form holding every skin control, as the menu's stored forms do: written,
// read back and written again, the two texts are the same.
#include <gtest/gtest.h>

#include <string>

#include "classlib/Forms.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"
#include "skin/pkimageform.h"
#include "skin/pkpanel.h"
#include "tests/skin/SkinTestSupport.h"

using namespace skin_test;

namespace {

TEST(ImageFormStored, AFormOfEverySkinControlReadsBackTheSame) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(0, 0, 320, 240);
  auto* skin = New<TpkImageForm>(form.get());
  skin->SetName("pkImageForm1");
  skin->SetParent(form.get());
  Owned<TBitmap> back = BitmapFromText({"....##", "..####", "######"}, {{'.', clFuchsia}, {'#', clNavy}});
  skin->GetPicture()->SetBitmap(back.get());

  auto* imager = New<TpkImager>(form.get());
  imager->SetName("pkImager1");
  imager->SetParent(form.get());
  imager->SetTransparent(true);
  imager->SetTransparentColor(clLime);
  imager->GetBitmapOptions()->SetIntOption(4, 20);
  imager->GetPicture()->SetBitmap(back.get());

  auto* panel = New<TpkPanel>(form.get());
  panel->SetName("pkPanel1");
  panel->SetParent(form.get());
  panel->SetTransparent(true);
  panel->SetBevelOuter(bvNone);
  panel->SetBounds(100, 100, 88, 80);

  auto* button = New<TpkImageBtn>(form.get());
  button->SetName("pkImageBtn3");
  button->SetParent(panel);
  button->SetBounds(0, 30, 6, 3);
  button->SetTransparentColor(clWhite);
  // Loaded turns TabStop off unless the button is focusable.
  button->SetOptions(TpkButtonOptions{boFocusable});
  Owned<TBitmap> face = BitmapFromText({"..##..", ".####.", "######"}, {{'.', clWhite}, {'#', clRed}});
  Owned<TpkBitmap> pk = MakeOwned<TpkBitmap>();
  pk->Assign(face.get());
  button->SetImage(pk.get());
  button->HandleNeeded();

  std::string first = WriteForm(form.get());
  Owned<TForm> copy(New<TForm>(nullptr, 0));
  ReadForm(first, copy.get());
  std::string second = WriteForm(copy.get());
  EXPECT_EQ(second, first);
  auto* b = dynamic_cast<TpkImageBtn*>(copy->FindComponent("pkImageBtn3"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetParent(), copy->FindComponent("pkPanel1"));
  EXPECT_FALSE(b->GetRegionBlob(false).IsEmpty());
}

}  // namespace
