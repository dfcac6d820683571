// Start-up of the Buttons unit: the classes stored forms create.
#pragma once

void InitializeButtons();
