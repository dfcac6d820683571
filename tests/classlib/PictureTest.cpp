#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "classlib/Graphics.h"
#include "classlib/Jpeg.h"
#include "classlib/classes/Filer.h"
#include "classlib/classes/Streams.h"
#include "tests/classlib/GraphicsTestUtil.h"
#include "tests/classlib/JpegFixture.h"

using namespace graphics_test;

// A graphic class of its own, as another library would register one. It
// remembers the file it was asked to load instead of reading it.
class TTestGraphic : public TGraphic {
  DECLARE_CLASS(TTestGraphic, TGraphic)

  void Draw(TCanvas*, const TRect&) override {}
  bool GetEmpty() const override { return loaded_.empty(); }
  int GetWidth() const override { return 7; }
  int GetHeight() const override { return 5; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromFile(const std::string& fileName) override {
    if (fileName.find("bad") != std::string::npos) throw EInvalidGraphic("bad test graphic");
    loaded_ = fileName;
  }
  void LoadFromStream(TStream* s) override {
    char c = 0;
    s->ReadBuffer(&c, 1);
    loaded_ = std::string(1, c);
  }
  void SaveToStream(TStream* s) override { s->WriteBuffer(loaded_.data(), 1); }
  void LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) override {}
  void SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) override {}
  std::string loaded_;
};
IMPLEMENT_CLASS(TTestGraphic)

namespace {

struct TChangeCounter {
  int n = 0;
  void OnChange(TObject*) { ++n; }
};

class PictureTest : public testing::Test {
 protected:
  void SetUp() override { TPicture::RegisterFileFormat("tst", "Test pictures", TTestGraphic::StaticClass()); }
  void TearDown() override { TPicture::UnregisterGraphicClass(TTestGraphic::StaticClass()); }
};

TEST_F(PictureTest, LoadFromFileChoosesTheClassByExtension) {
  Owned<TPicture> p = MakeOwned<TPicture>();
  TChangeCounter changes;
  p->SetOnChange(TNotifyEvent(&changes, &TChangeCounter::OnChange));
  p->LoadFromFile("C:\\pics\\Product.TST");
  auto* g = dynamic_cast<TTestGraphic*>(p->GetGraphic());
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->loaded_, "C:\\pics\\Product.TST");
  EXPECT_EQ(p->GetWidth(), 7);
  EXPECT_EQ(changes.n, 1);

  // A failed load leaves the picture as it was.
  EXPECT_THROW(p->LoadFromFile("bad.tst"), EInvalidGraphic);
  EXPECT_EQ(p->GetGraphic(), g);

  struct {
    const char* file;
    const char* message;
  } unknown[] = {
      {"picture.xyz", "Unknown picture file extension (.xyz)"},
      {"C:\\a.b\\noext", "Unknown picture file extension (.)"},
  };
  for (auto& c : unknown) {
    SCOPED_TRACE(c.file);
    try {
      p->LoadFromFile(c.file);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.GetMessage(), c.message);
    }
    EXPECT_EQ(p->GetGraphic(), g);
  }
}

