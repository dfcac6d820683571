// Version information: the ten values read from this test program's own
// version resource (KxStatusTest.rc), from a file without one, from a
// missing file and from copies of this program whose resource is damaged;
// the linked panes and when they are refreshed.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Forms.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxStatus.h"
#include "tests/common/TestSupport.h"

namespace {

std::string OwnPath() {
  char name[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, name, sizeof name);
  return name;
}

std::vector<std::string> AllFields(const TKxVersionInfo* info) {
  std::vector<std::string> out;
  for (int i = 0; i <= vifComments; ++i) out.push_back(info->GetField(i));
  return out;
}

TEST(KxVersionInfo, ReadsTheProgramsOwnResourceWhenNoPathIsGiven) {
  Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
  EXPECT_TRUE(SameText(info->GetFilePath(), OwnPath())) << info->GetFilePath();
  EXPECT_TRUE(info->GetAvailable());
  // LegalTrademarks is missing from the table: an empty value, not the
  // text of a missing resource.
  EXPECT_EQ(AllFields(info.get()),
            (std::vector<std::string>{"Perivane Test Works", "Framed library foundation tests", "3.1.4.159",
                                      "kx_foundation_tests", "Copyright (C) Perivane", "",
                                      "kx_foundation_tests.exe", "Perivane", "3.1",
                                      "Read by the version-information tests"}));
  EXPECT_EQ(info->GetVerField(vifFileVersion), "3.1.4.159");
  EXPECT_EQ(info->GetCustomKeyValue("BuildNote"), "seven");
  EXPECT_EQ(info->GetCustomKeyValue("LegalTrademarks"), SKxValueNotAvailable);
}

TEST(KxVersionInfo, AFileWithoutAResourceAndAMissingFileGiveValueNotAvailable) {
  TTempFolder temp("kxversion");
  std::string plain = temp.Path("plain.txt");
  std::ofstream(plain) << "no version resource in here\r\n";
  for (const std::string& path : {plain, temp.Path("missing.exe")}) {
    SCOPED_TRACE(path);
    Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
    info->SetFilePath(path);
    EXPECT_EQ(info->GetFilePath(), path);
    EXPECT_FALSE(info->GetAvailable());
    EXPECT_EQ(AllFields(info.get()), std::vector<std::string>(10, SKxValueNotAvailable));
    EXPECT_EQ(info->GetCustomKeyValue("CompanyName"), SKxValueNotAvailable);
    EXPECT_EQ(info->GetCustomKeyValue("BuildNote"), SKxValueNotAvailable);
  }
}

TEST(KxVersionInfo, AFieldIndexOutsideTheListRaisesTheListsError) {
  Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
  for (int index : {10, -1}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(MessageOf<EStringListError>([&] { info->GetField(index); }),
              "List index out of bounds (" + std::to_string(index) + ")");
  }
}

TEST(KxVersionInfo, PanesAreLinkedOnceAndTheListGoesWithTheLastOne) {
  Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
  Owned<TKxVersionInfoStatus> a(New<TKxVersionInfoStatus>(nullptr));
  Owned<TKxVersionInfoStatus> b(New<TKxVersionInfoStatus>(nullptr));
  EXPECT_EQ(a->GetField(), vifProductVersion);
  EXPECT_EQ(info->AddStatus(a.get()), 0);
  EXPECT_EQ(info->AddStatus(b.get()), 1);
  EXPECT_EQ(info->AddStatus(a.get()), 0);
  EXPECT_EQ(info->GetStatusCount(), 2);

  info->RemoveStatus(a.get());
  info->RemoveStatus(b.get());
  EXPECT_EQ(info->GetStatusCount(), 0);
  a->SetCaption("untouched");
  info->UpdateStatusControls();
  EXPECT_EQ(a->GetCaption(), "untouched");
  info->RemoveStatus(a.get());  // no list: nothing to do
}

TEST(KxVersionInfo, APaneShowsItsFieldAndFollowsReadsAndFieldChanges) {
  TTempFolder temp("kxversion");
  Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
  Owned<TKxVersionInfoStatus> pane(New<TKxVersionInfoStatus>(nullptr));
  pane->SetVersionInfo(info.get());
  EXPECT_EQ(info->GetStatusCount(), 1);
  EXPECT_EQ(pane->GetCaption(), "3.1");
  pane->SetField(vifFileVersion);
  EXPECT_EQ(pane->GetCaption(), "3.1.4.159");

  // The same path again reads nothing and refreshes nothing.
  pane->SetCaption("stale");
  info->SetFilePath(info->GetFilePath());
  EXPECT_EQ(pane->GetCaption(), "stale");
  info->SetFilePath(temp.Path("missing.exe"));
  EXPECT_EQ(pane->GetCaption(), SKxValueNotAvailable);

  // Another component: the pane leaves the first one's list.
  Owned<TKxVersionInfo> other(New<TKxVersionInfo>(nullptr));
  pane->SetVersionInfo(other.get());
  EXPECT_EQ(info->GetStatusCount(), 0);
  EXPECT_EQ(other->GetStatusCount(), 1);
  EXPECT_EQ(pane->GetCaption(), "3.1.4.159");
}

TEST(KxVersionInfo, FreeingEitherSideLeavesNoDanglingLink) {
  // The component goes: the pane keeps its last caption and no component.
  Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
  Owned<TKxVersionInfoStatus> pane(New<TKxVersionInfoStatus>(nullptr));
  pane->SetVersionInfo(info.get());
  info.reset();
  EXPECT_EQ(pane->GetVersionInfo(), nullptr);
  EXPECT_EQ(pane->GetCaption(), "3.1");

  // The pane goes: the component's next refresh does not reach it.
  info.reset(New<TKxVersionInfo>(nullptr));
  Owned<TKxVersionInfoStatus> second(New<TKxVersionInfoStatus>(nullptr));
  pane->SetVersionInfo(info.get());
  second->SetVersionInfo(info.get());
  pane.reset();
  EXPECT_EQ(info->GetStatusCount(), 1);
  second->SetCaption("before");
  info->UpdateStatusControls();
  EXPECT_EQ(second->GetCaption(), "3.1");
}

TEST(KxVersionInfo, AStoredFormReadsItsPathOnceLoadedAndRefreshesItsPanes) {
  TTempFolder temp("kxversion");
  std::string missing = temp.Path("missing.exe");
  Owned<TForm> form(New<TForm>(nullptr, 0));
  ReadForm("object Form1: TForm\n"
           "  object KxVersionInfo1: TKxVersionInfo\n"
           "    FilePath = '" + missing + "'\n"
           "  end\n"
           "  object Pane1: TKxVersionInfoStatus\n"
           "    Field = vifCompanyName\n"
           "    VersionInfo = KxVersionInfo1\n"
           "  end\n"
           "end\n",
           form.get());
  auto* info = dynamic_cast<TKxVersionInfo*>(form->FindComponent("KxVersionInfo1"));
  auto* pane = dynamic_cast<TKxVersionInfoStatus*>(form->FindComponent("Pane1"));
  ASSERT_TRUE(info && pane);
  EXPECT_EQ(info->GetFilePath(), missing);
  EXPECT_EQ(info->GetVerField(vifCompanyName), SKxValueNotAvailable);
  EXPECT_EQ(pane->GetCaption(), SKxValueNotAvailable);

  // Written back: the path and the pane's field, always.
  std::string text = WriteForm(form.get());
  EXPECT_NE(text.find("FilePath = '" + missing + "'"), std::string::npos) << text;
  EXPECT_NE(text.find("Field = vifCompanyName"), std::string::npos) << text;
}

// --- damaged resources ----------------------------------------------------------------------

// This program's version resource as the file holds it, and where.
struct TOwnResource {
  std::vector<BYTE> Bytes;
  std::streamoff Offset = -1;
};

const TOwnResource& OwnResource() {
  static const TOwnResource resource = [] {
    TOwnResource r;
    auto* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    auto self = reinterpret_cast<HMODULE>(const_cast<BYTE*>(base));
    HRSRC info = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    if (!info) return r;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(self, info)));
    r.Bytes.assign(data, data + SizeofResource(self, info));
    // The file offset of the loaded bytes, through the section that holds
    // them.
    auto rva = static_cast<DWORD>(data - base);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
      if (rva >= section->VirtualAddress && rva - section->VirtualAddress < section->SizeOfRawData)
        r.Offset = rva - section->VirtualAddress + section->PointerToRawData;
    return r;
  }();
  return resource;
}

