// ShowMessage: a message in a box with an OK button under the
// application's title (through the application's MessageBox, so the other
// windows are disabled meanwhile and tests answer it through the
// message-box seam).
#pragma once

#include <string>

void ShowMessage(const std::string& message);