TEST_F(PictureTest, BmpFilesBecomeBitmaps) {
  char dir[MAX_PATH], file[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  GetTempFileNameA(dir, "pic", 0, file);
  std::string path = std::string(file) + ".Bmp";
  auto b = MakeBitmap(3, 2, pf24bit, clNavy);
  b->SaveToFile(path);
  Owned<TPicture> p = MakeOwned<TPicture>();
  p->LoadFromFile(path);
  ASSERT_NE(dynamic_cast<TBitmap*>(p->GetGraphic()), nullptr);
  EXPECT_EQ(p->GetWidth(), 3);
  EXPECT_EQ(PixelAt(p->GetBitmap(), 2, 1), clNavy);
  DeleteFileA(path.c_str());
  DeleteFileA(file);
}

TEST_F(PictureTest, TheGraphicsChangesReachThePicture) {
  Owned<TPicture> p = MakeOwned<TPicture>();
  TChangeCounter changes;
  p->SetOnChange(TNotifyEvent(&changes, &TChangeCounter::OnChange));
  TBitmap* b = p->GetBitmap();  // made on demand
  EXPECT_EQ(changes.n, 1);
  EXPECT_EQ(p->GetBitmap(), b);
  EXPECT_EQ(changes.n, 1);
  b->SetTransparent(true);
  EXPECT_EQ(changes.n, 2);
  b->SetTransparent(true);  // no change, no event
  EXPECT_EQ(changes.n, 2);
  b->SetSize(4, 4);
  EXPECT_EQ(changes.n, 3);
  b->GetCanvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(changes.n, 4);
}

TEST_F(PictureTest, AssignCopiesTheGraphic) {
  Owned<TPicture> a = MakeOwned<TPicture>(), b = MakeOwned<TPicture>();
  a->GetBitmap()->Assign(MakeBitmap(2, 2, pf24bit, clMaroon).get());
  b->Assign(a.get());
  ASSERT_NE(b->GetGraphic(), nullptr);
  EXPECT_NE(b->GetGraphic(), a->GetGraphic());
  EXPECT_EQ(PixelAt(b->GetBitmap(), 1, 1), clMaroon);
  b->Assign(nullptr);
  EXPECT_EQ(b->GetGraphic(), nullptr);
  EXPECT_EQ(b->GetWidth(), 0);
}

TEST_F(PictureTest, StoredDataNamesTheClassThenItsData) {
  Owned<TPicture> p = MakeOwned<TPicture>();
  p->GetBitmap()->Assign(MakeBitmap(2, 1, pf24bit, clOlive).get());
  Owned<TMemoryStream> s = MakeOwned<TMemoryStream>();
  p->WriteData(s.get());
  auto* bytes = static_cast<const uint8_t*>(s->GetMemory());
  ASSERT_EQ(bytes[0], 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 1), 7), "TBitmap");
  s->SetPosition(0);
  Owned<TPicture> q = MakeOwned<TPicture>();
  q->ReadData(s.get());
  EXPECT_EQ(PixelAt(q->GetBitmap(), 1, 0), clOlive);

  // A graphic class of another library, found by its registered format.
  Owned<TPicture> t = MakeOwned<TPicture>();
  t->ForceType(TTestGraphic::StaticClass());
  static_cast<TTestGraphic*>(t->GetGraphic())->loaded_ = "Z";
  Owned<TMemoryStream> s2 = MakeOwned<TMemoryStream>();
  t->WriteData(s2.get());
  s2->SetPosition(0);
  q->ReadData(s2.get());
  ASSERT_NE(dynamic_cast<TTestGraphic*>(q->GetGraphic()), nullptr);
  EXPECT_EQ(static_cast<TTestGraphic*>(q->GetGraphic())->loaded_, "Z");
}

TEST_F(PictureTest, FiltersListTheRegisteredFormats) {
  EXPECT_EQ(GraphicExtension(TBitmap::StaticClass()), "bmp");
  EXPECT_EQ(GraphicExtension(TTestGraphic::StaticClass()), "tst");
  EXPECT_EQ(GraphicFilter(TTestGraphic::StaticClass()), "Test pictures (*.tst)|*.tst");
  std::string all = GraphicFilter(TGraphic::StaticClass());
  EXPECT_EQ(all.rfind("All (", 0), 0u) << all;
  EXPECT_NE(all.find("Bitmaps (*.bmp)|*.bmp"), std::string::npos) << all;
  EXPECT_NE(all.find("Test pictures (*.tst)|*.tst"), std::string::npos) << all;
  TPicture::UnregisterGraphicClass(TTestGraphic::StaticClass());
  EXPECT_EQ(FindGraphicClassByExtension("TST"), nullptr);
  EXPECT_EQ(FindGraphicClassByExtension("BMP"), TBitmap::StaticClass());
}

}  // namespace

