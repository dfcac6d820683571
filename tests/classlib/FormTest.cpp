// Forms: creation from stored forms, the OnCreate/OnDestroy order, client
// sizes, placement, modal loops and the dialog keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "tests/classlib/FormTestSupport.h"

using namespace forms_test;

namespace {

std::vector<std::string> gLog;

class TTestStoredForm;

// A windowed container and a windowless control that remember their Loaded.
class TTestPanel : public TCustomControl {
  DECLARE_CLASS(TTestPanel, TCustomControl)
  explicit TTestPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(GetControlStyle() + TControlStyle{csAcceptsControls});
  }
  int LoadedCalls = 0;
  bool SawWholeTree = false;
  void Loaded() override;
};
PUBLISHED(TTestPanel) { PublishControlProps(p, {"Caption", "TabStop"}); }

class TTestLabel : public TGraphicControl {
  DECLARE_CLASS(TTestLabel, TGraphicControl)
  explicit TTestLabel(TComponent* owner) : TGraphicControl(owner) {}
  int LoadedCalls = 0;
  bool SawWholeTree = false;
  void Loaded() override;
};
PUBLISHED(TTestLabel) { PublishControlProps(p, {"OnClick"}); }

TTestStoredForm** gCreatingReference = nullptr;

class TTestStoredForm : public TForm {
  DECLARE_CLASS(TTestStoredForm, TForm)
  explicit TTestStoredForm(TComponent* owner) : TForm(owner) {}

  TTestPanel* Panel1 = nullptr;
  TTestPanel* Inner = nullptr;
  TTestLabel* Label1 = nullptr;
  TTimer* Timer1 = nullptr;
  int LoadedCalls = 0;
  int Created = 0;
  int Clicks = 0;
  bool CreatedAfterLoaded = false;
  bool ReferenceSetInOnCreate = false;

  bool TreeComplete() {
    return Panel1 && Inner && Label1 && Timer1 && Timer1->GetInterval() == 250 && Label1->OnClick &&
           GetCaption() == "Stored";
  }
  void Loaded() override {
    inherited::Loaded();
    ++LoadedCalls;
  }
  void FormCreate(TObject*) {
    ++Created;
    CreatedAfterLoaded = LoadedCalls == 1 && Label1 && Label1->LoadedCalls == 1;
    ReferenceSetInOnCreate = gCreatingReference && *gCreatingReference == this;
  }
  void LabelClick(TObject*) { ++Clicks; }
  void TimerTick(TObject*) {}
};
PUBLISHED(TTestStoredForm) {
  p.Field("Panel1", &TTestStoredForm::Panel1);
  p.Field("Inner", &TTestStoredForm::Inner);
  p.Field("Label1", &TTestStoredForm::Label1);
  p.Field("Timer1", &TTestStoredForm::Timer1);
  p.Method("FormCreate", &TTestStoredForm::FormCreate);
  p.Method("LabelClick", &TTestStoredForm::LabelClick);
  p.Method("TimerTick", &TTestStoredForm::TimerTick);
}

void TTestPanel::Loaded() {
  inherited::Loaded();
  ++LoadedCalls;
  auto* form = dynamic_cast<TTestStoredForm*>(GetOwner());
  SawWholeTree = form && form->TreeComplete();
}

void TTestLabel::Loaded() {
  inherited::Loaded();
  ++LoadedCalls;
  auto* form = dynamic_cast<TTestStoredForm*>(GetOwner());
  SawWholeTree = form && form->TreeComplete();
}

// The order of a form's creation and destruction steps.
class TTestOrderForm : public TForm {
  DECLARE_CLASS(TTestOrderForm, TForm)
  explicit TTestOrderForm(TComponent* owner) : TForm(owner) { gLog.push_back("ctor"); }
  void Loaded() override {
    inherited::Loaded();
    gLog.push_back("loaded");
  }
  void FormCreate(TObject*) { gLog.push_back("create"); }
  void FormDestroy(TObject*) { gLog.push_back("ondestroy"); }

 protected:
  void Destroy() override {
    gLog.push_back("destroy");
    inherited::Destroy();
  }
};
PUBLISHED(TTestOrderForm) {
  p.Method("FormCreate", &TTestOrderForm::FormCreate);
  p.Method("FormDestroy", &TTestOrderForm::FormDestroy);
}

