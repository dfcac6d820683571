// The blink timer of unit KxCommon, shared by blinking controls.
#include "kx/foundation/KxCommonPrivate.h"

// ---------------------------------------------------------------------------
// TKxBlinkingControlsList

IMPLEMENT_CLASS(TKxBlinkingControlsList)

TKxBlinkingControlsList::TKxBlinkingControlsList() : timer_(New<TTimer>(nullptr)) {
  timer_->SetInterval(static_cast<uint32_t>(offInterval_));
  timer_->SetOnTimer(TNotifyEvent(this, &TKxBlinkingControlsList::TimerFired));
  timer_->SetEnabled(true);
}

void TKxBlinkingControlsList::Destroy() {
  FreeAndNil(timer_);
  inherited::Destroy();
}

void TKxBlinkingControlsList::Add(TControl* control) { controls_.Add(control); }

void TKxBlinkingControlsList::Remove(TControl* control) { controls_.Remove(control); }

int TKxBlinkingControlsList::GetCount() const { return controls_.GetCount(); }

void TKxBlinkingControlsList::TimerFired(TObject*) {
  if (state_ == bsOff) {
    state_ = bsOn;
    timer_->SetInterval(static_cast<uint32_t>(offInterval_));
  } else {
    state_ = bsOff;
    timer_->SetInterval(static_cast<uint32_t>(onInterval_));
  }
  // A control told the state may stop blinking and leave the list, or free
  // controls, itself or the last one and with it this list.
  TBlinkState state = state_;
  controls_.Walk([state](TControl* control) {
    if (control->Perform(CM_GETBLINKING, 0, 0) == 1) control->Perform(CM_BLINK, state, 0);
  });
}

namespace {
TKxBlinkingControlsList* blinkingControls = nullptr;
}  // namespace

TKxBlinkingControlsList* BlinkingControlsList() {
  if (!blinkingControls) blinkingControls = New<TKxBlinkingControlsList>();
  return blinkingControls;
}

TKxBlinkingControlsList* FindBlinkingControlsList() { return blinkingControls; }

void FreeBlinkingControlsListIfEmpty() {
  if (blinkingControls && blinkingControls->GetCount() == 0) FreeAndNil(blinkingControls);
}

void FreeBlinkingControlsList() { FreeAndNil(blinkingControls); }
