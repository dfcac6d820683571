#include "kx/foundation/KxThemeSrv.h"

#include <vector>

#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Scopes.h"

DEFINE_ENUM_TYPE(TThemedElement,
                 "teButton", "teClock", "teComboBox", "teEdit", "teExplorerBar", "teHeader", "teListView",
                 "teMenu", "tePage", "teProgress", "teRebar", "teScrollBar", "teSpin", "teStartPanel",
                 "teStatus", "teTab", "teTaskBand", "teTaskBar", "teToolBar", "teToolTip", "teTrackBar",
                 "teTrayNotify", "teTreeview", "teWindow")
DEFINE_ENUM_TYPE(TThemedButton,
                 "tbButtonDontCare", "tbButtonRoot", "tbPushButtonNormal", "tbPushButtonHot",
                 "tbPushButtonPressed", "tbPushButtonDisabled", "tbPushButtonDefaulted",
                 "tbRadioButtonUncheckedNormal", "tbRadioButtonUncheckedHot",
                 "tbRadioButtonUncheckedPressed", "tbRadioButtonUncheckedDisabled",
                 "tbRadioButtonCheckedNormal", "tbRadioButtonCheckedHot", "tbRadioButtonCheckedPressed",
                 "tbRadioButtonCheckedDisabled", "tbCheckBoxUncheckedNormal", "tbCheckBoxUncheckedHot",
                 "tbCheckBoxUncheckedPressed", "tbCheckBoxUncheckedDisabled", "tbCheckBoxCheckedNormal",
                 "tbCheckBoxCheckedHot", "tbCheckBoxCheckedPressed", "tbCheckBoxCheckedDisabled",
                 "tbCheckBoxMixedNormal", "tbCheckBoxMixedHot", "tbCheckBoxMixedPressed",
                 "tbCheckBoxMixedDisabled", "tbGroupBoxNormal", "tbGroupBoxDisabled", "tbUserButton")
DEFINE_ENUM_TYPE(TThemedClock,
                 "tcClockDontCare", "tcClockRoot", "tcTimeNormal")
DEFINE_ENUM_TYPE(TThemedComboBox,
                 "tcComboBoxDontCare", "tcComboBoxRoot", "tcDropDownButtonNormal", "tcDropDownButtonHot",
                 "tcDropDownButtonPressed", "tcDropDownButtonDisabled")
DEFINE_ENUM_TYPE(TThemedEdit,
                 "teEditDontCare", "teEditRoot", "teEditTextNormal", "teEditTextHot", "teEditTextSelected",
                 "teEditTextDisabled", "teEditTextFocused", "teEditTextReadOnly", "teEditTextAssist",
                 "teEditCaret")
DEFINE_ENUM_TYPE(TThemedExplorerBar,
                 "tebExplorerBarDontCare", "tebExplorerBarRoot", "tebHeaderBackgroundNormal",
                 "tebHeaderBackgroundHot", "tebHeaderBackgroundPressed", "tebHeaderCloseNormal",
                 "tebHeaderCloseHot", "tebHeaderClosePressed", "tebHeaderPinNormal", "tebHeaderPinHot",
                 "tebHeaderPinPressed", "tebHeaderPinSelectedNormal", "tebHeaderPinSelectedHot",
                 "tebHeaderPinSelectedPressed", "tebIEBarMenuNormal", "tebIEBarMenuHot",
                 "tebIEBarMenuPressed", "tebNormalGroupBackground", "tebNormalGroupCollapseNormal",
                 "tebNormalGroupCollapseHot", "tebNormalGroupCollapsePressed", "tebNormalGroupExpandNormal",
                 "tebNormalGroupExpandHot", "tebNormalGroupExpandPressed", "tebNormalGroupHead",
                 "tebSpecialGroupBackground", "tebSpecialGroupCollapseSpecial", "tebSpecialGroupCollapseHot",
                 "tebSpecialGroupCollapsePressed", "tebSpecialGroupExpandSpecial",
                 "tebSpecialGroupExpandHot", "tebSpecialGroupExpandPressed", "tebSpecialGroupHead")
