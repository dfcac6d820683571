// The toolbar: its control list, the customisation texts, the layout of its
// controls in rows or columns, text options and the saved layout.
#include <algorithm>

#include "classlib/Controls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/graphics/Resources.h"
#include "classlib/Scopes.h"
#include "classlib/stdctrls/StdCtrlsPublish.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxButton.h"
#include "kx/controls/KxPanel.h"
#include "kx/controls/KxToolbarForm.h"
#include "kx/foundation/KxThemeSrv.h"

// ---------------------------------------------------------------------------
// TKxToolbarControl, TKxToolbarControlList

namespace {

// The name a stored form and a saved layout give an entry: its control's
// Name as it is now (given or changed after the control joined, perhaps),
// or the name alone of an entry that has no control.
std::string CurrentName(const TKxToolbarControl* entry) {
  TControl* control = entry->GetControl();
  return control ? control->GetName() : entry->GetControlName();
}

}  // namespace

IMPLEMENT_CLASS(TKxToolbarControl)
IMPLEMENT_CLASS(TKxToolbarControlList)

void TKxToolbarControlList::Destroy() {
  Clear();
  if (readList_) FreeAndNil(readList_);
  inherited::Destroy();
}

TKxToolbarControl* TKxToolbarControlList::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return items_[static_cast<size_t>(index)];
}

TKxToolbarControl* TKxToolbarControlList::CreateToolBarControl() { return New<TKxToolbarControl>(); }

int TKxToolbarControlList::Append(TKxToolbarControl* entry) {
  items_.push_back(entry);
  return GetCount() - 1;
}

int TKxToolbarControlList::AddControl(TControl* control) {
  int i = IndexOf(control);
  if (i >= 0) return i;
  TKxToolbarControl* entry = CreateToolBarControl();
  entry->SetControl(control);
  entry->SetControlName(control->GetName());
  // A control of another owner is not told of by its owner when freed.
  control->FreeNotification(toolbar_);
  return Append(entry);
}

int TKxToolbarControlList::AddControlName(const std::string& name) {
  int i = IndexOfName(name);
  if (i >= 0) return i;
  TKxToolbarControl* entry = CreateToolBarControl();
  entry->SetControlName(name);
  return Append(entry);
}

int TKxToolbarControlList::RemoveControl(TControl* control) {
  int i = IndexOf(control);
  if (i >= 0) Delete(i);
  return i;
}

int TKxToolbarControlList::RemoveControlName(const std::string& name) {
  int i = IndexOfName(name);
  if (i >= 0) Delete(i);
  return i;
}

int TKxToolbarControlList::IndexOf(TControl* control) const {
  for (int i = 0; i < GetCount(); ++i)
    if (items_[static_cast<size_t>(i)]->GetControl() == control) return i;
  return -1;
}

int TKxToolbarControlList::IndexOfName(const std::string& name) const {
  for (int i = 0; i < GetCount(); ++i)
    if (SameText(items_[static_cast<size_t>(i)]->GetControlName(), name)) return i;
  return -1;
}

void TKxToolbarControlList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  TKxToolbarControl* entry = GetItem(curIndex);
  GetItem(newIndex);
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, entry);
}

void TKxToolbarControlList::Delete(int index) {
  TKxToolbarControl* entry = GetItem(index);
  items_.erase(items_.begin() + index);
  entry->Free();
}

void TKxToolbarControlList::Clear() {
  while (!items_.empty()) Delete(GetCount() - 1);
}

void TKxToolbarControlList::ReadControl(TReader* reader) { lastRead_ = readList_->AddControlName(reader->ReadIdent()); }

void TKxToolbarControlList::WriteControl(int index, TWriter* writer) {
  writer->WriteIdent(CurrentName(GetItem(index)));
}

void TKxToolbarControlList::ReadControls(TReader* reader) {
  if (!readList_) readList_ = New<TKxToolbarControlList>(toolbar_);
  readList_->Clear();
  reader->ReadListBegin();
  while (!reader->EndOfList()) ReadControl(reader);
  reader->ReadListEnd();
}

