// The history combo box: the stored history read and written through a
// TKxRegIniFile (INI file and registry), damaged and gapped stored entries,
// recording entries, the edit menu's items and the removal of an entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/IniFiles.h"
#include "classlib/Registry.h"
#include "classlib/SysUtils.h"
#include "tests/common/TestSupport.h"
#include "tests/kx/controls/KxComboTestSupport.h"

using namespace kxc_test;

namespace {

// An INI file of the test's own, removed at the end.
class TScratchIni {
 public:
  explicit TScratchIni(const std::string& name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    path_ = std::string(dir) + name + IntToStr(static_cast<int>(GetCurrentProcessId())) + ".ini";
    DeleteFileA(path_.c_str());
  }
  ~TScratchIni() { DeleteFileA(path_.c_str()); }
  const std::string& Path() const { return path_; }
  // The file's section as name=value lines.
  std::vector<std::string> Section(const std::string& section) const {
    Owned<TIniFile> ini(New<TIniFile>(path_));
    Owned<TStringList> lines(New<TStringList>());
    ini->ReadSectionValues(section, lines.get());
    return LinesOf(lines.get());
  }
  void Write(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) const {
    Owned<TIniFile> ini(New<TIniFile>(path_));
    for (const auto& [name, value] : values) ini->WriteString(section, name, value);
  }

 private:
  std::string path_;
};

class KxMRUComboTest : public ::testing::Test {
 protected:
  KxMRUComboTest() : ini("KxMRU") {
    store = New<TKxRegIniFile>(nullptr);
    store->SetPath(ini.Path());
  }
  ~KxMRUComboTest() override { store->Free(); }

  TKxMRUComboBox* MakeCombo(const std::vector<std::string>& items = {}) {
    auto* combo = host.Add<TKxMRUComboBox>(10, 10, 160, 24);
    combo->SetMruRegIniFile(store);
    combo->SetMruSection("History");
    combo->SetMruID("Find");
    for (const auto& s : items) combo->Add(s);
    return combo;
  }

