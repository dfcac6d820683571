// TKxColorComboBox and TKxColorNames: colour swatches under names that can
// be changed, with a custom colour from the colour dialog.
#include <algorithm>

#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "kx/controls/KxCmboBx.h"

const TKxColorItem DefaultColorItem = {"Default", 0};
const TKxColorItem StdColorItems[16] = {
    {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF}};
const TKxColorItem SysColorItems[25] = {
    {"ScrollBar", clScrollBar},
    {"Background", clBackground},
    {"ActiveCaption", clActiveCaption},
    {"InactiveCaption", clInactiveCaption},
    {"Menu", clMenu},
    {"Window", clWindow},
    {"WindowFrame", clWindowFrame},
    {"MenuText", clMenuText},
    {"WindowText", clWindowText},
    {"CaptionText", clCaptionText},
    {"ActiveBorder", clActiveBorder},
    {"InactiveBorder", clInactiveBorder},
    {"AppWorkSpace", clAppWorkSpace},
    {"Highlight", clHighlight},
    {"HighlightText", clHighlightText},
    {"BtnFace", clBtnFace},
    {"BtnShadow", clBtnShadow},
    {"GrayText", clGrayText},
    {"BtnText", clBtnText},
    {"InactiveCaptionText", clInactiveCaptionText},
    {"BtnHighlight", clBtnHighlight},
    {"3DDkShadow", cl3DDkShadow},
    {"3DLight", cl3DLight},
    {"InfoText", clInfoText},
    {"InfoBk", clInfoBk}};
const TKxColorItem CustomColorItem = {"Custom", 0};

namespace {
constexpr const char* SCannotLoad = "Cannot load Custom Colors--No TKxRegIniFile component specified";
constexpr const char* SCannotSave = "Cannot save Custom Colors--No TKxRegIniFile component specified";
constexpr int kNameIndent = 24;

TObject* ColorObject(TColor c) { return reinterpret_cast<TObject*>(static_cast<uintptr_t>(static_cast<uint32_t>(c))); }
TColor ObjectColor(TObject* o) { return static_cast<TColor>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(o))); }
}  // namespace

// ---------------------------------------------------------------------------
// TKxColorNames

static void PublishStd(TPublisher<TKxColorNames>& p, int i, const char* name) {
  p.IndexedProp(name, i, &TKxColorNames::GetStdColor, &TKxColorNames::SetStdColor);
}

PUBLISHED(TKxColorNames) {
  using T = TKxColorNames;
  p.Prop("Default", &T::GetDefault, &T::SetDefault);
  for (int i = 0; i < 16; ++i) PublishStd(p, i, StdColorItems[i].Name);
  // The names of the two 3-D colours begin with a letter here.
  static const char* const kSysNames[25] = {
      "ScrollBar", "Background", "ActiveCaption", "InactiveCaption", "Menu", "Window", "WindowFrame",
      "MenuText", "WindowText", "CaptionText", "ActiveBorder", "InactiveBorder", "AppWorkSpace", "Highlight",
      "HighlightText", "BtnFace", "BtnShadow", "GrayText", "BtnText", "InactiveCaptionText", "BtnHighlight",
      "DkShadow3D", "Light3D", "InfoText", "InfoBk"};
  for (int i = 0; i < 25; ++i) p.IndexedProp(kSysNames[i], i, &T::GetSysColor, &T::SetSysColor);
  p.Prop("Custom", &T::GetCustom, &T::SetCustom);
}

TKxColorNames::TKxColorNames() : default_(DefaultColorItem.Name), custom_(CustomColorItem.Name) {
  for (int i = 0; i < 16; ++i) std_[i] = StdColorItems[i].Name;
  for (int i = 0; i < 25; ++i) sys_[i] = SysColorItems[i].Name;
}

void TKxColorNames::Rename(int item, const std::string& text) {
  if (!comboBox_) return;
  comboBox_->NamesChanged();
  if (item < 0 || !comboBox_->HandleAllocated()) return;
  TStrings* items = comboBox_->GetItems();
  if (item >= items->GetCount()) return;
  int selected = comboBox_->GetItemIndex();
  TObject* obj = items->GetObject(item);
  items->Delete(item);
  items->InsertObject(item, text, obj);
  comboBox_->SetItemIndex(selected);
}

