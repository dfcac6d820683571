#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Registry.h"
#include "tests/common/TestSupport.h"

namespace {

// The registry enumerates in an order of its own.
Lines Sorted(const TStrings* s) {
  Lines v = LinesOf(s);
  std::sort(v.begin(), v.end());
  return v;
}

// A key of its own directly below HKEY_CURRENT_USER\Software, removed with
// everything in it after the test, whatever happened. No parent is shared
// with the test processes running beside this one: RegCreateKeyEx makes a
// missing path one level at a time, and a shared parent that another process
// deletes once empty can vanish between two of those steps (the create then
// fails with ERROR_KEY_DELETED).
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    path_ = "Software\\PerivaneTest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }
  Owned<TRegistry> OpenTestKey(const std::string& sub = "") {
    auto reg = MakeOwned<TRegistry>();
    EXPECT_TRUE(reg->OpenKey("\\" + path_ + sub, true));
    return reg;
  }
  bool RawKeyExists(const std::string& sub) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (path_ + sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  DWORD RawType(const std::string& sub, const std::string& name) {
    DWORD type = REG_NONE;
    if (RegGetValueA(HKEY_CURRENT_USER, (path_ + sub).c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                     nullptr, nullptr) != ERROR_SUCCESS)
      return 0xFFFFFFFF;
    return type;
  }
  std::string path_;
};

TEST_F(RegistryTest, EveryTypeRoundTrips) {
  const uint8_t bytes[] = {1, 2, 0, 255};
  {
    auto reg = OpenTestKey();
    EXPECT_EQ(reg->GetRootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg->GetAccess(), static_cast<DWORD>(KEY_ALL_ACCESS));
    reg->WriteString("String", "text");
    reg->WriteExpandString("Expand", "%PATH%");
    reg->WriteInteger("Integer", -5);
    reg->WriteBool("Bool", true);
    reg->WriteFloat("Float", 2.75);
    reg->WriteDate("Date", 36526.0);
    reg->WriteTime("Time", 0.25);
    reg->WriteDateTime("DateTime", 36526.25);
    reg->WriteBinaryData("Binary", bytes, sizeof bytes);
    reg->WriteString("", "default value");
  }
  auto reg = MakeOwned<TRegistry>();
  ASSERT_TRUE(reg->OpenKeyReadOnly("\\" + path_));
  EXPECT_EQ(reg->GetAccess(), static_cast<DWORD>(KEY_READ));
  EXPECT_EQ(reg->ReadString("String"), "text");
  EXPECT_EQ(reg->ReadString("Expand"), "%PATH%");
  EXPECT_EQ(reg->ReadString(""), "default value");
  EXPECT_EQ(reg->ReadString("Missing"), "");
  EXPECT_EQ(reg->ReadInteger("Integer"), -5);
  EXPECT_TRUE(reg->ReadBool("Bool"));
  EXPECT_DOUBLE_EQ(reg->ReadFloat("Float"), 2.75);
  EXPECT_DOUBLE_EQ(reg->ReadDate("Date"), 36526.0);
  EXPECT_DOUBLE_EQ(reg->ReadTime("Time"), 0.25);
  EXPECT_DOUBLE_EQ(reg->ReadDateTime("DateTime"), 36526.25);
  uint8_t back[8] = {};
  EXPECT_EQ(reg->ReadBinaryData("Binary", back, sizeof back), 4);
  EXPECT_EQ(std::memcmp(back, bytes, 4), 0);
  EXPECT_EQ(reg->ReadBinaryData("Missing", back, sizeof back), 0);

  const struct {
    const char* name;
    TRegDataType type;
    int size;
  } info[] = {{"String", rdString, 5},  {"Expand", rdExpandString, 7}, {"Integer", rdInteger, 4},
              {"Bool", rdInteger, 4},   {"Float", rdBinary, 8},        {"Date", rdBinary, 8},
              {"Binary", rdBinary, 4},  {"Missing", rdUnknown, -1}};
  for (const auto& c : info) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reg->GetDataType(c.name), c.type);
    EXPECT_EQ(reg->GetDataSize(c.name), c.size);
    EXPECT_EQ(reg->ValueExists(c.name), c.size >= 0);
  }
}

