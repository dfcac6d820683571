// Start-up of the graphics unit: colour and charset ident maps, the bitmap's
// file and clipboard formats, and the graphics classes in the class registry.
#pragma once

void InitializeGraphics();
void FinalizeGraphics();
