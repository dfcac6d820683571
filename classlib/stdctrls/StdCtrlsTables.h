// The published property tables of the standard controls, as templates
// over the publishing class: a class that derives from the same base as the
// class library's control (a wide edit beside TEdit) publishes the same
// table and then replaces the entries it keeps otherwise.
//
// Surface for component writers (a control that stands beside a standard one
// publishes the same table): include it directly; it changes only as the unit
// headers do.
#pragma once

#include "classlib/stdctrls/Button.h"
#include "classlib/stdctrls/ComboBox.h"
#include "classlib/stdctrls/Edit.h"
#include "classlib/stdctrls/GroupBox.h"
#include "classlib/stdctrls/Label.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"

template <class T>
void PublishButtonTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Action", "Anchors", "BiDiMode"});
  p.Prop("Cancel", &T::GetCancel, &T::SetCancel).Default(false);
  PublishControlProps(p, {"Caption", "Constraints"});
  p.Prop("Default", &T::GetDefault, &T::SetDefault).Default(false);
  PublishControlProps(p, {"DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("ModalResult", &T::GetModalResult, &T::SetModalResult).Default(0);
  PublishControlProps(p, {"ParentBiDiMode", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint",
                          "TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(false);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                          "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishCheckBoxTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Action"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taRightJustify);
  p.Prop("AllowGrayed", &T::GetAllowGrayed, &T::SetAllowGrayed).Default(false);
  PublishControlProps(p, {"Anchors", "BiDiMode", "Caption"});
  p.Prop("Checked", &T::GetChecked, &T::SetChecked)
      .Default(false)
      .Stored(&T::IsCheckedStored);
  PublishControlProps(p, {"Color", "Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled",
                          "Font", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont",
                          "ParentShowHint", "PopupMenu", "ShowHint"});
  p.Prop("State", &T::GetState, &T::SetState).Default(cbUnchecked);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(false);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                          "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishRadioButtonTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Action"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taRightJustify);
  PublishControlProps(p, {"Anchors", "BiDiMode", "Caption"});
  p.Prop("Checked", &T::GetChecked, &T::SetChecked)
      .Default(false)
      .Stored(&T::IsCheckedStored);
  PublishControlProps(p, {"Color", "Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled",
                          "Font", "ParentBiDiMode", "ParentColor", "ParentCtl3D", "ParentFont",
                          "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder", "TabStop", "Visible"});
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(false);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp",
                          "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishComboBoxTable(TPublisher<T>& p) {
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(csDropDown);
  p.Prop("AutoComplete", &T::GetAutoComplete, &T::SetAutoComplete).Default(true);
  p.Prop("AutoDropDown", &T::GetAutoDropDown, &T::SetAutoDropDown).Default(false);
  p.Prop("AutoCloseUp", &T::GetAutoCloseUp, &T::SetAutoCloseUp).Default(false);
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("CharCase", &T::GetCharCase, &T::SetCharCase).Default(ecNormal);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode"});
  p.Prop("DropDownCount", &T::GetDropDownCount, &T::SetDropDownCount).Default(8);
  PublishControlProps(p, {"Enabled", "Font", "ImeMode", "ImeName"});
  p.Prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight);
  p.Prop("ItemIndex", &T::GetItemIndex, &T::SetItemIndex).Default(-1);
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint"});
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Text", "Visible"});
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick"});
  p.Prop("OnCloseUp", &T::GetOnCloseUp, &T::SetOnCloseUp);
  PublishControlProps(p, {"OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver"});
  p.Prop("OnDrawItem", &T::GetOnDrawItem, &T::SetOnDrawItem);
  p.Prop("OnDropDown", &T::GetOnDropDown, &T::SetOnDropDown);
  PublishControlProps(p, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  p.Prop("OnMeasureItem", &T::GetOnMeasureItem, &T::SetOnMeasureItem);
  p.Prop("OnSelect", &T::GetOnSelect, &T::SetOnSelect);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
  // After the events: the items are read last, then ItemIndex waits for
  // Loaded.
  p.Prop("Items", &T::GetItems, &T::SetItems);
}

template <class T>
void PublishEditTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSelect", &T::GetAutoSelect, &T::SetAutoSelect).Default(true);
  p.Prop("AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  p.Prop("CharCase", &T::GetCharCase, &T::SetCharCase).Default(ecNormal);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection).Default(true);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  p.Prop("OEMConvert", &T::GetOEMConvert, &T::SetOEMConvert).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint"});
  p.Prop("PasswordChar", &T::GetPasswordChar, &T::SetPasswordChar).Default('\0');
  PublishControlProps(p, {"PopupMenu"});
  p.Prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly).Default(false);
  PublishControlProps(p, {"ShowHint", "TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Text", "Visible"});
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishMemoTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors", "BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled", "Font"});
  p.Prop("HideSelection", &T::GetHideSelection, &T::SetHideSelection).Default(true);
  PublishControlProps(p, {"ImeMode", "ImeName"});
  p.Prop("Lines", &T::GetLines, &T::SetLines);
  p.Prop("MaxLength", &T::GetMaxLength, &T::SetMaxLength).Default(0);
  p.Prop("OEMConvert", &T::GetOEMConvert, &T::SetOEMConvert).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ReadOnly", &T::GetReadOnly, &T::SetReadOnly).Default(false);
  p.Prop("ScrollBars", &T::GetScrollBars, &T::SetScrollBars).Default(ssNone);
  PublishControlProps(p, {"ShowHint", "TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WantReturns", &T::GetWantReturns, &T::SetWantReturns).Default(true);
  p.Prop("WantTabs", &T::GetWantTabs, &T::SetWantTabs).Default(false);
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(true);
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishGroupBoxTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Align", "Anchors", "BiDiMode", "Caption", "Color", "Constraints", "Ctl3D", "DockSite",
                          "DragCursor", "DragKind", "DragMode", "Enabled", "Font", "ParentBiDiMode",
                          "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint",
                          "TabOrder", "TabStop", "Visible", "OnClick", "OnContextPopup", "OnDblClick",
                          "OnDragDrop", "OnDockDrop", "OnDockOver", "OnDragOver", "OnEndDock", "OnEndDrag",
                          "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                          "OnStartDock", "OnStartDrag", "OnUnDock"});
}