// Inherits TTestOrderForm's stored form and sets OldCreateOrder in its own.
class TTestOldOrderForm : public TTestOrderForm {
  DECLARE_CLASS(TTestOldOrderForm, TTestOrderForm)
  explicit TTestOldOrderForm(TComponent* owner) : TTestOrderForm(owner) {}
};
IMPLEMENT_CLASS(TTestOldOrderForm)

class TTestNoResourceForm : public TForm {
  DECLARE_CLASS(TTestNoResourceForm, TForm)
  explicit TTestNoResourceForm(TComponent* owner) : TForm(owner) {}
};
IMPLEMENT_CLASS(TTestNoResourceForm)

// A base class of forms with no stored form of its own: the root ancestor.
class TTestRootForm : public TForm {
  DECLARE_CLASS(TTestRootForm, TForm)
  explicit TTestRootForm(TComponent* owner) : TForm(owner, TTestRootForm::StaticClass()) {}
};
IMPLEMENT_CLASS(TTestRootForm)

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetClass("TTestPanel")) RegisterClasses({TTestPanel::StaticClass(), TTestLabel::StaticClass()});
    gLog.clear();
  }
  TFreshApplication app;
};

TEST_F(FormTest, StoredFormBuildsTheTreeBindsFieldsAndEventsAndLoadsOnce) {
  TTestStoredForm* form = nullptr;
  gCreatingReference = &form;
  Application->CreateForm(TTestStoredForm::StaticClass(), form);
  gCreatingReference = nullptr;
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Application->GetMainForm(), form);
  EXPECT_EQ(form->GetName(), "TestStoredForm");

  // The tree, each component owned by the form and bound to its field.
  ASSERT_TRUE(form->TreeComplete());
  EXPECT_EQ(form->Panel1->GetParent(), form);
  EXPECT_EQ(form->Inner->GetParent(), form->Panel1);
  EXPECT_EQ(form->Label1->GetParent(), form->Inner);
  for (TComponent* c : std::vector<TComponent*>{form->Panel1, form->Inner, form->Label1, form->Timer1})
    EXPECT_EQ(c->GetOwner(), form) << c->GetName();
  EXPECT_EQ(form->Inner->GetCaption(), "inner");

  // Events bound by method name.
  form->Label1->Click();
  EXPECT_EQ(form->Clicks, 1);
  EXPECT_TRUE(form->Timer1->GetOnTimer() == TNotifyEvent(form, &TTestStoredForm::TimerTick));

  // Loaded once each, after the whole tree was read; OnCreate after that,
  // with the reference CreateForm fills already set.
  EXPECT_EQ(form->LoadedCalls, 1);
  for (TTestPanel* panel : {form->Panel1, form->Inner}) {
    EXPECT_EQ(panel->LoadedCalls, 1);
    EXPECT_TRUE(panel->SawWholeTree);
  }
  EXPECT_EQ(form->Label1->LoadedCalls, 1);
  EXPECT_TRUE(form->Label1->SawWholeTree);
  EXPECT_EQ(form->Created, 1);
  EXPECT_TRUE(form->CreatedAfterLoaded);
  EXPECT_TRUE(form->ReferenceSetInOnCreate);

  // The form's own stored values; the client size waited for the border.
  EXPECT_EQ(form->GetBorderStyle(), bsSingle);
  EXPECT_EQ(form->GetPixelsPerInch(), 120);
  EXPECT_EQ(form->GetTextHeight(), 13);
  EXPECT_EQ(form->GetLeft(), 10);
  EXPECT_EQ(form->GetTop(), 20);
  ASSERT_TRUE(form->HandleAllocated());
  RECT client;
  GetClientRect(form->GetHandle(), &client);
  EXPECT_EQ(client.right, 250);
  EXPECT_EQ(client.bottom, 150);
  EXPECT_FALSE(form->GetVisible());
}

