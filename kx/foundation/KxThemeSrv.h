// KxThemeSrv: the theme services of the Kx library, one object per process.
//
// Every control that can draw in the visual style asks ThemeServices()
// whether themes are enabled and, when they are, has it draw the theme's
// parts. It sits on KxUxTheme (uxtheme.dll loaded at run time), caches one
// theme handle per element class, and follows theme switches made while the
// program runs by watching the application window for WM_THEMECHANGED.
//
// Each element has an enumeration: a don't-care and a root value, then the
// states of its parts, part by part in the schema's part order, each part's
// states in the schema's state order; GetElementDetails turns a value into
// the element, part and state numbers uxtheme.dll takes.
#pragma once

#include <cstdint>
#include <string>

#include "classlib/Controls.h"
#include "classlib/Graphics.h"
#include "classlib/Types.h"
#include "kx/foundation/KxUxTheme.h"

enum TThemedElement : uint8_t {
  teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu, tePage, teProgress,
  teRebar, teScrollBar, teSpin, teStartPanel, teStatus, teTab, teTaskBand, teTaskBar, teToolBar, teToolTip,
  teTrackBar, teTrayNotify, teTreeview, teWindow
};
DECLARE_ENUM_TYPE(TThemedElement);

enum TThemedButton {
  tbButtonDontCare, tbButtonRoot, tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed,
  tbPushButtonDisabled, tbPushButtonDefaulted, tbRadioButtonUncheckedNormal, tbRadioButtonUncheckedHot,
  tbRadioButtonUncheckedPressed, tbRadioButtonUncheckedDisabled, tbRadioButtonCheckedNormal,
  tbRadioButtonCheckedHot, tbRadioButtonCheckedPressed, tbRadioButtonCheckedDisabled,
  tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed, tbCheckBoxUncheckedDisabled,
  tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot, tbCheckBoxCheckedPressed, tbCheckBoxCheckedDisabled,
  tbCheckBoxMixedNormal, tbCheckBoxMixedHot, tbCheckBoxMixedPressed, tbCheckBoxMixedDisabled,
  tbGroupBoxNormal, tbGroupBoxDisabled, tbUserButton
};
DECLARE_ENUM_TYPE(TThemedButton);
enum TThemedClock {
  tcClockDontCare, tcClockRoot, tcTimeNormal
};
DECLARE_ENUM_TYPE(TThemedClock);
enum TThemedComboBox {
  tcComboBoxDontCare, tcComboBoxRoot, tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed,
  tcDropDownButtonDisabled
};
DECLARE_ENUM_TYPE(TThemedComboBox);
enum TThemedEdit {
  teEditDontCare, teEditRoot, teEditTextNormal, teEditTextHot, teEditTextSelected, teEditTextDisabled,
  teEditTextFocused, teEditTextReadOnly, teEditTextAssist, teEditCaret
};
DECLARE_ENUM_TYPE(TThemedEdit);
enum TThemedExplorerBar {
  tebExplorerBarDontCare, tebExplorerBarRoot, tebHeaderBackgroundNormal, tebHeaderBackgroundHot,
  tebHeaderBackgroundPressed, tebHeaderCloseNormal, tebHeaderCloseHot, tebHeaderClosePressed,
  tebHeaderPinNormal, tebHeaderPinHot, tebHeaderPinPressed, tebHeaderPinSelectedNormal,
  tebHeaderPinSelectedHot, tebHeaderPinSelectedPressed, tebIEBarMenuNormal, tebIEBarMenuHot,
  tebIEBarMenuPressed, tebNormalGroupBackground, tebNormalGroupCollapseNormal, tebNormalGroupCollapseHot,
  tebNormalGroupCollapsePressed, tebNormalGroupExpandNormal, tebNormalGroupExpandHot,
  tebNormalGroupExpandPressed, tebNormalGroupHead, tebSpecialGroupBackground, tebSpecialGroupCollapseSpecial,
  tebSpecialGroupCollapseHot, tebSpecialGroupCollapsePressed, tebSpecialGroupExpandSpecial,
  tebSpecialGroupExpandHot, tebSpecialGroupExpandPressed, tebSpecialGroupHead
};
DECLARE_ENUM_TYPE(TThemedExplorerBar);
enum TThemedHeader {
  thHeaderDontCare, thHeaderRoot, thHeaderItemNormal, thHeaderItemHot, thHeaderItemPressed,
  thHeaderItemLeftNormal, thHeaderItemLeftHot, thHeaderItemLeftPressed, thHeaderItemRightNormal,
  thHeaderItemRightHot, thHeaderItemRightPressed, thHeaderSortArrowSortedUp, thHeaderSortArrowSortedDown
};
DECLARE_ENUM_TYPE(TThemedHeader);
enum TThemedListview {
  tlListviewDontCare, tlListviewRoot, tlListItemNormal, tlListItemHot, tlListItemSelected,
  tlListItemDisabled, tlListItemSelectedNotFocus, tlListGroup, tlListDetail, tlListSortDetail, tlEmptyText
};
DECLARE_ENUM_TYPE(TThemedListview);
enum TThemedMenu {
  tmMenuDontCare, tmMenuRoot, tmMenuItemNormal, tmMenuItemSelected, tmMenuItemDemoted, tmMenuDropDown,
  tmMenuBarItem, tmMenuBarDropDown, tmChevron, tmSeparator
};
DECLARE_ENUM_TYPE(TThemedMenu);
enum TThemedPage {
  tpPageDontCare, tpPageRoot, tpUpNormal, tpUpHot, tpUpPressed, tpUpDisabled, tpDownNormal, tpDownHot,
  tpDownPressed, tpDownDisabled, tpUpHorzNormal, tpUpHorzHot, tpUpHorzPressed, tpUpHorzDisabled,
  tpDownHorzNormal, tpDownHorzHot, tpDownHorzPressed, tpDownHorzDisabled
};
DECLARE_ENUM_TYPE(TThemedPage);
enum TThemedProgress {
  tpProgressDontCare, tpProgressRoot, tpBar, tpBarVert, tpChunk, tpChunkVert
};
DECLARE_ENUM_TYPE(TThemedProgress);
enum TThemedRebar {
  trRebarDontCare, trRebarRoot, trGripper, trGripperVert, trBandNormal, trBandHot, trBandPressed,
  trBandDisabled, trBandChecked, trBandHotChecked, trChevronNormal, trChevronHot, trChevronPressed,
  trChevronDisabled, trChevronVertNormal, trChevronVertHot, trChevronVertPressed, trChevronVertDisabled
};
DECLARE_ENUM_TYPE(TThemedRebar);
enum TThemedScrollBar {
  tsScrollBarDontCare, tsScrollBarRoot, tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed,
  tsArrowBtnUpDisabled, tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed,
  tsArrowBtnDownDisabled, tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed,
  tsArrowBtnLeftDisabled, tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed,
  tsArrowBtnRightDisabled, tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed,
  tsThumbBtnHorzDisabled, tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed,
  tsThumbBtnVertDisabled, tsLowerTrackHorzNormal, tsLowerTrackHorzHot, tsLowerTrackHorzPressed,
  tsLowerTrackHorzDisabled, tsUpperTrackHorzNormal, tsUpperTrackHorzHot, tsUpperTrackHorzPressed,
  tsUpperTrackHorzDisabled, tsLowerTrackVertNormal, tsLowerTrackVertHot, tsLowerTrackVertPressed,
  tsLowerTrackVertDisabled, tsUpperTrackVertNormal, tsUpperTrackVertHot, tsUpperTrackVertPressed,
  tsUpperTrackVertDisabled, tsGripperHorzNormal, tsGripperHorzHot, tsGripperHorzPressed,
  tsGripperHorzDisabled, tsGripperVertNormal, tsGripperVertHot, tsGripperVertPressed, tsGripperVertDisabled,
  tsSizeBoxRightAlign, tsSizeBoxLeftAlign
};
DECLARE_ENUM_TYPE(TThemedScrollBar);
enum TThemedSpin {
  tsSpinDontCare, tsSpinRoot, tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled, tsDownNormal, tsDownHot,
  tsDownPressed, tsDownDisabled, tsUpHorzNormal, tsUpHorzHot, tsUpHorzPressed, tsUpHorzDisabled,
  tsDownHorzNormal, tsDownHorzHot, tsDownHorzPressed, tsDownHorzDisabled
};
DECLARE_ENUM_TYPE(TThemedSpin);
enum TThemedStartPanel {
  tspStartPanelDontCare, tspStartPanelRoot, tspUserPane, tspMorePrograms, tspMoreProgramsArrowNormal,
  tspMoreProgramsArrowHot, tspMoreProgramsArrowPressed, tspProgList, tspProgListSeparator, tspPlacesList,
  tspPlacesListSeparator, tspLogOff, tspLogOffButtonsNormal, tspLogOffButtonsHot, tspLogOffButtonsPressed,
  tspUserPicture, tspPreview
};
DECLARE_ENUM_TYPE(TThemedStartPanel);
enum TThemedStatus {
  tsStatusDontCare, tsStatusRoot, tsPane, tsGripperPane, tsGripper
};
DECLARE_ENUM_TYPE(TThemedStatus);
enum TThemedTab {
  ttTabDontCare, ttTabRoot, ttTabItemNormal, ttTabItemHot, ttTabItemSelected, ttTabItemDisabled,
  ttTabItemFocused, ttTabItemLeftEdgeNormal, ttTabItemLeftEdgeHot, ttTabItemLeftEdgeSelected,
  ttTabItemLeftEdgeDisabled, ttTabItemLeftEdgeFocused, ttTabItemRightEdgeNormal, ttTabItemRightEdgeHot,
  ttTabItemRightEdgeSelected, ttTabItemRightEdgeDisabled, ttTabItemRightEdgeFocused, ttTabItemBothEdgeNormal,
  ttTabItemBothEdgeHot, ttTabItemBothEdgeSelected, ttTabItemBothEdgeDisabled, ttTabItemBothEdgeFocused,
  ttTopTabItemNormal, ttTopTabItemHot, ttTopTabItemSelected, ttTopTabItemDisabled, ttTopTabItemFocused,
  ttTopTabItemLeftEdgeNormal, ttTopTabItemLeftEdgeHot, ttTopTabItemLeftEdgeSelected,
  ttTopTabItemLeftEdgeDisabled, ttTopTabItemLeftEdgeFocused, ttTopTabItemRightEdgeNormal,
  ttTopTabItemRightEdgeHot, ttTopTabItemRightEdgeSelected, ttTopTabItemRightEdgeDisabled,
  ttTopTabItemRightEdgeFocused, ttTopTabItemBothEdgeNormal, ttTopTabItemBothEdgeHot,
  ttTopTabItemBothEdgeSelected, ttTopTabItemBothEdgeDisabled, ttTopTabItemBothEdgeFocused, ttPane, ttBody
};
DECLARE_ENUM_TYPE(TThemedTab);
enum TThemedTaskBand {
  ttbTaskBandDontCare, ttbTaskBandRoot, ttbGroupCount, ttbFlashButton, ttpFlashButtonGroupMenu
};
DECLARE_ENUM_TYPE(TThemedTaskBand);
enum TThemedTaskBar {
  ttTaskBarDontCare, ttTaskBarRoot, ttbTimeNormal
};
DECLARE_ENUM_TYPE(TThemedTaskBar);
enum TThemedToolBar {
  ttbToolBarDontCare, ttbToolBarRoot, ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonDisabled,
  ttbButtonChecked, ttbButtonCheckedHot, ttbDropDownButtonNormal, ttbDropDownButtonHot,
  ttbDropDownButtonPressed, ttbDropDownButtonDisabled, ttbDropDownButtonChecked, ttbDropDownButtonCheckedHot,
  ttbSplitButtonNormal, ttbSplitButtonHot, ttbSplitButtonPressed, ttbSplitButtonDisabled,
  ttbSplitButtonChecked, ttbSplitButtonCheckedHot, ttbSplitButtonDropDownNormal, ttbSplitButtonDropDownHot,
  ttbSplitButtonDropDownPressed, ttbSplitButtonDropDownDisabled, ttbSplitButtonDropDownChecked,
  ttbSplitButtonDropDownCheckedHot, ttbSeparatorNormal, ttbSeparatorHot, ttbSeparatorPressed,
  ttbSeparatorDisabled, ttbSeparatorChecked, ttbSeparatorCheckedHot, ttbSeparatorVertNormal,
  ttbSeparatorVertHot, ttbSeparatorVertPressed, ttbSeparatorVertDisabled, ttbSeparatorVertChecked,
  ttbSeparatorVertCheckedHot
};
DECLARE_ENUM_TYPE(TThemedToolBar);
enum TThemedToolTip {
  tttToolTipDontCare, tttToolTipRoot, tttStandardNormal, tttStandardLink, tttStandardTitleNormal,
  tttStandardTitleLink, tttBaloonNormal, tttBaloonLink, tttBaloonTitleNormal, tttBaloonTitleLink,
  tttCloseNormal, tttCloseHot, tttClosePressed
};
DECLARE_ENUM_TYPE(TThemedToolTip);
enum TThemedTrackBar {
  ttbTrackBarDontCare, ttbTrackBarRoot, ttbTrack, ttbTrackVert, ttbThumbNormal, ttbThumbHot, ttbThumbPressed,
  ttbThumbFocused, ttbThumbDisabled, ttbThumbBottomNormal, ttbThumbBottomHot, ttbThumbBottomPressed,
  ttbThumbBottomFocused, ttbThumbBottomDisabled, ttbThumbTopNormal, ttbThumbTopHot, ttbThumbTopPressed,
  ttbThumbTopFocused, ttbThumbTopDisabled, ttbThumbVertNormal, ttbThumbVertHot, ttbThumbVertPressed,
  ttbThumbVertFocused, ttbThumbVertDisabled, ttbThumbLeftNormal, ttbThumbLeftHot, ttbThumbLeftPressed,
  ttbThumbLeftFocused, ttbThumbLeftDisabled, ttbThumbRightNormal, ttbThumbRightHot, ttbThumbRightPressed,
  ttbThumbRightFocused, ttbThumbRightDisabled, ttbThumbTics, ttbThumbTicsVert
};
DECLARE_ENUM_TYPE(TThemedTrackBar);
enum TThemedTrayNotify {
  ttnTrayNotifyDontCare, ttnTrayNotifyRoot, ttnBackground, ttnAnimBackground
};
DECLARE_ENUM_TYPE(TThemedTrayNotify);
enum TThemedTreeview {
  ttTreeviewDontCare, ttTreeviewRoot, ttItemNormal, ttItemHot, ttItemSelected, ttItemDisabled,
  ttItemSelectedNotFocus, ttGlyphClosed, ttGlyphOpened, ttBranch
};
DECLARE_ENUM_TYPE(TThemedTreeview);
enum TThemedWindow {
  twWindowDontCare, twWindowRoot, twCaptionActive, twCaptionInactive, twCaptionDisabled,
  twSmallCaptionActive, twSmallCaptionInactive, twSmallCaptionDisabled, twMinCaptionActive,
  twMinCaptionInactive, twMinCaptionDisabled, twSmallMinCaptionActive, twSmallMinCaptionInactive,
  twSmallMinCaptionDisabled, twMaxCaptionActive, twMaxCaptionInactive, twMaxCaptionDisabled,
  twSmallMaxCaptionActive, twSmallMaxCaptionInactive, twSmallMaxCaptionDisabled, twFrameLeftActive,
  twFrameLeftInactive, twFrameRightActive, twFrameRightInactive, twFrameBottomActive, twFrameBottomInactive,
  twSmallFrameLeftActive, twSmallFrameLeftInactive, twSmallFrameRightActive, twSmallFrameRightInactive,
  twSmallFrameBottomActive, twSmallFrameBottomInactive, twSysButtonNormal, twSysButtonHot, twSysButtonPushed,
  twSysButtonDisabled, twMDISysButtonNormal, twMDISysButtonHot, twMDISysButtonPushed, twMDISysButtonDisabled,
  twMinButtonNormal, twMinButtonHot, twMinButtonPushed, twMinButtonDisabled, twMDIMinButtonNormal,
  twMDIMinButtonHot, twMDIMinButtonPushed, twMDIMinButtonDisabled, twMaxButtonNormal, twMaxButtonHot,
  twMaxButtonPushed, twMaxButtonDisabled, twCloseButtonNormal, twCloseButtonHot, twCloseButtonPushed,
  twCloseButtonDisabled, twSmallCloseButtonNormal, twSmallCloseButtonHot, twSmallCloseButtonPushed,
  twSmallCloseButtonDisabled, twMDICloseButtonNormal, twMDICloseButtonHot, twMDICloseButtonPushed,
  twMDICloseButtonDisabled, twRestoreButtonNormal, twRestoreButtonHot, twRestoreButtonPushed,
  twRestoreButtonDisabled, twMDIRestoreButtonNormal, twMDIRestoreButtonHot, twMDIRestoreButtonPushed,
  twMDIRestoreButtonDisabled, twHelpButtonNormal, twHelpButtonHot, twHelpButtonPushed, twHelpButtonDisabled,
  twMDIHelpButtonNormal, twMDIHelpButtonHot, twMDIHelpButtonPushed, twMDIHelpButtonDisabled,
  twHorzScrollNormal, twHorzScrollHot, twHorzScrollPushed, twHorzScrollDisabled, twHorzThumbNormal,
  twHorzThumbHot, twHorzThumbPushed, twHorzThumbDisabled, twVertScrollNormal, twVertScrollHot,
  twVertScrollPushed, twVertScrollDisabled, twVertThumbNormal, twVertThumbHot, twVertThumbPushed,
  twVertThumbDisabled, twDialog, twCaptionSizingTemplate, twSmallCaptionSizingTemplate,
  twFrameLeftSizingTemplate, twSmallFrameLeftSizingTemplate, twFrameRightSizingTemplate,
  twSmallFrameRightSizingTemplate, twFrameBottomSizingTemplate, twSmallFrameBottomSizingTemplate
};
DECLARE_ENUM_TYPE(TThemedWindow);