TEST_F(RegistryTest, WrongTypeMissingValueAndFailedWriteRaise) {
  auto reg = OpenTestKey();
  reg->WriteString("Str", "a long string value");
  reg->WriteString("S", "ab");  // as short as a DWORD, still the wrong type
  reg->WriteInteger("Int", 1);
  reg->WriteBinaryData("Bin", "abc", 3);
  uint8_t small[2];
  const struct {
    const char* what;
    std::function<void()> call;
    std::string message;
  } cases[] = {
      {"integer from string", [&] { reg->ReadInteger("Str"); }, "Invalid data type for 'Str'"},
      {"integer from short string", [&] { reg->ReadInteger("S"); }, "Invalid data type for 'S'"},
      {"bool from binary", [&] { reg->ReadBool("Bin"); }, "Invalid data type for 'Bin'"},
      {"string from integer", [&] { reg->ReadString("Int"); }, "Invalid data type for 'Int'"},
      {"float from integer", [&] { reg->ReadFloat("Int"); }, "Invalid data type for 'Int'"},
      {"float from 3 bytes", [&] { reg->ReadDate("Bin"); }, "Invalid data type for 'Bin'"},
      {"binary from string", [&] { reg->ReadBinaryData("Str", small, 2); }, "Invalid data type for 'Str'"},
      {"binary too large", [&] { reg->ReadBinaryData("Bin", small, 2); }, "Invalid data type for 'Bin'"},
      {"missing integer", [&] { reg->ReadInteger("Nope"); }, "Failed to get data for 'Nope'"},
      {"missing float", [&] { reg->ReadFloat("Nope"); }, "Failed to get data for 'Nope'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MessageOf<ERegistryException>(c.call), c.message);
  }
  ASSERT_TRUE(reg->OpenKeyReadOnly("\\" + path_));
  EXPECT_EQ(MessageOf<ERegistryException>([&] { reg->WriteInteger("Int", 2); }), "Failed to set data for 'Int'");
  EXPECT_EQ(reg->ReadInteger("Int"), 1);
  reg->CloseKey();
  EXPECT_EQ(MessageOf<ERegistryException>([&] { reg->WriteString("X", "y"); }), "Failed to set data for 'X'");
}

TEST_F(RegistryTest, RelativeAndAbsolutePaths) {
  auto reg = OpenTestKey();
  EXPECT_EQ(reg->GetCurrentPath(), path_);
  ASSERT_TRUE(reg->OpenKey("Child\\Grandchild", true));
  EXPECT_EQ(reg->GetCurrentPath(), path_ + "\\Child\\Grandchild");
  EXPECT_TRUE(RawKeyExists("\\Child\\Grandchild"));
  // A failed open keeps the current key.
  EXPECT_FALSE(reg->OpenKey("Missing", false));
  EXPECT_EQ(reg->GetCurrentPath(), path_ + "\\Child\\Grandchild");
  EXPECT_FALSE(RawKeyExists("\\Child\\Grandchild\\Missing"));
  EXPECT_TRUE(reg->KeyExists("\\" + path_ + "\\Child"));
  EXPECT_FALSE(reg->KeyExists("Child"));
  ASSERT_TRUE(reg->OpenKey("\\" + path_ + "\\Child", false));
  EXPECT_EQ(reg->GetCurrentPath(), path_ + "\\Child");
  EXPECT_TRUE(reg->KeyExists("Grandchild"));
  EXPECT_TRUE(reg->HasSubKeys());
  EXPECT_TRUE(reg->CreateKey("Other"));
  EXPECT_TRUE(RawKeyExists("\\Child\\Other"));
  reg->CloseKey();
  EXPECT_EQ(reg->GetCurrentKey(), nullptr);
  EXPECT_EQ(reg->GetCurrentPath(), "");
  // With no key open, relative paths start at the root.
  EXPECT_TRUE(reg->KeyExists(path_ + "\\Child"));
}

TEST_F(RegistryTest, NamesOfKeysAndValues) {
  auto reg = OpenTestKey();
  for (const char* v : {"Beta", "alpha", "Gamma"}) reg->WriteString(v, "x");
  reg->WriteInteger("Count", 3);
  for (const char* k : {"K2", "K1"}) reg->CreateKey(k);
  auto list = MakeOwned<TStringList>();
  list->Add("stale");
  reg->GetValueNames(list.get());
  EXPECT_EQ(Sorted(list.get()), (std::vector<std::string>{"Beta", "Count", "Gamma", "alpha"}));
  reg->GetKeyNames(list.get());
  EXPECT_EQ(Sorted(list.get()), (std::vector<std::string>{"K1", "K2"}));
  ASSERT_TRUE(reg->OpenKey("K1", false));
  EXPECT_FALSE(reg->HasSubKeys());
  reg->GetValueNames(list.get());
  EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(RegistryTest, DeleteKeyTakesSubkeysAlong) {
  auto reg = OpenTestKey();
  ASSERT_TRUE(reg->OpenKey("Top\\Mid\\Leaf", true));
  reg->WriteString("v", "1");
  ASSERT_TRUE(reg->OpenKey("\\" + path_ + "\\Top\\Mid2", true));
  reg->WriteInteger("n", 1);
  ASSERT_TRUE(reg->OpenKey("\\" + path_, false));
  reg->CreateKey("Kept");
  EXPECT_FALSE(reg->DeleteKey(""));
  EXPECT_TRUE(RawKeyExists("\\Top\\Mid\\Leaf"));
  EXPECT_TRUE(reg->DeleteKey("Top"));
  EXPECT_FALSE(RawKeyExists("\\Top"));
  EXPECT_TRUE(RawKeyExists("\\Kept"));
  EXPECT_FALSE(reg->DeleteKey("Top"));
  // Absolute path, while another key is open.
  EXPECT_TRUE(reg->DeleteKey("\\" + path_ + "\\Kept"));
  EXPECT_FALSE(RawKeyExists("\\Kept"));
}

TEST_F(RegistryTest, DeleteAndRenameValues) {
  auto reg = OpenTestKey();
  reg->WriteInteger("Old", 7);
  reg->WriteString("Taken", "t");
  const char multi[] = "a\0b\0";
  ASSERT_EQ(RegSetValueExA(reg->GetCurrentKey(), "Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi),
                           sizeof multi),
            ERROR_SUCCESS);
  reg->RenameValue("Old", "New");
  EXPECT_FALSE(reg->ValueExists("Old"));
  EXPECT_EQ(reg->ReadInteger("New"), 7);
  reg->RenameValue("New", "Taken");  // the target exists: nothing happens
  EXPECT_EQ(reg->ReadInteger("New"), 7);
  EXPECT_EQ(reg->ReadString("Taken"), "t");
  reg->RenameValue("Multi", "Multi2");
  EXPECT_EQ(RawType("", "Multi2"), static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(reg->GetDataSize("Multi2"), static_cast<int>(sizeof multi));
  EXPECT_TRUE(reg->DeleteValue("New"));
  EXPECT_FALSE(reg->DeleteValue("New"));
  EXPECT_FALSE(reg->ValueExists("New"));
}

TEST_F(RegistryTest, RootKeyChangeClosesTheCurrentKey) {
  auto reg = OpenTestKey();
  reg->SetLazyWrite(false);
  reg->SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg->GetCurrentKey(), nullptr);
  EXPECT_FALSE(reg->KeyExists(path_));
  reg->SetRootKey(HKEY_CURRENT_USER);
  EXPECT_TRUE(reg->KeyExists(path_));
}

// --- TRegistryIniFile --------------------------------------------------------

TEST_F(RegistryTest, IniFileSectionsAreSubkeysAndValuesKeepTheirTypes) {
  {
    auto ini = MakeOwned<TRegistryIniFile>(path_);
    EXPECT_EQ(ini->GetFileName(), path_);
    EXPECT_EQ(ini->GetRegIniFile()->GetCurrentPath(), path_);
    ini->WriteString("Colors", "ColorA", "FFFFFF");
    ini->WriteString("Colors", "ColorB", "0000ff");
    ini->WriteInteger("Toolbar", "Count", 3);
    ini->WriteBool("Toolbar", "Visible", true);
    ini->WriteFloat("Toolbar", "Ratio", 0.5);
    ini->WriteDate("Toolbar", "When", 36526.0);
    ini->WriteTime("Toolbar", "At", 0.5);
    ini->WriteDateTime("Toolbar", "Stamp", 36526.5);
    auto stream = MakeOwned<TMemoryStream>();
    stream->WriteBuffer("\x0A\xFF", 2);
    stream->SetPosition(0);
    ini->WriteBinaryStream("Toolbar", "Layout", stream.get());
  }
  const struct {
    const char* sub;
    const char* name;
    DWORD type;
  } stored[] = {{"\\Colors", "ColorA", REG_SZ},  {"\\Toolbar", "Count", REG_DWORD}, {"\\Toolbar", "Visible", REG_SZ},
                {"\\Toolbar", "Ratio", REG_BINARY}, {"\\Toolbar", "When", REG_BINARY}, {"\\Toolbar", "At", REG_BINARY},
                {"\\Toolbar", "Stamp", REG_BINARY}, {"\\Toolbar", "Layout", REG_BINARY}};
  for (const auto& c : stored) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RawType(c.sub, c.name), c.type);
  }

  auto ini = MakeOwned<TRegistryIniFile>(path_, KEY_READ);
  EXPECT_EQ(ini->ReadString("Colors", "ColorA", ""), "FFFFFF");
  EXPECT_EQ(ini->ReadInteger("Toolbar", "Count", 0), 3);
  EXPECT_TRUE(ini->ReadBool("Toolbar", "Visible", false));
  EXPECT_DOUBLE_EQ(ini->ReadFloat("Toolbar", "Ratio", 0), 0.5);
  EXPECT_DOUBLE_EQ(ini->ReadDate("Toolbar", "When", 0), 36526.0);
  EXPECT_DOUBLE_EQ(ini->ReadTime("Toolbar", "At", 0), 0.5);
  EXPECT_DOUBLE_EQ(ini->ReadDateTime("Toolbar", "Stamp", 0), 36526.5);
  auto stream = MakeOwned<TMemoryStream>();
  EXPECT_EQ(ini->ReadBinaryStream("Toolbar", "Layout", stream.get()), 2);
  EXPECT_EQ(stream->GetPosition(), 0);
  unsigned char back[2];
  stream->ReadBuffer(back, 2);
  EXPECT_EQ(back[0], 0x0A);
  EXPECT_EQ(back[1], 0xFF);

  auto list = MakeOwned<TStringList>();
  ini->ReadSections(list.get());
  EXPECT_EQ(Sorted(list.get()), (std::vector<std::string>{"Colors", "Toolbar"}));
  list->Add("stale");
  ini->ReadSectionValues("Colors", list.get());
  EXPECT_EQ(Sorted(list.get()), (std::vector<std::string>{"ColorA=FFFFFF", "ColorB=0000ff"}));
  EXPECT_TRUE(ini->SectionExists("Colors"));
  EXPECT_TRUE(ini->ValueExists("Colors", "colora"));
  EXPECT_FALSE(ini->ValueExists("Colors", "ColorC"));
  EXPECT_FALSE(ini->SectionExists("Nothing"));
  ini->ReadSection("Nothing", list.get());
  EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(RegistryTest, IniFileDefaultsAndValuesStoredAsText) {
  auto ini = MakeOwned<TRegistryIniFile>(path_);
  EXPECT_EQ(ini->ReadString("None", "x", "d"), "d");
  EXPECT_EQ(ini->ReadInteger("None", "x", 4), 4);
  EXPECT_DOUBLE_EQ(ini->ReadFloat("None", "x", 1.5), 1.5);
  EXPECT_DOUBLE_EQ(ini->ReadDate("None", "x", 2.0), 2.0);
  EXPECT_FALSE(RawKeyExists("\\None")) << "reading created the section";

  // Text values go through the same conversions as an INI file.
  ini->WriteString("Text", "Hex", "0x10");
  ini->WriteString("Text", "Bad", "ten");
  ini->WriteString("Text", "Float", "not a float");
  ini->WriteString("Text", "Bin", "0AFF");
  EXPECT_EQ(ini->ReadInteger("Text", "Hex", 0), 16);
  EXPECT_EQ(ini->ReadInteger("Text", "Bad", -1), -1);
  EXPECT_DOUBLE_EQ(ini->ReadFloat("Text", "Float", 3.5), 3.5);
  auto stream = MakeOwned<TMemoryStream>();
  EXPECT_EQ(ini->ReadBinaryStream("Text", "Bin", stream.get()), 2);
  // Another registry type raises.
  ini->WriteInteger("Text", "Int", 1);
  EXPECT_EQ(MessageOf<ERegistryException>([&] { ini->ReadFloat("Text", "Int", 0); }), "Invalid data type for 'Int'");
}

TEST_F(RegistryTest, IniFileEraseSectionAndDeleteKey) {
  auto ini = MakeOwned<TRegistryIniFile>(path_);
  ini->WriteString("A", "x", "1");
  ini->WriteString("A", "y", "2");
  ini->WriteString("B\\Deep", "z", "3");
  ini->DeleteKey("A", "x");
  ini->EraseSection("B");
  EXPECT_FALSE(RawKeyExists("\\B"));
  EXPECT_FALSE(ini->ValueExists("A", "x"));
  EXPECT_EQ(ini->ReadString("A", "y", ""), "2");
  ini->EraseSection("");
  EXPECT_TRUE(RawKeyExists("\\A")) << "an empty section name erased the whole key";
}

TEST_F(RegistryTest, IniFileOnAnEmptyNameOpenedAtAnotherRoot) {
  // How a settings component uses it: empty file name, then its own root and
  // an absolute key, created when missing.
  auto ini = MakeOwned<TRegistryIniFile>("", KEY_READ | KEY_WRITE);
  TRegIniFile* reg = ini->GetRegIniFile();
  reg->SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg->OpenKey("\\" + path_ + "\\App", true));
  ini->WriteInteger("Frame", "Style", 2);
  EXPECT_EQ(RawType("\\App\\Frame", "Style"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(ini->ReadInteger("Frame", "Style", 0), 2);
}

}  // namespace
