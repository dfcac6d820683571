// Settings storage over an INI file and the registry, custom colours, the
// blink timer and the integer list.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "classlib/Registry.h"
#include "classlib/Seams.h"
#include "classlib/SysUtils.h"
#include "kx/foundation/KxCommon.h"
#include "kx/foundation/KxIntLst.h"
#include "kx/foundation/KxSysRes.h"
#include "tests/common/TestSupport.h"

namespace {

TEST(KxStorageTest, ANewStoreWritesAnIniFileNamedAfterTheProgram) {
  Owned<TKxRegIniFile> ini(New<TKxRegIniFile>(nullptr));
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string expected = ChangeFileExt(exe, ".ini");
  EXPECT_EQ(ini->EffectivePath(), expected);
  ini->WriteString("Section", "Name", "value");
  EXPECT_TRUE(FileExists(expected));
  Owned<TIniFile> plain(New<TIniFile>(expected));
  EXPECT_EQ(plain->ReadString("Section", "Name", ""), "value");
  DeleteFileA(expected.c_str());
}

TEST(KxStorageTest, AccessMasksAndRoots) {
  EXPECT_EQ(TKxRegIniFile::AccessMaskOf({keyRead, keyWrite}), DWORD{0x20019 | 0x20006});
  EXPECT_EQ(TKxRegIniFile::AccessMaskOf({keyAllAccess}), DWORD{0xF003F});
  EXPECT_EQ(TKxRegIniFile::AccessMaskOf({keyQueryValue, keyCreateLink}), DWORD{0x21});
  EXPECT_EQ(TKxRegIniFile::RootOf(hkeyClassesRoot), HKEY_CLASSES_ROOT);
  EXPECT_EQ(TKxRegIniFile::RootOf(hkeyCurrentUser), HKEY_CURRENT_USER);
  EXPECT_EQ(TKxRegIniFile::RootOf(hkeyDynData), HKEY_DYN_DATA);
}

// The registry key this test owns, removed at the end.
struct TKeyCleanup {
  std::string Key;
  ~TKeyCleanup() {
    Owned<TRegistry> reg(New<TRegistry>());
    reg->SetRootKey(HKEY_CURRENT_USER);
    reg->DeleteKey(Key);
  }
};

TEST(KxStorageTest, RegistryModeStoresBelowSoftwareTempAndTheApplicationTitle) {
  std::string title = Application->GetTitle();
  Application->SetTitle("Demo");
  TKeyCleanup cleanup{"\\Software\\Temp\\Demo"};
  Owned<TKxRegIniFile> store(New<TKxRegIniFile>(nullptr));
  store->SetPathType(ptRegistry);
  EXPECT_EQ(store->EffectivePath(), "\\Software\\Temp\\Demo");
  store->WriteInteger("Frames", "FrameStyle", 3);
  store->WriteString("Frames", "Name", "x");
  Application->SetTitle(title);
  Owned<TRegistry> reg(New<TRegistry>());
  reg->SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg->OpenKey("\\Software\\Temp\\Demo\\Frames", false));
  EXPECT_EQ(reg->ReadInteger("FrameStyle"), 3);
  EXPECT_EQ(store->ReadInteger("Frames", "FrameStyle", 0), 3);
  reg->CloseKey();
  reg->DeleteKey("\\Software\\Temp\\Demo");
}

TEST(KxStorageTest, RegistrySectionValuesAsTextOfEveryType) {
  std::string key = "\\Software\\KxStorageTest" + std::to_string(GetCurrentProcessId());
  TKeyCleanup cleanup{key};
  Owned<TKxRegIniFile> store(New<TKxRegIniFile>(nullptr));
  store->SetPathType(ptRegistry);
  store->SetPath(key);
  {
    Owned<TRegistry> reg(New<TRegistry>());
    reg->SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg->OpenKey(key + "\\Values", true));
    const uint8_t bytes[] = {10, 255};
    reg->WriteBinaryData("Bin", bytes, 2);
    reg->WriteInteger("Count", -5);
    reg->WriteString("Text", "hello");
    reg->WriteString("", "unnamed");
  }
  Owned<TStringList> lines(New<TStringList>());
  lines->Add("stale");
  store->ReadSectionValues("Values", lines.get());
  EXPECT_EQ(LinesOf(lines.get()), (Lines{"Default=unnamed", "Bin=0A FF ", "Count=-5", "Text=hello"}));
  store->ReadSectionValues("Missing", lines.get());
  EXPECT_EQ(lines->GetCount(), 0);
  // A path ending in a backslash takes the section directly.
  store->SetPath(key + "\\");
  store->ReadSectionValues("Values", lines.get());
  EXPECT_EQ(lines->GetCount(), 4);
}

