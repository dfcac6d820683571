#include "app/loadwait.h"

#include "skin/pkimageform.h"

PUBLISHED(TFormLoadwait) {
  p.Field("pkImageForm1", &TFormLoadwait::pkImageForm1);
  p.Method("FormCreate", &TFormLoadwait::FormCreate);
}

void TFormLoadwait::FormCreate(TObject*) {
  // What was done before a failure stays.
  try {
    pkImageForm1->GetPicture()->LoadFromFile(SplashPictureName);
    pkImageForm1->SetAlign(alClient);
    SetHeight(pkImageForm1->GetPicture()->GetHeight());
    SetWidth(pkImageForm1->GetPicture()->GetWidth());
    SetBorderWidth(0);
  } catch (...) {
  }
}