TEST_F(FormTest, OnCreateFollowsTheStoredFormAndOldCreateOrderPlacesOnDestroy) {
  struct TCase {
    TClass cls;
    bool oldCreateOrder;
    std::vector<std::string> destroyOrder;
  };
  const TCase cases[] = {
      {TTestOrderForm::StaticClass(), false, {"ondestroy", "destroy"}},
      {TTestOldOrderForm::StaticClass(), true, {"destroy", "ondestroy"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.cls->ClassName());
    gLog.clear();
    auto* form = CreateAs<TTestOrderForm>(c.cls, nullptr);
    EXPECT_EQ(form->GetOldCreateOrder(), c.oldCreateOrder);
    EXPECT_EQ(form->GetCaption(), "order");
    EXPECT_EQ(gLog, (std::vector<std::string>{"ctor", "loaded", "create"}));
    gLog.clear();
    form->Free();
    EXPECT_EQ(gLog, c.destroyOrder);
  }
}

TEST_F(FormTest, AFormWithoutItsStoredFormIsNotMade) {
  int forms = Screen->GetCustomFormCount();
  try {
    New<TTestNoResourceForm>(nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.GetMessage(), "Resource TTestNoResourceForm not found");
  }
  EXPECT_EQ(Screen->GetCustomFormCount(), forms);
  // A root ancestor reads nothing of its own.
  Owned<TTestRootForm> root(New<TTestRootForm>(nullptr));
  EXPECT_EQ(Screen->GetCustomFormCount(), forms + 1);
}

TEST_F(FormTest, ClientSizeHoldsBeforeAndAfterTheWindowExists) {
  struct TCase {
    TFormBorderStyle style;
    int borderWidth;
  };
  const TCase cases[] = {{bsNone, 0}, {bsSingle, 0}, {bsSizeable, 0}, {bsDialog, 0},
                         {bsToolWindow, 0}, {bsSizeToolWin, 0}, {bsSizeable, 3}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.style) + "/" + std::to_string(c.borderWidth));
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->SetBorderStyle(c.style);
    form->SetBorderWidth(c.borderWidth);
    form->SetClientWidth(217);
    form->SetClientHeight(113);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_EQ(form->GetClientWidth(), 217);
    EXPECT_EQ(form->GetClientHeight(), 113);
    RECT client;
    GetClientRect(form->GetHandle(), &client);
    EXPECT_EQ(client.right, 217);
    EXPECT_EQ(client.bottom, 113);
    form->SetClientWidth(150);
    GetClientRect(form->GetHandle(), &client);
    EXPECT_EQ(client.right, 150);
  }
}

// UseDockManager is written only where it differs from the class's own
// default: off for a form (TWinControl's), on for a panel.
TEST_F(FormTest, UseDockManagerIsWrittenAgainstEachClasssDefault) {
  struct TCase {
    const char* name;
    bool panel;
    bool value;
    bool written;
  };
  const TCase cases[] = {
      {"a new form", false, false, false},
      {"a form that uses a dock manager", false, true, true},
      {"a new panel", true, true, false},
      {"a panel that uses none", true, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TWinControl> control(c.panel ? static_cast<TWinControl*>(New<TPanel>(nullptr))
                                       : static_cast<TWinControl*>(New<TForm>(nullptr, 0)));
    control->SetName("Written");
    control->SetUseDockManager(c.value);
    Owned<TStringStream> s(New<TStringStream>());
    s->WriteComponent(control.get());
    EXPECT_EQ(s->GetDataString().find("UseDockManager") != std::string::npos, c.written) << s->GetDataString();
  }
}

TEST_F(FormTest, TheMenuBarGoesWithTheWindow) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  TMainMenu* menu = NewMenu(form.get(), "MainMenu1", {NewItem("&File", 0, false, true, nullptr, 0, "File1")});
  form->SetMenu(menu);
  form->SetClientHeight(100);  // with the bar the window will have
  HWND h = form->GetHandle();
  EXPECT_EQ(GetMenu(h), menu->GetHandle());
  EXPECT_EQ(menu->GetWindowHandle(), h);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.bottom, 100);
  // A new window takes the bar again; a dialog shows none.
  form->SetBorderStyle(bsSingle);
  EXPECT_EQ(GetMenu(form->GetHandle()), menu->GetHandle());
  form->SetBorderStyle(bsDialog);
  EXPECT_EQ(GetMenu(form->GetHandle()), nullptr);
  Owned<TForm> other(New<TForm>(nullptr, 0));
  EXPECT_THROW(other->SetMenu(menu), EInvalidOperation);
}