// Values no typed read takes (a DWORD of another size than four bytes, a
// QWORD, a string list, a value of no type) are listed too, beside the
// others, each as the text the decisions give its type.
TEST(KxStorageTest, RegistrySectionValuesListOddValuesToo) {
  std::string key = "\\Software\\KxStorageOdd" + std::to_string(GetCurrentProcessId());
  TKeyCleanup cleanup{key};
  {
    Owned<TRegistry> reg(New<TRegistry>());
    reg->SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg->OpenKey(key + "\\Odd", true));
    struct TValue {
      const char* Name;
      DWORD Type;
      std::vector<BYTE> Bytes;
    };
    const TValue values[] = {
        {"Dword0", REG_DWORD, {}},
        {"Dword2", REG_DWORD, {0x34, 0x12}},
        {"Dword4", REG_DWORD, {0xFB, 0xFF, 0xFF, 0xFF}},
        {"Dword8", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}},
        {"Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
        {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}},
        {"Bin", REG_BINARY, {10, 255}},
        {"Nothing", REG_NONE, {7}},
        {"Expand", REG_EXPAND_SZ, {'%', 'X', '%', 0}},
    };
    for (const TValue& v : values) {
      SCOPED_TRACE(v.Name);
      ASSERT_EQ(RegSetValueExA(reg->GetCurrentKey(), v.Name, 0, v.Type, v.Bytes.empty() ? nullptr : v.Bytes.data(),
                               static_cast<DWORD>(v.Bytes.size())),
                ERROR_SUCCESS);
    }
  }
  Owned<TKxRegIniFile> store(New<TKxRegIniFile>(nullptr));
  store->SetPathType(ptRegistry);
  store->SetPath(key);
  Owned<TStringList> lines(New<TStringList>());
  store->ReadSectionValues("Odd", lines.get());
  EXPECT_EQ(LinesOf(lines.get()),
            (Lines{"Bin=0A FF ", "Dword0=", "Dword2=34 12 ", "Dword4=-5", "Dword8=01 02 03 04 05 06 07 08 ",
                   "Expand=%X%", "Multi=Unknown Data Type", "Nothing=Unknown Data Type",
                   "Qword=Unknown Data Type"}));
}

TEST(KxStorageTest, CustomColoursLoadFixedUpAndSaveInOrder) {
  TTempFolder folder("kxcolors");
  Owned<TKxRegIniFile> ini(New<TKxRegIniFile>(nullptr));
  ini->SetPath(folder.Path("colors.ini"));
  Owned<TKxCustomColors> colors(New<TKxCustomColors>(nullptr));
  ASSERT_EQ(colors->GetColors()->GetCount(), 16);
  EXPECT_EQ(colors->GetColors()->Get(0), "ColorA=FFFFFF");
  EXPECT_EQ(colors->GetColors()->Get(15), "ColorP=FFFFFF");
  EXPECT_EQ(colors->GetColorName(1), "ColorB");
  EXPECT_EQ(MessageOf<Exception>([&] { colors->Load("Colors"); }),
            "Cannot load Custom Colors--No TKxRegIniFile component specified");
  EXPECT_EQ(MessageOf<Exception>([&] { colors->Save("Colors"); }),
            "Cannot save Custom Colors--No TKxRegIniFile component specified");
  colors->SetRegIniFile(ini.get());
  colors->Save("Colors");
  ini->WriteString("Colors", "ColorB", "ff");
  ini->WriteString("Colors", "ColorC", "1234567");
  colors->Load("Colors");
  EXPECT_EQ(colors->GetColors()->GetValue("ColorB"), "0000ff");
  EXPECT_EQ(colors->GetColors()->GetValue("ColorC"), "234567");
  EXPECT_EQ(colors->GetColors()->GetValue("ColorA"), "ffffff");
  ini->WriteString("Colors", "ColorD", "zz");
  EXPECT_THROW(colors->Load("Colors"), EConvertError);
  ini.reset();
  EXPECT_EQ(colors->GetRegIniFile(), nullptr);
}