void TKxToolbarControlList::WriteControls(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) WriteControl(i, writer);
  writer->WriteListEnd();
}

void TKxToolbarControlList::ControlsAreLoaded(TComponent* owner) {
  auto addChildren = [this] {
    for (TControl* child : toolbar_->Controls()) AddControl(child);
  };
  if (!readList_ || readList_->GetCount() == 0) {
    addChildren();
  } else {
    bool removed = false;
    for (int i = 0; i < readList_->GetCount(); ++i) {
      TKxToolbarControl* read = readList_->GetItem(i);
      auto* control = dynamic_cast<TControl*>(owner ? owner->FindComponent(read->GetControlName()) : nullptr);
      if (!control) continue;
      if (control->GetParent() == toolbar_) {
        GetItem(AddControl(control))->AssignElements(read);
      } else {
        // Moved to another parent since the form was stored: dropped.
        RemoveControlName(read->GetControlName());
        removed = true;
      }
    }
    if (removed) addChildren();
  }
  if (readList_) FreeAndNil(readList_);
}

// ---------------------------------------------------------------------------
// TKxCustomizeCaptions

PUBLISHED(TKxCustomizeCaptions) {
  using C = TKxCustomizeCaptions;
  static const char* const names[9] = {"Title",          "Hint",           "Close",
                                       "MoveUp",         "MoveDown",       "TextOptions",
                                       "NoTextLabels",   "ShowTextLabels", "SelectiveTextOnRight"};
  for (int i = 0; i < 9; ++i) p.IndexedProp(names[i], i + 1, &C::GetCaption, &C::SetCaption).Stored(&C::GetChanged);
}

TKxCustomizeCaptions::TKxCustomizeCaptions() {
  for (int i = 0; i < 9; ++i) captions_[i] = LoadStr(SKxCustomizeTitle + i);
}

std::string TKxCustomizeCaptions::GetCaption(int index) {
  return index >= 1 && index <= 9 ? captions_[index - 1] : std::string();
}

void TKxCustomizeCaptions::SetCaption(int index, const std::string& value) {
  if (index >= 1 && index <= 9) captions_[index - 1] = value;
  changed_ = true;
}

void TKxCustomizeCaptions::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKxCustomizeCaptions*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  for (int i = 1; i <= 9; ++i) SetCaption(i, other->GetCaption(i));
}

// ---------------------------------------------------------------------------
// TKxToolbar

namespace {

// The layouts of the text options (ttoCustom leaves everything as it is).
struct TTextOptionLayout {
  TButtonLayout Layout;
  int Width, Height;
  bool Captions;
};
constexpr TTextOptionLayout kTextOptionLayouts[3] = {
    {blGlyphLeft, 25, 25, false},  // ttoNoTextLabels
    {blGlyphTop, 60, 40, true},    // ttoShowTextLabels
    {blGlyphLeft, 60, 25, true},   // ttoSelectiveTextOnRight
};

bool IsSideAligned(TAlign a) { return a == alLeft || a == alRight; }
bool IsEdgeAligned(TAlign a) { return a == alTop || a == alBottom; }

}  // namespace

