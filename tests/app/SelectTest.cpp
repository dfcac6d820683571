// Product and language selection on the main form made from its stored
// form: the show handler's start, applying a product and a language, the
// language list's own drawing, and list files that are missing or odd.
#include <gtest/gtest.h>

#include <memory>

#include "app/FrmMain.h"
#include "app/LanguageTables.h"
#include "app/perivane.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxLabel.h"
#include "kx/foundation/KxLstBox.h"
#include "skin/pkBitmap.h"
#include "skin/pkImager.h"
#include "skin/pkImgBtn.h"
#include "tests/app/AppTestSupport.h"
#include "tests/classlib/ControlTestSupport.h"

using namespace app_test;

namespace {

// A private disc with some files replaced, the menu made on it; the show
// handler runs when Show() is called.
using TFiles = std::vector<std::pair<std::string, std::string>>;

class TSelectMenu {
 public:
  explicit TSelectMenu(const TFiles& files = {}) {
    for (const auto& [name, bytes] : files) {
      if (bytes == kRemoved) disc_.Remove(name);
      else disc_.Write(name, bytes);
    }
    menu_ = std::make_unique<TMenuFixture>(disc_.Folder());
  }
  static constexpr const char* kRemoved = "\x01removed";

  TFormMain* Form() const { return menu_->Form(); }
  TFormMain* Show() const {
    Form()->FormShow(Form());
    return Form();
  }
  const TDiscCopy& Disc() const { return disc_; }
  // The pixels of a launch or selector button's image.
  static std::vector<int> Pixels(TpkImageBtn* button) {
    std::vector<int> out;
    TpkBitmap* image = button->GetImage();
    for (int y = 0; y < image->GetHeight(); ++y)
      for (int x = 0; x < image->GetWidth(); ++x) out.push_back(image->GetPixel(x, y));
    return out;
  }
  std::vector<int> FilePixels(const std::string& relative) const {
    Owned<TpkBitmap> image = MakeOwned<TpkBitmap>();
    image->LoadFromFile(disc_.Path(relative));
    std::vector<int> out;
    for (int y = 0; y < image->GetHeight(); ++y)
      for (int x = 0; x < image->GetWidth(); ++x) out.push_back(image->GetPixel(x, y));
    return out;
  }