void TKxColorNames::SetDefault(const std::string& v) {
  default_ = v;
  Rename(ShowDefaultColor ? 0 : -1, v);
}

void TKxColorNames::SetStdColor(int index, std::string v) {
  std_[static_cast<size_t>(index)] = v;
  Rename(index + (ShowDefaultColor ? 1 : 0), v);
}

void TKxColorNames::SetSysColor(int index, std::string v) {
  sys_[static_cast<size_t>(index)] = v;
  Rename(ShowSysColors ? 16 + index + (ShowDefaultColor ? 1 : 0) : -1, v);
}

void TKxColorNames::SetCustom(const std::string& v) {
  custom_ = v;
  int last = comboBox_ && comboBox_->HandleAllocated() ? comboBox_->GetItems()->GetCount() - 1 : -1;
  Rename(ShowCustomColor ? last : -1, v);
}

void TKxColorNames::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKxColorNames*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  for (int i = 0; i < 16; ++i) SetStdColor(i, other->std_[i]);
  if (ShowDefaultColor) SetDefault(other->default_);
  if (ShowSysColors)
    for (int i = 0; i < 25; ++i) SetSysColor(i, other->sys_[i]);
  if (ShowCustomColor) SetCustom(other->custom_);
}

// ---------------------------------------------------------------------------
// TKxColorComboBox

TKxColorComboBox::TKxColorComboBox(TComponent* owner) : TKxCustomComboBox(owner) {
  SetStyle(csOwnerDrawFixed);
  customColors_ = New<TStringList>();
  colorNames_ = New<TKxColorNames>();
  InitColorNames();
}

void TKxColorComboBox::Destroy() {
  inherited::Destroy();
  FreeAndNil(customColors_);
  FreeAndNil(colorNames_);
}

void TKxColorComboBox::InitColorNames() {
  colorNames_->ShowDefaultColor = showDefaultColor_;
  colorNames_->ShowSysColors = showSysColors_;
  colorNames_->ShowCustomColor = showCustomColor_;
  colorNames_->SetComboBox(this);
}

void TKxColorComboBox::SetColorNames(TKxColorNames* value) { colorNames_->Assign(value); }

void TKxColorComboBox::FillItems() {
  TStrings* items = GetItems();
  TUpdateScope update(items);
  items->Clear();
  if (showDefaultColor_) items->AddObject(colorNames_->GetDefault(), ColorObject(defaultColor_));
  for (int i = 0; i < 16; ++i) items->AddObject(colorNames_->GetStdColor(i), ColorObject(StdColorItems[i].Color));
  if (showSysColors_)
    for (int i = 0; i < 25; ++i) items->AddObject(colorNames_->GetSysColor(i), ColorObject(SysColorItems[i].Color));
  if (showCustomColor_) items->AddObject(colorNames_->GetCustom(), ColorObject(customColor_));
}

void TKxColorComboBox::CreateWnd() {
  inherited::CreateWnd();
  FillItems();
  SetItemIndex(std::min(savedIndex_, GetItems()->GetCount() - 1));
}

void TKxColorComboBox::DestroyWnd() {
  savedIndex_ = GetItemIndex();
  inherited::DestroyWnd();
}

void TKxColorComboBox::Loaded() {
  inherited::Loaded();
  if (GetItemIndex() < 0 && GetItems()->GetCount() > 0) SetItemIndex(0);
}

