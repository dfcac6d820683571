// KxSysRes: the free-system-resources percentage of Windows 9x, from
// "RSRC32.DLL"; 0 on every other system.
#pragma once

enum TFreeSystemResources { gfsr_SystemResources, gfsr_GDIResources, gfsr_UserResources };

int GetFreeSystemResources(TFreeSystemResources kind);
// Whether the library has been loaded (only ever on Windows 9x).
bool SystemResourcesLibraryLoaded();

void FinalizeKxSysRes();
