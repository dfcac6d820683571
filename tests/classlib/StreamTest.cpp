#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "tests/common/TestSupport.h"

namespace {

std::string ReadAll(TStream* s) {
  std::string out(static_cast<size_t>(s->GetSize()), '\0');
  s->SetPosition(0);
  s->ReadBuffer(out.data(), static_cast<int>(out.size()));
  return out;
}

TEST(StreamTest, MemoryStreamGrowsSeeksAndStopsAtTheEnd) {
  Owned<TMemoryStream> m = MakeOwned<TMemoryStream>();
  std::string block(10000, 'x');
  m->WriteBuffer(block.data(), static_cast<int>(block.size()));
  EXPECT_EQ(m->GetSize(), 10000);
  EXPECT_EQ(m->GetPosition(), 10000);
  EXPECT_EQ(m->GetCapacity(), 16384);  // whole 8 KB steps

  // Writing beyond the end grows the stream; the gap reads as zeros.
  EXPECT_EQ(m->Seek(4, soEnd), 10004);
  m->WriteBuffer("yz", 2);
  EXPECT_EQ(m->GetSize(), 10006);
  char buf[8] = {};
  EXPECT_EQ(m->Seek(-8, soCurrent), 9998);
  EXPECT_EQ(m->Read(buf, 8), 8);
  EXPECT_EQ(std::string(buf, 8), std::string("xx\0\0\0\0yz", 8));

  // Reading past the end gives what is there; ReadBuffer insists on all.
  m->SetPosition(10003);
  EXPECT_EQ(m->Read(buf, 8), 3);
  EXPECT_EQ(m->Read(buf, 8), 0);
  m->SetPosition(10003);
  EXPECT_EQ(MessageOf<EReadError>([&] { m->ReadBuffer(buf, 8); }), "Stream read error");
  m->SetPosition(-1);
  EXPECT_EQ(m->Read(buf, 1), 0);
  EXPECT_EQ(m->Write(buf, 1), 0);

  m->SetPosition(10000);
  m->SetSize(3);
  EXPECT_EQ(m->GetPosition(), 3);  // a shrink pulls the position back to the end
  EXPECT_EQ(ReadAll(m.get()), "xxx");
  m->Clear();
  EXPECT_EQ(m->GetSize(), 0);
  EXPECT_EQ(m->GetMemory(), nullptr);
}

TEST(StreamTest, MemoryThatCannotBeHadRaisesAStreamErrorAndKeepsTheStream) {
  Owned<TMemoryStream> m = MakeOwned<TMemoryStream>();
  m->WriteBuffer("abc", 3);
  const char* what = "Out of memory while expanding memory stream";
  EXPECT_EQ(MessageOf<EStreamError>([&] { m->SetSize(int64_t{1} << 60); }), what);
  m->SetPosition(int64_t{1} << 60);
  EXPECT_EQ(MessageOf<EStreamError>([&] { m->Write("d", 1); }), what);
  EXPECT_EQ(m->GetSize(), 3);
  EXPECT_EQ(ReadAll(m.get()), "abc");
}

TEST(StreamTest, StringStreamAndCopyFrom) {
  Owned<TStringStream> s = MakeOwned<TStringStream>("hello world");
  EXPECT_EQ(s->ReadString(5), "hello");
  s->WriteString("_W");
  EXPECT_EQ(s->GetDataString(), "hello_World");
  EXPECT_EQ(s->Seek(100, soBeginning), 11);  // kept inside the string
  s->WriteString("!");
  EXPECT_EQ(s->GetDataString(), "hello_World!");
  s->SetPosition(6);

  Owned<TMemoryStream> m = MakeOwned<TMemoryStream>();
  EXPECT_EQ(m->CopyFrom(s.get(), 3), 3);  // from the position
  EXPECT_EQ(m->CopyFrom(s.get(), 0), 12);  // the whole source, from its start
  EXPECT_EQ(ReadAll(m.get()), "Worhello_World!");
  EXPECT_EQ(MessageOf<EReadError>([&] { m->CopyFrom(s.get(), 1); }), "Stream read error");
  EXPECT_EQ(m->CopyFrom(s.get(), -1), 0);
  EXPECT_EQ(m->GetSize(), 15);

  Owned<TStringStream> sink = MakeOwned<TStringStream>();
  m->SaveToStream(sink.get());
  EXPECT_EQ(sink->GetDataString(), "Worhello_World!");
}

TEST(StreamTest, BinaryDataAsHexadecimalText) {
  const struct {
    const char* text;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"", {}}, {"00ff7F", {0x00, 0xFF, 0x7F}}, {"4142zz43", {0x41, 0x42}}, {"414", {0x41}}, {"g1", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(HexToBin(c.text), c.bytes);
  }
  const uint8_t all[] = {0x00, 0x0A, 0x7F, 0x80, 0xFF};
  EXPECT_EQ(BinToHex(all, sizeof all), "000A7F80FF");
  EXPECT_EQ(BinToHex(nullptr, 0), "");
}

TEST(StreamTest, ResourceStreams) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  ASSERT_NE(user32, nullptr);
  EXPECT_EQ(MessageOf<EResNotFound>([&] { MakeOwned<TResourceStream>(user32, "NOSUCHFORM", RT_RCDATA); }),
            "Resource NOSUCHFORM not found");
  EXPECT_EQ(MessageOf<EResNotFound>([&] { MakeOwned<TResourceStream>(user32, 32123, RT_RCDATA); }),
            "Resource #32123 not found");