 private:
  TDiscCopy disc_;
  std::unique_ptr<TMenuFixture> menu_;
};

// The enabled flags and the ticks of the language list, one character each.
std::string Enabled(TKxCheckList* list) {
  std::string s;
  for (int i = 0; i < list->GetItems()->GetCount(); ++i) s += list->GetItemEnabled(i) ? '1' : '0';
  return s;
}
std::string Ticks(TKxCheckList* list) {
  std::string s;
  for (int i = 0; i < list->GetItems()->GetCount(); ++i) s += static_cast<char>('0' + list->GetItemState(i));
  return s;
}

std::string Bounds(TControl* c) {
  return IntToStr(c->GetLeft()) + "," + IntToStr(c->GetTop()) + " " + IntToStr(c->GetWidth()) + "x" +
         IntToStr(c->GetHeight());
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// One product section of a settings file.
std::string Product(int n, const std::string& mask, const std::string& extra = "") {
  return "[PRODUCT" + IntToStr(n) + "]\r\nBTNCAP1=Manual\r\nBTNCAP2=Driver\r\nBTNCAP3=Reader\r\nLANGSELECT=" + mask +
         "\r\n" + extra;
}

TEST(SelectShow, TheListsAreFilledUnderTheirSelectorsWithEveryLanguageOffAndNothingApplied) {
  TSelectMenu menu;
  TFormMain* f = menu.Show();
  TKxListBox* products = f->KxListBoxP;
  ASSERT_EQ(products->GetItems()->GetCount(), 4);
  EXPECT_EQ(products->GetItems()->Get(2), "Orlo PV-300 Pro");
  EXPECT_EQ(products->GetItemIndex(), 0);
  // Under the selector, 10 wider than it, 128 high; still hidden.
  EXPECT_EQ(Bounds(products), "56,175 160x128");
  EXPECT_FALSE(products->GetVisible());
  TKxCheckList* languages = f->KxCheckListL;
  ASSERT_EQ(languages->GetItems()->GetCount(), 6);
  EXPECT_EQ(Trim(languages->GetItems()->Get(1)), "English");
  EXPECT_EQ(Enabled(languages), "000000");
  EXPECT_EQ(Ticks(languages), "000000");
  EXPECT_EQ(languages->GetItemIndex(), 0);
  EXPECT_EQ(Bounds(languages), "56,239 160x128");
  // The sample lists several products: nothing is applied until one is
  // picked.
  EXPECT_EQ(f->ProductIndex, -1);
  EXPECT_EQ(f->LanguageIndex, -1);
  EXPECT_TRUE(f->pkImageBtn1->GetVisible());
  EXPECT_TRUE(f->pkImageBtn2->GetVisible());
  for (int k = 0; k < 3; ++k) EXPECT_FALSE(f->LaunchButton(k)->GetVisible());
}

TEST(SelectShow, ListsTooShortToChooseFromHideTheirSelectorAndTheOneProductIsApplied) {
  const std::string six = Lines({"Deutsch", "English", "Espanol", "Francais", "Italiano", "Nederlands"});
  struct TCase {
    const char* Name;
    std::string Products, Languages, ShowOne, Mask;
    bool ProductSelector;
    int Product;
    bool LanguageSelector;
    int Language;
  } cases[] = {
      {"one product offering language 1", Lines({"Only"}), six, "ProductShowOne=0", "1", false, 0, true, 0},
      {"one product without language 1", Lines({"Only"}), six, "ProductShowOne=0", "01", false, 0, true, -1},
      {"one product, but shown", Lines({"Only"}), six, "ProductShowOne=1", "1", true, -1, true, -1},
      {"no product at all", "", six, "ProductShowOne=0", "1", false, -1, true, -1},
      {"two products", Lines({"One", "Two"}), six, "ProductShowOne=0", "1", true, -1, true, -1},
      {"one language", Lines({"Only"}), Lines({"English"}), "ProductShowOne=0\r\nLanguageShowOne=0", "1", false, 0,
       false, 0},
      {"one language, but shown", Lines({"One", "Two"}), Lines({"English"}), "LanguageShowOne=1", "1", true, -1,
       true, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSelectMenu menu({{"Resource\\Product.TXT", c.Products},
                      {"Resource\\Language.TXT", c.Languages},
                      {"perivane.ini", "[OBJECT]\r\n" + c.ShowOne + "\r\n" + Product(1, c.Mask)}});
    TFormMain* f = menu.Show();
    EXPECT_EQ(f->pkImageBtn1->GetVisible(), c.ProductSelector);
    EXPECT_EQ(f->KxLabel1->GetVisible(), c.ProductSelector);
    EXPECT_EQ(f->ProductIndex, c.Product);
    EXPECT_EQ(f->pkImageBtn2->GetVisible(), c.LanguageSelector);
    EXPECT_EQ(f->KxLabel2->GetVisible(), c.LanguageSelector);
    EXPECT_EQ(f->LanguageIndex, c.Language);
    EXPECT_EQ(f->pkImageBtn3->GetVisible(), c.Product == 0);
  }
}

TEST(SelectProduct, TheMaskEnablesTheLanguagesItOffers) {
  struct TCase {
    int Languages;
    const char* Mask;
    const char* Enabled;
  } cases[] = {
      {4, "101", "1010"},     {2, "1111111", "11"}, {6, "", "000000"},
      {6, "1x1 1", "101010"}, {3, "0001", "000"},   {6, "111111", "111111"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Mask);
    std::vector<std::string> lines;
    for (int i = 0; i < c.Languages; ++i) lines.push_back("Language " + IntToStr(i + 1));
    TSelectMenu menu({{"Resource\\Language.TXT", Lines(lines)}, {"perivane.ini", Product(1, c.Mask)}});
    TFormMain* f = menu.Show();
    f->ApplyProduct();
    EXPECT_EQ(f->ProductIndex, 0);
    EXPECT_EQ(f->LangSelect, c.Mask);
    EXPECT_EQ(Enabled(f->KxCheckListL), c.Enabled);
  }
}

TEST(SelectProduct, ItSetsCaptionsCommandsHintsAndThePictureAndAnEmptyCaptionHidesItsButton) {
  TSelectMenu menu(TFiles{{"perivane.ini",
                     "[Application]\r\nTransparentColor=65280\r\n"
                     "[PRODUCT2]\r\nBTNCAP1=Handbook\r\nBTNCAP2=\r\nBTNCAP3=Reader\r\n"
                     "BTNCMD1=  +manual.pdf  \r\nBTNCMD2=Driver\\Setup.exe\r\n"
                     "HINTS1=  Not here.  \r\nHINTS2=Missing\r\nPICTURE=PV100.bmp\r\nLANGSELECT=11\r\n"}});
  TFormMain* f = menu.Show();
  f->KxListBoxP->SetItemIndex(1);
  f->ApplyProduct();
  EXPECT_EQ(f->ProductIndex, 1);
  EXPECT_EQ(f->pkImageBtn1->GetCaption(), "Orlo PV-200 Duo");
  EXPECT_EQ(f->pkImageBtn3->GetCaption(), "Handbook");
  EXPECT_TRUE(f->pkImageBtn3->GetVisible());
  EXPECT_FALSE(f->pkImageBtn4->GetVisible());
  EXPECT_TRUE(f->pkImageBtn5->GetVisible());
  EXPECT_EQ(f->BtnCmd[0], "+manual.pdf");
  // The settings file gives values without their surrounding blanks.
  EXPECT_EQ(f->BtnHint[0], "Not here.");
  EXPECT_EQ(f->pkImageBtn3->GetHint(), "Not here.");
  EXPECT_EQ(f->pkImageBtn4->GetHint(), "Missing");
  EXPECT_TRUE(f->pkImager1->GetVisible());
  EXPECT_EQ(f->pkImager1->GetPicture()->GetWidth(), 190);
  EXPECT_TRUE(f->pkImager1->GetTransparent());
  EXPECT_EQ(Enabled(f->KxCheckListL), "110000");

  // The product already applied: nothing is read again.
  menu.Disc().Write("perivane.ini", Product(2, "000001"));
  f->ApplyProduct();
  EXPECT_EQ(f->pkImageBtn3->GetCaption(), "Handbook");
  EXPECT_EQ(Enabled(f->KxCheckListL), "110000");
}

TEST(SelectProduct, APictureThatIsMissingOrNoPictureLeavesTheImagerHiddenAndTheRestApplies) {
  TSelectMenu menu({{"Resource\\Broken.bmp", "BM this is no bitmap"},
                    {"Resource\\Broken.jpg", std::string("\xFF\xD8\xFF\xE0 cut short", 14)},
                    {"Resource\\Notes.xyz", "text"},
                    {"Resource\\Empty.bmp", ""}});  // loads as a picture without pixels
  const char* pictures[] = {"", "Nowhere.bmp", "Broken.bmp", "Broken.jpg", "Notes.xyz", "..\\perivane.ini",
                            "Empty.bmp"};
  TFormMain* f = menu.Show();
  int n = 0;
  for (const char* picture : pictures) {
    SCOPED_TRACE(picture);
    // A new product each time (the same one would not be applied again).
    ++n;
    f->KxListBoxP->GetItems()->Clear();
    for (int i = 0; i < n; ++i) f->KxListBoxP->GetItems()->Add("P" + IntToStr(i + 1));
    menu.Disc().Write("perivane.ini", Product(n, "1", std::string("PICTURE=") + picture + "\r\n"));
    f->KxListBoxP->SetItemIndex(n - 1);
    f->pkImager1->SetVisible(true);
    EXPECT_NO_THROW(f->ApplyProduct());
    EXPECT_FALSE(f->pkImager1->GetVisible());
    EXPECT_EQ(f->pkImageBtn3->GetCaption(), "Manual");
    EXPECT_EQ(Enabled(f->KxCheckListL), "100000");
  }
}

TEST(SelectProduct, AProductWithoutASectionHidesEveryButtonAndOffersNoLanguage) {
  TSelectMenu menu({{"perivane.ini", Product(1, "111111")}});
  TFormMain* f = menu.Show();
  f->ApplyProduct();
  ASSERT_EQ(Enabled(f->KxCheckListL), "111111");
  f->KxListBoxP->SetItemIndex(3);  // no PRODUCT4 in this file
  f->ApplyProduct();
  EXPECT_EQ(f->ProductIndex, 3);
  for (int k = 0; k < 3; ++k) EXPECT_FALSE(f->LaunchButton(k)->GetVisible());
  EXPECT_EQ(Enabled(f->KxCheckListL), "000000");
}

// A launch button's window that the system refuses (for a caption of 60,000
// characters) stops applying with the error. No product counts as applied
// then and no launch button shows: picking that product again tries again,
// and another product applies whole, its buttons on the screen.
TEST(SelectProduct, AProductTheSystemRefusesCountsAsNotAppliedAndTheNextPickTriesAgain) {
  TSelectMenu menu({{"perivane.ini", Product(1, "11") + "[PRODUCT2]\r\nBTNCAP1=" + std::string(60000, 'c') +
                                         "\r\nLANGSELECT=111111\r\n"}});
  TFormMain* f = menu.Form();
  f->Show();  // the launch buttons get their windows when they first show
  Pump();
  for (int attempt = 1; attempt <= 2; ++attempt) {
    SCOPED_TRACE(attempt);
    f->KxListBoxP->SetItemIndex(1);
    EXPECT_THROW(f->ApplyProduct(), EOSError);
    EXPECT_EQ(f->ProductIndex, -1);
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(f->LaunchButton(k)->GetVisible()) << k;
  }
  f->KxListBoxP->SetItemIndex(0);
  f->ApplyProduct();
  EXPECT_EQ(f->ProductIndex, 0);
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(f->LaunchButton(k)->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(f->LaunchButton(k)->GetHandle()));
  }
  EXPECT_EQ(f->pkImageBtn3->GetCaption(), "Manual");
  EXPECT_EQ(Enabled(f->KxCheckListL), "110000");
}

TEST(SelectLanguage, ADisabledOrUnselectedLanguageIsNotApplied) {
  TSelectMenu menu;
  TFormMain* f = menu.Show();
  f->pkImageBtn2->SetCaption("before");
  f->KxCheckListL->SetItemIndex(0);  // every language is still off
  f->ApplyLanguage();
  EXPECT_EQ(f->LanguageIndex, -1);
  EXPECT_EQ(f->pkImageBtn2->GetCaption(), "");
  f->ApplyProduct();
  f->KxCheckListL->SetItemIndex(-1);
  f->ApplyLanguage();
  EXPECT_EQ(f->LanguageIndex, -1);
}

TEST(SelectLanguage, ItTicksTheLanguageSetsItsFolderAndWritesItsCaptions) {
  struct TCase {
    const char* Display;
    const char* Selector;  // the language selector's caption
    const char* Launch;    // the launch buttons' captions
  } cases[] = {{"1", "", " "}, {"0", "English ", "Manual"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Display);
    TSelectMenu menu({{"perivane.ini", std::string("[OPTION]\r\nMultilanguageScreenDisplay=") + c.Display +
                                           "\r\n[LANGUAGE]\r\nLANG2PATH=EN\r\nLANG6PATH=NL\r\n" + Product(1, "110011")}});
    TFormMain* f = menu.Show();
    f->ApplyProduct();
    f->pkImageBtn3->SetShowHint(true);
    f->KxCheckListL->SetItemIndex(1);
    f->ApplyLanguage();
    EXPECT_EQ(f->LanguageIndex, 1);
    EXPECT_EQ(f->LangPath, "EN");
    EXPECT_EQ(f->pkImageBtn2->GetCaption(), c.Selector);
    EXPECT_EQ(f->pkImageBtn3->GetCaption(), c.Launch);
    EXPECT_FALSE(f->pkImageBtn3->GetShowHint());
    // Burnt whatever the display setting says.
    EXPECT_NE(TSelectMenu::Pixels(f->pkImageBtn3), menu.FilePixels("Resource\\EXE24_1024_768A.BMP"));
    f->KxCheckListL->SetItemIndex(5);
    f->ApplyLanguage();
    EXPECT_EQ(f->LangPath, "NL");
    // The ticks stay: every language applied since start.
    EXPECT_EQ(Ticks(f->KxCheckListL), "010001");
  }
}

TEST(SelectLanguage, AnotherProductKeepsALanguageItOffersAndDropsOneItDoesNot) {
  TSelectMenu menu({{"perivane.ini", "[LANGUAGE]\r\nLANG1PATH=DE\r\n" + Product(1, "11") + Product(2, "10") +
                                         Product(3, "01")}});
  TFormMain* f = menu.Show();
  f->ApplyProduct();
  f->KxCheckListL->SetItemIndex(0);
  f->ApplyLanguage();
  const std::vector<int> burnt = TSelectMenu::Pixels(f->pkImageBtn2);
  // Product 2 offers German too: it stays applied, its captions stay.
  f->KxListBoxP->SetItemIndex(1);
  f->ApplyProduct();
  EXPECT_EQ(f->LanguageIndex, 0);
  EXPECT_EQ(TSelectMenu::Pixels(f->pkImageBtn2), burnt);
  // Product 3 does not: no language, "+" commands go to the default folder,
  // and the images lose the dropped language's captions.
  f->KxListBoxP->SetItemIndex(2);
  f->ApplyProduct();
  EXPECT_EQ(f->LanguageIndex, -1);
  EXPECT_EQ(f->pkImageBtn2->GetCaption(), "");
  EXPECT_EQ(TSelectMenu::Pixels(f->pkImageBtn2), menu.FilePixels("Resource\\SEL24_1024_768.BMP"));
  EXPECT_EQ(TSelectMenu::Pixels(f->pkImageBtn3), menu.FilePixels("Resource\\EXE24_1024_768A.BMP"));
}

// The language list draws the built-in names in its own font; a line past
// the built-in rows shows its own text. Measured on the pixels the list
// paints: the ink of each row spans the width of the text it should show.
TEST(SelectLanguage, TheListDrawsTheBuiltInNamesAndALineBeyondThemItsOwnText) {
  TSelectMenu menu({{"Resource\\Language.TXT",
                     Lines({"&1 0 DE ", "&1 0 A rather long English line ", "//Group", "Fr", "It", "Nl",
                            "Klingon tlhIngan Hol"})}});
  TFormMain* f = menu.Show();
  TKxCheckList* list = f->KxCheckListL;
  list->SetItemIndex(-1);
  for (int j = 0; j < 7; ++j) list->SetItemEnabled(j, true);
  list->SetHeight(200);
  const int itemHeight = list->GetItemHeight();
  ASSERT_EQ(itemHeight, 18);
  const RECT client = list->GetClientRect();
  controls_test::TDib dib(client.right, client.bottom, RGB(1, 2, 3));
  SendMessageA(list->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dib.DC()), 0);
  SendMessageA(list->GetHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
  const COLORREF face = static_cast<COLORREF>(ColorToRGB(list->GetColor()));
  // The text's width in the list's font, as GDI measures it.
  Owned<TBitmap> measure = MakeOwned<TBitmap>();
  measure->GetCanvas()->GetFont()->Assign(list->GetFont());
  auto width = [&](const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(measure->GetCanvas()->GetHandle(), text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  const struct {
    int Row;
    std::wstring Text;
  } rows[] = {{0, L"Deutsch"}, {1, L"English"}, {3, L"Fran\u00e7ais"}, {5, L"Nederlands"},
              {6, L"Klingon tlhIngan Hol"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Row);
    int minX = client.right, maxX = -1;
    for (int y = r.Row * itemHeight; y < (r.Row + 1) * itemHeight; ++y)
      for (int x = 0; x < client.right; ++x)
        if (dib.Pixel(x, y) != face) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
        }
    // Indented 8 (no check box), then 2 more.
    EXPECT_NEAR(minX, 8 + 2, 2);
    EXPECT_NEAR(maxX - minX + 1, width(r.Text), 3);
  }
}

// --- list files that are missing or odd --------------------------------------------------------------

TEST(SelectBadInput, MissingListFilesStopTheShowHandlerWithTheFileNamed) {
  struct TCase {
    const char* Missing;
    int Products;  // filled before the failure
  } cases[] = {{"Resource\\Product.TXT", 1}, {"Resource\\Language.TXT", 4}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Missing);
    TSelectMenu menu(TFiles{{c.Missing, TSelectMenu::kRemoved}});
    TFormMain* f = menu.Form();
    try {
      f->FormShow(f);
      ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
      EXPECT_NE(e.GetMessage().find(menu.Disc().Path(c.Missing)), std::string::npos) << e.GetMessage();
    }
    // The stored item stays in a list that was not read.
    EXPECT_EQ(f->KxListBoxP->GetItems()->GetCount(), c.Products);
    EXPECT_EQ(f->ProductIndex, -1);
  }
}

TEST(SelectBadInput, LanguageLinesInEveryShapeReadAsTheLineFormatSaysUpToABadLine) {
  struct TCase {
    const char* Name;
    std::string Text;
    std::vector<std::string> Items;  // the texts read
    bool Refused;                    // the load raises
  } cases[] = {
      {"plain lines", Lines({"Deutsch", "English"}), {"Deutsch", "English"}, false},
      {"flags and a trailing blank", Lines({"&0 1 Deutsch ", "&1 2 English"}), {"Deutsch ", "English"}, false},
      {"a state out of range", Lines({"&1 7 Deutsch "}), {"Deutsch "}, false},
      {"an empty line and a header", Lines({"", "//Europe", "English"}), {"", "//Europe", "English"}, false},
      {"no line end", "Deutsch", {"Deutsch"}, false},
      {"a state that is no number", Lines({"Deutsch", "&0 2 Espanol", "&1 x English ", "Francais"}),
       {"Deutsch", "Espanol"}, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSelectMenu menu({{"Resource\\Language.TXT", c.Text}, {"perivane.ini", Product(1, "111")}});
    TFormMain* f = menu.Form();
    TKxCheckList* list = f->KxCheckListL;
    std::vector<std::string> items;
    auto read = [&] {
      items.clear();
      for (int i = 0; i < list->GetItems()->GetCount(); ++i) items.push_back(list->GetItems()->Get(i));
    };
    if (c.Refused) {
      // The show handler stops at the bad line; the languages before it are
      // read, the stored item is gone.
      EXPECT_THROW(f->FormShow(f), EConvertError);
      read();
      EXPECT_EQ(items, c.Items);
      continue;
    }
    f->FormShow(f);
    read();
    EXPECT_EQ(items, c.Items);
    // Whatever the file said, the show handler starts with every language
    // off and unticked; the product then decides.
    EXPECT_EQ(Ticks(list), std::string(items.size(), '0'));
    f->ApplyProduct();
    EXPECT_EQ(Enabled(list), std::string(std::min<size_t>(items.size(), 3), '1') +
                                 std::string(items.size() > 3 ? items.size() - 3 : 0, '0'));
  }
}

}  // namespace