void TKxColorComboBox::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TKxColorComboBox::SetRegIniFile(TKxRegIniFile* value) {
  if (regIniFile_ == value) return;
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TKxColorComboBox::SetDefaultColor(TColor value) {
  defaultColor_ = value;
  if (showDefaultColor_ && HandleAllocated() && GetItems()->GetCount() > 0)
    GetItems()->PutObject(0, ColorObject(value));
  Invalidate();
}

void TKxColorComboBox::SetCustomColor(TColor value) {
  customColor_ = value;
  if (HasCustomItem() && HandleAllocated())
    GetItems()->PutObject(GetItems()->GetCount() - 1, ColorObject(value));
  Invalidate();
}

void TKxColorComboBox::SetCustomColors(TStrings* value) {
  customColors_->Assign(value);
  FixupCustomColors();
}

void TKxColorComboBox::SetShowColorNames(bool value) {
  if (showColorNames_ == value) return;
  showColorNames_ = value;
  Invalidate();
}

void TKxColorComboBox::SetShowCustomColor(bool value) {
  if (showCustomColor_ == value) return;
  showCustomColor_ = value;
  colorNames_->ShowCustomColor = value;
  RecreateWnd();
}

void TKxColorComboBox::SetShowDefaultColor(bool value) {
  if (showDefaultColor_ == value) return;
  showDefaultColor_ = value;
  colorNames_->ShowDefaultColor = value;
  RecreateWnd();
}

void TKxColorComboBox::SetShowSysColors(bool value) {
  if (showSysColors_ == value) return;
  showSysColors_ = value;
  colorNames_->ShowSysColors = value;
  RecreateWnd();
}

TColor TKxColorComboBox::GetColorFromItem(int index) { return ObjectColor(GetItems()->GetObject(index)); }

TColor TKxColorComboBox::GetSelectedColor() {
  int index = GetItemIndex();
  return index < 0 ? defaultColor_ : GetColorFromItem(index);
}

void TKxColorComboBox::SetSelectedColor(TColor value) {
  TStrings* items = GetItems();
  int count = items->GetCount();
  for (int i = 0; i < count; ++i) {
    if (GetColorFromItem(i) != value) continue;
    SetItemIndex(i);
    Change();
    return;
  }
  SetCustomColor(value);
  // Without the custom item no other item has the colour: none is chosen.
  SetItemIndex(HasCustomItem() ? count - 1 : -1);
  Change();
}

void TKxColorComboBox::SetFrameVisible(bool value) {
  TColor selected = GetSelectedColor();
  inherited::SetFrameVisible(value);
  if (HandleAllocated()) SetSelectedColor(selected);
}

std::string TKxColorComboBox::GetCustomColorName(int index) { return customColors_->GetName(index); }

void TKxColorComboBox::FixupCustomColors() {
  int count = customColors_->GetCount();
  for (int i = 0; i < count; ++i) {
    std::string name = customColors_->GetName(i);
    int value = StrToInt("$" + customColors_->GetValueFromIndex(i)) & 0xFFFFFF;
    customColors_->Put(i, name + "=" + Format("%.6x", {value}));
  }
}

void TKxColorComboBox::LoadCustomColors(const std::string& section) {
  if (!regIniFile_) throw Exception(SCannotLoad);
  regIniFile_->ReadSectionValues(section, customColors_);
  FixupCustomColors();
}

void TKxColorComboBox::SaveCustomColors(const std::string& section) {
  if (!regIniFile_) throw Exception(SCannotSave);
  int count = customColors_->GetCount();
  for (int i = 0; i < count; ++i)
    regIniFile_->WriteString(section, customColors_->GetName(i), customColors_->GetValueFromIndex(i));
}

void TKxColorComboBox::CMFontChanged(TMessage& m) {
  inherited::CMFontChanged(m);
  RecreateWnd();
}

void TKxColorComboBox::CNCommand(TMessage& m) {
  switch (TWMCommand(m).NotifyCode()) {
    case CBN_SELENDCANCEL: cancelled_ = true; break;
    case CBN_SELENDOK: cancelled_ = false; break;
  }
  inherited::CNCommand(m);
}

void TKxColorComboBox::CloseUp() {
  inherited::CloseUp();
  bool cancelled = cancelled_;
  cancelled_ = false;
  if (cancelled || !showCustomColor_ || GetItemIndex() < 0 || GetItemIndex() != GetItems()->GetCount() - 1) return;
  Owned<TColorDialog> dialog(New<TColorDialog>(this));
  dialog->SetColor(GetSelectedColor());
  dialog->SetCustomColors(customColors_);
  dialog->SetOptions(colorDlgOptions_);
  if (dialog->Execute()) {
    SetCustomColors(dialog->GetCustomColors());
    SetCustomColor(dialog->GetColor());
  }
}

void TKxColorComboBox::CNDrawItem(TMessage& m) {
  if (showColorNames_)
    if (auto* d = TWMDrawItem(m).DrawItemStruct()) d->rcItem.left += kNameIndent;
  inherited::CNDrawItem(m);
}

void TKxColorComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  TCanvas* canvas = GetCanvas();
  canvas->FillRect(rect);
  bool edit = state.Contains(odComboBoxEdit);
  bool custom = showCustomColor_ && index == GetItems()->GetCount() - 1;
  TRect r = rect;
  InflateRect(&r, -2, -2);
  if (!edit) OffsetRect(&r, 2, 0);
  if (showColorNames_) {
    r.right = r.left - 8;
    r.left -= kNameIndent;
  } else if (custom) {
    r.right -= 20;
  }
  TColor color = GetColorFromItem(index);
  TColor brush = canvas->GetBrush()->GetColor();
  TColor font = canvas->GetFont()->GetColor();
  canvas->GetBrush()->SetColor(color);
  canvas->GetPen()->SetColor(clBtnShadow);
  canvas->Rectangle(r);
  TColor rgb = ColorToRGB(color);
  bool light = GetRValue(rgb) > 0x80 || GetGValue(rgb) > 0x80 || GetBValue(rgb) > 0x80;
  TColor outline = light ? TColor(0x808080) : clBlack;
  canvas->GetBrush()->SetColor(outline);
  canvas->FrameRect(r);

  bool selected = state.Contains(odSelected);
  canvas->GetBrush()->SetColor(selected ? clHighlight : GetColor());
  canvas->GetPen()->SetColor(selected ? clHighlightText : GetEnabled() ? clWindowText : clBtnShadow);
  if (custom) {
    for (int right : {16, 12, 8})
      canvas->Rectangle(TRect{rect.right - right, rect.bottom - 7, rect.right - right + 2, rect.bottom - 4});
  }
  canvas->GetBrush()->SetColor(brush);
  canvas->GetFont()->SetColor(font);
  if (showColorNames_) {
    if (!GetEnabled()) canvas->GetFont()->SetColor(clBtnShadow);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(rect.left + 2, rect.top + (GetItemHeight() - canvas->TextHeight("Yy")) / 2,
                    GetItems()->Get(index));
  }
}