  // Every system module carries a version resource (id 1).
  Owned<TResourceStream> r = MakeOwned<TResourceStream>(user32, 1, RT_VERSION);
  EXPECT_GT(r->GetSize(), 0);
  EXPECT_EQ(MessageOf<EStreamError>([&] { r->Write("x", 1); }),
            "Can't write to a read-only resource stream");
  EXPECT_THROW(r->WriteBuffer("x", 1), EStreamError);
  WORD length = 0;
  r->ReadBuffer(&length, 2);
  EXPECT_EQ(length, r->GetSize());  // VS_VERSIONINFO starts with its own length
}

class StreamFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) { return temp_.Path(name); }
  TTempFolder temp_{"ClasslibStreams"};
};

TEST_F(StreamFileTest, OpenAndCreateErrorsNameTheFile) {
  std::string missing = Path("missing.txt");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { MakeOwned<TFileStream>(missing, fmOpenRead); }),
            "Cannot open file " + missing);
  std::string badFolder = temp_.Folder() + "\\no\\such\\folder.txt";
  EXPECT_EQ(MessageOf<EFCreateError>([&] { MakeOwned<TFileStream>(badFolder, fmCreate); }),
            "Cannot create file " + badFolder);
  EXPECT_THROW(MakeOwned<TStringList>()->LoadFromFile(missing), EFOpenError);
  EXPECT_THROW(MakeOwned<TMemoryStream>()->LoadFromFile(missing), EFOpenError);
  EXPECT_THROW(MakeOwned<TFileStream>(missing, 0x50), EFOpenError);  // no such sharing mode
}

TEST_F(StreamFileTest, FileStreamSharingAndSize) {
  std::string name = Path("data.bin");
  Owned<TFileStream> f = MakeOwned<TFileStream>(name, fmCreate);
  f->WriteBuffer("0123456789", 10);
  f->SetSize(4);
  EXPECT_EQ(f->GetSize(), 4);
  f.reset();

  Owned<TFileStream> reader = MakeOwned<TFileStream>(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_THROW(MakeOwned<TFileStream>(name, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
  Owned<TFileStream> second = MakeOwned<TFileStream>(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(ReadAll(second.get()), "0123");
  EXPECT_EQ(reader->Write("x", 1), 0);  // opened for reading only
  reader.reset();
  second.reset();

  Owned<TFileStream> writer = MakeOwned<TFileStream>(name, fmOpenReadWrite | fmShareExclusive);
  EXPECT_THROW(MakeOwned<TFileStream>(name, fmOpenRead | fmShareDenyNone), EFOpenError);
}

TEST_F(StreamFileTest, StringListLoadsAnyLineEndAndSavesCrLf) {
  std::string name = Path("lines.txt");
  std::string raw = "cr\rlf\ncrlf\r\n\r\nlast";
  MakeOwned<TFileStream>(name, fmCreate)->WriteBuffer(raw.data(), static_cast<int>(raw.size()));
  Owned<TStringList> list = MakeOwned<TStringList>();
  list->LoadFromFile(name);
  EXPECT_EQ(list->GetCount(), 5);
  EXPECT_EQ(list->GetCommaText(), "cr,lf,crlf,,last");

  list->SaveToFile(name);
  Owned<TMemoryStream> bytes = MakeOwned<TMemoryStream>();
  bytes->LoadFromFile(name);
  EXPECT_EQ(ReadAll(bytes.get()), "cr\r\nlf\r\ncrlf\r\n\r\nlast\r\n");

  Owned<TStringList> again = MakeOwned<TStringList>();
  again->LoadFromFile(name);
  EXPECT_TRUE(again->Equals(list.get()));

  // Loading from a stream takes the rest of it, from its position.
  bytes->SetPosition(4);
  again->LoadFromStream(bytes.get());
  EXPECT_EQ(again->GetCommaText(), "lf,crlf,,last");
}

}  // namespace