uint16_t Word(const std::vector<BYTE>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
void SetWord(std::vector<BYTE>& b, size_t at, uint16_t v) {
  b[at] = static_cast<BYTE>(v & 0xFF);
  b[at + 1] = static_cast<BYTE>(v >> 8);
}

// The offset of the child entry named key of the entry at parent (the
// 32-bit layout: length, value length, type, wide key, value, children).
size_t Child(const std::vector<BYTE>& b, size_t parent, const std::wstring& key) {
  auto aligned = [](size_t n) { return (n + 3) & ~size_t{3}; };
  auto keyEnd = [&](size_t at) {
    size_t p = at + 6;
    while (Word(b, p) != 0) p += 2;
    return p + 2;
  };
  size_t value = parent + aligned(keyEnd(parent) - parent);
  size_t child = value + aligned(size_t{Word(b, parent + 2)} * (Word(b, parent + 4) ? 2 : 1));
  for (size_t end = parent + Word(b, parent); child < end; child += aligned(Word(b, child))) {
    std::wstring name;
    for (size_t p = child + 6; Word(b, p) != 0; p += 2) name += static_cast<wchar_t>(Word(b, p));
    if (name == key) return child;
  }
  ADD_FAILURE() << "no entry named " << std::string(key.begin(), key.end());
  return 0;
}

size_t Path(const std::vector<BYTE>& b, std::initializer_list<const wchar_t*> keys) {
  size_t at = 0;
  for (const wchar_t* key : keys) at = Child(b, at, key);
  return at;
}

struct TDamage {
  const char* Name;
  std::function<void(std::vector<BYTE>&)> Apply;
  // False for a change the block's lengths still allow.
  bool Damaged = true;
};

void PrintTo(const TDamage& d, std::ostream* os) { *os << d.Name; }

class KxVersionInfoDamaged : public ::testing::TestWithParam<TDamage> {
 protected:
  // A copy of this program with its resource changed by damage.
  std::string DamagedCopy(const TDamage& damage) {
    const TOwnResource& own = OwnResource();
    EXPECT_FALSE(own.Bytes.empty());
    EXPECT_GE(own.Offset, 0) << "the resource's bytes are not in the file";
    std::string copy = temp.Path("copy.exe");
    EXPECT_TRUE(CopyFileA(OwnPath().c_str(), copy.c_str(), FALSE));
    std::vector<BYTE> bytes = own.Bytes;
    damage.Apply(bytes);
    std::fstream file(copy, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(own.Offset);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return copy;
  }

  TTempFolder temp{"kxversion"};
};

// Nothing is raised and nothing is read past the block: a block whose
// lengths do not fit reads as a resource without a translation or keys.
TEST_P(KxVersionInfoDamaged, ABlockWhoseLengthsDoNotFitReadsAsOneWithoutKeys) {
  const TDamage& damage = GetParam();
  std::string copy = DamagedCopy(damage);
  Owned<TKxVersionInfo> info(New<TKxVersionInfo>(nullptr));
  info->SetFilePath(copy);
  EXPECT_TRUE(info->GetAvailable());
  if (!damage.Damaged) {
    EXPECT_EQ(info->GetVerField(vifCompanyName), "Perivane Test Works");
    EXPECT_EQ(info->GetVerField(vifComments), "Read by the version-information tests");
    EXPECT_EQ(info->GetCustomKeyValue("BuildNote"), "seven");
    return;
  }
  EXPECT_EQ(AllFields(info.get()), std::vector<std::string>(10, ""));
  for (const char* key : {"CompanyName", "BuildNote"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(info->GetCustomKeyValue(key), SKxValueNotAvailable);
  }
  EXPECT_TRUE(info->GetAvailable());
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, KxVersionInfoDamaged,
    ::testing::Values(
        // The machinery itself: an untouched copy reads as the program does.
        TDamage{"untouched", [](std::vector<BYTE>&) {}, false},
        // The system writes its ANSI copies at the root's length past the
        // block's start.
        TDamage{"rootLengthOfAllOnes", [](std::vector<BYTE>& b) { SetWord(b, 0, 0xFFFF); }},
        TDamage{"rootLengthJustPastTheResource",
                [](std::vector<BYTE>& b) { SetWord(b, 0, static_cast<uint16_t>(b.size() + 8)); }},
        TDamage{"rootLengthZero", [](std::vector<BYTE>& b) { SetWord(b, 0, 0); }},
        // The last child of the root reaches past it.
        TDamage{"childPastItsParent",
                [](std::vector<BYTE>& b) {
                  size_t at = Path(b, {L"VarFileInfo"});
                  SetWord(b, at, static_cast<uint16_t>(Word(b, 0) - at + 16));
                }},
        TDamage{"entryOfLengthZero",
                [](std::vector<BYTE>& b) {
                  SetWord(b, Path(b, {L"StringFileInfo", L"040904E4", L"CompanyName"}), 0);
                }},
        // The string table ends inside its last string.
        TDamage{"truncatedStringTable",
                [](std::vector<BYTE>& b) {
                  size_t table = Path(b, {L"StringFileInfo", L"040904E4"});
                  size_t last = Child(b, table, L"BuildNote");
                  SetWord(b, table, static_cast<uint16_t>(last - table + 12));
                }},
        TDamage{"translationValuePastItsEntry",
                [](std::vector<BYTE>& b) { SetWord(b, Path(b, {L"VarFileInfo", L"Translation"}) + 2, 0x4000); }},
        TDamage{"keyWithoutItsZero",
                [](std::vector<BYTE>& b) {
                  size_t at = Path(b, {L"StringFileInfo", L"040904E4", L"BuildNote"});
                  for (size_t p = at + 6; p < at + Word(b, at); p += 2)
                    if (Word(b, p) == 0) SetWord(b, p, 'x');
                }},
        // A string value counted in bytes, as some resource compilers write
        // it, runs past its entry but stays in the resource: still read.
        TDamage{"stringLengthCountedInBytes",
                [](std::vector<BYTE>& b) {
                  size_t at = Path(b, {L"StringFileInfo", L"040904E4", L"CompanyName"});
                  SetWord(b, at + 2, static_cast<uint16_t>(Word(b, at + 2) * 2));
                },
                false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
