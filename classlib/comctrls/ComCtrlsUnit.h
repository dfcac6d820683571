// Start-up of the ComCtrls unit: its classes in the class registry.
#pragma once

void InitializeComCtrls();
