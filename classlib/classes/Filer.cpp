#include "classlib/classes/Persistent.h"

// Placeholder until the stored-form reader and writer land.
void TComponent::ReadState(TReader*) { throw EReadError("Stored forms are not available"); }
void TComponent::WriteState(TWriter*) { throw EWriteError("Stored forms are not available"); }