  TScratchIni ini;
  TKxRegIniFile* store = nullptr;
  TControlHost host;
};

TEST_F(KxMRUComboTest, AtMostMaxHistoryEntriesAreStoredAndHigherNumbersRemoved) {
  auto* combo = MakeCombo();
  for (int i = 0; i < 30; ++i) combo->Add("entry " + IntToStr(i));
  combo->SaveMRUData();
  std::vector<std::string> expected = {"Find_Count=25"};
  for (int i = 0; i < 25; ++i) expected.push_back("Find_Item" + IntToStr(i) + "=entry " + IntToStr(i));
  EXPECT_EQ(ini.Section("History"), expected);

  // Fewer entries: the numbers from the count up to MaxHistory go.
  while (combo->Count() > 3) combo->Delete(3);
  combo->SaveMRUData();
  EXPECT_EQ(ini.Section("History"), (std::vector<std::string>{"Find_Count=3", "Find_Item0=entry 0",
                                                              "Find_Item1=entry 1", "Find_Item2=entry 2"}));

  // A lower MaxHistory leaves what lies above it untouched; the count
  // limits what is read.
  ini.Write("History", {{"Find_Item30", "stale"}});
  combo->SetMaxHistory(2);
  combo->SaveMRUData();
  EXPECT_EQ(ini.Section("History"),
            (std::vector<std::string>{"Find_Count=2", "Find_Item0=entry 0", "Find_Item1=entry 1",
                                      "Find_Item2=entry 2", "Find_Item30=stale"}));
  auto* reader = MakeCombo();
  reader->LoadMRUData(false);
  EXPECT_EQ(LinesOf(reader->GetItems()), (std::vector<std::string>{"entry 0", "entry 1"}));
}

struct TLoadCase {
  const char* Name;
  std::vector<std::pair<std::string, std::string>> Stored;
  std::vector<std::string> Before;
  bool Reorder;
  std::vector<std::string> After;
};

void PrintTo(const TLoadCase& c, std::ostream* os) { *os << c.Name; }

class KxMRULoadTest : public KxMRUComboTest, public ::testing::WithParamInterface<TLoadCase> {};

TEST_P(KxMRULoadTest, StoredEntriesJoinTheItems) {
  const TLoadCase& c = GetParam();
  ini.Write("History", c.Stored);
  auto* combo = MakeCombo(c.Before);
  combo->LoadMRUData(c.Reorder);
  EXPECT_EQ(LinesOf(combo->GetItems()), c.After);
  EXPECT_TRUE(combo->GetLoaded());
}

INSTANTIATE_TEST_SUITE_P(
    Stores, KxMRULoadTest,
    ::testing::Values(
        TLoadCase{"reorderPutsStoredFirst", {{"Find_Count", "2"}, {"Find_Item0", "b"}, {"Find_Item1", "a"}},
                  {"a", "c"}, true, {"b", "a", "c"}},
        TLoadCase{"appendOnlyWithoutReorder", {{"Find_Count", "2"}, {"Find_Item0", "b"}, {"Find_Item1", "a"}},
                  {"a", "c"}, false, {"a", "c", "b"}},
        TLoadCase{"emptyEntriesAreSkipped",
                  {{"Find_Count", "4"}, {"Find_Item0", "b"}, {"Find_Item1", ""}, {"Find_Item2", "x"}},
                  {"a", "c"}, true, {"b", "a", "x", "c"}},
        // The entry numbered past the items after a gap lands at the end.
        TLoadCase{"gapBeforeALaterEntry",
                  {{"Find_Count", "3"}, {"Find_Item0", ""}, {"Find_Item1", ""}, {"Find_Item2", "z"}},
                  {}, true, {"z"}},
        TLoadCase{"gapWithItemsAlready",
                  {{"Find_Count", "5"}, {"Find_Item0", "q"}, {"Find_Item3", ""}, {"Find_Item4", "r"}},
                  {"p"}, true, {"q", "p", "r"}},
        TLoadCase{"countThatIsNoNumber", {{"Find_Count", "many"}, {"Find_Item0", "b"}}, {"a"}, true, {"a"}},
        TLoadCase{"countBeyondTheEntries", {{"Find_Count", "9"}, {"Find_Item0", "b"}}, {}, true, {"b"}},
        TLoadCase{"nothingStored", {}, {"a"}, true, {"a"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// A damaged count over a few real entries reads what is stored, as a sane
// count does: gaps stay gaps, the count still limits the numbers read, and
// reading does not walk every number up to the count (a count near 2^31
// would not finish).
TEST_F(KxMRUComboTest, AHugeStoredCountReadsOnlyTheEntriesThere) {
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"Find_Item0", "b"},  {"Find_Item2", ""},       {"Find_Item3", "c"},     {"find_item5", "a"},
      {"Find_Item07", "x"}, {"Find_Item+8", "y"},     {"Find_Item9x", "z"},    {"Other_Item1", "o"},
      {"Find_Item30000", "far"}};
  TScratchRegistryKey scratch("MRUCount");
  struct TMode {
    const char* Name;
    bool Registry;
  };
  struct TCount {
    const char* Count;
    std::vector<std::string> After;
  };
  int run = 0;
  for (TMode mode : {TMode{"INI file", false}, TMode{"registry", true}}) {
    for (const TCount& c : {TCount{"9", {"b", "p", "c", "a"}}, TCount{"20000", {"b", "p", "c", "a"}},
                            TCount{"2147483647", {"b", "p", "c", "a", "far"}}}) {
      SCOPED_TRACE(std::string(mode.Name) + ", count " + c.Count);
      auto* combo = MakeCombo({"p"});
      Owned<TKxRegIniFile> registry(New<TKxRegIniFile>(nullptr));
      registry->SetPathType(ptRegistry);
      registry->SetPath(scratch.Key());
      TKxRegIniFile* target = mode.Registry ? registry.get() : store;
      std::string section = "History" + IntToStr(++run);
      target->WriteString(section, "Find_Count", c.Count);
      for (const auto& [name, value] : entries) target->WriteString(section, name, value);
      combo->SetMruSection(section);
      if (mode.Registry) {
        combo->SetMruRegIniFile(nullptr);
        combo->SetMruPath(scratch.Key());
      }
      combo->LoadMRUData(true);
      EXPECT_EQ(LinesOf(combo->GetItems()), c.After);
      EXPECT_TRUE(combo->GetLoaded());
      combo->Free();
    }
  }
}

TEST_F(KxMRUComboTest, WithoutAPathOrStoreNothingIsReadOrWritten) {
  ini.Write("History", {{"Find_Count", "1"}, {"Find_Item0", "b"}});
  auto* combo = MakeCombo({"a"});
  combo->SetMruRegIniFile(nullptr);
  EXPECT_FALSE(combo->HasStore());
  combo->LoadMRUData(true);
  EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"a"}));
  combo->SaveMRUData();
  EXPECT_EQ(ini.Section("History"), (std::vector<std::string>{"Find_Count=1", "Find_Item0=b"}));
  // Without a section or an id neither.
  combo->SetMruRegIniFile(store);
  combo->SetMruSection("");
  EXPECT_FALSE(combo->HasStore());
}

