#include "classlib/classes/Strings.h"

// Placeholder until the stored-form reader and writer land: they define the
// "Strings" property (the list's lines as a list of string values) here.
void TStrings::DefineProperties(TFiler* filer) { inherited::DefineProperties(filer); }
void TStrings::ReadData(TReader*) { throw EReadError("Stored forms are not available"); }
void TStrings::WriteData(TWriter*) { throw EWriteError("Stored forms are not available"); }
