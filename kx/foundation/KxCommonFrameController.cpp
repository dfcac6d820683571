// The frame controller of unit KxCommon, and the readers of retired stored-form
// properties (the frame's retired names among them).
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
// The retired frame names

bool KxReadRetiredFrameStyle(const std::string& ident, TFrameStyle& style) {
  int value = GetEnumValue(TypeInfo<TFrameStyleEx>(), ident);
  if (value < 0 || value > static_cast<int>(fsLastFrameStyle)) return false;
  style = static_cast<TFrameStyle>(value);
  return true;
}

void KxDefineRetiredFrameProperties(TFiler* filer, const TKxRetiredFrameSetters& setters) {
  filer->DefineProperty(
      "FrameFlat",
      [setters](TReader* reader) {
        bool flat = reader->ReadBoolean();
        setters.setFrameHotTrack(flat);
        if (flat) {
          setters.setFrameStyle(fsStatus);
          setters.setFrameHotStyle(fsLowered);
        }
      },
      nullptr, false);
  filer->DefineProperty(
      "FrameFocusStyle",
      [setters](TReader* reader) {
        TFrameStyle style = fsNone;
        if (KxReadRetiredFrameStyle(reader->ReadIdent(), style)) setters.setFrameHotStyle(style);
      },
      nullptr, false);
  filer->DefineProperty("FrameFlatStyle", &TKxOldPropReader::ReadOldEnumProp, nullptr, false);
}

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
      case fpColor: SetOrdIfPublished(target, "Color", settings_.color); break;
      case fpFocusColor: SetOrdIfPublished(target, "FocusColor", settings_.focusColor); break;
      case fpDisabledColor: SetOrdIfPublished(target, "DisabledColor", settings_.disabledColor); break;
      case fpParentColor: SetOrdIfPublished(target, "ParentColor", parentColor_); break;
      case fpFlatButtonColor: SetOrdIfPublished(target, "FlatButtonColor", flatButtonColor_); break;
      case fpFlatButtons: SetOrdIfPublished(target, "FlatButtons", flatButtons_); break;
      case fpFrameColor: SetOrdIfPublished(target, "FrameColor", settings_.frameColor); break;
      case fpHotColor: SetOrdIfPublished(target, "FrameHotColor", settings_.frameHotColor); break;
      case fpHotTrack: SetOrdIfPublished(target, "FrameHotTrack", settings_.frameHotTrack); break;
      case fpHotStyle: SetOrdIfPublished(target, "FrameHotStyle", settings_.frameHotStyle); break;
      case fpSides:
        // The set goes as its text, so a control's own set type takes it.
        if (PPropInfo info = GetPropInfo(target, "FrameSides"); info && info->SetOrd)
          SetSetProp(target, info, GetSetProp(this, "FrameSides"));
        break;
      case fpStyle: SetOrdIfPublished(target, "FrameStyle", settings_.frameStyle); break;
      case fpVisible: SetOrdIfPublished(target, "FrameVisible", frameVisible_); break;
      case fpPreference: SetOrdIfPublished(target, "FramingPreference", settings_.framingPreference); break;
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
  if (value == settings_.color) return;
  if (settings_.focusColor == settings_.color) settings_.focusColor = value;
  settings_.color = value;
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
KX_FRAME_SETTER(SetDisabledColor, settings_.disabledColor, fpDisabledColor)
KX_FRAME_SETTER(SetFocusColor, settings_.focusColor, fpFocusColor)
KX_FRAME_SETTER(SetFrameColor, settings_.frameColor, fpFrameColor)
KX_FRAME_SETTER(SetFrameHotColor, settings_.frameHotColor, fpHotColor)
KX_FRAME_SETTER(SetFrameHotStyle, settings_.frameHotStyle, fpHotStyle)
KX_FRAME_SETTER(SetFrameSides, settings_.frameSides, fpSides)
KX_FRAME_SETTER(SetFrameStyle, settings_.frameStyle, fpStyle)
KX_FRAME_SETTER(SetFrameVisible, frameVisible_, fpVisible)
KX_FRAME_SETTER(SetFramingPreference, settings_.framingPreference, fpPreference)
#undef KX_FRAME_SETTER

