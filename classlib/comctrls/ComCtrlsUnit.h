// Start-up of the ComCtrls unit: its classes in the class registry; at the
// end the rich edit library goes.
#pragma once

void InitializeComCtrls();
void FinalizeComCtrls();