TEST_F(FormTest, PositionPlacesTheFormWhenItFirstShows) {
  const int w = 300, h = 200;
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  struct TCase {
    TPosition position;
    POINT expected;
  };
  const TCase cases[] = {
      {poDesigned, {5, 7}},
      {poScreenCenter, {(cx - w) / 2, (cy - h) / 2}},
      {poDesktopCenter,
       {(GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.position));
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->SetBorderStyle(bsNone);
    form->SetBounds(5, 7, w, h);
    form->SetPosition(c.position);
    form->Show();
    RECT r;
    GetWindowRect(form->GetHandle(), &r);
    EXPECT_EQ(r.left, c.expected.x);
    EXPECT_EQ(r.top, c.expected.y);
    EXPECT_EQ(form->GetLeft(), c.expected.x);
    EXPECT_EQ(form->GetPosition(), poDesigned);
    // Placed once: a form moved later stays where it was put.
    form->Hide();
    form->SetLeft(1);
    form->Show();
    EXPECT_EQ(form->GetLeft(), 1);
  }
}

TEST_F(FormTest, ShowModalEndsWithTheResultTheTestHookSets) {
  struct THandlers {
    int Refusals = 0;
    int Queries = 0;
    int Closes = 0;
    void CloseQuery(TObject*, bool& canClose) {
      ++Queries;
      canClose = Queries > Refusals;
    }
    void Close(TObject*, TCloseAction& action) {
      ++Closes;
      EXPECT_EQ(action, caHide);
    }
  };
  for (int refusals : {0, 1}) {
    SCOPED_TRACE(refusals);
    THandlers h;
    h.Refusals = refusals;
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->OnCloseQuery = TCloseQueryEvent(&h, &THandlers::CloseQuery);
    form->OnClose = TCloseEvent(&h, &THandlers::Close);
    TEndModal end(mrOk);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(h.Queries, refusals + 1);
    EXPECT_EQ(h.Closes, 1);
    EXPECT_FALSE(form->GetVisible());
    EXPECT_FALSE(form->GetFormState().Contains(fsModal));
    EXPECT_FALSE(IsWindowVisible(form->GetHandle()));
  }
}

TEST_F(FormTest, AVisibleFormCannotBeMadeModal) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->Show();
  try {
    form->ShowModal();
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.GetMessage(), "Cannot make a visible window modal");
  }
}

TEST_F(FormTest, CloseActionsHideMinimiseOrFreeTheForm) {
  struct TCase {
    TCloseAction action;
    bool visible;
    bool freed;
  };
  const TCase cases[] = {{caNone, true, false}, {caHide, false, false}, {caFree, false, true}, {caMinimize, true, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.action));
    struct TSetter {
      TCloseAction Action;
      bool* Freed;
      void Close(TObject*, TCloseAction& action) { action = Action; }
      void Destroy(TObject*) { *Freed = true; }
    };
    bool freed = false;
    TSetter setter{c.action, &freed};
    auto* form = New<TForm>(nullptr, 0);
    form->OnClose = TCloseEvent(&setter, &TSetter::Close);
    form->OnDestroy = TNotifyEvent(&setter, &TSetter::Destroy);
    form->Show();
    form->Close();
    PumpApplication(3);
    EXPECT_EQ(freed, c.freed);
    if (!freed) {
      EXPECT_EQ(form->GetVisible(), c.visible);
      EXPECT_EQ(IsIconic(form->GetHandle()) != FALSE, c.action == caMinimize);
      form->Free();
    }
  }
}

TEST_F(FormTest, BoundsSetWhileMinimisedAreWhereTheFormRestores) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  form->SetBounds(30, 40, 250, 150);
  form->Show();
  form->SetWindowState(wsMinimized);
  HWND h = form->GetHandle();
  ASSERT_TRUE(IsIconic(h));
  form->SetBounds(60, 70, 300, 200);
  EXPECT_TRUE(IsIconic(h));
  EXPECT_EQ(form->GetLeft(), 60);
  EXPECT_EQ(form->GetWidth(), 300);
  form->SetWindowState(wsNormal);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 70);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
}

