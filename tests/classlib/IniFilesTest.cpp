#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/IniFiles.h"
#include "tests/common/TestSupport.h"

namespace {

// A fresh file name in a scratch folder, removed afterwards.
class IniFileTest : public ::testing::Test {
 protected:
  Owned<TIniFile> Open() { return MakeOwned<TIniFile>(path_); }
  TTempFolder temp_{"IniFilesTest"};
  std::string path_ = temp_.Path("case.ini");
};

TEST_F(IniFileTest, EveryTypeRoundTripsThroughTheFile) {
  std::vector<uint8_t> bytes = {0x00, 0x0A, 0x7F, 0xFF};
  {
    auto ini = Open();
    ini->WriteString("Types", "String", "a=b; c");
    ini->WriteInteger("Types", "Integer", -123456);
    ini->WriteBool("Types", "True", true);
    ini->WriteBool("Types", "False", false);
    ini->WriteFloat("Types", "Float", 1234.5);
    ini->WriteDate("Types", "Date", 36526.0);
    ini->WriteTime("Types", "Time", 0.75);
    ini->WriteDateTime("Types", "DateTime", 36526.5);
    auto stream = MakeOwned<TMemoryStream>();
    stream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
    stream->SetPosition(0);
    ini->WriteBinaryStream("Types", "Binary", stream.get());
    EXPECT_EQ(stream->GetPosition(), 0);
  }
  auto ini = Open();
  EXPECT_EQ(ini->ReadString("Types", "String", ""), "a=b; c");
  EXPECT_EQ(ini->ReadInteger("Types", "Integer", 0), -123456);
  EXPECT_TRUE(ini->ReadBool("Types", "True", false));
  EXPECT_FALSE(ini->ReadBool("Types", "False", true));
  EXPECT_DOUBLE_EQ(ini->ReadFloat("Types", "Float", 0), 1234.5);
  EXPECT_DOUBLE_EQ(ini->ReadDate("Types", "Date", 0), 36526.0);
  EXPECT_NEAR(ini->ReadTime("Types", "Time", 0), 0.75, 1e-8);
  EXPECT_NEAR(ini->ReadDateTime("Types", "DateTime", 0), 36526.5, 1e-8);
  auto stream = MakeOwned<TMemoryStream>();
  EXPECT_EQ(ini->ReadBinaryStream("Types", "Binary", stream.get()), 4);
  ASSERT_EQ(stream->GetSize(), 4);
  EXPECT_EQ(stream->GetPosition(), 0);
  std::vector<uint8_t> back(4);
  stream->ReadBuffer(back.data(), 4);
  EXPECT_EQ(back, bytes);

  // The stored texts are the platform's.
  const struct {
    const char* ident;
    const char* text;
  } stored[] = {{"Integer", "-123456"}, {"True", "1"}, {"False", "0"}, {"Binary", "000A7FFF"}};
  for (const auto& c : stored) {
    SCOPED_TRACE(c.ident);
    EXPECT_EQ(ini->ReadString("Types", c.ident, ""), c.text);
  }
}

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  auto ini = Open();
  EXPECT_EQ(ini->ReadString("S", "K", "dflt"), "dflt");
  EXPECT_EQ(ini->ReadInteger("S", "K", 17), 17);
  EXPECT_TRUE(ini->ReadBool("S", "K", true));
  EXPECT_DOUBLE_EQ(ini->ReadFloat("S", "K", 2.5), 2.5);
  EXPECT_DOUBLE_EQ(ini->ReadDate("S", "K", 100.0), 100.0);
  EXPECT_FALSE(ini->ValueExists("S", "K"));
  EXPECT_FALSE(ini->SectionExists("S"));
  auto stream = MakeOwned<TMemoryStream>();
  EXPECT_EQ(ini->ReadBinaryStream("S", "K", stream.get()), 0);
  EXPECT_EQ(stream->GetSize(), 0);
  auto list = MakeOwned<TStringList>();
  list->Add("stale");
  ini->ReadSections(list.get());
  EXPECT_EQ(list->GetCount(), 0);
  EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "reading created the file";
}