TEST_F(KxMRUComboTest, AStoreOfTheRegistryPathIsMadeForEachOperation) {
  TScratchRegistryKey scratch("MRU");
  const std::string& key = scratch.Key();
  auto* combo = MakeCombo({"one", "two"});
  combo->SetMruRegIniFile(nullptr);
  combo->SetMruPath(key);
  combo->SaveMRUData();
  Owned<TRegistry> reg(New<TRegistry>());
  reg->SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg->OpenKeyReadOnly(key + "\\History"));
  EXPECT_EQ(reg->ReadInteger("Find_Count"), 2);
  EXPECT_EQ(reg->ReadString("Find_Item1"), "two");
  reg->CloseKey();
  auto* reader = MakeCombo();
  reader->SetMruRegIniFile(nullptr);
  reader->SetMruPath(key);
  reader->LoadMRUData(true);
  EXPECT_EQ(LinesOf(reader->GetItems()), (std::vector<std::string>{"one", "two"}));
}

TEST_F(KxMRUComboTest, EnterRecordsTheTextOnTopOnceAndSavesIt) {
  auto* combo = MakeCombo({"alpha", "beta"});
  TEventCounter entered, escaped;
  combo->SetOnEnterKeyPressed(entered.Event());
  combo->SetOnEscapeKeyPressed(escaped.Event());
  int keyPresses = 0;
  struct TKeys {
    int* n;
    void Pressed(TObject*, char&) { ++*n; }
  } keys{&keyPresses};
  combo->SetOnKeyPress(TKeyPressEvent(&keys, &TKeys::Pressed));
  combo->ForceText("gamma");
  PressKey(combo, VK_RETURN, '\r');
  EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"gamma", "alpha", "beta"}));
  combo->ForceText("beta");
  PressKey(combo, VK_RETURN, '\r');
  EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"beta", "gamma", "alpha"}));
  EXPECT_EQ(combo->GetText(), "beta");
  EXPECT_EQ(entered.Count, 2);
  PressKey(combo, VK_ESCAPE, '\x1b');
  EXPECT_EQ(escaped.Count, 1);
  EXPECT_EQ(keyPresses, 0) << "Enter and Escape do not reach OnKeyPress";
  EXPECT_EQ(ini.Section("History"),
            (std::vector<std::string>{"Find_Count=3", "Find_Item0=beta", "Find_Item1=gamma", "Find_Item2=alpha"}));
  // An empty text records nothing.
  combo->ForceText("");
  combo->UpdateMRUList();
  EXPECT_EQ(combo->Count(), 3);
}