// A component holding a picture, a bitmap and a font, as forms' controls do.
class TPictureHolder : public TComponent {
  DECLARE_CLASS(TPictureHolder, TComponent)

  explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
  ~TPictureHolder() override {
    FreeObject(picture_);
    FreeObject(glyph_);
    FreeObject(font_);
  }
  TFont* GetFont() const { return font_; }
  void SetFont(TFont* v) { font_->Assign(v); }
  TPicture* GetPicture() const { return picture_; }
  void SetPicture(TPicture* v) { picture_->Assign(v); }
  TBitmap* GetGlyph() const { return glyph_; }
  void SetGlyph(TBitmap* v) { glyph_->Assign(v); }

 private:
  TPicture* picture_ = New<TPicture>();
  TBitmap* glyph_ = New<TBitmap>();
  TFont* font_ = New<TFont>();
};
PUBLISHED(TPictureHolder) {
  p.Prop("Picture", &TPictureHolder::GetPicture, &TPictureHolder::SetPicture);
  p.Prop("Glyph", &TPictureHolder::GetGlyph, &TPictureHolder::SetGlyph);
  p.Prop("Font", &TPictureHolder::GetFont, &TPictureHolder::SetFont);
}

namespace {

std::string WriteForm(TComponent* root, TComponent* ancestor = nullptr) {
  Owned<TStringStream> s(New<TStringStream>());
  Owned<TWriter> w(New<TWriter>(s.get()));
  w->WriteDescendent(root, ancestor);
  return s->GetDataString();
}

void ReadForm(const std::string& text, TComponent* root) {
  Owned<TStringStream> s(New<TStringStream>(text));
  s->ReadComponent(root);
}

TEST_F(PictureTest, StoredFormsCarryPicturesAndBitmapsAsData) {
  Owned<TPictureHolder> a(New<TPictureHolder>(nullptr));
  a->SetName("Holder");
  // Empty graphics are not written.
  EXPECT_EQ(WriteForm(a.get()).find("Data"), std::string::npos);

  a->GetPicture()->GetBitmap()->Assign(MakeBitmap(3, 2, pf24bit, clPurple).get());
  a->GetGlyph()->Assign(MakeBitmap(2, 2, pf8bit, clGreen).get());
  std::string text = WriteForm(a.get());
  // The picture's data names its class first ("TBitmap" behind its length),
  // the bitmap's starts with the length of its file.
  EXPECT_NE(text.find("Picture.Data = {\r\n    07544269746D6170"), std::string::npos) << text;
  EXPECT_NE(text.find("Glyph.Data = {"), std::string::npos) << text;
  // Fonts write their colour and character set as identifiers.
  for (const char* line : {"Font.Charset = DEFAULT_CHARSET", "Font.Color = clWindowText", "Font.Name = 'MS Sans Serif'",
                           "Font.Style = []"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  EXPECT_EQ(text.find("Font.Size"), std::string::npos);

  Owned<TPictureHolder> b(New<TPictureHolder>(nullptr));
  ReadForm(text, b.get());
  ASSERT_NE(dynamic_cast<TBitmap*>(b->GetPicture()->GetGraphic()), nullptr);
  EXPECT_EQ(PixelAt(b->GetPicture()->GetBitmap(), 2, 1), clPurple);
  EXPECT_EQ(b->GetGlyph()->GetPixelFormat(), pf8bit);
  EXPECT_EQ(b->GetGlyph()->GetCanvas()->GetPixels(1, 1), clGreen);
  ReadForm("object Holder: TPictureHolder\n  Font.Color = clHighlight\n  Font.Charset = SYMBOL_CHARSET\n"
           "  Font.Style = [fsBold]\nend\n",
           b.get());
  EXPECT_EQ(b->GetFont()->GetColor(), clHighlight);
  EXPECT_EQ(b->GetFont()->GetCharset(), SYMBOL_CHARSET);
  EXPECT_TRUE(b->GetFont()->GetStyle().Contains(fsBold));

  // A descendant with the ancestor's graphics writes none of them.
  EXPECT_EQ(WriteForm(b.get(), a.get()).find("Data"), std::string::npos);
  b->GetGlyph()->GetCanvas()->SetPixels(0, 0, clRed);
  std::string changed = WriteForm(b.get(), a.get());
  EXPECT_NE(changed.find("Glyph.Data"), std::string::npos);
  EXPECT_EQ(changed.find("Picture.Data"), std::string::npos);
}

// Every graphic class of the class library goes into a stored picture as its
// class name and its own data, and comes back as the same class with the
// same saved bytes, drawing the same pixels.
TEST_F(PictureTest, StoredFormsCarryEveryGraphicClassInAPicture) {
  auto bitmap = MakeBitmap(6, 4, pf24bit, clTeal);
  bitmap->GetCanvas()->SetPixels(1, 1, clYellow);
  Owned<TJPEGImage> jpeg = MakeOwned<TJPEGImage>();
  jpeg_fixture::TJpegSpec spec;
  spec.Width = 8;
  spec.Height = 6;
  jpeg->LoadFromStream(StreamOf(jpeg_fixture::EncodeJpeg(spec, [](int x, int y, int k) {
                         return uint8_t(k == 0 ? 40 + x * 20 : k == 1 ? 60 + y * 20 : 200);
                       })).get());
  Owned<TIcon> icon = MakeOwned<TIcon>();
  {
    // Opaque on the left, transparent (AND bits set) on the right; the
    // colour bits white.
    BYTE andBits[32 * 4], xorBits[32 * 4];
    for (int i = 0; i < 32 * 4; ++i) andBits[i] = i % 4 >= 2 ? 0xFF : 0x00, xorBits[i] = 0xFF;
    icon->SetHandle(CreateIcon(nullptr, 32, 32, 1, 1, andBits, xorBits));
  }
  Owned<TMetafile> metafile = MakeRedMetafile(30, 20);
  auto drawn = [](TGraphic* g) { return DrawnOnNavy(g, 40); };
  struct {
    const char* ClassName;
    TGraphic* Graphic;
  } cases[] = {{"TBitmap", bitmap.get()}, {"TJPEGImage", jpeg.get()}, {"TIcon", icon.get()},
               {"TMetafile", metafile.get()}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.ClassName);
    Owned<TPictureHolder> a(New<TPictureHolder>(nullptr));
    a->SetName("Holder");
    a->GetPicture()->SetGraphic(c.Graphic);
    std::string text = WriteForm(a.get());
    // The data begin with the class name behind its length byte.
    char head[32];
    std::snprintf(head, sizeof head, "Picture.Data = {\r\n    %02X", static_cast<unsigned>(std::strlen(c.ClassName)));
    std::string expected = head;
    for (const char* p = c.ClassName; *p; ++p) {
      std::snprintf(head, sizeof head, "%02X", static_cast<unsigned char>(*p));
      expected += head;
    }
    EXPECT_NE(text.find(expected), std::string::npos) << text;

    Owned<TPictureHolder> b(New<TPictureHolder>(nullptr));
    ReadForm(text, b.get());
    TGraphic* g = b->GetPicture()->GetGraphic();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->ClassName(), c.ClassName);
    EXPECT_EQ(g->GetWidth(), c.Graphic->GetWidth());
    EXPECT_EQ(g->GetHeight(), c.Graphic->GetHeight());
    EXPECT_TRUE(g->Equals(c.Graphic));
    EXPECT_EQ(drawn(g), drawn(c.Graphic));
    // Written again, the form is the same text.
    EXPECT_EQ(WriteForm(b.get()), text);
  }
}

}  // namespace
