#include "classlib/dialogs/ShowMessage.h"

#include "classlib/Forms.h"

void ShowMessage(const std::string& message) {
  if (Application) Application->MessageBox(message, Application->GetTitle(), MB_OK);
}