TEST_F(IniFileTest, TextThatIsNoNumberGivesTheDefault) {
  const struct {
    const char* text;
    int integer;  // ReadInteger with default -1
    bool boolean;  // ReadBool with default true
  } cases[] = {
      {"42", 42, true},    {"0", 0, false},     {"$1F", 31, true},  {"0x1F", 31, true},
      {"0X1f", 31, true},  {"-7", -7, true},    {"12abc", -1, true}, {"abc", -1, true},
      {"0x", -1, true},    {"2", 2, true},
  };
  auto ini = Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ini->WriteString("N", "V", c.text);
    EXPECT_EQ(ini->ReadInteger("N", "V", -1), c.integer);
    EXPECT_EQ(ini->ReadBool("N", "V", true), c.boolean);
  }
  ini->WriteString("N", "V", "not a number");
  EXPECT_DOUBLE_EQ(ini->ReadFloat("N", "V", 9.5), 9.5);
  EXPECT_DOUBLE_EQ(ini->ReadDate("N", "V", 9.0), 9.0);
  EXPECT_DOUBLE_EQ(ini->ReadTime("N", "V", 0.5), 0.5);
  EXPECT_DOUBLE_EQ(ini->ReadDateTime("N", "V", 9.5), 9.5);
}

TEST_F(IniFileTest, SectionListings) {
  auto ini = Open();
  ini->WriteString("First", "a", "1");
  ini->WriteString("First", "b", "two words");
  ini->WriteString("Second", "c", "");
  auto list = MakeOwned<TStringList>();
  list->Add("stale");
  ini->ReadSections(list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"First", "Second"}));
  ini->ReadSection("First", list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"a", "b"}));
  ini->ReadSectionValues("First", list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"a=1", "b=two words"}));
  ini->ReadSectionValues("Second", list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"c="}));
  EXPECT_TRUE(ini->SectionExists("first"));
  EXPECT_TRUE(ini->ValueExists("First", "B"));
  EXPECT_TRUE(ini->ValueExists("Second", "c"));
  EXPECT_FALSE(ini->ValueExists("First", "c"));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey) {
  auto ini = Open();
  ini->WriteString("Keep", "a", "1");
  ini->WriteString("Keep", "b", "2");
  ini->WriteString("Gone", "c", "3");
  ini->DeleteKey("Keep", "a");
  ini->EraseSection("Gone");
  ini->DeleteKey("Keep", "missing");
  auto list = MakeOwned<TStringList>();
  ini->ReadSections(list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"Keep"}));
  ini->ReadSectionValues("Keep", list.get());
  EXPECT_EQ(LinesOf(list.get()), (Lines{"b=2"}));
  EXPECT_EQ(ini->ReadString("Gone", "c", "none"), "none");
}

TEST_F(IniFileTest, ValuesAndListsLongerThanTheFirstBuffer) {
  auto ini = Open();
  std::string longValue(5000, 'x');
  longValue += "end";
  ini->WriteString("Long", "Value", longValue);
  EXPECT_EQ(ini->ReadString("Long", "Value", ""), longValue);
  // Over 16 KB of section names.
  const int count = 200;
  const std::string prefix(96, 's');
  for (int i = 0; i < count; ++i) ini->WriteString(prefix + std::to_string(i), "k", "v");
  auto list = MakeOwned<TStringList>();
  ini->ReadSections(list.get());
  ASSERT_EQ(list->GetCount(), count + 1);
  EXPECT_EQ(list->Get(count), prefix + std::to_string(count - 1));
}

TEST_F(IniFileTest, BinaryStreamAtAStreamPosition) {
  auto ini = Open();
  auto source = MakeOwned<TMemoryStream>();
  const char data[] = "skip:payload";
  source->WriteBuffer(data, 12);
  source->SetPosition(5);
  ini->WriteBinaryStream("B", "V", source.get());
  EXPECT_EQ(source->GetPosition(), 5);
  EXPECT_EQ(ini->ReadString("B", "V", ""), "7061796C6F6164");

  // Reading writes at the target's position; a malformed tail is dropped.
  ini->WriteString("B", "W", "4142zz43");
  auto target = MakeOwned<TMemoryStream>();
  target->WriteBuffer("x", 1);
  EXPECT_EQ(ini->ReadBinaryStream("B", "W", target.get()), 2);
  EXPECT_EQ(target->GetSize(), 3);
  EXPECT_EQ(target->GetPosition(), 1);
  char back[2];
  target->ReadBuffer(back, 2);
  EXPECT_EQ(std::string(back, 2), "AB");
}

TEST_F(IniFileTest, FailedWriteRaisesWithTheFileName) {
  std::string path = temp_.Folder() + "\\no-such-folder\\case.ini";
  auto ini = MakeOwned<TIniFile>(path);
  EXPECT_EQ(MessageOf<EIniFileException>([&] { ini->WriteString("S", "K", "V"); }), "Unable to write to " + path);
}

}  // namespace
