// The frame controller of unit KxCommon, and the reader of retired stored-form
// properties.
#include "classlib/Scopes.h"
#include "classlib/SysUtils.h"
#include "classlib/graphics/Resources.h"
#include "kx/foundation/KxCommon.h"

// ---------------------------------------------------------------------------
// TKxOldPropReader

void TKxOldPropReader::ReadOldBooleanProp(TReader* reader) { reader->ReadBoolean(); }
void TKxOldPropReader::ReadOldEnumProp(TReader* reader) { reader->ReadIdent(); }
void TKxOldPropReader::ReadOldIdentProp(TReader* reader) { reader->ReadIdent(); }
void TKxOldPropReader::ReadOldIntegerProp(TReader* reader) { reader->ReadInteger(); }
void TKxOldPropReader::ReadOldSetProp(TReader* reader) {
  reader->ReadValue();
  while (!reader->ReadStr().empty()) {
  }
}
void TKxOldPropReader::ReadOldStringProp(TReader* reader) { reader->ReadString(); }
void TKxOldPropReader::WriteOldProp(TWriter*) {}

// ---------------------------------------------------------------------------
// TKxFrameController

PUBLISHED(TKxFrameController) {
  using C = TKxFrameController;
  p.Prop("Color", &C::GetColor, &C::SetColor).Type(TColorTypeInfo()).Default(clWindow).Stored(&C::IsColorStored);
  p.Prop("DisabledColor", &C::GetDisabledColor, &C::SetDisabledColor).Type(TColorTypeInfo()).Default(clBtnFace);
  p.Prop("FlatButtonColor", &C::GetFlatButtonColor, &C::SetFlatButtonColor)
      .Type(TColorTypeInfo())
      .Default(clBtnFace);
  p.Prop("FlatButtons", &C::GetFlatButtons, &C::SetFlatButtons).Default(true);
  p.Prop("FocusColor", &C::GetFocusColor, &C::SetFocusColor).Type(TColorTypeInfo()).Default(clWindow);
  p.Prop("FrameColor", &C::GetFrameColor, &C::SetFrameColor).Type(TColorTypeInfo()).Default(clBtnShadow);
  p.Prop("FrameHotColor", &C::GetFrameHotColor, &C::SetFrameHotColor).Type(TColorTypeInfo()).Default(clBtnShadow);
  p.Prop("FrameHotStyle", &C::GetFrameHotStyle, &C::SetFrameHotStyle).Type(TFrameStyleTypeInfo()).Default(fsFlatBold);
  p.Prop("FrameHotTrack", &C::GetFrameHotTrack, &C::SetFrameHotTrack).Default(false);
  p.Prop("FrameSides", &C::GetFrameSides, &C::SetFrameSides).Default(sdAllSides);
  p.Prop("FrameStyle", &C::GetFrameStyle, &C::SetFrameStyle).Type(TFrameStyleTypeInfo()).Default(fsFlat);
  p.Prop("FrameVisible", &C::GetFrameVisible, &C::SetFrameVisible).Default(false);
  p.Prop("FramingPreference", &C::GetFramingPreference, &C::SetFramingPreference).Default(fpXPThemes);
  p.Prop("ParentColor", &C::GetParentColor, &C::SetParentColor).Default(false);
  p.Prop("RegIniFile", &C::GetRegIniFile, &C::SetRegIniFile);
}

TKxFrameController::TKxFrameController(TComponent* owner) : TComponent(owner) {}

void TKxFrameController::Destroy() {
  FreeAndNil(controls_);
  inherited::Destroy();
}

void TKxFrameController::AddControl(TComponent* control) {
  if (!control) return;
  if (!controls_) controls_ = New<TList>();
  if (controls_->IndexOf(control) >= 0) return;
  controls_->Add(control);
  UpdateControlFrame(control, fpAll);
}

void TKxFrameController::RemoveControl(TComponent* control) {
  if (!controls_) return;
  controls_->Remove(control);
  if (controls_->GetCount() == 0) FreeAndNil(controls_);
}

void KxSetFrameController(TComponent* control, TKxFrameController*& field, TKxFrameController* value) {
  if (field == value) return;
  if (field) field->RemoveControl(control);
  field = value;
  if (value) {
    value->AddControl(control);
    value->FreeNotification(control);
  }
}

int TKxFrameController::GetControlCount() const { return controls_ ? controls_->GetCount() : 0; }

void TKxFrameController::BeginUpdate() { ++updateCount_; }

void TKxFrameController::EndUpdate() {
  if (--updateCount_ <= 0) {
    updateCount_ = 0;
    UpdateFrames(fpAll);
  }
}

void TKxFrameController::UpdateControls() { UpdateFrames(fpAll); }

void TKxFrameController::UpdateFrames(TKxFrameProperty property) {
  if (updateCount_ > 0 || !controls_) return;
  for (int i = 0; i < controls_->GetCount(); ++i)
    UpdateControlFrame(static_cast<TComponent*>(controls_->Get(i)), property);
}

