// The framed edit base, the edit and the mask edit: colours by state, the
// frame and the drop-down button in the non-client area (read back through
// WM_PRINT), the button's place and hit test, validation through
// OnValidateError, alignment and the stored form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "classlib/ExtCtrls.h"
#include "kx/controls/KxEdit.h"
#include "tests/kx/controls/KxControlsTestSupport.h"

using namespace kxc_test;

namespace {

class KxEditTest : public ::testing::Test {
 protected:
  template <class T = TKxEdit>
  T* MakeEdit(int width = 160, int height = 24) {
    T* edit = host.Add<T>(10, 10, width, height);
    edit->HandleNeeded();
    return edit;
  }
  // The whole window, its non-client area included, as WM_PRINT draws it.
  static void PrintWindowTo(TWinControl* c, const TDib& dib) {
    c->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dib.DC()),
               PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  }
  TControlHost host;
};

// --- colours ----------------------------------------------------------------------------------

TEST_F(KxEditTest, ColoursFollowTheStateAndFocusColorFollowsColor) {
  auto* edit = MakeEdit();
  edit->SetColor(clYellow);
  EXPECT_EQ(edit->GetFocusColor(), clYellow) << "FocusColor followed while the same";
  edit->SetFocusColor(clAqua);
  edit->SetDisabledColor(clSilver);
  edit->Perform(CM_ENTER, 0, 0);
  EXPECT_EQ(edit->GetColor(), clAqua);
  edit->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(edit->GetColor(), clYellow);
  edit->SetEnabled(false);
  EXPECT_EQ(edit->GetColor(), clSilver);
  edit->SetEnabled(true);
  EXPECT_EQ(edit->GetColor(), clYellow);
  EXPECT_EQ(edit->GetNormalColor(), clYellow);
}

// --- frame ----------------------------------------------------------------------------------------

struct TFrameCase {
  const char* Name;
  bool HotTrack;
  UINT HotBy;       // CM_MOUSEENTER, CM_ENTER or 0
  TFrameStyle Style;
  TColor Expected;  // the outer ring's colour
  int Width;        // how many rings have it
};

void PrintTo(const TFrameCase& c, std::ostream* os) { *os << c.Name; }

class KxEditFrameTest : public KxEditTest, public ::testing::WithParamInterface<TFrameCase> {};