// A control that blinks while Blinking is set and records the states.
class TBlinker : public TControl {
  DECLARE_CLASS(TBlinker, TControl)
  explicit TBlinker(TComponent* owner) : TControl(owner) {}
  bool Blinking = true;
  std::vector<int> States;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_GETBLINKING) {
      m.Result = Blinking ? 1 : 0;
      return;
    }
    if (m.Msg == CM_BLINK) {
      States.push_back(static_cast<int>(m.WParam));
      return;
    }
    inherited::Dispatch(m);
  }
};
IMPLEMENT_CLASS(TBlinker)

TEST(KxStorageTest, OneBlinkTimerDrivesEveryBlinkingControlInStep) {
  HWND timerWindow = nullptr;
  UINT_PTR timerId = 0;
  std::vector<UINT> intervals;
  TSeamOverride<decltype(Seams().SetTimer)> set(Seams().SetTimer, [&](HWND w, UINT_PTR id, UINT ms) {
    timerWindow = w, timerId = id;
    intervals.push_back(ms);
    return id;
  });
  TSeamOverride<decltype(Seams().KillTimer)> kill(Seams().KillTimer, [](HWND, UINT_PTR) { return TRUE; });
  ASSERT_EQ(FindBlinkingControlsList(), nullptr);
  Owned<TBlinker> a(New<TBlinker>(nullptr)), b(New<TBlinker>(nullptr)), quiet(New<TBlinker>(nullptr));
  quiet->Blinking = false;
  TKxBlinkingControlsList* list = BlinkingControlsList();
  EXPECT_EQ(list->GetBlinkState(), bsOff);
  list->Add(a.get());
  list->Add(quiet.get());
  list->Add(b.get());
  ASSERT_NE(timerWindow, nullptr);
  EXPECT_EQ(intervals.back(), 500u);
  SendMessageA(timerWindow, WM_TIMER, timerId, 0);
  SendMessageA(timerWindow, WM_TIMER, timerId, 0);
  EXPECT_EQ(a->States, (std::vector<int>{bsOn, bsOff}));
  EXPECT_EQ(b->States, (std::vector<int>{bsOn, bsOff}));
  EXPECT_TRUE(quiet->States.empty());
  list->Remove(a.get());
  list->Remove(quiet.get());
  FreeBlinkingControlsListIfEmpty();
  EXPECT_EQ(FindBlinkingControlsList(), list);
  list->Remove(b.get());
  list->Remove(b.get());  // not there any more: nothing
  FreeBlinkingControlsListIfEmpty();
  EXPECT_EQ(FindBlinkingControlsList(), nullptr);
}