struct TThemedElementDetails {
  TThemedElement Element = teButton;
  int32_t Part = 0;
  int32_t State = 0;
};

// The theme class name of an element ("button", "combobox", ...).
const wchar_t* ThemedElementClassName(TThemedElement element);

class TThemeServices : public TObject {
  DECLARE_CLASS(TThemeServices, TObject)

  // Watches window (0: none) for WM_THEMECHANGED by subclassing it.
  explicit TThemeServices(HWND window);

  // The test every control makes before drawing themed: the library is
  // there, themes are in use and the application allows themed controls.
  bool GetThemesEnabled() const { return themesAvailable_ && useThemes_ && controlsEnabled_; }
  bool GetThemesAvailable() const { return themesAvailable_; }
  bool GetUseThemes() const { return useThemes_; }
  bool GetControlsEnabled() const { return controlsEnabled_; }

  // The element's theme handle, opened on first use; null while themes are
  // not in use.
  KxUxTheme::HTHEME GetTheme(TThemedElement element);

  TThemedElementDetails GetElementDetails(TThemedButton value) const { return Details(teButton, value); }
  TThemedElementDetails GetElementDetails(TThemedClock value) const { return Details(teClock, value); }
  TThemedElementDetails GetElementDetails(TThemedComboBox value) const { return Details(teComboBox, value); }
  TThemedElementDetails GetElementDetails(TThemedEdit value) const { return Details(teEdit, value); }
  TThemedElementDetails GetElementDetails(TThemedExplorerBar value) const { return Details(teExplorerBar, value); }
  TThemedElementDetails GetElementDetails(TThemedHeader value) const { return Details(teHeader, value); }
  TThemedElementDetails GetElementDetails(TThemedListview value) const { return Details(teListView, value); }
  TThemedElementDetails GetElementDetails(TThemedMenu value) const { return Details(teMenu, value); }
  TThemedElementDetails GetElementDetails(TThemedPage value) const { return Details(tePage, value); }
  TThemedElementDetails GetElementDetails(TThemedProgress value) const { return Details(teProgress, value); }
  TThemedElementDetails GetElementDetails(TThemedRebar value) const { return Details(teRebar, value); }
  TThemedElementDetails GetElementDetails(TThemedScrollBar value) const { return Details(teScrollBar, value); }
  TThemedElementDetails GetElementDetails(TThemedSpin value) const { return Details(teSpin, value); }
  TThemedElementDetails GetElementDetails(TThemedStartPanel value) const { return Details(teStartPanel, value); }
  TThemedElementDetails GetElementDetails(TThemedStatus value) const { return Details(teStatus, value); }
  TThemedElementDetails GetElementDetails(TThemedTab value) const { return Details(teTab, value); }
  TThemedElementDetails GetElementDetails(TThemedTaskBand value) const { return Details(teTaskBand, value); }
  TThemedElementDetails GetElementDetails(TThemedTaskBar value) const { return Details(teTaskBar, value); }
  TThemedElementDetails GetElementDetails(TThemedToolBar value) const { return Details(teToolBar, value); }
  TThemedElementDetails GetElementDetails(TThemedToolTip value) const { return Details(teToolTip, value); }
  TThemedElementDetails GetElementDetails(TThemedTrackBar value) const { return Details(teTrackBar, value); }
  TThemedElementDetails GetElementDetails(TThemedTrayNotify value) const { return Details(teTrayNotify, value); }
  TThemedElementDetails GetElementDetails(TThemedTreeview value) const { return Details(teTreeview, value); }
  TThemedElementDetails GetElementDetails(TThemedWindow value) const { return Details(teWindow, value); }