namespace {

// Sets an ordinal (or colour) property of the control when it publishes one
// of that name; a control without it is left alone.
void SetOrdIfPublished(TObject* control, const char* name, int64_t value) {
  PPropInfo p = GetPropInfo(control, name);
  if (p && p->SetOrd) SetOrdProp(control, p, value);
}

}  // namespace

void TKxFrameController::UpdateControlFrame(TComponent* control, TKxFrameProperty property) {
  auto* target = dynamic_cast<TControl*>(control);
  if (!target) return;
  if (auto* custom = dynamic_cast<IKxCustomFramingNotification*>(target)) {
    custom->CustomFramingChanged();
    return;
  }
  auto push = [&](TKxFrameProperty p) {
    switch (p) {
      case fpColor: SetOrdIfPublished(target, "Color", color_); break;
      case fpFocusColor: SetOrdIfPublished(target, "FocusColor", focusColor_); break;
      case fpDisabledColor: SetOrdIfPublished(target, "DisabledColor", disabledColor_); break;
      case fpParentColor: SetOrdIfPublished(target, "ParentColor", parentColor_); break;
      case fpFlatButtonColor: SetOrdIfPublished(target, "FlatButtonColor", flatButtonColor_); break;
      case fpFlatButtons: SetOrdIfPublished(target, "FlatButtons", flatButtons_); break;
      case fpFrameColor: SetOrdIfPublished(target, "FrameColor", frameColor_); break;
      case fpHotColor: SetOrdIfPublished(target, "FrameHotColor", frameHotColor_); break;
      case fpHotTrack: SetOrdIfPublished(target, "FrameHotTrack", frameHotTrack_); break;
      case fpHotStyle: SetOrdIfPublished(target, "FrameHotStyle", frameHotStyle_); break;
      case fpSides:
        // The set goes as its text, so a control's own set type takes it.
        if (PPropInfo info = GetPropInfo(target, "FrameSides"); info && info->SetOrd)
          SetSetProp(target, info, GetSetProp(this, "FrameSides"));
        break;
      case fpStyle: SetOrdIfPublished(target, "FrameStyle", frameStyle_); break;
      case fpVisible: SetOrdIfPublished(target, "FrameVisible", frameVisible_); break;
      case fpPreference: SetOrdIfPublished(target, "FramingPreference", framingPreference_); break;
      case fpAll: break;
    }
  };
  if (property != fpAll) {
    push(property);
    return;
  }
  push(fpParentColor);
  if (!parentColor_) push(fpColor);
  for (TKxFrameProperty p : {fpDisabledColor, fpFocusColor, fpFlatButtonColor, fpFlatButtons, fpFrameColor,
                             fpHotColor, fpHotTrack, fpHotStyle, fpSides, fpStyle, fpVisible, fpPreference})
    push(p);
}

void TKxFrameController::SetColor(TColor value) {
  if (value == color_) return;
  if (focusColor_ == color_) focusColor_ = value;
  color_ = value;
  parentColor_ = false;
  UpdateFrames(fpColor);
}

void TKxFrameController::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  UpdateFrames(fpParentColor);
  if (!value) UpdateFrames(fpColor);
}

#define KX_FRAME_SETTER(Name, Field, Property)           \
  void TKxFrameController::Name(decltype(Field) value) { \
    if (value == Field) return;                          \
    Field = value;                                       \
    UpdateFrames(Property);                              \
  }
KX_FRAME_SETTER(SetFlatButtonColor, flatButtonColor_, fpFlatButtonColor)
KX_FRAME_SETTER(SetFlatButtons, flatButtons_, fpFlatButtons)
KX_FRAME_SETTER(SetDisabledColor, disabledColor_, fpDisabledColor)
KX_FRAME_SETTER(SetFocusColor, focusColor_, fpFocusColor)
KX_FRAME_SETTER(SetFrameColor, frameColor_, fpFrameColor)
KX_FRAME_SETTER(SetFrameHotColor, frameHotColor_, fpHotColor)
KX_FRAME_SETTER(SetFrameHotStyle, frameHotStyle_, fpHotStyle)
KX_FRAME_SETTER(SetFrameSides, frameSides_, fpSides)
KX_FRAME_SETTER(SetFrameStyle, frameStyle_, fpStyle)
KX_FRAME_SETTER(SetFrameVisible, frameVisible_, fpVisible)
KX_FRAME_SETTER(SetFramingPreference, framingPreference_, fpPreference)
#undef KX_FRAME_SETTER

void TKxFrameController::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) frameSides_ = sdAllSides;
  }
  UpdateFrames(fpHotTrack);
}

void TKxFrameController::SetRegIniFile(TKxRegIniFile* value) {
  if (value == regIniFile_) return;
  if (regIniFile_) regIniFile_->RemoveFreeNotification(this);
  regIniFile_ = value;
  if (value) value->FreeNotification(this);
}

void TKxFrameController::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == regIniFile_) regIniFile_ = nullptr;
}

void TKxFrameController::Loaded() {
  inherited::Loaded();
  UpdateControls();
}

