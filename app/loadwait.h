// loadwait: the splash form, titled "Loading . . .", that covers the menu's
// start with the picture ".\resource\logo.bmp".
#pragma once

#include "classlib/Forms.h"

class TpkImageForm;

class TFormLoadwait : public TForm {
  DECLARE_CLASS(TFormLoadwait, TForm)

  explicit TFormLoadwait(TComponent* owner) : TForm(owner) {}

  TpkImageForm* pkImageForm1 = nullptr;

  // OnCreate: loads the picture and takes its size. Any failure is
  // swallowed: the splash then keeps its stored size, without a picture.
  void FormCreate(TObject* sender);
};

// The splash picture, relative to the process's current folder (not to
// ExeDir): a start from another folder shows no picture.
inline constexpr const char* SplashPictureName = ".\\resource\\logo.bmp";
