// Placeholder until the stored-form filer lands: graphics define no "Data"
// property yet (ReadData/WriteData themselves work).
#include "classlib/graphics/Graphic.h"
#include "classlib/graphics/Picture.h"

void TGraphic::DefineProperties(TFiler*) {}
void TPicture::DefineProperties(TFiler*) {}