  void DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& rect, const TRect* clipRect = nullptr);
  void DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text, const TRect& rect,
                DWORD flags, DWORD flags2);
  void DrawEdge(HDC dc, const TThemedElementDetails& details, const TRect& rect, UINT edge, UINT flags,
                TRect* contentRect = nullptr);
  void DrawIcon(HDC dc, const TThemedElementDetails& details, const TRect& rect, HIMAGELIST imageList, int index);
  TRect ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& boundingRect);
  bool HasTransparentParts(const TThemedElementDetails& details);
  // With onlyIfTransparent and details, only when the element has
  // transparent parts.
  void DrawParentBackground(HWND window, HDC target, const TThemedElementDetails* details, bool onlyIfTransparent,
                            const TRect* bounds = nullptr);
  // A system colour as the element's theme has it; any other colour, or no
  // details, unchanged.
  TColor ColorToRGB(TColor color, const TThemedElementDetails* details = nullptr);
  // The two-pixel themed border of a control with WS_EX_CLIENTEDGE.
  void PaintBorder(TWinControl* control, bool eraseLRCorner);

  void UpdateThemes();
  void UnloadThemeData();
  void WindowProc(TMessage& message);

  TNotifyEvent GetOnThemeChange() const { return onThemeChange_; }
  void SetOnThemeChange(const TNotifyEvent& e) { onThemeChange_ = e; }

 protected:
  void Destroy() override;
  virtual void DoOnThemeChange();

 private:
  template <class E>
  TThemedElementDetails Details(TThemedElement element, E value) const {
    return ElementDetails(element, static_cast<int>(value));
  }
  static TThemedElementDetails ElementDetails(TThemedElement element, int value);
  void Unsubclass();

  HWND window_;
  WNDPROC oldWndProc_ = nullptr;
  WNDPROC instance_ = nullptr;
  KxUxTheme::HTHEME themes_[teWindow + 1] = {};
  bool themesAvailable_ = false;
  bool useThemes_ = false;
  bool controlsEnabled_ = false;
  TNotifyEvent onThemeChange_;
};

// The process's theme services, made for the application window on the
// first call and freed at the unit's finalisation.
TThemeServices& ThemeServices();

void FinalizeKxThemeSrv();