// After Enter the history sets its text again keeping what was typed (the
// completed tail stays selected); a text that OnEnterKeyPressed empties
// stays empty.
TEST_F(KxMRUComboTest, ATextEmptiedInOnEnterKeyPressedStaysEmpty) {
  struct TClearOnEnter {
    TKxCustomComboBox* Combo = nullptr;
    void Entered(TObject*) { Combo->SetText(""); }
  };
  struct TCase {
    const char* Name;
    bool Clear;
    const char* Text;
    std::pair<int, int> Sel;
  };
  for (TCase c : {TCase{"kept", false, "apricot", {3, 7}}, TCase{"cleared", true, "", {0, 0}}}) {
    SCOPED_TRACE(c.Name);
    auto* combo = MakeCombo({"apple", "apricot"});
    TClearOnEnter clear{combo};
    if (c.Clear) combo->SetOnEnterKeyPressed(TNotifyEvent(&clear, &TClearOnEnter::Entered));
    TypeChars(combo, "apr");
    ASSERT_EQ(combo->GetText(), "apricot");
    PressKey(combo, VK_RETURN, '\r');
    EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"apricot", "apple"}));
    EXPECT_EQ(combo->GetText(), c.Text);
    EXPECT_EQ(EditSel(combo), c.Sel);
    combo->Free();
  }
}

TEST_F(KxMRUComboTest, AComboMadeAtRunTimeLoadsWhenItsWindowIsFirstMade) {
  ini.Write("History", {{"Find_Count", "2"}, {"Find_Item0", "b"}, {"Find_Item1", "a"}});
  auto* combo = New<TKxMRUComboBox>(host.Panel());
  combo->SetMruRegIniFile(store);
  combo->SetMruSection("History");
  combo->SetMruID("Find");
  combo->SetSelectFirstItemOnLoad(true);
  EXPECT_FALSE(combo->GetLoaded());
  combo->SetParent(host.Panel());
  combo->HandleNeeded();
  EXPECT_TRUE(combo->GetLoaded());
  EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(combo->GetItemIndex(), 0);
  // Once: a new window keeps the items and reads nothing again.
  ini.Write("History", {{"Find_Count", "1"}, {"Find_Item0", "z"}});
  combo->RecreateWnd();
  combo->HandleNeeded();
  EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"b", "a"}));
}

TEST_F(KxMRUComboTest, TheEditMenuHasTheShellsCaptionsAndRemoveItem) {
  auto* combo = MakeCombo();
  TPopupMenu* menu = combo->GetEditMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(combo->GetPopupMenu(), menu);
  ASSERT_EQ(menu->GetItems()->GetCount(), 10);
  const int ids[10] = {33563, 0, 33560, 33561, 33562, 33553, 0, 4171, 0, -1};
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    TMenuItem* item = menu->GetItems()->GetItem(i);
    EXPECT_EQ(item, combo->GetMenuItem(i));
    EXPECT_EQ(item->GetTag(), i);
    // The texts are the system's; where it lacks them they are empty.
    std::string want = ids[i] == 0 ? "-" : ids[i] < 0 ? "&Remove item from history list" : ShellString(ids[i]);
    EXPECT_EQ(item->GetCaption(), want);
  }
  combo->SetRemoveItemCaption("Forget");
  EXPECT_EQ(combo->GetMenuItem(9)->GetCaption(), "Forget");
}