DEFINE_ENUM_TYPE(TThemedHeader,
                 "thHeaderDontCare", "thHeaderRoot", "thHeaderItemNormal", "thHeaderItemHot",
                 "thHeaderItemPressed", "thHeaderItemLeftNormal", "thHeaderItemLeftHot",
                 "thHeaderItemLeftPressed", "thHeaderItemRightNormal", "thHeaderItemRightHot",
                 "thHeaderItemRightPressed", "thHeaderSortArrowSortedUp", "thHeaderSortArrowSortedDown")
DEFINE_ENUM_TYPE(TThemedListview,
                 "tlListviewDontCare", "tlListviewRoot", "tlListItemNormal", "tlListItemHot",
                 "tlListItemSelected", "tlListItemDisabled", "tlListItemSelectedNotFocus", "tlListGroup",
                 "tlListDetail", "tlListSortDetail", "tlEmptyText")
DEFINE_ENUM_TYPE(TThemedMenu,
                 "tmMenuDontCare", "tmMenuRoot", "tmMenuItemNormal", "tmMenuItemSelected",
                 "tmMenuItemDemoted", "tmMenuDropDown", "tmMenuBarItem", "tmMenuBarDropDown", "tmChevron",
                 "tmSeparator")
DEFINE_ENUM_TYPE(TThemedPage,
                 "tpPageDontCare", "tpPageRoot", "tpUpNormal", "tpUpHot", "tpUpPressed", "tpUpDisabled",
                 "tpDownNormal", "tpDownHot", "tpDownPressed", "tpDownDisabled", "tpUpHorzNormal",
                 "tpUpHorzHot", "tpUpHorzPressed", "tpUpHorzDisabled", "tpDownHorzNormal", "tpDownHorzHot",
                 "tpDownHorzPressed", "tpDownHorzDisabled")
DEFINE_ENUM_TYPE(TThemedProgress,
                 "tpProgressDontCare", "tpProgressRoot", "tpBar", "tpBarVert", "tpChunk", "tpChunkVert")
DEFINE_ENUM_TYPE(TThemedRebar,
                 "trRebarDontCare", "trRebarRoot", "trGripper", "trGripperVert", "trBandNormal", "trBandHot",
                 "trBandPressed", "trBandDisabled", "trBandChecked", "trBandHotChecked", "trChevronNormal",
                 "trChevronHot", "trChevronPressed", "trChevronDisabled", "trChevronVertNormal",
                 "trChevronVertHot", "trChevronVertPressed", "trChevronVertDisabled")
DEFINE_ENUM_TYPE(TThemedScrollBar,
                 "tsScrollBarDontCare", "tsScrollBarRoot", "tsArrowBtnUpNormal", "tsArrowBtnUpHot",
                 "tsArrowBtnUpPressed", "tsArrowBtnUpDisabled", "tsArrowBtnDownNormal", "tsArrowBtnDownHot",
                 "tsArrowBtnDownPressed", "tsArrowBtnDownDisabled", "tsArrowBtnLeftNormal",
                 "tsArrowBtnLeftHot", "tsArrowBtnLeftPressed", "tsArrowBtnLeftDisabled",
                 "tsArrowBtnRightNormal", "tsArrowBtnRightHot", "tsArrowBtnRightPressed",
                 "tsArrowBtnRightDisabled", "tsThumbBtnHorzNormal", "tsThumbBtnHorzHot",
                 "tsThumbBtnHorzPressed", "tsThumbBtnHorzDisabled", "tsThumbBtnVertNormal",
                 "tsThumbBtnVertHot", "tsThumbBtnVertPressed", "tsThumbBtnVertDisabled",
                 "tsLowerTrackHorzNormal", "tsLowerTrackHorzHot", "tsLowerTrackHorzPressed",
                 "tsLowerTrackHorzDisabled", "tsUpperTrackHorzNormal", "tsUpperTrackHorzHot",
                 "tsUpperTrackHorzPressed", "tsUpperTrackHorzDisabled", "tsLowerTrackVertNormal",
                 "tsLowerTrackVertHot", "tsLowerTrackVertPressed", "tsLowerTrackVertDisabled",
                 "tsUpperTrackVertNormal", "tsUpperTrackVertHot", "tsUpperTrackVertPressed",
                 "tsUpperTrackVertDisabled", "tsGripperHorzNormal", "tsGripperHorzHot",
                 "tsGripperHorzPressed", "tsGripperHorzDisabled", "tsGripperVertNormal", "tsGripperVertHot",
                 "tsGripperVertPressed", "tsGripperVertDisabled", "tsSizeBoxRightAlign",
                 "tsSizeBoxLeftAlign")