TEST(KxStorageTest, IntegerListSortingAndDuplicates) {
  Owned<TKxIntegerList> list(New<TKxIntegerList>());
  for (int v : {9, 1, 5}) list->Add(v);
  list->SetSorted(true);
  EXPECT_EQ(list->GetItem(0), 1);
  EXPECT_EQ(list->GetItem(2), 9);
  EXPECT_EQ(list->Add(5), 1);  // dupIgnore: the found index, nothing added
  EXPECT_EQ(list->GetCount(), 3);
  list->SetDuplicates(dupError);
  EXPECT_EQ(MessageOf<EListError>([&] { list->Add(5); }), "Duplicates not allowed");
  list->SetDuplicates(dupAccept);
  list->Add(5);
  EXPECT_EQ(list->GetCount(), 4);
  EXPECT_EQ(list->Add(7), 3);
  EXPECT_EQ(MessageOf<EListError>([&] { list->Insert(0, 3); }), "Operation not allowed on sorted list");
  int index = -1;
  EXPECT_FALSE(list->Find(6, index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list->IndexOf(9), 4);
  EXPECT_EQ(list->IndexOf(4), -1);

  Owned<TKxIntegerList> plain(New<TKxIntegerList>());
  plain->Add(3);
  EXPECT_EQ(MessageOf<EListError>([&] { plain->Insert(2, 1); }), "List index out of bounds (2)");
  EXPECT_EQ(MessageOf<EListError>([&] { plain->Delete(1); }), "List index out of bounds (1)");
  EXPECT_EQ(MessageOf<EListError>([&] { plain->GetItem(-1); }), "List index out of bounds (-1)");
}

// A sorted list is not re-sorted by SetItem, and Exchange and Move move
// entries where they are told: a caller that unsorts the list owns the
// result. Index errors are still the list's.
TEST(KxStorageTest, ASortedIntegerListSetsExchangesAndMovesWithoutResorting) {
  struct TCase {
    const char* Name;
    std::function<void(TKxIntegerList*)> Change;
    std::vector<int> Expected;
  };
  const TCase cases[] = {
      {"SetItem", [](TKxIntegerList* l) { l->SetItem(0, 7); }, {7, 5, 5, 9}},
      {"Exchange", [](TKxIntegerList* l) { l->Exchange(0, 3); }, {9, 5, 5, 1}},
      {"Move", [](TKxIntegerList* l) { l->Move(3, 0); }, {9, 1, 5, 5}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Owned<TKxIntegerList> list(New<TKxIntegerList>());
    list->SetSorted(true);
    list->SetDuplicates(dupAccept);
    for (int v : {9, 5, 1, 5}) list->Add(v);
    c.Change(list.get());
    std::vector<int> got;
    for (int i = 0; i < list->GetCount(); ++i) got.push_back(list->GetItem(i));
    EXPECT_EQ(got, c.Expected);
    EXPECT_TRUE(list->GetSorted());
    // Sorting again takes turning it off and on.
    list->SetSorted(false);
    list->SetSorted(true);
    got.clear();
    for (int i = 0; i < list->GetCount(); ++i) got.push_back(list->GetItem(i));
    std::vector<int> sorted = c.Expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(got, sorted);
  }
  Owned<TKxIntegerList> list(New<TKxIntegerList>());
  list->SetSorted(true);
  for (int v : {10, 20}) list->Add(v);
  EXPECT_EQ(MessageOf<EListError>([&] { list->Exchange(0, 9); }), "List index out of bounds (9)");
  EXPECT_EQ(MessageOf<EListError>([&] { list->Move(2, 0); }), "List index out of bounds (2)");
  EXPECT_EQ(MessageOf<EListError>([&] { list->SetItem(-1, 3); }), "List index out of bounds (-1)");
}

TEST(KxStorageTest, IntegerListRange) {
  Owned<TKxIntegerList> list(New<TKxIntegerList>());
  list->Add(-100000);  // Min = Max = 0: anything
  list->Add(3);
  list->Delete(0);
  EXPECT_EQ(MessageOf<EOutOfRange>([&] { list->SetMin(10); }),
            "Unable to set new minimum value.\rList contains values below 10");
  list->SetMin(2);
  EXPECT_EQ(list->GetMax(), 2);  // raised to the minimum... and the list holds 3
  list->SetMax(8);
  EXPECT_EQ(MessageOf<EOutOfRange>([&] { list->Add(9); }), "Value must be within 2..8");
  EXPECT_EQ(MessageOf<EOutOfRange>([&] { list->SetItem(0, 1); }), "Value must be within 2..8");
  EXPECT_EQ(MessageOf<EOutOfRange>([&] { list->SetMax(2); }),
            "Unable to set new maximum value.\rList contains values above 2");
  list->SetMax(1 + 2);
  list->SetMin(3);
  list->SetMax(3);
  EXPECT_EQ(list->GetMin(), 3);
}

TEST(KxStorageTest, FreeSystemResourcesAreZeroOffWindowsNineX) {
  EXPECT_EQ(GetFreeSystemResources(gfsr_GDIResources), 0);
  EXPECT_FALSE(SystemResourcesLibraryLoaded());
}

}  // namespace