PUBLISHED(TKxToolbar) {
  using C = TKxCustomPanel;
  using T = TKxToolbar;
  p.Prop("Align", &T::GetAlign, &T::SetAlign).Default(alTop);
  PublishControlProps(p, {"Anchors"});
  p.Prop("AutoResize", &T::GetAutoResize, &T::SetAutoResize).Default(true);
  PublishControlProps(p, {"AutoSize"});
  p.Prop("AutoStyle", &T::GetAutoStyle, &T::SetAutoStyle).Default(true);
  p.Prop("Background", &T::GetBackground, &T::SetBackground);
  p.Prop("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  PublishControlProps(p, {"BiDiMode"});
  p.Prop("BorderInner", &C::GetBorderInner, &C::SetBorderInner).Default(fsNone).Type(TFrameStyleTypeInfo());
  p.Prop("BorderOuter", &C::GetBorderOuter, &C::SetBorderOuter).Default(fsGroove).Type(TFrameStyleTypeInfo());
  p.Prop("BorderSides", &C::GetBorderSides, &C::SetBorderSides).Default(TSides{sdTop});
  p.Prop("BorderColor", &C::GetBorderColor, &C::SetBorderColor).Default(clBtnFace).Type(TColorTypeInfo());
  p.Prop("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  p.Prop("ButtonHeight", &T::GetButtonHeight, &T::SetButtonHeight).Default(25);
  p.Prop("ButtonLayout", &T::GetButtonLayout, &T::SetButtonLayout).Default(blGlyphLeft);
  p.Prop("ButtonWidth", &T::GetButtonWidth, &T::SetButtonWidth).Default(25);
  PublishControlProps(p, {"Caption"});
  PublishColor(p, clBtnFace);
  PublishControlProps(p, {"Constraints", "Ctl3D"});
  p.Prop("CustomizeCaptions", &T::GetCustomizeCaptions, &T::SetCustomizeCaptions);
  PublishControlProps(p, {"DockSite", "DragCursor", "DragKind", "DragMode", "Enabled"});
  p.Prop("FlatColor", &C::GetFlatColor, &C::SetFlatColor).Default(clBtnShadow).Type(TColorTypeInfo());
  p.Prop("FlatColorAdjustment", &C::GetFlatColorAdjustment, &C::SetFlatColorAdjustment).Default(30);
  PublishControlProps(p, {"Font"});
  p.Prop("FullRepaint", &TCustomPanel::GetFullRepaint, &TCustomPanel::SetFullRepaint).Default(false);
  p.Prop("Images", &T::GetImages, &T::SetImages);
  p.Prop("Locked", &TCustomPanel::GetLocked, &TCustomPanel::SetLocked).Default(false);
  p.Prop("Margin", &T::GetMargin, &T::SetMargin).Default(4);
  p.Prop("Orientation", &T::GetOrientation, &T::SetOrientation).Default(orHorizontal);
  PublishControlProps(p, {"ParentBiDiMode"});
  PublishParentColor(p, false);
  PublishControlProps(p, {"ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu"});
  p.Prop("RegIniFile", &T::GetRegIniFile, &T::SetRegIniFile);
  p.Prop("RowHeight", &T::GetRowHeight, &T::SetRowHeight).Default(25);
  p.Prop("ShowButtonCaptions", &T::GetShowButtonCaptions, &T::SetShowButtonCaptions).Default(false);
  p.Prop("ShowDivider", &T::GetShowDivider, &T::SetShowDivider).Default(true);
  p.Prop("ShowDockClientCaptions", &C::GetShowDockClientCaptions, &C::SetShowDockClientCaptions).Default(false);
  PublishControlProps(p, {"ShowHint", "TabOrder", "TabStop"});
  p.Prop("TextOptions", &T::GetTextOptions, &T::SetTextOptions).Default(ttoNoTextLabels);
  p.Prop("ThemeAware", &C::GetThemeAware, &C::SetThemeAware).Default(true);
  p.Prop("TopMargin", &T::GetTopMargin, &T::SetTopMargin).Default(2);
  p.Prop("Transparent", &C::GetTransparent, &C::SetTransparent).Default(false);
  PublishControlProp(p, "UseDockManager").Default(true);
  PublishControlProps(p, {"Visible"});
  p.Prop("WrapControls", &T::GetWrapControls, &T::SetWrapControls).Default(true);
  PublishControlProps(p, {"OnCanResize", "OnClick", "OnConstrainedResize", "OnContextPopup", "OnDblClick",
                          "OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag",
                          "OnEnter", "OnExit", "OnGetSiteInfo", "OnMouseDown"});
  p.Prop("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter);
  p.Prop("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave);
  PublishControlProps(p, {"OnMouseMove", "OnMouseUp", "OnResize", "OnStartDock", "OnStartDrag", "OnUnDock"});
  p.Prop("OnVisibleChanged", &T::GetOnVisibleChanged, &T::SetOnVisibleChanged);
}

TKxToolbar::TKxToolbar(TComponent* owner) : TKxCustomPanel(owner) {
  controls_ = CreateToolbarControlList();
  background_ = New<TBitmap>();
  background_->SetOnChange(TNotifyEvent(this, &TKxToolbar::BackgroundChange));
  imageChangeLink_ = New<TChangeLink>();
  imageChangeLink_->SetOnChange(TNotifyEvent(this, &TKxToolbar::ImagesChange));
  customizeCaptions_ = New<TKxCustomizeCaptions>();
  SetFrameFields(fsNone, fsGroove, TSides{sdTop});
  SetFullRepaint(false);
  SetShowDockClientCaptions(false);
  TControl::SetAlign(alTop);
  SetBounds(GetLeft(), GetTop(), 32, 32);
}

void TKxToolbar::Destroy() {
  if (images_) images_->UnRegisterChanges(imageChangeLink_);
  images_ = nullptr;
  inherited::Destroy();
  FreeAndNil(controls_);
  FreeAndNil(background_);
  FreeAndNil(imageChangeLink_);
  FreeAndNil(customizeCaptions_);
}

TKxToolbarControlList* TKxToolbar::CreateToolbarControlList() { return New<TKxToolbarControlList>(this); }

// --- loading, children, notifications ---

void TKxToolbar::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  filer->DefineProperty(
      "ToolbarControls", [this](TReader* r) { controls_->ReadControls(r); },
      [this](TWriter* w) { controls_->WriteControls(w); }, controls_->GetCount() > 0);
}

void TKxToolbar::Loaded() {
  inherited::Loaded();
  if (TComponent* owner = OwnerComponent()) controls_->ControlsAreLoaded(owner);
  PositionControls();
  if (autoStyle_) AdjustStyle(GetAlign());
}


void TKxToolbar::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) SetImages(nullptr);
  if (component == regIniFile_) regIniFile_ = nullptr;
  if (component == this || IsDestroying()) return;
  if (auto* control = dynamic_cast<TControl*>(component); control && controls_->RemoveControl(control) >= 0)
    if (!OwnerComponent() || !OwnerComponent()->IsDestroying()) PositionControls();
}

void TKxToolbar::SetParent(TWinControl* parent) {
  inherited::SetParent(parent);
  bool value = autoResize_;
  CheckAutoResize(value);
  autoResize_ = value;
}

void TKxToolbar::CheckAutoResize(bool& value) {
  // These parents size the toolbars on them themselves.
  if (value && GetParent() && (GetParent()->ClassNameIs("TPageScroller") || GetParent()->ClassNameIs("TToolbar")))
    value = false;
}

void TKxToolbar::AlignControls(TControl* control, RECT&) {
  if (IsLoading()) return;
  if (control && control->GetParent() == this) controls_->AddControl(control);
  PositionControls();
}

void TKxToolbar::CMVisibleChanged(TMessage& m) {
  inherited::CMVisibleChanged(m);
  VisibleChanged();
}

void TKxToolbar::VisibleChanged() {
  if (OnVisibleChanged) OnVisibleChanged(this);
}

void TKxToolbar::CMBiDiModeChanged(TMessage& m) {
  inherited::CMBiDiModeChanged(m);
  PositionControls();
}

// --- styles ---

void TKxToolbar::AdjustStyle(TAlign align) {
  TSides sides{sdTop};
  if (align == alLeft) sides = TSides{sdLeft};
  else if (align == alRight) sides = TSides{sdRight};
  else if (align == alBottom) sides = TSides{sdBottom};
  SetFrameFields(fsNone, showDivider_ ? fsGroove : fsNone, sides);
  Invalidate();
}

void TKxToolbar::SetAlign(TAlign value) {
  if (autoStyle_) AdjustStyle(value);
  TControl::SetAlign(value);
  if (!autoResize_) return;
  if (IsSideAligned(value)) SetWidth(32);
  else SetHeight(32);
}

// A border set by hand ends the automatic style; one read from a stored form
// does not, as the form says whether AutoStyle was on.
void TKxToolbar::SetBorderInner(TFrameStyleEx value) {
  if (GetBorderInner() == value) return;
  inherited::SetBorderInner(value);
  if (!IsLoading()) autoStyle_ = false;
}

void TKxToolbar::SetBorderOuter(TFrameStyleEx value) {
  if (GetBorderOuter() == value) return;
  inherited::SetBorderOuter(value);
  if (!IsLoading()) autoStyle_ = false;
}

void TKxToolbar::SetBorderSides(TSides value) {
  if (GetBorderSides() == value) return;
  inherited::SetBorderSides(value);
  if (!IsLoading()) autoStyle_ = false;
}

void TKxToolbar::SetShowDivider(bool value) {
  showDivider_ = value;
  SetBorderOuter(value ? fsGroove : fsNone);
  Invalidate();
}

// --- layout settings ---

void TKxToolbar::SetAutoResize(bool value) {
  CheckAutoResize(value);
  if (autoResize_ == value) return;
  autoResize_ = value;
  PositionControls();
}

void TKxToolbar::SetMargin(int value) {
  if (margin_ == value) return;
  margin_ = value;
  PositionControls();
}

void TKxToolbar::SetTopMargin(int value) {
  if (topMargin_ == value) return;
  topMargin_ = value;
  PositionControls();
}

void TKxToolbar::SetRowHeight(int value) {
  if (rowHeight_ == value) return;
  rowHeight_ = value;
  PositionControls();
}

void TKxToolbar::SetWrapControls(bool value) {
  if (wrapControls_ == value) return;
  wrapControls_ = value;
  PositionControls();
}

void TKxToolbar::SetOrientation(TOrientation value) {
  // The same orientation again turns no spacer on its side.
  if (orientation_ == value) return;
  orientation_ = value;
  for (TControl* child : Controls())
    if (auto* spacer = dynamic_cast<TKxSpacer*>(child)) spacer->SetOrientation(value);
  PositionControls();
}

void TKxToolbar::SetBackground(TBitmap* value) { background_->Assign(value); }
void TKxToolbar::BackgroundChange(TObject*) { Invalidate(); }

void TKxToolbar::SetImages(TCustomImageList* value) {
  if (KxReplaceImages(this, images_, value, imageChangeLink_)) Invalidate();
}

void TKxToolbar::ImagesChange(TObject*) {
  // The tool buttons draw from the toolbar's list: they are painted again.
  Invalidate();
  Update();
}

void TKxToolbar::SetCustomizeCaptions(TKxCustomizeCaptions* value) { customizeCaptions_->Assign(value); }

void TKxToolbar::SetRegIniFile(TKxRegIniFile* value) { KxReplaceReference(this, regIniFile_, value); }

// --- button settings and text options ---

void TKxToolbar::NotifyButtons(UINT msg) {
  for (TControl* child : std::vector<TControl*>(Controls())) child->Perform(msg, 0, 0);
}

void TKxToolbar::ButtonSettingChanged() {
  if (!settingTextOptions_) textOptions_ = ttoCustom;
}

void TKxToolbar::SetShowButtonCaptions(bool value) {
  if (showButtonCaptions_ == value) return;
  showButtonCaptions_ = value;
  NotifyButtons(CM_TOOLBARSHOWCAPTIONCHANGED);
  ButtonSettingChanged();
}

void TKxToolbar::SetButtonLayout(TButtonLayout value) {
  if (buttonLayout_ == value) return;
  buttonLayout_ = value;
  NotifyButtons(CM_TOOLBARBUTTONLAYOUTCHANGED);
  ButtonSettingChanged();
}

void TKxToolbar::SetButtonWidth(int value) {
  if (buttonWidth_ == value) return;
  buttonWidth_ = value;
  NotifyButtons(CM_TOOLBARBUTTONSIZECHANGED);
  ButtonSettingChanged();
}

void TKxToolbar::SetButtonHeight(int value) {
  if (buttonHeight_ == value) return;
  buttonHeight_ = value;
  NotifyButtons(CM_TOOLBARBUTTONSIZECHANGED);
  ButtonSettingChanged();
}

void TKxToolbar::UpdateButtonSize(int width, int height, bool showCaptions) {
  SetShowButtonCaptions(showCaptions);
  SetButtonWidth(width);
  SetButtonHeight(height);
  for (TControl* child : std::vector<TControl*>(Controls())) {
    auto* button = dynamic_cast<TKxToolbarButton*>(child);
    if (!button) continue;
    button->SetWidth(width);
    button->SetHeight(height);
    button->SetShowCaption(showCaptions);
    button->SetLayout(showCaptions && height > 30 ? blGlyphTop : blGlyphLeft);
  }
  SetRowHeight(orientation_ == orVertical ? width : height);
}

void TKxToolbar::SetTextOptions(TKxToolbarTextOptions value) {
  if (textOptions_ == value) return;
  textOptions_ = value;
  if (value == ttoCustom) return;
  const TTextOptionLayout& l = kTextOptionLayouts[value];
  TRestore setting(settingTextOptions_, true);
  SetButtonLayout(l.Layout);
  UpdateButtonSize(l.Width, l.Height, l.Captions);
}

// --- layout ---

int TKxToolbar::CalculateRowHeight(int) { return rowHeight_; }

void TKxToolbar::PositionControl(int index, int row, int& offset) {
  TControl* c = controls_->GetControl(index);
  int across = (row - 1) * rowPitch_;
  if (orientation_ == orHorizontal) {
    int left = c->UseRightToLeftAlignment() ? GetWidth() - c->GetWidth() - offset : offset;
    int top = across + topMargin_ + rowHeight_ / 2 - c->GetHeight() / 2;
    c->SetBounds(left, top, c->GetWidth(), c->GetHeight());
    offset += c->GetWidth();
  } else {
    int left = across + margin_ + rowHeight_ / 2 - c->GetWidth() / 2;
    c->SetBounds(left, offset, c->GetWidth(), c->GetHeight());
    offset += c->GetHeight();
  }
}

void TKxToolbar::PositionControls() {
  // Moving a control asks its parent to align again: that is this pass.
  if (positioning_) return;
  TRestore positioning(positioning_, true);
  const bool horizontal = orientation_ == orHorizontal;
  int offset = margin_, widest = 0, row = 1;
  rowPitch_ = CalculateRowHeight(1);
  bool first = true;
  for (int i = 0; i < controls_->GetCount(); ++i) {
    TControl* c = controls_->GetControl(i);
    // Entries with only a name, and controls that left for another parent.
    if (!c || c->GetParent() != this) continue;
    if (!c->GetVisible() && !IsDesigning()) continue;
    int extent = horizontal ? c->GetWidth() : c->GetHeight();
    int room = (horizontal ? GetWidth() : GetHeight()) - margin_;
    if (wrapControls_ && !first && room < offset + extent) {
      widest = std::max(widest, offset);
      offset = margin_;
      ++row;
      rowPitch_ = CalculateRowHeight(row);
    }
    first = false;
    PositionControl(i, row, offset);
  }
  AutoResizeTo(row, widest);
}

void TKxToolbar::AutoResizeTo(int rows, int widest) {
  if (!autoResize_) return;
  TAlign align = GetAlign();
  int w = GetWidth(), h = GetHeight();
  if (orientation_ == orHorizontal) {
    if (IsSideAligned(align) && widest > 0) w = margin_ + widest;
    else if (IsEdgeAligned(align)) h = rowHeight_ * rows + 2 * topMargin_;
  } else {
    if (IsSideAligned(align)) w = rowHeight_ * rows + topMargin_ + 2;
    else if (IsEdgeAligned(align) && widest > 0) h = margin_ + widest;
  }
  if (w == GetWidth() && h == GetHeight()) return;
  Invalidate();
  SetBounds(GetLeft(), GetTop(), w, h);
  // The parent lays its other controls out again; a parent that is not
  // there (or has no window yet) has nothing to lay out.
  TWinControl* parent = GetParent();
  if (!parent || !parent->HandleAllocated() || dynamic_cast<TControlBar*>(parent)) return;
  HWND ph = parent->GetHandle();
  WPARAM kind = IsZoomed(ph) ? SIZE_MAXIMIZED : IsIconic(ph) ? SIZE_MINIMIZED : SIZE_RESTORED;
  PostMessageA(ph, WM_SIZE, kind, MAKELPARAM(parent->GetWidth(), parent->GetHeight()));
}

// --- painting ---

void TKxToolbar::Paint() {
  TCanvas* canvas = GetCanvas();
  if (DrawsThemed()) {
    TRect r = GetClientRect();
    ThemeServices().DrawElement(canvas->GetHandle(), ThemeServices().GetElementDetails(trRebarRoot), r);
    return;
  }
  inherited::Paint();
  int bw = background_->GetWidth(), bh = background_->GetHeight();
  if (bw <= 0 || bh <= 0) return;
  TRect interior = FixClientRect(GetClientRect(), true);
  HDC dc = canvas->GetHandle();
  TSavedDC saved(dc);
  IntersectClipRect(dc, interior.left, interior.top, interior.right, interior.bottom);
  int columns = (GetClientWidth() + bw - 1) / bw, rows = (GetClientHeight() + bh - 1) / bh;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) canvas->Draw(interior.left + x * bw, interior.top + y * bh, background_);
}