void TKxFrameController::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKxFrameController*>(source);
  if (!other) {
    inherited::Assign(source);
    return;
  }
  TUpdateScope update(this);
  color_ = other->color_;
  disabledColor_ = other->disabledColor_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  focusColor_ = other->focusColor_;
  frameColor_ = other->frameColor_;
  frameHotColor_ = other->frameHotColor_;
  frameHotStyle_ = other->frameHotStyle_;
  frameHotTrack_ = other->frameHotTrack_;
  frameSides_ = other->frameSides_;
  frameStyle_ = other->frameStyle_;
  frameVisible_ = other->frameVisible_;
  framingPreference_ = other->framingPreference_;
  parentColor_ = other->parentColor_;
}

void TKxFrameController::Load(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotLoadFraming));
  TKxRegIniFile* ini = regIniFile_;
  TUpdateScope update(this);
  // Ordinals come back range-checked: a stored file may hold anything.
  color_ = ini->ReadInteger(section, "Color", clWindow);
  flatButtonColor_ = ini->ReadInteger(section, "FlatButtonColor", clBtnFace);
  flatButtons_ = ini->ReadBool(section, "FlatButtons", true);
  disabledColor_ = ini->ReadInteger(section, "DisabledColor", clWindow);
  focusColor_ = ini->ReadInteger(section, "FocusColor", clWindow);
  frameColor_ = ini->ReadInteger(section, "FrameColor", clBtnShadow);
  frameHotColor_ = ini->ReadInteger(section, "FrameHotColor", clBtnShadow);
  frameHotStyle_ = OrdinalOr(ini->ReadInteger(section, "FrameHotStyle", fsFlatBold), fsLastFrameStyle, fsFlatBold);
  frameHotTrack_ = ini->ReadBool(section, "FrameHotTrack", false);
  TSides sides;
  if (ini->ReadBool(section, "FrameSides_Left", true)) sides.Include(sdLeft);
  if (ini->ReadBool(section, "FrameSides_Top", true)) sides.Include(sdTop);
  if (ini->ReadBool(section, "FrameSides_Right", true)) sides.Include(sdRight);
  if (ini->ReadBool(section, "FrameSides_Bottom", true)) sides.Include(sdBottom);
  frameSides_ = sides;
  frameStyle_ = OrdinalOr(ini->ReadInteger(section, "FrameStyle", fsFlat), fsLastFrameStyle, fsFlat);
  frameVisible_ = ini->ReadBool(section, "FrameVisible", false);
  framingPreference_ =
      OrdinalOr(ini->ReadInteger(section, "FramingPreference", fpXPThemes), fpXPThemes, fpXPThemes);
}

void TKxFrameController::Save(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotSaveFraming));
  TKxRegIniFile* ini = regIniFile_;
  ini->WriteInteger(section, "Color", color_);
  ini->WriteInteger(section, "FlatButtonColor", flatButtonColor_);
  ini->WriteBool(section, "FlatButtons", flatButtons_);
  ini->WriteInteger(section, "DisabledColor", disabledColor_);
  ini->WriteInteger(section, "FocusColor", focusColor_);
  ini->WriteInteger(section, "FrameColor", frameColor_);
  ini->WriteInteger(section, "FrameHotColor", frameHotColor_);
  ini->WriteInteger(section, "FrameHotStyle", frameHotStyle_);
  ini->WriteBool(section, "FrameHotTrack", frameHotTrack_);
  ini->WriteBool(section, "FrameSides_Left", frameSides_.Contains(sdLeft));
  ini->WriteBool(section, "FrameSides_Top", frameSides_.Contains(sdTop));
  ini->WriteBool(section, "FrameSides_Right", frameSides_.Contains(sdRight));
  ini->WriteBool(section, "FrameSides_Bottom", frameSides_.Contains(sdBottom));
  ini->WriteInteger(section, "FrameStyle", frameStyle_);
  ini->WriteBool(section, "FrameVisible", frameVisible_);
  ini->WriteInteger(section, "FramingPreference", framingPreference_);
}

void TKxFrameController::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Names older versions wrote: read, mapped or dropped, never written.
  filer->DefineProperty("FrameFlat", [this](TReader* r) { ReadFrameFlat(r); }, nullptr, false);
  filer->DefineProperty("FrameFocusStyle", [this](TReader* r) { ReadFrameFocusStyle(r); }, nullptr, false);
  filer->DefineProperty("FrameFlatStyle", &TKxOldPropReader::ReadOldEnumProp, nullptr, false);
}

void TKxFrameController::ReadFrameFlat(TReader* reader) {
  bool flat = reader->ReadBoolean();
  SetFrameHotTrack(flat);
  if (flat) {
    SetFrameStyle(fsStatus);
    SetFrameHotStyle(fsLowered);
  }
}

void TKxFrameController::ReadFrameFocusStyle(TReader* reader) {
  int style = GetEnumValue(TypeInfo<TFrameStyleEx>(), reader->ReadIdent());
  if (style >= 0) SetFrameHotStyle(static_cast<TFrameStyleEx>(style));
}
