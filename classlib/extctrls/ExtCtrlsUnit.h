// Start-up of the ExtCtrls unit: its classes in the class registry.
#pragma once

void InitializeExtCtrls();
