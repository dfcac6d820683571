// The "Strings" property of a string list in stored forms: its lines as a
// list of string values.
#include "classlib/classes/Filer.h"
#include "classlib/classes/Strings.h"

void TStrings::DefineProperties(TFiler* filer) {
  inherited::DefineProperties(filer);
  // Against an ancestor only a different list is written; on its own, a
  // list with lines.
  bool hasData;
  if (TPersistent* ancestor = filer->GetAncestor()) {
    auto* other = dynamic_cast<TStrings*>(ancestor);
    hasData = !other || !Equals(other);
  } else {
    hasData = GetCount() > 0;
  }
  filer->DefineProperty(
      "Strings", [this](TReader* reader) { ReadData(reader); }, [this](TWriter* writer) { WriteData(writer); },
      hasData);
}

void TStrings::ReadData(TReader* reader) {
  reader->ReadListBegin();
  BeginUpdate();
  try {
    Clear();
    while (!reader->EndOfList()) Add(reader->ReadString());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  reader->ReadListEnd();
}

void TStrings::WriteData(TWriter* writer) {
  writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i) writer->WriteString(Get(i));
  writer->WriteListEnd();
}