void TKxFrameController::SetFrameHotTrack(bool value) {
  if (value == settings_.frameHotTrack) return;
  settings_.frameHotTrack = value;
  if (value) {
    SetFrameVisible(true);
    if (!IsLoading()) settings_.frameSides = sdAllSides;
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
  settings_ = other->settings_;
  frameVisible_ = other->frameVisible_;
  flatButtonColor_ = other->flatButtonColor_;
  flatButtons_ = other->flatButtons_;
  parentColor_ = other->parentColor_;
}

void TKxFrameController::Load(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotLoadFraming));
  TKxRegIniFile* ini = regIniFile_;
  TUpdateScope update(this);
  // Ordinals come back range-checked: a stored file may hold anything.
  settings_.color = ini->ReadInteger(section, "Color", clWindow);
  flatButtonColor_ = ini->ReadInteger(section, "FlatButtonColor", clBtnFace);
  flatButtons_ = ini->ReadBool(section, "FlatButtons", true);
  settings_.disabledColor = ini->ReadInteger(section, "DisabledColor", clWindow);
  settings_.focusColor = ini->ReadInteger(section, "FocusColor", clWindow);
  settings_.frameColor = ini->ReadInteger(section, "FrameColor", clBtnShadow);
  settings_.frameHotColor = ini->ReadInteger(section, "FrameHotColor", clBtnShadow);
  settings_.frameHotStyle =
      OrdinalOr(ini->ReadInteger(section, "FrameHotStyle", fsFlatBold), fsLastFrameStyle, fsFlatBold);
  settings_.frameHotTrack = ini->ReadBool(section, "FrameHotTrack", false);
  TSides sides;
  if (ini->ReadBool(section, "FrameSides_Left", true)) sides.Include(sdLeft);
  if (ini->ReadBool(section, "FrameSides_Top", true)) sides.Include(sdTop);
  if (ini->ReadBool(section, "FrameSides_Right", true)) sides.Include(sdRight);
  if (ini->ReadBool(section, "FrameSides_Bottom", true)) sides.Include(sdBottom);
  settings_.frameSides = sides;
  settings_.frameStyle = OrdinalOr(ini->ReadInteger(section, "FrameStyle", fsFlat), fsLastFrameStyle, fsFlat);
  frameVisible_ = ini->ReadBool(section, "FrameVisible", false);
  settings_.framingPreference =
      OrdinalOr(ini->ReadInteger(section, "FramingPreference", fpXPThemes), fpXPThemes, fpXPThemes);
}

void TKxFrameController::Save(const std::string& section) {
  if (!regIniFile_) throw Exception(LoadStr(SKxCannotSaveFraming));
  TKxRegIniFile* ini = regIniFile_;
  ini->WriteInteger(section, "Color", settings_.color);
  ini->WriteInteger(section, "FlatButtonColor", flatButtonColor_);
  ini->WriteBool(section, "FlatButtons", flatButtons_);
  ini->WriteInteger(section, "DisabledColor", settings_.disabledColor);
  ini->WriteInteger(section, "FocusColor", settings_.focusColor);
  ini->WriteInteger(section, "FrameColor", settings_.frameColor);
  ini->WriteInteger(section, "FrameHotColor", settings_.frameHotColor);
  ini->WriteInteger(section, "FrameHotStyle", settings_.frameHotStyle);
  ini->WriteBool(section, "FrameHotTrack", settings_.frameHotTrack);
  ini->WriteBool(section, "FrameSides_Left", settings_.frameSides.Contains(sdLeft));
  ini->WriteBool(section, "FrameSides_Top", settings_.frameSides.Contains(sdTop));
  ini->WriteBool(section, "FrameSides_Right", settings_.frameSides.Contains(sdRight));
  ini->WriteBool(section, "FrameSides_Bottom", settings_.frameSides.Contains(sdBottom));
  ini->WriteInteger(section, "FrameStyle", settings_.frameStyle);
  ini->WriteBool(section, "FrameVisible", frameVisible_);
  ini->WriteInteger(section, "FramingPreference", settings_.framingPreference);
}

void TKxFrameController::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  KxDefineRetiredFrameProperties(filer, this);
}
