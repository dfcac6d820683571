// Version information: the ten values read from this test program's own
// version resource (KxStatusTest.rc), from a file without one and from a
// missing file; the linked panes and when they are refreshed.
#include <gtest/gtest.h>

#include <fstream>
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

}  // namespace