TEST_P(KxEditFrameTest, TheFrameIsDrawnOverTheBorderInItsStyleAndColour) {
  const TFrameCase& c = GetParam();
  TThemesOff themesOff;
  auto* edit = MakeEdit();
  edit->SetFrameVisible(true);
  edit->SetFrameColor(clRed);
  edit->SetFrameHotColor(clBlue);
  edit->SetFrameStyle(c.Style);
  edit->SetFrameHotStyle(c.Style);
  edit->SetFrameHotTrack(c.HotTrack);
  if (c.HotBy) edit->Perform(c.HotBy, 0, 0);
  TDib dib(160, 24, RGB(1, 2, 3));
  PrintWindowTo(edit, dib);
  int w = edit->GetWidth(), h = edit->GetHeight();
  COLORREF want = kx_test::Shown(c.Expected);
  for (int ring = 0; ring < 2; ++ring) {
    SCOPED_TRACE(ring);
    bool inFrame = ring < c.Width;
    EXPECT_EQ(dib.Pixel(20, ring) == want, inFrame);
    EXPECT_EQ(dib.Pixel(ring, h / 2) == want, inFrame);
    EXPECT_EQ(dib.Pixel(w - 1 - ring, h / 2) == want, inFrame);
    EXPECT_EQ(dib.Pixel(20, h - 1 - ring) == want, inFrame);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, KxEditFrameTest,
    ::testing::Values(TFrameCase{"flat", false, 0, fsFlat, clRed, 1},
                      TFrameCase{"flatBold", false, 0, fsFlatBold, clRed, 2},
                      TFrameCase{"hotUnderTheMouse", true, CM_MOUSEENTER, fsFlat, clBlue, 1},
                      TFrameCase{"hotWithTheFocus", true, CM_ENTER, fsFlatBold, clBlue, 2},
                      TFrameCase{"notHotYet", true, 0, fsFlat, clRed, 1},
                      TFrameCase{"hotIgnoredWithoutTracking", false, CM_MOUSEENTER, fsFlat, clRed, 1}),
    [](const auto& info) { return std::string(info.param.Name); });

// Counts the non-client paints its window gets.
class TNCCountingEdit : public TKxEdit {
  DECLARE_CLASS(TNCCountingEdit, TKxEdit)
  using TKxEdit::TKxEdit;
  int NCPaints = 0;
  void WMNCPaint(TMessage& m) override {
    ++NCPaints;
    inherited::WMNCPaint(m);
  }
};
IMPLEMENT_CLASS(TNCCountingEdit)

TEST_F(KxEditTest, AHotTrackingFrameIsPaintedAgainOnTheWindowAsTheStateChanges) {
  TThemesOff themesOff;
  host.Show();
  auto* edit = MakeEdit<TNCCountingEdit>();
  edit->SetFrameHotTrack(true);
  PumpMessages();
  struct TStep {
    UINT Msg;
    bool Repaints;
  };
  for (TStep step : {TStep{CM_MOUSEENTER, true}, TStep{CM_MOUSELEAVE, true}, TStep{CM_ENTER, true},
                     TStep{CM_EXIT, true}}) {
    SCOPED_TRACE(step.Msg);
    edit->NCPaints = 0;
    edit->Perform(step.Msg, 0, 0);
    PumpMessages();
    EXPECT_EQ(edit->NCPaints > 0, step.Repaints);
  }
  edit->SetFrameHotTrack(false);
  edit->SetFrameVisible(false);
  PumpMessages();
  edit->NCPaints = 0;
  edit->Perform(CM_MOUSEENTER, 0, 0);
  PumpMessages();
  EXPECT_EQ(edit->NCPaints, 0) << "nothing to show without hot tracking";
}

TEST_F(KxEditTest, WithoutTheFrameTheSystemBorderStaysAndShowingItMakesANewWindow) {
  TThemesOff themesOff;
  auto* edit = MakeEdit();
  edit->SetFrameColor(clRed);
  TDib dib(160, 24, RGB(1, 2, 3));
  PrintWindowTo(edit, dib);
  EXPECT_EQ(CountColour(dib, kx_test::Shown(clRed), TRect{0, 0, 160, 24}), 0);
  HWND before = edit->GetHandle();
  edit->SetFrameHotTrack(true);
  EXPECT_TRUE(edit->GetFrameVisible());
  EXPECT_NE(edit->GetHandle(), before);
  EXPECT_TRUE(edit->GetCtl3D());
}

// --- drop-down button --------------------------------------------------------------------------------

// A descendant that shows the button and publishes it, as the colour and
// date edits do.
class TButtonEdit : public TKxEdit {
  DECLARE_CLASS(TButtonEdit, TKxEdit)
  using TKxEdit::TKxEdit;
};
PUBLISHED(TButtonEdit) {
  PublishKxDropButtonVisible(p);
  PublishKxFlatButtons(p);
}

TEST_F(KxEditTest, TheButtonTakesItsStripFromTheClientAreaAndAnswersTheHitTest) {
  TThemesOff themesOff;
  auto* edit = MakeEdit<TButtonEdit>();
  int before = edit->GetClientRect().right;
  edit->SetDropButtonVisible(true);
  int cx = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(edit->GetClientRect().right, before - cx);
  TRect button = edit->ButtonRect();
  EXPECT_EQ(button, (TRect{160 - 2 - cx, 2, 160 - 2, edit->GetHeight() - 2}));

  RECT w;
  GetWindowRect(edit->GetHandle(), &w);
  auto hit = [&](int x, int y) {
    return SendMessageA(edit->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(w.left + x, w.top + y));
  };
  EXPECT_EQ(hit((button.left + button.right) / 2, 12), HTCLIENT);
  EXPECT_TRUE(edit->GetMouseOverButton());
  EXPECT_EQ(hit(20, 12), HTCLIENT);
  EXPECT_FALSE(edit->GetMouseOverButton()) << "the text area";
  EXPECT_NE(hit(0, 12), HTCLIENT) << "the border is not the button";
  EXPECT_FALSE(edit->GetMouseOverButton());
}

struct TButtonCase {
  const char* Name;
  bool Flat;
  bool Hot;
  TColor Face;  // the colour that fills most of the button
};

void PrintTo(const TButtonCase& c, std::ostream* os) { *os << c.Name; }

class KxEditButtonTest : public KxEditTest, public ::testing::WithParamInterface<TButtonCase> {};

TEST_P(KxEditButtonTest, TheButtonIsDrawnWithItsArrow) {
  const TButtonCase& c = GetParam();
  TThemesOff themesOff;
  auto* edit = MakeEdit<TButtonEdit>();
  edit->SetColor(clYellow);
  edit->SetFlatButtonColor(clLime);
  edit->SetFlatButtons(c.Flat);
  edit->SetDropButtonVisible(true);
  if (c.Hot) edit->Perform(CM_MOUSEENTER, 0, 0);
  TDib dib(160, 24, RGB(1, 2, 3));
  PrintWindowTo(edit, dib);
  TRect button = edit->ButtonRect();
  int area = (button.right - button.left) * (button.bottom - button.top);
  EXPECT_GT(CountColour(dib, kx_test::Shown(c.Face), button), area / 2);
  EXPECT_GT(CountColour(dib, kx_test::Shown(clBlack), button), 5) << "the arrow";
  // Nothing of the button leaks into the text area beside it.
  EXPECT_EQ(CountColour(dib, kx_test::Shown(clBlack), TRect{20, 4, button.left - 2, 20}), 0);
}

INSTANTIATE_TEST_SUITE_P(Looks, KxEditButtonTest,
                         ::testing::Values(TButtonCase{"system", false, false, clBtnFace},
                                           TButtonCase{"flatAtRest", true, false, clYellow},
                                           TButtonCase{"flatHot", true, true, clLime}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KxEditTest, ADescendantStoresItsButtonSettingsUnlessAControllerHasThem) {
  Owned<TPanel> root(New<TPanel>(nullptr));
  root->SetName("Root");
  auto* edit = New<TButtonEdit>(root.get());
  edit->SetName("Edit1");
  edit->SetDropButtonVisible(true);
  edit->SetFlatButtons(true);
  edit->SetFlatButtonColor(clLime);
  auto written = [&] {
    Owned<TStringStream> out(New<TStringStream>());
    out->WriteComponent(edit);
    return out->GetDataString();
  };
  std::string before = written();
  for (const char* line : {"DropButtonVisible = True", "FlatButtons = True", "FlatButtonColor = clLime"})
    EXPECT_NE(before.find(line), std::string::npos) << line << "\n" << before;
  auto* controller = New<TKxFrameController>(root.get());
  edit->SetFrameController(controller);
  EXPECT_EQ(written().find("FlatButtonColor"), std::string::npos) << written();
}

TEST_F(KxEditTest, DropDownRunsOnlyWithTheButtonAndEndsWithItUp) {
  auto* edit = MakeEdit<TButtonEdit>();
  std::vector<std::string> log;
  struct TLog {
    std::vector<std::string>* log;
    TKxCustomEdit* edit;
    void Down(TObject*) { log->push_back(edit->GetButtonDown() ? "drop (down)" : "drop (up)"); }
    void Up(TObject*) { log->push_back("close"); }
  } logger{&log, edit};
  edit->SetOnDropDown(TNotifyEvent(&logger, &TLog::Down));
  edit->SetOnCloseUp(TNotifyEvent(&logger, &TLog::Up));
  edit->DoDropDown();
  EXPECT_TRUE(log.empty()) << "no button, no drop-down";
  edit->SetDropButtonVisible(true);
  edit->DoDropDown();
  EXPECT_EQ(log, (std::vector<std::string>{"drop (down)", "close"}));
  EXPECT_FALSE(edit->GetButtonDown());
  EXPECT_FALSE(edit->GetDroppedDown());
  edit->MouseCancel();
  EXPECT_NE(GetCapture(), edit->GetHandle());
}

// --- validation ---------------------------------------------------------------------------------------

struct TValidateCase {
  const char* Name;
  bool Handler;
  const char* Message;   // the handler's answer
  const char* Expected;  // the message raised
};

void PrintTo(const TValidateCase& c, std::ostream* os) { *os << c.Name; }

class KxEditValidateTest : public KxEditTest, public ::testing::WithParamInterface<TValidateCase> {};

TEST_P(KxEditValidateTest, ARefusedInputRaisesTheHandlersMessageOrThePlatforms) {
  const TValidateCase& c = GetParam();
  auto* edit = MakeEdit<TKxMaskEdit>();
  edit->SetEditMask("000;1;_");
  struct THandler {
    std::string answer;
    int calls = 0;
    void Validate(TObject*, std::string& message) {
      ++calls;
      message = answer;
    }
  } handler{c.Message};
  if (c.Handler) edit->SetOnValidateError(TKxValidateErrorEvent(&handler, &THandler::Validate));
  SendMessageA(edit->GetHandle(), WM_CHAR, '1', 1);  // one digit of three
  EXPECT_EQ(MessageOf<EDBEditError>([&] { edit->ValidateEdit(); }), c.Expected);
  EXPECT_EQ(handler.calls, c.Handler ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, KxEditValidateTest,
    ::testing::Values(TValidateCase{"itsOwnMessage", true, "Three digits, please", "Three digits, please"},
                      TValidateCase{"emptyFallsBack", true, "",
                                    "Invalid input value.  Use escape key to abandon changes"},
                      TValidateCase{"noHandler", false, "",
                                    "Invalid input value.  Use escape key to abandon changes"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(KxEditTest, TheMaskEditShowsItsLiteralsAsTheRightJustifiedText) {
  auto* edit = MakeEdit<TKxMaskEdit>();
  edit->SetEditMask("00-00;0;_");
  edit->SetText("1234");
  EXPECT_EQ(edit->GetText(), "1234");
  EXPECT_EQ(edit->GetRightJustifiedText(), "12-34");
  auto* plain = MakeEdit<TKxEdit>();
  plain->SetText("abc");
  EXPECT_EQ(plain->GetRightJustifiedText(), "abc");
}

// --- alignment -----------------------------------------------------------------------------------------

TEST_F(KxEditTest, RightAlignmentMakesARightAlignedWindow) {
  auto* edit = MakeEdit();
  HWND before = edit->GetHandle();
  edit->SetAlignment(taRightJustify);
  EXPECT_NE(edit->GetHandle(), before);
  LONG_PTR style = GetWindowLongPtrA(edit->GetHandle(), GWL_STYLE);
  EXPECT_EQ(style & (ES_RIGHT | ES_CENTER), ES_RIGHT);
  EXPECT_EQ(style & ES_MULTILINE, 0);
  EXPECT_NE(style & WS_CLIPCHILDREN, 0);
  EXPECT_EQ(edit->GetControlsAlignment(), taRightJustify);
}

// --- stored form ---------------------------------------------------------------------------------------

class TEditRoot : public TPanel {
  DECLARE_CLASS(TEditRoot, TPanel)
  using TPanel::TPanel;
  TKxEdit* Edit1 = nullptr;
  TKxMaskEdit* Mask1 = nullptr;
};
PUBLISHED(TEditRoot) {
  p.Field("Edit1", &TEditRoot::Edit1);
  p.Field("Mask1", &TEditRoot::Mask1);
}

std::string Written(TComponent* root) {
  Owned<TStringStream> out(New<TStringStream>());
  out->WriteComponent(root);
  return out->GetDataString();
}

TEST_F(KxEditTest, TheStoredFormKeepsTheSettingsTheMaskAndTheValueAndReadsRetiredNames) {
  if (!GetClass("TEditRoot")) RegisterClass(TEditRoot::StaticClass());
  std::string text =
      "object Root: TEditRoot\n"
      "  object Edit1: TKxEdit\n"
      "    FrameFlat = True\n"
      "    FrameFlatStyle = fsButtonUp\n"
      "    Alignment = taRightJustify\n"
      "    TabOnEnter = True\n"
      "    Text = 'hello'\n"
      "  end\n"
      "  object Mask1: TKxMaskEdit\n"
      "    EditMask = '00-00;0;_'\n"
      "    FocusColor = clAqua\n"
      "    Text = '1234'\n"
      "  end\n"
      "end\n";
  Owned<TEditRoot> root(New<TEditRoot>(nullptr));
  root->SetParent(host.Panel());
  Owned<TStringStream> in(New<TStringStream>(text));
  in->ReadComponent(root.get());
  ASSERT_NE(root->Edit1, nullptr);
  ASSERT_NE(root->Mask1, nullptr);
  EXPECT_TRUE(root->Edit1->GetFrameHotTrack());
  EXPECT_EQ(root->Edit1->GetFrameStyle(), fsStatus);
  EXPECT_EQ(root->Edit1->GetFrameHotStyle(), fsLowered);
  EXPECT_EQ(root->Edit1->GetAlignment(), taRightJustify);
  EXPECT_EQ(root->Edit1->GetText(), "hello");
  EXPECT_EQ(root->Mask1->GetRightJustifiedText(), "12-34");
  EXPECT_EQ(root->Mask1->GetFocusColor(), clAqua);

  std::string written = Written(root.get());
  EXPECT_EQ(written.find("FrameFlat"), std::string::npos) << written;
  for (const char* line : {"FrameHotTrack = True", "Alignment = taRightJustify", "TabOnEnter = True",
                           "EditMask = '00-00;0;_'", "Text = '1234'", "FocusColor = clAqua"})
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
  // Defaults stay out.
  for (const char* name : {"DisabledColor", "FramingPreference", "FrameColor", " Color = "})
    EXPECT_EQ(written.find(name), std::string::npos) << name << "\n" << written;

  auto* controller = New<TKxFrameController>(root.get());
  controller->SetName("Frames");
  root->Mask1->SetFrameController(controller);
  std::string after = Written(root.get());
  size_t at = after.find("object Mask1");
  std::string part = after.substr(at, after.find("end", at) - at);
  EXPECT_NE(part.find("FrameController = Frames"), std::string::npos) << part;
  EXPECT_EQ(part.find("FocusColor"), std::string::npos) << part;
  controller->Free();
  EXPECT_EQ(root->Mask1->GetFrameController(), nullptr);
}

}  // namespace
