// Dragging with the real mouse (SendInput): a list box with automatic
// dragging reorders its items, a refused drop and Escape move nothing, and
// an immediate drag of a window control reaches a windowless target.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

// What the handlers of a list that reorders its items by dragging saw (the
// toolbar customisation dialog's way): the source index from the press,
// the target from the item under the cursor.
struct TReorder {
  TListBox* List = nullptr;
  int Source = -1;
  std::vector<std::string> Log;
  int Overs = 0;
  TObject* EndTarget = reinterpret_cast<TObject*>(1);

  void MouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    Source = List->GetItemIndex();
    Log.push_back("down " + std::to_string(Source));
  }
  void StartDrag(TObject*, TObject*&) { Log.push_back("start"); }
  void DragOver(TObject*, TObject* source, int x, int y, TDragState, bool& accept) {
    ++Overs;
    accept = source == List && List->ItemAtPos(POINT{x, y}, true) != -1;
  }
  void DragDrop(TObject*, TObject* source, int x, int y) {
    EXPECT_EQ(source, List);
    int target = List->ItemAtPos(POINT{x, y}, true);
    Log.push_back("drop " + std::to_string(target));
    List->GetItems()->Move(Source, target);
  }
  void EndDrag(TObject*, TObject* target, int, int) {
    EndTarget = target;
    Log.push_back("end");
  }
};

class SerialDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 200);
    list = New<TListBox>(form.get());
    list->SetBounds(10, 10, 150, 180);
    list->SetParent(form.get());
    list->SetDragMode(dmAutomatic);
    for (const char* s : {"a", "b", "c", "d", "e"}) list->GetItems()->Add(s);
    reorder.List = list;
    list->OnMouseDown = TMouseEvent(&reorder, &TReorder::MouseDown);
    list->OnStartDrag = TStartDragEvent(&reorder, &TReorder::StartDrag);
    list->OnDragOver = TDragOverEvent(&reorder, &TReorder::DragOver);
    list->OnDragDrop = TDragDropEvent(&reorder, &TReorder::DragDrop);
    list->OnEndDrag = TEndDragEvent(&reorder, &TReorder::EndDrag);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    PumpApplication(3);
  }
  void TearDown() override {
    LeftButton(false);
    PumpApplication(2);
  }
  // The screen point at the middle of an item (or of the row below the last).
  POINT ItemPoint(int index) {
    TRect r = list->ItemRect(index);
    return list->ClientToScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  void MoveTo(POINT p) {
    MoveMouseTo(p);
    PumpApplication(3);
  }
  std::string Items() {
    std::string s;
    for (int i = 0; i < list->GetItems()->GetCount(); ++i) s += list->GetItems()->Get(i);
    return s;
  }

  TFreshApplication app;
  Owned<TForm> form;
  TListBox* list = nullptr;
  TReorder reorder;
};

TEST_F(SerialDragTest, AnItemDraggedOntoAnotherMovesThere) {
  MoveTo(ItemPoint(0));
  LeftButton(true);
  PumpApplication(3);
  // The press selected the item first; the drag waits for the threshold.
  EXPECT_EQ(list->GetItemIndex(), 0);
  EXPECT_TRUE(list->Dragging());
  POINT p = ItemPoint(0);
  MoveTo(POINT{p.x, p.y + 2});
  EXPECT_EQ(reorder.Overs, 0);  // within the threshold: not begun
  MoveTo(ItemPoint(3));
  LeftButton(false);
  PumpApplication(3);
  EXPECT_FALSE(list->Dragging());
  EXPECT_EQ(reorder.Log, (std::vector<std::string>{"down 0", "start", "drop 3", "end"}));
  EXPECT_EQ(reorder.EndTarget, list);
  EXPECT_EQ(Items(), "bcdae");
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SerialDragTest, ADropOnEmptySpaceOrEscapeMovesNothing) {
  struct Case {
    const char* name;
    bool escape;
    int item;  // another each time: a second press on the same spot is a double click
  };
  for (Case c : {Case{"below the last item", false, 1}, Case{"escape", true, 2}}) {
    SCOPED_TRACE(c.name);
    reorder.Log.clear();
    reorder.EndTarget = reinterpret_cast<TObject*>(1);
    MoveTo(ItemPoint(c.item));
    LeftButton(true);
    PumpApplication(3);
    MoveTo(c.escape ? ItemPoint(3) : ItemPoint(list->GetItems()->GetCount()));
    if (c.escape) {
      TypeKey(VK_ESCAPE);
      PumpApplication(3);
      EXPECT_FALSE(list->Dragging());
    }
    LeftButton(false);
    PumpApplication(3);
    EXPECT_EQ(reorder.Log, (std::vector<std::string>{"down " + std::to_string(c.item), "start", "end"}));
    EXPECT_EQ(reorder.EndTarget, nullptr);
    EXPECT_EQ(Items(), "abcde");
  }
}

