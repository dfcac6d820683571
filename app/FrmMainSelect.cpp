// The selection side of the main form: the product and language lists
// dropped under their selectors, applying a product and a language, the
// language's built-in captions written into the button images, and the
// language list's own drawing.
#include "app/FrmMain.h"

#include <algorithm>

#include "app/LanguageTables.h"
#include "app/perivane.h"
#include "classlib/Graphics.h"
#include "classlib/IniFiles.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxLabel.h"
#include "kx/foundation/KxLstBox.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"

namespace {

// Where the scratch bitmap holds pure black, the image becomes black; no
// other pixel of the image changes. The scratch is 24-bit so that the test
// is exact whatever the display's depth, and both sides go by rows.
void CopyBlackPixels(TBitmap* scratch, TpkBitmap* image) {
  GdiFlush();  // the text drawn on the scratch reaches its bits
  const int width = image->GetWidth();
  const int height = image->GetHeight();
  for (int y = 0; y < height; ++y) {
    auto from = scratch->ScanLineAs<RGBTRIPLE>(y);
    auto to = image->GetRow(y);
    for (int x = 0; x < width; ++x) {
      const RGBTRIPLE p = from[x];
      if (p.rgbtRed == 0 && p.rgbtGreen == 0 && p.rgbtBlue == 0) to[x] = RGBTRIPLE{0, 0, 0};
    }
  }
  image->Changed(image);
}

// A product picture that is there but does not load (no picture, an unknown
// kind, damaged, no pixels) counts as no picture: the rest of the product
// applies.
bool LoadPicture(TpkImager* imager, const std::string& path) {
  try {
    imager->GetPicture()->LoadFromFile(path);
    return HasPixels(imager->GetPicture()->GetGraphic());
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

void TFormMain::BurnLanguageCaptions() {
  // Always the 24-bit set's files, whatever the display's depth.
  const struct {
    TpkImageBtn* Button;
    const char* File;
    TCaptionTable Table;
  } targets[] = {
      {pkImageBtn2, "Resource\\SEL24_1024_768.BMP", ctLanguageNames},
      {pkImageBtn3, "Resource\\EXE24_1024_768A.bmp", ctManualCaptions},
      {pkImageBtn4, "Resource\\EXE24_1024_768B.bmp", ctDriverCaptions},
      {pkImageBtn5, "Resource\\EXE24_1024_768C.bmp", ctReaderCaptions},
  };
  Owned<TBitmap> scratch = MakeOwned<TBitmap>();
  scratch->SetPixelFormat(pf24bit);
  TCanvas* canvas = scratch->GetCanvas();
  canvas->GetPen()->SetColor(clBlack);
  bool first = true;
  for (const auto& target : targets) {
    // A fresh image each time, so that text written before disappears.
    LoadButtonImage(target.Button, DiscPath(target.File));
    TpkBitmap* image = target.Button->GetImage();
    const int width = image->GetWidth();
    const int height = image->GetHeight();
    scratch->SetSize(width, height);
    if (!first) canvas->FillRect(TRect(0, 0, width, height));
    first = false;
    // A language line past the built-in rows burns nothing.
    const wchar_t* text = BuiltInCaption(target.Table, LanguageIndex);
    if (!text || width == 0 || height == 0) continue;
    const std::wstring caption = text;
    // Measured as ANSI text, drawn as UTF-16 (the wide call keeps the
    // accented letters whatever the code page).
    const std::string ansi = WideToAnsi(caption);
    const int textWidth = canvas->TextWidth(ansi);
    const int textHeight = canvas->TextHeight(ansi);
    ::TextOutW(canvas->GetHandle(), (width - textWidth) / 2, (height - textHeight) / 2, caption.c_str(),
               static_cast<int>(caption.size()));
    CopyBlackPixels(scratch.get(), image);
  }
}

// --- the lists ------------------------------------------------------------------------------

void TFormMain::PlaceList(TControl* list, TControl* selector) {
  list->SetBounds(selector->GetLeft(), selector->GetTop() + selector->GetHeight(), selector->GetWidth() + 10, 128);
}

void TFormMain::FormShow(TObject*) {
  PlaceList(KxListBoxP, pkImageBtn1);
  KxListBoxP->GetItems()->LoadFromFile(DiscPath("Resource\\Product.TXT"));
  if (KxListBoxP->GetItems()->GetCount() > 0) KxListBoxP->SetItemIndex(0);
  PlaceList(KxCheckListL, pkImageBtn2);
  KxCheckListL->GetItems()->LoadFromFile(DiscPath("Resource\\Language.TXT"));
  // Every language waits for a product that offers it.
  KxCheckListL->UncheckAll();
  const int languages = KxCheckListL->GetItems()->GetCount();
  for (int j = 0; j < languages; ++j) KxCheckListL->SetItemEnabled(j, false);
  if (languages > 0) KxCheckListL->SetItemIndex(0);
  if (!ProductShowOne && KxListBoxP->GetItems()->GetCount() <= 1) {
    // Nothing to choose: the one product is applied at once.
    KxLabel1->SetVisible(false);
    pkImageBtn1->SetVisible(false);
    ApplyProduct();
  }
  if (!LanguageShowOne && languages <= 1) {
    KxLabel2->SetVisible(false);
    pkImageBtn2->SetVisible(false);
  }
  // Takes effect only when the product applied above offers language 1.
  KxCheckListL->SetItemIndex(0);
  ApplyLanguage();
}

void TFormMain::DropList(TControl* list) {
  POINT p{};
  Seams().GetCursorPos(p);
  Seams().SetCursorPos(p.x, p.y + 25);
  list->SetVisible(true);
}

void TFormMain::pkImageBtn1Click(TObject*) { DropList(KxListBoxP); }

void TFormMain::pkImageBtn2Click(TObject*) { DropList(KxCheckListL); }

void TFormMain::KxListBoxPClick(TObject*) {
  if (!KxListBoxP->GetVisible()) return;
  KxListBoxP->SetVisible(false);
  ApplyProduct();
}

void TFormMain::KxCheckListLClick(TObject*) {
  if (!KxCheckListL->GetVisible()) return;
  KxCheckListL->SetVisible(false);
  ApplyLanguage();
}

// --- applying ---------------------------------------------------------------------------------

void TFormMain::ApplyProduct() {
  const int i = KxListBoxP->GetItemIndex();
  if (i == ProductIndex) return;
  // The index is set once the product is applied whole. A product the
  // system refuses part of (a launch button's window cannot be made for a
  // caption of 60,000 characters) leaves no product applied, so that the
  // next pick, of this product or another, applies again.
  ProductIndex = -1;
  if (i < 0) return;
  try {
    ApplyProductLine(i);
  } catch (...) {
    // No launch button stays up for a product half read. Hidden, a button
    // whose window was refused gets a new one when it next shows: it keeps
    // its Visible flag without a window otherwise, and never shows again.
    for (int k = 0; k < 3; ++k) LaunchButton(k)->SetVisible(false);
    throw;
  }
  ProductIndex = i;
}

void TFormMain::ApplyProductLine(int i) {
  pkImageBtn1->SetCaption(KxListBoxP->GetItems()->Get(i));
  pkImager1->SetVisible(false);
  std::string picture;
  {
    Owned<TIniFile> ini = MakeOwned<TIniFile>(DiscPath(IniFileName));
    const std::string section = "PRODUCT" + IntToStr(i + 1);
    for (int k = 0; k < 3; ++k)
      LaunchButton(k)->SetCaption(ini->ReadString(section, "BTNCAP" + IntToStr(k + 1), ""));
    LangSelect = ini->ReadString(section, "LANGSELECT", "");
    for (int k = 0; k < 3; ++k) BtnCmd[k] = Trim(ini->ReadString(section, "BTNCMD" + IntToStr(k + 1), ""));
    for (int k = 0; k < 3; ++k) {
      BtnHint[k] = ini->ReadString(section, "HINTS" + IntToStr(k + 1), "");
      LaunchButton(k)->SetHint(Trim(BtnHint[k]));
    }
    picture = ini->ReadString(section, "PICTURE", "");
  }
  for (int k = 0; k < 3; ++k) LaunchButton(k)->SetVisible(!LaunchButton(k)->GetCaption().empty());
  const std::string picturePath = DiscPath("Resource\\" + picture);
  if (!picture.empty() && FileExists(picturePath) && LoadPicture(pkImager1, picturePath)) {
    // Set again so that the transparency is rebuilt for the new picture.
    if (pkImager1->GetTransparent()) pkImager1->SetTransparent(true);
    pkImager1->SetVisible(true);
  }
  const int languages = KxCheckListL->GetItems()->GetCount();
  for (int j = 0; j < languages; ++j) KxCheckListL->SetItemEnabled(j, false);
  const int offered = std::min(languages, static_cast<int>(LangSelect.size()));
  for (int k = 0; k < offered; ++k) KxCheckListL->SetItemEnabled(k, LangSelect[k] == '1');
  if (LanguageIndex != -1) {
    // A language that stays enabled stays applied; one the new product does
    // not offer is dropped.
    LanguageIndex = KxCheckListL->GetItemIndex();
    if (LanguageIndex < 0 || !KxCheckListL->GetItemEnabled(LanguageIndex)) DropLanguage();
  }
}

void TFormMain::DropLanguage() {
  LanguageIndex = -1;
  pkImageBtn2->SetCaption("");
  // The images still carry the dropped language's captions: fresh ones.
  BurnLanguageCaptions();
}

void TFormMain::ApplyLanguage() {
  LanguageIndex = KxCheckListL->GetItemIndex();
  if (LanguageIndex < 0 || !KxCheckListL->GetItemEnabled(LanguageIndex)) {
    LanguageIndex = -1;
    pkImageBtn2->SetCaption("");
    return;
  }
  pkImageBtn2->SetCaption(MultiLangDisplay ? std::string() : KxCheckListL->GetItems()->Get(LanguageIndex));
  for (int k = 0; k < 3; ++k) LaunchButton(k)->SetShowHint(false);
  // Ticks accumulate: the list shows every language applied since start.
  if (KxCheckListL->GetItemState(LanguageIndex) == cbUnchecked) KxCheckListL->SetItemChecked(LanguageIndex, true);
  {
    Owned<TIniFile> ini = MakeOwned<TIniFile>(DiscPath(IniFileName));
    LangPath = ini->ReadString("LANGUAGE", "LANG" + IntToStr(LanguageIndex + 1) + "PATH", "");
  }
  if (MultiLangDisplay)
    for (int k = 0; k < 3; ++k) LaunchButton(k)->SetCaption(" ");
  BurnLanguageCaptions();
}

// --- the language list's items ---------------------------------------------------------------

void TFormMain::KxCheckListLDrawItem(TWinControl*, int index, TRect rect, TOwnerDrawState) {
  TCanvas* canvas = KxCheckListL->GetCanvas();
  canvas->FillRect(rect);
  int x = 2;
  if (auto* glyph = dynamic_cast<TBitmap*>(KxCheckListL->GetItems()->GetObject(index))) {
    const TRect whole(0, 0, glyph->GetWidth(), glyph->GetHeight());
    canvas->BrushCopy(TRect(rect.left + 2, rect.top, rect.left + 2 + glyph->GetWidth(), rect.top + glyph->GetHeight()),
                      glyph, whole, static_cast<TColor>(0x0000FF));
    x += glyph->GetWidth() + 4;
  }
  // The built-in name; a language past the built-in rows shows its line.
  const wchar_t* name = BuiltInCaption(ctLanguageNames, index);
  const std::wstring text = name ? std::wstring(name) : AnsiToWide(KxCheckListL->GetItems()->Get(index));
  ::TextOutW(canvas->GetHandle(), rect.left + x, rect.top, text.c_str(), static_cast<int>(text.size()));
}