DEFINE_ENUM_TYPE(TThemedSpin,
                 "tsSpinDontCare", "tsSpinRoot", "tsUpNormal", "tsUpHot", "tsUpPressed", "tsUpDisabled",
                 "tsDownNormal", "tsDownHot", "tsDownPressed", "tsDownDisabled", "tsUpHorzNormal",
                 "tsUpHorzHot", "tsUpHorzPressed", "tsUpHorzDisabled", "tsDownHorzNormal", "tsDownHorzHot",
                 "tsDownHorzPressed", "tsDownHorzDisabled")
DEFINE_ENUM_TYPE(TThemedStartPanel,
                 "tspStartPanelDontCare", "tspStartPanelRoot", "tspUserPane", "tspMorePrograms",
                 "tspMoreProgramsArrowNormal", "tspMoreProgramsArrowHot", "tspMoreProgramsArrowPressed",
                 "tspProgList", "tspProgListSeparator", "tspPlacesList", "tspPlacesListSeparator",
                 "tspLogOff", "tspLogOffButtonsNormal", "tspLogOffButtonsHot", "tspLogOffButtonsPressed",
                 "tspUserPicture", "tspPreview")
DEFINE_ENUM_TYPE(TThemedStatus,
                 "tsStatusDontCare", "tsStatusRoot", "tsPane", "tsGripperPane", "tsGripper")
DEFINE_ENUM_TYPE(TThemedTab,
                 "ttTabDontCare", "ttTabRoot", "ttTabItemNormal", "ttTabItemHot", "ttTabItemSelected",
                 "ttTabItemDisabled", "ttTabItemFocused", "ttTabItemLeftEdgeNormal", "ttTabItemLeftEdgeHot",
                 "ttTabItemLeftEdgeSelected", "ttTabItemLeftEdgeDisabled", "ttTabItemLeftEdgeFocused",
                 "ttTabItemRightEdgeNormal", "ttTabItemRightEdgeHot", "ttTabItemRightEdgeSelected",
                 "ttTabItemRightEdgeDisabled", "ttTabItemRightEdgeFocused", "ttTabItemBothEdgeNormal",
                 "ttTabItemBothEdgeHot", "ttTabItemBothEdgeSelected", "ttTabItemBothEdgeDisabled",
                 "ttTabItemBothEdgeFocused", "ttTopTabItemNormal", "ttTopTabItemHot", "ttTopTabItemSelected",
                 "ttTopTabItemDisabled", "ttTopTabItemFocused", "ttTopTabItemLeftEdgeNormal",
                 "ttTopTabItemLeftEdgeHot", "ttTopTabItemLeftEdgeSelected", "ttTopTabItemLeftEdgeDisabled",
                 "ttTopTabItemLeftEdgeFocused", "ttTopTabItemRightEdgeNormal", "ttTopTabItemRightEdgeHot",
                 "ttTopTabItemRightEdgeSelected", "ttTopTabItemRightEdgeDisabled",
                 "ttTopTabItemRightEdgeFocused", "ttTopTabItemBothEdgeNormal", "ttTopTabItemBothEdgeHot",
                 "ttTopTabItemBothEdgeSelected", "ttTopTabItemBothEdgeDisabled",
                 "ttTopTabItemBothEdgeFocused", "ttPane", "ttBody")
DEFINE_ENUM_TYPE(TThemedTaskBand,
                 "ttbTaskBandDontCare", "ttbTaskBandRoot", "ttbGroupCount", "ttbFlashButton",
                 "ttpFlashButtonGroupMenu")
DEFINE_ENUM_TYPE(TThemedTaskBar,
                 "ttTaskBarDontCare", "ttTaskBarRoot", "ttbTimeNormal")