// A size that comes from outside (another program, the window manager)
// goes through WM_WINDOWPOSCHANGING: it keeps to the constraints and
// OnCanResize as SetBounds does; a move alone is never stopped.
TEST_F(FormTest, SizesFromOutsideKeepToTheConstraintsAndOnCanResize) {
  struct TCase {
    const char* name;
    int maxWidth;
    bool refuse;
    int width, height;  // what the window has after the outside change
  };
  const TCase cases[] = {
      {"free", 0, false, 420, 330},
      {"max width 300", 300, false, 300, 330},
      {"OnCanResize refuses", 0, true, 250, 150},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    struct TRefuser {
      bool Refuse;
      int Asked = 0;
      void CanResize(TObject*, int&, int&, bool& resize) {
        ++Asked;
        if (Refuse) resize = false;
      }
    } refuser{c.refuse};
    Owned<TForm> form(New<TForm>(nullptr, 0));
    form->SetBounds(30, 40, 250, 150);
    form->GetConstraints()->SetMaxWidth(c.maxWidth);
    form->OnCanResize = TCanResizeEvent(&refuser, &TRefuser::CanResize);
    form->Show();
    HWND h = form->GetHandle();
    refuser.Asked = 0;
    SetWindowPos(h, nullptr, 50, 60, 420, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GE(refuser.Asked, 1);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 50) << "the move itself goes through";
    EXPECT_EQ(r.right - r.left, c.width);
    EXPECT_EQ(r.bottom - r.top, c.height);
    EXPECT_EQ(form->GetWidth(), c.width);
    EXPECT_EQ(form->GetHeight(), c.height);
  }
}

// Menus that follow the form's BiDiMode take a new one; one with its own
// keeps it.
TEST_F(FormTest, TheFormsMenusFollowItsBiDiMode) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  TMainMenu* follows = NewMenu(form.get(), "MainMenu1", {NewItem("&File", 0, false, true, nullptr, 0, "File1")});
  TMainMenu* own = NewMenu(form.get(), "MainMenu2", {NewItem("&Edit", 0, false, true, nullptr, 0, "Edit1")});
  own->SetBiDiMode(bdRightToLeftNoAlign);
  form->SetMenu(follows);
  form->HandleNeeded();
  form->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(follows->GetBiDiMode(), bdRightToLeft);
  EXPECT_TRUE(follows->GetParentBiDiMode());
  EXPECT_EQ(own->GetBiDiMode(), bdRightToLeftNoAlign);
  EXPECT_EQ(GetMenu(form->GetHandle()), follows->GetHandle()) << "the new window keeps the bar";
  form->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(follows->GetBiDiMode(), bdLeftToRight);
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeAndStopItsControlsKeys) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto* panel = New<TTestPanel>(form.get());
  panel->SetParent(form.get());
  struct TKeys {
    std::vector<std::string> Log;
    bool Stop = false;
    void FormKeyDown(TObject*, WORD& key, TShiftState) {
      Log.push_back("form");
      if (Stop) key = 0;
    }
    void FormKeyPress(TObject*, char& key) {
      Log.push_back("form press");
      if (Stop) key = 0;
    }
    void ControlKeyDown(TObject*, WORD&, TShiftState) { Log.push_back("control"); }
    void ControlKeyPress(TObject*, char&) { Log.push_back("control press"); }
  } keys;
  form->OnKeyDown = TKeyEvent(&keys, &TKeys::FormKeyDown);
  form->OnKeyPress = TKeyPressEvent(&keys, &TKeys::FormKeyPress);
  panel->OnKeyDown = TKeyEvent(&keys, &TKeys::ControlKeyDown);
  panel->OnKeyPress = TKeyPressEvent(&keys, &TKeys::ControlKeyPress);
  struct Case {
    bool preview;
    bool stop;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {false, false, {"control", "control press"}},
      {true, false, {"form", "control", "form press", "control press"}},
      {true, true, {"form", "form press"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.preview << c.stop);
    form->SetKeyPreview(c.preview);
    keys.Stop = c.stop;
    keys.Log.clear();
    SendMessageA(panel->GetHandle(), WM_KEYDOWN, 'K', 1);
    SendMessageA(panel->GetHandle(), WM_CHAR, 'k', 1);
    EXPECT_EQ(keys.Log, c.expected);
  }
}