PUBLISHED(TKxColorComboBox) {
  using T = TKxColorComboBox;
  TKxComboPublishing o;
  o.Style = csOwnerDrawFixed;
  o.Items = false;
  PublishKxComboBoxProps(p, o);
  p.Prop("ColorNames", &T::GetColorNames, &T::SetColorNames).Stored(&T::IsColorNamesStored);
  p.Prop("ColorDlgOptions", &T::GetColorDlgOptions, &T::SetColorDlgOptions)
      .Default(TColorDialogOptions{cdFullOpen});
  p.Prop("CustomColor", &T::GetCustomColor, &T::SetCustomColor).Default(TColor(0)).Type(TColorTypeInfo());
  p.Prop("CustomColors", &T::GetCustomColors, &T::SetCustomColors);
  p.Prop("DefaultColor", &T::GetDefaultColor, &T::SetDefaultColor).Default(TColor(0)).Type(TColorTypeInfo());
  p.Prop("RegIniFile", &T::GetRegIniFile, &T::SetRegIniFile);
  p.Prop("ShowColorNames", &T::GetShowColorNames, &T::SetShowColorNames).Default(true);
  p.Prop("ShowCustomColor", &T::GetShowCustomColor, &T::SetShowCustomColor).Default(true);
  p.Prop("ShowDefaultColor", &T::GetShowDefaultColor, &T::SetShowDefaultColor).Default(true);
  p.Prop("ShowSysColors", &T::GetShowSysColors, &T::SetShowSysColors).Default(true);
  // Last: the items it chooses from follow the settings above.
  p.Prop("SelectedColor", &T::GetSelectedColor, &T::SetSelectedColor).Default(TColor(0)).Type(TColorTypeInfo());
}