DEFINE_ENUM_TYPE(TThemedToolBar,
                 "ttbToolBarDontCare", "ttbToolBarRoot", "ttbButtonNormal", "ttbButtonHot",
                 "ttbButtonPressed", "ttbButtonDisabled", "ttbButtonChecked", "ttbButtonCheckedHot",
                 "ttbDropDownButtonNormal", "ttbDropDownButtonHot", "ttbDropDownButtonPressed",
                 "ttbDropDownButtonDisabled", "ttbDropDownButtonChecked", "ttbDropDownButtonCheckedHot",
                 "ttbSplitButtonNormal", "ttbSplitButtonHot", "ttbSplitButtonPressed",
                 "ttbSplitButtonDisabled", "ttbSplitButtonChecked", "ttbSplitButtonCheckedHot",
                 "ttbSplitButtonDropDownNormal", "ttbSplitButtonDropDownHot",
                 "ttbSplitButtonDropDownPressed", "ttbSplitButtonDropDownDisabled",
                 "ttbSplitButtonDropDownChecked", "ttbSplitButtonDropDownCheckedHot", "ttbSeparatorNormal",
                 "ttbSeparatorHot", "ttbSeparatorPressed", "ttbSeparatorDisabled", "ttbSeparatorChecked",
                 "ttbSeparatorCheckedHot", "ttbSeparatorVertNormal", "ttbSeparatorVertHot",
                 "ttbSeparatorVertPressed", "ttbSeparatorVertDisabled", "ttbSeparatorVertChecked",
                 "ttbSeparatorVertCheckedHot")
DEFINE_ENUM_TYPE(TThemedToolTip,
                 "tttToolTipDontCare", "tttToolTipRoot", "tttStandardNormal", "tttStandardLink",
                 "tttStandardTitleNormal", "tttStandardTitleLink", "tttBaloonNormal", "tttBaloonLink",
                 "tttBaloonTitleNormal", "tttBaloonTitleLink", "tttCloseNormal", "tttCloseHot",
                 "tttClosePressed")
DEFINE_ENUM_TYPE(TThemedTrackBar,
                 "ttbTrackBarDontCare", "ttbTrackBarRoot", "ttbTrack", "ttbTrackVert", "ttbThumbNormal",
                 "ttbThumbHot", "ttbThumbPressed", "ttbThumbFocused", "ttbThumbDisabled",
                 "ttbThumbBottomNormal", "ttbThumbBottomHot", "ttbThumbBottomPressed",
                 "ttbThumbBottomFocused", "ttbThumbBottomDisabled", "ttbThumbTopNormal", "ttbThumbTopHot",
                 "ttbThumbTopPressed", "ttbThumbTopFocused", "ttbThumbTopDisabled", "ttbThumbVertNormal",
                 "ttbThumbVertHot", "ttbThumbVertPressed", "ttbThumbVertFocused", "ttbThumbVertDisabled",
                 "ttbThumbLeftNormal", "ttbThumbLeftHot", "ttbThumbLeftPressed", "ttbThumbLeftFocused",
                 "ttbThumbLeftDisabled", "ttbThumbRightNormal", "ttbThumbRightHot", "ttbThumbRightPressed",
                 "ttbThumbRightFocused", "ttbThumbRightDisabled", "ttbThumbTics", "ttbThumbTicsVert")
DEFINE_ENUM_TYPE(TThemedTrayNotify,
                 "ttnTrayNotifyDontCare", "ttnTrayNotifyRoot", "ttnBackground", "ttnAnimBackground")
DEFINE_ENUM_TYPE(TThemedTreeview,
                 "ttTreeviewDontCare", "ttTreeviewRoot", "ttItemNormal", "ttItemHot", "ttItemSelected",
                 "ttItemDisabled", "ttItemSelectedNotFocus", "ttGlyphClosed", "ttGlyphOpened", "ttBranch")