// --- customising ---

void TKxToolbar::Customize(bool showTextOptions) {
  Owned<TKxFrmCustomizeToolbar> form(New<TKxFrmCustomizeToolbar>(Application));
  form->SetOwnerComponent(OwnerComponent());
  form->SetToolbar(this);
  form->Reposition();
  form->UpdateControls(customizeCaptions_, showTextOptions);
  form->ShowModal();
}

// --- the saved layout ---

void TKxToolbar::SaveLayout() {
  if (!regIniFile_) throw Exception(LoadStr(SKxNoRegIniFile));
  const std::string section = GetName();
  regIniFile_->WriteInteger(section, "TextOptions", textOptions_);
  regIniFile_->WriteInteger(section, "Count", controls_->GetCount());
  for (int n = 0; n < controls_->GetCount(); ++n) {
    TKxToolbarControl* entry = controls_->GetItem(n);
    TControl* c = entry->GetControl();
    std::string name = CurrentName(entry);
    regIniFile_->WriteString(section, "Control" + IntToStr(n), c && !c->GetVisible() ? "##" + name : name);
  }
}

void TKxToolbar::RestoreLayout() {
  if (!regIniFile_) throw Exception(LoadStr(SKxNoRegIniFile));
  const std::string section = GetName();
  // Everything is read before anything changes: a value the store cannot
  // read (one of another registry type) raises and leaves the toolbar as
  // it was.
  int count = regIniFile_->ReadInteger(section, "Count", 0);
  std::vector<std::string> names;
  if (count > 0 && count == controls_->GetCount())
    for (int n = 0; n < count; ++n) names.push_back(regIniFile_->ReadString(section, "Control" + IntToStr(n), ""));
  int t = regIniFile_->ReadInteger(section, "TextOptions", -1);

  if (!names.empty()) {
    for (int n = 0; n < count; ++n) {
      std::string name = names[static_cast<size_t>(n)];
      if (name.empty()) continue;
      bool hidden = name.starts_with("##");
      if (hidden) name.erase(0, 2);
      // The entry is found by the name saving wrote, its control's Name
      // now, not by the one it joined with (a control named or renamed
      // after joining would not come back). A name no listed control has
      // (renamed since): skipped.
      int i = -1;
      for (int k = 0; k < controls_->GetCount() && i < 0; ++k)
        if (SameText(CurrentName(controls_->GetItem(k)), name)) i = k;
      if (i < 0) continue;
      controls_->Move(i, n);
      if (TControl* c = controls_->GetControl(n)) c->SetVisible(!hidden);
    }
    PositionControls();
  }
  // Only the four options there are: anything else in the store is ignored.
  if (t >= ttoNoTextLabels && t <= ttoCustom) SetTextOptions(static_cast<TKxToolbarTextOptions>(t));
}
