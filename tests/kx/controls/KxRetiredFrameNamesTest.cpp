// The frame's retired stored names, read by every component that ever wrote
// them (the list boxes, the combo boxes, the edits and the frame controller):
// each is mapped onto the frame settings or dropped, none is written again,
// and what is written in their place reads back to the same settings.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "kx/controls/KxCmboBx.h"
#include "kx/controls/KxEdit.h"
#include "kx/foundation/KxChkLst.h"
#include "kx/foundation/KxLstBox.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

class TRetiredFramesRoot : public TPanel {
  DECLARE_CLASS(TRetiredFramesRoot, TPanel)
  using TPanel::TPanel;
};
IMPLEMENT_CLASS(TRetiredFramesRoot)

// The frame settings the retired names reach, as the stored form names them.
struct TFrameSeen {
  bool hotTrack = false;
  bool visible = false;
  std::string style = "fsFlat";
  std::string hotStyle = "fsFlatBold";
  bool operator==(const TFrameSeen&) const = default;
};
void PrintTo(const TFrameSeen& s, std::ostream* os) {
  *os << "{hotTrack " << s.hotTrack << ", visible " << s.visible << ", " << s.style << ", " << s.hotStyle << "}";
}

TFrameSeen Seen(TComponent* owner) {
  TFrameSeen s;
  s.hotTrack = GetOrdProp(owner, GetPropInfo(owner, "FrameHotTrack")) != 0;
  s.visible = GetOrdProp(owner, GetPropInfo(owner, "FrameVisible")) != 0;
  s.style = GetEnumProp(owner, GetPropInfo(owner, "FrameStyle"));
  s.hotStyle = GetEnumProp(owner, GetPropInfo(owner, "FrameHotStyle"));
  return s;
}

std::string Written(TComponent* root) {
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root);
  return out->GetDataString();
}

// One owner of the retired names: a control sits on a root panel in its
// stored form, the frame controller is a stored form's root itself.
struct TOwner {
  const char* className;
  bool onPanel;
};

class KxRetiredFrameNames : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetClass("TRetiredFramesRoot")) RegisterClass(TRetiredFramesRoot::StaticClass());
  }
  // The stored form of owner with the given property lines.
  static std::string FormOf(const TOwner& owner, const std::string& lines) {
    std::string indent = owner.onPanel ? "    " : "  ";
    std::string body;
    for (size_t at = 0, next; at < lines.size(); at = next + 1) {
      next = lines.find('\n', at);
      body += indent + lines.substr(at, next - at + 1);
    }
    if (!owner.onPanel) return std::string("object Owner1: ") + owner.className + "\n" + body + "end\n";
    return std::string("object Root: TRetiredFramesRoot\n  object Owner1: ") + owner.className + "\n" + body +
           "  end\nend\n";
  }
  // Reads text into a new root (kept in root); the owner read.
  TComponent* Read(const TOwner& owner, const std::string& text, Owned<TComponent>& root) {
    if (owner.onPanel) {
      auto* panel = New<TRetiredFramesRoot>(nullptr);
      root.reset(panel);
      panel->SetParent(host.Panel());
    } else {
      root.reset(static_cast<TComponent*>(GetClass(owner.className)->Create(nullptr)));
    }
    Owned<TStringStream> in(New<TStringStream>(text));
    in->ReadComponent(root.get());
    return owner.onPanel ? root->FindComponent("Owner1") : root.get();
  }

  TControlHost host;
};

TEST_F(KxRetiredFrameNames, AreMappedOrDroppedByEveryOwnerAndTheWrittenFormReadsBack) {
  const TOwner owners[] = {{"TKxListBox", true}, {"TKxCheckList", true}, {"TKxComboBox", true},
                           {"TKxEdit", true},    {"TKxMemo", true},      {"TKxFrameController", false}};
  struct TCase {
    const char* lines;
    TFrameSeen seen;
  };
  const TCase cases[] = {
      {"FrameFlat = True\n", {true, true, "fsStatus", "fsLowered"}},
      {"FrameFlat = False\n", {}},
      {"FrameFocusStyle = fsNone\n", {false, false, "fsFlat", "fsNone"}},
      {"FrameFocusStyle = fsRaised\n", {false, false, "fsFlat", "fsRaised"}},
      {"FrameFocusStyle = fsPopup\n", {false, false, "fsFlat", "fsPopup"}},
      // Beyond the published styles, or no style at all: dropped.
      {"FrameFocusStyle = fsFlatRounded\n", {}},
      {"FrameFocusStyle = fsNoSuchStyle\n", {}},
      {"FrameFlatStyle = fsButtonUp\n", {}},
      {"FrameFlat = True\nFrameFocusStyle = fsRaised\nFrameFlatStyle = fsPopup\n",
       {true, true, "fsStatus", "fsRaised"}},
  };
  for (const TOwner& owner : owners) {
    ASSERT_NE(GetClass(owner.className), nullptr) << owner.className;
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(owner.className) + ": " + c.lines);
      Owned<TComponent> root;
      TComponent* read = Read(owner, FormOf(owner, c.lines), root);
      ASSERT_NE(read, nullptr);
      EXPECT_EQ(Seen(read), c.seen);

      std::string written;
      ASSERT_NO_THROW(written = Written(root.get()));
      for (const char* gone : {"FrameFlat", "FrameFocusStyle"})
        EXPECT_EQ(written.find(gone), std::string::npos) << gone << "\n" << written;
      Owned<TComponent> back;
      TComponent* again = nullptr;
      ASSERT_NO_THROW(again = Read(owner, written, back)) << written;
      ASSERT_NE(again, nullptr) << written;
      EXPECT_EQ(Seen(again), c.seen);
      EXPECT_EQ(Written(back.get()), written);
    }
  }
}

}  // namespace
