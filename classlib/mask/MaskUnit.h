// Start-up of the Mask unit: its class in the class registry.
#pragma once

void InitializeMask();
