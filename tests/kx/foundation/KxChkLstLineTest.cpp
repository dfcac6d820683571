// The check list's item line format and the packet string list, without a
// check list window.
#include <gtest/gtest.h>

#include "classlib/SysUtils.h"
#include "kx/foundation/KxChkLst.h"
#include "tests/common/TestSupport.h"

namespace {

struct TLineCase {
  const char* Line;
  bool Enabled;
  int State;
  const char* Text;
};

TEST(KxCheckListLine, ReadsFlagsAndText) {
  const TLineCase cases[] = {
      {"&1 2 Deutsch", true, cbGrayed, "Deutsch"},
      {"&0 1 English ", false, cbChecked, "English "},  // the writer's blank stays
      {"Italiano", true, cbUnchecked, "Italiano"},
      {"", true, cbUnchecked, ""},
      {"//Language", true, cbUnchecked, "//Language"},
      {"&1 0 ", true, cbUnchecked, ""},
      // Out-of-range states read as unchecked.
      {"&1 7 Français", true, cbUnchecked, "Français"},
      {"&1 3 X", true, cbUnchecked, "X"},
      // Anything but "1" in the enabled place is disabled.
      {"&x 1 Y", false, cbChecked, "Y"},
      // Lines too short for the whole prefix keep what they have.
      {"&1 1", true, cbChecked, ""},
      {"&1", true, cbUnchecked, ""},
      {"&", false, cbUnchecked, ""},
  };
  for (const TLineCase& c : cases) {
    SCOPED_TRACE(c.Line);
    TPacket packet;
    packet.State = cbGrayed;
    packet.Enabled = !c.Enabled;
    std::string text = "old";
    ReadCheckListItemLine(c.Line, packet, text);
    EXPECT_EQ(packet.Enabled, c.Enabled);
    EXPECT_EQ(packet.State, c.State);
    EXPECT_EQ(text, c.Text);
  }
}

TEST(KxCheckListLine, StateThatIsNoNumberRaisesConversionError) {
  TPacket packet;
  std::string text;
  EXPECT_EQ(MessageOf<EConvertError>([&] { ReadCheckListItemLine("&1 x Z", packet, text); }),
            "'x' is not a valid integer value");
  EXPECT_NE(MessageOf<EConvertError>([&] { ReadCheckListItemLine("&1   Z", packet, text); }), "(no exception)");
}

TEST(KxCheckListLine, WritesExactBytesAndReadsThemBack) {
  struct TWriteCase {
    const char* Text;
    bool Enabled;
    int State;
    const char* Line;
  };
  const TWriteCase cases[] = {
      {"Manual", true, cbChecked, "&1 1 Manual \r\n"},
      {"Deutsch", false, cbGrayed, "&0 2 Deutsch \r\n"},
      {"", true, cbUnchecked, "&1 0  \r\n"},
      {"100% sure", true, cbUnchecked, "&1 0 100% sure \r\n"},
  };
  for (const TWriteCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TPacket packet;
    packet.Enabled = c.Enabled;
    packet.State = static_cast<uint8_t>(c.State);
    std::string line = CheckListItemLine(c.Text, packet);
    EXPECT_EQ(line, c.Line);
    // Read back (without the line end, as the line splitter gives it): the
    // flags come back and the text gains the writer's blank.
    TPacket back;
    std::string text;
    ReadCheckListItemLine(line.substr(0, line.size() - 2), back, text);
    EXPECT_EQ(back.Enabled, c.Enabled);
    EXPECT_EQ(back.State, c.State);
    EXPECT_EQ(text, std::string(c.Text) + " ");
  }
}

// The packets of a list as "state/enabled" per item.
std::vector<std::string> PacketsOf(TPacketStringList* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->GetCount(); ++i) {
    TPacket p = list->GetPacket(i);
    out.push_back(list->Get(i) + ":" + std::to_string(p.State) + (p.Enabled ? "e" : "d"));
  }
  return out;
}

TEST(KxPacketStringList, PacketsFollowTheirStrings) {
  Owned<TPacketStringList> list = MakeOwned<TPacketStringList>();
  list->Add("a");
  list->Add("b");
  list->Add("c");
  list->SetPacket(0, TPacket{cbChecked, false});
  list->SetPacket(2, TPacket{cbGrayed, true});
  EXPECT_EQ(PacketsOf(list.get()), (std::vector<std::string>{"a:1d", "b:0e", "c:2e"}));

  list->Exchange(0, 2);
  EXPECT_EQ(PacketsOf(list.get()), (std::vector<std::string>{"c:2e", "b:0e", "a:1d"}));
  list->Move(0, 2);
  EXPECT_EQ(PacketsOf(list.get()), (std::vector<std::string>{"b:0e", "a:1d", "c:2e"}));
  list->Insert(1, "new");
  EXPECT_EQ(PacketsOf(list.get()), (std::vector<std::string>{"b:0e", "new:0e", "a:1d", "c:2e"}));
  list->Delete(0);
  EXPECT_EQ(PacketsOf(list.get()), (std::vector<std::string>{"new:0e", "a:1d", "c:2e"}));

  // A copy keeps the packets; a plain string list gives new ones.
  Owned<TPacketStringList> copy = MakeOwned<TPacketStringList>();
  copy->Assign(list.get());
  EXPECT_EQ(PacketsOf(copy.get()), PacketsOf(list.get()));
  Owned<TStringList> plain = MakeOwned<TStringList>();
  plain->Add("p");
  copy->AddStrings(plain.get());
  EXPECT_EQ(PacketsOf(copy.get()).back(), "p:0e");

  list->Clear();
  EXPECT_EQ(list->GetCount(), 0);
  EXPECT_EQ(MessageOf<EStringListError>([&] { list->GetPacket(0); }), "List index out of bounds (0)");
}

}  // namespace