DEFINE_ENUM_TYPE(TThemedWindow,
                 "twWindowDontCare", "twWindowRoot", "twCaptionActive", "twCaptionInactive",
                 "twCaptionDisabled", "twSmallCaptionActive", "twSmallCaptionInactive",
                 "twSmallCaptionDisabled", "twMinCaptionActive", "twMinCaptionInactive",
                 "twMinCaptionDisabled", "twSmallMinCaptionActive", "twSmallMinCaptionInactive",
                 "twSmallMinCaptionDisabled", "twMaxCaptionActive", "twMaxCaptionInactive",
                 "twMaxCaptionDisabled", "twSmallMaxCaptionActive", "twSmallMaxCaptionInactive",
                 "twSmallMaxCaptionDisabled", "twFrameLeftActive", "twFrameLeftInactive",
                 "twFrameRightActive", "twFrameRightInactive", "twFrameBottomActive",
                 "twFrameBottomInactive", "twSmallFrameLeftActive", "twSmallFrameLeftInactive",
                 "twSmallFrameRightActive", "twSmallFrameRightInactive", "twSmallFrameBottomActive",
                 "twSmallFrameBottomInactive", "twSysButtonNormal", "twSysButtonHot", "twSysButtonPushed",
                 "twSysButtonDisabled", "twMDISysButtonNormal", "twMDISysButtonHot", "twMDISysButtonPushed",
                 "twMDISysButtonDisabled", "twMinButtonNormal", "twMinButtonHot", "twMinButtonPushed",
                 "twMinButtonDisabled", "twMDIMinButtonNormal", "twMDIMinButtonHot", "twMDIMinButtonPushed",
                 "twMDIMinButtonDisabled", "twMaxButtonNormal", "twMaxButtonHot", "twMaxButtonPushed",
                 "twMaxButtonDisabled", "twCloseButtonNormal", "twCloseButtonHot", "twCloseButtonPushed",
                 "twCloseButtonDisabled", "twSmallCloseButtonNormal", "twSmallCloseButtonHot",
                 "twSmallCloseButtonPushed", "twSmallCloseButtonDisabled", "twMDICloseButtonNormal",
                 "twMDICloseButtonHot", "twMDICloseButtonPushed", "twMDICloseButtonDisabled",
                 "twRestoreButtonNormal", "twRestoreButtonHot", "twRestoreButtonPushed",
                 "twRestoreButtonDisabled", "twMDIRestoreButtonNormal", "twMDIRestoreButtonHot",
                 "twMDIRestoreButtonPushed", "twMDIRestoreButtonDisabled", "twHelpButtonNormal",
                 "twHelpButtonHot", "twHelpButtonPushed", "twHelpButtonDisabled", "twMDIHelpButtonNormal",
                 "twMDIHelpButtonHot", "twMDIHelpButtonPushed", "twMDIHelpButtonDisabled",
                 "twHorzScrollNormal", "twHorzScrollHot", "twHorzScrollPushed", "twHorzScrollDisabled",
                 "twHorzThumbNormal", "twHorzThumbHot", "twHorzThumbPushed", "twHorzThumbDisabled",
                 "twVertScrollNormal", "twVertScrollHot", "twVertScrollPushed", "twVertScrollDisabled",
                 "twVertThumbNormal", "twVertThumbHot", "twVertThumbPushed", "twVertThumbDisabled",
                 "twDialog", "twCaptionSizingTemplate", "twSmallCaptionSizingTemplate",
                 "twFrameLeftSizingTemplate", "twSmallFrameLeftSizingTemplate", "twFrameRightSizingTemplate",
                 "twSmallFrameRightSizingTemplate", "twFrameBottomSizingTemplate",
                 "twSmallFrameBottomSizingTemplate")

namespace {

// Per element: its theme class name and the number of states of each of its
// parts, parts numbered from 1.
struct TElementInfo {
  const wchar_t* ClassName;
  std::vector<int> PartStates;
};

const TElementInfo& InfoOf(TThemedElement element) {
  static const TElementInfo table[] = {
    {L"button", {5, 8, 12, 2, 1}},  // teButton
    {L"clock", {1}},  // teClock
    {L"combobox", {4}},  // teComboBox
    {L"edit", {7, 1}},  // teEdit
    {L"explorerbar", {3, 3, 6, 3, 1, 3, 3, 1, 1, 3, 3, 1}},  // teExplorerBar
    {L"header", {3, 3, 3, 2}},  // teHeader
    {L"listview", {5, 1, 1, 1, 1}},  // teListView
    {L"menu", {3, 1, 1, 1, 1, 1}},  // teMenu
    {L"page", {4, 4, 4, 4}},  // tePage
    {L"progress", {1, 1, 1, 1}},  // teProgress
    {L"rebar", {1, 1, 6, 4, 4}},  // teRebar
    {L"scrollbar", {16, 4, 4, 4, 4, 4, 4, 4, 4, 2}},  // teScrollBar
    {L"spin", {4, 4, 4, 4}},  // teSpin
    {L"startpanel", {1, 1, 3, 1, 1, 1, 1, 1, 3, 1, 1}},  // teStartPanel
    {L"status", {1, 1, 1}},  // teStatus
    {L"tab", {5, 5, 5, 5, 5, 5, 5, 5, 1, 1}},  // teTab
    {L"taskband", {1, 1, 1}},  // teTaskBand
    {L"taskbar", {1}},  // teTaskBar
    {L"toolbar", {6, 6, 6, 6, 6, 6}},  // teToolBar
    {L"tooltip", {2, 2, 2, 2, 3}},  // teToolTip
    {L"trackbar", {1, 1, 5, 5, 5, 5, 5, 5, 1, 1}},  // teTrackBar
    {L"traynotify", {1, 1}},  // teTrayNotify
    {L"treeview", {5, 2, 1}},  // teTreeview
    {L"window", {3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 1, 1, 1, 1, 1, 1, 1, 1, 1}},  // teWindow
  };
  return table[element];
}

}  // namespace