TEST_F(KxMRUComboTest, RemoveItemForgetsTheTextAndSaves) {
  auto* combo = MakeCombo({"alpha", "beta", "gamma"});
  TEventCounter changes;
  combo->SetOnChange(changes.Event());
  combo->ForceText("beta");
  combo->GetMenuItem(9)->Click();
  EXPECT_EQ(LinesOf(combo->GetItems()), (std::vector<std::string>{"alpha", "gamma"}));
  EXPECT_EQ(combo->GetText(), "");
  EXPECT_GE(changes.Count, 1);
  EXPECT_EQ(ini.Section("History"),
            (std::vector<std::string>{"Find_Count=2", "Find_Item0=alpha", "Find_Item1=gamma"}));
  // A text that is no entry: only the text goes.
  changes.Count = 0;
  combo->ForceText("delta");
  combo->GetMenuItem(9)->Click();
  EXPECT_EQ(combo->Count(), 2);
  EXPECT_EQ(combo->GetText(), "");
  EXPECT_GE(changes.Count, 1);
}

class TMRURoot : public TPanel {
  DECLARE_CLASS(TMRURoot, TPanel)
  using TPanel::TPanel;
  TKxMRUComboBox* History = nullptr;
  TKxRegIniFile* Store = nullptr;
};
PUBLISHED(TMRURoot) {
  p.Field("History", &TMRURoot::History);
  p.Field("Store", &TMRURoot::Store);
}

// A form with a store of the INI file at path and a history combo box of
// the given item lines, kept under "Recent", "Files".
std::string HistoryForm(const std::string& path, const std::string& itemLines) {
  return "object Root: TMRURoot\n"
         "  object Store: TKxRegIniFile\n"
         "    Path = '" + path + "'\n"
         "  end\n"
         "  object History: TKxMRUComboBox\n"
         "    MruRegIniFile = Store\n"
         "    MruSection = 'Recent'\n"
         "    MruID = 'Files'\n"
         "    Items.Strings = (\n" + itemLines + "\n"
         "  end\n"
         "end\n";
}

TEST_F(KxMRUComboTest, AStoredFormReadsItsHistoryWhenLoaded) {
  if (!GetClass("TMRURoot")) RegisterClass(TMRURoot::StaticClass());
  ini.Write("Recent", {{"Files_Count", "2"}, {"Files_Item0", "b"}, {"Files_Item1", "a"}});
  std::string text = HistoryForm(ini.Path(), "      'a'\n      'c')");
  Owned<TMRURoot> root(New<TMRURoot>(nullptr));
  root->SetParent(host.Panel());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(root.get());
  ASSERT_NE(root->History, nullptr);
  EXPECT_EQ(root->History->GetMruRegIniFile(), root->Store);
  EXPECT_EQ(LinesOf(root->History->GetItems()), (std::vector<std::string>{"b", "a", "c"}));
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root.get());
  std::string written = out->GetDataString();
  EXPECT_EQ(written.find("RemoveItemCaption"), std::string::npos) << written;
  EXPECT_EQ(written.find("MaxHistory"), std::string::npos) << written;
  // The store goes first: the combo box forgets it.
  root->Store->Free();
  EXPECT_EQ(root->History->GetMruRegIniFile(), nullptr);
}

TEST_F(KxMRUComboTest, AStoredFormWithEmptyEntriesBeforeALaterOneLoadsItAtTheEnd) {
  if (!GetClass("TMRURoot")) RegisterClass(TMRURoot::StaticClass());
  // Two empty entries, then one numbered past every item the form lists.
  ini.Write("Recent", {{"Files_Count", "4"}, {"Files_Item0", ""}, {"Files_Item1", ""}, {"Files_Item3", "late"}});
  std::string text = HistoryForm(ini.Path(), "      'a')");
  Owned<TMRURoot> root(New<TMRURoot>(nullptr));
  root->SetParent(host.Panel());
  Owned<TStringStream> in(New<TStringStream>(text));
  EXPECT_NO_THROW(in->ReadComponent(root.get()));
  ASSERT_NE(root->History, nullptr);
  EXPECT_TRUE(root->History->GetLoaded());
  EXPECT_EQ(LinesOf(root->History->GetItems()), (std::vector<std::string>{"a", "late"}));
}

}  // namespace