template <class T>
void PublishLabelTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode", "Caption"});
  PublishColor(p, clWindow);
  PublishControlProps(p, {"Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FocusControl", &T::GetFocusControl, &T::SetFocusControl);
  PublishControlProps(p, {"Font"});
  p.Prop("Layout", &T::GetLayout, &T::SetLayout).Default(tlTop);
  PublishControlProps(p, {"ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ShowAccelChar", &T::GetShowAccelChar, &T::SetShowAccelChar).Default(true);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Transparent", &T::GetTransparent, &T::SetTransparent).Default(false);
  PublishControlProps(p, {"Visible"});
  p.Prop("WordWrap", &T::GetWordWrap, &T::SetWordWrap).Default(false);
  PublishControlProps(p, {"OnClick", "OnContextPopup", "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock",
                          "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock",
                          "OnStartDrag"});
}

template <class T>
void PublishStaticTextTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Align"});
  p.Prop("Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(sbsNone);
  PublishControlProps(p, {"Caption", "Color", "Constraints", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FocusControl", &T::GetFocusControl, &T::SetFocusControl);
  PublishControlProps(p, {"Font", "ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint",
                          "PopupMenu"});
  p.Prop("ShowAccelChar", &T::GetShowAccelChar, &T::SetShowAccelChar).Default(true);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop", "Visible", "OnClick", "OnContextPopup",
                          "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnMouseDown",
                          "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishListBoxTable(TPublisher<T>& p) {
  p.Prop("Style", &T::GetStyle, &T::SetStyle).Default(lbStandard);
  p.Prop("AutoComplete", &T::GetAutoComplete, &T::SetAutoComplete).Default(true);
  PublishControlProps(p, {"Align", "Anchors", "BiDiMode"});
  p.Prop("BorderStyle", &T::GetBorderStyle, &T::SetBorderStyle).Default(bsSingle);
  PublishColor(p, clWindow);
  p.Prop("Columns", &T::GetColumns, &T::SetColumns).Default(0);
  PublishControlProps(p, {"Constraints", "Ctl3D", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("ExtendedSelect", &T::GetExtendedSelect, &T::SetExtendedSelect).Default(true);
  PublishControlProps(p, {"Font", "ImeMode", "ImeName"});
  p.Prop("IntegralHeight", &T::GetIntegralHeight, &T::SetIntegralHeight).Default(false);
  p.Prop("ItemHeight", &T::GetItemHeight, &T::SetItemHeight);
  p.Prop("Items", &T::GetItems, &T::SetItems);
  p.Prop("MultiSelect", &T::GetMultiSelect, &T::SetMultiSelect).Default(false);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("ScrollWidth", &T::GetScrollWidth, &T::SetScrollWidth).Default(0);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("Sorted", &T::GetSorted, &T::SetSorted).Default(false);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  p.Prop("TabWidth", &T::GetTabWidth, &T::SetTabWidth).Default(0);
  PublishControlProps(p, {"Visible", "OnClick", "OnContextPopup"});
  p.Prop("OnData", &T::GetOnData, &T::SetOnData);
  p.Prop("OnDataFind", &T::GetOnDataFind, &T::SetOnDataFind);
  p.Prop("OnDataObject", &T::GetOnDataObject, &T::SetOnDataObject);
  PublishControlProps(p, {"OnDblClick", "OnDragDrop", "OnDragOver"});
  p.Prop("OnDrawItem", &T::GetOnDrawItem, &T::SetOnDrawItem);
  PublishControlProps(p, {"OnEndDock", "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  p.Prop("OnMeasureItem", &T::GetOnMeasureItem, &T::SetOnMeasureItem);
  PublishControlProps(p, {"OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDock", "OnStartDrag"});
}

template <class T>
void PublishScrollBarTable(TPublisher<T>& p) {
  PublishControlProps(p, {"Align", "Anchors", "BiDiMode", "Constraints", "Ctl3D", "DragCursor", "DragKind",
                          "DragMode", "Enabled"});
  p.Prop("Kind", &T::GetKind, &T::SetKind).Default(sbHorizontal);
  p.Prop("LargeChange", &T::GetLargeChange, &T::SetLargeChange).Default(1);
  p.Prop("Max", &T::GetMax, &T::SetMax).Default(100);
  p.Prop("Min", &T::GetMin, &T::SetMin).Default(0);
  p.Prop("PageSize", &T::GetPageSize, &T::SetPageSize);
  PublishControlProps(p, {"ParentBiDiMode", "ParentCtl3D", "ParentShowHint", "PopupMenu"});
  p.Prop("Position", &T::GetPosition, &T::SetPosition).Default(0);
  PublishControlProps(p, {"ShowHint"});
  p.Prop("SmallChange", &T::GetSmallChange, &T::SetSmallChange).Default(1);
  PublishControlProps(p, {"TabOrder"});
  p.Prop("TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("OnChange", &T::GetOnChange, &T::SetOnChange);
  PublishControlProps(p, {"OnContextPopup", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnEnter",
                          "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"});
  p.Prop("OnScroll", &T::GetOnScroll, &T::SetOnScroll);
  PublishControlProps(p, {"OnStartDock", "OnStartDrag"});
}
