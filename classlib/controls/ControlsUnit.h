// Start-up entries of the Controls unit (see ClasslibUnits.cpp).
#pragma once

// Adds the two window-property atoms, registers the cursor names and the
// action classes.
void InitializeControls();
// Deletes the atoms; its entry comes early in the list so that it runs after
// every later unit's finalisation.
void FinalizeControlAtoms();
