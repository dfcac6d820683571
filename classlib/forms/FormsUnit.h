// Start-up of the Forms unit: the Screen and Application objects (in the
// platform's order: the screen first, the application last out) and the
// Controls unit's hooks into them.
#pragma once

void InitializeForms();
// Frees the application (and with it every form it owns), then the screen,
// then clears the hooks.
void FinalizeForms();