TEST_F(FormTest, AlphaBlendAndTransparentColorMakeALayeredWindowThatANewWindowKeeps) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  auto layered = [&](BYTE& alpha, COLORREF& key, DWORD& flags) {
    HWND h = form->GetHandle();
    if (!(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED)) return false;
    return GetLayeredWindowAttributes(h, &key, &alpha, &flags) != FALSE;
  };
  BYTE alpha = 0;
  COLORREF key = 0;
  DWORD flags = 0;
  EXPECT_FALSE(layered(alpha, key, flags));
  form->SetAlphaBlendValue(128);
  form->SetAlphaBlend(true);
  ASSERT_TRUE(layered(alpha, key, flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, DWORD{LWA_ALPHA});
  form->SetTransparentColorValue(clFuchsia);
  form->SetTransparentColor(true);
  form->SetBorderStyle(bsSingle);  // a new window
  ASSERT_TRUE(layered(alpha, key, flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(key, RGB(255, 0, 255));
  EXPECT_EQ(flags, DWORD{LWA_ALPHA | LWA_COLORKEY});
  form->SetAlphaBlend(false);
  form->SetTransparentColor(false);
  EXPECT_FALSE(layered(alpha, key, flags));
}

// A windowless control with a palette of its own.
class TPaletteControl : public TGraphicControl {
  DECLARE_CLASS(TPaletteControl, TGraphicControl)
  explicit TPaletteControl(TComponent* owner) : TGraphicControl(owner) {
    struct {
      WORD version = 0x300;
      WORD count = 1;
      PALETTEENTRY entries[1] = {{10, 20, 30, 0}};
    } log;
    palette_ = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
  }
  ~TPaletteControl() override { DeleteObject(palette_); }
  HPALETTE GetPalette() override {
    ++Asked;
    return palette_;
  }
  int Asked = 0;

 private:
  HPALETTE palette_;
};
IMPLEMENT_CLASS(TPaletteControl)

TEST_F(FormTest, APaletteMessageRealisesTheControlsPalettes) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  HWND h = form->GetHandle();
  // No control has a palette: nothing realised.
  EXPECT_EQ(SendMessageA(h, WM_QUERYNEWPALETTE, 0, 0), 0);
  auto* control = New<TPaletteControl>(form.get());
  control->SetParent(form.get());
  EXPECT_EQ(SendMessageA(h, WM_QUERYNEWPALETTE, 0, 0), 1);
  EXPECT_EQ(control->Asked, 1);
  // Another window realised its palette: the form's again, in the background.
  SendMessageA(h, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow()), 0);
  EXPECT_EQ(control->Asked, 2);
  // The form's own realising does not start it again.
  SendMessageA(h, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(h), 0);
  EXPECT_EQ(control->Asked, 2);
}

// Focus needs the desktop to itself.
class SerialFormTest : public FormTest {};

TEST_F(SerialFormTest, TabMovesTheFocusInTabOrder) {
  Owned<TForm> form(New<TForm>(nullptr, 0));
  std::vector<TTestPanel*> panels;
  for (int i = 0; i < 3; ++i) {
    auto* p = New<TTestPanel>(form.get());
    p->SetBounds(10 + 60 * i, 10, 50, 30);
    p->SetTabStop(i != 1);  // the middle one is skipped by Tab
    p->SetParent(form.get());
    panels.push_back(p);
  }
  form->Show();
  SetForegroundWindow(form->GetHandle());
  PumpApplication(3);
  panels[0]->SetFocus();
  EXPECT_EQ(form->GetActiveControl(), panels[0]);
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_TAB, 0), 1);
  EXPECT_EQ(form->GetActiveControl(), panels[2]);
  EXPECT_EQ(Screen->GetActiveControl(), panels[2]);
  EXPECT_EQ(GetFocus(), panels[2]->GetHandle());
  // Arrows go to the next sibling, tab stop or not.
  form->Perform(CM_DIALOGKEY, VK_RIGHT, 0);
  EXPECT_EQ(form->GetActiveControl(), panels[0]);
  form->Perform(CM_DIALOGKEY, VK_RIGHT, 0);
  EXPECT_EQ(form->GetActiveControl(), panels[1]);
}

}  // namespace