TEST_F(SerialDragTest, AnImmediateDragOfAWindowControlReachesAWindowlessTarget) {
  auto* source = New<TPanel>(form.get());
  source->SetBounds(170, 10, 100, 40);
  source->SetParent(form.get());
  source->SetDragMode(dmAutomatic);
  auto* target = New<TShape>(form.get());
  target->SetBounds(170, 100, 100, 80);
  target->SetParent(form.get());
  struct TLog {
    std::vector<std::string> Events;
    TObject* Source = nullptr;
    TObject* EndTarget = nullptr;
    void MouseDown(TObject*, TMouseButton, TShiftState, int, int) { Events.push_back("down"); }
    void StartDrag(TObject*, TObject*&) { Events.push_back("start"); }
    void DragOver(TObject*, TObject*, int, int, TDragState state, bool& accept) {
      Events.push_back("over " + std::to_string(state));
      accept = true;
    }
    void DragDrop(TObject*, TObject* source, int x, int y) {
      Source = source;
      Events.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    }
    void EndDrag(TObject*, TObject* target, int, int) {
      EndTarget = target;
      Events.push_back("end");
    }
  } log;
  source->OnMouseDown = TMouseEvent(&log, &TLog::MouseDown);
  source->OnStartDrag = TStartDragEvent(&log, &TLog::StartDrag);
  source->OnEndDrag = TEndDragEvent(&log, &TLog::EndDrag);
  target->OnDragOver = TDragOverEvent(&log, &TLog::DragOver);
  target->OnDragDrop = TDragDropEvent(&log, &TLog::DragDrop);

  MoveTo(POINT{100 + 220, 100 + 30});
  LeftButton(true);
  PumpApplication(3);
  // The press starts the drag at once and goes no further.
  EXPECT_EQ(log.Events, std::vector<std::string>{"start"});
  EXPECT_TRUE(source->Dragging());
  MoveTo(POINT{100 + 200, 100 + 120});
  MoveTo(POINT{100 + 210, 100 + 130});
  LeftButton(false);
  PumpApplication(3);
  // Enter, moves, and the leave whose answer lets the drop happen (the
  // system may add moves of its own: repeats count once).
  log.Events.erase(std::unique(log.Events.begin(), log.Events.end()), log.Events.end());
  EXPECT_EQ(log.Events, (std::vector<std::string>{"start", "over 0", "over 2", "over 1", "drop 40,30", "end"}));
  EXPECT_EQ(log.Source, source);
  EXPECT_EQ(log.EndTarget, target);
}

TEST_F(SerialDragTest, FreeingTheSourceEndsItsDragAndAFormCannotBeDragged) {
  MoveTo(ItemPoint(0));
  list->BeginDrag(true);
  EXPECT_TRUE(list->Dragging());
  EXPECT_NE(GetCapture(), nullptr);
  list->Free();
  EXPECT_EQ(DragControl(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  MoveTo(POINT{150, 150});  // nothing left to tell
  EXPECT_THROW(form->BeginDrag(true), EInvalidOperation);
}

TEST_F(SerialDragTest, AFailingEndOfDragIsReportedAndLeavesNoDrag) {
  struct TFailing {
    std::vector<std::string> Reports;
    void EndDrag(TObject*, TObject*, int, int) { throw EInvalidOperation("end failed"); }
    void OnException(TObject*, Exception& e) { Reports.push_back(e.GetMessage()); }
  } failing;
  list->OnEndDrag = TEndDragEvent(&failing, &TFailing::EndDrag);
  list->OnDragOver = TDragOverEvent();  // nothing accepts: the end alone fails
  Application->OnException = TExceptionEvent(&failing, &TFailing::OnException);
  MoveTo(ItemPoint(4));
  list->BeginDrag(true);
  HWND capture = GetCapture();
  ASSERT_NE(capture, nullptr);
  EXPECT_NO_THROW(SendMessageA(capture, WM_LBUTTONUP, 0, 0));
  EXPECT_EQ(failing.Reports, std::vector<std::string>{"end failed"});
  EXPECT_FALSE(list->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(IsWindow(capture));
}

}  // namespace
