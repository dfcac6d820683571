// Start-up of the Dialogs unit: its classes in the class registry.
#pragma once

void InitializeDialogs();