const wchar_t* ThemedElementClassName(TThemedElement element) { return InfoOf(element).ClassName; }

IMPLEMENT_CLASS(TThemeServices)

TThemedElementDetails TThemeServices::ElementDetails(TThemedElement element, int value) {
  // The don't-care and root values come first: part 0, states 1 and 2.
  if (value < 2) return {element, 0, value + 1};
  int first = 2, part = 1;
  for (int states : InfoOf(element).PartStates) {
    if (value < first + states) return {element, part, value - first + 1};
    first += states;
    ++part;
  }
  return {element, 0, 0};
}

TThemeServices::TThemeServices(HWND window) : window_(window) {
  if (window_) {
    instance_ = MakeObjectInstance(TWndMethod(this, &TThemeServices::WindowProc));
    oldWndProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(instance_)));
  }
  themesAvailable_ = InitThemeLibrary();
  UpdateThemes();
}

void TThemeServices::Destroy() {
  Unsubclass();
  UnloadThemeData();
  FreeThemeLibrary();
  inherited::Destroy();
}

void TThemeServices::Unsubclass() {
  if (!instance_) return;
  if (IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldWndProc_));
  FreeObjectInstance(instance_);
  instance_ = nullptr;
}

void TThemeServices::UpdateThemes() {
  if (useThemes_) UnloadThemeData();
  useThemes_ = UseThemes() && GetComCtlVersion() >= ComCtlVersionIE6;
  controlsEnabled_ = useThemes_ && KxUxTheme::GetThemeAppProperties &&
                     (KxUxTheme::GetThemeAppProperties() & KxUxTheme::STAP_ALLOW_CONTROLS) != 0;
}

void TThemeServices::UnloadThemeData() {
  // A watched window already gone means the process is going down and
  // uxtheme may have dropped its data with it: nothing is closed then.
  if (window_ && !IsWindow(window_)) return;
  for (auto& theme : themes_) {
    if (theme && KxUxTheme::CloseThemeData) KxUxTheme::CloseThemeData(theme);
    theme = nullptr;
  }
}

KxUxTheme::HTHEME TThemeServices::GetTheme(TThemedElement element) {
  if (useThemes_ && !themes_[element] && KxUxTheme::OpenThemeData)
    themes_[element] = KxUxTheme::OpenThemeData(window_, InfoOf(element).ClassName);
  return useThemes_ ? themes_[element] : nullptr;
}

void TThemeServices::WindowProc(TMessage& message) {
  WNDPROC old = oldWndProc_;
  HWND window = window_;  // the handler may free the services
  // The window's own procedure hears every message, also one whose handler
  // failed; the failure goes on afterwards to the thunk, which reports it.
  TFinally own([&] { message.Result = CallWindowProcA(old, window, message.Msg, message.WParam, message.LParam); });
  switch (message.Msg) {
    case WM_DESTROY:
      // Put the window's own procedure back now, so that freeing the
      // services later does not touch a dead window.
      Unsubclass();
      break;
    case WM_THEMECHANGED:
      UpdateThemes();
      DoOnThemeChange();
      break;
  }
}

void TThemeServices::DoOnThemeChange() {
  if (onThemeChange_) onThemeChange_(this);
}

