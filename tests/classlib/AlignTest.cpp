// Alignment of children (alTop, alBottom, alLeft, alRight, alClient in that
// order), anchors and size constraints.
#include "ControlTestSupport.h"

using namespace controls_test;

namespace {

class TBox : public TGraphicControl {
  DECLARE_CLASS(TBox, TGraphicControl)
  explicit TBox(TComponent* owner) : TGraphicControl(owner) {}
};
IMPLEMENT_CLASS(TBox)

struct TBoxSpec {
  TAlign Align;
  RECT Bounds;  // left, top, width, height as given
  RECT Want;    // left, top, width, height after alignment
  int MinW = 0, MinH = 0, MaxW = 0, MaxH = 0;
};

class AlignTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureControlsUnit();
    parent = MakeContainer(host.Handle(), 200, 100);
    parent->HandleNeeded();
  }
  void TearDown() override { parent->Free(); }
  THostWindow host;
  TProbeControl* parent = nullptr;
};

TEST_F(AlignTest, ChildrenTakeTheirSidesInThePlatformOrder) {
  struct Table {
    const char* name;
    std::vector<TBoxSpec> boxes;
  };
  const std::vector<Table> tables = {
      {"one of each, added client first",
       {{alClient, {0, 0, 10, 10}, {30, 20, 130, 70}},
        {alRight, {0, 0, 40, 10}, {160, 20, 40, 70}},
        {alLeft, {0, 0, 30, 10}, {0, 20, 30, 70}},
        {alBottom, {0, 0, 10, 10}, {0, 90, 200, 10}},
        {alTop, {0, 0, 10, 20}, {0, 0, 200, 20}}}},
      {"two tops stack by their Top",
       {{alTop, {0, 50, 10, 10}, {0, 20, 200, 10}}, {alTop, {0, 0, 10, 20}, {0, 0, 200, 20}}}},
      {"two lefts stack by their Left",
       {{alLeft, {90, 0, 15, 10}, {25, 0, 15, 100}}, {alLeft, {0, 0, 25, 10}, {0, 0, 25, 100}}}},
      {"two bottoms: the lower one nearer the edge",
       {{alBottom, {0, 80, 10, 10}, {0, 90, 200, 10}}, {alBottom, {0, 0, 10, 30}, {0, 60, 200, 30}}}},
      {"constraints: a short top grows, the client area shrinks",
       {{alTop, {0, 0, 10, 10}, {0, 0, 200, 30}, 0, 30, 0, 0},
        {alClient, {0, 0, 10, 10}, {0, 30, 120, 70}, 0, 0, 120, 0}}},
  };
  for (const Table& t : tables) {
    SCOPED_TRACE(t.name);
    std::vector<TBox*> boxes;
    for (const TBoxSpec& s : t.boxes) {
      auto* b = New<TBox>(nullptr);
      b->GetConstraints()->SetMinWidth(s.MinW);
      b->GetConstraints()->SetMinHeight(s.MinH);
      b->GetConstraints()->SetMaxWidth(s.MaxW);
      b->GetConstraints()->SetMaxHeight(s.MaxH);
      b->SetBounds(s.Bounds.left, s.Bounds.top, s.Bounds.right, s.Bounds.bottom);
      b->SetAlign(s.Align);
      b->SetParent(parent);
      boxes.push_back(b);
    }
    for (size_t i = 0; i < boxes.size(); ++i) {
      SCOPED_TRACE(i);
      const RECT& w = t.boxes[i].Want;
      EXPECT_EQ(boxes[i]->GetLeft(), w.left);
      EXPECT_EQ(boxes[i]->GetTop(), w.top);
      EXPECT_EQ(boxes[i]->GetWidth(), w.right);
      EXPECT_EQ(boxes[i]->GetHeight(), w.bottom);
    }
    for (TBox* b : boxes) b->Free();
  }
}

TEST_F(AlignTest, AlignedChildrenFollowTheParentAndAnchorsKeepTheirDistance) {
  auto* client = New<TBox>(nullptr);
  client->SetAlign(alClient);
  client->SetParent(parent);
  auto* corner = New<TBox>(nullptr);
  corner->SetBounds(150, 70, 20, 10);  // 30 from the right, 20 from the bottom
  corner->SetAnchors({akRight, akBottom});
  corner->SetParent(parent);
  auto* stretched = New<TBox>(nullptr);
  stretched->SetBounds(10, 5, 100, 10);
  stretched->SetAnchors({akLeft, akTop, akRight});
  stretched->SetParent(parent);

  parent->SetBounds(0, 0, 300, 160);

  EXPECT_EQ(client->GetWidth(), 300);
  EXPECT_EQ(client->GetHeight(), 160);
  EXPECT_EQ(corner->GetLeft(), 250);
  EXPECT_EQ(corner->GetTop(), 130);
  EXPECT_EQ(corner->GetWidth(), 20);
  EXPECT_EQ(stretched->GetLeft(), 10);
  EXPECT_EQ(stretched->GetWidth(), 200);
}

TEST_F(AlignTest, ConstraintsClampEveryNewSize) {
  struct Case {
    int minW, minH, maxW, maxH;
    int w, h;
    int wantW, wantH;
  };
  const Case cases[] = {
      {10, 10, 100, 80, 5, 5, 10, 10},      // below the minimum
      {10, 10, 100, 80, 500, 500, 100, 80}, // above the maximum
      {10, 10, 100, 80, 50, 40, 50, 40},    // inside
      {0, 0, 0, 0, 500, 1, 500, 1},         // 0 means no limit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    auto* b = New<TBox>(nullptr);
    b->GetConstraints()->SetMinWidth(c.minW);
    b->GetConstraints()->SetMinHeight(c.minH);
    b->GetConstraints()->SetMaxWidth(c.maxW);
    b->GetConstraints()->SetMaxHeight(c.maxH);
    b->SetBounds(0, 0, c.w, c.h);
    EXPECT_EQ(b->GetWidth(), c.wantW);
    EXPECT_EQ(b->GetHeight(), c.wantH);
    b->Free();
  }
  // A minimum above the maximum pushes the maximum up, and the other way.
  TSizeConstraints* k = New<TBox>(nullptr)->GetConstraints();
  k->SetMaxWidth(50);
  k->SetMinWidth(80);
  EXPECT_EQ(k->GetMaxWidth(), 80);
  k->SetMaxHeight(30);
  k->SetMinHeight(20);
  k->SetMaxHeight(10);
  EXPECT_EQ(k->GetMinHeight(), 10);
  k->GetControl()->Free();
}

}  // namespace