void TThemeServices::DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& rect,
                                 const TRect* clipRect) {
  if (KxUxTheme::HTHEME theme = GetTheme(details.Element); theme && KxUxTheme::DrawThemeBackground)
    KxUxTheme::DrawThemeBackground(theme, dc, details.Part, details.State, &rect, clipRect);
}

void TThemeServices::DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text,
                              const TRect& rect, DWORD flags, DWORD flags2) {
  if (KxUxTheme::HTHEME theme = GetTheme(details.Element); theme && KxUxTheme::DrawThemeText)
    KxUxTheme::DrawThemeText(theme, dc, details.Part, details.State, text.c_str(), static_cast<int>(text.size()),
                             flags, flags2, &rect);
}

void TThemeServices::DrawEdge(HDC dc, const TThemedElementDetails& details, const TRect& rect, UINT edge,
                              UINT flags, TRect* contentRect) {
  if (KxUxTheme::HTHEME theme = GetTheme(details.Element); theme && KxUxTheme::DrawThemeEdge)
    KxUxTheme::DrawThemeEdge(theme, dc, details.Part, details.State, &rect, edge, flags, contentRect);
}

void TThemeServices::DrawIcon(HDC dc, const TThemedElementDetails& details, const TRect& rect,
                              HIMAGELIST imageList, int index) {
  if (KxUxTheme::HTHEME theme = GetTheme(details.Element); theme && KxUxTheme::DrawThemeIcon)
    KxUxTheme::DrawThemeIcon(theme, dc, details.Part, details.State, &rect, imageList, index);
}

TRect TThemeServices::ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& boundingRect) {
  TRect result = boundingRect;
  if (KxUxTheme::HTHEME theme = GetTheme(details.Element); theme && KxUxTheme::GetThemeBackgroundContentRect)
    KxUxTheme::GetThemeBackgroundContentRect(theme, dc, details.Part, details.State, &boundingRect, &result);
  return result;
}

bool TThemeServices::HasTransparentParts(const TThemedElementDetails& details) {
  KxUxTheme::HTHEME theme = GetTheme(details.Element);
  return theme && KxUxTheme::IsThemeBackgroundPartiallyTransparent &&
         KxUxTheme::IsThemeBackgroundPartiallyTransparent(theme, details.Part, details.State);
}

void TThemeServices::DrawParentBackground(HWND window, HDC target, const TThemedElementDetails* details,
                                          bool onlyIfTransparent, const TRect* bounds) {
  if (onlyIfTransparent && details && !HasTransparentParts(*details)) return;
  if (KxUxTheme::DrawThemeParentBackground) KxUxTheme::DrawThemeParentBackground(window, target, bounds);
}

TColor TThemeServices::ColorToRGB(TColor color, const TThemedElementDetails* details) {
  if (!details || color >= 0) return color;
  KxUxTheme::HTHEME theme = GetTheme(details->Element);
  if (!theme || !KxUxTheme::GetThemeSysColor) return color;
  return static_cast<TColor>(KxUxTheme::GetThemeSysColor(theme, color & 0x7FFFFFFF));
}

void TThemeServices::PaintBorder(TWinControl* control, bool eraseLRCorner) {
  HWND window = control->GetHandle();
  LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if (!(exStyle & WS_EX_CLIENTEDGE)) return;
  TRect r{};
  GetWindowRect(window, &r);
  OffsetRect(&r, -r.left, -r.top);
  TWindowDC dc(window);
  TRect inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  if (eraseLRCorner && (style & WS_HSCROLL) && (style & WS_VSCROLL)) {
    TRect corner{inner.right - GetSystemMetrics(SM_CXVSCROLL), inner.bottom - GetSystemMetrics(SM_CYHSCROLL),
                 inner.right, inner.bottom};
    FillRect(dc.Get(), &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  ExcludeClipRect(dc.Get(), inner.left, inner.top, inner.right, inner.bottom);
  DrawElement(dc.Get(), GetElementDetails(teEditTextNormal), r);
}

namespace {
TThemeServices* services = nullptr;
}  // namespace

TThemeServices& ThemeServices() {
  if (!services) services = New<TThemeServices>(Application ? Application->GetHandle() : nullptr);
  return *services;
}

void FinalizeKxThemeSrv() { FreeAndNil(services); }
